// Where the drop-down button stands and how item text is placed.
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

TEST(ComboGeometry, ItemFormatFromAlignments) {
  constexpr UINT base = DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_NOPREFIX;
  static_assert(base == 0x960);
  struct Case {
    TAlignment H;
    TVerticalAlignment V;
    bool RtlAlign, RtlReading;
    UINT Expected;
  };
  const Case cases[] = {
      {taLeftJustify, taAlignTop, false, false, base},
      {taRightJustify, taAlignTop, false, false, base | DT_RIGHT},
      {taCenter, taVerticalCenter, false, false, base | DT_CENTER | DT_VCENTER},
      {taLeftJustify, taAlignBottom, false, false, base | DT_BOTTOM},
      {taLeftJustify, taAlignTop, true, true, base | DT_RIGHT | DT_RTLREADING},
      {taLeftJustify, taVerticalCenter, false, true, base | DT_RTLREADING | DT_VCENTER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.H << c.V << c.RtlAlign << c.RtlReading);
    EXPECT_EQ(ComboItemFormat(c.H, c.V, c.RtlAlign, c.RtlReading), c.Expected);
  }
}

}  // namespace
