#include "system/install_commands.h"

#include "system/command_list.h"

// The "Execute" sections are kept as the profile gave them and not run yet;
// starting and waiting for programs comes with the command entries.
void RunInstallCommands(CCommandList&, const MacroTable&) {}
