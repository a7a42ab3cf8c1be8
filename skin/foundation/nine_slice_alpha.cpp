#include "skin/foundation/nine_slice_alpha.h"

#include <algorithm>

#include "skin/foundation/alpha_mask_rows.h"
#include "skin/foundation/blend.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/nine_slice_walk.h"
#include "skin/foundation/skin_source.h"

namespace {

using alpha_rows::MixPixel;
using alpha_rows::MixRow;
using alpha_rows::Rule;

inline uint32_t MaskValue(uint32_t maskPixel) {
  return (maskPixel >> 16) & 0xFFu;
}

// A pair of rules, one for copied pieces and one for stretched ones, with
// the opacity they share.
template <Rule CopyRule, Rule StretchRule>
struct Mixes {
  uint32_t opacity = 255;
  uint32_t operator()(uint32_t d, uint32_t s, uint32_t m) const {
    return MixPixel<CopyRule>(d, s, m, opacity);
  }
  // A tile row, as the piece copy without a background: key pixels become
  // transparent.
  auto TileRow() const {
    return [o = opacity](uint32_t* d, const uint32_t* s, const uint32_t* mk, int n) {
      MixRow<CopyRule>(d, s, mk, n, o, true);
    };
  }
  auto StretchRow() const {
    return [o = opacity](uint32_t* d, const uint32_t* s, const uint32_t* mk, int n) {
      MixRow<StretchRule>(d, s, mk, n, o, false);
    };
  }
  auto StretchSingle() const {
    return [o = opacity](uint32_t* d, uint32_t p, uint32_t maskPixel, int n) {
      const uint32_t m = MaskValue(maskPixel);
      for (int x = 0; x < n; ++x) d[x] = MixPixel<StretchRule>(d[x], p, m, o);
    };
  }
};
using KeepAlphaMixes = Mixes<Rule::KeepCopy, Rule::KeepStretch>;
using OpacityMixes = Mixes<Rule::OpacityCopy, Rule::OpacityStretch>;

template <typename Mix>
void CopyPiece(RECT dstRect, RECT srcRect, const PixelView& dst, const PixelView& src,
               const BackgroundView& bg, const TsMaskData& mask, Mix mix) {
  blend::Span sp;
  if (!blend::ClipRects(dst, src, dstRect, srcRect, sp)) return;
  const int maskShift = (mask.SourceRect.bottom - mask.SourceRect.top) / 2;
  const bool fromBackground = bg.HasBitmap && bg.Pixels.Valid();
  for (int r = 0; r < sp.h; ++r) {
    const int my = sp.sy + r + maskShift;
    if (my < 0 || my >= src.Height) break;
    uint32_t* d = dst.Row(sp.dy + r) + sp.dx;
    const uint32_t* s = src.Row(sp.sy + r) + sp.sx;
    const uint32_t* m = src.Row(my) + sp.sx;
    for (int c = 0; c < sp.w; ++c) {
      if (s[c] != kKeyPixel) {
        d[c] = mix(d[c], s[c], MaskValue(m[c]));
      } else if (!fromBackground) {
        d[c] &= 0x00FFFFFFu;
      } else {
        uint32_t b;
        if (bg.Fetch(sp.dx + c, sp.dy + r, b)) d[c] = b;
      }
    }
  }
}

template <typename Mix>
void Stretch(int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW, int srcH,
             const PixelView& dst, const PixelView& src, int maskOffset, bool isCentre, Mix mix) {
  nine_slice::StretchMasked(dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, dst, src, maskOffset,
                            isCentre, rsHermite, mix.StretchRow(), mix.StretchSingle());
}

// Images without a mask part: corner holes always take the background,
// edges and the centre are plain copies.
void PaintUnmasked(const PixelView& bitmap, RECT rect, const BackgroundView& bg,
                   const TsMaskData& mask, int state) {
  TsMaskData m = mask;
  m.TransparentCorners = 1;
  PaintMaskNineSlice(bitmap, rect, bg, m, state, true);
}

// The masked nine-slice with copy and stretch mixes and the edge bands given.
template <typename Mix>
void PaintMasked(const PixelView& bitmap, RECT rect, const BackgroundView& bg,
                 const TsMaskData& mask, const nine_slice::Layout& g,
                 const nine_slice::Bands& bands, bool centre, Mix mix) {
  const PixelView src = MaskPixels(mask);
  if (!src.Valid()) return;
  const bool stretch = (mask.PaintMode & kMaskStretch) != 0;
  const BackgroundView none{};
  const auto tileRow = mix.TileRow();
  auto corner = [&](int sx, int sy, int w, int h, int dx, int dy) {
    if (w <= 0 || h <= 0) return;
    CopyPiece(MakeRECT(dx, dy, dx + w, dy + h), MakeRECT(sx, sy, sx + w, sy + h), bitmap, src, bg,
              mask, mix);
  };
  auto fill = [&](int sx, int sy, int sw, int sh, int l, int t, int r, int b, bool isCentre) {
    if (r <= l || b <= t || sw <= 0 || sh <= 0) return;
    if (stretch) {
      Stretch(l, t, r - l, b - t, sx, sy, sw, sh, bitmap, src, g.frameHeight, isCentre, mix);
      return;
    }
    if (nine_slice::TileMaskedRows(bitmap, src, mask, sx, sy, sw, sh, l, t, r, b, tileRow)) return;
    nine_slice::Tile(l, t, r, b, sw, sh, [&](int dx, int dy, int w, int h) {
      CopyPiece(MakeRECT(dx, dy, dx + w, dy + h), MakeRECT(sx, sy, sx + w, sy + h), bitmap, src,
                none, mask, mix);
    });
  };
  nine_slice::Walk(g, rect, bands, centre, corner, fill);
}

}  // namespace

void CopyMaskedPieceKeepAlpha(RECT dstRect, RECT srcRect, const PixelView& bitmap,
                              const PixelView& src, const BackgroundView& bg,
                              const TsMaskData& mask) {
  CopyPiece(dstRect, srcRect, bitmap, src, bg, mask, KeepAlphaMixes{});
}

void CopyMaskedPieceAlpha(RECT dstRect, RECT srcRect, const PixelView& bitmap, const PixelView& src,
                          const BackgroundView& bg, const TsMaskData& mask, uint8_t opacity) {
  CopyPiece(dstRect, srcRect, bitmap, src, bg, mask, OpacityMixes{opacity});
}

void StretchMaskedPieceKeepAlpha(int dstX, int dstY, int dstW, int dstH, int srcX, int srcY,
                                 int srcW, int srcH, const PixelView& dst, const PixelView& src,
                                 int maskOffset, bool isCentre) {
  Stretch(dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, dst, src, maskOffset, isCentre,
          KeepAlphaMixes{});
}

void StretchMaskedPieceAlpha(int dstX, int dstY, int dstW, int dstH, int srcX, int srcY, int srcW,
                             int srcH, const PixelView& dst, const PixelView& src, int maskOffset,
                             bool isCentre, uint8_t opacity) {
  Stretch(dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH, dst, src, maskOffset, isCentre,
          OpacityMixes{opacity});
}

void PaintMaskNineSliceKeepAlpha(const PixelView& bitmap, RECT rect, const BackgroundView& bg,
                                 const TsMaskData& mask, int state) {
  if (mask.MaskCount <= 0) {
    PaintUnmasked(bitmap, rect, bg, mask, state);
    return;
  }
  nine_slice::Layout g;
  if (!bitmap.Valid() || !nine_slice::MakeLayout(rect, mask, state, g)) return;
  PaintMasked(bitmap, rect, bg, mask, g, nine_slice::FullBands(g),
              (mask.PaintMode & kMaskPaintCentre) != 0, KeepAlphaMixes{});
}

void PaintMaskNineSliceAlpha(const PixelView& bitmap, RECT rect, const BackgroundView& bg,
                             const TsMaskData& mask, int state, RECT limits, uint8_t opacity) {
  if (mask.MaskCount <= 0) {
    PaintUnmasked(bitmap, rect, bg, mask, state);
    return;
  }
  nine_slice::Layout g;
  if (!bitmap.Valid() || !nine_slice::MakeLayout(rect, mask, state, g)) return;
  auto band = [](int border, LONG limit) { return std::clamp<int>(limit, 0, border); };
  const nine_slice::Bands bands{band(g.wl, limits.left), band(g.ht, limits.top),
                                band(g.wr, limits.right), band(g.hb, limits.bottom)};
  PaintMasked(bitmap, rect, bg, mask, g, bands, false, OpacityMixes{opacity});
}
