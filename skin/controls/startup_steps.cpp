#include "skin/controls/startup_steps.h"

#include <utility>

#include "skin/controls/alpha_image_list.h"
#include "skin/controls/shell_folder.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/object_model.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/sysutils.h"

namespace {

HMODULE LoadSystemLibrary(const char* Name) {
  return LoadLibraryA(Name);
}

std::string ReadSystemString(HMODULE Module, UINT Id) {
  char buf[1024];
  const int n = LoadStringA(Module, Id, buf, static_cast<int>(sizeof buf));
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

void FreeSystemLibrary(HMODULE Module) {
  FreeLibrary(Module);
}

}  // namespace

TPlatformStringLoader SystemStringLoader() {
  return {LoadSystemLibrary, ReadSystemString, FreeSystemLibrary};
}

TPlatformStringLoader PlatformStrings = SystemStringLoader();

std::array<std::string, 2> User32Captions;
const std::array<const char*, 5> ComboEditGlyphNames = {"SF", "SR", "SD", "SE", "SC"};
TsAlphaImageList* ComboEditGlyphs = nullptr;
bool FourDigitYear = false;
std::string TodayCaption;
const char* const DefaultTodayCaption = "Today: ";
TStringList* CustomColorList = nullptr;
const std::array<const char*, 2> ListBoxDayHalves = {"AM", "PM"};
const std::array<const char*, 2> ListBoxEmptyTimes = {"00:00", "00:00:00"};
const std::array<const char*, 2> ListBoxTimeFormats = {"%0.2d:%0.2d", "%0.2d:%0.2d:%0.2d"};

namespace {

// Each unit's steps run once however often they are called.
struct TStartCount {
  int Count = 0;
  bool Start() { return Count++ == 0; }
  bool Stop() { return Count > 0 && --Count == 0; }
};

TStartCount CaptionsCount, GlyphsCount, DateCount, TodayCount, SpareCount, PickerCount;

void InitUser32Captions() {
  if (!CaptionsCount.Start()) return;
  const HMODULE user32 = PlatformStrings.Load("User32");
  if (!user32) return;
  User32Captions[0] = PlatformStrings.Read(user32, 905);
  User32Captions[1] = PlatformStrings.Read(user32, 900);
  PlatformStrings.Free(user32);
}

void DoneUser32Captions() {
  if (CaptionsCount.Stop()) User32Captions = {};
}

void InitComboEditGlyphs() {
  if (!GlyphsCount.Start()) return;
  auto list = OwnObject(New<TsAlphaImageList>(nullptr));
  list->SetWidth(32);
  list->SetHeight(16);
  // The glyphs are the program's own resources; one that is missing leaves
  // the list without it rather than stopping the program.
  try {
    for (const char* name : ComboEditGlyphNames) {
      TResourceStream stream(HInstance(), name, RT_RCDATA);
      TsImgListItem* item = list->Items()->Add();
      item->ImgData()->CopyFrom(stream, stream.Size());
      item->ImageFormat = ifPNG;
      item->PixelFormat = pf32bit;
    }
    list->GenerateImages();
  } catch (const Exception&) {
  }
  ComboEditGlyphs = list.release();
}

void DoneComboEditGlyphs() {
  if (GlyphsCount.Stop()) TObject::Free(std::exchange(ComboEditGlyphs, nullptr));
}

void InitFourDigitYear() {
  if (!DateCount.Start()) return;
  FourDigitYear = UpperCase(ShortDateFormat()).find("YYYY") != std::string::npos;
}

void DoneFourDigitYear() {
  DateCount.Stop();
}

void InitTodayCaption() {
  if (!TodayCount.Start()) return;
  if (const HMODULE comctl32 = PlatformStrings.Load("comctl32.dll")) {
    TodayCaption = PlatformStrings.Read(comctl32, 4163);
    PlatformStrings.Free(comctl32);
  }
  if (TodayCaption.empty()) TodayCaption = DefaultTodayCaption;
}

void DoneTodayCaption() {
  if (TodayCount.Stop()) TodayCaption.clear();
}

// A unit that keeps one global object for a control the programs lack;
// nothing sets it, and its shutdown frees it if something did.
TObject* SpareUnitObject = nullptr;

void InitSpareUnit() {
  SpareCount.Start();
}

void DoneSpareUnit() {
  if (SpareCount.Stop()) TObject::Free(std::exchange(SpareUnitObject, nullptr));
}

void InitColorPicker() {
  if (!PickerCount.Start()) return;
  Screen->SetCursors(PipetteCursorIndex, LoadCursorA(HInstance(), "CRQMPIPETTE"));
  auto colors = OwnObject(new TStringList);
  for (int i = 0; i < 18; ++i) colors->Add("FFFFFF");
  CustomColorList = colors.release();
}

void DoneColorPicker() {
  if (PickerCount.Stop()) TObject::Free(std::exchange(CustomColorList, nullptr));
}

}  // namespace

// The list box's unit has nothing to do: its tables are constants.
const std::array<TUnitInfo, 8> StartupResourceUnits = {{
    {"UserCaptions", InitUser32Captions, DoneUser32Captions},
    {"ComboEditGlyphs", InitComboEditGlyphs, DoneComboEditGlyphs},
    {"DateFormats", InitFourDigitYear, DoneFourDigitYear},
    {"CalendarCaption", InitTodayCaption, DoneTodayCaption},
    {"SpareUnit", InitSpareUnit, DoneSpareUnit},
    {"vlShellCtrls", ShellCtrlsInitialization, ShellCtrlsFinalization},
    {"ColorPicker", InitColorPicker, DoneColorPicker},
    {"sListBox", nullptr, nullptr},
}};

void InitializeStartupResourceUnits() {
  for (const TUnitInfo& u : StartupResourceUnits)
    if (u.Initialization) u.Initialization();
}

void FinalizeStartupResourceUnits() {
  for (size_t i = StartupResourceUnits.size(); i-- > 0;)
    if (StartupResourceUnits[i].Finalization) StartupResourceUnits[i].Finalization();
}
