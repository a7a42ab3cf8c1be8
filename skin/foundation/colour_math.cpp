#include "skin/foundation/colour_math.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

#include "widgets/graphics/colors.h"

namespace {
inline uint32_t Byte(uint32_t v, int n) {
  return (v >> (8 * n)) & 0xFFu;
}
}  // namespace

uint32_t SkinColorToRgb(uint32_t color) {
  return static_cast<uint32_t>(ColorToRGB(static_cast<TColor>(color)));
}

uint32_t MixTwoColors(uint32_t a, uint32_t b, uint8_t weight) {
  uint32_t result = a & 0xFF000000u;
  for (int n = 0; n < 3; ++n) {
    const uint32_t c = (Byte(a, n) * weight + Byte(b, n) * (255u - weight)) >> 8;
    result |= c << (8 * n);
  }
  return result;
}

uint32_t ChangeColorBrightness(uint32_t color, int32_t amount) {
  if (amount == 0) return color;
  uint32_t result = color & 0xFF000000u;
  for (int n = 0; n < 3; ++n) {
    const int64_t c = Byte(color, n);
    int64_t v;
    if (amount > 0) {
      v = std::min<int64_t>(255, c + ((c * amount) >> 8));
    } else {
      v = std::max<int64_t>(0, c - ((c * -static_cast<int64_t>(amount)) >> 8));
    }
    result |= static_cast<uint32_t>(v) << (8 * n);
  }
  return result;
}

int PixelLuma(uint32_t value) {
  const long double y = 0.299L * Byte(value, 2) + 0.587L * Byte(value, 1) + 0.114L * Byte(value, 0);
  return static_cast<int>(std::nearbyint(y));  // default rounding: ties to even
}

uint32_t SaturatePixel(int32_t amount, uint32_t value) {
  if (amount == 0) return value;
  const int64_t y = PixelLuma(value);
  uint32_t result = value & 0xFF000000u;
  for (int n = 0; n < 3; ++n) {
    int64_t v = (static_cast<int64_t>(amount) + 255) * Byte(value, n) - amount * y;
    v = std::clamp<int64_t>(v, 0, 65535);
    result |= static_cast<uint32_t>(v >> 8) << (8 * n);
  }
  return result;
}

uint32_t RotateHuePixel(int32_t offset, uint32_t value) {
  const int r = Byte(value, 2), g = Byte(value, 1), b = Byte(value, 0);
  const int vmax = std::max({r, g, b});
  const int vmin = std::min({r, g, b});
  const double delta = vmax - vmin;
  const double v = vmax;
  const double s = vmax == 0 ? 0.0 : delta / v;
  if (s == 0.0) return value;
  double h;
  if (vmax == r) {
    h = 60.0 * (g - b) / delta;
  } else if (vmax == g) {
    h = 120.0 + 60.0 * (b - r) / delta;
  } else {
    h = 240.0 + 60.0 * (r - g) / delta;
  }
  if (h < 0) h += 360.0;
  int64_t hh = static_cast<int64_t>(std::trunc(h + offset)) % 360;
  if (hh < 0) hh += 360;
  const double sector = hh / 60.0;
  const int i = static_cast<int>(std::trunc(sector));
  const double f = sector - i;
  auto clamp255 = [](double x) { return std::clamp(x, 0.0, 255.0); };
  const double p = clamp255(v * (1.0 - s));
  const double q = clamp255(v * (1.0 - s * f));
  const double t = clamp255(v * (1.0 - s * (1.0 - f)));
  double nr, ng, nb;
  switch (i) {
    case 0:
      nr = v, ng = t, nb = p;
      break;
    case 1:
      nr = q, ng = v, nb = p;
      break;
    case 2:
      nr = p, ng = v, nb = t;
      break;
    case 3:
      nr = p, ng = q, nb = v;
      break;
    case 4:
      nr = t, ng = p, nb = v;
      break;
    default:
      nr = v, ng = p, nb = q;
      break;
  }
  return (value & 0xFF000000u) | (static_cast<uint32_t>(nr) << 16) |
         (static_cast<uint32_t>(ng) << 8) | static_cast<uint32_t>(nb);
}

uint32_t ChangeColorHue(int32_t offset, uint32_t color) {
  if (offset == 0) return color;
  return SwapRedBlueKeepTop(RotateHuePixel(offset, SwapRedBlueKeepTop(color)));
}

uint32_t ToneColor(uint32_t value, uint32_t tone) {
  const uint32_t m = std::max({Byte(value, 0), Byte(value, 1), Byte(value, 2)});
  return (value & 0xFF000000u) | ((Byte(tone, 0) * m >> 8) << 16) |
         ((Byte(tone, 1) * m >> 8) << 8) | (Byte(tone, 2) * m >> 8);
}

uint32_t ControlToneColor(uint32_t color, uint32_t colorTone, int32_t hueOffset,
                          int32_t saturation) {
  if (colorTone != kNoColor)
    color = ToneColor(color, SwapRedBlueKeepTop(SkinColorToRgb(colorTone)));
  color = ChangeColorHue(hueOffset, color);
  color = ChangeColorSaturation(color, saturation * 256 / 100);
  return SkinColorToRgb(color);
}

void BrightnessPixelProc(uint32_t* pixel, int32_t data) {
  *pixel = ChangeColorBrightness(*pixel, data);
}
void SaturationPixelProc(uint32_t* pixel, int32_t data) {
  *pixel = SaturatePixel(data, *pixel);
}
void HuePixelProc(uint32_t* pixel, int32_t data) {
  *pixel = RotateHuePixel(data, *pixel);
}
void TonePixelProc(uint32_t* pixel, int32_t data) {
  *pixel = ToneColor(*pixel, static_cast<uint32_t>(data));
}

void ForEachPixelExceptKey(const PixelView& bitmap, PixelProc proc, int32_t data,
                           uint32_t keyColor) {
  if (!bitmap.Valid() || proc == nullptr) return;
  const bool all = keyColor == kNoColor;
  const uint32_t key = SwapRedBlueKeepTop(keyColor);
  for (int y = 0; y < bitmap.Height; ++y) {
    uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width; ++x) {
      if (all || row[x] != key) proc(&row[x], data);
    }
  }
}

namespace {
void Grayscale(const PixelView& bitmap, bool skipKey, uint32_t key) {
  if (!bitmap.Valid()) return;
  for (int y = 0; y < bitmap.Height; ++y) {
    uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width; ++x) {
      const uint32_t p = row[x];
      if (skipKey && p == key) continue;
      const uint32_t g = static_cast<uint32_t>(PixelLuma(p));
      row[x] = (p & 0xFF000000u) | (g << 16) | (g << 8) | g;
    }
  }
}
}  // namespace

void GrayscaleArgb(const PixelView& bitmap) {
  Grayscale(bitmap, false, 0);
}
void GrayscaleArgbExceptKey(const PixelView& bitmap, uint32_t keyValue) {
  Grayscale(bitmap, true, SwapRedBlueKeepTop(keyValue));
}
