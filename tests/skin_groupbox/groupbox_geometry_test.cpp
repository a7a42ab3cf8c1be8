// Where the caption and its check box go: layouts, fixed widths, margins,
// the bevel-width growth of a narrow caption, the check box's shift and
// right-to-left mirroring, and the client area under a raised caption band.
#include <vector>

#include "groupbox_fixture.h"
#include "widgets/rtl/sysutils.h"

namespace {

using Layout = TsGroupBox::TsCaptionLayout;

struct CaptionCase {
  const char* Name;
  const char* Caption;
  int Width;
  Layout CaptionLayout;
  int CaptionWidth;
  bool RightToLeft;
  bool CheckBox;
  int Bevel;
  // Expected, with T the text width, M the two margins (4) and C the check
  // box width: Left and Right as written out in each case below.
  int (*Left)(int T, int C);
  int (*Right)(int T, int C);
};

class GroupBoxGeometryTest : public GroupBoxFixture {
 protected:
  void TearDown() override {
    SysLocale.MiddleEast = savedMiddleEast_;
    GroupBoxFixture::TearDown();
  }
  bool savedMiddleEast_ = SysLocale.MiddleEast;
};

TEST_F(GroupBoxGeometryTest, CaptionRectFollowsLayoutWidthMarginsBevelAndCheckBox) {
  const CaptionCase cases[] = {
      // "EQ" at the top left starts 6 pixels in and is the text plus 8 wide.
      {"text top-left", "EQ", 263, Layout::clTopLeft, 0, false, false, 1,
       [](int, int) { return 6; }, [](int T, int) { return 6 + T + 8; }},
      {"text top-right", "EQ", 263, Layout::clTopRight, 0, false, false, 1,
       [](int T, int) { return 263 - T - 8 - 6; }, [](int, int) { return 263 - 6; }},
      {"text centred", "EQ", 263, Layout::clTopCenter, 0, false, false, 1,
       [](int T, int) { return (263 - T - 4 - 6) / 2; },
       [](int T, int) { return (263 - T - 4 - 6) / 2 + T + 8; }},
      // A fixed width of 50 at the top right of a 200-pixel box: 200 - 50 - 2 - 6.
      {"fixed top-right", "Reverb", 200, Layout::clTopRight, 50, false, false, 1,
       [](int, int) { return 142; }, [](int, int) { return 142 + 50 + 2; }},
      {"fixed top-left", "Reverb", 200, Layout::clTopLeft, 50, false, false, 1,
       [](int, int) { return 8; }, [](int, int) { return 60; }},
      {"fixed centred", "Reverb", 200, Layout::clTopCenter, 50, false, false, 1,
       [](int, int) { return 72; }, [](int, int) { return 124; }},
      // Wider than the box: cut at the right edge.
      {"fixed too wide", "Reverb", 40, Layout::clTopLeft, 50, false, false, 1,
       [](int, int) { return 8; }, [](int, int) { return 40; }},
      // Right-to-left swaps the near and the far side.
      {"rtl fixed top-right", "Reverb", 200, Layout::clTopRight, 50, true, false, 1,
       [](int, int) { return 8; }, [](int, int) { return 60; }},
      {"rtl fixed top-left", "Reverb", 200, Layout::clTopLeft, 50, true, false, 1,
       [](int, int) { return 142; }, [](int, int) { return 194; }},
      // An empty caption is 8 wide; narrower than twice the bevel it grows by
      // the bevel on both sides.
      {"empty, thin bevel", "", 263, Layout::clTopLeft, 0, false, false, 1,
       [](int, int) { return 6; }, [](int, int) { return 14; }},
      {"empty, wide bevel", "", 263, Layout::clTopLeft, 0, false, false, 5,
       [](int, int) { return 1; }, [](int, int) { return 19; }},
      // The check box pushes the caption away from its side.
      {"check box top-left", "EQ", 263, Layout::clTopLeft, 0, false, true, 1,
       [](int, int C) { return 6 + C + 2; }, [](int T, int C) { return 6 + T + 8 + C + 2; }},
      {"check box top-right", "EQ", 263, Layout::clTopRight, 0, false, true, 1,
       [](int T, int) { return 263 - T - 8 - 6; }, [](int, int) { return 263 - 6; }},
      {"rtl check box top-right", "Reverb", 200, Layout::clTopRight, 50, true, true, 1,
       [](int, int C) { return 8 - C - 2; }, [](int, int C) { return 60 - C - 2; }},
  };
  for (const CaptionCase& c : cases) {
    SCOPED_TRACE(c.Name);
    SysLocale.MiddleEast = c.RightToLeft;
    Box->SetBiDiMode(c.RightToLeft ? bdRightToLeft : bdLeftToRight);
    Box->SetWidth(c.Width);
    Box->SetCaption(c.Caption);
    Box->SetCaptionLayout(c.CaptionLayout);
    Box->SetCaptionWidth(c.CaptionWidth);
    Box->SetCheckBoxVisible(c.CheckBox);
    Box->SetBevelWidth(c.Bevel);
    const int t = TextSizeIn(Box, c.Caption).cx;
    const int check = ThemesEnabled() ? 16 : 13;  // unskinned check box
    const TRect r = Box->CaptionRect();
    EXPECT_EQ(r.Left, c.Left(t, check));
    EXPECT_EQ(r.Right, c.Right(t, check));
    EXPECT_EQ(r.Top, 0);
    EXPECT_EQ(r.Bottom, TextSizeIn(Box, "W").cy + 2);
    const TRect box = Box->CheckBoxRect();
    if (!c.CheckBox) {
      EXPECT_EQ(box, TRect());
      continue;
    }
    EXPECT_EQ(box.Width(), check);
    EXPECT_EQ(box.Height(), check);
    EXPECT_EQ(box.Top, std::max(0, (r.Height() - check) / 2));
    if (c.RightToLeft)
      EXPECT_EQ(box.Left, r.Right + 2);
    else
      EXPECT_EQ(box.Right, r.Left - 2);
  }
}

TEST_F(GroupBoxGeometryTest, MarginsAndYOffsetSetTheBandHeight) {
  Box->SetCaption("EQ");
  const int text = TextSizeIn(Box, "W").cy + 2;
  const int t = TextSizeIn(Box, "EQ").cx;
  Box->CaptionMargin()->SetTop(3);
  Box->CaptionMargin()->SetBottom(1);
  Box->CaptionMargin()->SetLeft(5);
  Box->CaptionMargin()->SetRight(1);
  TRect r = Box->CaptionRect();
  EXPECT_EQ(r.Bottom - r.Top, text + 4);
  EXPECT_EQ(r.Right - r.Left, t + 12);
  // A raised band keeps its height and starts above the box.
  Box->SetCaptionYOffset(-4);
  r = Box->CaptionRect();
  EXPECT_EQ(r.Top, -4);
  EXPECT_EQ(r.Bottom - r.Top, text + 4);
  Box->SetCaptionYOffset(6);
  r = Box->CaptionRect();
  EXPECT_EQ(r.Top, 0);
  EXPECT_EQ(r.Bottom, text + 4 + 6);
}

TEST_F(GroupBoxGeometryTest, NegativeYOffsetMovesTheClientAreaUp) {
  Box->SetCaption("EQ");
  TGroupBox* child = New<TGroupBox>(Form);
  child->SetParent(Box);
  child->SetAlign(alClient);
  PumpMessages();
  const int top = child->Top();
  const int height = child->Height();
  Box->SetCaptionYOffset(-4);
  PumpMessages();
  EXPECT_EQ(child->Top(), top - 4);
  EXPECT_EQ(child->Height(), height + 4);
}

}  // namespace
