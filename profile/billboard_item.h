#pragma once
// One billboard shown while files are copied: a bitmap's name and its text.

#include <string>

struct BillboardItem {
  std::string bitmap;
  std::string text;

  bool operator==(const BillboardItem&) const = default;
};
