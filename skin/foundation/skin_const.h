// Library-wide enumerations, small constant tables and the values that the
// skin library reads once at start-up (platform version, metrics and the
// captions in the language of the installed system).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "widgets/rtl/events.h"
#include "widgets/rtl/object_model.h"

class TCanvas;

// Enumerations of published properties. The ordinal of each value is its
// position; the enumeration infos give the member names for reflection and
// form descriptions.
enum TvlOuterVisibility : uint8_t { ovNone, ovAlways };
enum TvlAnimType : uint8_t { atFading, atAero, atDropDown };
enum TvlBtnEvent : uint8_t { beMouseEnter, beMouseLeave, beMouseDown, beMouseUp };
enum TvlAnimatEvent : uint8_t { aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp, aeGlobalDef };
// Ordinal k is the platform's show-window command k.
enum TsWindowShowMode : uint8_t {
  soHide,
  soNormal,
  soShowMinimized,
  soMaximize,
  soShowNoActivate,
  soShow,
  soMinimize,
  soShowMinNoActive,
  soShowNA,
  soRestore,
  soDefault
};
enum TsCaptionLayout : uint8_t {
  sclLeft,
  sclTopLeft,
  sclTopCenter,
  sclTopRight,
  sclLeftTop,
  sclBottomLeft,
  sclBottomCenter,
  sclBottomRight,
  sclRight,
  sclRightTop
};
enum TvlOptimizingPriority : uint8_t { opSpeed, opMemory };

// Sets are bit masks: member m is bit (1 << m).
using TvlBtnEvents = uint8_t;
using TvlAnimatEvents = uint8_t;
constexpr uint8_t SetBit(int member) {
  return static_cast<uint8_t>(1u << member);
}

// The element type of TsDisabledKind has no name of its own; these are the
// bit values of its two members.
using TsDisabledKind = uint8_t;
constexpr TsDisabledKind dkBlended = 1;
constexpr TsDisabledKind dkGrayed = 2;

const TEnumInfo& OuterVisibilityInfo();
const TEnumInfo& AnimTypeInfo();
const TEnumInfo& BtnEventInfo();
const TEnumInfo& AnimatEventInfo();
const TEnumInfo& WindowShowModeInfo();
const TEnumInfo& DisabledKindInfo();  // members of the set TsDisabledKind
const TEnumInfo& CaptionLayoutInfo();
const TEnumInfo& OptimizingPriorityInfo();

using TPaintEvent = TEvent<void(TObject* Sender, TCanvas* Canvas)>;

// Suffix of a tab control's skin section, indexed by its tab position in the
// order top, bottom, left, right: "PAGECONTROL" + "LEFT" for tabs at the left.
extern const std::array<const char*, 4> TabSideSuffix;
// Scale percentages and key suffixes by DPI level 0..3.
constexpr std::array<int, 4> DpiPercentTable = {100, 125, 150, 200};
extern const std::array<const char*, 4> DpiKeySuffix;
// A texture's PaintMode passed through this gives its placement.
constexpr std::array<uint8_t, 15> TexturePlacementMap = {0, 1, 2,  3,  4,  5,  6, 7,
                                                         8, 9, 10, 11, 12, 13, 14};

// Controls and forms whose Tag holds this bit are left alone by the window
// adapters and the window hook; the library's own carrier forms set it.
constexpr intptr_t NoSkinTag = 256;

// Values read at start-up.
extern int32_t WindowsVersion;
extern int32_t MetricHScrollWidth;
extern int32_t MetricFrameWidth;
extern int32_t MetricDlgFrameWidth;
extern int32_t MetricCaptionHeight;
extern int32_t MetricSmallCaptionHeight;

// Sizes the skin manager rescales with its scale mode.
extern int32_t ArrowWidth;
extern int32_t ArrowLength;
extern int32_t TabContentSpacing;  // 6 at 100 %
extern int32_t TabContentIndent;   // 4 at 100 %
// Rescales the sizes above from percent OldPercent to NewPercent.
void RescaleUnitMetrics(int OldPercent, int NewPercent);

// The platform's major version, except that 6.2 counts as 8.
int32_t WindowsVersionOf(DWORD Major, DWORD Minor);

// Localized captions.
extern std::string LocOk, LocCancel, LocHelp, LocClose, LocAddToCustomColors, LocDefineColors,
    LocAdditionalColors, LocDecimal, LocRoot, LocCreate, LocRestore, LocSize, LocMove, LocMaximize,
    LocMinimize, LocCalculator, LocFileOpen, LocSelectDirectory, LocRed, LocGreen, LocBlue,
    LocColor, LocHex, LocFont, LocFontColor, LocInvalidDate, LocAvailableStyles, LocInternal,
    LocSkinDirectory, LocSelectSkin, LocSkinPreview, LocFrameAdapterMisplaced;

// Reads string StringId of Module into Caption (with Suffix appended). When
// the module lacks the string, the program's own string DefaultResId is used
// instead (nothing when it is 0). A module handle of 0 (a library that did
// not load) leaves Caption as it was.
void LoadSystemCaption(std::string& Caption, HMODULE Module, UINT StringId, UINT DefaultResId,
                       const std::string& Suffix);
// The same with a default text in place of a resource id.
void LoadSystemCaptionText(std::string& Caption, HMODULE Module, UINT StringId,
                           const std::string& DefaultText, const std::string& Suffix);
// A string of the program's own string table; empty when absent.
std::string LoadOwnString(UINT Id);

// Start-up and shutdown of the unit; never raise.
void SkinConstInitialization();
void SkinConstFinalization();
