#include "wizard/pages/page_message.h"

#include "app/setup_app.h"
#include "install/errors/string_table.h"
#include "platform/ui/message_box.h"

void ShowPageMessage(platform::ui::Window& page, unsigned stringId) {
  platform::ui::MessageBox(&page, LoadStringText(stringId), SetupApp::Current().SetupTitle(),
                           platform::ui::MessageButtons::Ok);
}
