#pragma once
// The setup's side of the conversation with Program Manager (service and topic
// "PROGMAN"): its command strings, exactly as Program Manager reads them, and
// the start of "progman.exe" when it is not running. A client lives for one
// operation; a failed command is not reported, the setup goes on without the
// item.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::dde {
class DdeClient;
}

// The command strings (without the terminating zero the transport adds).
std::string CreateGroupCommand(const std::string& group, const std::optional<std::string>& groupFile = {});
std::string DeleteGroupCommand(const std::string& group);
std::string ReplaceItemCommand(const std::string& item);
std::string DeleteItemCommand(const std::string& item);
// iconPath empty: the command line; hotkey -1: an empty field.
std::string AddItemCommand(const std::string& commandLine, const std::string& name, const std::string& iconPath,
                           int iconIndex, int x, int y, const std::string& defaultDirectory, int hotkey,
                           bool minimized);

class CProgmanClient {
 public:
  CProgmanClient();
  ~CProgmanClient();

  CProgmanClient(const CProgmanClient&) = delete;
  CProgmanClient& operator=(const CProgmanClient&) = delete;

  // Opens the conversation; with start set, Program Manager is started once
  // when nobody answers and asked again.
  bool Connect(bool start);
  bool CreateGroup(const std::string& group, const std::optional<std::string>& groupFile = {});
  bool DeleteGroup(const std::string& group);
  bool ReplaceItem(const std::string& item);
  bool DeleteItem(const std::string& item);
  bool AddItem(const std::string& commandLine, const std::string& name, const std::string& iconPath, int iconIndex,
               int x, int y, const std::string& defaultDirectory, int hotkey, bool minimized);
  // The group names, one per non-empty line of the "Progman" item.
  std::vector<std::string> ListGroups();
  void Disconnect();

 private:
  bool Execute(const std::string& command);

  std::unique_ptr<platform::dde::DdeClient> client_;
};
