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
  p[14] = global("EDITTEXT_OK", 0x8000);
  p[15] = global("EDITTEXT_WARN", 0x8484);
  p[16] = global("EDITTEXT_ALERT", 0x0000FF);
  p[17] = global("EDITTEXT_ALERT", 0x8597D9);
  p[18] = global("EDITTEXT_ALERT", 0x4AB28F);
  p[19] = global("EDITBG_OK", 0x6CC2A5);
  p[20] = global("EDITBG_WARN", 0x40FFFF);
  p[21] = global("EDITBG_ALERT", 0x95A7E9);
  p[22] = global("EDITBG_ALERT", 0x8597D9);
  p[23] = global("EDITBG_ALERT", 0x4AB28F);
  p[24] = global("EDITTEXT_H1", 0);
  p[25] = global("EDITTEXT_H2", 0);
  p[26] = global("EDITTEXT_H3", 0);
  p[27] = global("BORDERCOLOR", 0);
  const TsGeneralData* hint = SectionNamed(Skin, "HINT");
  p[28] = Rgb(hint ? hint->Props[0].Color : clInfoBk);
  p[29] = Rgb(hint ? hint->Props[0].FontColor : clInfoText);
}
