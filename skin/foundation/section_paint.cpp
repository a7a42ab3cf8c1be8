#include "skin/foundation/section_paint.h"

#include <algorithm>

#include "skin/foundation/blend.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/dib_surface.h"
#include "skin/foundation/gradient.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/texture_place.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

inline int Width(const RECT& r) {
  return r.right - r.left;
}
inline int Height(const RECT& r) {
  return r.bottom - r.top;
}
inline bool Empty(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

void FillColour(const PixelView& v, const RECT& r, uint32_t color) {
  FillRectArgb(v, r, SkinColorToRgb(color), 255);
}

// The layers of one state that the fill paints.
struct Layers {
  uint32_t color = 0;
  int transparency = 0, imagePercent = 0, gradientPercent = 0;
  int texture = -1;
  const TsGradArray* gradient = nullptr;
};

// Texture and gradient over r, towards the colour by their remaining share.
// `withPlacedRemainder` is the simplified painter's way: the uncovered part
// of the texture becomes the area the later layers work on.
void Fill(const SkinSource& src, const PixelView& v, RECT r, const Layers& l,
          const BackgroundView& bg, bool simplified) {
  if (Empty(r)) return;
  const int I = l.imagePercent, G = l.gradientPercent;
  const bool validTexture = src.ValidImage(l.texture);
  const TsGradArray empty;
  const TsGradArray& stops = (l.gradient != nullptr && G > 0) ? *l.gradient : empty;
  if (!simplified && I + G == 100 && G >= 1 && G <= 99 && validTexture &&
      src.ImageData(l.texture).PaintMode == 0 && !stops.empty() &&
      (stops[0].Mode == 0 || stops[0].Mode == 1)) {
    const TsMaskData& tex = src.ImageData(l.texture);
    FillGradientWithTexture(v, r, stops, MaskPixels(tex), tex.SourceRect,
                            static_cast<uint8_t>(I * 255 / 100), 255);
    return;
  }
  bool placed = false;
  if (I > 0) {
    if (validTexture) {
      const TsMaskData& tex = src.ImageData(l.texture);
      RECT rest = r;
      if (tex.MaskCount != 0) {
        PlaceMaskedTexture(v, rest, bg, TexturePlacementOf(tex.PaintMode), tex);
      } else {
        PlaceTexture(v, rest, TexturePlacementOf(tex.PaintMode), tex);
      }
      if (!IsAllCovered(rest)) {
        FillColour(v, rest, l.color);
        if (simplified) r = rest;
      }
      placed = true;
    } else if (!simplified) {
      FillColour(v, r, l.color);
    }
  }
  if (G > 0 && !Empty(r)) {
    if (placed) {
      PixelBuffer temp(Width(r), Height(r));
      const RECT all = MakeRECT(0, 0, Width(r), Height(r));
      if (stops.empty()) {
        FillColour(temp.View(), all, l.color);
      } else {
        FillGradientArgb(temp.View(), all, stops);
      }
      BlendBitmapRect(v, temp.View(), static_cast<uint8_t>(std::clamp(I * 255 / 100, 0, 255)), all,
                      POINT{r.left, r.top});
    } else if (stops.empty()) {
      FillColour(v, r, l.color);
    } else {
      FillGradientArgb(v, r, stops);
    }
  }
  const int C = I + G;
  if (C > 0 && C < 100) {
    // Exactly r: the rectangle blend takes Right and Bottom inclusively.
    MixRectWithColor(v, MakeRECT(r.left, r.top, r.right - 1, r.bottom - 1),
                     static_cast<uint8_t>(C * 255 / 100), l.color);
  } else if (C == 0 || (simplified && C > 100)) {
    uint32_t color = l.color;
    if (simplified) {
      if (!bg.HasBitmap && l.transparency == 100) color = bg.Color;
    } else if (!bg.HasBitmap && l.transparency > 0 && l.transparency < 100) {
      color = MixTwoColors(SkinColorToRgb(l.color), SkinColorToRgb(bg.Color),
                           static_cast<uint8_t>(l.transparency * 255 / 100));
    }
    FillColour(v, r, color);
  }
}

// The background behind r: pixels at the rect-relative offset, or the colour
// (with the valid border strips of a colour answer's bitmap).
void PaintBehind(const PixelView& v, const RECT& r, const BackgroundView& bg, POINT offset) {
  const int bx = bg.OffsetX + offset.x, by = bg.OffsetY + offset.y;
  if (bg.HasBitmap) {
    if (!bg.Pixels.SameImage(v))
      CopyPixels(v, r.left, r.top, bg.Pixels, bx, by, Width(r), Height(r));
    return;
  }
  FillColour(v, r, bg.Color);
  const RECT& b = bg.Borders;
  if (!bg.Pixels.Valid() || (b.left == 0 && b.top == 0 && b.right == 0 && b.bottom == 0)) return;
  const PixelView& p = bg.Pixels;
  for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, v.Height); ++y) {
    for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, v.Width); ++x) {
      const int px = bx + x - r.left, py = by + y - r.top;
      if (!p.Contains(px, py)) continue;
      if (px < b.left || py < b.top || px >= p.Width - b.right || py >= p.Height - b.bottom) {
        v.At(x, y) = p.At(px, py);
      }
    }
  }
}

const SkinSource* Resolve(const SkinSource* source) {
  return source != nullptr ? source : DefaultSkinSource();
}

bool InsideBitmap(const PixelView& v, const RECT& r) {
  return v.Valid() && !Empty(r) && r.left >= 0 && r.top >= 0 && r.right <= v.Width &&
         r.bottom <= v.Height;
}

void PaintCorners(const SkinSource& src, const TsGeneralData& section, int state, const RECT& r,
                  const PixelView& v) {
  const BackgroundView self = MakeBackgroundView(v, 0, 0);
  for (int k = 0; k < 4; ++k) {
    const int index = section.CornerImages[k];
    if (index < 0 || !src.ValidImage(index)) continue;
    const TsMaskData& m = src.ImageData(index);
    const int x = (k == 1 || k == 3) ? r.right - m.FrameWidth : r.left;
    const int y = (k == 2 || k == 3) ? r.bottom - m.FrameHeight : r.top;
    DrawMaskStateFrame(v, POINT{x, y}, state, 1, m, self);
  }
}

}  // namespace

void PaintSectionBackground(const SkinSource* source, int sectionIndex, const BackgroundView& bg,
                            int state, RECT rect, POINT offset, const PixelView& bitmap,
                            int patternIndex, int hotPatternIndex, uint32_t ownColor) {
  source = Resolve(source);
  if (source == nullptr || !source->ValidSection(sectionIndex) || !bitmap.Valid()) return;
  const TsGeneralData& section = source->Section(sectionIndex);
  state = ClipSectionState(section, state);
  const TsGenState& st = section.Props[state];
  Layers l;
  if (ownColor == kFuchsia) {
    l.color = uint32_t(st.Color);
    l.transparency = st.Transparency;
    if (l.transparency < 100) {
      l.imagePercent = st.ImagePercent;
      l.gradientPercent = st.GradientPercent;
      l.texture = (l.imagePercent > 0 && patternIndex < 0) ? st.PatternIndex : patternIndex;
      if (l.gradientPercent > 0) l.gradient = &st.Gradient;
    }
  } else {
    l.color = ownColor;
  }
  const BackgroundView shifted = bg.Shifted(offset.x, offset.y);
  const int T = l.transparency;
  const bool backgroundKnown = bg.HasBitmap || bg.Color != kFuchsia;
  if (backgroundKnown && T >= 100) {
    PaintBehind(bitmap, rect, bg, offset);
  } else if (backgroundKnown && T > 0) {
    if (bg.HasBitmap || l.imagePercent + l.gradientPercent > 0) {
      PixelBuffer temp(Width(rect), Height(rect));
      const RECT all = MakeRECT(0, 0, Width(rect), Height(rect));
      Fill(*source, temp.View(), all, l, shifted, false);
      PaintBehind(bitmap, rect, bg, offset);
      BlendBitmapRect(bitmap, temp.View(), static_cast<uint8_t>(T * 255 / 100), all,
                      POINT{rect.left, rect.top});
    } else {
      FillColour(bitmap, rect,
                 MixTwoColors(SkinColorToRgb(bg.Color), SkinColorToRgb(l.color),
                              static_cast<uint8_t>(T * 255 / 100)));
    }
  } else {
    Fill(*source, bitmap, rect, l, shifted, false);
  }
  // A masked texture of PaintMode 10 lies over everything once more.
  int overlay = state == 0 ? patternIndex : hotPatternIndex;
  if (state == 0 && overlay < 0) overlay = st.PatternIndex;
  if (source->ValidImage(overlay)) {
    const TsMaskData& m = source->ImageData(overlay);
    if (m.MaskCount > 0 && m.PaintMode == plTileWhole) {
      RECT r = rect;
      PlaceMaskedTexture(bitmap, r, shifted, plTileWhole, m);
    }
  }
}

void PaintSkinSection(const SkinSource* source, int sectionIndex, const BackgroundView& bg,
                      int state, RECT rect, POINT offset, const PixelView& bitmap, int patternIndex,
                      int hotPatternIndex) {
  source = Resolve(source);
  if (source == nullptr || !source->ValidSection(sectionIndex) || !InsideBitmap(bitmap, rect)) {
    return;
  }
  const TsGeneralData& section = source->Section(sectionIndex);
  state = ClipSectionState(section, state);
  PaintSectionBackground(source, sectionIndex, bg, state, rect, offset, bitmap, patternIndex,
                         hotPatternIndex, kFuchsia);
  PaintCorners(*source, section, state, rect, bitmap);
  if (source->ValidImage(section.BordersMask)) {
    PaintMaskNineSlice(bitmap, rect, bg.Shifted(offset.x, offset.y),
                       source->ImageData(section.BordersMask), state, true);
  }
}

void PaintControlBackground(const ControlSectionParams& control, const BackgroundView& bg,
                            int state, RECT rect, POINT offset, const PixelView& bitmap) {
  const SkinSource* source = Resolve(control.Source);
  if (source == nullptr || !source->ValidSection(control.SkinIndex)) return;
  const uint32_t ownColor = control.CustomColor ? SkinColorToRgb(control.OwnColor) : kFuchsia;
  state = ClipSectionState(source->Section(control.SkinIndex), state);
  PaintSectionBackground(source, control.SkinIndex, bg, state, rect, offset, bitmap,
                         control.TextureIndex, control.HotTextureIndex, ownColor);
}

void PaintControlSection(const ControlSectionParams& control, const BackgroundView& bg, int state,
                         RECT rect, POINT offset, const PixelView& bitmap,
                         bool cornersOnBackground) {
  const SkinSource* source = Resolve(control.Source);
  if (source == nullptr || !source->ValidSection(control.SkinIndex) ||
      !InsideBitmap(bitmap, rect)) {
    return;
  }
  const TsGeneralData& section = source->Section(control.SkinIndex);
  state = ClipSectionState(section, state);
  PaintControlBackground(control, bg, state, rect, offset, bitmap);
  PaintCorners(*source, section, state, rect, bitmap);
  bool filters = true;
  const bool validBorder = source->ValidImage(control.BorderIndex);
  if (!validBorder ||
      (state == 0 && (source->ImageData(control.BorderIndex).PaintMode & kMaskNoNormalState))) {
    filters = section.Props[state].Transparency == 0;
  } else {
    PaintMaskNineSlice(bitmap, rect, bg.Shifted(offset.x, offset.y),
                       source->ImageData(control.BorderIndex), state, cornersOnBackground);
  }
  if (!filters) return;
  if (control.ColorTone != kNoColor) {
    ForEachPixelExceptKey(bitmap, TonePixelProc, int32_t(control.ColorTone), kFuchsia);
  }
  if (control.HueOffset != 0) {
    ForEachPixelExceptKey(bitmap, HuePixelProc, control.HueOffset, kFuchsia);
  }
  if (control.Saturation != 0) {
    ForEachPixelExceptKey(bitmap, SaturationPixelProc, control.Saturation, kFuchsia);
  }
}

void PaintSectionAndMask(const SkinSource* source, int sectionIndex, int maskIndex,
                         int patternIndex, const BackgroundView& bg, int state, RECT rect,
                         POINT offset, const PixelView& bitmap) {
  source = Resolve(source);
  if (source == nullptr || !source->ValidSection(sectionIndex) || !InsideBitmap(bitmap, rect)) {
    return;
  }
  state = ClipSectionState(source->Section(sectionIndex), state);
  const TsGenState& st = source->Section(sectionIndex).Props[state];
  Layers l;
  l.color = uint32_t(st.Color);
  l.transparency = st.Transparency;
  l.imagePercent = st.ImagePercent;
  l.gradientPercent = st.GradientPercent;
  l.texture = patternIndex;
  l.gradient = &st.Gradient;
  // What the fill hands down (a masked texture's key pixels and uncovered
  // strips) lies at the painted area's offset in the background.
  const BackgroundView shifted = bg.Shifted(offset.x, offset.y);
  if (!bg.HasBitmap || l.transparency == 0) {
    Fill(*source, bitmap, rect, l, shifted, true);
  } else if (l.transparency >= 100) {
    PaintBehind(bitmap, rect, bg, offset);
  } else {
    PixelBuffer temp(Width(rect), Height(rect));
    const RECT all = MakeRECT(0, 0, Width(rect), Height(rect));
    Fill(*source, temp.View(), all, l, shifted, true);
    PaintBehind(bitmap, rect, bg, offset);
    BlendBitmapRect(bitmap, temp.View(), static_cast<uint8_t>(l.transparency * 255 / 100), all,
                    POINT{rect.left, rect.top});
  }
  if (source->ValidImage(maskIndex)) {
    PaintMaskNineSlice(bitmap, rect, shifted, source->ImageData(maskIndex), state, true);
  }
}

void PaintSkinSectionToDC(const SkinSource* source, int sectionIndex, const BackgroundView& bg,
                          int state, RECT rect, POINT offset, HDC dc) {
  source = Resolve(source);
  if (source == nullptr || !source->ValidSection(sectionIndex) || Empty(rect) || dc == nullptr) {
    return;
  }
  TSavedDC saved(dc);
  DibSurface temp(Width(rect), Height(rect));
  if (!temp.Valid()) return;
  PaintSkinSection(source, sectionIndex, bg, state, MakeRECT(0, 0, Width(rect), Height(rect)),
                   offset, temp.View());
  GdiFlush();
  BitBlt(dc, rect.left, rect.top, Width(rect), Height(rect), temp.DC(), 0, 0, SRCCOPY);
}

int PaintSkinSectionOverDC(const PixelView& bitmap, int sectionIndex, int fallbackIndex, int state,
                           const SkinSource* source, RECT rect, uint32_t color, HDC dc) {
  if (sectionIndex < 0) sectionIndex = fallbackIndex;
  if (sectionIndex < 0 || !bitmap.Valid()) return sectionIndex;
  BackgroundView bg = ColorBackgroundView(color);
  if (dc != nullptr) {
    DibSurface picture(bitmap.Width, bitmap.Height);
    if (picture.Valid()) {
      BitBlt(picture.DC(), 0, 0, bitmap.Width, bitmap.Height, dc, rect.left, rect.top, SRCCOPY);
      GdiFlush();
      CopyPixels(bitmap, 0, 0, picture.View(), 0, 0, bitmap.Width, bitmap.Height);
    }
    bg = MakeBackgroundView(bitmap, 0, 0);
    bg.Color = color;
  }
  PaintSkinSection(source, sectionIndex, bg, state, MakeRECT(0, 0, bitmap.Width, bitmap.Height),
                   POINT{0, 0}, bitmap);
  return sectionIndex;
}
