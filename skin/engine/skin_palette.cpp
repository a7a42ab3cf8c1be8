#include "skin/engine/skin_palette.h"

#include "skin/engine/skin_content.h"
#include "skin/engine/skin_lookups.h"
#include "skin/foundation/colour_math.h"
#include "skin/engine/description_index.h"

namespace {

TColor Rgb(TColor Color) {
  return static_cast<TColor>(ColorToRGB(Color));
}

const TsGeneralData* SectionNamed(const TvlSkinContent& Skin, const char* Name) {
  const int i = FindSectionIndex(Skin, Name);
  return i < 0 ? nullptr : &Skin.Sections[static_cast<size_t>(i)];
}

void FillSelection(std::array<TColor, 30>& p, const TvlSkinContent& Skin) {
  p[6] = p[7] = p[8] = p[9] = -1;
  if (const TsGeneralData* s = SectionNamed(Skin, "SELECTION")) {
    const TsGenState& hot = s->Props[s->StateCount < 2 ? 0 : 1];
    p[6] = s->Props[0].Color;
    p[7] = s->Props[0].FontColor;
    p[8] = hot.Color;
    p[9] = hot.FontColor;
  }
  if (p[7] != -1 && p[7] != clFuchsia) return;
  if (const TsGeneralData* m = SectionNamed(Skin, "MENUITEM")) {
    const TsGenState& hot = m->Props[1];
    p[6] = p[8] = hot.Color;
    p[7] = hot.FontColor == -1 || hot.FontColor == clFuchsia ? clHighlightText : Rgb(hot.FontColor);
    p[9] = p[7];
  } else {
    p[7] = p[9] = Rgb(clHighlightText);
    p[6] = p[8] = Rgb(clHighlight);
  }
}

// Entries read from GLOBALINFO with fixed defaults; the alert keys fill
// three entries each.
struct FixedEntry {
  size_t Index;
  const char* Key;
  TColor Default;
};
constexpr FixedEntry FixedEntries[] = {
    {14, "EDITTEXT_OK", 0x8000},      {15, "EDITTEXT_WARN", 0x8484},
    {16, "EDITTEXT_ALERT", 0x0000FF}, {17, "EDITTEXT_ALERT", 0x8597D9},
    {18, "EDITTEXT_ALERT", 0x4AB28F}, {19, "EDITBG_OK", 0x6CC2A5},
    {20, "EDITBG_WARN", 0x40FFFF},    {21, "EDITBG_ALERT", 0x95A7E9},
    {22, "EDITBG_ALERT", 0x8597D9},   {23, "EDITBG_ALERT", 0x4AB28F},
    {24, "EDITTEXT_H1", 0},           {25, "EDITTEXT_H2", 0},
    {26, "EDITTEXT_H3", 0},           {27, "BORDERCOLOR", 0},
};

}  // namespace

void FillSkinPalette(TvlSkinContent& Skin, const TvlSkinDescription* Description) {
  const auto global = [&](const char* key, TColor def) {
    return Description ? Description->ReadInteger("GLOBALINFO", key, def) : def;
  };
  std::array<TColor, 30>& p = Skin.SkinPalette;
  p[0] = global("COLOR", Rgb(clBtnFace));
  p[1] = global("FONTCOLOR", 0);
  p[2] = global("TCBOTTOM", 0xFF0000);
  p[3] = global("TCTOP", 0x0000FF);
  const TsGeneralData* edit = SectionNamed(Skin, "EDIT");
  p[4] = Rgb(edit ? edit->Props[0].FontColor : clWindowText);
  p[5] = Rgb(edit ? edit->Props[0].Color : clWindow);
  FillSelection(p, Skin);
  p[10] = global("EDITBG_INV", p[4]);
  p[11] = global("EDITTEXT_INV", p[5]);
  p[12] = global("EDITBG_ODD", p[5]);
  p[13] = global("EDITBG_EVEN", static_cast<TColor>(MixTwoColors(static_cast<uint32_t>(p[4]),
                                                                 static_cast<uint32_t>(p[5]), 13)));
  for (const FixedEntry& e : FixedEntries) p[e.Index] = global(e.Key, e.Default);
  const TsGeneralData* hint = SectionNamed(Skin, "HINT");
  p[28] = Rgb(hint ? hint->Props[0].Color : clInfoBk);
  p[29] = Rgb(hint ? hint->Props[0].FontColor : clInfoText);
}
