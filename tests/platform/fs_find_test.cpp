// DOS wildcards and directory searches.

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/fs/file_ops.h"
#include "platform/fs/find.h"
#include "tests/platform/fs_test_support.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

struct WildcardCase {
  const char* pattern;
  const char* name;
  bool matches;
};

TEST(DosWildcard, MatchesAsTheDosFileSystemsDo) {
  const WildcardCase cases[] = {
      // every name
      {"*.*", "README", true}, {"*.*", "A.TXT", true}, {"*.*", "a.b.c", true}, {"*.*", ".", true},
      {"*", "README", true}, {"*", "A.TXT", true}, {"*", "..", true},
      // extensions: the last one counts
      {"*.TXT", "A.TXT", true}, {"*.TXT", "a.txt", true}, {"*.txt", "A.TxT", true},
      {"*.TXT", "A.TXT.BAK", false}, {"*.TXT", "A.B.TXT", true}, {"*.TXT", "ATXT", false},
      {"*.TXT", ".TXT", true}, {"*.TXT", "A.TX", false}, {"*.B", "A.B.C", false},
      // "?" takes one character, or none at the end and before the extension
      {"A?C.*", "ABC.DOC", true}, {"A?C.*", "abc", true}, {"A?C.*", "ABC.D.E", true},
      {"A?C.*", "AC.DOC", false}, {"A?C.*", "ABBC.DOC", false}, {"A?C", "A.C", false},
      {"?", "A", true}, {"?", "", true}, {"?", "AB", false}, {"?", ".", false},
      {"A??", "A", true}, {"A??", "ABC", true}, {"A??", "ABCD", false},
      {"FILE?.TXT", "FILE.TXT", true}, {"FILE?.TXT", "FILE1.TXT", true}, {"FILE?.TXT", "FILE12.TXT", false},
      {"????????.???", "SETUP.EX", true}, {"????????.???", "LONGERNAME.TXT", false},
      {"*.?", "A.B", true}, {"*.?", "A", true}, {"*.?", "A.BC", false},
      // ".*" also finds names without an extension; "*." finds only those
      {"README.*", "README", true}, {"README.*", "README.TXT", true}, {"README.*", "README.TXT.GZ", true},
      {"README.*", "READMEX", false}, {"*.", "README", true}, {"*.", "A.TXT", false},
      {"A.", "A", true}, {"A.", "A.B", false},
      // plain names and other stars
      {"SETUP.EXE", "setup.exe", true}, {"SETUP.EXE", "SETUP.EX", false}, {"SETUP.EXE", "SETUP.EXE1", false},
      {"*TXT", "A.TXT", true}, {"S*P.E*", "SETUP.EXE", true}, {"S*P.E*", "SP.E", true},
      {"*A*", "bab.x", true}, {"*A*", "b.x", false}, {"", "", true}, {"", "A", false},
  };
  for (const WildcardCase& c : cases) {
    EXPECT_EQ(MatchesDosWildcard(c.pattern, c.name), c.matches) << '"' << c.pattern << "\" on \"" << c.name << '"';
  }
}

TEST(DosWildcard, LongPatternsStayFast) {
  // A backtracking matcher would take ages here; the table stays linear.
  const std::string pattern = std::string(100, '*') + "B";
  EXPECT_FALSE(MatchesDosWildcard(pattern, std::string(250, 'a')));
  EXPECT_TRUE(MatchesDosWildcard(pattern, std::string(250, 'a') + "b"));
}

class Finder : public machine_test::FsTest {
 protected:
  void SetUp() override {
    for (const char* name : {"A.TXT", "b.txt", "README", "x.tar.gz", "ABC.DOC", "Sub/inner.txt"}) {
      MakeFile(std::string("Dir/") + name, "12345");
    }
  }

  // The names a search finds, in order; empty with errno when it finds none.
  static std::vector<std::string> Names(std::string_view pattern, uint32_t mask = 0) {
    std::vector<std::string> names;
    FileFinder finder;
    if (!finder.FindFirst(pattern, mask)) return names;
    do {
      names.push_back(finder.Current().name);
    } while (finder.FindNext());
    return names;
  }
  using List = std::vector<std::string>;
};

TEST_F(Finder, FindsMatchingEntriesInAStableOrder) {
  EXPECT_EQ(Names("C:\\DIR\\*.*"), (List{".", "..", "A.TXT", "ABC.DOC", "b.txt", "README", "Sub", "x.tar.gz"}));
  EXPECT_EQ(Names("c:/dir/*.txt"), (List{"A.TXT", "b.txt"}));
  EXPECT_EQ(Names("C:\\DIR\\A?C.*"), (List{"ABC.DOC"}));
  EXPECT_EQ(Names("C:\\DIR\\*."), (List{".", "..", "README", "Sub"}));
  EXPECT_EQ(Names("C:\\DIR\\readme"), (List{"README"}));
  EXPECT_EQ(Names("C:\\DIR\\*.gz"), (List{"x.tar.gz"}));

  fs::current_path(C() / "Dir");
  EXPECT_EQ(Names("*.DOC"), (List{"ABC.DOC"}));
  EXPECT_EQ(Names("SUB\\*.*"), (List{".", "..", "inner.txt"}));
}

TEST_F(Finder, EntriesCarryTheirAttributesSizesAndTimes) {
  ASSERT_TRUE(SetLastWriteTime("C:\\DIR\\README", 1000000000));
  ASSERT_TRUE(SetFileAttributes("C:\\DIR\\README", kAttrReadOnly));
  FileFinder finder;
  ASSERT_TRUE(finder.FindFirst("C:\\DIR\\README"));
  EXPECT_EQ(finder.Current().name, "README");
  EXPECT_EQ(finder.Current().size, 5u);
  EXPECT_EQ(finder.Current().lastWriteTime, 1000000000);
  EXPECT_EQ(finder.Current().attributes, kAttrReadOnly);
  EXPECT_FALSE(finder.FindNext());
  EXPECT_EQ(finder.Current().name, "README");  // the last entry stays current
  finder.Close();

  ASSERT_TRUE(finder.FindFirst("C:\\DIR\\*.*"));
  EXPECT_EQ(finder.Current().name, ".");
  EXPECT_EQ(finder.Current().attributes, kAttrDirectory);
}

TEST_F(Finder, MaskKeepsEntriesSharingABit) {
  EXPECT_EQ(Names("C:\\DIR\\*.*", kAttrDirectory), (List{".", "..", "Sub"}));
  ASSERT_TRUE(SetFileAttributes("C:\\DIR\\B.TXT", kAttrReadOnly));
  EXPECT_EQ(Names("C:\\DIR\\*.*", kAttrReadOnly), (List{"b.txt"}));
  EXPECT_EQ(Names("C:\\DIR\\*.*", kAttrReadOnly | kAttrDirectory), (List{".", "..", "b.txt", "Sub"}));
  EXPECT_TRUE(Names("C:\\DIR\\*.TXT", kAttrDirectory).empty());
  EXPECT_EQ(errno, ENOENT);
}

TEST_F(Finder, DriveRootsHaveNoDotEntries) {
  EXPECT_EQ(Names("C:\\*.*", kAttrDirectory), (List{"Dir", "WINDOWS"}));
  const List onZ = Names("Z:\\*", kAttrDirectory);
  EXPECT_EQ(std::count(onZ.begin(), onZ.end(), ".."), 0);
  EXPECT_EQ(std::count(onZ.begin(), onZ.end(), "tmp"), 1);
  EXPECT_EQ(Names("C:\\WINDOWS\\*", kAttrDirectory), (List{".", "..", "SYSTEM", "TEMP"}));
}

TEST_F(Finder, FailedSearchesSayWhy) {
  FileFinder finder;
  EXPECT_FALSE(finder.FindFirst("C:\\DIR\\*.EXE"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(finder.FindFirst("C:\\MISSING\\*.*"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(finder.FindFirst("C:\\D*\\*.*"));  // wildcards only in the last component
  EXPECT_EQ(errno, EINVAL);
  EXPECT_FALSE(finder.FindFirst("Q:\\*.*"));
  EXPECT_EQ(errno, ENODEV);
  EXPECT_FALSE(finder.FindFirst("C:\\"));
  EXPECT_FALSE(finder.FindFirst("C:\\DIR\\"));
}

}  // namespace
}  // namespace platform
