// Writing through the host-path engine: where lines go, line ends, deletions,
// refused input, read-only files, links, and what a rewrite keeps.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>

#include "platform/profile/host_profile.h"
#include "tests/common/temp_dir.h"

namespace platform {
namespace {

using qmtest::ModeOf;
using qmtest::ReadFileText;
using qmtest::TempDir;
using qmtest::WriteFileText;

class ProfileWrite : public ::testing::Test {
 protected:
  bool Write(const char* section, const char* key, const char* value) {
    return WriteHostProfileString(file, section, key, value);
  }
  std::string Read(const char* section, const char* key) {
    char buffer[256];
    const std::size_t n = GetHostProfileString(file, section, key, "<none>", buffer, sizeof buffer);
    return std::string(buffer, n);
  }

  TempDir dir{"qm-profile"};
  std::filesystem::path file = dir / "test.ini";
};

TEST_F(ProfileWrite, ANewFileUsesCrLfAndGrowsSectionBySection) {
  ASSERT_TRUE(Write("Group", "a.dll", "1|1|0"));
  ASSERT_TRUE(Write("Group", "b.dll", "1|0|0"));
  ASSERT_TRUE(Write("destinations", "1", "QM|0|C:\\QM"));
  ASSERT_TRUE(Write("group", "c.dll", "1|1|1"));  // back into the first section
  EXPECT_EQ(ReadFileText(file),
            "[Group]\r\na.dll=1|1|0\r\nb.dll=1|0|0\r\nc.dll=1|1|1\r\n"
            "[destinations]\r\n1=QM|0|C:\\QM\r\n");
  EXPECT_EQ(ModeOf(file) & 0600, 0600);
}

TEST_F(ProfileWrite, AKeyWrittenTwiceKeepsItsPlaceAndSpelling) {
  WriteFileText(file, "[s]\nFirst = 1\nsecond=2\n[t]\nx=y\n");
  ASSERT_TRUE(Write("S", "first", "one"));
  ASSERT_TRUE(Write("s", "SECOND", "2"));  // unchanged: nothing written
  EXPECT_EQ(ReadFileText(file), "[s]\nFirst=one\nsecond=2\n[t]\nx=y\n");
  EXPECT_EQ(Read("s", "first"), "one");
}

TEST_F(ProfileWrite, ANewKeyGoesAfterTheLastNonBlankLineOfItsSection) {
  WriteFileText(file, "; head\n[a]\nx=1\n;note\n\n\n[b]\ny=2\n\n");
  ASSERT_TRUE(Write("a", "new", "3"));
  ASSERT_TRUE(Write("b", "z", "4"));
  ASSERT_TRUE(Write("c", "w", "5"));
  EXPECT_EQ(ReadFileText(file), "; head\n[a]\nx=1\n;note\nnew=3\n\n\n[b]\ny=2\nz=4\n\n[c]\nw=5\n");
}

TEST_F(ProfileWrite, LineEndsOfTheFileAreKept) {
  WriteFileText(file, "[a]\r\nx=1\r\n[b]\r\ny=2");
  ASSERT_TRUE(Write("a", "x2", "1"));
  ASSERT_TRUE(Write("b", "y2", "2"));
  EXPECT_EQ(ReadFileText(file), "[a]\r\nx=1\r\nx2=1\r\n[b]\r\ny=2\r\ny2=2\r\n");

  WriteFileText(file, "[a]\nx=1");
  ASSERT_TRUE(Write("a", "y", "2"));
  ASSERT_TRUE(Write("b", "z", "3"));
  EXPECT_EQ(ReadFileText(file), "[a]\nx=1\ny=2\n[b]\nz=3\n");
}

TEST_F(ProfileWrite, NullValueDeletesAKeyAndNullKeyASection) {
  WriteFileText(file, "[a]\r\nx=1\r\ny=2\r\n[b]\r\nz=3\r\n;kept with b\r\n[c]\r\nw=4\r\n");
  ASSERT_TRUE(Write("A", "X", nullptr));
  ASSERT_TRUE(Write("B", nullptr, nullptr));
  ASSERT_TRUE(Write("a", "missing", nullptr));
  ASSERT_TRUE(Write("missing", nullptr, nullptr));
  EXPECT_EQ(ReadFileText(file), "[a]\r\ny=2\r\n[c]\r\nw=4\r\n");
  EXPECT_EQ(Read("b", "z"), "<none>");

  // Deleting from a file that does not exist does not create it.
  const auto none = dir / "none.ini";
  EXPECT_TRUE(WriteHostProfileString(none, "a", "x", nullptr));
  EXPECT_TRUE(WriteHostProfileString(none, "a", nullptr, nullptr));
  EXPECT_FALSE(std::filesystem::exists(none));
  // All three null only flushes.
  EXPECT_TRUE(WriteHostProfileString(none, nullptr, nullptr, nullptr));
  EXPECT_FALSE(WriteHostProfileString(none, nullptr, "k", "v"));
}

TEST_F(ProfileWrite, LineBreaksAndUnreadableNamesAreRefusedAndChangeNothing) {
  WriteFileText(file, "[Group]\r\na.dll=1|1|0\r\n");
  const std::string before = ReadFileText(file);
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const Case refused[] = {
      {"Group", "b.dll", "1|1|0\r\n[Registry]\r\nHKLM\\Evil=x"},
      {"Group", "b.dll", "1\n2"},
      {"Group", "b.dll", "1\r2"},
      {"Group", "a.dll", "replaced\nline"},
      {"Group", "b\r\nc.dll", "1"},
      {"Group\n[Registry]", "k", "v"},
      {"Group", "a=b", "1"},
      {"Group", "[fake]", "1"},
      {"Group", "  [fake", "1"},
      {"Group", ";comment", "1"},
      {"Gr]oup", "k", "v"},
      {"Group\n", nullptr, nullptr},
      {"Group", "a.dll\n", nullptr},
  };
  for (const Case& c : refused) {
    errno = 0;
    EXPECT_FALSE(Write(c.section, c.key, c.value)) << c.section << " / " << (c.key ? c.key : "(null)");
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(ReadFileText(file), before);
  }
  EXPECT_FALSE(WriteHostProfileString(dir / "new.ini", "s", "k", "a\nb"));
  EXPECT_FALSE(std::filesystem::exists(dir / "new.ini"));
  // Brackets and equals signs inside values, and "[" inside a key, are fine.
  EXPECT_TRUE(Write("Group", "b[1].dll", "x=[y]"));
  EXPECT_EQ(Read("group", "b[1].dll"), "x=[y]");
}

TEST_F(ProfileWrite, AReadOnlyFileIsRefusedEvenWhenCached) {
  ASSERT_TRUE(Write("s", "k", "1"));  // cached from here on
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  const std::string before = ReadFileText(file);
  errno = 0;
  EXPECT_FALSE(Write("s", "k2", "append"));
  EXPECT_EQ(errno, EACCES);
  EXPECT_FALSE(Write("s", "k", "rewrite"));
  EXPECT_FALSE(Write("s", nullptr, nullptr));
  EXPECT_EQ(ReadFileText(file), before);
  EXPECT_EQ(ModeOf(file), 0444u);
  EXPECT_EQ(Read("s", "k"), "1");

  ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
  EXPECT_TRUE(Write("s", "k2", "2"));
}

TEST_F(ProfileWrite, AMissingDirectoryIsAFailure) {
  errno = 0;
  EXPECT_FALSE(WriteHostProfileString(dir / "missing" / "x.ini", "s", "k", "v"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing"));
  // A later read of it is not fooled by the refused write.
  char buffer[8];
  EXPECT_EQ(GetHostProfileString(dir / "missing" / "x.ini", "s", "k", "d", buffer, sizeof buffer), 1u);
}

TEST_F(ProfileWrite, ARewriteKeepsPermissionsAndUserAttributes) {
  WriteFileText(file, "[a]\nx=1\n[b]\ny=2\n");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  const bool hasXattr = ::setxattr(file.c_str(), "user.DOSATTRIB", "0x22", 4, 0) == 0;
  ASSERT_TRUE(Write("a", "x", "changed"));  // in the middle: temporary file and rename
  EXPECT_EQ(ReadFileText(file), "[a]\nx=changed\n[b]\ny=2\n");
  EXPECT_EQ(ModeOf(file), 0640u);
  if (hasXattr) {
    char value[8] = {};
    EXPECT_EQ(::getxattr(file.c_str(), "user.DOSATTRIB", value, sizeof value), 4);
    EXPECT_STREQ(value, "0x22");
  }
  // No temporary file stays behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(ProfileWrite, ASymlinkIsWrittenThroughToItsFile) {
  const auto real = dir / "real.ini";
  WriteFileText(real, "[a]\nx=1\n");
  std::filesystem::create_symlink("real.ini", file);
  ASSERT_TRUE(Write("a", "y", "2"));        // appended
  ASSERT_TRUE(Write("a", "x", "changed"));  // rewritten
  EXPECT_TRUE(std::filesystem::is_symlink(file));
  EXPECT_EQ(ReadFileText(real), "[a]\nx=changed\ny=2\n");
  EXPECT_EQ(Read("a", "x"), "changed");

  // A dangling link creates the file it names.
  const auto dangling = dir / "dangling.ini";
  std::filesystem::create_symlink("target.ini", dangling);
  ASSERT_TRUE(WriteHostProfileString(dangling, "s", "k", "v"));
  EXPECT_TRUE(std::filesystem::is_symlink(dangling));
  EXPECT_EQ(ReadFileText(dir / "target.ini"), "[s]\r\nk=v\r\n");
}

TEST_F(ProfileWrite, AppendsNeitherRereadNorRewriteTheFile) {
  ASSERT_TRUE(Write("Group", "first.dll", "1|1|0"));
  const std::uint64_t reads = HostProfileDiskReads();
  struct stat status {};
  ASSERT_EQ(::stat(file.c_str(), &status), 0);
  const ino_t inode = status.st_ino;
  std::string expected = "[Group]\r\nfirst.dll=1|1|0\r\n";
  for (int i = 0; i < 200; ++i) {
    const std::string key = "file" + std::to_string(i) + ".dll";
    ASSERT_TRUE(Write("Group", key.c_str(), "0|1|0"));
    expected += key + "=0|1|0\r\n";
  }
  EXPECT_EQ(HostProfileDiskReads(), reads);
  ASSERT_EQ(::stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_ino, inode) << "appending must not replace the file";
  EXPECT_EQ(ReadFileText(file), expected);

  // A rewrite updates the cache as well.
  ASSERT_TRUE(Write("Group", "first.dll", "1|1|1"));
  EXPECT_EQ(Read("group", "FIRST.DLL"), "1|1|1");
  EXPECT_EQ(Read("group", "file199.dll"), "0|1|0");
  EXPECT_EQ(HostProfileDiskReads(), reads);
}

// The journal's pattern: a line written, then taken back while still last.
TEST_F(ProfileWrite, TakingBackTheLastLineCutsTheFileInPlace) {
  ASSERT_TRUE(Write("Group", "kept.dll", "0|1|0"));
  ASSERT_TRUE(Write("Group", "1a2b3c4d.dll", "0|1|0"));
  const std::uint64_t reads = HostProfileDiskReads();
  struct stat status {};
  ASSERT_EQ(::stat(file.c_str(), &status), 0);
  const ino_t inode = status.st_ino;
  ASSERT_TRUE(Write("Group", "1A2B3C4D.DLL", nullptr));
  ASSERT_EQ(::stat(file.c_str(), &status), 0);
  EXPECT_EQ(status.st_ino, inode) << "taking back the last line must not replace the file";
  EXPECT_EQ(ReadFileText(file), "[Group]\r\nkept.dll=0|1|0\r\n");
  EXPECT_EQ(HostProfileDiskReads(), reads);

  // Another process's change since is seen, and the line goes all the same.
  ASSERT_TRUE(Write("Group", "temp.dll", "0|1|0"));
  WriteFileText(file, ReadFileText(file) + "[Other]\r\nx=1\r\n");
  ASSERT_TRUE(Write("Group", "temp.dll", nullptr));
  EXPECT_EQ(ReadFileText(file), "[Group]\r\nkept.dll=0|1|0\r\n[Other]\r\nx=1\r\n");
}

// Between two appends the file may be replaced, deleted or extended by someone
// else, and after a rewrite of our own it is another file: the next line goes
// into the file the name shows then, never into the one it showed before.
TEST_F(ProfileWrite, TheNextLineGoesToTheFileTheNameShowsNow) {
  const struct {
    const char* what;
    std::function<void(const std::filesystem::path&)> change;
    std::string expected;
  } cases[] = {
      {"replaced by a rename",
       [](const std::filesystem::path& f) {
         WriteFileText(f.string() + ".new", "[Other]\r\nx=1\r\n");
         std::filesystem::rename(f.string() + ".new", f);
       },
       "[Other]\r\nx=1\r\n[s]\r\nb=2\r\n"},
      {"deleted", [](const std::filesystem::path& f) { std::filesystem::remove(f); }, "[s]\r\nb=2\r\n"},
      {"extended", [](const std::filesystem::path& f) { WriteFileText(f, ReadFileText(f) + "c=3\r\n"); },
       "[s]\r\na=1\r\nc=3\r\nb=2\r\n"},
      {"rewritten by us", [this](const std::filesystem::path&) { ASSERT_TRUE(Write("s", "a", "one")); },
       "[s]\r\na=one\r\nb=2\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(file);
    ASSERT_TRUE(Write("s", "a", "1"));
    struct stat first {};
    ASSERT_EQ(::stat(file.c_str(), &first), 0);
    const std::string firstText = ReadFileText(file);
    // Hold on to the first version to see that it gets nothing more.
    const std::filesystem::path held = dir / "held.ini";
    std::filesystem::remove(held);
    std::filesystem::create_hard_link(file, held);
    c.change(file);
    ASSERT_TRUE(Write("s", "b", "2"));
    EXPECT_EQ(ReadFileText(file), c.expected);
    struct stat now {};
    ASSERT_EQ(::stat(file.c_str(), &now), 0);
    if (now.st_ino != first.st_ino) {
      EXPECT_EQ(ReadFileText(held), firstText);
    }
  }
}

}  // namespace
}  // namespace platform
