// qmtool media build: installation media from a product tree and a manifest.
// The media are built in a directory beside OUTDIR and renamed into place, so a
// failed build leaves OUTDIR as it was.

#include <stdlib.h>
#include <sys/stat.h>

#include <cinttypes>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "install/errors/translate_exception.h"
#include "install/errors/xexception.h"
#include "platform/core/exceptions.h"
#include "tools/qmtool/media_builder.h"
#include "tools/qmtool/media_manifest.h"
#include "tools/qmtool/verbs.h"

namespace qmtool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "Usage: qmtool media build [--unsetup PATH] MANIFEST OUTDIR\n"
    "\n"
    "Builds installation diskettes DISK01, DISK02, ... in OUTDIR from the product\n"
    "tree that MANIFEST describes. Disk 1 holds the setup program, the profile\n"
    "(as cv_setup.ini), the licence (as agree.txt) and the install tables file\n"
    "(the setup program's name with the extension ini); every disk holds its tag\n"
    "file diskette.NNN with its label. Archives are split into volumes that fit\n"
    "their diskettes (QM.1, QM.2, ...: the last character counts up). File times\n"
    "come from the tree, so equal input gives byte-identical media. OUTDIR is\n"
    "replaced only when the build succeeds.\n"
    "\n"
    "MANIFEST is INI-like and strict: blank lines, comments starting with ';' or\n"
    "'#', '[section]' lines and 'key = value' lines. Tree paths are relative to\n"
    "the tree and use '/'.\n"
    "\n"
    "  [product]                      title, tree (relative to MANIFEST), disk size\n"
    "  title = Quillmark 2.0          (bytes), setup, profile and licence (tree\n"
    "  tree = tree                    paths) are all required\n"
    "  disk size = 1457664\n"
    "  setup = setup/SETUP.EXE\n"
    "  profile = setup/cv_setup.ini\n"
    "  licence = setup/agree.txt\n"
    "  [diskettes]                    NUMBER (1-24) = label; default 'TITLE Disk N'\n"
    "  1 = Quillmark 2.0 Program Disk\n"
    "  [groups]                       NAME = title|description|minimum|typical|custom\n"
    "  program = Program|The program|1|1|1\n"
    "  [destinations]                 ID = relative name|parent id|path\n"
    "  0 = QMW2||C:\\QMW2\n"
    "  [targets]                      KEY = icon|hotkey|minimized|name|arguments|icon file|command\n"
    "  QM.EXE = 0|-1|0|Quillmark||QM.EXE|\n"
    "  [archive QM.1]                 an archive: method lh5 (default) or stored,\n"
    "  method = lh5                   one group, late = 1 to copy it after the other\n"
    "                                 sources of its disk, files as PATH|DESTINATION ID\n"
    "  group = program\n"
    "  file = bin/QM.EXE|0\n"
    "  [plain]                        files copied as they are: PATH|GROUP|DESTINATION ID,\n"
    "                                 with |late to copy it after the other sources of its disk\n"
    "  file = README.TXT|program|0\n"
    "\n"
    "Destination ids are those of [destinations] or -2 (Windows), -3 (System),\n"
    "-4 (temporary), -5 (source). Sources go onto the disks in manifest order:\n"
    "archives first, then plain files.\n"    "\n"
    "The removal files: a member (archive member or plain file) named UNSETUP.EXE,\n"
    "in any case, gets the bytes of the built removal program instead of the\n"
    "tree's file: --unsetup PATH, by default 'unsetup' beside this qmtool. A\n"
    "member named REMOVE.PIF gets a '#!/bin/sh' script: started at the end of a\n"
    "removal with its own path as $0, it deletes the setup program's copy (the\n"
    "setup file name), cv_setup.ini and itself from its own directory, and\n"
    "nothing else. Both keep the times of the tree's files.\n"
    "\n"
    "Exit status: 0 success, 1 failure, 2 bad usage or a bad manifest (printed as\n"
    "MANIFEST:LINE: message).\n";

// The framework's and the archive classes' errors speak through their error
// class's texts; the host file system's through their own message.
std::string ErrorText(const std::exception& error) {
  if (dynamic_cast<const platform::Exception*>(&error) == nullptr) return error.what();
  const std::unique_ptr<CXException> translated = TranslateException(error);
  std::string text = translated->GetMessages().shortText;
  if (const auto* file = dynamic_cast<const CXFileException*>(translated.get()); file && !file->FileName().empty()) {
    text += " (" + file->FileName() + ")";
  }
  return text;
}

// A new directory beside target whose name starts with the target's.
fs::path MakeSiblingDirectory(const fs::path& target, const char* purpose) {
  std::string pattern = (target.parent_path() / ("." + target.filename().string() + "." + purpose + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "cannot create a directory beside " + target.string());
  }
  // mkdtemp makes it private; the media get the permissions of any new directory.
  const mode_t mask = umask(0);
  umask(mask);
  chmod(pattern.c_str(), 0777 & ~mask);
  return pattern;
}

// Puts the built directory in the place of target, which may exist.
void ReplaceDirectory(const fs::path& built, const fs::path& target) {
  std::error_code ec;
  if (!fs::exists(target, ec)) {
    fs::rename(built, target);
    return;
  }
  const fs::path old = MakeSiblingDirectory(target, "old");
  fs::remove(old);
  fs::rename(target, old);
  try {
    fs::rename(built, target);
  } catch (...) {
    fs::rename(old, target, ec);
    throw;
  }
  fs::remove_all(old, ec);
}

// The removal program built with this qmtool lies beside it.
fs::path DefaultRemovalProgram() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : self.parent_path() / "unsetup";
}

int Build(const std::string& manifestPath, const std::string& outArgument, const MediaBuildOptions& options) {
  MediaManifest manifest;
  try {
    manifest = ReadMediaManifest(manifestPath);
  } catch (const ManifestError& error) {
    std::fprintf(stderr, "%s:%d: %s\n", manifestPath.c_str(), error.Line(), error.what());
    return kExitUsage;
  }
  fs::path out = fs::absolute(outArgument).lexically_normal();
  if (out.filename().empty()) out = out.parent_path();
  std::error_code ec;
  if (fs::exists(out, ec) && !fs::is_directory(out, ec)) {
    std::fprintf(stderr, "qmtool media build: %s is not a directory\n", out.string().c_str());
    return kExitFailure;
  }

  fs::path work;
  MediaBuildResult report;
  try {
    work = MakeSiblingDirectory(out, "new");
    report = BuildMedia(manifest, work, options);
    ReplaceDirectory(work, out);
  } catch (const ManifestError& error) {
    if (!work.empty()) fs::remove_all(work, ec);
    std::fprintf(stderr, "%s:%d: %s\n", manifestPath.c_str(), error.Line(), error.what());
    return kExitUsage;
  } catch (const std::exception& error) {
    if (!work.empty()) fs::remove_all(work, ec);
    std::fprintf(stderr, "qmtool media build: %s\n", ErrorText(error).c_str());
    return kExitFailure;
  }
  int disks = 0;
  for (const std::string& warning : report.warnings) {
    std::fprintf(stderr, "%s: warning: %s\n", manifestPath.c_str(), warning.c_str());
  }
  for (const MediaFileReport& file : report.files) {
    std::printf("DISK%02d  %-16s %10" PRIu64 "\n", file.disk, file.name.c_str(), file.bytes);
    disks = std::max(disks, file.disk);
  }
  std::printf("%d diskette%s in %s\n", disks, disks == 1 ? "" : "s", out.string().c_str());
  return kExitOk;
}

}  // namespace

int RunMediaVerb(Arguments& args) {
  if (const std::optional<int> answered = AnswerHelpOrVersion(args, "media", kUsage)) return *answered;
  MediaBuildOptions options;
  const std::optional<std::string> removalProgram = args.TakeOption("--unsetup");
  options.removalProgram = removalProgram ? fs::path(*removalProgram) : DefaultRemovalProgram();
  const std::optional<std::string> action = args.TakePositional();
  if (!action) throw UsageError("media needs an action: build");
  if (*action != "build") throw UsageError("unknown action '" + *action + "' (build)");
  const std::optional<std::string> manifest = args.TakePositional();
  const std::optional<std::string> out = args.TakePositional();
  if (!manifest || !out) throw UsageError("build needs MANIFEST and OUTDIR");
  args.ExpectEnd();
  return Build(*manifest, *out, options);
}

}  // namespace qmtool
