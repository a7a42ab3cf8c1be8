// A form with one group box, and what the tests read from it.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "skin/controls/group_box.h"
#include "skin/foundation/argb_bitmap.h"
#include "tests/support/rgb_compare.h"
#include "tests/support/pump_messages.h"
#include "widgets/forms/forms.h"

// 0xRRGGBB of a cache pixel.
inline uint32_t CachePixel(TsGroupBox* Box, int X, int Y) {
  const PixelView v = ArgbView(Box->SkinData()->CacheBitmap);
  return v.Contains(X, Y) ? v.At(X, Y) & 0xFFFFFF : 0xFFFFFFFFu;
}

// Text extent in the box's font, measured apart from the box.
inline SIZE TextSizeIn(TsGroupBox* Box, const std::string& Text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Box->Font()->Handle());
  SIZE s{};
  GetTextExtentPoint32A(dc, Text.c_str(), static_cast<int>(Text.size()), &s);
  SelectObject(dc, old);
  DeleteDC(dc);
  return s;
}

inline LPARAM At(int X, int Y) {
  return MAKELPARAM(X, Y);
}

class GroupBoxFixture : public testing::Test {
 protected:
  void SetUp() override {
    // Off the form: a box under the cursor would start hot.
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    Form->SetBounds(60, 60, 360, 300);
    Box = New<TsGroupBox>(Form);
    Box->SetBounds(10, 10, 263, 143);
    Box->SetParent(Form);
    Form->Show();
    PumpMessages();
  }
  void TearDown() override {
    ReleaseCapture();
    TObject::Free(Form);
    PumpMessages();
  }
  TForm* Form = nullptr;
  TsGroupBox* Box = nullptr;
};
