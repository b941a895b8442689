#include <gtest/gtest.h>

#include <string>

#include "tools/qmtool/regedit4.h"

namespace {

using qmtool::ReadRegedit4;
using qmtool::RegFile;
using qmtool::RegFileKey;
using qmtool::RegFileValue;
using qmtool::Regedit4Error;
using qmtool::WriteRegedit4;

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

RegFileValue Value(std::string name, std::uint32_t type, std::vector<std::uint8_t> data) {
  RegFileValue value;
  value.name = std::move(name);
  value.type = type;
  value.data = std::move(data);
  return value;
}

int LineOfError(std::string_view text) {
  try {
    ReadRegedit4(text);
  } catch (const Regedit4Error& e) {
    return e.Line();
  }
  return -1;
}

TEST(Regedit4Writer, WritesEachKindOfValueAsTheRegistryEditorDoes) {
  RegFile file;
  RegFileKey key;
  key.path = "HKEY_LOCAL_MACHINE\\Software\\Q";
  key.values = {Value("", 1, Bytes("C:\\QMW")), Value("Say \"hi\"", 1, Bytes("a\\b\"c")),
                Value("Count", 4, {0x2a, 0, 0, 0}), Value("Blob", 3, {1, 0xab}),
                Value("Multi", 7, {'a', 0, 0}), Value("Empty", 3, {})};
  RegFileKey bare;
  bare.path = "HKEY_CURRENT_USER\\Bare";
  file.keys = {key, bare};

  EXPECT_EQ(WriteRegedit4(file),
            "REGEDIT4\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Q]\n"
            "@=\"C:\\\\QMW\"\n"
            "\"Say \\\"hi\\\"\"=\"a\\\\b\\\"c\"\n"
            "\"Count\"=dword:0000002a\n"
            "\"Blob\"=hex:01,ab\n"
            "\"Multi\"=hex(7):61,00,00\n"
            "\"Empty\"=hex:\n"
            "\n"
            "[HKEY_CURRENT_USER\\Bare]\n"
            "\n");
}

TEST(Regedit4Writer, StringsThatCannotStandBetweenQuotesAndOddNumbersBecomeHex) {
  RegFile file;
  RegFileKey key;
  key.path = "HKEY_USERS\\K";
  key.values = {Value("z", 1, {'a', 'b', 0}), Value("nl", 1, Bytes("a\nb")), Value("short", 4, {1, 2})};
  file.keys = {key};
  EXPECT_EQ(WriteRegedit4(file),
            "REGEDIT4\n\n[HKEY_USERS\\K]\n\"z\"=hex(1):61,62,00\n\"nl\"=hex(1):61,0a,62\n\"short\"=hex(4):01,02\n\n");
}

TEST(Regedit4Writer, LongHexDataWrapsNearColumn80WithContinuations) {
  RegFile file;
  RegFileKey key;
  key.path = "HKEY_USERS\\K";
  key.values = {Value("Data", 3, std::vector<std::uint8_t>(100, 0x5a))};
  file.keys = {key};
  const std::string text = WriteRegedit4(file);
  std::size_t start = 0;
  int lines = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end - start);
    EXPECT_LE(line.size(), 80u) << line;
    if (lines > 3 && !line.empty()) {
      EXPECT_TRUE(line.starts_with("  5a")) << line;
    }
    start = end + 1;
    ++lines;
  }
  EXPECT_GT(lines, 6);
  EXPECT_EQ(ReadRegedit4(text).keys[0].values[0].data, std::vector<std::uint8_t>(100, 0x5a));
}

TEST(Regedit4Writer, ALineBreakInANameIsRefused) {
  RegFile file;
  file.keys.push_back({"HKEY_USERS\\a\nb", {}, false});
  EXPECT_THROW(WriteRegedit4(file), Regedit4Error);
}

TEST(Regedit4Reader, ReadsCrlfCommentsContinuationsAndDeletions) {
  const RegFile file = ReadRegedit4(
      "\xEF\xBB\xBFREGEDIT4\r\n\r\n"
      "; staged for a test\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Q]\r\n"
      "@=\"x\"\r\n"
      "\"Path\" = \"C:\\\\Q \\\"M\\\"\"\r\n"
      "\"N\"=dword:FFFFFFFE\r\n"
      "\"B\"=hex:01,02,\\\r\n"
      "  03, 04\r\n"
      "\"E\"=hex(2):41,00\r\n"
      "\"Old\"=-\r\n"
      "\r\n"
      "[-HKEY_CURRENT_USER\\Gone]\r\n");
  ASSERT_EQ(file.keys.size(), 2u);
  const RegFileKey& key = file.keys[0];
  EXPECT_EQ(key.path, "HKEY_LOCAL_MACHINE\\Software\\Q");
  ASSERT_EQ(key.values.size(), 6u);
  EXPECT_EQ(key.values[0].name, "");
  EXPECT_EQ(key.values[0].data, Bytes("x"));  // exactly the quoted bytes, no zero added
  EXPECT_EQ(key.values[1].name, "Path");
  EXPECT_EQ(key.values[1].data, Bytes("C:\\Q \"M\""));
  EXPECT_EQ(key.values[2].type, 4u);
  EXPECT_EQ(key.values[2].data, (std::vector<std::uint8_t>{0xfe, 0xff, 0xff, 0xff}));
  EXPECT_EQ(key.values[3].type, 3u);
  EXPECT_EQ(key.values[3].data, (std::vector<std::uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(key.values[4].type, 2u);
  EXPECT_TRUE(key.values[5].deleted);
  EXPECT_TRUE(file.keys[1].deleted);
  EXPECT_EQ(file.keys[1].path, "HKEY_CURRENT_USER\\Gone");
}

TEST(Regedit4Reader, WhatTheWriterWroteReadsBackUnchanged) {
  RegFile file;
  RegFileKey key;
  key.path = "HKEY_CLASSES_ROOT\\.qmw\\Shell [x]";
  key.values = {Value("", 1, {}), Value("\\\"", 1, Bytes("\"\\\\")), Value("hi", 1, Bytes("\xe9t\xe9")),
                Value("z", 1, {'a', 0}), Value("t", 0x20, {9}), Value("n", 4, {0, 0, 0, 0x80})};
  RegFileValue gone;
  gone.name = "gone";
  gone.deleted = true;
  key.values.push_back(gone);
  file.keys = {key, RegFileKey{"HKEY_USERS\\Old", {}, true}};
  const std::string text = WriteRegedit4(file);
  EXPECT_EQ(WriteRegedit4(ReadRegedit4(text)), text);
  const RegFile back = ReadRegedit4(text);
  for (std::size_t i = 0; i < key.values.size(); ++i) {
    EXPECT_EQ(back.keys[0].values[i].name, key.values[i].name);
    EXPECT_EQ(back.keys[0].values[i].data, key.values[i].data) << key.values[i].name;
    EXPECT_EQ(back.keys[0].values[i].deleted, key.values[i].deleted);
  }
  EXPECT_EQ(back.keys[0].path, key.path);
}

TEST(Regedit4Reader, BadLinesAreNamedByNumber) {
  EXPECT_EQ(LineOfError(""), 1);
  EXPECT_EQ(LineOfError("\nREGEDIT5\n"), 2);
  EXPECT_EQ(LineOfError("REGEDIT4\n\n\"a\"=\"b\"\n"), 3);                     // value before any key
  EXPECT_EQ(LineOfError("REGEDIT4\n[K]\n\"a\"=\"b\n"), 3);                    // unclosed quote
  EXPECT_EQ(LineOfError("REGEDIT4\n[K]\n\"a\"=\"b\"x\n"), 3);                 // junk after the quote
  EXPECT_EQ(LineOfError("REGEDIT4\n[K]\n\"a\"=\"\\n\"\n"), 3);                // unknown escape
  EXPECT_EQ(LineOfError("REGEDIT4\n[K]\n\"a\"=dword:123456789\n"), 3);
  EXPECT_EQ(LineOfError("REGEDIT4\n[K]\n\"a\"=dword:\n"), 3);
  EXPECT_EQ(LineOfError("REGEDIT4\n[K]\n\"a\"=hex:1,2\n"), 3);
  EXPECT_EQ(LineOfError("REGEDIT4\n[K]\n\n\"a\"=hex:01,\\\n  0g\n"), 4);  // named by its first line
  EXPECT_EQ(LineOfError("REGEDIT4\n[K]\n\"a\"=hex:01,\\\n"), 3);           // ends inside the value
  EXPECT_EQ(LineOfError("REGEDIT4\n[K]\n\"a\"=hex(z):01\n"), 3);
  EXPECT_EQ(LineOfError("REGEDIT4\n[K]\n\"a\"=str:x\n"), 3);
  EXPECT_EQ(LineOfError("REGEDIT4\n[K]\n\"a\" \"b\"\n"), 3);
  EXPECT_EQ(LineOfError("REGEDIT4\n[K\n"), 2);
  EXPECT_EQ(LineOfError("REGEDIT4\n[]\n"), 2);
  EXPECT_EQ(LineOfError("REGEDIT4\n[-K]\n\"a\"=\"b\"\n"), 3);
  EXPECT_EQ(LineOfError("REGEDIT4\nK=1\n"), 2);
}

}  // namespace
