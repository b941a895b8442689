#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>

#include "platform/core/published_file.h"
#include "platform/fs/path_map.h"
#include "platform/machine/machine.h"
#include "platform/shelllink/shell_link.h"

namespace platform {
namespace {

std::string ReadWholeFile(const std::filesystem::path& hostPath) {
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw FileException::FromErrno(errno, hostPath.string());
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    // Opening a directory or a device as a file is refused as access denied, as on Windows.
    const int err = S_ISREG(st.st_mode) ? errno : EACCES;
    ::close(fd);
    throw FileException::FromErrno(err, hostPath.string());
  }
  if (static_cast<uint64_t>(st.st_size) > kMaxShellLinkFileSize) {
    ::close(fd);
    throw ShellLinkFormatError("not a shell link: " + hostPath.string() + " is too large");
  }
  std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      throw FileException::FromErrno(err, hostPath.string());
    }
    if (n == 0) break;  // the file shrank meanwhile: parse what is there
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
}

std::filesystem::path HostPathOf(std::string_view winPath) {
  std::filesystem::path hostPath;
  if (!MapToHost(winPath, hostPath)) throw FileException::FromErrno(errno, std::string(winPath));
  return hostPath;
}

}  // namespace

void WriteShellLink(const ShellLink& link, const std::filesystem::path& hostPath) {
  const std::string bytes = EncodeShellLink(link);
  try {
    // Links are made readable like any file the shell creates.
    PublishedFile file(hostPath, 0644);
    file.Write(bytes);
    if (::fchmod(file.Descriptor(), 0644) != 0) throw std::system_error(errno, std::generic_category(), "fchmod");
    file.Publish();
  } catch (const std::system_error& error) {
    throw FileException::FromErrno(error.code().value(), hostPath.string());
  }
}

ShellLink ReadShellLink(const std::filesystem::path& hostPath) {
  try {
    return DecodeShellLink(ReadWholeFile(hostPath));
  } catch (const ShellLinkFormatError& e) {
    throw ShellLinkFormatError(hostPath.string() + ": " + e.what());
  }
}

void WriteShellLinkOnMachine(const ShellLink& link, std::string_view winPath) {
  ShellLink stored = link;
  if (stored.target.size() >= 2 && stored.target[1] == ':') {
    if (const DriveMapping* drive = CurrentMachine().FindDrive(stored.target[0])) {
      stored.driveType = static_cast<uint32_t>(drive->type);
    }
  }
  WriteShellLink(stored, HostPathOf(winPath));
}

ShellLink ReadShellLinkOnMachine(std::string_view winPath) {
  return ReadShellLink(HostPathOf(winPath));
}

}  // namespace platform
