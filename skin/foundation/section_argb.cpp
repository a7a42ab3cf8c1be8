#include "skin/foundation/section_argb.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/blend.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/gradient.h"
#include "skin/foundation/nine_slice_alpha.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/texture_place.h"

namespace {

const SkinSource* Resolve(const SkinSource* source) {
  return source != nullptr ? source : DefaultSkinSource();
}

bool CoversBitmap(const PixelView& v, const RECT& r) {
  return r.left == 0 && r.top == 0 && r.right == v.Width && r.bottom == v.Height;
}

// Room for what the area held before it is painted. A layered window is
// repainted at the same size again and again, and a fresh window-sized block
// costs more than the painting itself, so one block is kept for the process
// (up to kKeptPixels) and lent to one painter at a time; another painter
// meanwhile gets a block of its own.
class ScratchPixels {
 public:
  explicit ScratchPixels(size_t count) {
    if (count <= kKeptPixels && !busy_.exchange(true, std::memory_order_acquire)) {
      try {
        if (kept_.size() < count) kept_.resize(count);
      } catch (...) {
        busy_.store(false, std::memory_order_release);
        throw;
      }
      held_ = true;
      data_ = kept_.data();
    } else {
      own_.reset(new uint32_t[count]);
      data_ = own_.get();
    }
  }
  ~ScratchPixels() {
    if (held_) busy_.store(false, std::memory_order_release);
  }
  ScratchPixels(const ScratchPixels&) = delete;
  ScratchPixels& operator=(const ScratchPixels&) = delete;
  uint32_t* Data() const { return data_; }

 private:
  static constexpr size_t kKeptPixels = size_t{1} << 21;
  static inline std::vector<uint32_t> kept_;
  static inline std::atomic<bool> busy_{false};
  bool held_ = false;
  std::unique_ptr<uint32_t[]> own_;
  uint32_t* data_ = nullptr;
};

}  // namespace

void SectionFillArgb(const SkinSource& source, const PixelView& bitmap, RECT rect,
                     const SectionFillParams& p) {
  if (!bitmap.Valid() || rect.right <= rect.left || rect.bottom <= rect.top) return;
  const int I = p.ImagePercent, G = p.GradientPercent, T = p.Transparency;
  const uint32_t rgb = SkinColorToRgb(p.Color);
  const TsGradArray none;
  const TsGradArray& stops = (p.Gradient != nullptr && G > 0) ? *p.Gradient : none;
  const bool validPattern = source.ValidImage(p.PatternIndex);
  const auto alphaOf = [](int transparency) {
    return static_cast<uint8_t>(std::clamp((100 - transparency) * 255 / 100, 0, 255));
  };

  if (I + G == 100 && G >= 1 && G <= 99 && validPattern &&
      source.ImageData(p.PatternIndex).PaintMode == 0 && !stops.empty() && stops[0].Mode < 2) {
    const TsMaskData& tex = source.ImageData(p.PatternIndex);
    FillGradientWithTexture(bitmap, rect, stops, MaskPixels(tex), tex.SourceRect,
                            static_cast<uint8_t>(G * 255 / 100), alphaOf(T));
    return;
  }
  bool painted = false;
  if (I > 0) {
    RECT rest = rect;
    if (validPattern) {
      const TsMaskData& tex = source.ImageData(p.PatternIndex);
      if (tex.MaskCount > 0) {
        PlaceMaskedTexture(bitmap, rest, BackgroundView{}, TexturePlacementOf(tex.PaintMode), tex);
      } else {
        PlaceTexture(bitmap, rest, TexturePlacementOf(tex.PaintMode), tex);
      }
      painted = true;
    }
    if (rest.right >= 0) FillRectArgb(bitmap, rest, rgb, 255);
  }
  if (G > 0) {
    if (painted) {
      const int w = rect.right - rect.left, h = rect.bottom - rect.top;
      PixelBuffer layer(w, h);
      const RECT all = MakeRECT(0, 0, w, h);
      if (stops.empty()) {
        FillRectArgb(layer.View(), all, rgb, 255);
      } else {
        FillGradientArgb(layer.View(), all, stops);
      }
      BlendBitmapRect(bitmap, layer.View(), static_cast<uint8_t>(std::clamp(I * 255 / 100, 0, 255)),
                      MakeRECT(0, 0, w - 1, h - 1), POINT{rect.left, rect.top});
    } else if (stops.empty()) {
      FillRectArgb(bitmap, rect, rgb, 255);
      return;
    } else {
      FillGradientArgb(bitmap, rect, stops);
    }
  }
  const int e = I + G;
  if (e >= 1 && e <= 99) {
    MixRectWithColor(bitmap, MakeRECT(rect.left, rect.top, rect.right - 1, rect.bottom - 1),
                     static_cast<uint8_t>(e * 255 / 100), p.Color);
    return;
  }
  if (e != 0) return;
  // A plain colour: whether the area already holds something is judged by
  // its first pixel only, so the whole area gets one treatment.
  const uint32_t first = GetArgbPixel(bitmap, rect.left, rect.top);
  if (first == 0) {
    FillRectArgb(bitmap, rect, rgb, alphaOf(T));
  } else if (T == 0) {
    FillRectArgb(bitmap, rect, rgb, 255);
  } else if (T < 100) {
    TintRectArgb(bitmap, rect, rgb, 100 - T,
                 static_cast<uint8_t>(std::max<uint32_t>(first >> 24, alphaOf(T))));
  }
}

void PaintSectionBackgroundArgb(int sectionIndex, int state, RECT rect, const PixelView& bitmap,
                                const SkinSource* source, uint32_t color) {
  source = Resolve(source);
  if (source == nullptr || !source->ValidSection(sectionIndex) || !bitmap.Valid()) return;
  const TsGenState& st = source->Section(sectionIndex).Props[std::clamp(state, 0, 2)];
  if (st.Transparency == 100) {
    // Nothing of the section shows: a whole layered image becomes empty,
    // a part of one keeps what it holds.
    if (CoversBitmap(bitmap, rect)) FillRectArgb(bitmap, rect, 0, 0);
    return;
  }
  SectionFillParams p;
  if (color == kFuchsia) {
    p.Color = uint32_t(st.Color);
    p.Transparency = st.Transparency;
    p.ImagePercent = st.ImagePercent;
    p.GradientPercent = st.GradientPercent;
    if (p.GradientPercent > 0) p.Gradient = &st.Gradient;
    p.PatternIndex = p.ImagePercent > 0 ? st.PatternIndex : -1;
  } else {
    p.Color = color;
  }
  SectionFillArgb(*source, bitmap, rect, p);
}

void PaintSkinSectionArgb(int sectionIndex, int state, RECT rect, POINT /*offset*/,
                          const PixelView& bitmap, const SkinSource* source) {
  source = Resolve(source);
  if (!bitmap.Valid() || rect.right <= rect.left || rect.bottom <= rect.top) return;
  if (source == nullptr || !source->ValidSection(sectionIndex)) return;
  if (rect.left < 0 || rect.top < 0 || rect.right > bitmap.Width || rect.bottom > bitmap.Height) {
    return;
  }
  const TsGeneralData& section = source->Section(sectionIndex);
  state = std::max(0, std::min(state, std::max(1, int(section.StateCount)) - 1));
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const bool bordered = source->ValidImage(section.BordersMask);
  // What the area held before, for the holes of the borders mask. Only the
  // corners of the mask read it, so only the rows of its top and bottom
  // borders are kept: the rows between them are never read and left
  // unwritten, which spares touching a whole window's worth of memory.
  const int ow = w + 1, oh = h + 1;
  std::optional<ScratchPixels> before;
  PixelView old;
  if (bordered) {
    const TsMaskData& m = source->ImageData(section.BordersMask);
    before.emplace(size_t(ow) * oh);
    old = PixelView{reinterpret_cast<uint8_t*>(before->Data()), ptrdiff_t(ow) * 4, ow, oh};
    const int top = std::clamp<int>(m.BorderTop, 0, oh);
    const int bottom = std::clamp<int>(oh - 1 - m.BorderBottom, top, oh);
    CopyPixels(old, 0, 0, bitmap, rect.left, rect.top, ow, top);
    CopyPixels(old, 0, bottom, bitmap, rect.left, rect.top + bottom, ow, oh - bottom);
  }
  PaintSectionBackgroundArgb(sectionIndex, std::min(state, 2), rect, bitmap, source, kFuchsia);
  if (bordered) {
    PaintMaskNineSliceKeepAlpha(bitmap, rect, MakeBackgroundView(old, -rect.left, -rect.top),
                                source->ImageData(section.BordersMask), state);
  }
  if (CoversBitmap(bitmap, rect)) PremultiplyAlphaInRect(bitmap, rect, PainterCompositionEnabled());
}
