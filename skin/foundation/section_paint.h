// The look of a skin section state in a rectangle of a 32-bit image: the
// background layers (colour, texture, gradient, transparency against what
// lies behind), corner images, the borders mask and a control's colour
// filters, always in this order.
#pragma once

#include "skin/foundation/background_view.h"
#include "skin/foundation/pixel_view.h"
#include "skin/foundation/skin_source.h"

// What the control painters read of a control's skin state.
struct ControlSectionParams {
  const SkinSource* Source = nullptr;  // nil = the default skin
  int SkinIndex = -1;
  int BorderIndex = -1;
  int TextureIndex = -1;
  int HotTextureIndex = -1;
  bool CustomColor = false;
  uint32_t OwnColor = 0;  // the control's (or its form's) Color, used with CustomColor
  uint32_t ColorTone = kNoColor;
  int HueOffset = 0;
  int Saturation = 0;
};

// ownColor kFuchsia paints the state's own colours.
void PaintSectionBackground(const SkinSource* source, int sectionIndex, const BackgroundView& bg,
                            int state, RECT rect, POINT offset, const PixelView& bitmap,
                            int patternIndex, int hotPatternIndex, uint32_t ownColor);

void PaintSkinSection(const SkinSource* source, int sectionIndex, const BackgroundView& bg,
                      int state, RECT rect, POINT offset, const PixelView& bitmap,
                      int patternIndex = -1, int hotPatternIndex = -1);

void PaintControlBackground(const ControlSectionParams& control, const BackgroundView& bg,
                            int state, RECT rect, POINT offset, const PixelView& bitmap);

void PaintControlSection(const ControlSectionParams& control, const BackgroundView& bg, int state,
                         RECT rect, POINT offset, const PixelView& bitmap,
                         bool cornersOnBackground);

void PaintSectionAndMask(const SkinSource* source, int sectionIndex, int maskIndex,
                         int patternIndex, const BackgroundView& bg, int state, RECT rect,
                         POINT offset, const PixelView& bitmap);

void PaintSkinSectionToDC(const SkinSource* source, int sectionIndex, const BackgroundView& bg,
                          int state, RECT rect, POINT offset, HDC dc);

// Returns the section index used (sectionIndex, else fallbackIndex); paints
// nothing when both are negative. With a DC its picture is the background.
int PaintSkinSectionOverDC(const PixelView& bitmap, int sectionIndex, int fallbackIndex, int state,
                           const SkinSource* source, RECT rect, uint32_t color, HDC dc);
