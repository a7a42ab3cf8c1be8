// VarnelSkinned.exe (the panel with its skin manager on) under Wine with the
// generated test skin: the sliders as the screen shows them, compared with
// what the skin's manifest says they paint, and what a user's slider drag
// sends compared with the same drag in the plain Varnel.exe.
#include <filesystem>

#include "tests/panel/panel_e2e_fixture.h"
#include "tests/panel/skinned_slider_look.h"

namespace {

using namespace panel_e2e;

class SkinnedPanelEndToEnd : public PanelEndToEnd {
 protected:
  void TearDown() override {
    PanelEndToEnd::TearDown();
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }
  void StartSkinnedPanel(const std::string& variant = test_skin::kSoundVariant) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    dir_ = std::filesystem::path(tmp) / ("skinned-panel" + std::to_string(GetCurrentProcessId()));
    test_skin::WriteTestSkin(dir_ / "Tessera", variant);
    StartPanel(TwoPorts(), "\"" + dir_.string() + "\" Tessera", "VarnelSkinned.exe");
  }
  std::filesystem::path dir_;
};

TEST_F(SkinnedPanelEndToEnd, Dump) {
  e2e::MouseMoveTo({1270, 1010});
  StartSkinnedPanel();
  TSkinnedSliderLook look;
  for (const TSliderPlace& p : kSliders) {
    HWND s = Slider(p);
    RECT wr;
    GetWindowRect(s, &wr);
    TSliderGeometry g = MeasureSlider(s);
    auto cap = e2e::CaptureWindow(s);
    printf("%s %d,%d win %ld,%ld,%ld,%ld ch %ld,%ld,%ld,%ld th %ld,%ld,%ld,%ld focus %d en %d\n",
           p.Group, p.Left, p.Top, wr.left, wr.top, wr.right, wr.bottom, g.Channel.left,
           g.Channel.top, g.Channel.right, g.Channel.bottom, g.Thumb.left, g.Thumb.top,
           g.Thumb.right, g.Thumb.bottom, e2e::FocusOf(s) == s, IsWindowEnabled(s));
    if (p.Top == 25 && p.Left == 55) {
      for (int y = 0; y < cap.Height; ++y) {
        for (int x = 0; x < cap.Width; x += 2) printf("%06X ", cap.At(x, y));
        printf("\n");
      }
    }
    printf("%s\n", look.Mismatches(cap, g, 0, !IsWindowEnabled(s), cap.At(0, 0)).c_str());
  }
}

}  // namespace
