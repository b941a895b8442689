#pragma once
// Lays the product of a media manifest out on diskettes: DISK01, DISK02, ...
// under an output directory, each with its tag file "diskette.NNN"; disk 1
// also holds the setup program, the profile ("cv_setup.ini"), the licence
// ("agree.txt") and the install tables file (the setup program's name with the
// extension "ini"). Archives are split into volumes that fit their diskettes.
//
// Nothing is taken from the clock: archive entries carry their files' times and
// every file written gets a time from the tree, so equal input builds equal
// bytes. Sizes are counted in bytes, without the file system's cluster slack.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/qmtool/media_manifest.h"

namespace qmtool {

struct MediaFileReport {
  int disk = 0;
  std::string name;
  std::uint64_t bytes = 0;
};

struct MediaBuildResult {
  std::vector<MediaFileReport> files;  // by disk
  std::vector<std::string> warnings;   // media that build but may not install smoothly
};

struct MediaBuildOptions {
  // The built removal program, the bytes of every member named UNSETUP.EXE.
  std::filesystem::path removalProgram;
};

// Builds into out, an empty directory. Raises ManifestError where the manifest
// asks for something the media cannot hold (at the line concerned), other
// exceptions when reading or writing fails.
// A member named UNSETUP.EXE gets the bytes of options.removalProgram (an error
// when it is not there), one named REMOVE.PIF the removal's finishing script;
// both keep the times of the tree's placeholders.
MediaBuildResult BuildMedia(const MediaManifest& manifest, const std::filesystem::path& out,
                            const MediaBuildOptions& options = {});

// The name of the install tables file for a setup program: "SETUP.EXE" gives "SETUP.ini".
std::string InstallTablesName(const std::filesystem::path& setupProgram);

}  // namespace qmtool
