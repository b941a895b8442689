#pragma once
// The command list: the profile's "Execute" sections, the programs an install
// or a removal runs. For now it keeps the sections as the profile gave them;
// reading them into commands comes with the work that runs them.

#include <vector>

#include "profile/profile_tree.h"

class CCommandList {
 public:
  // Keeps a copy of one "Execute" section, in profile order.
  void AddSection(const ProfileSection& section);

  const std::vector<ProfileSection>& Sections() const { return sections_; }

 private:
  std::vector<ProfileSection> sections_;
};
