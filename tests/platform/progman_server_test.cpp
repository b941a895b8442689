// The Program Manager server run in-process on a thread, driven through the
// DDE-style client: the group commands, the Progman request, groups surviving
// a restart, and clients that send garbage or vanish mid-frame.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "platform/core/exceptions.h"
#include "platform/dde/dde_client.h"
#include "platform/dde/dde_frame.h"
#include "platform/dde/progman_server.h"
#include "platform/dde/progman_store.h"
#include "platform/dde/unix_socket.h"
#include "platform/machine/machine.h"
#include "tests/common/temp_machine.h"

namespace platform::dde {
namespace {

namespace fs = std::filesystem;

// A server serving on a thread of its own for the life of the object.
class RunningServer {
 public:
  RunningServer() : server_(std::make_unique<ProgmanServer>(ProgmanSocketPath(), ProgmanGroupDirectory())) {
    thread_ = std::thread([this] { server_->Run(); });
  }
  ~RunningServer() {
    server_->RequestStop();
    thread_.join();
  }

 private:
  std::unique_ptr<ProgmanServer> server_;
  std::thread thread_;
};

class ProgmanServerTest : public ::testing::Test {
 protected:
  std::unique_ptr<DdeClient> Connected() {
    auto client = std::make_unique<DdeClient>();
    EXPECT_TRUE(client->Connect("PROGMAN", "PROGMAN"));
    return client;
  }

  std::vector<ProgmanGroup> GroupsOnDisk() { return ProgmanGroupStore(ProgmanGroupDirectory()).Groups(); }

  qmtest::TempMachineRoot machine_;
};

TEST_F(ProgmanServerTest, GroupsAndItemsLiveThroughCommandsAndRestarts) {
  {
    RunningServer server;
    auto client = Connected();
    EXPECT_TRUE(client->Execute("[CreateGroup (\"QM2\")]"));
    EXPECT_TRUE(client->Execute("[AddItem (C:\\QM\\QM.EXE ,\"Quillmark\",C:\\QM\\QM.ICO,2,-1,-1,,,1)]"));
    EXPECT_TRUE(client->Execute("[AddItem (C:\\QM\\UNSETUP.EXE /U,\"Remove\",,0,-1,-1,C:\\QM,65,0)]"));
    // ReplaceItem takes the item out; the next AddItem comes back at its place.
    EXPECT_TRUE(client->Execute("[ReplaceItem (quillmark)][AddItem (C:\\QM\\QM2.EXE ,\"Quillmark\",,0,-1,-1,,,0)]"));
    EXPECT_TRUE(client->Execute("[CreateGroup(\"Tools\")][CreateGroup(\"qm2\")]"));
    EXPECT_EQ(client->Request("Progman"), "QM2\r\nTools\r\n");
  }

  const std::vector<ProgmanGroup> groups = GroupsOnDisk();
  ASSERT_EQ(groups.size(), 2u);
  ASSERT_EQ(groups[0].items.size(), 2u);
  const ProgmanItem& first = groups[0].items[0];
  EXPECT_EQ(first.name, "Quillmark");
  EXPECT_EQ(first.command, "C:\\QM\\QM2.EXE");
  EXPECT_EQ(first.iconPath, "C:\\QM\\QM2.EXE");  // no icon path: the command's own
  const ProgmanItem& second = groups[0].items[1];
  EXPECT_EQ(second.command, "C:\\QM\\UNSETUP.EXE /U");
  EXPECT_EQ(second.defaultDir, "C:\\QM");
  EXPECT_EQ(second.hotkey, 65);
  EXPECT_FALSE(second.minimized);

  RunningServer restarted;
  auto client = Connected();
  EXPECT_EQ(client->Request("PROGMAN"), "QM2\r\nTools\r\n");
  EXPECT_TRUE(client->Execute("[ShowGroup(qm2,1)][DeleteItem(Remove)]"));
  EXPECT_FALSE(client->Execute("[DeleteItem(Remove)]"));
  EXPECT_TRUE(client->Execute("[DeleteGroup(\"TOOLS\")]"));
  EXPECT_FALSE(client->Execute("[DeleteGroup(\"Tools\")]"));
  EXPECT_EQ(client->Request("Progman"), "QM2\r\n");
  EXPECT_EQ(GroupsOnDisk().at(0).items.size(), 1u);
}

TEST_F(ProgmanServerTest, RefusesWhatItCannotDoAndKeepsServing) {
  RunningServer server;
  auto client = Connected();
  EXPECT_FALSE(client->Execute("[CreateGroup(\"QM2\""));
  EXPECT_FALSE(client->Execute("[FormatDisk(C)]"));
  EXPECT_FALSE(client->Execute("[AddItem(C:\\QM.EXE)]"));  // no current group
  EXPECT_FALSE(client->Execute("[CreateGroup(A)][AddItem(X,Y,,notanumber)]"));
  EXPECT_FALSE(client->Execute(std::string(kMaxExecuteBytes, 'x')));
  EXPECT_FALSE(client->Request("NoSuchItem"));
  EXPECT_TRUE(client->Connected());
  // Commands before the one that failed keep their effect.
  EXPECT_EQ(client->Request("Progman"), "A\r\n");

  DdeClient other;
  EXPECT_FALSE(other.Connect("PROGMAN", "SOMETHING"));
  EXPECT_FALSE(other.Connect("../progman", "PROGMAN"));
}

TEST_F(ProgmanServerTest, ChangeThatCannotBeWrittenIsRefusedAndForgotten) {
  RunningServer server;
  auto client = Connected();
  ASSERT_TRUE(client->Execute("[CreateGroup(QM2)]"));
  // A directory with something in it where the group file is: the new file
  // cannot be renamed over it.
  const fs::path blocker = ProgmanGroupDirectory() / "QM2.grp";
  fs::remove(blocker);
  fs::create_directories(blocker / "in-the-way");
  EXPECT_FALSE(client->Execute("[AddItem(C:\\LOST.EXE,Lost)]"));
  fs::remove_all(blocker);
  EXPECT_TRUE(client->Execute("[AddItem(C:\\KEPT.EXE,Kept)]"));
  const std::vector<ProgmanGroup> groups = GroupsOnDisk();
  ASSERT_EQ(groups.size(), 1u);
  ASSERT_EQ(groups[0].items.size(), 1u);
  EXPECT_EQ(groups[0].items[0].name, "Kept");
}

TEST_F(ProgmanServerTest, ClientsThatBreakOffLeaveTheServerServing) {
  RunningServer server;
  auto steady = Connected();
  sockaddr_un address;
  ASSERT_TRUE(MakeSocketAddress(ProgmanSocketPath(), address));
  {
    // Half a header, then gone.
    UniqueFd rude = ConnectStream(address);
    ASSERT_GE(rude.Get(), 0);
    ASSERT_EQ(::send(rude.Get(), "\x10\x00", 2, MSG_NOSIGNAL), 2);
  }
  {
    // A frame that claims more than any command, then half its body.
    UniqueFd greedy = ConnectStream(address);
    ASSERT_GE(greedy.Get(), 0);
    const std::string header("\xff\xff\xff\x7fX", 5);
    ASSERT_EQ(::send(greedy.Get(), header.data(), header.size(), MSG_NOSIGNAL), 5);
  }
  {
    // Connected, then a command cut off after its header.
    UniqueFd cut = ConnectStream(address);
    ASSERT_GE(cut.Get(), 0);
    const auto deadline = std::chrono::steady_clock::now() + kTransactionTimeout;
    ASSERT_TRUE(WriteFrame(cut.Get(), Frame{FrameKind::Connect, std::string("PROGMAN\0PROGMAN", 15)}, deadline));
    ASSERT_EQ(ReadFrame(cut.Get(), 64, deadline).status, ReadStatus::Ok);
    const std::string whole = EncodeFrame(Frame{FrameKind::Execute, std::string("[CreateGroup(Cut)]\0", 19)});
    ASSERT_EQ(::send(cut.Get(), whole.data(), 8, MSG_NOSIGNAL), 8);
  }
  EXPECT_TRUE(steady->Execute("[CreateGroup(\"Still here\")]"));
  EXPECT_EQ(Connected()->Request("Progman"), "Still here\r\n");
}

TEST_F(ProgmanServerTest, SecondServerOnTheSameSocketIsRefused) {
  RunningServer server;
  try {
    ProgmanServer second(ProgmanSocketPath(), ProgmanGroupDirectory());
    FAIL() << "a second server started";
  } catch (const FileException& e) {
    EXPECT_EQ(e.Cause(), FileCause::SharingViolation);
  }
}

TEST(ProgmanGroupFile, RoundTripsEveryField) {
  ProgmanGroup group{"Quill = mark", {{"A=B", "C:\\A.EXE /x=1", "C:\\A.ICO", 3, "C:\\", 577, true}, {}}};
  ProgmanGroup back;
  ASSERT_TRUE(ParseGroupFile(FormatGroupFile(group), back));
  EXPECT_EQ(back.name, group.name);
  ASSERT_EQ(back.items.size(), 2u);
  const ProgmanItem& item = back.items[0];
  EXPECT_EQ(item.name, "A=B");
  EXPECT_EQ(item.command, "C:\\A.EXE /x=1");
  EXPECT_EQ(item.iconPath, "C:\\A.ICO");
  EXPECT_EQ(item.iconIndex, 3);
  EXPECT_EQ(item.defaultDir, "C:\\");
  EXPECT_EQ(item.hotkey, 577);
  EXPECT_TRUE(item.minimized);
  EXPECT_FALSE(ParseGroupFile("[Item1]\r\nName=x\r\n", back));
}

}  // namespace
}  // namespace platform::dde

namespace platform::dde {
namespace {

// Names that map to the same file name, a group file torn by a crash and a
// temporary file left by one: every group keeps a file of its own, and the
// leftovers are neither read as groups nor overwritten.
TEST(ProgmanGroupStoreTest, NamesThatShareAFileNameKeepFilesOfTheirOwn) {
  qmtest::TempMachineRoot machine;
  const fs::path dir = ProgmanGroupDirectory();
  std::ofstream(dir / "Broken.grp") << "[Item1]\r\nName=half";
  std::ofstream(dir / "A_B.grp.tmp") << "[Group]\r\nName=A_B\r\n";
  {
    ProgmanGroupStore store(dir);
    EXPECT_TRUE(store.Groups().empty());
    store.Create("A/B");
    store.Create("A_B");
    store.Create("a:b").items.push_back({"x", "C:\\X.EXE", "", 0, "", 0, false});
    store.Save(*store.Find("A:B"));
    store.Create("Broken");
  }
  ProgmanGroupStore reread(dir);
  ASSERT_EQ(reread.Groups().size(), 4u);
  EXPECT_EQ(reread.Find("a:b")->items.size(), 1u);
  EXPECT_TRUE(fs::exists(dir / "Broken.grp"));
  EXPECT_TRUE(reread.Delete("a/b"));
  EXPECT_FALSE(reread.Delete("a/b"));
  EXPECT_EQ(ProgmanGroupStore(dir).Groups().size(), 3u);
}

}  // namespace
}  // namespace platform::dde
