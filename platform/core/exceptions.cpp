#include "platform/core/exceptions.h"

#include <cstring>
#include <utility>

namespace platform {

FileException::FileException(FileCause cause, int osError, std::string fileName)
    : cause_(cause), osError_(osError), fileName_(std::move(fileName)) {
  message_ = "file error " + std::to_string(static_cast<int>(cause_));
  if (!fileName_.empty()) message_ += " on '" + fileName_ + "'";
  if (osError_ != 0) message_ += std::string(": ") + std::strerror(osError_);
}

FileException FileException::FromErrno(int err, std::string fileName) {
  return FileException(FileCauseFromErrno(err), err, std::move(fileName));
}

}  // namespace platform
