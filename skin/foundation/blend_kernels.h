// Row kernels shared by the blends. Every mix of the library has the form
// (x * w + y * (256 - w)) shr 8 per byte with 0 <= w <= 256; the sum never
// exceeds 16 bits, so eight bytes go through one SSE2 multiply. The scalar
// forms are the reference and handle the row tails.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace blend {

// Bytes of byteMask := (d * wd + s * (256 - wd)) shr 8; the other bytes of d stay.
inline uint32_t Lerp(uint32_t d, uint32_t s, uint32_t wd, uint32_t byteMask) {
  uint32_t r = 0;
  for (int n = 0; n < 32; n += 8) {
    const uint32_t db = (d >> n) & 0xFFu, sb = (s >> n) & 0xFFu;
    r |= ((db * wd + sb * (256u - wd)) >> 8) << n;
  }
  return (r & byteMask) | (d & ~byteMask);
}

// The same with the weight of d taken from the matching byte of `weights`.
inline uint32_t LerpPerByte(uint32_t d, uint32_t s, uint32_t weights, uint32_t byteMask) {
  uint32_t r = 0;
  for (int n = 0; n < 32; n += 8) {
    const uint32_t db = (d >> n) & 0xFFu, sb = (s >> n) & 0xFFu, w = (weights >> n) & 0xFFu;
    r |= ((db * w + sb * (256u - w)) >> 8) << n;
  }
  return (r & byteMask) | (d & ~byteMask);
}

#if defined(__SSE2__)
namespace detail {
inline __m128i Mix8(__m128i d16, __m128i s16, __m128i wd16) {
  const __m128i ws16 = _mm_sub_epi16(_mm_set1_epi16(256), wd16);
  return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(d16, wd16), _mm_mullo_epi16(s16, ws16)), 8);
}
inline __m128i Load(const uint32_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void Store(uint32_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
inline __m128i Select(__m128i mixed, __m128i d, uint32_t byteMask) {
  const __m128i take = _mm_set1_epi32(static_cast<int>(byteMask));
  return _mm_or_si128(_mm_and_si128(mixed, take), _mm_andnot_si128(take, d));
}
}  // namespace detail
#endif

// out := Lerp(x, y, wx) on the bytes of byteMask; out keeps its other bytes.
// out may be x or y.
inline void LerpRow3(uint32_t* out, const uint32_t* x, const uint32_t* y, int n, uint32_t wx,
                     uint32_t byteMask) {
  int i = 0;
#if defined(__SSE2__)
  using namespace detail;
  const __m128i zero = _mm_setzero_si128();
  const __m128i w = _mm_set1_epi16(static_cast<short>(wx));
  for (; i + 4 <= n; i += 4) {
    const __m128i a = Load(x + i), b = Load(y + i);
    const __m128i lo = Mix8(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), w);
    const __m128i hi = Mix8(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), w);
    Store(out + i, Select(_mm_packus_epi16(lo, hi), Load(out + i), byteMask));
  }
#endif
  for (; i < n; ++i) out[i] = (Lerp(x[i], y[i], wx, byteMask) & byteMask) | (out[i] & ~byteMask);
}

// dst := Lerp(dst, src, wd) over n pixels.
inline void LerpRowUniform(uint32_t* dst, const uint32_t* src, int n, uint32_t wd,
                           uint32_t byteMask) {
  LerpRow3(dst, dst, src, n, wd, byteMask);
}

// dst := LerpPerByte(dst, src, weights) over n pixels.
inline void LerpRowPerByte(uint32_t* dst, const uint32_t* src, const uint32_t* weights, int n,
                           uint32_t byteMask) {
  int i = 0;
#if defined(__SSE2__)
  using namespace detail;
  const __m128i zero = _mm_setzero_si128();
  for (; i + 4 <= n; i += 4) {
    const __m128i d = Load(dst + i), s = Load(src + i), m = Load(weights + i);
    const __m128i lo =
        Mix8(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(m, zero));
    const __m128i hi =
        Mix8(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(m, zero));
    Store(dst + i, Select(_mm_packus_epi16(lo, hi), d, byteMask));
  }
#endif
  for (; i < n; ++i) dst[i] = LerpPerByte(dst[i], src[i], weights[i], byteMask);
}

// Source alpha a weighs the source: colour := (s * a + d * (256 - a)) shr 8.
// accumulateAlpha: alpha := da + ((255 - da) * a shr 8), 255 for an opaque
// source (the shift alone would stop at 254); else alpha := max(da, a).
inline uint32_t AlphaOverPixel(uint32_t d, uint32_t s, bool accumulateAlpha) {
  const uint32_t a = s >> 24, da = d >> 24;
  const uint32_t c = Lerp(d, s, 256u - a, 0x00FFFFFFu) & 0x00FFFFFFu;
  uint32_t na = accumulateAlpha ? da + (((255u - da) * a) >> 8) : (da > a ? da : a);
  if (a == 255) na = 255;
  return c | (na << 24);
}

inline void AlphaOverRow(uint32_t* dst, const uint32_t* src, int n, bool accumulateAlpha) {
  int i = 0;
#if defined(__SSE2__)
  using namespace detail;
  const __m128i zero = _mm_setzero_si128();
  const __m128i c256 = _mm_set1_epi16(256);
  const __m128i c255 = _mm_set1_epi16(255);
  const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
  for (; i + 4 <= n; i += 4) {
    const __m128i d = Load(dst + i), s = Load(src + i);
    __m128i half[2];
    for (int h = 0; h < 2; ++h) {
      const __m128i d16 = h == 0 ? _mm_unpacklo_epi8(d, zero) : _mm_unpackhi_epi8(d, zero);
      const __m128i s16 = h == 0 ? _mm_unpacklo_epi8(s, zero) : _mm_unpackhi_epi8(s, zero);
      __m128i a = _mm_shufflelo_epi16(s16, _MM_SHUFFLE(3, 3, 3, 3));
      a = _mm_shufflehi_epi16(a, _MM_SHUFFLE(3, 3, 3, 3));
      const __m128i mixed = Mix8(d16, s16, _mm_sub_epi16(c256, a));
      __m128i na;
      if (accumulateAlpha) {
        na = _mm_add_epi16(d16, _mm_srli_epi16(_mm_mullo_epi16(_mm_sub_epi16(c255, d16), a), 8));
        na = _mm_or_si128(na, _mm_and_si128(_mm_cmpeq_epi16(a, c255), c255));
      } else {
        na = _mm_max_epi16(d16, a);
      }
      half[h] = _mm_or_si128(_mm_andnot_si128(alphaLanes, mixed), _mm_and_si128(alphaLanes, na));
    }
    Store(dst + i, _mm_packus_epi16(half[0], half[1]));
  }
#endif
  for (; i < n; ++i) dst[i] = AlphaOverPixel(dst[i], src[i], accumulateAlpha);
}

}  // namespace blend
