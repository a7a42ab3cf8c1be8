#include "skin/engine/skin_description.h"

#include <algorithm>

#include "skin/engine/description_index.h"
#include "skin/engine/ini_sections.h"
#include "skin/engine/parent_walk.h"
#include "skin/engine/skin_content.h"
#include "skin/engine/skin_globals.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_palette.h"
#include "skin/engine/skin_recolour.h"
#include "skin/foundation/gradient.h"
#include "skin/foundation/skin_const.h"
#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/sysutils.h"

namespace {

const char* const Absent = "?";

// The twelve keys of each state, in the order of the state's fields.
struct StateKeys {
  const char* Color;
  const char* FontColor;
  const char* Contours[4];
  const char* GlowColor;
  const char* GlowSize;
  const char* GradientPercent;
  const char* GradientData;
  const char* ImagePercent;
  const char* Transparency;
};
const StateKeys StateKeyTable[3] = {
    {"COLOR",
     "FONTCOLOR",
     {"TCLEFT", "TCTOP", "TCRIGHT", "TCBOTTOM"},
     "GCOL",
     "GSIZE",
     "GRADIENTPERCENT",
     "GRADIENTDATA",
     "IMAGEPERCENT",
     "TRANSPARENCY"},
    {"HOTCOLOR",
     "HOTFONTCOLOR",
     {"HOTTCLEFT", "HOTTCTOP", "HOTTCRIGHT", "HOTTCBOTTOM"},
     "HGCOL",
     "HGSIZE",
     "HOTGRADIENTPERCENT",
     "HOTGRADIENTDATA",
     "HOTIMAGEPERCENT",
     "HOTTRANSPARENCY"},
    {"COLOR2",
     "FONTCOLOR2",
     {"TCLEFT2", "TCTOP2", "TCRIGHT2", "TCBOTTOM2"},
     "GCOL2",
     "GSIZE2",
     "GRADIENTPERCENT2",
     "GRADIENTDATA2",
     "IMAGEPERCENT2",
     "TRANSPARENCY2"},
};

TsGenState DefaultState() {
  TsGenState s;
  s.Color = 0xFFFFFF;
  s.TextGlowColor = 0xFFFFFF;
  s.FontColor = 0;
  return s;
}

// Reads one state's keys through Int and Text; Int(key, default).
template <typename IntFn, typename TextFn>
TsGenState ReadState(int State, const TsGenState& Base, IntFn&& Int, TextFn&& Text) {
  const StateKeys& k = StateKeyTable[State];
  TsGenState s = Base;
  s.Color = Int(k.Color, Base.Color);
  s.FontColor = Int(k.FontColor, Base.FontColor);
  s.ContourLeft = Int(k.Contours[0], Base.ContourLeft);
  s.ContourTop = Int(k.Contours[1], Base.ContourTop);
  s.ContourRight = Int(k.Contours[2], Base.ContourRight);
  s.ContourBottom = Int(k.Contours[3], Base.ContourBottom);
  s.TextGlowColor = Int(k.GlowColor, Base.TextGlowColor);
  s.TextGlowSize = Int(k.GlowSize, Base.TextGlowSize);
  s.GradientPercent = Int(k.GradientPercent, Base.GradientPercent);
  s.ImagePercent = Int(k.ImagePercent, Base.ImagePercent);
  s.Transparency = Int(k.Transparency, Base.Transparency);
  const std::string gradient = Text(k.GradientData);
  s.Gradient.clear();
  if (gradient.size() < 3)
    s.GradientPercent = 0;
  else
    ParseGradientData(gradient, s.Gradient);
  return s;
}

// States 1 and 2 from their own keys, or copies of the state before them.
template <typename ReadFn>
void ReadStates(TsGeneralData& d, ReadFn&& Read) {
  d.Props[0] = Read(0);
  d.Props[1] = d.StateCount < 2 ? d.Props[0] : Read(1);
  d.Props[2] = d.UseState2 ? Read(2) : d.Props[1];
}

TsGeneralData ReadSection(const TvlSkinReader& r, const std::string& name) {
  TsGeneralData d;
  d.SectionName = name;
  d.ParentClass = r.Description().ReadString(name, "PARENTCLASS", "");
  d.ReservedBoolean = r.ReadInheritedBool(name, "RESERVEDBOOLEAN", false);
  d.GiveOwnFont = r.ReadInheritedBool(name, "GIVEOWNFONT", false);
  d.Glow = r.ReadInheritedInt(name, "GLOW", 0, 255);
  d.GlowMargin = r.ReadInheritedInt(name, "GLOWMARGIN", 0, 255);
  d.StateCount = r.ReadInheritedInt(name, "STATES", 3, 255);
  const char* const offsets[4] = {"OUTOFFSL", "OUTOFFST", "OUTOFFSR", "OUTOFFSB"};
  for (size_t i = 0; i < 4; ++i) d.OuterOffsets[i] = r.ReadInheritedInt(name, offsets[i], 0, 255);
  d.OuterOpacity = r.ReadInheritedInt(name, "OUTOPACITY", 200, 255);
  d.OuterMode = r.ReadInheritedInt(name, "OUTERMODE", 2);
  d.UseState2 = r.ReadInheritedInt(name, "USESTATE2", 0) == 1;
  d.CornerImages = {-1, -1, -1, -1};
  d.BorderKind = -2;  // no borders mask until the images are looked up
  const TsGenState base = DefaultState();
  ReadStates(d, [&](int state) {
    return ReadState(
        state, base, [&](const char* key, int def) { return r.ReadInheritedInt(name, key, def); },
        [&](const char* key) { return r.ReadInheritedString(name, key, " "); });
  });
  return d;
}

TsGeneralData DefaultSection() {
  TsGeneralData d;
  d.Props.fill(DefaultState());
  return d;
}

// A section of the manager's CommonSections that the skin lacks, read over
// the values of the section its PARENTCLASS names.
TsGeneralData ReadCommonSection(const TvlSkinContent& Skin, const TStringList& Common,
                                const std::string& Name) {
  const std::string parent = UpperCase(ReadSectionString(Common, Name, "PARENTCLASS", "-1"));
  TsGeneralData d = DefaultSection();
  for (const TsGeneralData& s : Skin.Sections)
    if (UpperCase(s.SectionName) == parent) {
      d = s;
      break;
    }
  d.SectionName = Name;
  d.ParentClass = parent;
  const auto Int = [&](const char* key, int def) {
    const int v = ReadSectionInteger(Common, Name, key, -1);
    return v < 0 ? def : v;
  };
  const auto Bool = [&](const char* key, bool def) {
    const std::string v = UpperCase(ReadSectionString(Common, Name, key, Absent));
    return v == Absent ? def : v == "1" || v == "TRUE";
  };
  d.StateCount = Int("STATES", d.StateCount);
  d.UseState2 = Int("USESTATE2", d.UseState2 ? 1 : 0) == 1;
  const TsProps base = d.Props;
  ReadStates(d, [&](int state) {
    return ReadState(state, base[static_cast<size_t>(state)], Int,
                     [&](const char* key) { return ReadSectionString(Common, Name, key, " "); });
  });
  d.ReservedBoolean = Bool("RESERVEDBOOLEAN", d.ReservedBoolean);
  d.GiveOwnFont = Bool("GIVEOWNFONT", d.GiveOwnFont);
  d.Glow = Int("GLOW", d.Glow);
  d.GlowMargin = Int("GLOWMARGIN", d.GlowMargin);
  return d;
}

void AddCommonSections(TvlSkinContent& Skin, TStringList* Lines) {
  if (!Lines || Lines->Count() == 0) return;
  const TParsedIniSections parsed(*Lines);
  const TStringList& common = parsed.List();
  for (int i = 0; i < common.Count(); ++i) {
    const std::string name = common.Strings(i);
    if (FindSectionIndex(Skin, name) < 0)
      Skin.Sections.push_back(ReadCommonSection(Skin, common, name));
  }
}

// A section every painter can fall back on, appended when the skin lacks it.
void AppendPlainSection(TvlSkinContent& Skin, const char* Name, int Transparency, TColor Color) {
  if (FindSectionIndex(Skin, Name) >= 0) return;
  TsGeneralData d;
  d.SectionName = Name;
  d.StateCount = 1;
  for (TsGenState& s : d.Props) {
    s = DefaultState();
    s.Transparency = Transparency;
    s.Color = Color;
    s.FontColor = Skin.SkinPalette[1];
  }
  Skin.Sections.push_back(std::move(d));
}

}  // namespace

double ReadSkinVersion(const TvlSkinDescription* Description) {
  if (!Description) return 0;
  return StrToFloatDef(Description->ReadString("GLOBALINFO", "VERSION", ""), 0);
}

const std::vector<const TvlIniSection*>& TvlSkinReader::Chain(std::string_view Section) const {
  if (chainReady_ && chainOf_ == Section) return chain_;
  chain_.clear();
  WalkParentChain(
      ini_.Section(Section), false,
      [&](const TvlIniSection* s) {
        if (s) chain_.push_back(s);
        return false;
      },
      [&](const TvlIniSection* s) -> std::optional<const TvlIniSection*> {
        const std::string* parent = s ? s->Find("PARENTCLASS") : nullptr;
        if (!parent || parent->empty() || *parent == Absent || *parent == s->Name)
          return std::nullopt;
        return ini_.Section(*parent);
      });
  chainOf_.assign(Section);
  chainReady_ = true;
  return chain_;
}

template <typename T, typename Read>
T TvlSkinReader::Inherited(std::string_view Section, T Miss, Read&& ReadOwn) const {
  for (const TvlIniSection* s : Chain(Section)) {
    const T found = ReadOwn(*s);
    if (found != Miss) return found;
  }
  return Miss;
}

int TvlSkinReader::ReadInheritedInt(std::string_view Section, std::string_view Key, int Default,
                                    int Limit) const {
  int v = Inherited(Section, -1, [&](const TvlIniSection& s) {
    const int own = IniInteger(s.Find(Key), -1);
    return own < 0 ? -1 : own;
  });
  if (v < 0) v = Default;
  return std::min(v, Limit);
}

std::string TvlSkinReader::ReadInheritedString(std::string_view Section, std::string_view Key,
                                               const std::string& Default) const {
  const std::string* v = Inherited(Section, static_cast<const std::string*>(nullptr),
                                   [&](const TvlIniSection& s) -> const std::string* {
                                     const std::string* own = s.Find(Key);
                                     return own && *own != Absent ? own : nullptr;
                                   });
  return v ? *v : Default;
}

bool TvlSkinReader::ReadInheritedBool(std::string_view Section, std::string_view Key,
                                      bool Default) const {
  const std::string v = ReadInheritedString(Section, Key, Absent);
  return v == Absent ? Default : v == "TRUE" || v == "1";
}

int TvlSkinReader::ReadGlobalInt(const std::string& Key, int Default) const {
  return ini_.ReadInteger("GLOBALINFO", Key, Default);
}

int TvlSkinReader::ReadGlobalDpiInt(const std::string& Key, int Default) const {
  const size_t level = static_cast<size_t>(dpiLevel_);
  const int r = ini_.ReadInteger("GLOBALINFO", Key + DpiKeySuffix[level], -1);
  if (r >= 0 || level == 0) return r;
  return ReadGlobalInt(Key, Default) * DpiPercentTable[level] / 100;
}

void ReadSkinSections(TvlSkinLoad& Load) {
  TvlSkinContent& skin = Load.Skin;
  if (Load.Description) {
    const TvlSkinReader reader(*Load.Description, Load.DpiLevel);
    ReadSkinGlobals(Load, reader);
    skin.Sections.clear();
    skin.Sections.reserve(Load.Description->Sections().size() + 2);
    for (const TvlIniSection& s : Load.Description->Sections())
      skin.Sections.push_back(ReadSection(reader, s.Name));
  }
  AddCommonSections(skin, Load.Manager->CommonSections());
  // Images named by section only (the CommonSections files, the outer-
  // effect masks) learn their section's index now that every section exists.
  for (TsMaskData& m : skin.Masks)
    if (m.SectionIndex < 0) m.SectionIndex = FindSectionIndex(skin, m.Section);
  FillSkinPalette(skin, Load.Description);
  AppendPlainSection(skin, "TRANSPARENT", 100, 0xFFFFFF);
  RecolourSkin(Load);
  AppendPlainSection(skin, "MAINCOLOR", 0, skin.SkinPalette[0]);
}
