// VarnelSkinned.exe with its skin manager switched off through the
// test-only channel shows the plain panel again, and the skin once
// switched back on.
#include "tests/panel/panel_e2e_fixture.h"
#include "tests/support/e2e/skinned_program.h"

namespace {

using namespace panel_e2e;

TEST_F(PanelEndToEnd, SwitchingTheSkinOffGivesBackThePlainPanel) {
  constexpr DWORD kShowTimeoutMs = 3000;
  // Where the skin blends (and the platform antialiases), per channel.
  constexpr int kTolerance = 2;
  e2e::ParkMouse();
  StartPanel();
  const e2e::TScreenImage plain = e2e::SteadyCapture(program_->MainWindow(), kShowTimeoutMs);
  program_->Close();

  const e2e::TTestSkinFolder skin("skin-switch-panel");
  StartPanel(TwoPorts(), skin.Arguments(), "VarnelSkinned.exe");
  EXPECT_EQ(e2e::SkinSwitchRoundTrip(*program_, plain, kTolerance, "varnel-skin-switched"), "");
}

}  // namespace
