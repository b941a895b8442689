#pragma once
// COption: one "Option" section of the setup profile, an installable component
// with its number, parent, texts, space, setup types and user permissions.

#include <cstdint>
#include <string>

#include "options/user_messages.h"
#include "profile/profile_tree.h"

class COption {
 public:
  COption() = default;
  virtual ~COption() = default;

  // Applies the section's keys in file order, the later of two equal keys
  // winning. An "Option" number below 1 is reported through messages (once per
  // such key) and kept all the same.
  void ReadOptionSection(const ProfileSection& section, UserMessages& messages);

  bool Compact() const { return compact_; }
  bool Typical() const { return typical_; }
  bool AdminCompact() const { return adminCompact_; }
  bool AdminTypical() const { return adminTypical_; }
  const std::string& DialogText() const { return dialogText_; }
  uint32_t Space() const { return space_; }
  const std::string& Number() const { return number_; }
  const std::string& ParentNumber() const { return parentNumber_; }
  bool UserChoose() const { return userChoose_; }
  bool UserSetPath() const { return userSetPath_; }
  bool UserVisible() const { return userVisible_; }
  const std::string& Group() const { return group_; }
  int32_t DestinationId() const { return destinationId_; }
  const std::string& Description() const { return description_; }

 private:
  void ApplyKey(const std::string& name, const std::string& value, UserMessages& messages);

  bool compact_ = true;
  bool typical_ = true;
  bool adminCompact_ = false;
  bool adminTypical_ = true;
  std::string dialogText_ = "empty";
  uint32_t space_ = 0;
  std::string number_ = "-1";
  std::string parentNumber_ = "-1";
  bool userChoose_ = true;
  bool userSetPath_ = true;
  bool userVisible_ = true;
  std::string group_ = "none";
  int32_t destinationId_ = -99;
  std::string description_ = "<<No additional option description>>";
};

// The text shown for an "Option" number below 1.
inline constexpr const char* kOptionNumberMessage = "Error - Options must be greater than 0";
