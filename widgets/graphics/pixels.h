// Pixel-level helpers shared by the bitmap, BMP and JPEG code (internal to
// the graphics unit). Pixels travel as BGRA words: blue in the low byte,
// alpha in the high byte, the memory order of 32-bit DIBs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "widgets/rtl/exceptions.h"

#include "widgets/graphics/bitmap.h"

namespace gfx {

int BitsPerPixel(TPixelFormat f);  // 0 for pfDevice and pfCustom
// Bytes per row of a DIB (rows padded to 32 bits); -1 when it overflows int32.
int64_t DibStride(int64_t width, int bpp);
// Largest pixel block the layer agrees to allocate or decode.
constexpr int64_t kMaxImageBytes = int64_t(1) << 30;

// The palette a new bitmap of this format gets (empty for direct formats).
std::vector<RGBQUAD> DefaultColors(TPixelFormat f);

// Maps BGRA colours to the nearest entry of a colour table.
class TNearestColor {
 public:
  explicit TNearestColor(const std::vector<RGBQUAD>& colors);
  int Index(uint32_t bgra);

 private:
  const std::vector<RGBQUAD>& colors_;
  bool grey_;  // the identity grey table: the answer is the mean of r, g, b
  uint32_t lastColor_ = 0xFFFFFFFF;
  int lastIndex_ = 0;
};

inline int GetIndex(const uint8_t* row, int x, int bpp) {
  switch (bpp) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    default:
      return row[x];
  }
}

inline void SetIndex(uint8_t* row, int x, int bpp, int index) {
  switch (bpp) {
    case 1: {
      uint8_t bit = uint8_t(0x80 >> (x & 7));
      row[x >> 3] = index ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
      break;
    }
    case 4: {
      uint8_t& b = row[x >> 1];
      b = (x & 1) ? uint8_t((b & 0xF0) | (index & 15)) : uint8_t((b & 0x0F) | (index << 4));
      break;
    }
    default:
      row[x] = uint8_t(index);
  }
}

// One pixel of a known format as BGRA; alpha is kept only by pf32bit and
// is 0 for every other format.
uint32_t ReadPixel(const uint8_t* row, int x, TPixelFormat f, const std::vector<RGBQUAD>& colors);
void WritePixel(uint8_t* row, int x, TPixelFormat f, uint32_t bgra, TNearestColor* nearest);

inline uint32_t BgraFromColorRef(COLORREF c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF ColorRefFromBgra(uint32_t p) {
  return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

// Reads little-endian fields from a byte block; every read is checked
// against the end and raises EInvalidGraphic(Message) when it would overrun.
class TByteCursor {
 public:
  TByteCursor(const uint8_t* data, size_t size, const char* message)
      : data_(data), size_(size), message_(message) {}
  size_t Pos() const { return pos_; }
  size_t Size() const { return size_; }
  size_t Remaining() const { return size_ - pos_; }
  void Seek(size_t pos) {
    if (pos > size_) Fail();
    pos_ = pos;
  }
  const uint8_t* Take(size_t n) {
    if (n > Remaining()) Fail();
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
  }
  void Skip(size_t n) { Take(n); }
  uint8_t U8() { return *Take(1); }
  uint16_t U16() {
    const uint8_t* p = Take(2);
    return uint16_t(p[0] | (p[1] << 8));
  }
  uint32_t U32() {
    const uint8_t* p = Take(4);
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  [[noreturn]] void Fail() const { throw EInvalidGraphic(message_); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  const char* message_;
};

}  // namespace gfx
