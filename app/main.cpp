// qmsetup: the setup program. Run from the installation media it installs the
// product; with /U it removes it again. See README "Running the setup".


#include "app/setup_app.h"
#include "platform/core/standard_options.h"
#include "platform/fs/path_map.h"

namespace {

constexpr const char* kUsage =
    "Usage: qmsetup [/U] [/B] [/I] [/D:path] [/T:thread]\n"
    "\n"
    "Installs the product from the folder the program is started from; the\n"
    "install tables file bears the program's name with the extension .ini.\n"
    "\n"
    "  /U          remove the product (reads the install log)\n"
    "  /B          batch run: no display needed, nobody asked; every question\n"
    "              takes its default answer, which is written to stderr\n"
    "  /I          ignore the install conditions\n"
    "  /D:path     read the setup files from path (a Windows path)\n"
    "  /T:thread   post message 1338 to that thread when the run ends\n"
    "\n"
    "Without /B the pages need a display (DISPLAY, WAYLAND_DISPLAY or\n"
    "QT_QPA_PLATFORM); /B always runs offscreen.\n"
    "\n"
    "Exit status: 0 done, 1 cancelled, 2 done with reported errors,\n"
    "3 \"Setup cannot continue\", no display, or another run on the machine.\n"
    "The machine is the one QMSETUP_SYSTEM names. With QMSETUP_SCREENSHOTS=DIR a\n"
    "picture of the screen is saved each time a page has been shown.\n";

}  // namespace

int main(int argc, char** argv) {
  if (const auto status = AnswerStandardOption(argc, argv, "qmsetup", QM_VERSION, kUsage)) return *status;

  // The program's own path is the path it was started as: the media folder.
  platform::SetProgramArgv0(argv[0]);
  if (!SetupApp::CanStart(argc, argv)) return static_cast<int>(RunOutcome::CannotContinue);
  SetupApp app(argc, argv);
  return app.RunSetup();
}
