#include "profile/setup_settings.h"

#include <optional>
#include <variant>

#include "platform/core/crt_number.h"
#include "profile/escapes.h"
#include "profile/value_conversions.h"

struct SetupSettings::KeyRule {
  using Field = std::variant<std::string SetupSettings::*, int SetupSettings::*, bool SetupSettings::*>;

  std::string_view name;
  KeyKind kind;
  Field field;
};

// The whole vocabulary of the "interface" section, in field order: key name, how
// its value is converted, and the field it sets.
std::span<const SetupSettings::KeyRule> SetupSettings::KeyRules() {
  using S = SetupSettings;
  using K = KeyKind;
  static constexpr KeyRule kRules[] = {
      {"DisplaySplashFlag", K::Flag, &S::displaySplashFlag_},
      {"LogFilename", K::Text, &S::logFilename_},
      {"FileCopyDelayInterval", K::Number, &S::fileCopyDelayInterval_},
      {"InstallTitleHeight", K::Number, &S::installTitleHeight_},
      {"UnWelcomeText", K::Text, &S::unWelcomeText_},
      {"UnWelcomeTitle", K::Text, &S::unWelcomeTitle_},
      {"UnDoneText", K::Text, &S::unDoneText_},
      {"UnDoneTitle", K::Text, &S::unDoneTitle_},
      {"BrowseDirText", K::Text, &S::browseDirText_},
      {"BrowseDirTitle", K::Text, &S::browseDirTitle_},
      {"Typical", K::Text, &S::typical_},
      {"Compact", K::Text, &S::compact_},
      {"Custom", K::Text, &S::custom_},
      {"InstallName", K::Text, &S::installName_},
      {"PMGroup", K::RawText, &S::pmGroup_},
      {"WelcomeTitle", K::Text, &S::welcomeTitle_},
      {"WelcomeText", K::Text, &S::welcomeText_},
      {"ReadingInfoTitle", K::Text, &S::readingInfoTitle_},
      {"ReadingInfoText", K::Text, &S::readingInfoText_},
      {"InstallOptionsTitle", K::Text, &S::installOptionsTitle_},
      {"CustomOptionsTitle", K::Text, &S::customOptionsTitle_},
      {"CustomMBOptionsTitle", K::Text, &S::customMBOptionsTitle_},
      {"CustomMBOptionsText", K::Text, &S::customMBOptionsText_},
      {"TypicalMBOptionsTitle", K::Text, &S::typicalMBOptionsTitle_},
      {"TypicalMBOptionsText", K::Text, &S::typicalMBOptionsText_},
      {"CompactMBOptionsTitle", K::Text, &S::compactMBOptionsTitle_},
      {"CompactMBOptionsText", K::Text, &S::compactMBOptionsText_},
      {"AbortedTitle", K::Text, &S::abortedTitle_},
      {"AbortedText", K::Text, &S::abortedText_},
      {"DoneTitle", K::Text, &S::doneTitle_},
      {"DoneText", K::Text, &S::doneText_},
      {"ReallyCancelMBTitle", K::Text, &S::reallyCancelMBTitle_},
      {"ReallyCancelMBText", K::Text, &S::reallyCancelMBText_},
      {"CopyingFilesTitle", K::Text, &S::copyingFilesTitle_},
      {"DefaultOptionDescription", K::Text, &S::defaultOptionDescription_},
      {"UninstallProgressTitle", K::Text, &S::uninstallProgressTitle_},
      {"OutOfDiskTitle", K::Text, &S::outOfDiskTitle_},
      {"OutOfDiskText", K::Text, &S::outOfDiskText_},
  };
  static_assert(std::size(kRules) == 38);
  return kRules;
}

std::vector<SetupSettings::KeyInfo> SetupSettings::InterfaceKeys() {
  std::vector<KeyInfo> keys;
  for (const KeyRule& rule : KeyRules()) keys.push_back({rule.name, rule.kind});
  return keys;
}

std::optional<SetupSettings::Value> SetupSettings::ValueOf(std::string_view key) const {
  for (const KeyRule& rule : KeyRules()) {
    if (!ProfileNamesEqual(rule.name, key)) continue;
    return std::visit([this](auto member) { return Value(this->*member); }, rule.field);
  }
  return std::nullopt;
}

void SetupSettings::Apply(const KeyRule& rule, const std::string& value) {
  switch (rule.kind) {
    case KeyKind::Text:
      this->*std::get<std::string SetupSettings::*>(rule.field) = ExpandEscapes(value);
      break;
    case KeyKind::RawText:
      this->*std::get<std::string SetupSettings::*>(rule.field) = value;
      break;
    case KeyKind::Number:
      this->*std::get<int SetupSettings::*>(rule.field) = platform::ReadDecimalLong(value);
      break;
    case KeyKind::Flag:
      this->*std::get<bool SetupSettings::*>(rule.field) = ReadFlag(value);
      break;
  }
}

void SetupSettings::ReadInterfaceSection(const ProfileSection& section) {
  for (const ProfileKey& key : section.Keys()) {
    for (const KeyRule& rule : KeyRules()) {
      if (ProfileNamesEqual(key.Name(), rule.name)) {
        Apply(rule, key.FirstValue());
        break;
      }
    }
  }
}

void SetupSettings::ReadBillboardSection(const ProfileSection& section) {
  // A bitmap waits for its text; a second bitmap before any text replaces it,
  // and a bitmap still waiting when the section ends is dropped.
  std::optional<BillboardItem> pending;
  for (const ProfileKey& key : section.Keys()) {
    if (ProfileNamesEqual(key.Name(), "bitmap")) {
      pending = BillboardItem{key.FirstValue(), {}};
    } else if (ProfileNamesEqual(key.Name(), "text") && pending) {
      pending->text = ExpandEscapes(key.FirstValue());
      billboards_.push_back(std::move(*pending));
      pending.reset();
    }
  }
}
