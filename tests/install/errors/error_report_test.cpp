// Reports handed to the user interface: their lines, buttons, answers and the
// silent user cancel.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "install/errors/error_report.h"
#include "install/errors/multi_file_exception.h"
#include "install/errors/string_table.h"
#include "platform/core/exceptions.h"

namespace {

class RecordingReporter : public ErrorReporter {
 public:
  bool ShowErrorReport(const ErrorReport& report) override {
    reports.push_back(report);
    if (throwOnShow) throw std::runtime_error("dialog failed");
    return answer;
  }
  std::vector<ErrorReport> reports;
  bool answer = true;
  bool throwOnShow = false;
};

class ErrorReportTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = SetErrorReporter(&reporter_); }
  void TearDown() override { SetErrorReporter(previous_); }
  RecordingReporter reporter_;

 private:
  ErrorReporter* previous_ = nullptr;
};

TEST_F(ErrorReportTest, FailedSourceIsReportedWithContinueAndCancel) {
  const platform::FileException missing(platform::FileCause::FileNotFound, 2, "A:\\QMW.AR1");
  const std::string source = "QMW.AR1";
  EXPECT_TRUE(ReportError(string_id::kCannotInstallFiles, missing, source));
  reporter_.answer = false;
  EXPECT_FALSE(ReportError(string_id::kCannotInstallFiles, missing, source));

  ASSERT_EQ(reporter_.reports.size(), 2u);
  const ErrorReport& r = reporter_.reports[0];
  EXPECT_EQ(r.contextId, 17u);
  EXPECT_EQ(r.contextLine, "Cannot install files from 'QMW.AR1':");
  EXPECT_EQ(r.shortText, "File not found.");
  EXPECT_EQ(r.longText.rfind("A file required for this operation was not found.", 0), 0u);
  EXPECT_EQ(r.infoLine, "17.2 (CXFileException)");
  EXPECT_TRUE(r.continuationAllowed);
  EXPECT_EQ(r.continueText, "Continue Operation");
  EXPECT_EQ(r.cancelText, "Cancel Operation");
}

TEST_F(ErrorReportTest, FatalReportHasOkOnlyAndIgnoresTheAnswer) {
  ReportFatalError(string_id::kSetupCannotContinue, std::runtime_error("table damaged"));
  ReportFatalError(string_id::kSetupCannotContinue, CMultiFileException(3));
  ASSERT_EQ(reporter_.reports.size(), 2u);
  const ErrorReport& unknown = reporter_.reports[0];
  EXPECT_EQ(unknown.contextLine, "Setup cannot continue");
  EXPECT_EQ(unknown.shortText, "An unkown error occured.");
  EXPECT_EQ(unknown.infoLine, "9.1 (CXException)");
  EXPECT_FALSE(unknown.continuationAllowed);
  EXPECT_TRUE(unknown.continueText.empty());
  EXPECT_TRUE(unknown.cancelText.empty());
  EXPECT_EQ(reporter_.reports[1].infoLine, "9.3 (CMultiFileException)");
}

TEST_F(ErrorReportTest, CaughtAnythingIsReportedThroughItsPointer) {
  try {
    throw 7;
  } catch (...) {
    ReportFatalError(string_id::kSetupCannotContinue, std::current_exception());
  }
  ASSERT_EQ(reporter_.reports.size(), 1u);
  EXPECT_EQ(reporter_.reports[0].infoLine, "9.1 (CXException)");
}

TEST_F(ErrorReportTest, UserCancelIsNeverShown) {
  EXPECT_FALSE(ReportError(string_id::kCannotInstallFiles, CXUserException(), "QMW.AR1"));
  EXPECT_FALSE(ReportError(string_id::kCannotInstallFiles, platform::UserException(), "QMW.AR1"));
  ReportFatalError(string_id::kSetupCannotContinue, CXUserException());
  EXPECT_FALSE(ReportError(string_id::kCannotInstallFiles, std::make_exception_ptr(CXUserException())));
  EXPECT_TRUE(reporter_.reports.empty());
}

TEST_F(ErrorReportTest, ContextArgumentsAreNeverReadAsFormats) {
  // A file name with conversions in it stays text; a missing argument leaves a gap.
  EXPECT_TRUE(ReportError(string_id::kCannotInstallFiles, CMultiFileException(5), "50%s%d.ar1"));
  EXPECT_TRUE(ReportError(string_id::kCannotInstallFiles, CMultiFileException(5)));
  ASSERT_EQ(reporter_.reports.size(), 2u);
  EXPECT_EQ(reporter_.reports[0].contextLine, "Cannot install files from '50%s%d.ar1':");
  EXPECT_EQ(reporter_.reports[1].contextLine, "Cannot install files from '':");
}

TEST_F(ErrorReportTest, MissingContextStringGivesAnEmptyLine) {
  ReportFatalError(12345, CXFileException(5));
  ASSERT_EQ(reporter_.reports.size(), 1u);
  EXPECT_EQ(reporter_.reports[0].contextLine, "");
  EXPECT_EQ(reporter_.reports[0].infoLine, "12345.5 (CXFileException)");
}

TEST_F(ErrorReportTest, FailingReporterMeansDoNotContinueAndRaisesNothing) {
  reporter_.throwOnShow = true;
  EXPECT_FALSE(ReportError(string_id::kCannotInstallFiles, CXFileException(13), "QMW.AR1"));
  EXPECT_NO_THROW(ReportFatalError(string_id::kSetupCannotContinue, CXFileException(13)));
}

TEST(ErrorReportWithoutInterface, GoesToStderrAndDoesNotContinue) {
  ErrorReporter* previous = SetErrorReporter(nullptr);
  ::testing::internal::CaptureStderr();
  const bool continued = ReportError(string_id::kCannotInstallFiles, CXFileException(2), "QMW.AR1");
  const std::string err = ::testing::internal::GetCapturedStderr();
  SetErrorReporter(previous);
  EXPECT_FALSE(continued);
  EXPECT_NE(err.find("Cannot install files from 'QMW.AR1':"), std::string::npos);
  EXPECT_NE(err.find("17.2 (CXFileException)"), std::string::npos);
}

}  // namespace
