#include "tests/support/e2e/skin_switch.h"

namespace e2e {

bool SwitchSkin(HWND ApplicationWindow, bool Active) {
  const UINT msg = RegisterWindowMessageA(kSkinSwitchMessage);
  DWORD_PTR answer = 0;
  // Switching reloads or drops every control's look: generous for a slow machine.
  if (!SendMessageTimeoutA(ApplicationWindow, msg, Active ? 1 : 0, 0, SMTO_NORMAL, 10000, &answer))
    return false;
  return answer == (Active ? 2u : 1u);
}

}  // namespace e2e
