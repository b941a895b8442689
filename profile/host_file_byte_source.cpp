#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "platform/fs/path_map.h"
#include "profile/profile_byte_source.h"

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads through the C library's buffered reader, one byte at a time.
class HostFileByteSource final : public ProfileByteSource {
 public:
  HostFileByteSource(FilePtr file, ProfileFileIdentity identity) : file_(std::move(file)), identity_(identity) {}

  int Get() override { return std::getc(file_.get()); }
  int Peek() override {
    const int c = std::getc(file_.get());
    if (c != EOF) std::ungetc(c, file_.get());
    return c;
  }
  bool Failed() const override { return std::ferror(file_.get()) != 0; }
  std::optional<ProfileFileIdentity> Identity() const override { return identity_; }

 private:
  FilePtr file_;
  ProfileFileIdentity identity_;
};

}  // namespace

static_assert(EOF == ProfileByteSource::kEnd, "the byte sources hand out the C library's end marker");

std::unique_ptr<ProfileByteSource> OpenProfileFileSource(std::string_view winFileName) {
  std::filesystem::path host;
  if (!platform::MapToHost(winFileName, host)) return nullptr;
  // Without O_NONBLOCK the open of a pipe with no writer would wait for one.
  const int fd = ::open(host.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  FilePtr file(::fdopen(fd, "rb"));
  if (!file) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<HostFileByteSource>(std::move(file), ProfileFileIdentity{status.st_dev, status.st_ino});
}
