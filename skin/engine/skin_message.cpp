#include "skin/engine/skin_message.h"

#include "skin/engine/common_data.h"
#include "skin/adapters/adapter_base.h"
#include "skin/engine/skin_manager.h"
#include "widgets/controls/controls.h"
#include "widgets/forms/forms.h"

TChildBroadcastVeto ChildBroadcastVeto = nullptr;

void MakeMessage(UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT Result, TMessage& Message) {
  Message.Msg = Msg;
  Message.WParam = WParam;
  Message.LParam = LParam;
  Message.Result = Result;
}

LRESULT DeliverMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TsCommonData* data = GetSkinDataProp(Wnd);
  if (data && data->OwnerWndProc) {
    TMessage m;
    MakeMessage(Msg, WParam, LParam, 0, m);
    data->OwnerWndProc(m);
    return m.Result;
  }
  return SendMessageA(Wnd, Msg, WParam, LParam);
}

LRESULT DeliverControlMessage(TControl* Control, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (!Control) return 0;
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (!win) return Control->Perform(Msg, WParam, LParam);
  if (win->HasState(csDestroying) || !win->HandleAllocated()) return 0;
  return DeliverMessage(win->Handle(), Msg, WParam, LParam);
}

LRESULT SendSkinCommand(HWND Wnd, uint16_t Code, LPARAM LParam) {
  return DeliverMessage(Wnd, SkinCommandMessage, SkinCmdParam(Code), LParam);
}

LRESULT PerformSkinCommand(TControl* Control, uint16_t Code, LPARAM LParam) {
  return DeliverControlMessage(Control, SkinCommandMessage, SkinCmdParam(Code), LParam);
}

LRESULT PerformSkinQuery(TControl* Control, uint16_t Code) {
  return PerformSkinCommand(Control, Code, 0);
}

bool SendSkinQuery(HWND Wnd, uint16_t Code) {
  return SendSkinCommand(Wnd, Code, 0) == 1;
}

LRESULT SetWindowRedraw(HWND Wnd, WPARAM Redraw) {
  return DeliverMessage(Wnd, WM_SETREDRAW, Redraw, 0);
}

bool IsSkinnedWindow(HWND Wnd) {
  if (GetSkinDataProp(Wnd)) return true;
  if (GetWindowAdapter(Wnd)) return true;
  return SendSkinQuery(Wnd, SkinCmdIsSkinned);
}

bool IsSkinnedControl(TControl* Control) {
  if (!Control) return false;
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (win && win->HandleAllocated()) return IsSkinnedWindow(win->Handle());
  return Control->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdIsSkinned), 0) == 1;
}

void BroadcastToChildControls(TWinControl* Control, const TMessage& Message) {
  if (!Control) return;
  // The child list may shrink while a child handles the message.
  for (int i = 0; i < Control->ControlCount(); ++i) {
    TControl* child = Control->Controls(i);
    if (child->HasState(csDestroying)) return;
    auto* win = dynamic_cast<TWinControl*>(child);
    if (!win || !win->HandleAllocated()) {
      child->Perform(Message.Msg, Message.WParam, Message.LParam);
      continue;
    }
    DeliverMessage(win->Handle(), Message.Msg, Message.WParam, Message.LParam);
    // A child that went away while it handled the message is not looked at
    // again, and the sibling that moved into its place still gets the message.
    if (i >= Control->ControlCount() || Control->Controls(i) != child) {
      --i;
      continue;
    }
    if (!win->HandleAllocated() || IsSkinnedWindow(win->Handle())) continue;
    if (ChildBroadcastVeto && ChildBroadcastVeto(child)) continue;
    BroadcastToChildControls(win, Message);
  }
}

namespace {

struct ChildWindowsBroadcast {
  HWND Parent;
  const TMessage* Message;
};

BOOL CALLBACK DeliverToDirectChild(HWND Child, LPARAM Data) {
  auto* b = reinterpret_cast<ChildWindowsBroadcast*>(Data);
  // Exceptions must not cross the enumeration back into the system.
  try {
    if (GetParent(Child) == b->Parent)
      DeliverMessage(Child, b->Message->Msg, b->Message->WParam, b->Message->LParam);
  } catch (...) {
    if (Application) Application->HandleException(nullptr);
  }
  return TRUE;
}

LRESULT RouteToControl(TControl* Control, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return DeliverControlMessage(Control, Msg, WParam, LParam);
}

bool ManagerColor(bool RequireActiveSkin, TColor& Color) {
  TsSkinManager* m = DefaultManager;
  if (!m) return false;
  if (RequireActiveSkin && !(m->Active() && m->CommonSkinData->Loaded && !m->Sections.empty()))
    return false;
  Color = m->GetGlobalColor();
  return true;
}

}  // namespace

void BroadcastToChildWindows(HWND Wnd, const TMessage& Message) {
  ChildWindowsBroadcast b{Wnd, &Message};
  EnumChildWindows(Wnd, DeliverToDirectChild, reinterpret_cast<LPARAM>(&b));
}

void SkinMessageInitialization() {
  TSkinCommandRoute& r = SkinCommandRoute();
  r.ToWindow = DeliverMessage;
  r.ToControl = RouteToControl;
  r.DefaultManagerColor = ManagerColor;
}

void SkinMessageFinalization() {
  TSkinCommandRoute& r = SkinCommandRoute();
  r.ToWindow = PlatformSendMessage;
  r.ToControl = PlatformControlMessage;
  r.DefaultManagerColor = [](bool, TColor&) { return false; };
}
