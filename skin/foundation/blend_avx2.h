// Eight-pixel forms of the blend row kernels for processors with AVX2 (their
// translation unit alone is compiled for AVX2; nothing inline is shared with
// it). Each returns how many pixels it did, a multiple of 8; the caller
// finishes the row.
#pragma once

#include <cstdint>

namespace blend {
bool HasAvx2();
namespace avx2 {
int LerpRow3(uint32_t* out, const uint32_t* x, const uint32_t* y, int n, uint32_t wx,
             uint32_t byteMask);
int LerpRowUniform(uint32_t* dst, const uint32_t* src, int n, uint32_t wd, uint32_t byteMask);
int MaskedRow(uint32_t* dst, const uint32_t* src, const uint32_t* weights, int n, bool skipKey,
              uint32_t skipValue, bool forceAlpha);
int AlphaOverRow(uint32_t* dst, const uint32_t* src, int n, bool accumulateAlpha);
int AlphaCopyRow(uint32_t* dst, const uint32_t* src, int n, const uint32_t* fill, bool holeTest,
                 int transparency);
}  // namespace avx2
}  // namespace blend
