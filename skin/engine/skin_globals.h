// The skin-wide values of GLOBALINFO: the TsSkinGlobals record, the title-
// button glow sizes and the form's outer effects with their mask images.
#pragma once

#include "skin/engine/skin_load_context.h"

class TvlSkinReader;

// At most this many glow images per title button.
constexpr int MaxTitleGlowImages = 32;

void ReadSkinGlobals(TvlSkinLoad& Load, const TvlSkinReader& Reader);
