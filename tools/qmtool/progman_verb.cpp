// qmtool progman: the machine's Program Manager server, and its groups as text.

#include <signal.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/dde/progman_server.h"
#include "platform/dde/progman_store.h"
#include "platform/machine/machine.h"
#include "tools/qmtool/verbs.h"

namespace qmtool {
namespace {

using platform::dde::ProgmanGroup;
using platform::dde::ProgmanGroupStore;
using platform::dde::ProgmanItem;
using platform::dde::ProgmanServer;

constexpr const char* kUsage =
    "Usage: qmtool progman serve [--root DIR]\n"
    "       qmtool progman list [--json] [--root DIR]\n"
    "\n"
    "serve  runs the machine's Program Manager in the foreground: it answers\n"
    "       DDE-style conversations (service and topic PROGMAN) on\n"
    "       <root>/run/progman.sock and keeps each group as a .grp file in the\n"
    "       Windows directory. Ends on SIGTERM or SIGINT; refuses to start when\n"
    "       another Program Manager already listens there.\n"
    "list   prints the groups and their items; --json prints\n"
    "       {\"groups\":[{\"name\":...,\"items\":[{\"name\":...,\"command\":...,\"icon\":...,\n"
    "       \"iconIndex\":...,\"hotkey\":...,\"minimized\":...}]}]}.\n"
    "\n"
    "The machine is --root, else QMSETUP_SYSTEM, else $XDG_DATA_HOME/qmsetup/system.\n";


// Lock-free, so that the signal handler may read it.
std::atomic<ProgmanServer*> g_server{nullptr};

extern "C" void StopServing(int) {
  if (ProgmanServer* server = g_server.load()) server->RequestStop();
}

int Serve(Arguments& args) {
  UseMachineFrom(args);
  args.ExpectEnd();
  const std::filesystem::path socketPath = platform::dde::ProgmanSocketPath();
  // A signal that comes while the server starts waits until it can stop it.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
  std::unique_ptr<ProgmanServer> server;
  try {
    server = std::make_unique<ProgmanServer>(socketPath, platform::dde::ProgmanGroupDirectory());
  } catch (const platform::FileException& e) {
    if (e.Cause() == platform::FileCause::SharingViolation) {
      std::fprintf(stderr, "qmtool progman serve: a Program Manager already listens on %s\n", socketPath.c_str());
    } else {
      std::fprintf(stderr, "qmtool progman serve: %s\n", e.what());
    }
    return kExitFailure;
  }
  g_server = server.get();
  struct sigaction action {};
  action.sa_handler = StopServing;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
  sigprocmask(SIG_UNBLOCK, &stopSignals, nullptr);
  server->Run();
  // The handlers stay installed but find no server to stop any more.
  g_server = nullptr;
  return kExitOk;
}

void PrintText(const std::vector<ProgmanGroup>& groups) {
  for (const ProgmanGroup& group : groups) {
    std::printf("%s\n", group.name.c_str());
    for (const ProgmanItem& item : group.items) {
      std::printf("  %s\n    command: %s\n    icon: %s,%d\n", item.name.c_str(), item.command.c_str(),
                  item.iconPath.c_str(), item.iconIndex);
      if (!item.defaultDir.empty()) std::printf("    directory: %s\n", item.defaultDir.c_str());
      if (item.hotkey != 0) std::printf("    hotkey: %d\n", item.hotkey);
      if (item.minimized) std::printf("    minimized\n");
    }
  }
}

void PrintJson(const std::vector<ProgmanGroup>& groups) {
  nlohmann::json list = nlohmann::json::array();
  for (const ProgmanGroup& group : groups) {
    nlohmann::json items = nlohmann::json::array();
    for (const ProgmanItem& item : group.items) {
      items.push_back({{"name", item.name},
                       {"command", item.command},
                       {"icon", item.iconPath},
                       {"iconIndex", item.iconIndex},
                       {"hotkey", item.hotkey},
                       {"minimized", item.minimized}});
    }
    list.push_back({{"name", group.name}, {"items", std::move(items)}});
  }
  const nlohmann::json document = {{"groups", std::move(list)}};
  // Names are the machine's ANSI text; bytes that are not UTF-8 are replaced.
  std::printf("%s\n", document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
}

int List(Arguments& args) {
  const bool json = args.TakeFlag("--json");
  UseMachineFrom(args);
  args.ExpectEnd();
  const ProgmanGroupStore store(platform::dde::ProgmanGroupDirectory());
  if (json) {
    PrintJson(store.Groups());
  } else {
    PrintText(store.Groups());
  }
  return kExitOk;
}

}  // namespace

int RunProgmanVerb(Arguments& args) {
  if (const auto answered = AnswerHelpOrVersion(args, "progman", kUsage)) return *answered;
  const std::optional<std::string> action = args.TakePositional();
  if (!action) throw UsageError("progman needs an action: serve or list");
  if (*action == "serve") return Serve(args);
  if (*action == "list") return List(args);
  throw UsageError("unknown action '" + *action + "'");
}

}  // namespace qmtool
