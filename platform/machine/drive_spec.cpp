// Drive types and the "TYPE,HOSTPATH[,free=BYTES][,total=BYTES]" lines of [drives].

#include <limits>
#include <vector>

#include "platform/machine/machine.h"
#include "platform/profile/ini_document.h"

namespace platform {
namespace {

constexpr DriveType kAllTypes[] = {DriveType::Unknown, DriveType::NoRootDir, DriveType::Removable,
                                   DriveType::Fixed,   DriveType::Remote,    DriveType::CdRom,
                                   DriveType::RamDisk};

std::vector<std::string_view> SplitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    fields.push_back(TrimBlanks(text.substr(start, comma == std::string_view::npos ? comma : comma - start)));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return fields;
}

// Decimal digits only: a sign, a blank or a suffix is a typing error we would
// rather report than guess at.
std::optional<uint64_t> ParseBytes(std::string_view text) {
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  return value;
}

[[noreturn]] void Fail(char letter, std::string_view text, const std::string& problem) {
  throw MachineError("drive " + std::string(1, letter) + ": '" + std::string(text) + "': " + problem);
}

}  // namespace

std::string_view DriveTypeName(DriveType type) {
  switch (type) {
    case DriveType::Unknown:
      return "unknown";
    case DriveType::NoRootDir:
      return "norootdir";
    case DriveType::Removable:
      return "removable";
    case DriveType::Fixed:
      return "fixed";
    case DriveType::Remote:
      return "remote";
    case DriveType::CdRom:
      return "cdrom";
    case DriveType::RamDisk:
      return "ramdisk";
  }
  return "unknown";
}

std::optional<DriveType> ParseDriveType(std::string_view text) {
  text = TrimBlanks(text);
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '6') {
    return static_cast<DriveType>(text[0] - '0');
  }
  for (DriveType type : kAllTypes) {
    if (EqualsIgnoreCase(text, DriveTypeName(type))) return type;
  }
  return std::nullopt;
}

DriveMapping ParseDriveSpec(char letter, std::string_view text) {
  if (!((letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z'))) {
    throw MachineError("'" + std::string(1, letter) + "' is not a drive letter (A to Z)");
  }
  DriveMapping drive;
  drive.letter = (letter >= 'a') ? static_cast<char>(letter - 'a' + 'A') : letter;

  const std::vector<std::string_view> fields = SplitFields(text);
  const std::optional<DriveType> type = ParseDriveType(fields[0]);
  if (!type) {
    Fail(drive.letter, text,
         "unknown drive type '" + std::string(fields[0]) +
             "' (removable, fixed, remote, cdrom, ramdisk or their numbers 2 to 6)");
  }
  // A mapped drive that reports "unknown" or "no root" would be skipped by every
  // drive walk, which is never what a machine description means.
  if (*type == DriveType::Unknown || *type == DriveType::NoRootDir) {
    Fail(drive.letter, text, "a mapped drive needs a type from removable (2) to ramdisk (6)");
  }
  drive.type = *type;
  if (fields.size() < 2 || fields[1].empty()) Fail(drive.letter, text, "the host path is missing");
  drive.hostPath = std::string(fields[1]);

  for (std::size_t i = 2; i < fields.size(); ++i) {
    const std::string_view field = fields[i];
    const std::size_t eq = field.find('=');
    const std::string_view name = TrimBlanks(field.substr(0, eq));
    const std::string_view value = eq == std::string_view::npos ? std::string_view() : TrimBlanks(field.substr(eq + 1));
    std::optional<uint64_t>* target = nullptr;
    if (eq != std::string_view::npos && EqualsIgnoreCase(name, "free")) target = &drive.freeBytes;
    if (eq != std::string_view::npos && EqualsIgnoreCase(name, "total")) target = &drive.totalBytes;
    if (target == nullptr) {
      Fail(drive.letter, text, "unknown field '" + std::string(field) + "' (expected free=BYTES or total=BYTES)");
    }
    if (target->has_value()) Fail(drive.letter, text, "'" + std::string(name) + "' is given twice");
    *target = ParseBytes(value);
    if (!target->has_value()) {
      Fail(drive.letter, text, "'" + std::string(value) + "' is not a byte count (decimal digits, 64-bit)");
    }
  }
  return drive;
}

std::string FormatDriveSpec(const DriveMapping& drive) {
  std::string text = std::string(DriveTypeName(drive.type)) + "," + drive.hostPath.string();
  if (drive.freeBytes) text += ",free=" + std::to_string(*drive.freeBytes);
  if (drive.totalBytes) text += ",total=" + std::to_string(*drive.totalBytes);
  return text;
}

}  // namespace platform
