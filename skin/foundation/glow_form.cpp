#include "skin/foundation/glow_form.h"

#include "skin/foundation/skin_const.h"

const TClassInfo& TvlGlowForm::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TvlGlowForm>("TvlGlowForm", &TCustomForm::StaticClass()).Done();
  return info;
}

void TvlGlowForm::AfterConstruction() {
  TCustomForm::AfterConstruction();
  SetTag(NoSkinTag);
  SetBorderStyle(bsNone);
}

void TvlGlowForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SHOWWINDOW:
    case CM_VISIBLECHANGED:
      // Hidden without the platform handing the activation to another window.
      if (Message.WParam == 0 && HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_HIDEWINDOW |
                         SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
      break;
    case WM_NCHITTEST:
      // The mouse goes through to what lies below.
      Message.Result = HTTRANSPARENT;
      return;
  }
  TCustomForm::WndProc(Message);
}

void TvlGlowForm::CreateWnd() {
  TCustomForm::CreateWnd();
  HWND h = Handle();
  SetWindowLongPtrA(h, GWL_EXSTYLE,
                    GetWindowLongPtrA(h, GWL_EXSTYLE) | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW);
  SetClassLongPtrA(h, GCL_STYLE,
                   GetClassLongPtrA(h, GCL_STYLE) & ~static_cast<LONG_PTR>(CS_DROPSHADOW));
}
