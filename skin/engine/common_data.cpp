// Construction, registration on the window and the property setters of the
// per-control skin state.
#include "skin/engine/common_data.h"

#include "skin/engine/anim_timer.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/outer_effects.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/foundation/argb_factories.h"
#include "widgets/controls/controls.h"
#include "widgets/graphics/graphics.h"

namespace {

constexpr const char* kSkinDataProp = "VLSDATA";

}  // namespace

const TClassInfo& TsCommonData::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsCommonData> b("TsCommonData", &TPersistent::StaticClass());
    b.Bool(
        "CustomColor", [](const TsCommonData& d) { return d.CustomColor; },
        [](TsCommonData& d, int v) { d.SetCustomColor(v != 0); }, false);
    b.Bool(
        "CustomFont", [](const TsCommonData& d) { return d.CustomFont; },
        [](TsCommonData& d, int v) { d.SetCustomFont(v != 0); }, false);
    TPropInfo& manager = b.Obj(
        "SkinManager", TPropKind::Component, TsSkinManager::StaticClass(),
        [](const TsCommonData& d) -> TObject* { return d.SkinManager(); },
        [](TsCommonData& d, TObject* v) { d.SetSkinManager(dynamic_cast<TsSkinManager*>(v)); });
    // Stored only with a manager of its own, so a control that follows the
    // default manager keeps following it.
    manager.Stored = [](const TObject* o) {
      return static_cast<const TsCommonData*>(o)->OwnManager != nullptr;
    };
    b.Str(
        "SkinSection", [](const TsCommonData& d) { return d.SkinSection; },
        [](TsCommonData& d, const std::string& v) { d.SetSkinSection(v); });
    b.Obj(
        "OuterEffects", TPropKind::Object, TvlOuterEffects::StaticClass(),
        [](const TsCommonData& d) -> TObject* { return d.OuterEffects; }, nullptr);
    return b.Done();
  }();
  return info;
}

const TClassInfo& TsCtrlSkinData::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsCtrlSkinData> b("TsCtrlSkinData", &TsCommonData::StaticClass());
    b.Int(
        "HUEOffset", [](const TsCtrlSkinData& d) { return d.HUEOffset; },
        [](TsCtrlSkinData& d, int v) { d.SetHUEOffset(v); }, 0);
    b.Int(
        "Saturation", [](const TsCtrlSkinData& d) { return d.Saturation; },
        [](TsCtrlSkinData& d, int v) { d.SetSaturation(v); }, 0);
    b.Color(
        "ColorTone", [](const TsCtrlSkinData& d) { return d.ColorTone; },
        [](TsCtrlSkinData& d, int v) { d.SetColorTone(v); }, clNone);
    return b.Done();
  }();
  return info;
}

TsCommonData::TsCommonData(TPersistent* AOwner, bool CreateCacheBmp) {
  Control = dynamic_cast<TControl*>(AOwner);
  if (auto* win = dynamic_cast<TWinControl*>(Control)) OwnerWndProc = win->WindowProc;
  OwnerObject = AOwner;
  OuterEffects = new TvlOuterEffects(this);
  if (CreateCacheBmp) CacheBitmap = NewArgbBitmap(0, 0);
  RegisterSkinData(this);
}

TsCommonData::~TsCommonData() {
  UnregisterSkinData(this);
  SkinIndex = TextureIndex = HotTextureIndex = -1;
  if (OwnManager) OwnManager->RemoveUser(this);
  OwnManager = nullptr;
  ClearSkinDataOwner(this);
  if (AnimTimer) {
    TvlThreadedTimer* timer = AnimTimer;
    AnimTimer = nullptr;
    if (timer->SkinData == this) timer->SkinData = nullptr;
    if (!timer->Destroying && !timer->HasState(csDestroying)) TObject::Free(timer);
  }
  TObject::Free(CacheBitmap);
  CacheBitmap = nullptr;
  HideGlow(GlowIndex, false);
  TObject::Free(OuterEffects);
  OuterEffects = nullptr;
  TObject::Free(ShadowBitmap);
  ShadowBitmap = nullptr;
}

// ---- Registration ---------------------------------------------------------------

HWND SkinDataHandle(const TsCommonData* SkinData) {
  if (!SkinData) return nullptr;
  TControl* c = SkinData->Control;
  if (!c || c->HasState(csDestroying)) return SkinData->WndHandle;
  auto* win = dynamic_cast<TWinControl*>(c);
  return (win && win->HandleAllocated()) ? win->Handle() : nullptr;
}

void RegisterSkinData(TsCommonData* SkinData) {
  HWND h = SkinDataHandle(SkinData);
  if (!h) return;
  auto* win = dynamic_cast<TWinControl*>(SkinData->Control);
  if (!SkinData->OwnerWndProc && win) SkinData->OwnerWndProc = win->WindowProc;
  SetPropA(h, kSkinDataProp, SkinData);
}

void UnregisterSkinData(TsCommonData* SkinData) {
  if (!SkinData) return;
  auto removeFrom = [SkinData](HWND h) {
    if (h && GetPropA(h, kSkinDataProp) == SkinData) RemovePropA(h, kSkinDataProp);
  };
  removeFrom(SkinDataHandle(SkinData));
  // A control being destroyed still has its window until its base class
  // destroys it; the property must not outlive the skin state there either.
  if (auto* win = dynamic_cast<TWinControl*>(SkinData->Control))
    if (win->HandleAllocated()) removeFrom(win->Handle());
}

void ClearSkinDataOwner(TsCommonData* SkinData) {
  SkinData->Control = nullptr;
  SkinData->OwnerObject = nullptr;
  SkinData->WndHandle = nullptr;
}

TsCommonData* GetSkinDataProp(HWND Wnd) {
  if (!Wnd) return nullptr;
  return static_cast<TsCommonData*>(GetPropA(Wnd, kSkinDataProp));
}

// ---- Properties ---------------------------------------------------------------------

TsSkinManager* TsCommonData::SkinManager() const {
  return OwnManager ? OwnManager : DefaultManager;
}

void TsCommonData::SetSkinManager(TsSkinManager* Value) {
  if (Value == OwnManager) return;
  if (OwnManager) OwnManager->RemoveUser(this);
  OwnManager = Value == DefaultManager ? nullptr : Value;
  if (OwnManager) OwnManager->AddUser(this);
  if (Control && Control->HasState(csLoading)) return;
  const bool hasSections = Value && !Value->Sections.empty();
  if (hasSections)
    UpdateIndexes(true);
  else
    SkinIndex = -1;
  if (dynamic_cast<TsSkinProvider*>(OwnerObject) || !Control || !Control->Parent() ||
      Control->HasState(csDestroying))
    return;
  const bool refresh = hasSections && SectionIndexValid(Value, SkinIndex);
  Control->Perform(SkinCommandMessage, SkinCmdParam(refresh ? SkinCmdRefresh : SkinCmdRemoveSkin),
                   reinterpret_cast<LPARAM>(Value));
}

void TsCommonData::SetSkinSection(const std::string& Value) {
  if (Value == SkinSection) return;
  HideGlow(GlowIndex, false);
  SkinSection = UpperCase(Value);
  TsSkinManager* manager = SkinManager();
  const bool hasSections = manager && !manager->Sections.empty();
  if (hasSections)
    UpdateIndexes(true);
  else
    SkinIndex = -1;
  if (!Control || !Control->Parent() || Control->HasState(csLoading | csReading | csDestroying)) {
    if (dynamic_cast<TsSkinProvider*>(OwnerObject)) BgChanged = true;
    return;
  }
  if (auto* win = dynamic_cast<TWinControl*>(Control)) {
    if (CacheBitmap) CacheBitmap->SetWidth(0);
    TMessage m;
    MakeMessage(SkinCommandMessage, SkinCmdParam(SkinCmdBgChanged, 1), 0, 0, m);
    BroadcastToChildControls(win, m);
  }
  if (Updating || NotLoaded) {
    if (!NotLoaded) ApplyStateColors(false);
    return;
  }
  const bool refresh = hasSections && SectionIndexValid(manager, SkinIndex);
  Control->Perform(SkinCommandMessage,
                   SkinCmdParam(refresh ? SkinCmdRefresh : SkinCmdRemoveSkin, 1),
                   reinterpret_cast<LPARAM>(manager));
}

void TsCommonData::SetCustomColor(bool Value) {
  if (CustomColor == Value) return;
  CustomColor = Value;
  if (!Control || Control->HasState(csLoading) || NotLoaded) return;
  if (Value && SavedColor != clNone)
    Control->SetColor(SavedColor);
  else
    SavedColor = Control->Color();
  ApplySectionColors(true);
}

void TsCommonData::SetCustomFont(bool Value) {
  if (CustomFont == Value) return;
  CustomFont = Value;
  if (!Control || Control->HasState(csLoading) || NotLoaded) return;
  if (Value && SavedFontColor != clNone)
    Control->Font()->SetColor(SavedFontColor);
  else
    SavedFontColor = Control->Font()->Color();
  ApplySectionColors(true);
}

void TsCtrlSkinData::SetColorTone(TColor Value) {
  if (ColorTone == Value) return;
  ColorTone = Value;
  Loaded(true);
  Invalidate(false);
}

void TsCtrlSkinData::SetHUEOffset(int Value) {
  if (HUEOffset == Value) return;
  HUEOffset = Value;
  Loaded(true);
  Invalidate(false);
}

void TsCtrlSkinData::SetSaturation(int Value) {
  if (Saturation == Value) return;
  Saturation = Value;
  Loaded(true);
  Invalidate(false);
}
