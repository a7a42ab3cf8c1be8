#include "skin/foundation/skin_commands.h"

#include "widgets/controls/controls.h"

LRESULT PlatformSendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return SendMessageA(Wnd, Msg, WParam, LParam);
}

LRESULT PlatformControlMessage(TControl* Control, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (!Control) return 0;
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (!win) return Control->Perform(Msg, WParam, LParam);
  if (win->HasState(csDestroying) || !win->HandleAllocated()) return 0;
  return SendMessageA(win->Handle(), Msg, WParam, LParam);
}

namespace {

bool NoManagerColor(bool, TColor&) {
  return false;
}

}  // namespace

TSkinCommandRoute& SkinCommandRoute() {
  static TSkinCommandRoute route{PlatformSendMessage, PlatformControlMessage, NoManagerColor};
  return route;
}
