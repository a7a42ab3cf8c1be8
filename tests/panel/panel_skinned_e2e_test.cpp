// VarnelSkinned.exe (the panel with its skin manager on) under Wine with the
// generated test skin, from its folder or packed into one archive: the
// sliders as the screen shows them, compared with what the skin's manifest
// says they paint; what a user's slider drag sends, compared with the same
// drag in the plain Varnel.exe; and a live-preview record sent by another
// process, repainting the running panel.
#include <filesystem>
#include <fstream>
#include <memory>

#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_factories.h"
#include "tests/panel/skinned_panel_fixture.h"

namespace {

using namespace panel_e2e;

using e2e::Differences;

// The gradient of the skin's track bar in its normal state.
const test_skin::MfGradientStop& GradientOf(const test_skin::TestSkinFiles& Skin) {
  const int i = Skin.Manifest.SectionIndex("TRACKBAR");
  return Skin.Manifest.Sections.at(size_t(i)).States[0].Gradient.at(0);
}

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
    const TSliderState state = StartState(s);
    EXPECT_EQ(AwaitLook(look, s, state, Background(s)), "") << p.Group << " " << p.Top;
    const auto [same, all] = look.Matches(plain[i], MeasureSlider(s), state, plain[i].At(0, 0));
    EXPECT_LT(same, all / 4) << p.Group << " " << p.Top << ": the plain panel looks skinned";
  }
}

// The skin packed into one archive, alone in the skin directory, paints
// every slider as the skin's folder does.
TEST_F(SkinnedPanelEndToEnd, SlidersFromTheSkinsArchiveLookAsFromItsFolder) {
  TSkinnedSliderLook look;
  const struct {
    TSkinSource Source;
    const char* Name;
  } sources[] = {{TSkinSource::Folder, "folder"}, {TSkinSource::Archive, "archive"}};
  std::vector<e2e::TScreenImage> shown[std::size(sources)];
  for (size_t k = 0; k < std::size(sources); ++k) {
    StartSkinnedPanel(test_skin::kSoundVariant, sources[k].Source);
    for (const TSliderPlace& p : kSliders) {
      HWND s = Slider(p);
      EXPECT_EQ(AwaitLook(look, s, StartState(s), Background(s)), "")
          << sources[k].Name << ": " << p.Group << " " << p.Top;
      shown[k].push_back(e2e::CaptureWindow(s));
    }
    SaveMainWindow(std::string("varnel-skinned-") + sources[k].Name);
    program_->Close();
  }
  // The tolerance of the skin's look where it blends the thumb.
  constexpr int kTolerance = 2;
  for (size_t i = 0; i < std::size(kSliders); ++i)
    EXPECT_EQ(Differences(shown[0][i], shown[1][i], kTolerance), "")
        << kSliders[i].Group << " " << kSliders[i].Top;
}

// The skin's description with the first colour of its track bar's normal
// gradient replaced by Color, as a skin editor sends it; empty when the
// description has no such gradient.
std::string DescriptionWithGradientStart(const test_skin::TestSkinFiles& Skin, int32_t Color) {
  std::string text;
  for (const test_skin::SkinFile& f : Skin.Files)
    if (f.Name == "Options.dat") text.assign(f.Bytes.begin(), f.Bytes.end());
  const std::string old = "GRADIENTDATA=" + std::to_string(GradientOf(Skin).StartColor) + ";";
  const size_t at = text.find(old, text.find("[TRACKBAR]"));
  if (at == std::string::npos) return "";
  return text.replace(at, old.size(), "GRADIENTDATA=" + std::to_string(Color) + ";");
}

// The places of a slider's capture outside its thumb that show Rgb within
// Tolerance: the face around the thumb, which is painted from the section's
// colours, not from the skin's images.
std::vector<POINT> PlacesOf(HWND Slider, uint32_t Rgb, int Tolerance) {
  const e2e::TScreenImage image = e2e::CaptureWindow(Slider);
  const RECT thumb = MeasureSlider(Slider).Thumb;
  std::vector<POINT> out;
  for (int y = 0; y < image.Height; ++y)
    for (int x = 0; x < image.Width; ++x)
      if (!PtInRect(&thumb, {x, y}) && e2e::ChannelDistance(image.At(x, y), Rgb) <= Tolerance)
        out.push_back({x, y});
  return out;
}

// How many of Places the capture does not show in Rgb within Tolerance.
size_t Elsewhere(const e2e::TScreenImage& Image, const std::vector<POINT>& Places, uint32_t Rgb,
                 int Tolerance) {
  size_t n = 0;
  for (const POINT& p : Places) n += e2e::ChannelDistance(Image.At(p.x, p.y), Rgb) > Tolerance;
  return n;
}

// A skin editor's live preview: a record sent by another process (this one)
// to the running panel's application window reloads the skin from the
// record's description, and the sliders repaint in the colour changed there
// while what the change does not touch stays.
TEST_F(SkinnedPanelEndToEnd, ALivePreviewRecordRepaintsTheSlidersInItsColour) {
  // The opaque track bar paints its face as a gradient between two colours
  // of its section.
  const std::string variant = "trackbar-opaque";
  const test_skin::TestSkinFiles skin = test_skin::BuildTestSkin(variant);
  const uint32_t oldStart = SwapRedBlue(GradientOf(skin).StartColor),
                 end = SwapRedBlue(GradientOf(skin).EndColor);
  constexpr int32_t kNewStart = 0x2020C0;  // a dark red nothing else in the skin has
  constexpr int kTolerance = 2;
  StartSkinnedPanel(variant);
  HWND app = program_->ApplicationWindow();
  ASSERT_TRUE(app) << "no application window";
  // Enabled sliders without the focus paint the normal gradient.
  std::vector<HWND> sliders;
  std::vector<std::vector<POINT>> startPlaces, endPlaces;
  for (const TSliderPlace& p : kSliders) {
    HWND s = Slider(p);
    if (!IsWindowEnabled(s) || e2e::FocusOf(s) == s) continue;
    sliders.push_back(s);
    std::vector<POINT> places;
    e2e::PollUntil(kShowTimeoutMs, [&] {
      places = PlacesOf(s, oldStart, kTolerance);
      return !places.empty();
    });
    EXPECT_FALSE(places.empty()) << p.Group << " " << p.Top
                                 << ": the gradient's start is not shown";
    startPlaces.push_back(places);
    endPlaces.push_back(PlacesOf(s, end, kTolerance));
  }
  ASSERT_FALSE(sliders.empty());
  SaveMainWindow("varnel-live-preview-before");

  auto record = std::make_unique<LivePreviewRecord>();
  record->Marker = LivePreviewMarker;
  const std::string description = DescriptionWithGradientStart(skin, kNewStart);
  ASSERT_NE(description, "");
  ASSERT_LT(description.size(), sizeof record->Description);
  description.copy(record->Description, description.size());
  std::string("Tessera").copy(record->SkinName, sizeof record->SkinName - 1);
  ASSERT_LT(dir_.string().size(), sizeof record->SkinDirectory);
  dir_.string().copy(record->SkinDirectory, sizeof record->SkinDirectory - 1);
  COPYDATASTRUCT data{0, sizeof(LivePreviewRecord), record.get()};
  DWORD_PTR result = 0;
  ASSERT_TRUE(SendMessageTimeoutA(app, WM_COPYDATA, 7, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                                  5000, &result));

  for (size_t i = 0; i < sliders.size(); ++i) {
    size_t unchanged = 0;
    e2e::PollUntil(kShowTimeoutMs, [&] {
      unchanged = Elsewhere(e2e::CaptureWindow(sliders[i]), startPlaces[i], SwapRedBlue(kNewStart),
                            kTolerance);
      return unchanged == 0;
    });
    EXPECT_EQ(unchanged, 0u) << i << ": of " << startPlaces[i].size()
                             << " places of the old colour";
    EXPECT_EQ(Elsewhere(e2e::CaptureWindow(sliders[i]), endPlaces[i], end, kTolerance), 0u)
        << i << ": the gradient's end changed";
  }
  SaveMainWindow("varnel-live-preview-after");
  EXPECT_EQ(program_->Boxes().size(), 0u);
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

TEST_F(SkinnedPanelEndToEnd, TogglesShowTheSkinsPressedFrameWhileDown) {
  // The face inside the frame's outline, clear of the caption.
  const test_skin::TestSkinManifest manifest = test_skin::BuildTestSkin().Manifest;
  auto face = [&](int frame) {
    return test_skin::SkinPixel(manifest,
                                "BUTTON/BORDERSMASK frame " + std::to_string(frame) + " face");
  };
  constexpr int kTolerance = 2;
  auto shows = [&](HWND button, int frame) {
    return e2e::PollUntil(kShowTimeoutMs, [&] {
      return e2e::ChannelDistance(e2e::CaptureWindow(button).At(3, 3), face(frame)) <= kTolerance;
    });
  };
  StartSkinnedPanel();
  HWND eq = EqButton(), threeD = ThreeDButton();
  // "On" starts down, "Off" up (hot only when it has the focus).
  EXPECT_TRUE(shows(eq, 2)) << "EQ starts down";
  EXPECT_TRUE(shows(threeD, e2e::FocusOf(threeD) == threeD ? 1 : 0)) << "3D starts up";
  e2e::ClickButton(eq);
  program_->Settle();
  EXPECT_EQ(e2e::WindowText(eq), "Off");
  // The click focused it: up and hot.
  EXPECT_TRUE(shows(eq, 1)) << "EQ up after the click";
  e2e::ClickButton(threeD);
  program_->Settle();
  EXPECT_EQ(e2e::WindowText(threeD), "On");
  EXPECT_TRUE(shows(threeD, 2)) << "3D down after the click";
  EXPECT_TRUE(shows(eq, 0)) << "EQ lost the focus";
}

}  // namespace
