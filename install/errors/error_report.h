#pragma once
// The error report without its dialog: the texts of a report are prepared here
// and handed to an ErrorReporter, which the user interface implements (the
// "Warning" dialog) and tests replace with a recording one.
//
// A user's cancel (CXUserException, or the framework's user exception) is
// silent: ReportError and ReportFatalError never show it, and ReportError answers
// false, since the user has already chosen to stop. Callers need not filter it.

#include <array>
#include <cstdint>
#include <exception>
#include <span>
#include <string>

#include "install/errors/printf_format.h"
#include "install/errors/xexception.h"

// What one report shows.
struct ErrorReport {
  unsigned contextId = 0;
  std::string contextLine;  // the context string formatted with the caller's arguments
  std::string shortText;
  std::string longText;
  std::string infoLine;  // "%d.%d (%s)": context string id, code, class name
  unsigned helpId = 0;
  // Continue and Cancel buttons when true; an OK button alone when false.
  bool continuationAllowed = false;
  std::string continueText;  // string 14 when continuation is allowed, else empty
  std::string cancelText;    // string 15 likewise
};

class ErrorReporter {
 public:
  virtual ~ErrorReporter() = default;
  // Shows the report and waits for the user. Returns true when the user chose to
  // continue; the answer to a report without continuation is ignored.
  virtual bool ShowErrorReport(const ErrorReport& report) = 0;
};

// Makes reporter the process's reporter and returns the previous one. Not owned:
// it must stay alive while it is installed. With none installed (null), reports
// go to stderr and the answer is "do not continue".
ErrorReporter* SetErrorReporter(ErrorReporter* reporter);

// True for the failures that are never shown: the user's cancel.
bool IsSilentError(const CXException& error);

// The whole report as text, one line each: context line, short text, long text
// and the information line. What a run with nobody to read the dialog leaves.
std::string ErrorReportText(const ErrorReport& report);

std::string FormatErrorInfoLine(unsigned contextId, const CXException& error);

ErrorReport BuildErrorReport(unsigned contextId, const CXException& error,
                             std::span<const FormatArg> contextArgs, bool continuationAllowed);

// Translates error, builds its report and shows it. Raises nothing: a failure
// while reporting counts as "do not continue".
bool ShowErrorFor(unsigned contextId, const std::exception& error, std::span<const FormatArg> contextArgs,
                  bool continuationAllowed) noexcept;
bool ShowErrorFor(unsigned contextId, const std::exception_ptr& error, std::span<const FormatArg> contextArgs,
                  bool continuationAllowed) noexcept;

// Reports error with "Continue Operation" and "Cancel Operation"; true when the
// user chose to continue. args fill the context string's conversions, for example
//   ReportError(string_id::kCannotInstallFiles, e, sourceFileName);
template <typename Error, typename... Args>
bool ReportError(unsigned contextId, const Error& error, const Args&... args) {
  const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
  return ShowErrorFor(contextId, error, list, true);
}

// Reports error with an OK button alone.
template <typename Error, typename... Args>
void ReportFatalError(unsigned contextId, const Error& error, const Args&... args) {
  const std::array<FormatArg, sizeof...(Args)> list{FormatArg(args)...};
  ShowErrorFor(contextId, error, list, false);
}
