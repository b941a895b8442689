#include "wizard/pages/browse_dialog.h"

#include <vector>

#include "install/tables/destination_table.h"
#include "platform/fs/file_ops.h"
#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"
#include "platform/ui/placement.h"
#include "support/drive_iterator.h"
#include "support/path.h"
#include "wizard/pages/directory_list.h"

namespace {

constexpr int kTemplate = 1536;
constexpr int kPicturePanel = 1035;
constexpr int kLocation = 1002;
constexpr int kNewSubdirectory = 1003;
constexpr int kCurrentDirectory = 1088;
constexpr int kDirectoryList = 1121;
constexpr int kDriveList = 1137;

bool IsDirectory(const std::string& path) {
  const std::uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::kInvalidAttributes && (attributes & platform::kAttrDirectory) != 0;
}

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

bool IsRoot(const std::string& path) { return path.size() <= 3; }

std::string RootOfFirstFixedDrive() {
  CDriveIterator drives;
  if (!drives.FindFirstFixed()) return "C:\\";
  return std::string{drives.GetLetter(), ':', '\\'};
}

// Where browsing from path begins: the nearest folder of it that exists, and
// the part below that folder that does not exist yet, offered as the new
// subdirectory.
struct BrowseStart {
  std::string directory;
  std::string subdirectory;
};

BrowseStart StartOf(const std::string& path) {
  std::string full = CPath(path).GetFullPath();
  if (full.empty()) full = platform::GetCurrentDirectory();
  BrowseStart start{WithoutTrailingSeparator(full), {}};
  while (!IsDirectory(start.directory) && !IsRoot(start.directory)) {
    const std::string::size_type cut = start.directory.rfind('\\');
    const std::string last = start.directory.substr(cut + 1);
    start.subdirectory = start.subdirectory.empty() ? last : last + "\\" + start.subdirectory;
    start.directory = start.directory.substr(0, cut == 2 ? 3 : cut);
  }
  // A drive that is not there: its root cannot be shown.
  if (!IsDirectory(start.directory)) start.directory = RootOfFirstFixedDrive();
  return start;
}

class BrowseDirectoryDialog : public platform::ui::Dialog {
 public:
  BrowseDirectoryDialog(platform::ui::Window& owner, const std::string& startPath)
      : Dialog(kTemplate, &owner), location_(startPath) {
    const BrowseStart start = StartOf(startPath);
    current_ = start.directory;
    subdirectory_ = start.subdirectory;
  }

  const std::string& Location() const { return location_; }

 protected:
  bool OnInitDialog() override {
    Dialog::OnInitDialog();
    BindBitmapButton(kPicturePanel, ItemText(kPicturePanel));
    platform::ui::CenterWindow(*this, Owner());
    SetListDrawer(kDirectoryList, MakeDirectoryListDrawer());
    FillDrives();
    SetItemText(kNewSubdirectory, subdirectory_);
    SetItemText(kLocation, location_);
    initialised_ = true;
    OpenDirectory(current_);
    return true;
  }

  void OnOK() override {
    ComposeLocation();
    Dialog::OnOK();
  }

  bool OnCommand(int id, int notifyCode) override {
    namespace notify = platform::ui::notify;
    if (!initialised_) return false;
    if (id == kNewSubdirectory && notifyCode == notify::kEditChange) {
      ComposeLocation();
      return true;
    }
    if (id == kDirectoryList && notifyCode == notify::kListSelChange) {
      ComposeLocation();
      return true;
    }
    if (id == kDirectoryList && notifyCode == notify::kListDoubleClick) {
      const int selected = ListSelection(kDirectoryList);
      if (selected >= 0) OpenDirectory(lines_[static_cast<std::size_t>(selected)].path);
      return true;
    }
    if (id == kDriveList && notifyCode == notify::kComboSelChange) {
      const int selected = ListSelection(kDriveList);
      if (selected >= 0) OpenDirectory(ListText(kDriveList, selected) + "\\");
      return true;
    }
    return false;
  }

 private:
  void FillDrives() {
    ResetList(kDriveList);
    CDriveIterator drives;
    while (drives.Next()) AddListString(kDriveList, std::string{drives.GetLetter(), ':'});
  }

  // Makes directory the list's current folder and selects it.
  void OpenDirectory(const std::string& directory) {
    current_ = directory;
    lines_ = DirectoryLines(current_);
    ResetList(kDirectoryList);
    for (const DirectoryLine& line : lines_) {
      const int index = AddListString(kDirectoryList, line.name);
      SetListItemData(kDirectoryList, index, DirectoryLineData(line));
    }
    SetListSelection(kDirectoryList, static_cast<int>(CurrentLineIndex(lines_)));
    SetItemText(kCurrentDirectory, current_);
    SetListSelection(kDriveList, FindListString(kDriveList, current_.substr(0, 2)));
    ComposeLocation();
  }

  // The selected folder (the current one while none is selected) with the new
  // subdirectory below it.
  void ComposeLocation() {
    const int selected = ListSelection(kDirectoryList);
    const std::string folder = selected >= 0 ? lines_[static_cast<std::size_t>(selected)].path : current_;
    location_ = JoinDirectory(folder, ItemText(kNewSubdirectory));
    SetItemText(kLocation, location_);
  }

  std::string location_;
  std::string current_;
  std::string subdirectory_;
  std::vector<DirectoryLine> lines_;
  bool initialised_ = false;
};

}  // namespace

std::optional<std::string> BrowseForDirectory(platform::ui::Window& owner, const std::string& startPath) {
  BrowseDirectoryDialog dialog(owner, startPath);
  if (dialog.DoModal() != platform::ui::kIdOk) return std::nullopt;
  return dialog.Location();
}
