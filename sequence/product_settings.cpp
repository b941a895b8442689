#include "sequence/product_settings.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <utility>

#include "install/errors/xexception.h"
#include "install/log/install_log.h"
#include "platform/core/exceptions.h"
#include "platform/profile/private_profile.h"
#include "platform/registry/registry.h"
#include "install/tables/destination_table.h"
#include "support/path.h"
#include "system/registry_entry.h"

namespace {

constexpr int kWorkingDirectoryId = 1;

// A resolved directory without its closing backslash. Resolved paths end with
// one, but a directory set by hand may not, and cutting a name's last letter
// would point the product somewhere else.
std::string WithoutClosingSeparator(std::string_view directory) {
  if (!directory.empty() && (directory.back() == '\\' || directory.back() == '/')) directory.remove_suffix(1);
  return std::string(directory);
}

// The registration is how the product is found for removal later: a run that
// could not write it must not end as if it had.
void RequireSuccess(platform::RegStatus status, std::string_view what) {
  if (status != platform::ERROR_SUCCESS) throw CXFileException(platform::FileCause::Generic, std::string(what));
}

}  // namespace

std::string ProductSettingsPath(std::string_view workingDirectory) {
  return WithoutClosingSeparator(workingDirectory) + "\\" + product_settings::kFileName;
}

void WriteProductSettings(std::string_view workingDirectory, std::string_view clipArtDirectory) {
  const std::string work = WithoutClosingSeparator(workingDirectory);
  const std::string file = ProductSettingsPath(workingDirectory);
  // A setup whose groups put nothing in the working directory has not made
  // it, and the settings would be lost without a word. The removal takes the
  // directory away again with the other destinations.
  CPath directory;
  directory.SetDriveAndDirectory(work + "\\");
  directory.EnsureDirectory();
  const std::array<std::pair<const char*, std::string>, 7> keys = {{
      {"DEFAULTJOB", work},
      {"DEFAULTPREMADE", work + "\\PREMADE"},
      {"DEFAULTSTYLEFILE", work + "\\QMW.STY"},
      {"DEFAULTWORKDIR", work + "\\"},
      {"DEFAULTDBDIR", work + "\\"},
      {"DEFAULTGRAPHICDIR", work + "\\"},
      {"DEFAULTCLIPART", WithoutClosingSeparator(clipArtDirectory)},
  }};
  for (const auto& [key, value] : keys) {
    // Without its settings the product starts without its directories: a
    // write that failed is reported, not passed over.
    if (!platform::WritePrivateProfileString(product_settings::kSection, key, value.c_str(), file)) {
      throw platform::FileException::FromErrno(errno, file);
    }
  }
}

void LogProductFiles(std::string_view logFile) {
  for (const char* name : {"QMW2.INS", "QMW2.GID", "QMW2.FTS"}) {
    InstalledFileRecord record;
    record.group = product_settings::kLogGroup;
    record.destinationPath = name;
    record.destinationId = kWorkingDirectoryId;
    record.installed = true;
    record.replaced = false;
    LogInstalledFile(record, logFile);
  }
}

void WriteRemovalRegistration(std::string_view installDirectory, std::string_view logFile) {
  constexpr std::uint32_t kAllAccess = 0xF003F;
  CRegistryEntry entry;
  entry.InitEntry(product_settings::kUninstallKey, "DisplayName", product_settings::kDisplayName,
                  CRegistryEntry::kNeverSelected, "", 0, kAllAccess, nullptr);
  const std::string key = product_settings::kUninstallKey;
  RequireSuccess(entry.CreateKeyPath(true, logFile), key);
  RequireSuccess(entry.WriteValue(), key);
  entry.SetValueName("UninstallString");
  entry.SetData(JoinDirectory(installDirectory, product_settings::kRemovalProgram));
  RequireSuccess(entry.WriteValue(), key);
}
