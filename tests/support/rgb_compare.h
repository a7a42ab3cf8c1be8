// How the pixel tests compare colours: as 0xRRGGBB words (red in the third
// byte, as a 32-bit bitmap holds it), alike within a tolerance per channel.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "skin/foundation/argb_factories.h"
#include "widgets/graphics/colors.h"

// 0xRRGGBB of a TColor or COLORREF, a system colour resolved first.
inline uint32_t RgbOf(TColor c) {
  return static_cast<uint32_t>(SwapRedBlue(static_cast<int32_t>(ColorToRGB(c))));
}

// Whether no channel of two 0xRRGGBB colours differs by more than Tolerance;
// the top byte is not compared.
inline bool Near(uint32_t A, uint32_t B, int Tolerance) {
  for (int n = 0; n < 24; n += 8)
    if (std::abs(static_cast<int>((A >> n) & 0xFF) - static_cast<int>((B >> n) & 0xFF)) > Tolerance)
      return false;
  return true;
}
