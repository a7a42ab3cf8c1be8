// VarnelSkinned.exe with the generated test skin: the panel's one tab, as
// the screen shows it. Being both the first and the last tab it takes the
// section of the first place when the skin has one; being active it shows
// the pressed face and reaches 2 px beyond the platform's tab on every
// side. Its edges are found by the face colour alone, clear of the caption.
#include <windows.h>

#include <commctrl.h>

#include "tests/panel/skinned_panel_fixture.h"

namespace {

using namespace panel_e2e;

constexpr int kTolerance = 2;

class SkinnedPagesEndToEnd : public SkinnedPanelEndToEnd {};

TEST_F(SkinnedPagesEndToEnd, TheOneTabIsTheActiveFaceOfItsPlaceGrownByTwo) {
  const struct {
    const char* Variant;
    const char* Section;
  } cases[] = {{test_skin::kSoundVariant, "TABTOP"}, {"tabs-by-place", "TABTOPFIRST"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Variant);
    const test_skin::TestSkinManifest manifest = test_skin::BuildTestSkin(c.Variant).Manifest;
    const test_skin::MfStrip* strip = manifest.Strip(c.Section, "BORDERSMASK");
    ASSERT_NE(strip, nullptr);
    ASSERT_EQ(strip->Faces.size(), 3u);
    const uint32_t pressed = strip->Faces[2] & 0xFFFFFF;

    StartSkinnedPanel(c.Variant);
    const std::vector<HWND> found = e2e::FindChildren(program_->MainWindow(), "TsPageControl");
    ASSERT_EQ(found.size(), 1u);
    const HWND pages = found[0];
    const RECT item = e2e::AskRect(pages, TCM_GETITEMRECT);
    ASSERT_GT(item.right - item.left, 8);
    ASSERT_GT(item.bottom - item.top, 8);
    const POINT offset = e2e::ClientOffset(pages);

    const int midX = (item.left + item.right) / 2, midY = (item.top + item.bottom) / 2;
    e2e::TScreenImage image;
    // Client point -> the capture's pixel, matched against the pressed face.
    auto isFace = [&](int X, int Y) {
      const int x = X + offset.x, y = Y + offset.y;
      return image.Contains(x, y) && e2e::ChannelDistance(image.At(x, y), pressed) <= kTolerance;
    };
    const bool shown = e2e::PollUntil(kShowTimeoutMs, [&] {
      image = e2e::CaptureWindow(pages);
      return isFace(item.left - 1, midY);
    });
    SaveMainWindow(std::string("skinned-pages-") + c.Variant);
    ASSERT_TRUE(shown) << "the tab never showed the face of " << c.Section << " state 2";

    // The grown tab spans item.left - 2 .. item.right + 1 and so on; its
    // one-pixel rim is not the face, the pixel inside it is. Mid-edge: the
    // corners carry marks and the caption keeps to the middle.
    const struct {
      const char* Edge;
      POINT Rim, Inside;
    } edges[] = {
        {"left", {item.left - 2, midY}, {item.left - 1, midY}},
        {"right", {item.right + 1, midY}, {item.right, midY}},
        {"top", {midX, item.top - 2}, {midX, item.top - 1}},
        {"bottom", {midX, item.bottom + 1}, {midX, item.bottom}},
    };
    for (const auto& e : edges) {
      EXPECT_FALSE(isFace(e.Rim.x, e.Rim.y)) << e.Edge << " rim";
      EXPECT_TRUE(isFace(e.Inside.x, e.Inside.y)) << e.Edge << " inside";
    }
    program_->Close();
    program_.reset();
  }
}

}  // namespace
