#pragma once
// Runs that reach the setup type page with tables whose sizes are known, on a
// machine whose drives have staged free space.
//
// The groups, with their minimum/typical/custom flags and the size of their one
// source:
//   Main     1/1/1  3,072,000  install directory
//   program  1/1/1  1,024,000  install directory
//   Fonts    0/1/1  2,048,000  under the Windows directory
//   art600   0/0/1  5,120,000  install directory
//   premade  0/0/0    256,000  install directory
//   ustpls   0/0/0    512,000,  Inttpls 0/0/0  768,000
// Totals (US): Minimum 4,608,000 (install part 4,096,000); Typical 6,656,000
// (4,096,000 and 2,048,000 under Windows). The template group counts in the
// whole install only.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/setup_app.h"
#include "platform/machine/machine.h"
#include "platform/ui/dialog.h"
#include "tests/common/setup_app_fixture.h"
#include "wizard/page_chain.h"
#include "wizard/wizard_page.h"

namespace qmtest {

inline constexpr std::int64_t kMinimumTotal = 4608000;
inline constexpr std::int64_t kTypicalTotal = 6656000;
inline constexpr std::int64_t kTypicalInstallPart = 4096000;
inline constexpr std::int64_t kTypicalWindowsPart = 2048000;
// Every offered group ticked: program with Main, premade and the US
// templates, Fonts and art600.
inline constexpr std::int64_t kEverythingTicked = 1024000 + 3072000 + 256000 + 512000 + 2048000 + 5120000;
inline constexpr std::uint64_t kPlenty = 4000000000ULL;

inline std::string SpaceTablesText(const std::string& installDirectory) {
  return "[destinations]\n0=QMW2||" + installDirectory + "\n1=FONTS|-2|\n"
         "[groups]\n"
         "Main=Main program|The program itself|1|1|1\n"
         "program=Program files|The label designer|1|1|1\n"
         "Fonts=Fonts|TrueType fonts|0|1|1\n"
         "art600=Clip art 600|600 pictures|0|0|1\n"
         "premade=Premade labels|Ready labels|0|0|0\n"
         "ustpls=US templates|Templates|0|0|0\n"
         "Inttpls=International templates|Templates|0|0|0\n"
         "[Main]\nQM.EXE=3072000|0|1|1|0|\n"
         "[program]\nQM.HLP=1024000|0|1|1|0|\n"
         "[Fonts]\nA.TTF=2048000|0|1|1|1|\n"
         "[art600]\nART.QMA=5120000|0|1|1|0|\n"
         "[premade]\nPRE.QML=256000|0|1|1|0|\n"
         "[ustpls]\nUS.QMT=512000|0|1|1|0|\n"
         "[Inttpls]\nINT.QMT=768000|0|1|1|0|\n"
         "[diskettes]\n1=Setup Disk 1\n";
}

class SpacePagesTest : public SetupRunTest {
 protected:
  using Drive = platform::DriveMapping;

  SpacePagesTest() { WriteMedia("SETUP.ini", SpaceTablesText("C:\\QMW2")); }

  static Drive Fixed(char letter, std::uint64_t freeBytes) {
    return {letter, platform::DriveType::Fixed, std::string("drive_") + char(letter - 'A' + 'a'), freeBytes, {}};
  }
  static Drive Removable(char letter, std::uint64_t totalBytes, std::uint64_t freeBytes) {
    return {letter, platform::DriveType::Removable, std::string("drive_") + char(letter - 'A' + 'a'), freeBytes,
            totalBytes};
  }

  // The machine anew: drive C with cFree bytes free, the other drives as given.
  void StageMachine(std::uint64_t cFree, const std::vector<Drive>& others = {},
                    const std::string& country = "United States") {
    platform::MachineConfig config = platform::MachineConfig::Defaults(platform::PlatformKind::Win95);
    config.country = country;
    for (Drive& drive : config.drives) {
      if (drive.letter == 'C') drive.freeBytes = cFree;
    }
    config.drives.insert(config.drives.end(), others.begin(), others.end());
    platform::Machine::Create(machine_.Root(), config);
    platform::UseMachine(machine_.Root());
  }

  // Next on the pages before the setup type page.
  void ExpectNextToSetupType() {
    for (int id : {102, 128, 104}) Expect(id, [](WizardPage& page) { page.Click(page_control::kNext); });
  }

  // Cancel confirmed, then OK on page 116.
  void ExpectCancelled() {
    ExpectModal([](platform::ui::Dialog& box) { box.Click(platform::ui::kIdYes); });
    Expect(116, [](WizardPage& page) { page.Click(page_control::kNext); });
  }

  // Escape on pageId after check, and the run ends cancelled.
  void ExpectCancelOn(int pageId, PageStep check = {}) {
    Expect(pageId, [check](WizardPage& page) {
      if (check) check(page);
      PressEscape(page);
    });
    ExpectCancelled();
  }

  // The names of the groups to be installed, in table order.
  std::vector<std::string> InstalledGroups() {
    std::vector<std::string> names;
    for (const auto& group : App().Groups().Groups()) {
      if (group->IsInstalled()) names.push_back(group->name);
    }
    return names;
  }
};

}  // namespace qmtest
