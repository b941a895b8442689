#pragma once
// Builds profile sections the way the parser would, for the readers' tests.

#include <string>
#include <vector>

#include "profile/profile_tree.h"

namespace qmtest {

struct KeyLine {
  std::string name;
  std::vector<std::string> values;
};

inline ProfileSection MakeSection(const std::string& name, const std::vector<KeyLine>& keys) {
  ProfileSection section(name);
  for (const KeyLine& key : keys) {
    section.AddKey(key.name);
    for (const std::string& value : key.values) section.AddValue(value);
  }
  return section;
}

}  // namespace qmtest
