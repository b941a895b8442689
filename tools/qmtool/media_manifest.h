#pragma once
// The manifest of `qmtool media build`: what goes onto the installation media.
// An INI-like text, strict: every line is blank, a comment (";" or "#" first),
// a "[section]" or a "key = value"; anything unknown is an error that names
// its line. The format is described in the verb's --help (media_verb.cpp).

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace qmtool {

// A manifest that cannot be built; printed as "MANIFEST:LINE: message".
class ManifestError : public std::runtime_error {
 public:
  ManifestError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

struct ManifestLine {
  std::string key;
  std::string value;  // as the install tables file holds it
  int line = 0;
};

struct MediaFile {
  std::filesystem::path path;  // in the product tree
  std::int16_t destinationId = 0;
  std::string group;           // plain files only; archive members use the archive's
  bool late = false;           // plain files only: copied after the other sources of its disk
  int line = 0;
};

struct MediaArchive {
  std::string name;  // first volume's file name, e.g. "QM.1"
  bool compressed = true;
  std::string group;
  bool late = false;  // copied after the other sources of its first disk
  std::vector<MediaFile> files;
  int line = 0;
};

struct MediaManifest {
  std::string title;
  std::filesystem::path tree;  // absolute
  std::uint64_t diskSize = 0;
  int diskSizeLine = 0;  // where the media's own limits are reported
  std::filesystem::path setup, profile, licence;  // in the tree; licence may be empty
  std::vector<ManifestLine> diskettes, groups, destinations, targets;
  std::vector<MediaArchive> archives;
  std::vector<MediaFile> plainFiles;
};

// Reads and checks the manifest: fields, references between sections, and
// that every named file of the tree exists. Raises ManifestError.
MediaManifest ReadMediaManifest(const std::filesystem::path& manifest);

}  // namespace qmtool
