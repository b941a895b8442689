#include "wizard/pages/summary_page.h"

#include "app/setup_app.h"
#include "install/tables/destination_table.h"
#include "support/path.h"
#include "wizard/pages/page_message.h"

namespace {

const char* SetupTypeLine(SetupType type) {
  switch (type) {
    case SetupType::Minimum:
      return "\tMINIMAL\r\n";
    case SetupType::Typical:
      return "\tTYPICAL\r\n";
    default:
      return "\tCUSTOM\r\n";
  }
}

std::string InstallDirectory() {
  return SetupApp::Current().Destinations().PathOf(CDestinationTable::kInstallDirectory);
}

}  // namespace

std::string SummaryText(SetupType type, const CGroupTable& groups, const std::string& installDirectory,
                        const std::string& programFolder) {
  std::string text = "Setup Type:\r\n ";
  text += SetupTypeLine(type);
  for (const char* name : {group_name::kProgram, group_name::kFonts, group_name::kArt600, group_name::kArt2000}) {
    const CGroup* group = groups.Find(name);
    if (group == nullptr || !group->IsInstalled()) continue;
    text += "\t\t" + group->description + "\r\n";
  }
  text += "\r\nTargetDirectory\r\n\t" + installDirectory + "\r\n\r\n";
  text += "Program Folder\r\n\t" + programFolder;
  return text;
}

bool SummaryPage::ActivatePage() {
  SetupApp& app = SetupApp::Current();
  SetItemText(kSettings, SummaryText(app.ChosenSetupType(), app.Groups(), InstallDirectory(), app.ProgramFolder()));
  return PicturePage::ActivatePage();
}

void SummaryPage::NextPage() {
  CPath directory;
  directory.SetDriveAndDirectory(InstallDirectory());
  if (!directory.CreateDirectory(true)) {
    ShowPageMessage(*this, page_message::kNoSpaceOnDrive);
    return;
  }
  PicturePage::NextPage();
}
