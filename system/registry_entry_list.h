#pragma once
// The registry entry list: the profile's "Registry" sections, which become the
// registry values an install writes and a removal takes away. For now it keeps
// the sections as the profile gave them; reading them into entries comes with
// the registry work.

#include <vector>

#include "profile/profile_tree.h"

class CRegistryEntryList {
 public:
  // Keeps a copy of one "Registry" section, in profile order.
  void AddSection(const ProfileSection& section);

  const std::vector<ProfileSection>& Sections() const { return sections_; }

 private:
  std::vector<ProfileSection> sections_;
};
