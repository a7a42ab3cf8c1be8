// VarnelSkinned.exe with the generated test skin: the panel's one tab, as
// the screen shows it. Being both the first and the last tab it takes the
// section of the first place when the skin has one; being active it shows
// the pressed face and reaches 2 px beyond the platform's tab on every
// side. Its edges are found by the face colour alone, clear of the caption.
// The page control's display area and its sheet show the frame section's
// look, and stop showing it once the skin is switched off.
#include <windows.h>

#include <commctrl.h>

#include "tests/panel/skinned_panel_fixture.h"
#include "tests/support/e2e/skin_switch.h"
#include "tests/support/e2e/skinned_look.h"

namespace {

using namespace panel_e2e;

constexpr int kTolerance = 2;

class SkinnedPagesEndToEnd : public SkinnedPanelEndToEnd {};

// The page control's display area below its tab, and the sheet showing
// that area at its own place.
constexpr e2e::TSkinnedPart kPageParts[] = {
    {"TsPageControl", "PAGECONTROL", "BORDERSMASK", false, e2e::TPageRole::Control},
    {"TsTabSheet", "PAGECONTROL", "BORDERSMASK", false, e2e::TPageRole::Sheet},
};

// The sheet's one label, written on it (client coordinates).
constexpr struct {
  int Left, Top;
  const char* Caption;
} kSheetLabel = {272, 335, "Output MIDI Device"};

TEST_F(SkinnedPagesEndToEnd, ThePageControlAndItsSheetShowTheFrameSection) {
  // The form's font, in which the label writes.
  const e2e::TSkinnedLook look(test_skin::kSoundVariant, {"Tahoma", -11});
  StartSkinnedPanel();
  // What a part writes itself, in its window's coordinates.
  const auto written = [&](HWND W, const e2e::TSkinnedPart& Part) {
    if (Part.Page != e2e::TPageRole::Sheet) return std::vector<RECT>{};
    const POINT client = e2e::ClientOffset(W);
    return std::vector<RECT>{look.CaptionRect(client.x + kSheetLabel.Left,
                                              client.y + kSheetLabel.Top, kSheetLabel.Caption)};
  };
  for (const e2e::TSkinnedPart& part : kPageParts) {
    const std::vector<HWND> shown = e2e::FindChildren(program_->MainWindow(), part.ClassName);
    ASSERT_EQ(shown.size(), 1u) << part.ClassName;
    std::string last;
    e2e::PollUntil(kShowTimeoutMs, [&] {
      last = look.ControlMismatches(shown[0], part, e2e::CaptureWindow(shown[0]), 0,
                                    written(shown[0], part));
      return last.empty();
    });
    EXPECT_EQ(last, "") << part.ClassName;
  }
  SaveMainWindow("skinned-pages-look");
  // Without the skin neither shows the section's frame.
  ASSERT_TRUE(e2e::SwitchSkin(program_->ApplicationWindow(), false));
  for (const e2e::TSkinnedPart& part : kPageParts)
    for (HWND w : e2e::FindChildren(program_->MainWindow(), part.ClassName))
      EXPECT_NE(look.ControlMismatches(w, part, e2e::SteadyCapture(w, kShowTimeoutMs), 0,
                                       written(w, part)),
                "")
          << part.ClassName << " looks skinned";
}

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
