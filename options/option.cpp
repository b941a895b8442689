#include "options/option.h"

#include "platform/core/crt_number.h"
#include "profile/escapes.h"
#include "profile/value_conversions.h"

namespace {

// Any space below this (but not none at all) is counted as this much.
constexpr uint32_t kMinimumSpace = 100000;

}  // namespace

void COption::ReadOptionSection(const ProfileSection& section, UserMessages& messages) {
  for (const ProfileKey& key : section.Keys()) ApplyKey(key.Name(), key.FirstValue(), messages);
}

void COption::ApplyKey(const std::string& name, const std::string& value, UserMessages& messages) {
  const auto is = [&name](const char* known) { return ProfileNamesEqual(name, known); };

  if (is("DialogText")) {
    dialogText_ = value;
  } else if (is("ParentOption")) {
    parentNumber_ = value;
  } else if (is("OptionDescription")) {
    description_ = ExpandEscapes(value);
  } else if (is("Option")) {
    number_ = value;
    if (platform::ReadDecimalLong(value) < 1) messages.ShowMessage(kOptionNumberMessage);
  } else if (is("Space")) {
    // Read signed and held unsigned: a negative space becomes a huge one.
    space_ = static_cast<uint32_t>(platform::ReadDecimalLong(value));
    if (space_ != 0 && space_ < kMinimumSpace) space_ = kMinimumSpace;
  } else if (is("UserChoose")) {
    userChoose_ = ReadFlag(value);
  } else if (is("UserVisible")) {
    userVisible_ = ReadFlag(value);
    // What the user cannot see the user cannot choose; a later UserChoose may
    // still turn it back on.
    if (!userVisible_) userChoose_ = false;
  } else if (is("UserSetPath")) {
    userSetPath_ = ReadFlag(value);
  } else if (is("Typical")) {
    typical_ = ReadFlag(value);
  } else if (is("Compact")) {
    compact_ = ReadFlag(value);
  } else if (is("AdminTypical")) {
    adminTypical_ = ReadFlag(value);
  } else if (is("AdminCompact")) {
    adminCompact_ = ReadFlag(value);
  } else if (is("Group")) {
    group_ = value;
  } else if (is("DestinationID")) {
    destinationId_ = platform::ReadDecimalLong(value);
  }
}
