#include "skin/adapters/adapter_base.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "skin/adapters/adapter_hook.h"
#include "skin/adapters/adapter_routines.h"
#include "skin/adapters/adapter_unit.h"
#include "skin/engine/common_data.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_manager.h"
#include "widgets/controls/window_procs.h"
#include "widgets/forms/forms.h"

bool PoisonFreedAdapters = false;

namespace {

constexpr char kAdapterProp[] = "VLSBSC";
constexpr char kSkinDataProp[] = "VLSDATA";

// Once the application is going away only the window's procedure is worth
// giving back: repaints and theme calls would reach half-torn-down state.
bool ShuttingDown() {
  return !Application || Application->Terminated();
}

std::vector<const TvlAdapterClass*>& ClassTable() {
  static std::vector<const TvlAdapterClass*> table;
  return table;
}

}  // namespace

// ---- Object lifetime -------------------------------------------------------------------

void* TvlMainWnd::operator new(std::size_t Size) {
  return ::operator new(Size);
}

void TvlMainWnd::operator delete(void* Block, std::size_t Size) {
  if (!Block) return;
  if (PoisonFreedAdapters) {
    // Kept, never reused: a later call through a stale pointer meets 0xDD
    // where the class table was.
    std::memset(Block, 0xDD, Size);
    return;
  }
  ::operator delete(Block);
}

TvlMainWnd::TvlMainWnd() = default;

const TvlAdapterClass& TvlMainWnd::AdapterClass() {
  static const TvlAdapterClass cls{"TvlMainWnd", []() -> TvlMainWnd* { return new TvlMainWnd; }};
  return cls;
}

TvlMainWnd* CreateAdapter(const TvlAdapterClass* Class, HWND Wnd, TsCommonData* SkinData,
                          TsSkinManager* SkinManager, TvlSkinParams& Params, bool Repaint) {
  if (!Class || !Class->Make) return nullptr;
  TvlMainWnd* adapter = Class->Make();
  try {
    adapter->Construct(Wnd, SkinData, SkinManager, Params, Repaint);
  } catch (...) {
    ReleaseWndAdapter(Wnd, true, false, adapter);
    throw;
  }
  return adapter;
}

void RegisterAdapterClass(const TvlAdapterClass& Class) {
  auto& table = ClassTable();
  for (const TvlAdapterClass* c : table)
    if (c == &Class) return;
  table.push_back(&Class);
}

const TvlAdapterClass* FindAdapterClass(const std::string& Name) {
  for (const TvlAdapterClass* c : ClassTable())
    if (Name == c->Name) return c;
  return nullptr;
}

// ---- Construction ----------------------------------------------------------------------

void TvlMainWnd::Construct(HWND Wnd, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
                           TvlSkinParams& Params, bool Repaint) {
  WindowHandle = Wnd;
  SavedWindowMethod = nullptr;
  SavedWindowProc = nullptr;
  ProcInstance = nullptr;
  SkinManager = ASkinManager;
  Released = false;
  if (ASkinData) {
    SkinData = ASkinData;
  } else {
    OwnsSkinData = true;
    CreateSkinData();
    // The data answers for the manager the adapter was made for.
    if (ASkinManager) SkinData->OwnManager = ASkinManager;
    if (!Params.SectionName.empty()) SkinData->SetSkinSection(Params.SectionName);
    SkinData->Control = Params.TargetControl;
    SkinData->OwnerObject = Params.TargetControl;
    SkinData->SetCustomFont(!Params.SkinFontColor);
    SkinData->SetCustomColor(!Params.SkinColor);
  }
  SkinData->WndHandle = Wnd;
  DialogMode = AdapterDialogMode;
  SaveControlColors();
  ColorsApplied = false;
  WindowText = GetWindowTextWide(Wnd);

  HookWindow(Repaint);
  // A window that could not be hooked stays exactly as it was: no theme
  // switch, no control style, no "VLSDATA".
  if (Released) return;

  // Switched off after the hook rather than before it, for the same reason.
  const bool keepStyles = SkinData->ControlKind == ckForm || IsPopupMenuAdapter() ||
                          Params.SectionName == "DIALOG" || AdapterDialogMode;
  if (!keepStyles) SwitchVisualStylesOff();

  if (SkinData->Control) {
    SavedControlStyle = SkinData->Control->ControlStyle();
    SkinData->Control->SetControlStyle(SavedControlStyle | csOpaque);
  }
  AfterCreation();
}

void TvlMainWnd::SwitchVisualStylesOff() {
  if (!SetWindowThemeProc || !WindowHandle) return;
  SetWindowThemeProc(WindowHandle, L" ", L" ");
  themeSwitched_ = true;
}

void TvlMainWnd::AfterCreation() {
  SkinData->NotLoaded = false;
  RegisterSkinData(SkinData);
}

void TvlMainWnd::SaveControlColors() {}

void TvlMainWnd::ApplySkinColors() {
  ColorsApplied = true;
}

void TvlMainWnd::CreateSkinData() {
  if (!SkinData) SkinData = New<TsCommonData>(nullptr, true);
  SkinData->NotLoaded = true;
}

void TvlMainWnd::RestoreControl() {
  if (OwnsSkinData && SkinData) UnregisterSkinData(SkinData);
  // The marker stays while the subclass stays, so a later skin never
  // stacks a second adapter on the window.
  if (WindowHandle && !Hooked() && GetPropA(WindowHandle, kAdapterProp) == this)
    RemovePropA(WindowHandle, kAdapterProp);
}

// ---- Hooking ---------------------------------------------------------------------------

void TvlMainWnd::HookWindow(bool Repaint) {
  (void)Repaint;
  CommonHook();
}

bool TvlMainWnd::CommonHook() {
  Scrolling = false;
  SetPropA(WindowHandle, kAdapterProp, this);
  TControl* target = AdapterHookTarget(SkinData);
  if (!target) {
    ProcInstance = MakeObjectInstance(TWndMethod::Of<&TvlMainWnd::MainWndProc>(this));
    if (!ProcInstance->Attach(WindowHandle)) {
      // Every slot of the window is taken: a clear failure that leaves the
      // window as it was.
      FreeObjectInstance(ProcInstance);
      ProcInstance = nullptr;
      RemovePropA(WindowHandle, kAdapterProp);
      Released = true;
      return false;
    }
    SavedWindowProc = ProcInstance->Previous();
    return true;
  }
  forwarder_ = TvlWindowForwarder::Hook(target, this, SavedWindowMethod);
  SkinData->OwnerWndProc = forwarder_->Event();
  return true;
}

bool TvlMainWnd::Hooked() const {
  if (ProcInstance) return ProcInstance->Attached() && !Released;
  return forwarder_ && forwarder_->Adapter == this;
}

bool TvlMainWnd::Unhook(bool Force) {
  if (forwarder_) {
    TvlWindowForwarder* f = forwarder_;
    const bool restored = f->Restore();
    if (!restored && !Force) return false;
    forwarder_ = nullptr;
    f->LetGo();
    if (SkinData && SkinData->OwnerWndProc == f->Event())
      SkinData->OwnerWndProc = SavedWindowMethod;
    return true;
  }
  if (!ProcInstance) return false;
  // The instance itself is freed with the adapter: its procedure may be on
  // the stack right now.
  if (!ProcInstance->Attached()) return true;  // the window is gone
  if (!ProcInstance->Installed()) {
    if (!Force) return false;
    // Freeing the instance turns its slot into a pass-through.
    return true;
  }
  ProcInstance->Detach();
  SavedWindowProc = nullptr;
  return true;
}

// ---- Frames and the entry ---------------------------------------------------------------

namespace {

// One active call of the adapter's procedure; the last one to leave
// deletes an adapter that was freed meanwhile.
class TFrame {
 public:
  TFrame(int& Depth, bool& Pending, TvlMainWnd* Adapter)
      : depth_(Depth), pending_(Pending), adapter_(Adapter) {
    ++depth_;
  }
  ~TFrame() {
    if (--depth_ == 0 && pending_) {
      // Once: a destructor that still sees a message must not free again.
      pending_ = false;
      TObject::Free(adapter_);
    }
  }
  TFrame(const TFrame&) = delete;
  TFrame& operator=(const TFrame&) = delete;

 private:
  int& depth_;
  bool& pending_;
  TvlMainWnd* adapter_;
};

}  // namespace

void TvlMainWnd::MainWndProc(TMessage& Message) {
  TFrame frame(frameDepth_, deletePending_, this);
  Guarded(this, [&] { WndProc(Message); });
}

LRESULT TvlMainWnd::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  {
    TFrame frame(frameDepth_, deletePending_, this);
    WndProc(m);
  }
  return m.Result;
}

LRESULT TvlMainWnd::CallPrevWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM& LParam) {
  if (SavedWindowMethod) {
    TMessage m{Msg, WParam, LParam, 0};
    SavedWindowMethod(m);
    LParam = m.LParam;
    return m.Result;
  }
  if (ProcInstance && ProcInstance->Attached()) {
    TMessage m{Msg, WParam, LParam, 0};
    TObjectInstance* instance = ProcInstance;
    if (!Guarded(this, [&] { instance->CallPrevious(m); })) return 0;
    return m.Result;
  }
  (void)Wnd;
  return 0;
}

// ---- Release and destruction -------------------------------------------------------------

TvlMainWnd* GetWindowAdapter(HWND Wnd) {
  if (!Wnd) return nullptr;
  return static_cast<TvlMainWnd*>(GetPropA(Wnd, kAdapterProp));
}

namespace {

bool AdapterWindowVisible(TvlMainWnd* Adapter) {
  // Under some platforms WM_SETREDRAW 0 clears WS_VISIBLE: a control's own
  // flag says whether it shows.
  if (Adapter->SkinData && Adapter->SkinData->Control) return Adapter->SkinData->Control->Visible();
  return IsWindowVisible(Adapter->WindowHandle) != FALSE;
}

}  // namespace

void ReleaseWndAdapter(HWND Wnd, bool Free, bool RecalcFrame, TvlMainWnd*& Adapter) {
  if (!Adapter) return;
  TvlMainWnd* a = Adapter;
  if (!a->Released) {
    const bool back = a->Unhook(false);
    a->RestoreControl();
    if (back) a->GiveVisualStylesBack();
    if (Wnd && IsWindow(Wnd) && !ShuttingDown() && AdapterWindowVisible(a))
      RefreshWindowFrame(Wnd, RecalcFrame);
    if (a->OwnsSkinData && a->SkinData) ClearSkinDataOwner(a->SkinData);
    a->Released = back;
  }
  if (!Free) return;
  a->SavedWindowProc = nullptr;
  a->SavedWindowMethod = nullptr;
  Adapter = nullptr;
  if (a->frameDepth_ > 0)
    a->deletePending_ = true;
  else
    TObject::Free(a);
}

void TvlMainWnd::DestroyGiveBack() {
  TControl* control = SkinData ? SkinData->Control : nullptr;
  if (control && SavedControlStyle) control->SetControlStyle(SavedControlStyle);
  // Always given back while the window runs through us: whoever frees the
  // adapter, the control must never keep a procedure of freed memory.
  Unhook(true);
  RestoreControl();
  GiveVisualStylesBack();
  Released = true;
}

// Whoever switched the styles off gives them back, manager or not, and
// whether the window is handed back by a release or by the destructor: a
// window let go without them would keep a classic frame in a themed program.
void TvlMainWnd::GiveVisualStylesBack() {
  HWND wnd = WindowHandle;
  if (!themeSwitched_ || !SetWindowThemeProc || !wnd || !IsWindow(wnd) || ShuttingDown()) return;
  bool giveStyles = true;
  if (auto* provider = dynamic_cast<TsSkinProvider*>(SkinData ? SkinData->OwnerObject : nullptr))
    giveStyles = provider->DrawNonClientArea;
  else if (SkinData && SkinData->ControlKind == ckListView)
    giveStyles = !DwmCompositionEnabled();
  if (giveStyles) SetWindowThemeProc(wnd, nullptr, nullptr);
  themeSwitched_ = false;
}

void TvlMainWnd::BeforeDestruction() {
  TObject::BeforeDestruction();
  DestroyStep();
}

TvlMainWnd::~TvlMainWnd() {
  // Only when the object was deleted without Free: the descendants' parts
  // are gone by now, so only the base gives the window back.
  DestroyStep();
}

void TvlMainWnd::DestroyStep() {
  if (destroying_) return;
  destroying_ = true;
  if (!Released) {
    DestroyGiveBack();
  } else if (SkinData && SkinData->Control && !SkinData->Control->HasState(csDestroying)) {
    RestoreControl();
  }
  if (ProcInstance) {
    // Still in a chain under someone else's procedure: the layer turns the
    // instance's slot into a pass-through that never reaches us again.
    FreeObjectInstance(ProcInstance);
    ProcInstance = nullptr;
  }
  if (SkinData && OwnsSkinData) {
    UnregisterSkinData(SkinData);
    if (WindowHandle && GetPropA(WindowHandle, kSkinDataProp) == SkinData)
      RemovePropA(WindowHandle, kSkinDataProp);
    TObject::Free(SkinData);
  }
  SkinData = nullptr;
  if (WindowHandle && GetPropA(WindowHandle, kAdapterProp) == this)
    RemovePropA(WindowHandle, kAdapterProp);
  SkinManager = nullptr;
}
