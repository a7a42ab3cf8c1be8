// The page control's arithmetic on its own: where a re-activation lands,
// the frame and tab-row rectangles by side, skinned tab rectangles with
// enlarged and overlapping tabs, the content layout of a tab, and the
// padding handed to the platform.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "skin/controls/page_geometry.h"

inline void PrintTo(const TRect& R, std::ostream* Os) {
  *Os << "(" << R.Left << ", " << R.Top << ", " << R.Right << ", " << R.Bottom << ")";
}

namespace {

std::vector<TabPageInfo> PagesOf(const std::string& Letters) {
  // One letter a page: t tab, h hidden tab, b button tab, m menu tab.
  std::vector<TabPageInfo> v;
  for (char c : Letters) v.push_back({c != 'h', c == 'b' ? ttButton : c == 'm' ? ttMenu : ttTab});
  return v;
}

TEST(PageGeometry, NearestSelectableIndexPassesOverHiddenAndButtonTabs) {
  const struct {
    const char* Pages;
    int Index, Expected;
  } cases[] = {
      {"ttt", 1, 1},   {"tht", 1, 2},  {"thb", 1, 0}, {"hbmt", 0, 3},
      {"thhh", 2, 0},  {"tbht", 1, 3}, {"bmh", 1, 1},  // none selectable: the page asked for
      {"ttt", -1, -1}, {"ttt", 3, -1}, {"", 0, -1},    // outside the pages: nothing
      {"tmt", 1, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Pages) + " @" + std::to_string(c.Index));
    EXPECT_EQ(NearestSelectableIndex(PagesOf(c.Pages), c.Index), c.Expected);
  }
}

TEST(PageGeometry, FrameAndRowRectanglesBySide) {
  // A 300 x 200 control whose platform page area is (10, 30, 290, 190) or
  // its counterpart for the side.
  const struct {
    TTabPosition Position;
    TRect Area, Display, Row, Line;
  } cases[] = {
      {tpTop, {4, 30, 296, 196}, {0, 26, 300, 200}, {0, 0, 300, 26}, {0, 0, 300, 41}},
      {tpBottom, {4, 4, 296, 170}, {0, 0, 300, 172}, {0, 172, 300, 200}, {0, 157, 300, 200}},
      {tpLeft, {40, 4, 296, 196}, {39, 0, 300, 200}, {0, 0, 39, 200}, {0, 0, 54, 200}},
      {tpRight, {4, 4, 260, 196}, {0, 0, 261, 200}, {261, 0, 300, 200}, {246, 0, 300, 200}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Position);
    EXPECT_EQ(DisplayRectFor(c.Position, true, 300, 200, c.Area), c.Display);
    EXPECT_EQ(TabsRectFor(c.Position, true, 300, 200, c.Area), c.Row);
    EXPECT_EQ(TabsLineRectFor(c.Position, true, 300, 200, c.Area), c.Line);
    // Without tabs the frame is the whole control and there is no row.
    EXPECT_EQ(DisplayRectFor(c.Position, false, 300, 200, c.Area), TRect(0, 0, 300, 200));
    EXPECT_EQ(TabsRectFor(c.Position, false, 300, 200, c.Area), TRect());
  }
}

TEST(PageGeometry, SkinTabRectEnlargesTheActiveTabAndSpreadsOverlaps) {
  const TRect tab(20, 2, 80, 22);
  const struct {
    const char* Name;
    SkinTabRectInput In;
    TRect Expected;
  } cases[] = {
      {"plain", {.PlatformRect = tab}, tab},
      {"active grows by 2", {.PlatformRect = tab, .Active = true}, {18, 0, 82, 24}},
      {"buttons style never grows", {.PlatformRect = tab, .Style = tsButtons, .Active = true}, tab},
      {"covering 2 moves and widens along the row",
       {.PlatformRect = tab, .Covering = 2},
       {20, 2, 84, 22}},
      {"covering on left tabs runs down the row",
       {.PlatformRect = tab, .Position = tpLeft, .Covering = 2},
       {20, 2, 80, 26}},
      {"active with covering",
       {.PlatformRect = tab, .Active = true, .Covering = 2},
       {18, 0, 86, 24}},
      {"unskinned ignores covering", {.PlatformRect = tab, .Skinned = false, .Covering = 2}, tab},
      {"button keeps off the previous tab's overlap",
       {.PlatformRect = tab, .IsTabPage = false, .Covering = 2, .PrevCovering = 2},
       {23, 2, 80, 22}},
      {"first button keeps off the next tab's overlap",
       {.PlatformRect = tab, .IsTabPage = false, .NextCovering = 2},
       {20, 2, 77, 22}},
      {"not enlarged: top tabs grow 2 up and down",
       {.PlatformRect = tab, .ActiveTabEnlarged = false},
       {20, 0, 80, 24}},
      {"not enlarged: active left tab",
       {.PlatformRect = tab, .Position = tpLeft, .Active = true, .ActiveTabEnlarged = false},
       {18, 0, 83, 24}},
      {"not enlarged: other left tab",
       {.PlatformRect = tab, .Position = tpLeft, .ActiveTabEnlarged = false},
       {18, 2, 81, 22}},
      {"empty stays empty when active", {.PlatformRect = TRect(), .Active = true}, TRect()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(SkinTabRectFor(c.In), c.Expected);
  }
}

TEST(PageGeometry, TabPaddingNarrowsByImagesCloseButtonsAndCovering) {
  const struct {
    bool Close, Images;
    int Padding, Covering, CloseWidth, Expected;
  } cases[] = {
      {false, false, 0, 0, 15, 4},
      {false, true, 0, 0, 15, 7},
      {true, true, 0, 0, 15, 6 + 7},
      {true, false, 0, 0, 15, 4 + 7},
      {false, false, 5, 0, 15, 9},
      {false, false, 0, 2, 15, 6},
      {true, false, 3, 2, 12, 4 + 3 + 2 + 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Close << c.Images << c.Padding << c.Covering);
    EXPECT_EQ(TabPaddingWidth(c.Close, c.Images, c.Padding, c.Covering, c.CloseWidth), c.Expected);
  }
}

// A 100 x 24 top tab with a 40 x 12 caption, as the platform would size it.
TabContentInput TopTab() {
  TabContentInput in;
  in.R = TRect(0, 0, 100, 24);
  in.TextWidth = 40;
  in.TextHeight = 12;
  return in;
}

TEST(PageGeometry, HorizontalContentLayout) {
  struct Case {
    const char* Name;
    void (*Set)(TabContentInput&);
    TRect Text, Image, Close, Arrow;
  };
  const Case cases[] = {
      // R becomes (0, 2, 100, 22) moved down 1: (0, 3, 100, 23); the caption centred.
      {"centred caption", [](TabContentInput&) {}, {30, 7, 72, 19}, {}, {}, {}},
      {"left caption",
       [](TabContentInput& in) { in.Alignment = taLeftJustify; },
       {3, 7, 45, 19},
       {},
       {},
       {}},
      {"right caption",
       [](TabContentInput& in) { in.Alignment = taRightJustify; },
       {57, 7, 97, 19},
       {},
       {},
       {}},
      // Active and enlarged: R moves (-1, -2) instead of (0, 1); the caption
      // then shifts one down and right.
      {"active", [](TabContentInput& in) { in.State = 2; }, {30, 5, 72, 17}, {}, {}, {}},
      {"active, no shift",
       [](TabContentInput& in) {
         in.State = 2;
         in.Shift = false;
       },
       {29, 4, 71, 16},
       {},
       {},
       {}},
      // Image 16 x 16, spacing 6: the group of 62 centred in 100.
      {"image centred",
       [](TabContentInput& in) {
         in.HasImage = true;
         in.ImageWidth = in.ImageHeight = 16;
       },
       {41, 7, 83, 19},
       {19, 5, 35, 21},
       {},
       {}},
      // Close button 15 x 15 four pixels in from the right.
      {"close button",
       [](TabContentInput& in) { in.CloseButton = in.ShowCloseBtns = true; },
       {3, 7, 45, 19},
       {},
       {81, 5, 96, 20},
       {}},
      {"close button with image",
       [](TabContentInput& in) {
         in.CloseButton = in.ShowCloseBtns = true;
         in.HasImage = true;
         in.ImageWidth = in.ImageHeight = 16;
       },
       {25, 7, 67, 19},
       {3, 5, 19, 21},
       {81, 5, 96, 20},
       {}},
      // A menu tab of a 24-pixel row: the arrow beside the caption.
      {"menu beside",
       [](TabContentInput& in) { in.IsButton = in.IsMenu = true; },
       {3, 5, 45, 17},
       {},
       {},
       {47, 7, 56, 16}},
      // A taller row leaves room under the caption.
      {"menu under",
       [](TabContentInput& in) {
         in.IsButton = in.IsMenu = true;
         in.R = TRect(0, 0, 100, 40);
       },
       {3, 9, 45, 21},
       {},
       {},
       {19, 21, 28, 30}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TabContentInput in = TopTab();
    c.Set(in);
    const TabContentLayout L = LayoutTabContentFor(in);
    EXPECT_EQ(L.TextRect, c.Text);
    EXPECT_EQ(L.ImageRect, c.Image);
    EXPECT_EQ(L.CloseRect, c.Close);
    EXPECT_EQ(L.ArrowRect, c.Arrow);
    EXPECT_EQ(L.ArrowDirection, c.Arrow.Width() > 0 ? 3 : 0);
  }
}

TEST(PageGeometry, FocusFrameOnlyOnTheFocusedActiveTab) {
  const struct {
    int State;
    bool Focus, Empty, Button;
    bool Expected;
  } cases[] = {
      {2, true, false, false, true},   {1, true, false, false, false},
      {2, false, false, false, false}, {2, true, true, false, false},
      {2, true, false, true, false},
  };
  for (const auto& c : cases) {
    TabContentInput in = TopTab();
    in.State = c.State;
    in.FocusFrame = c.Focus;
    in.CaptionEmpty = c.Empty;
    in.IsButton = c.Button;
    const TabContentLayout L = LayoutTabContentFor(in);
    EXPECT_EQ(L.FocusRect.Width() > 0, c.Expected) << c.State << c.Focus << c.Empty << c.Button;
    if (c.Expected) {
      // Three wider each side and three lower, around the unshifted caption.
      EXPECT_EQ(L.FocusRect, TRect(L.TextRect.Left - 4, L.TextRect.Top - 1, L.TextRect.Right + 2,
                                   L.TextRect.Bottom + 2));
    }
  }
}

TEST(PageGeometry, VerticalContentLayout) {
  // A 24 x 120 left tab; the caption runs upwards, measured 50 long.
  struct Case {
    const char* Name;
    void (*Set)(TabContentInput&);
    TRect Text, Image, Close, Arrow;
    int RotX, RotY;
  };
  const Case cases[] = {
      {"caption centred along", [](TabContentInput&) {}, {6, 33, 20, 85}, {}, {}, {}, 7, 85},
      {"image at the bottom",
       [](TabContentInput& in) {
         in.HasImage = true;
         in.ImageWidth = in.ImageHeight = 16;
       },
       {6, 22, 20, 74},
       {5, 80, 21, 96},
       {},
       {},
       7,
       74},
      {"close button on top",
       [](TabContentInput& in) { in.CloseButton = true; },
       {6, 63, 20, 115},
       {},
       {4, 4, 19, 19},
       {},
       7,
       115},
      {"menu arrow on top",
       [](TabContentInput& in) { in.IsButton = in.IsMenu = true; },
       {6, 33, 20, 85},
       {},
       {},
       {7, 8, 16, 17},
       7,
       85},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TabContentInput in;
    in.R = TRect(0, 0, 24, 120);
    in.Position = tpLeft;
    in.Vertical = true;
    in.TextWidth = 50;
    in.TextHeight = 12;
    c.Set(in);
    const TabContentLayout L = LayoutTabContentFor(in);
    EXPECT_EQ(L.TextRect, c.Text);
    EXPECT_EQ(L.ImageRect, c.Image);
    EXPECT_EQ(L.CloseRect, c.Close);
    EXPECT_EQ(L.ArrowRect, c.Arrow);
    EXPECT_EQ(L.RotatedTextX, c.RotX);
    EXPECT_EQ(L.RotatedTextY, c.RotY);
  }
}

}  // namespace
