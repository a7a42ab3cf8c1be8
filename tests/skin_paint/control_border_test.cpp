// Control frames from a borders mask: the fitted borders, tiled and stretched
// edges, the centre, the state frame, the corner key pixels cut out of a
// window region, the masked mix and the border of a control's cache image.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_skin.h"
#include "test_images.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/control_border.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

constexpr uint32_t kUntouched = 0x11223344;

// The fixture's pixels name where they came from.
int FrameOf(uint32_t p) {
  return (p >> 16) & 0xFF;
}
int SrcX(uint32_t p) {
  return (p >> 8) & 0xFF;
}
int SrcY(uint32_t p) {
  return p & 0xFF;
}

struct Probe {
  int x, y;
  int srcXMin, srcXMax, srcYMin, srcYMax;  // srcXMin -1: the pixel stays untouched
  int frame;
};

struct PaintCase {
  const char* name;
  int w, h;
  int left, top, right, bottom;
  int paintMode;
  bool fill;
  int state;
  std::vector<Probe> probes;
};

TEST(MaskWithRegion, PiecesLandWhereTheBordersSay) {
  const std::vector<PaintCase> cases = {
      {"odd width: the far border loses one more",
       15,
       40,
       10,
       12,
       10,
       13,
       0,
       false,
       0,
       {{7, 5, 7, 7, 5, 5, 0}, {8, 5, 23, 23, 5, 5, 0}, {14, 5, 29, 29, 5, 5, 0}}},
      {"even width: both borders lose half the excess",
       16,
       40,
       10,
       12,
       10,
       13,
       0,
       false,
       0,
       {{7, 5, 7, 7, 5, 5, 0}, {8, 5, 22, 22, 5, 5, 0}, {15, 5, 29, 29, 5, 5, 0}}},
      {"tiled edges repeat every CW and CH; centre left alone",
       60,
       60,
       10,
       12,
       10,
       13,
       0,
       true,
       0,
       {{25, 5, 15, 15, 5, 5, 0},
        {49, 5, 19, 19, 5, 5, 0},
        {50, 5, 20, 20, 5, 5, 0},
        {5, 29, 5, 5, 14, 14, 0},
        {5, 46, 5, 5, 16, 16, 0},
        {5, 47, 5, 5, 27, 27, 0},
        {30, 30, -1, 0, 0, 0, 0}}},
      {"stretched edges spread one source strip",
       60,
       60,
       10,
       12,
       10,
       13,
       1,
       true,
       0,
       {{45, 5, 17, 19, 5, 5, 0}, {5, 45, 5, 5, 24, 26, 0}, {30, 30, -1, 0, 0, 0, 0}}},
      {"centre tiled with bit 4 and Fill",
       60,
       60,
       10,
       12,
       10,
       13,
       4,
       true,
       0,
       {{30, 30, 10, 10, 15, 15, 0}, {21, 13, 11, 11, 13, 13, 0}}},
      {"bit 4 without Fill leaves the centre",
       60,
       60,
       10,
       12,
       10,
       13,
       4,
       false,
       0,
       {{30, 30, -1, 0, 0, 0, 0}}},
      {"state beyond the frames paints the last one",
       60,
       60,
       3,
       3,
       3,
       3,
       0,
       false,
       4,
       {{5, 1, 5, 5, 1, 1, 2}, {58, 58, 28, 28, 38, 38, 2}}},
  };
  for (const PaintCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSkin skin;
    const int index = skin.AddBorderMask(c.paintMode, c.left, c.top, c.right, c.bottom);
    auto bmp = Argb(c.w, c.h, kUntouched);
    PaintMaskWithRegion(bmp.get(), nullptr, c.fill, skin.images[index], c.state);
    for (const Probe& p : c.probes) {
      SCOPED_TRACE("at " + std::to_string(p.x) + "," + std::to_string(p.y));
      const uint32_t px = GetArgbPixel(bmp.get(), p.x, p.y);
      if (p.srcXMin < 0) {
        EXPECT_EQ(px, kUntouched);
        continue;
      }
      EXPECT_EQ(px >> 24, 0xFFu);
      EXPECT_EQ(FrameOf(px), p.frame);
      EXPECT_GE(SrcX(px), p.srcXMin);
      EXPECT_LE(SrcX(px), p.srcXMax);
      EXPECT_GE(SrcY(px), p.srcYMin);
      EXPECT_LE(SrcY(px), p.srcYMax);
    }
  }
}

TEST(MaskWithRegion, OnlyCornerKeyPixelsLeaveTheRegion) {
  // Painting twice onto one region and painting onto a region smaller than
  // the bitmap must both leave exactly the corner holes out: a cut that
  // toggled pixels would give the first back or add the pixels above.
  struct RegionCase {
    const char* name;
    RECT region;
    int passes;
  } cases[] = {
      {"whole control, once", {0, 0, 60, 60}, 1},
      {"whole control, twice", {0, 0, 60, 60}, 2},
      {"region without the top rows", {0, 5, 60, 60}, 1},
  };
  for (const RegionCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSkin skin;
    const int index = skin.AddBorderMask(0, 10, 12, 10, 13);
    auto bmp = Argb(60, 60, kUntouched);
    TOwnedRegion region(CreateRectRgnIndirect(&c.region));
    for (int i = 0; i < c.passes; ++i) {
      PaintMaskWithRegion(bmp.get(), region.Get(), false, skin.images[index], 0);
    }
    const POINT holes[] = {{0, 0},  {1, 0},  {0, 1},  {59, 0},  {58, 0},  {59, 1},
                           {0, 59}, {1, 59}, {0, 58}, {59, 59}, {58, 59}, {59, 58}};
    for (const POINT& h : holes) {
      EXPECT_FALSE(PtInRegion(region.Get(), h.x, h.y)) << h.x << "," << h.y;
    }
    // Inside the region: corner pixels next to the holes, and edge pixels
    // that hold the key colour in the mask.
    const POINT kept[] = {{2, 5}, {1, 6}, {57, 5}, {15, 5}, {25, 5}, {0, 20}, {0, 35}, {2, 59}};
    for (const POINT& k : kept) {
      EXPECT_TRUE(PtInRegion(region.Get(), k.x, k.y)) << k.x << "," << k.y;
    }
    if (c.region.top == 0) {
      EXPECT_TRUE(PtInRegion(region.Get(), 2, 0));
      EXPECT_TRUE(PtInRegion(region.Get(), 15, 0));  // a key pixel of the top edge
    } else {
      EXPECT_FALSE(PtInRegion(region.Get(), 2, 0));
    }
    // Key pixels leave the bitmap as it was.
    EXPECT_EQ(GetArgbPixel(bmp.get(), 0, 0), kUntouched);
    EXPECT_EQ(GetArgbPixel(bmp.get(), 59, 59), kUntouched);
  }
}

TEST(FramePieceToRegion, BoundsAreInclusiveAndClipped) {
  FakeSkin skin;
  const TsMaskData& mask = skin.images[skin.AddBorderMask(0, 3, 3, 3, 3)];
  struct Case {
    const char* name;
    int bw, bh;
    int dl, dt, dr, db, sl, st, sr, sb;
    std::vector<POINT> written, untouched;
  } cases[] = {
      {"one pixel", 8, 8, 3, 2, 3, 2, 5, 6, 5, 6, {{3, 2}}, {{4, 2}, {3, 3}, {2, 2}, {3, 1}}},
      {"the piece stops at the bitmap's last row",
       20,
       10,
       4,
       8,
       6,
       30,
       4,
       4,
       6,
       14,
       {{4, 8}, {6, 9}},
       {{7, 9}, {3, 8}}},
      {"a bitmap one pixel wide takes nothing", 1, 8, 0, 0, 0, 3, 4, 4, 4, 7, {}, {{0, 0}}},
      {"a negative destination takes nothing", 8, 8, -1, 0, 3, 3, 4, 4, 8, 7, {}, {{0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto bmp = Argb(c.bw, c.bh, kUntouched);
    CopyFramePieceToRegion(c.dl, c.dt, c.dr, c.db, c.sl, c.st, c.sr, c.sb, bmp.get(), nullptr, mask,
                           false);
    for (const POINT& p : c.written) {
      const uint32_t px = GetArgbPixel(bmp.get(), p.x, p.y);
      EXPECT_EQ(SrcX(px), c.sl + p.x - c.dl) << p.x << "," << p.y;
      EXPECT_EQ(SrcY(px), c.st + p.y - c.dt) << p.x << "," << p.y;
    }
    for (const POINT& p : c.untouched) {
      EXPECT_EQ(GetArgbPixel(bmp.get(), p.x, p.y), kUntouched) << p.x << "," << p.y;
    }
  }
}

TEST(FramePieceToRegion, RunsToThePieceEndAreCutToo) {
  FakeSkin skin;
  const TsMaskData& mask = skin.images[skin.AddBorderMask(0, 3, 3, 3, 3)];
  auto bmp = Argb(10, 10, kUntouched);
  TOwnedRegion region(CreateRectRgn(0, 0, 10, 10));
  // Source row 0, columns 0..1: keys up to the piece's end, then the same
  // row of the top-right corner, whose keys end the piece on the right.
  CopyFramePieceToRegion(4, 3, 5, 3, 0, 0, 1, 0, bmp.get(), region.Get(), mask, true);
  CopyFramePieceToRegion(4, 5, 7, 5, 26, 0, 29, 0, bmp.get(), region.Get(), mask, true);
  EXPECT_FALSE(PtInRegion(region.Get(), 4, 3));
  EXPECT_FALSE(PtInRegion(region.Get(), 5, 3));
  EXPECT_TRUE(PtInRegion(region.Get(), 6, 3));
  EXPECT_TRUE(PtInRegion(region.Get(), 5, 5));
  EXPECT_FALSE(PtInRegion(region.Get(), 6, 5));
  EXPECT_FALSE(PtInRegion(region.Get(), 7, 5));
  EXPECT_TRUE(PtInRegion(region.Get(), 8, 5));
  EXPECT_EQ(SrcX(GetArgbPixel(bmp.get(), 5, 5)), 27);
}

TEST(FramePieceToRegion, MaskedMixKeepsTheDestinationAlpha) {
  // A 4 x 4 image whose lower half is the mask of the upper half.
  FakeSkin skin;
  TestImage image(4, 4);
  const uint32_t colour = 0xFF204060, weights = 0x00804000;
  for (int x = 0; x < 4; ++x) {
    for (int y = 0; y < 2; ++y) {
      image.at(x, y) = colour;
      image.at(x, y + 2) = weights;
    }
  }
  const TsMaskData& mask = skin.images[skin.AddImage(MakeRECT(0, 0, 4, 4), 1, 1, &image)];
  const uint32_t before = 0x40C0A080;
  auto bmp = Argb(4, 4, before);
  CopyFramePieceToRegion(0, 0, 3, 1, 0, 0, 3, 1, bmp.get(), nullptr, mask, false);
  uint32_t expected = before & 0xFF000000u;
  for (int n = 0; n < 24; n += 8) {
    const int d = (before >> n) & 0xFF, s = (colour >> n) & 0xFF, m = (weights >> n) & 0xFF;
    expected |= uint32_t(((d - s) * m + s * 256) >> 8) << n;
  }
  EXPECT_EQ(GetArgbPixel(bmp.get(), 1, 1), expected);
  EXPECT_EQ(GetArgbPixel(bmp.get(), 1, 2), before);
}

class BorderHost : public ControlBorderHost {
 public:
  BorderHost(const SkinSource* skin, int index, int w, int h)
      : skin_(skin), index_(index), cache_(Argb(w, h, kUntouched)) {}
  const SkinSource* Skin() const override { return skin_; }
  int BorderIndex() const override { return index_; }
  TColor BgColor(int) const override { return static_cast<TColor>(0x00336699); }
  uint16_t StateFlags() const override { return 0; }
  TBitmap* PrepareCacheBitmap() override { return cache_.get(); }
  TControl* Control() const override { return nullptr; }
  TBitmap* Cache() const { return cache_.get(); }

 private:
  const SkinSource* skin_;
  int index_;
  std::unique_ptr<TBitmap> cache_;
};

constexpr uint32_t kBandPixel = 0xFF996633;  // the host's colour, opaque

TEST(ControlBorder, BandsAndClientRect) {
  struct Case {
    const char* name;
    int w, borderWidth;
    TRect client;
    std::vector<POINT> band, noBand;
  } cases[] = {
      {"a band continues the mask's border",
       40,
       5,
       TRect(5, 5, 35, 25),
       {{3, 10}, {4, 10}, {10, 3}, {10, 4}, {35, 10}, {36, 10}, {10, 25}, {10, 26}},
       {{2, 10}, {5, 10}, {37, 10}, {10, 5}}},
      {"no band inside a border as wide as the mask's",
       40,
       2,
       TRect(2, 2, 38, 28),
       {},
       {{2, 10}, {3, 10}, {36, 10}}},
      {"without a border width only the mask counts", 40, 0, TRect(3, 3, 37, 27), {}, {{3, 10}}},
      {"a narrow control gets an empty client area", 8, 5, TRect(5, 5, 5, 25), {{3, 10}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeSkin skin;
    const int index = skin.AddBorderMask(0, 3, 3, 3, 3);
    BorderHost host(&skin, index, c.w, 30);
    TRect client(-7, -7, -7, -7);
    PaintControlBorder(host.Cache()->Canvas()->Handle(), TRect(0, 0, c.w, 30), c.borderWidth, host,
                       0, client);
    EXPECT_EQ(client, c.client);
    for (const POINT& p : c.band) {
      EXPECT_EQ(GetArgbPixel(host.Cache(), p.x, p.y), kBandPixel) << p.x << "," << p.y;
    }
    for (const POINT& p : c.noBand) {
      EXPECT_NE(GetArgbPixel(host.Cache(), p.x, p.y), kBandPixel) << p.x << "," << p.y;
    }
    // The mask's own border is painted from frame 0.
    const uint32_t edge = GetArgbPixel(host.Cache(), 1, 15);
    EXPECT_EQ(SrcX(edge), 1);
    EXPECT_EQ(FrameOf(edge), 0);
  }
}

TEST(ControlBorder, OnlyTheBorderWidthReachesAnotherDC) {
  for (int borderWidth : {0, 5}) {
    SCOPED_TRACE(borderWidth);
    FakeSkin skin;
    BorderHost host(&skin, skin.AddBorderMask(0, 3, 3, 3, 3), 40, 30);
    auto target = Argb(40, 30, 0);
    TRect client;
    PaintControlBorder(target->Canvas()->Handle(), TRect(0, 0, 40, 30), borderWidth, host, 0,
                       client);
    const uint32_t edge = GetArgbPixel(host.Cache(), 1, 15) & 0xFFFFFF;
    const uint32_t band = GetArgbPixel(target.get(), 4, 15) & 0xFFFFFF;
    if (borderWidth == 0) {
      EXPECT_EQ(GetArgbPixel(target.get(), 1, 15), 0u);
      EXPECT_EQ(band, 0u);
    } else {
      EXPECT_EQ(GetArgbPixel(target.get(), 1, 15) & 0xFFFFFF, edge);
      EXPECT_EQ(band, kBandPixel & 0xFFFFFF);
    }
    EXPECT_EQ(GetArgbPixel(target.get(), 20, 15), 0u);  // inside the frame
  }
}

TEST(ControlBorder, WithoutMaskOnlyBandsOnTheDC) {
  FakeSkin skin;
  BorderHost host(&skin, -1, 20, 20);
  auto target = Argb(20, 20, 0);
  TRect client(1, 2, 3, 4);
  PaintControlBorder(target->Canvas()->Handle(), TRect(0, 0, 20, 20), 3, host, 0, client);
  EXPECT_EQ(client, TRect(1, 2, 3, 4));
  EXPECT_EQ(GetArgbPixel(target.get(), 2, 10) & 0xFFFFFF, kBandPixel & 0xFFFFFF);
  EXPECT_EQ(GetArgbPixel(target.get(), 17, 10) & 0xFFFFFF, kBandPixel & 0xFFFFFF);
  EXPECT_EQ(GetArgbPixel(target.get(), 10, 3), 0u);
  EXPECT_EQ(GetArgbPixel(host.Cache(), 1, 1), kUntouched);
}

}  // namespace
