// qmtool profile: reads a setup profile as the setup does and shows what it made
// of it, including the mistakes that the setup itself never reports.

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "options/option_list.h"
#include "options/user_messages.h"
#include "platform/fs/path_map.h"
#include "profile/profile_parser.h"
#include "profile/section_dispatch.h"
#include "profile/setup_settings.h"
#include "system/registry_entry_list.h"
#include "tools/qmtool/display_text.h"
#include "tools/qmtool/verbs.h"

namespace qmtool {
namespace {

constexpr const char* kUsage =
    "Usage: qmtool profile check [--json] FILE\n"
    "\n"
    "Reads a setup profile (cv_setup.ini) as the setup does and prints:\n"
    "  - the tree: sections, keys and their values in file order, values quoted\n"
    "    so that blanks show;\n"
    "  - the error lines of the parser, which the setup never shows;\n"
    "  - the message boxes the setup would show while loading it;\n"
    "  - what the readers made of it: the interface settings that differ from\n"
    "    their defaults, the billboards, the option list in order, and the\n"
    "    registry entries of the \"Registry\" sections as the setup holds them\n"
    "    (key path, its components, root, value name, data before macro\n"
    "    substitution, value type and option).\n"
    "--json prints the same as one JSON document.\n"
    "\n"
    "FILE is a host path, or a Windows path (C:\\...) on the emulated machine.\n"
    "Relative names in #include lines are opened against the current directory,\n"
    "as the setup opens them, so run the tool from the directory the setup runs\n"
    "in (the installation medium).\n"
    "\n"
    "Exit status: 0 no parse errors, 1 parse errors, 2 the file cannot be read.\n";

class RecordedMessages final : public UserMessages {
 public:
  void ShowMessage(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

// Everything the setup would see of one profile.
struct ProfileCheck {
  std::string hostPath;
  std::string windowsPath;
  ProfileFile profile{""};
  ParseDiagnostics diagnostics;
  SetupSettings settings;
  COptionList options;
  CRegistryEntryList registry;
  RecordedMessages messages;
};

bool LooksLikeWindowsPath(const std::string& name) {
  return name.size() >= 3 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':' &&
         (name[2] == '\\' || name[2] == '/');
}

// Checks that the file can be read before the parser, which reads a missing
// file as empty, gets it. Exits with 2 through the caller when it cannot.
bool CanRead(const std::filesystem::path& host, std::string& problem) {
  std::error_code ec;
  if (std::filesystem::is_directory(host, ec)) {
    problem = "is a directory";
    return false;
  }
  const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    problem = std::strerror(errno);
    return false;
  }
  ::close(fd);
  return true;
}

void Load(ProfileCheck& check) {
  check.profile = ProfileFile(check.windowsPath);
  check.diagnostics = ParseProfile(check.profile);
  const SectionReader readers[] = {
      {"Option", [&](const ProfileSection& s) { check.options.AddOption(s, check.messages); }},
      {"Billboard", [&](const ProfileSection& s) { check.settings.ReadBillboardSection(s); }},
      {"interface", [&](const ProfileSection& s) { check.settings.ReadInterfaceSection(s); }},
      {"Registry", [&](const ProfileSection& s) { check.registry.AddRegistryEntry(s); }},
  };
  DispatchSections(check.profile, readers);
}

// The root as the entry resolved it: its name and handle, or none.
std::string RootText(const CRegistryEntry& entry) {
  if (entry.RootKey() == 0) return "none (unknown root name " + Quoted(entry.RootName()) + ")";
  char handle[32];
  std::snprintf(handle, sizeof handle, " (0x%08lx)", static_cast<unsigned long>(entry.RootKey()));
  return std::string(platform::RootKeyName(entry.RootKey())) + handle;
}

std::string ValueTypeText(std::uint32_t type) {
  if (type == platform::REG_DWORD) return "4 (32-bit number)";
  if (type == platform::REG_SZ) return "1 (text)";
  return std::to_string(type);
}

nlohmann::ordered_json RegistryEntryJson(const CRegistryEntry& entry) {
  nlohmann::ordered_json json;
  json["keyPath"] = ToUtf8(entry.KeyPath());
  auto& components = json["components"] = nlohmann::ordered_json::array();
  for (const std::string& component : entry.Components()) components.push_back(ToUtf8(component));
  json["rootName"] = ToUtf8(entry.RootName());
  json["rootKey"] = entry.RootKey();
  json["valueName"] = ToUtf8(entry.ValueName());
  json["data"] = ToUtf8(entry.Data());
  json["valueType"] = entry.ValueType();
  json["option"] = ToUtf8(entry.Option());
  return json;
}

std::string StripLineEnd(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

// The interface settings whose value differs from a fresh record's, in key order.
std::vector<std::pair<std::string, SetupSettings::Value>> ChangedSettings(const SetupSettings& settings) {
  const SetupSettings defaults;
  std::vector<std::pair<std::string, SetupSettings::Value>> changed;
  for (const SetupSettings::KeyInfo& key : SetupSettings::InterfaceKeys()) {
    const auto value = settings.ValueOf(key.name);
    if (value && value != defaults.ValueOf(key.name)) changed.emplace_back(std::string(key.name), *value);
  }
  return changed;
}

std::string SettingText(const SetupSettings::Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return Quoted(*text);
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? "on" : "off";
  return std::to_string(std::get<int>(value));
}

nlohmann::ordered_json SettingJson(const SetupSettings::Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return ToUtf8(*text);
  if (const auto* flag = std::get_if<bool>(&value)) return *flag;
  return std::get<int>(value);
}

nlohmann::ordered_json OptionJson(const COption& option) {
  nlohmann::ordered_json json;
  json["number"] = ToUtf8(option.Number());
  json["parent"] = ToUtf8(option.ParentNumber());
  json["dialogText"] = ToUtf8(option.DialogText());
  json["description"] = ToUtf8(option.Description());
  json["group"] = ToUtf8(option.Group());
  json["destinationId"] = option.DestinationId();
  json["space"] = option.Space();
  json["compact"] = option.Compact();
  json["typical"] = option.Typical();
  json["adminCompact"] = option.AdminCompact();
  json["adminTypical"] = option.AdminTypical();
  json["userChoose"] = option.UserChoose();
  json["userSetPath"] = option.UserSetPath();
  json["userVisible"] = option.UserVisible();
  return json;
}

void PrintJson(const ProfileCheck& check) {
  nlohmann::ordered_json doc;
  doc["file"] = ToUtf8(check.hostPath);
  auto& sections = doc["sections"] = nlohmann::ordered_json::array();
  for (const ProfileSection& section : check.profile.Sections()) {
    nlohmann::ordered_json keys = nlohmann::ordered_json::array();
    for (const ProfileKey& key : section.Keys()) {
      nlohmann::ordered_json values = nlohmann::ordered_json::array();
      for (const std::string& value : key.Values()) values.push_back(ToUtf8(value));
      keys.push_back({{"name", ToUtf8(key.Name())}, {"values", values}});
    }
    sections.push_back({{"name", ToUtf8(section.Name())}, {"keys", keys}});
  }
  auto& errors = doc["errors"] = nlohmann::ordered_json::array();
  for (const std::string& error : check.diagnostics.errors) errors.push_back(ToUtf8(error));
  auto& settings = doc["settings"] = nlohmann::ordered_json::object();
  for (const auto& [name, value] : ChangedSettings(check.settings)) settings[name] = SettingJson(value);
  auto& billboards = doc["billboards"] = nlohmann::ordered_json::array();
  for (const BillboardItem& item : check.settings.Billboards()) {
    billboards.push_back({{"bitmap", ToUtf8(item.bitmap)}, {"text", ToUtf8(item.text)}});
  }
  auto& options = doc["options"] = nlohmann::ordered_json::array();
  for (const auto& option : check.options.Options()) options.push_back(OptionJson(*option));
  auto& registry = doc["registry"] = nlohmann::ordered_json::array();
  for (const auto& entry : check.registry.Entries()) registry.push_back(RegistryEntryJson(*entry));
  auto& messages = doc["messages"] = nlohmann::ordered_json::array();
  for (const std::string& text : check.messages.texts) messages.push_back(ToUtf8(text));
  std::printf("%s\n", doc.dump(2).c_str());
}

void PrintHeading(const char* title, std::size_t count) {
  std::printf("\n%s (%zu)\n", title, count);
}

void PrintText(const ProfileCheck& check) {
  std::printf("Profile %s\n", ToUtf8(check.hostPath).c_str());
  std::printf("        %s on the emulated machine\n", ToUtf8(check.windowsPath).c_str());

  PrintHeading("Sections", check.profile.Sections().size());
  for (const ProfileSection& section : check.profile.Sections()) {
    std::printf("  [%s]\n", ToUtf8(section.Name()).c_str());
    for (const ProfileKey& key : section.Keys()) {
      std::string values;
      for (const std::string& value : key.Values()) values += (values.empty() ? "" : ", ") + Quoted(value);
      std::printf("    %s = %s\n", ToUtf8(key.Name()).c_str(), values.empty() ? "(no values)" : values.c_str());
    }
  }

  PrintHeading("Parse errors", check.diagnostics.errors.size());
  for (const std::string& error : check.diagnostics.errors) {
    std::printf("  %s\n", ToUtf8(StripLineEnd(error)).c_str());
  }

  PrintHeading("Messages the setup shows while loading", check.messages.texts.size());
  for (const std::string& text : check.messages.texts) std::printf("  %s\n", ToUtf8(text).c_str());

  const auto changed = ChangedSettings(check.settings);
  PrintHeading("Interface settings that differ from their defaults", changed.size());
  for (const auto& [name, value] : changed) std::printf("  %s = %s\n", name.c_str(), SettingText(value).c_str());

  PrintHeading("Billboards", check.settings.Billboards().size());
  int index = 0;
  for (const BillboardItem& item : check.settings.Billboards()) {
    std::printf("  %d. bitmap %s, text %s\n", ++index, Quoted(item.bitmap).c_str(), Quoted(item.text).c_str());
  }

  PrintHeading("Options, in order", check.options.Options().size());
  for (const auto& option : check.options.Options()) {
    const COption& o = *option;
    std::printf("  %s  parent %s  group %s  destination %d  space %u\n", Quoted(o.Number()).c_str(),
                Quoted(o.ParentNumber()).c_str(), Quoted(o.Group()).c_str(), o.DestinationId(), o.Space());
    std::printf("      text %s  description %s\n", Quoted(o.DialogText()).c_str(), Quoted(o.Description()).c_str());
    std::printf("      compact %s  typical %s  admin compact %s  admin typical %s\n", o.Compact() ? "on" : "off",
                o.Typical() ? "on" : "off", o.AdminCompact() ? "on" : "off", o.AdminTypical() ? "on" : "off");
    std::printf("      user choose %s  user set path %s  user visible %s\n", o.UserChoose() ? "on" : "off",
                o.UserSetPath() ? "on" : "off", o.UserVisible() ? "on" : "off");
  }

  PrintHeading("Registry entries, in order", check.registry.Entries().size());
  index = 0;
  for (const auto& entry : check.registry.Entries()) {
    const CRegistryEntry& e = *entry;
    std::string components;
    for (const std::string& component : e.Components()) {
      components += (components.empty() ? "" : ", ") + Quoted(component);
    }
    std::printf("  %d. key %s\n", ++index, Quoted(e.KeyPath()).c_str());
    std::printf("      components %s\n", components.empty() ? "(none)" : components.c_str());
    std::printf("      root %s\n", RootText(e).c_str());
    std::printf("      value name %s%s\n", Quoted(e.ValueName()).c_str(), e.ValueName().empty() ? " (default value)" : "");
    std::printf("      data %s  value type %s  option %s\n", Quoted(e.Data()).c_str(), ValueTypeText(e.ValueType()).c_str(),
                Quoted(e.Option()).c_str());
  }
}

int Check(Arguments& args) {
  const bool json = args.TakeFlag("--json");
  const std::optional<std::string> name = args.TakePositional();
  if (!name) throw UsageError("check needs a profile file");
  args.ExpectEnd();

  ProfileCheck check;
  if (LooksLikeWindowsPath(*name)) {
    std::filesystem::path host;
    if (!platform::GetFullPathName(*name, check.windowsPath) || !platform::MapToHost(*name, host)) {
      std::fprintf(stderr, "qmtool profile check: '%s' is not a path on this machine\n", name->c_str());
      return 2;
    }
    check.hostPath = host.string();
  } else {
    check.hostPath = std::filesystem::absolute(*name).lexically_normal().string();
    check.windowsPath = platform::MapToWindows(check.hostPath);
  }
  std::string problem;
  if (!CanRead(check.hostPath, problem)) {
    std::fprintf(stderr, "qmtool profile check: cannot read '%s': %s\n", name->c_str(), problem.c_str());
    return 2;
  }

  Load(check);
  if (json) {
    PrintJson(check);
  } else {
    PrintText(check);
  }
  return check.diagnostics.errors.empty() ? kExitOk : kExitFailure;
}

}  // namespace

int RunProfileVerb(Arguments& args) {
  if (const auto answered = AnswerHelpOrVersion(args, "profile", kUsage)) return *answered;
  const std::optional<std::string> action = args.TakePositional();
  if (!action) throw UsageError("profile needs an action: check");
  if (*action == "check") return Check(args);
  throw UsageError("unknown action '" + *action + "' (check)");
}

}  // namespace qmtool
