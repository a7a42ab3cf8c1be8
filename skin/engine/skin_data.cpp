#include "skin/engine/skin_data.h"

#include <windows.h>

#include "skin/engine/skinned_forms.h"
#include "skin/engine/vl_utils.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/icon.h"
#include "widgets/rtl/inifiles.h"
#include "widgets/rtl/sysutils.h"

const std::array<const char*, 42> StdSectionNames = {
    "MENUITEM",    "CHECKBOX",    "SPEEDBUTTON", "SPEEDBUTTON_SMALL",
    "TOOLBUTTON",  "TRANSPARENT", "GROUPBOX",    "DIVIDER",
    "WEBBUTTON",   "BUTTON",      "BUTTON_HUGE", "TOOLBAR",
    "EDIT",        "GAUGE",       "SELECTION",   "STATUSBAR",
    "PANEL",       "PANEL_LOW",   "TRACKBAR",    "COLHEADER",
    "PROGRESSV",   "DRAGBAR",     "GRIPH",       "GRIPV",
    "PROGRESSH",   "TABSHEET",    "MENUBTN",     "UPDOWNBTN",
    "COMBOBOX",    "CAPTION",     "MENULINE",    "MAINMENU",
    "SPLITTER",    "SLIDER_OFF",  "SLIDER_ON",   "THUMB_OFF",
    "THUMB_ON",    "COMBOBTN",    "FORMTITLE",   "HINT",
    "MENUCAPTION", "DIVIDERV",
};

const std::array<const char*, 13> TitleButtonNames = {
    "BICLOSEALONE", "BICONCLOSE",  "BICONMAX", "BICONMIN", "BICONNORM",
    "BICONHELP",    "SICONCLOSE",  "SICONMAX", "SICONMIN", "SICONNORM",
    "SICONHELP",    "TITLEBUTTON", "",
};

const std::array<const char*, 2> ProgressGlyphNames = {"PROGVERT", "PROGHORZ"};
const std::array<const char*, 2> TickGlyphNames = {"TICKVERT", "TICKHORZ"};

TConstantSkinData::TConstantSkinData() {
  // Every index starts as "the skin has none" until a load fills it.
  Sections.fill(-1);
  TitleGlowMargins.fill(-1);
  TitleButtons.fill(-1);
  RadioButtons.fill(-1);
  CheckBoxes.fill(-1);
  SmallBoxes.fill(-1);
}

TsSkinGlobals::TsSkinGlobals() : FormOffset(GetSystemMetrics(SM_CXFRAME)) {}

TsSkinData::TsSkinData() : InactiveBorderColor(static_cast<TColor>(ColorToRGB(clInactiveBorder))) {}

TsSkinData::~TsSkinData() {
  TObject::Free(SkinDescription);
  SkinDescription = nullptr;
}

TMemIniFile* SkinDescription = nullptr;
TIcon* AppIconSmall = nullptr;
TIcon* AppIconLarge = nullptr;

bool IntInArray(const int* Values, int Value, uint8_t Low, uint8_t High) {
  for (int i = Low; i <= High; ++i)
    if (Values[i] == Value) return true;
  return false;
}

void SkinDataInitialization() {
  const std::string exe = Application ? Application->ExeName() : ParamStr(0);
  if (!AppIconSmall) AppIconSmall = GetFileIcon(exe, SHGFI_SMALLICON);
  if (!AppIconLarge) AppIconLarge = GetFileIcon(exe, SHGFI_LARGEICON);
}

void SkinDataFinalization() {
  // Freeing an icon destroys its handle: the shell handed the icons to us.
  TObject::Free(AppIconSmall);
  AppIconSmall = nullptr;
  TObject::Free(AppIconLarge);
  AppIconLarge = nullptr;
  SkinnedFormsRegistry.clear();
}
