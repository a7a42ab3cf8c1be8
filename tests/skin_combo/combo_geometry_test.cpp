// Where the drop-down button stands and where item text lands.
#include <algorithm>

#include "combo_fixture.h"

namespace {

TEST(ComboGeometry, ButtonRectFromItsInputs) {
  struct Case {
    TComboButtonInput In;
    TRect Expected;
  };
  const Case cases[] = {
      // Inset by the margin on three sides, one pixel narrower than the width.
      {{.Width = 180, .Height = 24, .ButtonWidth = 17, .Margin = 2}, TRect(162, 2, 178, 22)},
      {{.Width = 180, .Height = 24, .ButtonWidth = 17, .Margin = 3}, TRect(161, 3, 177, 21)},
      {{.Width = 180, .Height = 24, .ButtonWidth = 17, .Margin = 0}, TRect(164, 0, 180, 24)},
      // Right to left: at the left edge.
      {{.Width = 180, .Height = 24, .ButtonWidth = 17, .Margin = 3, .RightToLeft = true},
       TRect(3, 3, 19, 21)},
      // No button: an empty strip where it would stand.
      {{.Width = 180, .Height = 24, .ButtonWidth = 17, .Margin = 2, .HasButton = false},
       TRect(178, 2, 178, 22)},
      {{.Width = 180,
        .Height = 24,
        .ButtonWidth = 17,
        .Margin = 2,
        .RightToLeft = true,
        .HasButton = false},
       TRect(2, 2, 2, 22)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.In.Margin << c.In.RightToLeft << c.In.HasButton);
    EXPECT_EQ(ComboButtonRect(c.In), c.Expected);
  }
}

// The live combo reads the skin's margin, its style, ShowButton and the
// reading order.
TEST(ComboGeometry, ButtonRectOfTheControl) {
  struct Case {
    const char* Variant;
    int Margin;
    TComboBoxStyle Style;
    bool ShowButton;
    bool RightToLeft;
  };
  const Case cases[] = {
      {"tessera", 3, csDropDownList, true, false},
      {"combo-margin-default", 2, csDropDownList, true, false},
      {"tessera", 3, csDropDown, true, true},
      {"tessera", 3, csDropDown, false, false},
      {"combo-margin-default", 2, csSimple, true, false},
  };
  const bool middleEast = SysLocale.MiddleEast;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.Variant << " " << c.Style << c.ShowButton << c.RightToLeft);
    SysLocale.MiddleEast = c.RightToLeft;
    TComboScene s(c.Variant, c.Style);
    ASSERT_TRUE(s.Combo->Skinned());
    s.Combo->SetShowButton(c.ShowButton);
    if (c.RightToLeft) s.Combo->SetBiDiMode(bdRightToLeft);
    const int w = c.ShowButton && c.Style != csSimple ? GetComboBtnWidth() - 1 : 0;
    const int left = c.RightToLeft ? c.Margin : s.Combo->Width() - w - c.Margin;
    EXPECT_EQ(s.Combo->ButtonRect(), TRect(left, c.Margin, left + w, s.Combo->Height() - c.Margin));
  }
  SysLocale.MiddleEast = middleEast;
}

// Where an item's text lands in a list row of 160 x 40: by the alignments
// and, right to left, at the right edge.
TEST(ComboGeometry, ItemTextFollowsTheAlignments) {
  struct Case {
    TAlignment H;
    TVerticalAlignment V;
    bool RightToLeft;
    int MinLeft, MaxRight, MinTop, MaxBottom;  // the ink's extent
  };
  constexpr int w = 160, h = 40;
  const Case cases[] = {
      {taLeftJustify, taAlignTop, false, 0, w / 2, 0, h / 2 + 4},
      {taRightJustify, taAlignTop, false, w / 2, w, 0, h / 2 + 4},
      {taCenter, taVerticalCenter, false, w / 4, w - w / 4, 4, h - 4},
      {taLeftJustify, taAlignBottom, false, 0, w / 2, h / 2 - 4, h},
      {taLeftJustify, taAlignTop, true, w / 2, w, 0, h / 2 + 4},
  };
  const bool middleEast = SysLocale.MiddleEast;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.H << c.V << c.RightToLeft);
    SysLocale.MiddleEast = c.RightToLeft;
    TComboScene s("tessera");
    if (c.RightToLeft) s.Combo->SetBiDiMode(bdRightToLeft);
    s.Combo->SetAlignment(c.H);
    s.Combo->SetVerticalAlignment(c.V);
    s.Combo->Font()->SetSize(10);
    TItemCanvas ic(s.Combo, w, h);
    s.Combo->DrawItem(2, TRect(0, 0, w, h), 0);
    const uint32_t fill = RgbOf(s.Manager->GetEditColor());
    int left = w, right = 0, top = h, bottom = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (!Near(PixelOf(ic.Bitmap(), x, y), fill, 24)) {
          left = std::min(left, x);
          right = std::max(right, x + 1);
          top = std::min(top, y);
          bottom = std::max(bottom, y + 1);
        }
    ASSERT_LT(left, right);
    EXPECT_GE(left, c.MinLeft);
    EXPECT_LE(right, c.MaxRight);
    EXPECT_GE(top, c.MinTop);
    EXPECT_LE(bottom, c.MaxBottom);
  }
  SysLocale.MiddleEast = middleEast;
}

}  // namespace
