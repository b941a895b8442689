#include "platform/resources/window_styles.h"

namespace platform {
namespace {

struct StyleName {
  std::string_view name;
  std::uint32_t value;
};

#define QM_STYLE_ENTRY(name, value) {#name, value},
constexpr StyleName kStyleNames[] = {QM_WINDOW_STYLE_LIST(QM_STYLE_ENTRY)};
#undef QM_STYLE_ENTRY

}  // namespace

std::optional<std::uint32_t> LookupStyleName(std::string_view name) {
  // Names are case-sensitive, as the C preprocessor that rc borrows its names from.
  for (const StyleName& entry : kStyleNames) {
    if (entry.name == name) return entry.value;
  }
  return std::nullopt;
}

}  // namespace platform
