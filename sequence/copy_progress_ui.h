#pragma once
// The copy page's side of the file copy: the diskette prompt, the "Warning"
// report of a failed source, the source and destination lines, the gauge and
// the billboards, and the user's confirmed Cancel, which the page notes on the
// application.

#include "install/copy/copy_user_interface.h"

class BillboardSequence;
class CGauge;
class SetupApp;
class WizardPage;

class CopyProgressUi : public CopyUserInterface {
 public:
  static constexpr int kSourceText = 1008;
  static constexpr int kDestinationText = 1009;

  CopyProgressUi(WizardPage& page, CGauge& gauge, BillboardSequence& billboards, SetupApp& app)
      : page_(page), gauge_(gauge), billboards_(billboards), app_(app) {}

  bool AskForDiskette(const DiskettePrompt& prompt) override;
  bool ReportSourceError(const ErrorReport& report) override;
  void ShowSource(const std::string& fileName) override;
  void ShowProgress(uint64_t position, const std::string& destinationPath) override;
  bool PollCancel() override;

 private:
  WizardPage& page_;
  CGauge& gauge_;
  BillboardSequence& billboards_;
  SetupApp& app_;
};
