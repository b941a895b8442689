// qmtool arc: list, test, extract and create archives (stored or -lh5-, in
// volumes). Archive and file arguments are host paths; they reach the archive
// classes as Windows paths of the emulated machine (Z: reaches every host path).

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "install/archive/archive_volume_reader.h"
#include "install/archive/archive_writer.h"
#include "install/errors/translate_exception.h"
#include "install/errors/xexception.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "tools/qmtool/display_text.h"
#include "tools/qmtool/verbs.h"

namespace qmtool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "Usage: qmtool arc list ARCHIVE\n"
    "       qmtool arc test ARCHIVE\n"
    "       qmtool arc extract ARCHIVE [--to DIR]\n"
    "       qmtool arc create ARCHIVE [--method stored|lh5] [--volume-size BYTES] [--dest-id N] FILE|DIR...\n"
    "\n"
    "list     shows every entry: name, size, packed size, ratio, method, destination ID,\n"
    "         attributes (R read-only, H hidden, S system, A archive), time (UTC),\n"
    "         checksum, whether its data continues into the next volume, and the\n"
    "         volume its header is in.\n"
    "test     decodes every entry and compares its checksum, writing nothing; the\n"
    "         first bad entry is named with the error's texts.\n"
    "extract  writes every entry into DIR (default: the current directory) under its\n"
    "         name and extension only, with its time and attributes. An existing file\n"
    "         is replaced; a file that fails its check is removed.\n"
    "create   archives the files (a directory adds the files directly in it, sorted by\n"
    "         name), -lh5- unless --method stored. With --volume-size (at least 1024)\n"
    "         the archive is split into volumes named by counting up the last character\n"
    "         of ARCHIVE (DATA.1, DATA.2, ...; digits to 9, letters to Z or z). Every\n"
    "         entry gets destination ID N (default 0), its file's attributes and\n"
    "         last-write time.\n"
    "\n"
    "Volumes are looked for beside the archive. Exit status: 0 success, 1 failure\n"
    "(the error's text is printed), 2 bad usage.\n";

// A line on stderr that shows long work, only when stderr is a terminal, and at
// most four times a second.
class ProgressLine {
 public:
  ProgressLine() : enabled_(isatty(STDERR_FILENO) == 1) {}
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void Show(const std::function<std::string()>& text) {
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (shown_ && now - last_ < std::chrono::milliseconds(250)) return;
    last_ = now;
    shown_ = true;
    std::string line = text();
    if (line.size() > 78) line = line.substr(0, 75) + "...";
    std::fprintf(stderr, "\r%s\033[K", line.c_str());
    std::fflush(stderr);
  }

  void Clear() {
    if (!shown_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    shown_ = false;
  }

 private:
  bool enabled_;
  bool shown_ = false;
  std::chrono::steady_clock::time_point last_{};
};

// The archive reader of the tool: volumes followed beside the archive, and a
// progress tick every 4096 bytes read.
class ToolReader : public CVolumeArchiveReader {
 public:
  std::function<void()> onSegment;

 protected:
  void OnSegment() override {
    if (onSegment) onSegment();
  }
};

// Passes nothing on: test only wants the checksum the reader keeps.
class DiscardSink : public CodecSink {
 public:
  void Write(const void*, std::size_t) override {}
};

std::string WindowsPath(const std::string& hostPath) {
  std::error_code ec;
  fs::path absolute = fs::absolute(hostPath, ec);
  if (ec) absolute = hostPath;
  return platform::MapToWindows(absolute.lexically_normal());
}

std::string Percent(uint64_t part, uint64_t whole) {
  if (whole == 0) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f%%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
  return text;
}

std::string MethodName(uint32_t method) {
  if (method == kMethodStored) return "stored";
  if (method == kMethodLh5) return "lh5";
  return "?" + std::to_string(method);
}

std::string AttributeText(uint16_t attributes) {
  std::string text = "----";
  if (attributes & platform::kAttrReadOnly) text[0] = 'R';
  if (attributes & platform::kAttrHidden) text[1] = 'H';
  if (attributes & platform::kAttrSystem) text[2] = 'S';
  if (attributes & platform::kAttrArchive) text[3] = 'A';
  return text;
}

std::string TimeText(uint32_t seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm utc{};
  gmtime_r(&time, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  return text;
}

// Long texts are written for a dialog, with "\r\n" line ends.
std::string TerminalText(std::string text) {
  std::string out;
  for (char c : text) {
    if (c != '\r') out.push_back(c);
  }
  return out;
}

// Prints what failed: the error class's short text (and the file it concerns),
// and with detail its long text too. Failures outside the error family print
// their own message.
void PrintError(const std::string& action, const std::string& subject, const std::exception_ptr& error,
                bool detail) {
  std::string message;
  std::string longText;
  try {
    std::rethrow_exception(error);
  } catch (const ArchiveWriterError& e) {
    message = e.what();
  } catch (const std::length_error& e) {
    message = e.what();
  } catch (const std::exception& e) {
    const std::unique_ptr<CXException> translated = TranslateException(e);
    const ErrorMessages texts = translated->GetMessages();
    message = texts.shortText;
    if (const auto* file = dynamic_cast<const CXFileException*>(translated.get()); file && !file->FileName().empty()) {
      message += " (" + file->FileName() + ")";
    }
    longText = TerminalText(texts.longText);
  } catch (...) {
    message = "unknown failure";
  }
  std::fprintf(stderr, "qmtool arc %s: %s: %s\n", action.c_str(), subject.c_str(), message.c_str());
  if (detail && !longText.empty()) std::fprintf(stderr, "%s\n", longText.c_str());
}

// Ticks the progress line with the share of the current entry's data read.
void FollowEntry(ToolReader& reader, ProgressLine& progress, const char* action, const CArchiveEntry& entry) {
  const uint64_t start = reader.BytesRead();
  const uint64_t size = entry.Header().CompressedSize();
  const std::string name = ToUtf8(entry.GetFileName());
  reader.onSegment = [&reader, &progress, action, start, size, name] {
    progress.Show([&] { return std::string(action) + " " + name + "  " + Percent(reader.BytesRead() - start, size); });
  };
}

int List(const std::string& archive) {
  ToolReader reader;
  try {
    reader.OpenArchive(WindowsPath(archive));
  } catch (...) {
    PrintError("list", archive, std::current_exception(), false);
    return kExitFailure;
  }
  std::printf("%-24s %10s %10s %7s %-6s %6s %-4s %-19s %-8s %-4s %3s\n", "Name", "Size", "Packed", "Ratio",
              "Method", "Dest", "Attr", "Time (UTC)", "Checksum", "Cont", "Vol");
  auto entry = reader.CreateEntry();
  uint64_t files = 0, size = 0, packed = 0;
  try {
    while (true) {
      const int volume = reader.VolumeIndex() + 1;
      if (!reader.NextEntry(*entry, false)) break;
      const ArchiveEntryHeader& header = entry->Header();
      std::printf("%-24s %10" PRIu32 " %10" PRIu32 " %7s %-6s %6d %-4s %-19s %08" PRIX32 " %-4s %3d\n",
                  ToUtf8(header.Name()).c_str(), header.UncompressedSize(), header.CompressedSize(),
                  Percent(header.CompressedSize(), header.UncompressedSize()).c_str(),
                  MethodName(header.Method()).c_str(), header.DestinationId(),
                  AttributeText(header.Attributes()).c_str(), TimeText(header.FileTime()).c_str(), header.Checksum(),
                  header.Continued() != 0 ? "yes" : "-", volume);
      ++files;
      size += header.UncompressedSize();
      packed += header.CompressedSize();
      reader.SkipEntryData(*entry);
    }
  } catch (...) {
    std::fflush(stdout);
    PrintError("list", archive, std::current_exception(), false);
    return kExitFailure;
  }
  std::printf("%" PRIu64 " file%s, %" PRIu64 " bytes, packed %" PRIu64 " (%s), %d volume%s\n", files,
              files == 1 ? "" : "s", size, packed, Percent(packed, size).c_str(), reader.VolumeIndex() + 1,
              reader.VolumeIndex() == 0 ? "" : "s");
  return kExitOk;
}

int Test(const std::string& archive) {
  ToolReader reader;
  ProgressLine progress;
  try {
    reader.OpenArchive(WindowsPath(archive));
  } catch (...) {
    PrintError("test", archive, std::current_exception(), true);
    return kExitFailure;
  }
  auto entry = reader.CreateEntry();
  uint64_t tested = 0;
  while (true) {
    try {
      if (!reader.NextEntry(*entry, false)) break;
    } catch (...) {
      progress.Clear();
      PrintError("test", archive + " after " + std::to_string(tested) + " entries", std::current_exception(), true);
      return kExitFailure;
    }
    try {
      FollowEntry(reader, progress, "test", *entry);
      DiscardSink sink;
      reader.ExtractTo(*entry, sink);
    } catch (...) {
      progress.Clear();
      PrintError("test", ToUtf8(entry->Header().Name()), std::current_exception(), true);
      return kExitFailure;
    }
    ++tested;
  }
  progress.Clear();
  std::printf("%" PRIu64 " entr%s tested: no errors\n", tested, tested == 1 ? "y" : "ies");
  return kExitOk;
}

// A name the host can hold as one file in the target directory.
bool UsableFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
  });
}

// Removes an output that failed its check, read-only or not.
void RemoveOutput(const std::string& path) {
  if (!platform::FileExists(path)) return;
  platform::SetFileAttributes(path, 0);
  platform::DeleteFile(path);
}

int Extract(const std::string& archive, const std::string& directory) {
  std::error_code ec;
  fs::create_directories(directory, ec);
  if (!fs::is_directory(directory)) {
    std::fprintf(stderr, "qmtool arc extract: %s is not a directory\n", directory.c_str());
    return kExitFailure;
  }
  std::string target = WindowsPath(directory);
  if (target.empty() || target.back() != '\\') target += '\\';

  ToolReader reader;
  ProgressLine progress;
  try {
    reader.OpenArchive(WindowsPath(archive));
  } catch (...) {
    PrintError("extract", archive, std::current_exception(), false);
    return kExitFailure;
  }
  auto entry = reader.CreateEntry();
  uint64_t extracted = 0;
  int refused = 0;
  while (true) {
    try {
      if (!reader.NextEntry(*entry, false)) break;
    } catch (...) {
      progress.Clear();
      PrintError("extract", archive, std::current_exception(), false);
      return kExitFailure;
    }
    const std::string name = entry->GetFileName();
    const std::string output = target + name;
    try {
      if (!UsableFileName(name)) {
        // Its data is read past all the same, so the entries after it are found.
        reader.SkipEntryData(*entry);
        progress.Clear();
        std::fprintf(stderr, "qmtool arc extract: %s: not a usable file name, skipped\n",
                     Quoted(entry->Header().Name()).c_str());
        ++refused;
        continue;
      }
      const uint32_t existing = platform::GetFileAttributes(output);
      if (existing != platform::kInvalidAttributes && (existing & platform::kAttrReadOnly) != 0) {
        platform::SetFileAttributes(output, existing & ~platform::kAttrReadOnly);
      }
      entry->SetOutputFileName(output);
      FollowEntry(reader, progress, "extract", *entry);
      reader.Extract(*entry);
    } catch (...) {
      progress.Clear();
      if (!entry->OutputFileName().empty()) RemoveOutput(entry->OutputFileName());
      PrintError("extract", ToUtf8(name), std::current_exception(), false);
      return kExitFailure;
    }
    entry->SetOutputFileName({});
    progress.Clear();
    std::printf("%s\n", ToUtf8(name).c_str());
    ++extracted;
  }
  progress.Clear();
  std::printf("%" PRIu64 " file%s extracted to %s\n", extracted, extracted == 1 ? "" : "s", directory.c_str());
  return refused == 0 ? kExitOk : kExitFailure;
}

uint64_t ParseCount(const std::string& option, const std::string& text) {
  if (text.empty() || text.size() > 19 || !std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
      })) {
    throw UsageError(option + " wants a decimal number of bytes, not '" + text + "'");
  }
  return std::stoull(text);
}

int16_t ParseDestinationId(const std::string& text) {
  std::size_t used = 0;
  long value = 0;
  try {
    value = std::stol(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || text.empty() || value < INT16_MIN || value > INT16_MAX) {
    throw UsageError("--dest-id wants a number from -32768 to 32767, not '" + text + "'");
  }
  return static_cast<int16_t>(value);
}

// The files to archive: files as given, directories as the regular files
// directly in them, sorted by name. The archive itself is never one of them.
std::vector<fs::path> CollectFiles(const std::vector<std::string>& arguments, const fs::path& archive) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const std::string& argument : arguments) {
    if (!fs::is_directory(argument, ec)) {
      files.emplace_back(argument);
      continue;
    }
    std::vector<fs::path> inside;
    for (const fs::directory_entry& item : fs::directory_iterator(argument, ec)) {
      std::error_code itemError;
      if (!item.is_regular_file(itemError)) continue;
      if (fs::equivalent(item.path(), archive, itemError)) continue;
      inside.push_back(item.path());
    }
    std::sort(inside.begin(), inside.end());
    files.insert(files.end(), inside.begin(), inside.end());
  }
  return files;
}

int Create(Arguments& args) {
  ArchiveWriterOptions options;
  if (auto method = args.TakeOption("--method")) {
    if (*method == "stored") {
      options.method = kMethodStored;
    } else if (*method == "lh5") {
      options.method = kMethodLh5;
    } else {
      throw UsageError("--method is stored or lh5, not '" + *method + "'");
    }
  }
  if (auto size = args.TakeOption("--volume-size")) {
    options.volumeSize = ParseCount("--volume-size", *size);
    if (options.volumeSize < CArchiveWriter::kMinimumVolumeSize) {
      throw UsageError("--volume-size must be at least " + std::to_string(CArchiveWriter::kMinimumVolumeSize));
    }
  }
  int16_t destinationId = 0;
  if (auto id = args.TakeOption("--dest-id")) destinationId = ParseDestinationId(*id);
  const std::optional<std::string> archiveArgument = args.TakePositional();
  if (!archiveArgument) throw UsageError("create needs an archive name");
  const std::string& archive = *archiveArgument;
  std::vector<std::string> arguments;
  while (auto word = args.TakePositional()) arguments.push_back(*word);
  if (arguments.empty()) throw UsageError("create needs the files to archive");

  const std::vector<fs::path> files = CollectFiles(arguments, fs::absolute(archive));
  uint64_t total = 0;
  for (const fs::path& file : files) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    if (!ec) total += size;
  }

  ProgressLine progress;
  std::unique_ptr<CArchiveWriter> writer;
  std::string current;
  try {
    writer = std::make_unique<CArchiveWriter>(WindowsPath(archive), options);
    writer->SetProgress([&](uint64_t done) {
      progress.Show([&] { return "create " + current + "  " + Percent(done, total); });
    });
    for (const fs::path& file : files) {
      current = file.filename().string();
      ArchiveMember member(WindowsPath(file.string()));
      member.destinationId = destinationId;
      writer->Add(member);
    }
    writer->Finish();
  } catch (...) {
    progress.Clear();
    if (writer) writer->Discard();
    PrintError("create", current.empty() ? archive : current, std::current_exception(), false);
    return kExitFailure;
  }
  progress.Clear();

  uint64_t size = 0, packed = 0;
  for (const ArchiveEntryHeader& header : writer->Headers()) {
    size += header.UncompressedSize();
    packed += header.CompressedSize();
  }
  for (const std::string& volume : writer->VolumePaths()) {
    platform::FileStatus status;
    const uint64_t bytes = platform::GetFileStatus(volume, status) ? status.size : 0;
    std::printf("%s  %" PRIu64 " bytes\n", volume.c_str(), bytes);
  }
  const std::size_t volumes = writer->VolumePaths().size();
  std::printf("%zu file%s, %" PRIu64 " bytes, packed %" PRIu64 " (%s), %zu volume%s\n", files.size(),
              files.size() == 1 ? "" : "s", size, packed, Percent(packed, size).c_str(), volumes,
              volumes == 1 ? "" : "s");
  return kExitOk;
}

}  // namespace

int RunArcVerb(Arguments& args) {
  if (args.TakeFlag("--help") || args.TakeFlag("-h")) {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (args.TakeFlag("--version")) {
    PrintVersion("qmtool arc");
    return kExitOk;
  }
  const std::optional<std::string> action = args.TakePositional();
  if (!action) throw UsageError("arc needs an action: list, test, extract or create");
  if (*action != "list" && *action != "test" && *action != "extract" && *action != "create") {
    throw UsageError("unknown action '" + *action + "' (list, test, extract or create)");
  }
  if (*action == "create") return Create(args);
  std::optional<std::string> directory;
  if (*action == "extract") directory = args.TakeOption("--to");
  const std::optional<std::string> archive = args.TakePositional();
  if (!archive) throw UsageError(*action + " needs an archive");
  args.ExpectEnd();
  if (*action == "list") return List(*archive);
  if (*action == "test") return Test(*archive);
  return Extract(*archive, directory.value_or(fs::current_path().string()));
}

}  // namespace qmtool
