// The base adapter's window procedure: the bookkeeping every adapter does
// whatever the skin state, and the answers to the library's skin commands.
#include "skin/adapters/adapter_base.h"
#include "skin/adapters/adapter_routines.h"
#include "skin/engine/common_data.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/services_menus.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"
#include "widgets/menus/menus.h"

namespace {

bool WindowShows(TsCommonData* Data, HWND Wnd) {
  // WM_SETREDRAW 0 may clear WS_VISIBLE: a control's own flag decides.
  if (Data && Data->Control) return Data->Control->Visible();
  return IsWindowVisible(Wnd) != FALSE;
}

}  // namespace

void TvlMainWnd::WndProc(TMessage& Message) {
  HWND wnd = WindowHandle;
  switch (Message.Msg) {
    case WM_CREATE:
    case WM_NCCREATE:
      Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      if (SkinData) RegisterSkinData(SkinData);
      return;
    case WM_DESTROY:
    case WM_NCDESTROY: {
      if (SkinData) {
        StopAnimation(SkinData);
        HideGlow(SkinData->GlowIndex, false);
      }
      TvlMainWnd* self = this;
      if (SavedWindowMethod) {
        // Released first, so the control's own procedure sees the message
        // once, through the method it had before us.
        TWndMethod saved = SavedWindowMethod;
        ReleaseWndAdapter(wnd, false, false, self);
        saved(Message);
        Message.Result = 1;
      } else if (ProcInstance) {
        Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
        if (Message.Result == 0 || Message.Msg == WM_NCDESTROY)
          ReleaseWndAdapter(wnd, false, false, self);
        Message.Result = 1;
      } else {
        Message.Result = SendMessageA(wnd, Message.Msg, Message.WParam, Message.LParam);
      }
      return;
    }
    case WM_SIZE:
      if (SkinData) SkinData->BgChanged = true;
      break;
    case WM_SETTEXT:
      Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
      WindowText = GetWindowTextWide(wnd);
      return;
    case WM_CONTEXTMENU: {
      TControl* control = SkinData ? SkinData->Control : nullptr;
      TsSkinManager* manager = SkinData ? SkinData->SkinManager() : nullptr;
      if (control && control->PopupMenu() && manager && manager->Menus)
        manager->Menus->HookPopupMenu(control->PopupMenu(), manager->Active());
      break;
    }
    case WM_MOUSEMOVE:
      if (DefaultManager && !DefaultManager->Designing() && IsWindowEnabled(wnd) &&
          DefaultManager->HotWindow != wnd)
        DefaultManager->SetHotWindow(wnd);
      break;
    case WM_PRINT:
      Message.Result = SendMessageA(wnd, WM_PAINT, Message.WParam, Message.LParam);
      return;
    case WM_UPDATEUISTATE:
      Message.Result = 0;
      return;
    default:
      break;
  }
  CommonTail(Message);
}

void TvlMainWnd::CommonTail(TMessage& Message) {
  TsSkinManager* manager = SkinData ? SkinData->SkinManager() : nullptr;
  if (manager && manager->Active() && Message.Msg == SkinCommandMessage) {
    HandleSkinCommandMessage(Message);
    return;
  }
  Message.Result = CallPrevWndProc(WindowHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TvlMainWnd::HandleSkinCommandMessage(TMessage& Message) {
  HWND wnd = WindowHandle;
  TsCommonData* d = SkinData;
  TControl* control = d->Control;
  auto passOn = [&] {
    Message.Result = CallPrevWndProc(wnd, Message.Msg, Message.WParam, Message.LParam);
  };
  const bool ownManager = reinterpret_cast<TsSkinManager*>(Message.LParam) == SkinManager;
  switch (SkinCmdCode(Message.WParam)) {
    case SkinCmdNewSkin:
      if (ownManager) {
        d->UpdateIndexes(true);
        d->BgChanged = true;
        PassToChildren(control, wnd, Message);
      }
      passOn();
      return;
    case SkinCmdRemoveSkin:
      if (ownManager) RestoreControl();
      // The creator may free the adapter in here; nothing of it is touched
      // afterwards.
      passOn();
      return;
    case SkinCmdRefresh:
      if (ownManager) {
        d->UpdateIndexes(true);
        d->BgChanged = true;
        d->Updating = false;
        if (!GlobalAnimationActive && WindowShows(d, wnd)) SendMessageA(wnd, WM_PAINT, 0, 0);
        PassToChildren(control, wnd, Message);
      }
      return;
    case SkinCmdResumePaint:
      if (d->Updating) {
        if (!d->CheckUpdating(true)) {
          SendMessageA(wnd, WM_NCPAINT, 0, 0);
          RedrawWindow(wnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        if (auto* win = dynamic_cast<TWinControl*>(control)) RepaintChildren(win);
      } else {
        passOn();
      }
      return;
    case SkinCmdIsSkinned:
      Message.Result = 1;
      return;
    case SkinCmdIsUpdating:
      Message.Result = d->IsUpdating() ? 1 : 0;
      return;
    case SkinCmdGetAdapter:
      Message.Result = reinterpret_cast<LRESULT>(this);
      return;
    case SkinCmdSetSection:
      if (!Message.LParam) {
        Message.Result = 0;
        return;
      }
      d->SetSkinSection(*reinterpret_cast<const std::string*>(Message.LParam));
      Message.Result = 1;
      return;
    case SkinCmdBackgroundVaries:
      if (!control || !HandleSkinCommand(Message, d)) passOn();
      return;
    case SkinCmdGetBgColor:
      passOn();
      if (Message.Result == 0) Message.Result = static_cast<LRESULT>(d->BgColor(0, wnd));
      return;
    case SkinCmdPrepareCache:
      PaintBorderCache(d, wnd, false);
      passOn();
      return;
    case SkinCmdGetBackground:
      if (Message.LParam)
        d->FillBackgroundRequest(*reinterpret_cast<BackgroundRequest*>(Message.LParam), 0, wnd);
      return;
    case SkinCmdGetSkinData:
      Message.Result = reinterpret_cast<LRESULT>(d);
      return;
    case SkinCmdSetPrintDC:
      if (Message.LParam)
        d->StateFlags |= sfPrintDC;
      else
        d->StateFlags &= static_cast<uint16_t>(~sfPrintDC);
      d->PrintDC = reinterpret_cast<HDC>(Message.LParam);
      passOn();
      return;
    case SkinCmdGetApplication:
      Message.Result = reinterpret_cast<LRESULT>(Application);
      return;
    default:
      if (!HandleSkinCommand(Message, d)) passOn();
      return;
  }
}
