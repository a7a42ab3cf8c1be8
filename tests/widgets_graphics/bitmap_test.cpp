// TBitmap: sizes, scan lines, pixel formats, palettes, handles and canvas.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

#include "widgets/graphics/graphics.h"

namespace {

int Bpp(TPixelFormat f) {
  switch (f) {
    case pf1bit:
      return 1;
    case pf4bit:
      return 4;
    case pf8bit:
      return 8;
    case pf15bit:
    case pf16bit:
      return 16;
    case pf24bit:
      return 24;
    default:
      return 32;
  }
}

ptrdiff_t StrideOf(int w, TPixelFormat f) {
  return ((w * Bpp(f) + 31) / 32) * 4;
}

uint8_t* Row(TBitmap& b, int y) {
  return static_cast<uint8_t*>(b.ScanLine(y));
}
uint32_t Px32(TBitmap& b, int x, int y) {
  uint32_t v;
  std::memcpy(&v, Row(b, y) + 4 * x, 4);
  return v;
}

const TPixelFormat kFormats[] = {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit};

TEST(Bitmap, ScanLinesAreBottomUpAtHeightsZeroOneAndThree) {
  for (TPixelFormat f : kFormats) {
    SCOPED_TRACE(f);
    TBitmap b;
    b.SetPixelFormat(f);
    b.SetSize(5, 0);
    EXPECT_TRUE(b.Empty());
    EXPECT_THROW(b.ScanLine(0), EInvalidGraphicOperation);
    b.SetHeight(1);
    ASSERT_NE(b.ScanLine(0), nullptr);
    EXPECT_THROW(b.ScanLine(1), EInvalidGraphicOperation);
    EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
    b.SetHeight(3);
    EXPECT_EQ(Row(b, 1) - Row(b, 0), -StrideOf(5, f));
    EXPECT_EQ(Row(b, 2) - Row(b, 1), -StrideOf(5, f));
    EXPECT_EQ(b.PixelFormat(), f);
    EXPECT_EQ(b.HandleType(), bmDIB);
  }
}

TEST(Bitmap, EachSizeSetterMayReallocateAndKeepsTheOverlap) {
  TBitmap b;
  EXPECT_EQ(b.PixelFormat(), pfDevice);
  EXPECT_EQ(b.HandleType(), bmDDB);
  b.SetPixelFormat(pf32bit);
  b.SetHeight(4);  // while the width is 0
  EXPECT_EQ(b.Height(), 4);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Handle(), nullptr);
  b.SetWidth(3);
  ASSERT_NE(b.Handle(), nullptr);
  EXPECT_EQ(Px32(b, 2, 3), 0x00FFFFFFu);  // new pixels: white, alpha 0
  std::memcpy(Row(b, 1) + 4, "\x11\x22\x33\x44", 4);
  b.SetWidth(6);
  b.SetHeight(2);
  EXPECT_EQ(Px32(b, 1, 1), 0x44332211u);
  EXPECT_EQ(Px32(b, 5, 1), 0x00FFFFFFu);
  EXPECT_THROW(b.SetWidth(-1), EInvalidGraphicOperation);
  // An impossible size raises and leaves the bitmap as it was.
  EXPECT_THROW(b.SetSize(100000, 100000), EOutOfResources);
  EXPECT_EQ(b.Width(), 6);
  EXPECT_EQ(Px32(b, 1, 1), 0x44332211u);
}

TEST(Bitmap, PixelFormatConversions) {
  // 24 -> 32: colour kept, alpha 0.
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(2, 1);
  std::memcpy(Row(b, 0), "\x10\x20\x30\x40\x50\x60", 6);
  b.SetPixelFormat(pf32bit);
  EXPECT_EQ(Px32(b, 0, 0), 0x00302010u);
  EXPECT_EQ(Px32(b, 1, 0), 0x00605040u);

  // 8 -> 32 through the grey palette, alpha 0.
  TBitmap g;
  g.SetPixelFormat(pf8bit);
  g.SetSize(3, 1);
  std::memcpy(Row(g, 0), "\x00\x80\xFF", 3);
  TBitmap g32;
  g32.Assign(&g);
  g32.SetPixelFormat(pf32bit);
  EXPECT_EQ(Px32(g32, 0, 0), 0x00000000u);
  EXPECT_EQ(Px32(g32, 1, 0), 0x00808080u);
  EXPECT_EQ(Px32(g32, 2, 0), 0x00FFFFFFu);

  // 8 -> 1: 255 becomes 1, dark greys 0.
  std::memcpy(Row(g, 0), "\x00\x40\xFF", 3);
  g.SetPixelFormat(pf1bit);
  EXPECT_EQ(Row(g, 0)[0] & 0xE0, 0x20);

  // 32 keeps its alpha through resizing, copying and a redundant format set.
  TBitmap a;
  a.SetPixelFormat(pf32bit);
  a.SetSize(1, 1);
  std::memcpy(Row(a, 0), "\x01\x02\x03\x80", 4);
  a.SetPixelFormat(pf32bit);
  a.SetHandleType(bmDIB);
  a.SetSize(2, 2);
  TBitmap c;
  c.Assign(&a);
  EXPECT_EQ(Px32(c, 0, 0), 0x80030201u);

  // Colours into 8 bits take the nearest grey; pfCustom is refused.
  TBitmap d;
  d.SetPixelFormat(pf24bit);
  d.SetSize(1, 1);
  std::memcpy(Row(d, 0), "\x00\x00\xFF", 3);  // red
  d.SetPixelFormat(pf8bit);
  EXPECT_EQ(Row(d, 0)[0], 85);
  EXPECT_THROW(d.SetPixelFormat(pfCustom), EInvalidGraphicOperation);
}

TEST(Bitmap, PaletteFormatsGetGreyAndBlackWhitePalettes) {
  TBitmap g;
  g.SetPixelFormat(pf8bit);
  g.SetSize(2, 2);
  PALETTEENTRY e[256];
  ASSERT_EQ(GetPaletteEntries(g.Palette(), 0, 256, e), 256u);
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(e[i].peRed, i);
    EXPECT_EQ(e[i].peGreen, i);
    EXPECT_EQ(e[i].peBlue, i);
  }
  RGBQUAD table[256];
  ASSERT_EQ(GetDIBColorTable(g.Canvas()->Handle(), 0, 256, table), 256u);
  EXPECT_EQ(table[200].rgbRed, 200);

  TBitmap m;
  m.SetPixelFormat(pf1bit);
  m.SetSize(2, 2);
  ASSERT_EQ(GetPaletteEntries(m.Palette(), 0, 256, e), 2u);
  EXPECT_EQ(e[0].peRed + e[0].peGreen + e[0].peBlue, 0);
  EXPECT_EQ(e[1].peRed + e[1].peGreen + e[1].peBlue, 3 * 255);

  // A palette set before the size is the colour table of the new image.
  TBitmap p;
  p.SetPixelFormat(pf8bit);
  struct {
    WORD Version, Count;
    PALETTEENTRY E[2];
  } lp{0x300, 2, {{10, 20, 30, 0}, {40, 50, 60, 0}}};
  p.SetPalette(CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp)));
  p.SetSize(1, 1);
  Row(p, 0)[0] = 1;
  EXPECT_EQ(p.Canvas()->Pixels(0, 0), TColor(RGB(40, 50, 60)));
}

TEST(Bitmap, DeviceBitmapBecomesADibForScanLines) {
  TBitmap b;
  b.SetSize(4, 4);
  EXPECT_EQ(b.HandleType(), bmDDB);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(Rect(0, 0, 4, 4));
  void* line = b.ScanLine(0);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(b.HandleType(), bmDIB);
  EXPECT_NE(b.PixelFormat(), pfDevice);
  EXPECT_EQ(b.Canvas()->Pixels(2, 2), clRed);
  b.SetHandleType(bmDDB);
  EXPECT_EQ(b.PixelFormat(), pfDevice);
  EXPECT_EQ(b.Canvas()->Pixels(2, 2), clRed);
}

TEST(Bitmap, ReadingTheHandleTakesItFromAnUnlockedCanvasOnly) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(2, 2);
  HDC dc = b.Canvas()->Handle();
  HBITMAP h = b.Handle();
  EXPECT_FALSE(b.Canvas()->HandleAllocated());
  b.Canvas()->Lock();
  dc = b.Canvas()->Handle();
  EXPECT_EQ(b.Handle(), h);
  EXPECT_TRUE(b.Canvas()->HandleAllocated());
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), h);
  // A locked canvas follows a reallocation.
  b.SetWidth(5);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), b.Handle());
  b.Canvas()->Unlock();
}

TEST(Bitmap, AssignIsDeepAndHandlesAreAdoptedOrWrapped) {
  TBitmap a;
  a.SetPixelFormat(pf24bit);
  a.SetSize(2, 2);
  a.Canvas()->Brush()->SetColor(clBlue);
  a.Canvas()->FillRect(Rect(0, 0, 2, 2));
  a.SetTransparent(true);
  a.SetTransparentColor(clFuchsia);
  TBitmap b;
  b.Assign(&a);
  EXPECT_NE(b.Handle(), a.Handle());
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(b.TransparentColor(), clFuchsia);
  b.Canvas()->SetPixels(0, 0, clRed);
  EXPECT_EQ(a.Canvas()->Pixels(0, 0), clBlue);
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());

  // Adopted: freed with the bitmap. Wrapped: left alone.
  HBITMAP mine = CreateBitmap(3, 2, 1, 32, nullptr);
  {
    TBitmap w;
    w.WrapHandle(mine);
    EXPECT_EQ(w.Width(), 3);
    EXPECT_EQ(w.Height(), 2);
  }
  BITMAP bm;
  EXPECT_NE(GetObjectA(mine, sizeof bm, &bm), 0);
  HBITMAP given;
  {
    TBitmap o;
    o.SetHandle(mine);
    given = o.ReleaseHandle();
    EXPECT_EQ(o.Width(), 3);  // size stays; a new image comes on demand
    EXPECT_NE(o.Handle(), given);
  }
  EXPECT_EQ(given, mine);
  EXPECT_NE(GetObjectA(mine, sizeof bm, &bm), 0);
  {
    TBitmap o;
    o.SetHandle(mine);
  }
  EXPECT_EQ(GetObjectA(mine, sizeof bm, &bm), 0);
}

TEST(Bitmap, DrawStretchesAndHonoursTheTransparentColour) {
  TBitmap src;
  src.SetPixelFormat(pf24bit);
  src.SetSize(2, 1);
  src.Canvas()->SetPixels(0, 0, clFuchsia);
  src.Canvas()->SetPixels(1, 0, clBlue);
  TBitmap dst;
  dst.SetPixelFormat(pf24bit);
  dst.SetSize(4, 2);
  dst.Canvas()->Brush()->SetColor(clLime);
  dst.Canvas()->FillRect(Rect(0, 0, 4, 2));
  dst.Canvas()->StretchDraw(Rect(0, 0, 4, 2), &src);
  EXPECT_EQ(dst.Canvas()->Pixels(0, 1), clFuchsia);
  EXPECT_EQ(dst.Canvas()->Pixels(3, 1), clBlue);
  dst.Canvas()->FillRect(Rect(0, 0, 4, 2));
  src.SetTransparent(true);  // auto colour: the bottom-left pixel
  EXPECT_EQ(src.TransparentColor(), clFuchsia);
  dst.Canvas()->Draw(0, 0, &src);
  EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clLime);
  EXPECT_EQ(dst.Canvas()->Pixels(1, 0), clBlue);
}

}  // namespace

namespace {

// A 2 x 2 DIB section made outside the layer.
HBITMAP ForeignDib(int height, DWORD compression, const DWORD* masks, void** bits) {
  struct {
    BITMAPINFOHEADER H;
    DWORD Masks[3];
  } bi{{sizeof(BITMAPINFOHEADER), 2, height, 1, 32, compression, 0, 0, 0, 0, 0}, {}};
  if (masks) std::memcpy(bi.Masks, masks, sizeof bi.Masks);
  return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, bits,
                          nullptr, 0);
}

TEST(Bitmap, AdoptedTopDownAndUnusualDibsKeepTheirPixels) {
  void* bits = nullptr;
  TBitmap t;
  t.SetHandle(ForeignDib(-2, BI_RGB, nullptr, &bits));
  EXPECT_EQ(t.PixelFormat(), pf32bit);
  EXPECT_EQ(t.ScanLine(0), bits);  // row 0 is first in a top-down DIB
  std::memcpy(t.ScanLine(1), "\x01\x02\x03\x04", 4);
  t.SetWidth(3);  // the new image is bottom-up and keeps the rows
  EXPECT_EQ(Row(t, 1) - Row(t, 0), -StrideOf(3, pf32bit));
  EXPECT_EQ(Px32(t, 0, 1), 0x04030201u);

  // The row order stated on adoption is taken as it stands.
  for (const bool topDown : {false, true}) {
    TBitmap a;
    a.AdoptDibSection(ForeignDib(topDown ? -2 : 2, BI_RGB, nullptr, &bits), topDown);
    EXPECT_EQ(a.PixelFormat(), pf32bit);
    const auto* first = static_cast<uint8_t*>(bits);
    EXPECT_EQ(Row(a, 0), topDown ? first : first + StrideOf(2, pf32bit)) << topDown;
    EXPECT_EQ(Row(a, 1), topDown ? first + StrideOf(2, pf32bit) : first) << topDown;
  }

  // Red in the low byte: no layer format describes it.
  const DWORD swapped[3] = {0x0000FF, 0x00FF00, 0xFF0000};
  TBitmap c;
  c.SetHandle(ForeignDib(2, BI_BITFIELDS, swapped, &bits));
  EXPECT_EQ(c.PixelFormat(), pfCustom);
  static_cast<uint32_t*>(bits)[0] = 0x0000FF;  // red, bottom-left
  GdiFlush();
  EXPECT_EQ(c.TransparentColor(), clRed);
  TBitmap copy;
  copy.Assign(&c);
  EXPECT_EQ(copy.PixelFormat(), pf32bit);
  EXPECT_EQ(copy.Canvas()->Pixels(0, 1), clRed);
  c.SetPixelFormat(pf24bit);
  EXPECT_EQ(c.Canvas()->Pixels(0, 1), clRed);
}

}  // namespace
