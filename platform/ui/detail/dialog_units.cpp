#include "platform/ui/detail/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>

namespace platform::ui::detail {

namespace {

// a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

QFont DialogFont(const DialogTemplate& dialogTemplate) {
  if (dialogTemplate.fontFace.empty() || dialogTemplate.fontPointSize <= 0) return QApplication::font();
  QFont font(QString::fromUtf8(dialogTemplate.fontFace.data(), static_cast<qsizetype>(dialogTemplate.fontFace.size())));
  font.setPointSize(dialogTemplate.fontPointSize);
  // Windows weights use the same 100..900 scale as Qt's.
  if (dialogTemplate.fontWeight > 0) font.setWeight(static_cast<QFont::Weight>(dialogTemplate.fontWeight));
  font.setItalic(dialogTemplate.fontItalic);
  return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int alphabet = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  DialogBaseUnits base;
  base.x = (alphabet / 26 + 1) / 2;
  base.y = metrics.height();
  if (base.x <= 0) base.x = 1;
  if (base.y <= 0) base.y = 1;
  return base;
}

QRect DialogUnitsToPixels(const QRect& units, DialogBaseUnits base) {
  const int left = MulDiv(units.x(), base.x, 4);
  const int top = MulDiv(units.y(), base.y, 8);
  const int right = MulDiv(units.x() + units.width(), base.x, 4);
  const int bottom = MulDiv(units.y() + units.height(), base.y, 8);
  return QRect(left, top, right - left, bottom - top);
}

}  // namespace platform::ui::detail
