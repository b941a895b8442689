#include "platform/fs/file_times.h"

#include <fcntl.h>

namespace platform {

int64_t CreationTimeOf(const std::filesystem::path& host, const struct stat& st) {
  struct statx extended;
  if (statx(AT_FDCWD, host.c_str(), 0, STATX_BTIME, &extended) == 0 && (extended.stx_mask & STATX_BTIME) != 0) {
    return extended.stx_btime.tv_sec;
  }
  return st.st_mtim.tv_sec;
}

}  // namespace platform
