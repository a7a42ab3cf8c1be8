// A plain top-down ARGB picture (0xAARRGGBB words) that the test skin paints
// its images into before they are written as BMP, PNG or JPEG files.
#pragma once

#include <cstdint>
#include <vector>

namespace test_skin {

constexpr uint32_t kKeyArgb = 0xFFFF00FF;  // fuchsia, the skin's transparent key

struct Raster {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;

  Raster() = default;
  Raster(int width, int height, uint32_t fill = 0);

  uint32_t At(int x, int y) const { return Pixels[size_t(y) * Width + x]; }
  void Set(int x, int y, uint32_t argb) { Pixels[size_t(y) * Width + x] = argb; }
  void Fill(int left, int top, int right, int bottom, uint32_t argb);
  // Rows from top to bottom change from one colour to the other.
  void Ramp(int left, int top, int right, int bottom, uint32_t topArgb, uint32_t bottomArgb);
  void Frame(int left, int top, int right, int bottom, uint32_t argb);
  // A small diamond, the skin's recurring tessera motif.
  void Diamond(int cx, int cy, int radius, uint32_t argb);
  void Paste(const Raster& src, int x, int y);
};

// Mixes two colours channel by channel, weight/255 of b.
uint32_t MixArgb(uint32_t a, uint32_t b, int weight);

}  // namespace test_skin
