#include "platform/ui/application.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>
#include <stdexcept>

#include "platform/ui/detail/message_loops.h"
#include "platform/ui/detail/window_access.h"
#include "platform/ui/window.h"

namespace platform::ui {

namespace {

Application* g_current = nullptr;

constexpr const char* kSizeHintsNoise = "This plugin does not support propagateSizeHints()";

QtMessageHandler g_previousHandler = nullptr;

// Passes every Qt message on except the offscreen plugin's harmless complaint.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String(kSizeHintsNoise))) return;
  if (g_previousHandler != nullptr) {
    g_previousHandler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

bool EnvironmentEmpty(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr || *value == '\0';
}

// The offscreen platform's screen: 800x600 at 96 dpi, the program's classic
// display, unless the caller gave a configuration of its own.
class PlatformChoice {
 public:
  explicit PlatformChoice(DisplayChoice display) {
    const char* current = std::getenv("QT_QPA_PLATFORM");
    hadValue_ = current != nullptr;
    if (hadValue_) previous_ = current;
    const bool noDisplay = EnvironmentEmpty("DISPLAY") && EnvironmentEmpty("WAYLAND_DISPLAY");
    const bool givenOffscreen = previous_.rfind("offscreen", 0) == 0;
    std::string platform;
    if (display == DisplayChoice::Offscreen && !givenOffscreen) {
      platform = "offscreen";
    } else if (!hadValue_ || previous_.empty()) {
      if (!noDisplay) return;
      platform = "offscreen";
    } else {
      platform = previous_;
    }
    if (platform.rfind("offscreen", 0) != 0 || platform.find("configfile=") != std::string::npos) {
      if (platform != previous_) Set(platform);
      return;
    }
    const std::string config = WriteScreenConfig();
    if (!config.empty()) platform += ":configfile=" + config;
    Set(platform);
  }

  // The Qt application has read the environment: restore it for child processes.
  void Restore() {
    if (!changed_) return;
    if (hadValue_) {
      setenv("QT_QPA_PLATFORM", previous_.c_str(), 1);
    } else {
      unsetenv("QT_QPA_PLATFORM");
    }
    if (!configFile_.empty()) std::remove(configFile_.c_str());
    if (!configDir_.empty()) rmdir(configDir_.c_str());
    changed_ = false;
  }

  ~PlatformChoice() { Restore(); }

 private:
  void Set(const std::string& platform) {
    setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    changed_ = true;
  }

  std::string WriteScreenConfig() {
    std::string pattern = QDir::tempPath().toStdString() + "/qm-screen-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) return {};
    configDir_ = buffer.data();
    configFile_ = configDir_ + "/screens.json";
    QFile file(QString::fromStdString(configFile_));
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(R"({"windowFrameMargins": true, "screens": [{"name": "Screen", "x": 0, "y": 0,)"
               R"( "width": 800, "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1.0}]})");
    file.close();
    return configFile_;
  }

  bool hadValue_ = false;
  bool changed_ = false;
  std::string previous_;
  std::string configDir_;
  std::string configFile_;
};

QPalette ClassicPalette() {
  const QColor face(0xC0, 0xC0, 0xC0);
  const QColor shadow(0x80, 0x80, 0x80);
  const QColor gray(0x80, 0x80, 0x80);
  QPalette palette(Qt::black, face, Qt::white, shadow, shadow, Qt::black, Qt::white, Qt::white, face);
  palette.setColor(QPalette::Midlight, QColor(0xDF, 0xDF, 0xDF));
  palette.setColor(QPalette::Shadow, Qt::black);
  palette.setColor(QPalette::Highlight, QColor(0x00, 0x00, 0x80));
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
  palette.setColor(QPalette::ToolTipText, Qt::black);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(QPalette::Disabled, role, gray);
  }
  palette.setColor(QPalette::Disabled, QPalette::Base, face);
  palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0x00, 0x00, 0x80));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::white);
  return palette;
}

// A quit travels as a posted event so that the messages before it are handled first.
class QuitEvent : public QEvent {
 public:
  explicit QuitEvent(int exitCode) : QEvent(Type()), exitCode(exitCode) {}
  static QEvent::Type Type() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
  }
  const int exitCode;
};

// The loops and the quit belong to the one application of the process.
struct QuitState {
  bool quitPosted = false;
  bool quitPending = false;  // a quit arrived while no loop ran; Run ends at once
  int exitCode = 0;
  std::vector<detail::LoopFrame*> loops;
};

QuitState& Quitting() {
  static QuitState state;
  return state;
}

}  // namespace

bool DisplayNamed() {
  return !EnvironmentEmpty("DISPLAY") || !EnvironmentEmpty("WAYLAND_DISPLAY") || !EnvironmentEmpty("QT_QPA_PLATFORM");
}

struct Application::State {
  const ResourceModule* resources = nullptr;
  std::unique_ptr<QApplication> qt;
  std::unique_ptr<QObject> quitReceiver;
  Window* mainWindow = nullptr;
  bool lastActive = false;
};

namespace {

void PostQuit(QObject* receiver, int exitCode) {
  // Qt takes ownership of a posted event.
  QCoreApplication::postEvent(receiver, std::make_unique<QuitEvent>(exitCode).release());
}

// Receives the quit and hands it to the innermost loop.
class QuitReceiver : public QObject {
 public:
  QuitReceiver() = default;

  bool event(QEvent* event) override {
    if (event->type() != QuitEvent::Type()) return QObject::event(event);
    const int code = static_cast<QuitEvent*>(event)->exitCode;
    QuitState& state = Quitting();
    state.exitCode = code;
    if (state.loops.empty()) {
      state.quitPending = true;
      return true;
    }
    detail::LoopFrame& frame = *state.loops.back();
    if (frame.kind == detail::LoopKind::Main) {
      frame.loop->exit(code);
      return true;
    }
    // A nested loop gives the quit back to the loop around it.
    frame.quitSeen = true;
    PostQuit(this, code);
    if (frame.loop != nullptr) frame.loop->exit(code);
    return true;
  }
};

}  // namespace

namespace detail {

LoopScope::LoopScope(LoopFrame& frame) : frame_(frame) { Quitting().loops.push_back(&frame_); }

LoopScope::~LoopScope() {
  auto& loops = Quitting().loops;
  if (!loops.empty() && loops.back() == &frame_) loops.pop_back();
}

}  // namespace detail

Application::Application(int& argc, char** argv, const ResourceModule& resources, DisplayChoice display)
    : state_(std::make_unique<State>()) {
  if (g_current != nullptr) throw std::logic_error("only one Application may exist");
  state_->resources = &resources;
  g_previousHandler = qInstallMessageHandler(FilterQtMessages);
  {
    PlatformChoice platform(display);
    state_->qt = std::make_unique<QApplication>(argc, argv);
    platform.Restore();
  }
  g_current = this;

  // The dialog fonts of the program's day, on the metric-compatible free face.
  for (const char* family : {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2", "Helv", "Arial"}) {
    QFont::insertSubstitution(QString::fromLatin1(family), QStringLiteral("Liberation Sans"));
  }
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows"))) QApplication::setStyle(style);
  QApplication::setPalette(ClassicPalette());
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSize(8);
  QApplication::setFont(font);
  QApplication::setQuitOnLastWindowClosed(false);

  Quitting() = QuitState{};
  state_->quitReceiver = std::make_unique<QuitReceiver>();
  state_->lastActive = QGuiApplication::applicationState() == Qt::ApplicationActive;
  QObject::connect(state_->qt.get(), &QGuiApplication::applicationStateChanged, state_->quitReceiver.get(),
                   [this](Qt::ApplicationState applicationState) {
                     const bool active = applicationState == Qt::ApplicationActive;
                     if (active == state_->lastActive) return;
                     state_->lastActive = active;
                     for (Window* window : WindowAccess::LiveWindows()) {
                       if (window->Widget() == nullptr || !window->Widget()->isWindow()) continue;
                       detail::Dispatch(window, [&] { WindowAccess::ActivateApp(*window, active); });
                     }
                   });
}

Application::~Application() {
  WindowAccess::ShutDown();
  // Widgets let go of are deleted from the loop; no loop runs any more.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  detail::ClearBitmapCache();
  state_->quitReceiver.reset();
  state_->qt.reset();
  qInstallMessageHandler(g_previousHandler);
  g_previousHandler = nullptr;
  g_current = nullptr;
}

Application* Application::Current() { return g_current; }

const ResourceModule& Application::Resources() const { return *state_->resources; }

int Application::Run() {
  QuitState& quitting = Quitting();
  if (quitting.quitPending) {
    quitting.quitPending = false;
    quitting.quitPosted = false;
    return quitting.exitCode;
  }
  QEventLoop loop;
  detail::LoopFrame frame{detail::LoopKind::Main, &loop, false};
  int code = 0;
  {
    detail::LoopScope scope(frame);
    code = loop.exec();
  }
  quitting.quitPosted = false;
  quitting.quitPending = false;
  return code;
}

void Application::Quit(int exitCode) {
  Quitting().quitPosted = true;
  Quitting().exitCode = exitCode;
  PostQuit(state_->quitReceiver.get(), exitCode);
}

bool Application::QuitPosted() const { return Quitting().quitPosted; }

void Application::SetMainWindow(Window* window) { state_->mainWindow = window; }
Window* Application::MainWindow() const { return state_->mainWindow; }

bool Application::IsActive() const { return QGuiApplication::applicationState() == Qt::ApplicationActive; }

QRect Application::ScreenRect() const {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 800, 600);
}

void Application::OnMessageException(std::exception_ptr error) {
  const std::string program = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: a message handler failed: %s\n", program.c_str(), e.what());
  } catch (...) {
    std::fprintf(stderr, "%s: a message handler failed with an unknown exception\n", program.c_str());
  }
}

void Application::DeliverMessageException(std::exception_ptr error) noexcept {
  try {
    OnMessageException(std::move(error));
  } catch (...) {
    // The hook must not throw; what it throws has nowhere to go.
  }
}

void PumpMessages() {
  if (g_current == nullptr) return;
  detail::LoopFrame frame{detail::LoopKind::Pump, nullptr, false};
  detail::LoopScope scope(frame);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  // Called from a handler of a posted message, the event loop does not deliver
  // posted messages again (its source is busy); deliver them here.
  if (!frame.quitSeen) QCoreApplication::sendPostedEvents();
}

namespace detail {

void ReportHandlerException(std::exception_ptr error) noexcept {
  if (Application* app = Application::Current()) {
    app->Guard([&] { std::rethrow_exception(error); });
  }
}

void ReportHandlerExceptionLater(std::exception_ptr error) noexcept {
  try {
    if (QCoreApplication::instance() == nullptr) return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [error] { ReportHandlerException(error); }, Qt::QueuedConnection);
  } catch (...) {
  }
}

}  // namespace detail

}  // namespace platform::ui
