// Addressing and factories of 32-bit work bitmaps.
#include <gtest/gtest.h>

#include <memory>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"

namespace {

using Bmp = std::unique_ptr<TBitmap>;

// A 32-bit DIB section of the given orientation, adopted by a TBitmap.
Bmp AdoptedDib(int w, int h, bool topDown) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = topDown ? -h : h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  Bmp b(New<TBitmap>());
  b->SetHandle(dib);
  return b;
}

TEST(ArgbAddressing, StrideByHeightAndOrientation) {
  struct Case {
    int height;
    bool topDown;
    bool ok;
    ptrdiff_t stride;  // in pixels of a 5-wide image
  };
  const Case cases[] = {
      {0, false, false, 0}, {1, false, true, 0}, {3, false, true, -5},
      {1, true, true, 0},   {3, true, true, 5},
  };
  for (const Case& c : cases) {
    Bmp b = c.height ? AdoptedDib(5, c.height, c.topDown) : Bmp(NewArgbBitmap(5, 0));
    uint8_t* base = reinterpret_cast<uint8_t*>(1);
    ptrdiff_t stride = 77;
    ASSERT_EQ(ScanlineBaseAndStride(b.get(), base, stride), c.ok) << c.height;
    if (!c.ok) {
      EXPECT_EQ(stride, 77);  // outputs untouched
      continue;
    }
    EXPECT_EQ(stride, c.stride * 4) << c.height << " " << c.topDown;
    EXPECT_EQ(base, b->ScanLine(0));
    // Pixel (x, last row) by base + y * stride + 4x is the scan line's pixel.
    const int y = c.height - 1;
    auto* p = reinterpret_cast<uint32_t*>(base + y * stride + 4 * 2);
    *p = 0x11223344;
    EXPECT_EQ(static_cast<uint32_t*>(b->ScanLine(y))[2], 0x11223344u);
  }
}

TEST(ArgbFactories, NeverRaiseForImpossibleSizes) {
  struct Case {
    int w, h, ew, eh;
  };
  for (const Case& c : {Case{100000, 100000, 0, 0}, Case{-3, 5, 0, 0}, Case{4, 3, 4, 3}}) {
    Bmp b(NewArgbBitmap(c.w, c.h));
    EXPECT_EQ(b->Width(), c.ew);
    EXPECT_EQ(b->Height(), c.eh);
    EXPECT_EQ(b->PixelFormat(), pf32bit);
    EXPECT_EQ(b->HandleType(), bmDIB);
  }
  Bmp r(NewArgbBitmapForRect(TRect(10, 0, 4, 6)));  // Right < Left
  EXPECT_EQ(r->Width(), 0);
  EXPECT_EQ(r->Height(), 6);
  Bmp like(NewArgbBitmapLike(r.get()));
  EXPECT_EQ(like->Height(), 6);
}

TEST(ArgbFactories, MaskedImageTakesAlphaFromTheMaskBelow) {
  // A 3 x 5 image: rows 0-1 picture, rows 2-3 mask, row 4 ignored.
  Bmp img(NewArgbBitmap(3, 5));
  PixelView v = ArgbView(img.get());
  for (int x = 0; x < 3; ++x) {
    v.At(x, 0) = 0x00102030;
    v.At(x, 1) = 0x00405060;
    v.At(x, 2) = 0x00000000;      // black mask: opaque
    v.At(x, 3) = 0x00FF0000 | x;  // red byte 255: transparent
    v.At(x, 4) = 0x00FFFFFF;
  }
  Bmp none(ArgbFromMaskedImage(img.get(), TRect(0, 0, 3, 1)));
  EXPECT_EQ(none, nullptr);
  Bmp m(ArgbFromMaskedImage(img.get(), TRect(0, 0, 3, 5)));
  ASSERT_NE(m, nullptr);
  ASSERT_EQ(m->Width(), 3);
  ASSERT_EQ(m->Height(), 2);
  PixelView r = ArgbView(m.get());
  EXPECT_EQ(r.At(1, 0), 0xFF102030u);
  EXPECT_EQ(r.At(1, 1), 0x00405060u);
  // A rectangle reaching past the image reads nothing outside it.
  Bmp past(ArgbFromMaskedImage(img.get(), TRect(2, 0, 6, 4)));
  ASSERT_NE(past, nullptr);
  EXPECT_EQ(ArgbView(past.get()).At(3, 0), 0u);
}

TEST(ArgbFactories, ChannelsCopyAndTransfer) {
  Bmp a(NewArgbBitmap(2, 2)), b(NewArgbBitmap(3, 3));
  PixelView va = ArgbView(a.get()), vb = ArgbView(b.get());
  va.At(1, 1) = 0x11223344;
  vb.At(1, 1) = 0xAABBCCDD;
  CopyArgbChannel(a.get(), b.get(), 3);
  EXPECT_EQ(va.At(1, 1), 0xAA223344u);
  Bmp gray(New<TBitmap>());
  gray->SetPixelFormat(pf8bit);
  gray->SetWidth(2);
  gray->SetHeight(2);
  TransferArgbChannel(a.get(), gray.get(), 1, true);
  EXPECT_EQ(static_cast<uint8_t*>(gray->ScanLine(1))[1], 0x33);
  static_cast<uint8_t*>(gray->ScanLine(0))[0] = 0x7E;
  TransferArgbChannel(a.get(), gray.get(), 2, false);
  EXPECT_EQ(va.At(0, 0) & 0x00FF0000u, 0x007E0000u);
  EXPECT_EQ(va.At(1, 1), 0xAA333344u);
}

TEST(ArgbFactories, SwapRedBlueAndKeyColour) {
  EXPECT_EQ(SwapRedBlue(0x00123456), 0x00563412);
  EXPECT_EQ(SwapRedBlue(0x7F123456), 0x00563412);  // top byte of the result 0
  EXPECT_EQ(SwapRedBlue(0x00FF00FF), 0x00FF00FF);
}

TEST(ArgbFactories, IconFromA24BitBitmapMasksTheKeyColour) {
  Bmp b(New<TBitmap>());
  b->SetPixelFormat(pf24bit);
  b->SetWidth(4);
  b->SetHeight(4);
  b->Canvas()->Brush()->SetColor(clRed);
  b->Canvas()->FillRect(TRect(0, 0, 4, 4));
  SetPixelV(b->Canvas()->Handle(), 1, 2, RGB(255, 0, 255));
  HICON icon = IconFromArgbBitmap(b.get(), clNone);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(b->PixelFormat(), pf32bit);
  ICONINFO ii{};
  ASSERT_TRUE(GetIconInfo(icon, &ii));
  TOwnedBitmap maskBmp(ii.hbmMask), colorBmp(ii.hbmColor);
  TMemoryDC dc(CreateCompatibleDC(nullptr));
  TSelectedObject sel(dc.Get(), maskBmp.Get());
  EXPECT_EQ(GetPixel(dc.Get(), 1, 2) & 0xFFFFFF, 0xFFFFFFu);  // transparent
  EXPECT_EQ(GetPixel(dc.Get(), 2, 2) & 0xFFFFFF, 0u);         // opaque
  DestroyIcon(icon);
}

TEST(GraphicsUnit, BindsLayeredWindowsAndMeasuresCheckBoxes) {
  GraphicsUnitInitialization();
  EXPECT_TRUE(LayeredWindowsAvailable());
  EXPECT_NE(SetLayeredWindowAttributesProc, nullptr);
  BITMAP info{};
  HBITMAP sys = LoadBitmapA(nullptr, MAKEINTRESOURCEA(32759));
  ASSERT_NE(sys, nullptr);
  GetObjectA(sys, sizeof info, &info);
  DeleteObject(sys);
  EXPECT_EQ(CheckBoxGlyphWidth, info.bmWidth / 4);
  EXPECT_EQ(CheckBoxGlyphHeight, info.bmHeight / 3);
  TMemoryDC dc(CreateCompatibleDC(nullptr));
  CallSetLayout(dc.Get(), LAYOUT_RTL);
  EXPECT_EQ(CallGetLayout(dc.Get()), static_cast<DWORD>(LAYOUT_RTL));
  CallSetLayout(dc.Get(), 0);
  GraphicsUnitFinalization();
  EXPECT_FALSE(LayeredWindowsAvailable());
  EXPECT_EQ(CallGetLayout(dc.Get()), 0u);
}

}  // namespace
