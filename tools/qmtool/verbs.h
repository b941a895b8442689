#pragma once
// The verbs of qmtool. Each takes the words after its name and returns the exit code.

#include "tools/qmtool/command_line.h"

namespace qmtool {

struct Verb {
  const char* name;
  const char* summary;
  int (*run)(Arguments& args);
};

int RunSystemVerb(Arguments& args);
int RunProfileVerb(Arguments& args);
int RunArcVerb(Arguments& args);
int RunRegVerb(Arguments& args);
int RunMediaVerb(Arguments& args);
int RunLnkVerb(Arguments& args);
int RunProgmanVerb(Arguments& args);
int RunLogVerb(Arguments& args);

}  // namespace qmtool
