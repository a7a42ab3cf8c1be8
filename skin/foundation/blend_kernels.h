// Row kernels shared by the blends. Every mix of the library has the form
// (x * w + y * (256 - w)) shr 8 per byte with 0 <= w <= 256, which equals
// y + floor((x - y) * w / 256); as the result is a byte, that sum can be
// taken modulo 256, so eight bytes need one 16-bit SSE2 multiply. The scalar
// forms are the reference and handle the row tails.
#pragma once

#include <cstdint>

#include "skin/foundation/blend_avx2.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace blend {

// Bytes of byteMask := (d * wd + s * (256 - wd)) shr 8; the other bytes of d
// stay. Two bytes at a time: each 16-bit lane sum stays below 65536.
inline uint32_t Lerp(uint32_t d, uint32_t s, uint32_t wd, uint32_t byteMask) {
  const uint32_t ws = 256u - wd;
  const uint32_t even = (((d & 0x00FF00FFu) * wd + (s & 0x00FF00FFu) * ws) >> 8) & 0x00FF00FFu;
  const uint32_t odd =
      ((((d >> 8) & 0x00FF00FFu) * wd + ((s >> 8) & 0x00FF00FFu) * ws)) & 0xFF00FF00u;
  return ((even | odd) & byteMask) | (d & ~byteMask);
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

#if defined(__SSE2__)
namespace detail {
inline __m128i Load(const uint32_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void Store(uint32_t* p, __m128i v) {
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
// Eight 16-bit lanes: y + floor((x - y) * w / 256), modulo 256.
inline __m128i Toward(__m128i y16, __m128i x16, __m128i w16) {
  const __m128i p = _mm_mullo_epi16(_mm_sub_epi16(x16, y16), w16);
  return _mm_and_si128(_mm_add_epi16(y16, _mm_srli_epi16(p, 8)), _mm_set1_epi16(0xFF));
}
// Four pixels: y moved toward x by the 16-bit lane weights wLo/wHi.
inline __m128i Toward4(__m128i y, __m128i x, __m128i wLo, __m128i wHi) {
  const __m128i z = _mm_setzero_si128();
  return _mm_packus_epi16(Toward(_mm_unpacklo_epi8(y, z), _mm_unpacklo_epi8(x, z), wLo),
                          Toward(_mm_unpackhi_epi8(y, z), _mm_unpackhi_epi8(x, z), wHi));
}
// The lane weights of a uniform weight w on the bytes of byteMask, 0 elsewhere.
inline __m128i MaskedWeight(uint32_t w, uint32_t byteMask) {
  short lane[4];
  for (int n = 0; n < 4; ++n) lane[n] = ((byteMask >> (8 * n)) & 0xFF) ? short(w) : short(0);
  return _mm_set_epi16(lane[3], lane[2], lane[1], lane[0], lane[3], lane[2], lane[1], lane[0]);
}
inline __m128i BroadcastAlpha(__m128i p16) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(p16, _MM_SHUFFLE(3, 3, 3, 3)),
                             _MM_SHUFFLE(3, 3, 3, 3));
}
}  // namespace detail
#endif

// out := Lerp(x, y, wx) on the bytes of byteMask; out keeps its other bytes.
// out may be x or y.
inline void LerpRow3(uint32_t* out, const uint32_t* x, const uint32_t* y, int n, uint32_t wx,
                     uint32_t byteMask) {
  int i = n >= 8 && HasAvx2() ? avx2::LerpRow3(out, x, y, n, wx, byteMask) : 0;
#if defined(__SSE2__)
  using namespace detail;
  const __m128i w = MaskedWeight(wx, 0xFFFFFFFFu);
  const __m128i take = _mm_set1_epi32(static_cast<int>(byteMask));
  for (; i + 4 <= n; i += 4) {
    const __m128i r = Toward4(Load(y + i), Load(x + i), w, w);
    Store(out + i, _mm_or_si128(_mm_and_si128(r, take), _mm_andnot_si128(take, Load(out + i))));
  }
#endif
  for (; i < n; ++i) out[i] = (Lerp(x[i], y[i], wx, byteMask) & byteMask) | (out[i] & ~byteMask);
}

// dst := Lerp(dst, src, wd) over n pixels.
inline void LerpRowUniform(uint32_t* dst, const uint32_t* src, int n, uint32_t wd,
                           uint32_t byteMask) {
  int i = n >= 8 && HasAvx2() ? avx2::LerpRowUniform(dst, src, n, wd, byteMask) : 0;
#if defined(__SSE2__)
  using namespace detail;
  // dst moves toward src by 256 - wd on the masked bytes only.
  const __m128i w = MaskedWeight(256u - wd, byteMask);
  for (; i + 4 <= n; i += 4) Store(dst + i, Toward4(Load(dst + i), Load(src + i), w, w));
#endif
  for (; i < n; ++i) dst[i] = Lerp(dst[i], src[i], wd, byteMask);
}

#if defined(__SSE2__)
namespace detail {
// Four pixels of MaskedRow.
inline __m128i MaskedQuad(__m128i d, __m128i s, __m128i m, bool skipKey, __m128i key,
                          __m128i alpha) {
  const __m128i z = _mm_setzero_si128();
  const __m128i c256 = _mm_set1_epi16(256);
  const __m128i colourLanes = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
  const __m128i colourBytes = _mm_set1_epi32(0x00FFFFFF);
  __m128i r;
  if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(m, colourBytes), z)) == 0xFFFF) {
    // Black mask pixels: the image's colours exactly.
    r = _mm_or_si128(_mm_and_si128(s, colourBytes), _mm_andnot_si128(colourBytes, d));
  } else {
    const __m128i wLo = _mm_and_si128(_mm_sub_epi16(c256, _mm_unpacklo_epi8(m, z)), colourLanes);
    const __m128i wHi = _mm_and_si128(_mm_sub_epi16(c256, _mm_unpackhi_epi8(m, z)), colourLanes);
    r = Toward4(d, s, wLo, wHi);
  }
  if (skipKey) {
    const __m128i hole = _mm_cmpeq_epi32(s, key);
    r = _mm_or_si128(_mm_and_si128(hole, d), _mm_andnot_si128(hole, r));
  }
  return _mm_or_si128(r, alpha);
}
}  // namespace detail
#endif

// dst := LerpPerByte(dst, src, weights) on the colour bytes, except where
// src equals skipValue (when skipKey); forceAlpha sets alpha 255 on every
// processed pixel (skipped ones too).
inline void MaskedRow(uint32_t* dst, const uint32_t* src, const uint32_t* weights, int n,
                      bool skipKey, uint32_t skipValue, bool forceAlpha) {
  int i = n >= 8 && HasAvx2()
              ? avx2::MaskedRow(dst, src, weights, n, skipKey, skipValue, forceAlpha)
              : 0;
#if defined(__SSE2__)
  using namespace detail;
  const __m128i key = _mm_set1_epi32(static_cast<int>(skipValue));
  const __m128i alpha = _mm_set1_epi32(forceAlpha ? static_cast<int>(0xFF000000u) : 0);
  for (; i + 4 <= n; i += 4)
    Store(dst + i,
          MaskedQuad(Load(dst + i), Load(src + i), Load(weights + i), skipKey, key, alpha));
  // The last pixels in the same registers, loaded and stored in part: the
  // narrow edges of a nine-slice image are nearly all tail.
  if (i + 2 <= n) {
    auto half = [](const uint32_t* p) {
      return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    };
    _mm_storel_epi64(
        reinterpret_cast<__m128i*>(dst + i),
        MaskedQuad(half(dst + i), half(src + i), half(weights + i), skipKey, key, alpha));
    i += 2;
  }
  if (i < n) {
    auto one = [](const uint32_t* p) { return _mm_cvtsi32_si128(static_cast<int>(*p)); };
    dst[i] = static_cast<uint32_t>(_mm_cvtsi128_si32(
        MaskedQuad(one(dst + i), one(src + i), one(weights + i), skipKey, key, alpha)));
    ++i;
  }
#endif
  for (; i < n; ++i) {
    if (!skipKey || src[i] != skipValue)
      dst[i] = LerpPerByte(dst[i], src[i], weights[i], 0x00FFFFFFu);
    if (forceAlpha) dst[i] |= 0xFF000000u;
  }
}

// AlphaOverPixel over n pixels.
inline void AlphaOverRow(uint32_t* dst, const uint32_t* src, int n, bool accumulateAlpha) {
  int i = n >= 8 && HasAvx2() ? avx2::AlphaOverRow(dst, src, n, accumulateAlpha) : 0;
#if defined(__SSE2__)
  using namespace detail;
  const __m128i z = _mm_setzero_si128();
  const __m128i alphaBytes = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i colourLanes = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
  for (; i + 4 <= n; i += 4) {
    const __m128i d = Load(dst + i), s = Load(src + i);
    // Accumulating moves the alpha toward 255 by a as well; otherwise the
    // alpha lane stays and takes max(da, a) afterwards.
    const __m128i target = accumulateAlpha ? _mm_or_si128(s, alphaBytes) : s;
    __m128i wLo = BroadcastAlpha(_mm_unpacklo_epi8(s, z));
    __m128i wHi = BroadcastAlpha(_mm_unpackhi_epi8(s, z));
    if (!accumulateAlpha) {
      wLo = _mm_and_si128(wLo, colourLanes);
      wHi = _mm_and_si128(wHi, colourLanes);
    }
    __m128i r = Toward4(d, target, wLo, wHi);
    const __m128i sa = _mm_and_si128(s, alphaBytes);
    if (accumulateAlpha) {
      r = _mm_or_si128(r, _mm_and_si128(_mm_cmpeq_epi8(sa, alphaBytes), alphaBytes));
    } else {
      r = _mm_max_epu8(r, sa);
    }
    Store(dst + i, r);
  }
#endif
  for (; i < n; ++i) dst[i] = AlphaOverPixel(dst[i], src[i], accumulateAlpha);
}

// The copy of AlphaCopyArgb without tint: a source pixel that is a hole
// (0x00FF00FF or alpha <= 16, tested only when holeTest) takes the pixel of
// `fill` when given and else stays; any other is blended by its weight w
// (its alpha a, or (100 - transparency) * a div 100): colour bytes
// d := ((s - d) * w + d * 256) shr 8; with transparency 0 the alpha becomes
// max(da, a), otherwise it stays.
inline uint32_t AlphaCopyPixel(uint32_t d, uint32_t s, const uint32_t* fill, bool holeTest,
                               int transparency) {
  const uint32_t a = s >> 24;
  if (holeTest && (s == 0x00FF00FFu || a <= 16)) return fill != nullptr ? *fill : d;
  const uint32_t w = transparency != 0 ? uint32_t(100 - transparency) * a / 100 : a;
  uint32_t out = Lerp(d, s, 256u - w, 0x00FFFFFFu);
  if (transparency == 0 && a > (out >> 24)) out = (out & 0x00FFFFFFu) | (a << 24);
  return out;
}

inline void AlphaCopyRow(uint32_t* dst, const uint32_t* src, int n, const uint32_t* fill,
                         bool holeTest, int transparency) {
  int i = n >= 8 && HasAvx2() ? avx2::AlphaCopyRow(dst, src, n, fill, holeTest, transparency) : 0;
#if defined(__SSE2__)
  using namespace detail;
  const __m128i z = _mm_setzero_si128();
  const __m128i alphaBytes = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i colour = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
  const __m128i seventeen = _mm_set1_epi32(17);
  const __m128i share = _mm_set1_epi16(static_cast<short>(100 - transparency));
  const __m128i by100 = _mm_set1_epi16(5243);  // x div 100 = (x * 5243) shr 19, x <= 25500
  for (; i + 4 <= n; i += 4) {
    const __m128i d = Load(dst + i), s = Load(src + i);
    __m128i wLo = BroadcastAlpha(_mm_unpacklo_epi8(s, z));
    __m128i wHi = BroadcastAlpha(_mm_unpackhi_epi8(s, z));
    if (transparency != 0) {
      wLo = _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(wLo, share), by100), 3);
      wHi = _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(wHi, share), by100), 3);
    }
    __m128i r = Toward4(d, s, _mm_and_si128(wLo, colour), _mm_and_si128(wHi, colour));
    if (transparency == 0) r = _mm_max_epu8(r, _mm_and_si128(s, alphaBytes));
    if (holeTest) {
      // The key 0x00FF00FF has alpha 0: the alpha test finds it too.
      const __m128i hole = _mm_cmplt_epi32(_mm_srli_epi32(s, 24), seventeen);
      const __m128i f = fill != nullptr ? Load(fill + i) : d;
      r = _mm_or_si128(_mm_and_si128(hole, f), _mm_andnot_si128(hole, r));
    }
    Store(dst + i, r);
  }
#endif
  for (; i < n; ++i)
    dst[i] = AlphaCopyPixel(dst[i], src[i], fill != nullptr ? fill + i : nullptr, holeTest,
                            transparency);
}

// Every pixel but `key` copied with alpha 255.
inline void CopyExceptKeyRow(uint32_t* dst, const uint32_t* src, int n, uint32_t key) {
  int i = 0;
#if defined(__SSE2__)
  using namespace detail;
  const __m128i k = _mm_set1_epi32(static_cast<int>(key));
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  for (; i + 4 <= n; i += 4) {
    const __m128i s = Load(src + i), d = Load(dst + i);
    const __m128i hole = _mm_cmpeq_epi32(s, k);
    Store(dst + i,
          _mm_or_si128(_mm_and_si128(hole, d), _mm_andnot_si128(hole, _mm_or_si128(s, alpha))));
  }
#endif
  for (; i < n; ++i) {
    if (src[i] != key) dst[i] = src[i] | 0xFF000000u;
  }
}

}  // namespace blend
