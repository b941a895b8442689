// unsetup: the product's removal program, installed as "Unsetup.exe" in the
// install directory and registered as the removal command. It runs a removal
// of the installed setup program and waits for it to finish.

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/core/standard_options.h"

#include "platform/fs/path_map.h"
#include "tools/unsetup/removal_launcher.h"

namespace {

constexpr const char* kUsage =
    "Usage: unsetup [/B]\n"
    "\n"
    "Removes the product installed in the directory this program lies in. The\n"
    "setup program installed there (the install log's, else SETUP.EXE) runs a\n"
    "removal (/U) from a copy in the machine's temporary directory, with the\n"
    "profile cv_setup.ini and remove.pif beside it; remove.pif clears that\n"
    "copy at the end. unsetup waits until all of it has ended.\n"
    "\n"
    "  /B   batch removal: no display needed, nobody asked\n"
    "\n"
    "Other words are ignored. The machine is the one QMSETUP_SYSTEM names.\n"
    "\n"
    "Exit status: the removal's (0 removed, 1 cancelled, 2 removed with reported\n"
    "errors), or 3 when no removal could be started (nothing changed).\n";

}  // namespace

int main(int argc, char** argv) {
  if (const auto status = AnswerStandardOption(argc, argv, "unsetup", QM_VERSION, kUsage)) return *status;
  platform::SetProgramArgv0(argv[0]);

  unsetup::RemovalRequest request;
  for (int i = 1; i < argc; ++i) request.batch = request.batch || std::strcmp(argv[i], "/B") == 0;
  // Our own directory is the install directory.
  const std::string self = platform::GetModuleFileName();
  const std::size_t slash = self.rfind('\\');
  if (slash == std::string::npos) {
    std::fprintf(stderr, "unsetup: cannot tell its own directory from %s\n", self.c_str());
    return unsetup::kExitCannotStart;
  }
  request.installDir = self.substr(0, slash + 1);
  return unsetup::RunRemoval(request);
}
