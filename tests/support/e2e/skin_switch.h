// A test-only channel into the skinned test builds (VarnelSkinned.exe,
// TobrinSkinned.exe): a registered message sent to the program's
// application window switches its skin manager on (WParam 1) or off
// (WParam 0), as a user of a program with a skin switch would. The answer
// is 1 + the manager's Active afterwards, 0 when nothing was switched.
#pragma once

#include <windows.h>

inline constexpr char kSkinSwitchMessage[] = "VarnelTestSkinSwitch";

// The same channel answers a window's scroll state, which the platform
// under test reads for the calling process's windows only: WParam is the
// bar (SB_HORZ, SB_VERT), LParam a TScrollInfoRequest in the program's
// memory; the answer is 1 when GetScrollInfo succeeded.
inline constexpr char kScrollInfoMessage[] = "VarnelTestScrollInfo";

struct TScrollInfoRequest {
  HWND Wnd;
  SCROLLINFO Info;
};

namespace e2e {

// Sends the switch and waits for the program's answer; true when the
// manager's Active is now Active.
bool SwitchSkin(HWND ApplicationWindow, bool Active);

// The scroll state (SIF_ALL) of the bar Bar of Wnd, a window of the program
// whose application window that is, read inside the program; false when
// it could not be read.
bool AskScrollInfo(HWND ApplicationWindow, HWND Wnd, int Bar, SCROLLINFO& Info);

}  // namespace e2e
