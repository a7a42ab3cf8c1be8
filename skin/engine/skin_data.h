// What the skin manager keeps of a loaded skin besides its sections and
// images: the indices of the standard elements, cached after each load so
// painting never searches, the GLOBALINFO values, and the engine's name
// tables.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "widgets/graphics/colors.h"

class TIcon;
class TMemIniFile;

// The 42 standard sections, in the order of TConstantSkinData::Sections.
extern const std::array<const char*, 42> StdSectionNames;
// Title-button images; the last entry is empty.
extern const std::array<const char*, 13> TitleButtonNames;
// Index 0 vertical, 1 horizontal.
extern const std::array<const char*, 2> ProgressGlyphNames;
extern const std::array<const char*, 2> TickGlyphNames;

// Cached indices of one skinned element; -1 where the skin has none.
struct TvlConstElementData {
  int32_t Section = -1;
  int32_t BordersMask = -1;
  int32_t Glyph = -1;
  int32_t Pattern = -1;
  int32_t HotPattern = -1;
  int32_t Reserved = -1;  // left untouched by the loader
  std::string SectionName;
};

// Track-bar data of one orientation.
struct TvlSliderData {
  int32_t Section = -1;
  int32_t BordersMask = -1;
  int32_t SliderMask = -1;
  int32_t Pattern = -1;
  int32_t HotPattern = -1;
  int32_t Reserved = -1;  // not written
  int32_t TickGlyph = -1;
  int32_t ProgressGlyph = -1;
  int32_t Channel = -1;
};

struct TConstantSkinData {
  int32_t GlobalInfo = -1;
  std::array<int32_t, 42> Sections;
  std::array<TvlConstElementData, 16> Tabs;
  std::array<TvlConstElementData, 4> ScrollBars;
  std::array<TvlConstElementData, 4> ScrollButtons;
  std::array<TvlConstElementData, 4> UpDownButtons;
  std::array<TvlConstElementData, 2> ScrollSliders;
  TvlConstElementData MenuItem;
  TvlConstElementData ComboButton;
  std::array<std::vector<int32_t>, 7> TitleGlows;  // the loader fills 0..4
  std::array<int32_t, 7> TitleGlowMargins;
  std::array<int32_t, 13> TitleButtons;
  std::array<int32_t, 2> RadioButtons;
  std::array<int32_t, 3> CheckBoxes;
  std::array<int32_t, 3> SmallBoxes;
  std::array<TvlSliderData, 2> Sliders;  // 0 vertical, 1 horizontal
  int32_t ExBorder = -1;
  int32_t GripImage = -1;
  int32_t GripHorz = -1;
  int32_t GripVert = -1;

  TConstantSkinData();
};

// The GLOBALINFO values of a skin. A load reads them into a fresh record
// and hands them over only when the whole skin was read.
struct TsSkinGlobals {
  TsSkinGlobals();

  bool AeroBlur = false;
  std::string Author;
  std::string Description;
  int32_t Shadow1Offset = 0;
  int32_t Shadow1Blur = -1;
  int32_t Shadow1Transparency = 0;
  int32_t BorderWidth = 4;
  int32_t TitleHeight = 30;
  int32_t MaxTitleHeight = 30;
  int32_t FormOffset = 0;
  int32_t CenterOffset = 0;
  int32_t BorderMode = 0;
  int32_t AlignOffset = 0;
  int32_t AlignOffsetR = 0, AlignOffsetT = 0, AlignOffsetB = 0;
  int32_t BISpace = 0;
  int32_t BIVAlign = 0, BIRight = 0, BILeft = 0, BITop = 0;
  int32_t BIKeepHue = 0;
  int32_t ComboMargin = 2;
  int32_t SliderMargin = 1;
  int32_t BrightMin = -50, BrightMax = 50;
  int32_t TabsCovering = 0;
  int32_t RibbonTabsCovering = 0;
  TColor Shadow1Color = 0;
  double Version = 0;
};

// The loaded skin's GLOBALINFO values and whether it is in use.
class TsSkinData : public TsSkinGlobals {
 public:
  TsSkinData();
  // Also frees the current skin description when a load left one.
  ~TsSkinData();
  TsSkinData(const TsSkinData&) = delete;
  TsSkinData& operator=(const TsSkinData&) = delete;

  bool Loaded = false;  // true after a new skin was broadcast
  std::string SkinDirectory;
  TColor InactiveBorderColor = 0;  // the system colour at construction
};

// The description of the skin being loaded; exists only during a load.
extern TMemIniFile* SkinDescription;

// The executable's shell icons, taken at start-up for captions.
extern TIcon* AppIconSmall;
extern TIcon* AppIconLarge;

// True when Value is one of Values[Low..High]; false when High < Low.
bool IntInArray(const int* Values, int Value, uint8_t Low, uint8_t High);

void SkinDataInitialization();
void SkinDataFinalization();
