#include "skin/foundation/section_names.h"

const std::array<const char*, 16> TabSectionNames = {
    "TABLEFTFIRST",  "TABTOPFIRST",  "TABRIGHTFIRST",  "TABBOTTOMFIRST",
    "TABLEFTLAST",   "TABTOPLAST",   "TABRIGHTLAST",   "TABBOTTOMLAST",
    "TABLEFTMIDDLE", "TABTOPMIDDLE", "TABRIGHTMIDDLE", "TABBOTTOMMIDDLE",
    "TABLEFT",       "TABTOP",       "TABRIGHT",       "TABBOTTOM"};
const std::array<const char*, 4> ScrollBtnSectionNames = {"SCROLLBTNLEFT", "SCROLLBTNTOP",
                                                          "SCROLLBTNRIGHT", "SCROLLBTNBOTTOM"};
const std::array<const char*, 4> ScrollBarSectionNames = {"SCROLLBAR1H", "SCROLLBAR1V",
                                                          "SCROLLBAR2H", "SCROLLBAR2V"};
// The third name has no underscore: skins carry it that way.
const std::array<const char*, 4> UpDownBtnSectionNames = {"UPDOWNBTN_LEFT", "UPDOWNBTN_TOP",
                                                          "UPDOWNBTNRIGHT", "UPDOWNBTN_BOTTOM"};
const std::array<const char*, 2> ScrollSliderSectionNames = {"SCROLLSLIDERH", "SCROLLSLIDERV"};
const std::array<const char*, 2> RadioSectionNames = {"RADIOUNCHECKED", "RADIOCHECKED"};
const std::array<const char*, 3> CheckBoxSectionNames = {"BOXUNCHECKED", "BOXCHECKED", "BOXGRAYED"};
const std::array<const char*, 3> SmallCheckBoxSectionNames = {"SMALLUNCHECKED", "SMALLCHECKED",
                                                              "SMALLGRAYED"};

const std::array<const char*, ThirdPartyKindCount> ThirdPartyDefaultClasses = {
    " ", "TButton", " ", " ", " ", " ", " ", " ", " ", " ", " ", " ",
    " ", " ",       " ", " ", " ", " ", " ", " ", " ", " ", " "};
const std::array<const char*, ThirdPartyKindCount> ThirdPartyKindNames = {
    "Edit",          "Button",      "BitBtn",     "CheckBox",   "ComboBox",   "Grid",
    "GroupBox",      "ListView",    "Panel",      "TreeView",   "wwEdit",     "GridEh",
    "VirtualTree",   "PageControl", "TabControl", "ToolBar",    "StatusBar",  "SpeedButton",
    "ScrollControl", "UpDownBtn",   "ScrollBar",  "StaticText", "NativePaint"};
