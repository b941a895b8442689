#include "profile/value_conversions.h"

#include "profile/profile_tree.h"

bool ReadFlag(std::string_view text) { return ProfileNamesEqual(text, "true"); }
