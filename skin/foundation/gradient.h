// Gradients of skin section states: the text form of the stops, and painting
// a stop array into a rectangle of a 32-bit image (top to bottom, left to
// right, or four triangles through the centre), plain or mixed with a tiled
// texture in one pass.
#pragma once

#include <string>

#include "skin/foundation/pixel_view.h"
#include "skin/foundation/skin_records.h"

// Raises the conversion error for a word that is not an integer (the stops
// parsed so far stay).
void ParseGradientData(const std::string& text, TsGradArray& stops);

void FillGradientArgb(const PixelView& bitmap, RECT rect, const TsGradArray& stops);

// blend is the texture's weight; every written pixel gets the alpha byte.
void FillGradientWithTexture(const PixelView& bitmap, RECT rect, const TsGradArray& stops,
                             const PixelView& texture, RECT texRect, uint8_t blend, uint8_t alpha);

// The platform's GradientFill, bound from "msimg32.dll" on first use; false
// when the library or the function is missing.
bool GradientFillAvailable();
