#include "platform/ui/window.h"

#include <algorithm>
#include <stdexcept>

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include "platform/resources/window_styles.h"
#include "platform/ui/application.h"
#include "platform/ui/detail/window_access.h"
#include "platform/ui/detail/window_widget.h"

namespace platform::ui {

using detail::WindowLife;
using detail::WindowLink;

struct Window::State {
  QWidget* widget = nullptr;  // ours; deleted from the event loop once let go
  std::shared_ptr<WindowLink> link;  // tie to the current widget
  std::shared_ptr<WindowLife> life = std::make_shared<WindowLife>();
  QMetaObject::Connection widgetDestroyed;
  std::uint32_t style = 0;
  int border = 0;
  bool shownOnce = false;
  bool destroying = false;
};

namespace {

std::vector<Window*>& LiveWindowList() {
  static std::vector<Window*> windows;
  return windows;
}

// Windows handed to KeepUntilDestroyed.
std::vector<std::unique_ptr<Window>>& KeptWindows() {
  static std::vector<std::unique_ptr<Window>> windows;
  return windows;
}

bool IsKept(const Window* window) {
  const auto& kept = KeptWindows();
  return std::any_of(kept.begin(), kept.end(), [&](const auto& owned) { return owned.get() == window; });
}

void ScheduleDeleteIfIdle(const std::shared_ptr<WindowLife>& life) {
  if (QCoreApplication::instance() == nullptr) return;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(), [life] { WindowAccess::DeleteIfIdle(*life); }, Qt::QueuedConnection);
}

// The framework windows among widget's descendants (children and owned dialogs).
std::vector<Window*> WindowsBelow(QWidget* widget) {
  std::vector<Window*> windows;
  for (QWidget* child : widget->findChildren<QWidget*>()) {
    if (auto* framework = dynamic_cast<detail::FrameworkWidget*>(child)) {
      if (Window* window = framework->LinkedWindow()) windows.push_back(window);
    }
  }
  return windows;
}

// The main window has gone: the loop ends, as on Windows when the main window's
// last message has been handled.
void EndLoopIfMainWindow(Window* window) {
  Application* app = Application::Current();
  if (app == nullptr || app->MainWindow() != window) return;
  app->SetMainWindow(nullptr);
  if (!app->QuitPosted()) app->Quit(0);
}

}  // namespace

namespace detail {

HandlerScope::HandlerScope(Window* window) {
  if (window != nullptr) {
    life_ = WindowAccess::Life(*window);
    ++life_->runningHandlers;
  }
}

HandlerScope::~HandlerScope() {
  if (!life_) return;
  if (--life_->runningHandlers == 0 && life_->deleteWhenIdle && life_->window != nullptr) {
    ScheduleDeleteIfIdle(life_);
  }
}

}  // namespace detail

// --- WindowAccess -------------------------------------------------------------

std::shared_ptr<WindowLife> WindowAccess::Life(Window& window) { return window.state_->life; }

std::intptr_t WindowAccess::Message(Window& window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  return window.OnMessage(message, wParam, lParam);
}

void WindowAccess::Paint(Window& window, QPainter& painter) {
  const int border = window.state_->border;
  if (border > 0 && window.state_->widget != nullptr) {
    const QRect outer = window.state_->widget->rect();
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(outer.adjusted(0, 0, -1, -1));
    painter.translate(border, border);
    painter.setClipRect(window.ClientRect());
  }
  window.OnPaint(painter);
}

void WindowAccess::Close(Window& window) { window.OnClose(); }

void WindowAccess::ActivateApp(Window& window, bool active) { window.OnActivateApp(active); }

void WindowAccess::SetStyle(Window& window, std::uint32_t style) { window.state_->style = style; }
std::uint32_t WindowAccess::Style(const Window& window) { return window.state_->style; }
void WindowAccess::SetBorder(Window& window, int border) { window.state_->border = border; }

std::vector<Window*> WindowAccess::LiveWindows() { return LiveWindowList(); }

void WindowAccess::WidgetGone(Window& window) {
  // Qt deleted the widget itself (its parent went without Destroy): forget it and
  // tell the window from the next turn of the loop, outside Qt's destructor.
  Window::State& state = *window.state_;
  state.widget = nullptr;
  if (state.link) state.link->window = nullptr;
  state.link.reset();
  QObject::disconnect(state.widgetDestroyed);
  auto& live = LiveWindowList();
  live.erase(std::remove(live.begin(), live.end(), &window), live.end());
  auto life = state.life;
  if (QCoreApplication::instance() == nullptr) return;
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [life] {
        if (life->window == nullptr) return;
        detail::Dispatch(life->window, [&] { life->window->OnPostDestroy(); });
        if (life->window != nullptr && IsKept(life->window)) {
          life->deleteWhenIdle = true;
          if (life->runningHandlers == 0) DeleteIfIdle(*life);
        }
        EndLoopIfMainWindow(life->window);
      },
      Qt::QueuedConnection);
}

void WindowAccess::DeleteIfIdle(WindowLife& life) {
  if (life.window == nullptr || life.runningHandlers != 0 || !life.deleteWhenIdle) return;
  auto& kept = KeptWindows();
  auto it = std::find_if(kept.begin(), kept.end(), [&](const auto& owned) { return owned.get() == life.window; });
  if (it == kept.end()) return;
  std::unique_ptr<Window> doomed = std::move(*it);
  kept.erase(it);
  doomed.reset();
}

void WindowAccess::ShutDown() {
  // Top-level windows first: each takes the windows it owns with it.
  for (bool again = true; again;) {
    again = false;
    for (Window* window : LiveWindowList()) {
      if (window->state_->widget != nullptr && window->state_->widget->isWindow() &&
          window->state_->widget->parentWidget() == nullptr) {
        window->Destroy();
        again = true;
        break;
      }
    }
  }
  while (!LiveWindowList().empty()) LiveWindowList().front()->Destroy();
  auto kept = std::move(KeptWindows());
  KeptWindows().clear();
  kept.clear();
}

// --- Window -------------------------------------------------------------------

Window::Window() : state_(std::make_unique<State>()) { state_->life->window = this; }

Window::~Window() {
  state_->life->window = nullptr;
  if (state_->widget != nullptr) {
    // The windows this one owns are destroyed properly: their objects live on.
    for (Window* owned : WindowsBelow(state_->widget)) owned->Destroy();
    QWidget* widget = state_->widget;
    state_->widget = nullptr;
    state_->link->window = nullptr;
    QObject::disconnect(state_->widgetDestroyed);
    auto& live = LiveWindowList();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    widget->hide();
    widget->deleteLater();
  }
  EndLoopIfMainWindow(this);
}

Window* Window::KeepUntilDestroyed(std::unique_ptr<Window> window) {
  Window* raw = window.get();
  if (raw == nullptr) return nullptr;
  KeptWindows().push_back(std::move(window));
  return raw;
}

Window* Window::OfWidget(const QWidget* widget) {
  if (widget == nullptr) return nullptr;
  const auto* framework = dynamic_cast<const detail::FrameworkWidget*>(widget->window());
  return framework != nullptr ? framework->LinkedWindow() : nullptr;
}

QWidget* Window::Widget() const { return state_->widget; }
bool Window::IsCreated() const { return state_->widget != nullptr; }

void Window::AttachWidget(std::unique_ptr<QWidget> widget) {
  if (state_->widget != nullptr) throw std::logic_error("the window already has a widget");
  auto* framework = dynamic_cast<detail::FrameworkWidget*>(widget.get());
  if (framework == nullptr) throw std::invalid_argument("not a framework window widget");
  auto link = std::make_shared<WindowLink>();
  link->window = this;
  framework->SetLink(link);
  state_->link = link;
  state_->shownOnce = false;
  // From here the window owns the widget; Destroy (or the owner's Qt parent) deletes it.
  state_->widget = widget.release();
  state_->widgetDestroyed = QObject::connect(state_->widget, &QObject::destroyed, [link] {
    if (link->window != nullptr) WindowAccess::WidgetGone(*link->window);
  });
  LiveWindowList().push_back(this);
}

void Window::PostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (state_->widget == nullptr) return;
  // Qt takes ownership of a posted event.
  auto event = std::make_unique<detail::PostedMessageEvent>(message, wParam, lParam);
  QCoreApplication::postEvent(state_->widget, event.release());
}

std::intptr_t Window::SendMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  detail::HandlerScope scope(this);
  return OnMessage(message, wParam, lParam);
}

void Window::Destroy() {
  if (state_->widget == nullptr || state_->destroying) return;
  state_->destroying = true;
  QWidget* widget = state_->widget;

  // This window first, then the windows below it; every one stays alive (and is
  // not deleted by the framework) until the last hook has run.
  std::vector<std::shared_ptr<WindowLife>> lives{state_->life};
  for (Window* below : WindowsBelow(widget)) {
    below->state_->destroying = true;
    lives.push_back(below->state_->life);
  }
  std::vector<std::unique_ptr<detail::HandlerScope>> scopes;
  for (const auto& life : lives) scopes.push_back(std::make_unique<detail::HandlerScope>(life->window));

  for (const auto& life : lives) {
    if (Window* window = life->window) detail::Dispatch(window, [&] { window->OnDestroy(); });
  }
  for (const auto& life : lives) {
    Window* window = life->window;
    if (window == nullptr || window->state_->widget == nullptr) continue;
    State& state = *window->state_;
    state.link->window = nullptr;
    state.link.reset();
    QObject::disconnect(state.widgetDestroyed);
    state.widget = nullptr;
    auto& live = LiveWindowList();
    live.erase(std::remove(live.begin(), live.end(), window), live.end());
  }
  // Deleted from the event loop: this call may come from one of the widget's
  // own signals (a button's click).
  widget->hide();
  widget->deleteLater();

  for (auto it = lives.rbegin(); it != lives.rend(); ++it) {
    Window* window = (*it)->window;
    if (window == nullptr) continue;
    window->state_->destroying = false;
    detail::Dispatch(window, [&] { window->OnPostDestroy(); });
    if ((*it)->window != nullptr && IsKept(window)) (*it)->deleteWhenIdle = true;
    if ((*it)->window != nullptr) EndLoopIfMainWindow(window);
  }
  scopes.clear();  // a kept window with no running handler is deleted from the loop
}

void Window::Show(ShowCommand command) {
  QWidget* widget = state_->widget;
  if (widget == nullptr) return;
  const bool first = !state_->shownOnce;
  if (command != ShowCommand::Hide) state_->shownOnce = true;
  switch (command) {
    case ShowCommand::Hide:
      widget->hide();
      return;
    case ShowCommand::Normal:
    case ShowCommand::NoActivate:
      widget->setAttribute(Qt::WA_ShowWithoutActivating, command == ShowCommand::NoActivate);
      if (first && (state_->style & WS_MAXIMIZE) != 0) {
        widget->showMaximized();
      } else if (first && (state_->style & WS_MINIMIZE) != 0) {
        widget->showMinimized();
      } else {
        widget->show();
      }
      return;
    case ShowCommand::Maximized:
      widget->showMaximized();
      return;
    case ShowCommand::Minimized:
      widget->showMinimized();
      return;
  }
}

bool Window::IsVisible() const { return state_->widget != nullptr && state_->widget->isVisible(); }

void Window::SetText(std::string_view text) {
  if (state_->widget != nullptr) {
    state_->widget->setWindowTitle(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
}

std::string Window::Text() const {
  return state_->widget != nullptr ? state_->widget->windowTitle().toStdString() : std::string();
}

void Window::Enable(bool enable) {
  if (state_->widget != nullptr) state_->widget->setEnabled(enable);
}

bool Window::IsEnabled() const { return state_->widget != nullptr && state_->widget->isEnabled(); }

void Window::SetFocus() {
  if (state_->widget == nullptr) return;
  if (state_->widget->isWindow()) state_->widget->activateWindow();
  state_->widget->setFocus(Qt::OtherFocusReason);
}

void Window::BringToForeground() {
  if (state_->widget == nullptr) return;
  // The offscreen platform has no stacking to change (and says so on every call).
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) state_->widget->raise();
  state_->widget->activateWindow();
}

QRect Window::Rect() const {
  const QWidget* widget = state_->widget;
  if (widget == nullptr) return {};
  return widget->isWindow() ? widget->frameGeometry() : widget->geometry();
}

void Window::Move(const QRect& rect) {
  QWidget* widget = state_->widget;
  if (widget == nullptr) return;
  if (!widget->isWindow()) {
    widget->setGeometry(rect);
    return;
  }
  // rect is the frame; the widget's own size is the client area inside it.
  const QSize frameExtra = widget->frameGeometry().size() - widget->geometry().size();
  widget->move(rect.topLeft());
  widget->resize((rect.size() - frameExtra).expandedTo(QSize(0, 0)));
}

QRect Window::ClientRect() const {
  if (state_->widget == nullptr) return {};
  const int border = state_->border;
  const QSize size = state_->widget->size();
  return QRect(0, 0, std::max(0, size.width() - 2 * border), std::max(0, size.height() - 2 * border));
}

void Window::Invalidate() {
  if (state_->widget != nullptr) state_->widget->update();
}

void Window::UpdateNow() {
  if (state_->widget != nullptr) state_->widget->repaint();
}

std::intptr_t Window::OnMessage(unsigned, std::uintptr_t, std::intptr_t) { return 0; }
void Window::OnPaint(QPainter&) {}
void Window::OnActivateApp(bool) {}
void Window::OnClose() { Destroy(); }
void Window::OnDestroy() {}
void Window::OnPostDestroy() {}

// --- FrameWindow, ChildWindow -------------------------------------------------

bool FrameWindow::Create(std::string_view caption, std::uint32_t style) {
  if (IsCreated() || QApplication::instance() == nullptr) return false;
  auto widget = std::make_unique<detail::WindowWidget>();
  // An overlapped window (neither popup nor child) always has a caption, as
  // Windows gives it one whatever the style says; a popup only with WS_CAPTION.
  const bool overlapped = (style & (WS_POPUP | WS_CHILD)) == 0;
  if (overlapped || (style & WS_CAPTION) == WS_CAPTION) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if ((style & WS_SYSMENU) != 0) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if ((style & WS_MINIMIZEBOX) != 0) flags |= Qt::WindowMinimizeButtonHint;
    if ((style & WS_MAXIMIZEBOX) != 0) flags |= Qt::WindowMaximizeButtonHint;
    widget->setWindowFlags(flags);
  } else {
    widget->setWindowFlag(Qt::FramelessWindowHint);
  }
  WindowAccess::SetStyle(*this, style);
  AttachWidget(std::move(widget));
  SetText(caption);
  if ((style & WS_DISABLED) != 0) Enable(false);
  if ((style & WS_VISIBLE) != 0) Show(ShowCommand::Normal);
  return true;
}

bool ChildWindow::Create(Window& parent, int controlId, const QRect& rect, std::uint32_t style) {
  if (IsCreated() || parent.Widget() == nullptr) return false;
  // Qt parent ownership: the parent's widget holds the child until Destroy.
  auto widget = std::make_unique<detail::WindowWidget>(parent.Widget());
  widget->setGeometry(rect);
  widget->hide();
  controlId_ = controlId;
  WindowAccess::SetStyle(*this, style);
  WindowAccess::SetBorder(*this, (style & WS_BORDER) != 0 ? 1 : 0);
  AttachWidget(std::move(widget));
  if ((style & WS_DISABLED) != 0) Enable(false);
  if ((style & WS_VISIBLE) != 0) Show(ShowCommand::Normal);
  return true;
}

int ChildWindow::ControlId() const { return controlId_; }

}  // namespace platform::ui
