// Eight-pixel forms of the alpha mask row kernels for processors with AVX2;
// their translation unit alone is compiled for AVX2. Each returns how many
// pixels it did, a multiple of 8; the caller finishes the row.
#pragma once

#include <cstdint>

namespace alpha_rows::avx2 {
// The values of alpha_rows::Rule.
constexpr int kKeepCopy = 0, kOpacityCopy = 1, kKeepStretch = 2, kOpacityStretch = 3;

int MixRow(int rule, uint32_t* d, const uint32_t* s, const uint32_t* mk, int n, uint32_t opacity,
           bool skipKey);
// Colour bytes times alpha shr 8; with capNearWhite pixels whose colour
// bytes are all 245 or more keep them below 245.
int PremultiplyRow(uint32_t* row, int n, bool capNearWhite);
}  // namespace alpha_rows::avx2
