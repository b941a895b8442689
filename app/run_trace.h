#pragma once
// A trace of what a run shows, for programs that drive the setup from outside
// (keyboard tests on a real display): with QMSETUP_TRACE=FILE one line is
// appended and flushed for each of
//   page <id> shown        a page is on screen, its predecessor gone
//   page <id> waiting      it waits for the user
//   dialog <id> shown      a modal dialog is on screen (message boxes: id 0)
//   focus <id> <control>   the keyboard focus went to a control of dialog or page id
// A reader polls the file for the line it waits for.

#include <cstdio>
#include <memory>
#include <string>

class QMetaObject;

class RunTrace {
 public:
  static constexpr const char* kEnvironmentVariable = "QMSETUP_TRACE";

  // The trace the environment asks for; null when it asks for none or the file
  // cannot be opened (said on stderr).
  static std::unique_ptr<RunTrace> FromEnvironment();

  // Starts following modal dialogs and the focus.
  explicit RunTrace(std::FILE* file);
  ~RunTrace();
  RunTrace(const RunTrace&) = delete;
  RunTrace& operator=(const RunTrace&) = delete;

  void Write(const std::string& line);

 private:
  struct State;
  std::unique_ptr<State> state_;
};
