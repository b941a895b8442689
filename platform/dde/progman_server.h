#pragma once
// The Program Manager of the emulated machine: answers conversations with
// service and topic "PROGMAN" on a stream socket (wire format in dde_frame.h),
// runs execute strings on its groups and answers the request "Progman" with
// the group names, each followed by CR LF.
//
// Every client has a thread of its own; the groups are shared under one lock.
// A client that sends garbage or goes away mid-frame loses its connection,
// and nobody else notices.

#include <filesystem>
#include <memory>

namespace platform::dde {

class ProgmanServer {
 public:
  // Binds socketPath (replacing a file left by a server that died) and reads
  // the groups of groupDirectory. Raises platform::FileException: the path
  // does not fit a socket address (BadPath), a live server already listens
  // there (SharingViolation), or the socket or groups cannot be read.
  ProgmanServer(std::filesystem::path socketPath, std::filesystem::path groupDirectory);
  // Stops, waits for the client threads and removes the socket.
  ~ProgmanServer();
  ProgmanServer(const ProgmanServer&) = delete;
  ProgmanServer& operator=(const ProgmanServer&) = delete;

  // Serves until RequestStop.
  void Run();
  // Makes Run return soon. Async-signal-safe, callable from any thread.
  void RequestStop();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// <machine root>/run/progman.sock and the host directory of the machine's
// Windows directory: where the machine's Program Manager lives.
std::filesystem::path ProgmanSocketPath();
std::filesystem::path ProgmanGroupDirectory();

}  // namespace platform::dde
