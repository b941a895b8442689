#include "install/copy/source_locator.h"

#include <cstdio>

#include "install/errors/install_profile_codes.h"
#include "install/errors/install_profile_exception.h"
#include "install/tables/diskette_table.h"
#include "platform/fs/file_ops.h"

namespace {

std::string WithSeparator(std::string directory) {
  if (!directory.empty() && directory.back() != '\\' && directory.back() != '/' && directory.back() != ':') {
    directory += '\\';
  }
  return directory;
}

// The drive letter of "C:\..." (empty for a path without drive).
std::string DriveLetterOf(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return std::string(1, path[0]);
  return {};
}

}  // namespace

std::string DisketteText(std::string_view label, int disk, std::string_view driveLetter) {
  char text[512];
  if (label.empty()) {
    std::snprintf(text, sizeof text, "Please insert diskette %d in drive %.*s:", disk,
                  static_cast<int>(driveLetter.size()), driveLetter.data());
  } else {
    std::snprintf(text, sizeof text, "Please insert the diskette labelled '%.*s' in drive %.*s:",
                  static_cast<int>(label.size()), label.data(), static_cast<int>(driveLetter.size()),
                  driveLetter.data());
  }
  return text;
}

std::optional<std::string> NextNumberedDirectory(std::string_view sourceDirectory) {
  const std::string drive = sourceDirectory.size() >= 2 && sourceDirectory[1] == ':'
                                ? std::string(sourceDirectory.substr(0, 2))
                                : std::string();
  std::string directory(sourceDirectory.substr(drive.size()));
  while (!directory.empty() && (directory.back() == '\\' || directory.back() == '/')) directory.pop_back();
  if (directory.size() <= 2) return std::nullopt;
  // Leading digits, as every number of the setup is read: "1x" is 1, "x1" is 0.
  const std::string_view last = std::string_view(directory).substr(directory.size() - 2);
  int number = 0;
  for (const char c : last) {
    if (c < '0' || c > '9') break;
    number = number * 10 + (c - '0');
  }
  if (number == 0) return std::nullopt;
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d", number + 1);
  return drive + directory.substr(0, directory.size() - 2) + digits + "\\";
}

CSourceLocator::CSourceLocator(std::string sourceDirectory, const CDisketteTable& diskettes, CopyUserInterface& ui)
    : sourceDirectory_(WithSeparator(std::move(sourceDirectory))), diskettes_(diskettes), ui_(ui) {}

bool CSourceLocator::EnsureSourceFile(std::string_view name, int disk) {
  if (platform::FileExists(PathOf(name))) return true;
  const std::optional<std::string> label = diskettes_.Label(disk);
  if (!label) throw CInstallProfileException(install_profile_code::kDiskOutOfRange);

  char tagName[32];
  std::snprintf(tagName, sizeof tagName, "diskette.%03d", disk);
  if (!platform::FileExists(PathOf(tagName))) {
    if (const std::optional<std::string> next = NextNumberedDirectory(sourceDirectory_)) {
      if (platform::FileExists(*next + std::string(name))) {
        sourceDirectory_ = *next;
        return true;
      }
    }
  }

  DiskettePrompt prompt;
  prompt.label = *label;
  prompt.diskNumber = disk;
  prompt.sourceDirectory = sourceDirectory_;
  prompt.text = DisketteText(*label, disk, DriveLetterOf(sourceDirectory_));
  return ui_.AskForDiskette(prompt);
}
