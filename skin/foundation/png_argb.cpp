#include "skin/foundation/png_argb.h"

#include <cstring>

namespace {

inline void Put(uint8_t* destRow, size_t x, uint32_t pixel) {
  std::memcpy(destRow + 4 * x, &pixel, 4);
}

}  // namespace

void BuildArgbLookup(const ColorPalette& palette, const std::vector<uint8_t>& alphaTable,
                     unsigned fileBits, unsigned bitmapBits, uint32_t (&lookup)[256]) {
  const uint32_t entries = bitmapBits >= 8 ? 256 : 1u << bitmapBits;
  const uint32_t bitmapMax = entries - 1;
  const uint32_t fileMax = fileBits >= 8 ? 255 : (1u << fileBits) - 1;
  for (uint32_t t = 0; t < 256; ++t) {
    const uint32_t colour = t < entries ? palette.Entries[t] & 0xFFFFFF : 0;
    uint32_t alpha = 255;
    if (!alphaTable.empty() && t < entries) {
      const uint32_t fileIndex = fileMax == bitmapMax ? t : t * fileMax / bitmapMax;
      alpha = alphaTable[fileIndex];
    }
    lookup[t] = (alpha << 24) | colour;
  }
}

void ExpandRowToArgb(ArgbRowKind kind, const uint8_t* source, size_t count,
                     const uint32_t (&lookup)[256], uint8_t* destRow, size_t start, size_t step) {
  size_t x = start;
  switch (kind) {
    case ArgbRowKind::Indexed1:
      for (size_t i = 0; i < count; ++i, x += step)
        Put(destRow, x, lookup[(source[i >> 3] >> (7 - (i & 7))) & 1]);
      break;
    case ArgbRowKind::Indexed4:
      for (size_t i = 0; i < count; ++i, x += step)
        Put(destRow, x, lookup[(source[i >> 1] >> ((i & 1) ? 0 : 4)) & 15]);
      break;
    case ArgbRowKind::Indexed8:
      for (size_t i = 0; i < count; ++i, x += step) Put(destRow, x, lookup[source[i]]);
      break;
    case ArgbRowKind::Bgr24:
      // Four bytes read for each triple, the fourth replaced: the source is
      // a row buffer of 4 bytes per pixel, so the last read stays inside it.
      for (size_t i = 0; i < count; ++i, x += step, source += 3) {
        uint32_t p;
        std::memcpy(&p, source, 4);
        Put(destRow, x, p | 0xFF000000u);
      }
      break;
    case ArgbRowKind::Bgra32:
      if (step == 1) {
        std::memcpy(destRow + 4 * start, source, 4 * count);
        break;
      }
      for (size_t i = 0; i < count; ++i, x += step) std::memcpy(destRow + 4 * x, source + 4 * i, 4);
      break;
  }
}

void ScatterNativeRow(ArgbRowKind kind, const uint8_t* source, size_t count, uint8_t* destRow,
                      size_t start, size_t step) {
  size_t x = start;
  switch (kind) {
    case ArgbRowKind::Indexed1:
      for (size_t i = 0; i < count; ++i, x += step) {
        const unsigned bit = (source[i >> 3] >> (7 - (i & 7))) & 1u;
        const unsigned shift = 7 - unsigned(x & 7);
        uint8_t& b = destRow[x >> 3];
        b = static_cast<uint8_t>((b & ~(1u << shift)) | (bit << shift));
      }
      break;
    case ArgbRowKind::Indexed4:
      for (size_t i = 0; i < count; ++i, x += step) {
        const unsigned v = (source[i >> 1] >> ((i & 1) ? 0 : 4)) & 15u;
        const unsigned shift = (x & 1) ? 0 : 4;
        uint8_t& b = destRow[x >> 1];
        b = static_cast<uint8_t>((b & ~(15u << shift)) | (v << shift));
      }
      break;
    case ArgbRowKind::Indexed8:
      for (size_t i = 0; i < count; ++i, x += step) destRow[x] = source[i];
      break;
    case ArgbRowKind::Bgr24:
      for (size_t i = 0; i < count; ++i, x += step) std::memcpy(destRow + 3 * x, source + 3 * i, 3);
      break;
    case ArgbRowKind::Bgra32:
      for (size_t i = 0; i < count; ++i, x += step) std::memcpy(destRow + 4 * x, source + 4 * i, 4);
      break;
  }
}
