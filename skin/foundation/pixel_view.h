// Raw access to the pixels of a 32-bit work image.
//
// Every painter of the skin library works on a base address, a signed stride
// and a size, fetched once per image: bottom-up DIBs have a negative stride,
// so the stride and every row offset stay ptrdiff_t (never int) to remain
// correct for images above 2 GB in the address space.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels read as little-endian words are 0xAARRGGBB.
constexpr uint32_t kKeyPixel = 0x00FF00FF;  // clFuchsia with alpha 0: a hole
constexpr uint32_t kNoColor = 0x1FFFFFFF;   // clNone
constexpr uint32_t kFuchsia = 0x00FF00FF;   // clFuchsia as a TColor

struct PixelView {
  uint8_t* Base = nullptr;  // address of row 0
  ptrdiff_t Stride = 0;     // address of row 1 minus address of row 0
  int Width = 0;
  int Height = 0;

  bool Valid() const { return Base != nullptr && Width > 0 && Height > 0; }
  uint32_t* Row(int y) const { return reinterpret_cast<uint32_t*>(Base + Stride * y); }
  uint32_t& At(int x, int y) const { return Row(y)[x]; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
  bool SameImage(const PixelView& o) const { return Base == o.Base && Base != nullptr; }
};

// An owned top-down pixel block for temporaries that need no device context.
class PixelBuffer {
 public:
  PixelBuffer() = default;
  PixelBuffer(int width, int height, uint32_t fill = 0) { Reset(width, height, fill); }
  void Reset(int width, int height, uint32_t fill = 0) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill);
  }
  PixelView View() {
    return {reinterpret_cast<uint8_t*>(pixels_.data()), static_cast<ptrdiff_t>(width_) * 4, width_,
            height_};
  }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  std::vector<uint32_t> pixels_;
  int width_ = 0;
  int height_ = 0;
};

inline RECT MakeRECT(int left, int top, int right, int bottom) {
  RECT r;
  r.left = left;
  r.top = top;
  r.right = right;
  r.bottom = bottom;
  return r;
}

// Exchanges the lowest and the third byte, keeping the second and the top byte:
// a TColor (red low) becomes a pixel word (red in byte 2) and back.
inline uint32_t SwapRedBlueKeepTop(uint32_t v) {
  return (v & 0xFF00FF00u) | ((v & 0xFFu) << 16) | ((v >> 16) & 0xFFu);
}
