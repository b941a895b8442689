#include "platform/ui/dialog.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QEventLoop>
#include <QAbstractItemView>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include "platform/core/exceptions.h"
#include "platform/resources/window_styles.h"
#include "platform/ui/application.h"
#include "platform/ui/detail/bitmap_button.h"
#include "platform/ui/detail/dialog_access.h"
#include "platform/ui/detail/dialog_units.h"
#include "platform/ui/detail/dialog_widget.h"
#include "platform/ui/detail/list_controls.h"
#include "platform/ui/detail/message_loops.h"
#include "platform/ui/detail/static_control.h"
#include "platform/ui/messages.h"
#include "platform/ui/modal_policy.h"
#include "platform/ui/resources_access.h"

namespace platform::ui {

namespace detail {
const ModalObserver& CurrentModalObserver();
}

namespace {

enum class ControlKind {
  PushButton, BitmapButton, CheckBox, RadioButton, GroupBox, Static, Edit, MultiLineEdit, ListBox, ComboBox,
  ScrollBar
};

struct ControlRecord {
  int id = 0;
  ControlKind kind = ControlKind::Static;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  QPointer<QWidget> widget;
  std::shared_ptr<ListBoxDrawer> drawer;
  bool quiet = false;  // a change made by the program, not the user: no notification
};

// Widgets of a dialog are children of its widget, which owns and deletes them.
template <typename T, typename... Args>
T* MakeChild(QWidget* parent, Args&&... args) {
  auto widget = std::make_unique<T>(std::forward<Args>(args)..., parent);
  return widget.release();  // owned by parent
}

QString ToQt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

bool SameClass(std::string_view a, const char* b) {
  const std::string_view other(b);
  return a.size() == other.size() && std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
         });
}

// Multi-line edits keep "\n" inside and show "\r\n" outside, as Windows does.
QString FromWindowsLines(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

std::string ToWindowsLines(const QString& text) {
  QString copy = text;
  copy.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return copy.toStdString();
}

// The text of a button without its mnemonic marks ("&Yes" -> "Yes", "&&" -> "&").
std::string WithoutMnemonics(const std::string& text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    else if (text[i] == '&') continue;
    plain += text[i];
  }
  return plain;
}

std::string OneLine(std::string text) {
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n' || c == '\t') {
      if (!line.empty() && line.back() != ' ') line += ' ';
      continue;
    }
    line += c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

void SetFrame(QFrame* frame, std::uint32_t style, std::uint32_t exStyle) {
  // Dialogs of the 3-D look draw a WS_BORDER of a list or edit as a sunken edge.
  if ((exStyle & WS_EX_CLIENTEDGE) != 0 || (style & WS_BORDER) != 0) {
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(2);
  } else {
    frame->setFrameStyle(QFrame::NoFrame);
  }
}

Qt::ScrollBarPolicy VerticalPolicy(std::uint32_t style, bool alwaysWhenScrolling) {
  if ((style & WS_VSCROLL) == 0) return Qt::ScrollBarAlwaysOff;
  return alwaysWhenScrolling ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded;
}

}  // namespace

// The dialog's state; Dialog::State only gives it the name the header declares.
struct DialogState {
  int templateId = 0;
  const DialogTemplate* dialogTemplate = nullptr;
  Window* owner = nullptr;
  std::vector<std::unique_ptr<ControlRecord>> controls;  // template order
  std::map<int, ControlRecord*> byId;
  detail::DialogBaseUnits baseUnits;
  int defaultButton = 0;
  bool modal = false;
  bool ended = false;
  int result = 0;
  QEventLoop* modalLoop = nullptr;
};

struct Dialog::State : DialogState {};

// --- building -----------------------------------------------------------------

namespace {

class ControlBuilder {
 public:
  ControlBuilder(Dialog& dialog, QWidget* parent, std::shared_ptr<detail::WindowLink> link)
      : dialog_(dialog), parent_(parent), link_(std::move(link)) {}

  std::unique_ptr<ControlRecord> Build(const ControlTemplate& control, const QRect& rect);

 private:
  std::function<void()> Notifier(ControlRecord* record, int code) const;
  QWidget* MakeButton(const ControlTemplate& control, ControlRecord& record);
  QWidget* MakeStatic(const ControlTemplate& control, ControlRecord& record);
  QWidget* MakeEdit(const ControlTemplate& control, ControlRecord& record);
  QWidget* MakeListBox(const ControlTemplate& control, ControlRecord& record);
  QWidget* MakeComboBox(const ControlTemplate& control, ControlRecord& record);

  Dialog& dialog_;
  QWidget* parent_;
  std::shared_ptr<detail::WindowLink> link_;
  QButtonGroup* radioGroup_ = nullptr;
};

std::function<void()> ControlBuilder::Notifier(ControlRecord* record, int code) const {
  // record belongs to the dialog and lives as long as its widget is linked to it.
  auto link = link_;
  const int id = record->id;
  return [link, record, id, code] {
    if (link->window == nullptr || record->quiet) return;
    DialogAccess::Command(*static_cast<Dialog*>(link->window), id, code);
  };
}

QWidget* ControlBuilder::MakeButton(const ControlTemplate& control, ControlRecord& record) {
  const std::uint32_t type = control.style & kButtonTypeMask;
  const QString text = ToQt(control.text);
  QAbstractButton* button = nullptr;
  switch (type) {
    case BS_OWNERDRAW:
      record.kind = ControlKind::BitmapButton;
      button = MakeChild<detail::BitmapButton>(parent_);
      button->setText(text);
      break;
    case BS_CHECKBOX:
    case BS_3STATE:
      record.kind = ControlKind::CheckBox;
      button = MakeChild<detail::ManualCheckBox>(parent_, text);
      static_cast<QCheckBox*>(button)->setTristate(type == BS_3STATE);
      break;
    case BS_AUTOCHECKBOX:
    case BS_AUTO3STATE:
      record.kind = ControlKind::CheckBox;
      button = MakeChild<QCheckBox>(parent_, text);
      static_cast<QCheckBox*>(button)->setTristate(type == BS_AUTO3STATE);
      break;
    case BS_RADIOBUTTON:
      record.kind = ControlKind::RadioButton;
      button = MakeChild<detail::ManualRadioButton>(parent_, text);
      button->setAutoExclusive(false);
      break;
    case BS_AUTORADIOBUTTON:
      record.kind = ControlKind::RadioButton;
      button = MakeChild<QRadioButton>(parent_, text);
      button->setAutoExclusive(false);
      // Automatic radio buttons exclude each other within their group (WS_GROUP starts one).
      if (radioGroup_ == nullptr) {
        radioGroup_ = MakeChild<QButtonGroup>(parent_);
        radioGroup_->setExclusive(true);
      }
      radioGroup_->addButton(button);
      break;
    case BS_GROUPBOX: {
      record.kind = ControlKind::GroupBox;
      auto* group = MakeChild<QGroupBox>(parent_, text);
      group->setFocusPolicy(Qt::NoFocus);
      return group;
    }
    default: {
      record.kind = ControlKind::PushButton;
      auto* push = MakeChild<QPushButton>(parent_, text);
      push->setAutoDefault(false);
      button = push;
      break;
    }
  }
  QObject::connect(button, &QAbstractButton::clicked, button, Notifier(&record, notify::kButtonClicked));
  return button;
}

QWidget* ControlBuilder::MakeStatic(const ControlTemplate& control, ControlRecord& record) {
  record.kind = ControlKind::Static;
  auto* label = MakeChild<detail::StaticControl>(parent_, control.style, control.exStyle);
  const std::uint32_t kind = control.style & kStaticTypeMask;
  if (label->IsTextKind()) {
    label->SetText(ToQt(control.text));
  } else if (kind == SS_BITMAP && !control.text.empty()) {
    // Like Windows, a bitmap static whose bitmap is missing just stays empty.
    const ResourceModule& resources = Application::Current()->Resources();
    if (resources.FindBitmap(control.text) != nullptr) label->SetPicture(LoadBitmapResource(control.text));
  }
  if ((control.style & SS_NOTIFY) != 0) label->SetClickHandler(Notifier(&record, 0));
  return label;
}

QWidget* ControlBuilder::MakeEdit(const ControlTemplate& control, ControlRecord& record) {
  const std::uint32_t style = control.style;
  if ((style & ES_MULTILINE) != 0) {
    record.kind = ControlKind::MultiLineEdit;
    auto* edit = MakeChild<QPlainTextEdit>(parent_);
    edit->setPlainText(FromWindowsLines(ToQt(control.text)));
    edit->setReadOnly((style & ES_READONLY) != 0);
    edit->setVerticalScrollBarPolicy(VerticalPolicy(style, false));
    edit->setHorizontalScrollBarPolicy((style & WS_HSCROLL) != 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    const bool wraps = (style & (ES_AUTOHSCROLL | WS_HSCROLL)) == 0;
    edit->setLineWrapMode(wraps ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    edit->setTabChangesFocus((style & ES_WANTRETURN) == 0);
    // A Windows edit stops tabs every 32 dialog units, eight average
    // characters; Qt's own stops are twice as far apart, and tabbed text such
    // as the summary's would run off to the right.
    edit->setTabStopDistance(8 * detail::BaseUnitsOf(edit->font()).x);
    SetFrame(edit, style, control.exStyle);
    auto notifyUpdate = Notifier(&record, notify::kEditUpdate);
    auto notifyChange = Notifier(&record, notify::kEditChange);
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [notifyUpdate, notifyChange] {
      notifyUpdate();
      notifyChange();
    });
    return edit;
  }
  record.kind = ControlKind::Edit;
  auto* edit = MakeChild<QLineEdit>(parent_);
  QString text = ToQt(control.text);
  if ((style & ES_UPPERCASE) != 0) {
    edit->setValidator(MakeChild<detail::UpperCaseValidator>(edit));
    text = text.toUpper();
  }
  edit->setText(text);
  edit->setReadOnly((style & ES_READONLY) != 0);
  if ((style & ES_PASSWORD) != 0) edit->setEchoMode(QLineEdit::Password);
  if ((style & ES_RIGHT) != 0) {
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  } else if ((style & ES_CENTER) != 0) {
    edit->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  }
  edit->setFrame((style & WS_BORDER) != 0 || (control.exStyle & WS_EX_CLIENTEDGE) != 0);
  auto notifyUpdate = Notifier(&record, notify::kEditUpdate);
  auto notifyChange = Notifier(&record, notify::kEditChange);
  QObject::connect(edit, &QLineEdit::textChanged, edit, [notifyUpdate, notifyChange] {
    notifyUpdate();
    notifyChange();
  });
  return edit;
}

QWidget* ControlBuilder::MakeListBox(const ControlTemplate& control, ControlRecord& record) {
  record.kind = ControlKind::ListBox;
  const std::uint32_t style = control.style;
  auto* list = MakeChild<detail::ListBoxControl>(parent_);
  if ((style & LBS_EXTENDEDSEL) != 0) {
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  } else if ((style & LBS_MULTIPLESEL) != 0) {
    list->setSelectionMode(QAbstractItemView::MultiSelection);
  } else {
    list->setSelectionMode(QAbstractItemView::SingleSelection);
  }
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setVerticalScrollBarPolicy(VerticalPolicy(style, (style & LBS_DISABLENOSCROLL) != 0));
  list->setUniformItemSizes((style & LBS_OWNERDRAWVARIABLE) == 0);
  SetFrame(list, style, control.exStyle);
  if ((style & LBS_NOTIFY) != 0) {
    // Once the selection has moved, as Windows reports it: a press makes the
    // item current before it selects it.
    auto selChange = Notifier(&record, notify::kListSelChange);
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [selChange] { selChange(); });
    auto doubleClick = Notifier(&record, notify::kListDoubleClick);
    QObject::connect(list, &QListWidget::itemDoubleClicked, list, [doubleClick](QListWidgetItem*) { doubleClick(); });
  }
  auto link = link_;
  QPointer<detail::ListBoxControl> guard(list);
  ControlRecord* target = &record;
  list->SetLeftButtonHandler([link, guard, target](const QPoint& point) {
    if (link->window == nullptr || guard.isNull() || !target->drawer) return;
    QListWidgetItem* item = guard->itemAt(point);
    if (item == nullptr) return;
    ListItemPaint paint;
    paint.index = guard->row(item);
    paint.rect = guard->visualItemRect(item);
    paint.selected = item->isSelected();
    paint.focused = guard->currentItem() == item && guard->hasFocus();
    paint.text = item->text().toStdString();
    paint.data = static_cast<std::uintptr_t>(item->data(detail::kItemDataRole).toULongLong());
    auto drawer = target->drawer;
    detail::Dispatch(link->window, [&] { drawer->OnLeftButtonDown(point, paint); });
  });
  list->SetSpaceKeyHandler([link, guard, target] {
    if (link->window == nullptr || guard.isNull() || !target->drawer) return false;
    auto drawer = target->drawer;
    bool taken = false;
    const int index = guard->currentRow();
    detail::Dispatch(link->window, [&] { taken = drawer->OnSpaceKey(index); });
    return taken;
  });
  return list;
}

QWidget* ControlBuilder::MakeComboBox(const ControlTemplate& control, ControlRecord& record) {
  record.kind = ControlKind::ComboBox;
  auto* combo = MakeChild<QComboBox>(parent_);
  const std::uint32_t type = control.style & 0x3u;
  combo->setEditable(type == CBS_DROPDOWN || type == CBS_SIMPLE);
  combo->setInsertPolicy(QComboBox::NoInsert);
  auto selChange = Notifier(&record, notify::kComboSelChange);
  QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [selChange](int) { selChange(); });
  if (combo->lineEdit() != nullptr) {
    auto editChange = Notifier(&record, notify::kComboEditChange);
    QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, combo, [editChange](const QString&) { editChange(); });
  }
  return combo;
}

std::unique_ptr<ControlRecord> ControlBuilder::Build(const ControlTemplate& control, const QRect& rect) {
  auto record = std::make_unique<ControlRecord>();
  record->id = control.id;
  record->style = control.style;
  record->exStyle = control.exStyle;
  if ((control.style & WS_GROUP) != 0) radioGroup_ = nullptr;

  QWidget* widget = nullptr;
  const std::string_view cls = control.windowClass;
  if (SameClass(cls, "BUTTON")) {
    widget = MakeButton(control, *record);
  } else if (SameClass(cls, "STATIC")) {
    widget = MakeStatic(control, *record);
  } else if (SameClass(cls, "EDIT")) {
    widget = MakeEdit(control, *record);
  } else if (SameClass(cls, "LISTBOX")) {
    widget = MakeListBox(control, *record);
  } else if (SameClass(cls, "COMBOBOX")) {
    widget = MakeComboBox(control, *record);
  } else if (SameClass(cls, "SCROLLBAR")) {
    record->kind = ControlKind::ScrollBar;
    widget = MakeChild<QScrollBar>(parent_, (control.style & SBS_VERT) != 0 ? Qt::Vertical : Qt::Horizontal);
  } else {
    throw ResourceException("unknown control class '" + std::string(cls) + "' (control " +
                            std::to_string(control.id) + " of dialog " + std::to_string(dialog_.TemplateId()) +
                            ")");
  }
  record->widget = widget;

  QRect geometry = rect;
  if (record->kind == ControlKind::ComboBox) {
    // The template's height includes the drop-down list; the box itself is one line.
    geometry.setHeight(widget->sizeHint().height());
  } else if (record->kind == ControlKind::Static && (control.style & kStaticTypeMask) == SS_ICON) {
    geometry.setSize(QSize(32, 32));
  } else if (record->kind == ControlKind::Static && (control.style & kStaticTypeMask) == SS_BITMAP) {
    const QPixmap& picture = static_cast<detail::StaticControl*>(widget)->Picture();
    if (!picture.isNull() && (control.style & SS_CENTERIMAGE) == 0) geometry.setSize(picture.size());
  }
  widget->setGeometry(geometry);
  widget->setEnabled((control.style & WS_DISABLED) == 0);
  widget->setVisible((control.style & WS_VISIBLE) != 0);
  if (record->kind == ControlKind::GroupBox) widget->lower();

  if (record->kind != ControlKind::Static && record->kind != ControlKind::GroupBox) {
    widget->setFocusPolicy((control.style & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
  }
  return record;
}

}  // namespace

// --- Dialog -------------------------------------------------------------------

Dialog::Dialog(int templateId, Window* owner) : state_(std::make_unique<State>()) {
  state_->templateId = templateId;
  state_->owner = owner;
}

Dialog::Dialog(const DialogTemplate& dialogTemplate, Window* owner) : state_(std::make_unique<State>()) {
  state_->templateId = dialogTemplate.id;
  state_->dialogTemplate = &dialogTemplate;
  state_->owner = owner;
}

Dialog::~Dialog() = default;

int Dialog::TemplateId() const { return state_->templateId; }
Window* Dialog::Owner() const { return state_->owner; }
bool Dialog::IsModal() const { return state_->modal; }

namespace {

// Builds the dialog's window and controls; false when the template is missing.
bool BuildDialog(Dialog& dialog, DialogState& state, bool modal,
                 const std::function<void(std::unique_ptr<QWidget>)>& attach) {
  if (dialog.IsCreated()) return false;
  const DialogTemplate* tmpl = state.dialogTemplate;
  Application* app = Application::Current();
  if (tmpl == nullptr && app != nullptr) tmpl = app->Resources().FindDialog(state.templateId);
  if (tmpl == nullptr || app == nullptr) return false;
  state.dialogTemplate = tmpl;

  QWidget* ownerWidget = state.owner != nullptr ? state.owner->Widget() : nullptr;
  if (ownerWidget == nullptr && modal && app->MainWindow() != nullptr) ownerWidget = app->MainWindow()->Widget();
  if (ownerWidget != nullptr) ownerWidget = ownerWidget->window();

  auto widget = std::make_unique<detail::DialogWidget>(ownerWidget);
  const QFont font = detail::DialogFont(*tmpl);
  widget->setFont(font);
  state.baseUnits = detail::BaseUnitsOf(font);
  Qt::WindowFlags flags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint;
  if ((tmpl->style & WS_CAPTION) == WS_CAPTION) {
    flags |= Qt::WindowTitleHint;
    if ((tmpl->style & WS_SYSMENU) != 0) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  } else {
    flags |= Qt::FramelessWindowHint;
  }
  widget->setWindowFlags(flags);
  widget->setWindowTitle(ToQt(tmpl->caption));
  const QRect client = detail::DialogUnitsToPixels(QRect(tmpl->x, tmpl->y, tmpl->cx, tmpl->cy), state.baseUnits);
  widget->resize(client.size());
  // The template's position is relative to the owner's client area.
  QPoint origin = ownerWidget != nullptr ? ownerWidget->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
  if ((tmpl->style & DS_ABSALIGN) != 0) origin = QPoint(0, 0);
  widget->move(origin + client.topLeft());
  QWidget* raw = widget.get();
  attach(std::move(widget));

  state.controls.clear();
  state.byId.clear();
  state.defaultButton = 0;
  auto link = dynamic_cast<detail::FrameworkWidget*>(raw)->Link();
  ControlBuilder builder(dialog, raw, link);
  QWidget* previousTabStop = nullptr;
  try {
    for (const ControlTemplate& control : tmpl->controls) {
      const QRect rect = detail::DialogUnitsToPixels(QRect(control.x, control.y, control.cx, control.cy),
                                                     state.baseUnits);
      auto record = builder.Build(control, rect);
      QWidget* controlWidget = record->widget;
      if ((controlWidget->focusPolicy() & Qt::TabFocus) != 0) {
        if (previousTabStop != nullptr) QWidget::setTabOrder(previousTabStop, controlWidget);
        previousTabStop = controlWidget;
      }
      if (record->kind == ControlKind::PushButton && (control.style & kButtonTypeMask) == BS_DEFPUSHBUTTON &&
          state.defaultButton == 0) {
        static_cast<QPushButton*>(controlWidget)->setDefault(true);
        state.defaultButton = control.id;
      }
      if (control.id != -1 && state.byId.count(control.id) == 0) state.byId[control.id] = record.get();
      state.controls.push_back(std::move(record));
    }
  } catch (...) {
    dialog.Destroy();
    throw;
  }
  for (QWidget* child : raw->findChildren<QWidget*>()) child->installEventFilter(raw);
  if ((tmpl->style & DS_CENTER) != 0) {
    const QRect reference = ownerWidget != nullptr ? ownerWidget->frameGeometry() : app->ScreenRect();
    QRect frame = raw->frameGeometry();
    frame.moveCenter(reference.center());
    raw->move(frame.topLeft());
  }
  if ((tmpl->style & WS_DISABLED) != 0) raw->setEnabled(false);
  return true;
}

// The first control that Tab reaches, for the initial focus.
QWidget* FirstTabStop(const DialogState& state) {
  for (const auto& record : state.controls) {
    QWidget* widget = record->widget;
    if (widget != nullptr && (widget->focusPolicy() & Qt::TabFocus) != 0 && !widget->isHidden() &&
        widget->isEnabled()) {
      return widget;
    }
  }
  return nullptr;
}

}  // namespace

bool Dialog::Create() {
  const bool built =
      BuildDialog(*this, *state_, false, [this](std::unique_ptr<QWidget> widget) { AttachWidget(std::move(widget)); });
  if (!built) return false;
  state_->modal = false;
  bool focusFirst = true;
  detail::Dispatch(this, [&] { focusFirst = OnInitDialog(); });
  if (!IsCreated()) return true;
  if (focusFirst) {
    if (QWidget* first = FirstTabStop(*state_)) first->setFocus(Qt::TabFocusReason);
  }
  if ((state_->dialogTemplate->style & WS_VISIBLE) != 0 && !Widget()->isVisible()) Show(ShowCommand::Normal);
  return true;
}

int Dialog::DoModal() {
  const bool built =
      BuildDialog(*this, *state_, true, [this](std::unique_ptr<QWidget> widget) { AttachWidget(std::move(widget)); });
  if (!built) return -1;
  state_->modal = true;
  state_->ended = false;
  state_->result = -1;
  Widget()->setWindowModality(Qt::ApplicationModal);
  bool focusFirst = true;
  detail::Dispatch(this, [&] { focusFirst = OnInitDialog(); });
  if (IsCreated() && !state_->ended && focusFirst) {
    if (QWidget* first = FirstTabStop(*state_)) first->setFocus(Qt::TabFocusReason);
  }

  QPointer<QWidget> previousActive;
  if (IsCreated() && !state_->ended) {
    if (IsUnattended()) {
      // Nobody will answer: the default button answers, and the answer is left on stderr.
      const int answer = state_->defaultButton != 0 ? state_->defaultButton : kIdOk;
      std::string buttonText = HasItem(answer) ? WithoutMnemonics(ItemText(answer)) : std::string("OK");
      std::string message;
      for (const auto& record : state_->controls) {
        if (record->kind != ControlKind::Static || record->widget.isNull()) continue;
        auto* label = static_cast<detail::StaticControl*>(record->widget.data());
        if (label->IsTextKind() && !label->Text().isEmpty()) {
          message = OneLine(label->Text().toStdString());
          break;
        }
      }
      std::fprintf(stderr, "%s: %s: %s -> %s\n", QCoreApplication::applicationName().toUtf8().constData(),
                   Text().c_str(), message.c_str(), buttonText.c_str());
      std::fflush(stderr);
      if (HasItem(answer) && qobject_cast<QAbstractButton*>(Item(answer)) != nullptr) {
        Click(answer);
      } else {
        DialogAccess::Command(*this, answer, notify::kButtonClicked);
      }
      // A handler that keeps the dialog open would wait for nobody.
      if (IsCreated() && !state_->ended) EndDialog(answer);
    } else {
      previousActive = QApplication::activeWindow();
      Show(ShowCommand::Normal);
      // The dialog takes the keyboard, its focused control first: on a display
      // without a window manager showing a window does not activate it.
      BringToForeground();
      if (const ModalObserver& observer = detail::CurrentModalObserver()) {
        ModalObserver copy = observer;
        detail::Dispatch(this, [&] { copy(*this); });
      }
      if (IsCreated() && !state_->ended) {
        QEventLoop loop;
        detail::LoopFrame frame{detail::LoopKind::Modal, &loop, false};
        state_->modalLoop = &loop;
        {
          detail::LoopScope scope(frame);
          // Messages posted before the dialog (from the handler that opened it)
          // are not re-offered by a nested Qt loop until something new is posted.
          QCoreApplication::sendPostedEvents();
          if (!state_->ended) loop.exec();
        }
        state_->modalLoop = nullptr;
        if (frame.quitSeen && !state_->ended) state_->result = -1;
      }
    }
  }
  const int result = state_->result;
  Destroy();
  state_->modal = false;
  // As on Windows, the window that was active before takes the keyboard back.
  if (previousActive != nullptr && previousActive->isVisible()) previousActive->activateWindow();
  return result;
}

void Dialog::EndDialog(int result) {
  if (!state_->modal) {
    Destroy();
    return;
  }
  state_->ended = true;
  state_->result = result;
  if (state_->modalLoop != nullptr) state_->modalLoop->exit(result);
}

// --- controls -----------------------------------------------------------------

namespace {

ControlRecord& Record(const DialogState& state, int id, int templateId) {
  auto it = state.byId.find(id);
  if (it == state.byId.end() || it->second->widget.isNull()) {
    throw ResourceException("dialog " + std::to_string(templateId) + " has no control " + std::to_string(id));
  }
  return *it->second;
}

// Sets record quiet for the lifetime of the object: the change is the program's.
class Quietly {
 public:
  explicit Quietly(ControlRecord& record) : record_(record), was_(record.quiet) { record_.quiet = true; }
  ~Quietly() { record_.quiet = was_; }
  Quietly(const Quietly&) = delete;
  Quietly& operator=(const Quietly&) = delete;

 private:
  ControlRecord& record_;
  bool was_;
};

}  // namespace

bool Dialog::HasItem(int id) const {
  auto it = state_->byId.find(id);
  return it != state_->byId.end() && !it->second->widget.isNull();
}

QWidget* Dialog::Item(int id) const { return Record(*state_, id, state_->templateId).widget; }

std::string Dialog::ItemText(int id) const {
  const ControlRecord& record = Record(*state_, id, state_->templateId);
  QWidget* widget = record.widget;
  switch (record.kind) {
    case ControlKind::Static:
      return static_cast<detail::StaticControl*>(widget)->Text().toStdString();
    case ControlKind::Edit:
      return static_cast<QLineEdit*>(widget)->text().toStdString();
    case ControlKind::MultiLineEdit:
      return ToWindowsLines(static_cast<QPlainTextEdit*>(widget)->toPlainText());
    case ControlKind::ComboBox:
      return static_cast<QComboBox*>(widget)->currentText().toStdString();
    case ControlKind::GroupBox:
      return static_cast<QGroupBox*>(widget)->title().toStdString();
    case ControlKind::ListBox:
    case ControlKind::ScrollBar:
      return {};
    default:
      return static_cast<QAbstractButton*>(widget)->text().toStdString();
  }
}

void Dialog::SetItemText(int id, std::string_view text) {
  ControlRecord& record = Record(*state_, id, state_->templateId);
  QWidget* widget = record.widget;
  const QString value = ToQt(text);
  switch (record.kind) {
    case ControlKind::Static:
      static_cast<detail::StaticControl*>(widget)->SetText(value);
      return;
    case ControlKind::Edit: {
      // Windows notifies a text set by the program like one typed by the user.
      auto* edit = static_cast<QLineEdit*>(widget);
      edit->setText(edit->validator() != nullptr ? value.toUpper() : value);
      return;
    }
    case ControlKind::MultiLineEdit:
      static_cast<QPlainTextEdit*>(widget)->setPlainText(FromWindowsLines(value));
      return;
    case ControlKind::ComboBox: {
      auto* combo = static_cast<QComboBox*>(widget);
      if (combo->isEditable()) combo->setEditText(value);
      return;
    }
    case ControlKind::GroupBox:
      static_cast<QGroupBox*>(widget)->setTitle(value);
      return;
    case ControlKind::ListBox:
    case ControlKind::ScrollBar:
      return;
    default:
      static_cast<QAbstractButton*>(widget)->setText(value);
      widget->update();
      return;
  }
}

int Dialog::ItemInt(int id, bool* ok) const {
  const std::string text = ItemText(id);
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const std::size_t digitsStart = i;
  long long value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i] - '0');
    if (value > 2147483648LL) break;
    ++i;
  }
  const bool valid = i > digitsStart && i == text.size() && value <= (negative ? 2147483648LL : 2147483647LL);
  if (ok != nullptr) *ok = valid;
  if (!valid) return 0;
  return static_cast<int>(negative ? -value : value);
}

void Dialog::SetItemInt(int id, int value) { SetItemText(id, std::to_string(value)); }

void Dialog::EnableItem(int id, bool enable) { Item(id)->setEnabled(enable); }
bool Dialog::IsItemEnabled(int id) const { return Item(id)->isEnabled(); }
void Dialog::ShowItem(int id, bool show) { Item(id)->setVisible(show); }
// The control's own visibility (WS_VISIBLE), also while the dialog is hidden.
bool Dialog::IsItemVisible(int id) const { return !Item(id)->isHidden(); }
void Dialog::FocusItem(int id) { Item(id)->setFocus(Qt::OtherFocusReason); }

int Dialog::FocusedItem() const {
  if (Widget() == nullptr) return 0;
  QWidget* focus = Widget()->focusWidget();
  if (focus == nullptr) return 0;
  for (const auto& record : state_->controls) {
    QWidget* widget = record->widget;
    if (widget != nullptr && (widget == focus || widget->isAncestorOf(focus))) return record->id;
  }
  return 0;
}

void Dialog::SetDefaultButton(int id) {
  if (state_->defaultButton != 0 && HasItem(state_->defaultButton)) {
    if (auto* old = qobject_cast<QPushButton*>(Item(state_->defaultButton))) old->setDefault(false);
  }
  QWidget* widget = Item(id);
  if (auto* push = qobject_cast<QPushButton*>(widget)) push->setDefault(true);
  state_->defaultButton = id;
}

int Dialog::DefaultButton() const { return state_->defaultButton; }

void Dialog::CheckItem(int id, bool checked) {
  ControlRecord& record = Record(*state_, id, state_->templateId);
  if (auto* button = qobject_cast<QAbstractButton*>(record.widget.data())) {
    Quietly quiet(record);
    button->setChecked(checked);
  }
}

bool Dialog::IsItemChecked(int id) const {
  auto* button = qobject_cast<QAbstractButton*>(Item(id));
  return button != nullptr && button->isChecked();
}

void Dialog::Click(int id) {
  if (auto* button = qobject_cast<QAbstractButton*>(Item(id))) button->click();
}

QRect Dialog::ItemRect(int id) const { return Item(id)->geometry(); }

void Dialog::DestroyItem(int id) {
  ControlRecord& record = Record(*state_, id, state_->templateId);
  QWidget* widget = record.widget;
  state_->byId.erase(id);
  widget->hide();
  widget->deleteLater();
}

void Dialog::SetItemFont(int id, const QFont& font) { Item(id)->setFont(font); }

void Dialog::SetItemBackground(int id, const QColor& color) {
  ControlRecord& record = Record(*state_, id, state_->templateId);
  QWidget* widget = record.widget;
  if (record.kind == ControlKind::Static) {
    static_cast<detail::StaticControl*>(widget)->SetBackground(color);
    return;
  }
  QPalette palette = widget->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, color);
    palette.setColor(group, QPalette::Window, color);
  }
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

void Dialog::SetItemIcon(int id, SystemIcon icon) {
  ControlRecord& record = Record(*state_, id, state_->templateId);
  auto* label = dynamic_cast<detail::StaticControl*>(record.widget.data());
  if (label == nullptr) return;
  QStyle::StandardPixmap which = QStyle::SP_MessageBoxInformation;
  switch (icon) {
    case SystemIcon::Information:
      which = QStyle::SP_MessageBoxInformation;
      break;
    case SystemIcon::Warning:
      which = QStyle::SP_MessageBoxWarning;
      break;
    case SystemIcon::Question:
      which = QStyle::SP_MessageBoxQuestion;
      break;
    case SystemIcon::Error:
      which = QStyle::SP_MessageBoxCritical;
      break;
  }
  label->SetPicture(label->style()->standardIcon(which, nullptr, label).pixmap(32, 32));
}

void Dialog::SetItemBitmap(int id, std::string_view name) {
  ControlRecord& record = Record(*state_, id, state_->templateId);
  auto* label = dynamic_cast<detail::StaticControl*>(record.widget.data());
  if (label == nullptr) return;
  const QPixmap picture = LoadBitmapResource(name);
  label->SetPicture(picture);
  if ((record.style & SS_CENTERIMAGE) == 0) label->resize(picture.size());
}

void Dialog::BindBitmapButton(int id, std::string_view baseName) {
  ControlRecord& record = Record(*state_, id, state_->templateId);
  auto* button = dynamic_cast<detail::BitmapButton*>(record.widget.data());
  if (button == nullptr) {
    throw ResourceException("control " + std::to_string(id) + " is not an owner-drawn button");
  }
  const std::string base(baseName);
  const ResourceModule& resources = Application::Current()->Resources();
  auto face = [&](const char* suffix) {
    const std::string name = base + suffix;
    return resources.FindBitmap(name) != nullptr ? LoadBitmapResource(name) : QPixmap();
  };
  detail::ButtonFaces faces;
  faces.up = LoadBitmapResource(base + "U");
  faces.down = face("D");
  faces.focused = face("F");
  faces.disabled = face("X");
  button->Bind(std::move(faces));
}

// --- list boxes and combo boxes ---------------------------------------------------

namespace {

QListWidget* ListOf(const ControlRecord& record) {
  return record.kind == ControlKind::ListBox ? static_cast<QListWidget*>(record.widget.data()) : nullptr;
}

QComboBox* ComboOf(const ControlRecord& record) {
  return record.kind == ControlKind::ComboBox ? static_cast<QComboBox*>(record.widget.data()) : nullptr;
}

ControlRecord& ListRecord(const DialogState& state, int id, int templateId) {
  ControlRecord& record = Record(state, id, templateId);
  if (ListOf(record) == nullptr && ComboOf(record) == nullptr) {
    throw ResourceException("control " + std::to_string(id) + " is not a list box or combo box");
  }
  return record;
}

QStringList TextsOf(const ControlRecord& record) {
  QStringList texts;
  if (QListWidget* list = ListOf(record)) {
    for (int i = 0; i < list->count(); ++i) texts.push_back(list->item(i)->text());
  } else if (QComboBox* combo = ComboOf(record)) {
    for (int i = 0; i < combo->count(); ++i) texts.push_back(combo->itemText(i));
  }
  return texts;
}

}  // namespace

int Dialog::AddListString(int id, std::string_view text) {
  ControlRecord& record = ListRecord(*state_, id, state_->templateId);
  Quietly quiet(record);
  const QString value = ToQt(text);
  if (QListWidget* list = ListOf(record)) {
    const int index = (record.style & LBS_SORT) != 0 ? detail::SortedInsertIndex(TextsOf(record), value)
                                                     : list->count();
    list->insertItem(index, value);
    return index;
  }
  QComboBox* combo = ComboOf(record);
  const int index = (record.style & CBS_SORT) != 0 ? detail::SortedInsertIndex(TextsOf(record), value)
                                                   : combo->count();
  const int selected = combo->currentIndex();
  combo->insertItem(index, value);
  // A combo box of Windows selects nothing by itself.
  if (selected < 0) combo->setCurrentIndex(-1);
  return index;
}

void Dialog::ResetList(int id) {
  ControlRecord& record = ListRecord(*state_, id, state_->templateId);
  Quietly quiet(record);
  if (QListWidget* list = ListOf(record)) {
    list->clear();
  } else {
    ComboOf(record)->clear();
  }
}

int Dialog::ListCount(int id) const {
  const ControlRecord& record = ListRecord(*state_, id, state_->templateId);
  if (QListWidget* list = ListOf(record)) return list->count();
  return ComboOf(record)->count();
}

int Dialog::ListSelection(int id) const {
  const ControlRecord& record = ListRecord(*state_, id, state_->templateId);
  if (QComboBox* combo = ComboOf(record)) return combo->currentIndex();
  QListWidget* list = ListOf(record);
  QListWidgetItem* current = list->currentItem();
  if (current != nullptr && current->isSelected()) return list->row(current);
  const auto selected = list->selectedItems();
  return selected.isEmpty() ? -1 : list->row(selected.front());
}

void Dialog::SetListSelection(int id, int index) {
  ControlRecord& record = ListRecord(*state_, id, state_->templateId);
  Quietly quiet(record);
  if (QComboBox* combo = ComboOf(record)) {
    combo->setCurrentIndex(index < combo->count() ? index : -1);
    return;
  }
  QListWidget* list = ListOf(record);
  if (index < 0 || index >= list->count()) {
    list->clearSelection();
    list->setCurrentRow(-1);
    return;
  }
  list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
  list->scrollToItem(list->item(index));
}

std::string Dialog::ListText(int id, int index) const {
  const ControlRecord& record = ListRecord(*state_, id, state_->templateId);
  const QStringList texts = TextsOf(record);
  if (index < 0 || index >= texts.size()) return {};
  return texts[index].toStdString();
}

int Dialog::FindListString(int id, std::string_view text) const {
  const QStringList texts = TextsOf(ListRecord(*state_, id, state_->templateId));
  const QString value = ToQt(text);
  for (int i = 0; i < texts.size(); ++i) {
    if (QString::compare(texts[i], value, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

void Dialog::SetListItemData(int id, int index, std::uintptr_t data) {
  ControlRecord& record = ListRecord(*state_, id, state_->templateId);
  const QVariant value = QVariant::fromValue<qulonglong>(data);
  if (QListWidget* list = ListOf(record)) {
    if (QListWidgetItem* item = list->item(index)) item->setData(detail::kItemDataRole, value);
  } else if (QComboBox* combo = ComboOf(record); index >= 0 && index < combo->count()) {
    combo->setItemData(index, value, detail::kItemDataRole);
  }
}

std::uintptr_t Dialog::ListItemData(int id, int index) const {
  const ControlRecord& record = ListRecord(*state_, id, state_->templateId);
  QVariant value;
  if (QListWidget* list = ListOf(record)) {
    if (QListWidgetItem* item = list->item(index)) value = item->data(detail::kItemDataRole);
  } else if (QComboBox* combo = ComboOf(record); index >= 0 && index < combo->count()) {
    value = combo->itemData(index, detail::kItemDataRole);
  }
  return static_cast<std::uintptr_t>(value.toULongLong());
}

void Dialog::SetListDrawer(int id, std::unique_ptr<ListBoxDrawer> drawer) {
  ControlRecord& record = Record(*state_, id, state_->templateId);
  QListWidget* list = ListOf(record);
  if (list == nullptr) throw ResourceException("control " + std::to_string(id) + " is not a list box");
  record.drawer = std::shared_ptr<ListBoxDrawer>(std::move(drawer));
  auto* framework = dynamic_cast<detail::FrameworkWidget*>(Widget());
  const bool fixed = (record.style & LBS_OWNERDRAWVARIABLE) == 0;
  auto delegate = std::make_unique<detail::OwnerDrawDelegate>(framework->Link(), record.drawer, fixed, list);
  list->setItemDelegate(delegate.release());  // owned by the list (its Qt parent)
  list->doItemsLayout();
}

void Dialog::RedrawListItem(int id, int index) {
  const ControlRecord& record = ListRecord(*state_, id, state_->templateId);
  if (QListWidget* list = ListOf(record)) {
    if (QListWidgetItem* item = list->item(index)) list->viewport()->update(list->visualItemRect(item));
  }
}

QRect Dialog::ListItemRect(int id, int index) const {
  const ControlRecord& record = ListRecord(*state_, id, state_->templateId);
  if (QListWidget* list = ListOf(record)) {
    if (QListWidgetItem* item = list->item(index)) return list->visualItemRect(item);
  }
  return {};
}

QRect Dialog::MapDialogRect(const QRect& dialogUnits) const {
  return detail::DialogUnitsToPixels(dialogUnits, state_->baseUnits);
}

bool Dialog::OnInitDialog() { return true; }
void Dialog::OnOK() { EndDialog(kIdOk); }
void Dialog::OnCancel() { EndDialog(kIdCancel); }
bool Dialog::OnCommand(int, int) { return false; }

void ListBoxDrawer::OnLeftButtonDown(const QPoint&, const ListItemPaint&) {}

bool ListBoxDrawer::OnSpaceKey(int) { return false; }

// --- DialogAccess -------------------------------------------------------------

void DialogAccess::Command(Dialog& dialog, int id, int notifyCode) {
  detail::Dispatch(&dialog, [&] {
    if (id == kIdOk && notifyCode == notify::kButtonClicked) {
      dialog.OnOK();
    } else if (id == kIdCancel && notifyCode == notify::kButtonClicked) {
      dialog.OnCancel();
    } else {
      dialog.OnCommand(id, notifyCode);
    }
  });
}

void DialogAccess::Key(Dialog& dialog, int qtKey) {
  if (qtKey == Qt::Key_Escape) {
    // Escape cancels even when control 2 is hidden, disabled or absent.
    Command(dialog, kIdCancel, notify::kButtonClicked);
    return;
  }
  // Enter presses the focused push button, else the default one, else control 1.
  const int focused = dialog.FocusedItem();
  int target = 0;
  if (focused != 0 && qobject_cast<QPushButton*>(dialog.Item(focused)) != nullptr) target = focused;
  if (target == 0) target = dialog.DefaultButton() != 0 ? dialog.DefaultButton() : kIdOk;
  if (dialog.HasItem(target) && qobject_cast<QAbstractButton*>(dialog.Item(target)) != nullptr) {
    dialog.Click(target);
  } else {
    Command(dialog, target, notify::kButtonClicked);
  }
}

namespace {

// The letter a caption marks with '&' ("&Next" -> N, "&&" is a plain '&'), in
// upper case; null when there is none.
QChar MnemonicOf(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != QLatin1Char('&')) continue;
    if (caption[i + 1] == QLatin1Char('&')) {
      ++i;
      continue;
    }
    return caption[i + 1].toUpper();
  }
  return QChar();
}

// Controls that take typed characters for themselves (an edit, a list's
// incremental search): a plain letter typed there is theirs, not a mnemonic.
bool TakesCharacters(const QWidget* widget) {
  return qobject_cast<const QLineEdit*>(widget) != nullptr || qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
         qobject_cast<const QAbstractItemView*>(widget) != nullptr || qobject_cast<const QComboBox*>(widget) != nullptr;
}

bool Reachable(const QWidget* widget) { return widget != nullptr && !widget->isHidden() && widget->isEnabled(); }

}  // namespace

bool DialogAccess::Mnemonic(Dialog& dialog, QChar letter, bool withAlt) {
  if (dialog.Widget() == nullptr) return false;
  if (!withAlt) {
    for (const QWidget* focus = dialog.Widget()->focusWidget(); focus != nullptr; focus = focus->parentWidget()) {
      if (TakesCharacters(focus)) return false;
      if (focus == dialog.Widget()) break;
    }
  }
  const QChar wanted = letter.toUpper();
  const auto& controls = dialog.state_->controls;
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const ControlRecord& record = *controls[i];
    QWidget* widget = record.widget;
    if (!Reachable(widget)) continue;
    QString caption;
    const bool label = record.kind == ControlKind::Static || record.kind == ControlKind::GroupBox;
    if (record.kind == ControlKind::Static) {
      auto* text = static_cast<detail::StaticControl*>(widget);
      if (!text->IsTextKind() || (record.style & SS_NOPREFIX) != 0) continue;
      caption = text->Text();
    } else if (record.kind == ControlKind::GroupBox) {
      caption = static_cast<QGroupBox*>(widget)->title();
    } else if (record.kind == ControlKind::PushButton || record.kind == ControlKind::CheckBox ||
               record.kind == ControlKind::RadioButton) {
      caption = static_cast<QAbstractButton*>(widget)->text();
    } else {
      continue;
    }
    if (MnemonicOf(caption) != wanted) continue;
    if (label) {
      // A label names the control after it: the next one Tab reaches.
      for (std::size_t j = i + 1; j < controls.size(); ++j) {
        QWidget* next = controls[j]->widget;
        if (Reachable(next) && (next->focusPolicy() & Qt::TabFocus) != 0) {
          next->setFocus(Qt::ShortcutFocusReason);
          return true;
        }
      }
      return true;
    }
    if (record.kind != ControlKind::PushButton) widget->setFocus(Qt::ShortcutFocusReason);
    static_cast<QAbstractButton*>(widget)->click();
    return true;
  }
  return false;
}

}  // namespace platform::ui
