#include "app/setup_app.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/page_screenshots.h"
#include "app/profile_messages.h"
#include "app/removal_finish.h"
#include "app/run_trace.h"
#include "app/three_d_controls.h"
#include "install/errors/error_report.h"
#include "install/errors/string_table.h"
#include "install/errors/translate_exception.h"
#include "install/errors/xexception.h"
#include "install/log/ini_defaults.h"
#include "install/tables/destination_table.h"
#include "install/tables/diskette_table.h"
#include "install/tables/source_file_list.h"
#include "options/option_list.h"
#include "platform/core/crt_number.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "platform/machine/machine_run_lock.h"
#include "platform/machine/system_info.h"
#include "platform/machine/thread_message.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal_policy.h"
#include "profile/section_dispatch.h"
#include "profile/setup_settings.h"
#include "resources/setup_resources.h"
#include "support/path_parts.h"
#include "system/command_list.h"
#include "system/registry_entry_list.h"
#include "system/target_table.h"
#include "wizard/page_chain.h"
#include "wizard/page_ids.h"
#include "wizard/report_dialog.h"
#include "wizard/wizard_page.h"

namespace {

constexpr unsigned kSetupTitleString = 4;
constexpr unsigned kDefaultProgramFolderString = 6;
constexpr unsigned kAnotherRunString = 29;

constexpr int kFirstInstallPage = page_id::kSplash;
constexpr int kFirstRemovalPage = page_id::kRemoveConfirm;
// The pages that close a run that went all the way.
constexpr int kInstallCompletePage = page_id::kFinished;
constexpr int kRemovalCompletePage = page_id::kRemoved;

constexpr std::uint32_t kNtPlatformId = 2;

// What the 3D-controls library is told the program's instance is: the load
// address of a program's module, which is what an instance handle is.
constexpr std::uintptr_t kInstanceHandle = 0x00400000;

constexpr const char* kProfileName = "cv_setup.ini";
constexpr const char* kInstallLogName = "Qmw.log";

// The removal finish waits so that the program told with /T can go first.
constexpr int kRemovalWaitMs = 5000;
// Tests shorten that wait; nothing else should set it.
constexpr const char* kRemovalWaitVariable = "QMSETUP_REMOVAL_WAIT_MS";

int RemovalWaitMs() {
  const char* text = std::getenv(kRemovalWaitVariable);
  if (text == nullptr || *text == '\0') return kRemovalWaitMs;
  return std::max(0, platform::ReadDecimalLong(text));
}

// Shows every report in the "Warning" dialog and notes on the application that
// one was shown, for the exit status.
class NotingErrorReporter : public ErrorReporter {
 public:
  explicit NotingErrorReporter(SetupApp& app) : app_(app) {}

  bool ShowErrorReport(const ErrorReport& report) override {
    app_.NoteErrorReported();
    return dialog_.ShowErrorReport(report);
  }

 private:
  SetupApp& app_;
  DialogErrorReporter dialog_;
};

}  // namespace

SetupApp::SetupApp(int& argc, char** argv)
    : Application(argc, argv, SetupResources(),
                  BatchRequested(argc, argv) ? platform::ui::DisplayChoice::Offscreen
                                             : platform::ui::DisplayChoice::Environment),
      commandLine_(JoinArguments(argc, argv)),
      removalHandOver_(ReplaceThisProcess()) {}

bool SetupApp::BatchRequested(int argc, const char* const* argv) {
  return ParseCommandLine(JoinArguments(argc, argv)).contains("B");
}

bool SetupApp::CanStart(int argc, const char* const* argv) {
  if (BatchRequested(argc, argv) || platform::ui::DisplayNamed()) return true;
  const char* program = argc > 0 && argv[0] != nullptr ? argv[0] : "qmsetup";
  std::fprintf(stderr,
               "%s: no display to show the setup on (DISPLAY and WAYLAND_DISPLAY are not set); "
               "use /B for a run without one\n",
               program);
  return false;
}

SetupApp::~SetupApp() {
  // ExitInstance normally has done this; a test that stops early must not leave
  // the process pointing at objects that are about to go.
  SetPageObserver({});
  trace_.reset();
  if (errorReporter_) SetErrorReporter(previousReporter_);
  platform::ui::SetUnattended(false);
  mainWndObject_.reset();
}

SetupApp& SetupApp::Current() {
  auto* app = dynamic_cast<SetupApp*>(Application::Current());
  if (app == nullptr) throw std::logic_error("no setup application is running");
  return *app;
}

bool SetupApp::InitInstance() {
  ResetPageChain();
  errorReporter_ = std::make_unique<NotingErrorReporter>(*this);
  previousReporter_ = SetErrorReporter(errorReporter_.get());

  try {
    const platform::OsVersion version = platform::GetVersionEx();
    isNT_ = version.platformId == kNtPlatformId;
    isNT4_ = isNT_ && version.major == 4;

    const std::string programPath = platform::GetModuleFileName();
    PathParts parts = SplitPath(programPath);
    programDirectory_ = MakePath({parts.drive, parts.directory, {}, {}});
    if (programDirectory_.empty() || programDirectory_.back() != '\\') programDirectory_ += '\\';

    destinations_ = std::make_unique<CDestinationTable>();
    destinations_->SetPresets(MachinePresetDirectories(programDirectory_));
    groups_ = std::make_unique<CGroupTable>();
    targets_ = std::make_unique<CTargetTable>();
    sources_ = std::make_unique<CSourceFileList>();
    diskettes_ = std::make_unique<CDisketteTable>();

    parts.extension = "ini";
    installTablesFile_ = MakePath(parts);
    sourceDirectory_ = programDirectory_;
    installLogFile_ = JoinDirectory(platform::GetWindowsDirectory(), kInstallLogName);
    logFlag_ = true;

    threeDControls_ = std::make_unique<ThreeDControls>(isNT4_, kInstanceHandle);

    setupTitle_ = LoadStringText(kSetupTitleString);
    defaultProgramFolder_ = LoadStringText(kDefaultProgramFolderString);
    programFolder_ = defaultProgramFolder_;

    const CommandLineSwitches switches = ParseCommandLine(commandLine_);
    if (auto it = switches.find("D"); it != switches.end()) sourceDirectory_ = it->second;
    if (auto it = switches.find("T"); it != switches.end()) notifyThread_ = platform::ReadDecimalLong(it->second);
    uninstallMode_ = switches.contains("U");
    batchMode_ = switches.contains("B");
    ignoreConditions_ = switches.contains("I");
    // Nobody answers a batch run: every modal dialog takes its default answer.
    platform::ui::SetUnattended(batchMode_);

    mainWndObject_ = std::make_unique<CMainWnd>();
    if (!mainWndObject_->Create(batchMode_)) {
      std::fprintf(stderr, "%s: cannot create the main window\n", setupTitle_.c_str());
      startFailed_ = true;
      return false;
    }
    mainWnd_ = mainWndObject_.get();
    SetMainWindow(mainWnd_);

    // Before anything of the run is touched: two runs would interleave their
    // logs, files and keys. After the window, so that the box has an owner.
    if (!TakeRunLock()) {
      startFailed_ = true;
      return false;
    }

    // The INI items and section readers that name no file read the tables file.
    SetDefaultIniFileName(installTablesFile_);

    LoadProfile();
    StartObservingPages();

    if (uninstallMode_) {
      installTablesFile_ = installLogFile_;
      SetDefaultIniFileName(installTablesFile_);
      GoToPage(kFirstRemovalPage);
    } else {
      GoToPage(kFirstInstallPage);
    }
    return true;
  } catch (...) {
    // No page is on screen to go on from: report it and end the run.
    ReportFatalError(string_id::kSetupCannotContinue, std::current_exception());
    cannotContinue_ = true;
    startFailed_ = true;
    return false;
  }
}

bool SetupApp::TakeRunLock() {
  runLock_ = platform::MachineRunLock::TryAcquire(platform::CurrentMachine());
  if (runLock_) return true;
  platform::ui::MessageBox(mainWnd_, LoadStringText(kAnotherRunString), setupTitle_, platform::ui::MessageButtons::Ok,
                           platform::ui::SystemIcon::Warning);
  return false;
}

void SetupApp::LoadProfile() {
  profile_ = std::make_unique<ProfileFile>(programDirectory_ + kProfileName);
  options_ = std::make_unique<COptionList>();
  settings_ = std::make_unique<SetupSettings>();
  registryEntries_ = std::make_unique<CRegistryEntryList>();
  commands_ = std::make_unique<CCommandList>();

  // A profile that cannot be opened reads as empty: the settings keep their defaults.
  profile_->Load();

  ProfileMessageBoxes messages;
  const SectionReader readers[] = {
      {"Option", [&](const ProfileSection& section) { options_->AddOption(section, messages); }},
      {"Billboard", [&](const ProfileSection& section) { settings_->ReadBillboardSection(section); }},
      {"interface", [&](const ProfileSection& section) { settings_->ReadInterfaceSection(section); }},
      {"Registry", [&](const ProfileSection& section) { registryEntries_->AddRegistryEntry(section); }},
      {"Execute", [&](const ProfileSection& section) { commands_->AddCommandEntry(section); }},
  };
  DispatchSections(*profile_, readers);
}

void SetupApp::StartObservingPages() {
  screenshots_ = PageScreenshots::FromEnvironment();
  trace_ = RunTrace::FromEnvironment();
  SetPageObserver([this](WizardPage& page, PagePhase phase) {
    const std::string id = std::to_string(page.PageId());
    if (phase != PagePhase::Shown) {
      if (trace_) trace_->Write("page " + id + " waiting");
      return;
    }
    lastShownPage_ = page.PageId();
    if (screenshots_) screenshots_->Take(page.PageId());
    if (trace_) trace_->Write("page " + id + " shown");
  });
}

int SetupApp::RunSetup() {
  if (InitInstance()) Run();
  return ExitInstance();
}

int SetupApp::ExitInstance() {
  SetPageObserver({});
  screenshots_.reset();
  trace_.reset();

  destinations_.reset();
  groups_.reset();
  targets_.reset();
  sources_.reset();
  diskettes_.reset();
  installTablesFile_.clear();
  installLogFile_.clear();
  SetDefaultIniFileName({});
  threeDControls_.reset();
  profile_.reset();
  options_.reset();
  settings_.reset();
  registryEntries_.reset();
  commands_.reset();

  if (!runLock_) {
    // Refused or failed before the run began: nothing to finish, but a program
    // waiting on /T must still hear that this run is over.
    TellNotifyThread();
  } else if (uninstallMode_) {
    platform::SetCurrentDirectory(programDirectory_);
    TellNotifyThread();
    std::this_thread::sleep_for(std::chrono::milliseconds(RemovalWaitMs()));
    // A removal that was cancelled or never started keeps its removal program:
    // without it the product could not be removed any more.
    if (Completed()) FinishRemoval(programDirectory_, sourceDirectory_, removalHandOver_);
  } else {
    TellNotifyThread();
  }
  sourceDirectory_.clear();

  // A start-up that failed after the window was made leaves it on screen.
  if (mainWndObject_) mainWndObject_->Destroy();
  mainWnd_ = nullptr;
  mainWndObject_.reset();
  SetErrorReporter(previousReporter_);
  errorReporter_.reset();
  platform::ui::SetUnattended(false);
  runLock_.reset();

  return static_cast<int>(Outcome());
}

void SetupApp::TellNotifyThread() const {
  // /T:0 and /T:abc name no thread.
  if (notifyThread_ == 0) return;
  try {
    platform::PostThreadMessage(notifyThread_, {WM_SETUP_DONE, 0, 0});
  } catch (const std::exception& e) {
    // The run is over either way; the waiting program has to learn it otherwise.
    std::fprintf(stderr, "%s: cannot tell thread %d that the run ended: %s\n", setupTitle_.c_str(),
                 static_cast<int>(notifyThread_), e.what());
  }
}

bool SetupApp::Completed() const {
  return lastShownPage_ == kInstallCompletePage || lastShownPage_ == kRemovalCompletePage;
}

void SetupApp::BackgroundClosed() {
  if (!Completed() && !cannotContinue_) SetCancelled();
}

RunOutcome SetupApp::Outcome() const {
  if (cancelled_) return RunOutcome::Cancelled;
  const bool completed = Completed();
  if (startFailed_ || (cannotContinue_ && !completed)) return RunOutcome::CannotContinue;
  // The background closed before the last page: the run was abandoned.
  if (!completed) return RunOutcome::Cancelled;
  return errorReported_ ? RunOutcome::DoneWithErrors : RunOutcome::Done;
}

bool SetupApp::ShowErrorReport(const ErrorReport& report) {
  return errorReporter_ != nullptr && errorReporter_->ShowErrorReport(report);
}

void SetupApp::OnMessageException(std::exception_ptr error) {
  const std::unique_ptr<CXException> translated = TranslateException(error);
  if (IsSilentError(*translated)) {
    // The user's own cancel is no failure: nothing is shown and the run ends
    // as cancelled. A page whose action is running stops at its next look at
    // the flag and leads to page 116 itself; it must not be replaced under it.
    SetCancelled();
    WizardPage* page = CurrentPage();
    if (page == nullptr || !page->ActionRunning()) GoToPage(page_id::kNotInstalled);
    return;
  }
  ReportFatalError(string_id::kSetupCannotContinue, error);
  cannotContinue_ = true;
  if (!batchMode_) return;  // the page stays; the user can still Cancel
  // Nobody can close the page left on screen: the run ends here.
  if (mainWnd_ != nullptr) mainWnd_->Destroy();
  Quit(static_cast<int>(RunOutcome::CannotContinue));
}
