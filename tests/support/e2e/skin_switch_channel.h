// The program side of the skin switch (skin_switch.h), linked only into the
// skinned test builds.
#pragma once

// Hooks the application window so that the switch message sets the
// default skin manager's Active. Call once the main form exists.
void OpenSkinSwitchChannel();
