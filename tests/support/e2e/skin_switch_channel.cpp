#include "tests/support/e2e/skin_switch_channel.h"

#include "skin/engine/skin_manager.h"
#include "tests/support/e2e/skin_switch.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/sysutils.h"

namespace {

BOOL CALLBACK RedrawTopWindow(HWND Wnd, LPARAM) {
  if (IsWindowVisible(Wnd))
    RedrawWindow(Wnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

// Looks the manager up at each message rather than keeping it: the form
// that owns it may already be gone when a late message arrives.
bool SwitchHook(void*, TMessage& Message) {
  static const UINT switchMessage = RegisterWindowMessageA(kSkinSwitchMessage);
  static const UINT scrollInfoMessage = RegisterWindowMessageA(kScrollInfoMessage);
  if (Message.Msg == scrollInfoMessage) {
    auto* request = reinterpret_cast<TScrollInfoRequest*>(Message.LParam);
    Message.Result =
        request && GetScrollInfo(request->Wnd, int(Message.WParam), &request->Info) ? 1 : 0;
    return true;
  }
  if (Message.Msg != switchMessage) return false;
  Message.Result = 0;
  try {
    if (TsSkinManager* m = DefaultManager) {
      m->SetActive(Message.WParam != 0);
      Message.Result = m->Active() ? 2 : 1;
      // The library's controls repaint themselves, but a plain control on a
      // skinned one (Tobrin's bit buttons on its group boxes) keeps the
      // background it took from the skin: without skinned forms, nothing
      // repaints the whole form, so the switch does, as a program
      // offering a skin switch would.
      EnumThreadWindows(GetCurrentThreadId(), RedrawTopWindow, 0);
    }
  } catch (...) {
    // No exception leaves a hook; the answer 0 tells the test.
    Message.Result = 0;
  }
  return true;
}

}  // namespace

void ActivateSkinFromCommandLine(TsSkinManager* Manager) {
  Manager->SetSkinDirectory(ParamStr(1));
  Manager->SetSkinName(ParamStr(2));
  Manager->SetActive(true);
  OpenSkinSwitchChannel();
}

void OpenSkinSwitchChannel() {
  Application->HookMainWindow(TWindowHook(nullptr, &SwitchHook));
}
