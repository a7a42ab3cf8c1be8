// A form with push buttons, the owner-draw request drawn into a bitmap, and
// the pixels of what a button drew.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <uxtheme.h>

#include <memory>

#include "skin/controls/button.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "tests/support/rgb_compare.h"
#include "tests/support/pump_messages.h"
#include "widgets/forms/forms.h"

// The classic look for one window while the scope lives: a class list
// that names no themed class leaves the window without theme data (the
// platform under test ignores an empty one and the process-wide switch).
class TClassicScope {
 public:
  explicit TClassicScope(HWND Wnd) : wnd_(Wnd) { SetWindowTheme(wnd_, L" ", L" "); }
  ~TClassicScope() { SetWindowTheme(wnd_, nullptr, nullptr); }
  TClassicScope(const TClassicScope&) = delete;
  TClassicScope& operator=(const TClassicScope&) = delete;

 private:
  HWND wnd_;
};

// What the parent's owner-draw request makes the button draw, on a bitmap
// of its size.
inline std::unique_ptr<TBitmap> DrawItem(TsButton* Button, UINT ItemState) {
  auto bitmap = std::unique_ptr<TBitmap>(NewArgbBitmap(Button->Width(), Button->Height()));
  DRAWITEMSTRUCT item{};
  item.CtlType = ODT_BUTTON;
  item.itemAction = ODA_DRAWENTIRE;
  item.itemState = ItemState;
  item.hwndItem = Button->Handle();
  item.hDC = bitmap->Canvas()->Handle();
  item.rcItem = RECT{0, 0, Button->Width(), Button->Height()};
  Button->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  return bitmap;
}

inline uint32_t RgbAt(TBitmap* Bitmap, int X, int Y) {
  return ArgbView(Bitmap).At(X, Y) & 0xFFFFFF;
}

class ButtonForm : public testing::Test {
 protected:
  void SetUp() override {
    // Off the form, whatever an earlier test left: a button under the
    // cursor would start hot.
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    Form->SetBounds(40, 40, 320, 200);
  }
  void TearDown() override {
    if (Form) TObject::Free(Form);
    PumpMessages();
  }
  TsButton* NewButton(int Left, int Top, int Width, int Height, const char* Caption) {
    auto* b = New<TsButton>(Form);
    b->SetBounds(Left, Top, Width, Height);
    b->SetCaption(Caption);
    b->SetParent(Form);
    return b;
  }
  TForm* Form = nullptr;
};
