#include "widgets/graphics/pixels.h"

namespace gfx {

int BitsPerPixel(TPixelFormat f) {
  switch (f) {
    case pf1bit:
      return 1;
    case pf4bit:
      return 4;
    case pf8bit:
      return 8;
    case pf15bit:
    case pf16bit:
      return 16;
    case pf24bit:
      return 24;
    case pf32bit:
      return 32;
    default:
      return 0;
  }
}

int64_t DibStride(int64_t width, int bpp) {
  if (width < 0 || bpp <= 0) return -1;
  int64_t s = ((width * bpp + 31) / 32) * 4;
  return s > INT32_MAX ? -1 : s;
}

std::vector<RGBQUAD> DefaultColors(TPixelFormat f) {
  std::vector<RGBQUAD> c;
  switch (f) {
    case pf1bit:
      c = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
      break;
    case pf4bit: {
      // The 16 standard colours in their usual order.
      static const uint32_t vga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                       0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                       0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
      for (uint32_t rgb : vga)
        c.push_back(RGBQUAD{BYTE(rgb & 0xFF), BYTE(rgb >> 8), BYTE(rgb >> 16), 0});
      break;
    }
    case pf8bit:
      for (int i = 0; i < 256; ++i) c.push_back(RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0});
      break;
    default:
      break;
  }
  return c;
}

TNearestColor::TNearestColor(const std::vector<RGBQUAD>& colors) : colors_(colors) {
  grey_ = colors.size() == 256;
  for (size_t i = 0; grey_ && i < colors.size(); ++i)
    grey_ = colors[i].rgbRed == i && colors[i].rgbGreen == i && colors[i].rgbBlue == i;
}

int TNearestColor::Index(uint32_t bgra) {
  bgra &= 0xFFFFFF;
  if (bgra == lastColor_) return lastIndex_;
  int b = bgra & 0xFF, g = (bgra >> 8) & 0xFF, r = (bgra >> 16) & 0xFF;
  int best = 0;
  if (grey_) {
    best = (r + g + b + 1) / 3;
  } else {
    long bestDist = -1;
    for (size_t i = 0; i < colors_.size(); ++i) {
      long dr = r - colors_[i].rgbRed, dg = g - colors_[i].rgbGreen, db = b - colors_[i].rgbBlue;
      long d = dr * dr + dg * dg + db * db;
      if (bestDist < 0 || d < bestDist) {
        bestDist = d;
        best = static_cast<int>(i);
        if (d == 0) break;
      }
    }
  }
  lastColor_ = bgra;
  lastIndex_ = best;
  return best;
}

uint32_t ReadPixel(const uint8_t* row, int x, TPixelFormat f, const std::vector<RGBQUAD>& colors) {
  switch (f) {
    case pf1bit:
    case pf4bit:
    case pf8bit: {
      size_t i = static_cast<size_t>(GetIndex(row, x, BitsPerPixel(f)));
      if (i >= colors.size()) return 0;
      const RGBQUAD& q = colors[i];
      return uint32_t(q.rgbBlue) | (uint32_t(q.rgbGreen) << 8) | (uint32_t(q.rgbRed) << 16);
    }
    case pf15bit: {
      unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
      unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
      return ((b << 3) | (b >> 2)) | (((g << 3) | (g >> 2)) << 8) | (((r << 3) | (r >> 2)) << 16);
    }
    case pf16bit: {
      unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
      unsigned r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
      return ((b << 3) | (b >> 2)) | (((g << 2) | (g >> 4)) << 8) | (((r << 3) | (r >> 2)) << 16);
    }
    case pf24bit: {
      const uint8_t* p = row + 3 * x;
      return p[0] | (p[1] << 8) | (p[2] << 16);
    }
    case pf32bit: {
      const uint8_t* p = row + 4 * x;
      return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
    }
    default:
      return 0;
  }
}

void WritePixel(uint8_t* row, int x, TPixelFormat f, uint32_t bgra, TNearestColor* nearest) {
  unsigned b = bgra & 0xFF, g = (bgra >> 8) & 0xFF, r = (bgra >> 16) & 0xFF;
  switch (f) {
    case pf1bit:
    case pf4bit:
    case pf8bit:
      SetIndex(row, x, BitsPerPixel(f), nearest ? nearest->Index(bgra) : 0);
      break;
    case pf15bit: {
      unsigned v = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
      row[2 * x] = uint8_t(v);
      row[2 * x + 1] = uint8_t(v >> 8);
      break;
    }
    case pf16bit: {
      unsigned v = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
      row[2 * x] = uint8_t(v);
      row[2 * x + 1] = uint8_t(v >> 8);
      break;
    }
    case pf24bit: {
      uint8_t* p = row + 3 * x;
      p[0] = uint8_t(b);
      p[1] = uint8_t(g);
      p[2] = uint8_t(r);
      break;
    }
    case pf32bit: {
      uint8_t* p = row + 4 * x;
      p[0] = uint8_t(b);
      p[1] = uint8_t(g);
      p[2] = uint8_t(r);
      p[3] = uint8_t(bgra >> 24);
      break;
    }
    default:
      break;
  }
}

}  // namespace gfx
