#include "tools/qmtool/removal_files.h"

#include <algorithm>
#include <cctype>

namespace qmtool {
namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// A word the shell takes literally, whatever it holds.
std::string ShellQuoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace

RemovalFile RemovalFileOf(std::string_view fileName) {
  const std::string lower = Lower(fileName);
  if (lower == "unsetup.exe") return RemovalFile::RemovalProgram;
  if (lower == "remove.pif") return RemovalFile::FinishScript;
  return RemovalFile::None;
}

std::string FinishScriptText(const std::string& setupProgram) {
  // The directory's entries are matched by their exact names, lower-cased
  // (the "x" keeps a trailing line break of a name), so names may have any
  // case and any blanks; only plain files are deleted.
  return "#!/bin/sh\n"
         "# Started in place of the setup program at the end of a removal run, with its\n"
         "# own path as $0: deletes the setup program's copy, the profile and itself.\n"
         "case $0 in */*) dir=${0%/*} ;; *) dir=. ;; esac\n"
         "self=${0##*/}\n"
         "status=0\n"
         "for path in \"$dir\"/* \"$dir\"/.[!.]*; do\n"
         "  [ -f \"$path\" ] && [ ! -L \"$path\" ] || continue\n"
         "  name=${path##*/}\n"
         "  lower=$(printf '%sx' \"$name\" | tr '[:upper:]' '[:lower:]')\n"
         "  lower=${lower%x}\n"
         "  if [ \"$lower\" = " + ShellQuoted(Lower(setupProgram)) + " ] || [ \"$lower\" = 'cv_setup.ini' ] ||\n"
         "     [ \"$name\" = \"$self\" ]; then\n"
         "    rm -f -- \"$path\" || status=1\n"
         "  fi\n"
         "done\n"
         "exit $status\n";
}

}  // namespace qmtool
