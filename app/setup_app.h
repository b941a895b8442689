#pragma once
// SetupApp: the application object of the setup program. It reads the command
// line, builds the paths and the shared tables every page reads, creates the
// background window, takes the machine's run lock (a run started beside
// another says so and ends with status 3), reads the setup profile and hands
// its sections to their owners, and starts the chain of pages. From then on
// window messages drive the run; the page id -1 destroys the background window
// and ends the loop, and the exit steps free what the object owns, tell the /T
// thread and give the lock up.
//
// Everything it owns lives from InitInstance to ExitInstance.

#include <cstdint>
#include <memory>
#include <string>

#include "app/removal_finish.h"
#include "install/tables/group_table.h"
#include "install/tables/space_totals.h"
#include "platform/ui/application.h"

class CDestinationTable;
struct ErrorReport;
class CDisketteTable;
class CMainWnd;
class COptionList;
class CSourceFileList;
class CTargetTable;
class ProfileFile;
class SetupSettings;
class CRegistryEntryList;
class CCommandList;
class ThreeDControls;
class ErrorReporter;
class PageScreenshots;
class RunTrace;
namespace platform {
class MachineRunLock;
}

// Message posted to the /T thread when a run ends.
inline constexpr unsigned WM_SETUP_DONE = 1338;

// How a run ended, for the exit status (0 done, 1 cancelled, 2 done with
// reported errors, 3 "Setup cannot continue").
enum class RunOutcome { Done = 0, Cancelled = 1, DoneWithErrors = 2, CannotContinue = 3 };

class SetupApp : public platform::ui::Application {
 public:
  // A batch run (/B) always draws offscreen; any other run uses the display the
  // environment names (see CanStart).
  SetupApp(int& argc, char** argv);
  ~SetupApp() override;

  // The running setup application (the framework's current application).
  static SetupApp& Current();

  // Start-up in its order; false when it failed (no page is shown; the exit
  // steps still run).
  bool InitInstance();
  // The exit steps; returns the process's exit status.
  int ExitInstance();
  // InitInstance, the message loop, ExitInstance.
  int RunSetup();

  // Whether the command line asks for a batch run (/B).
  static bool BatchRequested(int argc, const char* const* argv);
  // A run that shows its pages needs a display to show them on. False, with a
  // one-line reason on stderr, when there is none: a person would otherwise
  // wait for ever on a page nobody can see. To be asked before construction.
  static bool CanStart(int argc, const char* const* argv);

  // --- fields read by the pages ------------------------------------------
  const std::string& SetupTitle() const { return setupTitle_; }
  const std::string& DefaultProgramFolder() const { return defaultProgramFolder_; }
  // The program folder name the user chose; the default program folder at start.
  const std::string& ProgramFolder() const { return programFolder_; }
  void SetProgramFolder(std::string name) { programFolder_ = std::move(name); }

  bool UninstallMode() const { return uninstallMode_; }
  bool BatchMode() const { return batchMode_; }
  bool IgnoreConditions() const { return ignoreConditions_; }
  bool IsNT() const { return isNT_; }
  bool IsNT4() const { return isNT4_; }
  bool International() const { return international_; }
  void SetInternational(bool on) { international_ = on; }
  bool LogFlag() const { return logFlag_; }
  bool IsCancelled() const { return cancelled_; }
  void SetCancelled() { cancelled_ = true; }
  std::int32_t NotifyThread() const { return notifyThread_; }

  const std::string& InstallTablesFile() const { return installTablesFile_; }
  const std::string& SourceDirectory() const { return sourceDirectory_; }  // ends with a separator
  const std::string& InstallLogFile() const { return installLogFile_; }

  CDestinationTable& Destinations() { return *destinations_; }
  CGroupTable& Groups() { return *groups_; }
  CTargetTable& Targets() { return *targets_; }
  CSourceFileList& Sources() { return *sources_; }
  CDisketteTable& Diskettes() { return *diskettes_; }
  SpaceTotals& Totals() { return totals_; }
  SetupType ChosenSetupType() const { return setupType_; }
  void SetChosenSetupType(SetupType type) { setupType_ = type; }
  // The selector that the chosen setup type gives the registry entries: the
  // character with code 1 (Minimum) or 2 (Typical, Custom); empty until a type
  // is chosen. Held here and applied once by the install, since a selection
  // made at each choice would add up when the user goes back and chooses again.
  const std::string& RegistrySelector() const { return registrySelector_; }
  void SetRegistrySelector(std::string selector) { registrySelector_ = std::move(selector); }

  ProfileFile& Profile() { return *profile_; }
  COptionList& Options() { return *options_; }
  SetupSettings& Settings() { return *settings_; }
  CRegistryEntryList& RegistryEntries() { return *registryEntries_; }
  CCommandList& Commands() { return *commands_; }

  CMainWnd* MainWnd() const { return mainWnd_; }
  // The pictures the environment asked for (page_screenshots.h); null when none.
  PageScreenshots* Screenshots() const { return screenshots_.get(); }

  // The user closed the background before the run reached its last page: the
  // run is abandoned like a confirmed Cancel, so that an action still running
  // (a copy) stops at its next look at the cancelled flag instead of working
  // on with nothing on screen.
  void BackgroundClosed();

  // An error report was shown during the run (exit status 2 when it completes).
  void NoteErrorReported() { errorReported_ = true; }
  // Shows report through the run's reporter (the "Warning" dialog); true when
  // the user chose to continue.
  bool ShowErrorReport(const ErrorReport& report);
  RunOutcome Outcome() const;

  // How a completed removal hands over to "remove.pif"; the process is
  // replaced unless a test that runs the setup in its own process says otherwise.
  void SetRemovalHandOver(ProcessHandOver handOver) { removalHandOver_ = std::move(handOver); }

 protected:
  // "Setup cannot continue": the report with OK alone; in batch mode the run
  // then ends with status 3, since nobody can close the page left on screen.
  // The user's own cancel is no failure: it is not shown and the run ends as
  // cancelled, on page 116 (exit status 1).
  void OnMessageException(std::exception_ptr error) override;

 private:
  // Takes the machine's run lock; false, once the user has been told, when
  // another run holds it.
  bool TakeRunLock();
  void LoadProfile();
  void StartObservingPages();
  void TellNotifyThread() const;
  // The run reached its last page (installation or removal complete).
  bool Completed() const;

  std::string commandLine_;       // argv[1..] joined with spaces (command_line.h)
  ProcessHandOver removalHandOver_;
  std::string programDirectory_;  // the program's own directory, with a trailing separator

  std::string setupTitle_;
  std::string defaultProgramFolder_;
  std::string programFolder_;
  bool uninstallMode_ = false;
  std::unique_ptr<ThreeDControls> threeDControls_;
  std::unique_ptr<CDestinationTable> destinations_;
  std::unique_ptr<CGroupTable> groups_;
  std::unique_ptr<CTargetTable> targets_;
  std::unique_ptr<CSourceFileList> sources_;
  std::unique_ptr<CDisketteTable> diskettes_;
  SpaceTotals totals_;
  SetupType setupType_ = SetupType::Typical;
  std::string registrySelector_;
  std::string installTablesFile_;
  std::string sourceDirectory_;
  std::string installLogFile_;
  bool logFlag_ = true;
  bool cancelled_ = false;
  std::int32_t notifyThread_ = 0;
  bool batchMode_ = false;
  bool ignoreConditions_ = false;
  std::unique_ptr<ProfileFile> profile_;
  std::unique_ptr<COptionList> options_;
  std::unique_ptr<SetupSettings> settings_;
  std::unique_ptr<CRegistryEntryList> registryEntries_;
  std::unique_ptr<CCommandList> commands_;
  bool isNT_ = false;
  bool isNT4_ = false;
  bool international_ = false;
  bool errorReported_ = false;
  bool cannotContinue_ = false;
  bool startFailed_ = false;
  // Held from start-up to the end of the exit steps (machine_run_lock.h).
  std::unique_ptr<platform::MachineRunLock> runLock_;
  int lastShownPage_ = 0;
  std::unique_ptr<ErrorReporter> errorReporter_;
  ErrorReporter* previousReporter_ = nullptr;
  std::unique_ptr<PageScreenshots> screenshots_;
  std::unique_ptr<RunTrace> trace_;
  CMainWnd* mainWnd_ = nullptr;  // owned by the framework as the main window
  std::unique_ptr<CMainWnd> mainWndObject_;
};
