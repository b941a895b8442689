#pragma once
// The target table: the program items to create, by key. A key is the name of
// the file the item starts, so the copy can give an item the path its file was
// installed to, and a removal can find the item of each file it removes. Keys
// are INI keys and are found ignoring letter case; items keep the order they
// were added in, which is the order they are created and saved.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "system/target.h"

class CTargetTable {
 public:
  // Adds every line of the "targets" section of file; a missing section adds nothing.
  void LoadTargets(std::string_view file);
  // Writes every target as one "targets" line into file. False when a line
  // failed (the others are still written).
  bool SaveTargets(std::string_view file) const;

  // Adds a target; one under the same key is replaced in its place.
  CTarget& Add(CTarget target);
  CTarget* Find(std::string_view key);
  const CTarget* Find(std::string_view key) const;

  std::size_t Size() const { return targets_.size(); }
  const std::vector<std::unique_ptr<CTarget>>& Targets() const { return targets_; }

 private:
  std::vector<std::unique_ptr<CTarget>> targets_;
};
