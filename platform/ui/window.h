#pragma once
// Windows of the framework: the base class with posted private messages, its own
// painting and the destroy hooks; the frame window (a top-level window that
// paints itself); and the child window placed inside another window.
//
// A Window object owns its Qt widget. Destroy() closes the window (and every
// window it owns) but leaves the object alive; destroying the object destroys its
// window. A window handed to KeepUntilDestroyed is owned by the framework and
// deleted once its window has been destroyed, never while one of its own
// handlers is running.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <QRect>

class QPainter;
class QWidget;

namespace platform::ui {

enum class ShowCommand { Hide, Normal, NoActivate, Maximized, Minimized };

class Window {
 public:
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The framework owns window from now on and deletes it after its window has
  // been destroyed (see OnPostDestroy). Returns the window.
  static Window* KeepUntilDestroyed(std::unique_ptr<Window> window);

  // The framework window whose top-level widget holds widget (a control's
  // dialog, for example); null when widget is none of the framework's.
  static Window* OfWidget(const QWidget* widget);

  // Null before the window is created and after it is destroyed.
  QWidget* Widget() const;
  bool IsCreated() const;

  // Queues a private message for this window. It reaches OnMessage after the
  // events already pending, and after every message posted before it, never from
  // inside the call. Dropped when the window is destroyed first.
  void PostMessage(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  // Calls OnMessage at once and returns its result.
  std::intptr_t SendMessage(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

  // Destroys the window and the windows it owns: OnDestroy runs first, then the
  // widget goes, then OnPostDestroy. Nothing happens when there is no window.
  void Destroy();

  void Show(ShowCommand command);
  bool IsVisible() const;
  void SetText(std::string_view text);  // the caption
  std::string Text() const;
  void Enable(bool enable);
  bool IsEnabled() const;
  void SetFocus();
  void BringToForeground();

  // Top-level windows: frame rectangle in screen coordinates. Child windows: in
  // the parent's client coordinates.
  QRect Rect() const;
  void Move(const QRect& rect);
  QRect ClientRect() const;  // origin 0,0

  // Marks the whole window for painting; it is painted when messages are handled.
  void Invalidate();
  // Paints the window at once if anything is marked.
  void UpdateNow();

 protected:
  // Private messages (posted or sent). Default: 0.
  virtual std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
  // The window's own painting: called with a painter on the whole client area.
  // Default: nothing. A dialog's background is filled before, and its controls
  // are painted over it.
  virtual void OnPaint(QPainter& painter);
  // This application became active (true) or another one did (false).
  virtual void OnActivateApp(bool active);
  // The user asked to close the window (system menu, window manager). Default:
  // Destroy().
  virtual void OnClose();
  // Just before the window goes.
  virtual void OnDestroy();
  // After the window has gone. A window kept by KeepUntilDestroyed is deleted
  // after this returns.
  virtual void OnPostDestroy();

  // For subclasses that build their widget: takes ownership and connects the
  // framework's handlers. widget must be one of the framework's window widgets
  // (see detail/window_widget.h).
  void AttachWidget(std::unique_ptr<QWidget> widget);

 private:
  friend class WindowAccess;
  struct State;
  std::unique_ptr<State> state_;
};

// A top-level window that paints itself, such as the full-screen background.
class FrameWindow : public Window {
 public:
  // Creates the window with the caption and the WS_* style (WS_MAXIMIZE and
  // WS_MINIMIZE are honoured by the first Show). Returns false when it cannot
  // be created. The window has no background of its own: OnPaint covers it.
  bool Create(std::string_view caption, std::uint32_t style);
};

// A child window inside parent at rect (parent client coordinates), with a
// control id. WS_BORDER gives it a one-pixel black border around its client area.
class ChildWindow : public Window {
 public:
  bool Create(Window& parent, int controlId, const QRect& rect, std::uint32_t style);
  int ControlId() const;

 private:
  int controlId_ = 0;
};

}  // namespace platform::ui
