// The page table: which page object stands for each page id, the page Next
// leads to, and the fixed ways back.

#include <memory>

#include "app/setup_app.h"
#include "sequence/copy_page.h"
#include "wizard/page_chain.h"
#include "wizard/page_ids.h"
#include "wizard/pages/closing_page.h"
#include "wizard/pages/custom_options_page.h"
#include "wizard/pages/destination_page.h"
#include "wizard/pages/install_conditions_page.h"
#include "wizard/pages/licence_page.h"
#include "wizard/pages/out_of_disk_space_page.h"
#include "wizard/pages/picture_page.h"
#include "wizard/pages/program_folder_page.h"
#include "wizard/pages/progress_page.h"
#include "wizard/pages/reading_page.h"
#include "wizard/pages/removal_page.h"
#include "wizard/pages/setup_type_page.h"
#include "wizard/pages/splash_page.h"
#include "wizard/pages/summary_page.h"

namespace {

namespace page = page_id;

constexpr int kBackToPrevious = PicturePage::kBackToPrevious;

}  // namespace

std::unique_ptr<WizardPage> CreatePage(int id) {
  const bool uninstall = SetupApp::Current().UninstallMode();
  switch (id) {
    case page::kSplash:
      return std::make_unique<SplashPage>(page::kWelcome);
    case page::kWelcome:
      return std::make_unique<PicturePage>(id, page::kLicence, kBackToPrevious);
    case page::kLicence:
      return std::make_unique<LicencePage>(uninstall ? page::kRemoving : page::kDestination);
    case page::kDestination:
      return std::make_unique<DestinationPage>(page::kSetupType);
    case page::kSetupType:
      return std::make_unique<SetupTypePage>(page::kProgramFolder);
    case page::kCustomOptions:
      return std::make_unique<CustomOptionsPage>(page::kProgramFolder);
    case page::kOutOfDiskSpace:
      return std::make_unique<OutOfDiskSpacePage>(page::kProgramFolder);
    case page::kProgramFolder:
      return std::make_unique<ProgramFolderPage>(page::kStartCopying);
    case page::kStartCopying:
      return std::make_unique<SummaryPage>(page::kCopying);
    case page::kCopying:
      return std::make_unique<CopyPage>(page::kFinished);
    case page::kFinished:
      return std::make_unique<ClosingPage>(id);
    case page::kNotInstalled:
      return std::make_unique<ClosingPage>(id);
    case page::kReading:
      return std::make_unique<ReadingPage>(uninstall ? page::kRemoving : page::kInstallConditions);
    case page::kInstallConditions:
      return std::make_unique<InstallConditionsPage>(page::kDestination);
    case page::kRemoveConfirm:
      return std::make_unique<PicturePage>(id, page::kReading, kBackToPrevious);
    case page::kRemoving:
      return std::make_unique<RemovalPage>(page::kRemoved);
    case page::kRemoved:
      return std::make_unique<ClosingPage>(id);
    default:
      return nullptr;
  }
}
