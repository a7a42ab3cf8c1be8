// The indices painters read without searching, cached after every load:
// the standard elements, title buttons and glows, track-bar data, and for
// each section its borders, corners and patterns. Images of a DPI level
// above 0 without a variant of their own are converted to the DPI size.
#pragma once

#include <string>

class TsSkinManager;
class TvlSkinContent;

// Manager gives the scale mode; the indices go into Skin (the manager's own
// skin or a fresh one being loaded). Ends with the frame sizes.
void CacheCommonSkinData(const TsSkinManager* Manager, TvlSkinContent& Skin);
// The manager's own skin, then its extended borders.
void CacheCommonSkinData(TsSkinManager* Manager);

// The image for Name at the current DPI level: its variant when the skin
// has one, else the plain image converted in place to the DPI size.
// SectionIndex < 0 looks in GLOBALINFO.
int DpiImageIndex(const TsSkinManager* Manager, TvlSkinContent& Skin, const std::string& Name,
                  int SectionIndex, bool ScaleInPlace);
