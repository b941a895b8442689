#pragma once
// The lines of a directory list in the classic style: the drive's root and
// every folder down to the current one, each indented one step more and shown
// open, then the current folder's subdirectories one step further, closed.

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/dialog.h"

struct DirectoryLine {
  std::string name;  // "C:\" for the root
  std::string path;  // the folder's full path: "C:\", "C:\APPS", "C:\APPS\QMW2"
  int depth = 0;
  bool open = false;  // the root, the folders above the current one and the current one
};

// The lines for current, a full path "C:\" or "C:\A\B"; the subdirectories are
// sorted ignoring case.
std::vector<DirectoryLine> DirectoryLines(const std::string& current);

// Index of the current folder's line: the last open one.
std::size_t CurrentLineIndex(const std::vector<DirectoryLine>& lines);

// The item data that tells the drawer how a line looks.
std::uintptr_t DirectoryLineData(const DirectoryLine& line);

// Paints each line of the list indented by its depth, behind an open or a
// closed folder.
std::unique_ptr<platform::ui::ListBoxDrawer> MakeDirectoryListDrawer();
