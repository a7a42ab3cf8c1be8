// The start of a fade: the picture it fades to is the control's repainted
// cache, with a button's graphic children (glyphs, labels) on it.
#include <gtest/gtest.h>

#include "probe.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/glow_effects.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/controls/stdctrls.h"

namespace {

constexpr uint32_t kOld = 0xFF0000FF;    // opaque blue
constexpr uint32_t kNew = 0xFFFF0000;    // opaque red
constexpr uint32_t kChild = 0xFF00FF00;  // opaque green

void Fill(TBitmap* B, uint32_t Pixel) {
  const PixelView v = ArgbView(B);
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) v.At(x, y) = Pixel;
}

// Repaints its cache in the new look when asked; its background is white.
bool PaintNewLook(TControl* Self, TMessage& M, TsCommonData* Data) {
  switch (SkinCmdCode(M.WParam)) {
    case SkinCmdPrepareCache:
      Fill(Data->CacheBitmap, kNew);
      M.Result = 1;
      return true;
    case SkinCmdGetBackground: {
      auto* r = reinterpret_cast<BackgroundRequest*>(M.LParam);
      r->Kind = bgColor;
      r->Color = clWhite;
      return true;
    }
    default:
      (void)Self;
      return false;
  }
}

class TFadingButton : public TButtonControl {
 public:
  using TButtonControl::TButtonControl;
  ~TFadingButton() override { TObject::Free(SkinData); }
  void WndProc(TMessage& M) override {
    if (M.Msg == SkinCommandMessage && SkinData && PaintNewLook(this, M, SkinData)) return;
    TButtonControl::WndProc(M);
  }
  TsCommonData* SkinData = nullptr;
};

bool ProbeNewLook(TControl* Self, TMessage& M) {
  return PaintNewLook(Self, M, static_cast<TProbeControl*>(Self)->SkinData);
}

// A glyph that paints itself green.
class TGreenGlyph : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  void WndProc(TMessage& M) override {
    if (M.Msg == WM_PAINT && M.WParam) {
      RECT r{0, 0, Width(), Height()};
      HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
      FillRect(reinterpret_cast<HDC>(M.WParam), &r, green);
      DeleteObject(green);
      return;
    }
    TGraphicControl::WndProc(M);
  }
};

using FadeStartTest = FormFixture;

TEST_F(FadeStartTest, AButtonsGraphicChildrenAreInThePictureItFadesTo) {
  for (bool button : {true, false}) {
    SCOPED_TRACE(button ? "button" : "other control");
    TWinControl* host = nullptr;
    TsCommonData* data = nullptr;
    if (button) {
      auto* b = New<TFadingButton>(Form);
      b->SetParent(Form);
      data = b->SkinData = new TsCommonData(b, true);
      host = b;
    } else {
      TProbeControl* p = AddProbe(Form, "Other");
      p->Answer = ProbeNewLook;
      data = p->SkinData = new TsCommonData(p, true);
      host = p;
    }
    host->SetBounds(10, 10, 40, 20);
    host->HandleNeeded();
    auto* glyph = New<TGreenGlyph>(Form);
    glyph->SetBounds(4, 5, 6, 6);
    glyph->SetParent(host);
    Form->Show();
    data->CacheBitmap->SetWidth(40);
    data->CacheBitmap->SetHeight(20);
    Fill(data->CacheBitmap, kOld);
    data->BgChanged = true;

    StartFade(data, 2, FadeStep, false);
    const TvlThreadedTimer* t = data->AnimTimer;
    ASSERT_TRUE(t && t->OldImage && t->NewImage);
    EXPECT_EQ(ArgbView(t->OldImage).At(6, 7), kOld);
    EXPECT_EQ(ArgbView(t->NewImage).At(1, 1), kNew);
    // Other controls paint their graphic children themselves.
    EXPECT_EQ(ArgbView(t->NewImage).At(6, 7) & 0xFFFFFF, (button ? kChild : kNew) & 0xFFFFFF);
    StopAnimation(data);
    TObject::Free(host);
  }
}

}  // namespace
