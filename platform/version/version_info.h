#pragma once
// The version resource of a Windows executable file (PE32 and PE32+), in the
// shape of the Windows version library: the size of the raw block, the block,
// and its fixed file information. Damaged or foreign files answer "no version
// information"; nothing is ever read outside the file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

// The largest version block we accept. VS_VERSIONINFO states its own length in a
// 16-bit field, so a sound block never needs more; a resource claiming a larger
// size is damaged, and refusing it keeps a file from dictating a huge allocation.
inline constexpr uint32_t kMaxVersionInfoSize = 0x10000;

// VS_FIXEDFILEINFO, 52 bytes.
struct FixedFileInfo {
  uint32_t signature;
  uint32_t strucVersion;
  uint32_t fileVersionMS;
  uint32_t fileVersionLS;
  uint32_t productVersionMS;
  uint32_t productVersionLS;
  uint32_t fileFlagsMask;
  uint32_t fileFlags;
  uint32_t fileOS;
  uint32_t fileType;
  uint32_t fileSubtype;
  uint32_t fileDateMS;
  uint32_t fileDateLS;
};
static_assert(sizeof(FixedFileInfo) == 52);

// The raw RT_VERSION resource (VS_VERSIONINFO) of a host file, or nullopt: the
// first resource of that type (first name, first language), as many bytes as
// its resource entry states. Nullopt also when the resource is larger than
// kMaxVersionInfoSize or does not start with a VS_VERSIONINFO header.
std::optional<std::vector<uint8_t>> ReadVersionResource(const std::filesystem::path& hostPath);

// Size in bytes of a file's version information; 0 when it has none or the path
// does not map to a host file.
uint32_t GetFileVersionInfoSize(std::string_view winPath);
// Copies min(size, block size) bytes of the file's version information into
// data. False, with data untouched, when the file has none (or data is null
// while size is not 0).
bool GetFileVersionInfo(std::string_view winPath, uint32_t size, void* data);
// The fixed file information (the root block "\") of a version information
// block of size bytes. False when the block is cut short (its own length is
// larger than size), has no fixed file information (wValueLength below 52) or
// the signature is not kFixedFileInfoSignature.
bool QueryFixedFileInfo(const void* block, std::size_t size, FixedFileInfo& info);

}  // namespace platform
