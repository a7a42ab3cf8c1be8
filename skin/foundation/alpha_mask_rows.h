// Row kernels of the alpha-producing nine-slice painters. A masked pixel
// weighs the target by the red byte m of its mask pixel; colour bytes become
// (d * wd + s * ws) shr 8 with wd + ws = 255, alpha becomes max(alpha,
// 255 - m) (a transparent target takes the image's cover, an opaque one stays
// opaque). The scalar forms are the reference and handle the row tails.
#pragma once

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "skin/foundation/alpha_mask_rows_avx2.h"
#include "skin/foundation/blend_avx2.h"
#include "skin/foundation/pixel_view.h"

namespace alpha_rows {

enum class Rule {
  KeepCopy = avx2::kKeepCopy,        // copied pieces: the mask keeps m of the target
  OpacityCopy = avx2::kOpacityCopy,  // copied: opacity * (255 - m) shr 8 of the image comes through
  KeepStretch = avx2::kKeepStretch,  // stretched: the target keeps min(m, its alpha)
  OpacityStretch = avx2::kOpacityStretch,  // stretched: (255 - m) * opacity shr 8 of the image
};

constexpr bool IsStretch(Rule r) {
  return r == Rule::KeepStretch || r == Rule::OpacityStretch;
}

inline uint32_t MixColour(uint32_t d, uint32_t s, uint32_t wd, uint32_t ws) {
  const uint32_t even = (((d & 0x00FF00FFu) * wd + (s & 0x00FF00FFu) * ws) >> 8) & 0x00FF00FFu;
  const uint32_t odd = (((d >> 8) & 0xFFu) * wd + ((s >> 8) & 0xFFu) * ws) & 0x0000FF00u;
  return even | odd;
}

// One pixel s with mask value m over d (no hole test).
template <Rule R>
inline uint32_t MixPixel(uint32_t d, uint32_t s, uint32_t m, uint32_t opacity) {
  const uint32_t a = d >> 24, cover = 255 - m;
  if constexpr (IsStretch(R)) {
    if (m == 0) return s | 0xFF000000u;
    if (m == 255) return d;
  }
  uint32_t ws;
  if constexpr (R == Rule::KeepCopy) {
    ws = cover;
  } else if constexpr (R == Rule::KeepStretch) {
    ws = 255 - std::min(m, a);
  } else {
    ws = opacity * cover >> 8;
  }
  return MixColour(d, s, 255 - ws, ws) | std::max(a, cover) << 24;
}

// n pixels of image s through mask pixels mk. With skipKey (copied pieces
// without a background) key pixels only clear the target's alpha.
template <Rule R>
inline void MixRow(uint32_t* d, const uint32_t* s, const uint32_t* mk, int n, uint32_t opacity,
                   bool skipKey) {
  int i = n >= 8 && blend::HasAvx2()
              ? avx2::MixRow(static_cast<int>(R), d, s, mk, n, opacity, skipKey)
              : 0;
#if defined(__SSE2__)
  const __m128i z = _mm_setzero_si128();
  const __m128i c255 = _mm_set1_epi16(255);
  const __m128i op = _mm_set1_epi16(static_cast<short>(opacity));
  const __m128i byteMask = _mm_set1_epi32(0xFF);
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i key = _mm_set1_epi32(static_cast<int>(kKeyPixel));
  for (; i + 4 <= n; i += 4) {
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    const __m128i m = _mm_and_si128(
        _mm_srli_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(mk + i)), 16), byteMask);
    const __m128i cover = _mm_sub_epi32(byteMask, m);
    __m128i ws32;
    if constexpr (R == Rule::KeepCopy) {
      ws32 = cover;
    } else if constexpr (R == Rule::KeepStretch) {
      const __m128i a = _mm_srli_epi32(dv, 24);
      // min(m, a) of values below 256: signed 16-bit compare is safe.
      const __m128i k = _mm_min_epi16(m, a);
      ws32 = _mm_sub_epi32(byteMask, k);
    } else {
      ws32 = _mm_srli_epi32(_mm_mullo_epi16(cover, op), 8);
    }
    // The 16-bit weight of the image in the four lanes of each pixel.
    const __m128i w = _mm_or_si128(ws32, _mm_slli_epi32(ws32, 16));
    const __m128i wLo = _mm_unpacklo_epi32(w, w), wHi = _mm_unpackhi_epi32(w, w);
    auto mix = [&](__m128i d16, __m128i s16, __m128i ws) {
      const __m128i sum =
          _mm_add_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(c255, ws)), _mm_mullo_epi16(s16, ws));
      return _mm_srli_epi16(sum, 8);
    };
    __m128i r = _mm_packus_epi16(mix(_mm_unpacklo_epi8(dv, z), _mm_unpacklo_epi8(sv, z), wLo),
                                 mix(_mm_unpackhi_epi8(dv, z), _mm_unpackhi_epi8(sv, z), wHi));
    const __m128i alpha = _mm_max_epu8(_mm_and_si128(dv, alphaMask), _mm_slli_epi32(cover, 24));
    r = _mm_or_si128(_mm_andnot_si128(alphaMask, r), alpha);
    if constexpr (IsStretch(R)) {
      const __m128i full = _mm_cmpeq_epi32(m, z);
      const __m128i none = _mm_cmpeq_epi32(m, byteMask);
      r = _mm_or_si128(_mm_and_si128(full, _mm_or_si128(sv, alphaMask)), _mm_andnot_si128(full, r));
      r = _mm_or_si128(_mm_and_si128(none, dv), _mm_andnot_si128(none, r));
    }
    if (skipKey) {
      const __m128i hole = _mm_cmpeq_epi32(sv, key);
      r = _mm_or_si128(_mm_and_si128(hole, _mm_andnot_si128(alphaMask, dv)),
                       _mm_andnot_si128(hole, r));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), r);
  }
#endif
  for (; i < n; ++i) {
    if (skipKey && s[i] == kKeyPixel) {
      d[i] &= 0x00FFFFFFu;
    } else {
      d[i] = MixPixel<R>(d[i], s[i], (mk[i] >> 16) & 0xFFu, opacity);
    }
  }
}

}  // namespace alpha_rows
