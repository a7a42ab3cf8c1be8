// The in-memory form of a loaded skin: sections with three painting states,
// images cut into state frames, gradient stops and the outer-effect records.
// The skin reader fills them; painters only read them.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TBitmap;
class SkinSource;

// Colours in these records are TColor values (red in the low byte).
using SkinColor = int32_t;

struct GradientStop {
  SkinColor StartColor = 0;
  SkinColor EndColor = 0;
  uint8_t Percent = 0;  // 0..100
  int32_t Mode = 0;     // 0 top to bottom, 1 left to right, 2 four triangles
};
using TsGradArray = std::vector<GradientStop>;

struct TsMaskData {
  TBitmap* Image = nullptr;  // own bitmap; nil = the owner's master bitmap
  std::string Section;
  std::string Key;
  RECT SourceRect{0, 0, 0, 0};
  int16_t FrameCount = 0;
  int16_t MaskCount = 0;  // -1: frame height 0
  int16_t UniformBorder = 0;
  int16_t PaintMode = 0;
  uint8_t ImageKind = 0;
  const SkinSource* Owner = nullptr;
  int16_t BorderLeft = 0;
  int16_t BorderTop = 0;
  int16_t BorderRight = 0;
  int16_t BorderBottom = 0;
  int32_t TransparentCorners = 0;
  int32_t SectionIndex = -1;
  int32_t FrameWidth = 0;
  int32_t FrameHeight = 0;
};
using TsMaskArray = std::vector<TsMaskData>;

struct TsGenState {
  int32_t TextGlowSize = 0;
  int32_t ImagePercent = 0;
  int32_t PatternIndex = -1;
  int32_t Transparency = 0;
  int32_t GradientPercent = 0;
  SkinColor Color = 0;
  SkinColor TextGlowColor = 0;
  SkinColor FontColor = 0;
  SkinColor ContourLeft = -1;
  SkinColor ContourTop = -1;
  SkinColor ContourRight = -1;
  SkinColor ContourBottom = -1;
  TsGradArray Gradient;
};
using TsProps = std::array<TsGenState, 3>;

struct TsGeneralData {
  std::string ParentClass;
  std::string SectionName;
  TsProps Props;
  bool UseState2 = false;
  bool GiveOwnFont = false;
  bool ReservedBoolean = false;
  int32_t StateCount = 3;
  int32_t BorderKind = 0;
  int32_t Glow = 0;
  int32_t GlowMargin = 0;
  int32_t TitleGlowSize1 = 0;
  int32_t TitleGlowSize2 = 0;
  int32_t BordersMask = -1;
  std::array<int32_t, 4> CornerImages{-1, -1, -1, -1};
  int32_t TitleGlowColor1 = 0;
  int32_t TitleGlowColor2 = 0;
  int32_t OuterMode = 2;
  int32_t OuterMask = -1;
  int32_t OuterOpacity = 200;
  std::array<int32_t, 4> OuterOffsets{0, 0, 0, 0};
};
using TsGeneralDataArray = std::vector<TsGeneralData>;

struct OuterEffect {
  std::array<int32_t, 4> Colors{0, 0, 0, 0};  // left, top, right, bottom
  std::array<int32_t, 4> Offsets{0, 0, 0, 0};
  std::array<int32_t, 4> Widths{-1, -1, -1, -1};
  int32_t MaskIndex = -1;
  int32_t Source = 2;
  int32_t Opacity = 200;
};
using TvlOutEffArray = std::vector<OuterEffect>;

// Entry 0 the outline ("LO_" keys), entry 1 the shadow ("SH_" keys), with
// their defaults.
TvlOutEffArray DefaultOuterEffects();

// Size of one state frame: x = FrameWidth, y = FrameHeight.
POINT MaskFrameSize(const TsMaskData& mask);

// Completes FrameWidth and FrameHeight from SourceRect, FrameCount and MaskCount.
void ComputeMaskFrameSize(TsMaskData& mask);

// A state index clipped to StateCount - 1, then to 2. A StateCount below 1
// (a "STATES" key of 0) counts as 1 so that the index never goes negative.
int ClipSectionState(const TsGeneralData& section, int state);

// A frame index clipped to FrameCount - 1 (and never below 0).
int ClipFrameIndex(const TsMaskData& mask, int state);

// Left column of state frame `frame` inside the image's bitmap.
inline int MaskFrameLeft(const TsMaskData& mask, int frame) {
  return mask.SourceRect.left + frame * mask.FrameWidth;
}

// Height of the image part of a frame: FrameHeight when the image has mask
// parts, the whole SourceRect height otherwise.
int MaskImagePartHeight(const TsMaskData& mask);
