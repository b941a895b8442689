#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/registry/registry.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using qmtest::RunTool;

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void WriteAll(const fs::path& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary);
  file << text;
}

// Sets a value under root\path in this process's machine, creating the key.
void Set(platform::RegKey root, const std::string& path, const std::string& name, std::uint32_t type,
         const std::vector<std::uint8_t>& data) {
  platform::RegKey key = 0;
  ASSERT_EQ(platform::RegCreateKeyEx(root, path, "", 0, platform::KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
  ASSERT_EQ(platform::RegSetValueEx(key, name, type, data), 0);
  platform::RegCloseKey(key);
}

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

class QmtoolReg : public ::testing::Test {
 protected:
  std::string Env(const fs::path& root) const { return "QMSETUP_SYSTEM=" + root.string(); }
  qmtest::TempDir dir_{"qmtool-reg"};
};

TEST_F(QmtoolReg, ExportThenImportIntoAFreshMachineGivesTheSameExport) {
  const fs::path exported = dir_.Path() / "first.reg";
  {
    // Staged in this process; the tool reads it from the database in another.
    qmtest::TempMachineRoot machine(platform::MachineConfig::Defaults(platform::PlatformKind::Nt4));
    Set(platform::HKEY_LOCAL_MACHINE, "Software\\Quill\\QMW2", "", platform::REG_SZ, Bytes("C:\\QMW2"));
    Set(platform::HKEY_LOCAL_MACHINE, "Software\\Quill\\QMW2", "Say \"x\"", platform::REG_SZ, Bytes("a\\b"));
    Set(platform::HKEY_LOCAL_MACHINE, "Software\\Quill\\QMW2", "Zeroed", platform::REG_SZ, Bytes(std::string("ab\0", 3)));
    Set(platform::HKEY_LOCAL_MACHINE, "Software\\Quill\\QMW2", "count", platform::REG_DWORD, {42, 0, 0, 0});
    Set(platform::HKEY_LOCAL_MACHINE, "Software\\Quill\\QMW2", "Blob", platform::REG_BINARY,
        std::vector<std::uint8_t>(90, 0xc3));
    Set(platform::HKEY_LOCAL_MACHINE, "Software\\Quill\\QMW2", "Path", platform::REG_EXPAND_SZ, Bytes("%x%"));
    Set(platform::HKEY_LOCAL_MACHINE, "Software\\Quill\\alpha", "n", platform::REG_NONE, {});
    Set(platform::HKEY_CURRENT_USER, "Software\\Empty\\Leaf", "v", platform::REG_SZ, {});
    const auto result = RunTool("qmtool", {"reg", "export", "--output", exported.string()}, {Env(machine.Root())});
    ASSERT_EQ(result.exitCode, 0) << result.err;
  }
  const std::string first = ReadAll(exported);
  EXPECT_NE(first.find("[HKEY_LOCAL_MACHINE\\Software\\Quill\\alpha]\n\"n\"=hex(0):\n\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Quill\\QMW2]\n@=\"C:\\\\QMW2\"\n\"Blob\"=hex:c3,"),
            std::string::npos)
      << first;
  EXPECT_NE(first.find("\"count\"=dword:0000002a\n\"Path\"=hex(2):25,78,25\n"
                       "\"Say \\\"x\\\"\"=\"a\\\\b\"\n\"Zeroed\"=hex(1):61,62,00\n"),
            std::string::npos)
      << first;

  const fs::path fresh = dir_.Path() / "fresh";
  ASSERT_EQ(RunTool("qmtool", {"system", "init", "--root", fresh.string(), "--platform", "nt4"}).exitCode, 0);
  // Take away what init seeds, which the staged machine does not have.
  ASSERT_EQ(RunTool("qmtool", {"reg", "delete", "HKCU\\Software\\Microsoft"}, {Env(fresh)}).exitCode, 0);
  ASSERT_EQ(RunTool("qmtool", {"reg", "delete", "HKLM\\SOFTWARE"}, {Env(fresh)}).exitCode, 0);
  const auto import = RunTool("qmtool", {"reg", "import", exported.string()}, {Env(fresh)});
  ASSERT_EQ(import.exitCode, 0) << import.err;
  const auto second = RunTool("qmtool", {"reg", "export"}, {Env(fresh)});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(second.out, first);
}

TEST_F(QmtoolReg, ImportAppliesDeletionsAndSubtreeExportSpellsKeysAsStored) {
  const fs::path root = dir_.Path() / "m";
  ASSERT_EQ(RunTool("qmtool", {"system", "init", "--root", root.string(), "--platform", "nt351"}).exitCode, 0);
  WriteAll(dir_.Path() / "a.reg",
           "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Quill\\Keep]\r\n\"a\"=\"1\"\r\n\"b\"=\"2\"\r\n"
           "[HKEY_LOCAL_MACHINE\\Software\\Quill\\Gone\\Deep\\Deeper]\r\n@=\"x\"\r\n");
  WriteAll(dir_.Path() / "b.reg",
           "REGEDIT4\n; the NT rule must not stop a subtree deletion\n[-HKLM\\software\\QUILL\\gone]\n"
           "[hklm\\software\\quill\\keep]\n\"A\"=-\n\"missing\"=-\n");
  ASSERT_EQ(RunTool("qmtool", {"reg", "import", (dir_.Path() / "a.reg").string()}, {Env(root)}).exitCode, 0);
  const auto second = RunTool("qmtool", {"reg", "import", (dir_.Path() / "b.reg").string()}, {Env(root)});
  ASSERT_EQ(second.exitCode, 0) << second.err;

  // SOFTWARE is the key that init seeds; the import added Quill below it.
  const auto result = RunTool("qmtool", {"reg", "export", "hklm\\software\\quill", "--root", root.string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quill]\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quill\\Keep]\n\"b\"=\"2\"\n\n");
}

TEST_F(QmtoolReg, DeleteTakesTheWholeSubtreeOnNtAndReportsWhatItCannotDo) {
  const fs::path root = dir_.Path() / "m";
  ASSERT_EQ(RunTool("qmtool", {"system", "init", "--root", root.string(), "--platform", "nt4"}).exitCode, 0);
  WriteAll(dir_.Path() / "a.reg", "REGEDIT4\n\n[HKEY_USERS\\A\\B\\C]\n[HKEY_USERS\\A\\D]\n[HKEY_USERS\\Z]\n");
  ASSERT_EQ(RunTool("qmtool", {"reg", "import", (dir_.Path() / "a.reg").string()}, {Env(root)}).exitCode, 0);

  EXPECT_EQ(RunTool("qmtool", {"reg", "delete", "HKEY_USERS\\a"}, {Env(root)}).exitCode, 0);
  const auto after = RunTool("qmtool", {"reg", "export", "HKU"}, {Env(root)});
  EXPECT_EQ(after.out, "REGEDIT4\n\n[HKEY_USERS]\n\n[HKEY_USERS\\Z]\n\n");

  const auto missing = RunTool("qmtool", {"reg", "delete", "HKEY_USERS\\A"}, {Env(root)});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("no key HKEY_USERS\\A"), std::string::npos) << missing.err;
  EXPECT_EQ(RunTool("qmtool", {"reg", "delete", "HKEY_USERS"}, {Env(root)}).exitCode, 1);
  const auto badRoot = RunTool("qmtool", {"reg", "export", "HKEY_NOWHERE\\X"}, {Env(root)});
  EXPECT_EQ(badRoot.exitCode, 1);
  EXPECT_NE(badRoot.err.find("unknown root key 'HKEY_NOWHERE'"), std::string::npos) << badRoot.err;
  EXPECT_EQ(RunTool("qmtool", {"reg", "export", "HKU\\Nothing"}, {Env(root)}).exitCode, 1);
}

TEST_F(QmtoolReg, ABadFileIsRefusedByLineAndChangesNothing) {
  const fs::path root = dir_.Path() / "m";
  ASSERT_EQ(RunTool("qmtool", {"system", "init", "--root", root.string()}).exitCode, 0);
  WriteAll(dir_.Path() / "bad.reg", "REGEDIT4\n\n[HKEY_USERS\\New]\n\"a\"=dword:xyz\n");
  const auto result = RunTool("qmtool", {"reg", "import", (dir_.Path() / "bad.reg").string()}, {Env(root)});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("line 4: dword:"), std::string::npos) << result.err;
  EXPECT_EQ(RunTool("qmtool", {"reg", "export", "HKU\\New"}, {Env(root)}).exitCode, 1);

  EXPECT_EQ(RunTool("qmtool", {"reg", "import", (dir_.Path() / "none.reg").string()}, {Env(root)}).exitCode, 1);
  EXPECT_EQ(RunTool("qmtool", {"reg", "import"}, {Env(root)}).exitCode, 2);
  EXPECT_EQ(RunTool("qmtool", {"reg", "frob"}, {Env(root)}).exitCode, 2);
  EXPECT_EQ(RunTool("qmtool", {"reg"}, {Env(root)}).exitCode, 2);
  for (const auto& args : std::vector<std::vector<std::string>>{{"reg", "--help"}, {"reg", "export", "--help"}}) {
    const auto help = RunTool("qmtool", args);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("REGEDIT4"), std::string::npos);
  }
}

}  // namespace
