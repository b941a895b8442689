// Message selection of the error classes, their string texts and their copies.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "install/errors/install_profile_exception.h"
#include "install/errors/multi_file_exception.h"
#include "install/errors/string_table.h"
#include "install/errors/xexception.h"

namespace {

const char kGenericFileLong[] = "An error occurred with one of the files used in this operation.";
const char kUnknownShort[] = "An unkown error occured.";

TEST(ErrorMessages, FileCodeWithOwnShortTextTakesGenericFileLongText) {
  const ErrorMessages m = CXFileException(7).GetMessages();
  EXPECT_EQ(m.shortText, "Cannot remove current directory.");
  EXPECT_EQ(m.longText, kGenericFileLong);
  EXPECT_EQ(m.helpId, 0u);
}

TEST(ErrorMessages, FileCodesWithoutRowUseTheAnyRow) {
  for (int code : {0, 1, 15, -3}) {
    const ErrorMessages m = CXFileException(code).GetMessages();
    EXPECT_EQ(m.shortText, "File Error.") << code;
    EXPECT_EQ(m.longText, kGenericFileLong) << code;
  }
}

TEST(ErrorMessages, FileCodesSelectTheirRows) {
  struct Case {
    platform::FileCause cause;
    const char* shortText;
    const char* longStart;  // the long texts are checked byte for byte elsewhere
  };
  const Case cases[] = {
      {platform::FileCause::FileNotFound, "File not found.", "A file required for this operation"},
      {platform::FileCause::AccessDenied, "Access denied.", "You do not have access rights"},
      {platform::FileCause::BadSeek, "Bad seek.", kGenericFileLong},
      {platform::FileCause::DiskFull, "Disk full", "There is not enough space"},
      {platform::FileCause::EndOfFile, "End of file.", kGenericFileLong},
  };
  for (const Case& c : cases) {
    const ErrorMessages m = CXFileException(c.cause).GetMessages();
    EXPECT_EQ(m.shortText, c.shortText);
    EXPECT_EQ(m.longText.rfind(c.longStart, 0), 0u) << m.longText;
  }
}

TEST(ErrorMessages, MultiFileCodesMapToTheirPairsAndUnknownCodesToGenericTexts) {
  const ErrorMessages crc = CMultiFileException(CMultiFileException::kChecksumMismatch).GetMessages();
  EXPECT_EQ(crc.shortText, "Archive file damaged (CRC Mismatch)");
  EXPECT_EQ(crc.longText,
            "The archive file this application is extracting appears damaged (CRC Mismacth). Possible "
            "causes:\r\n\r\n- file is damaged on install diskettes\r\n- diskette drive alignment or "
            "hardware error");

  EXPECT_EQ(CMultiFileException(1).GetMessages().shortText, "Unknown compression method.");
  EXPECT_EQ(CMultiFileException(2).GetMessages().shortText, "File is not an archive file.");
  EXPECT_EQ(CMultiFileException(3).GetMessages().shortText, "Archive file damaged (missing entry header).");
  EXPECT_EQ(CMultiFileException(4).GetMessages().shortText, "Archive file damaged (corrupt table).");

  const ErrorMessages unknown = CMultiFileException(6).GetMessages();
  EXPECT_EQ(unknown.shortText, kUnknownShort);
  EXPECT_EQ(unknown.longText.rfind("The requested operation cannot be completed", 0), 0u);
}

TEST(ErrorMessages, EachClassHasItsNameAndAnyRowTexts) {
  struct Case {
    std::unique_ptr<CXException> error;
    const char* className;
    const char* shortText;
  };
  Case cases[] = {
      {std::make_unique<CXException>(1), "CXException", kUnknownShort},
      {std::make_unique<CXMemoryException>(), "CXMemoryException", "Not enough memory available."},
      {std::make_unique<CXArchiveException>(3), "CXArchiveException", "Archive Error"},
      {std::make_unique<CXResourceException>(), "CXResourceException", "Resource Error."},
      {std::make_unique<CXUserException>(), "CXUserException", "Operation cancelled."},
      {std::make_unique<CXNotSupportedException>(), "CXNotSupportedException", "This operation is not supported."},
      {std::make_unique<CInstallProfileException>(3), "CInstallProfileException", "Incomplete or missing profile."},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(c.error->GetClassName(), c.className);
    EXPECT_STREQ(c.error->what(), c.className);
    const ErrorMessages m = c.error->GetMessages();
    EXPECT_EQ(m.shortText, c.shortText) << c.className;
    EXPECT_FALSE(m.longText.empty()) << c.className;
  }
}

TEST(ErrorMessages, TablesListAnyLastAndCarryNoHelpIds) {
  const std::unique_ptr<CXException> all[] = {
      std::make_unique<CXException>(1),          std::make_unique<CXMemoryException>(),
      std::make_unique<CXFileException>(2),      std::make_unique<CXArchiveException>(),
      std::make_unique<CXResourceException>(),   std::make_unique<CXUserException>(),
      std::make_unique<CXNotSupportedException>(), std::make_unique<CMultiFileException>(1),
      std::make_unique<CInstallProfileException>(1),
  };
  for (const auto& error : all) {
    const MessageTable table = error->GetMessageTable();
    ASSERT_FALSE(table.empty());
    for (std::size_t i = 0; i < table.size(); ++i) {
      EXPECT_EQ(table[i].helpId, 0u);
      if (table[i].anyCode) {
        EXPECT_EQ(i, table.size() - 1) << error->GetClassName();
      }
    }
  }
}

// The built-in source, reachable from the capture-less replacement below.
StringSource g_builtin = nullptr;

TEST(ErrorMessages, MissingOwnTextIsFilledFromTheBaseTable) {
  g_builtin = SetStringSource(nullptr);
  const StringSource previous =
      SetStringSource([](unsigned id) -> const char* { return id == 24599 ? nullptr : g_builtin(id); });
  const ErrorMessages m = CXFileException(7).GetMessages();
  SetStringSource(previous);
  EXPECT_EQ(m.shortText, kUnknownShort);
  EXPECT_EQ(m.longText, kGenericFileLong);
}

TEST(ErrorClasses, CloneKeepsClassCodeAndFileName) {
  const CXFileException original(platform::FileCause::AccessDenied, "C:\\QMW\\QMW.EXE");
  const std::unique_ptr<CXException> copy = original.Clone();
  const auto* file = dynamic_cast<const CXFileException*>(copy.get());
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Code(), 5);
  EXPECT_EQ(file->FileName(), "C:\\QMW\\QMW.EXE");

  const CMultiFileException multi(4);
  const std::unique_ptr<CXException> multiCopy = static_cast<const CXException&>(multi).Clone();
  EXPECT_NE(dynamic_cast<const CMultiFileException*>(multiCopy.get()), nullptr);
  EXPECT_EQ(multiCopy->Code(), 4);
}

TEST(ErrorClasses, AreFrameworkExceptions) {
  try {
    throw CMultiFileException(2);
  } catch (const platform::Exception& e) {
    EXPECT_STREQ(e.what(), "CMultiFileException");
  }
}

}  // namespace
