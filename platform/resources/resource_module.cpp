#include "platform/resources/resource_module.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace platform {
namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

// "#145" names the numbered resource 145, as in Windows' resource functions.
std::optional<int> NumberedName(std::string_view name) {
  if (name.size() < 2 || name.front() != '#') return std::nullopt;
  int value = 0;
  const char* end = name.data() + name.size();
  auto [ptr, ec] = std::from_chars(name.data() + 1, end, value);
  if (ec != std::errc() || ptr != end || value < 0) return std::nullopt;
  return value;
}

}  // namespace

const ControlTemplate* DialogTemplate::FindControl(int controlId) const {
  for (const ControlTemplate& control : controls) {
    if (control.id == controlId) return &control;
  }
  return nullptr;
}

const DialogTemplate* ResourceModule::FindDialog(int id) const {
  auto it = std::lower_bound(dialogs.begin(), dialogs.end(), id,
                             [](const DialogTemplate& dialog, int wanted) { return dialog.id < wanted; });
  return it != dialogs.end() && it->id == id ? &*it : nullptr;
}

const char* ResourceModule::FindString(unsigned id) const {
  auto it = std::lower_bound(strings.begin(), strings.end(), id,
                             [](const StringResource& entry, unsigned wanted) { return entry.id < wanted; });
  // The compiler emits every text as a string literal, so data() ends in a NUL.
  return it != strings.end() && it->id == id ? it->text.data() : nullptr;
}

const BitmapResource* ResourceModule::FindBitmap(std::string_view name) const {
  if (std::optional<int> number = NumberedName(name)) return FindBitmap(*number);
  for (const BitmapResource& bitmap : bitmaps) {
    if (bitmap.numericId < 0 && EqualIgnoringCase(bitmap.name, name)) return &bitmap;
  }
  return nullptr;
}

const BitmapResource* ResourceModule::FindBitmap(int numericId) const {
  if (numericId < 0) return nullptr;
  for (const BitmapResource& bitmap : bitmaps) {
    if (bitmap.numericId == numericId) return &bitmap;
  }
  return nullptr;
}

}  // namespace platform
