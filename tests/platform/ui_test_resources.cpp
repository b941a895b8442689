#include "tests/platform/ui_test_resources.h"

#include <array>
#include <vector>

#include "platform/resources/window_styles.h"
#include "tests/common/gui_test_environment.h"

namespace uitest {

using namespace platform;

namespace {

constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;

const std::array<ControlTemplate, 27> kAllControls{{
    {kOk, "BUTTON", "OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 150, 10, 50, 14},
    {kCancel, "BUTTON", "Cancel", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 150, 28, 50, 14},
    {kPush, "Button", "&Push", kChild | WS_TABSTOP, 0, 150, 46, 50, 14},
    {kPicture, "BUTTON", "PIC", kChild | WS_DISABLED | BS_OWNERDRAW, 0, 210, 10, 20, 20},
    {kCheck, "BUTTON", "Check", kChild | WS_TABSTOP | BS_CHECKBOX, 0, 10, 100, 60, 10},
    {kAutoCheck, "BUTTON", "Auto", kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 10, 112, 60, 10},
    {kRadioA, "BUTTON", "A", kChild | WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 0, 80, 100, 30, 10},
    {kRadioB, "BUTTON", "B", kChild | BS_AUTORADIOBUTTON, 0, 80, 112, 30, 10},
    {kGroup, "BUTTON", "Group", kChild | BS_GROUPBOX, 0, 76, 90, 60, 36},
    {kLabel, "STATIC", "&Name:\tvalue", kChild | SS_LEFT, 0, 10, 10, 60, 8},
    {kCentred, "STATIC", "Centred", kChild | SS_CENTER, 0, 10, 20, 60, 8},
    {kNoWrap, "STATIC", "No wrap", kChild | SS_LEFTNOWORDWRAP, 0, 10, 30, 60, 8},
    {kFrame, "STATIC", "", kChild | SS_BLACKFRAME, 0, 10, 130, 60, 10},
    {kEtched, "STATIC", "", kChild | SS_ETCHEDHORZ, 0, 10, 145, 190, 1},
    {kEdit, "EDIT", "text", kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, 10, 40, 60, 12},
    {kReadOnly, "EDIT", "fixed", kChild | WS_BORDER | ES_READONLY, 0, 10, 54, 60, 12},
    {kPassword, "EDIT", "", kChild | WS_BORDER | WS_TABSTOP | ES_PASSWORD, 0, 10, 68, 60, 12},
    {kUpper, "EDIT", "", kChild | WS_BORDER | WS_TABSTOP | ES_UPPERCASE, 0, 10, 82, 60, 12},
    {kMultiLine, "EDIT", "one\r\ntwo", kChild | WS_BORDER | WS_VSCROLL | ES_MULTILINE, 0, 76, 40, 60, 40},
    {kList, "LISTBOX", "", kChild | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, 0, 210, 40, 60, 40},
    {kSortedList, "LISTBOX", "", kChild | WS_BORDER | LBS_SORT, 0, 210, 84, 60, 40},
    {kOwnerList, "LISTBOX", "", kChild | WS_BORDER | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS | LBS_NOTIFY, 0, 210,
     128, 60, 40},
    {kDropList, "COMBOBOX", "", kChild | WS_TABSTOP | CBS_DROPDOWNLIST | CBS_SORT, 0, 150, 64, 50, 60},
    {kDropDown, "COMBOBOX", "", kChild | WS_TABSTOP | CBS_DROPDOWN, 0, 150, 80, 50, 60},
    {kHidden, "BUTTON", "Hidden", WS_CHILD | BS_PUSHBUTTON, 0, 150, 100, 50, 14},
    {kDisabled, "BUTTON", "Disabled", kChild | WS_DISABLED | BS_PUSHBUTTON, 0, 150, 118, 50, 14},
    {-1, "STATIC", "", kChild | SS_GRAYRECT, 0, 0, 0, 1, 1},
}};

const std::array<ControlTemplate, 3> kSmallControls{{
    {-1, "STATIC", "A small dialog.", kChild | SS_LEFT, 0, 7, 7, 100, 8},
    {kOk, "BUTTON", "OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 7, 20, 40, 14},
    {kCancel, "BUTTON", "Cancel", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 50, 20, 40, 14},
}};

const std::array<ControlTemplate, 4> kModalControls{{
    {-1, "STATIC", "Replace the file?", kChild | SS_LEFT, 0, 7, 7, 100, 8},
    {kOk, "BUTTON", "&Replace", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 7, 20, 40, 14},
    {kCancel, "BUTTON", "Cancel", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 50, 20, 40, 14},
    {kPush, "BUTTON", "&Keep", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 93, 20, 40, 14},
}};

const std::array<DialogTemplate, 3> kDialogs{{
    {kAllControlsDialog, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 280, 170, "All controls", "MS Sans Serif", 8,
     0, false, kAllControls},
    {kSmallDialog, WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 0, 140, 40, "Small", "MS Sans Serif", 8, 0, false,
     kSmallControls},
    {kModalDialog, WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 140, 40, "Question", "MS Sans Serif", 8, 0, false,
     kModalControls},
}};

const std::vector<std::uint8_t>& RedBmp() {
  static const auto bytes = MakeBmp(4, 2, 255, 0, 0);
  return bytes;
}
const std::vector<std::uint8_t>& BlueBmp() {
  static const auto bytes = MakeBmp(4, 2, 0, 0, 255);
  return bytes;
}
const std::vector<std::uint8_t>& GreenBmp() {
  static const auto bytes = MakeBmp(4, 2, 0, 255, 0);
  return bytes;
}

}  // namespace

std::vector<std::uint8_t> MakeBmp(int width, int height, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
  const std::uint32_t fileSize = 54 + pixelBytes;
  std::vector<std::uint8_t> bmp;
  auto put16 = [&](std::uint32_t v) {
    bmp.push_back(static_cast<std::uint8_t>(v));
    bmp.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  auto put32 = [&](std::uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  bmp.push_back('B');
  bmp.push_back('M');
  put32(fileSize);
  put32(0);
  put32(54);
  put32(40);
  put32(static_cast<std::uint32_t>(width));
  put32(static_cast<std::uint32_t>(height));
  put16(1);
  put16(24);
  put32(0);
  put32(pixelBytes);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bmp.push_back(blue);
      bmp.push_back(green);
      bmp.push_back(red);
    }
    for (int pad = width * 3; pad < rowBytes; ++pad) bmp.push_back(0);
  }
  return bmp;
}

const ResourceModule& TestResources() {
  static const std::array<BitmapResource, 3> bitmaps{{
      {-1, "PICU", RedBmp()},
      {-1, "PICD", BlueBmp()},
      {-1, "PICX", GreenBmp()},
  }};
  static const ResourceModule module{kDialogs, {}, bitmaps};
  return module;
}

namespace {
const qmtest::GuiTestResources kUseTestResources(TestResources());
}

}  // namespace uitest
