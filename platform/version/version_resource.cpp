#include "platform/version/version_info.h"

#include "platform/version/host_file_reader.h"
#include "platform/version/pe_resource_locator.h"
#include "platform/version/version_block.h"

namespace platform {

std::optional<std::vector<uint8_t>> ReadVersionResource(const std::filesystem::path& hostPath) {
  auto file = HostFileReader::Open(hostPath);
  if (!file) return std::nullopt;
  const auto span = FindFirstResource(*file, kResourceTypeVersion);
  if (!span || span->size > kMaxVersionInfoSize) return std::nullopt;

  std::vector<uint8_t> block(span->size);
  if (!file->ReadAt(span->offset, block.size(), block.data())) return std::nullopt;
  if (!HasVersionInfoHeader(block.data(), block.size())) return std::nullopt;
  return block;
}

}  // namespace platform
