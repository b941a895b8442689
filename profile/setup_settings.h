#pragma once
// SetupSettings: the wizard texts and setup settings of the profile's "interface"
// sections and the billboards of its "Billboard" sections. Every field name is
// also the profile key that sets it; the key table lives in setup_settings.cpp.
// Only FileCopyDelayInterval is changed after loading (by the delay dialog);
// the other values are kept so the profile vocabulary stays accepted.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "profile/billboard_item.h"
#include "profile/profile_tree.h"

class SetupSettings {
 public:
  // How a key's first value becomes a field's value.
  enum class KeyKind {
    Text,     // escapes expanded
    RawText,  // stored as written
    Number,   // decimal from the leading digits
    Flag,     // on only for "true", any case
  };

  SetupSettings() = default;

  // Applies every known key of one "interface" section; a later key of a name
  // overrides an earlier one, unknown keys are skipped.
  void ReadInterfaceSection(const ProfileSection& section);
  // Appends the billboards of one "Billboard" section: each is a "bitmap" key
  // followed, now or later in the section, by a "text" key.
  void ReadBillboardSection(const ProfileSection& section);

  // The keys of the "interface" section in field order, with their kinds.
  struct KeyInfo {
    std::string_view name;
    KeyKind kind;
  };
  static std::vector<KeyInfo> InterfaceKeys();

  // The value of the field that a key of the "interface" section sets (matched
  // ignoring case), for tools that list the settings; nullopt for an unknown key.
  using Value = std::variant<std::string, int, bool>;
  std::optional<Value> ValueOf(std::string_view key) const;

  bool DisplaySplashFlag() const { return displaySplashFlag_; }
  const std::string& LogFilename() const { return logFilename_; }
  int FileCopyDelayInterval() const { return fileCopyDelayInterval_; }
  void SetFileCopyDelayInterval(int seconds) { fileCopyDelayInterval_ = seconds; }
  int InstallTitleHeight() const { return installTitleHeight_; }
  const std::string& UnWelcomeText() const { return unWelcomeText_; }
  const std::string& UnWelcomeTitle() const { return unWelcomeTitle_; }
  const std::string& UnDoneText() const { return unDoneText_; }
  const std::string& UnDoneTitle() const { return unDoneTitle_; }
  const std::string& BrowseDirText() const { return browseDirText_; }
  const std::string& BrowseDirTitle() const { return browseDirTitle_; }
  const std::string& Typical() const { return typical_; }
  const std::string& Compact() const { return compact_; }
  const std::string& Custom() const { return custom_; }
  const std::string& InstallName() const { return installName_; }
  const std::string& PMGroup() const { return pmGroup_; }
  const std::string& WelcomeTitle() const { return welcomeTitle_; }
  const std::string& WelcomeText() const { return welcomeText_; }
  const std::string& ReadingInfoTitle() const { return readingInfoTitle_; }
  const std::string& ReadingInfoText() const { return readingInfoText_; }
  const std::string& InstallOptionsTitle() const { return installOptionsTitle_; }
  const std::string& CustomOptionsTitle() const { return customOptionsTitle_; }
  const std::string& CustomMBOptionsTitle() const { return customMBOptionsTitle_; }
  const std::string& CustomMBOptionsText() const { return customMBOptionsText_; }
  const std::string& TypicalMBOptionsTitle() const { return typicalMBOptionsTitle_; }
  const std::string& TypicalMBOptionsText() const { return typicalMBOptionsText_; }
  const std::string& CompactMBOptionsTitle() const { return compactMBOptionsTitle_; }
  const std::string& CompactMBOptionsText() const { return compactMBOptionsText_; }
  const std::string& AbortedTitle() const { return abortedTitle_; }
  const std::string& AbortedText() const { return abortedText_; }
  const std::string& DoneTitle() const { return doneTitle_; }
  const std::string& DoneText() const { return doneText_; }
  const std::string& ReallyCancelMBTitle() const { return reallyCancelMBTitle_; }
  const std::string& ReallyCancelMBText() const { return reallyCancelMBText_; }
  const std::string& CopyingFilesTitle() const { return copyingFilesTitle_; }
  const std::string& DefaultOptionDescription() const { return defaultOptionDescription_; }
  const std::string& UninstallProgressTitle() const { return uninstallProgressTitle_; }
  const std::string& OutOfDiskTitle() const { return outOfDiskTitle_; }
  const std::string& OutOfDiskText() const { return outOfDiskText_; }
  const std::vector<BillboardItem>& Billboards() const { return billboards_; }

 private:
  struct KeyRule;
  static std::span<const KeyRule> KeyRules();
  void Apply(const KeyRule& rule, const std::string& value);

  bool displaySplashFlag_ = true;
  std::string logFilename_ = "default.log";
  int fileCopyDelayInterval_ = 5;
  int installTitleHeight_ = 24;
  std::string unWelcomeText_ = "default";
  std::string unWelcomeTitle_ = "default";
  std::string unDoneText_ = "default";
  std::string unDoneTitle_ = "default";
  std::string browseDirText_ = "default";
  std::string browseDirTitle_ = "default";
  std::string typical_ = "default";
  std::string compact_ = "default";
  std::string custom_ = "default";
  std::string installName_ = "default";
  std::string pmGroup_ = "default";
  std::string welcomeTitle_ = "default";
  std::string welcomeText_ = "default";
  std::string readingInfoTitle_ = "default";
  std::string readingInfoText_ = "default";
  std::string installOptionsTitle_ = "default";
  std::string customOptionsTitle_ = "default";
  std::string customMBOptionsTitle_ = "default";
  std::string customMBOptionsText_ = "default";
  std::string typicalMBOptionsTitle_ = "default";
  std::string typicalMBOptionsText_ = "default";
  std::string compactMBOptionsTitle_ = "default";
  std::string compactMBOptionsText_ = "default";
  std::string abortedTitle_ = "default";
  std::string abortedText_ = "default";
  std::string doneTitle_ = "default";
  std::string doneText_ = "default";
  std::string reallyCancelMBTitle_ = "default";
  std::string reallyCancelMBText_ = "default";
  std::string copyingFilesTitle_ = "default";
  std::string defaultOptionDescription_ = "default";
  std::string uninstallProgressTitle_ = "default";
  std::string outOfDiskTitle_ = "default";
  std::string outOfDiskText_ = "default";
  std::vector<BillboardItem> billboards_;
};
