#pragma once
// A CopyUserInterface that answers from a script and records what it was told.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "install/copy/copy_user_interface.h"

namespace copy_test {

class ScriptedCopyUi : public CopyUserInterface {
 public:
  // Answers to the diskette prompt; Cancel when unset.
  std::function<bool(const DiskettePrompt&)> onDiskette;
  bool continueAfterReport = true;
  int cancelAtPoll = 0;  // the poll (1 for the first) that confirms a Cancel; 0 never

  std::vector<DiskettePrompt> prompts;
  std::vector<ErrorReport> reports;
  std::vector<std::string> sources;
  std::vector<std::pair<uint64_t, std::string>> ticks;
  int polls = 0;

  bool AskForDiskette(const DiskettePrompt& prompt) override {
    prompts.push_back(prompt);
    return onDiskette ? onDiskette(prompt) : false;
  }
  bool ReportSourceError(const ErrorReport& report) override {
    reports.push_back(report);
    return continueAfterReport;
  }
  void ShowSource(const std::string& fileName) override { sources.push_back(fileName); }
  void ShowProgress(uint64_t position, const std::string& destinationPath) override {
    ticks.emplace_back(position, destinationPath);
  }
  bool PollCancel() override { return ++polls == cancelAtPoll; }
};

}  // namespace copy_test
