#include "skin/engine/main_form_hook.h"

#include <optional>

#include "skin/engine/layered_windows.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/vl_utils.h"
#include "skin/engine/window_animations.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/glow_form.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/flag_scope.h"

namespace {

// Set while the hook minimizes or restores the application itself: the
// command it sends comes back through the hook and must reach the
// application window's own handling.
bool hookChangesWindowState = false;

constexpr UINT kRedrawWhole =
    RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;
constexpr DWORD kHasIconicBitmap = 10;           // DWMWA_HAS_ICONIC_BITMAP
constexpr DWORD kForceIconicRepresentation = 7;  // DWMWA_FORCE_ICONIC_REPRESENTATION

TCustomForm* MainFormWithHandle() {
  TCustomForm* form = Application ? Application->MainForm() : nullptr;
  return form && form->HandleAllocated() ? form : nullptr;
}

// Asked of the form itself, so a form that fails to answer fails here.
TsSkinProvider* ProviderOf(TCustomForm* Form) {
  if (!Form) return nullptr;
  return reinterpret_cast<TsSkinProvider*>(
      Form->Perform(SkinCommandMessage, SkinCmdParam(SkinCmdGetProvider), 0));
}

bool MinimizingAllowed(const TsSkinManager* Manager) {
  return Manager->AnimEffects()->Minimizing()->Active() && Manager->Effects()->AllowAnimation();
}

// The system's own minimize and restore animation, off for a scope: the
// skinned form animates itself, or is out of sight already.
class TSystemAnimationOff {
 public:
  TSystemAnimationOff() : was_(GetMinAnimate()) {
    if (was_) SetMinAnimate(false);
  }
  ~TSystemAnimationOff() {
    if (was_) SetMinAnimate(true);
  }
  TSystemAnimationOff(const TSystemAnimationOff&) = delete;
  TSystemAnimationOff& operator=(const TSystemAnimationOff&) = delete;

 private:
  bool was_;
};

void MinimizeApplication() {
  TFlagScope own(hookChangesWindowState);
  TSystemAnimationOff off;
  Application->Minimize();
}

void RestoreApplication(bool SystemAnimationOff) {
  TFlagScope own(hookChangesWindowState);
  std::optional<TSystemAnimationOff> off;
  if (SystemAnimationOff) off.emplace();
  Application->Restore();
}

// The restore animation did not start: the form comes back at once, behind
// the minimize snapshot while that still shows it.
void BringBackByHand(TCustomForm* Form, TsSkinProvider* Provider) {
  HWND h = Form->Handle();
  if (TvlGlowForm* snapshot = Provider->MinimizeSnapshot) {
    SetWindowPos(h, snapshot->Handle(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Form->Invalidate();
    RedrawWindow(h, nullptr, nullptr, kRedrawWhole);
    Provider->MinimizeSnapshot = nullptr;
    TObject::Free(snapshot);
    return;
  }
  ShowWindow(h, SW_RESTORE);
  Form->Invalidate();
  RedrawWindow(h, nullptr, nullptr, kRedrawWhole);
}

}  // namespace

bool HookExitAnimation(TsSkinManager* Manager, const TMessage& Message) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  if (!pos || !(pos->flags & SWP_HIDEWINDOW)) return false;
  const TvlFormHide* hide = Manager->AnimEffects()->FormHide();
  if (!LayeredWindowsAvailable() || !hide->Active() || !Manager->Effects()->AllowAnimation() ||
      hide->Time() == 0)
    return false;
  if (IsIconic(Application->Handle()) || !Application->Terminated()) return false;
  TCustomForm* form = MainFormWithHandle();
  if (!form || !form->Visible()) return false;
  TsSkinProvider* provider = ProviderOf(form);
  if (!provider || !provider->DrawNonClientArea || provider->ExitAnimationDone ||
      !provider->AllowAnimation)
    return false;
  provider->ExitAnimationDone = true;
  provider->SetStateFlags(provider->StateFlags() | psHideImagePrepared);
  provider->UpdateBorderRegion();
  if (DwmCompositionEnabled()) SetLayeredAlpha(form->Handle(), true, 254);
  form->Update();
  // Dialogs still fading out keep their own hide.
  DropHideTimer();
  AnimateFormHide(provider);
  // The process may end as soon as the hook returns: the fade ends first.
  while (GlobalAnimationActive) WaitWithMessages(10);
  return false;
}

bool HookMinimize(TsSkinManager* Manager) {
  if (hookChangesWindowState) return false;
  TCustomForm* form = MainFormWithHandle();
  if (IsIconic(Application->Handle()) || !form || !form->Visible()) return false;
  TsSkinProvider* provider = ProviderOf(form);
  if (!provider) return false;
  if (!MinimizingAllowed(Manager)) {
    provider->FreeBorderWindow();
    return false;
  }
  if (!provider->DrawNonClientArea) return false;
  // A minimized form that the application then ends is not faded out again.
  provider->ExitAnimationDone = true;
  const bool started = provider->StartMinimizeAnimation();
  bool handled = false;
  if (!DwmCompositionEnabled()) {
    MinimizeApplication();
    handled = true;
  }
  if (!started && !(provider->StateFlags() & psMinimizing)) provider->FreeBorderWindow();
  return handled;
}

bool HookRestore(TsSkinManager* Manager) {
  if (hookChangesWindowState) return false;
  TCustomForm* form = MainFormWithHandle();
  if (!form || !form->Showing()) return false;
  TsSkinProvider* provider = ProviderOf(form);
  if (!provider) return false;
  HWND h = form->Handle();
  const bool composition = DwmCompositionEnabled();
  if (provider->StateFlags() & psHideImagePrepared) {
    provider->SetStateFlags(provider->StateFlags() & ~psHideImagePrepared);
    if (!provider->BorderForm && provider->AllowExtBorders && Manager->ExtendedBorders())
      provider->DropCache();
    RestoreApplication(true);
    if (composition) {
      RedrawWindow(h, nullptr, nullptr, kRedrawWhole);
      const LONG_PTR ex = GetWindowLongPtrA(h, GWL_EXSTYLE);
      if (ex & WS_EX_LAYERED) SetWindowLongPtrA(h, GWL_EXSTYLE, ex & ~LONG_PTR{WS_EX_LAYERED});
    }
    return true;
  }
  if (MinimizingAllowed(Manager)) {
    if (!form->Visible() || !provider->DrawNonClientArea) return false;
    if (!provider->StartRestoreAnimation()) BringBackByHand(form, provider);
    if (composition) return false;
    RestoreApplication(true);
    return true;
  }
  if (!composition) return false;
  RestoreApplication(false);
  if (!IsWindowVisible(h)) ShowWindow(h, SW_SHOW);
  RedrawWindow(h, nullptr, nullptr, kRedrawWhole);
  return true;
}

bool HookTaskbarSysMenu() {
  TsSkinProvider* provider = nullptr;
  try {
    provider = ProviderOf(MainFormWithHandle());
  } catch (...) {
    // A form that cannot say whether it has a provider has none to show
    // the menu.
    provider = nullptr;
  }
  if (provider) {
    POINT p{};
    GetCursorPos(&p);
    provider->ShowSysMenu(p.x, p.y);
  }
  return true;
}

bool HookIconicRequest(TMessage& Message) {
  if (!UseIconicPreviews) return false;
  TsSkinProvider* provider = ProviderOf(MainFormWithHandle());
  if (!provider) return false;
  HWND app = Application->Handle();
  if (Message.Msg == WM_DWMSENDICONICTHUMBNAIL) {
    const int width = HIWORD(Message.LParam), height = LOWORD(Message.LParam);
    if (width && height)
      Message.Result = SetFormIconicThumbnail(app, provider, width, height) ? 1 : 0;
  } else {
    Message.Result = SetFormLivePreview(app, provider) ? 1 : 0;
  }
  return true;
}

void EnableIconicBitmaps(HWND Wnd, bool Enable) {
  if (!UseIconicPreviews) return;
  const BOOL value = Enable;
  if (SUCCEEDED(CallDwmSetWindowAttribute(Wnd, kHasIconicBitmap, &value, sizeof value)))
    CallDwmSetWindowAttribute(Wnd, kForceIconicRepresentation, &value, sizeof value);
  InvalidateIconicBitmaps(Wnd);
}
