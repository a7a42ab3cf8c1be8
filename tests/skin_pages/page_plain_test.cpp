// The plain look as the programs ship it: painted whole into one buffer
// (no erase of its own), classic edges around the pages when the theme is
// off, and the small close button in its classic colours by state when no
// themed part is there to draw it.
#include <windows.h>

#include <uxtheme.h>

#include "page_fixture.h"

namespace {

class PlainPages : public PageFixture {
 protected:
  // The control printed into a fresh DC filled with Fill.
  struct Print {
    HDC Dc = nullptr;
    HBITMAP Bmp = nullptr;
    HGDIOBJ Old = nullptr;
    ~Print() {
      SelectObject(Dc, Old);
      DeleteObject(Bmp);
      DeleteDC(Dc);
    }
  };
  void MakePrint(Print& P, COLORREF Fill) {
    HDC screen = GetDC(nullptr);
    P.Dc = CreateCompatibleDC(screen);
    P.Bmp = CreateCompatibleBitmap(screen, Pages->Width(), Pages->Height());
    ReleaseDC(nullptr, screen);
    P.Old = SelectObject(P.Dc, P.Bmp);
    RECT all{0, 0, Pages->Width(), Pages->Height()};
    HBRUSH b = CreateSolidBrush(Fill);
    FillRect(P.Dc, &all, b);
    DeleteObject(b);
  }
};

TEST_F(PlainPages, TheEraseLeavesEverythingToThePaint) {
  MakeSheets({"Alpha"});
  Print p;
  MakePrint(p, RGB(255, 0, 255));
  EXPECT_EQ(SendMessageA(Pages->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(p.Dc), 0), 1);
  EXPECT_EQ(GetPixel(p.Dc, 2, 2), RGB(255, 0, 255)) << "nothing erased: no flicker";
  SendMessageA(Pages->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(p.Dc), PRF_CLIENT);
  EXPECT_NE(GetPixel(p.Dc, 2, 2), RGB(255, 0, 255)) << "the paint covers the whole control";
}

TEST_F(PlainPages, ClassicEdgesFrameThePages) {
  MakeSheets({"Alpha", "Beta"});
  SetWindowTheme(Pages->Handle(), L" ", L" ");
  PumpMessages();
  Print p;
  MakePrint(p, RGB(255, 0, 255));
  SendMessageA(Pages->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(p.Dc), PRF_CLIENT);
  const TRect d = Pages->DisplayRect();
  // EDGE_RAISED: light outside top-left, dark outside bottom-right.
  EXPECT_EQ(GetPixel(p.Dc, d.Left, d.Bottom - 10), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(GetPixel(p.Dc, d.Right - 1, d.Bottom - 10), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(GetPixel(p.Dc, d.Right - 10, d.Bottom - 1), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(GetPixel(p.Dc, d.Left + 20, d.Bottom - 20),
            static_cast<COLORREF>(ColorToRGB(Pages->Color())));
}

TEST_F(PlainPages, WithoutAThemedPartTheCloseButtonTakesItsClassicColours) {
  MakeSheets({"Alpha"});
  // No theme data at all gives no themed part, as a theme without the part.
  SetWindowTheme(Pages->Handle(), L" ", L" ");
  PumpMessages();
  const COLORREF faces[] = {RGB(0xAB, 0x58, 0x58), RGB(0xFF, 0, 0), RGB(0x80, 0, 0)};
  for (int state = 0; state < 3; ++state) {
    SCOPED_TRACE(state);
    Print p;
    MakePrint(p, RGB(0, 255, 0));
    Pages->PaintCloseButtonUnskinned(p.Dc, TRect(10, 10, 25, 25), state);
    EXPECT_EQ(GetPixel(p.Dc, 10, 10), RGB(255, 255, 255)) << "white rim";
    EXPECT_EQ(GetPixel(p.Dc, 11, 17), faces[state]) << "face, clear of the cross";
    EXPECT_EQ(GetPixel(p.Dc, 13, 13), RGB(255, 255, 255)) << "the cross";
    EXPECT_EQ(GetPixel(p.Dc, 9, 9), RGB(0, 255, 0)) << "nothing outside";
  }
}

}  // namespace
