// Thread messages between programs of one machine: the datagram text, posting
// and receiving within a process and across processes, and the cases where
// nobody listens, a datagram is not a message or a listener died.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

#include "platform/core/exceptions.h"
#include "platform/machine/machine.h"
#include "platform/machine/thread_message.h"
#include "platform/machine/thread_message_text.h"
#include "tests/common/temp_machine.h"

namespace platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr unsigned kSetupDone = 1338;

fs::path SocketPath(std::int32_t threadId) {
  return CurrentMachine().RunDirectory() / ("thread-" + std::to_string(threadId) + ".sock");
}

// Sends raw bytes to a thread's socket, as a foreign or faulty program would.
void SendRaw(std::int32_t threadId, const std::string& bytes) {
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = SocketPath(threadId).string();
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  EXPECT_EQ(::sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&address), sizeof address),
            static_cast<ssize_t>(bytes.size()));
  ::close(fd);
}

TEST(ThreadMessageText, RoundTripsTheExtremesOfEveryField) {
  const ThreadMessage extremes{std::numeric_limits<unsigned>::max(), std::numeric_limits<std::uintptr_t>::max(),
                               std::numeric_limits<std::intptr_t>::min()};
  const std::string text = FormatThreadMessage(extremes);
  EXPECT_LE(text.size(), kMaxThreadMessageText);
  const auto parsed = ParseThreadMessage(text);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->message, extremes.message);
  EXPECT_EQ(parsed->wParam, extremes.wParam);
  EXPECT_EQ(parsed->lParam, extremes.lParam);
  EXPECT_EQ(FormatThreadMessage({kSetupDone, 0, 0}), "1338 0 0\n");
}

TEST(ThreadMessageText, RefusesEverythingButTheExactForm) {
  EXPECT_TRUE(ParseThreadMessage("1338 0 -7\n"));
  for (const char* bad : {"1338 0 0", "1338 0 0\n\n", "1338 0 0 \n", " 1338 0 0\n", "1338  0 0\n", "1338 0\n",
                          "1338 0 0 0\n", "+1338 0 0\n", "-1338 0 0\n", "1338 -1 0\n", "1338 0 +1\n", "1338 0 -\n",
                          "0x53A 0 0\n", "1338 0 0\r\n", "4294967296 0 0\n", "1338 99999999999999999999 0\n",
                          "1338 0 9223372036854775808\n", "", "\n", "hello\n"}) {
    EXPECT_FALSE(ParseThreadMessage(bad)) << '"' << bad << '"';
  }
  EXPECT_FALSE(ParseThreadMessage(std::string("1338 0 0\n").insert(4, 1, '\0')));
}

TEST(ThreadMessage, PostedMessageArrivesInTheSameProcess) {
  qmtest::TempMachineRoot machine;
  ThreadMessageListener listener(1234);
  EXPECT_TRUE(fs::exists(SocketPath(1234)));
  EXPECT_TRUE(PostThreadMessage(1234, {kSetupDone, 5, -6}));
  EXPECT_TRUE(PostThreadMessage(1234, {kSetupDone + 1, 0, 0}));
  const auto first = listener.Receive(1s);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->message, kSetupDone);
  EXPECT_EQ(first->wParam, 5u);
  EXPECT_EQ(first->lParam, -6);
  const auto second = listener.Receive(1s);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->message, kSetupDone + 1);
  // Another thread's socket is another address.
  EXPECT_FALSE(PostThreadMessage(1235, {kSetupDone, 0, 0}));
}

TEST(ThreadMessage, PostedMessageArrivesFromAnotherProcess) {
  qmtest::TempMachineRoot machine;
  ThreadMessageListener listener(77);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The child shares the machine through QMSETUP_SYSTEM, as a started program does.
    ::_exit(PostThreadMessage(77, {kSetupDone, 0, 0}) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  const auto received = listener.Receive(2s);
  ASSERT_TRUE(received);
  EXPECT_EQ(received->message, kSetupDone);
}

TEST(ThreadMessage, NobodyListeningAnswersFalseWithoutWaiting) {
  qmtest::TempMachineRoot machine;
  const auto start = Clock::now();
  EXPECT_FALSE(PostThreadMessage(4321, {kSetupDone, 0, 0}));
  {
    ThreadMessageListener gone(4321);
  }
  EXPECT_FALSE(fs::exists(SocketPath(4321)));
  EXPECT_FALSE(PostThreadMessage(4321, {kSetupDone, 0, 0}));
  EXPECT_LT(Clock::now() - start, 500ms);
}

TEST(ThreadMessage, FullQueueDoesNotHoldTheSenderUp) {
  qmtest::TempMachineRoot machine;
  ThreadMessageListener listener(9);
  const auto start = Clock::now();
  bool refused = false;
  for (int i = 0; i < 100000 && !refused; ++i) refused = !PostThreadMessage(9, {kSetupDone, 0, 0});
  EXPECT_TRUE(refused);
  EXPECT_LT(Clock::now() - start, 10s);
  EXPECT_TRUE(listener.Receive(0ms));
}

TEST(ThreadMessage, MalformedDatagramsAreSkipped) {
  qmtest::TempMachineRoot machine;
  ThreadMessageListener listener(5);
  SendRaw(5, "hello");
  SendRaw(5, "1338 0 0");
  SendRaw(5, std::string(4000, '1') + " 0 0\n");
  SendRaw(5, "");
  SendRaw(5, "1338 1 2\n");
  const auto received = listener.Receive(1s);
  ASSERT_TRUE(received);
  EXPECT_EQ(received->wParam, 1u);
  EXPECT_EQ(received->lParam, 2);
  // Only rubbish: the wait ends at the timeout with nothing.
  SendRaw(5, "rubbish\n");
  EXPECT_FALSE(listener.Receive(50ms));
}

TEST(ThreadMessage, ReceiveWaitsForTheTimeoutAndNoLonger) {
  qmtest::TempMachineRoot machine;
  ThreadMessageListener listener(6);
  auto start = Clock::now();
  EXPECT_FALSE(listener.Receive(200ms));
  const auto waited = Clock::now() - start;
  EXPECT_GE(waited, 200ms);
  EXPECT_LT(waited, 2s);
  start = Clock::now();
  EXPECT_FALSE(listener.Receive(-5ms));
  EXPECT_LT(Clock::now() - start, 100ms);
}

TEST(ThreadMessage, StaleSocketIsReplacedButALiveListenerIsNot) {
  qmtest::TempMachineRoot machine;
  // A listener that died leaves its socket file, bound by nobody.
  const fs::path path = SocketPath(11);
  fs::create_directories(path.parent_path());
  {
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.string().size() + 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
  }
  ASSERT_TRUE(fs::exists(path));
  EXPECT_FALSE(PostThreadMessage(11, {kSetupDone, 0, 0}));

  ThreadMessageListener listener(11);
  EXPECT_TRUE(PostThreadMessage(11, {kSetupDone, 0, 0}));
  EXPECT_TRUE(listener.Receive(1s));
  // A second listener would steal the first one's messages.
  EXPECT_THROW(ThreadMessageListener(11), FileException);
  EXPECT_TRUE(fs::exists(path));
}

TEST(ThreadMessage, SocketPathTooLongIsRefusedNotTruncated) {
  qmtest::TempMachineRoot shortRoot;
  const fs::path deep = shortRoot.Root() / std::string(120, 'r');
  Machine::Create(deep, MachineConfig::Defaults(PlatformKind::Win95));
  UseMachine(deep);
  try {
    ThreadMessageListener listener(1);
    FAIL() << "bound a socket whose path does not fit";
  } catch (const FileException& e) {
    EXPECT_EQ(e.Cause(), FileCause::BadPath);
    EXPECT_NE(std::string(e.what()).find("thread-1.sock"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(PostThreadMessage(1, {kSetupDone, 0, 0}));
}

}  // namespace
}  // namespace platform
