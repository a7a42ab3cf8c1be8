// The start-up and shutdown steps of the library units whose controls the
// programs do not include: their resources are still prepared at every
// start, in a fixed order, and freed in the reverse order.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "widgets/controls/controls.h"
#include "widgets/rtl/units.h"

class TsAlphaImageList;
class TStringList;

// Strings of system libraries' string tables, replaceable by tests.
struct TPlatformStringLoader {
  HMODULE (*Load)(const char* Name);             // null: the library did not load
  std::string (*Read)(HMODULE Module, UINT Id);  // empty: no such string
  void (*Free)(HMODULE Module);
};
extern TPlatformStringLoader PlatformStrings;
// LoadLibraryA, LoadStringA, FreeLibrary.
TPlatformStringLoader SystemStringLoader();

// Strings 905 and 900 of user32, in this order; empty when it did not load.
extern std::array<std::string, 2> User32Captions;
// The combo-edit button glyphs: five images of 32 x 16 from the RCDATA
// resources named here, in this order.
extern const std::array<const char*, 5> ComboEditGlyphNames;
extern TsAlphaImageList* ComboEditGlyphs;
// The short date format shows four-digit years.
extern bool FourDigitYear;
// The calendar's caption: string 4163 of the common controls, or the
// default when the library does not load or lacks it.
extern std::string TodayCaption;
extern const char* const DefaultTodayCaption;  // "Today: "
// The colour picker's cursor, the program's resource "CRQMPIPETTE".
constexpr TCursor PipetteCursorIndex = -50;
// The colour dialog's custom colours: 18 times "FFFFFF".
extern TStringList* CustomColorList;
// The list box's time tables.
extern const std::array<const char*, 2> ListBoxDayHalves;
extern const std::array<const char*, 2> ListBoxEmptyTimes;
extern const std::array<const char*, 2> ListBoxTimeFormats;

// The units, in their start-up order; the shell unit is the sixth.
extern const std::array<TUnitInfo, 8> StartupResourceUnits;

// Runs the units' steps outside a program (tests): start-up in order,
// shutdown in reverse.
void InitializeStartupResourceUnits();
void FinalizeStartupResourceUnits();
