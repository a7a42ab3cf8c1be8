#include "skin/foundation/gradient.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "skin/foundation/colour_math.h"
#include "skin/foundation/dib_surface.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/sysutils.h"

void ParseGradientData(const std::string& text, TsGradArray& stops) {
  stops.clear();
  std::vector<std::string> words;
  size_t pos = 0;
  while (pos <= text.size()) {
    const size_t end = std::min(text.find(';', pos), text.size());
    if (end > pos) words.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  const size_t n = words.size() / 5;
  stops.resize(n);
  for (size_t i = 0; i < n; ++i) {
    GradientStop& s = stops[i];
    s.StartColor = static_cast<SkinColor>(SkinColorToRgb(uint32_t(StrToInt(words[5 * i]))));
    s.EndColor = static_cast<SkinColor>(SkinColorToRgb(uint32_t(StrToInt(words[5 * i + 1]))));
    s.Percent = static_cast<uint8_t>(std::clamp(StrToInt(words[5 * i + 2]), 0, 100));
    s.Mode = StrToInt(words[5 * i + 3]);
  }
}

namespace {

using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

struct GradientFillBinding {
  TOwnedModule module;
  GradientFillFn fill = nullptr;
  GradientFillBinding() : module(LoadLibraryA("msimg32.dll")) {
    if (module) {
      fill = reinterpret_cast<GradientFillFn>(
          reinterpret_cast<void*>(GetProcAddress(module.Get(), "GradientFill")));
    }
  }
};

GradientFillFn BoundGradientFill() {
  static GradientFillBinding binding;
  return binding.fill;
}

bool ClipRect(const PixelView& v, RECT& r) {
  if (!v.Valid() || r.right <= r.left || r.bottom <= r.top) return false;
  r.right = std::min<LONG>(r.right, v.Width);
  r.bottom = std::min<LONG>(r.bottom, v.Height);
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  return r.left < r.right && r.top < r.bottom;
}

// Interpolated channel values from start to end over `steps` increments.
class Ramp {
 public:
  Ramp(uint32_t startRgb, uint32_t endRgb, int steps) : flat_(startRgb == endRgb) {
    for (int n = 0; n < 3; ++n) {
      value_[n] = (startRgb >> (8 * n)) & 0xFF;
      step_[n] = (double(int((endRgb >> (8 * n)) & 0xFF)) - value_[n]) / steps;
    }
    flatPixel_ = SwapRedBlueKeepTop(startRgb & 0xFFFFFF) | 0xFF000000u;
  }
  // The pixel of the current position, then one step on.
  uint32_t Next() {
    if (flat_) return flatPixel_;
    uint32_t rgb = 0;
    for (int n = 0; n < 3; ++n) {
      const double v = std::clamp(std::nearbyint(value_[n]), 0.0, 255.0);
      rgb |= uint32_t(v) << (8 * n);
      value_[n] += step_[n];
    }
    return SwapRedBlueKeepTop(rgb) | 0xFF000000u;
  }

 private:
  bool flat_;
  uint32_t flatPixel_;
  double value_[3];
  double step_[3];
};

// Top-to-bottom bands: calls row(y, pixel) for every painted row.
template <typename RowFn>
void VerticalBands(const RECT& r, int bitmapHeight, const TsGradArray& stops, RowFn row) {
  const int h = r.bottom - r.top;
  const int last = std::min<int>(r.bottom, bitmapHeight) - 1;
  int y = r.top;
  for (size_t i = 0; i < stops.size(); ++i) {
    const int y0 = y;
    y = y0 + h * stops[i].Percent / 100;
    y = i + 1 == stops.size() ? last : std::min(y, last);
    if (y - y0 <= 0) continue;
    Ramp ramp(uint32_t(stops[i].StartColor), uint32_t(stops[i].EndColor), y - y0);
    for (int yy = y0; yy <= y; ++yy) row(yy, ramp.Next());
  }
}

// Left-to-right bands of one row: calls col(x, pixel) for every painted column.
template <typename ColFn>
void HorizontalBands(const RECT& r, int bitmapWidth, const TsGradArray& stops, ColFn col) {
  const int w = r.right - r.left;
  const int last = std::min<int>(r.right, bitmapWidth) - 1;
  int x = r.left;
  for (size_t i = 0; i < stops.size(); ++i) {
    const int x0 = x;
    x = static_cast<int>(std::nearbyint(x0 + stops[i].Percent * double(w) / 100.0));
    x = i + 1 == stops.size() ? last : std::min(x, last);
    if (x - x0 <= 0) continue;
    Ramp ramp(uint32_t(stops[i].StartColor), uint32_t(stops[i].EndColor), x - x0);
    for (int xx = x0; xx <= x; ++xx) col(xx, ramp.Next());
  }
}

void FillTriangles(const PixelView& bitmap, const RECT& r, const TsGradArray& stops) {
  const GradientFillFn fill = BoundGradientFill();
  if (fill == nullptr) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  DibSurface scratch(w, h);
  if (!scratch.Valid()) return;
  const POINT corners[5] = {{0, 0}, {w / 2, h / 2}, {w, 0}, {w, h}, {0, h}};
  TRIVERTEX v[5];
  uint32_t colour = stops.empty() ? 0 : uint32_t(stops[0].StartColor);
  for (int i = 0; i < 5; ++i) {
    if (size_t(i) < stops.size()) colour = uint32_t(stops[i].StartColor);
    v[i].x = corners[i].x;
    v[i].y = corners[i].y;
    v[i].Red = COLOR16((colour & 0xFF) << 8);
    v[i].Green = COLOR16(((colour >> 8) & 0xFF) << 8);
    v[i].Blue = COLOR16(((colour >> 16) & 0xFF) << 8);
    v[i].Alpha = 0xFF00;
  }
  GRADIENT_TRIANGLE tri[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
  fill(scratch.DC(), v, 5, tri, 4, GRADIENT_FILL_TRIANGLE);
  GdiFlush();
  const PixelView s = scratch.View();
  for (int y = 0; y < h; ++y) {
    const uint32_t* sp = s.Row(y);
    uint32_t* d = bitmap.Row(r.top + y) + r.left;
    for (int x = 0; x < w; ++x) d[x] = sp[x] | 0xFF000000u;
  }
}

}  // namespace

bool GradientFillAvailable() {
  return BoundGradientFill() != nullptr;
}

void FillGradientArgb(const PixelView& bitmap, RECT rect, const TsGradArray& stops) {
  if (stops.empty() || !ClipRect(bitmap, rect)) return;
  const int w = rect.right - rect.left;
  switch (stops[0].Mode) {
    case 0:
      VerticalBands(rect, bitmap.Height, stops,
                    [&](int y, uint32_t px) { std::fill_n(bitmap.Row(y) + rect.left, w, px); });
      break;
    case 1: {
      uint32_t* top = bitmap.Row(rect.top);
      HorizontalBands(rect, bitmap.Width, stops, [&](int x, uint32_t px) { top[x] = px; });
      for (int y = rect.top + 1; y < rect.bottom; ++y) {
        std::copy_n(top + rect.left, w, bitmap.Row(y) + rect.left);
      }
      break;
    }
    case 2:
      FillTriangles(bitmap, rect, stops);
      break;
    default:
      break;
  }
}

void FillGradientWithTexture(const PixelView& bitmap, RECT rect, const TsGradArray& stops,
                             const PixelView& texture, RECT texRect, uint8_t blend, uint8_t alpha) {
  if (stops.empty() || !texture.Valid() || !ClipRect(bitmap, rect)) return;
  if (texRect.right <= texRect.left || texRect.bottom <= texRect.top) {
    texRect = MakeRECT(0, 0, texture.Width, texture.Height);
  }
  if (texRect.left < 0 || texRect.top < 0) return;
  int tw = std::max<int>(0, texRect.right - texRect.left);
  int th = std::max<int>(0, texRect.bottom - texRect.top);
  // A texture area reaching past the image is cut at its edge; one that ends
  // on the last row or column keeps it.
  if (texRect.top + th > texture.Height) th = texture.Height - texRect.top;
  if (texRect.left + tw > texture.Width) tw = texture.Width - texRect.left;
  if (tw <= 0 || th <= 0) return;

  const uint32_t a = uint32_t(alpha) << 24;
  auto mix = [&](uint32_t g, uint32_t t) {
    uint32_t v = a;
    for (int n = 0; n < 24; n += 8) {
      const int gb = (g >> n) & 0xFF, tb = (t >> n) & 0xFF;
      v |= uint32_t((blend * (tb - gb) + gb * 256) >> 8) << n;
    }
    return v;
  };
  auto texRow = [&](int y) { return texture.Row(texRect.top + y % th) + texRect.left; };
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  switch (stops[0].Mode) {
    case 0:
      VerticalBands(rect, bitmap.Height, stops, [&](int y, uint32_t px) {
        uint32_t* d = bitmap.Row(y);
        const uint32_t* t = texRow(y);
        for (int x = rect.left; x < rect.right; ++x) d[x] = mix(px, t[x % tw]);
      });
      break;
    case 1: {
      uint32_t* top = bitmap.Row(rect.top);
      HorizontalBands(rect, bitmap.Width, stops, [&](int x, uint32_t px) { top[x] = px; });
      const int band = std::min(th, h);
      for (int y = rect.top + 1; y < rect.top + band; ++y) {
        uint32_t* d = bitmap.Row(y);
        const uint32_t* t = texRow(y);
        for (int x = rect.left; x < rect.right; ++x) d[x] = mix(top[x], t[x % tw]);
      }
      const uint32_t* t = texRow(rect.top);
      for (int x = rect.left; x < rect.right; ++x) top[x] = mix(top[x], t[x % tw]);
      for (int y = rect.top + band; y < rect.bottom; ++y) {
        std::copy_n(bitmap.Row(rect.top + (y - rect.top) % band) + rect.left, w,
                    bitmap.Row(y) + rect.left);
      }
      break;
    }
    default:
      break;
  }
}
