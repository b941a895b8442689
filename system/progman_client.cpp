#include "system/progman_client.h"

#include "platform/dde/dde_client.h"
#include "platform/dde/progman_launcher.h"

namespace {

constexpr const char* kService = "PROGMAN";
constexpr const char* kTopic = "PROGMAN";
constexpr const char* kGroupsItem = "Progman";

}  // namespace

std::string CreateGroupCommand(const std::string& group, const std::optional<std::string>& groupFile) {
  if (groupFile) return "[CreateGroup (\"" + group + "\", \"" + *groupFile + "\")]";
  return "[CreateGroup (\"" + group + "\")]";
}

std::string DeleteGroupCommand(const std::string& group) { return "[DeleteGroup(\"" + group + "\")]"; }

std::string ReplaceItemCommand(const std::string& item) { return "[ReplaceItem (" + item + ")]"; }

std::string DeleteItemCommand(const std::string& item) { return "[DeleteItem (" + item + ")]"; }

std::string AddItemCommand(const std::string& commandLine, const std::string& name, const std::string& iconPath,
                           int iconIndex, int x, int y, const std::string& defaultDirectory, int hotkey,
                           bool minimized) {
  const std::string icon = iconPath.empty() ? commandLine : iconPath;
  const std::string hotkeyText = hotkey == -1 ? std::string() : std::to_string(hotkey);
  return "[AddItem (" + commandLine + ",\"" + name + "\"," + icon + "," + std::to_string(iconIndex) + "," +
         std::to_string(x) + "," + std::to_string(y) + "," + defaultDirectory + "," + hotkeyText + "," +
         (minimized ? "1" : "0") + ")]";
}

CProgmanClient::CProgmanClient() : client_(std::make_unique<platform::dde::DdeClient>()) {}

CProgmanClient::~CProgmanClient() { Disconnect(); }

bool CProgmanClient::Connect(bool start) {
  if (client_->Connected()) return true;
  if (client_->Connect(kService, kTopic)) return true;
  if (!start) return false;
  platform::dde::StartProgramManager();
  return Connect(false);
}

bool CProgmanClient::Execute(const std::string& command) { return client_->Connected() && client_->Execute(command); }

bool CProgmanClient::CreateGroup(const std::string& group, const std::optional<std::string>& groupFile) {
  return Connect(true) && Execute(CreateGroupCommand(group, groupFile));
}

bool CProgmanClient::DeleteGroup(const std::string& group) {
  return Connect(true) && Execute(DeleteGroupCommand(group));
}

bool CProgmanClient::ReplaceItem(const std::string& item) { return Execute(ReplaceItemCommand(item)); }

bool CProgmanClient::DeleteItem(const std::string& item) { return Execute(DeleteItemCommand(item)); }

bool CProgmanClient::AddItem(const std::string& commandLine, const std::string& name, const std::string& iconPath,
                             int iconIndex, int x, int y, const std::string& defaultDirectory, int hotkey,
                             bool minimized) {
  return Connect(true) &&
         Execute(AddItemCommand(commandLine, name, iconPath, iconIndex, x, y, defaultDirectory, hotkey, minimized));
}

std::vector<std::string> CProgmanClient::ListGroups() {
  std::vector<std::string> groups;
  if (!Connect(true)) return groups;
  const std::optional<std::string> data = client_->Request(kGroupsItem);
  if (!data) return groups;
  std::string line;
  for (const char c : *data) {
    if (c == '\r' || c == '\n') {
      if (!line.empty()) groups.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) groups.push_back(line);
  return groups;
}

void CProgmanClient::Disconnect() {
  if (client_->Connected()) client_->Disconnect();
}
