// The shared drawing helpers: key-colour regions and corner holes, arrows,
// the box blur bit for bit, GDI fills, copies and frames, the soft panel and
// PNG files into 32-bit bitmaps.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "fake_skin.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/dib_surface.h"
#include "skin/foundation/draw_helpers.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/graphics/graphics.h"
#include "widgets/rtl/streams.h"

namespace {

bool SameRects(const TRects& a, const std::vector<RECT>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (!EqualRect(&a[i], &b[i])) return false;
  return true;
}

std::string Describe(const TRects& rects) {
  std::string s;
  for (const RECT& r : rects)
    s += "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
  return s;
}

// Rows of a picture: '#' where the pixel equals `ink`, '.' where it is 0.
std::vector<std::string> Picture(const PixelView& v, uint32_t ink) {
  std::vector<std::string> rows;
  for (int y = 0; y < v.Height; ++y) {
    std::string row;
    for (int x = 0; x < v.Width; ++x) row += v.At(x, y) == ink ? '#' : v.At(x, y) ? '?' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(KeyRegions, OnlyTheWholeKeyValueIsAHole) {
  TestImage img(4, 3, 0xFF000000);
  img.at(0, 0) = img.at(1, 0) = kKeyPixel;
  img.at(2, 0) = 0xFFFF00FF;  // opaque fuchsia is picture
  for (int x = 0; x < 4; ++x) img.at(x, 1) = kKeyPixel;
  TRects runs;
  CollectKeyColorRuns(runs, img.View(), kFuchsia);
  EXPECT_TRUE(SameRects(runs, {{0, 0, 2, 1}, {0, 1, 4, 2}})) << Describe(runs);

  TOwnedRegion region = RegionFromBitmap(img.View(), kFuchsia);
  const struct {
    int x, y;
    bool inside;
  } points[] = {{0, 0, false}, {1, 0, false}, {2, 0, true}, {3, 0, true},
                {1, 1, false}, {3, 2, true},  {4, 2, false}};
  for (const auto& p : points) EXPECT_EQ(PtInRegion(region.Get(), p.x, p.y) != 0, p.inside);

  struct Case {
    uint32_t fill;
    int kind;
  };
  for (const Case& c : {Case{0, SIMPLEREGION}, Case{kKeyPixel, NULLREGION}}) {
    TestImage whole(5, 4, c.fill);
    TOwnedRegion r = RegionFromBitmap(whole.View(), kFuchsia);
    RECT box;
    EXPECT_EQ(GetRgnBox(r.Get(), &box), c.kind);
    const RECT full{0, 0, 5, 4};
    if (c.kind == SIMPLEREGION) {
      EXPECT_TRUE(EqualRect(&box, &full));
    }
  }
}

TEST(KeyRegions, CornerHolesOfABorderImage) {
  // Two frames of 6 x 6; the corners of frame 0 carry the holes.
  FakeSkin skin(12, 6);
  TestImage& m = skin.Master();
  m.Fill(0xFF102030);
  m.at(0, 0) = m.at(1, 0) = kKeyPixel;  // top-left, row 0
  m.at(3, 0) = kKeyPixel;               // between the corners: ignored
  m.at(5, 0) = kKeyPixel;               // top-right, row 0
  m.at(0, 1) = kKeyPixel;               // top-left, row 1
  m.at(1, 1) = 0xFFFF00FF;              // not a hole
  m.at(4, 5) = m.at(5, 5) = kKeyPixel;  // bottom-right
  m.at(6, 0) = m.at(7, 0) = kKeyPixel;  // frame 1: ignored
  const int index = skin.AddImage({0, 0, 12, 6}, 2, 0);
  TsMaskData& mask = skin.images[index];
  mask.BorderLeft = mask.BorderRight = 2;
  mask.BorderTop = 2;
  mask.BorderBottom = 1;

  TRects rects;
  AddTransparentCornerRects(rects, 20, mask, 7, false);
  EXPECT_TRUE(SameRects(rects, {{0, 7, 2, 8}, {19, 7, 20, 8}, {0, 8, 1, 9}})) << Describe(rects);
  rects.clear();
  AddTransparentCornerRects(rects, 20, mask, 30, true);
  EXPECT_TRUE(SameRects(rects, {{18, 30, 20, 31}})) << Describe(rects);

  TsMaskData tooTall = mask;
  tooTall.BorderTop = 7;
  TsMaskData noOwner = mask;
  noOwner.Owner = nullptr;
  for (const TsMaskData* bad : {&tooTall, &noOwner}) {
    rects.clear();
    AddTransparentCornerRects(rects, 20, *bad, 0, false);
    EXPECT_TRUE(rects.empty());
  }
}

TEST(Arrows, ShapesAndTheLastColumnAndRow) {
  const uint32_t ink = 0x80332211;  // the colour 0x80112233 with red and blue exchanged
  struct Case {
    RECT rect;
    int direction;
    std::vector<std::string> expected;
  };
  const std::vector<std::string> none(8, "..........");
  const std::string e = "..........";
  const Case cases[] = {
      {{0, 0, 10, 8},
       kArrowUp,
       {e, e, "....#.....", "...###....", "..#####...", ".#######..", e, e}},
      {{0, 0, 10, 8},
       kArrowDown,
       {e, e, ".#######..", "..#####...", "...###....", "....#.....", e, e}},
      {{0, 0, 10, 8},
       kArrowLeft,
       {"......#...", ".....##...", "....###...", "...####...", "....###...", ".....##...",
        "......#...", e}},
      {{0, 0, 10, 8},
       kArrowRight,
       {"...#......", "...##.....", "...###....", "...####...", "...###....", "...##.....",
        "...#......", e}},
      // Ending on the last column and on the last row still draws.
      {{3, 4, 10, 8},
       kArrowUp,
       {e, e, e, e, "......#...", ".....###..", "....#####.", "...#######"}},
      // One more pixel does not fit, nor does a negative start.
      {{4, 4, 11, 8}, kArrowUp, none},
      {{-3, 0, 4, 8}, kArrowUp, none},
  };
  for (const Case& c : cases) {
    TestImage img(10, 8, 0);
    DrawArrowArgb(img.View(), 0x80112233, c.rect, c.direction);
    EXPECT_EQ(Picture(img.View(), ink), c.expected) << c.rect.left << "," << c.direction;
  }
}

TEST(BoxBlur, ThreePixelAverageWithBorrowedColourBitForBit) {
  struct Case {
    int w, h;
    std::vector<uint32_t> in, out;
  };
  const Case cases[] = {
      // One opaque pixel leaves a faint 3 x 3 patch; the sides after it borrow
      // a shared, divided colour and come out darker.
      {3,
       3,
       {0, 0, 0, 0, 0xFF3060C0, 0, 0, 0, 0},
       {0x1D3060C0, 0x1D3060C0, 0x1D1E3F7E, 0x1D3060C0, 0x1D3060C0, 0x1D1E3F7E, 0x1D204080,
        0x1D204080, 0x1D142954}},
      // A weaker pixel's alpha sums stay at 16 or less: everything clears.
      {3, 3, {0, 0, 0, 0, 0x643060C0, 0, 0, 0, 0}, std::vector<uint32_t>(9, 0)},
      {5,
       1,
       {0xFF0000FF, 0x0A00FF00, 0xFFFF0000, 0, 0x28FFFFFF},
       {0x1D0000FF, 0x3AA80054, 0x1DFF0000, 0x22A85454, 0}},
      {4,
       2,
       {0xFF102030, 0x11FFFFFF, 0x33405060, 0xFF000000, 0x00FF00FF, 0xC0808080, 0x10FFFFFF,
        0xFFFFFFFF},
       {0x35687078, 0x3B747A82, 0x588C9094, 0x40636569, 0x3573777B, 0x3B797C80, 0x58AFB1B3,
        0x40B1B2B4}},
  };
  for (const Case& c : cases) {
    TestImage img(c.w, c.h);
    for (int i = 0; i < c.w * c.h; ++i) img.at(i % c.w, i / c.w) = c.in[i];
    BoxBlurArgb(img.View());
    for (int i = 0; i < c.w * c.h; ++i)
      EXPECT_EQ(img.at(i % c.w, i / c.w), c.out[i]) << c.w << "x" << c.h << " pixel " << i;
  }
}

// A DIB whose pixel (x, y) is 0x00XXYY4D, distinct everywhere.
void FillCoordinates(DibSurface& s) {
  for (int y = 0; y < s.View().Height; ++y)
    for (int x = 0; x < s.View().Width; ++x) s.View().At(x, y) = (x << 16) | (y << 8) | 0x4D;
}

TEST(GdiHelpers, BorderFrameCopiesTheStripsFromTheSamePlace) {
  DibSurface src(40, 30), dst(60, 40);
  FillCoordinates(src);
  BlitBorderFrame(dst.DC(), 10, 5, 20, 15, src.DC(), 3, 2, 4);
  GdiFlush();
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      const bool inFrame = x >= 10 && x < 30 && y >= 5 && y < 20;
      const bool inside = x >= 14 && x < 26 && y >= 9 && y < 16;
      const uint32_t want = inFrame && !inside ? src.View().At(3 + x - 10, 2 + y - 5) : 0;
      ASSERT_EQ(dst.View().At(x, y) & 0xFFFFFF, want) << x << "," << y;
    }
}

TEST(GdiHelpers, FillsAndBandsRestoreTheDC) {
  DibSurface s(20, 16);
  HGDIOBJ brush = GetCurrentObject(s.DC(), OBJ_BRUSH);
  PaintSolidRect(s.DC(), {0, 0, 20, 16}, 0x0000FF);
  PaintBorderBands(s.DC(), {2, 2, 18, 14}, 1, 2, 3, 4, 0x00FF00);
  GdiFlush();
  EXPECT_EQ(GetCurrentObject(s.DC(), OBJ_BRUSH), brush);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool inRect = x >= 2 && x < 18 && y >= 2 && y < 14;
      const bool band = inRect && (y < 4 || x < 3 || y >= 10 || x >= 15);
      ASSERT_EQ(s.View().At(x, y) & 0xFFFFFF, band ? 0x00FF00u : 0xFF0000u) << x << "," << y;
    }
}

TEST(GdiHelpers, BevelFrameInsetsTheRectangle) {
  DibSurface s(10, 10);
  RECT r{0, 0, 10, 10};
  int width = 2;
  DrawBevelFrame(s.DC(), r, 0x0000FF, RGB(0, 255, 0), width);
  GdiFlush();
  const RECT inside{2, 2, 8, 8};
  EXPECT_TRUE(EqualRect(&r, &inside));
  EXPECT_EQ(width, 0);
  const struct {
    int x, y;
    uint32_t pixel;
  } pixels[] = {{0, 0, 0xFF0000}, {8, 0, 0xFF0000}, {0, 8, 0xFF0000},
                {9, 0, 0x00FF00}, {0, 9, 0x00FF00}, {9, 9, 0x00FF00},
                {1, 1, 0xFF0000}, {8, 8, 0x00FF00}, {2, 2, 0}};
  for (const auto& p : pixels) EXPECT_EQ(s.View().At(p.x, p.y) & 0xFFFFFF, p.pixel);
}

TEST(GdiHelpers, DottedFrame) {
  struct Case {
    uint32_t shadow, color;
    std::vector<std::string> expected;  // 'r' colour, 'b' shadow
  };
  const Case cases[] = {
      {clNone, clNone, std::vector<std::string>(6, "........")},
      {0xFF0000,
       0x0000FF,
       {".brbrbrb", "b......b", "r......r", "b......b", "r......r", "bbrbrbrb"}},
  };
  for (const Case& c : cases) {
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(8, 6);
    b.Canvas()->Brush()->SetColor(clBlack);
    b.Canvas()->FillRect(TRect(0, 0, 8, 6));
    PaintDottedFrame(b.Canvas(), {0, 0, 8, 6}, c.shadow, c.color);
    std::vector<std::string> got;
    for (int y = 0; y < 6; ++y) {
      std::string row;
      for (int x = 0; x < 8; ++x) {
        const uint32_t p = ArgbView(&b).At(x, y) & 0xFFFFFF;
        row += p == 0xFF0000 ? 'r' : p == 0x0000FF ? 'b' : p == 0 ? '.' : '?';
      }
      got.push_back(row);
    }
    EXPECT_EQ(got, c.expected);
  }
}

TBitmap* Argb(int w, int h) {
  auto* b = new TBitmap;
  b->SetPixelFormat(pf32bit);
  b->SetSize(w, h);
  return b;
}

TEST(GdiHelpers, NineSliceTilesEdgesAndCentre) {
  std::unique_ptr<TBitmap> src(Argb(9, 9)), dst(Argb(15, 15));
  const PixelView s = ArgbView(src.get()), d = ArgbView(dst.get());
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x) s.At(x, y) = (x << 16) | (y << 8) | 0x4D;
  auto map = [](int v) { return v < 3 ? v : v >= 12 ? v - 6 : 3 + (v - 3) % 3; };
  struct Case {
    RECT limits;
    bool fill;
  };
  for (const Case& c : {Case{{3, 3, 3, 3}, true}, Case{{1, 1, 1, 1}, false}}) {
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 15; ++x) d.At(x, y) = 0;
    BlitNineSlice(dst.get(), src.get(), {0, 0, 15, 15}, {0, 0, 9, 9}, {3, 3, 3, 3}, c.limits,
                  {0, 0, 0, 0}, false, c.fill);
    GdiFlush();
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 15; ++x) {
        // With limits of 1 only the outer ring is painted (corners keep their
        // full width along the top and bottom row).
        const bool ring = x == 0 || y == 0 || x == 14 || y == 14;
        const bool painted = c.fill || ring;
        const uint32_t want = painted ? s.At(map(x), map(y)) : 0;
        ASSERT_EQ(d.At(x, y) & 0xFFFFFF, want & 0xFFFFFF) << x << "," << y << " " << c.fill;
      }
  }
}

TEST(SoftRoundRect, CentreTakesTheColourOutsideStays) {
  struct Case {
    int transparency;
    uint32_t centre;
  };
  // Fully transparent, the white mask still lends the colour 1/256:
  // (0x80 * 255 + k) >> 8.
  for (const Case& c : {Case{0, 0xFFFF0000}, Case{100, 0xFF807F7F}}) {
    std::unique_ptr<TBitmap> b(Argb(40, 30));
    const PixelView v = ArgbView(b.get());
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) v.At(x, y) = 0xFF808080;
    PaintSoftRoundRect(b.get(), {5, 5, 35, 25}, c.transparency, 0x0000FF, 4, 6);
    EXPECT_EQ(v.At(20, 15), c.centre) << c.transparency;
    EXPECT_EQ(v.At(2, 2), 0xFF808080u);
    EXPECT_EQ(v.At(36, 26), 0xFF808080u);
    // The rounded corner keeps the picture (white in the mask), within rounding.
    EXPECT_NEAR(int(v.At(5, 5) & 0xFF), 0x80, 1);
  }
}

// A PNG file of 8-bit RGBA (colour type 6) or RGB (2) rows, written here.
std::string PngOf(int w, int h, int colourType, const std::vector<uint8_t>& pixels) {
  auto be32 = [](std::string& s, uint32_t v) {
    for (int i = 3; i >= 0; --i) s += char((v >> (8 * i)) & 0xFF);
  };
  auto chunk = [&be32](std::string& out, const char* type, const std::string& data) {
    be32(out, static_cast<uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    out += body;
    be32(out, crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size())));
  };
  std::string ihdr;
  be32(ihdr, w);
  be32(ihdr, h);
  ihdr += std::string{8, char(colourType), 0, 0, 0};
  const int bpp = colourType == 6 ? 4 : 3;
  std::string raw;
  for (int y = 0; y < h; ++y) {
    raw += '\0';
    raw.append(reinterpret_cast<const char*>(pixels.data()) + y * w * bpp, w * bpp);
  }
  uLongf size = compressBound(uLong(raw.size()));
  std::string z(size, '\0');
  compress(reinterpret_cast<Bytef*>(z.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
           uLong(raw.size()));
  z.resize(size);
  std::string out = "\x89PNG\r\n\x1a\n";
  chunk(out, "IHDR", ihdr);
  chunk(out, "IDAT", z);
  chunk(out, "IEND", "");
  return out;
}

TEST(PngLoading, FilesAndStreamsBecomeArgbBitmaps) {
  const std::string rgba = PngOf(2, 1, 6, {10, 20, 30, 40, 200, 100, 50, 255});
  const std::string rgb = PngOf(1, 1, 2, {1, 2, 3});
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string file = std::string(dir) + "draw_helpers_test.png";
  std::ofstream(file, std::ios::binary) << rgba;
  TBitmap fromFile;
  LoadPngFileToBitmap(&fromFile, file);
  std::remove(file.c_str());
  ASSERT_EQ(fromFile.PixelFormat(), pf32bit);
  EXPECT_EQ(ArgbView(&fromFile).At(1, 0), 0xFFC86432u);
  EXPECT_EQ(ArgbView(&fromFile).At(0, 0) >> 24, 40u);

  TMemoryStream stream;
  stream.Write(rgb.data(), int32_t(rgb.size()));
  stream.SetPosition(0);
  TBitmap fromStream;
  LoadPngStreamToBitmap(&fromStream, stream);
  ASSERT_EQ(fromStream.PixelFormat(), pf32bit);
  EXPECT_EQ(ArgbView(&fromStream).At(0, 0), 0xFF010203u);

  TMemoryStream broken;
  broken.Write(rgb.data(), 20);
  broken.SetPosition(0);
  TBitmap none;
  EXPECT_THROW(LoadPngStreamToBitmap(&none, broken), Exception);
}

}  // namespace
