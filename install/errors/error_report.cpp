#include "install/errors/error_report.h"

#include <cstdio>
#include <utility>

#include "install/errors/string_table.h"
#include "install/errors/translate_exception.h"

namespace {

ErrorReporter* g_reporter = nullptr;

// Without a user interface the report still reaches someone.
void WriteToStderr(const ErrorReport& report) { std::fputs(ErrorReportText(report).c_str(), stderr); }

}  // namespace

std::string ErrorReportText(const ErrorReport& report) {
  std::string text;
  for (const std::string* line : {&report.contextLine, &report.shortText, &report.longText, &report.infoLine}) {
    text += *line;
    text += '\n';
  }
  return text;
}

namespace {

bool Show(unsigned contextId, const CXException& error, std::span<const FormatArg> contextArgs,
          bool continuationAllowed) {
  if (IsSilentError(error)) return false;
  const ErrorReport report = BuildErrorReport(contextId, error, contextArgs, continuationAllowed);
  if (g_reporter == nullptr) {
    WriteToStderr(report);
    return false;
  }
  const bool continueChosen = g_reporter->ShowErrorReport(report);
  return continuationAllowed && continueChosen;
}

}  // namespace

ErrorReporter* SetErrorReporter(ErrorReporter* reporter) {
  ErrorReporter* previous = g_reporter;
  g_reporter = reporter;
  return previous;
}

bool IsSilentError(const CXException& error) { return dynamic_cast<const CXUserException*>(&error) != nullptr; }

std::string FormatErrorInfoLine(unsigned contextId, const CXException& error) {
  const std::array<FormatArg, 3> args{FormatArg(contextId), FormatArg(error.Code()),
                                      FormatArg(error.GetClassName())};
  return FormatPrintf("%d.%d (%s)", args);
}

ErrorReport BuildErrorReport(unsigned contextId, const CXException& error,
                             std::span<const FormatArg> contextArgs, bool continuationAllowed) {
  ErrorReport report;
  report.contextId = contextId;
  report.contextLine = FormatPrintf(LoadStringText(contextId), contextArgs);
  ErrorMessages messages = error.GetMessages();
  report.shortText = std::move(messages.shortText);
  report.longText = std::move(messages.longText);
  report.helpId = messages.helpId;
  report.infoLine = FormatErrorInfoLine(contextId, error);
  report.continuationAllowed = continuationAllowed;
  if (continuationAllowed) {
    report.continueText = LoadStringText(string_id::kContinueOperation);
    report.cancelText = LoadStringText(string_id::kCancelOperation);
  }
  return report;
}

bool ShowErrorFor(unsigned contextId, const std::exception& error, std::span<const FormatArg> contextArgs,
                  bool continuationAllowed) noexcept {
  try {
    return Show(contextId, *TranslateException(error), contextArgs, continuationAllowed);
  } catch (...) {
    return false;
  }
}

bool ShowErrorFor(unsigned contextId, const std::exception_ptr& error, std::span<const FormatArg> contextArgs,
                  bool continuationAllowed) noexcept {
  try {
    return Show(contextId, *TranslateException(error), contextArgs, continuationAllowed);
  } catch (...) {
    return false;
  }
}
