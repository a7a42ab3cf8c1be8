// Skinned text: colours and order of the drawn copies, the glow kernel and
// blur bit for bit, the glow composition, measuring and shortening, and the
// rotated font's lifetime.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "fake_skin.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/text_paint.h"
#include "text_recorder.h"

namespace {

uint32_t FloatBits(float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  return u;
}

// A skin with one section whose state 1 has the given contours.
FakeSkin SkinWithContours(SkinColor left, SkinColor top, SkinColor right, SkinColor bottom) {
  FakeSkin skin;
  TsGeneralData section;
  section.SectionName = "BUTTON";
  section.Props[0].FontColor = 0x102030;
  section.Props[0].Color = 0x000000;
  TsGenState& hot = section.Props[1];
  hot.FontColor = 0x0000FF;
  hot.ContourLeft = left;
  hot.ContourTop = top;
  hot.ContourRight = right;
  hot.ContourBottom = bottom;
  skin.sections.push_back(section);
  return skin;
}

struct Copy {
  COLORREF color;
  int dx, dy;
};

// The drawn copies relative to the last one (the main text).
std::vector<Copy> CopiesOf(const std::vector<DrawnText>& drawn) {
  std::vector<Copy> copies;
  if (drawn.empty()) return copies;
  const POINT main = drawn.back().At;
  for (const DrawnText& d : drawn)
    copies.push_back({d.Color, int(d.At.x - main.x), int(d.At.y - main.y)});
  return copies;
}

bool operator==(const Copy& a, const Copy& b) {
  return a.color == b.color && a.dx == b.dx && a.dy == b.dy;
}
std::ostream& operator<<(std::ostream& os, const Copy& c) {
  return os << std::hex << c.color << std::dec << "@(" << c.dx << "," << c.dy << ")";
}

const RECT kTextRect{10, 10, 200, 40};

TEST(SectionText, ContoursThenFontColourInOrder) {
  struct Case {
    SkinColor left, top, right, bottom;
    std::vector<Copy> expected;
  };
  const Case cases[] = {
      {-1, -1, -1, -1, {{0x0000FF, 0, 0}}},
      {0x111111,
       0x222222,
       0x333333,
       0x444444,
       {{0x111111, -1, 0},
        {0x222222, 0, -1},
        {0x333333, 1, 0},
        {0x444444, 0, 1},
        {0x0000FF, 0, 0}}},
      {-1, 0x222222, -1, 0x444444, {{0x222222, 0, -1}, {0x444444, 0, 1}, {0x0000FF, 0, 0}}},
  };
  for (const Case& c : cases) {
    FakeSkin skin = SkinWithContours(c.left, c.top, c.right, c.bottom);
    TextRecorder rec;
    DrawSectionText(&rec.Canvas, "Caption", true, kTextRect, DT_SINGLELINE, 0, 1, &skin);
    const auto drawn = rec.Finish();
    EXPECT_EQ(CopiesOf(drawn), c.expected) << c.left << " " << c.top;
    for (const DrawnText& d : drawn) EXPECT_EQ(d.Text, "Caption");
  }
}

TEST(SectionText, DisabledMixesNormalFontColourIntoBackground) {
  FakeSkin skin = SkinWithContours(0x111111, -1, -1, -1);
  skin.sections[0].Props[0].FontColor = 0xFFFFFF;
  skin.sections[0].Props[0].Color = 0x000000;
  TextRecorder rec;
  DrawSectionText(&rec.Canvas, "Off", false, kTextRect, DT_SINGLELINE, 0, 1, &skin);
  EXPECT_EQ(rec.Canvas.Font()->Color(), TColor(0x636363));
  const auto drawn = rec.Finish();
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].Color, COLORREF(0x636363));
}

TEST(SectionText, WithoutSkinOrTextTheCanvasColoursOrNothing) {
  FakeSkin skin = SkinWithContours(0x111111, -1, -1, -1);
  FakeSkin empty;
  TextRecorder rec;
  rec.Canvas.Font()->SetColor(TColor(0x00AA00));
  DrawSectionText(&rec.Canvas, nullptr, true, kTextRect, DT_SINGLELINE, 0, 1, &skin);
  DrawSectionText(&rec.Canvas, "S", true, kTextRect, DT_SINGLELINE, 0, 0, &skin);
  DrawSectionText(&rec.Canvas, "A", true, kTextRect, DT_SINGLELINE, 5, 1, &skin);
  DrawSectionText(&rec.Canvas, "B", true, kTextRect, DT_SINGLELINE, 0, 1, &empty);
  const auto drawn = rec.Finish();
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_EQ(drawn[0].Color, COLORREF(0x102030));
  // A skinned caption leaves the canvas's own colour in force behind it.
  EXPECT_EQ(drawn[1].Text, "A");
  EXPECT_EQ(drawn[1].Color, COLORREF(0x00AA00));
  EXPECT_EQ(drawn[2].Color, COLORREF(0x00AA00));
}

ControlTextParams SkinnedControl(const FakeSkin& skin) {
  ControlTextParams p;
  p.Source = &skin;
  p.Skinned = true;
  p.SkinIndex = 0;
  p.TextSection = 0;
  return p;
}

TEST(ControlText, HoveredLinkIsUnderlinedOnlyWhileDrawing) {
  FakeSkin skin = SkinWithContours(-1, -1, -1, -1);
  struct Case {
    int webButton, state;
    bool underlined;
  };
  for (const Case& c : {Case{0, 1, true}, Case{0, 0, false}, Case{3, 1, false}}) {
    ControlTextParams p = SkinnedControl(skin);
    p.WebButtonIndex = c.webButton;
    TextRecorder rec;
    DrawControlText(&rec.Canvas, "Link", true, kTextRect, DT_SINGLELINE, p, c.state);
    EXPECT_EQ(rec.Canvas.Font()->Style() & fsUnderline, 0) << c.webButton << c.state;
    rec.Canvas.TextOut(0, 50, "After");
    const auto drawn = rec.Finish();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].Underline, c.underlined) << c.webButton << c.state;
    EXPECT_FALSE(drawn[1].Underline);
  }
}

TEST(ControlText, SkinnedColoursGoThroughTheControlTone) {
  FakeSkin skin = SkinWithContours(0x111111, -1, -1, 0x444444);
  ControlTextParams p = SkinnedControl(skin);
  p.HueOffset = 120;
  p.Saturation = -50;
  auto toned = [&p](uint32_t c) {
    return COLORREF(ControlToneColor(c, p.ColorTone, p.HueOffset, p.Saturation));
  };
  TextRecorder rec;
  rec.Canvas.Font()->SetColor(TColor(0x00AA00));
  DrawControlText(&rec.Canvas, "Tone", true, kTextRect, DT_SINGLELINE, p, 1);
  // The DC's text colour follows the canvas's font again afterwards.
  EXPECT_EQ(GetTextColor(rec.DC()), COLORREF(0x00AA00));
  const auto drawn = rec.Finish();
  const std::vector<Copy> expected = {
      {toned(0x111111), -1, 0}, {toned(0x444444), 0, 1}, {toned(0x0000FF), 0, 0}};
  EXPECT_EQ(CopiesOf(drawn), expected);
  // Contours keep the caller's clipping; only the main text is drawn unclipped.
  ASSERT_EQ(drawn.size(), 3u);
  EXPECT_NE(drawn[0].Options & ETO_CLIPPED, 0u);
  EXPECT_EQ(drawn[2].Options & ETO_CLIPPED, 0u);
}

TEST(ControlText, DisabledAndUnskinnedLooks) {
  FakeSkin skin = SkinWithContours(0x111111, -1, -1, -1);
  {  // skinned and disabled: the toned font colour of the state, no contours
    ControlTextParams p = SkinnedControl(skin);
    p.ColorTone = 0x0080FF;
    TextRecorder rec;
    DrawControlText(&rec.Canvas, "Off", false, kTextRect, DT_SINGLELINE, p, 1);
    const COLORREF want = ControlToneColor(0x0000FF, p.ColorTone, 0, 0);
    EXPECT_EQ(rec.Canvas.Font()->Color(), TColor(want));
    const auto drawn = rec.Finish();
    EXPECT_EQ(CopiesOf(drawn), (std::vector<Copy>{{want, 0, 0}}));
  }
  for (bool customFont : {false, true}) {  // embossed
    ControlTextParams p = SkinnedControl(skin);
    p.Skinned = customFont;
    p.CustomFont = customFont;
    TextRecorder rec;
    DrawControlText(&rec.Canvas, "Off", false, kTextRect, DT_SINGLELINE, p, 1);
    const auto drawn = rec.Finish();
    const std::vector<Copy> expected = {{ColorToRGB(clBtnHighlight), 1, 1},
                                        {ColorToRGB(clBtnShadow), 0, 0}};
    EXPECT_EQ(CopiesOf(drawn), expected) << customFont;
  }
  {  // an invalid section draws plainly in the canvas's colour
    ControlTextParams p = SkinnedControl(skin);
    p.TextSection = 7;
    TextRecorder rec;
    rec.Canvas.Font()->SetColor(TColor(0x00AA00));
    DrawControlText(&rec.Canvas, "Plain", true, kTextRect, DT_SINGLELINE, p, 1);
    EXPECT_EQ(CopiesOf(rec.Finish()), (std::vector<Copy>{{0x00AA00, 0, 0}}));
  }
}

TEST(ControlText, GlowGoesIntoTheCacheBitmap) {
  FakeSkin skin = SkinWithContours(-1, -1, -1, -1);
  skin.sections[0].Props[1].TextGlowSize = 3;
  skin.sections[0].Props[1].TextGlowColor = 0x00FF00;
  TBitmap cache;
  cache.SetPixelFormat(pf32bit);
  cache.SetSize(220, 60);
  const PixelView v = ArgbView(&cache);
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) v.At(x, y) = 0;
  ControlTextParams p = SkinnedControl(skin);
  p.CacheBitmap = &cache;
  TextRecorder rec;
  DrawControlText(&rec.Canvas, "Glow", true, kTextRect, DT_SINGLELINE | DT_VCENTER, p, 1);
  int green = 0;
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) {
      const uint32_t px = v.At(x, y);
      if (px == 0) continue;
      EXPECT_EQ(px & 0x00FF00FFu, 0u) << x << "," << y;  // only green and alpha grow
      ++green;
    }
  EXPECT_GT(green, 0);
  EXPECT_EQ(rec.Finish().size(), 1u);
}

TEST(GlowKernel, WeightsAndHalfWidthBitForBit) {
  struct Case {
    int radius, halfWidth;
    std::vector<uint32_t> weights;  // offsets 0..halfWidth
  };
  const Case cases[] = {
      {1, 2, {0x3ece2434, 0x3e7a0feb, 0x3d5f2f87}},
      {2, 5, {0x3e4d6104, 0x3e353f0e, 0x3df92326, 0x3d855a84, 0x3cde5c34, 0x3c10612b}},
      {5,
       14,
       {0x3da40267, 0x3da0c304, 0x3d976656, 0x3d88fdfe, 0x3d6e30c5, 0x3d46f415, 0x3d1fa9f4,
        0x3cf637db, 0x3cb66725, 0x3c81d438, 0x3c3191ef, 0x3be957fb, 0x3b934e5a, 0x3b32b0f7,
        0x3ad04399}},
      {16,
       15,
       {0x3d190604, 0x3d18b995, 0x3d17d52a, 0x3d165b6e, 0x3d1450c2, 0x3d11bb2b, 0x3d0ea233,
        0x3d0b0ec1, 0x3d070af3, 0x3d02a1ef, 0x3cfbbf55, 0x3cf1a177, 0x3ce70433, 0x3cdc01dc,
        0x3cd0b4b8, 0x3cc53697}},
  };
  for (const Case& c : cases) {
    const GlowKernel k = BuildGlowKernel(c.radius);
    ASSERT_EQ(k.HalfWidth, c.halfWidth) << c.radius;
    for (int i = 0; i <= c.halfWidth; ++i) {
      EXPECT_EQ(FloatBits(k.At(i)), c.weights[i]) << c.radius << " offset " << i;
      EXPECT_EQ(FloatBits(k.At(-i)), c.weights[i]) << c.radius << " offset " << -i;
    }
  }
}

TEST(GlowKernel, BlurredLinesBitForBit) {
  const std::vector<uint8_t> line = {255, 255, 255, 255, 255, 255, 0,  0,   0, 255,
                                     255, 255, 255, 255, 255, 255, 40, 200, 0, 255};
  struct Case {
    int radius;
    std::vector<uint8_t> expected;
  };
  const Case cases[] = {
      {1, {255, 255, 255, 255, 241, 179, 76,  28,  76,  179,
           241, 255, 255, 255, 243, 199, 141, 118, 127, 190}},
      {2, {255, 253, 246, 229, 200, 162, 128, 114, 128, 162,
           200, 227, 240, 235, 218, 194, 171, 161, 168, 189}},
      {5, {232, 225, 218, 210, 203, 197, 192, 189, 187, 187,
           189, 190, 193, 195, 197, 200, 202, 205, 209, 213}},
      {16, {229, 223, 221, 214, 213, 212, 211, 210, 210, 209,
            209, 209, 209, 209, 210, 210, 211, 212, 213, 214}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> l = line;
    BlurByteLine(l.data(), static_cast<int>(l.size()), BuildGlowKernel(c.radius));
    EXPECT_EQ(l, c.expected) << c.radius;
  }
}

// An 8-bit grey image as the glow cache: its row y, column x.
uint8_t& Grey(TBitmap& b, int x, int y) {
  return static_cast<uint8_t*>(b.ScanLine(y))[x];
}

TEST(GlowBlur, OnlyEightBitImagesBlurBothWays) {
  TBitmap grey;
  grey.SetPixelFormat(pf8bit);
  grey.SetSize(9, 9);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) Grey(grey, x, y) = 255;
  Grey(grey, 4, 4) = 0;
  BlurGray8(&grey, 1);
  EXPECT_LT(Grey(grey, 4, 4), 255);
  EXPECT_EQ(Grey(grey, 4, 3), Grey(grey, 3, 4));  // the same along rows and columns
  EXPECT_LT(Grey(grey, 4, 2), 255);
  EXPECT_EQ(Grey(grey, 4, 1), 255);  // beyond the half-width

  TBitmap argb;
  argb.SetPixelFormat(pf32bit);
  argb.SetSize(3, 3);
  ArgbView(&argb).At(1, 1) = 0;
  ArgbView(&argb).At(0, 1) = 0xFFFFFFFF;
  BlurGray8(&argb, 1);
  EXPECT_EQ(ArgbView(&argb).At(1, 1), 0u);
  EXPECT_EQ(ArgbView(&argb).At(0, 1), 0xFFFFFFFFu);
}

TEST(TextGlow, CacheOfTheRightSizeIsComposedAsItIs) {
  // The cache of a 20 x 10 rectangle at radius 2: 20 + 2 * 6 wide.
  const RECT rect{2, 3, 22, 13};
  const int radius = 2, margin = radius + 4;
  auto cache = std::make_unique<TBitmap>();
  cache->SetPixelFormat(pf8bit);
  cache->SetSize(32, 22);
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 32; ++x) Grey(*cache, x, y) = 255;
  Grey(*cache, 10, 8) = 0;
  Grey(*cache, 11, 8) = 128;
  Grey(*cache, 0, 0) = 100;  // lands outside the target, at (-3, -2)
  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(40, 30);
  const PixelView v = ArgbView(&target);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) v.At(x, y) = 0x80204060;
  TBitmap* c = cache.get();
  DrawTextGlow(&target, "not drawn: the cache stands", rect, 0, kGlowAllSides, radius, 0x0000FF, c);
  EXPECT_EQ(c, cache.get());
  // Cache (x, y) goes to (rect.left + 1 + x - margin, rect.top + 1 + y - margin).
  const int ox = rect.left + 1 - margin, oy = rect.top + 1 - margin;
  // v = 0: full coverage; a = 0x80 + (0x7F * 255 >> 8) = 0xFE; colour = red.
  EXPECT_EQ(v.At(ox + 10, oy + 8), 0xFEFE0000u);
  // v = 128, c = 127: a = 0x80 + (127 * 127 >> 8) = 0xBF; bytes (127 k + 128 d) >> 8.
  EXPECT_EQ(v.At(ox + 11, oy + 8), 0xBF8E2030u);
  EXPECT_EQ(v.At(ox + 12, oy + 8), 0x80204060u);
  EXPECT_EQ(v.At(0, 0), 0x80204060u);
}

TEST(TextGlow, NewCacheIsAGreyEightBitImageWithTheTextDark) {
  TBitmap target;
  target.SetPixelFormat(pf32bit);
  target.SetSize(120, 40);
  auto font = CrispFont(16);
  target.Canvas()->Font()->SetHandle(font.Detach());
  TBitmap* cache = nullptr;
  const RECT rect{10, 10, 110, 30};
  DrawTextGlow(&target, "Wide", rect, DT_SINGLELINE, kGlowAllSides, 3, 0x00FF00, cache);
  std::unique_ptr<TBitmap> own(cache);
  ASSERT_NE(cache, nullptr);
  EXPECT_EQ(cache->PixelFormat(), pf8bit);
  EXPECT_EQ(cache->HandleType(), bmDIB);
  EXPECT_EQ(cache->Width(), 100 + 2 * 7);
  EXPECT_EQ(cache->Height(), 20 + 2 * 7);
  RGBQUAD colours[256];
  {
    TMemoryDC dc(CreateCompatibleDC(nullptr));
    TSelectedObject sel(dc.Get(), cache->Handle());
    ASSERT_EQ(GetDIBColorTable(dc.Get(), 0, 256, colours), 256u);
  }
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(colours[i].rgbRed, i);
    EXPECT_EQ(colours[i].rgbBlue, i);
  }
  int dark = 0;
  for (int y = 0; y < cache->Height(); ++y)
    for (int x = 0; x < cache->Width(); ++x) dark += Grey(*cache, x, y) < 255;
  EXPECT_GT(dark, 0);
  EXPECT_EQ(Grey(*cache, 0, 0), 255);
}

TEST(TextOutput, CappedDrawTakesTheFirstCharacters) {
  // 100 lines of 60 characters: the cap ends exactly after line 91's break.
  std::string text;
  for (int i = 0; i < 100; ++i) {
    std::string line = "Line " + std::to_string(i);
    line.resize(59, '.');
    text += line + "\n";
  }
  ASSERT_EQ(text.size(), 6000u);
  TextRecorder rec;
  RECT r{0, 0, 400, 20000};
  DrawTextCapped(rec.Canvas.Handle(), text, r, DT_NOPREFIX);
  const auto drawn = rec.Finish();
  ASSERT_EQ(drawn.size(), 91u);
  EXPECT_EQ(drawn.back().Text.substr(0, 7), "Line 90");
}

TEST(TextOutput, ShortenedTextFitsOrVanishes) {
  TBitmap b;
  b.SetSize(10, 10);
  TCanvas* canvas = b.Canvas();
  auto font = CrispFont(14);
  canvas->Font()->SetHandle(font.Detach());
  const std::string text = "Shortened caption";
  const int full = CanvasTextWidth(canvas, text);
  const int dots = CanvasTextWidth(canvas, "...");
  std::string out;
  ShortenTextToWidth(canvas, text, 0, out);
  EXPECT_EQ(out, "");
  ShortenTextToWidth(canvas, text, full, out);
  EXPECT_EQ(out, text);
  ShortenTextToWidth(canvas, text, full - 1, out);
  ASSERT_GT(out.size(), 3u);
  EXPECT_EQ(out.substr(out.size() - 3), "...");
  EXPECT_LE(CanvasTextWidth(canvas, out), full - 1);
  EXPECT_GT(CanvasTextWidth(canvas, out.substr(0, out.size() - 3) + text[out.size() - 3] + "..."),
            full - 1);  // it kept as much as fits
  ShortenTextToWidth(canvas, text, dots, out);
  EXPECT_EQ(out, "");  // no lone "..."
}

TEST(TextOutput, MeasuredSizeOnOneLineOrWrapped) {
  auto font = CrispFont(12);
  const std::string text = "one two three four";
  SIZE line{}, wrapped{}, direct{};
  MeasureTextSize(font.Get(), text, DT_WORDBREAK, false, 0, line);
  {
    TWindowDC screen(nullptr);
    TSelectedObject sel(screen.Get(), font.Get());
    DCTextExtent(screen.Get(), text, direct);
  }
  EXPECT_EQ(line.cx, direct.cx);
  EXPECT_EQ(line.cy, direct.cy);
  MeasureTextSize(font.Get(), text, DT_WORDBREAK, true, line.cx / 2, wrapped);
  EXPECT_LE(wrapped.cx, line.cx / 2);
  EXPECT_GE(wrapped.cy, 2 * line.cy);
}

TEST(RotatedFont, SelectedForTheScopeThenDeletedAfterTheOldFontIsBack) {
  TMemoryDC dc(CreateCompatibleDC(nullptr));
  HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_FONT);
  TFont font;
  font.SetName("MS Sans Serif");
  font.SetStyle(fsBold | fsItalic);
  font.SetColor(TColor(0x123456));
  HFONT rotated = nullptr;
  {
    auto scope = SelectRotatedFont(dc.Get(), &font, -2700);
    rotated = scope.Font();
    ASSERT_NE(rotated, nullptr);
    EXPECT_EQ(scope.PreviousFont(), original);
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), rotated);
    EXPECT_EQ(GetTextColor(dc.Get()), COLORREF(0x123456));
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(rotated, sizeof lf, &lf), int(sizeof lf));
    EXPECT_EQ(lf.lfEscapement, -2700);
    EXPECT_EQ(lf.lfOrientation, -2700);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_FALSE(lf.lfUnderline);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_EQ(lf.lfHeight, font.Height());
  }
  EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), original);
  EXPECT_EQ(GetObjectType(rotated), 0u);  // deleted: no font leaks per paint
}

TEST(Fonts, EqualByStyleSizeColourAndName) {
  TFont a, b;
  EXPECT_TRUE(FontsEqual(&a, &b));
  struct Case {
    void (*change)(TFont&);
  };
  const Case cases[] = {
      {[](TFont& f) { f.SetStyle(fsBold); }},
      {[](TFont& f) { f.SetSize(f.Size() + 1); }},
      {[](TFont& f) { f.SetColor(clRed); }},
      {[](TFont& f) { f.SetName("MS SANS SERIF"); }},
  };
  for (const Case& c : cases) {
    TFont changed;
    c.change(changed);
    EXPECT_FALSE(FontsEqual(&a, &changed));
  }
  b.SetCharset(2);  // not compared
  EXPECT_TRUE(FontsEqual(&a, &b));
}

}  // namespace
