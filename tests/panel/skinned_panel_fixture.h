// What the end-to-end tests of the skinned panel share: VarnelSkinned.exe
// started on a freshly written test skin (from its folder or packed into one
// archive), the mouse parked away from the panel, and bounded waits for what
// the screen shows.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <functional>
#include <string>

#include "archive_writer.h"
#include "tests/panel/panel_e2e_fixture.h"
#include "tests/panel/skinned_slider_look.h"
#include "tests/support/e2e/skinned_program.h"

namespace panel_e2e {

// Long enough for a slow machine to show what it was asked to; the polls
// end as soon as the screen shows it.
constexpr DWORD kShowTimeoutMs = 3000;

// Somewhere no window of the panel lies, so that no slider is hot.
using e2e::ParkMouse;

inline POINT ScreenCentre(const RECT& WindowRelative, HWND Wnd) {
  RECT w{};
  GetWindowRect(Wnd, &w);
  return {w.left + (WindowRelative.left + WindowRelative.right) / 2,
          w.top + (WindowRelative.top + WindowRelative.bottom) / 2};
}

inline int Position(HWND Slider) {
  DWORD_PTR pos = 0;
  SendMessageTimeoutA(Slider, TBM_GETPOS, 0, 0, SMTO_NORMAL, 5000, &pos);
  return static_cast<int>(pos);
}

using e2e::CaptureOf;

using e2e::TSkinSource;

class SkinnedPanelEndToEnd : public PanelEndToEnd {
 protected:
  void SetUp() override { ParkMouse(); }
  void TearDown() override {
    PanelEndToEnd::TearDown();
    skin_.reset();
  }
  void StartSkinnedPanel(const std::string& variant = test_skin::kSoundVariant,
                         TSkinSource source = TSkinSource::Folder) {
    skin_.reset();
    skin_ = std::make_unique<e2e::TTestSkinFolder>("skinned-panel", variant, source);
    dir_ = skin_->Directory();
    StartPanel(TwoPorts(), skin_->Arguments(), "VarnelSkinned.exe");
  }
  // The state a slider of the panel starts in: a focused slider shows its
  // hot state; the "3D" ones start disabled.
  static TSliderState StartState(HWND s) {
    return !IsWindowEnabled(s) ? Disabled() : e2e::FocusOf(s) == s ? Hot() : Normal();
  }
  void SaveMainWindow(const std::string& Name) {
    e2e::SaveCapture(e2e::CaptureWindow(program_->MainWindow()), Name);
  }
  // Polls the screen until the slider shows the skin's look in State (or
  // the time is up); the mismatches of the last capture, empty when it does.
  std::string AwaitLook(const TSkinnedSliderLook& look, HWND slider, const TSliderState& state,
                        uint32_t background) {
    const TSliderGeometry g = MeasureSlider(slider);
    std::string last;
    e2e::PollUntil(kShowTimeoutMs, [&] {
      last = look.Mismatches(e2e::CaptureWindow(slider), g, state, background);
      return last.empty();
    });
    return last;
  }
  // The colour the skin leaves to the slider's background (its top-left
  // corner lies outside the channel, thumb and ticks).
  static uint32_t Background(HWND slider) { return e2e::CaptureWindow(slider).At(0, 0); }

  // A user's drag with the mouse: press on the thumb, move by each step in
  // turn, release. Each step waits until the slider has taken it.
  void DragWithMouse(HWND slider, std::initializer_list<int> steps) {
    const TSliderGeometry g = MeasureSlider(slider);
    POINT at = ScreenCentre(g.Thumb, slider);
    e2e::MouseMoveTo(at);
    e2e::MouseButton(true);
    EXPECT_TRUE(e2e::PollUntil(kShowTimeoutMs, [&] { return CaptureOf(slider) == slider; }))
        << "the press on the thumb did not reach the slider";
    program_->Settle();
    for (int dx : steps) {
      const int before = Position(slider);
      at.x += dx;
      e2e::MouseMoveTo(at);
      EXPECT_TRUE(e2e::PollUntil(kShowTimeoutMs, [&] { return Position(slider) != before; }))
          << "the move by " << dx << " left the position at " << before;
      program_->Settle();
    }
    e2e::MouseButton(false);
    EXPECT_TRUE(e2e::PollUntil(kShowTimeoutMs, [&] { return CaptureOf(slider) == nullptr; }));
    program_->Settle();
    ParkMouse();
  }

  std::unique_ptr<e2e::TTestSkinFolder> skin_;
  std::filesystem::path dir_;
};

}  // namespace panel_e2e
