// What the start-up steps leave behind in a process, the order in which both
// programs run them, and that shutdown frees what start-up made.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "panel/program_body.h"
#include "skin/controls/alpha_image_list.h"
#include "skin/controls/shell_folder.h"
#include "skin/controls/startup_steps.h"
#include "tests/skin_shell/startup_order.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/sysutils.h"

namespace {

class StartupState : public testing::Test {
 protected:
  void SetUp() override { InitializeStartupResourceUnits(); }
  void TearDown() override { FinalizeStartupResourceUnits(); }
};

TEST_F(StartupState, ComboEditGlyphsHoldFiveImagesOfThirtyTwoBySixteen) {
  ASSERT_NE(ComboEditGlyphs, nullptr);
  EXPECT_EQ(ComboEditGlyphs->Owner(), nullptr);
  EXPECT_EQ(ComboEditGlyphs->Count(), 5);
  EXPECT_EQ(ComboEditGlyphs->Width(), 32);
  EXPECT_EQ(ComboEditGlyphs->Height(), 16);
  ASSERT_EQ(ComboEditGlyphs->Items()->Count(), 5);
  for (int i = 0; i < 5; ++i) {
    const TsImgListItem* item = ComboEditGlyphs->Items()->Items(i);
    EXPECT_EQ(item->ImageFormat, ifPNG) << i;
    EXPECT_EQ(item->PixelFormat, pf32bit) << i;
    // Each file is a 48 x 24 picture of its own.
    EXPECT_EQ(item->OrigWidth, 48) << i;
    EXPECT_EQ(item->OrigHeight, 24) << i;
    for (int j = 0; j < i; ++j)
      EXPECT_NE(item->ImgData()->Size(), ComboEditGlyphs->Items()->Items(j)->ImgData()->Size())
          << i << " and " << j;
  }
}

TEST_F(StartupState, CustomColoursAreEighteenWhites) {
  ASSERT_NE(CustomColorList, nullptr);
  ASSERT_EQ(CustomColorList->Count(), 18);
  for (int i = 0; i < 18; ++i) EXPECT_EQ(CustomColorList->Strings(i), "FFFFFF") << i;
}

TEST_F(StartupState, PipetteCursorIsTheProgramsOwnAtIndexMinusFifty) {
  EXPECT_EQ(PipetteCursorIndex, -50);
  const HCURSOR cursor = Screen->Cursors(PipetteCursorIndex);
  ASSERT_NE(cursor, nullptr);
  EXPECT_NE(cursor, Screen->Cursors(crDefault));
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  TOwnedBitmap mask(info.hbmMask), colour(info.hbmColor);
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 2u);
  EXPECT_EQ(info.yHotspot, 29u);
  BITMAP bm{};
  ASSERT_TRUE(colour);
  ASSERT_TRUE(GetObject(colour.Get(), sizeof bm, &bm));
  EXPECT_EQ(bm.bmWidth, 32);
  EXPECT_EQ(bm.bmHeight, 32);
}

TEST_F(StartupState, CaptionsAndTablesAreSet) {
  // The platform's texts vary; a missing one falls back.
  EXPECT_FALSE(TodayCaption.empty());
  const std::string format = ShortDateFormat();
  std::string upper = format;
  std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
  EXPECT_EQ(FourDigitYear, upper.find("YYYY") != std::string::npos) << format;
  EXPECT_STREQ(ListBoxDayHalves[1], "PM");
  EXPECT_STREQ(ListBoxTimeFormats[1], "%0.2d:%0.2d:%0.2d");
}

TEST(StartupLifecycle, ShutdownFreesWhatStartUpMade) {
  InitializeStartupResourceUnits();
  // A second run of the steps changes nothing.
  TsAlphaImageList* const glyphs = ComboEditGlyphs;
  TStringList* const colours = CustomColorList;
  InitializeStartupResourceUnits();
  EXPECT_EQ(ComboEditGlyphs, glyphs);
  EXPECT_EQ(CustomColorList, colours);
  FinalizeStartupResourceUnits();
  EXPECT_NE(ComboEditGlyphs, nullptr);
  FinalizeStartupResourceUnits();
  EXPECT_EQ(ComboEditGlyphs, nullptr);
  EXPECT_EQ(CustomColorList, nullptr);
  EXPECT_EQ(DesktopFolder, nullptr);
  EXPECT_EQ(SystemSmallIcons, nullptr);
  EXPECT_TRUE(TodayCaption.empty());
  EXPECT_TRUE(User32Captions[0].empty() && User32Captions[1].empty());
}

TEST(StartupOrder, VarnelRunsTheStepsInOneRunAfterTheControlsAndBeforeItsForm) {
  ExpectStartupStepsInOrder(VarnelUnits(), "PanelForm");
}

}  // namespace
