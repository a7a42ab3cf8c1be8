// What a horizontal slider painted from the generated test skin shows on the
// screen, worked out from the skin's manifest and its master picture alone:
// the channel ring (SLIDERCHANNEL, copied as it stands), the thumb
// (SLIDERMASK, blended through its mask part) and the disabled look (the
// face faded into the background). Everything else the slider shows is left
// unchecked (ticks, the background itself).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "test_skin.h"
#include "tests/support/e2e/screen.h"

namespace panel_e2e {

// Where the slider's parts lie, in the coordinates of its window rectangle.
struct TSliderGeometry {
  RECT Channel{};  // TBM_GETCHANNELRECT
  RECT Thumb{};    // TBM_GETTHUMBRECT
};

// Asks the control in another process for its channel and thumb.
TSliderGeometry MeasureSlider(HWND Slider);

// What the slider shows: the state of its face and channel (0 normal, 1 hot
// or focused), the thumb's frame (2 while the left button holds it), and
// whether it is disabled.
struct TSliderState {
  int Face = 0;
  int Thumb = 0;
  bool Disabled = false;
};

inline TSliderState Normal() {
  return {};
}
inline TSliderState Hot() {
  return {1, 1, false};
}
inline TSliderState Pressed() {
  return {1, 2, false};
}
inline TSliderState Disabled() {
  return {0, 0, true};
}

struct TExpectedPixel {
  uint32_t Rgb = 0;   // 0x00RRGGBB
  int Tolerance = 0;  // per channel
};

class TSkinnedSliderLook {
 public:
  explicit TSkinnedSliderLook(const std::string& Variant = test_skin::kSoundVariant);

  const test_skin::TestSkinManifest& Manifest() const { return files_.Manifest; }

  // The pixel at (X, Y) of the slider's window in State over the uniform
  // background Background, or nothing where the skin leaves the place to the
  // background or the ticks.
  std::optional<TExpectedPixel> At(const TSliderGeometry& G, const TSliderState& State,
                                   uint32_t Background, int X, int Y) const;

  // Compares every place that At() decides with the capture; empty when all
  // match, else the count of mismatches and the first few.
  std::string Mismatches(const e2e::TScreenImage& Capture, const TSliderGeometry& G,
                         const TSliderState& State, uint32_t Background) const;
  // How many places that At() decides the capture shows within tolerance,
  // and how many there are.
  std::pair<int, int> Matches(const e2e::TScreenImage& Capture, const TSliderGeometry& G,
                              const TSliderState& State, uint32_t Background) const;

 private:
  using TVisit = std::function<void(int X, int Y, uint32_t Shown, const TExpectedPixel& Expected,
                                    bool Within)>;
  void Compare(const e2e::TScreenImage& Capture, const TSliderGeometry& G,
               const TSliderState& State, uint32_t Background, const TVisit& Visit) const;
  // The painted channel rectangle: the control's channel centred across on
  // the image's frame height, one pixel shorter at each end.
  RECT PaintedChannel(const TSliderGeometry& G) const;
  std::optional<uint32_t> ChannelRing(const TSliderGeometry& G, int State, int X, int Y) const;
  uint32_t Master(int X, int Y) const { return master_.At(X, Y) & 0xFFFFFF; }

  test_skin::TestSkinFiles files_;
  test_skin::Raster master_;
  test_skin::MfImage channel_, thumb_;
};

}  // namespace panel_e2e
