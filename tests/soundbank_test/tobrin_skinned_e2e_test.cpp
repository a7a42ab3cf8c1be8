// TobrinSkinned.exe (Tobrin with its skin manager on) under Wine with the
// generated test skin: what a user's actions send, compared with the plain
// Tobrin.exe; the skinned controls, the port list's frame and bar among
// them, as the screen shows them, compared with what the skin's manifest
// says they paint; a port picked after scrolling with the skinned bar; and
// the skin switched off and on again through the test-only channel.
#include <string>
#include <vector>

#include "tests/soundbank_test/tobrin_e2e_fixture.h"
#include "tests/support/e2e/screen.h"
#include "tests/support/e2e/skinned_bar_look.h"
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

// 24 ports overflow the list and show its vertical bar.
std::string TwentyFourPorts() {
  std::string ports;
  for (int i = 0; i < 24; ++i) ports += (i ? "|Port " : "Port ") + std::to_string(i);
  return ports;
}

// The skinned list box carries its border adapter: its frame and its
// vertical bar are the skin's, at start and after a Refresh; without the
// skin, neither is.
TEST_F(SkinnedTobrinEndToEnd, AFullPortListShowsTheSkinnedFrameAndBar) {
  const e2e::TSkinnedLook look;
  const e2e::TSkinnedBarLook bar(look);
  std::string frameLast, barLast;
  const auto matches = [&] {
    const e2e::TScreenImage shot = e2e::CaptureWindow(list_);
    const e2e::TVertBar place = bar.VertBarOf(list_, program_->ApplicationWindow());
    const int state = e2e::FocusOf(list_) == list_ ? 1 : 0;
    frameLast = bar.FrameMismatches(shot, place.Place, state);
    barLast = bar.VertBarMismatches(shot, place, kTolerance);
    return frameLast.empty() && barLast.empty();
  };
  StartSkinned(TwentyFourPorts());
  ASSERT_TRUE(GetWindowLongPtrA(list_, GWL_STYLE) & WS_VSCROLL) << "24 ports need the bar";
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round ? "after Refresh" : "started");
    EXPECT_NE(GetPropA(list_, "VLSBSC"), nullptr) << "the border adapter is on the window";
    EXPECT_EQ(Entries().size(), 24u);
    e2e::PollUntil(kShowTimeoutMs, matches);
    EXPECT_EQ(frameLast, "");
    EXPECT_EQ(barLast, "");
    if (!round) Click(RefreshButton());
  }
  e2e::SaveCapture(e2e::CaptureWindow(list_), "tobrin-skinned-list");
  ASSERT_TRUE(e2e::SwitchSkin(program_->ApplicationWindow(), false));
  e2e::SteadyCapture(list_, kShowTimeoutMs);
  matches();
  EXPECT_NE(frameLast.find("pixels differ"), std::string::npos) << "plain frame: " << frameLast;
  EXPECT_NE(barLast.find("pixels differ"), std::string::npos) << "plain bar: " << barLast;
}

// A user scrolls the list to its end by dragging the skinned bar's thumb,
// then picks the last row shown: that row's port is opened, and both
// requests go to it.
TEST_F(SkinnedTobrinEndToEnd, ThePortPickedAfterDraggingTheThumbToTheEndIsOpened) {
  const e2e::TSkinnedLook look;
  const e2e::TSkinnedBarLook bar(look);
  StartSkinned(TwentyFourPorts());
  const e2e::TVertBar place = bar.VertBarOf(list_, program_->ApplicationWindow());
  ASSERT_GT(place.Info.nMax, 0) << "the list's scroll state was not read";
  const RECT thumb = e2e::ThumbPlace(place);
  RECT window{};
  GetWindowRect(list_, &window);
  POINT at{window.left + (thumb.left + thumb.right) / 2,
           window.top + (thumb.top + thumb.bottom) / 2};
  e2e::MouseMoveTo(at);
  program_->Settle();
  e2e::MouseButton(true);
  EXPECT_TRUE(e2e::PollUntil(kShowTimeoutMs, [&] { return e2e::CaptureOf(list_) == list_; }))
      << "the press on the thumb did not reach the list box";
  // Past the bar's end, in steps a hand would take.
  while (at.y < window.top + place.Place.bottom + 20) {
    at.y += 15;
    e2e::MouseMoveTo(at);
    program_->Settle();
  }
  const int rows = int(Entries().size());
  const RECT client = [&] {
    RECT r{};
    GetClientRect(list_, &r);
    return r;
  }();
  const int h = int(SendMessageA(list_, LB_GETITEMHEIGHT, 0, 0));
  const int shown = client.bottom / h, lastTop = rows - shown;
  EXPECT_TRUE(e2e::PollUntil(kShowTimeoutMs, [&] {
    return SendMessageA(list_, LB_GETTOPINDEX, 0, 0) == lastTop;
  })) << "the list did not follow the thumb to its end";
  e2e::MouseButton(false);
  EXPECT_TRUE(e2e::PollUntil(kShowTimeoutMs, [&] { return e2e::CaptureOf(list_) == nullptr; }));
  program_->Settle();
  ASSERT_EQ(SendMessageA(list_, LB_GETTOPINDEX, 0, 0), lastTop);

  // The last row shown, clicked with the mouse.
  program_->ClearLogs();
  POINT row{10, (shown - 1) * h + h / 2};
  ClientToScreen(list_, &row);
  e2e::MouseMoveTo(row);
  program_->Settle();
  e2e::MouseButton(true);
  program_->Settle();
  e2e::MouseButton(false);
  e2e::ParkMouse();
  EXPECT_TRUE(e2e::PollUntil(kShowTimeoutMs,
                             [&] { return !Calls(program_->PortCalls(), "midiOutOpen").empty(); }));
  program_->Settle();
  const std::vector<Call> opens = Calls(program_->PortCalls(), "midiOutOpen");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].Int("id"), rows - 1) << "the port of the row clicked";
  const std::string handle = OpenedHandle(opens, rows - 1);
  Click(Bank1());
  ExpectSent(kBank1, handle);
  Click(Bank2());
  ExpectSent(kBank2, handle);
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
