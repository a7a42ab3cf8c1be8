// The skin palette: the 30 colours painters ask for by meaning (main
// colour and text, edit colours, selection, the edit states, hints).
#pragma once

class TvlSkinDescription;
class TvlSkinContent;

// Entries the hue and saturation options recolour; the others keep theirs.
constexpr int RecolouredPaletteEntries[] = {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 27, 28, 29};

// Fills Skin.SkinPalette from GLOBALINFO of Description (defaults without
// one) and from the EDIT, SELECTION, MENUITEM and HINT sections.
void FillSkinPalette(TvlSkinContent& Skin, const TvlSkinDescription* Description);
