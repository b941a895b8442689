#include "platform/ui/message_box.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QFontMetrics>

#include "platform/resources/window_styles.h"
#include "platform/ui/application.h"
#include "platform/ui/detail/dialog_units.h"
#include "platform/ui/messages.h"
#include "platform/ui/placement.h"

namespace platform::ui {

namespace {

// Layout in dialog units.
constexpr int kMargin = 7;
constexpr int kIconSize = 21;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 4;
constexpr int kMinimumWidth = 100;

struct ButtonSpec {
  int id;
  const char* text;
};

std::vector<ButtonSpec> ButtonsOf(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return {{kIdOk, "OK"}};
    case MessageButtons::OkCancel:
      return {{kIdOk, "OK"}, {kIdCancel, "Cancel"}};
    case MessageButtons::YesNo:
      return {{kIdYes, "&Yes"}, {kIdNo, "&No"}};
    case MessageButtons::YesNoCancel:
      return {{kIdYes, "&Yes"}, {kIdNo, "&No"}, {kIdCancel, "Cancel"}};
  }
  return {{kIdOk, "OK"}};
}

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

// The in-memory template of one message box; it must exist before the Dialog
// that reads it, hence a base class listed first.
class MessageBoxLayout {
 protected:
  MessageBoxLayout(std::string_view text, std::string_view title, MessageButtons buttons,
                   std::optional<SystemIcon> icon, int defaultButton)
      : text_(text), title_(title), buttons_(ButtonsOf(buttons)) {
    const bool known = std::any_of(buttons_.begin(), buttons_.end(), [&](const auto& b) { return b.id == defaultButton; });
    defaultButton_ = known ? defaultButton : buttons_.front().id;

    QFont font(QString::fromLatin1(kFontFace));
    font.setPointSize(kFontPoints);
    const detail::DialogBaseUnits base = detail::BaseUnitsOf(font);
    // Sized to the text like Windows: lines at most about two thirds of the screen wide.
    const Application* app = Application::Current();
    const int screenWidth = app != nullptr ? app->ScreenRect().width() : 800;
    const int textLeft = icon ? kMargin + kIconSize + kMargin : kMargin;
    const int maxTextPixels = std::max(100, screenWidth * 2 / 3 - textLeft * base.x / 4 - kMargin * base.x / 4);
    const QRect measured = QFontMetrics(font).boundingRect(
        QRect(0, 0, maxTextPixels, 100000), Qt::TextWordWrap | Qt::TextExpandTabs, QString::fromStdString(text_));
    const int textWidth = CeilDiv(measured.width() * 4, base.x) + 2;
    const int textHeight = CeilDiv(measured.height() * 8, base.y);
    const int contentHeight = std::max(textHeight, icon ? kIconSize : 0);
    const int textTop = kMargin + (contentHeight - textHeight) / 2;

    const int count = static_cast<int>(buttons_.size());
    const int buttonsWidth = count * kButtonWidth + (count - 1) * kButtonGap;
    const int width = std::max({textLeft + textWidth + kMargin, buttonsWidth + 2 * kMargin, kMinimumWidth});
    const int buttonsTop = kMargin + contentHeight + kMargin;
    const int height = buttonsTop + kButtonHeight + kMargin;

    if (icon) {
      controls_.push_back(ControlTemplate{kMessageBoxIconId, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 0,
                                          kMargin, kMargin + (contentHeight - kIconSize) / 2, kIconSize, kIconSize});
    }
    controls_.push_back(ControlTemplate{kMessageBoxTextId, "STATIC", text_,
                                        WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_NOPREFIX, 0, textLeft,
                                        textTop, textWidth, textHeight});
    int x = (width - buttonsWidth) / 2;
    for (const ButtonSpec& button : buttons_) {
      const std::uint32_t kind = button.id == defaultButton_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      std::uint32_t style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind;
      if (&button == &buttons_.front()) style |= WS_GROUP;
      controls_.push_back(ControlTemplate{button.id, "BUTTON", button.text, style, 0, x, buttonsTop, kButtonWidth,
                                          kButtonHeight});
      x += kButtonWidth + kButtonGap;
    }

    template_.id = 0;
    template_.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    template_.cx = width;
    template_.cy = height;
    template_.caption = title_;
    template_.fontFace = kFontFace;
    template_.fontPointSize = kFontPoints;
    template_.controls = controls_;
  }

  static constexpr const char* kFontFace = "MS Sans Serif";
  static constexpr int kFontPoints = 8;

  std::string text_;
  std::string title_;
  std::vector<ButtonSpec> buttons_;
  std::vector<ControlTemplate> controls_;
  DialogTemplate template_;
  int defaultButton_ = kIdOk;
};

class MessageBoxDialog : private MessageBoxLayout, public Dialog {
 public:
  MessageBoxDialog(Window* owner, std::string_view text, std::string_view title, MessageButtons buttons,
                   std::optional<SystemIcon> icon, int defaultButton)
      : MessageBoxLayout(text, title, buttons, icon, defaultButton),
        Dialog(template_, owner),
        buttonsKind_(buttons),
        icon_(icon) {}

 protected:
  bool OnInitDialog() override {
    if (icon_) SetItemIcon(kMessageBoxIconId, *icon_);
    CenterWindow(*this, Owner());
    FocusItem(defaultButton_);
    return false;
  }

  bool OnCommand(int id, int notifyCode) override {
    if (notifyCode != notify::kButtonClicked) return false;
    EndDialog(id);
    return true;
  }

  // Escape and the close box: Cancel where there is one, No for Yes/No, else OK.
  void OnCancel() override {
    switch (buttonsKind_) {
      case MessageButtons::OkCancel:
      case MessageButtons::YesNoCancel:
        EndDialog(kIdCancel);
        return;
      case MessageButtons::YesNo:
        EndDialog(kIdNo);
        return;
      case MessageButtons::Ok:
        EndDialog(kIdOk);
        return;
    }
  }

 private:
  MessageButtons buttonsKind_;
  std::optional<SystemIcon> icon_;
};

}  // namespace

int MessageBox(Window* owner, std::string_view text, std::string_view title, MessageButtons buttons,
               std::optional<SystemIcon> icon, int defaultButton) {
  MessageBoxDialog box(owner, text, title, buttons, icon, defaultButton);
  return box.DoModal();
}

}  // namespace platform::ui
