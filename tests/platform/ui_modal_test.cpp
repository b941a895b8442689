// Modal dialogs and message boxes, answered by the test's observer or by the
// unattended policy; owner-drawn lists and bitmap buttons.

#include <gtest/gtest.h>

#include <algorithm>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>

#include "platform/core/exceptions.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"
#include "platform/ui/modal_policy.h"
#include "tests/common/gui_test_environment.h"
#include "tests/platform/ui_test_resources.h"

namespace {

using namespace uitest;
using platform::ui::Dialog;
using platform::ui::MessageBox;
using platform::ui::MessageButtons;

class KeepOrReplace : public Dialog {
 public:
  KeepOrReplace() : Dialog(kModalDialog, nullptr) {}
  bool initialised = false;

 protected:
  bool OnInitDialog() override {
    initialised = true;
    SetItemText(kOk, "&Replace all");
    return true;
  }
  bool OnCommand(int id, int code) override {
    if (id == kPush && code == platform::ui::notify::kButtonClicked) {
      EndDialog(kPush);
      return true;
    }
    return false;
  }
};

TEST(ModalDialog, TheObserverAnswersOnceTheDialogIsUp) {
  bool seen = false;
  platform::ui::SetModalObserver([&](Dialog& dialog) {
    seen = true;
    EXPECT_TRUE(dialog.IsModal());
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_EQ(dialog.ItemText(kOk), "&Replace all");  // after OnInitDialog
    dialog.Click(kCancel);
  });
  KeepOrReplace dialog;
  EXPECT_EQ(dialog.DoModal(), platform::ui::kIdCancel);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(dialog.initialised);
  EXPECT_FALSE(dialog.IsCreated());
}

TEST(ModalDialog, AnObserverCanLeaveItToTheLoop) {
  platform::ui::SetModalObserver([](Dialog& dialog) { dialog.PostMessage(platform::ui::kUserMessage); });
  class EndsOnMessage : public KeepOrReplace {
    std::intptr_t OnMessage(unsigned, std::uintptr_t, std::intptr_t) override {
      Click(kOk);
      return 0;
    }
  } dialog;
  EXPECT_EQ(dialog.DoModal(), platform::ui::kIdOk);
}

TEST(ModalDialog, UnattendedItTakesTheDefaultButtonAndSaysSo) {
  platform::ui::SetUnattended(true);
  bool observed = false;
  platform::ui::SetModalObserver([&](Dialog&) { observed = true; });
  KeepOrReplace dialog;
  testing::internal::CaptureStderr();
  EXPECT_EQ(dialog.DoModal(), kPush);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(observed);  // never shown
  EXPECT_NE(said.find(": Question: Replace the file? -> Keep\n"), std::string::npos) << said;
}

TEST(MessageBox, ButtonsDefaultsAndEscape) {
  std::vector<std::string> buttons;
  int wanted = 0;
  bool escape = false;
  platform::ui::SetModalObserver([&](Dialog& box) {
    buttons.clear();
    for (int id : {platform::ui::kIdOk, platform::ui::kIdCancel, platform::ui::kIdYes, platform::ui::kIdNo}) {
      if (box.HasItem(id)) buttons.push_back(box.ItemText(id));
    }
    EXPECT_EQ(box.ItemText(platform::ui::kMessageBoxTextId), "Do you really want to exit?");
    EXPECT_EQ(box.Text(), "Setup");
    if (escape) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QCoreApplication::sendEvent(box.Widget(), &press);
    } else if (wanted != 0) {
      box.Click(wanted);
    } else {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
      QCoreApplication::sendEvent(box.Widget(), &press);
    }
  });
  const std::string text = "Do you really want to exit?";
  EXPECT_EQ(MessageBox(nullptr, text, "Setup", MessageButtons::YesNo, platform::ui::SystemIcon::Question),
            platform::ui::kIdYes);
  EXPECT_EQ(buttons, (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_EQ(MessageBox(nullptr, text, "Setup", MessageButtons::YesNo, std::nullopt, platform::ui::kIdNo),
            platform::ui::kIdNo);
  escape = true;
  EXPECT_EQ(MessageBox(nullptr, text, "Setup", MessageButtons::YesNo), platform::ui::kIdNo);
  EXPECT_EQ(MessageBox(nullptr, text, "Setup", MessageButtons::OkCancel), platform::ui::kIdCancel);
  EXPECT_EQ(buttons, (std::vector<std::string>{"OK", "Cancel"}));
  escape = false;
  wanted = platform::ui::kIdCancel;
  EXPECT_EQ(MessageBox(nullptr, text, "Setup", MessageButtons::YesNoCancel), platform::ui::kIdCancel);
}

// A question box answers the letters of its buttons as Windows does: typed
// alone or with Alt, whichever button has the focus. Its default button has
// the focus when it is shown.
TEST(MessageBox, LettersAnswerTheQuestion) {
  const struct {
    int defaultButton;
    char letter;
    bool alt;
    int answer;
  } cases[] = {
      {0, 'y', false, platform::ui::kIdYes},
      {0, 'n', false, platform::ui::kIdNo},
      {platform::ui::kIdNo, 'Y', false, platform::ui::kIdYes},
      {platform::ui::kIdNo, 'y', true, platform::ui::kIdYes},
      {0, 'n', true, platform::ui::kIdNo},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(1, c.letter) + (c.alt ? " with Alt" : ""));
    int focused = 0;
    platform::ui::SetModalObserver([&](Dialog& box) {
      focused = box.FocusedItem();
      QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (QChar(c.letter).toUpper().unicode() - 'A'),
                      c.alt ? Qt::AltModifier : Qt::NoModifier, QString(QChar(c.letter)));
      QCoreApplication::sendEvent(box.Widget()->focusWidget(), &press);
    });
    EXPECT_EQ(MessageBox(nullptr, "Exit?", "Setup", MessageButtons::YesNo, std::nullopt, c.defaultButton), c.answer);
    EXPECT_EQ(focused, c.defaultButton != 0 ? c.defaultButton : platform::ui::kIdYes);
  }
  platform::ui::SetModalObserver({});
}

TEST(MessageBox, LongTextWrapsWithinTwoThirdsOfTheScreen) {
  QRect rect;
  platform::ui::SetModalObserver([&](Dialog& box) {
    rect = box.Rect();
    qmtest::SavePng(qmtest::GrabWindow(box), "ui_message_box.png");
    box.Click(platform::ui::kIdOk);
  });
  std::string text;
  for (int i = 0; i < 40; ++i) text += "A rather long sentence. ";
  MessageBox(nullptr, text, "Warning", MessageButtons::Ok, platform::ui::SystemIcon::Warning);
  EXPECT_LE(rect.width(), 800 * 2 / 3 + 40);
  EXPECT_GT(rect.height(), 100);
  EXPECT_TRUE(QRect(0, 0, 800, 600).contains(rect));
}

TEST(MessageBox, UnattendedAnswerIsTheDefaultButton) {
  platform::ui::SetUnattended(true);
  testing::internal::CaptureStderr();
  EXPECT_EQ(MessageBox(nullptr, "Overwrite?\nReally?", "Setup", MessageButtons::YesNo, std::nullopt,
                       platform::ui::kIdNo),
            platform::ui::kIdNo);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find(": Setup: Overwrite? Really? -> No\n"), std::string::npos) << said;
}

// Draws each item as a coloured band and remembers what it was asked.
class BandDrawer : public platform::ui::ListBoxDrawer {
 public:
  explicit BandDrawer(std::vector<std::string>* calls) : calls_(calls) {}
  int MeasureItem(int index, const std::string&) override { return 10 + index * 2; }
  void DrawItem(QPainter& painter, const platform::ui::ListItemPaint& item) override {
    painter.fillRect(item.rect, item.selected ? Qt::blue : Qt::green);
    calls_->push_back("draw " + item.text + (item.selected ? " selected" : "") + " data " +
                      std::to_string(item.data));
  }
  void OnLeftButtonDown(const QPoint&, const platform::ui::ListItemPaint& item) override {
    calls_->push_back("press " + std::to_string(item.index));
  }

 private:
  std::vector<std::string>* calls_;
};

TEST(OwnerDrawnList, TheDrawerMeasuresPaintsAndSeesPresses) {
  Dialog dialog(kAllControlsDialog, nullptr);
  ASSERT_TRUE(dialog.Create());
  std::vector<std::string> calls;
  dialog.SetListDrawer(kOwnerList, std::make_unique<BandDrawer>(&calls));
  dialog.AddListString(kOwnerList, "first");
  dialog.AddListString(kOwnerList, "second");
  dialog.SetListItemData(kOwnerList, 1, 42);
  dialog.SetListSelection(kOwnerList, 1);
  dialog.Show(platform::ui::ShowCommand::Normal);
  const QImage image = qmtest::GrabWindow(dialog);
  EXPECT_EQ(dialog.ListItemRect(kOwnerList, 0).height(), 10);
  EXPECT_EQ(dialog.ListItemRect(kOwnerList, 1).height(), 12);
  EXPECT_NE(std::find(calls.begin(), calls.end(), "draw second selected data 42"), calls.end());
  const QRect list = dialog.ItemRect(kOwnerList);
  const QRect second = dialog.ListItemRect(kOwnerList, 1);
  auto* view = qobject_cast<QListWidget*>(dialog.Item(kOwnerList))->viewport();
  const QPoint inView = view->mapTo(dialog.Widget(), second.center());
  EXPECT_EQ(image.pixelColor(inView), QColor(Qt::blue));
  EXPECT_TRUE(list.contains(inView));

  calls.clear();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(dialog.ListItemRect(kOwnerList, 0).center()),
                    view->mapToGlobal(QPointF(dialog.ListItemRect(kOwnerList, 0).center())), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view, &press);
  EXPECT_NE(std::find(calls.begin(), calls.end(), "press 0"), calls.end());
  EXPECT_EQ(dialog.ListSelection(kOwnerList), 0);
  dialog.Destroy();
}

TEST(BitmapButton, ShowsItsFacesAndStaysAPictureWhenDisabled) {
  Dialog dialog(kAllControlsDialog, nullptr);
  ASSERT_TRUE(dialog.Create());
  EXPECT_THROW(dialog.BindBitmapButton(kPicture, "NOPE"), platform::ResourceException);
  EXPECT_THROW(dialog.BindBitmapButton(kPush, "PIC"), platform::ResourceException);
  dialog.BindBitmapButton(kPicture, "PIC");
  dialog.Show(platform::ui::ShowCommand::Normal);
  const QRect button = dialog.ItemRect(kPicture);
  // Disabled in the template: the "X" face, centred at its natural size, not greyed.
  QImage image = qmtest::GrabWindow(dialog);
  EXPECT_EQ(image.pixelColor(button.center()), QColor(0, 255, 0));
  EXPECT_EQ(image.pixelColor(button.topLeft()), QColor(0xC0, 0xC0, 0xC0));
  dialog.EnableItem(kPicture, true);
  image = qmtest::GrabWindow(dialog);
  EXPECT_EQ(image.pixelColor(button.center()), QColor(255, 0, 0));
  qobject_cast<QAbstractButton*>(dialog.Item(kPicture))->setDown(true);
  image = qmtest::GrabWindow(dialog);
  EXPECT_EQ(image.pixelColor(button.center()), QColor(0, 0, 255));
  qmtest::SavePng(image, "ui_all_controls.png");
  dialog.Destroy();
}

}  // namespace
