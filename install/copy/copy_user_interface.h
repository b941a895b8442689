#pragma once
// Everything the file copy asks or tells the user goes through this interface:
// the copy page implements it, tests answer from a script.
#include <cstdint>
#include <string>

#include "install/errors/error_report.h"

// The "Insert Diskette" prompt (dialog 113).
struct DiskettePrompt {
  std::string label;            // empty for disk 0
  int diskNumber = 0;
  std::string sourceDirectory;  // where the file is looked for, "A:\" and the like
  std::string text;             // the prompt's line (control 1026)
};

class CopyUserInterface {
 public:
  virtual ~CopyUserInterface() = default;
  // Asks for a diskette; true for OK, false for Cancel. After OK the copy
  // simply opens the file, and a still missing one fails as a file error.
  virtual bool AskForDiskette(const DiskettePrompt& prompt) = 0;
  // A source that could not be installed (string 17 as context), with Continue
  // and Cancel; true for Continue. Never called for the user's own cancel.
  virtual bool ReportSourceError(const ErrorReport& report) = 0;
  // The source being copied now (control 1008).
  virtual void ShowSource(const std::string& fileName) = 0;
  // Every 4096 bytes read while a file is installed: the gauge position (bytes
  // of the files finished plus those written to this one) and the file's
  // destination path (control 1009). The billboards follow the same position.
  virtual void ShowProgress(uint64_t position, const std::string& destinationPath) = 0;
  // Handles pending window messages and answers true once the user has asked
  // to cancel and confirmed it. Polled at every tick and between files.
  virtual bool PollCancel() = 0;
};
