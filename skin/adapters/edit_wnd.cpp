// The edit adapter's construction, its colours, their restoration, and the
// routines that keep a control's adapter in step with its skinning.
#include "skin/adapters/edit_wnd.h"

#include "skin/adapters/adapter_routines.h"
#include "skin/adapters/adapter_unit.h"
#include "skin/engine/common_data.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/skin_const.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/rtl/flag_scope.h"
#include "widgets/rtl/reflection.h"

namespace {

constexpr char kFocusColor[] = "FocusColor";

TvlMainWnd* MakeBaseWnd() {
  return new TvlBaseWnd;
}

TvlMainWnd* MakeEditWnd() {
  return new TvlEditWnd;
}

bool HasProp(TObject* Control, const char* Name) {
  return Control && PropExists(Control, Name);
}

// The font colour of a control set as the skin's own change: the library
// marks it (so its handlers do not take it for the user's) and the font
// does not tell the control, which would make its window again.
void SetSkinFontColor(TsCommonData* Data, TControl* Control, TColor Color) {
  TFlagScope marked(Data->StateFlags, sfSkinFontColor);
  TFontChangeOff quiet(Control->Font());
  Control->Font()->SetColor(Color);
}

}  // namespace

const TvlAdapterClass& TvlBaseWnd::AdapterClass() {
  static const TvlAdapterClass c = [] {
    TvlAdapterClass k{"TvlBaseWnd", &MakeBaseWnd};
    RegisterAdapterClass(k);
    return k;
  }();
  return c;
}

const TvlAdapterClass& TvlEditWnd::AdapterClass() {
  static const TvlAdapterClass c = [] {
    TvlAdapterClass k{"TvlEditWnd", &MakeEditWnd};
    RegisterAdapterClass(k);
    return k;
  }();
  return c;
}

// ---- Construction -----------------------------------------------------------------------

void TvlEditWnd::Construct(HWND Wnd, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
                           TvlSkinParams& Params, bool Repaint) {
  ControlAddedPending = false;
  if (!Wnd) {
    // Nothing to adapt: the object only stands for a window that never was.
    Released = true;
    return;
  }
  WindowHandle = Wnd;
  SavedWindowMethod = nullptr;
  SavedWindowProc = nullptr;
  ProcInstance = nullptr;
  SkinManager = ASkinManager;
  Released = false;
  PaintingFrame = false;
  const bool given = ASkinData != nullptr;
  if (given) {
    SkinData = ASkinData;
  } else {
    OwnsSkinData = true;
    CreateSkinData();
    if (!Params.SectionName.empty()) SkinData->SetSkinSection(Params.SectionName);
    SkinData->Control = Params.TargetControl;
    // Such an edit sits in a panel's frame: it shows no border of its own.
    if (HasProp(Params.TargetControl, "PanelBorder")) SkinData->SetSkinSection("TRANSPARENT");
    SkinData->OwnerObject = Params.TargetControl;
    SkinData->SetCustomFont(!Params.SkinFontColor);
    SkinData->SetCustomColor(!Params.SkinColor);
    if (auto* sd = dynamic_cast<TsScrollWndData*>(SkinData)) {
      if (Params.HScrollButtonSize >= 0)
        sd->HorzScrollData->SetButtonsSize(Params.HScrollButtonSize);
      if (Params.VScrollButtonSize >= 0)
        sd->VertScrollData->SetButtonsSize(Params.VScrollButtonSize);
      if (Params.HScrollWidth >= 0) sd->HorzScrollData->SetScrollWidth(Params.HScrollWidth);
      if (Params.VScrollWidth >= 0) sd->VertScrollData->SetScrollWidth(Params.VScrollWidth);
    }
  }
  SkinData->WndHandle = Wnd;
  // Kind 231 marks the skin state this adapter made for the window, whatever
  // the control behind it is.
  if (OwnsSkinData) SkinData->ControlKind = ckEditWindow;
  if (SkinData->SkinSection.empty() && SkinData->ControlKind > ckGraphicControl)
    SkinData->SetSkinSection(Params.SectionName.empty() ? "EDIT" : Params.SectionName);
  SaveControlColors();
  ColorsApplied = false;
  DialogMode = AdapterDialogMode;
  WindowText = GetWindowTextWide(Wnd);

  HookWindow(Repaint);
  // A window that could not be hooked stays as it was.
  if (Released) return;

  if (SetWindowThemeProc && !KeepsVisualStyles(Repaint) && Params.SectionName != "DIALOG") {
    bool off;
    if (given)
      off = !(SkinData->ControlKind == ckListView && WindowsVersion >= 6) &&
            !HasProp(SkinData->Control, "UseXPThemes");
    else
      off = WindowsVersion < 6 || Params.SectionName == "COMBOBOX";
    if (off) SwitchVisualStylesOff();
  }
  if (TControl* control = SkinData->Control) {
    SavedControlStyle = control->ControlStyle();
    SingleLineEdit =
        dynamic_cast<TCustomEdit*>(control) && !(GetWindowLongPtrW(Wnd, GWL_STYLE) & ES_MULTILINE);
    control->SetControlStyle(SavedControlStyle | csOpaque);
  } else {
    SingleLineEdit = false;
  }
  AfterCreation();
}

TvlEditWnd::~TvlEditWnd() {
  // Freed through TObject::Free the release ran while the object was whole.
  // Deleted plainly, the base's destructor runs the base's RestoreControl
  // only: the colours this class pushed are given back here, once the
  // window is let go, so no message reaches an object being destroyed.
  if (Released) return;
  Unhook(true);
  RestoreColors();
}

// ---- Colours ----------------------------------------------------------------------------

void TvlEditWnd::SaveControlColors() {
  TControl* control = SkinData ? SkinData->Control : nullptr;
  if (!control) return;
  SavedColor = control->Color();
  SavedFontColor = control->Font()->Color();
  if (HasProp(control, kFocusColor))
    SavedFocusColor = static_cast<TColor>(GetColorPropValue(control, kFocusColor));
}

void TvlEditWnd::ApplySkinColors() {
  if (InFrameCalc || !SkinData) return;
  TFlagScope guard(InFrameCalc);
  TsCommonData* d = SkinData;
  d->Updating = true;
  ColorsApplied = true;
  TsSkinManager* m = d->SkinManager();
  if (!m || !SectionIndexValid(m, d->SkinIndex)) {
    FrameColor = 0;
    d->Updating = false;
    return;
  }
  const TsGeneralData& section = m->Sections[static_cast<size_t>(d->SkinIndex)];
  if (TControl* control = d->Control) {
    const int state = d->CurrentState() != 0 && section.StateCount > 1 ? 1 : 0;
    if (!d->CustomColor) {
      const TColor c = d->BgColor(state, WindowHandle);
      if (HasProp(control, kFocusColor)) {
        if (control->Color() != c) control->SetColor(c);
        SetColorPropIfPresent(control, kFocusColor, c);
      } else if (control->Color() != c) {
        control->SetColor(c);
      }
      BackgroundColor = c;
    }
    if (Released) return;
    if (!d->CustomFont) {
      const TColor fc = static_cast<TColor>(section.Props[static_cast<size_t>(state)].FontColor);
      if (fc != control->Font()->Color()) SetSkinFontColor(d, control, fc);
      // The control may have let go of the adapter in a handler of the change.
      if (Released) return;
    }
  } else {
    if (!d->CustomColor)
      BackgroundColor = DialogMode ? clWindow : static_cast<TColor>(section.Props[0].Color);
    FrameColor = m->SkinPalette[27];
  }
  d->BgChanged = true;
  d->Updating = false;
}

void TvlEditWnd::RestoreColors() {
  TControl* control = SkinData ? SkinData->Control : nullptr;
  if (!control || control->HasState(csDestroying)) return;
  if (!SkinData->CustomColor) control->SetColor(clWindow);
  if (!SkinData->CustomFont) SetSkinFontColor(SkinData, control, clWindowText);
  if (HasProp(control, kFocusColor)) SetColorPropIfPresent(control, kFocusColor, SavedFocusColor);
  // The next skin pushes its colours again at the first paint.
  ColorsApplied = false;
}

void TvlEditWnd::RestoreControl() {
  TvlBaseWnd::RestoreControl();
  RestoreColors();
  TControl* control = SkinData ? SkinData->Control : nullptr;
  if (control && control->HasState(csDestroying)) return;
  if (WindowHandle && IsWindow(WindowHandle) && AdapterWindowShown(this))
    RefreshWindowFrame(WindowHandle, true);
}

// ---- Keeping a control's adapter in step -------------------------------------------------

namespace {

bool ControlNotReady(TsCommonData* Data, bool CheckLoading) {
  TControl* c = Data->Control;
  if (!c) return false;
  if (CheckLoading && c->HasState(csLoading)) return true;
  return c->HasState(csDestroying) || c->HasState(csDesigning);
}

HWND ControlWindow(TsCommonData* Data) {
  if (auto* w = dynamic_cast<TWinControl*>(Data->Control))
    return w->HandleAllocated() ? w->Handle() : nullptr;
  return Data->WndHandle;
}

template <typename T>
void UpdateAdapter(TsScrollWndData* SkinData, T*& Adapter, bool FlatBars) {
  if (!SkinData || ControlNotReady(SkinData, FlatBars)) return;
  HWND wnd = ControlWindow(SkinData);
  if (SkinData->Skinned(false)) {
    if (FlatBars && UninitializeFlatSBProc && wnd) UninitializeFlatSBProc(wnd);
    if (Adapter && Adapter->Released) ReleaseScrollWndAdapter(wnd, true, false, Adapter);
    if (!Adapter && wnd) {
      TvlSkinParams params;
      params.SectionName.clear();
      Adapter = CreateAdapter<T>(wnd, SkinData, SkinData->SkinManager(), params, true);
    }
  } else {
    if (Adapter) ReleaseScrollWndAdapter(wnd, true, false, Adapter);
    if (FlatBars && InitializeFlatSBProc && wnd) InitializeFlatSBProc(wnd);
  }
}

}  // namespace

void UpdateScrollWndAdapter(TsScrollWndData* SkinData, TvlScrollWnd*& Adapter) {
  UpdateAdapter(SkinData, Adapter, true);
}

void UpdateEditWndAdapter(TsScrollWndData* SkinData, TvlEditWnd*& Adapter) {
  UpdateAdapter(SkinData, Adapter, false);
}
