// The application's message loop and the windows on it: posted messages in
// order, PumpMessages and the quit, the exception hook, destroying windows with
// the windows they own, and frame and child windows painting themselves.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include <QFontInfo>
#include <QPainter>
#include <QWidget>

#include "platform/resources/window_styles.h"
#include "platform/ui/application.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"
#include "platform/ui/resources_access.h"
#include "platform/ui/window.h"
#include "tests/common/gui_test_environment.h"
#include "tests/platform/ui_test_resources.h"

namespace {

using platform::ui::Application;
using platform::ui::ChildWindow;
using platform::ui::Dialog;
using platform::ui::FrameWindow;
using platform::ui::Window;

constexpr unsigned kFirst = platform::ui::kUserMessage + 1;
constexpr unsigned kSecond = platform::ui::kUserMessage + 2;
constexpr unsigned kPump = platform::ui::kUserMessage + 3;
constexpr unsigned kThrow = platform::ui::kUserMessage + 4;
constexpr unsigned kQuitAndPump = platform::ui::kUserMessage + 5;
constexpr unsigned kEnd = platform::ui::kUserMessage + 6;

// A frame window that keeps a journal of what happens to it.
class JournalWindow : public FrameWindow {
 public:
  explicit JournalWindow(std::vector<std::string>* journal, std::string name = "frame")
      : journal_(journal), name_(std::move(name)) {}
  ~JournalWindow() override { journal_->push_back(name_ + " deleted"); }

 protected:
  std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t) override {
    journal_->push_back(name_ + " message " + std::to_string(message - platform::ui::kUserMessage) + ":" +
                        std::to_string(wParam));
    switch (message) {
      case kFirst:
        // Posted from a handler: handled after it, never inside.
        PostMessage(kSecond, 1);
        PostMessage(kSecond, 2);
        journal_->push_back(name_ + " posted");
        return 1;
      case kPump:
        platform::ui::PumpMessages();
        journal_->push_back(name_ + " pumped");
        return 0;
      case kThrow:
        throw std::runtime_error("broken handler");
      case kQuitAndPump:
        Application::Current()->Quit(7);
        platform::ui::PumpMessages();
        journal_->push_back(name_ + " pump returned");
        platform::ui::PumpMessages();
        return 0;
      case kEnd:
        Destroy();
        return 0;
      default:
        return 0;
    }
  }
  void OnPaint(QPainter& painter) override { painter.fillRect(ClientRect(), Qt::darkCyan); }
  void OnDestroy() override { journal_->push_back(name_ + " destroy"); }
  void OnPostDestroy() override { journal_->push_back(name_ + " post-destroy"); }

 private:
  std::vector<std::string>* journal_;
  std::string name_;
};

class JournalDialog : public Dialog {
 public:
  JournalDialog(std::vector<std::string>* journal, Window* owner, std::string name)
      : Dialog(uitest::kSmallDialog, owner), journal_(journal), name_(std::move(name)) {}
  ~JournalDialog() override { journal_->push_back(name_ + " deleted"); }

 protected:
  void OnDestroy() override { journal_->push_back(name_ + " destroy"); }
  void OnPostDestroy() override {
    journal_->push_back(name_ + " post-destroy" + (Widget() == nullptr ? "" : " with widget"));
  }

 private:
  std::vector<std::string>* journal_;
  std::string name_;
};

// Runs the loop with window as the main window.
int RunWith(Window& window) {
  Application* app = Application::Current();
  app->SetMainWindow(&window);
  return app->Run();
}

TEST(Application, ClassicScreenFontsAndColours) {
  Application* app = Application::Current();
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(app->ScreenRect(), QRect(0, 0, 800, 600));
  EXPECT_EQ(platform::ui::SystemMetric(platform::ui::Metric::CxScreen), 800);
  EXPECT_EQ(platform::ui::SystemMetric(platform::ui::Metric::CyScreen), 600);
  for (const char* face : {"MS Sans Serif", "Arial", "Helv", "MS Shell Dlg"}) {
    EXPECT_EQ(QFontInfo(QFont(face, 8)).family(), "Liberation Sans") << face;
  }
  EXPECT_EQ(platform::ui::SystemColor(platform::ui::SysColor::Highlight), QColor(0, 0, 0x80));
  EXPECT_EQ(platform::ui::DevicePaletteSize(), 0);
}

TEST(MessageLoop, PostedMessagesArriveAfterTheirPosterInOrder) {
  std::vector<std::string> journal;
  JournalWindow window(&journal);
  ASSERT_TRUE(window.Create("Posting", platform::WS_OVERLAPPEDWINDOW));
  window.PostMessage(kFirst, 0);
  window.PostMessage(kEnd, 0);
  EXPECT_TRUE(journal.empty());  // never from inside PostMessage
  EXPECT_EQ(RunWith(window), 0);
  EXPECT_EQ(journal, (std::vector<std::string>{"frame message 1:0", "frame posted", "frame message 6:0",
                                               "frame destroy", "frame post-destroy"}));
  // The two messages posted from the first handler went with the window.
  EXPECT_FALSE(window.IsCreated());
}

TEST(MessageLoop, PumpMessagesHandlesWhatIsPending) {
  std::vector<std::string> journal;
  JournalWindow window(&journal);
  ASSERT_TRUE(window.Create("Pumping", platform::WS_OVERLAPPEDWINDOW));
  window.PostMessage(kPump, 0);
  window.PostMessage(kSecond, 9);
  window.PostMessage(kEnd, 0);
  EXPECT_EQ(RunWith(window), 0);
  ASSERT_GE(journal.size(), 3u);
  EXPECT_EQ(journal[0], "frame message 3:0");
  EXPECT_EQ(journal[1], "frame message 2:9");
  EXPECT_EQ(journal[2], "frame message 6:0");
}

TEST(MessageLoop, AQuitMetWhilePumpingStillEndsTheLoop) {
  std::vector<std::string> journal;
  JournalWindow window(&journal);
  ASSERT_TRUE(window.Create("Quitting", platform::WS_OVERLAPPEDWINDOW));
  window.PostMessage(kQuitAndPump, 0);
  EXPECT_EQ(RunWith(window), 7);
  EXPECT_EQ(journal, (std::vector<std::string>{"frame message 5:0", "frame pump returned"}));
  EXPECT_TRUE(window.IsCreated());
  EXPECT_FALSE(Application::Current()->QuitPosted());
  window.Destroy();
  qmtest::ProcessEventsFor(0);
  // The main window's end posted a quit that no loop took; the next Run ends at once.
  EXPECT_EQ(Application::Current()->Run(), 0);
}

TEST(MessageLoop, AnExceptionReachesTheHookAndTheLoopGoesOn) {
  std::vector<std::string> journal;
  JournalWindow window(&journal);
  ASSERT_TRUE(window.Create("Throwing", platform::WS_OVERLAPPEDWINDOW));
  qmtest::TakeMessageExceptions();
  window.PostMessage(kThrow, 0);
  window.PostMessage(kSecond, 5);
  window.PostMessage(kEnd, 0);
  EXPECT_EQ(RunWith(window), 0);
  EXPECT_EQ(qmtest::TakeMessageExceptions(), std::vector<std::string>{"broken handler"});
  EXPECT_EQ(journal[1], "frame message 2:5");
}

TEST(Windows, DestroyingAnOwnerDestroysItsDialogsAndTellsThem) {
  std::vector<std::string> journal;
  JournalWindow owner(&journal, "owner");
  ASSERT_TRUE(owner.Create("Owner", platform::WS_OVERLAPPEDWINDOW));
  auto* kept = static_cast<JournalDialog*>(
      Window::KeepUntilDestroyed(std::make_unique<JournalDialog>(&journal, &owner, "kept")));
  JournalDialog plain(&journal, &owner, "plain");
  ASSERT_TRUE(kept->Create());
  ASSERT_TRUE(plain.Create());
  EXPECT_TRUE(kept->IsVisible() || !owner.IsVisible());  // the template says WS_VISIBLE
  EXPECT_EQ(kept->Widget()->parentWidget(), owner.Widget());

  kept->PostMessage(kFirst);  // dropped: the window goes first
  owner.Destroy();
  EXPECT_FALSE(kept->IsCreated());
  EXPECT_FALSE(plain.IsCreated());
  EXPECT_EQ(journal, (std::vector<std::string>{"owner destroy", "kept destroy", "plain destroy",
                                               "plain post-destroy", "kept post-destroy", "owner post-destroy"}));
  journal.clear();
  // The kept dialog is deleted from the loop, never inside Destroy.
  qmtest::ProcessEventsFor(0);
  EXPECT_EQ(journal, std::vector<std::string>{"kept deleted"});
}

TEST(Windows, AKeptWindowOutlivesItsOwnHandler) {
  // The window destroys itself from its own handler; it is deleted afterwards.
  std::vector<std::string> journal;
  auto* window = static_cast<JournalWindow*>(
      Window::KeepUntilDestroyed(std::make_unique<JournalWindow>(&journal, "self")));
  ASSERT_TRUE(window->Create("Self", platform::WS_OVERLAPPEDWINDOW));
  window->PostMessage(kEnd, 0);
  EXPECT_EQ(RunWith(*window), 0);
  qmtest::ProcessEventsFor(0);
  EXPECT_EQ(journal, (std::vector<std::string>{"self message 6:0", "self destroy", "self post-destroy",
                                               "self deleted"}));
}

class BorderedChild : public ChildWindow {
 protected:
  void OnPaint(QPainter& painter) override { painter.fillRect(ClientRect(), Qt::yellow); }
};

TEST(Windows, ChildWindowsPaintInsideTheirBorder) {
  std::vector<std::string> journal;
  JournalWindow frame(&journal);
  ASSERT_TRUE(frame.Create("Frame", platform::WS_OVERLAPPEDWINDOW));
  frame.Move(QRect(0, 0, 200, 100));
  BorderedChild child;
  ASSERT_TRUE(child.Create(frame, 77, QRect(10, 10, 40, 20), platform::WS_CHILD | platform::WS_VISIBLE |
                                                                 platform::WS_BORDER));
  EXPECT_EQ(child.ControlId(), 77);
  EXPECT_EQ(child.Rect(), QRect(10, 10, 40, 20));
  EXPECT_EQ(child.ClientRect(), QRect(0, 0, 38, 18));
  frame.Show(platform::ui::ShowCommand::Normal);
  const QImage image = qmtest::GrabWindow(frame);
  ASSERT_FALSE(image.isNull());
  qmtest::SavePng(image, "ui_child_window.png");
  EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::darkCyan));
  EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(49, 29), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(11, 11), QColor(Qt::yellow));
  EXPECT_EQ(image.pixelColor(48, 28), QColor(Qt::yellow));
  frame.Destroy();
  EXPECT_FALSE(child.IsCreated());
}

}  // namespace

namespace {

class ActivationWindow : public FrameWindow {
 public:
  std::vector<bool> activations;

 protected:
  void OnActivateApp(bool active) override { activations.push_back(active); }
};

TEST(Windows, FirstShowHonoursMaximizeAndActivationIsReported) {
  ActivationWindow window;
  ASSERT_TRUE(window.Create("Full screen", platform::WS_POPUP | platform::WS_MAXIMIZE));
  const bool wasActive = Application::Current()->IsActive();
  window.Show(platform::ui::ShowCommand::Normal);
  window.BringToForeground();
  qmtest::ProcessEventsFor(50);
  EXPECT_TRUE(window.Widget()->isMaximized());
  EXPECT_EQ(window.ClientRect().size(), QSize(800, 600));
  // Activation is reported when it changes; an earlier test may have left it on.
  if (!wasActive && Application::Current()->IsActive()) {
    ASSERT_FALSE(window.activations.empty());
    EXPECT_TRUE(window.activations.back());
  }
  window.Destroy();
}

}  // namespace
