#include "skin/foundation/png_filters.h"

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

inline uint8_t Paeth(int a, int b, int c) {
  const int pa = std::abs(b - c);          // |p - a| with p = a + b - c
  const int pb = std::abs(a - c);          // |p - b|
  const int pc = std::abs(a + b - 2 * c);  // |p - c|
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  return static_cast<uint8_t>(pb <= pc ? b : c);
}

// The left neighbour is a fixed distance away, so a compile-time Bpp lets
// the compiler keep the Bpp running values in registers.
template <size_t Bpp>
void SubRow(uint8_t* x, size_t n) {
  for (size_t i = Bpp; i < n; ++i) x[i] = static_cast<uint8_t>(x[i] + x[i - Bpp]);
}

template <size_t Bpp>
void AverageRow(uint8_t* x, const uint8_t* b, size_t n) {
  const size_t head = Bpp < n ? Bpp : n;
  for (size_t i = 0; i < head; ++i) x[i] = static_cast<uint8_t>(x[i] + (b[i] >> 1));
  for (size_t i = Bpp; i < n; ++i) x[i] = static_cast<uint8_t>(x[i] + ((x[i - Bpp] + b[i]) >> 1));
}

template <size_t Bpp>
void PaethRow(uint8_t* x, const uint8_t* b, size_t n) {
  const size_t head = Bpp < n ? Bpp : n;
  // On the first pixel a and c are 0, so the predictor is b.
  for (size_t i = 0; i < head; ++i) x[i] = static_cast<uint8_t>(x[i] + b[i]);
  for (size_t i = Bpp; i < n; ++i)
    x[i] = static_cast<uint8_t>(x[i] + Paeth(x[i - Bpp], b[i], b[i - Bpp]));
}


#if defined(__SSE2__)
// One pixel at a time in 16-bit lanes, as libpng's SSE2 filters do: the
// left neighbour of a pixel is the pixel just finished, so the bytes of one
// pixel are the only work that can run side by side. Bpp is 2..8.
// The bytes of a pixel go through general registers: assembling them in
// memory from narrower stores would stall the wide load that follows.
template <size_t Bpp>
inline __m128i LoadPixel(const uint8_t* p) {
  uint32_t lo = 0, hi = 0;
  if constexpr (Bpp == 2 || Bpp == 3) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    lo = v;
    if constexpr (Bpp == 3) lo |= uint32_t{p[2]} << 16;
  } else {
    std::memcpy(&lo, p, 4);
    if constexpr (Bpp == 6) {
      uint16_t v;
      std::memcpy(&v, p + 4, 2);
      hi = v;
    } else if constexpr (Bpp == 8) {
      std::memcpy(&hi, p + 4, 4);
    }
  }
  return _mm_unpacklo_epi8(_mm_set_epi32(0, 0, static_cast<int>(hi), static_cast<int>(lo)),
                           _mm_setzero_si128());
}

template <size_t Bpp>
inline void StorePixel(uint8_t* p, __m128i v16) {
  const __m128i packed = _mm_packus_epi16(v16, v16);
  const uint32_t lo = static_cast<uint32_t>(_mm_cvtsi128_si32(packed));
  if constexpr (Bpp == 2 || Bpp == 3) {
    const uint16_t v = static_cast<uint16_t>(lo);
    std::memcpy(p, &v, 2);
    if constexpr (Bpp == 3) p[2] = static_cast<uint8_t>(lo >> 16);
  } else {
    std::memcpy(p, &lo, 4);
    const uint32_t hi = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(packed, 4)));
    if constexpr (Bpp == 6) {
      const uint16_t v = static_cast<uint16_t>(hi);
      std::memcpy(p + 4, &v, 2);
    } else if constexpr (Bpp == 8) {
      std::memcpy(p + 4, &hi, 4);
    }
  }
}

inline __m128i Abs16(__m128i x) {
  const __m128i negative = _mm_cmplt_epi16(x, _mm_setzero_si128());
  return _mm_sub_epi16(_mm_xor_si128(x, negative), negative);
}

inline __m128i Select(__m128i condition, __m128i then, __m128i otherwise) {
  return _mm_or_si128(_mm_and_si128(condition, then), _mm_andnot_si128(condition, otherwise));
}

// Byte-wise sum modulo 256 in 16-bit lanes whose high bytes are 0.
inline __m128i AddBytes(__m128i x, __m128i y) {
  return _mm_and_si128(_mm_add_epi16(x, y), _mm_set1_epi16(0xFF));
}

template <size_t Bpp>
void SubRowSimd(uint8_t* x, size_t n) {
  __m128i a = _mm_setzero_si128();
  for (size_t i = 0; i + Bpp <= n; i += Bpp) {
    a = AddBytes(LoadPixel<Bpp>(x + i), a);
    StorePixel<Bpp>(x + i, a);
  }
}

template <size_t Bpp>
void AverageRowSimd(uint8_t* x, const uint8_t* b, size_t n) {
  __m128i a = _mm_setzero_si128();
  for (size_t i = 0; i + Bpp <= n; i += Bpp) {
    const __m128i above = LoadPixel<Bpp>(b + i);
    a = AddBytes(LoadPixel<Bpp>(x + i), _mm_srli_epi16(_mm_add_epi16(a, above), 1));
    StorePixel<Bpp>(x + i, a);
  }
}

template <size_t Bpp>
void PaethRowSimd(uint8_t* x, const uint8_t* b, size_t n) {
  __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
  for (size_t i = 0; i + Bpp <= n; i += Bpp) {
    const __m128i above = LoadPixel<Bpp>(b + i);
    __m128i pa = _mm_sub_epi16(above, c);  // p - a
    __m128i pb = _mm_sub_epi16(a, c);      // p - b
    __m128i pc = _mm_add_epi16(pa, pb);    // p - c
    pa = Abs16(pa);
    pb = Abs16(pb);
    pc = Abs16(pc);
    const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
    // Ties favour a, then b.
    const __m128i nearest = Select(_mm_cmpeq_epi16(smallest, pa), a,
                                   Select(_mm_cmpeq_epi16(smallest, pb), above, c));
    a = AddBytes(LoadPixel<Bpp>(x + i), nearest);
    StorePixel<Bpp>(x + i, a);
    c = above;
  }
}
#endif

void SubRowAny(uint8_t* x, size_t n, size_t bpp) {
  for (size_t i = bpp; i < n; ++i) x[i] = static_cast<uint8_t>(x[i] + x[i - bpp]);
}

void AverageRowAny(uint8_t* x, const uint8_t* b, size_t n, size_t bpp) {
  for (size_t i = 0; i < n; ++i) {
    const int a = i >= bpp ? x[i - bpp] : 0;
    x[i] = static_cast<uint8_t>(x[i] + ((a + b[i]) >> 1));
  }
}

void PaethRowAny(uint8_t* x, const uint8_t* b, size_t n, size_t bpp) {
  for (size_t i = 0; i < n; ++i) {
    const int a = i >= bpp ? x[i - bpp] : 0;
    const int c = i >= bpp ? b[i - bpp] : 0;
    x[i] = static_cast<uint8_t>(x[i] + Paeth(a, b[i], c));
  }
}

#if defined(__SSE2__)
#define PNG_ROW(fn, n) fn##Simd<n>
#else
#define PNG_ROW(fn, n) fn<n>
#endif

#define PNG_DISPATCH_BPP(fn, bpp, ...) \
  switch (bpp) {                       \
    case 1:                            \
      fn<1>(__VA_ARGS__);              \
      break;                           \
    case 2:                            \
      PNG_ROW(fn, 2)(__VA_ARGS__);     \
      break;                           \
    case 3:                            \
      PNG_ROW(fn, 3)(__VA_ARGS__);     \
      break;                           \
    case 4:                            \
      PNG_ROW(fn, 4)(__VA_ARGS__);     \
      break;                           \
    case 6:                            \
      PNG_ROW(fn, 6)(__VA_ARGS__);     \
      break;                           \
    case 8:                            \
      PNG_ROW(fn, 8)(__VA_ARGS__);     \
      break;                           \
    default:                           \
      fn##Any(__VA_ARGS__, bpp);       \
  }

}  // namespace

void ApplyRowFilter(uint8_t filterType, uint8_t* line, const uint8_t* previousLine,
                    size_t bytesPerPixel, size_t rowBytes) {
  if (bytesPerPixel == 0) bytesPerPixel = 1;
  switch (filterType) {
    case 1:
      PNG_DISPATCH_BPP(SubRow, bytesPerPixel, line, rowBytes);
      break;
    case 2:
      for (size_t i = 0; i < rowBytes; ++i)
        line[i] = static_cast<uint8_t>(line[i] + previousLine[i]);
      break;
    case 3:
      PNG_DISPATCH_BPP(AverageRow, bytesPerPixel, line, previousLine, rowBytes);
      break;
    case 4:
      PNG_DISPATCH_BPP(PaethRow, bytesPerPixel, line, previousLine, rowBytes);
      break;
    default:
      break;  // 0 (None) and unknown types leave the bytes as they are
  }
}
