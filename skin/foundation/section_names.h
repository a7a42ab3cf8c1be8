// Section names of the tab, scroll, up-down and check elements that the skin
// data cache looks up after each skin load, the foreign-control kind tables,
// and two array types shared by the library.
#pragma once

#include <windows.h>

#include <array>
#include <vector>

class TStringList;

using TStringLists = std::vector<TStringList*>;
using TRects = std::vector<RECT>;

// Four groups (first, last, middle, plain tab), each in the side order left,
// top, right, bottom.
extern const std::array<const char*, 16> TabSectionNames;
extern const std::array<const char*, 4> ScrollBtnSectionNames;
extern const std::array<const char*, 4> ScrollBarSectionNames;
// A skin without one of these falls back to "UPDOWNBTN", then "BUTTON".
extern const std::array<const char*, 4> UpDownBtnSectionNames;
extern const std::array<const char*, 2> ScrollSliderSectionNames;
extern const std::array<const char*, 2> RadioSectionNames;
extern const std::array<const char*, 3> CheckBoxSectionNames;
extern const std::array<const char*, 3> SmallCheckBoxSectionNames;

// The 23 kinds of foreign controls, in the index order of ThirdPartyList.
constexpr int ThirdPartyKindCount = 23;
// Default class list of each kind: a single blank, except "TButton" for the
// button kind (index 1).
extern const std::array<const char*, ThirdPartyKindCount> ThirdPartyDefaultClasses;
extern const std::array<const char*, ThirdPartyKindCount> ThirdPartyKindNames;
