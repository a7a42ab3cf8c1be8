// Printing an edit into a caller's DC: the DC comes back as it was given,
// a repaint the window still owes stays owed, and the client lands at the
// DC's origin.
#include "edit_scene.h"

namespace {

class TPrintTarget {
 public:
  TPrintTarget(int W, int H) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bmp_ = CreateCompatibleBitmap(screen, W, H);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bmp_);
  }
  ~TPrintTarget() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  TPrintTarget(const TPrintTarget&) = delete;
  TPrintTarget& operator=(const TPrintTarget&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
};

TEST(EditPrint, LeavesTheCallersOriginAndClipAndThePendingRepaint) {
  const LPARAM flags[] = {PRF_CLIENT, PRF_NONCLIENT, PRF_CLIENT | PRF_NONCLIENT, 0x3E};
  for (const bool skinned : {true, false}) {
    TEditScene scene(skinned);
    TsEdit* edit = scene.Add("3.25");
    scene.Settle(edit);
    ASSERT_EQ(edit->SkinData()->Skinned(), skinned);
    for (const LPARAM f : flags) {
      TPrintTarget target(200, 80);
      HDC dc = target.Get();
      SetWindowOrgEx(dc, -7, -5, nullptr);
      IntersectClipRect(dc, -3, -2, 150, 40);
      HRGN before = CreateRectRgn(0, 0, 0, 0);
      GetClipRgn(dc, before);
      InvalidateRect(edit->Handle(), nullptr, FALSE);
      SendMessageA(edit->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc), f);
      const char* where = skinned ? "skinned" : "unskinned";
      POINT org{};
      GetWindowOrgEx(dc, &org);
      EXPECT_EQ(org.x, -7) << where << " flags " << f;
      EXPECT_EQ(org.y, -5) << where << " flags " << f;
      HRGN after = CreateRectRgn(0, 0, 0, 0);
      EXPECT_EQ(GetClipRgn(dc, after), 1) << where << " flags " << f;
      EXPECT_TRUE(EqualRgn(before, after)) << where << " flags " << f;
      DeleteObject(after);
      DeleteObject(before);
      EXPECT_TRUE(GetUpdateRect(edit->Handle(), nullptr, FALSE)) << where << " flags " << f;
      scene.Settle(edit);
    }
  }
}

TEST(EditPrint, ClientPrintStartsAtTheClientArea) {
  TEditScene scene(true);
  TsEdit* edit = scene.Add("", 20, 20, 120, 24);
  scene.Settle(edit);
  const int e = edit->EdgeWidth();
  ASSERT_GT(e, 0);
  TPrintTarget target(200, 80);
  HBRUSH marker = CreateSolidBrush(RGB(1, 254, 3));
  RECT all{0, 0, 200, 80};
  FillRect(target.Get(), &all, marker);
  DeleteObject(marker);
  SendMessageA(edit->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(target.Get()), PRF_CLIENT);
  const int w = edit->Width(), h = edit->Height();
  // The cache's frame corner sits outside the DC; its client corner at 0, 0.
  EXPECT_EQ(RgbOf(static_cast<TColor>(GetPixel(target.Get(), 0, 0))), CachePixel(edit, e, e));
  EXPECT_EQ(RgbOf(static_cast<TColor>(GetPixel(target.Get(), w - 2 * e - 1, h / 2))),
            CachePixel(edit, w - e - 1, h / 2));
  // Nothing beyond the client area.
  EXPECT_EQ(GetPixel(target.Get(), w - 2 * e, h / 2), RGB(1, 254, 3));
  EXPECT_EQ(GetPixel(target.Get(), w / 2, h - 2 * e), RGB(1, 254, 3));
}

}  // namespace
