#include "skin/engine/services_forms.h"

#include "skin/engine/common_data.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"

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

TsSkinProvider::TsSkinProvider(TComponent* AOwner) : TComponent(AOwner) {
  SkinData = new TsCommonData(this, false);
  Form = dynamic_cast<TCustomForm*>(AOwner);
  if (!Form) return;
  formWndProc_ = Form->WindowProc;
  Form->WindowProc = TWndMethod::Of<&TsSkinProvider::FormWndProc>(this);
  RegisterSkinnedForm(Form);
  AttachSkinData();
}

void TsSkinProvider::AttachSkinData() {
  // The form's skin state lives on the form's window, so the walks over the
  // application's forms see the form as skinned and leave it to the
  // registry's walk.
  if (!Form->HandleAllocated()) return;
  SkinData->WndHandle = Form->Handle();
  RegisterSkinData(SkinData);
}

TsSkinProvider::~TsSkinProvider() {
  if (Form) {
    UnregisterSkinnedForm(Form);
    // Given back only when nobody hooked the form after us; a later hook
    // keeps calling through ours, so it must outlive us anyway.
    if (Form->WindowProc == TWndMethod::Of<&TsSkinProvider::FormWndProc>(this))
      Form->WindowProc = formWndProc_;
  }
  TObject::Free(FormImage);
  FormImage = nullptr;
  TObject::Free(SkinData);
  SkinData = nullptr;
}

void TsSkinProvider::FormWndProc(TMessage& Message) {
  if (Message.Msg == SkinCommandMessage && SkinCmdCode(Message.WParam) == SkinCmdGetProvider) {
    Message.Result = reinterpret_cast<LRESULT>(this);
    return;
  }
  if (Message.Msg == WM_NCCREATE || Message.Msg == WM_CREATE) AttachSkinData();
  if (Message.Msg == WM_NCDESTROY) {
    UnregisterSkinData(SkinData);
    SkinData->WndHandle = nullptr;
  }
  if (formWndProc_) formWndProc_(Message);
}

void TsSkinProvider::SetStateFlags(uint32_t NewFlags) {
  const uint32_t old = stateFlags_;
  stateFlags_ = NewFlags;
  if (!Form) return;
  // One DisableAlign per bit that goes on, one EnableAlign per bit that goes
  // off, so the two always pair up.
  for (uint32_t bit : {psMinimizing, psRestoring}) {
    if (!(old & bit) && (NewFlags & bit))
      Form->DisableAlign();
    else if ((old & bit) && !(NewFlags & bit))
      Form->EnableAlign();
  }
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

std::unique_ptr<TvlProviderList> DialogAdapterList;

LRESULT CALLBACK DialogHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  // The next hook is called first; the handle argument is ignored on the NT
  // family, the only one this hook is installed on.
  // Skinning the created and activated windows comes with the form
  // skinning; until then nothing here can throw.
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

void ReleaseMenuWindows() {
  // The dialog hook makes no popup-menu adapters yet, so there is nothing
  // to free.
}
