// Separable filtered resampling of 32-bit images in 16.16 fixed point: every
// row to the new width, then every column to the new height. All four bytes,
// alpha included, are filtered alike; colours are not premultiplied.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/foundation/pixel_view.h"

enum ResampleFilter : uint8_t {
  rsBox,
  rsTriangle,
  rsHermite,
  rsBell,
  rsBSpline,
  rsLanczos3,
  rsMitchell
};

float ResampleSupport(ResampleFilter filter);
// The kernel at signed distance x (the box filter tells -0.5 from +0.5).
double ResampleKernel(ResampleFilter filter, double x);

struct ResampleContributor {
  int32_t Offset;  // byte offset of the source pixel from the start of the line
  int32_t Weight;  // 16.16 fixed point
};

// Contributor lists of every output position of one pass, in one block.
struct ResampleWeights {
  int SlotsPerPosition = 0;
  std::vector<int32_t> Counts;
  std::vector<ResampleContributor> Slots;  // Counts.size() * SlotsPerPosition
  const ResampleContributor* List(int i) const {
    return Slots.data() + static_cast<size_t>(i) * SlotsPerPosition;
  }
};

void BuildResampleWeights(ResampleWeights& weights, int newSize, int oldSize, int32_t step,
                          ResampleFilter filter);
void FreeResampleWeights(ResampleWeights& weights);
// Count output pixels of one line, each the weighted sum of its contributors
// read at src + Offset; dst advances by dstStep bytes per pixel.
void ApplyResampleWeights(ptrdiff_t dstStep, uint8_t* dst, const uint8_t* src,
                          const ResampleWeights& weights, int count);

// Resamples src into the whole of dst (already sized). Nothing for a source
// one pixel wide or high; an equal size is a plain copy.
void ResampleArgb(const PixelView& src, const PixelView& dst, ResampleFilter filter);
