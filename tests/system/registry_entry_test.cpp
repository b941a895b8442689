// Registry entries: key paths, value types, logged keys and their removal, on a
// machine of each test's own.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "install/log/ini_item.h"
#include "install/log/ini_section_reader.h"
#include "options/macro_table.h"
#include "options/user_messages.h"
#include "platform/machine/machine.h"
#include "platform/registry/registry.h"
#include "system/registry_entry.h"
#include "system/registry_entry_list.h"
#include "tests/common/profile_sections.h"
#include "tests/common/temp_machine.h"

namespace {

using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;
using platform::RegKey;

constexpr const char* kLogFile = "Qmw.log";  // in the Windows directory of each platform
using Strings = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

struct StoredValue {
  std::uint32_t type = platform::REG_NONE;
  Bytes data;
};

class RecordedMessages : public UserMessages {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  Strings shown;
};

bool KeyExists(RegKey root, const std::string& path) {
  RegKey key = 0;
  if (platform::RegOpenKeyEx(root, path, 0, platform::KEY_READ, &key) != platform::ERROR_SUCCESS) return false;
  platform::RegCloseKey(key);
  return true;
}

void CreateKey(RegKey root, const std::string& path) {
  RegKey key = 0;
  ASSERT_EQ(platform::RegCreateKeyEx(root, path, "", 0, platform::KEY_ALL_ACCESS, nullptr, &key, nullptr),
            platform::ERROR_SUCCESS);
  platform::RegCloseKey(key);
}

std::optional<StoredValue> ReadStored(RegKey root, const std::string& path, const std::string& name) {
  RegKey key = 0;
  if (platform::RegOpenKeyEx(root, path, 0, platform::KEY_READ, &key) != platform::ERROR_SUCCESS) return {};
  StoredValue value;
  std::uint32_t size = 0;
  std::optional<StoredValue> result;
  if (platform::RegQueryValueEx(key, name, &value.type, nullptr, &size) == platform::ERROR_SUCCESS) {
    value.data.resize(size);
    if (platform::RegQueryValueEx(key, name, &value.type, value.data.data(), &size) == platform::ERROR_SUCCESS) {
      result = value;
    }
  }
  platform::RegCloseKey(key);
  return result;
}

Bytes TextBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Strings LoggedKeys() {
  Strings keys;
  CIniSectionReader reader("Registry", kLogFile);
  CIniItem item;
  for (bool more = reader.First(item); more; more = reader.Next(item)) keys.push_back(item.Key());
  return keys;
}

ProfileSection RegistrySection(const std::string& key, const std::string& name, const std::string& data,
                               const std::optional<std::string>& option = std::nullopt) {
  std::vector<qmtest::KeyLine> lines = {{"key", {key}}, {"name", {name}}, {"data", {data}}};
  if (option) lines.push_back({"option", {*option}});
  return qmtest::MakeSection("Registry", lines);
}

// An entry as the list makes it.
void Init(CRegistryEntry& entry, const std::string& keyPath, const std::string& name = "",
          const std::string& data = "") {
  entry.InitEntry(keyPath, name, data, "-99", "", 0, platform::KEY_ALL_ACCESS, nullptr);
}

// Every machine has these before any setup runs.
void CreateSoftwareKeys() {
  CreateKey(HKEY_LOCAL_MACHINE, "Software");
  CreateKey(HKEY_CURRENT_USER, "Software");
}

class RegistryEntryTest : public ::testing::Test {
 protected:
  void SetUp() override { CreateSoftwareKeys(); }
  qmtest::TempMachineRoot machine_;
};

class RegistryEntryOnPlatformTest : public ::testing::TestWithParam<platform::PlatformKind> {
 protected:
  void SetUp() override { CreateSoftwareKeys(); }
  qmtest::TempMachineRoot machine_{platform::MachineConfig::Defaults(GetParam())};
};

TEST(RegistryKeyPathTest, RunsOfBackslashesSeparateOnceAndALeadingOneGivesAnEmptyRoot) {
  const Strings plain = {"HKEY_LOCAL_MACHINE", "Software", "Quill"};
  EXPECT_EQ(SplitKeyPath("HKEY_LOCAL_MACHINE\\Software\\Quill"), plain);
  EXPECT_EQ(SplitKeyPath("HKEY_LOCAL_MACHINE\\\\Software\\\\\\Quill\\"), plain);
  EXPECT_EQ(SplitKeyPath("HKEY_LOCAL_MACHINE\\Software\\Quill\\\\\\"), plain);
  EXPECT_EQ(SplitKeyPath("\\Software\\Quill"), (Strings{"", "Software", "Quill"}));
  EXPECT_EQ(SplitKeyPath("\\\\Software"), (Strings{"", "Software"}));
  EXPECT_EQ(SplitKeyPath("HKEY_USERS"), Strings{"HKEY_USERS"});
  EXPECT_TRUE(SplitKeyPath("").empty());
}

TEST(RegistryKeyPathTest, InitEntryTakesTheRootFromTheFirstComponentIgnoringCase) {
  CRegistryEntry entry;
  EXPECT_EQ(entry.Option(), "-99");
  EXPECT_EQ(entry.ValueType(), platform::REG_SZ);
  EXPECT_EQ(entry.Access(), platform::KEY_READ);
  EXPECT_EQ(entry.KeyOptions(), 1u);

  Init(entry, "hkey_current_user\\Software\\\\Quill\\");
  EXPECT_EQ(entry.RootKey(), HKEY_CURRENT_USER);
  EXPECT_EQ(entry.RootName(), "hkey_current_user");
  EXPECT_EQ(entry.Components(), (Strings{"hkey_current_user", "Software", "Quill"}));
  EXPECT_EQ(entry.KeyPath(), "hkey_current_user\\Software\\\\Quill\\");

  Init(entry, "\\HKEY_LOCAL_MACHINE\\Software");
  EXPECT_EQ(entry.RootKey(), 0u);
  EXPECT_EQ(entry.RootName(), "");
}

TEST_F(RegistryEntryTest, DoubledAndTrailingBackslashesCreateAndLogTheSingleSeparatorPath) {
  CRegistryEntry entry;
  Init(entry, "HKEY_LOCAL_MACHINE\\\\Software\\\\Quill\\\\", "Version", "2.0");
  EXPECT_EQ(entry.CreateKeyPath(true, kLogFile), platform::ERROR_SUCCESS);
  EXPECT_EQ(entry.WriteValue(), platform::ERROR_SUCCESS);
  EXPECT_EQ(LoggedKeys(), (Strings{"HKEY_LOCAL_MACHINE\\Software\\Quill"}));
  const auto value = ReadStored(HKEY_LOCAL_MACHINE, "Software\\Quill", "Version");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->data, TextBytes("2.0"));
}

TEST_F(RegistryEntryTest, HashDataIsAFourByteNumberAndOtherDataTextWithoutATerminatingZero) {
  CRegistryEntryList list;
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER\\Software\\Quill", "Number", "#42", "0"));
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER\\Software\\Quill", "Digits", "42", "0"));
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER\\Software\\Quill", "Negative", "#-2", "0"));
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER\\Software\\Quill", "", "", "0"));
  list.SelectRegistryEntries("\x02");
  list.ApplyRegistryEntries(kLogFile);

  const auto number = ReadStored(HKEY_CURRENT_USER, "Software\\Quill", "Number");
  ASSERT_TRUE(number);
  EXPECT_EQ(number->type, platform::REG_DWORD);
  EXPECT_EQ(number->data, (Bytes{42, 0, 0, 0}));
  const auto digits = ReadStored(HKEY_CURRENT_USER, "Software\\Quill", "Digits");
  ASSERT_TRUE(digits);
  EXPECT_EQ(digits->type, platform::REG_SZ);
  EXPECT_EQ(digits->data, TextBytes("42"));
  const auto negative = ReadStored(HKEY_CURRENT_USER, "Software\\Quill", "Negative");
  ASSERT_TRUE(negative);
  EXPECT_EQ(negative->data, (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
  const auto defaultValue = ReadStored(HKEY_CURRENT_USER, "Software\\Quill", "");
  ASSERT_TRUE(defaultValue);
  EXPECT_EQ(defaultValue->type, platform::REG_SZ);
  EXPECT_TRUE(defaultValue->data.empty());

  // The "#" leaves the entry's data; writing again writes the same number.
  CRegistryEntry& numberEntry = *list.Entries()[0];
  EXPECT_EQ(numberEntry.Data(), "42");
  EXPECT_EQ(numberEntry.WriteValue(), platform::ERROR_SUCCESS);
  EXPECT_EQ(ReadStored(HKEY_CURRENT_USER, "Software\\Quill", "Number")->data, (Bytes{42, 0, 0, 0}));
}

TEST_F(RegistryEntryTest, DataLedByAMacroStaysTextWhateverTheMacroHolds) {
  CRegistryEntryList list;
  list.AddRegistryEntry(RegistrySection("HKEY_LOCAL_MACHINE\\Software\\Quill", "Count", "@0@", "0"));
  list.AddRegistryEntry(RegistrySection("HKEY_LOCAL_MACHINE\\Software\\Quill", "Path", "''@-2@QM.EXE''", "0"));
  const MacroTable macros = {{"@0@", "#5"}, {"@-2@", "C:\\WINDOWS\\"}};
  RecordedMessages messages;
  list.SubstituteRegistryData(macros, messages);
  list.SelectRegistryEntries("\x01");
  list.ApplyRegistryEntries(kLogFile);

  const auto count = ReadStored(HKEY_LOCAL_MACHINE, "Software\\Quill", "Count");
  ASSERT_TRUE(count);
  EXPECT_EQ(count->type, platform::REG_SZ);
  EXPECT_EQ(count->data, TextBytes("#5"));
  const auto path = ReadStored(HKEY_LOCAL_MACHINE, "Software\\Quill", "Path");
  ASSERT_TRUE(path);
  EXPECT_EQ(path->data, TextBytes("\"C:\\WINDOWS\\QM.EXE\""));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RegistryEntryTest, ProfileKeysAreReadIgnoringCaseAndOnlyTheSelectedEntriesAreWritten) {
  CRegistryEntryList list;
  list.AddRegistryEntry(qmtest::MakeSection(
      "Registry", {{"KEY", {"HKEY_CURRENT_USER\\Software\\Every", "ignored"}}, {"Name", {"V"}}, {"DATA", {"a"}},
                   {"Option", {"0"}}, {"Colour", {"red"}}}));
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER\\Software\\Never", "V", "b"));
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER\\Software\\Typical", "V", "c", "\x02"));
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER\\Software\\Minimum", "V", "d", "\x01"));
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER\\Software\\Removal", "V", "e", "-1"));

  const CRegistryEntry& first = *list.Entries()[0];
  EXPECT_EQ(first.KeyPath(), "HKEY_CURRENT_USER\\Software\\Every");
  EXPECT_EQ(first.ValueName(), "V");
  EXPECT_EQ(first.Data(), "a");
  EXPECT_EQ(first.KeyOptions(), 0u);
  EXPECT_EQ(first.Access(), platform::KEY_ALL_ACCESS);
  EXPECT_EQ(list.Entries()[1]->Option(), "-99");

  // A selector that matches nothing still enables the "0" entries.
  list.SelectRegistryEntries("\x07");
  EXPECT_TRUE(first.Enabled());
  EXPECT_FALSE(list.Entries()[2]->Enabled());
  list.SelectRegistryEntries("\x02");
  list.ApplyRegistryEntries(kLogFile);

  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Every"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Typical"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Minimum"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Removal"));
  EXPECT_EQ(LoggedKeys(), (Strings{"HKEY_CURRENT_USER\\Software\\Every", "HKEY_CURRENT_USER\\Software\\Typical"}));
}

TEST_F(RegistryEntryTest, AnUnknownRootFailsEveryStepSilently) {
  for (const char* path : {"HKEY_NOWHERE\\Software\\Quill", "\\Software\\Quill", "HKEY_LOCAL_MACHINE", ""}) {
    SCOPED_TRACE(path);
    CRegistryEntry entry;
    Init(entry, path, "V", "#1");
    EXPECT_NE(entry.CreateKeyPath(true, kLogFile), platform::ERROR_SUCCESS);
    EXPECT_NE(entry.WriteValue(), platform::ERROR_SUCCESS);
    EXPECT_NE(entry.ReadValue(), platform::ERROR_SUCCESS);
    EXPECT_NE(entry.DeleteKeyPath(), platform::ERROR_SUCCESS);
    EXPECT_NE(entry.CloseAndDeleteLast(), platform::ERROR_SUCCESS);
  }
  EXPECT_TRUE(LoggedKeys().empty());
  for (RegKey root : {platform::HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, platform::HKEY_USERS}) {
    EXPECT_FALSE(KeyExists(root, "Software\\Quill"));
  }
}

TEST_F(RegistryEntryTest, AKeyThatCannotBeCreatedIsSkippedAndTheRestGoesUnderTheSameParent) {
  CRegistryEntry entry;
  Init(entry, "HKEY_LOCAL_MACHINE\\Software\\" + std::string(300, 'k') + "\\Quill", "V", "x");
  EXPECT_EQ(entry.CreateKeyPath(true, kLogFile), platform::ERROR_SUCCESS);
  EXPECT_EQ(entry.WriteValue(), platform::ERROR_SUCCESS);
  EXPECT_TRUE(ReadStored(HKEY_LOCAL_MACHINE, "Software\\Quill", "V"));
  // The log names the key actually created, so a removal finds it.
  EXPECT_EQ(LoggedKeys(), (Strings{"HKEY_LOCAL_MACHINE\\Software\\Quill"}));
}

TEST_F(RegistryEntryTest, ReadValueGivesTheStoredBytesAndLeavesTheDataOnFailure) {
  CreateKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
  RegKey key = 0;
  ASSERT_EQ(platform::RegOpenKeyEx(HKEY_CURRENT_USER,
                                   "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                                   platform::KEY_ALL_ACCESS, &key),
            platform::ERROR_SUCCESS);
  // The system writes its texts with a terminating zero.
  const std::string programs("C:\\WINDOWS\\Start Menu\\Programs", 31);
  ASSERT_EQ(programs.back(), '\0');
  ASSERT_EQ(platform::RegSetValueEx(key, "Programs", platform::REG_SZ, TextBytes(programs)), platform::ERROR_SUCCESS);
  ASSERT_EQ(platform::RegSetValueEx(key, "Long", platform::REG_SZ, TextBytes(std::string(1500, 'a'))),
            platform::ERROR_SUCCESS);
  ASSERT_EQ(platform::RegSetValueEx(key, "Exact", platform::REG_BINARY, Bytes(1000, 7)), platform::ERROR_SUCCESS);
  platform::RegCloseKey(key);

  CRegistryEntry entry;
  Init(entry, "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
       "Programs");
  ASSERT_EQ(entry.CreateKeyPath(false), platform::ERROR_SUCCESS);
  EXPECT_EQ(entry.ReadValue(), platform::ERROR_SUCCESS);
  EXPECT_EQ(entry.Data(), "C:\\WINDOWS\\Start Menu\\Programs");

  entry.SetValueName("Exact");
  EXPECT_EQ(entry.ReadValue(), platform::ERROR_SUCCESS);
  EXPECT_EQ(entry.Data(), std::string(1000, '\x07'));

  entry.SetData("kept");
  entry.SetValueName("Long");
  EXPECT_EQ(entry.ReadValue(), platform::ERROR_MORE_DATA);
  EXPECT_EQ(entry.Data(), "kept");
  entry.SetValueName("Missing");
  EXPECT_EQ(entry.ReadValue(), platform::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(entry.Data(), "kept");
}

TEST_F(RegistryEntryTest, MarkedKeysAreDeletedOnlyWhereTheirWholePathExists) {
  CreateKey(HKEY_CURRENT_USER, "Software\\Old\\Stale");
  CreateKey(HKEY_CURRENT_USER, "Software\\Quill\\Stale");
  CRegistryEntryList list;
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER\\Software\\Old\\Stale", "", "", "-1"));
  // Its middle key is missing: the "Stale" key under Software\Quill is not its own.
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER\\Software\\Quill\\Missing\\Stale", "", "", "-1"));
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER\\Software\\Quill", "", "", "0"));
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER", "", "", "-1"));
  list.DeleteMarkedKeys();

  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Old\\Stale"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Old"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Quill\\Stale"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software"));
}

TEST_P(RegistryEntryOnPlatformTest, ARemovalTakesAwayTheCreatedKeysChildrenFirstAndLeavesThoseThatWereThere) {
  CreateKey(HKEY_LOCAL_MACHINE, "Software\\Maker");
  CRegistryEntryList list;
  list.AddRegistryEntry(RegistrySection("HKEY_LOCAL_MACHINE\\Software\\Maker\\Quill\\2.0", "Dir", "C:\\QMW", "0"));
  list.AddRegistryEntry(RegistrySection("HKEY_LOCAL_MACHINE\\software\\MAKER\\quill\\2.0", "Size", "#3", "0"));
  list.SelectRegistryEntries("\x02");
  list.ApplyRegistryEntries(kLogFile);

  // Only the new keys, parent first; the second entry found them there.
  EXPECT_EQ(LoggedKeys(), (Strings{"HKEY_LOCAL_MACHINE\\Software\\Maker\\Quill",
                                   "HKEY_LOCAL_MACHINE\\Software\\Maker\\Quill\\2.0"}));
  ASSERT_TRUE(ReadStored(HKEY_LOCAL_MACHINE, "Software\\Maker\\Quill\\2.0", "Size"));

  // A fresh list, as in a removal run. On the NT platforms a parent deleted
  // before its child would stay.
  CRegistryEntryList removal;
  removal.UndoLoggedKeys(kLogFile);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Maker\\Quill"));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, "Software\\Maker"));
}

TEST_P(RegistryEntryOnPlatformTest, ALoggedKeyWithAForeignSubkeyGoesOnlyWhereThePlatformDeletesSubtrees) {
  CRegistryEntryList list;
  list.AddRegistryEntry(RegistrySection("HKEY_CURRENT_USER\\Software\\Quill", "V", "x", "0"));
  list.SelectRegistryEntries("\x01");
  list.ApplyRegistryEntries(kLogFile);
  CreateKey(HKEY_CURRENT_USER, "Software\\Quill\\Plugins");

  CRegistryEntryList().UndoLoggedKeys(kLogFile);
  const bool subtreesGo = GetParam() == platform::PlatformKind::Win95;
  EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, "Software\\Quill"), !subtreesGo);
  EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, "Software\\Quill\\Plugins"), !subtreesGo);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software"));
}

TEST_F(RegistryEntryTest, CloseAndDeleteLastDropsTheDeletedComponent) {
  CRegistryEntry entry;
  Init(entry, "HKEY_USERS\\.DEFAULT\\Quill\\Sub");
  ASSERT_EQ(entry.CreateKeyPath(false), platform::ERROR_SUCCESS);
  EXPECT_EQ(entry.CloseAndDeleteLast(), platform::ERROR_SUCCESS);
  EXPECT_EQ(entry.Components(), (Strings{"HKEY_USERS", ".DEFAULT", "Quill"}));
  EXPECT_EQ(entry.CurrentKey(), 0u);
  EXPECT_EQ(entry.ParentKey(), 0u);
  EXPECT_FALSE(KeyExists(platform::HKEY_USERS, ".DEFAULT\\Quill\\Sub"));
  EXPECT_TRUE(KeyExists(platform::HKEY_USERS, ".DEFAULT\\Quill"));
}

INSTANTIATE_TEST_SUITE_P(Platforms, RegistryEntryOnPlatformTest,
                         ::testing::Values(platform::PlatformKind::Win95, platform::PlatformKind::Nt351,
                                           platform::PlatformKind::Nt4),
                         [](const auto& info) { return std::string(platform::PlatformKindName(info.param)); });

}  // namespace
