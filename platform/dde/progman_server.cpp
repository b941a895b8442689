#include "platform/dde/progman_server.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <list>
#include <mutex>
#include <string>
#include <thread>

#include "platform/core/exceptions.h"
#include "platform/dde/dde_frame.h"
#include "platform/dde/progman_executor.h"
#include "platform/dde/progman_store.h"
#include "platform/dde/unix_socket.h"
#include "platform/fs/path_map.h"
#include "platform/machine/host_paths.h"
#include "platform/machine/machine.h"

namespace platform::dde {
namespace {

using Clock = std::chrono::steady_clock;

// Larger frames than any command or item name are refused unread.
constexpr std::size_t kMaxClientPayload = 4096;
// Clients beyond this are turned away rather than given a thread each.
constexpr std::size_t kMaxClients = 32;

}  // namespace

struct ProgmanServer::State {
  std::filesystem::path socketPath;
  UniqueFd listener;
  UniqueFd wakeRead;
  UniqueFd wakeWrite;
  dev_t device = 0;
  ino_t inode = 0;

  std::mutex storeLock;
  std::unique_ptr<ProgmanGroupStore> store;

  struct Client {
    UniqueFd fd;
    std::thread thread;
    std::atomic<bool> done{false};
  };
  std::list<Client> clients;

  void Serve(Client& client);
  bool Answer(int fd, FrameKind kind, std::string payload) {
    return WriteFrame(fd, Frame{kind, std::move(payload)}, Clock::now() + kTransactionTimeout);
  }
  void ReapFinished() {
    for (auto it = clients.begin(); it != clients.end();) {
      if (!it->done) {
        ++it;
        continue;
      }
      it->thread.join();
      it = clients.erase(it);
    }
  }
};

void ProgmanServer::State::Serve(Client& client) {
  const int fd = client.fd.Get();
  bool connected = false;
  std::unique_ptr<ProgmanExecutor> executor;
  // Between transactions a client may stay quiet as long as it likes; once a
  // frame has begun it has the transaction time to finish it.
  while (WaitReadable(fd, wakeRead.Get(), std::nullopt)) {
    const ReadResult read = ReadFrame(fd, kMaxClientPayload, Clock::now() + kTransactionTimeout);
    if (read.status != ReadStatus::Ok) break;
    const Frame& frame = read.frame;
    if (frame.kind == FrameKind::Disconnect) break;
    if (frame.kind == FrameKind::Connect) {
      const std::size_t zero = frame.payload.find('\0');
      const std::string service = frame.payload.substr(0, zero);
      const std::string topic = zero == std::string::npos ? std::string() : frame.payload.substr(zero + 1);
      if (connected || !EqualsIgnoreAsciiCase(service, "PROGMAN") || !EqualsIgnoreAsciiCase(topic, "PROGMAN")) {
        Answer(fd, FrameKind::Nack, "no such service or topic");
        break;
      }
      connected = true;
      executor = std::make_unique<ProgmanExecutor>(*store);
      if (!Answer(fd, FrameKind::Ack, {})) break;
      continue;
    }
    if (!connected || (frame.kind != FrameKind::Execute && frame.kind != FrameKind::Request)) {
      Answer(fd, FrameKind::Nack, "no conversation");
      break;
    }
    std::string error;
    std::string data;
    if (frame.kind == FrameKind::Execute) {
      std::string_view text = frame.payload;
      if (text.size() > kMaxExecuteBytes) {
        error = "command too long";
      } else {
        if (!text.empty() && text.back() == '\0') text.remove_suffix(1);
        if (text.find('\0') != std::string_view::npos) {
          error = "zero byte inside the command";
        } else {
          const std::lock_guard lock(storeLock);
          try {
            error = executor->Execute(text);
          } catch (const FileException& e) {
            error = e.what();
          }
        }
      }
    } else if (EqualsIgnoreAsciiCase(frame.payload, "Progman")) {
      const std::lock_guard lock(storeLock);
      for (const ProgmanGroup& group : store->Groups()) data += group.name + "\r\n";
    } else {
      error = "no such item";
    }
    if (!Answer(fd, error.empty() ? FrameKind::Ack : FrameKind::Nack, error.empty() ? data : error)) break;
    if (executor->ExitRequested()) {
      const char byte = 1;
      [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite.Get(), &byte, 1);
      break;
    }
  }
  client.done = true;
}

ProgmanServer::ProgmanServer(std::filesystem::path socketPath, std::filesystem::path groupDirectory)
    : state_(std::make_unique<State>()) {
  state_->store = std::make_unique<ProgmanGroupStore>(std::move(groupDirectory));
  state_->socketPath = std::move(socketPath);
  const std::string name = state_->socketPath.string();
  sockaddr_un address;
  if (!MakeSocketAddress(state_->socketPath, address)) throw FileException(FileCause::BadPath, ENAMETOOLONG, name);
  std::error_code ec;
  std::filesystem::create_directories(state_->socketPath.parent_path(), ec);
  if (ec) throw FileException::FromErrno(ec.value(), state_->socketPath.parent_path().string());

  struct stat existing;
  if (::lstat(address.sun_path, &existing) == 0) {
    if (S_ISSOCK(existing.st_mode) && ConnectStream(address).Get() >= 0) {
      throw FileException(FileCause::SharingViolation, EADDRINUSE, name);
    }
    // Left behind by a server that did not end cleanly.
    if (::unlink(address.sun_path) != 0 && errno != ENOENT) throw FileException::FromErrno(errno, name);
  }

  state_->listener = UniqueFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (state_->listener.Get() < 0) throw FileException::FromErrno(errno, name);
  if (::bind(state_->listener.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(state_->listener.Get(), 16) != 0) {
    throw FileException::FromErrno(errno, name);
  }
  struct stat bound;
  if (::lstat(address.sun_path, &bound) == 0) {
    state_->device = bound.st_dev;
    state_->inode = bound.st_ino;
  }
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) throw FileException::FromErrno(errno, name);
  state_->wakeRead = UniqueFd(pipeFds[0]);
  state_->wakeWrite = UniqueFd(pipeFds[1]);
}

ProgmanServer::~ProgmanServer() {
  RequestStop();
  for (State::Client& client : state_->clients) client.thread.join();
  struct stat current;
  if (::lstat(state_->socketPath.c_str(), &current) == 0 && current.st_dev == state_->device &&
      current.st_ino == state_->inode) {
    ::unlink(state_->socketPath.c_str());
  }
}

void ProgmanServer::RequestStop() {
  const char byte = 1;
  // The pipe stays readable once written, which every waiting thread sees.
  [[maybe_unused]] const ssize_t ignored = ::write(state_->wakeWrite.Get(), &byte, 1);
}

void ProgmanServer::Run() {
  while (WaitReadable(state_->listener.Get(), state_->wakeRead.Get(), std::nullopt)) {
    state_->ReapFinished();
    UniqueFd fd(::accept4(state_->listener.Get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
    if (fd.Get() < 0) {
      // Out of descriptors: the listener stays readable, so give clients time to leave.
      if (errno == EMFILE || errno == ENFILE) std::this_thread::sleep_for(std::chrono::milliseconds(50));
      continue;
    }
    if (state_->clients.size() >= kMaxClients) continue;
    State::Client& client = state_->clients.emplace_back();
    client.fd = std::move(fd);
    client.thread = std::thread([this, &client] { state_->Serve(client); });
  }
}

std::filesystem::path ProgmanSocketPath() { return CurrentMachine().RunDirectory() / "progman.sock"; }

std::filesystem::path ProgmanGroupDirectory() {
  std::filesystem::path host;
  const std::string& windows = CurrentMachine().Config().windowsDir;
  if (!MapToHost(windows, host)) throw FileException(FileCause::BadPath, 0, windows);
  return host;
}

}  // namespace platform::dde
