#pragma once
// Bitmaps and metrics the program paints with.

#include <string_view>

#include <QColor>
#include <QPixmap>

namespace platform::ui {

// The bitmap resource of the application's resources. Raises
// platform::ResourceException when it is missing or not a readable BMP.
QPixmap LoadBitmapResource(std::string_view name);
QPixmap LoadBitmapResource(int numericId);

// Windows system metrics the program's drawing uses, with the values of the
// classic 96-dpi display.
enum class Metric { CxHThumb, CyVThumb, CxDlgFrame, CyDlgFrame, CxScreen, CyScreen };
int SystemMetric(Metric metric);

// Windows system colours of the classic scheme.
enum class SysColor { Window, WindowText, Highlight, HighlightText, ButtonFace, ButtonText, GrayText };
QColor SystemColor(SysColor color);

// The number of entries of the display's hardware palette; 0 for a display
// without one (every display this framework runs on).
int DevicePaletteSize();
// The number of entries of the system's default palette.
inline constexpr int kDefaultPaletteEntries = 20;

}  // namespace platform::ui
