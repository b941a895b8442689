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

// The raw RT_VERSION resource (VS_VERSIONINFO) of a host file, or nullopt.
std::optional<std::vector<uint8_t>> ReadVersionResource(const std::filesystem::path& hostPath);

// Size in bytes of a file's version information; 0 when it has none.
uint32_t GetFileVersionInfoSize(std::string_view winPath);
// Copies at most size bytes of the file's version information into data.
bool GetFileVersionInfo(std::string_view winPath, uint32_t size, void* data);
// The fixed file information (the root block "\") of a version information block.
bool QueryFixedFileInfo(const void* block, std::size_t size, FixedFileInfo& info);

}  // namespace platform
