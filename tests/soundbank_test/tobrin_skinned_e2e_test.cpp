// TobrinSkinned.exe (Tobrin with its skin manager on) under Wine with the
// generated test skin: what a user's actions send, compared with the plain
// Tobrin.exe; the skinned controls as the screen shows them, compared with
// what the skin's manifest says they paint; and the skin switched off and
// on again through the test-only channel.
#include <map>

#include "widgets/graphics/gdi_handles.h"

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

// The skin library's controls on Tobrin's form. A control the form gains
// joins as one more row.
constexpr e2e::TSkinnedPart kSkinnedParts[] = {{"TsGroupBox", "GROUPBOX", "BORDERSMASK", true}};

// The width of a caption in the form's font (Tahoma, 11 px), measured here:
// the same font gives the same width in every process of the machine.
int CaptionWidth(const std::string& Text) {
  const TOwnedFont font(CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                    NONANTIALIASED_QUALITY, 0, "Tahoma"));
  const TMemoryDC dc(CreateCompatibleDC(nullptr));
  const TSelectedObject selected(dc.Get(), font.Get());
  SIZE size{};
  GetTextExtentPoint32A(dc.Get(), Text.data(), int(Text.size()), &size);
  return size.cx;
}

// The child windows of a control, in the coordinates of its window.
std::vector<RECT> Children(HWND Control) {
  RECT own{};
  GetWindowRect(Control, &own);
  std::vector<RECT> out;
  for (HWND c = GetWindow(Control, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(c, &r);
    OffsetRect(&r, -own.left, -own.top);
    out.push_back(r);
  }
  return out;
}

// How the capture of a control differs from its part's look, leaving out
// its child windows and its caption (with a margin on either side) in the
// band the frame's top crosses; empty when it does not.
std::string Mismatches(const e2e::TSkinnedLook& Look, const e2e::TSkinnedPart& Part, HWND Control,
                       const e2e::TScreenImage& Capture) {
  std::vector<RECT> masked = Children(Control);
  const int top = Part.FrameBelowCaption ? Look.FrameTop(Capture, Part, masked) : 0;
  if (top < 0) return "no frame top";
  if (Part.FrameBelowCaption) {
    constexpr int kMargin = 12;
    masked.push_back({0, 0, CaptionWidth(e2e::WindowText(Control)) + 2 * kMargin, 2 * top + 2});
  }
  return Look.Mismatches(Capture, Part, top, masked);
}

TEST_F(SkinnedTobrinEndToEnd, SkinnedControlsShowTheirSectionsFrameAndFace) {
  const e2e::TSkinnedLook look;
  StartSkinned("Port A|Port B");
  for (const e2e::TSkinnedPart& part : kSkinnedParts) {
    const std::vector<HWND> shown = e2e::FindChildren(program_->MainWindow(), part.ClassName);
    EXPECT_FALSE(shown.empty()) << part.ClassName;
    for (HWND w : shown) {
      std::string last;
      e2e::PollUntil(kShowTimeoutMs, [&] {
        last = Mismatches(look, part, w, e2e::CaptureWindow(w));
        return last.empty();
      });
      EXPECT_EQ(last, "") << part.ClassName << " \"" << e2e::WindowText(w) << "\"";
    }
  }
  // Without the skin, no control shows its section's frame.
  ASSERT_TRUE(e2e::SwitchSkin(program_->ApplicationWindow(), false));
  for (const e2e::TSkinnedPart& part : kSkinnedParts)
    for (HWND w : e2e::FindChildren(program_->MainWindow(), part.ClassName))
      EXPECT_NE(Mismatches(look, part, w, e2e::SteadyCapture(w, kShowTimeoutMs)), "")
          << part.ClassName << " \"" << e2e::WindowText(w) << "\" looks skinned";
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
