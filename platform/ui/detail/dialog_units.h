#pragma once
// Dialog units and the dialog font, computed as Windows computes them.

#include <QFont>
#include <QRect>

#include "platform/resources/resource_module.h"

namespace platform::ui::detail {

// The template's font (its face through the application's substitutions), or the
// application's dialog font when the template names none.
QFont DialogFont(const DialogTemplate& dialogTemplate);

// Average character width and height of font, the base of dialog units.
struct DialogBaseUnits {
  int x = 6;
  int y = 12;
};
DialogBaseUnits BaseUnitsOf(const QFont& font);

// Each edge converted on its own, rounded as Windows' MulDiv rounds.
QRect DialogUnitsToPixels(const QRect& units, DialogBaseUnits base);

}  // namespace platform::ui::detail
