// Button glyphs from multi-frame strips: which frame a state shows, how its
// key colour is left out, the faded disabled look, and the mirror below.
#include <gtest/gtest.h>

#include <vector>

#include "fake_skin.h"
#include "skin/foundation/glyph_drawing.h"
#include "test_images.h"

namespace {

// Frames 4 x 9. Every colour is one of the 16 standard colours, so a strip
// turned into a 4-bit picture keeps them exactly. Pixel words, red in byte 2.
constexpr int kFW = 4;
constexpr int kFH = 9;
constexpr uint32_t kBody[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFF00};
constexpr uint32_t kKey[4] = {0x00008080, 0x00808000, 0x00000080, 0x00800000};
constexpr uint32_t kBg = 0xFF405060;

// Frame f: its body colour, its own key at the bottom-left corner and once
// inside, frame 0's key once (a painter taking the wrong frame's key leaves
// it out) and clFuchsia once (only the faded look leaves that out).
uint32_t FramePixel(int f, int x, int y) {
  if ((x == 0 && y == kFH - 1) || (x == 1 && y == 1)) return kKey[f];
  if (x == 2 && y == 1 && f != 0) return kKey[0];
  if (x == 3 && y == 1) return kKeyPixel;
  return kBody[f];
}

std::unique_ptr<TBitmap> Strip(int frames, TPixelFormat format) {
  auto strip = Argb(kFW * frames, kFH, 0);
  const PixelView v = ArgbView(strip.get());
  for (int f = 0; f < frames; ++f)
    for (int y = 0; y < kFH; ++y)
      for (int x = 0; x < kFW; ++x) v.At(f * kFW + x, y) = FramePixel(f, x, y);
  strip->SetPixelFormat(format);
  return strip;
}

// d := (s * (255 - keep) + d * keep) shr 8 on the colour bytes.
uint32_t Faded(uint32_t d, uint32_t s, int keep) {
  uint32_t r = d & 0xFF000000u;
  for (int n = 0; n < 3; ++n)
    r |= ((ByteOf(s, n) * (255 - keep) + ByteOf(d, n) * keep) >> 8) << (8 * n);
  return r;
}
// d := ((s - d) * w + d * 256) shr 8 on the colour bytes.
uint32_t Mirrored(uint32_t d, uint32_t s, int w) {
  uint32_t r = d & 0xFF000000u;
  for (int n = 0; n < 3; ++n) {
    const int sb = ByteOf(s, n), db = ByteOf(d, n);
    r |= uint32_t(((sb - db) * w + db * 256) >> 8) << (8 * n);
  }
  return r;
}

struct FrameCase {
  int state;
  int down;
  int numGlyphs;
  bool enabled;
  GlyphFrameOrder order;
  TPixelFormat format;
  int frame;    // -1: nothing drawn
  bool normal;  // drawn as the normal state, so the blend level stays
};

constexpr auto kLib = GlyphFrameOrder::Library;
constexpr auto kStd = GlyphFrameOrder::Standard;

const FrameCase kFrameCases[] = {
    {0, 0, 4, true, kLib, pf24bit, 0, true},
    {0, 1, 4, true, kLib, pf24bit, 0, true},  // Down only picks among pressed frames
    {1, 0, 4, true, kLib, pf24bit, 1, false},
    {1, 0, 4, true, kStd, pf24bit, 0, false},
    {1, 0, 4, true, kLib, pf4bit, 0, false},
    {2, 0, 4, true, kLib, pf24bit, 2, false},
    {2, 1, 4, true, kLib, pf24bit, 3, false},
    {2, 1, 4, true, kStd, pf24bit, 3, false},
    {2, 0, 3, true, kLib, pf4bit, 2, false},
    // The pressed frame is missing: the hot one, or the normal one.
    {2, 1, 3, true, kLib, pf24bit, 1, false},
    {2, 1, 3, true, kStd, pf24bit, 0, false},
    {2, 1, 3, true, kLib, pf4bit, 0, false},
    {2, 0, 2, true, kLib, pf24bit, 1, false},
    {2, 0, 2, true, kStd, pf24bit, 0, false},
    {3, 0, 3, true, kLib, pf24bit, 2, false},
    {3, 1, 4, true, kLib, pf24bit, 2, false},
    {3, 0, 2, true, kLib, pf24bit, 0, false},
    // One frame serves every state as the normal one.
    {1, 0, 1, true, kLib, pf24bit, 0, true},
    {2, 1, 1, true, kLib, pf24bit, 0, true},
    {4, 0, 4, true, kLib, pf24bit, -1, false},
    // Disabled: frame 0, faded only in the normal state.
    {0, 0, 4, false, kLib, pf24bit, 0, true},
    {0, 0, 2, false, kLib, pf4bit, 0, true},
    {1, 0, 4, false, kLib, pf24bit, 0, false},
    {2, 1, 4, false, kLib, pf24bit, 0, false},
    {4, 0, 4, false, kLib, pf24bit, 0, false},
    {1, 0, 1, false, kLib, pf24bit, 0, true},
};

TEST(GlyphDrawing, EachStateShowsItsFrameWithoutKeyPixels) {
  const TRect rect(3, 4, 3 + kFW, 4 + kFH);
  for (const FrameCase& c : kFrameCases) {
    for (int blend : {0, 60}) {
      for (bool reflected : {false, true}) {
        SCOPED_TRACE(testing::Message()
                     << "state " << c.state << " down " << c.down << " frames " << c.numGlyphs
                     << " enabled " << c.enabled << " library " << (c.order == kLib) << " 4-bit "
                     << (c.format == pf4bit) << " blend " << blend << " reflected " << reflected);
        auto strip = Strip(c.numGlyphs, c.format);
        auto dst = Argb(12, 20, kBg);
        DrawGlyphForState(strip.get(), dst.get(), rect, c.numGlyphs, c.enabled, c.state,
                          uint8_t(blend), c.down, reflected, c.order);
        EXPECT_EQ(strip->PixelFormat(), c.format);

        const bool faded = !c.enabled && c.normal && blend > 0;
        const int top = rect.Top - (reflected ? kFH / 8 : 0);
        // Two thirds of the frame, the first mirror row at full ramp and level:
        // (100 - transparency) * (255 * 255 div 512) div 100.
        const int mirrorTop = top + kFH;
        const int mirrorRows = kFH / 3 * 2;
        const int firstWeight = (100 - (c.normal ? blend : 0)) * 127 / 100;
        const PixelView v = ArgbView(dst.get());
        for (int y = 0; y < v.Height; ++y) {
          for (int x = 0; x < v.Width; ++x) {
            const int fx = x - rect.Left, fy = y - top;
            const bool inColumns = c.frame >= 0 && fx >= 0 && fx < kFW;
            uint32_t want = kBg;
            if (inColumns && fy >= 0 && fy < kFH) {
              const uint32_t s = FramePixel(c.frame, fx, fy);
              if (faded) {
                if (s != kKeyPixel) want = Faded(kBg, s, blend);
              } else if (s != kKey[c.frame]) {
                want = s;  // the converted strip's alpha 0 comes along
              }
            } else if (inColumns && reflected && y >= mirrorTop && y < mirrorTop + mirrorRows) {
              if (y > mirrorTop) continue;  // the fade has its own tests
              // The frame's bottom row: its key, then its body.
              if (fx > 0) want = Mirrored(kBg, kBody[c.frame], firstWeight);
            }
            ASSERT_EQ(v.At(x, y), want) << "at " << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(GlyphDrawing, ThirtyTwoBitStripCornerIsNoKey) {
  // Read as a colour the corner has no alpha byte, so it matches no pixel of
  // an opaque 32-bit strip: every pixel is copied with its alpha.
  auto strip = Argb(2 * kFW, kFH, 0xFF00FF00);
  ArgbView(strip.get()).At(kFW, kFH - 1) = 0xFF0000FF;
  auto dst = Argb(kFW, kFH, kBg);
  DrawGlyphForState(strip.get(), dst.get(), TRect(0, 0, kFW, kFH), 2, true, kGlyphHot, 0, 0, false,
                    GlyphFrameOrder::Library);
  const PixelView v = ArgbView(dst.get());
  EXPECT_EQ(v.At(0, kFH - 1), 0xFF0000FFu);
  EXPECT_EQ(v.At(1, 1), 0xFF00FF00u);
}

TEST(GlyphDrawing, StripTooNarrowOrWithoutFramesDrawsNothing) {
  auto strip = Strip(1, pf24bit);
  for (int frames : {0, kFW + 1}) {
    auto dst = Argb(kFW, kFH, kBg);
    DrawGlyphForState(strip.get(), dst.get(), TRect(0, 0, kFW, kFH), frames, true, kGlyphNormal, 0,
                      0, false, GlyphFrameOrder::Library);
    EXPECT_EQ(ArgbView(dst.get()).At(1, 3), kBg) << frames;
  }
}

GlyphFrameOrder AskStandard() {
  return GlyphFrameOrder::Standard;
}
GlyphFrameOrder AskLibrary() {
  return GlyphFrameOrder::Library;
}

TEST(GlyphDrawing, FrameOrderComesFromTheInstalledQueryElseFromADefaultSkin) {
  auto hotFrame = [] {
    auto strip = Strip(4, pf24bit);
    auto dst = Argb(kFW, kFH, kBg);
    DrawGlyphForState(strip.get(), dst.get(), TRect(0, 0, kFW, kFH), 4, true, kGlyphHot, 0, 0,
                      false);
    const uint32_t body = ArgbView(dst.get()).At(2, 3);
    return body == kBody[1] ? 1 : body == kBody[0] ? 0 : -1;
  };
  ASSERT_EQ(DefaultSkinSource(), nullptr);
  EXPECT_EQ(hotFrame(), 0);
  {
    FakeSkin skin;
    SetDefaultSkinSource(&skin);
    EXPECT_EQ(hotFrame(), 1);
    SetGlyphFrameOrderQuery(AskStandard);
    EXPECT_EQ(hotFrame(), 0);
    SetGlyphFrameOrderQuery(nullptr);
    EXPECT_EQ(hotFrame(), 1);
  }  // the skin takes itself out of the default place
  SetGlyphFrameOrderQuery(AskLibrary);
  EXPECT_EQ(hotFrame(), 1);
  SetGlyphFrameOrderQuery(nullptr);
  EXPECT_EQ(hotFrame(), 0);
}

// ---- The fading mirror

struct FadeCase {
  int sourceRows;
  int room;  // destination rows from the mirror's top
  int transparency;
  std::vector<int> weights;  // one per mirror row; none when nothing is drawn
};

// Weight of row r of n: (100 - t) * (ramp * level div 512) div 100, the ramp
// (n - 1 - r) * 255 div (n - 1), the level 255 less 255 div n per row.
const FadeCase kFadeCases[] = {
    {12, 20, 0, {127, 95, 68, 45, 27, 14, 4, 0}},
    {12, 20, 50, {63, 47, 34, 22, 13, 7, 2, 0}},
    {13, 20, 0, {127, 95, 68, 45, 27, 14, 4, 0}},  // rows div 3, times 2
    {12, 5, 0, {127, 76, 37, 12, 0}},              // cut short by the destination
    {3, 20, 0, {127, 0}},
    {12, 1, 0, {}},
    {2, 20, 0, {}},
};

TEST(GlyphDrawing, MirrorRowsFadeFromItsBottomRowDown) {
  constexpr uint32_t kWhite = 0x00FFFFFF, kMark = 0x00123456;
  for (const FadeCase& c : kFadeCases) {
    SCOPED_TRACE(testing::Message()
                 << c.sourceRows << " rows, room " << c.room << ", " << c.transparency << "%");
    // Column 0 white; column 1 white too except the key two rows above the
    // bottom, which must leave mirror row 2 alone.
    TestImage src(2, c.sourceRows, kWhite);
    src.at(1, c.sourceRows - 3 < 0 ? 0 : c.sourceRows - 3) = kMark;
    TestImage dst(2, 2 + c.room, 0x80000000);
    DrawFadingReflection(dst.View(), src.View(), TPoint(0, 2), TRect(0, 0, 1, c.sourceRows - 1),
                         0x00563412 /* kMark as a colour */, c.transparency);
    for (int y = 0; y < dst.h(); ++y) {
      const int r = y - 2;
      const bool mirrored = r >= 0 && r < int(c.weights.size());
      const uint32_t want = mirrored ? Mirrored(0x80000000, kWhite, c.weights[r]) : 0x80000000;
      EXPECT_EQ(dst.at(0, y), want) << "row " << y;
      EXPECT_EQ(dst.at(1, y), mirrored && r != 2 ? want : 0x80000000u) << "row " << y;
    }
  }
}

TEST(GlyphDrawing, MirrorClipsSourceAndDestination) {
  // Source columns are told apart by their blue byte; the mirror's first row
  // shows them at weight 127.
  TestImage src(4, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 4; ++x) src.at(x, y) = 0x00FF0000u | uint32_t(0x40 * x);
  auto firstRow = [&](TPoint at, TRect rect) {
    TestImage dst(6, 8, 0);
    DrawFadingReflection(dst.View(), src.View(), at, rect, clNone, 0);
    std::vector<uint32_t> row;
    for (int x = 0; x < 6; ++x) row.push_back(dst.at(x, at.Y < 0 ? 0 : at.Y) & 0xFF);
    return row;
  };
  auto w = [](uint32_t blue) { return (blue * 127) >> 8; };
  // A rectangle starting left of the source moves the mirror right; one
  // reaching past the source stops at its last column.
  EXPECT_EQ(firstRow({0, 1}, TRect(-2, 0, 9, 5)),
            (std::vector<uint32_t>{0, 0, w(0), w(0x40), w(0x80), w(0xC0)}));
  // Columns left of the destination are skipped with their source.
  EXPECT_EQ(firstRow({-1, 1}, TRect(0, 0, 3, 5)),
            (std::vector<uint32_t>{w(0x40), w(0x80), w(0xC0), 0, 0, 0}));
  // A rectangle starting above the source moves the mirror down by as much.
  TestImage dst(6, 8, 0);
  DrawFadingReflection(dst.View(), src.View(), {0, 0}, TRect(0, -3, 0, 5), clNone, 0);
  EXPECT_EQ(dst.at(0, 2), 0u);
  EXPECT_EQ(dst.at(0, 3) >> 16 & 0xFF, (0xFFu * 127) >> 8);
}

}  // namespace
