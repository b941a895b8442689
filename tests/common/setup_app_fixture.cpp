#include "tests/common/setup_app_fixture.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include "app/setup_app.h"
#include "platform/fs/path_map.h"
#include "platform/ui/dialog.h"
#include "platform/ui/modal_policy.h"
#include "tests/common/temp_dir.h"
#include "wizard/wizard_page.h"

namespace qmtest {

namespace {

// Long enough for a slow sanitizer build, short enough to notice a hang.
constexpr int kWatchdogMs = 60000;

// Every run draws offscreen, with a runtime directory of its own.
class OffscreenEnvironment {
 public:
  OffscreenEnvironment() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
    // A removal run waits for its notify thread before it finishes; tests
    // have none.
    setenv("QMSETUP_REMOVAL_WAIT_MS", "0", 1);
  }

 private:
  TempDir runtime_{"qm-setup-runtime"};
};

void Write(const std::filesystem::path& file, const std::string& text) {
  WriteFileText(file, text);
}

}  // namespace

std::string SampleTablesText() {
  return "[destinations]\n0=QMW2||C:\\QMW2\n1=FONTS|0|\n"
         "[groups]\n"
         "Main=Main program|The program itself|1|1|1\n"
         "program=Program files|Program|1|1|1\n"
         "ustpls=US templates|Templates|0|0|0\n"
         "Inttpls=International templates|Templates|0|0|0\n"
         "[Main]\nQM.EXE=3072000|0|1|1|0|\n"
         "[program]\nQM.HLP=1024000|0|1|1|1|\n"
         "[ustpls]\nUS.QMT=2048000|0|1|1|0|\n"
         "[Inttpls]\nINT.QMT=4096000|0|1|1|0|\n"
         "[diskettes]\n1=Setup Disk 1\n";
}

SetupRunTest::SetupRunTest() {
  static OffscreenEnvironment environment;
  std::filesystem::create_directories(Media());
  WriteMedia("SETUP", "");
  WriteMedia("SETUP.ini", SampleTablesText());
  WriteMedia("cv_setup.ini", "[interface]\n");
  WriteMedia("agree.txt", "Licence text.\r\n");
  // The sources of the sample tables.
  for (const char* source : {"QM.EXE", "QM.HLP", "US.QMT", "INT.QMT"}) WriteMedia(source, std::string(source) + "\r\n");
}

SetupRunTest::~SetupRunTest() {
  SetPageObserver({});
  platform::ui::SetModalObserver({});
}

void SetupRunTest::WriteMedia(const std::string& name, const std::string& text) const {
  Write(Media() / name, text);
}

void SetupRunTest::RemoveMedia(const std::string& name) const {
  std::error_code ignored;
  std::filesystem::remove(Media() / name, ignored);
}

void SetupRunTest::Expect(int pageId, PageStep step) { script_.push_back({pageId, std::move(step)}); }

void SetupRunTest::ExpectModal(ModalStep step) { modalScript_.push_back(std::move(step)); }

SetupApp& SetupRunTest::App() {
  EXPECT_NE(app_, nullptr) << "no setup is running";
  return *app_;
}

int SetupRunTest::Run(const std::vector<std::string>& switches) {
  const std::string program = (Media() / "SETUP").string();
  std::vector<std::string> words{program};
  words.insert(words.end(), switches.begin(), switches.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(words.size());
  platform::SetProgramArgv0(program.c_str());

  auto app = std::make_unique<SetupApp>(argc, argv.data());
  app_ = app.get();
  // A completed removal hands over to "remove.pif"; here that must not replace the test.
  app->SetRemovalHandOver([this](const std::string& program, const std::vector<std::string>&) {
    handOvers_.push_back(program);
  });
  platform::ui::SetModalObserver([this](platform::ui::Dialog& dialog) { OnModal(dialog); });

  int status = -1;
  if (app->InitInstance()) {
    // The application watches the pages itself (screenshots, the last page):
    // this observer passes everything on to it.
    auto applications = std::make_shared<PageObserver>();
    *applications = SetPageObserver([this, applications](WizardPage& page, PagePhase phase) {
      if (*applications) (*applications)(page, phase);
      OnPage(page, phase);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [this] {
      ADD_FAILURE() << "the run did not end in time";
      app_->Quit(99);
    });
    watchdog.start(kWatchdogMs);
    if (started_) started_();
    app->Run();
  }
  status = app->ExitInstance();
  platform::ui::SetModalObserver({});
  app_ = nullptr;
  app.reset();
  EXPECT_TRUE(script_.empty()) << script_.size() << " steps of the script were not reached, the first for page "
                               << (script_.empty() ? 0 : script_.front().pageId);
  EXPECT_TRUE(modalScript_.empty()) << modalScript_.size() << " modal answers were not used";
  return status;
}

void SetupRunTest::OnPage(WizardPage& page, PagePhase phase) {
  if (watch_) watch_(page, phase);
  if (phase == PagePhase::Shown) {
    shown_.push_back(page.PageId());
    return;
  }
  waited_.push_back(page.PageId());
  if (script_.empty() || script_.front().pageId != page.PageId()) {
    if (app_->BatchMode()) return;  // the page moves on by itself
    ADD_FAILURE() << "page " << page.PageId() << " waits, but the script expects "
                  << (script_.empty() ? std::string("nothing more") : std::to_string(script_.front().pageId));
    // Nobody will press anything: end the run instead of waiting for ever.
    Later([this] { app_->Quit(98); });
    return;
  }
  PageStep step = std::move(script_.front().step);
  script_.erase(script_.begin());
  const int pageId = page.PageId();
  Later([pageId, step = std::move(step)] {
    if (WizardPage* onScreen = PageOnScreen(pageId)) step(*onScreen);
  });
}

void SetupRunTest::OnModal(platform::ui::Dialog& dialog) {
  constexpr int kDorurorSettings = 143;
  if (dialog.TemplateId() == kDorurorSettings) {
    ++dorurorAsked_;
    if (doruror_) {
      doruror_(dialog);
    } else {
      dialog.Click(platform::ui::kIdCancel);
    }
    return;
  }
  modals_.push_back(dialog.TemplateId());
  if (modalScript_.empty()) {
    ADD_FAILURE() << "modal dialog " << dialog.TemplateId() << " (" << dialog.Text() << ") was not expected";
    dialog.EndDialog(platform::ui::kIdCancel);
    return;
  }
  ModalStep step = std::move(modalScript_.front());
  modalScript_.erase(modalScript_.begin());
  step(dialog);
}

void Later(std::function<void()> work) {
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

WizardPage* PageOnScreen(int pageId) {
  WizardPage* page = CurrentPage();
  EXPECT_NE(page, nullptr) << "no page on screen, expected " << pageId;
  if (page == nullptr) return nullptr;
  EXPECT_EQ(page->PageId(), pageId);
  return page->PageId() == pageId ? page : nullptr;
}

namespace {

void PressKey(WizardPage& page, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(page.Widget(), &press);
}

}  // namespace

void PressEscape(WizardPage& page) { PressKey(page, Qt::Key_Escape); }
void PressEnter(WizardPage& page) { PressKey(page, Qt::Key_Return); }

}  // namespace qmtest

#ifdef QM_LSAN_SUPPRESSIONS
// Read by LeakSanitizer before main runs.
extern "C" const char* __lsan_default_options() { return "suppressions=" QM_LSAN_SUPPRESSIONS; }
#endif
