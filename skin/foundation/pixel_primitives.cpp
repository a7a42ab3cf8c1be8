#include "skin/foundation/pixel_primitives.h"

#include <algorithm>
#include <cmath>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "skin/foundation/alpha_mask_rows_avx2.h"
#include "skin/foundation/blend.h"
#include "skin/foundation/blend_avx2.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/dib_surface.h"
#include "skin/foundation/skin_source.h"
#include "skin/foundation/text_paint.h"

namespace {

// rect clipped to the image; false when nothing is left.
bool ClipToImage(const PixelView& v, RECT& r) {
  if (!v.Valid()) return false;
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  r.right = std::min<LONG>(r.right, v.Width);
  r.bottom = std::min<LONG>(r.bottom, v.Height);
  return r.left < r.right && r.top < r.bottom;
}

inline uint32_t PixelColour(uint32_t color) {
  return SwapRedBlueKeepTop(color) & 0x00FFFFFFu;
}

}  // namespace

uint32_t GetArgbPixel(const PixelView& bitmap, int x, int y) {
  if (!bitmap.Valid() || !bitmap.Contains(x, y)) return 0;
  return bitmap.At(x, y);
}

void SetArgbPixel(const PixelView& bitmap, int x, int y, uint32_t value) {
  if (bitmap.Valid() && bitmap.Contains(x, y)) bitmap.At(x, y) = value;
}

uint32_t ByteSwap32(uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

void ByteSwapArray32(uint32_t* p, int count) {
  for (int i = 0; i < count; ++i) p[i] = ByteSwap32(p[i]);
}

void FillPixels32(uint32_t* p, int count, uint32_t value) {
  int i = 0;
#if defined(__SSE2__)
  // Four pixels per store: the compiler leaves the plain loop one pixel at a
  // time, a quarter of what memory takes.
  const __m128i v = _mm_set1_epi32(static_cast<int>(value));
  for (; i + 4 <= count; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), v);
#endif
  for (; i < count; ++i) p[i] = value;
}

void FillRectArgb(const PixelView& bitmap, RECT rect, uint32_t color, uint8_t alpha) {
  if (!ClipToImage(bitmap, rect)) return;
  const uint32_t value = PixelColour(color) | (uint32_t(alpha) << 24);
  for (int y = rect.top; y < rect.bottom; ++y) {
    FillPixels32(bitmap.Row(y) + rect.left, rect.right - rect.left, value);
  }
}

void FillFrameArgb(const PixelView& bitmap, RECT r, int left, int top, int right, int bottom,
                   uint32_t color) {
  FillRectArgb(bitmap, MakeRECT(r.left, r.top, r.right, r.top + top), color, 255);
  FillRectArgb(bitmap, MakeRECT(r.left, r.top + top, r.left + left, r.bottom), color, 255);
  FillRectArgb(bitmap, MakeRECT(r.left + left, r.bottom - bottom, r.right, r.bottom), color, 255);
  FillRectArgb(bitmap, MakeRECT(r.right - right, r.top + top, r.right, r.bottom - bottom), color,
               255);
}

void MixRectWithColor(const PixelView& bitmap, RECT rect, uint8_t keep, uint32_t color) {
  if (!bitmap.Valid()) return;
  const int left = std::max<int>(rect.left, 0), top = std::max<int>(rect.top, 0);
  const int right = std::min<int>(rect.right, bitmap.Width - 1);
  const int bottom = std::min<int>(rect.bottom, bitmap.Height - 1);
  const uint32_t c = PixelColour(SkinColorToRgb(color));
  for (int y = top; y <= bottom; ++y) {
    uint32_t* row = bitmap.Row(y);
    for (int x = left; x <= right; ++x) {
      const uint32_t p = row[x];
      uint32_t v = p & 0xFF000000u;
      for (int n = 0; n < 24; n += 8) {
        v |= ((((p >> n) & 0xFFu) * keep + ((c >> n) & 0xFFu) * (255u - keep)) >> 8) << n;
      }
      row[x] = v;
    }
  }
}

void TintRectArgb(const PixelView& bitmap, RECT rect, uint32_t color, int percent, uint8_t alpha) {
  if (!ClipToImage(bitmap, rect)) return;
  const uint32_t c = PixelColour(color);
  for (int y = rect.top; y < rect.bottom; ++y) {
    uint32_t* row = bitmap.Row(y);
    for (int x = rect.left; x < rect.right; ++x) {
      const uint32_t p = row[x];
      uint32_t v = uint32_t(alpha) << 24;
      for (int n = 0; n < 24; n += 8) {
        const int pb = (p >> n) & 0xFF, cb = (c >> n) & 0xFF;
        v |= uint32_t(pb - percent * (pb - cb) / 100) << n;
      }
      row[x] = v;
    }
  }
}

void SetAlphaInRect(const PixelView& bitmap, RECT rect, uint8_t alpha, uint32_t keyValue) {
  if (!ClipToImage(bitmap, rect)) return;
  const bool all = keyValue == kNoColor;
  for (int y = rect.top; y < rect.bottom; ++y) {
    uint32_t* row = bitmap.Row(y);
    for (int x = rect.left; x < rect.right; ++x) {
      if (all || row[x] != keyValue) row[x] = (row[x] & 0x00FFFFFFu) | (uint32_t(alpha) << 24);
    }
  }
}

void ClearWhitePixels(const PixelView& bitmap) {
  if (!bitmap.Valid()) return;
  for (int y = 0; y < bitmap.Height; ++y) {
    uint32_t* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width; ++x) {
      if (row[x] == 0x00FFFFFFu) row[x] = 0;
    }
  }
}

namespace {

uint32_t PremultiplyPixel(uint32_t p, bool compositionEnabled) {
  if (p == 0x00FFFFFFu) return 0;
  const uint32_t a = p >> 24;
  const uint32_t b = p & 0xFF, g = (p >> 8) & 0xFF, r = (p >> 16) & 0xFF;
  // Without composition whitish-white pixels would show as opaque white.
  const bool capped = !compositionEnabled && b >= 245 && g >= 245 && r >= 245;
  auto mul = [&](uint32_t c) {
    const uint32_t v = c * a >> 8;
    return capped ? std::min<uint32_t>(244, v) : v;
  };
  return (p & 0xFF000000u) | (mul(r) << 16) | (mul(g) << 8) | mul(b);
}

void PremultiplyRow(uint32_t* row, int n, bool compositionEnabled) {
  const bool cap = !compositionEnabled;
  int x = n >= 8 && blend::HasAvx2() ? alpha_rows::avx2::PremultiplyRow(row, n, cap) : 0;
#if defined(__SSE2__)
  const __m128i z = _mm_setzero_si128();
  const __m128i alphaMask = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i colourBytes = _mm_set1_epi32(0x00FFFFFF);
  const __m128i limit = _mm_set1_epi8(static_cast<char>(244));
  auto mul = [](__m128i p16) {
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(p16, _MM_SHUFFLE(3, 3, 3, 3)),
                                          _MM_SHUFFLE(3, 3, 3, 3));
    return _mm_srli_epi16(_mm_mullo_epi16(p16, a), 8);
  };
  for (; x + 4 <= n; x += 4) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
    __m128i c = _mm_packus_epi16(mul(_mm_unpacklo_epi8(p, z)), mul(_mm_unpackhi_epi8(p, z)));
    if (cap) {
      // Pixels whose three colour bytes are all 245 or more stay below 245.
      const __m128i low = _mm_cmpeq_epi8(_mm_subs_epu8(p, limit), z);
      const __m128i whitish = _mm_cmpeq_epi32(_mm_and_si128(low, colourBytes), z);
      c = _mm_or_si128(_mm_and_si128(whitish, _mm_min_epu8(c, limit)),
                       _mm_andnot_si128(whitish, c));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x),
                     _mm_or_si128(_mm_and_si128(p, alphaMask), _mm_andnot_si128(alphaMask, c)));
  }
#endif
  for (; x < n; ++x) row[x] = PremultiplyPixel(row[x], compositionEnabled);
}

}  // namespace

void PremultiplyAlphaInRect(const PixelView& bitmap, RECT rect, bool compositionEnabled) {
  if (!ClipToImage(bitmap, rect)) return;
  for (int y = rect.top; y < rect.bottom; ++y) {
    PremultiplyRow(bitmap.Row(y) + rect.left, rect.right - rect.left, compositionEnabled);
  }
}

void PremultiplyAlpha(const PixelView& bitmap, bool compositionEnabled) {
  PremultiplyAlphaInRect(bitmap, MakeRECT(0, 0, bitmap.Width, bitmap.Height), compositionEnabled);
}

void FillCornerFromBackground(const PixelView& dst, const PixelView& src, RECT rect, POINT srcPoint,
                              int maskIndex, const SkinSource* source, int corner) {
  if (!dst.Valid() || !src.Valid()) return;
  int w = std::max<int>(0, rect.right - rect.left);
  int h = std::max<int>(0, rect.bottom - rect.top);
  w = std::min<int>(w, src.Width - srcPoint.x);
  h = std::min<int>(h, src.Height - srcPoint.y);
  if (srcPoint.x < 0 || srcPoint.y < 0 || w <= 0 || h <= 0) return;
  auto inDst = [&](int x, int y) { return dst.Contains(rect.left + x, rect.top + y); };
  if (maskIndex == -1) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (!inDst(x, y)) continue;
        uint32_t& d = dst.At(rect.left + x, rect.top + y);
        d &= 0x00FFFFFFu;
        if (d == kKeyPixel) d = src.At(srcPoint.x + x, srcPoint.y + y);
      }
    }
    return;
  }
  if (source == nullptr || !source->ValidImage(maskIndex)) return;
  const TsMaskData& m = source->ImageData(maskIndex);
  const PixelView img = MaskPixels(m);
  if (!img.Valid()) return;
  int ix = m.SourceRect.left, iy = m.SourceRect.top;
  if (corner == HTTOPRIGHT || corner == HTBOTTOMRIGHT) ix += m.FrameWidth - m.BorderRight;
  if (corner == HTBOTTOMLEFT || corner == HTBOTTOMRIGHT) iy += m.FrameHeight - m.BorderBottom;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!inDst(x, y) || !img.Contains(ix + x, iy + y)) continue;
      if ((img.At(ix + x, iy + y) & 0x00FFFFFFu) == 0x00FF00FFu) {
        dst.At(rect.left + x, rect.top + y) = src.At(srcPoint.x + x, srcPoint.y + y);
      }
    }
  }
}

namespace {

// Black text on white into the top-left Width x Height of the scratch image
// whose DC holds the font.
void DrawCoverage(HDC dc, const PixelView& t, int rw, int rh, const std::string& text, UINT format,
                  bool plain) {
  for (int y = 0; y < rh; ++y) FillPixels32(t.Row(y), rw, 0x00FFFFFFu);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  RECT area = MakeRECT(0, 0, rw, rh);
  const int len = plain ? static_cast<int>(text.size())
                        : std::min<int>(static_cast<int>(text.size()), kMaxDrawTextChars);
  DrawTextA(dc, text.c_str(), len, &area, format);
  GdiFlush();
}

// The coverage turned into colour (and alpha) over the bitmap at rect.
void ComposeCoverage(const PixelView& bitmap, const PixelView& t, RECT rect, bool alphaMode,
                     uint32_t color) {
  const int rw = rect.right - rect.left, rh = rect.bottom - rect.top;
  const uint32_t c = PixelColour(color);
  const int x0 = std::max<int>(0, -rect.left), y0 = std::max<int>(0, -rect.top);
  const int x1 = std::min<int>(rw, bitmap.Width - rect.left);
  const int y1 = std::min<int>(rh, bitmap.Height - rect.top);
  for (int y = y0; y < y1; ++y) {
    const uint32_t* ts = t.Row(y);
    uint32_t* d = bitmap.Row(rect.top + y) + rect.left;
    for (int x = x0; x < x1; ++x) {
      const uint32_t tp = ts[x];
      if (tp == 0x00FFFFFFu || tp == 0xFFFFFFFFu) continue;  // untouched white
      const uint32_t dp = d[x];
      uint32_t out;
      if (alphaMode) {
        const int g = PixelLuma(tp);
        const int l = std::max<int>(((dp >> 24) + 255) >> 1, 255 - g);
        out = uint32_t(l) << 24;
        for (int n = 0; n < 24; n += 8) {
          const int db = (dp >> n) & 0xFF, cb = (c >> n) & 0xFF;
          out |= uint32_t((((db - cb) * g + cb * 256) * l) >> 16) << n;
        }
      } else {
        out = 0xFF000000u;
        for (int n = 0; n < 24; n += 8) {
          const int db = (dp >> n) & 0xFF, cb = (c >> n) & 0xFF, tb = (tp >> n) & 0xFF;
          out |= uint32_t(((db - cb) * tb + cb * 256) >> 8) << n;
        }
      }
      d[x] = out;
    }
  }
}

// A kept scratch image stays below this many pixels; a larger text box
// gets an image of its own for the one call.
constexpr long long kMaxKeptScratchPixels = 1 << 22;

}  // namespace

void DrawTextArgb(const PixelView& bitmap, HFONT font, const std::string& text, bool alphaMode,
                  RECT rect, UINT format, uint32_t color, bool plain) {
  if (!bitmap.Valid()) return;
  const int rw = rect.right - rect.left, rh = rect.bottom - rect.top;
  DibSurface scratch(rw, rh);
  if (!scratch.Valid()) return;
  {
    TSelectedObject selectFont(scratch.DC(), font);
    DrawCoverage(scratch.DC(), scratch.View(), rw, rh, text, format, plain);
  }
  ComposeCoverage(bitmap, scratch.View(), rect, alphaMode, color);
}

TextScratch::TextScratch() = default;
TextScratch::~TextScratch() {
  ReleaseFont();
}

const PixelView& TextScratch::View() const {
  static const PixelView none;
  return surface_ ? surface_->View() : none;
}

void TextScratch::ReleaseFont() {
  if (font_ != nullptr && surface_) SelectObject(surface_->DC(), defaultFont_);
  font_ = nullptr;
}

HDC TextScratch::Prepare(int Width, int Height, HFONT Font) {
  if (Width <= 0 || Height <= 0) return nullptr;
  if (!surface_ || surface_->View().Width < Width || surface_->View().Height < Height) {
    const int w = std::max(Width, surface_ ? surface_->View().Width : 0);
    const int h = std::max(Height, surface_ ? surface_->View().Height : 0);
    if (static_cast<long long>(w) * h > kMaxKeptScratchPixels) return nullptr;
    ReleaseFont();
    surface_ = std::make_unique<DibSurface>(w, h);
    if (!surface_->Valid()) {
      surface_.reset();
      return nullptr;
    }
  }
  if (Font != font_) {
    const HGDIOBJ old = SelectObject(surface_->DC(), Font);
    if (font_ == nullptr) defaultFont_ = old;
    font_ = Font;
  }
  return surface_->DC();
}

void DrawTextArgb(const PixelView& bitmap, HFONT font, const std::string& text, bool alphaMode,
                  RECT rect, UINT format, uint32_t color, bool plain, TextScratch& scratch) {
  if (!bitmap.Valid()) return;
  const int rw = rect.right - rect.left, rh = rect.bottom - rect.top;
  HDC dc = scratch.Prepare(rw, rh, font);
  if (dc == nullptr) {
    DrawTextArgb(bitmap, font, text, alphaMode, rect, format, color, plain);
    return;
  }
  DrawCoverage(dc, scratch.View(), rw, rh, text, format, plain);
  ComposeCoverage(bitmap, scratch.View(), rect, alphaMode, color);
}

void DrawSectionTextArgb(const PixelView& bitmap, HFONT font, uint32_t canvasFontColor,
                         const std::string& text, bool alphaMode, RECT rect, UINT format,
                         int sectionIndex, int state, const SkinSource* source) {
  if (text.empty() || rect.right <= rect.left || rect.bottom <= rect.top) return;
  if (source == nullptr) source = DefaultSkinSource();
  if (source == nullptr || !source->ValidSection(sectionIndex)) {
    DrawTextArgb(bitmap, font, text, alphaMode, rect, format, canvasFontColor, false);
    return;
  }
  const TsGenState& st = source->Section(sectionIndex).Props[std::clamp(state, 0, 2)];
  if (alphaMode) {
    for (const TextContour& c : StateContours(st)) {
      if (c.Color == -1) continue;
      DrawTextArgb(bitmap, font, text, true, MovedRect(rect, c), format, uint32_t(c.Color), false);
    }
  }
  DrawTextArgb(bitmap, font, text, alphaMode, rect, format, uint32_t(st.FontColor), false);
}

void ApplyDisabledLook(const PixelView& bitmap, uint8_t kind, const BackgroundView& bg,
                       POINT offset, uint32_t controlBgColor) {
  if (!bitmap.Valid()) return;
  if (kind & dkGrayed) {
    ForEachPixelExceptKey(bitmap, SaturationPixelProc, DisabledGraySaturation * 255 / 100,
                          kFuchsia);
  }
  if (kind & dkBlended) {
    if (bg.HasBitmap) {
      const int dx = bg.OffsetX + offset.x, dy = bg.OffsetY + offset.y;
      BlendCopyExceptKey(bitmap, 0, 0, bg.Pixels,
                         MakeRECT(dx, dy, dx + bitmap.Width, dy + bitmap.Height),
                         DisabledBlendLevel, kFuchsia);
    } else {
      const uint32_t color = bg.Color == kFuchsia ? controlBgColor : bg.Color;
      MixRectWithColor(bitmap, MakeRECT(0, 0, bitmap.Width, bitmap.Height), DisabledBlendLevel,
                       color);
    }
  }
}

HICON IconFromBitmapTopLeftKey(const PixelView& bitmap) {
  if (!bitmap.Valid()) return nullptr;
  const int w = bitmap.Width, h = bitmap.Height;
  DibSurface colour(w, h);
  if (!colour.Valid()) return nullptr;
  const uint32_t key = bitmap.At(0, 0);
  bool anyAlpha = false;
  for (int y = 0; y < h && !anyAlpha; ++y) {
    const uint32_t* s = bitmap.Row(y);
    for (int x = 0; x < w; ++x) anyAlpha |= (s[x] >> 24) != 0;
  }
  // A 1-bit mask, rows padded to 16 bits, top row first; 1 = transparent.
  const int maskStride = ((w + 15) / 16) * 2;
  std::vector<uint8_t> maskBits(static_cast<size_t>(maskStride) * h, 0);
  for (int y = 0; y < h; ++y) {
    const uint32_t* s = bitmap.Row(y);
    uint32_t* d = colour.View().Row(y);
    for (int x = 0; x < w; ++x) {
      if (s[x] == key) {
        maskBits[static_cast<size_t>(y) * maskStride + x / 8] |= uint8_t(0x80 >> (x % 8));
        d[x] = 0;  // transparent places must not XOR their colour onto the screen
      } else {
        d[x] = anyAlpha ? s[x] : (s[x] | 0xFF000000u);
      }
    }
  }
  TOwnedBitmap mask(CreateBitmap(w, h, 1, 1, maskBits.data()));
  if (!mask) return nullptr;
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask.Get();
  info.hbmColor = colour.Bitmap();
  return CreateIconIndirect(&info);
}
