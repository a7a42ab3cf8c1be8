// Where button pictures stand: a standard tool button's image (list and
// caption modes, drop-down style, the pressed shift, which of the bar's
// lists), and the glyph and caption rectangles of the bit and speed buttons.
#include <gtest/gtest.h>

#include <memory>

#include "skin/controls/button_geometry.h"
#include "skin/controls/button_glyphs.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "widgets/controls/comctrls.h"
#include "widgets/rtl/object_model.h"

namespace {

// A 16 x 16 list of one image in one colour (TColor).
TImageList* SolidList(TColor colour) {
  auto* list = New<TImageList>(nullptr);
  list->SetSize(16, 16);
  auto image = std::unique_ptr<TBitmap>(NewArgbBitmap(16, 16));
  FillRectArgb(image.get(), TRect(0, 0, 16, 16), colour, 255);
  image->SetPixelFormat(pf24bit);
  list->Add(image.get(), nullptr);
  return list;
}

// The bounds of the pixels of one colour (0xRRGGBB); empty when none.
TRect BoundsOf(TBitmap* bitmap, uint32_t rgb) {
  const PixelView v = ArgbView(bitmap);
  TRect r(1 << 20, 1 << 20, -1, -1);
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x)
      if ((v.At(x, y) & 0xFFFFFF) == rgb) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r.Right < 0 ? TRect() : r;
}

TEST(ToolButtonGlyphTest, ImageStandsByModeStyleAndState) {
  auto images = OwnObject(SolidList(static_cast<TColor>(0x2020E0)));  // 0xE02020
  auto hot = OwnObject(SolidList(static_cast<TColor>(0x20C020)));
  auto disabled = OwnObject(SolidList(static_cast<TColor>(0xE02020)));  // 0x2020E0
  auto bar = OwnObject(New<TToolBar>(nullptr));
  bar->SetImages(images.get());
  bar->SetHotImages(hot.get());
  bar->SetDisabledImages(disabled.get());
  bar->SetButtonWidth(30);
  bar->SetButtonHeight(26);
  auto* button = New<TToolButton>(bar.get());
  button->SetParent(bar.get());
  button->SetImageIndex(0);

  auto canvasBitmap = std::unique_ptr<TBitmap>(NewArgbBitmap(30, 26));
  const int captionHeight = canvasBitmap->Canvas()->TextHeight("A") + 3;
  const struct {
    bool list, captions;
    TToolButtonStyle style;
    UINT itemState;
    uint32_t rgb;  // which list drew
    int left, top;
  } cases[] = {
      {true, false, tbsButton, 0, 0xE02020, 5, 5},
      {true, true, tbsDropDown, 0, 0xE02020, 5, 5},
      {false, false, tbsButton, 0, 0xE02020, 8, 5},
      {false, false, tbsDropDown, 0, 0xE02020, 0, 5},
      {false, true, tbsButton, 0, 0xE02020, 8, (26 - 16 - captionHeight) / 2},
      // Selected and checked are pressed and shift; hot wins over checked
      // and neither shifts nor takes the pressed frame.
      {false, false, tbsButton, ODS_SELECTED, 0xE02020, 9, 6},
      {false, false, tbsButton, ODS_CHECKED, 0xE02020, 9, 6},
      {false, false, tbsButton, ODS_HOTLIGHT | ODS_CHECKED, 0x20C020, 8, 5},
      {true, false, tbsButton, ODS_DISABLED, 0x2020E0, 5, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.list << c.captions << c.style << " " << c.itemState);
    bar->SetList(c.list);
    bar->SetShowCaptions(c.captions);
    button->SetStyle(c.style);
    ASSERT_EQ(button->Width(), 30);
    auto bitmap = std::unique_ptr<TBitmap>(NewArgbBitmap(30, 26));
    if (c.itemState == 0) {
      const TRect r = ToolButtonGlyphRect(bar.get(), button, bitmap.get());
      EXPECT_EQ(r, TRect(c.left, c.top, c.left + 16, c.top + 16));
    }
    PaintToolButtonGlyph(bar.get(), button, c.itemState, bitmap.get());
    // The part of the image inside the bitmap.
    const TRect drawn = BoundsOf(bitmap.get(), c.rgb);
    EXPECT_EQ(drawn.Left, std::max(0, c.left));
    EXPECT_EQ(drawn.Top, std::max(0, c.top));
    EXPECT_EQ(drawn.Right, c.left + 16);
  }
}

TEST(BitBtnGeometryTest, StateSizeAndRectangle) {
  auto images = OwnObject(SolidList(clRed));
  const struct {
    const char* what;
    BitBtnGeometry g;
    int state;
    TRect rect;
  } cases[] = {
      {"glyph strip of 4",
       {.NumGlyphs = 4, .GlyphBitmapWidth = 64, .GlyphBitmapHeight = 16, .GlyphPos = {10, 6}},
       0,
       {10, 6, 26, 22}},
      {"no glyph", {.GlyphPos = {3, 4}}, 0, {3, 4, 3, 4}},
      {"disabled image gives the size",
       {.Images = images.get(),
        .DisabledImageIndex = 0,
        .NumGlyphs = 2,
        .GlyphBitmapWidth = 64,
        .GlyphBitmapHeight = 20,
        .GlyphPos = {0, 0}},
       0,
       {0, 0, 8, 16}},
      {"disabled index outside the list",
       {.Images = images.get(),
        .DisabledImageIndex = 1,
        .GlyphBitmapWidth = 10,
        .GlyphBitmapHeight = 12},
       0,
       {0, 0, 10, 12}},
      {"down shifts unskinned",
       {.GlyphBitmapWidth = 12, .GlyphBitmapHeight = 12, .GlyphPos = {4, 4}, .Down = true},
       2,
       {5, 5, 17, 17}},
      {"pressed skinned without shift",
       {.GlyphBitmapWidth = 12,
        .GlyphBitmapHeight = 12,
        .GlyphPos = {4, 4},
        .PressedLook = true,
        .Skinned = true,
        .ShiftContentOnClick = false},
       2,
       {4, 4, 16, 16}},
      {"reflected rises by a sixth of the width",
       {.GlyphBitmapWidth = 18, .GlyphBitmapHeight = 12, .GlyphPos = {4, 10}, .Reflected = true},
       0,
       {4, 7, 22, 19}},
      {"hot", {.Hot = true}, 1, {}},
      {"default, nothing focused", {.Default = true}, 3, {}},
      {"default, a button focused",
       {.Default = true, .FocusWnd = HWND(1), .FocusStyle = 0x8},
       0,
       {}},
      {"default, another window focused",
       {.Default = true, .FocusWnd = HWND(1), .FocusStyle = 0x7},
       3,
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(BitBtnGlyphState(c.g), c.state);
    EXPECT_EQ(BitBtnGlyphRect(c.g), c.rect);
  }
  EXPECT_TRUE(BitBtnDiscolored({.Grayed = true}));
  EXPECT_TRUE(BitBtnDiscolored({.Skinned = true, .DiscoloredGlyphs = true}));
  EXPECT_FALSE(BitBtnDiscolored({.Skinned = false, .DiscoloredGlyphs = true}));
}

TEST(SpeedBtnGeometryTest, GlyphAndCaptionByLayoutAndAlignment) {
  // 100 x 40, glyph 16 x 16, caption 30 x 13, Margin 2 (M = 5), Spacing 4.
  auto base = [] {
    SpeedBtnGeometry g;
    g.Width = 100;
    g.Height = 40;
    g.GlyphWidth = 16;
    g.GlyphHeight = 16;
    g.TextWidth = 30;
    g.TextHeight = 13;
    g.Margin = 2;
    g.Spacing = 4;
    return g;
  };
  const struct {
    const char* what;
    int layout, alignment, captionAlignment, state;
    bool dropDown;
    TRect glyph, caption;
  } cases[] = {
      // R = 100 - 16 = 84; C = (100 - 30 - 16 - 4 - 10) div 2 + 5 + 16 + 4 = 45.
      {"left, left", 0, 0, 0, 0, false, {5, 12, 21, 28}, {25, 13, 55, 26}},
      {"left, right", 0, 1, 0, 0, false, {45, 12, 61, 28}, {65, 13, 95, 26}},
      {"left, centre", 0, 2, 0, 0, false, {25, 12, 41, 28}, {45, 13, 75, 26}},
      {"left, left, caption right", 0, 0, 1, 0, false, {5, 12, 21, 28}, {65, 13, 95, 26}},
      {"left, left, caption centred", 0, 0, 2, 0, false, {5, 12, 21, 28}, {45, 13, 75, 26}},
      {"right, left", 1, 0, 0, 0, false, {39, 12, 55, 28}, {5, 13, 35, 26}},
      {"right, right", 1, 1, 0, 0, false, {79, 12, 95, 28}, {5, 13, 75, 26}},
      {"right, right, caption right", 1, 1, 1, 0, false, {79, 12, 95, 28}, {45, 13, 75, 26}},
      {"right, centre", 1, 2, 0, 0, false, {59, 12, 75, 28}, {25, 13, 55, 26}},
      {"top", 2, 2, 0, 0, false, {43, 3, 59, 19}, {35, 23, 65, 37}},
      {"bottom", 3, 2, 0, 0, false, {43, 21, 59, 37}, {35, 3, 65, 17}},
      // Pressed unskinned: both move by (1, 1); glyph right of a left caption
      // keeps its place relative to it.
      {"left, left, pressed", 0, 0, 0, 2, false, {6, 13, 22, 29}, {26, 14, 56, 27}},
      {"right, left, pressed", 1, 0, 0, 2, false, {40, 13, 56, 29}, {6, 14, 36, 27}},
      // Drop-down part 16: R = 68.
      {"left, right, drop-down", 0, 1, 0, 0, true, {29, 12, 45, 28}, {49, 13, 79, 26}},
      {"top, drop-down", 2, 2, 0, 0, true, {35, 3, 51, 19}, {27, 23, 57, 37}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SpeedBtnGeometry g = base();
    g.Layout = c.layout;
    g.Alignment = c.alignment;
    g.CaptionAlignment = c.captionAlignment;
    g.State = c.state;
    g.DropDown = c.dropDown;
    EXPECT_EQ(SpeedBtnGlyphRect(g, true), c.glyph);
    EXPECT_EQ(SpeedBtnCaptionRect(g, true), c.caption);
  }
}

TEST(SpeedBtnGeometryTest, SizesScaleAndImageChoice) {
  EXPECT_EQ(SpeedBtnSplitArrowWidth(100), 16);
  EXPECT_EQ(SpeedBtnSplitArrowWidth(125), 20);
  SpeedBtnGeometry g;
  g.Width = 100;
  g.GlyphWidth = 16;
  g.Margin = 2;
  g.Spacing = 4;
  g.DropDown = true;
  g.ScalePercent = 125;
  EXPECT_EQ(SpeedBtnMaxTextWidth(g), 100 - 4 - 20 - 20);
  g.Layout = 2;
  EXPECT_EQ(SpeedBtnMaxTextWidth(g), 100 - 4 - 20);
  g.CaptionEmpty = true;
  EXPECT_EQ(SpeedBtnMaxTextWidth(g), 0);
  EXPECT_EQ(SpeedBtnGlyphMargin({.Margin = -1}), 0);

  const SpeedBtnImages images{.ImageIndex = 0,
                              .HotImageIndex = 1,
                              .PressedImageIndex = 2,
                              .SelectedImageIndex = 3,
                              .DisabledImageIndex = 4};
  const struct {
    bool enabled;
    int state;
    bool down, downIgnored, mouseOver;
    int index;
  } cases[] = {
      {false, 2, true, false, true, 4},  {true, 2, false, false, false, 2},
      {true, 3, false, false, false, 3}, {true, 0, true, false, false, 2},
      {true, 0, true, true, true, 1},    {true, 0, false, false, true, 1},
      {true, 1, false, false, false, 0},
  };
  for (const auto& c : cases) {
    SpeedBtnImages g = images;
    g.Enabled = c.enabled;
    g.State = c.state;
    g.Down = c.down;
    g.DownIgnored = c.downIgnored;
    g.MouseOver = c.mouseOver;
    EXPECT_EQ(SpeedBtnImageIndex(g), c.index) << c.enabled << c.state << c.down << c.mouseOver;
    g.HotImageIndex = g.PressedImageIndex = g.SelectedImageIndex = g.DisabledImageIndex = -1;
    EXPECT_EQ(SpeedBtnImageIndex(g), 0);
  }
}

}  // namespace
