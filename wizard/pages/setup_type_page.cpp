#include "wizard/pages/setup_type_page.h"

bool SetupTypePage::ActivatePage() {
  // Each button shows the bitmaps named after its caption: "MINIMUMU" up,
  // "MINIMUMD" pressed.
  for (int id : {kMinimumButton, kTypicalButton, kCustomButton}) BindBitmapButton(id, ItemText(id));
  return PicturePage::ActivatePage();
}
