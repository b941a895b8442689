#pragma once
// Shell links (.lnk files) in the published binary format that every shell and
// .lnk parser reads. Only what a program item needs is written:
//
//   header      LinkFlags: HasLinkInfo (when there is a target), HasName,
//               HasWorkingDir, HasArguments, HasIconLocation (each only when its
//               text is not empty) and always IsUnicode; icon index, show
//               command and hot key. Attributes, times and size stay 0: the
//               shell fills them in again when it resolves the link.
//   LinkInfo    VolumeID (drive type, serial 0, empty label) and LocalBasePath,
//               the whole target path in the ANSI code page, with an empty
//               CommonPathSuffix. No LinkTargetIDList and no RelativePath: the
//               local base path is what a shell resolves the link by.
//   StringData  UTF-16LE counted strings.
//   ExtraData   the terminal block only.
//
// Texts in a ShellLink are Windows-1252 bytes, as the product gives them. When a
// link is read, characters that code page cannot hold become '?'.

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/core/exceptions.h"

namespace platform {

inline constexpr uint32_t kShowNormal = 1;        // SW_SHOWNORMAL
inline constexpr uint32_t kShowMinimized = 2;     // SW_SHOWMINIMIZED, stored as kShowMinNoActive
inline constexpr uint32_t kShowMaximized = 3;     // SW_SHOWMAXIMIZED
inline constexpr uint32_t kShowMinNoActive = 7;   // SW_SHOWMINNOACTIVE

// Hot key modifiers, the high byte of ShellLink::hotKey (the low byte is the virtual key).
inline constexpr uint16_t kHotKeyShift = 0x0100;
inline constexpr uint16_t kHotKeyControl = 0x0200;
inline constexpr uint16_t kHotKeyAlt = 0x0400;

// The largest link file read; real ones are a few hundred bytes.
inline constexpr uint64_t kMaxShellLinkFileSize = 1 << 20;

struct ShellLink {
  std::string name;              // the description
  std::string target;            // full Windows path of the program
  std::string arguments;
  std::string workingDirectory;
  std::string iconLocation;      // empty: the target's own icon
  int32_t iconIndex = 0;
  uint16_t hotKey = 0;           // 0 for none
  // kShowNormal, kShowMaximized or kShowMinNoActive. The format knows no other
  // value, so kShowMinimized (and SW_MINIMIZE, 6) are written as
  // kShowMinNoActive, and anything else as kShowNormal: a minimized program
  // item must not come back as a normal one.
  uint32_t showCommand = kShowNormal;
  uint32_t driveType = 3;        // of the target's drive, DRIVE_FIXED by default

  bool operator==(const ShellLink&) const = default;
};

// A file that is not a shell link, or one that is damaged or cut short.
class ShellLinkFormatError : public Exception {
 public:
  explicit ShellLinkFormatError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// The show command a link file holds for the one asked for (see showCommand).
uint32_t StoredShowCommand(uint32_t showCommand);

// The bytes of a link file, and a link file's bytes read back. Parsing never
// reads outside bytes; damaged input throws ShellLinkFormatError.
std::string EncodeShellLink(const ShellLink& link);
ShellLink DecodeShellLink(std::string_view bytes);

// Writes the link to a host file through a temporary file in the same directory
// and a rename, so a reader sees the old file or the new one, never a part.
// Throws FileException, or ShellLinkFormatError for a text longer than the
// format's 65535 characters.
void WriteShellLink(const ShellLink& link, const std::filesystem::path& hostPath);
// Throws FileException when the file cannot be read, ShellLinkFormatError when
// it is not a sound link.
ShellLink ReadShellLink(const std::filesystem::path& hostPath);

// The same for a Windows path of the machine. The writer takes the drive type
// from the machine's drive of the target when that drive is mapped.
void WriteShellLinkOnMachine(const ShellLink& link, std::string_view winPath);
ShellLink ReadShellLinkOnMachine(std::string_view winPath);

}  // namespace platform
