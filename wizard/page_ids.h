#pragma once
// The page ids: each is the id of the page's dialog template. One list, so that
// the page table, the pages and the application name the same pages.

namespace page_id {
inline constexpr int kEndOfRun = -1;
inline constexpr int kWelcome = 102;
inline constexpr int kDestination = 104;
inline constexpr int kProgramFolder = 106;
inline constexpr int kCopying = 108;
inline constexpr int kReading = 114;
inline constexpr int kFinished = 115;
inline constexpr int kNotInstalled = 116;
inline constexpr int kSetupType = 125;
inline constexpr int kCustomOptions = 127;
inline constexpr int kLicence = 128;
inline constexpr int kSplash = 132;
inline constexpr int kOutOfDiskSpace = 150;
inline constexpr int kStartCopying = 152;
inline constexpr int kInstallConditions = 1537;
inline constexpr int kRemoveConfirm = 1545;
inline constexpr int kRemoving = 1546;
inline constexpr int kRemoved = 1547;
}  // namespace page_id
