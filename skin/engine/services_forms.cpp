#include "skin/engine/services_forms.h"

#include "widgets/gdi_handles.h"
#include "widgets/graphics.h"

namespace {

using TDwmIsCompositionEnabled = HRESULT(WINAPI*)(BOOL*);

TDwmIsCompositionEnabled BoundDwmIsCompositionEnabled() {
  // Bound on first use and kept for the life of the process.
  static TOwnedModule dwm;
  static TDwmIsCompositionEnabled fn = [] {
    dwm.Reset(LoadLibraryA("dwmapi.dll"));
    if (!dwm) return TDwmIsCompositionEnabled(nullptr);
    return reinterpret_cast<TDwmIsCompositionEnabled>(
        reinterpret_cast<void*>(GetProcAddress(dwm.Get(), "DwmIsCompositionEnabled")));
  }();
  return fn;
}

}  // namespace

bool DwmCompositionEnabled() {
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&vi) || vi.dwMajorVersion < 6) return false;
#pragma GCC diagnostic pop
  auto fn = BoundDwmIsCompositionEnabled();
  BOOL on = FALSE;
  return fn && SUCCEEDED(fn(&on)) && on;
}

const TClassInfo& TsSkinProvider::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TsSkinProvider>("TsSkinProvider", &TComponent::StaticClass()).Done();
  return info;
}

LRESULT TsSkinProvider::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  if (ProviderWndProc) ProviderWndProc(m);
  return m.Result;
}

int ShowMessageBox(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int) {
  MSGBOXPARAMSA p{};
  p.cbSize = sizeof p;
  p.hwndOwner = GetActiveWindow();
  p.lpszText = Msg.c_str();
  const char* caption = "";
  switch (DlgType) {
    case mtWarning:
      caption = "Warning";
      p.dwStyle = MB_ICONWARNING;
      break;
    case mtError:
      caption = "Error";
      p.dwStyle = MB_ICONERROR;
      break;
    case mtInformation:
      caption = "Information";
      p.dwStyle = MB_ICONINFORMATION;
      break;
    case mtConfirmation:
      caption = "Confirm";
      p.dwStyle = MB_ICONQUESTION;
      break;
    case mtCustom:
      break;
  }
  const std::string title = DlgType == mtCustom ? MessageBoxTitle() : caption;
  p.lpszCaption = title.c_str();
  p.dwStyle |= (Buttons & MsgDlgButtons({mbCancel})) ? MB_OKCANCEL : MB_OK;
  TMessageBoxRequest r;
  r.Kind = TMessageBoxKind::MessageBoxIndirect;
  r.Owner = p.hwndOwner;
  r.Caption = title;
  r.Text = Msg;
  r.Style = p.dwStyle;
  r.Indirect = &p;
  return MessageBoxSink().Show(r);
}
