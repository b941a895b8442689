// Translation of caught exceptions into the error-class family.

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <new>
#include <stdexcept>

#include "install/errors/install_profile_exception.h"
#include "install/errors/multi_file_exception.h"
#include "install/errors/translate_exception.h"
#include "platform/core/exceptions.h"

namespace {

template <typename Expected>
const Expected* As(const std::unique_ptr<CXException>& error) {
  return dynamic_cast<const Expected*>(error.get());
}

TEST(TranslateException, FrameworkExceptionsBecomeTheirCounterparts) {
  EXPECT_NE(As<CXMemoryException>(TranslateException(platform::MemoryException())), nullptr);
  EXPECT_NE(As<CXMemoryException>(TranslateException(std::bad_alloc())), nullptr);
  EXPECT_NE(As<CXNotSupportedException>(TranslateException(platform::NotSupportedException())), nullptr);
  EXPECT_NE(As<CXResourceException>(TranslateException(platform::ResourceException())), nullptr);
  EXPECT_NE(As<CXUserException>(TranslateException(platform::UserException())), nullptr);

  const auto archive = TranslateException(platform::ArchiveException(4));
  ASSERT_NE(As<CXArchiveException>(archive), nullptr);
  EXPECT_EQ(archive->Code(), 4);
}

TEST(TranslateException, FileExceptionKeepsItsCauseAndFileName) {
  const auto error = TranslateException(platform::FileException::FromErrno(ENOSPC, "C:\\QMW\\LABELS.DAT"));
  const auto* file = As<CXFileException>(error);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Code(), 13);
  EXPECT_EQ(file->FileName(), "C:\\QMW\\LABELS.DAT");
  EXPECT_EQ(file->GetMessages().shortText, "Disk full");
}

TEST(TranslateException, AnythingElseIsAnUnknownErrorWithCodeOne) {
  for (const auto& error :
       {TranslateException(std::runtime_error("boom")), TranslateException(platform::Exception()),
        TranslateException(std::exception_ptr()), TranslateException(std::make_exception_ptr(42))}) {
    EXPECT_STREQ(error->GetClassName(), "CXException");
    EXPECT_EQ(error->Code(), 1);
    EXPECT_EQ(error->GetMessages().shortText, "An unkown error occured.");
  }
}

TEST(TranslateException, FamilyObjectsComeBackAsCopiesOfTheirClass) {
  const CInstallProfileException profile(3);
  const auto copy = TranslateException(profile);
  ASSERT_NE(As<CInstallProfileException>(copy), nullptr);
  EXPECT_EQ(copy->Code(), 3);
  EXPECT_NE(copy.get(), &profile);

  const auto fromPointer = TranslateException(std::make_exception_ptr(CMultiFileException(5)));
  ASSERT_NE(As<CMultiFileException>(fromPointer), nullptr);
  EXPECT_EQ(fromPointer->Code(), 5);
}

}  // namespace
