#include "wizard/pages/space_text.h"

#include "install/errors/string_table.h"
#include "install/tables/space_totals.h"

namespace {

constexpr unsigned kSpaceRequiredString = 25;   // "Space Required:"
constexpr unsigned kSpaceAvailableString = 27;  // "Space Available:"

std::string SpaceText(unsigned label, std::string_view separator, std::int64_t bytes) {
  std::string text = LoadStringText(label);
  text += separator;
  text += MegabytesText(bytes);
  return text;
}

}  // namespace

std::string SpaceRequiredText(std::string_view separator, std::int64_t bytes) {
  return SpaceText(kSpaceRequiredString, separator, bytes);
}

std::string SpaceAvailableText(std::string_view separator, std::int64_t bytes) {
  return SpaceText(kSpaceAvailableString, separator, bytes);
}
