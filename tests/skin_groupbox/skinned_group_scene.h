// A form with one group box under the generated test skin, loaded through
// the real SkinName, and the manifest's colours the pixel tests compare.
#pragma once

#include <stdexcept>
#include <string>

#include "groupbox_fixture.h"
#include "skin/engine/skin_manager.h"
#include "started_skin_manager.h"

class TSkinnedGroupScene {
 public:
  TSkinnedGroupScene() : skin_("gbscene") {
    Manifest = skin_.Manifest();
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    // Away from where other test programs on the display move the cursor.
    Form->SetBounds(860, 600, 340, 260);
    Box = New<TsGroupBox>(Form);
    Box->SetBounds(12, 14, 223, 143);
    Box->SetCaption("Reverb");
    Box->SetParent(Form);
    Form->Show();
    PumpMessages();
    Manager = test_skin::StartSkinManager(Form, skin_);
    SetFocus(Form->Handle());
    PumpMessages();
  }
  ~TSkinnedGroupScene() {
    ReleaseCapture();
    TObject::Free(Form);
    PumpMessages();
  }
  TSkinnedGroupScene(const TSkinnedGroupScene&) = delete;
  TSkinnedGroupScene& operator=(const TSkinnedGroupScene&) = delete;

  // The cache as the box builds it now.
  void Rebuild() { ASSERT_TRUE(Box->PrepareCache()); }
  uint32_t Pixel(int X, int Y) const { return CachePixel(Box, X, Y); }
  // What the form answers a child at the box's place, at (X, Y) of the box.
  uint32_t ParentPixel(int X, int Y) const {
    BackgroundRequest r;
    r.OffsetX = Box->Left();
    r.OffsetY = Box->Top();
    QueryControlBackground(r, Form, false);
    if (r.Kind == bgBitmap && r.Bitmap) {
      const PixelView v = ArgbView(r.Bitmap);
      return v.At(r.OffsetX + Box->Left() + X, r.OffsetY + Box->Top() + Y) & 0xFFFFFF;
    }
    return RgbOf(r.Color);
  }

  test_skin::TestSkinManifest Manifest;
  TForm* Form = nullptr;
  TsGroupBox* Box = nullptr;
  TsSkinManager* Manager = nullptr;

 private:
  test_skin::TempTestSkin skin_;
};
