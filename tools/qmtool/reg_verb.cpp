// qmtool reg: the emulated registry as REGEDIT4 text.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "platform/machine/machine.h"
#include "tools/qmtool/regedit4.h"
#include "tools/qmtool/registry_transfer.h"
#include "tools/qmtool/verbs.h"

namespace qmtool {
namespace {

constexpr const char* kUsage =
    "Usage: qmtool reg export [KEY] [--output FILE] [--root DIR]\n"
    "       qmtool reg import FILE [--root DIR]\n"
    "       qmtool reg delete KEY [--root DIR]\n"
    "\n"
    "export  writes the registry, or the subtree of KEY, as REGEDIT4 text to FILE or\n"
    "        stdout: keys depth-first and values in name order ignoring case, so\n"
    "        two exports of the same registry are the same bytes.\n"
    "import  reads REGEDIT4 text (FILE, or - for stdin) into the registry: creates\n"
    "        its keys, sets its values, deletes [-KEY] subtrees and \"name\"=- values.\n"
    "delete  deletes KEY with every key below it, whatever the platform kind (the\n"
    "        setup's own deletions follow the platform's rule; this tool does not).\n"
    "\n"
    "KEY is a full path such as HKEY_LOCAL_MACHINE\\Software\\Quillmark (HKLM, HKCU,\n"
    "HKCR and HKU are accepted). A quoted string stands for exactly its bytes, with\n"
    "no terminating zero, as the setup writes text values; a string value that holds\n"
    "a zero byte or a line break is exported as hex(1): so an import gives it back.\n"
    "\n"
    "The machine is --root, else QMSETUP_SYSTEM, else $XDG_DATA_HOME/qmsetup/system.\n";


int Export(Arguments& args) {
  const std::optional<std::string> output = args.TakeOption("--output");
  UseMachineFrom(args);
  const std::optional<std::string> key = args.TakePositional();
  args.ExpectEnd();
  const std::string text = WriteRegedit4(ReadRegistry(key));
  if (!output) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
  }
  std::ofstream file(*output, std::ios::binary | std::ios::trunc);
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  if (!file) {
    std::fprintf(stderr, "qmtool reg export: cannot write %s\n", output->c_str());
    return kExitFailure;
  }
  return kExitOk;
}

int Import(Arguments& args) {
  UseMachineFrom(args);
  const std::optional<std::string> path = args.TakePositional();
  if (!path) throw UsageError("import needs a REGEDIT4 file");
  args.ExpectEnd();
  std::string text;
  if (*path == "-") {
    text.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  } else {
    std::ifstream file(*path, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "qmtool reg import: cannot read %s\n", path->c_str());
      return kExitFailure;
    }
    std::ostringstream content;
    content << file.rdbuf();
    text = content.str();
  }
  RegFile parsed;
  try {
    parsed = ReadRegedit4(text);
  } catch (const Regedit4Error& e) {
    std::fprintf(stderr, "qmtool reg import: %s: %s\n", path->c_str(), e.what());
    return kExitFailure;
  }
  ApplyToRegistry(parsed);
  return kExitOk;
}

int Delete(Arguments& args) {
  UseMachineFrom(args);
  const std::optional<std::string> key = args.TakePositional();
  if (!key) throw UsageError("delete needs a key");
  args.ExpectEnd();
  if (!DeleteRegistryTree(*key)) {
    std::fprintf(stderr, "qmtool reg delete: no key %s\n", key->c_str());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

int RunRegVerb(Arguments& args) {
  if (const auto answered = AnswerHelpOrVersion(args, "reg", kUsage)) return *answered;
  const std::optional<std::string> action = args.TakePositional();
  if (!action) throw UsageError("reg needs an action: export, import or delete");
  try {
    if (*action == "export") return Export(args);
    if (*action == "import") return Import(args);
    if (*action == "delete") return Delete(args);
  } catch (const RegistryTransferError& e) {
    std::fprintf(stderr, "qmtool reg %s: %s\n", action->c_str(), e.what());
    return kExitFailure;
  } catch (const Regedit4Error& e) {
    std::fprintf(stderr, "qmtool reg %s: %s\n", action->c_str(), e.what());
    return kExitFailure;
  } catch (const platform::MachineError& e) {
    std::fprintf(stderr, "qmtool reg %s: %s\n", action->c_str(), e.what());
    return kExitFailure;
  }
  throw UsageError("unknown action '" + *action + "' (export, import or delete)");
}

}  // namespace qmtool
