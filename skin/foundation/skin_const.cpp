#include "skin/foundation/skin_const.h"

#include "skin/foundation/skin_strings.h"

const TEnumInfo& OuterVisibilityInfo() {
  static const TEnumInfo e{{"ovNone", "ovAlways"}};
  return e;
}
const TEnumInfo& AnimTypeInfo() {
  static const TEnumInfo e{{"atFading", "atAero", "atDropDown"}};
  return e;
}
const TEnumInfo& BtnEventInfo() {
  static const TEnumInfo e{{"beMouseEnter", "beMouseLeave", "beMouseDown", "beMouseUp"}};
  return e;
}
const TEnumInfo& AnimatEventInfo() {
  static const TEnumInfo e{
      {"aeMouseEnter", "aeMouseLeave", "aeMouseDown", "aeMouseUp", "aeGlobalDef"}};
  return e;
}
const TEnumInfo& WindowShowModeInfo() {
  static const TEnumInfo e{{"soHide", "soNormal", "soShowMinimized", "soMaximize",
                            "soShowNoActivate", "soShow", "soMinimize", "soShowMinNoActive",
                            "soShowNA", "soRestore", "soDefault"}};
  return e;
}
const TEnumInfo& DisabledKindInfo() {
  static const TEnumInfo e{{"dkBlended", "dkGrayed"}};
  return e;
}
const TEnumInfo& CaptionLayoutInfo() {
  static const TEnumInfo e{{"sclLeft", "sclTopLeft", "sclTopCenter", "sclTopRight", "sclLeftTop",
                            "sclBottomLeft", "sclBottomCenter", "sclBottomRight", "sclRight",
                            "sclRightTop"}};
  return e;
}
const TEnumInfo& OptimizingPriorityInfo() {
  static const TEnumInfo e{{"opSpeed", "opMemory"}};
  return e;
}

const std::array<const char*, 4> TabSideSuffix = {"", "BOTTOM", "LEFT", "RIGHT"};
const std::array<const char*, 4> DpiKeySuffix = {"", "*125", "*150", "*200"};

int32_t WindowsVersion = 0;
int32_t MetricHScrollWidth = 16;
int32_t MetricFrameWidth = 0;
int32_t MetricDlgFrameWidth = 0;
int32_t MetricCaptionHeight = 0;
int32_t MetricSmallCaptionHeight = 0;

int32_t ArrowWidth = 7;
int32_t ArrowLength = 4;
int32_t TabContentSpacing = 6;
int32_t TabContentIndent = 4;

void RescaleUnitMetrics(int OldPercent, int NewPercent) {
  if (OldPercent <= 0 || NewPercent <= 0) return;
  ArrowWidth = MulDiv(ArrowWidth, NewPercent, OldPercent);
  ArrowLength = ArrowWidth / 2 + ArrowWidth % 2;
  TabContentSpacing = MulDiv(TabContentSpacing, NewPercent, OldPercent);
  TabContentIndent = MulDiv(TabContentIndent, NewPercent, OldPercent);
}

int32_t WindowsVersionOf(DWORD Major, DWORD Minor) {
  if (Major == 6 && Minor == 2) return 8;
  return static_cast<int32_t>(Major);
}

std::string LocOk, LocCancel, LocHelp, LocClose, LocAddToCustomColors, LocDefineColors,
    LocAdditionalColors, LocDecimal, LocRoot, LocCreate, LocRestore, LocSize, LocMove, LocMaximize,
    LocMinimize, LocCalculator, LocFileOpen, LocSelectDirectory, LocRed, LocGreen, LocBlue,
    LocColor, LocHex, LocFont, LocFontColor, LocInvalidDate, LocAvailableStyles, LocInternal,
    LocSkinDirectory, LocSelectSkin, LocSkinPreview, LocFrameAdapterMisplaced;

namespace {

std::string LoadModuleString(HMODULE Module, UINT Id) {
  char buf[4096];
  int n = LoadStringA(Module, Id, buf, static_cast<int>(sizeof buf));
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// Loads a system string; true (with Caption set) when the module has it.
bool TrySystemString(std::string& Caption, HMODULE Module, UINT StringId,
                     const std::string& Suffix) {
  std::string s = LoadModuleString(Module, StringId);
  if (s.empty()) return false;
  Caption = s + Suffix;
  return true;
}

struct CaptionEntry {
  std::string* Caption;
  const char* Library;  // null: no system string, the default alone
  UINT StringId;
  UINT DefaultResId;        // own string table; 0 = use DefaultText
  const char* DefaultText;  // used when DefaultResId is 0
  const char* Suffix;
};

// The order is the order of the start-up step.
const CaptionEntry kCaptions[] = {
    {&LocOk, "user32.dll", 800, sidOk, nullptr, ""},
    {&LocCancel, "user32.dll", 801, sidCancel, nullptr, ""},
    {&LocHelp, "user32.dll", 808, sidHelp, nullptr, ""},
    {&LocClose, "user32.dll", 905, sidClose, nullptr, ""},
    {&LocAddToCustomColors, "colorui.dll", 1810, sidAddToCustomColors, nullptr, ""},
    {&LocDefineColors, "shell32.dll", 4151, sidDefineColors, nullptr, ""},
    {&LocAdditionalColors, "shell32.dll", 31153, sidAdditionalColors, nullptr, ":"},
    {&LocDecimal, "shell32.dll", 16514, sidDecimal, nullptr, " - "},
    {&LocRoot, "shell32.dll", 33015, 0, nullptr, ":"},  // default text: own string sidRoot
    {&LocCreate, "shell32.dll", 4151, sidCreate, nullptr, ""},
    {&LocRestore, "comctl32.dll", 33056, sidRestore, nullptr, ""},
    {&LocSize, "comctl32.dll", 32768, sidSize, nullptr, ""},
    {&LocMove, "comctl32.dll", 32784, sidMove, nullptr, ""},
    {&LocMaximize, "comctl32.dll", 32816, sidMaximize, nullptr, ""},
    {&LocMinimize, "comctl32.dll", 32800, sidMinimize, nullptr, ""},
    {&LocCalculator, nullptr, 0, 0, "Calculator", ""},
    {&LocFileOpen, "comdlg32.dll", 436, sidFileOpen, nullptr, ""},
    {&LocSelectDirectory, "comdlg32.dll", 439, sidSelectDirectory, nullptr, ""},
    {&LocRed, "comdlg32.dll", 1049, sidRed, nullptr, ":"},
    {&LocGreen, "comdlg32.dll", 1042, sidGreen, nullptr, ":"},
    {&LocBlue, "comdlg32.dll", 1052, sidBlue, nullptr, ":"},
    {&LocColor, "compstui.dll", 64744, sidColor, nullptr, ""},
    {&LocHex, nullptr, 0, sidHex, nullptr, ""},
    {&LocFont, "inetres.dll", 1175, sidFont, nullptr, ""},
    {&LocFontColor, "inetres.dll", 5273, 0, "Font color:", ":"},
    {&LocInvalidDate, nullptr, 0, sidInvalidDate, nullptr, ""},
    {&LocAvailableStyles, nullptr, 0, sidAvailableStyles, nullptr, ""},
    {&LocInternal, nullptr, 0, sidInternal, nullptr, ""},
    {&LocSkinDirectory, nullptr, 0, sidSkinDirectory, nullptr, ""},
    {&LocSelectSkin, nullptr, 0, sidSelectSkin, nullptr, ""},
    {&LocSkinPreview, nullptr, 0, sidSkinPreview, nullptr, ""},
    {&LocFrameAdapterMisplaced, nullptr, 0, sidFrameAdapterMisplaced, nullptr, ""},
};

void LoadCaptions() {
  const char* loadedName = nullptr;
  HMODULE sysModule = nullptr;
  auto release = [&] {
    if (sysModule) FreeLibrary(sysModule);
    sysModule = nullptr;
    loadedName = nullptr;
  };
  for (const CaptionEntry& e : kCaptions) {
    if (!e.Library) {
      release();
      if (e.DefaultResId)
        *e.Caption = LoadOwnString(e.DefaultResId);
      else
        *e.Caption = e.DefaultText;
      continue;
    }
    // One library is loaded for its run of captions and freed before the next.
    if (!loadedName || lstrcmpiA(loadedName, e.Library) != 0) {
      release();
      sysModule = LoadLibraryA(e.Library);
      loadedName = e.Library;
    }
    if (e.Caption == &LocRoot) {
      LoadSystemCaptionText(*e.Caption, sysModule, e.StringId, LoadOwnString(sidRoot), e.Suffix);
    } else if (e.DefaultResId) {
      LoadSystemCaption(*e.Caption, sysModule, e.StringId, e.DefaultResId, e.Suffix);
    } else {
      LoadSystemCaptionText(*e.Caption, sysModule, e.StringId, e.DefaultText, e.Suffix);
    }
  }
  release();
  // The own table always has this string; the literal guards a stripped build.
  if (LocInvalidDate.empty()) LocInvalidDate = "Invalid date";
}

}  // namespace

std::string LoadOwnString(UINT Id) {
  return LoadModuleString(GetModuleHandleA(nullptr), Id);
}

void LoadSystemCaption(std::string& Caption, HMODULE Module, UINT StringId, UINT DefaultResId,
                       const std::string& Suffix) {
  if (!Module) return;
  if (TrySystemString(Caption, Module, StringId, Suffix)) return;
  if (DefaultResId) Caption = LoadOwnString(DefaultResId);
}

void LoadSystemCaptionText(std::string& Caption, HMODULE Module, UINT StringId,
                           const std::string& DefaultText, const std::string& Suffix) {
  if (!Module) return;
  if (TrySystemString(Caption, Module, StringId, Suffix)) return;
  Caption = DefaultText;
}

void SkinConstInitialization() {
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExA(&vi)) WindowsVersion = WindowsVersionOf(vi.dwMajorVersion, vi.dwMinorVersion);
#pragma GCC diagnostic pop
  MetricHScrollWidth = GetSystemMetrics(SM_CXHSCROLL);
  MetricFrameWidth = GetSystemMetrics(SM_CXFRAME);
  MetricDlgFrameWidth = GetSystemMetrics(SM_CXDLGFRAME);
  MetricCaptionHeight = GetSystemMetrics(SM_CYCAPTION);
  MetricSmallCaptionHeight = GetSystemMetrics(SM_CYSMCAPTION);
  LoadCaptions();
}

void SkinConstFinalization() {
  for (const CaptionEntry& e : kCaptions) e.Caption->clear();
}
