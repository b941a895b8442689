// The resource compiler on sound scripts: what each statement makes of its arguments.

#include <gtest/gtest.h>

#include "platform/resources/window_styles.h"
#include "tests/tools/qmrc_test_support.h"

namespace {

using namespace platform;
using qmrc::ControlDefinition;
using qmrc::DialogDefinition;
using qmtest::ScriptDir;

constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;

struct ExpectedControl {
  const char* windowClass;
  const char* text;
  int id;
  std::uint32_t style;
  std::uint32_t exStyle;
  int x, y, cx, cy;
};

TEST(QmrcControls, EachStatementGivesItsClassDefaultsGeometryAndText) {
  ScriptDir dir;
  const auto script = dir.Compile(R"(
#define IDD_ALL 200
IDD_ALL DIALOG 1, 2, 300, 200
BEGIN
  LTEXT "left", 10, 1, 2, 3, 4
  CTEXT "centre", 11, 5, 6, 7, 8
  RTEXT "right", 12, 9, 10, 11, 12
  PUSHBUTTON "push", 13, 1, 1, 50, 14
  DEFPUSHBUTTON "default", IDOK, 1, 1, 50, 14
  GROUPBOX "group", -1, 0, 0, 100, 40
  CHECKBOX "check", 14, 1, 1, 9, 9
  AUTOCHECKBOX "auto check", 15, 1, 1, 9, 9
  RADIOBUTTON "radio", 16, 1, 1, 9, 9
  AUTORADIOBUTTON "auto radio", 17, 1, 1, 9, 9
  EDITTEXT 18, 10, 20, 120, 13
  LISTBOX 19, 0, 0, 80, 60
  COMBOBOX 20, 0, 0, 80, 60
  ICON "APPICON", 0xFFFF, 4, 5
  CONTROL "", 21, "msctls_progress32", 0, 1, 2, 3, 4
  CONTROL 145, -1, static, SS_BITMAP, 1, 2, 3, 4, WS_EX_CLIENTEDGE
END
)");
  ASSERT_EQ(script.dialogs.size(), 1u);
  const DialogDefinition& dialog = script.dialogs[0];
  EXPECT_EQ(dialog.id, 200);
  EXPECT_EQ(dialog.style, WS_POPUP | WS_BORDER | WS_SYSMENU);
  EXPECT_EQ(std::tie(dialog.x, dialog.y, dialog.cx, dialog.cy), std::make_tuple(1, 2, 300, 200));

  const ExpectedControl expected[] = {
      {"STATIC", "left", 10, kChild | SS_LEFT | WS_GROUP, 0, 1, 2, 3, 4},
      {"STATIC", "centre", 11, kChild | SS_CENTER | WS_GROUP, 0, 5, 6, 7, 8},
      {"STATIC", "right", 12, kChild | SS_RIGHT | WS_GROUP, 0, 9, 10, 11, 12},
      {"BUTTON", "push", 13, kChild | BS_PUSHBUTTON | WS_TABSTOP, 0, 1, 1, 50, 14},
      {"BUTTON", "default", 1, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 1, 1, 50, 14},
      {"BUTTON", "group", -1, kChild | BS_GROUPBOX, 0, 0, 0, 100, 40},
      {"BUTTON", "check", 14, kChild | BS_CHECKBOX | WS_TABSTOP, 0, 1, 1, 9, 9},
      {"BUTTON", "auto check", 15, kChild | BS_AUTOCHECKBOX | WS_TABSTOP, 0, 1, 1, 9, 9},
      {"BUTTON", "radio", 16, kChild | BS_RADIOBUTTON | WS_TABSTOP, 0, 1, 1, 9, 9},
      {"BUTTON", "auto radio", 17, kChild | BS_AUTORADIOBUTTON | WS_TABSTOP, 0, 1, 1, 9, 9},
      {"EDIT", "", 18, kChild | ES_LEFT | WS_BORDER | WS_TABSTOP, 0, 10, 20, 120, 13},
      {"LISTBOX", "", 19, kChild | LBS_NOTIFY | WS_BORDER, 0, 0, 0, 80, 60},
      {"COMBOBOX", "", 20, kChild | CBS_SIMPLE | WS_TABSTOP, 0, 0, 0, 80, 60},
      {"STATIC", "APPICON", -1, kChild | SS_ICON, 0, 4, 5, 0, 0},
      {"msctls_progress32", "", 21, kChild, 0, 1, 2, 3, 4},
      {"STATIC", "#145", -1, kChild | SS_BITMAP, WS_EX_CLIENTEDGE, 1, 2, 3, 4},
  };
  ASSERT_EQ(dialog.controls.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    const ControlDefinition& c = dialog.controls[i];
    const ExpectedControl& e = expected[i];
    SCOPED_TRACE("control " + std::to_string(i) + " \"" + e.text + "\"");
    EXPECT_EQ(c.windowClass, e.windowClass);
    EXPECT_EQ(c.text, e.text);
    EXPECT_EQ(c.id, e.id);
    EXPECT_EQ(c.style, e.style) << std::hex << c.style;
    EXPECT_EQ(c.exStyle, e.exStyle);
    EXPECT_EQ(std::tie(c.x, c.y, c.cx, c.cy), std::make_tuple(e.x, e.y, e.cx, e.cy));
  }
}

TEST(QmrcControls, GivenStylesAddToTheDefaultsAndNotClearsBits) {
  ScriptDir dir;
  const auto script = dir.Compile(R"(
1 DIALOGEX 0, 0, 100, 100
BEGIN
  PUSHBUTTON "a", 1, 0, 0, 1, 1, WS_DISABLED | NOT WS_TABSTOP
  PUSHBUTTON "b", 2, 0, 0, 1, 1, NOT WS_VISIBLE, WS_EX_STATICEDGE
  EDITTEXT 3, 0, 0, 1, 1, ES_MULTILINE | (ES_READONLY + ES_AUTOVSCROLL) | NOT WS_BORDER
  LTEXT "c", 4, 0, 0, 1, 1, SS_NOPREFIX | NOT WS_GROUP
  CONTROL "d", 5, "Button", BS_AUTOCHECKBOX | WS_TABSTOP | NOT WS_VISIBLE, 0, 0, 1, 1
  CONTROL "e", 6, BUTTON, 0x00000003L | 0x10000, -2, -3, 1, 1
END
)");
  const auto& c = script.dialogs.at(0).controls;
  ASSERT_EQ(c.size(), 6u);
  EXPECT_EQ(c[0].style, kChild | BS_PUSHBUTTON | WS_DISABLED);
  EXPECT_EQ(c[1].style, WS_CHILD | BS_PUSHBUTTON | WS_TABSTOP);
  EXPECT_EQ(c[1].exStyle, WS_EX_STATICEDGE);
  EXPECT_EQ(c[2].style, kChild | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_TABSTOP);
  EXPECT_EQ(c[3].style, kChild | SS_NOPREFIX);
  EXPECT_EQ(c[4].windowClass, "BUTTON");
  EXPECT_EQ(c[4].style, WS_CHILD | BS_AUTOCHECKBOX | WS_TABSTOP);
  EXPECT_EQ(c[5].windowClass, "BUTTON");
  EXPECT_EQ(c[5].style, kChild | BS_AUTOCHECKBOX | WS_TABSTOP);
  EXPECT_EQ(std::tie(c[5].x, c[5].y), std::make_tuple(-2, -3));
}

TEST(QmrcDialogs, OptionsStyleCaptionAndExtendedFont) {
  ScriptDir dir;
  const auto script = dir.Compile(R"(
LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
20 DIALOGEX DISCARDABLE 0, 0, 300, 200, 99
STYLE WS_POPUP | DS_MODALFRAME | NOT WS_SYSMENU
EXSTYLE WS_EX_TOPMOST
CAPTION "Title ""quoted"""
FONT 9, "Arial", 700, 1, 0
CLASS "MyDialogClass"
MENU SomeMenu
{
}
10 DIALOG 0, 0, 10, 10
CAPTION "Plain"
FONT 8, "MS Sans Serif"
BEGIN
END
11 DIALOG 0, 0, 10, 10
BEGIN
END
)");
  ASSERT_EQ(script.dialogs.size(), 3u);
  const DialogDefinition& ex = script.dialogs[0];
  EXPECT_TRUE(ex.extended);
  EXPECT_EQ(ex.style, WS_POPUP | DS_MODALFRAME | WS_CAPTION | DS_SETFONT);
  EXPECT_EQ(ex.exStyle, WS_EX_TOPMOST);
  EXPECT_EQ(ex.caption, "Title \"quoted\"");
  EXPECT_EQ(ex.fontFace, "Arial");
  EXPECT_EQ(ex.fontPointSize, 9);
  EXPECT_EQ(ex.fontWeight, 700);
  EXPECT_TRUE(ex.fontItalic);

  const DialogDefinition& plain = script.dialogs[1];
  EXPECT_EQ(plain.style, WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION | DS_SETFONT);
  EXPECT_EQ(plain.fontWeight, 0);
  EXPECT_FALSE(plain.fontItalic);
  EXPECT_EQ(script.dialogs[2].style, WS_POPUP | WS_BORDER | WS_SYSMENU);
  EXPECT_TRUE(script.dialogs[2].fontFace.empty());
}

TEST(QmrcStrings, EscapesIdsAndSeparators) {
  ScriptDir dir;
  const auto script = dir.Compile(R"(
#define IDS_BASE 24576
STRINGTABLE DISCARDABLE
BEGIN
  IDS_BASE, "line\none\r\ttab \\ back \"q\" and ""d"""
  IDS_BASE + 1 "hex \x41\x7a octal \101\60 end"
  7, "cp1252 \xA9 and L wide"
  8, L"wide \x263A"
  9 "unknown \q kept"
  10, ""
END
STRINGTABLE { 0x20, "braces" }
)");
  ASSERT_EQ(script.strings.size(), 7u);
  EXPECT_EQ(script.strings[0].id, 24576u);
  EXPECT_EQ(script.strings[0].text, "line\none\r\ttab \\ back \"q\" and \"d\"");
  EXPECT_EQ(script.strings[1].id, 24577u);
  EXPECT_EQ(script.strings[1].text, "hex Az octal A0 end");
  EXPECT_EQ(script.strings[2].text, "cp1252 \xC2\xA9 and L wide");
  EXPECT_EQ(script.strings[3].text, "wide \xE2\x98\xBA");
  EXPECT_EQ(script.strings[4].text, "unknown \\q kept");
  EXPECT_EQ(script.strings[5].text, "");
  EXPECT_EQ(script.strings[6].id, 0x20u);
}

TEST(QmrcPreprocessor, IncludesDefinesConditionsAndComments) {
  ScriptDir dir;
  dir.Add("ids/resource.h", R"(
#ifndef RESOURCE_H
#define RESOURCE_H
#define IDD_PAGE   132   // the page
#define IDC_FIRST  1000
#define IDC_SECOND (IDC_FIRST + 1)
#define MAKE_ID(x) (x)
#ifdef APSTUDIO_INVOKED
#define _APS_NEXT_RESOURCE_VALUE 101
#endif
#endif
)");
  const auto script = dir.Compile(R"(
#include <windows.h>
#include "ids\resource.h"
#include "ids/resource.h"
#pragma code_page(1252)
/* a block comment
   over lines with "quotes" */
#if defined(RC_INVOKED) && !defined(APSTUDIO_INVOKED)
#define TEXT_OF_PAGE "page // not a comment"
#elif 1
#error not taken
#else
#error not taken either
#endif
#ifdef APSTUDIO_INVOKED
TEXTINCLUDE garbage that is never read
#endif
#define LATE 5
#undef LATE
#ifndef LATE
#define WIDTH 190
#endif
IDD_PAGE DIALOG 0, 0, WIDTH, 10
BEGIN
  LTEXT TEXT_OF_PAGE, IDC_SECOND, 0, 0, WIDTH - 10, 8  // trailing
  LTEXT "x", IDC_STATIC, 0, 0, 1, 1
END
1 VERSIONINFO
 FILEVERSION 2,0,0,0
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    VALUE "FileVersion", "2.0\0"
  END
END
2 ICON "setup.ico"
)");
  ASSERT_EQ(script.dialogs.size(), 1u);
  const DialogDefinition& dialog = script.dialogs[0];
  EXPECT_EQ(dialog.id, 132);
  EXPECT_EQ(dialog.cx, 190);
  ASSERT_EQ(dialog.controls.size(), 2u);
  EXPECT_EQ(dialog.controls[0].text, "page // not a comment");
  EXPECT_EQ(dialog.controls[0].id, 1001);
  EXPECT_EQ(dialog.controls[0].cx, 180);
  EXPECT_EQ(dialog.controls[1].id, -1);
  // The script and its header, each once per #include.
  ASSERT_GE(script.dependencies.size(), 2u);
  EXPECT_EQ(script.dependencies[0].filename(), "test.rc");
  EXPECT_EQ(script.dependencies[1].filename(), "resource.h");
}

TEST(QmrcBitmaps, NamedByNumberOrNameAndEmbeddedWhole) {
  ScriptDir dir;
  const std::string small = qmtest::MakeBmp(3, 2);
  const std::string other = qmtest::MakeBmp(1, 1);
  dir.Add("pictures/Wiz.bmp", small);
  dir.Add("pictures/board.bmp", other);
  const auto script = dir.Compile(R"(
#define IDB_BOARD 145
WizBitU BITMAP "pictures\\wiz.bmp"
IDB_BOARD BITMAP MOVEABLE PURE "pictures/board.bmp"
"Quoted" BITMAP "pictures/board.bmp"
)");
  ASSERT_EQ(script.bitmaps.size(), 3u);
  EXPECT_EQ(script.bitmaps[0].name, "WIZBITU");
  EXPECT_EQ(script.bitmaps[0].numericId, -1);
  EXPECT_EQ(std::string(script.bitmaps[0].bytes.begin(), script.bitmaps[0].bytes.end()), small);
  EXPECT_EQ(script.bitmaps[1].numericId, 145);
  EXPECT_TRUE(script.bitmaps[1].name.empty());
  EXPECT_EQ(std::string(script.bitmaps[1].bytes.begin(), script.bitmaps[1].bytes.end()), other);
  EXPECT_EQ(script.bitmaps[2].name, "QUOTED");
  EXPECT_EQ(script.dependencies.back().filename(), "board.bmp");
}

}  // namespace
