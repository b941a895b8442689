// Whole install runs through the copying page: what lands on the machine, in
// the install log and in the registry, the delay question, the diskette prompt
// and the report of a source that cannot be installed, and a Cancel while
// files are copied.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/setup_app.h"
#include "platform/machine/machine.h"
#include "platform/profile/private_profile.h"
#include "platform/registry/registry.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"
#include "profile/setup_settings.h"
#include "tests/common/setup_app_fixture.h"
#include "wizard/page_chain.h"
#include "wizard/wizard_page.h"

namespace {

namespace fs = std::filesystem;
using platform::ui::Dialog;

constexpr const char* kLogFile = "Qmw.log";
constexpr int kDelayEdit = 1036;
constexpr int kDiskettePrompt = 1026;
constexpr int kReportContextLine = 141;
constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\UNINSTALL\\Qmw2DKey";

std::string ReadIni(const std::string& section, const std::string& key, const std::string& file = kLogFile) {
  char buffer[300];
  platform::GetPrivateProfileString(section.c_str(), key.c_str(), "<none>", buffer, sizeof buffer, file);
  return buffer;
}

bool KeyExists(const std::string& path) {
  platform::RegKey key = 0;
  if (platform::RegOpenKeyEx(platform::HKEY_LOCAL_MACHINE, path, 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return false;
  }
  platform::RegCloseKey(key);
  return true;
}

std::vector<std::string> FilesUnder(const fs::path& directory) {
  std::vector<std::string> names;
  if (!fs::exists(directory)) return names;
  for (const auto& entry : fs::recursive_directory_iterator(directory)) {
    if (entry.is_regular_file()) names.push_back(fs::relative(entry.path(), directory).generic_string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void Next(WizardPage& page) { page.Click(page_control::kNext); }

class CopyPageTest : public qmtest::SetupRunTest {
 protected:
  fs::path InstallDirectory() const { return machine_.DriveC() / "QMW2"; }

  // The pages of an interactive install up to the copy, each left with Next.
  void NextToTheCopy() {
    for (int id : {102, 128, 104, 125, 106, 152}) Expect(id, Next);
  }

  // The sample tables with the program group left out of every setup type.
  void WithoutProgramGroup() {
    std::string tables = qmtest::SampleTablesText();
    const std::string line = "program=Program files|Program|1|1|1";
    tables.replace(tables.find(line), line.size(), "program=Program files|Program|0|0|0");
    WriteMedia("SETUP.ini", tables);
  }
};

TEST_F(CopyPageTest, ABatchInstallCopiesTheChosenGroupsLogsThemAndCompletesTheProduct) {
  WriteMedia("cv_setup.ini",
             "[Registry]\nkey = HKEY_LOCAL_MACHINE\\SOFTWARE\\Quill\nname = Dir\ndata = @0@\noption = 0\n");
  EXPECT_EQ(Run({"/B"}), 0);

  // Main and program, the United States templates the program implies, and the
  // setup program itself; nothing else, and no temporary copy left behind.
  EXPECT_EQ(FilesUnder(InstallDirectory()),
            (std::vector<std::string>{"FONTS/QM.HLP", "FONTS/qmw2.ini", "QM.EXE", "SETUP", "US.QMT"}));
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } lines[] = {
      {"Install Programs", "SETUP", "0|1|0"},
      {"Main", "QM.EXE", "0|1|0"},
      {"program", "QM.HLP", "1|1|0"},
      {"ustpls", "US.QMT", "0|1|0"},
      {"Inttpls", "INT.QMT", "<none>"},
      {"program", "QMW2.INS", "1|1|0"},
      {"program", "QMW2.GID", "1|1|0"},
      {"program", "QMW2.FTS", "1|1|0"},
      {"destinations", "0", "QMW2|-1|C:\\QMW2"},
      {"destinations", "1", "FONTS|0|C:\\QMW2\\FONTS"},
      {"groups", "Main", "Main program|The program itself|1|1|0"},
      {"Registry", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quill", "x"},
  };
  for (const auto& line : lines) EXPECT_EQ(ReadIni(line.section, line.key), line.value) << line.section << " " << line.key;
  EXPECT_EQ(ReadIni("QMW95", "DEFAULTJOB", "C:\\QMW2\\FONTS\\qmw2.ini"), "C:\\QMW2\\FONTS");
  // With the program installed the profile's entries register it, not the setup.
  EXPECT_FALSE(KeyExists(kUninstallKey));
}

TEST_F(CopyPageTest, WithoutTheProgramGroupOnlyTheRemovalIsRegistered) {
  WithoutProgramGroup();
  WriteMedia("cv_setup.ini",
             "[Registry]\nkey = HKEY_LOCAL_MACHINE\\SOFTWARE\\Quill\nname = Dir\ndata = @0@\noption = 0\n");
  EXPECT_EQ(Run({"/B"}), 0);
  EXPECT_EQ(FilesUnder(InstallDirectory()), (std::vector<std::string>{"QM.EXE", "SETUP"}));
  EXPECT_FALSE(KeyExists("SOFTWARE\\Quill"));
  EXPECT_TRUE(KeyExists(kUninstallKey));
  EXPECT_EQ(ReadIni("HKEY_LOCAL_MACHINE\\" + std::string(kUninstallKey), "x"), "<none>");  // not a section
  EXPECT_EQ(ReadIni("Registry", "HKEY_LOCAL_MACHINE\\" + std::string(kUninstallKey)), "x");
  EXPECT_EQ(ReadIni("program", "QMW2.INS"), "<none>");
}

TEST_F(CopyPageTest, OnWindowsNtTheProgramBringsItsNtLibraries) {
  std::string tables = qmtest::SampleTablesText();
  tables.insert(tables.find("[groups]\n") + 9, "NTDlls=NT|NT|0|0|0\n");
  WriteMedia("SETUP.ini", tables + "[NTDlls]\nQMNT.DLL=10|0|1|1|0|\n");
  WriteMedia("QMNT.DLL", "MZ\r\n");
  // Windows 95 first: the NT run then finds the files of the first in place.
  for (const auto kind : {platform::PlatformKind::Win95, platform::PlatformKind::Nt4}) {
    platform::Machine::Create(machine_.Root(), platform::MachineConfig::Defaults(kind));
    platform::UseMachine(machine_.Root());
    EXPECT_EQ(Run({"/B"}), 0);
    const bool nt = kind == platform::PlatformKind::Nt4;
    EXPECT_EQ(fs::exists(InstallDirectory() / "QMNT.DLL"), nt);
    EXPECT_EQ(ReadIni("NTDlls", "QMNT.DLL"), nt ? "0|1|0" : "<none>");
  }
}

TEST_F(CopyPageTest, TheDelayQuestionKeepsATypedValueBetweenFiveAndFiftyOrTurnsTheDelayOff) {
  const struct {
    const char* typed;  // null: "No"
    int delay;
  } cases[] = {{"3", 5}, {"20", 20}, {"75", 50}, {"ten", 5}, {nullptr, 0}};
  WriteMedia("cv_setup.ini", "[interface]\nFileCopyDelayInterval=12\n");
  for (const auto& c : cases) {
    NextToTheCopy();
    AnswerDoruror([&c](Dialog& dialog) {
      EXPECT_EQ(dialog.ItemText(kDelayEdit), "12");
      EXPECT_EQ(dialog.DefaultButton(), platform::ui::kIdCancel);
      EXPECT_EQ(dialog.FocusedItem(), platform::ui::kIdCancel);
      if (c.typed == nullptr) {
        dialog.Click(platform::ui::kIdCancel);
        return;
      }
      dialog.SetItemText(kDelayEdit, c.typed);
      dialog.Click(platform::ui::kIdOk);
    });
    int delay = -1;
    Expect(115, [&](WizardPage& page) {
      delay = App().Settings().FileCopyDelayInterval();
      Next(page);
    });
    EXPECT_EQ(Run({}), 0);
    EXPECT_EQ(delay, c.delay) << (c.typed ? c.typed : "No");
    EXPECT_EQ(dorurorAsked_, 1);
    dorurorAsked_ = 0;
  }
}

TEST_F(CopyPageTest, AMissingSourceIsAskedForThenReportedAndTheUserDecides) {
  const struct {
    int answer;
    int lastPage;
    int status;
  } cases[] = {{platform::ui::kIdOk, 115, 2}, {platform::ui::kIdCancel, 116, 1}};
  for (const auto& c : cases) {
    RemoveMedia("US.QMT");
    NextToTheCopy();
    ExpectModal([](Dialog& dialog) {
      EXPECT_EQ(dialog.TemplateId(), 113);
      EXPECT_EQ(dialog.ItemText(kDiskettePrompt), "Please insert the diskette labelled 'Setup Disk 1' in drive C:");
      dialog.Click(platform::ui::kIdOk);
    });
    ExpectModal([&c](Dialog& dialog) {
      EXPECT_EQ(dialog.ItemText(kReportContextLine), "Cannot install files from 'US.QMT':");
      dialog.Click(c.answer);
    });
    Expect(c.lastPage, Next);
    EXPECT_EQ(Run({}), c.status);
    // The sources before the missing one are in place either way.
    EXPECT_TRUE(fs::exists(InstallDirectory() / "QM.EXE"));
    modals_.clear();
  }
}

TEST_F(CopyPageTest, ACancelConfirmedDuringTheCopyEndsOnPage116AndLeavesARemovableLog) {
  WriteMedia("QM.EXE", std::string(512 * 1024, 'q'));
  watch_ = [](WizardPage& page, PagePhase phase) {
    if (page.PageId() == 108 && phase == PagePhase::Shown) {
      qmtest::Later([] { CurrentPage()->Click(page_control::kCancel); });
    }
  };
  NextToTheCopy();
  ExpectModal([](Dialog& dialog) { dialog.Click(platform::ui::kIdYes); });  // abandon setup?
  Expect(116, Next);
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(modals_.size(), 1u);
  // What was copied before the Cancel is in the log with the tables a removal
  // reads; the file being copied left nothing behind, and no product work ran.
  for (const std::string& name : FilesUnder(InstallDirectory())) {
    EXPECT_EQ(name, "SETUP") << "left behind";
  }
  EXPECT_EQ(ReadIni("destinations", "0"), "QMW2|-1|C:\\QMW2");
  EXPECT_EQ(ReadIni("groups", "Main"), "Main program|The program itself|1|1|0");
  EXPECT_EQ(ReadIni("program", "QMW2.INS"), "<none>");
  EXPECT_FALSE(fs::exists(InstallDirectory() / "FONTS" / "qmw2.ini"));
}

}  // namespace
