// Small 32-bit images for the painter tests, top-down or bottom-up (negative
// stride, as the platform's DIBs), with known pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/pixel_view.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"

class TestImage {
 public:
  TestImage(int w, int h, uint32_t fill = 0, bool bottomUp = true)
      : w_(w), h_(h), px_(static_cast<size_t>(w) * h, fill), bottomUp_(bottomUp) {}
  PixelView View() {
    if (w_ == 0 || h_ == 0) return {};
    auto* base = reinterpret_cast<uint8_t*>(px_.data());
    if (!bottomUp_) return {base, ptrdiff_t(w_) * 4, w_, h_};
    return {base + ptrdiff_t(h_ - 1) * w_ * 4, -ptrdiff_t(w_) * 4, w_, h_};
  }
  uint32_t& at(int x, int y) { return View().At(x, y); }
  int w() const { return w_; }
  int h() const { return h_; }
  void Randomize(uint32_t seed) {
    std::mt19937 rng(seed);
    for (auto& p : px_) p = rng();
  }
  void Fill(uint32_t v) { px_.assign(px_.size(), v); }
  void FillRect(int l, int t, int r, int b, uint32_t v) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) at(x, y) = v;
  }

 private:
  int w_, h_;
  std::vector<uint32_t> px_;
  bool bottomUp_;
};

// A 32-bit DIB bitmap of the layer, every pixel fill.
inline std::unique_ptr<TBitmap> Argb(int w, int h, uint32_t fill) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetHandleType(bmDIB);
  b->SetSize(w, h);
  const PixelView v = ArgbView(b.get());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) v.At(x, y) = fill;
  return b;
}

inline uint32_t ByteOf(uint32_t v, int n) {
  return (v >> (8 * n)) & 0xFF;
}
inline uint32_t WithByte(uint32_t v, int n, uint32_t b) {
  return (v & ~(0xFFu << (8 * n))) | ((b & 0xFF) << (8 * n));
}

// A bold font drawn without smoothing. Whether text is smoothed depends on
// the machine's font configuration; tests that read glyph pixels use this so
// their ink is either full or absent everywhere. Tahoma comes with Wine's own
// fonts, so the face does not depend on what else the machine has installed.
inline TOwnedFont CrispFont(int height) {
  return TOwnedFont(CreateFontA(-height, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                DEFAULT_PITCH, "Tahoma"));
}
