#include "platform/version/version_info.h"

#include <algorithm>
#include <cstring>

#include "platform/fs/path_map.h"

namespace platform {

namespace {

std::optional<std::vector<uint8_t>> ReadVersionResourceOf(std::string_view winPath) {
  std::filesystem::path hostPath;
  if (!MapToHost(winPath, hostPath)) return std::nullopt;
  return ReadVersionResource(hostPath);
}

}  // namespace

uint32_t GetFileVersionInfoSize(std::string_view winPath) {
  const auto block = ReadVersionResourceOf(winPath);
  return block ? static_cast<uint32_t>(block->size()) : 0;
}

bool GetFileVersionInfo(std::string_view winPath, uint32_t size, void* data) {
  if (data == nullptr && size != 0) return false;
  const auto block = ReadVersionResourceOf(winPath);
  if (!block) return false;
  const std::size_t count = std::min<std::size_t>(size, block->size());
  if (count != 0) std::memcpy(data, block->data(), count);
  return true;
}

}  // namespace platform
