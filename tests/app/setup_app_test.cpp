// The application object in this process: one SetupApp per test (a Qt
// application can be made and ended again in one process), started as if from
// C:\MEDIA\SETUP, with its pages driven by control id.

#include "app/setup_app.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QWidget>
#include <QElapsedTimer>

#include "app/main_window.h"
#include "install/errors/error_report.h"
#include "install/errors/string_table.h"
#include "install/errors/xexception.h"
#include "install/log/ini_defaults.h"
#include "install/tables/destination_table.h"
#include "options/option_list.h"
#include "platform/fs/path_map.h"
#include "platform/machine/thread_message.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal_policy.h"
#include "profile/setup_settings.h"
#include "system/command_list.h"
#include "system/registry_entry_list.h"
#include "tests/app/setup_media.h"
#include "tests/common/temp_dir.h"
#include "wizard/page_chain.h"
#include "wizard/wizard_page.h"

namespace {

using namespace std::chrono_literals;

constexpr int kReportContextLine = 141;  // of the report dialog
constexpr int kDorurorSettings = 143;

// Offscreen, with a runtime directory of the test's own.
class OffscreenEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
    setenv("QMSETUP_REMOVAL_WAIT_MS", "0", 1);
  }

 private:
  qmtest::TempDir runtime_{"qm-app-runtime"};
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new OffscreenEnvironment);  // gtest owns it

int CurrentPageId() { return CurrentPage() != nullptr ? CurrentPage()->PageId() : 0; }

class SetupAppTest : public ::testing::Test {
 protected:
  // Every install asks the "Doruror Settings" question before the copy: "No",
  // unless a test watches the modal dialogs itself.
  SetupAppTest() { AnswerDorurorNo(); }
  static void AnswerDorurorNo() {
    platform::ui::SetModalObserver([](platform::ui::Dialog& dialog) {
      if (dialog.TemplateId() == kDorurorSettings) dialog.Click(platform::ui::kIdCancel);
    });
  }
  ~SetupAppTest() override {
    platform::ui::SetModalObserver({});
    app_.reset();
    platform::SetProgramArgv0(nullptr);
  }

  // A SetupApp started as programName in C:\MEDIA with args; InitInstance not yet run.
  SetupApp& Make(const std::vector<std::string>& args, const std::string& programName = "SETUP") {
    app_.reset();
    platform::SetProgramArgv0((media_.Directory() / programName).c_str());
    words_ = {programName};
    words_.insert(words_.end(), args.begin(), args.end());
    argv_.clear();
    for (std::string& word : words_) argv_.push_back(word.data());
    argv_.push_back(nullptr);
    argc_ = static_cast<int>(words_.size());
    app_ = std::make_unique<SetupApp>(argc_, argv_.data());
    app_->SetRemovalHandOver({});  // a removal here must not replace the test
    return *app_;
  }

  // Make, then InitInstance; the test then also hears which page waits for the user.
  bool Start(const std::vector<std::string>& args, const std::string& programName = "SETUP") {
    Make(args, programName);
    waitingPage_ = 0;
    if (!app_->InitInstance()) return false;
    PageObserver application = SetPageObserver({});
    SetPageObserver([this, application](WizardPage& page, PagePhase phase) {
      if (application) application(page, phase);
      if (phase == PagePhase::Waiting) waitingPage_ = page.PageId();
    });
    return true;
  }

  // Handles events until done() holds; false after timeout.
  static bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5000ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
      if (timer.elapsed() > timeout.count()) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
  }

  // Until page id has been shown and waits for the user.
  bool WaitForPage(int id) {
    return WaitUntil([this, id] { return CurrentPageId() == id && waitingPage_ == id; });
  }

  // Presses control id of the current page once it is pageId and waits.
  void Press(int pageId, int control) {
    ASSERT_TRUE(WaitForPage(pageId)) << "waiting for page " << pageId << ", on " << CurrentPageId();
    CurrentPage()->Click(control);
  }

  // Next through the install chain to its end, then the loop and the exit steps.
  int FinishInstallChain(int fromPage) {
    int status = -1;
    DriveToTheEnd(fromPage, status);
    return status;
  }

  void DriveToTheEnd(int fromPage, int& status) {
    const int chain[] = {132, 102, 128, 104, 125, 106, 152, 108, 115};
    bool started = false;
    for (int id : chain) {
      started = started || id == fromPage;
      if (!started || id == 132) continue;  // the splash advances by itself
      if (id == 108) {
        // Copying has no Next button and advances by itself once it copies;
        // until then it is advanced here as its action will.
        ASSERT_TRUE(WaitUntil([this] { return waitingPage_ == 108 || CurrentPageId() == 115; }));
        if (CurrentPageId() == 108) CurrentPage()->NextPage();
        continue;
      }
      Press(id, page_control::kNext);
      if (::testing::Test::HasFatalFailure()) return;
    }
    app_->Run();
    status = app_->ExitInstance();
  }

  qmtest::SetupMedia media_;
  std::vector<std::string> words_;
  std::vector<char*> argv_;
  int argc_ = 0;
  std::unique_ptr<SetupApp> app_;
  int waitingPage_ = 0;
};

TEST_F(SetupAppTest, StartUpTakesPathsAndTablesFromTheProgramsPlace) {
  SetupApp& app = Make({});
  ASSERT_TRUE(app.InitInstance());
  EXPECT_EQ(&SetupApp::Current(), &app);
  EXPECT_EQ(app.InstallTablesFile(), "C:\\MEDIA\\SETUP.ini");  // a name without extension gains one
  EXPECT_EQ(DefaultIniFileName(), app.InstallTablesFile());      // what INI items without a file read
  EXPECT_EQ(app.SourceDirectory(), "C:\\MEDIA\\");
  EXPECT_EQ(app.InstallLogFile(), "C:\\WINDOWS\\Qmw.log");
  EXPECT_EQ(app.Destinations().PathOf(CDestinationTable::kSourceDirectory), "C:\\MEDIA\\");
  EXPECT_EQ(app.Destinations().PathOf(CDestinationTable::kWindowsDirectory), "C:\\WINDOWS");
  EXPECT_EQ(app.SetupTitle(), "Quillmark 2.0 Setup");
  EXPECT_EQ(app.DefaultProgramFolder(), "QM2");
  EXPECT_EQ(app.ProgramFolder(), "QM2");
  EXPECT_TRUE(app.LogFlag());
  EXPECT_FALSE(app.UninstallMode() || app.BatchMode() || app.IgnoreConditions() || app.IsNT() || app.IsCancelled());
  EXPECT_EQ(app.NotifyThread(), 0);
  ASSERT_NE(app.MainWnd(), nullptr);
  EXPECT_EQ(app.MainWindow(), static_cast<platform::ui::Window*>(app.MainWnd()));
  EXPECT_EQ(CurrentPageId(), 132);
  EXPECT_EQ(app.ExitInstance(), static_cast<int>(RunOutcome::Cancelled));  // left before its end
}

TEST_F(SetupAppTest, SwitchesChooseTheSourceDirectoryThreadAndMode) {
  {
    SetupApp& app = Make({"/D:A:\\", "/d:X", "/T:abc", "/I", "positional"}, "SETUP.EXE");
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.InstallTablesFile(), "C:\\MEDIA\\SETUP.ini");
    EXPECT_EQ(app.SourceDirectory(), "A:\\");  // /d is not /D
    EXPECT_EQ(app.NotifyThread(), 0);
    EXPECT_TRUE(app.IgnoreConditions());
    EXPECT_FALSE(app.UninstallMode());
    app.ExitInstance();
  }
  SetupApp& app = Make({"/U", "/T:1234", "/D:C:\\ELSEWHERE"});
  platform::ThreadMessageListener listener(1234);
  ASSERT_TRUE(app.InitInstance());
  EXPECT_TRUE(app.UninstallMode());
  EXPECT_EQ(app.NotifyThread(), 1234);
  // A removal reads the install log where an install reads its tables file.
  EXPECT_EQ(app.InstallTablesFile(), "C:\\WINDOWS\\Qmw.log");
  EXPECT_EQ(DefaultIniFileName(), "C:\\WINDOWS\\Qmw.log");
  EXPECT_EQ(CurrentPageId(), 1545);
  app.ExitInstance();
  const auto message = listener.Receive(1000ms);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->message, WM_SETUP_DONE);
  // The removal hands over from the program's own directory.
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), media_.Directory()));
}

TEST_F(SetupAppTest, ProfileSectionsGoToTheirOwnersInFileOrder) {
  media_.WriteFile("cv_setup.ini",
                   "[interface]\nWelcomeTitle=First\nWelcomeText=Kept\n"
                   "[OPTION]\nOption=0\n"
                   "[Unknown]\nWelcomeTitle=Ignored\n"
                   "[Registry]\nKey=1\n[registry]\nKey=2\n"
                   "[Execute]\nCommand=x\n"
                   "[Interface]\nWelcomeTitle=Second\n");
  std::vector<std::string> messages;
  platform::ui::SetModalObserver([&](platform::ui::Dialog& dialog) {
    messages.push_back(dialog.Text() + ": " + dialog.ItemText(platform::ui::kMessageBoxTextId));
    dialog.Click(platform::ui::kIdOk);
  });
  SetupApp& app = Make({});
  ASSERT_TRUE(app.InitInstance());
  platform::ui::SetModalObserver({});
  EXPECT_EQ(app.Settings().WelcomeTitle(), "Second");  // the later section overrides
  EXPECT_EQ(app.Settings().WelcomeText(), "Kept");
  EXPECT_EQ(app.Options().Options().size(), 1u);  // names compare ignoring case
  EXPECT_EQ(messages, std::vector<std::string>{"Quillmark 2.0 Setup: Error - Options must be greater than 0"});
  EXPECT_EQ(app.RegistryEntries().Entries().size(), 2u);
  EXPECT_EQ(app.Commands().Entries().size(), 1u);
  app.ExitInstance();
}

TEST_F(SetupAppTest, WithoutAProfileTheSettingsKeepTheirDefaults) {
  media_.RemoveFile("cv_setup.ini");
  ASSERT_TRUE(Start({}));
  SetupApp& app = *app_;
  EXPECT_EQ(app.Settings().WelcomeTitle(), "default");
  EXPECT_TRUE(app.Options().Options().empty());
  EXPECT_TRUE(app.Commands().Entries().empty());
  // The wizard runs regardless.
  EXPECT_TRUE(WaitForPage(102));
  app.ExitInstance();
}

TEST_F(SetupAppTest, ACancelledRunEndsWithStatusOneAndStillTellsTheNotifyThread) {
  platform::ThreadMessageListener listener(4321);
  ASSERT_TRUE(Start({"/T:4321"}));
  SetupApp& app = *app_;
  platform::ui::SetModalObserver([](platform::ui::Dialog& dialog) { dialog.Click(platform::ui::kIdYes); });
  Press(102, page_control::kCancel);
  platform::ui::SetModalObserver({});
  EXPECT_TRUE(app.IsCancelled());
  Press(116, page_control::kNext);
  app.Run();
  EXPECT_EQ(app.ExitInstance(), static_cast<int>(RunOutcome::Cancelled));
  const auto message = listener.Receive(1000ms);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->message, WM_SETUP_DONE);
}

// Closing the background through its system menu ends the run: before the
// last page it is abandoned like a confirmed Cancel; on the last page the run
// is complete.
TEST_F(SetupAppTest, ClosingTheBackgroundEndsTheRun) {
  const struct {
    int page;
    RunOutcome outcome;
    bool cancelled;
  } cases[] = {{102, RunOutcome::Cancelled, true}, {128, RunOutcome::Cancelled, true}, {115, RunOutcome::Done, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page);
    ASSERT_TRUE(Start({}));
    SetupApp& app = *app_;
    for (int id : {102, 128, 104, 125, 106, 152}) {
      if (id == c.page) break;
      Press(id, page_control::kNext);
    }
    if (c.page == 115) {
      ASSERT_TRUE(WaitUntil([this] { return waitingPage_ == 108 || CurrentPageId() == 115; }));
      if (CurrentPageId() == 108) CurrentPage()->NextPage();
    }
    ASSERT_TRUE(WaitForPage(c.page));
    ASSERT_TRUE(app.MainWnd()->Widget()->close() || !app.MainWnd()->IsCreated());
    EXPECT_FALSE(app.MainWnd()->IsCreated());
    EXPECT_EQ(app.IsCancelled(), c.cancelled);
    app.Run();
    EXPECT_EQ(app.ExitInstance(), static_cast<int>(c.outcome));
  }
}

TEST_F(SetupAppTest, AnInteractiveRunKeepsThePageAfterSetupCannotContinue) {
  media_.WriteFile("SETUP.ini", "[groups]\nMain=Main|M|1|1|1\n");  // no destinations
  std::vector<std::string> contexts;
  platform::ui::SetModalObserver([&](platform::ui::Dialog& dialog) {
    contexts.push_back(dialog.ItemText(kReportContextLine));
    dialog.Click(platform::ui::kIdOk);
  });
  SetupApp& app = Make({});
  ASSERT_TRUE(app.InitInstance());
  ASSERT_TRUE(WaitUntil([&] { return !contexts.empty(); }));
  EXPECT_EQ(contexts.front(), "Setup cannot continue");
  // The loop goes on and the splash stays; the user closes the background.
  EXPECT_TRUE(WaitUntil([] { return false; }, 100ms) || CurrentPageId() == 132);
  EXPECT_EQ(CurrentPageId(), 132);
  platform::ui::SetModalObserver({});
  app.MainWnd()->Destroy();
  app.Run();
  EXPECT_EQ(app.ExitInstance(), static_cast<int>(RunOutcome::CannotContinue));
}

TEST_F(SetupAppTest, AUserCancelEscapingAHandlerEndsTheRunCancelledWithoutAReport) {
  std::vector<int> modals;
  platform::ui::SetModalObserver([&modals](platform::ui::Dialog& dialog) {
    modals.push_back(dialog.TemplateId());
    dialog.Click(platform::ui::kIdCancel);
    if (dialog.TemplateId() == kDorurorSettings) throw CXUserException();
  });
  ASSERT_TRUE(Start({}));
  for (int id : {102, 128, 104, 125, 106, 152}) Press(id, page_control::kNext);
  // The copy page's action sees the flag and leads to page 116 itself.
  ASSERT_TRUE(WaitForPage(116));
  EXPECT_EQ(modals, std::vector<int>{kDorurorSettings});
  EXPECT_FALSE(std::filesystem::exists(media_.Machine().DriveC() / "QMW2" / "QM.EXE"));
  CurrentPage()->Click(page_control::kNext);
  app_->Run();
  EXPECT_EQ(app_->ExitInstance(), static_cast<int>(RunOutcome::Cancelled));
}

TEST_F(SetupAppTest, ACompletedRunIsStatusZeroOrTwoWhenAnErrorWasReported) {
  ASSERT_TRUE(Start({}));
  EXPECT_EQ(FinishInstallChain(102), static_cast<int>(RunOutcome::Done));

  ASSERT_TRUE(Start({}));
  ASSERT_TRUE(WaitForPage(102));
  // A report shown on the way, answered by the user, through the installed reporter.
  platform::ui::SetModalObserver([](platform::ui::Dialog& dialog) { dialog.Click(platform::ui::kIdOk); });
  EXPECT_TRUE(ReportError(string_id::kCannotInstallFiles, CXFileException(2), "QM.EXE"));
  AnswerDorurorNo();
  EXPECT_EQ(FinishInstallChain(102), static_cast<int>(RunOutcome::DoneWithErrors));
}

// Takes the pictures of the install chain that the README shows when
// QMSETUP_SCREENSHOTS names a directory; otherwise into a directory of its own.
TEST_F(SetupAppTest, ScreenshotsOfAnInteractiveRunShowEachPage) {
  std::optional<qmtest::TempDir> own;
  const char* given = std::getenv("QMSETUP_SCREENSHOTS");
  std::filesystem::path directory;
  if (given != nullptr && *given != '\0') {
    directory = given;
  } else {
    own.emplace("qm-app-shots");
    directory = own->Path();
    setenv("QMSETUP_SCREENSHOTS", directory.c_str(), 1);
  }
  ASSERT_TRUE(Start({}));
  const int status = FinishInstallChain(102);
  if (own) unsetenv("QMSETUP_SCREENSHOTS");
  EXPECT_EQ(status, 0);
  for (const char* name : {"001_132.png", "002_102.png", "005_125.png", "009_115.png"}) {
    EXPECT_TRUE(std::filesystem::exists(directory / name)) << name;
  }
}

}  // namespace
