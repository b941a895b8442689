// Files written without a name: nothing shows until they are published, an
// abandoned one leaves nothing, and only dead writers' leftovers are deleted.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/core/published_file.h"
#include "tests/common/temp_dir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using qmtest::ReadFileText;
using qmtest::TempDir;
using qmtest::WriteFileText;

std::set<std::string> Names(const fs::path& directory) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) names.insert(entry.path().filename().string());
  return names;
}

TEST(PublishedFile, NothingShowsBeforePublishingAndAnAbandonedFileLeavesNothing) {
  TempDir dir{"qm-published"};
  WriteFileText(dir / "old.ini", "old");
  for (const char* name : {"old.ini", "new.ini"}) {
    SCOPED_TRACE(name);
    {
      PublishedFile abandoned(dir / name);
      abandoned.Write("never seen");
      EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"old.ini"});
    }
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"old.ini"});

    PublishedFile file(dir / name);
    file.Write("new ");
    file.Write("text");
    EXPECT_EQ(Names(dir.Path()), std::set<std::string>{"old.ini"});
    EXPECT_EQ(ReadFileText(dir / "old.ini"), std::string(name) == "old.ini" ? "old" : "new text");
    file.Publish();
    EXPECT_EQ(ReadFileText(dir / name), "new text");
  }
  EXPECT_EQ(Names(dir.Path()), (std::set<std::string>{"new.ini", "old.ini"}));
}

TEST(PublishedFile, OnlyCopiesOfDeadWritersAreLeftovers) {
  TempDir dir{"qm-published"};
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  const std::string dead = ".Qmw.log." + std::to_string(child) + "-aB3xYz";
  const std::string running = ".Qmw.log." + std::to_string(::getppid()) + "-aB3xYz";
  const std::string mine = ".Qmw.log." + std::to_string(::getpid()) + "-aB3xYz";
  for (const std::string& name : {dead, running, mine, std::string(".Qmw.log.aB3xYz"), std::string(".other.ini.1-aB3xYz"),
                                  std::string("Qmw.log")}) {
    WriteFileText(dir / name, "x");
  }
  PublishedFile::RemoveLeftovers(dir / "Qmw.log");
  EXPECT_EQ(Names(dir.Path()),
            (std::set<std::string>{running, mine, ".Qmw.log.aB3xYz", ".other.ini.1-aB3xYz", "Qmw.log"}));
}

}  // namespace
}  // namespace platform
