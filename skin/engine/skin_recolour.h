// Recolouring a freshly read skin by the manager's HueOffset, Saturation
// and Brightness: the master bitmap, the image files, the section colours
// and some palette entries. Key-colour pixels never change.
#pragma once

#include "skin/engine/skin_load_context.h"

// Hue, then saturation, then brightness, each with the manager's value.
void RecolourSkin(TvlSkinLoad& Load);

void ChangeHue(TvlSkinLoad& Load, int Offset);
void ChangeSaturation(TvlSkinLoad& Load, int Saturation);
void ChangeBrightness(TvlSkinLoad& Load, int Brightness);
// Saturation percent -100..100 as the per-byte amount -255..255.
int SaturationAmount(int Saturation);
