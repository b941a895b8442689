#include "tools/qmtool/media_builder.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <system_error>

#include "install/archive/archive_writer.h"
#include "platform/fs/path_map.h"
#include "tools/qmtool/removal_files.h"

namespace qmtool {
namespace {

namespace fs = std::filesystem;

constexpr int kLastDiskette = 24;  // the diskette table's last label
constexpr const char* kProfileName = "cv_setup.ini";
constexpr const char* kLicenceName = "agree.txt";
constexpr std::uint64_t kSmallestVolume = 4096;  // less room than this: start the archive on the next disk

// One line of a group's section in the install tables file.
struct SourceLine {
  std::string group;
  std::string name;
  std::uint64_t size = 0;
  int kind = 0;
  std::size_t count = 0;
  int disk = 0;
  bool late = false;  // written as a negative disk
  std::int16_t destinationId = 0;
};

std::string DiskName(int disk) {
  char name[32];
  std::snprintf(name, sizeof name, "DISK%02d", disk);
  return name;
}

std::string TagName(int disk) {
  char name[32];
  std::snprintf(name, sizeof name, "diskette.%03d", disk);
  return name;
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

class MediaBuilder {
 public:
  MediaBuilder(const MediaManifest& manifest, fs::path out, const MediaBuildOptions& options)
      : manifest_(manifest), out_(std::move(out)), options_(options) {
    // The tree's setup program dates every file the builder writes itself.
    fixedTime_ = fs::last_write_time(manifest_.tree / manifest_.setup);
  }

  MediaBuildResult Build() {
    PrepareRemovalFiles();
    CollectSources();
    const std::string tablesName = InstallTablesName(manifest_.setup);
    // Disk 1 starts with the setup's own files and room for the tables file,
    // measured with the widest disk number each source line can get.
    Disk(1);
    Claim(1, tablesName, manifest_.diskSizeLine);
    Copy(manifest_.tree / manifest_.setup, manifest_.setup.filename().string(), manifest_.diskSizeLine);
    Copy(manifest_.tree / manifest_.profile, kProfileName, manifest_.diskSizeLine);
    Copy(manifest_.tree / manifest_.licence, kLicenceName, manifest_.diskSizeLine);
    for (SourceLine& source : sources_) source.disk = kLastDiskette;
    used_ += TablesText(kLastDiskette).size();
    if (used_ > manifest_.diskSize) {
      throw ManifestError(manifest_.diskSizeLine, "the setup's files and tables do not fit on disk 1");
    }

    std::size_t next = 0;
    for (const MediaArchive& archive : manifest_.archives) PlaceArchive(archive, sources_[next++]);
    for (const MediaFile& file : manifest_.plainFiles) PlacePlainFile(file, sources_[next++]);

    const fs::path tables = Disk(1) / tablesName;
    WriteText(tables, TablesText(disks_));
    fs::last_write_time(tables, fixedTime_);
    report_.push_back({1, tablesName, fs::file_size(tables)});
    std::stable_sort(report_.begin(), report_.end(),
              [](const MediaFileReport& a, const MediaFileReport& b) { return a.disk < b.disk; });
    fs::remove_all(RemovalWork());
    return {report_, warnings_};
  }

 private:
  fs::path RemovalWork() const { return out_ / ".work-removal"; }

  // Where a member's bytes come from: the tree, or for a removal file the
  // version written into the work directory.
  fs::path SourcePath(const MediaFile& file) const {
    const auto replaced = replacements_.find(file.path.filename().string());
    return replaced != replacements_.end() ? replaced->second : manifest_.tree / file.path;
  }

  void PrepareRemovalFiles() {
    std::vector<const MediaFile*> members;
    for (const MediaArchive& archive : manifest_.archives) {
      for (const MediaFile& file : archive.files) members.push_back(&file);
    }
    for (const MediaFile& file : manifest_.plainFiles) members.push_back(&file);
    for (const MediaFile* file : members) {
      const std::string name = file->path.filename().string();
      const RemovalFile kind = RemovalFileOf(name);
      if (kind == RemovalFile::None || replacements_.contains(name)) continue;
      fs::create_directories(RemovalWork());
      const fs::path replacement = RemovalWork() / name;
      if (kind == RemovalFile::RemovalProgram) {
        std::error_code ec;
        if (options_.removalProgram.empty() || !fs::is_regular_file(options_.removalProgram, ec)) {
          throw std::runtime_error(file->path.generic_string() + " (line " + std::to_string(file->line) +
                                   ") needs the built removal program, not found at '" +
                                   options_.removalProgram.string() + "' (build the unsetup target, or give --unsetup PATH)");
        }
        fs::copy_file(options_.removalProgram, replacement);
      } else {
        WriteText(replacement, FinishScriptText(manifest_.setup.filename().string()));
      }
      fs::last_write_time(replacement, fs::last_write_time(manifest_.tree / file->path));
      replacements_[name] = replacement;
    }
  }

  std::string Label(int disk) const {
    for (const ManifestLine& line : manifest_.diskettes) {
      if (line.key == std::to_string(disk)) return line.value;
    }
    return manifest_.title + " Disk " + std::to_string(disk);
  }

  std::string TagText(int disk) const { return Label(disk) + "\r\n"; }

  // The directory of a disk; the first call makes it the current disk, with
  // its tag file as the first thing on it.
  fs::path Disk(int disk) {
    const fs::path directory = out_ / DiskName(disk);
    if (disk > disks_) {
      fs::create_directory(directory);
      Claim(disk, TagName(disk), 0);
      const fs::path tag = directory / TagName(disk);
      WriteText(tag, TagText(disk));
      fs::last_write_time(tag, fixedTime_);
      report_.push_back({disk, TagName(disk), TagText(disk).size()});
      disks_ = disk;
      used_ = TagText(disk).size();
    }
    return directory;
  }

  std::uint64_t Free() const { return manifest_.diskSize > used_ ? manifest_.diskSize - used_ : 0; }

  void NextDisk(int line) {
    if (disks_ == kLastDiskette) {
      throw ManifestError(line, "the product needs more than " + std::to_string(kLastDiskette) + " diskettes");
    }
    Disk(disks_ + 1);
  }

  fs::path Copy(const fs::path& from, const std::string& name, int line) {
    const fs::path to = Disk(disks_) / name;
    Claim(disks_, name, line);
    fs::copy_file(from, to);
    fs::last_write_time(to, fs::last_write_time(from));
    const std::uint64_t bytes = fs::file_size(to);
    used_ += bytes;
    if (used_ > manifest_.diskSize) throw ManifestError(line, name + " overflows disk " + std::to_string(disks_));
    report_.push_back({disks_, name, bytes});
    return to;
  }

  // Names on a diskette are told apart without regard to case, as Windows does.
  void Claim(int disk, const std::string& name, int line) {
    std::string folded = name;
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (!names_[disk].insert(folded).second) {
      throw ManifestError(line, name + " is already on disk " + std::to_string(disk));
    }
  }

  void CollectSources() {
    std::uint64_t total = 0;
    for (const MediaArchive& archive : manifest_.archives) {
      SourceLine source{archive.group, archive.name, 0, 1, archive.files.size(), 0, archive.late, 0};
      for (const MediaFile& file : archive.files) source.size += fs::file_size(SourcePath(file));
      total += source.size;
      sources_.push_back(source);
    }
    for (const MediaFile& file : manifest_.plainFiles) {
      SourceLine source{file.group, file.path.filename().string(), fs::file_size(SourcePath(file)),
                        0, 1, 0, file.late, file.destinationId};
      total += source.size;
      sources_.push_back(source);
    }
    // The setup adds and compares sizes as signed 32-bit numbers.
    if (total > INT32_MAX) throw ManifestError(manifest_.diskSizeLine, "the product is larger than 2147483647 bytes");
  }

  void PlacePlainFile(const MediaFile& file, SourceLine& source) {
    const std::uint64_t size = fs::file_size(SourcePath(file));
    if (size > Free()) NextDisk(file.line);
    if (size > Free()) throw ManifestError(file.line, file.path.generic_string() + " does not fit on a diskette");
    source.disk = disks_;
    Copy(SourcePath(file), source.name, file.line);
  }

  // An archive written into a work directory under out_, its volumes still there.
  struct WrittenArchive {
    fs::path directory;
    std::vector<fs::path> volumes;
    std::uint64_t lastVolumeBytes = 0;
  };

  WrittenArchive WriteArchive(const MediaArchive& archive, std::uint64_t volumeSize, const std::string& workName) {
    WrittenArchive written{out_ / workName, {}, 0};
    fs::create_directories(written.directory);
    ArchiveWriterOptions options;
    options.method = archive.compressed ? kMethodLh5 : kMethodStored;
    options.volumeSize = volumeSize;
    CArchiveWriter writer(platform::MapToWindows(written.directory / archive.name), options);
    try {
      for (const MediaFile& file : archive.files) {
        ArchiveMember member(platform::MapToWindows(SourcePath(file)));
        member.destinationId = file.destinationId;
        writer.Add(member);
      }
      writer.Finish();
    } catch (const ArchiveWriterError& error) {
      writer.Discard();
      // The volumes are written in a work directory the user never sees.
      std::string message = error.what();
      const std::string workPrefix = platform::MapToWindows(written.directory) + "\\";
      for (std::size_t at; (at = message.find(workPrefix)) != std::string::npos;) message.erase(at, workPrefix.size());
      throw ManifestError(archive.line, "archive " + archive.name + ": " + message);
    } catch (...) {
      writer.Discard();
      throw;
    }
    for (const std::string& path : writer.VolumePaths()) {
      fs::path volume;
      if (!platform::MapToHost(path, volume)) throw std::runtime_error("lost volume " + path);
      written.volumes.push_back(volume);
    }
    written.lastVolumeBytes = fs::file_size(written.volumes.back());
    return written;
  }

  void PlaceArchive(const MediaArchive& archive, SourceLine& source) {
    if (Free() < kSmallestVolume) NextDisk(archive.line);
    // Later volumes go to fresh disks, whose tag files may be longer than this one's.
    std::uint64_t longestTag = 0;
    for (int disk = 1; disk <= kLastDiskette; ++disk) {
      longestTag = std::max<std::uint64_t>(longestTag, TagText(disk).size());
    }
    const std::uint64_t freshRoom = manifest_.diskSize - longestTag;
    const std::uint64_t roomHere = std::min(Free(), freshRoom);

    // Every volume is as large as the room left here, so the later disks keep
    // that much unused too; starting on a fresh disk may then need fewer disks.
    std::optional<WrittenArchive> chosen;
    try {
      chosen = WriteArchive(archive, roomHere, ".work-here");
    } catch (const ManifestError&) {
      if (roomHere == freshRoom) throw;
    }
    if (roomHere < freshRoom && (!chosen || chosen->volumes.size() > 1)) {
      WrittenArchive fresh = WriteArchive(archive, freshRoom, ".work-fresh");
      const bool fewerDisks = !chosen || fresh.volumes.size() + 1 < chosen->volumes.size() ||
                              (fresh.volumes.size() + 1 == chosen->volumes.size() &&
                               fresh.lastVolumeBytes < chosen->lastVolumeBytes);
      if (fewerDisks) {
        if (chosen) fs::remove_all(chosen->directory);
        chosen = std::move(fresh);
        NextDisk(archive.line);
      } else {
        fs::remove_all(fresh.directory);
      }
    }
    source.disk = disks_;
    for (std::size_t i = 0; i < chosen->volumes.size(); ++i) {
      if (i > 0) NextDisk(archive.line);
      const fs::path& volume = chosen->volumes[i];
      fs::last_write_time(Copy(volume, volume.filename().string(), archive.line), fixedTime_);
    }
    fs::remove_all(chosen->directory);
  }

  std::string TablesText(int lastDisk) const {
    std::string text;
    const auto section = [&text](const std::string& name) {
      if (!text.empty()) text += "\r\n";
      text += "[" + name + "]\r\n";
    };
    const auto line = [&text](const std::string& key, const std::string& value) {
      text += key + "=" + value + "\r\n";
    };
    section("destinations");
    for (const ManifestLine& entry : manifest_.destinations) line(entry.key, entry.value);
    section("groups");
    for (const ManifestLine& entry : manifest_.groups) line(entry.key, entry.value);
    section("targets");
    for (const ManifestLine& entry : manifest_.targets) line(entry.key, entry.value);
    section("diskettes");
    for (int disk = 1; disk <= lastDisk; ++disk) line(std::to_string(disk), Label(disk));
    for (const ManifestLine& group : manifest_.groups) {
      bool any = false;
      for (const SourceLine& source : sources_) {
        if (source.group != group.key) continue;
        if (!any) section(group.key);
        any = true;
        line(source.name, std::to_string(source.size) + "|" + std::to_string(source.kind) + "|" +
                              std::to_string(source.count) + "|" + std::to_string(source.late ? -source.disk : source.disk) + "|" +
                              std::to_string(source.destinationId) + "|");
      }
    }
    return text;
  }

  const MediaManifest& manifest_;
  fs::path out_;
  const MediaBuildOptions& options_;
  std::map<std::string, fs::path> replacements_;  // removal files by member file name
  fs::file_time_type fixedTime_;
  std::vector<SourceLine> sources_;
  std::vector<MediaFileReport> report_;
  std::vector<std::string> warnings_;
  std::map<int, std::set<std::string>> names_;  // folded names on each disk
  int disks_ = 0;
  std::uint64_t used_ = 0;
};

}  // namespace

std::string InstallTablesName(const fs::path& setupProgram) { return setupProgram.stem().string() + ".ini"; }

MediaBuildResult BuildMedia(const MediaManifest& manifest, const fs::path& out, const MediaBuildOptions& options) {
  return MediaBuilder(manifest, out, options).Build();
}

}  // namespace qmtool
