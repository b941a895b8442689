#pragma once
// A directory of this program's own in the machine's temporary directory,
// removed with everything left in it when the object goes.

#include <string>

namespace unsetup {

class PrivateDirectory {
 public:
  // Creates TEMP\QMU<id> (another free name beside it when that one is taken).
  // Raises platform::FileException when no directory can be made.
  explicit PrivateDirectory(int id);
  ~PrivateDirectory();
  PrivateDirectory(const PrivateDirectory&) = delete;
  PrivateDirectory& operator=(const PrivateDirectory&) = delete;

  // The Windows path, with a trailing backslash.
  const std::string& Path() const { return path_; }

  // Copies the file from into the directory under name; raises
  // platform::FileException when it cannot.
  void CopyIn(const std::string& from, const std::string& name) const;

  // Removes what is left in it, and it; false when something stayed.
  bool Remove();

 private:
  std::string path_;
  bool removed_ = false;
};

}  // namespace unsetup
