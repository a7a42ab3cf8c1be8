// VarnelSkinned.exe with its skin manager switched off through the
// test-only channel shows the plain panel again, and the skin once
// switched back on.
#include "tests/panel/skinned_panel_fixture.h"

namespace {

using namespace panel_e2e;

TEST_F(SkinnedPanelEndToEnd, SwitchingTheSkinOffGivesBackThePlainPanel) {
  // Where the skin blends (and the platform antialiases), per channel.
  constexpr int kTolerance = 2;
  StartPanel();
  const e2e::TScreenImage plain = e2e::SteadyCapture(program_->MainWindow(), kShowTimeoutMs);
  program_->Close();

  StartSkinnedPanel();
  EXPECT_EQ(e2e::SkinSwitchRoundTrip(*program_, plain, kTolerance, "varnel-skin-switched"), "");
}

}  // namespace
