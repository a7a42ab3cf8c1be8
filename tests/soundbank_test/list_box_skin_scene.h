// A form with TsListBox controls under the generated test skin, in this
// process, with freed adapters poisoned: what the skinned list box tests
// build on, and the pixel reading they share.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "skin/adapters/adapter_base.h"
#include "skin/adapters/edit_wnd.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "soundbank_test/slistbox.h"
#include "started_skin_manager.h"
#include "temp_test_skin.h"
#include "test_skin.h"
#include "test_support.h"
#include "tests/support/rgb_compare.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/bitmap.h"

// A use of a freed adapter reads poison, not a plausible object.
inline const bool kListBoxAdaptersPoisoned = (PoisonFreedAdapters = true);

namespace list_box_scene {

inline int CountNear(const TCapture& c, const TRect& r, COLORREF colour, int tolerance = 0) {
  int n = 0;
  for (int y = std::max(0, r.Top); y < std::min(c.Height, r.Bottom); ++y)
    for (int x = std::max(0, r.Left); x < std::min(c.Width, r.Right); ++x)
      if (Near(c.At(x, y), colour, tolerance)) ++n;
  return n;
}

// A window's pixel as the screen shows it (window coordinates).
inline COLORREF WindowPixel(HWND wnd, int x, int y) {
  HDC dc = GetWindowDC(wnd);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(wnd, dc);
  return c;
}

// The cache's pixel at a window position, as COLORREF.
inline COLORREF CachePixel(TsCustomListBox* box, int x, int y) {
  TBitmap* cache = box->SkinData()->CacheBitmap;
  return GetPixel(cache->Canvas()->Handle(), x, y) & 0xFFFFFF;
}

inline TRect ItemRect(TWinControl* box, int index) {
  RECT r{};
  SendMessageA(box->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&r));
  return r;
}

// The client origin in window coordinates.
inline POINT ClientOrigin(HWND wnd) {
  RECT w;
  GetWindowRect(wnd, &w);
  POINT p{0, 0};
  ClientToScreen(wnd, &p);
  return {p.x - w.left, p.y - w.top};
}

inline void Repaint(TWinControl* c) {
  RedrawWindow(c->Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  Pump();
}

// A manifest colour (a description's TColor, red in the low byte) or pixel
// (0xRRGGBB) as the COLORREF a capture holds.
inline COLORREF FromTColor(int32_t c) {
  return static_cast<COLORREF>(c) & 0xFFFFFF;
}
inline COLORREF FromPixel(uint32_t v) {
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

class Scene : public testing::Test {
 protected:
  void TearDown() override {
    TObject::Free(form_);
    form_ = nullptr;
    Pump();
    skin_.reset();
  }

  void Start(const char* variant) {
    ASSERT_TRUE(kListBoxAdaptersPoisoned);
    TObject::Free(form_);
    form_ = New<TForm>(Application, TCustomForm::TCreateNew{});
    form_->SetBounds(40, 40, 420, 300);
    form_->Show();
    SetWindowPos(form_->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    skin_ = std::make_unique<test_skin::TempTestSkin>("lbskin", variant);
    manifest_ = skin_->Manifest();
    manager_ = test_skin::StartSkinManager(form_, *skin_);
    Pump();
  }

  template <typename T = TsListBox>
  T* AddBox(int items, int left = 10, int top = 10, const std::string& text = "Port ") {
    auto* box = New<T>(form_);
    box->SetParent(form_);
    box->SetBounds(left, top, 166, 141);
    for (int i = 0; i < items; ++i)
      box->Items()->Add(text.empty() ? std::string() : text + std::to_string(i));
    box->HandleNeeded();
    Pump();
    return box;
  }

  // Gives c the keyboard focus. A form just shown may not be the active
  // window yet (the display answers in its own time): it is brought forward
  // until the focus lands, within a bound.
  void Focus(TWinControl* c) {
    for (int i = 0; i < 100 && GetFocus() != c->Handle(); ++i) {
      SetForegroundWindow(form_->Handle());
      c->SetFocus();
      Pump();
      if (GetFocus() != c->Handle()) Sleep(20);
    }
    ASSERT_EQ(GetFocus(), c->Handle());
  }

  // The manifest's pixel of that description.
  COLORREF SkinPixel(const std::string& what) const {
    return FromPixel(test_skin::SkinPixel(manifest_, what));
  }
  // A state of a section as the manifest states it.
  const test_skin::MfState& SectionState(const char* name, int state) const {
    const int i = manifest_.SectionIndex(name);
    if (i < 0) throw std::logic_error(std::string("no section ") + name);
    return manifest_.Sections[static_cast<size_t>(i)].States[static_cast<size_t>(state)];
  }

  TForm* form_ = nullptr;
  TsSkinManager* manager_ = nullptr;
  test_skin::TestSkinManifest manifest_;
  std::unique_ptr<test_skin::TempTestSkin> skin_;
};

}  // namespace list_box_scene
