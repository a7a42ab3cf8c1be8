#include "tests/support/e2e/skinned_bar_look.h"

#include <algorithm>
#include <vector>

#include "raster.h"
#include "skin/adapters/scroll_geometry.h"
#include "skin/foundation/argb_factories.h"
#include "tests/support/e2e/skin_switch.h"

namespace e2e {

namespace {

// The adapter's shortest thumb.
constexpr int kMinThumbSize = 16;
constexpr uint32_t kKeyRgb = test_skin::kKeyArgb & 0xFFFFFF;

// One piece of the bar, from From to To along it.
struct TBarPiece {
  const char* Section;
  int From, To;
  // An arrow button: its arrow is a glyph image when the section has one,
  // else drawn in the section's font colour.
  bool Arrow;
};

bool Inside(const RECT& R, int X, int Y) {
  return X >= R.left && X < R.right && Y >= R.top && Y < R.bottom;
}

}  // namespace

RECT ThumbPlace(const TVertBar& Bar) {
  const RECT& p = Bar.Place;
  int len = 0, pos = 0;
  ThumbGeometryOf(Bar.Info, Bar.Btn, kMinThumbSize, p.top, p.bottom - p.top, len, pos);
  return {p.left, pos, p.right, pos + len};
}

TVertBar TSkinnedBarLook::VertBarOf(HWND Wnd, HWND ApplicationWindow) const {
  TVertBar bar;
  RECT window{}, client{};
  GetWindowRect(Wnd, &window);
  GetClientRect(Wnd, &client);
  const POINT origin = ClientOffset(Wnd);
  const int border = look_.Image("EDIT", "BORDERSMASK").BorderRight;
  bar.Place = {origin.x + client.right, origin.y, window.right - window.left - border,
               origin.y + client.bottom};
  bar.Btn = bar.Place.right - bar.Place.left;
  if (!AskScrollInfo(ApplicationWindow, Wnd, SB_VERT, bar.Info)) bar.Info = SCROLLINFO{};
  return bar;
}

std::string TSkinnedBarLook::FrameMismatches(const TScreenImage& Capture, const RECT& Bar,
                                             int State) const {
  const test_skin::MfImage& ring = look_.Image("EDIT", "BORDERSMASK");
  const int w = Capture.Width, h = Capture.Height;
  return CountMismatches(Capture, "EDIT frame", 0, {Bar}, [&](int X, int Y, uint32_t& Want, int&) {
    const bool border = X < ring.BorderLeft || X >= w - ring.BorderRight || Y < ring.BorderTop ||
                        Y >= h - ring.BorderBottom;
    return border && look_.RingPixel(ring, State, w, h, X, Y, Want) && Want != kKeyRgb;
  });
}

std::string TSkinnedBarLook::VertBarMismatches(const TScreenImage& Capture, const TVertBar& Bar,
                                               int Tolerance) const {
  const RECT& place = Bar.Place;
  const int width = place.right - place.left, length = place.bottom - place.top;
  if (width <= 0 || Bar.Btn <= 0 || 2 * Bar.Btn >= length)
    return "the bar is too short for its arrows";
  if (Bar.Info.nMax - Bar.Info.nMin + 1 <= int(Bar.Info.nPage))
    return "an inactive bar is not modelled";
  const RECT thumb = ThumbPlace(Bar);
  const int thumbPos = thumb.top - place.top, thumbLen = thumb.bottom - thumb.top;
  const int split = thumbPos + thumbLen / 2;
  // In the order they are laid, each over the ones before.
  const TBarPiece pieces[] = {
      {"SCROLLBAR1V", 0, split, false},
      {"SCROLLBAR2V", split, length, false},
      {"SCROLLBTNTOP", 0, Bar.Btn, true},
      {"SCROLLBTNBOTTOM", length - Bar.Btn, length, true},
      {"SCROLLSLIDERV", thumbPos, thumbPos + thumbLen, false},
  };
  const test_skin::TestSkinManifest& m = look_.Manifest();
  for (const TBarPiece& p : pieces)
    if (m.ImageIndex(p.Section, "BORDERSMASK") < 0 || (p.Arrow && m.SectionIndex(p.Section) < 0))
      return std::string("the test skin has no ") + p.Section;

  return CountMismatches(
      Capture, "vertical bar", 0, {}, [&](int X, int Y, uint32_t& Want, int& Tol) {
        if (!Inside(place, X, Y)) return false;
        const int x = X - place.left, y = Y - place.top;
        const TBarPiece* piece = nullptr;
        for (const TBarPiece& p : pieces)
          if (y >= p.From && y < p.To) piece = &p;
        if (!piece) return false;
        const int h = piece->To - piece->From, py = y - piece->From;
        look_.RingPixel(look_.Image(piece->Section, "BORDERSMASK"), 0, width, h, x, py, Want);
        if (m.ImageIndex(piece->Section, "GLYPHMASK") >= 0) {
          const test_skin::MfImage& glyph = look_.Image(piece->Section, "GLYPHMASK");
          const int gw = FrameWidthOf(glyph), gh = FrameHeightOf(glyph);
          const int gx = x - (width - gw) / 2, gy = py - (h - gh) / 2;
          if (gx >= 0 && gx < gw && gy >= 0 && gy < gh) {
            const uint32_t g =
                look_.Master().At(glyph.SourceRect.Left + gx, glyph.SourceRect.Top + gy) & 0xFFFFFF;
            if (g == kKeyRgb) return false;
            Want = g;
            Tol = Tolerance;
          }
        } else if (piece->Arrow) {
          // Where the drawn arrow lies is the painter's; only its colour
          // is the skin's.
          const uint32_t ink = uint32_t(
              SwapRedBlue(m.Sections[size_t(m.SectionIndex(piece->Section))].States[0].FontColor));
          if (Capture.At(X, Y) == ink) Want = ink;
        }
        return true;
      });
}

}  // namespace e2e
