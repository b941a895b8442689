#pragma once
// Hands the sections of a parsed profile to their readers by name, the way the
// setup does at load: every section whose name matches a reader's (ignoring
// case) goes to that reader, in file order; other sections are ignored.

#include <functional>
#include <span>
#include <string_view>

#include "profile/profile_tree.h"

struct SectionReader {
  std::string_view name;
  std::function<void(const ProfileSection&)> read;
};

void DispatchSections(const ProfileFile& profile, std::span<const SectionReader> readers);
