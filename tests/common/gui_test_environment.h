#pragma once
// The environment of a GUI test program (made with qm_gui_test in CMake).
//
// The program's main (in gui_test_environment.cpp) runs every test offscreen:
// it sets QT_QPA_PLATFORM=offscreen unless the caller chose a platform, points
// XDG_RUNTIME_DIR at a private temporary directory, and creates one
// platform::ui::Application for the whole program (an 800x600 screen at 96 dpi,
// reachable through platform::ui::Application::Current()). Its resources are:
//   - the module a test file names with a GuiTestResources object, else
//   - the program's resources (SetupResources()) when the test links
//     qm_setup_resources, else
//   - an empty module.
// The application's message-exception hook records what reaches it (see
// TakeMessageExceptions) and writes it to stderr. After every test the modal
// observer is removed, unattended mode is switched off and pending events are
// handled, so tests do not leak into each other.

#include <string>
#include <vector>

#include <QImage>

#include "platform/resources/resource_module.h"

namespace platform::ui {
class Window;
}

namespace qmtest {

// Names the resources of the test program's application. Define one object at
// namespace scope in one test file:
//   const qmtest::GuiTestResources kResources(MyModule());
// module must live for the whole program (static data).
class GuiTestResources {
 public:
  explicit GuiTestResources(const platform::ResourceModule& module);
};

// Handles events for ms milliseconds (at least one round), including the
// deferred deletion of widgets that windows have let go of.
void ProcessEventsFor(int ms = 0);

// The window's current picture (its client area for top-level windows, as the
// widget paints it); a null image when the window has no widget.
QImage GrabWindow(platform::ui::Window& window);

// Writes image as a PNG file; false when it cannot be written.
bool SavePng(const QImage& image, const std::string& path);

// The what() texts of the exceptions that reached the application's hook since
// the last call, oldest first; the record is emptied.
std::vector<std::string> TakeMessageExceptions();

}  // namespace qmtest
