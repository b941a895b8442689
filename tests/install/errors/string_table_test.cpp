// The string table: lookup, replaceable source and texts that must stay byte-exact.

#include <gtest/gtest.h>

#include <string>

#include "install/errors/string_table.h"

namespace {

TEST(StringTable, MissingIdsGiveEmptyText) {
  EXPECT_STREQ(LoadStringText(0), "");
  EXPECT_STREQ(LoadStringText(12), "");
  EXPECT_STREQ(LoadStringText(99999), "");
  EXPECT_STREQ(LoadStringText(9), "Setup cannot continue");
  EXPECT_STREQ(LoadStringText(14), "Continue Operation");
  EXPECT_STREQ(LoadStringText(15), "Cancel Operation");
  EXPECT_STREQ(LoadStringText(17), "Cannot install files from '%s':");
}

TEST(StringTable, ReplacedSourceServesTextsAndNullRestoresTheBuiltInTable) {
  const StringSource previous =
      SetStringSource([](unsigned id) -> const char* { return id == 9 ? "replaced" : nullptr; });
  EXPECT_STREQ(LoadStringText(9), "replaced");
  EXPECT_STREQ(LoadStringText(14), "");
  SetStringSource(nullptr);
  EXPECT_STREQ(LoadStringText(9), "Setup cannot continue");
  SetStringSource(previous);
}

// Texts with the odd line breaks and spelling the program has always shown.
TEST(StringTable, LongTextsAreByteExact) {
  EXPECT_STREQ(LoadStringText(24604),
               "There was a hardware error accessing your file system. Possible causes\r:\n- incompatible "
               "driver versions\n- power surge\r\n- hardware failure\r\n\r\nYou may want to shut down your "
               "computer and try again.");
  EXPECT_STREQ(LoadStringText(24606),
               "A sharing violation occured accessing a file. Possible causes:\r\n\r\n-- another application "
               "has loaded this file\r\n- another user on the network has loaded this file\r\n- SHARE.EXE is "
               "not loaded\r\n- A previous application didn't release this file");
  EXPECT_STREQ(LoadStringText(24608),
               "A locking violation occured accessing a file. Possible causes:\r\n\r\n-- another application "
               "has loaded this file\n- another user on the network has loaded this file\r\n- SHARE.EXE is "
               "not loaded\r\n- A previous application didn't release this file");
  EXPECT_STREQ(LoadStringText(24593), "The path specfied for accessing a file is invalid. ");
  EXPECT_STREQ(LoadStringText(13),
               "The profile that holds application install information is missing or damaged. Possible "
               "causes:\r\n\r\n- damaged diskette 1\r\n- possible diskette alignment or hardware "
               "problem\r\n- insufficient disk space");
  EXPECT_STREQ(LoadStringText(24585),
               "An error occurred while accessing the resources associated with this application. Possible "
               "causes:\r\n\r\n- A damaged .EXE or .DLL file\r\n- Not enough file handles\r\n- System "
               "resources are exhausted.");
  EXPECT_STREQ(LoadStringText(27649),
               "The file this application is trying to extract was compressed with an unknown method. "
               "Possible causes:\r\n- the file was compressed with a different version of the "
               "software\r\n- the file is damaged\r\n- there is a diskette alignment or hardware problem");
  EXPECT_STREQ(LoadStringText(24591),
               "A file required for this operation was not found. This could because the wrong location "
               "for the file was specified, or because the file has been deleted.");
}

}  // namespace
