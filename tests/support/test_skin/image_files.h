// Encoders of the test skin's files. The BMP writer is the skin's own; PNG
// goes through the tests' PNG writer and JPEG through libjpeg's compressor.
#pragma once

#include <cstdint>
#include <vector>

#include "raster.h"

namespace test_skin {

// A bottom-up BMP with a BITMAPINFOHEADER; 24 bits drop the alpha byte.
std::vector<uint8_t> EncodeBmp(const Raster& image, int bitsPerPixel = 24);
// Reads back what EncodeBmp wrote (24 bits give opaque pixels), so tests can
// look at a written master picture; throws std::invalid_argument otherwise.
Raster DecodeBmp(const std::vector<uint8_t>& bytes);

// Colour type 6, 8 bits per sample, alpha as in the raster.
std::vector<uint8_t> EncodePngArgb(const Raster& image);

// Baseline JPEG, quality 95, no chroma subsampling (alpha is dropped).
std::vector<uint8_t> EncodeJpeg(const Raster& image);

// The 32-bit value a PNG pixel has once the skin premultiplies it without
// desktop composition: 0x00FFFFFF becomes 0; bright pixels are capped at 244.
uint32_t PremultipliedNoComposition(uint32_t argb);

}  // namespace test_skin
