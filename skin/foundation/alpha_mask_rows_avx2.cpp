// The mixes of alpha_mask_rows.h eight pixels at a time, for processors with
// AVX2 (chosen at run time). The arithmetic is that of the SSE2 form within
// each 128-bit lane; the caller finishes the row.
#pragma GCC target("avx2")

#include <immintrin.h>

#include <cstdint>

#include "skin/foundation/alpha_mask_rows_avx2.h"

namespace alpha_rows::avx2 {
namespace {

// Colour bytes (d * (255 - ws) + s * ws) shr 8 in 16-bit lanes.
inline __m256i MixLanes(__m256i d16, __m256i s16, __m256i ws) {
  const __m256i c255 = _mm256_set1_epi16(255);
  return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(d16, _mm256_sub_epi16(c255, ws)),
                                            _mm256_mullo_epi16(s16, ws)),
                           8);
}

inline __m256i TimesAlpha(__m256i p16) {
  const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(p16, _MM_SHUFFLE(3, 3, 3, 3)),
                                           _MM_SHUFFLE(3, 3, 3, 3));
  return _mm256_srli_epi16(_mm256_mullo_epi16(p16, a), 8);
}

template <int R>
int Mix(uint32_t* d, const uint32_t* s, const uint32_t* mk, int n, uint32_t opacity, bool skipKey) {
  constexpr bool stretch = R == kKeepStretch || R == kOpacityStretch;
  const __m256i z = _mm256_setzero_si256();
  const __m256i op = _mm256_set1_epi16(static_cast<short>(opacity));
  const __m256i byteMask = _mm256_set1_epi32(0xFF);
  const __m256i alphaMask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i key = _mm256_set1_epi32(static_cast<int>(0x00FF00FFu));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
    const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    const __m256i m = _mm256_and_si256(
        _mm256_srli_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(mk + i)), 16),
        byteMask);
    const __m256i cover = _mm256_sub_epi32(byteMask, m);
    __m256i ws32;
    if constexpr (R == kKeepCopy) {
      ws32 = cover;
    } else if constexpr (R == kKeepStretch) {
      ws32 = _mm256_sub_epi32(byteMask, _mm256_min_epi32(m, _mm256_srli_epi32(dv, 24)));
    } else {
      ws32 = _mm256_srli_epi32(_mm256_mullo_epi16(cover, op), 8);
    }
    const __m256i w = _mm256_or_si256(ws32, _mm256_slli_epi32(ws32, 16));
    const __m256i wLo = _mm256_unpacklo_epi32(w, w), wHi = _mm256_unpackhi_epi32(w, w);
    __m256i r = _mm256_packus_epi16(
        MixLanes(_mm256_unpacklo_epi8(dv, z), _mm256_unpacklo_epi8(sv, z), wLo),
        MixLanes(_mm256_unpackhi_epi8(dv, z), _mm256_unpackhi_epi8(sv, z), wHi));
    const __m256i alpha =
        _mm256_max_epu8(_mm256_and_si256(dv, alphaMask), _mm256_slli_epi32(cover, 24));
    r = _mm256_blendv_epi8(r, alpha, alphaMask);
    if constexpr (stretch) {
      r = _mm256_blendv_epi8(r, _mm256_or_si256(sv, alphaMask), _mm256_cmpeq_epi32(m, z));
      r = _mm256_blendv_epi8(r, dv, _mm256_cmpeq_epi32(m, byteMask));
    }
    if (skipKey) {
      r = _mm256_blendv_epi8(r, _mm256_andnot_si256(alphaMask, dv), _mm256_cmpeq_epi32(sv, key));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), r);
  }
  return i;
}

}  // namespace

int MixRow(int rule, uint32_t* d, const uint32_t* s, const uint32_t* mk, int n, uint32_t opacity,
           bool skipKey) {
  switch (rule) {
    case kKeepCopy:
      return Mix<kKeepCopy>(d, s, mk, n, opacity, skipKey);
    case kOpacityCopy:
      return Mix<kOpacityCopy>(d, s, mk, n, opacity, skipKey);
    case kKeepStretch:
      return Mix<kKeepStretch>(d, s, mk, n, opacity, skipKey);
    default:
      return Mix<kOpacityStretch>(d, s, mk, n, opacity, skipKey);
  }
}

int PremultiplyRow(uint32_t* row, int n, bool capNearWhite) {
  const __m256i z = _mm256_setzero_si256();
  const __m256i alphaMask = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i colourBytes = _mm256_set1_epi32(0x00FFFFFF);
  const __m256i limit = _mm256_set1_epi8(static_cast<char>(244));
  int x = 0;
  for (; x + 8 <= n; x += 8) {
    const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x));
    __m256i c = _mm256_packus_epi16(TimesAlpha(_mm256_unpacklo_epi8(p, z)),
                                    TimesAlpha(_mm256_unpackhi_epi8(p, z)));
    if (capNearWhite) {
      // Pixels whose three colour bytes are all 245 or more stay below 245.
      const __m256i low = _mm256_cmpeq_epi8(_mm256_subs_epu8(p, limit), z);
      const __m256i whitish = _mm256_cmpeq_epi32(_mm256_and_si256(low, colourBytes), z);
      c = _mm256_blendv_epi8(c, _mm256_min_epu8(c, limit), whitish);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(row + x), _mm256_blendv_epi8(c, p, alphaMask));
  }
  return x;
}

}  // namespace alpha_rows::avx2
