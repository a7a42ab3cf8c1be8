// The real Varnel.exe under Wine, beside the recording winmm.dll: what a
// user's actions put on the MIDI port, byte for byte.
#include "tests/panel/panel_e2e_fixture.h"

namespace {

using namespace panel_e2e;

TEST_F(PanelEndToEnd, StartUpOpensTheMapperAndSendsOnlyTheEffectMode) {
  StartPanel();
  auto calls = program_->PortCalls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls[0].Function, "midiOutOpen");
  EXPECT_EQ(calls[0].Int("id"), -1);
  EXPECT_EQ(calls[0].Int("flags"), 0);
  EXPECT_EQ(ShortWords(calls), Nrpn(0x55, 3));
  EXPECT_TRUE(SysexMessages(calls).empty());
  EXPECT_TRUE(program_->Boxes().empty());
  // The start texts are the stored ones.
  EXPECT_EQ(BoxText("EQ", 182, 28), "+4.5");
  EXPECT_EQ(BoxText("EQ", 182, 65), "-1.0");
  EXPECT_EQ(BoxText("Reverb", 186, 54), "26");
  // The port list holds the devices, nothing selected.
  HWND ports = List(nullptr, 272, 354);
  EXPECT_EQ(SendMessageA(ports, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(ports, CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST_F(PanelEndToEnd, HasATaskBarButtonAndMinimizesWithIt) {
  StartPanel();
  EXPECT_EQ(e2e::TaskBarRoundTrip(*program_), "");
  EXPECT_EQ(program_->Close(), 0);
}

TEST_F(PanelEndToEnd, SlidersSendTheirMessagesAndWriteTheirBoxes) {
  StartPanel();
  struct Case {
    const char* group;
    int left, top, pos;
    int boxLeft, boxTop;
    std::vector<DWORD> words;
    std::string sysex;
    const char* text;
  } cases[] = {
      {"EQ", 55, 25, 48, 182, 28, Nrpn(0x0B, 127), "", "+12.0"},
      {"EQ", 55, 61, 24, 182, 65, Nrpn(0x0A, 63), "", "0.0"},
      {"EQ", 55, 97, 23, 182, 100, Nrpn(0x09, 60), "", "-0.5"},
      {"EQ", 55, 134, 0, 182, 136, Nrpn(0x08, 0), "", "-12.0"},
      {"Reverb", 49, 51, 26, 186, 54, {}, Sysex({0x33, 0x1A}), "26"},
      {"Reverb", 49, 90, 0, 186, 91, {}, Sysex({0x34, 0x00}), "0"},
      {"Effect", 47, 43, 127, 186, 47, {}, Sysex({0x3A, 0x7F}), "127"},
      {"Effect", 47, 80, 5, 186, 82, {}, Sysex({0x3E, 0x05}), "5"},
      {"Effect", 48, 118, 9, 186, 120, {}, Sysex({0x3D, 0x09}), "9"},
  };
  for (const Case& c : cases) {
    program_->ClearLogs();
    e2e::DragTrackBarTo(Slider(c.group, c.left, c.top), c.pos);
    program_->Settle();
    auto calls = program_->PortCalls();
    // A released drag reports the position twice: thumb position and end of track.
    if (!c.words.empty()) {
      std::vector<DWORD> twice = c.words;
      twice.insert(twice.end(), c.words.begin(), c.words.end());
      EXPECT_EQ(ShortWords(calls), twice) << c.group << " " << c.top;
    } else {
      EXPECT_EQ(SysexMessages(calls), (std::vector<std::string>{c.sysex, c.sysex}))
          << c.group << " " << c.top;
    }
    EXPECT_EQ(BoxText(c.group, c.boxLeft, c.boxTop), c.text);
  }
  EXPECT_TRUE(program_->Boxes().empty());
}

TEST_F(PanelEndToEnd, TypeChangesResendTheirParameters) {
  StartPanel();
  e2e::PickComboItem(List("Reverb", 56, 24), 0);
  program_->Settle();
  EXPECT_EQ(SysexMessages(program_->PortCalls()),
            (std::vector<std::string>{Sysex({0x30, 0}), Sysex({0x33, 26}), Sysex({0x34, 64})}));
  program_->ClearLogs();
  e2e::PickComboItem(List("Effect", 56, 16), 8);  // the ninth, empty item
  program_->Settle();
  EXPECT_EQ(SysexMessages(program_->PortCalls()),
            (std::vector<std::string>{Sysex({0x38, 8}), Sysex({0x3A, 36}), Sysex({0x3E, 20}),
                                      Sysex({0x3D, 3})}));
}

TEST_F(PanelEndToEnd, TogglesSendTheEffectModeOfBothStates) {
  StartPanel();
  HWND eq = EqButton();
  HWND threeD = ThreeDButton();
  HWND eqSlider = Slider("EQ", 55, 25);
  HWND eqBox = Box("EQ", 182, 28);
  HWND volSlider = Slider("3D", 55, 25);
  EXPECT_FALSE(IsWindowEnabled(volSlider));  // "3D" starts off

  struct Step {
    HWND button;
    int mode;
    const char* caption;
  } steps[] = {{threeD, 6, "On"}, {eq, 4, "Off"}, {threeD, 0, "Off"}, {eq, 3, "On"}};
  for (const Step& s : steps) {
    program_->ClearLogs();
    e2e::ClickButton(s.button);
    program_->Settle();
    EXPECT_EQ(ShortWords(program_->PortCalls()), Nrpn(0x55, s.mode));
    EXPECT_EQ(e2e::WindowText(s.button), s.caption);
  }
  // Switching the equalizer off: boxes at once, sliders after the timer.
  e2e::ClickButton(eq);
  program_->Settle();
  EXPECT_FALSE(IsWindowEnabled(eqBox));
  Sleep(400);
  program_->Settle();
  EXPECT_FALSE(IsWindowEnabled(eqSlider));
  // Off and on again within the timer's 100 ms leaves everything enabled.
  e2e::ClickButton(eq);
  e2e::ClickButton(eq);
  e2e::ClickButton(eq);
  Sleep(400);
  program_->Settle();
  EXPECT_EQ(e2e::WindowText(eq), "On");
  EXPECT_TRUE(IsWindowEnabled(eqSlider));
  EXPECT_TRUE(IsWindowEnabled(eqBox));
}

TEST_F(PanelEndToEnd, FailedPortChangeFallsBackToEntryZero) {
  StartPanel({{"VARNEL_MIDI_PORTS", "Port A|Port B"}, {"VARNEL_MIDI_FAIL_OPEN", "1"}});
  HWND ports = List(nullptr, 272, 354);
  program_->ClearLogs();
  e2e::PickComboItem(ports, 1);
  program_->Settle();
  auto calls = program_->PortCalls();
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls[0].Function, "midiOutClose");
  EXPECT_EQ(calls[1].Function, "midiOutOpen");
  EXPECT_EQ(calls[1].Int("id"), 1);
  EXPECT_EQ(calls[2].Function, "midiOutOpen");
  EXPECT_EQ(calls[2].Int("id"), 0);
  auto boxes = program_->Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "MIDI Device is already use in another App");
  EXPECT_EQ(boxes[0].Icon, "ERROR");
  EXPECT_EQ(SendMessageA(ports, CB_GETCURSEL, 0, 0), 0);
}

TEST_F(PanelEndToEnd, SysexOnAClosedPortShowsBothBoxes) {
  StartPanel({{"VARNEL_MIDI_PORTS", ""}, {"VARNEL_MIDI_FAIL_OPEN", "-1"}});
  program_->ClearLogs();
  e2e::DragTrackBarTo(Slider("Reverb", 49, 51), 30);
  program_->Settle();
  auto boxes = program_->Boxes();
  ASSERT_EQ(boxes.size(), 4u);  // two reports, one per notification
  EXPECT_EQ(boxes[0].Text, "Header Not Prepared");
  EXPECT_EQ(boxes[1].Text, "Sysex Data Not Sent");
  EXPECT_EQ(BoxText("Reverb", 186, 54), "30");
}

TEST_F(PanelEndToEnd, VersionSwitchInAnyCaseShowsTheLibraryVersionOnce) {
  StartPanel({{"VARNEL_MIDI_PORTS", "Port A"}}, "/VLVER /vlver");
  auto boxes = program_->Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Kind, "ShowMessage");
  EXPECT_EQ(boxes[0].Text, "Vistrel v11.22");
}

TEST_F(PanelEndToEnd, ClosingTheFormClosesThePort) {
  StartPanel();
  EXPECT_EQ(program_->Close(), 0);
  auto calls = program_->PortCalls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().Function, "midiOutClose");
}

}  // namespace
