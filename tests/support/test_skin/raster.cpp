#include "raster.h"

#include <cstdlib>

namespace test_skin {

Raster::Raster(int width, int height, uint32_t fill)
    : Width(width), Height(height), Pixels(size_t(width) * height, fill) {}

void Raster::Fill(int left, int top, int right, int bottom, uint32_t argb) {
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) Set(x, y, argb);
}

uint32_t MixArgb(uint32_t a, uint32_t b, int weight) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int ca = int(a >> shift) & 0xFF, cb = int(b >> shift) & 0xFF;
    out |= uint32_t((ca * (255 - weight) + cb * weight) / 255) << shift;
  }
  return out;
}

void Raster::Ramp(int left, int top, int right, int bottom, uint32_t topArgb, uint32_t bottomArgb) {
  const int rows = bottom - top;
  for (int y = top; y < bottom; ++y) {
    const int weight = rows > 1 ? (y - top) * 255 / (rows - 1) : 0;
    const uint32_t c = MixArgb(topArgb, bottomArgb, weight);
    for (int x = left; x < right; ++x) Set(x, y, c);
  }
}

void Raster::Frame(int left, int top, int right, int bottom, uint32_t argb) {
  Fill(left, top, right, top + 1, argb);
  Fill(left, bottom - 1, right, bottom, argb);
  Fill(left, top, left + 1, bottom, argb);
  Fill(right - 1, top, right, bottom, argb);
}

void Raster::Diamond(int cx, int cy, int radius, uint32_t argb) {
  for (int y = cy - radius; y <= cy + radius; ++y)
    for (int x = cx - radius; x <= cx + radius; ++x)
      if (std::abs(x - cx) + std::abs(y - cy) <= radius && x >= 0 && y >= 0 && x < Width &&
          y < Height)
        Set(x, y, argb);
}

void Raster::Paste(const Raster& src, int x0, int y0) {
  for (int y = 0; y < src.Height; ++y)
    for (int x = 0; x < src.Width; ++x) Set(x0 + x, y0 + y, src.At(x, y));
}

}  // namespace test_skin
