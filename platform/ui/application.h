#pragma once
// The application object of the window framework: it owns the Qt application,
// runs the message loop, and is the one place where an exception that leaves any
// message handler arrives. No exception ever crosses into Qt: every entry from Qt
// into framework or program code (events, signals, paint, posted messages) runs
// through the guard of this object.

#include <exception>
#include <memory>

#include <QRect>

#include "platform/resources/resource_module.h"

class QApplication;

namespace platform::ui {

class Window;

// Where the application's windows go.
enum class DisplayChoice {
  // The display the environment names; the offscreen platform when it names
  // none, so that a program without a display still runs (the tests).
  Environment,
  // Always the offscreen platform, even where a display is named: a run that
  // nobody watches must not depend on (or appear on) a display.
  Offscreen,
};

// True when the environment names a display: DISPLAY, WAYLAND_DISPLAY, or a
// platform in QT_QPA_PLATFORM (as the tests give "offscreen").
bool DisplayNamed();

class Application {
 public:
  // Creates the Qt application on the display that display chooses. The widget
  // style and palette are the classic grey ones of the program's day. argc and
  // argv must outlive the object. Only one Application exists at a time.
  Application(int& argc, char** argv, const ResourceModule& resources,
              DisplayChoice display = DisplayChoice::Environment);
  virtual ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The live application object; null when there is none.
  static Application* Current();

  const ResourceModule& Resources() const;

  // Runs the message loop until Quit is called or the main window is destroyed.
  // Returns the exit code given to Quit (0 when the main window ended the loop).
  int Run();
  // Posts a quit: the loop ends once the messages before it have been handled.
  void Quit(int exitCode = 0);
  bool QuitPosted() const;

  // The main window: destroying it ends the loop. Not owned.
  void SetMainWindow(Window* window);
  Window* MainWindow() const;

  // Whether this application is the active one (one of its windows has the focus).
  bool IsActive() const;
  // The available geometry of the primary screen, in pixels.
  QRect ScreenRect() const;

  // Runs handler under the message-exception guard: an exception it raises goes
  // to OnMessageException and is not passed on. Returns false when it raised.
  // The framework wraps every handler it calls; programs need this only for
  // their own entries from Qt (for example a lambda connected to a Qt signal).
  template <typename Handler>
  bool Guard(Handler&& handler) noexcept {
    try {
      handler();
      return true;
    } catch (...) {
      DeliverMessageException(std::current_exception());
      return false;
    }
  }

 protected:
  // The hook for an exception that left a message handler. The message counts as
  // handled with the result 0 and the loop goes on. Default: writes the
  // exception's text to stderr. Must not throw; what it throws is dropped.
  virtual void OnMessageException(std::exception_ptr error);

 private:
  void DeliverMessageException(std::exception_ptr error) noexcept;

  struct State;
  std::unique_ptr<State> state_;
};

// Handles every pending message of the thread, then returns. A quit met on the
// way is posted again and handling stops, so the loop that called the current
// handler still ends. Long actions call it between their steps.
void PumpMessages();

}  // namespace platform::ui
