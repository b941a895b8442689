#include "tools/unsetup/installed_setup.h"

#include <vector>

#include "platform/fs/file_ops.h"
#include "platform/profile/private_profile.h"

namespace unsetup {
namespace {

// A bare file name lies in the Windows directory, where the install writes its log.
constexpr const char* kInstallLog = "Qmw.log";
constexpr const char* kInstallProgramsSection = "Install Programs";
constexpr const char* kDefaultSetupProgram = "SETUP.EXE";

bool IsFile(const std::string& path) {
  const std::uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::kInvalidAttributes && (attributes & platform::kAttrDirectory) == 0;
}

std::vector<std::string> SectionKeys(const char* section, const char* file) {
  std::vector<char> buffer(32 * 1024);
  const std::size_t got = platform::GetPrivateProfileString(section, nullptr, "", buffer.data(), buffer.size(), file);
  std::vector<std::string> keys;
  for (std::size_t at = 0; at < got && buffer[at] != '\0';) {
    keys.emplace_back(buffer.data() + at);
    at += keys.back().size() + 1;
  }
  return keys;
}

}  // namespace

std::optional<std::string> FindInstalledSetupProgram(const std::string& installDir) {
  for (const std::string& name : SectionKeys(kInstallProgramsSection, kInstallLog)) {
    // A log line names a file of this directory, never a path elsewhere.
    if (name.find_first_of("\\/:") != std::string::npos) continue;
    if (IsFile(installDir + name)) return name;
  }
  if (IsFile(installDir + kDefaultSetupProgram)) return std::string(kDefaultSetupProgram);
  return std::nullopt;
}

}  // namespace unsetup
