// A form with one track bar, and the pixels of its cache.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include "skin/controls/track_bar.h"
#include "skin/foundation/argb_bitmap.h"
#include "tests/support/pump_messages.h"
#include "widgets/forms/forms.h"

inline uint32_t CachePixel(TsTrackBar* Bar, int X, int Y) {
  const PixelView v = ArgbView(Bar->SkinData()->CacheBitmap);
  return v.Contains(X, Y) ? v.At(X, Y) & 0xFFFFFF : 0xFFFFFFFFu;
}

class TrackBarFixture : public testing::Test {
 protected:
  void SetUp() override {
    // Off the form, whatever an earlier test left: a bar under the cursor
    // would start hot.
    SetCursorPos(0, 0);
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    Form->SetBounds(40, 40, 320, 260);
    Bar = New<TsTrackBar>(Form);
    Bar->SetBounds(10, 10, 137, 37);
    Bar->SetParent(Form);
    Bar->SetMax(127);
    Bar->SetFrequency(12);
    Bar->SetPosition(26);
    Form->Show();
    PumpMessages();
  }
  void TearDown() override {
    TObject::Free(Form);
    PumpMessages();
  }
  TForm* Form = nullptr;
  TsTrackBar* Bar = nullptr;
};
