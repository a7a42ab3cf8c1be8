// TCanvas on foreign DCs: tool selection and restoring the DC's own objects.
#include <gtest/gtest.h>

#include "widgets/graphics/graphics.h"

namespace {

// A memory DC holding a 32-bit DIB and objects of the test's own.
struct TForeignDC {
  TMemoryDC DC{CreateCompatibleDC(nullptr)};
  TOwnedBitmap Bitmap;
  TOwnedFont Font{CreateFontA(-9, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial")};
  TOwnedPen Pen{CreatePen(PS_SOLID, 2, RGB(1, 2, 3))};
  TOwnedBrush Brush{CreateSolidBrush(RGB(4, 5, 6))};
  uint32_t* Bits = nullptr;
  HGDIOBJ Saved[4];

  TForeignDC() {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, -8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    Bitmap.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    Bits = static_cast<uint32_t*>(bits);
    Saved[0] = SelectObject(DC.Get(), Bitmap.Get());
    Saved[1] = SelectObject(DC.Get(), Font.Get());
    Saved[2] = SelectObject(DC.Get(), Pen.Get());
    Saved[3] = SelectObject(DC.Get(), Brush.Get());
  }
  ~TForeignDC() {
    for (HGDIOBJ o : Saved) SelectObject(DC.Get(), o);
  }
  HGDIOBJ Current(UINT type) const { return GetCurrentObject(DC.Get(), type); }
};

TEST(Canvas, ForeignDCGetsItsOwnObjectsBackWhenReleased) {
  TForeignDC f;
  TCanvas c;
  c.SetHandle(f.DC.Get());
  // Nothing is selected until the canvas is used.
  EXPECT_EQ(f.Current(OBJ_FONT), f.Font.Get());
  HDC dc = c.Handle();
  EXPECT_EQ(dc, f.DC.Get());
  EXPECT_EQ(f.Current(OBJ_FONT), c.Font()->Handle());
  EXPECT_EQ(f.Current(OBJ_PEN), c.Pen()->Handle());
  EXPECT_EQ(f.Current(OBJ_BRUSH), c.Brush()->Handle());

  // A changed tool leaves the DC at once, the new one comes with the next use.
  c.Font()->SetHeight(-30);
  EXPECT_EQ(f.Current(OBJ_FONT), f.Font.Get());
  c.TextExtent("x");
  EXPECT_EQ(f.Current(OBJ_FONT), c.Font()->Handle());

  c.SetHandle(nullptr);
  EXPECT_FALSE(c.HandleAllocated());
  EXPECT_EQ(f.Current(OBJ_FONT), f.Font.Get());
  EXPECT_EQ(f.Current(OBJ_PEN), f.Pen.Get());
  EXPECT_EQ(f.Current(OBJ_BRUSH), f.Brush.Get());

  // Switching straight to another DC restores the first one too.
  TForeignDC g;
  c.SetHandle(f.DC.Get());
  c.FillRect(Rect(0, 0, 2, 2));
  c.SetHandle(g.DC.Get());
  EXPECT_EQ(f.Current(OBJ_BRUSH), f.Brush.Get());
  c.FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(g.Current(OBJ_BRUSH), c.Brush()->Handle());
}

TEST(Canvas, DestroyedCanvasLeavesTheForeignDCUsable) {
  TForeignDC f;
  {
    TCanvas c;
    c.SetHandle(f.DC.Get());
    c.Rectangle(0, 0, 4, 4);
  }
  EXPECT_EQ(f.Current(OBJ_FONT), f.Font.Get());
  EXPECT_EQ(f.Current(OBJ_PEN), f.Pen.Get());
  EXPECT_EQ(f.Current(OBJ_BRUSH), f.Brush.Get());
}

TEST(Canvas, FontColourAndBrushStyleSetTextColourAndBackgroundMode) {
  TForeignDC f;
  TCanvas c;
  c.SetHandle(f.DC.Get());
  c.Font()->SetColor(clBtnFace);
  c.Brush()->SetColor(clRed);
  HDC dc = c.Handle();
  EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetBkColor(dc), 0x0000FFu);
  c.Brush()->SetStyle(bsClear);
  dc = c.Handle();
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  c.SetHandle(nullptr);
}

TEST(Canvas, DrawsPixelsThroughItsTools) {
  TForeignDC f;
  TCanvas c;
  c.SetHandle(f.DC.Get());
  c.Brush()->SetColor(clRed);
  c.FillRect(Rect(0, 0, 8, 8));
  GdiFlush();
  EXPECT_EQ(f.Bits[0] & 0xFFFFFF, 0xFF0000u);  // BGRA word of red
  c.SetPixels(3, 4, clBlue);
  EXPECT_EQ(c.Pixels(3, 4), clBlue);
  c.Pen()->SetColor(clLime);
  c.MoveTo(0, 7);
  c.LineTo(8, 7);
  EXPECT_EQ(c.Pixels(5, 7), clLime);
  EXPECT_EQ(c.PenPos(), Point(8, 7));
  c.Brush()->SetColor(clBlack);
  c.FrameRect(Rect(0, 0, 8, 8));
  EXPECT_EQ(c.Pixels(0, 3), clBlack);
  EXPECT_EQ(c.Pixels(2, 2), clRed);

  EXPECT_GT(c.TextWidth("Hello"), c.TextWidth("H"));
  EXPECT_GT(c.TextHeight("H"), 0);
  EXPECT_EQ(c.TextWidth(""), 0);
  c.SetHandle(nullptr);
}

TEST(Canvas, WithoutADCDrawingRaises) {
  TCanvas c;
  EXPECT_THROW(c.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
  EXPECT_THROW(c.Handle(), EInvalidOperation);
}

TEST(Canvas, CopyRectStretchesWithTheCopyMode) {
  TBitmap src, dst;
  src.SetPixelFormat(pf24bit);
  src.SetSize(2, 2);
  src.Canvas()->Brush()->SetColor(clBlue);
  src.Canvas()->FillRect(Rect(0, 0, 2, 2));
  dst.SetPixelFormat(pf24bit);
  dst.SetSize(4, 4);
  dst.Canvas()->CopyRect(Rect(0, 0, 4, 4), src.Canvas(), Rect(0, 0, 2, 2));
  EXPECT_EQ(dst.Canvas()->Pixels(3, 3), clBlue);
  dst.Canvas()->SetCopyMode(cmWhiteness);
  dst.Canvas()->CopyRect(Rect(0, 0, 1, 1), src.Canvas(), Rect(0, 0, 2, 2));
  EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clWhite);
}

}  // namespace
