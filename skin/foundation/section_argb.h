// Skin sections painted into 32-bit images with alpha for layered windows:
// the background layers of a state with its transparency turned into alpha,
// then the borders mask with its holes showing what the area held before.
#pragma once

#include "skin/foundation/pixel_view.h"
#include "skin/foundation/skin_records.h"
#include "skin/foundation/skin_source.h"

// The layers SectionFillArgb paints. A texture index below 0 means none.
struct SectionFillParams {
  uint32_t Color = 0;  // TColor
  int Transparency = 0;
  int ImagePercent = 0;
  int GradientPercent = 0;
  const TsGradArray* Gradient = nullptr;  // used when GradientPercent > 0
  int PatternIndex = -1;
};

void SectionFillArgb(const SkinSource& source, const PixelView& bitmap, RECT rect,
                     const SectionFillParams& params);

// color kFuchsia paints the state's own look, any other colour a plain fill.
// source nil means the default skin.
void PaintSectionBackgroundArgb(int sectionIndex, int state, RECT rect, const PixelView& bitmap,
                                const SkinSource* source, uint32_t color);

// rect must lie inside bitmap; painted over the whole bitmap the result is
// premultiplied, ready for a layered window. The offset is not used.
void PaintSkinSectionArgb(int sectionIndex, int state, RECT rect, POINT offset,
                          const PixelView& bitmap, const SkinSource* source);
