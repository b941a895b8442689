#include "app/profile_messages.h"

#include "install/errors/string_table.h"
#include "platform/ui/application.h"
#include "platform/ui/message_box.h"

namespace {

constexpr unsigned kApplicationTitleString = 57344;

}  // namespace

void ProfileMessageBoxes::ShowMessage(const std::string& text) {
  platform::ui::Window* owner = nullptr;
  if (auto* app = platform::ui::Application::Current()) owner = app->MainWindow();
  platform::ui::MessageBox(owner, text, LoadStringText(kApplicationTitleString), platform::ui::MessageButtons::Ok);
}
