#pragma once
// A throwaway machine with an installation medium on its drive C, C:\MEDIA:
// the setup program as SETUP, its tables file SETUP.ini, the profile
// cv_setup.ini and the licence agree.txt, as a product's first diskette holds
// them, and the two sources of its tables: QM.EXE, a plain file, and A.TTF, an
// archive holding FONT1.TTF.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "install/archive/archive_writer.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"

namespace qmtest {

// Destinations, two groups, one plain source each.
inline constexpr const char* kSetupTables =
    "[destinations]\n0=QMW2||C:\\QMW2\n1=FONTS|-2|\n"
    "[groups]\nMain=Main program|Core|1|1|0\nFonts=Fonts|Extra|0|1|1\n"
    "[Main]\nQM.EXE=100000|0|1|1|0|\n"
    "[Fonts]\nA.TTF=20000|1|1|1|0|\n";

class SetupMedia {
 public:
  SetupMedia() {
    std::filesystem::create_directories(Directory());
    WriteFile("SETUP", "the setup program\n");  // CopyProgram puts the real one here
    WriteFile("SETUP.ini", kSetupTables);
    WriteFile("cv_setup.ini", "[interface]\nWelcomeTitle=Welcome\n");
    WriteFile("agree.txt", "You agree.\r\n");
    WriteFile("QM.EXE", kProgramBytes);
    WriteArchive("A.TTF", {{"FONT1.TTF", kFontBytes}});
  }

  static constexpr const char* kProgramBytes = "MZ the program\r\n";
  static constexpr const char* kFontBytes = "a font, a font, a font, a font, a font";

  // An archive in the media folder holding files of these names and contents
  // (-lh5-, destination 0).
  void WriteArchive(const std::string& name, const std::vector<std::pair<std::string, std::string>>& members) const {
    const std::filesystem::path staging = machine_.DriveC() / "STAGING";
    std::filesystem::create_directories(staging);
    CArchiveWriter writer("C:\\MEDIA\\" + name);
    for (const auto& [member, text] : members) {
      WriteFileText(staging / member, text);
      writer.Add(ArchiveMember("C:\\STAGING\\" + member));
    }
    writer.Finish();
  }

  // The host directory of C:\MEDIA.
  std::filesystem::path Directory() const { return machine_.DriveC() / "MEDIA"; }
  std::filesystem::path Program() const { return Directory() / "SETUP"; }
  const TempMachineRoot& Machine() const { return machine_; }

  void WriteFile(const std::string& name, const std::string& text) const { WriteFileText(Directory() / name, text); }
  void RemoveFile(const std::string& name) const { std::filesystem::remove(Directory() / name); }

  // Copies the built program in as SETUP.
  void CopyProgram(const std::filesystem::path& built) const {
    std::filesystem::copy_file(built, Program(), std::filesystem::copy_options::overwrite_existing);
  }

 private:
  TempMachineRoot machine_;
};

}  // namespace qmtest
