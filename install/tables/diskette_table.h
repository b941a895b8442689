#pragma once
// Labels of the installation diskettes, for the "Insert Diskette" prompt.
// Disk numbers 1..24 are labelled "Diskette 1" and so on (string 11) until the
// "diskettes" section of the install tables file says otherwise (key = disk
// number, value = label); disk 0 has no label, so its prompt names the number.

#include <array>
#include <optional>
#include <string>
#include <string_view>

class CDisketteTable {
 public:
  static constexpr int kFirstDisk = 0;
  static constexpr int kLastDisk = 24;
  static constexpr unsigned kDefaultLabelString = 11;  // "Diskette %d"

  // Every number 1..24 with its default label, 0 empty.
  CDisketteTable();

  // Applies the "diskettes" section of file; keys outside 0..24 are ignored.
  void Load(std::string_view file);

  // The label of a disk number; nullopt outside 0..24 (the copy reports that
  // as a damaged tables file).
  std::optional<std::string> Label(int disk) const;
  // Sets a label; false outside 0..24.
  bool SetLabel(int disk, std::string label);

 private:
  std::array<std::string, kLastDisk + 1> labels_;
};
