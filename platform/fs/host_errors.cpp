#include "platform/fs/host_errors.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

namespace platform {

FileCause CauseOfPathError(int err, const std::filesystem::path& host) {
  if (err == ENOENT && !host.empty()) {
    struct stat st;
    const std::filesystem::path parent = host.parent_path();
    if (stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return FileCause::BadPath;
  }
  return FileCauseFromErrno(err);
}

void ThrowFileError(int err, std::string_view winPath, const std::filesystem::path& host) {
  throw FileException(CauseOfPathError(err, host), err, std::string(winPath));
}

}  // namespace platform
