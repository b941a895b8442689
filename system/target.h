#pragma once
// A program item the install creates in the chosen program folder: a Program
// Manager item or a shortcut file, depending on the platform.

#include <cstdint>
#include <string>
#include <string_view>

#include "support/path.h"

struct CTarget {
  static constexpr std::int32_t kNoHotkey = -1;

  std::string key;  // the file the item starts (its name and extension)
  std::int32_t iconIndex = 0;
  std::string name;  // the item's title and the shortcut file's name
  std::string arguments;
  std::int32_t hotkey = kNoHotkey;
  bool minimized = false;
  std::string iconFile;  // relative to destination 0; empty for none
  CPath commandPath;

  // The "targets" line: "%d|%d|%d|%s|%s|%s|%s" with icon index, hotkey,
  // minimized (0/1), name, arguments, icon file and command path.
  std::string FormatLine() const;
  // The target of a "targets" line; fields the value lacks read as 0 or empty.
  static CTarget FromLine(std::string_view key, std::string_view value);
};
