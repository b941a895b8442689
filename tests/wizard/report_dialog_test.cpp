// The "Warning" dialog as the user meets it: which texts it shows for which
// failure, its two forms, its answer and the "More>>" button.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "install/errors/error_report.h"
#include "install/errors/string_table.h"
#include "install/errors/xexception.h"
#include "platform/core/exceptions.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"
#include "platform/ui/modal_policy.h"
#include "tests/common/gui_test_environment.h"
#include "wizard/report_dialog.h"

namespace {

using platform::ui::Dialog;
using platform::ui::kIdCancel;
using platform::ui::kIdOk;

constexpr int kMore = 119;
constexpr int kShortText = 140;
constexpr int kContext = 141;
constexpr int kInfo = 144;
constexpr int kLongText = 152;
constexpr int kHelp = 998;

// Installs the dialog reporter and a modal observer for one test.
class ReportDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { previousReporter_ = SetErrorReporter(&reporter_); }
  void TearDown() override {
    platform::ui::SetModalObserver({});
    SetErrorReporter(previousReporter_);
  }
  // Runs look on the dialog once it is on screen, then presses answer.
  void OnReport(std::function<void(Dialog&)> look, int answer) {
    platform::ui::SetModalObserver([this, look, answer](Dialog& dialog) {
      ++shown_;
      look(dialog);
      dialog.Click(answer);
    });
  }

  DialogErrorReporter reporter_;
  int shown_ = 0;

 private:
  ErrorReporter* previousReporter_ = nullptr;
};

TEST_F(ReportDialogTest, FileErrorShowsItsOwnShortTextAndTheGenericLongText) {
  OnReport(
      [](Dialog& dialog) {
        EXPECT_EQ(dialog.TemplateId(), 1544);
        EXPECT_EQ(dialog.ItemText(kContext), "Setup cannot continue");
        EXPECT_EQ(dialog.ItemText(kShortText), "Cannot remove current directory.");
        EXPECT_EQ(dialog.ItemText(kLongText), LoadStringText(24581));
        EXPECT_EQ(dialog.ItemText(kInfo), "9.7 (CXFileException)");
      },
      kIdOk);
  ReportFatalError(string_id::kSetupCannotContinue, CXFileException(7));
  EXPECT_EQ(shown_, 1);
}

TEST_F(ReportDialogTest, OtherFrameworkFailureIsAnUnknownErrorWithCodeOne) {
  OnReport(
      [](Dialog& dialog) {
        EXPECT_EQ(dialog.ItemText(kShortText), "An unkown error occured.");
        EXPECT_EQ(dialog.ItemText(kLongText), LoadStringText(24577));
        EXPECT_EQ(dialog.ItemText(kInfo), "9.1 (CXException)");
      },
      kIdOk);
  ReportFatalError(string_id::kSetupCannotContinue, platform::Exception());
  EXPECT_EQ(shown_, 1);
}

TEST_F(ReportDialogTest, OkOnlyFormHidesTheSecondButton) {
  OnReport(
      [](Dialog& dialog) {
        EXPECT_EQ(dialog.ItemText(kIdOk), "OK");
        EXPECT_TRUE(dialog.IsItemVisible(kIdOk));
        EXPECT_FALSE(dialog.IsItemVisible(kIdCancel));
        dialog.Click(kHelp);  // no action: the dialog stays
        EXPECT_TRUE(dialog.IsCreated());
      },
      kIdOk);
  ErrorReport report = BuildErrorReport(9, CXMemoryException(), {}, false);
  CReportDialog dialog(report, nullptr);
  EXPECT_FALSE(dialog.Run());  // OK is not "continue"
  EXPECT_EQ(shown_, 1);
}

TEST_F(ReportDialogTest, FailedCopyOffersContinueAndCancelAndReturnsTheChoice) {
  const platform::FileException missing(platform::FileCause::FileNotFound, 2, "A:\\QMW.AR1");
  const std::string source = "QMW.AR1";
  const auto look = [](Dialog& dialog) {
    EXPECT_EQ(dialog.ItemText(kContext), "Cannot install files from 'QMW.AR1':");
    EXPECT_EQ(dialog.ItemText(kShortText), "File not found.");
    EXPECT_EQ(dialog.ItemText(kInfo), "17.2 (CXFileException)");
    EXPECT_EQ(dialog.ItemText(kIdOk), "Continue Operation");
    EXPECT_EQ(dialog.ItemText(kIdCancel), "Cancel Operation");
    EXPECT_TRUE(dialog.IsItemVisible(kIdCancel));
  };
  OnReport(look, kIdOk);
  EXPECT_TRUE(ReportError(string_id::kCannotInstallFiles, missing, source));
  OnReport(look, kIdCancel);
  EXPECT_FALSE(ReportError(string_id::kCannotInstallFiles, missing, source));
  EXPECT_EQ(shown_, 2);
}

TEST_F(ReportDialogTest, MoreTogglesTheLongPartAndItsButtonText) {
  OnReport(
      [](Dialog& dialog) {
        const auto& report = static_cast<CReportDialog&>(dialog);
        const int reduced = dialog.Rect().height();
        EXPECT_FALSE(report.IsFullSize());
        EXPECT_EQ(dialog.ItemText(kMore), "More>>");
        EXPECT_FALSE(dialog.IsItemEnabled(kLongText));
        EXPECT_FALSE(dialog.IsItemEnabled(kInfo));
        EXPECT_TRUE(dialog.IsItemEnabled(kIdOk));
        // The reduced form ends just below the buttons, above the long text.
        EXPECT_LE(dialog.ClientRect().height(), dialog.ItemRect(kLongText).top());
        EXPECT_GE(dialog.ClientRect().height(), dialog.ItemRect(kHelp).bottom());

        dialog.Click(kMore);
        EXPECT_TRUE(report.IsFullSize());
        EXPECT_EQ(dialog.ItemText(kMore), "More<<");
        EXPECT_TRUE(dialog.IsItemEnabled(kLongText));
        EXPECT_GT(dialog.Rect().height(), reduced);
        EXPECT_GE(dialog.ClientRect().height(), dialog.ItemRect(kInfo).bottom());

        dialog.Click(kMore);
        EXPECT_FALSE(report.IsFullSize());
        EXPECT_EQ(dialog.ItemText(kMore), "More>>");
        EXPECT_FALSE(dialog.IsItemEnabled(kLongText));
        EXPECT_EQ(dialog.Rect().height(), reduced);
      },
      kIdOk);
  ReportFatalError(string_id::kSetupCannotContinue, CXFileException(7));
  EXPECT_EQ(shown_, 1);
}

}  // namespace
