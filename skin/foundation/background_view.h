// What lies behind the area being painted, as the painters read it: a pixel
// view of the parent's image with the offset of the painted area's origin in
// it, or a plain colour.
#pragma once

#include "skin/foundation/pixel_view.h"

struct BackgroundView {
  PixelView Pixels;  // valid only when HasBitmap (or for Borders strips)
  int OffsetX = 0;
  int OffsetY = 0;
  uint32_t Color = 0;  // TColor, RGB; kFuchsia = none known
  RECT Borders{0, 0, 0, 0};
  bool HasBitmap = false;

  BackgroundView Shifted(int dx, int dy) const {
    BackgroundView b = *this;
    b.OffsetX += dx;
    b.OffsetY += dy;
    return b;
  }
  // Background pixel behind destination position (x, y); false outside.
  bool Fetch(int x, int y, uint32_t& out) const {
    const int bx = x + OffsetX, by = y + OffsetY;
    if (!Pixels.Valid() || !Pixels.Contains(bx, by)) return false;
    out = Pixels.At(bx, by);
    return true;
  }
};

inline BackgroundView MakeBackgroundView(const PixelView& pixels, int offsetX, int offsetY) {
  BackgroundView b;
  b.Pixels = pixels;
  b.OffsetX = offsetX;
  b.OffsetY = offsetY;
  b.Color = kFuchsia;
  b.HasBitmap = true;
  return b;
}

inline BackgroundView ColorBackgroundView(uint32_t color) {
  BackgroundView b;
  b.Color = color;
  return b;
}
