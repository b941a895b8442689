// main() of the GUI test programs: one offscreen application for all tests.

#include "tests/common/gui_test_environment.h"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <memory>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>

#include "platform/ui/application.h"
#include "platform/ui/modal_policy.h"
#include "platform/ui/window.h"

#ifdef QM_GUI_TEST_SETUP_RESOURCES
#include "resources/setup_resources.h"
#endif

namespace qmtest {

namespace {

const platform::ResourceModule*& NamedResources() {
  static const platform::ResourceModule* module = nullptr;
  return module;
}

const platform::ResourceModule& ChosenResources() {
  if (NamedResources() != nullptr) return *NamedResources();
#ifdef QM_GUI_TEST_SETUP_RESOURCES
  return SetupResources();
#else
  static const platform::ResourceModule empty{};
  return empty;
#endif
}

std::vector<std::string>& HookRecord() {
  static std::vector<std::string> record;
  return record;
}

class TestApplication : public platform::ui::Application {
 public:
  using Application::Application;

 protected:
  void OnMessageException(std::exception_ptr error) override {
    std::string text = "unknown exception";
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      text = e.what();
    } catch (...) {
    }
    HookRecord().push_back(text);
    std::cerr << "message-exception hook: " << text << '\n';
  }
};

// Leaves the shared application as the next test expects it.
class CleanUpAfterEachTest : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override {
    platform::ui::SetModalObserver({});
    platform::ui::SetUnattended(false);
    ProcessEventsFor(0);
  }
};

bool ListingOnly(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--gtest_list_tests") == 0) return true;
  }
  return false;
}

}  // namespace

GuiTestResources::GuiTestResources(const platform::ResourceModule& module) { NamedResources() = &module; }

void ProcessEventsFor(int ms) {
  QElapsedTimer timer;
  timer.start();
  do {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    // Outside a running loop Qt leaves deferred deletions alone; do them here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  } while (timer.elapsed() < ms);
}

QImage GrabWindow(platform::ui::Window& window) {
  QWidget* widget = window.Widget();
  return widget != nullptr ? widget->grab().toImage() : QImage();
}

bool SavePng(const QImage& image, const std::string& path) {
  return image.save(QString::fromStdString(path), "PNG");
}

std::vector<std::string> TakeMessageExceptions() {
  std::vector<std::string> taken;
  taken.swap(HookRecord());
  return taken;
}

}  // namespace qmtest

#ifdef QM_LSAN_SUPPRESSIONS
// Read by LeakSanitizer before main runs.
extern "C" const char* __lsan_default_options() { return "suppressions=" QM_LSAN_SUPPRESSIONS; }
#endif

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qmtest::ListingOnly(argc, argv)) return RUN_ALL_TESTS();

  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform == nullptr || *platform == '\0') setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::string runtimePattern = (std::filesystem::temp_directory_path() / "qm-gui-test-XXXXXX").string();
  std::vector<char> runtimeDir(runtimePattern.begin(), runtimePattern.end());
  runtimeDir.push_back('\0');
  if (mkdtemp(runtimeDir.data()) != nullptr) setenv("XDG_RUNTIME_DIR", runtimeDir.data(), 1);

  int result = 1;
  {
    qmtest::TestApplication app(argc, argv, qmtest::ChosenResources());
    ::testing::UnitTest::GetInstance()->listeners().Append(new qmtest::CleanUpAfterEachTest);  // gtest owns it
    result = RUN_ALL_TESTS();
  }
  std::error_code ignored;
  std::filesystem::remove_all(runtimeDir.data(), ignored);
  return result;
}
