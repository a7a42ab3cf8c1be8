#include "tests/support/e2e/skin_switch.h"

#include "tests/support/e2e/screen.h"

namespace e2e {

bool SwitchSkin(HWND ApplicationWindow, bool Active) {
  const UINT msg = RegisterWindowMessageA(kSkinSwitchMessage);
  DWORD_PTR answer = 0;
  // Switching reloads or drops every control's look: generous for a slow machine.
  if (!SendMessageTimeoutA(ApplicationWindow, msg, Active ? 1 : 0, 0, SMTO_NORMAL, 10000, &answer))
    return false;
  return answer == (Active ? 2u : 1u);
}

bool AskScrollInfo(HWND ApplicationWindow, HWND Wnd, int Bar, SCROLLINFO& Info) {
  const UINT msg = RegisterWindowMessageA(kScrollInfoMessage);
  TScrollInfoRequest request{Wnd, SCROLLINFO{}};
  request.Info.cbSize = sizeof request.Info;
  request.Info.fMask = SIF_ALL;
  DWORD_PTR answer = 0;
  if (!ApplicationWindow ||
      !AskRemote(ApplicationWindow, msg, WPARAM(Bar), &request, sizeof request, ApplicationWindow,
                 &answer) ||
      answer != 1)
    return false;
  Info = request.Info;
  return true;
}

}  // namespace e2e
