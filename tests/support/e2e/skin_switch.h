// A test-only channel into the skinned test builds (VarnelSkinned.exe,
// TobrinSkinned.exe): a registered message sent to the program's
// application window switches its skin manager on (WParam 1) or off
// (WParam 0), as a user of a program with a skin switch would. The answer
// is 1 + the manager's Active afterwards, 0 when nothing was switched.
#pragma once

#include <windows.h>

inline constexpr char kSkinSwitchMessage[] = "VarnelTestSkinSwitch";

namespace e2e {

// Sends the switch and waits for the program's answer; true when the
// manager's Active is now Active.
bool SwitchSkin(HWND ApplicationWindow, bool Active);

}  // namespace e2e
