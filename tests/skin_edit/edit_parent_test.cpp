// The skinned edit over its parent: the key-coloured corners of the skin's
// frame show what the parent shows there, on a plain form and inside a
// skinned group box (where the panel's value boxes stand).
#include "edit_scene.h"
#include "skin/controls/group_box.h"

namespace {

uint32_t BoxCachePixel(TsGroupBox* Box, int X, int Y) {
  const PixelView v = ArgbView(Box->SkinData()->CacheBitmap);
  return v.Contains(X, Y) ? v.At(X, Y) & 0xFFFFFF : 0xFFFFFFFFu;
}

TEST(EditParent, FrameCornersShowTheParent) {
  for (const bool inBox : {false, true}) {
    TEditScene scene(true);
    scene.Form->SetColor(static_cast<TColor>(RGB(0, 0, 128)));
    TsGroupBox* box = nullptr;
    TWinControl* parent = scene.Form;
    if (inBox) {
      box = New<TsGroupBox>(scene.Form);
      box->SetBounds(10, 10, 260, 140);
      box->SetCaption("Reverb");
      box->SetParent(scene.Form);
      parent = box;
    }
    TsEdit* edit = New<TsEdit>(scene.Form);
    edit->SetBounds(40, 50, 90, 23);
    edit->SetParent(parent);
    PumpMessages();
    scene.Settle(edit);
    ASSERT_TRUE(edit->SkinData()->Skinned());
    const int w = edit->Width(), h = edit->Height();
    for (const POINT p : {POINT{0, 0}, POINT{w - 1, h - 1}, POINT{0, h - 1}}) {
      const uint32_t under =
          inBox ? BoxCachePixel(box, edit->Left() + p.x, edit->Top() + p.y) : 0x000080;
      EXPECT_EQ(WindowPixel(edit->Handle(), p.x, p.y), under)
          << (inBox ? "group box " : "form ") << p.x << "," << p.y;
    }
    // The face itself is the skin's.
    EXPECT_TRUE(Near(WindowPixel(edit->Handle(), w / 2, h / 2), scene.MaskFace(0)))
        << (inBox ? "group box" : "form");
  }
}

}  // namespace
