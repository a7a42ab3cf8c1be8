// Rescaling the application's forms when the manager's scale mode changes:
// each skinned form is frozen, scaled from the percentage it reports to
// the new one, and thawed after the skin was reloaded at the new size.
#pragma once

#include <cstdint>

class TControl;
class TsSkinManager;
class TsSkinProvider;

// Scales Control from the percentage it answers to SkinCmdGetScale
// (DefaultPercent when it answers 0) to that of the effective DPI level.
void RescaleControl(TsSkinManager* Manager, TControl* Control, int DefaultPercent);
// Every alpha image list to the effective DPI level, then every registered
// skinned form, from 100 %.
void RescaleAll(TsSkinManager* Manager);
// Data bit 0 clear: freezes the provider's form; set: thaws it.
void ScaleFreezeProc(TsSkinProvider* Provider, intptr_t Data);
