// The program side of the skinned test builds (VarnelSkinned.exe,
// TobrinSkinned.exe): the skin named on the command line, and the skin
// switch (skin_switch.h). Linked only into those builds.
#pragma once

class TsSkinManager;

// Takes the skin folder and name from the command line
// ("<program> <skin directory> <skin name>"), switches Manager on and opens
// the skin switch. Call once the main form exists.
void ActivateSkinFromCommandLine(TsSkinManager* Manager);

// Hooks the application window so that the switch message sets the
// default skin manager's Active. Call once the main form exists.
void OpenSkinSwitchChannel();
