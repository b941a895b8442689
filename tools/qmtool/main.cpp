// qmtool: the companion command line of the setup, one verb per job.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "platform/fs/path_map.h"
#include "tools/qmtool/command_line.h"
#include "tools/qmtool/verbs.h"

namespace qmtool {
namespace {

constexpr Verb kVerbs[] = {
    {"system", "create and inspect an emulated Windows machine", RunSystemVerb},
    {"profile", "check a setup profile as the setup reads it", RunProfileVerb},
    {"arc", "list, test, extract and create archives", RunArcVerb},
    {"media", "build installation diskettes from a product tree", RunMediaVerb},
    {"reg", "export, import and delete registry keys as REGEDIT4 text", RunRegVerb},
    {"lnk", "show what a shell link (.lnk file) holds", RunLnkVerb},
    {"progman", "run the Program Manager server and list its groups", RunProgmanVerb},
    {"log", "show an install log and what a removal would do with it", RunLogVerb},
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "Usage: qmtool VERB [ARGS...]\n"
               "       qmtool --help | --version\n"
               "\n"
               "The companion tool of the Quillmark 2.0 setup.\n"
               "\n"
               "Verbs:\n");
  for (const Verb& verb : kVerbs) std::fprintf(out, "  %-10s %s\n", verb.name, verb.summary);
  std::fprintf(out,
               "\n"
               "Run 'qmtool VERB --help' for the arguments of a verb.\n"
               "The emulated machine is the directory named by QMSETUP_SYSTEM, else\n"
               "$XDG_DATA_HOME/qmsetup/system (~/.local/share/qmsetup/system).\n");
}

int Main(int argc, char** argv) {
  platform::SetProgramArgv0(argv[0]);
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  const std::string first = words.front();
  if (first == "--help" || first == "-h" || first == "help") {
    PrintUsage(stdout);
    return kExitOk;
  }
  if (first == "--version") {
    PrintVersion("qmtool");
    return kExitOk;
  }
  for (const Verb& verb : kVerbs) {
    if (first != verb.name) continue;
    Arguments args(std::vector<std::string>(words.begin() + 1, words.end()));
    try {
      return verb.run(args);
    } catch (const UsageError& e) {
      std::fprintf(stderr, "qmtool %s: %s\nRun 'qmtool %s --help' for usage.\n", verb.name, e.what(),
                   verb.name);
      return kExitUsage;
    }
  }
  std::fprintf(stderr, "qmtool: unknown verb '%s'\nRun 'qmtool --help' for the list of verbs.\n",
               first.c_str());
  return kExitUsage;
}

}  // namespace
}  // namespace qmtool

int main(int argc, char** argv) {
  try {
    return qmtool::Main(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "qmtool: %s\n", e.what());
    return qmtool::kExitFailure;
  }
}
