#include "platform/dde/dde_client.h"

#include <sys/un.h>

#include <algorithm>
#include <cctype>

#include "platform/dde/dde_frame.h"
#include "platform/machine/machine.h"

namespace platform::dde {
namespace {

// An answer holds at most a list of names; more than this is a broken server.
constexpr std::size_t kMaxAnswerPayload = 1 << 20;

bool PlainServiceName(std::string_view service) {
  return !service.empty() && std::all_of(service.begin(), service.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-';
  });
}

}  // namespace

DdeClient::DdeClient() : DdeClient(CurrentMachine().RunDirectory()) {}

DdeClient::DdeClient(std::filesystem::path runDirectory) : runDirectory_(std::move(runDirectory)) {}

DdeClient::~DdeClient() { Disconnect(); }

bool DdeClient::Connect(std::string_view service, std::string_view topic) {
  Disconnect();
  // The service becomes a file name: nothing that could leave the run directory.
  if (!PlainServiceName(service)) return false;
  std::string file(service);
  std::transform(file.begin(), file.end(), file.begin(), [](unsigned char c) { return std::tolower(c); });
  sockaddr_un address;
  if (!MakeSocketAddress(runDirectory_ / (file + ".sock"), address)) return false;
  socket_ = ConnectStream(address, kTransactionTimeout);
  if (!Connected()) return false;
  std::string payload(service);
  payload.push_back('\0');
  payload += topic;
  if (!Transact(FrameKind::Connect, std::move(payload))) {
    socket_.Reset();
    return false;
  }
  return true;
}

bool DdeClient::Execute(std::string_view command) {
  if (!Connected() || command.size() >= kMaxExecuteBytes) return false;
  std::string payload(command);
  payload.push_back('\0');
  return Transact(FrameKind::Execute, std::move(payload)).has_value();
}

std::optional<std::string> DdeClient::Request(std::string_view item) {
  if (!Connected()) return std::nullopt;
  return Transact(FrameKind::Request, std::string(item));
}

void DdeClient::Disconnect() {
  if (!Connected()) return;
  WriteFrame(socket_.Get(), Frame{FrameKind::Disconnect, {}},
             std::chrono::steady_clock::now() + kTransactionTimeout);
  socket_.Reset();
}

std::optional<std::string> DdeClient::Transact(FrameKind kind, std::string payload) {
  const Deadline deadline = std::chrono::steady_clock::now() + kTransactionTimeout;
  if (!WriteFrame(socket_.Get(), Frame{kind, std::move(payload)}, deadline)) {
    socket_.Reset();
    return std::nullopt;
  }
  ReadResult answer = ReadFrame(socket_.Get(), kMaxAnswerPayload, deadline);
  if (answer.status != ReadStatus::Ok ||
      (answer.frame.kind != FrameKind::Ack && answer.frame.kind != FrameKind::Nack)) {
    socket_.Reset();
    return std::nullopt;
  }
  if (answer.frame.kind == FrameKind::Nack) return std::nullopt;
  return std::move(answer.frame.payload);
}

}  // namespace platform::dde
