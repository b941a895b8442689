#include <gtest/gtest.h>

#include "profile/setup_settings.h"
#include "tests/common/profile_sections.h"

using qmtest::MakeSection;

namespace {

using Items = std::vector<BillboardItem>;

TEST(SetupSettingsBillboards, EachBitmapIsPairedWithTheNextText) {
  SetupSettings settings;
  settings.ReadBillboardSection(MakeSection("Billboard", {
      {"bitmap", {"145"}},
      {"text", {R"(Design\nlabels)"}},
      {"Bitmap", {"146"}},
      {"Speed", {"ignored"}},
      {"TEXT", {"Print"}},
  }));
  EXPECT_EQ(settings.Billboards(), (Items{{"145", "Design\nlabels"}, {"146", "Print"}}));
}

TEST(SetupSettingsBillboards, ALaterBitmapReplacesAPendingOne) {
  SetupSettings settings;
  settings.ReadBillboardSection(MakeSection("Billboard", {
      {"bitmap", {"A"}},
      {"bitmap", {"B"}},
      {"text", {"T"}},
  }));
  EXPECT_EQ(settings.Billboards(), (Items{{"B", "T"}}));
}

TEST(SetupSettingsBillboards, TextWithoutPendingBitmapIsSkipped) {
  SetupSettings settings;
  settings.ReadBillboardSection(MakeSection("Billboard", {
      {"text", {"T"}},
      {"bitmap", {"A"}},
  }));
  EXPECT_TRUE(settings.Billboards().empty());

  // A text after a completed pair pairs with nothing either.
  settings.ReadBillboardSection(MakeSection("Billboard", {
      {"bitmap", {"A"}},
      {"text", {"T"}},
      {"text", {"U"}},
  }));
  EXPECT_EQ(settings.Billboards(), (Items{{"A", "T"}}));
}

TEST(SetupSettingsBillboards, PendingBitmapDoesNotCrossSections) {
  SetupSettings settings;
  settings.ReadBillboardSection(MakeSection("Billboard", {
      {"bitmap", {"A"}},
      {"text", {"first"}},
      {"bitmap", {"left over"}},
  }));
  settings.ReadBillboardSection(MakeSection("billboard", {
      {"text", {"orphan"}},
      {"bitmap", {"C"}},
      {"text", {"third"}},
  }));
  EXPECT_EQ(settings.Billboards(), (Items{{"A", "first"}, {"C", "third"}}));
}

TEST(SetupSettingsBillboards, BitmapIsRawAndKeysWithoutValuesGiveEmptyTexts) {
  SetupSettings settings;
  settings.ReadBillboardSection(MakeSection("Billboard", {
      {"bitmap", {R"(PIC\n1)"}},
      {"text", {}},
      {"bitmap", {}},
      {"text", {"T"}},
  }));
  EXPECT_EQ(settings.Billboards(), (Items{{R"(PIC\n1)", ""}, {"", "T"}}));
}

}  // namespace
