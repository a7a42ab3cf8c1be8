// The push button under the generated test skin: the mask frame each state
// paints, the window region cut to the skin's transparent corners and given
// up with the skin, a print that leaves a pending repaint pending, the
// GDI objects over many buttons, and hints given back after a lost release.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "button_fixture.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/skin_commands.h"
#include "started_skin_manager.h"
#include "widgets/controls/comctrls.h"
#include "widgets/controls/stdctrls.h"

namespace {

// A form with one push button under a variant of the test skin, loaded
// through the real SkinName.
class TButtonScene {
 public:
  TButtonScene(const std::string& Variant, const char* Section, int W, int H)
      : skin_("btscene", Variant) {
    Manifest = skin_.Manifest();
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    Form->SetBounds(880, 600, 320, 200);
    Button = New<TsButton>(Form);
    Button->SetBounds(20, 20, W, H);
    if (Section) Button->SkinData()->SetSkinSection(Section);
    Button->SetParent(Form);
    Form->Show();
    Manager = test_skin::StartSkinManager(Form, skin_);
    // Neither focused nor hot: the normal state.
    SetFocus(Form->Handle());
    PumpMessages();
    Button->SkinData()->Hot = false;
  }
  ~TButtonScene() {
    ReleaseCapture();
    TObject::Free(Form);
    PumpMessages();
  }
  TButtonScene(const TButtonScene&) = delete;
  TButtonScene& operator=(const TButtonScene&) = delete;

  uint32_t CachePixel(int X, int Y) { return RgbAt(Button->SkinData()->CacheBitmap, X, Y); }
  // Paints now and answers the window's region; null when it has none.
  TOwnedRegion WindowRegion() {
    RedrawWindow(Button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    TOwnedRegion r(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(Button->Handle(), r.Get()) == ERROR) return {};
    return r;
  }

  test_skin::TestSkinManifest Manifest;
  TForm* Form = nullptr;
  TsButton* Button = nullptr;
  TsSkinManager* Manager = nullptr;

 private:
  test_skin::TempTestSkin skin_;
};

TEST(SkinnedButton, EachStatePaintsItsMaskFrame) {
  TButtonScene scene("tessera", nullptr, 60, 30);
  TsButton* b = scene.Button;
  ASSERT_TRUE(b->Skinned());
  b->SetCaption("");
  const std::string face = "BUTTON/BORDERSMASK frame ";
  const struct {
    const char* what;
    bool hot, down, isDefault;
    int frame;
  } cases[] = {
      {"normal", false, false, false, 0}, {"hot", true, false, false, 1},
      {"down", false, true, false, 2},    {"hot and down", true, true, false, 2},
      {"default", false, false, true, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    b->SkinData()->Hot = c.hot;
    b->SetDown(c.down);
    b->SetDefault(c.isDefault);
    ASSERT_TRUE(b->PaintSkinnedCache());
    // Inside the 5-pixel border: the frame's face.
    EXPECT_EQ(scene.CachePixel(30, 15),
              SkinPixel(scene.Manifest, face + std::to_string(c.frame) + " face"));
    EXPECT_EQ(scene.CachePixel(8, 8), scene.CachePixel(30, 15));
  }
  b->SkinData()->Hot = false;
  b->SetDown(false);
  b->SetDefault(false);
}

TEST(SkinnedButton, ShowsItsFaceWhereverItLies) {
  // Drawing switched off and on while the skin arrives must not cost the
  // button its first paint, whatever plain controls lie between it and the
  // form.
  enum Place { kOnForm, kInGroup, kInPage };
  for (Place place : {kOnForm, kInGroup, kInPage}) {
    SCOPED_TRACE(place);
    const test_skin::TempTestSkin skin("btplace", "tessera");
    const test_skin::TestSkinManifest& manifest = skin.Manifest();
    SetCursorPos(0, 0);
    auto form = OwnObject(New<TForm>(Application, TCustomForm::TCreateNew{}));
    form->SetBounds(880, 600, 320, 200);
    TWinControl* parent = form.get();
    if (place == kInPage) {
      auto* pages = New<TPageControl>(form.get());
      pages->SetBounds(2, 2, 300, 180);
      pages->SetParent(form.get());
      auto* sheet = New<TTabSheet>(form.get());
      sheet->SetPageControl(pages);
      pages->SetActivePage(sheet);
      parent = sheet;
    }
    if (place != kOnForm) {
      auto* group = New<TGroupBox>(form.get());
      group->SetBounds(5, 5, 200, 150);
      group->SetParent(parent);
      parent = group;
    }
    auto* b = New<TsButton>(form.get());
    b->SetBounds(20, 20, 60, 30);
    b->SetParent(parent);
    test_skin::StartSkinManager(form.get(), skin);
    form->Show();
    SetFocus(form->Handle());
    PumpMessages();
    ASSERT_TRUE(b->Skinned());
    EXPECT_FALSE(GetUpdateRect(b->Handle(), nullptr, FALSE));
    ASSERT_EQ(b->SkinData()->CacheBitmap->Width(), 60) << "painted";
    EXPECT_EQ(RgbAt(b->SkinData()->CacheBitmap, 30, 5),
              SkinPixel(manifest, "BUTTON/BORDERSMASK frame 0 face"));
    form.reset();
    PumpMessages();
  }
}

TEST(SkinnedButton, TheRegionLeavesOutTheCornersAndGoesWithTheSkin) {
  const struct {
    const char* variant;
    const char* section;
    bool region;  // the window has a region
    bool cut;     // its corners are cut in the normal state
  } cases[] = {
      {"tessera", "BUTTON_HUGE", true, true},
      // Its mask has transparent corners but leaves the window alone.
      {"tessera", nullptr, false, false},
      // The normal state shows the section's face alone: the region keeps
      // the whole rectangle.
      {"button-no-normal-frame", "BUTTON_HUGE", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.variant << " " << (c.section ? c.section : "BUTTON"));
    TButtonScene scene(c.variant, c.section, 72, 40);
    TsButton* b = scene.Button;
    ASSERT_TRUE(b->Skinned());
    TOwnedRegion region = scene.WindowRegion();
    ASSERT_EQ(static_cast<bool>(region), c.region);
    if (c.region) {
      for (POINT p : {POINT{0, 0}, POINT{1, 0}, POINT{71, 0}, POINT{0, 39}, POINT{71, 39}})
        EXPECT_NE(PtInRegion(region.Get(), p.x, p.y), c.cut) << p.x << "," << p.y;
      for (POINT p : {POINT{1, 1}, POINT{36, 20}, POINT{70, 38}, POINT{71, 1}})
        EXPECT_TRUE(PtInRegion(region.Get(), p.x, p.y)) << p.x << "," << p.y;
      // A print of the button leaves the window's pending repaint pending.
      InvalidateRect(b->Handle(), nullptr, FALSE);
      auto target = std::unique_ptr<TBitmap>(NewArgbBitmap(72, 40));
      SendMessageA(b->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(target->Canvas()->Handle()),
                   PRF_CLIENT);
      EXPECT_TRUE(GetUpdateRect(b->Handle(), nullptr, FALSE));
      PumpMessages();
    }
    // Without the skin the window has its whole rectangle again.
    scene.Manager->SetActive(false);
    PumpMessages();
    EXPECT_FALSE(b->Skinned());
    TOwnedRegion none(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(b->Handle(), none.Get()), ERROR);
  }
}

TEST(SkinnedButton, GdiObjectsStaySteadyOverManyButtons) {
  TButtonScene scene("tessera", "BUTTON_HUGE", 72, 40);
  auto cycle = [&] {
    auto* b = New<TsButton>(scene.Form);
    b->SetBounds(100, 20, 72, 40);
    b->SkinData()->SetSkinSection("BUTTON_HUGE");
    b->SetParent(scene.Form);
    b->SetCaption("Go");
    RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // Prints build regions that never reach the window.
    auto target = std::unique_ptr<TBitmap>(NewArgbBitmap(72, 40));
    for (int i = 0; i < 3; ++i)
      SendMessageA(b->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(target->Canvas()->Handle()),
                   PRF_CLIENT);
    TObject::Free(b);
    PumpMessages();
  };
  for (int i = 0; i < 5; ++i) cycle();
  const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int i = 0; i < 60; ++i) cycle();
  const DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  EXPECT_LE(after, before + 5) << before << " -> " << after;
}

TEST(SkinnedButton, HintsComeBackWhenTheReleaseIsLost) {
  enum Loss { kCaptureChanged, kCancelMode, kDestroyed };
  for (Loss loss : {kCaptureChanged, kCancelMode, kDestroyed}) {
    SCOPED_TRACE(loss);
    TButtonScene scene("tessera", nullptr, 60, 30);
    Application->SetShowHint(true);
    TsButton* b = scene.Button;
    SendMessageA(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_FALSE(Application->ShowHint()) << "off while the button is held";
    switch (loss) {
      case kCaptureChanged:
        SendMessageA(b->Handle(), WM_CAPTURECHANGED, 0, 0);
        break;
      case kCancelMode:
        SendMessageA(b->Handle(), WM_CANCELMODE, 0, 0);
        break;
      case kDestroyed:
        TObject::Free(b);
        break;
    }
    EXPECT_TRUE(Application->ShowHint());
    ReleaseCapture();
  }
}

}  // namespace
