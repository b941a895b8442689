#include "wizard/pages/page_message.h"

#include "install/errors/string_table.h"
#include "platform/ui/message_box.h"

namespace {

constexpr unsigned kApplicationTitleString = 57344;  // "Quillmark 2.0 Setup"

}  // namespace

void ShowPageMessage(platform::ui::Window& page, unsigned stringId) {
  platform::ui::MessageBox(&page, LoadStringText(stringId), LoadStringText(kApplicationTitleString),
                           platform::ui::MessageButtons::Ok);
}
