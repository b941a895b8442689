#pragma once
// The end of a removal run that reached its last page, after the exit steps
// have told the /T thread: the removal program is deleted from the directory
// the removal was started for (/D), that directory goes when it is empty, and
// "remove.pif" from the setup program's own directory takes the place of the
// setup process, to remove what a running program cannot remove itself.

#include <functional>
#include <string>
#include <vector>

// How the setup process hands over to "remove.pif": replaced in place, unless
// a test says otherwise. Returns only when the program could not be started.
using ProcessHandOver = std::function<void(const std::string& program, const std::vector<std::string>& arguments)>;

ProcessHandOver ReplaceThisProcess();

void FinishRemoval(const std::string& programDirectory, const std::string& sourceDirectory,
                   const ProcessHandOver& handOver);
