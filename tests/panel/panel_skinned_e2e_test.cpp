// VarnelSkinned.exe (the panel with its skin manager on) under Wine with the
// generated test skin: the sliders as the screen shows them, compared with
// what the skin's manifest says they paint, and what a user's slider drag
// sends, compared with the same drag in the plain Varnel.exe.
#include <filesystem>

#include "tests/panel/panel_e2e_fixture.h"
#include "tests/panel/skinned_slider_look.h"

namespace {

using namespace panel_e2e;

// Long enough for a slow machine to show what it was asked to; the polls
// end as soon as the screen shows it.
constexpr DWORD kShowTimeoutMs = 3000;

// Somewhere no window of the panel lies, so that no slider is hot.
void ParkMouse() {
  e2e::MouseMoveTo({GetSystemMetrics(SM_CXSCREEN) - 4, GetSystemMetrics(SM_CYSCREEN) - 4});
}

POINT ScreenCentre(const RECT& WindowRelative, HWND Wnd) {
  RECT w{};
  GetWindowRect(Wnd, &w);
  return {w.left + (WindowRelative.left + WindowRelative.right) / 2,
          w.top + (WindowRelative.top + WindowRelative.bottom) / 2};
}

int Position(HWND Slider) {
  DWORD_PTR pos = 0;
  SendMessageTimeoutA(Slider, TBM_GETPOS, 0, 0, SMTO_NORMAL, 5000, &pos);
  return static_cast<int>(pos);
}

HWND CaptureOf(HWND Wnd) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(Wnd, nullptr), &info);
  return info.hwndCapture;
}

class SkinnedPanelEndToEnd : public PanelEndToEnd {
 protected:
  void SetUp() override { ParkMouse(); }
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

  std::filesystem::path dir_;
};

TEST_F(SkinnedPanelEndToEnd, SlidersShowTheSkinsChannelAndThumbUnlikeThePlainPanel) {
  TSkinnedSliderLook look;
  StartPanel();
  std::vector<e2e::TScreenImage> plain;
  for (const TSliderPlace& p : kSliders) plain.push_back(e2e::CaptureWindow(Slider(p)));
  program_->Close();

  StartSkinnedPanel();
  for (size_t i = 0; i < std::size(kSliders); ++i) {
    const TSliderPlace& p = kSliders[i];
    HWND s = Slider(p);
    // A focused slider shows its hot state; the "3D" ones start disabled.
    const TSliderState state = !IsWindowEnabled(s)    ? Disabled()
                               : e2e::FocusOf(s) == s ? Hot()
                                                      : Normal();
    EXPECT_EQ(AwaitLook(look, s, state, Background(s)), "") << p.Group << " " << p.Top;
    const auto [same, all] = look.Matches(plain[i], MeasureSlider(s), state, plain[i].At(0, 0));
    EXPECT_LT(same, all / 4) << p.Group << " " << p.Top << ": the plain panel looks skinned";
  }
}

TEST_F(SkinnedPanelEndToEnd, AMouseDragSendsWhatItSendsInThePlainPanel) {
  struct Case {
    TSliderPlace slider;
    POINT box;
    std::initializer_list<int> steps;
  } cases[] = {{{"EQ", 55, 61}, {182, 65}, {12, 25, -9}},
               {{"Effect", 47, 43}, {186, 47}, {-15, 30, 7}}};
  std::vector<std::vector<Call>> sent[2];
  std::vector<std::string> boxes[2];
  for (int skinned = 0; skinned < 2; ++skinned) {
    if (skinned)
      StartSkinnedPanel();
    else
      StartPanel();
    for (const Case& c : cases) {
      program_->ClearLogs();
      DragWithMouse(Slider(c.slider), c.steps);
      sent[skinned].push_back(program_->PortCalls());
      boxes[skinned].push_back(BoxText(c.slider.Group, c.box.x, c.box.y));
    }
    program_->Close();
  }
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::vector<DWORD> words = ShortWords(sent[0][i]);
    const std::vector<std::string> sysex = SysexMessages(sent[0][i]);
    // Each step and the release (thumb position and end of track) send.
    EXPECT_GE(words.size() / 3 + sysex.size(), cases[i].steps.size() + 2) << i;
    EXPECT_EQ(ShortWords(sent[1][i]), words) << i;
    EXPECT_EQ(SysexMessages(sent[1][i]), sysex) << i;
    EXPECT_NE(boxes[0][i], "") << i;
    EXPECT_EQ(boxes[1][i], boxes[0][i]) << i;
  }
}

TEST_F(SkinnedPanelEndToEnd, EqualizerSlidersTakeTheDisabledLookFromTheTimer) {
  TSkinnedSliderLook look;
  StartSkinnedPanel();
  std::vector<HWND> sliders;
  std::vector<uint32_t> backgrounds;
  for (const TSliderPlace& p : kEqSliders) {
    sliders.push_back(Slider(p));
    backgrounds.push_back(Background(sliders.back()));
    ASSERT_EQ(AwaitLook(look, sliders.back(), Normal(), backgrounds.back()), "") << p.Top;
  }
  const DWORD clicked = GetTickCount();
  e2e::ClickButton(EqButton());
  for (size_t i = 0; i < sliders.size(); ++i)
    EXPECT_EQ(AwaitLook(look, sliders[i], Disabled(), backgrounds[i]), "") << kEqSliders[i].Top;
  // The sliders follow the switch only when the 100 ms timer ticks.
  EXPECT_GE(GetTickCount() - clicked, 90u);
  for (HWND s : sliders) EXPECT_FALSE(IsWindowEnabled(s));
}

TEST_F(SkinnedPanelEndToEnd, HoveringAThumbShowsTheHotFrameOnceTheFadeEnds) {
  TSkinnedSliderLook look("glow-off");
  StartSkinnedPanel("glow-off");
  HWND s = Slider("Reverb", 49, 51);
  const uint32_t bg = Background(s);
  ASSERT_EQ(AwaitLook(look, s, Normal(), bg), "");
  e2e::MouseMoveTo(ScreenCentre(MeasureSlider(s).Thumb, s));
  EXPECT_EQ(AwaitLook(look, s, Hot(), bg), "") << "hovered";
  EXPECT_NE(look.Mismatches(e2e::CaptureWindow(s), MeasureSlider(s), Normal(), bg), "")
      << "the hot look is the normal one";
  ParkMouse();
  EXPECT_EQ(AwaitLook(look, s, Normal(), bg), "") << "left";
}

TEST_F(SkinnedPanelEndToEnd, APressWhileTheHoverFadeRunsShowsThePressedFrame) {
  TSkinnedSliderLook look("glow-off");
  StartSkinnedPanel("glow-off");
  // Two sliders: the second is pressed while its first hover fade may still run.
  for (const TSliderPlace& p : {TSliderPlace{"Reverb", 49, 90}, TSliderPlace{"Effect", 47, 80}}) {
    HWND s = Slider(p);
    const uint32_t bg = Background(s);
    ASSERT_EQ(AwaitLook(look, s, Normal(), bg), "") << p.Group << " " << p.Top;
    e2e::MouseMoveTo(ScreenCentre(MeasureSlider(s).Thumb, s));
    if (p.Top == 90) {
      EXPECT_EQ(AwaitLook(look, s, Hot(), bg), "") << "hovered";
    }
    e2e::MouseButton(true);
    EXPECT_EQ(AwaitLook(look, s, Pressed(), bg), "") << p.Group << " " << p.Top << " pressed";
    e2e::MouseButton(false);
    // The press gave the slider the focus: it stays hot.
    EXPECT_EQ(AwaitLook(look, s, Hot(), bg), "") << p.Group << " " << p.Top << " released";
    ParkMouse();
  }
}

}  // namespace
