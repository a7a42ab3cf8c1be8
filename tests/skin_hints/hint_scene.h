// What the show tests share: the recorder of layered pushes, the test
// manager made active, a monitor of known size, and the skin loaded when a
// test wants skinned hints.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <list>
#include <memory>
#include <string>

#include "layered_recorder.h"
#include "skin/controls/alpha_hints.h"
#include "skin/engine/skin_manager.h"
#include "test_hint_manager.h"
#include "started_skin_manager.h"
#include "tests/support/pump_messages.h"
#include "widgets/forms/forms.h"

inline const TRect kSceneMonitor{0, 0, 1600, 1200};

inline bool SceneMonitor(const TPoint&, TRect& Monitor) {
  Monitor = kSceneMonitor;
  return true;
}

inline int Channel(uint32_t Argb, int Shift) {
  return int((Argb >> Shift) & 0xFF);
}

inline bool NearArgb(uint32_t A, uint32_t B, int Tolerance) {
  for (int n = 0; n < 32; n += 8)
    if (std::abs(Channel(A, n) - Channel(B, n)) > Tolerance) return false;
  return true;
}

// Pixels of the push inside Rect whose colour is far from Face: the text.
inline int InkPixels(const LayeredPush& P, const TRect& Rect, uint32_t Face) {
  int n = 0;
  for (int y = Rect.Top; y < Rect.Bottom; ++y)
    for (int x = Rect.Left; x < Rect.Right; ++x) {
      const uint32_t c = P.At(x, y);
      int d = 0;
      for (int s = 0; s < 24; s += 8) d = std::max(d, std::abs(Channel(c, s) - Channel(Face, s)));
      if (d > 80) ++n;
    }
  return n;
}

class HintScene : public testing::Test {
 protected:
  void SetUp() override {
    SetHintMonitorQuery(&SceneMonitor);
    // Off every control, so the control under the mouse stays nil.
    SetCursorPos(kSceneMonitor.Right - 1, kSceneMonitor.Bottom - 1);
    Manager = std::make_unique<test_hints::TTestHintManager>();
    Manager->Set.Animated = false;
    ActiveHintManager = Manager.get();
    savedPause_ = Application->HintPause();
  }
  void TearDown() override {
    ActiveHintManager = nullptr;
    Manager.reset();
    if (Holder) TObject::Free(Holder);
    Holder = nullptr;
    PumpMessages();
    SetHintMonitorQuery(nullptr);
    Application->SetHintPause(savedPause_);
    skins_.clear();
  }

  // Loads a variant of the test skin into an active skin manager.
  void LoadSkin(const std::string& Variant) {
    // Kept to the end of the test: the manager of an earlier call lives on.
    const test_skin::TempTestSkin& files = skins_.emplace_back("hints", Variant);
    Manifest = files.Manifest();
    Holder = New<TForm>(Application, TCustomForm::TCreateNew{});
    Skin = test_skin::StartSkinManager(Holder, files);
    ASSERT_TRUE(Skin->Active());
    Manager->Set.Skinned = true;
  }

  TvlCustomHintWindow* Show(const TPoint& Point, const std::string& Text, int Timeout = 0) {
    return dynamic_cast<TvlCustomHintWindow*>(ShowHintAt(Manager.get(), Point, Text, Timeout));
  }

  LayeredRecorder Recorder;
  std::unique_ptr<test_hints::TTestHintManager> Manager;
  TForm* Holder = nullptr;
  TsSkinManager* Skin = nullptr;
  test_skin::TestSkinManifest Manifest;

 private:
  std::list<test_skin::TempTestSkin> skins_;
  int savedPause_ = 500;
};
