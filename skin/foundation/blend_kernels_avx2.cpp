// The row kernels of blend_kernels.h eight pixels at a time, for processors
// with AVX2 (chosen at run time). The arithmetic is the same per 128-bit
// lane; the callers finish the rows with their own loops.
#pragma GCC target("avx2")

#include <immintrin.h>

#include "skin/foundation/blend_avx2.h"

namespace blend::avx2 {
namespace {
inline __m256i Load(const uint32_t* p) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
inline void Store(uint32_t* p, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}
inline __m256i Toward(__m256i y16, __m256i x16, __m256i w16) {
  const __m256i p = _mm256_mullo_epi16(_mm256_sub_epi16(x16, y16), w16);
  return _mm256_and_si256(_mm256_add_epi16(y16, _mm256_srli_epi16(p, 8)), _mm256_set1_epi16(0xFF));
}
inline __m256i Toward8(__m256i y, __m256i x, __m256i wLo, __m256i wHi) {
  const __m256i z = _mm256_setzero_si256();
  return _mm256_packus_epi16(Toward(_mm256_unpacklo_epi8(y, z), _mm256_unpacklo_epi8(x, z), wLo),
                             Toward(_mm256_unpackhi_epi8(y, z), _mm256_unpackhi_epi8(x, z), wHi));
}
inline __m256i MaskedWeight(uint32_t w, uint32_t byteMask) {
  short lane[4];
  for (int n = 0; n < 4; ++n) lane[n] = ((byteMask >> (8 * n)) & 0xFF) ? short(w) : short(0);
  return _mm256_set_epi16(lane[3], lane[2], lane[1], lane[0], lane[3], lane[2], lane[1], lane[0],
                          lane[3], lane[2], lane[1], lane[0], lane[3], lane[2], lane[1], lane[0]);
}
inline __m256i BroadcastAlpha(__m256i p16) {
  return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(p16, _MM_SHUFFLE(3, 3, 3, 3)),
                                _MM_SHUFFLE(3, 3, 3, 3));
}
const __m256i kColourLanes() {
  return _mm256_set_epi16(0, -1, -1, -1, 0, -1, -1, -1, 0, -1, -1, -1, 0, -1, -1, -1);
}
}  // namespace

int LerpRow3(uint32_t* out, const uint32_t* x, const uint32_t* y, int n, uint32_t wx,
             uint32_t byteMask) {
  const __m256i w = MaskedWeight(wx, 0xFFFFFFFFu);
  const __m256i take = _mm256_set1_epi32(static_cast<int>(byteMask));
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i r = Toward8(Load(y + i), Load(x + i), w, w);
    Store(out + i,
          _mm256_or_si256(_mm256_and_si256(r, take), _mm256_andnot_si256(take, Load(out + i))));
  }
  return i;
}

int LerpRowUniform(uint32_t* dst, const uint32_t* src, int n, uint32_t wd, uint32_t byteMask) {
  const __m256i w = MaskedWeight(256u - wd, byteMask);
  int i = 0;
  for (; i + 8 <= n; i += 8) Store(dst + i, Toward8(Load(dst + i), Load(src + i), w, w));
  return i;
}

int MaskedRow(uint32_t* dst, const uint32_t* src, const uint32_t* weights, int n, bool skipKey,
              uint32_t skipValue, bool forceAlpha) {
  const __m256i c256 = _mm256_set1_epi16(256);
  const __m256i key = _mm256_set1_epi32(static_cast<int>(skipValue));
  const __m256i alpha = _mm256_set1_epi32(forceAlpha ? static_cast<int>(0xFF000000u) : 0);
  const __m256i colourBytes = _mm256_set1_epi32(0x00FFFFFF);
  const __m256i lowBytes = _mm256_set1_epi16(0x00FF);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i d = Load(dst + i), s = Load(src + i), m = Load(weights + i);
    // Mostly black masks (the image part of a skin image): where the eight
    // mask pixels are black the colours are the image's exactly.
    __m256i r;
    if (_mm256_testz_si256(m, colourBytes)) {
      r = _mm256_or_si256(_mm256_and_si256(s, colourBytes), _mm256_andnot_si256(colourBytes, d));
    } else if (_mm256_testc_si256(m, colourBytes)) {
      // White mask pixels (the windows of a skin image): (d * 255 + s) shr 8
      // is d, less 1 where s < d.
      const __m256i atLeast = _mm256_cmpeq_epi8(_mm256_max_epu8(s, d), s);
      r = _mm256_add_epi8(d, _mm256_andnot_si256(atLeast, colourBytes));
    } else {
      // (d * m + s * (256 - m)) shr 8 stays below 65536: the even bytes are
      // mixed in the low halves of the 16-bit lanes, the odd ones shifted
      // down, and the odd sums already hold their result in the high half.
      // No byte shuffles, which would queue on one port.
      const __m256i mE = _mm256_and_si256(m, lowBytes), mO = _mm256_srli_epi16(m, 8);
      const __m256i sumE = _mm256_add_epi16(
          _mm256_mullo_epi16(_mm256_and_si256(d, lowBytes), mE),
          _mm256_mullo_epi16(_mm256_and_si256(s, lowBytes), _mm256_sub_epi16(c256, mE)));
      const __m256i sumO =
          _mm256_add_epi16(_mm256_mullo_epi16(_mm256_srli_epi16(d, 8), mO),
                           _mm256_mullo_epi16(_mm256_srli_epi16(s, 8), _mm256_sub_epi16(c256, mO)));
      r = _mm256_or_si256(_mm256_srli_epi16(sumE, 8), _mm256_andnot_si256(lowBytes, sumO));
      r = _mm256_or_si256(_mm256_and_si256(r, colourBytes), _mm256_andnot_si256(colourBytes, d));
    }
    if (skipKey) {
      const __m256i hole = _mm256_cmpeq_epi32(s, key);
      r = _mm256_or_si256(_mm256_and_si256(hole, d), _mm256_andnot_si256(hole, r));
    }
    Store(dst + i, _mm256_or_si256(r, alpha));
  }
  return i;
}

int AlphaOverRow(uint32_t* dst, const uint32_t* src, int n, bool accumulateAlpha) {
  const __m256i z = _mm256_setzero_si256();
  const __m256i alphaBytes = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i colour = kColourLanes();
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i d = Load(dst + i), s = Load(src + i);
    const __m256i target = accumulateAlpha ? _mm256_or_si256(s, alphaBytes) : s;
    __m256i wLo = BroadcastAlpha(_mm256_unpacklo_epi8(s, z));
    __m256i wHi = BroadcastAlpha(_mm256_unpackhi_epi8(s, z));
    if (!accumulateAlpha) {
      wLo = _mm256_and_si256(wLo, colour);
      wHi = _mm256_and_si256(wHi, colour);
    }
    __m256i r = Toward8(d, target, wLo, wHi);
    const __m256i sa = _mm256_and_si256(s, alphaBytes);
    if (accumulateAlpha) {
      r = _mm256_or_si256(r, _mm256_and_si256(_mm256_cmpeq_epi8(sa, alphaBytes), alphaBytes));
    } else {
      r = _mm256_max_epu8(r, sa);
    }
    Store(dst + i, r);
  }
  return i;
}

int AlphaCopyRow(uint32_t* dst, const uint32_t* src, int n, const uint32_t* fill, bool holeTest,
                 int transparency) {
  const __m256i z = _mm256_setzero_si256();
  const __m256i alphaBytes = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i seventeen = _mm256_set1_epi32(17);
  const __m256i share = _mm256_set1_epi16(static_cast<short>(100 - transparency));
  const __m256i by100 = _mm256_set1_epi16(5243);  // x div 100 = (x * 5243) shr 19, x <= 25500
  const __m256i alphaLo = _mm256_setr_epi8(3, -128, 3, -128, 3, -128, -128, -128, 7, -128, 7, -128,
                                           7, -128, -128, -128, 3, -128, 3, -128, 3, -128, -128,
                                           -128, 7, -128, 7, -128, 7, -128, -128, -128);
  const __m256i alphaHi = _mm256_setr_epi8(11, -128, 11, -128, 11, -128, -128, -128, 15, -128, 15,
                                           -128, 15, -128, -128, -128, 11, -128, 11, -128, 11, -128,
                                           -128, -128, 15, -128, 15, -128, 15, -128, -128, -128);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i d = Load(dst + i), s = Load(src + i);
    // Holes come in runs (the transparent parts of an image): a block of
    // holes only is the fill, a block without holes needs no fill read.
    __m256i hole = z;
    if (holeTest) {
      // The key 0x00FF00FF has alpha 0: the alpha test finds it too.
      hole = _mm256_cmpgt_epi32(seventeen, _mm256_srli_epi32(s, 24));
      const int holes = _mm256_movemask_epi8(hole);
      if (holes == -1) {
        if (fill != nullptr) Store(dst + i, Load(fill + i));
        continue;
      }
    }
    // Each pixel's alpha into the 16-bit lanes of its colour bytes, 0 in
    // the lane of its alpha byte, in one byte shuffle per half.
    __m256i wLo = _mm256_shuffle_epi8(s, alphaLo);
    __m256i wHi = _mm256_shuffle_epi8(s, alphaHi);
    if (transparency != 0) {
      wLo = _mm256_srli_epi16(_mm256_mulhi_epu16(_mm256_mullo_epi16(wLo, share), by100), 3);
      wHi = _mm256_srli_epi16(_mm256_mulhi_epu16(_mm256_mullo_epi16(wHi, share), by100), 3);
    }
    __m256i r = Toward8(d, s, wLo, wHi);
    if (transparency == 0) r = _mm256_max_epu8(r, _mm256_and_si256(s, alphaBytes));
    if (!_mm256_testz_si256(hole, hole)) {
      const __m256i f = fill != nullptr ? Load(fill + i) : d;
      r = _mm256_or_si256(_mm256_and_si256(hole, f), _mm256_andnot_si256(hole, r));
    }
    Store(dst + i, r);
  }
  return i;
}

}  // namespace blend::avx2
