#pragma once
// A DDE-style client: one conversation at a time with a server of this
// machine. The service names the server's socket, <run directory>/<service
// in lower case>.sock; the server checks the service and topic. Every call
// waits at most kTransactionTimeout. A transaction that times out or breaks
// ends the conversation, since its answer may still be on the way.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/dde/dde_frame.h"
#include "platform/dde/unix_socket.h"

namespace platform::dde {

class DdeClient {
 public:
  // Servers are looked for in the current machine's run directory.
  DdeClient();
  explicit DdeClient(std::filesystem::path runDirectory);
  ~DdeClient();
  DdeClient(const DdeClient&) = delete;
  DdeClient& operator=(const DdeClient&) = delete;

  // Opens the conversation; false when nobody answers for service and topic.
  // A conversation already open is ended first.
  bool Connect(std::string_view service, std::string_view topic);
  bool Connected() const { return socket_.Get() >= 0; }

  // Sends command with its terminating zero; true when the server accepted
  // it. A command longer than kMaxExecuteBytes - 1 is not sent.
  bool Execute(std::string_view command);

  // The server's data for item, or nullopt when it has none.
  std::optional<std::string> Request(std::string_view item);

  void Disconnect();

 private:
  // The answer's payload when the server acknowledged, else nullopt.
  std::optional<std::string> Transact(FrameKind kind, std::string payload);

  std::filesystem::path runDirectory_;
  UniqueFd socket_;
};

}  // namespace platform::dde
