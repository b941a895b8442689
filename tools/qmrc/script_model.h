#pragma once
// What a script defines, as the parser finds it and the generator writes it out.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/qmrc/diagnostics.h"

namespace qmrc {

struct ControlDefinition {
  int id = -1;
  std::string windowClass;
  std::string text;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  SourceLocation where;
};

struct DialogDefinition {
  int id = 0;
  bool extended = false;  // DIALOGEX
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  std::string fontFace;
  int fontPointSize = 0;
  int fontWeight = 0;
  bool fontItalic = false;
  std::vector<ControlDefinition> controls;
  SourceLocation where;
};

struct StringDefinition {
  unsigned id = 0;
  std::string text;
  SourceLocation where;
};

struct BitmapDefinition {
  int numericId = -1;    // >= 0 when named by number
  std::string name;      // upper case, when named by text
  std::filesystem::path file;
  std::vector<std::uint8_t> bytes;
  SourceLocation where;
};

struct ResourceScript {
  std::vector<DialogDefinition> dialogs;  // in script order
  std::vector<StringDefinition> strings;
  std::vector<BitmapDefinition> bitmaps;
  std::vector<std::filesystem::path> dependencies;  // the script, its headers and its bitmaps
};

}  // namespace qmrc
