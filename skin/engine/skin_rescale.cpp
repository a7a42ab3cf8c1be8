#include "skin/engine/skin_rescale.h"

#include <windows.h>

#include "skin/engine/common_data.h"
#include "skin/engine/image_list_link.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "widgets/controls/controls.h"
#include "widgets/forms/forms.h"

namespace {

// Provider state bits set for the time of a rescale.
constexpr uint32_t psRescaling = 0x1180;

class TAnimationOff {
 public:
  explicit TAnimationOff(TvlSkinEffects* Effects)
      : effects_(Effects), saved_(Effects->AllowAnimation()) {
    effects_->SetAllowAnimation(false);
  }
  ~TAnimationOff() { effects_->SetAllowAnimation(saved_); }
  TAnimationOff(const TAnimationOff&) = delete;
  TAnimationOff& operator=(const TAnimationOff&) = delete;

 private:
  TvlSkinEffects* effects_;
  bool saved_;
};

void ShowWithoutActivating(HWND Wnd, UINT Show) {
  SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
               Show | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void RescaleControl(TsSkinManager* Manager, TControl* Control, int DefaultPercent) {
  int current = static_cast<int>(PerformSkinCommand(Control, SkinCmdGetScale, 0));
  if (current == 0) current = DefaultPercent;
  const int target = DpiPercentTable[static_cast<size_t>(EffectiveDpiLevel(Manager))];
  if (current == target || current <= 0) return;
  const int newWidth = MulDiv(Control->Width(), target, current);
  const int newHeight = MulDiv(Control->Height(), target, current);
  const TRect old = Control->BoundsRect();
  TAnimationOff animationOff(Manager->Effects());
  auto* windowed = dynamic_cast<TWinControl*>(Control);
  HWND hidden = nullptr;
  if (windowed && windowed->HandleAllocated() && IsWindowVisible(windowed->Handle())) {
    hidden = windowed->Handle();
    ShowWithoutActivating(hidden, SWP_HIDEWINDOW);
  }
  if (windowed) windowed->DisableAlign();
  Control->ChangeScale(target, current);
  Control->SetBounds(old.Left, old.Top, newWidth, newHeight);
  PerformSkinCommand(Control, SkinCmdSetScale, target);
  if (windowed) windowed->EnableAlign();
  if (hidden) ShowWithoutActivating(hidden, SWP_SHOWWINDOW);
  if (target < current) {
    const RECT r{old.Left, old.Top, old.Right, old.Bottom};
    InvalidateRect(GetDesktopWindow(), &r, TRUE);
  }
}

void RescaleAll(TsSkinManager* Manager) {
  // Image lists first: the forms' controls draw from them once thawed.
  if (ImageListLink.RescaleAll) ImageListLink.RescaleAll(EffectiveDpiLevel(Manager));
  // By index: a rescale may make or free forms.
  for (size_t i = 0; i < SkinnedFormsRegistry.size(); ++i)
    if (auto* form = dynamic_cast<TControl*>(SkinnedFormsRegistry[i]))
      RescaleControl(Manager, form, 100);
}

void ScaleFreezeProc(TsSkinProvider* Provider, intptr_t Data) {
  const bool thaw = (Data & 1) != 0;
  // A border form would be refreshed and hidden here; the provider of this
  // build has none.
  if (!thaw) {
    Provider->SetStateFlags(Provider->StateFlags() | psRescaling);
    Provider->InSkinChange = true;
    Provider->SetStateFlags(Provider->StateFlags() | psFrozen);
  } else {
    Provider->SetStateFlags(Provider->StateFlags() & ~(psFrozen | psRescaling));
    if (Provider->SkinData) Provider->SkinData->BgChanged = true;
    PerformSkinCommand(Provider->Form, SkinCmdPrepareCache, 0);
    Provider->SetStateFlags(0);
  }
  Provider->Form->Perform(WM_SETREDRAW, thaw ? 1 : 0, 0);
}
