#include "skin/engine/skinned_forms.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "skin/engine/common_data.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/services_menus.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/vl_utils.h"
#include "skin/engine/window_animations.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/flag_scope.h"

std::vector<TComponent*> SkinnedFormsRegistry;
bool GlobalAnimationActive = false;
bool NewSkinBroadcastActive = false;

void RegisterSkinnedForm(TComponent* Form) {
  SkinnedFormsRegistry.push_back(Form);
}

void UnregisterSkinnedForm(TComponent* Form) {
  // Each entry of Form takes the last entry's place, so an entry moved in
  // is looked at again: a duplicate of Form never survives.
  auto& r = SkinnedFormsRegistry;
  for (size_t i = 0; i < r.size();) {
    if (r[i] == Form) {
      r[i] = r.back();
      r.pop_back();
    } else {
      ++i;
    }
  }
}

namespace {

// The widget layer has no form styles; an MDI child is known by its window.
bool IsMdiChild(TCustomForm* Form) {
  return Form->HandleAllocated() &&
         (GetWindowLongPtrA(Form->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
}

bool ApplicationIconic() {
  return Application && Application->HandleAllocated() && IsIconic(Application->Handle());
}

bool AnimatesSkinChange(TsSkinManager* Manager) {
  return Manager == DefaultManager && Manager->AnimEffects()->SkinChanging()->Active();
}

void SendToForm(TForm* Form, const TMessage& Message) {
  if (Form->HandleAllocated())
    SendMessageA(Form->Handle(), Message.Msg, Message.WParam, Message.LParam);
  BroadcastToChildControls(Form, Message);
}

void SnapshotBorderFormProc(TsSkinProvider* Provider, intptr_t) {
  // Without a border form there is no snapshot to take.
  Provider->InSkinChange = true;
}

void FreezeFormProc(TsSkinProvider* Provider, intptr_t) {
  Provider->InSkinChange = true;
  Provider->SetStateFlags(Provider->StateFlags() | psFrozen);
  Provider->Form->Perform(WM_SETREDRAW, 0, 0);
}

void UnfreezeFormProc(TsSkinProvider* Provider, intptr_t) {
  if (Provider->StateFlags() & psFrozen) Provider->Form->Perform(WM_SETREDRAW, 1, 0);
}

void FinishSkinChangeProc(TsSkinProvider* Provider, intptr_t Animate) {
  TCustomForm* form = Provider->Form;
  if (form->WindowState() == wsMinimized || !(Provider->StateFlags() & psFrozen)) return;
  Provider->SetStateFlags(Provider->StateFlags() & ~psSnapshotShown);
  if (Animate == 1) {
    TvlSkinChanging* anim = Provider->SkinData->SkinManager()->AnimEffects()->SkinChanging();
    if (anim->Active()) {
      if (Provider->DrawNonClientArea)
        AnimateTransition(form, anim->Time(), 255, atAero);
      else
        AnimateTransition(form, 0, 255, atFading);
    }
    Provider->InSkinChange = false;
    RedrawWindow(form->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  } else {
    SendMessageA(form->Handle(), WM_SETREDRAW, 1, 0);
  }
  Provider->SetStateFlags(Provider->StateFlags() & ~psFrozen);
}

// The design-time delivery: the forms of the designer itself are left out.
void BroadcastToDesignedForms(TMessage& Message, bool SkipEditorWindows) {
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    const std::string& name = form->Name();
    if (name.empty() || name == "AppBuilder" || name == "PropertyInspector") continue;
    if (SkipEditorWindows && (name.find("EditWindow_") != std::string::npos ||
                              name.find("DockSite") != std::string::npos))
      continue;
    BroadcastToChildControls(form, Message);
    BroadcastToSkinnedForms(Message);
  }
}

// Visits the windows of the visible dialogs the dialog hook took on.
template <typename F>
void ForEachVisibleDialog(F&& Visit) {
  // A receiver may end the dialog hook, and the list with it.
  for (size_t i = 0; DialogAdapterList && i < DialogAdapterList->size(); ++i) {
    const TvlDialogWnd* dialog = (*DialogAdapterList)[i]->DialogAdapter.get();
    if (dialog && IsWindowVisible(dialog->Handle)) Visit(dialog->Handle);
  }
}

}  // namespace

void ForEachSkinnedForm(TsSkinManager* Manager, TSkinnedFormProc Proc, intptr_t Data) {
  // By index: Proc may free forms, and the registry shrinks under the walk.
  for (size_t i = 0; i < SkinnedFormsRegistry.size(); ++i) {
    auto* form = dynamic_cast<TCustomForm*>(SkinnedFormsRegistry[i]);
    if (!form || !form->HandleAllocated() || form->Parent() || !form->Visible() ||
        form->WindowState() == wsMinimized || IsMdiChild(form))
      continue;
    auto* provider =
        reinterpret_cast<TsSkinProvider*>(PerformSkinCommand(form, SkinCmdGetProvider, 0));
    if (!provider || !provider->SkinData || provider->SkinData->SkinManager() != Manager) continue;
    Proc(provider, Data);
  }
}

void BeforeSkinChange(TsSkinManager* Manager) {
  if (ApplicationIconic() || Manager->Loading() || Manager->Destroying()) return;
  if (AnimatesSkinChange(Manager)) GlobalAnimationActive = true;
  ForEachSkinnedForm(Manager, SnapshotBorderFormProc, 0);
}

void FreezeSkinnedForms(TsSkinManager* Manager) {
  if (ApplicationIconic()) return;
  if (AnimatesSkinChange(Manager)) GlobalAnimationActive = true;
  ForEachSkinnedForm(Manager, FreezeFormProc, 0);
}

void AfterSkinChange(TsSkinManager* Manager, bool Animate) {
  if (ApplicationIconic()) return;
  if (Manager == DefaultManager) GlobalAnimationActive = false;
  ForEachSkinnedForm(Manager, UnfreezeFormProc, 0);
  ForEachSkinnedForm(Manager, FinishSkinChangeProc, Animate ? 1 : 0);
}

void BroadcastToForms(TMessage& Message) {
  if (Application) {
    for (int i = Application->ComponentCount() - 1; i >= 0; --i) {
      // A receiver may have freed components: the walk ends when it would
      // read past the end.
      if (i >= Application->ComponentCount()) break;
      auto* form = dynamic_cast<TForm*>(Application->Components(i));
      if (!form || form->HasState(csLoading | csDestroying) || IsMdiChild(form) ||
          IsSkinnedControl(form))
        continue;
      SendToForm(form, Message);
    }
  }
  BroadcastToSkinnedForms(Message);
}

void BroadcastToSkinnedForms(TMessage& Message) {
  for (size_t i = 0; i < SkinnedFormsRegistry.size(); ++i) {
    auto* form = dynamic_cast<TForm*>(SkinnedFormsRegistry[i]);
    if (form && !form->HasState(csDestroying)) SendToForm(form, Message);
  }
  ForEachVisibleDialog(
      [&](HWND Wnd) { SendMessageA(Wnd, Message.Msg, Message.WParam, Message.LParam); });
}

void BroadcastNewSkin(TsSkinManager* Manager, bool Repaint) {
  if (Manager->Loading()) return;
  const bool designing = Manager->Designing();
  if (Manager == DefaultManager) ClearGlows(false);
  if (!designing && Repaint) FreezeSkinnedForms(Manager);
  Manager->Menus->SkinBorderWidth = -1;
  Manager->CommonSkinData->Loaded = false;
  {
    TFlagScope broadcasting(NewSkinBroadcastActive);
    TMessage m{SkinCommandMessage, SkinCmdParam(SkinCmdNewSkin), reinterpret_cast<LPARAM>(Manager),
               0};
    if (designing)
      BroadcastToDesignedForms(m, false);
    else
      BroadcastToForms(m);
  }
  Manager->CommonSkinData->Loaded = true;
  if (Manager == DefaultManager && !Manager->DialogHookInstalled) Manager->InstallDialogHook();
  if (Repaint) BroadcastRepaint(Manager, false);
}

void BroadcastRemoveSkin(TsSkinManager* Manager) {
  Manager->RemovingSkin = true;
  ClearGlows(false);
  Manager->RemoveDialogHook();
  Manager->CommonSkinData->Loaded = false;
  TMessage m{SkinCommandMessage, SkinCmdParam(SkinCmdRemoveSkin), reinterpret_cast<LPARAM>(Manager),
             0};
  if (Manager->Designing())
    BroadcastToDesignedForms(m, true);
  else
    BroadcastToForms(m);
  Manager->ClearSkinImages();
  Manager->Sections.clear();
  Manager->RemovingSkin = false;
}

void BroadcastRepaint(TsSkinManager* Manager, bool Animate) {
  const bool designing = Manager->Designing();
  if (!designing) {
    TMessage stop{SkinCommandMessage, SkinCmdParam(SkinCmdStopAnimation), 0, 0};
    BroadcastToForms(stop);
  }
  TMessage m{SkinCommandMessage, SkinCmdParam(SkinCmdRefresh), reinterpret_cast<LPARAM>(Manager),
             0};
  if (designing) {
    BroadcastToDesignedForms(m, false);
  } else if (Manager->Loading()) {
    BroadcastToForms(m);
  } else {
    if (Animate) FreezeSkinnedForms(Manager);
    BroadcastToForms(m);
    AfterSkinChange(Manager, !Manager->UpdateLock);
  }
  ForEachVisibleDialog([](HWND Wnd) {
    RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
  });
}
