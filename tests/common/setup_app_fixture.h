#pragma once
// Whole setup runs inside a test: a throwaway machine with a media folder
// (C:\MEDIA holding SETUP, SETUP.ini, cv_setup.ini and agree.txt), and a
// SetupApp made for each run, driven page by page through the page observer.
//
// SetupApp is the process's application object, so these tests do not use the
// shared application of gui_test_environment: link them with qm_test and
// tests/common/setup_app_fixture.cpp. Runs are offscreen.
//
// A script lists, in order, what the test does on each page that waits for
// the user: Expect(115, [](WizardPage& p) { p.Click(1); }). A step runs from
// the message loop after the page-shown step has returned, as a person's
// click would. A page that waits with no step left for it ends the run with a
// failure (except in batch mode, where pages move on by themselves), and a
// watchdog ends a run that takes too long, so a test never hangs.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/common/temp_machine.h"
#include "wizard/page_chain.h"

class SetupApp;
class WizardPage;

namespace platform::ui {
class Dialog;
}

namespace qmtest {

// A small valid install tables file: destinations 0 (C:\QMW2) and 1 under it,
// the groups Main, program and ustpls/Inttpls, one plain source each.
std::string SampleTablesText();

class SetupRunTest : public ::testing::Test {
 protected:
  using PageStep = std::function<void(WizardPage& page)>;
  using ModalStep = std::function<void(platform::ui::Dialog& dialog)>;

  SetupRunTest();
  ~SetupRunTest() override;

  // C:\MEDIA on the host.
  std::filesystem::path Media() const { return machine_.DriveC() / "MEDIA"; }
  void WriteMedia(const std::string& name, const std::string& text) const;
  void RemoveMedia(const std::string& name) const;

  // The next step of the script: what to do when page pageId waits.
  void Expect(int pageId, PageStep step);
  // The answer to the next modal dialog (message box, error report).
  void ExpectModal(ModalStep step);
  // The "Doruror Settings" question comes on every install before the copy;
  // unless a test gives an answer here it is answered "No" and counted in
  // dorurorAsked_, not in modals_.
  void AnswerDoruror(ModalStep step) { doruror_ = std::move(step); }

  // Runs a whole setup with these switches (without the program name) and
  // returns its exit status. While it runs, App() is the application.
  int Run(const std::vector<std::string>& switches);
  SetupApp& App();

  // What the run did: the pages in the order shown, the pages that waited,
  // the template ids of the modal dialogs shown, in order.
  std::vector<int> shown_;
  std::vector<int> waited_;
  std::vector<int> modals_;
  int dorurorAsked_ = 0;
  // The programs a completed removal handed over to, in place of replacing the process.
  std::vector<std::string> handOvers_;
  // Checks made during the run, for the test after it (for example the
  // visibility of pages in batch mode).
  std::function<void(WizardPage& page, PagePhase phase)> watch_;
  // Called once start-up has succeeded, before the message loop runs: what it
  // queues comes after the first page's page-shown step has begun.
  std::function<void()> started_;

  qmtest::TempMachineRoot machine_;

 private:
  void OnPage(WizardPage& page, PagePhase phase);
  void OnModal(platform::ui::Dialog& dialog);

  struct ScriptStep {
    int pageId;
    PageStep step;
  };
  std::vector<ScriptStep> script_;
  std::vector<ModalStep> modalScript_;
  ModalStep doruror_;
  SetupApp* app_ = nullptr;
};

// Queues work for the message loop, after what is pending now.
void Later(std::function<void()> work);

// The page on screen now; fails the test (and returns null) when it is not pageId.
WizardPage* PageOnScreen(int pageId);

// Presses Escape or Enter on the page, as a person would.
void PressEscape(WizardPage& page);
void PressEnter(WizardPage& page);

}  // namespace qmtest
