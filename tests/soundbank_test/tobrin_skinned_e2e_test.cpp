// TobrinSkinned.exe (Tobrin with its skin manager on) under Wine with the
// generated test skin: what a user's actions send, compared with the plain
// Tobrin.exe; the skinned controls as the screen shows them, compared with
// what the skin's manifest says they paint; and the skin switched off and
// on again through the test-only channel.
#include <string>
#include <vector>

#include "tests/soundbank_test/tobrin_e2e_fixture.h"
#include "tests/support/e2e/screen.h"
#include "tests/support/e2e/skinned_look.h"
#include "tests/support/e2e/skin_switch.h"
#include "tests/support/e2e/skinned_program.h"

namespace {

using namespace tobrin_e2e;

constexpr DWORD kShowTimeoutMs = 3000;
// Where the skin blends (and the platform antialiases), per channel.
constexpr int kTolerance = 2;

class SkinnedTobrinEndToEnd : public TobrinEndToEnd {
 protected:
  void SetUp() override { e2e::ParkMouse(); }
  void StartSkinned(const std::string& ports) {
    StartTobrin(ports, {}, "TobrinSkinned.exe", skin_.Arguments());
  }
  e2e::TTestSkinFolder skin_{"skinned-tobrin"};
};

// A call as the port saw it, without the main window's handle (another in
// each run).
std::string Describe(const Call& c, HWND main) {
  std::string out = c.Function;
  for (const auto& [key, value] : c.Fields) {
    const bool ownWindow = key == "callback" && c.Int(key) == reinterpret_cast<intptr_t>(main);
    out += " " + key + "=" + (ownWindow ? std::string("main") : value);
  }
  return out;
}

TEST_F(SkinnedTobrinEndToEnd, AUsersActionsSendWhatThePlainProgramSends) {
  // Each step a user's action; the last ones go to no port after Refresh.
  std::vector<std::string> sent[2], shown[2];
  for (int skinned = 0; skinned < 2; ++skinned) {
    if (skinned)
      StartSkinned("Port A|Port B|Port C");
    else
      StartTobrin("Port A|Port B|Port C");
    const auto record = [&] {
      for (const Call& c : program_->PortCalls())
        sent[skinned].push_back(Describe(c, program_->MainWindow()));
      for (const e2e::TBoxLine& b : program_->Boxes())
        shown[skinned].push_back(b.Kind + ": " + b.Text);
      program_->ClearLogs();
    };
    record();
    ClickEntry(2);
    record();
    for (HWND b : {Bank1(), Bank2(), RefreshButton(), Bank2()}) {
      Click(b);
      record();
    }
    ClickEntry(0);
    record();
    Click(Bank1());
    record();
    EXPECT_EQ(program_->Close(), 0);
    record();
  }
  EXPECT_GE(sent[0].size(), 10u);
  EXPECT_EQ(sent[1], sent[0]);
  EXPECT_EQ(shown[0].size(), 2u) << "the request to no port reports twice";
  EXPECT_EQ(shown[1], shown[0]);
}

// The skin library's controls on Tobrin's form, one row per kind: the
// group boxes' frames below their captions, the page control's display
// area under its tab and the sheet showing that area at its own place.
constexpr e2e::TSkinnedPart kSkinnedParts[] = {
    {"TsGroupBox", "GROUPBOX", "BORDERSMASK", true},
    {"TsPageControl", "PAGECONTROL", "BORDERSMASK", false, e2e::TPageRole::Control},
    {"TsTabSheet", "PAGECONTROL", "BORDERSMASK", false, e2e::TPageRole::Sheet},
};

TEST_F(SkinnedTobrinEndToEnd, SkinnedControlsShowTheirSectionsFrameAndFace) {
  // The form's font, in which the group boxes write their captions.
  const e2e::TSkinnedLook look(test_skin::kSoundVariant, {"Tahoma", -11});
  StartSkinned("Port A|Port B");
  for (const e2e::TSkinnedPart& part : kSkinnedParts) {
    const std::vector<HWND> shown = e2e::FindChildren(program_->MainWindow(), part.ClassName);
    EXPECT_FALSE(shown.empty()) << part.ClassName;
    for (HWND w : shown) {
      std::string last;
      e2e::PollUntil(kShowTimeoutMs, [&] {
        last = look.ControlMismatches(w, part, e2e::CaptureWindow(w));
        return last.empty();
      });
      EXPECT_EQ(last, "") << part.ClassName << " \"" << e2e::WindowText(w) << "\"";
    }
  }
  // Without the skin, no control shows its section's frame.
  ASSERT_TRUE(e2e::SwitchSkin(program_->ApplicationWindow(), false));
  for (const e2e::TSkinnedPart& part : kSkinnedParts)
    for (HWND w : e2e::FindChildren(program_->MainWindow(), part.ClassName))
      EXPECT_NE(look.ControlMismatches(w, part, e2e::SteadyCapture(w, kShowTimeoutMs)), "")
          << part.ClassName << " \"" << e2e::WindowText(w) << "\" looks skinned";
}

// 24 ports overflow the list: the skinned list box carries its border
// adapter and shows a vertical bar that is not the system's, and keeps
// both over a Refresh.
TEST_F(SkinnedTobrinEndToEnd, AFullPortListShowsTheSkinnedBar) {
  std::string ports;
  for (int i = 0; i < 24; ++i) ports += (i ? "|Port " : "Port ") + std::to_string(i);
  const auto barStrip = [&] {
    const e2e::TScreenImage shot = e2e::SteadyCapture(list_, kShowTimeoutMs);
    std::vector<uint32_t> strip;
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    for (int y = 8; y < shot.Height - 8; y += 4)
      for (int x = shot.Width - bar; x < shot.Width - 3; x += 3) strip.push_back(shot.At(x, y));
    return strip;
  };
  StartTobrin(ports);
  ASSERT_TRUE(GetWindowLongPtrA(list_, GWL_STYLE) & WS_VSCROLL) << "24 ports need the bar";
  const std::vector<uint32_t> plainBar = barStrip();
  program_->Close();

  StartSkinned(ports);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round ? "after Refresh" : "started");
    EXPECT_NE(GetPropA(list_, "VLSBSC"), nullptr) << "the border adapter is on the window";
    EXPECT_NE(barStrip(), plainBar) << "the vertical bar is the system's";
    EXPECT_EQ(Entries().size(), 24u);
    if (!round) Click(RefreshButton());
  }
}

TEST_F(SkinnedTobrinEndToEnd, SwitchingTheSkinOffGivesBackThePlainForm) {
  StartTobrin("Port A|Port B");
  const e2e::TScreenImage plain = e2e::SteadyCapture(program_->MainWindow(), kShowTimeoutMs);
  e2e::SaveCapture(plain, "tobrin-plain");
  program_->Close();

  StartSkinned("Port A|Port B");
  e2e::SaveCapture(e2e::SteadyCapture(program_->MainWindow(), kShowTimeoutMs), "tobrin-skinned");
  EXPECT_EQ(e2e::SkinSwitchRoundTrip(*program_, plain, kTolerance, "tobrin-skin-switched"), "");
}

}  // namespace
