// The skinned look: the caption band from the parent, the GROUPBOX section
// below it, the caption skin and the check box's state frames, the
// background the box gives its children and the library's own erase
// request.
#include "skin/controls/track_bar.h"
#include "skin/engine/manager_options.h"
#include "skin/foundation/background_query.h"
#include "skinned_group_scene.h"
#include "tessera_parts.h"

namespace {

using test_skin::Argb;

uint32_t Rgb(int32_t Tc) {
  return Argb(Tc) & 0xFFFFFF;
}

TEST(GroupBoxSkinned, BandComesFromTheParentAndTheFrameFromTheSection) {
  TSkinnedGroupScene s;
  ASSERT_TRUE(s.Box->SkinData()->Skinned());
  const uint32_t ink = Rgb(test_skin::kInk);
  for (const int offset : {0, 6, -4}) {
    SCOPED_TRACE(offset);
    s.Box->SetCaptionYOffset(offset);
    s.Rebuild();
    const TRect cap = s.Box->CaptionRect();
    const int w = s.Box->Width(), h = s.Box->Height();
    // The frame's top row: half the band down, or the very top for a band
    // raised above the box.
    const int top = offset < 0 ? 0 : cap.Height() / 2;
    const int x = w - 4;  // right of the caption
    ASSERT_GE(x, cap.Right);
    EXPECT_EQ(s.Pixel(x, top), ink);
    EXPECT_EQ(s.Pixel(0, (top + h) / 2), ink);
    EXPECT_EQ(s.Pixel(w - 1, (top + h) / 2), ink);
    EXPECT_EQ(s.Pixel(x, h - 1), ink);
    if (top > 0) {
      EXPECT_EQ(s.Pixel(x, top - 1), s.ParentPixel(x, top - 1));
    }
    // Inside the frame the section's own colour.
    EXPECT_EQ(s.Pixel(w / 2, (top + h) / 2 + 20), Rgb(test_skin::kSand));
  }
}

TEST(GroupBoxSkinned, CaptionSkinPaintsBehindTheCaption) {
  TSkinnedGroupScene s;
  s.Box->SetCaptionSkin("GROUPBOXCAPTION");
  s.Rebuild();
  const TRect cap = s.Box->CaptionRect();
  // Inside the section's rim, left of the text's margin.
  EXPECT_EQ(s.Pixel(cap.Left + 1, cap.Top + 1),
            SkinPixel(s.Manifest, "GROUPBOXCAPTION/BORDERSMASK frame 0 face"));
  EXPECT_EQ(s.Pixel(cap.Left + 1, cap.Bottom - 2),
            SkinPixel(s.Manifest, "GROUPBOXCAPTION/BORDERSMASK frame 0 face"));
}

TEST(GroupBoxSkinned, CheckBoxShowsTheFrameOfItsStateAndValue) {
  TSkinnedGroupScene s;
  s.Box->SetCheckBoxVisible(true);
  const auto face = [&](bool Checked, int Frame) {
    return SkinPixel(s.Manifest, std::string("GLOBALINFO/") +
                                     (Checked ? "BOXCHECKED" : "BOXUNCHECKED") + " frame " +
                                     std::to_string(Frame) + " face");
  };
  const auto boxFace = [&] {
    const TRect r = s.Box->CheckBoxRect();
    return s.Pixel(r.Left + 3, r.Top + 3);
  };
  for (const bool checked : {false, true}) {
    SCOPED_TRACE(checked);
    s.Box->SetChecked(checked);
    s.Rebuild();
    const TRect r = s.Box->CheckBoxRect();
    EXPECT_EQ(r.Width(), 13);
    EXPECT_EQ(r.Height(), 13);
    EXPECT_EQ(boxFace(), face(checked, 0));
    const TRect cap = s.Box->CaptionRect();
    const LPARAM p = MAKELPARAM((cap.Left + cap.Right) / 2, (cap.Top + cap.Bottom) / 2);
    // Hovered, pressed, then released in place: toggled, and shown hot.
    s.Manager->Effects()->SetAllowAnimation(false);
    SendMessageA(s.Box->Handle(), WM_MOUSEMOVE, 0, p);
    EXPECT_EQ(boxFace(), face(checked, 1));
    SendMessageA(s.Box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, p);
    EXPECT_EQ(boxFace(), face(checked, 2));
    SendMessageA(s.Box->Handle(), WM_LBUTTONUP, 0, p);
    EXPECT_EQ(s.Box->Checked(), !checked);
    EXPECT_EQ(boxFace(), face(!checked, 1));
    // Away from the caption, back to the normal frame.
    SendMessageA(s.Box->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(s.Box->Width() / 2, 100));
    EXPECT_EQ(boxFace(), face(!checked, 0));
    s.Manager->Effects()->SetAllowAnimation(true);
  }
}

TEST(GroupBoxSkinned, ChildTakesItsBackgroundFromTheBox) {
  TSkinnedGroupScene s;
  TsTrackBar* child = New<TsTrackBar>(s.Form);
  child->SetBounds(20, 40, 137, 37);
  child->SetParent(s.Box);
  PumpMessages();
  ASSERT_TRUE(child->SkinData()->Skinned());
  const struct {
    const char* Name;
    const char* CaptionSkin;
    bool WholeCache;
  } cases[] = {{"with a caption skin", "GROUPBOXCAPTION", true}, {"plain section", "", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    s.Box->SetCaptionSkin(c.CaptionSkin);
    s.Rebuild();
    BackgroundInfo bg;
    child->SkinData()->GetParentBgInfo(bg);
    if (c.WholeCache) {
      // The caption skin makes the box's look vary: its cache is the answer.
      ASSERT_TRUE(bg.HasBitmap);
      EXPECT_EQ(bg.Bitmap, s.Box->SkinData()->CacheBitmap);
      EXPECT_EQ(bg.OffsetX, 0);
      EXPECT_EQ(bg.OffsetY, 0);
    } else {
      // A flat section: its colour, with the frame strips from the cache.
      EXPECT_FALSE(bg.HasBitmap);
      EXPECT_EQ(RgbOf(bg.Color), Rgb(test_skin::kSand));
      EXPECT_EQ(bg.Bitmap, s.Box->SkinData()->CacheBitmap);
    }
  }
}

TEST(GroupBoxSkinned, EraseWithEqualParametersCopiesTheCache) {
  TSkinnedGroupScene s;
  s.Rebuild();
  const int w = s.Box->Width(), h = s.Box->Height();
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bmp);
  const COLORREF marker = RGB(1, 254, 3);
  const auto clear = [&] {
    HBRUSH b = CreateSolidBrush(marker);
    RECT r{0, 0, w, h};
    FillRect(dc, &r, b);
    DeleteObject(b);
  };
  const WPARAM d = reinterpret_cast<WPARAM>(dc);
  clear();
  // The system's erase: answered, nothing painted.
  EXPECT_EQ(SendMessageA(s.Box->Handle(), WM_ERASEBKGND, d, 0), 1);
  EXPECT_EQ(GetPixel(dc, w / 2, h / 2), marker);
  // The library's own request.
  EXPECT_EQ(SendMessageA(s.Box->Handle(), WM_ERASEBKGND, d, static_cast<LPARAM>(d)), 1);
  for (const POINT p : {POINT{0, h / 2}, POINT{w / 2, h / 2}, POINT{w - 4, 1}})
    EXPECT_EQ(RgbOf(static_cast<TColor>(GetPixel(dc, p.x, p.y))), s.Pixel(p.x, p.y))
        << p.x << "," << p.y;
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

}  // namespace
