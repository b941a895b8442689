#include "platform/core/published_file.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#include "platform/core/fault_injection.h"

namespace platform {
namespace {

std::system_error ErrnoError(int err, const std::string& what) {
  return std::system_error(err, std::generic_category(), what);
}

std::string HiddenPrefix(const std::filesystem::path& finalPath) { return "." + finalPath.filename().string() + "."; }

// A hidden name beside the final one that nobody else uses:
// ".NAME.PID-RANDOM", so that a leftover tells whose it was.
std::filesystem::path HiddenName(const std::filesystem::path& finalPath) {
  static thread_local std::mt19937 random{std::random_device{}()};
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string suffix(6, ' ');
  for (char& c : suffix) c = kLetters[random() % (sizeof kLetters - 1)];
  return finalPath.parent_path() / (HiddenPrefix(finalPath) + std::to_string(::getpid()) + "-" + suffix);
}

bool ProcFdUsable() {
  static const bool usable = ::access("/proc/self/fd", X_OK) == 0;
  return usable;
}

}  // namespace

PublishedFile::PublishedFile(std::filesystem::path finalPath, unsigned mode) : finalPath_(std::move(finalPath)) {
  if (const int fault = InjectedFault("create", finalPath_.string())) throw ErrnoError(fault, "create");
  std::filesystem::path directory = finalPath_.parent_path();
  if (directory.empty()) directory = ".";
  if (ProcFdUsable()) fd_ = ::open(directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
  if (fd_ >= 0) return;
  // No unnamed files here: a hidden named one, created exclusively.
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    namedTemp_ = HiddenName(finalPath_);
    fd_ = ::open(namedTemp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    const int err = errno;
    namedTemp_.clear();
    throw ErrnoError(err, "create " + finalPath_.string());
  }
}

PublishedFile::~PublishedFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!published_ && !namedTemp_.empty()) ::unlink(namedTemp_.c_str());
}

void PublishedFile::Write(std::string_view bytes) {
  if (const int fault = InjectedFault("write", finalPath_.string())) throw ErrnoError(fault, "write");
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw ErrnoError(errno, "write " + finalPath_.string());
    if (n == 0) throw ErrnoError(ENOSPC, "write " + finalPath_.string());
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

void PublishedFile::Link(const std::filesystem::path& name) const {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0) {
    throw ErrnoError(errno, "link " + name.string());
  }
}

void PublishedFile::Publish() {
  if (const int fault = InjectedFault("move", finalPath_.string())) throw ErrnoError(fault, "rename");
  // A close is where a deferred write error shows; a named file is closed
  // before its rename, an unnamed one must stay open until it has a name.
  const auto closeChecked = [this] {
    const int fault = InjectedFault("close", finalPath_.string());
    const int result = ::close(fd_);
    fd_ = -1;
    if (result != 0) throw ErrnoError(errno, "close " + finalPath_.string());
    if (fault != 0) throw ErrnoError(fault, "close");
  };
  if (namedTemp_.empty()) {
    try {
      Link(finalPath_);
    } catch (const std::system_error& error) {
      if (error.code().value() != EEXIST) throw;
      // The name is taken: link under a hidden one and rename that over it.
      for (int attempt = 0;; ++attempt) {
        namedTemp_ = HiddenName(finalPath_);
        try {
          Link(namedTemp_);
          break;
        } catch (const std::system_error& again) {
          namedTemp_.clear();
          if (again.code().value() != EEXIST || attempt == 100) throw;
        }
      }
      if (::rename(namedTemp_.c_str(), finalPath_.c_str()) != 0) throw ErrnoError(errno, "rename");
    }
    published_ = true;
    closeChecked();
    return;
  }
  closeChecked();
  if (::rename(namedTemp_.c_str(), finalPath_.c_str()) != 0) throw ErrnoError(errno, "rename " + finalPath_.string());
  published_ = true;
}

void PublishedFile::RemoveLeftovers(const std::filesystem::path& finalPath) {
  const std::string prefix = HiddenPrefix(finalPath);
  std::filesystem::path directory = finalPath.parent_path();
  if (directory.empty()) directory = ".";
  std::error_code error;
  for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || rest.size() - dash - 1 != 6 ||
        rest.find_first_not_of("0123456789") != dash) {
      continue;
    }
    const pid_t writer = static_cast<pid_t>(std::stol(rest.substr(0, dash)));
    // Ours, or a process that still runs (perhaps between its link and its
    // rename): not a leftover.
    if (writer == ::getpid() || ::kill(writer, 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    std::filesystem::remove(it->path(), ignored);
  }
}

}  // namespace platform
