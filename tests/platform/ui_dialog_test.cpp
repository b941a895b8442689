// Dialogs built from templates: controls with their ids, texts, styles and
// pixel positions; the commands and notifications that reach the handlers.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <QCheckBox>
#include <QCoreApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/core/exceptions.h"
#include "platform/resources/window_styles.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"
#include "tests/common/gui_test_environment.h"
#include "tests/platform/ui_test_resources.h"

namespace {

using namespace uitest;
using platform::ui::Dialog;
namespace notify = platform::ui::notify;

// Records what reaches the handlers.
class RecordingDialog : public Dialog {
 public:
  explicit RecordingDialog(int id = kAllControlsDialog) : Dialog(id, nullptr) {}
  std::vector<std::pair<int, int>> commands;
  int oks = 0;
  int cancels = 0;
  bool initialised = false;

 protected:
  bool OnInitDialog() override {
    initialised = true;
    return Dialog::OnInitDialog();
  }
  void OnOK() override { ++oks; }
  void OnCancel() override { ++cancels; }
  bool OnCommand(int id, int code) override {
    commands.emplace_back(id, code);
    return true;
  }
};

void PressKey(QWidget* widget, Qt::Key key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
}

// Types text into widget as a user would, one key at a time.
void Type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(widget, &press);
  }
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog_.Create()); }
  void TearDown() override { dialog_.Destroy(); }
  RecordingDialog dialog_;
};

TEST_F(DialogTest, DialogUnitsFollowTheDialogFont) {
  EXPECT_EQ(QFontInfo(dialog_.Widget()->font()).family(), "Liberation Sans");
  // Liberation Sans 8 pt at 96 dpi: base units 6 x 12, so one unit is 1.5 pixels.
  EXPECT_EQ(dialog_.MapDialogRect(QRect(10, 10, 80, 160)), QRect(15, 15, 120, 240));
  EXPECT_EQ(dialog_.MapDialogRect(QRect(1, 1, 1, 1)), QRect(2, 2, 1, 1));
  // The template's size is the client area.
  EXPECT_EQ(dialog_.ClientRect().size(), QSize(420, 255));
  EXPECT_EQ(dialog_.ItemRect(kOk), QRect(225, 15, 75, 21));
  EXPECT_EQ(dialog_.ItemRect(kLabel), QRect(15, 15, 90, 12));
  EXPECT_EQ(dialog_.Text(), "All controls");
  EXPECT_TRUE(dialog_.initialised);
  EXPECT_FALSE(dialog_.IsVisible());  // the template has no WS_VISIBLE
}

TEST_F(DialogTest, ControlsTakeTheirKindAndStateFromTheTemplate) {
  EXPECT_NE(qobject_cast<QPushButton*>(dialog_.Item(kPush)), nullptr);
  EXPECT_NE(qobject_cast<QLineEdit*>(dialog_.Item(kEdit)), nullptr);
  EXPECT_NE(qobject_cast<QPlainTextEdit*>(dialog_.Item(kMultiLine)), nullptr);
  EXPECT_NE(qobject_cast<QListWidget*>(dialog_.Item(kList)), nullptr);
  EXPECT_FALSE(qobject_cast<QComboBox*>(dialog_.Item(kDropList))->isEditable());
  EXPECT_TRUE(qobject_cast<QComboBox*>(dialog_.Item(kDropDown))->isEditable());

  EXPECT_EQ(dialog_.DefaultButton(), kOk);
  EXPECT_TRUE(qobject_cast<QPushButton*>(dialog_.Item(kOk))->isDefault());
  EXPECT_FALSE(dialog_.IsItemVisible(kHidden));
  EXPECT_TRUE(dialog_.IsItemVisible(kPush));
  EXPECT_FALSE(dialog_.IsItemEnabled(kDisabled));
  EXPECT_TRUE(qobject_cast<QLineEdit*>(dialog_.Item(kReadOnly))->isReadOnly());
  EXPECT_EQ(qobject_cast<QLineEdit*>(dialog_.Item(kPassword))->echoMode(), QLineEdit::Password);

  EXPECT_EQ(dialog_.ItemText(kLabel), "&Name:\tvalue");
  EXPECT_EQ(dialog_.ItemText(kPush), "&Push");
  EXPECT_EQ(dialog_.ItemText(kGroup), "Group");
  EXPECT_EQ(dialog_.ItemText(kEdit), "text");
  // Multi-line edits give their lines back with Windows line ends.
  EXPECT_EQ(dialog_.ItemText(kMultiLine), "one\r\ntwo");
  EXPECT_EQ(qobject_cast<QPlainTextEdit*>(dialog_.Item(kMultiLine))->toPlainText(), "one\ntwo");

  // Tab order is template order over the tab stops.
  EXPECT_EQ(dialog_.FocusedItem(), kOk);
  EXPECT_EQ(dialog_.Item(kOk)->nextInFocusChain(), dialog_.Item(kCancel));
}

TEST_F(DialogTest, WrongIdsAndUnknownClassesFailLoudly) {
  EXPECT_FALSE(dialog_.HasItem(999));
  EXPECT_THROW(dialog_.Item(999), platform::ResourceException);
  EXPECT_THROW(dialog_.SetItemText(999, "x"), platform::ResourceException);
  EXPECT_THROW(dialog_.AddListString(kEdit, "x"), platform::ResourceException);

  static const std::array<platform::ControlTemplate, 1> strange{
      {{5, "SysTreeView32", "", platform::WS_CHILD, 0, 0, 0, 10, 10}}};
  static const platform::DialogTemplate strangeTemplate{7, platform::WS_POPUP, 0, 0, 0, 50, 50, "", "", 0, 0,
                                                        false, strange};
  Dialog bad(strangeTemplate, nullptr);
  try {
    bad.Create();
    FAIL() << "an unknown control class must not build";
  } catch (const platform::ResourceException& e) {
    EXPECT_NE(std::string(e.what()).find("SysTreeView32"), std::string::npos);
  }
  EXPECT_FALSE(bad.IsCreated());

  Dialog missing(4711, nullptr);
  EXPECT_FALSE(missing.Create());
}

TEST_F(DialogTest, ButtonsAndKeysReachTheirHandlers) {
  dialog_.Click(kOk);
  dialog_.Click(kCancel);
  dialog_.Click(kPush);
  dialog_.Click(kDisabled);  // a disabled button does nothing
  EXPECT_EQ(dialog_.oks, 1);
  EXPECT_EQ(dialog_.cancels, 1);
  ASSERT_EQ(dialog_.commands.size(), 1u);
  EXPECT_EQ(dialog_.commands[0], std::make_pair(kPush, notify::kButtonClicked));

  // Enter presses the default button; on a focused push button it presses that one.
  PressKey(dialog_.Widget(), Qt::Key_Return);
  EXPECT_EQ(dialog_.oks, 2);
  dialog_.FocusItem(kPush);
  PressKey(dialog_.Widget(), Qt::Key_Enter);
  EXPECT_EQ(dialog_.commands.size(), 2u);
  // Escape cancels even with control 2 hidden; so does the close box.
  dialog_.ShowItem(kCancel, false);
  PressKey(dialog_.Widget(), Qt::Key_Escape);
  EXPECT_EQ(dialog_.cancels, 2);
  dialog_.Widget()->close();
  EXPECT_EQ(dialog_.cancels, 3);
  EXPECT_TRUE(dialog_.IsCreated());
}

TEST_F(DialogTest, CheckBoxesAndRadioButtons) {
  // A plain check box only reports the click; an automatic one toggles itself.
  dialog_.Click(kCheck);
  EXPECT_FALSE(dialog_.IsItemChecked(kCheck));
  dialog_.CheckItem(kCheck, true);
  EXPECT_TRUE(dialog_.IsItemChecked(kCheck));
  dialog_.Click(kAutoCheck);
  EXPECT_TRUE(dialog_.IsItemChecked(kAutoCheck));
  dialog_.Click(kRadioA);
  dialog_.Click(kRadioB);
  EXPECT_FALSE(dialog_.IsItemChecked(kRadioA));
  EXPECT_TRUE(dialog_.IsItemChecked(kRadioB));
  EXPECT_EQ(dialog_.commands.size(), 4u);
}

TEST_F(DialogTest, EditsNotifyEveryChangeAndKeepTheirRules) {
  dialog_.SetItemText(kEdit, "new");
  ASSERT_EQ(dialog_.commands.size(), 2u);
  EXPECT_EQ(dialog_.commands[0], std::make_pair(kEdit, notify::kEditUpdate));
  EXPECT_EQ(dialog_.commands[1], std::make_pair(kEdit, notify::kEditChange));
  Type(dialog_.Item(kEdit), "x");
  EXPECT_EQ(dialog_.ItemText(kEdit), "newx");
  EXPECT_EQ(dialog_.commands.size(), 4u);

  Type(dialog_.Item(kUpper), "abc");
  EXPECT_EQ(dialog_.ItemText(kUpper), "ABC");

  dialog_.SetItemText(kMultiLine, "a\r\nb\r\nc");
  EXPECT_EQ(dialog_.ItemText(kMultiLine), "a\r\nb\r\nc");

  dialog_.SetItemInt(kEdit, -42);
  bool ok = false;
  EXPECT_EQ(dialog_.ItemInt(kEdit, &ok), -42);
  EXPECT_TRUE(ok);
  dialog_.SetItemText(kEdit, "12a");
  EXPECT_EQ(dialog_.ItemInt(kEdit, &ok), 0);
  EXPECT_FALSE(ok);
}

TEST_F(DialogTest, SortedListsIgnoreCaseAndKeepItemData) {
  for (const char* text : {"beta", "Alpha", "gamma", "ALPHA2", "Beta"}) {
    const int index = dialog_.AddListString(kSortedList, text);
    dialog_.SetListItemData(kSortedList, index, static_cast<std::uintptr_t>(text[0]));
  }
  std::vector<std::string> order;
  for (int i = 0; i < dialog_.ListCount(kSortedList); ++i) order.push_back(dialog_.ListText(kSortedList, i));
  EXPECT_EQ(order, (std::vector<std::string>{"Alpha", "ALPHA2", "beta", "Beta", "gamma"}));
  EXPECT_EQ(dialog_.ListItemData(kSortedList, 4), static_cast<std::uintptr_t>('g'));
  EXPECT_EQ(dialog_.FindListString(kSortedList, "GAMMA"), 4);
  EXPECT_EQ(dialog_.FindListString(kSortedList, "gam"), -1);
  EXPECT_EQ(dialog_.ListSelection(kSortedList), -1);

  // Unsorted lists keep the order of insertion; the program's selection is not notified.
  dialog_.AddListString(kList, "z");
  dialog_.AddListString(kList, "a");
  dialog_.SetListSelection(kList, 1);
  EXPECT_EQ(dialog_.ListSelection(kList), 1);
  EXPECT_TRUE(dialog_.commands.empty());
  // The user's selection is.
  auto* list = qobject_cast<QListWidget*>(dialog_.Item(kList));
  list->setCurrentRow(0);
  ASSERT_EQ(dialog_.commands.size(), 1u);
  EXPECT_EQ(dialog_.commands[0], std::make_pair(kList, notify::kListSelChange));

  // A combo box selects nothing by itself and sorts with CBS_SORT.
  dialog_.AddListString(kDropList, "D");
  dialog_.AddListString(kDropList, "C");
  EXPECT_EQ(dialog_.ListSelection(kDropList), -1);
  EXPECT_EQ(dialog_.ListText(kDropList, 0), "C");
  dialog_.SetListSelection(kDropList, 1);
  EXPECT_EQ(dialog_.ItemText(kDropList), "D");
  dialog_.ResetList(kList);
  EXPECT_EQ(dialog_.ListCount(kList), 0);
}

}  // namespace

namespace {

using namespace platform;  // the window styles
using platform::ControlTemplate;
using platform::DialogTemplate;

constexpr int kFolderEdit = 10;
constexpr int kBrowse = 11;
constexpr int kCheck = 12;

const ControlTemplate kMnemonicControls[] = {
    {-1, "STATIC", "&Folder:", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 5, 5, 40, 10},
    {kFolderEdit, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 50, 5, 80, 12},
    {kBrowse, "BUTTON", "&Browse...", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 135, 5, 50, 14},
    {kCheck, "BUTTON", "Ch&eck", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 5, 25, 60, 10},
    {-1, "STATIC", "&Plain", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 5, 40, 40, 10},
    {platform::ui::kIdOk, "BUTTON", "&Next", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 80, 60, 50, 14},
    {platform::ui::kIdCancel, "BUTTON", "Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 135, 60, 50,
     14},
};

DialogTemplate MnemonicTemplate() {
  DialogTemplate dialog;
  dialog.id = 900;
  dialog.style = WS_POPUP | WS_CAPTION | DS_SETFONT;
  dialog.cx = 200;
  dialog.cy = 80;
  dialog.caption = "Mnemonics";
  dialog.fontFace = "MS Sans Serif";
  dialog.fontPointSize = 8;
  dialog.controls = kMnemonicControls;
  return dialog;
}

// A letter typed on the focused control, with or without Alt, as Qt delivers it.
void TypeLetter(QWidget* focus, char letter, bool alt) {
  const QChar c = QLatin1Char(letter);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (c.toUpper().unicode() - 'A'), alt ? Qt::AltModifier : Qt::NoModifier,
                  QString(c));
  QCoreApplication::sendEvent(focus, &press);
}

struct MnemonicCase {
  const char* name;
  int focus;
  char letter;
  bool alt;
  int focusAfter;  // the control focused afterwards
  int command;     // the control whose press reached OnCommand (OnOK counts as 1), 0 for none
};

// As on Windows: a label's mnemonic moves the focus to the control after it, a
// button's presses it, and a letter alone counts while the focused control does
// not take characters itself.
const MnemonicCase kMnemonicCases[] = {
    {"LabelMovesTheFocusToTheNextControl", platform::ui::kIdOk, 'f', true, kFolderEdit, 0},
    {"LabelAnswersALetterAloneOnAButton", platform::ui::kIdOk, 'f', false, kFolderEdit, 0},
    {"ButtonIsPressed", kFolderEdit, 'b', true, kFolderEdit, kBrowse},
    {"ButtonIsPressedByALetterAloneOnAButton", platform::ui::kIdCancel, 'b', false, platform::ui::kIdCancel, kBrowse},
    {"AnEditKeepsALetterAlone", kFolderEdit, 'b', false, kFolderEdit, 0},
    {"CheckBoxIsToggledAndFocused", platform::ui::kIdCancel, 'e', false, kCheck, kCheck},
    {"DefaultButtonReachesOnOK", kFolderEdit, 'n', true, kFolderEdit, platform::ui::kIdOk},
    {"NoPrefixLabelHasNone", platform::ui::kIdCancel, 'p', true, platform::ui::kIdCancel, 0},
    {"UnknownLetterDoesNothing", platform::ui::kIdCancel, 'z', true, platform::ui::kIdCancel, 0},
};

class MnemonicTest : public ::testing::TestWithParam<MnemonicCase> {};

TEST_P(MnemonicTest, ActsAsOnWindows) {
  const MnemonicCase& c = GetParam();
  const DialogTemplate dialogTemplate = MnemonicTemplate();
  class Recording : public Dialog {
   public:
    explicit Recording(const DialogTemplate& t) : Dialog(t, nullptr) {}
    std::vector<int> pressed;

   protected:
    void OnOK() override { pressed.push_back(platform::ui::kIdOk); }
    bool OnCommand(int id, int code) override {
      if (code == notify::kButtonClicked) pressed.push_back(id);
      return true;
    }
  } dialog(dialogTemplate);
  ASSERT_TRUE(dialog.Create());
  dialog.Show(platform::ui::ShowCommand::Normal);
  dialog.BringToForeground();
  dialog.FocusItem(c.focus);
  ASSERT_EQ(dialog.FocusedItem(), c.focus);

  TypeLetter(dialog.Item(c.focus), c.letter, c.alt);
  EXPECT_EQ(dialog.FocusedItem(), c.focusAfter);
  EXPECT_EQ(dialog.pressed, c.command != 0 ? std::vector<int>{c.command} : std::vector<int>{});
  if (c.command == kCheck) {
    EXPECT_TRUE(dialog.IsItemChecked(kCheck));
  }
  if (c.focus == kFolderEdit && !c.alt) {
    EXPECT_EQ(dialog.ItemText(kFolderEdit), std::string(1, c.letter));
  }
  dialog.Destroy();
}

INSTANTIATE_TEST_SUITE_P(Keys, MnemonicTest, ::testing::ValuesIn(kMnemonicCases),
                         [](const ::testing::TestParamInfo<MnemonicCase>& info) { return std::string(info.param.name); });

}  // namespace
