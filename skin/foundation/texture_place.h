// Placement of a section's texture image over an area: tiled, stretched,
// strips along an edge, or anchored at the bottom-right corner. Both
// placers return in `rect` the part they did not cover, or (-1, -1, -1, -1)
// when all of it is covered; callers fill that part with the section colour.
#pragma once

#include <cstdint>

#include "skin/foundation/background_view.h"
#include "skin/foundation/pixel_view.h"
#include "skin/foundation/skin_records.h"

enum TexturePlacement : uint8_t {
  plTile = 0,
  plStretch = 1,
  plTopStrip = 2,
  plLeftStrip = 3,
  plStretchTopStrip = 4,
  plStretchLeftStrip = 5,
  plBottomStrip = 6,
  plRightStrip = 7,
  plTileWhole = 10,
  plStretchRows = 11,
  plStretchColumns = 12,
  plTileFromBottomRight = 13,
};

// TexturePlacementMap: each PaintMode 0..14 names the placement of the same value.
TexturePlacement TexturePlacementOf(int paintMode);

constexpr RECT kAllCovered{-1, -1, -1, -1};
inline bool IsAllCovered(const RECT& r) {
  return r.left == -1 && r.top == -1 && r.right == -1 && r.bottom == -1;
}

void PlaceTexture(const PixelView& bitmap, RECT& rect, int placement, const TsMaskData& image);
void PlaceMaskedTexture(const PixelView& bitmap, RECT& rect, const BackgroundView& bg,
                        int placement, const TsMaskData& image);
