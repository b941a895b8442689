#pragma once
// The end of a removal run, after the exit steps have told the /T thread: the
// files that a running program cannot remove itself (the setup program and its
// directory) are left to a follow-up program started in place of the setup.
//
// Not done yet: the removal work comes with its own change, and until then this
// hook does nothing.

#include <string>

void FinishRemoval(const std::string& sourceDirectory);
