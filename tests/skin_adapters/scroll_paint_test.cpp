// The bar painters against a memory bitmap: which section and which state
// shows at each place of a bar, the arrow buttons' own looks, the inactive
// fade and the size box.
#include <memory>

#include "scroll_scene.h"
#include "skin/adapters/scroll_paint.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "widgets/rtl/object_model.h"

namespace {

using scroll_test::PixelOf;
using scroll_test::RgbOf;
using scroll_test::TSkinScene;

constexpr int kLength = 200, kThickness = 16, kBtn = 17, kThumbPos = 80, kThumbLen = 30;
constexpr uint32_t kBehind = 0x204060;  // what lies behind the bar: no section shows it

struct Painted {
  TOwnedObject<TBitmap> Behind;
  TOwnedObject<TBitmap> Bar;
};

TvlBarPicture Picture(TSkinScene& s, bool Vertical, TBitmap* Behind) {
  TvlBarPicture p;
  p.Manager = s.Manager;
  p.Vertical = Vertical;
  p.Btn = kBtn;
  p.ThumbPos = kThumbPos;
  p.ThumbLen = kThumbLen;
  p.Info = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, 0, 99, 10, 40, 0};
  p.Background = MakeBackgroundInfo(Behind, 0, 0);
  return p;
}

Painted Compose(const TvlBarPicture& P, int Length = kLength) {
  Painted out{OwnObject(NewArgbBitmap(300, 300)),
              OwnObject(P.Vertical ? NewArgbBitmap(kThickness, Length)
                                   : NewArgbBitmap(Length, kThickness))};
  FillRectArgb(out.Behind.get(), TRect(0, 0, 300, 300), static_cast<TColor>(0x604020), 0xFF);
  TvlBarPicture p = P;
  p.Background = MakeBackgroundInfo(out.Behind.get(), 0, 0);
  ComposeBar(p, out.Bar.get());
  return out;
}

// A point of a bar along its axis and across it.
uint32_t At(const Painted& P, bool Vertical, int Along, int Across) {
  return Vertical ? PixelOf(P.Bar.get(), Across, Along) : PixelOf(P.Bar.get(), Along, Across);
}

TEST(ScrollPaint, EachPlaceOfABarShowsItsSectionInItsState) {
  TSkinScene s;
  struct Case {
    const char* What;
    bool Vertical;
    int PressedPart, First, Second, Thumb;
    bool Active;
    int Along, Across;
    const char* Section;
    int State;
  };
  const int mid = kThumbPos + kThumbLen / 2;
  const Case cases[] = {
      {"track before the thumb", false, -1, 0, 0, 0, true, 40, 8, "SCROLLBAR1H", 0},
      {"track after the thumb", false, -1, 0, 0, 0, true, 150, 8, "SCROLLBAR2H", 0},
      {"first track pressed", false, SB_PAGEUP, 0, 0, 0, true, 40, 8, "SCROLLBAR1H", 2},
      {"second track pressed", false, SB_PAGEDOWN, 0, 0, 0, true, 150, 8, "SCROLLBAR2H", 2},
      {"left arrow", false, -1, 0, 0, 0, true, 2, 2, "SCROLLBTNLEFT", 0},
      {"left arrow hot", false, -1, 1, 0, 0, true, 2, 2, "SCROLLBTNLEFT", 1},
      {"left arrow pressed", false, SB_LINEUP, 2, 0, 0, true, 2, 2, "SCROLLBTNLEFT", 2},
      {"right arrow", false, -1, 0, 0, 0, true, kLength - 2, 2, "SCROLLBTNRIGHT", 0},
      {"right arrow pressed", false, -1, 0, 2, 0, true, kLength - 2, 2, "SCROLLBTNRIGHT", 2},
      // RESERVEDBOOLEAN and a 21-pixel image: the button reaches 4 pixels
      // further into the track, the track shows just before it.
      {"right arrow widened", false, -1, 0, 0, 0, true, kLength - 19, 8, "SCROLLBTNRIGHT", 0},
      {"track before the widened arrow", false, -1, 0, 0, 0, true, kLength - 22, 8, "SCROLLBAR2H",
       0},
      {"thumb", false, -1, 0, 0, 0, true, mid, 8, "SCROLLSLIDERH", 0},
      {"thumb hot", false, -1, 0, 0, 1, true, mid, 8, "SCROLLSLIDERH", 1},
      {"thumb dragged", false, -1, 0, 0, 2, true, mid, 8, "SCROLLSLIDERH", 2},
      {"inactive: no thumb, the second track from its centre", false, -1, 0, 0, 0, false, mid + 2,
       8, "SCROLLBAR2H", 0},
      {"vertical track before", true, -1, 0, 0, 0, true, 40, 8, "SCROLLBAR1V", 0},
      {"vertical track after, pressed", true, SB_PAGEDOWN, 0, 0, 0, true, 150, 8, "SCROLLBAR2V", 2},
      {"top arrow", true, -1, 0, 0, 0, true, 2, 2, "SCROLLBTNTOP", 0},
      {"bottom arrow hot", true, -1, 0, 1, 0, true, kLength - 3, 2, "SCROLLBTNBOTTOM", 1},
      {"vertical thumb, beside its glyph", true, -1, 0, 0, 0, true, kThumbPos + 2, 2,
       "SCROLLSLIDERV", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TvlBarPicture p = Picture(s, c.Vertical, nullptr);
    p.PressedPart = c.PressedPart;
    p.FirstArrowState = c.First;
    p.SecondArrowState = c.Second;
    p.ThumbState = c.Thumb;
    p.Active = c.Active;
    const Painted bar = Compose(p);
    EXPECT_EQ(At(bar, c.Vertical, c.Along, c.Across), s.Face(c.Section, c.State));
  }
}

// Glyph images sit centred in their arrow or thumb; arrows without one are
// drawn in their section's font colour of the state.
TEST(ScrollPaint, GlyphsAndDrawnArrows) {
  TSkinScene s;
  for (int state = 0; state < 3; ++state) {
    SCOPED_TRACE(state);
    TvlBarPicture p = Picture(s, true, nullptr);
    p.FirstArrowState = p.SecondArrowState = p.ThumbState = state;
    const Painted bar = Compose(p);
    // The 7 x 7 glyph of the bottom arrow centred in its 16 x 17 button.
    const int gx = (kThickness - 7) / 2, gy = kLength - kBtn + (kBtn - 7) / 2;
    EXPECT_EQ(PixelOf(bar.Bar.get(), gx + 1, gy + 1),
              s.SkinPixel("SCROLLBTNBOTTOM/GLYPHMASK frame " + std::to_string(state) + " face"));
    // The 6 x 6 glyph of the vertical thumb.
    const int tx = (kThickness - 6) / 2, ty = kThumbPos + (kThumbLen - 6) / 2;
    EXPECT_EQ(PixelOf(bar.Bar.get(), tx + 1, ty + 1),
              s.SkinPixel("SCROLLSLIDERV/GLYPHMASK frame " + std::to_string(state) + " face"));
    // The drawn top arrow: 16 pixels in the state's font colour.
    const uint32_t ink =
        RgbOf(s.Section("SCROLLBTNTOP").Props[static_cast<size_t>(state)].FontColor);
    int n = 0;
    for (int y = 0; y < kBtn; ++y)
      for (int x = 0; x < kThickness; ++x) n += PixelOf(bar.Bar.get(), x, y) == ink;
    EXPECT_EQ(n, 16);
  }
}

TEST(ScrollPaint, ABarTooShortForTwoArrowsShowsHalfArrowsAndNoThumb) {
  TSkinScene s;
  for (bool vertical : {false, true}) {
    SCOPED_TRACE(vertical);
    const Painted bar = Compose(Picture(s, vertical, nullptr), 20);
    EXPECT_EQ(At(bar, vertical, 2, 2), s.Face(vertical ? "SCROLLBTNTOP" : "SCROLLBTNLEFT", 0));
    EXPECT_EQ(At(bar, vertical, 17, 2), s.Face(vertical ? "SCROLLBTNBOTTOM" : "SCROLLBTNRIGHT", 0));
    const uint32_t thumb = s.Face(vertical ? "SCROLLSLIDERV" : "SCROLLSLIDERH", 0);
    for (int d = 0; d < 20; ++d)
      for (int a = 0; a < kThickness; ++a) ASSERT_NE(At(bar, vertical, d, a), thumb) << d;
  }
}

// Keep 100 of 255 of the bar, the rest from what lies behind it.
TEST(ScrollPaint, AnInactiveBarFadesIntoItsBackground) {
  TSkinScene s;
  const Painted bar = Compose(Picture(s, false, nullptr));
  auto before = OwnObject(NewArgbBitmap(kLength, kThickness));
  BitBlt(before->Canvas()->Handle(), 0, 0, kLength, kThickness, bar.Bar->Canvas()->Handle(), 0, 0,
         SRCCOPY);
  auto behind = OwnObject(NewArgbBitmap(kLength + 10, kThickness + 10));
  FillRectArgb(behind.get(), TRect(0, 0, kLength + 10, kThickness + 10),
               static_cast<TColor>(0x0000FF), 0xFF);  // red
  BackgroundRequest bg;
  bg.Kind = bgBitmap;
  bg.Bitmap = behind.get();
  FadeBar(bar.Bar.get(), bg, TPoint(5, 5));
  for (int x : {2, 40, 95, 150, kLength - 1}) {
    SCOPED_TRACE(x);
    const uint32_t was = PixelOf(before.get(), x, 8), red = 0xFF0000;
    uint32_t want = 0;
    for (int n = 0; n < 24; n += 8)
      want |= ((((red >> n) & 0xFF) * 155 + ((was >> n) & 0xFF) * 100) >> 8) << n;
    EXPECT_TRUE(Near(PixelOf(bar.Bar.get(), x, 8), want, 2))
        << std::hex << PixelOf(bar.Bar.get(), x, 8) << " " << want;
  }
  // A colour behind: the bar moves toward it.
  const Painted other = Compose(Picture(s, false, nullptr));
  BackgroundRequest colour;
  colour.Kind = bgColor;
  colour.Color = static_cast<TColor>(0x0000FF);
  FadeBar(other.Bar.get(), colour, TPoint(0, 0));
  const uint32_t was = s.Face("SCROLLBAR1H", 0), now = PixelOf(other.Bar.get(), 40, 8);
  EXPECT_GT(now >> 16, was >> 16);
  EXPECT_NE(now, was);
}

TEST(ScrollPaint, SizeBoxFillAndGrip) {
  TSkinScene s;
  const uint32_t fill = 0x3366AA;
  const TColor fillColor = static_cast<TColor>(0xAA6633);
  for (bool grip : {false, true}) {
    SCOPED_TRACE(grip);
    auto box = OwnObject(NewArgbBitmap(16, 16));
    PaintSizeBox(s.Manager, box.get(), fillColor, nullptr, TPoint(), grip);
    EXPECT_EQ(PixelOf(box.get(), 0, 0), fill);
    EXPECT_EQ(PixelOf(box.get(), 16 - 9 + 2, 16 - 9 + 2),
              grip ? s.SkinPixel("GLOBALINFO/GRIPIMAGE frame 0 face") : fill);
  }
  // A bitmap behind the box replaces the fill.
  auto behind = OwnObject(NewArgbBitmap(40, 40));
  FillRectArgb(behind.get(), TRect(0, 0, 40, 40), static_cast<TColor>(0x00FF00), 0xFF);
  auto box = OwnObject(NewArgbBitmap(16, 16));
  PaintSizeBox(s.Manager, box.get(), fillColor, behind.get(), TPoint(10, 10), false);
  EXPECT_EQ(PixelOf(box.get(), 3, 3), 0x00FF00u);
}

// A fully transparent first track shows exactly what lies behind it; the
// second keeps its face.
TEST(ScrollPaint, AClearTrackShowsTheBackground) {
  TSkinScene s("scroll-track-clear");
  const Painted bar = Compose(Picture(s, false, nullptr));
  EXPECT_EQ(PixelOf(bar.Bar.get(), 40, 8), kBehind);
  EXPECT_EQ(PixelOf(bar.Bar.get(), 150, 8), s.Face("SCROLLBAR2H", 0));
}

}  // namespace
