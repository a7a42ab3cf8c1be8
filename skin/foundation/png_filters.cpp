#include "skin/foundation/png_filters.h"

#include <cstdlib>

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

#define PNG_DISPATCH_BPP(fn, bpp, ...) \
  switch (bpp) {                       \
    case 1:                            \
      fn<1>(__VA_ARGS__);              \
      break;                           \
    case 2:                            \
      fn<2>(__VA_ARGS__);              \
      break;                           \
    case 3:                            \
      fn<3>(__VA_ARGS__);              \
      break;                           \
    case 4:                            \
      fn<4>(__VA_ARGS__);              \
      break;                           \
    case 6:                            \
      fn<6>(__VA_ARGS__);              \
      break;                           \
    case 8:                            \
      fn<8>(__VA_ARGS__);              \
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
