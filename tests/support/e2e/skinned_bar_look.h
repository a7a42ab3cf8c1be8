// What a window carrying the edit border adapter shows when painted from
// the generated test skin, worked out from the manifest and master picture
// alone: the EDIT section's border ring around the window and the
// replacement vertical bar inside it. The bar is laid as the skin's pieces
// are: the two track halves split at the thumb's centre, the arrow buttons
// at its ends (their glyph images centred, or an arrow drawn in the
// section's font colour), the thumb with its grip on top.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/e2e/skinned_look.h"

namespace e2e {

// A vertical bar as a window shows it.
struct TVertBar {
  RECT Place{};  // in window coordinates
  SCROLLINFO Info{};
  int Btn = 0;  // the length of one arrow button
};

// Where the bar's thumb lies (window coordinates), from its scroll state
// as the adapter places it.
RECT ThumbPlace(const TVertBar& Bar);

class TSkinnedBarLook {
 public:
  explicit TSkinnedBarLook(const TSkinnedLook& Look) : look_(Look) {}

  // A window with a vertical bar and no horizontal one, of the skinned
  // test build whose application window that is (its scroll state is read
  // through the program): the bar lies right of the client area, inside
  // the skin's border, its arrow buttons as long as it is wide (the
  // manager's default sizes). Info stays empty when it could not be read.
  TVertBar VertBarOf(HWND Wnd, HWND ApplicationWindow) const;

  // Compares the border ring of the capture of the whole window with the
  // EDIT section's borders mask in State (0 normal, 1 focused), exactly,
  // apart from Bar (window coordinates) and the image's transparent
  // corners, which show the parent.
  std::string FrameMismatches(const TScreenImage& Capture, const RECT& Bar, int State) const;

  // Compares the bar, every piece in its normal state, with the capture of
  // the whole window: exact on the pieces' images, within Tolerance per
  // channel on the glyphs laid over them. An inactive bar (a page as large
  // as the range: no thumb, faded into what lies behind) is not modelled.
  std::string VertBarMismatches(const TScreenImage& Capture, const TVertBar& Bar,
                                int Tolerance) const;

 private:
  const TSkinnedLook& look_;
};

}  // namespace e2e
