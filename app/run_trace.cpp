#include "app/run_trace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QObject>
#include <QWidget>

#include "platform/ui/application.h"
#include "platform/ui/dialog.h"
#include "platform/ui/modal_policy.h"

struct RunTrace::State {
  std::FILE* file = nullptr;
  QMetaObject::Connection focus;
  platform::ui::ModalObserver previousObserver;
};

std::unique_ptr<RunTrace> RunTrace::FromEnvironment() {
  const char* path = std::getenv(kEnvironmentVariable);
  if (path == nullptr || *path == '\0') return nullptr;
  std::FILE* file = std::fopen(path, "a");
  if (file == nullptr) {
    std::fprintf(stderr, "%s: cannot open %s: %s\n", kEnvironmentVariable, path, std::strerror(errno));
    return nullptr;
  }
  return std::make_unique<RunTrace>(file);
}

RunTrace::RunTrace(std::FILE* file) : state_(std::make_unique<State>()) {
  state_->file = file;
  state_->previousObserver = platform::ui::SetModalObserver([this](platform::ui::Dialog& dialog) {
    Write("dialog " + std::to_string(dialog.TemplateId()) + " shown");
    if (state_->previousObserver) state_->previousObserver(dialog);
  });
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    state_->focus = QObject::connect(app, &QApplication::focusChanged, [this](QWidget*, QWidget* now) {
      auto* framework = platform::ui::Application::Current();
      if (framework == nullptr) return;
      framework->Guard([&] {
        auto* dialog = dynamic_cast<platform::ui::Dialog*>(platform::ui::Window::OfWidget(now));
        if (dialog == nullptr) return;
        const int control = dialog->FocusedItem();
        if (control != 0) Write("focus " + std::to_string(dialog->TemplateId()) + " " + std::to_string(control));
      });
    });
  }
}

RunTrace::~RunTrace() {
  QObject::disconnect(state_->focus);
  platform::ui::SetModalObserver(std::move(state_->previousObserver));
  std::fclose(state_->file);
}

void RunTrace::Write(const std::string& line) {
  std::fprintf(state_->file, "%s\n", line.c_str());
  std::fflush(state_->file);
}
