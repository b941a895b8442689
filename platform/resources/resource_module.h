#pragma once
// The program's compiled resources: dialog templates, the string table and the
// bitmaps, as the resource compiler (tools/qmrc) emits them from a resource
// script. Plain data with static storage: every view and span handed out here
// lives for the whole process. Nothing here knows Qt or the product.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace platform {

// One control of a dialog template. Geometry is in dialog units.
struct ControlTemplate {
  int id = 0;                     // -1 (0xFFFF in the script) for controls nobody reaches
  std::string_view windowClass;   // "BUTTON", "STATIC", "EDIT", "LISTBOX", "COMBOBOX", "SCROLLBAR",
                                  // or a class of the program's own
  std::string_view text;          // caption; for ICON and SS_BITMAP statics the resource name
  std::uint32_t style = 0;        // WS_* with the class's own bits (window_styles.h), defaults applied
  std::uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogTemplate {
  int id = 0;
  std::uint32_t style = 0;        // WS_* | DS_*
  std::uint32_t exStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::string_view caption;
  std::string_view fontFace;      // from FONT; empty when the template names none
  int fontPointSize = 0;
  int fontWeight = 0;             // DIALOGEX only; 0 = normal
  bool fontItalic = false;
  std::span<const ControlTemplate> controls;  // in script order (the tab order)

  const ControlTemplate* FindControl(int controlId) const;
};

struct StringResource {
  unsigned id = 0;
  std::string_view text;          // escapes of the script already resolved (\r, \n, \t, "")
};

// A bitmap resource: the complete BMP file (BITMAPFILEHEADER first) as committed
// beside the script. Named either by number or by (upper-case) name.
struct BitmapResource {
  int numericId = -1;             // >= 0 when named by number
  std::string_view name;          // when named by text; stored upper case
  std::span<const std::uint8_t> bmpFile;
};

struct ResourceModule {
  std::span<const DialogTemplate> dialogs;  // sorted by id
  std::span<const StringResource> strings;  // sorted by id
  std::span<const BitmapResource> bitmaps;

  const DialogTemplate* FindDialog(int id) const;
  // null when the table holds no such id.
  const char* FindString(unsigned id) const;
  // Names compare ignoring case, as Windows does; "#145" is the bitmap numbered 145
  // (the form a control's text takes when it names a numbered bitmap).
  const BitmapResource* FindBitmap(std::string_view name) const;
  const BitmapResource* FindBitmap(int numericId) const;
};

}  // namespace platform
