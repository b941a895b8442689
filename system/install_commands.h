#pragma once
// The install run's follow-up programs: the "Execute" entries whose option is
// "0", with the macros put into their command lines, run in profile order, each
// waited for before the next.

#include "options/macro_table.h"

class CCommandList;

// Failures are not reported: a program that cannot be started is skipped.
void RunInstallCommands(CCommandList& commands, const MacroTable& macros);
