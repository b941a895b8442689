#pragma once
// Message numbers and answer codes with their Windows values.

#include <cstdint>

namespace platform::ui {

// First message number free for a program's private messages (WM_USER).
inline constexpr unsigned kUserMessage = 0x400;

// Dialog results and message-box answers.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdAbort = 3;
inline constexpr int kIdRetry = 4;
inline constexpr int kIdIgnore = 5;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

// Notification codes that reach Dialog::OnCommand with a control's id.
namespace notify {
inline constexpr int kButtonClicked = 0;     // BN_CLICKED
inline constexpr int kListSelChange = 1;     // LBN_SELCHANGE
inline constexpr int kListDoubleClick = 2;   // LBN_DBLCLK
inline constexpr int kComboSelChange = 1;    // CBN_SELCHANGE
inline constexpr int kComboEditChange = 5;   // CBN_EDITCHANGE
inline constexpr int kEditChange = 0x300;    // EN_CHANGE: after the text changed on screen
inline constexpr int kEditUpdate = 0x400;    // EN_UPDATE: the text changed, before display
}  // namespace notify

}  // namespace platform::ui
