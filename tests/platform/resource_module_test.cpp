// The resource module as the program sees it: a script compiled at build time
// (tests/data/rc/sample.rc) and looked up by id and name.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/resources/resource_module.h"
#include "platform/resources/window_styles.h"

namespace qmtest {
const platform::ResourceModule& SampleResources();
}

namespace {

using namespace platform;

std::string ReadDataFile(const std::string& name) {
  std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/rc/" + name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(ResourceModule, DialogsAreFoundByIdWithTheirControls) {
  const ResourceModule& module = qmtest::SampleResources();
  ASSERT_EQ(module.dialogs.size(), 2u);
  EXPECT_EQ(module.FindDialog(200), nullptr);
  ASSERT_NE(module.FindDialog(100), nullptr);
  EXPECT_TRUE(module.FindDialog(100)->controls.empty());

  const DialogTemplate* dialog = module.FindDialog(300);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->caption, "Second");
  EXPECT_EQ(dialog->style, WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT);
  EXPECT_EQ(dialog->fontFace, "MS Sans Serif");
  EXPECT_EQ(dialog->fontPointSize, 8);
  EXPECT_EQ(dialog->fontWeight, 700);
  EXPECT_TRUE(dialog->fontItalic);
  EXPECT_EQ(dialog->cx, 200);

  ASSERT_EQ(dialog->controls.size(), 4u);
  EXPECT_EQ(dialog->controls[0].id, -1);  // the tab order is the script's order
  const ControlTemplate* edit = dialog->FindControl(1001);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->windowClass, "EDIT");
  EXPECT_EQ(edit->style, WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL);
  EXPECT_EQ(std::tie(edit->x, edit->y, edit->cx, edit->cy), std::make_tuple(55, 8, 100, 13));
  const ControlTemplate* picture = dialog->FindControl(1002);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->text, "#7");
  EXPECT_EQ(module.FindBitmap(picture->text), module.FindBitmap(7));
  EXPECT_EQ(dialog->FindControl(5), nullptr);
}

TEST(ResourceModule, StringsAreFoundByIdAndEndInANul) {
  const ResourceModule& module = qmtest::SampleResources();
  ASSERT_EQ(module.strings.size(), 3u);
  ASSERT_NE(module.FindString(24576), nullptr);
  EXPECT_STREQ(module.FindString(24576), "Hello");
  EXPECT_STREQ(module.FindString(24577), "second line\nwith a \"quote\" and \xC2\xA9");
  EXPECT_STREQ(module.FindString(3), "short");
  EXPECT_EQ(module.FindString(4), nullptr);
  EXPECT_EQ(module.FindString(24578), nullptr);
  EXPECT_EQ(module.FindString(0), nullptr);
}

TEST(ResourceModule, BitmapsByNameIgnoringCaseOrByNumberHoldTheWholeFile) {
  const ResourceModule& module = qmtest::SampleResources();
  const BitmapResource* logo = module.FindBitmap("logo");
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(logo, module.FindBitmap("LOGO"));
  EXPECT_EQ(logo->name, "LOGO");
  const std::string logoFile = ReadDataFile("logo.bmp");
  ASSERT_EQ(logo->bmpFile.size(), logoFile.size());
  EXPECT_EQ(std::memcmp(logo->bmpFile.data(), logoFile.data(), logoFile.size()), 0);

  const BitmapResource* board = module.FindBitmap(7);
  ASSERT_NE(board, nullptr);
  EXPECT_EQ(board->numericId, 7);
  EXPECT_EQ(board->bmpFile.size(), ReadDataFile("board.bmp").size());
  EXPECT_EQ(module.FindBitmap("#7"), board);
  EXPECT_EQ(module.FindBitmap("7"), nullptr);  // a name, not a number
  EXPECT_EQ(module.FindBitmap("#x"), nullptr);
  EXPECT_EQ(module.FindBitmap(8), nullptr);
  EXPECT_EQ(module.FindBitmap(-1), nullptr);
  EXPECT_EQ(module.FindBitmap("LOG"), nullptr);
}

TEST(WindowStyles, NamesGiveTheirValuesCaseSensitively) {
  EXPECT_EQ(LookupStyleName("WS_TABSTOP"), WS_TABSTOP);
  EXPECT_EQ(LookupStyleName("BS_OWNERDRAW"), 0xBu);
  EXPECT_EQ(LookupStyleName("WS_OVERLAPPED"), 0u);
  EXPECT_EQ(LookupStyleName("ws_tabstop"), std::nullopt);
  EXPECT_EQ(LookupStyleName("WS_"), std::nullopt);
}

}  // namespace
