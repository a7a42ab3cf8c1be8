#include "skin/foundation/skin_records.h"

#include <algorithm>

TvlOutEffArray DefaultOuterEffects() {
  TvlOutEffArray effects(2);
  OuterEffect& lo = effects[0];
  lo.Colors = {0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF};
  lo.Offsets = {2, 2, 2, 4};
  lo.Opacity = 200;
  OuterEffect& sh = effects[1];
  sh.Colors = {0, 0, 0, 0};
  sh.Offsets = {3, 2, 3, 5};
  sh.Opacity = 60;
  return effects;
}

POINT MaskFrameSize(const TsMaskData& mask) {
  POINT p;
  p.x = mask.FrameWidth;
  p.y = mask.FrameHeight;
  return p;
}

void ComputeMaskFrameSize(TsMaskData& mask) {
  const int w = mask.SourceRect.right - mask.SourceRect.left;
  const int h = mask.SourceRect.bottom - mask.SourceRect.top;
  mask.FrameWidth = mask.FrameCount > 0 ? w / mask.FrameCount : 0;
  if (mask.MaskCount < 0) {
    mask.FrameHeight = 0;
  } else {
    mask.FrameHeight = h / (mask.MaskCount + 1);
  }
}

int ClipSectionState(const TsGeneralData& section, int state) {
  const int count = std::max(1, section.StateCount);
  state = std::min(state, count - 1);
  state = std::min(state, 2);
  return std::max(state, 0);
}

int ClipFrameIndex(const TsMaskData& mask, int state) {
  state = std::min(state, static_cast<int>(mask.FrameCount) - 1);
  return std::max(state, 0);
}

int MaskImagePartHeight(const TsMaskData& mask) {
  if (mask.MaskCount != 0) return mask.FrameHeight;
  return mask.SourceRect.bottom - mask.SourceRect.top;
}
