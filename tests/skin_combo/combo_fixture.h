// A form with one combo box, plain or under a variant of the generated test
// skin loaded through the real SkinName, and what the tests read from it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>

#include "skin/controls/combo_box.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "started_skin_manager.h"
#include "tests/support/rgb_compare.h"
#include "tests/support/pump_messages.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"

// 0xRRGGBB of a 32-bit bitmap's pixel.
inline uint32_t PixelOf(TBitmap* B, int X, int Y) {
  const PixelView v = ArgbView(B);
  return v.Contains(X, Y) ? v.At(X, Y) & 0xFFFFFF : 0xFFFFFFFFu;
}

// How many pixels of R lie within Tolerance of Colour.
inline int CountNear(TBitmap* B, const TRect& R, uint32_t Colour, int Tolerance) {
  int n = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (Near(PixelOf(B, x, y), Colour, Tolerance)) ++n;
  return n;
}

class TComboScene {
 public:
  // Variant nil: no skin manager at all.
  explicit TComboScene(const char* Variant = nullptr, TComboBoxStyle Style = csDropDownList,
                       const char* Section = "") {
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    // Away from where other test programs on the display move the cursor.
    Form->SetBounds(820, 560, 360, 240);
    Combo = New<TsComboBox>(Form);
    Combo->SetStyle(Style);
    Combo->SetBounds(16, 20, 180, 24);
    for (const char* item : {"Room1", "Room2", "Hall1", "Hall2", "Plate"})
      Combo->Items()->Add(item);
    Combo->SetItemIndex(1);
    if (*Section) Combo->SkinData()->SetSkinSection(Section);
    Combo->SetParent(Form);
    Form->Show();
    PumpMessages();
    if (Variant) LoadSkin(Variant);
  }
  ~TComboScene() {
    ReleaseCapture();
    TObject::Free(Form);
    PumpMessages();
  }
  TComboScene(const TComboScene&) = delete;
  TComboScene& operator=(const TComboScene&) = delete;

  void LoadSkin(const char* Variant) {
    skin_.emplace("comboscene", Variant);
    Manifest = skin_->Manifest();
    Manager = test_skin::StartSkinManager(Form, *skin_);
    PumpMessages();
  }

  // The manifest's pixel of that description, as the loader gives it.
  uint32_t SkinPixel(const std::string& What) const { return test_skin::SkinPixel(Manifest, What); }

  const TsGeneralData& Section(const std::string& Name) const {
    return Manager->Sections[static_cast<size_t>(FindSectionIndex(Manager, Name))];
  }

  TForm* Form = nullptr;
  TsComboBox* Combo = nullptr;
  TsSkinManager* Manager = nullptr;
  test_skin::TestSkinManifest Manifest;

 private:
  std::optional<test_skin::TempTestSkin> skin_;
};

// The combo's canvas on a 32-bit bitmap for one drawing.
class TItemCanvas {
 public:
  TItemCanvas(TsCustomComboBox* Combo, int Width, int Height, TColor Fill = clFuchsia)
      : combo_(Combo), bitmap_(New<TBitmap>()) {
    bitmap_->SetPixelFormat(pf32bit);
    bitmap_->SetHandleType(bmDIB);
    bitmap_->SetWidth(Width);
    bitmap_->SetHeight(Height);
    bitmap_->Canvas()->Brush()->SetColor(Fill);
    bitmap_->Canvas()->FillRect(TRect(0, 0, Width, Height));
    bitmap_->Canvas()->Lock();
    combo_->Canvas()->SetHandle(bitmap_->Canvas()->Handle());
  }
  ~TItemCanvas() {
    combo_->Canvas()->SetHandle(nullptr);
    bitmap_->Canvas()->Unlock();
    TObject::Free(bitmap_);
  }
  TItemCanvas(const TItemCanvas&) = delete;
  TItemCanvas& operator=(const TItemCanvas&) = delete;
  TBitmap* Bitmap() const { return bitmap_; }

 private:
  TsCustomComboBox* combo_;
  TBitmap* bitmap_;
};
