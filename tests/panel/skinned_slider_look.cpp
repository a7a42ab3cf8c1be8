#include "tests/panel/skinned_slider_look.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "image_files.h"

namespace panel_e2e {

namespace {

// The library's weight of a disabled face over its background, out of 256.
constexpr int kDisabledKeep = 100;

uint32_t PerChannel(uint32_t A, uint32_t B, int (*Mix)(int, int, int), int Weight) {
  uint32_t out = 0;
  for (int shift : {0, 8, 16})
    out |= uint32_t(Mix(int((A >> shift) & 0xFF), int((B >> shift) & 0xFF), Weight) & 0xFF)
           << shift;
  return out;
}

// A mask byte m weighs what lies below: 0 shows the image, 255 the destination.
uint32_t ThroughMask(uint32_t Image, uint32_t Below, uint32_t Mask) {
  uint32_t out = 0;
  for (int shift : {0, 8, 16}) {
    const int s = int((Image >> shift) & 0xFF), d = int((Below >> shift) & 0xFF),
              m = int((Mask >> shift) & 0xFF);
    out |= uint32_t((((d - s) * m + s * 256) >> 8) & 0xFF) << shift;
  }
  return out;
}

uint32_t Faded(uint32_t Face, uint32_t Background) {
  return PerChannel(
      Face, Background, [](int f, int b, int keep) { return (f * keep + b * (256 - keep)) >> 8; },
      kDisabledKeep);
}

const test_skin::MfImage& ImageOf(const test_skin::TestSkinManifest& m, const char* key) {
  const int i = m.ImageIndex("TRACKBAR", key);
  if (i < 0) throw std::logic_error(std::string("the test skin has no TRACKBAR/") + key);
  return m.Images[size_t(i)];
}

const std::vector<uint8_t>& FileBytes(const test_skin::TestSkinFiles& f, const char* name) {
  for (const test_skin::SkinFile& file : f.Files)
    if (file.Name == name) return file.Bytes;
  throw std::logic_error(std::string("the test skin has no ") + name);
}

bool Inside(const RECT& R, int X, int Y) {
  return X >= R.left && X < R.right && Y >= R.top && Y < R.bottom;
}

}  // namespace

TSliderGeometry MeasureSlider(HWND Slider) {
  TSliderGeometry g;
  g.Channel = e2e::AskRect(Slider, TBM_GETCHANNELRECT);
  g.Thumb = e2e::AskRect(Slider, TBM_GETTHUMBRECT);
  const POINT o = e2e::ClientOffset(Slider);
  OffsetRect(&g.Channel, o.x, o.y);
  OffsetRect(&g.Thumb, o.x, o.y);
  return g;
}

TSkinnedSliderLook::TSkinnedSliderLook(const std::string& Variant)
    : files_(test_skin::BuildTestSkin(Variant)),
      master_(test_skin::DecodeBmp(FileBytes(files_, "MASTER.BMP"))),
      channel_(ImageOf(files_.Manifest, "SLIDERCHANNEL")),
      thumb_(ImageOf(files_.Manifest, "SLIDERMASK")) {}

RECT TSkinnedSliderLook::PaintedChannel(const TSliderGeometry& G) const {
  RECT r = G.Channel;
  // One row short of the frame across the bar: its middle gives up a row.
  r.top += (r.bottom - r.top - channel_.FrameHeight + 1) / 2;
  r.bottom = r.top + channel_.FrameHeight - 1;
  r.left += 1;
  r.right -= 1;
  return r;
}

std::optional<uint32_t> TSkinnedSliderLook::ChannelRing(const TSliderGeometry& G, int State, int X,
                                                        int Y) const {
  const RECT r = PaintedChannel(G);
  if (!Inside(r, X, Y)) return std::nullopt;
  const int w = r.right - r.left, h = r.bottom - r.top, x = X - r.left, y = Y - r.top;
  const int left = channel_.BorderLeft, right = channel_.BorderRight;
  const int top = channel_.BorderTop, bottom = channel_.BorderBottom;
  const int fw = channel_.FrameWidth, fh = channel_.FrameHeight;
  // The centre is not painted (no centre bit in the paint mode).
  const bool ring = x < left || x >= w - right || y < top || y >= h - bottom;
  if (!ring || w < left + right || h < top + bottom || (channel_.PaintMode & 4))
    return std::nullopt;
  // Corners as they are; the edges between them repeat the frame's middle.
  const auto source = [](int at, int length, int first, int last, int frame) {
    if (at < first) return at;
    if (at >= length - last) return frame - (length - at);
    return first + (at - first) % (frame - first - last);
  };
  const int sx = source(x, w, left, right, fw), sy = source(y, h, top, bottom, fh);
  const int frame = std::min(State, channel_.FrameCount - 1);
  return Master(channel_.SourceRect.Left + frame * fw + sx, channel_.SourceRect.Top + sy);
}

std::optional<TExpectedPixel> TSkinnedSliderLook::At(const TSliderGeometry& G,
                                                     const TSliderState& State, uint32_t Background,
                                                     int X, int Y) const {
  const RECT& t = G.Thumb;
  const int fw = thumb_.FrameWidth, fh = thumb_.FrameHeight;
  const int tx = t.left + (t.right - t.left - fw) / 2, ty = t.top + (t.bottom - t.top - fh) / 2;
  const std::optional<uint32_t> ring = ChannelRing(G, State.Face, X, Y);
  std::optional<TExpectedPixel> face;
  if (X >= tx && X < tx + fw && Y >= ty && Y < ty + fh) {
    const int frame = std::min(State.Thumb, thumb_.FrameCount - 1);
    const int sx = thumb_.SourceRect.Left + frame * fw + X - tx;
    const int sy = thumb_.SourceRect.Top + Y - ty;
    face = TExpectedPixel{
        ThroughMask(Master(sx, sy), ring.value_or(Background), Master(sx, sy + fh)), 2};
  } else if (ring) {
    face = TExpectedPixel{*ring, 0};
  }
  if (!face || !State.Disabled) return face;
  return TExpectedPixel{Faded(face->Rgb, Background), 2};
}

std::pair<int, int> TSkinnedSliderLook::Matches(const e2e::TScreenImage& Capture,
                                                const TSliderGeometry& G, const TSliderState& State,
                                                uint32_t Background) const {
  int good = 0, all = 0;
  Compare(Capture, G, State, Background, [&](int, int, uint32_t, const TExpectedPixel&, bool ok) {
    ++all;
    good += ok;
  });
  return {good, all};
}

std::string TSkinnedSliderLook::Mismatches(const e2e::TScreenImage& Capture,
                                           const TSliderGeometry& G, const TSliderState& State,
                                           uint32_t Background) const {
  std::string first;
  int bad = 0, all = 0;
  Compare(Capture, G, State, Background,
          [&](int x, int y, uint32_t shown, const TExpectedPixel& e, bool ok) {
            ++all;
            if (ok || ++bad > 6) return;
            char line[96];
            snprintf(line, sizeof line, " (%d,%d) shows %06X, expected %06X +-%d;", x, y,
                     unsigned(shown), unsigned(e.Rgb), e.Tolerance);
            first += line;
          });
  if (all == 0) return "no place of the slider is decided by the skin";
  if (bad == 0) return "";
  return std::to_string(bad) + " of " + std::to_string(all) + " pixels differ:" + first;
}

void TSkinnedSliderLook::Compare(const e2e::TScreenImage& Capture, const TSliderGeometry& G,
                                 const TSliderState& State, uint32_t Background,
                                 const TVisit& Visit) const {
  for (int y = 0; y < Capture.Height; ++y)
    for (int x = 0; x < Capture.Width; ++x)
      if (const auto e = At(G, State, Background, x, y))
        Visit(x, y, Capture.At(x, y), *e,
              e2e::ChannelDistance(Capture.At(x, y), e->Rgb) <= e->Tolerance);
}

}  // namespace panel_e2e
