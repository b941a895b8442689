// The emulated registry: keys and values, the platform's deletion rule, limits,
// and several processes sharing one machine's database.

#include "platform/registry/registry.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/common/temp_machine.h"

namespace {

using namespace platform;

std::span<const std::uint8_t> Bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

RegKey Create(RegKey parent, std::string_view path, std::uint32_t* disposition = nullptr) {
  RegKey key = 0;
  EXPECT_EQ(RegCreateKeyEx(parent, path, "", REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, disposition),
            ERROR_SUCCESS)
      << path;
  return key;
}

RegStatus Open(RegKey parent, std::string_view path, RegKey* key) {
  return RegOpenKeyEx(parent, path, 0, KEY_ALL_ACCESS, key);
}

std::string QueryText(RegKey key, std::string_view name) {
  std::uint8_t buffer[1000];
  std::uint32_t size = sizeof buffer;
  std::uint32_t type = 0;
  if (RegQueryValueEx(key, name, &type, buffer, &size) != ERROR_SUCCESS) return "<missing>";
  return std::string(reinterpret_cast<const char*>(buffer), size);
}

std::vector<std::string> Subkeys(RegKey key) {
  std::vector<std::string> names;
  std::string name;
  for (std::uint32_t i = 0; RegEnumKey(key, i, &name) == ERROR_SUCCESS; ++i) names.push_back(name);
  return names;
}

platform::MachineConfig ConfigOf(PlatformKind kind) { return MachineConfig::Defaults(kind); }

class RegistryTest : public ::testing::Test {
 protected:
  qmtest::TempMachineRoot machine_;
};

TEST_F(RegistryTest, CreateReportsNewThenExistingAndCreatesEveryMissingLevel) {
  std::uint32_t disposition = 0;
  const RegKey key = Create(HKEY_LOCAL_MACHINE, "Software\\Maker\\Product", &disposition);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  EXPECT_NE(key, 0u);
  Create(HKEY_LOCAL_MACHINE, "Software\\Maker", &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  Create(HKEY_LOCAL_MACHINE, "Software\\Maker\\Product", &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);

  RegKey opened = 0;
  EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, "Software\\Maker\\Product", &opened), ERROR_SUCCESS);
  EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, "Software\\Other", &opened), ERROR_FILE_NOT_FOUND);
  // The same path under another root is another key.
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "Software\\Maker", &opened), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, NamesCompareIgnoringCaseAndKeepTheirFirstSpelling) {
  Create(HKEY_CURRENT_USER, "Software\\QuillWorks");
  std::uint32_t disposition = 0;
  const RegKey again = Create(HKEY_CURRENT_USER, "SOFTWARE\\quillworks", &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(Subkeys(HKEY_CURRENT_USER), std::vector<std::string>{"Software"});

  ASSERT_EQ(RegSetValueEx(again, "Path", REG_SZ, Bytes("one")), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(again, "PATH", REG_SZ, Bytes("two")), ERROR_SUCCESS);
  RegValue value;
  ASSERT_EQ(RegEnumValue(again, 0, &value), ERROR_SUCCESS);
  EXPECT_EQ(value.name, "Path");
  EXPECT_EQ(QueryText(again, "path"), "two");
  EXPECT_EQ(RegEnumValue(again, 1, &value), ERROR_NO_MORE_ITEMS);

  // Latin-1 letters fold too, in Windows-1252 bytes and in UTF-8.
  Create(HKEY_CURRENT_USER, "Caf\xE9");
  Create(HKEY_CURRENT_USER, "CAF\xC9", &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  Create(HKEY_CURRENT_USER, "Stra\xC3\xA9" "e");
  Create(HKEY_CURRENT_USER, "STRA\xC3\x89" "E", &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(RootKeyFromName("hkey_local_machine"), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(RootKeyFromName("HKEY_LOCAL"), 0u);
}

TEST_F(RegistryTest, ValuesKeepTypeAndExactBytes) {
  const RegKey key = Create(HKEY_LOCAL_MACHINE, "Software\\Values");
  const std::uint8_t number[] = {42, 0, 0, 0};
  const std::uint8_t binary[] = {0, 1, 0xFF, 0};
  ASSERT_EQ(RegSetValueEx(key, "Text", REG_SZ, Bytes("42")), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, "Number", REG_DWORD, number), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, "Binary", REG_BINARY, binary), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, "", REG_SZ, Bytes("default")), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueEx(key, "Empty", REG_SZ, {}), ERROR_SUCCESS);

  std::uint32_t type = 0;
  std::uint32_t size = 0;
  ASSERT_EQ(RegQueryValueEx(key, "Text", &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 2u);  // no terminating zero was added
  ASSERT_EQ(RegQueryValueEx(key, "Number", &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(size, 4u);

  std::uint8_t buffer[8] = {};
  size = 3;
  EXPECT_EQ(RegQueryValueEx(key, "Binary", &type, buffer, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(type, REG_BINARY);
  size = sizeof buffer;
  ASSERT_EQ(RegQueryValueEx(key, "Binary", &type, buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + size), std::vector<std::uint8_t>(binary, binary + 4));
  EXPECT_EQ(RegQueryValueEx(key, "Binary", &type, buffer, nullptr), ERROR_INVALID_PARAMETER);

  EXPECT_EQ(QueryText(key, ""), "default");
  EXPECT_EQ(QueryText(key, "Empty"), "");
  EXPECT_EQ(RegQueryValueEx(key, "Missing", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);

  // Enumeration: folded-name order, the default value first.
  std::vector<std::string> names;
  RegValue value;
  for (std::uint32_t i = 0; RegEnumValue(key, i, &value) == ERROR_SUCCESS; ++i) names.push_back(value.name);
  EXPECT_EQ(names, (std::vector<std::string>{"", "Binary", "Empty", "Number", "Text"}));

  EXPECT_EQ(RegDeleteValue(key, "text"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValue(key, "text"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, SubkeysEnumerateInFoldedOrder) {
  for (const char* name : {"beta", "Alpha", "gamma", "_under", "Zeta"}) Create(HKEY_USERS, name);
  // Upper-case folding puts the underscore after the letters, as Windows lists them.
  EXPECT_EQ(Subkeys(HKEY_USERS), (std::vector<std::string>{"Alpha", "beta", "gamma", "Zeta", "_under"}));
  // A change between two steps of a walk is seen by the next step.
  std::string name;
  ASSERT_EQ(RegEnumKey(HKEY_USERS, 0, &name), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKey(HKEY_USERS, "beta"), ERROR_SUCCESS);
  ASSERT_EQ(RegEnumKey(HKEY_USERS, 1, &name), ERROR_SUCCESS);
  EXPECT_EQ(name, "gamma");
}

TEST_F(RegistryTest, AccessOfTheHandleIsHonoured) {
  Create(HKEY_LOCAL_MACHINE, "Software\\Locked");
  RegKey reader = 0;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Locked", 0, KEY_READ, &reader), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueEx(reader, "x", REG_SZ, Bytes("y")), ERROR_ACCESS_DENIED);
  RegKey child = 0;
  EXPECT_EQ(RegCreateKeyEx(reader, "Child", "", 0, KEY_ALL_ACCESS, nullptr, &child, nullptr), ERROR_ACCESS_DENIED);
  EXPECT_EQ(Subkeys(reader), std::vector<std::string>{});
}

TEST_F(RegistryTest, BadPathsAndOverlongNamesFailCleanly) {
  RegKey key = 0;
  for (const char* path : {"\\Lead", "Double\\\\Slash", "Trailing\\"}) {
    EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, path, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER)
        << path;
  }
  const std::string longest(kMaxKeyNameLength, 'k');
  Create(HKEY_LOCAL_MACHINE, longest);
  const std::string tooLong(kMaxKeyNameLength + 1, 'k');
  EXPECT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "A\\" + tooLong, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, "A", &key), ERROR_FILE_NOT_FOUND);  // nothing was half created
  EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, tooLong, &key), ERROR_INVALID_PARAMETER);

  const RegKey values = Create(HKEY_LOCAL_MACHINE, "Values");
  const std::string longestValue(kMaxValueNameLength, 'v');
  EXPECT_EQ(RegSetValueEx(values, longestValue, REG_SZ, Bytes("ok")), ERROR_SUCCESS);
  const std::string tooLongValue(kMaxValueNameLength + 1, 'v');
  EXPECT_EQ(RegSetValueEx(values, tooLongValue, REG_SZ, Bytes("no")), ERROR_INVALID_PARAMETER);
  std::uint32_t size = 0;
  EXPECT_EQ(RegQueryValueEx(values, tooLongValue, nullptr, nullptr, &size), ERROR_INVALID_PARAMETER);

  EXPECT_EQ(RegCreateKeyEx(0, "Key", "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegDeleteKey(0, "Key"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetValueEx(0x1234, "x", REG_SZ, Bytes("y")), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, ""), ERROR_ACCESS_DENIED);  // a root stays
}

TEST(RegistryDeleteTest, NtRefusesAKeyWithSubkeysAndWin95DeletesTheSubtree) {
  for (const PlatformKind kind : {PlatformKind::Nt351, PlatformKind::Nt4, PlatformKind::Win95}) {
    SCOPED_TRACE(std::string(PlatformKindName(kind)));
    qmtest::TempMachineRoot machine(ConfigOf(kind));
    const RegKey leaf = Create(HKEY_LOCAL_MACHINE, "Software\\Tree\\Branch\\Leaf");
    ASSERT_EQ(RegSetValueEx(leaf, "v", REG_SZ, Bytes("x")), ERROR_SUCCESS);
    const RegKey tree = Create(HKEY_LOCAL_MACHINE, "Software\\Tree");
    const RegStatus status = RegDeleteKey(HKEY_LOCAL_MACHINE, "software\\TREE");
    RegKey probe = 0;
    if (kind == PlatformKind::Win95) {
      EXPECT_EQ(status, ERROR_SUCCESS);
      EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, "Software\\Tree\\Branch\\Leaf", &probe), ERROR_FILE_NOT_FOUND);
      EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, "Software", &probe), ERROR_SUCCESS);
      // Handles on the deleted keys say so, and can still be closed.
      EXPECT_EQ(RegSetValueEx(leaf, "v", REG_SZ, Bytes("y")), ERROR_KEY_DELETED);
      EXPECT_EQ(RegQueryValueEx(tree, "v", nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
      EXPECT_EQ(RegCloseKey(leaf), ERROR_SUCCESS);
      // A key made again at the same path starts empty.
      const RegKey again = Create(HKEY_LOCAL_MACHINE, "Software\\Tree\\Branch\\Leaf");
      EXPECT_EQ(QueryText(again, "v"), "<missing>");
    } else {
      EXPECT_EQ(status, ERROR_ACCESS_DENIED);
      EXPECT_EQ(QueryText(leaf, "v"), "x");
      // Deepest first works on every platform.
      EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Software\\Tree\\Branch\\Leaf"), ERROR_SUCCESS);
      EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Software\\Tree\\Branch"), ERROR_SUCCESS);
      EXPECT_EQ(RegDeleteKey(tree, ""), ERROR_SUCCESS);
      EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, "Software\\Tree", &probe), ERROR_FILE_NOT_FOUND);
      EXPECT_EQ(RegDeleteKey(HKEY_LOCAL_MACHINE, "Software\\Tree"), ERROR_FILE_NOT_FOUND);
    }
  }
}

TEST(RegistryMachineTest, HandlesBelongToTheMachineTheyWereOpenedOn) {
  RegKey key = 0;
  {
    qmtest::TempMachineRoot first;
    key = Create(HKEY_CURRENT_USER, "First");
  }
  qmtest::TempMachineRoot second;
  EXPECT_EQ(RegSetValueEx(key, "x", REG_SZ, Bytes("y")), ERROR_INVALID_HANDLE);
  RegKey probe = 0;
  EXPECT_EQ(Open(HKEY_CURRENT_USER, "First", &probe), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(std::filesystem::exists(second.Root() / "registry.db"));
}

// Runs work in a child process and returns its exit status (0 = all succeeded).
template <typename Work>
pid_t StartChild(Work work) {
  const pid_t pid = fork();
  if (pid == 0) _exit(work() ? 0 : 1);
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST_F(RegistryTest, ChangesOfAnotherProcessAreSeenAndSurviveIt) {
  // The parent has the database open already; the child must open its own.
  Create(HKEY_LOCAL_MACHINE, "Software\\Shared");
  const pid_t child = StartChild([] {
    RegKey key = 0;
    return RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Shared\\FromChild", "", 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) == ERROR_SUCCESS &&
           RegSetValueEx(key, "Written", REG_SZ, Bytes("by the child")) == ERROR_SUCCESS;
  });
  ASSERT_EQ(WaitFor(child), 0);
  RegKey key = 0;
  ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, "Software\\Shared\\FromChild", &key), ERROR_SUCCESS);
  EXPECT_EQ(QueryText(key, "written"), "by the child");

  // And a fresh process sees what this one wrote.
  ASSERT_EQ(RegSetValueEx(key, "Answer", REG_SZ, Bytes("from the parent")), ERROR_SUCCESS);
  const pid_t reader = StartChild([] {
    RegKey found = 0;
    return RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Shared\\FromChild", 0, KEY_READ, &found) == ERROR_SUCCESS &&
           QueryText(found, "Answer") == "from the parent";
  });
  EXPECT_EQ(WaitFor(reader), 0);
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
  constexpr int kValuesEach = 200;
  const RegKey key = Create(HKEY_LOCAL_MACHINE, "Software\\Race");
  std::vector<pid_t> children;
  for (const char* prefix : {"a", "b"}) {
    children.push_back(StartChild([prefix] {
      for (int i = 0; i < kValuesEach; ++i) {
        RegKey own = 0;
        const std::string name = std::string(prefix) + std::to_string(i);
        // A key and a value per round: both the key and value tables are contended.
        if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Race\\" + name, "", 0, KEY_ALL_ACCESS, nullptr, &own,
                           nullptr) != ERROR_SUCCESS ||
            RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Race", 0, KEY_ALL_ACCESS, &own) != ERROR_SUCCESS ||
            RegSetValueEx(own, name, REG_SZ, Bytes(name)) != ERROR_SUCCESS || RegCloseKey(own) != ERROR_SUCCESS) {
          return false;
        }
      }
      return true;
    }));
  }
  for (const pid_t child : children) EXPECT_EQ(WaitFor(child), 0);
  EXPECT_EQ(Subkeys(key).size(), 2u * kValuesEach);
  RegValue value;
  std::uint32_t count = 0;
  while (RegEnumValue(key, count, &value) == ERROR_SUCCESS) {
    EXPECT_EQ(std::string(value.data.begin(), value.data.end()), value.name);
    ++count;
  }
  EXPECT_EQ(count, 2u * kValuesEach);
}

TEST(RegistryFileTest, AFileThatIsNoDatabaseAnswersWithAStatus) {
  qmtest::TempMachineRoot machine;
  // Another machine first, so that this one's database is opened afresh.
  {
    qmtest::TempMachineRoot other;
    Create(HKEY_USERS, "x");
  }
  std::ofstream(machine.Root() / "registry.db", std::ios::binary) << std::string(4096, 'Z');
  platform::UseMachine(machine.Root());
  RegKey key = 0;
  const RegStatus status = RegCreateKeyEx(HKEY_USERS, "x", "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  EXPECT_TRUE(status == ERROR_REGISTRY_CORRUPT || status == ERROR_CANTOPEN) << status;
}

}  // namespace
