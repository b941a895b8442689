#pragma once
// The hand-made resources of the window framework's tests: one dialog with every
// kind of control, small dialogs for the loop tests, and two bitmaps.

#include <cstdint>
#include <vector>

#include "platform/resources/resource_module.h"

namespace uitest {

inline constexpr int kAllControlsDialog = 100;
inline constexpr int kSmallDialog = 101;
inline constexpr int kModalDialog = 102;

// Controls of kAllControlsDialog.
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kPush = 10;
inline constexpr int kPicture = 11;
inline constexpr int kCheck = 12;
inline constexpr int kAutoCheck = 13;
inline constexpr int kRadioA = 14;
inline constexpr int kRadioB = 15;
inline constexpr int kGroup = 16;
inline constexpr int kLabel = 20;
inline constexpr int kCentred = 21;
inline constexpr int kNoWrap = 22;
inline constexpr int kFrame = 23;
inline constexpr int kEtched = 24;
inline constexpr int kEdit = 30;
inline constexpr int kReadOnly = 31;
inline constexpr int kPassword = 32;
inline constexpr int kUpper = 33;
inline constexpr int kMultiLine = 34;
inline constexpr int kList = 40;
inline constexpr int kSortedList = 41;
inline constexpr int kOwnerList = 42;
inline constexpr int kDropList = 43;
inline constexpr int kDropDown = 44;
inline constexpr int kHidden = 50;
inline constexpr int kDisabled = 51;

const platform::ResourceModule& TestResources();

// A 4x2 BMP (24 bits) of one colour, as a resource file holds it.
std::vector<std::uint8_t> MakeBmp(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue);

}  // namespace uitest
