#include "skin/engine/manager_options.h"

#include "skin/engine/skin_rescale.h"
#include "skin/engine/skinned_forms.h"

#include <algorithm>
#include <climits>

#include "skin/engine/services_menus.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skin_rescale.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/controls/messages.h"

void (*InstallSysColorPatches)() = nullptr;
void (*RemoveSysColorPatches)() = nullptr;

namespace {

// A manager that is reading its form description, or is told to hold its
// repaints, takes no broadcast.
bool ManagerQuiet(const TsSkinManager* Manager) {
  return !Manager || Manager->Loading() || Manager->UpdateLock;
}

int DpiPercent(int Level) {
  return DpiPercentTable[static_cast<size_t>(std::clamp(Level, 0, 3))];
}

int ClampToInt(int64_t Value) {
  return static_cast<int>(std::clamp<int64_t>(Value, INT_MIN, INT_MAX));
}

}  // namespace

const TEnumInfo& ScaleModeInfo() {
  static const TEnumInfo e{{"sm100", "sm125", "sm150", "sm200", "smAuto", "smOldMode"}};
  return e;
}

const TEnumInfo& SkinningRuleInfo() {
  static const TEnumInfo e{{"srStdForms", "srStdDialogs", "srThirdParty"}};
  return e;
}

// ---- DPI levels --------------------------------------------------------------------

int EffectiveDpiLevel(const TsSkinManager* Manager) {
  if (!Manager || Manager->Designing() || !Manager->Options()) return 0;
  switch (Manager->Options()->ScaleMode()) {
    case smOldMode:
      return 0;
    case smAuto:
      return std::clamp(Manager->AppliedDpiLevel, 0, 3);
    default:
      return static_cast<int>(Manager->Options()->ScaleMode());
  }
}

int ScaleToDpiLevel(const TsSkinManager* Manager, int Value, int Level) {
  if (!Manager || !Manager->Options() || Manager->Options()->ScaleMode() == smOldMode) return Value;
  const int effective = EffectiveDpiLevel(Manager);
  const int64_t v = Value;
  if (Level == 0) {
    switch (effective) {
      case 1:
        return ClampToInt(v + v / 4);
      case 2:
        return ClampToInt(v + v / 2);
      case 3:
        return ClampToInt(2 * v);
      default:
        return Value;
    }
  }
  if (Level > 0 && Level < effective) return ClampToInt(v * DpiPercent(Level) / 100);
  return Value;
}

// ---- TvlSkinEffects ----------------------------------------------------------------

const TClassInfo& TvlSkinEffects::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlSkinEffects> b("TvlSkinEffects", &TPersistent::StaticClass());
    b.Bool(
        "AllowAnimation", [](const TvlSkinEffects& o) { return o.AllowAnimation(); },
        [](TvlSkinEffects& o, int v) { o.SetAllowAnimation(v != 0); }, true);
    b.Bool(
        "AllowAeroBluring", [](const TvlSkinEffects& o) { return o.AllowAeroBluring(); },
        [](TvlSkinEffects& o, int v) { o.SetAllowAeroBluring(v != 0); }, true);
    b.Bool(
        "AllowGlowing", [](const TvlSkinEffects& o) { return o.AllowGlowing(); },
        [](TvlSkinEffects& o, int v) { o.SetAllowGlowing(v != 0); }, true);
    b.Bool(
        "AllowOuterEffects", [](const TvlSkinEffects& o) { return o.AllowOuterEffects(); },
        [](TvlSkinEffects& o, int v) { o.SetAllowOuterEffects(v != 0); }, false);
    b.Bool(
        "DiscoloredGlyphs", [](const TvlSkinEffects& o) { return o.DiscoloredGlyphs(); },
        [](TvlSkinEffects& o, int v) { o.SetDiscoloredGlyphs(v != 0); }, false);
    return b.Done();
  }();
  return info;
}

void TvlSkinEffects::Repaint(bool Animate) {
  if (!ManagerQuiet(manager_)) BroadcastRepaint(manager_, Animate);
}

void TvlSkinEffects::SetAllowOuterEffects(bool Value) {
  if (Value == allowOuterEffects_) return;
  allowOuterEffects_ = Value;
  Repaint(false);
}

void TvlSkinEffects::SetDiscoloredGlyphs(bool Value) {
  if (Value == discoloredGlyphs_) return;
  discoloredGlyphs_ = Value;
  Repaint(true);
}

// ---- Window animations -------------------------------------------------------------

namespace {

template <typename C>
void AddActive(TClassBuilder<C>& b, bool Default) {
  b.Bool(
      "Active", [](const C& o) { return o.Active(); }, [](C& o, int v) { o.SetActive(v != 0); },
      Default);
}

template <typename C>
void AddTime(TClassBuilder<C>& b, int Default) {
  b.Int(
      "Time", [](const C& o) { return static_cast<int>(o.Time()); },
      [](C& o, int v) { o.SetTime(static_cast<uint16_t>(v)); }, Default);
}

template <typename C>
void AddMode(TClassBuilder<C>& b, TvlAnimType Default) {
  b.Enum(
      "Mode", AnimTypeInfo(), [](const C& o) { return static_cast<int>(o.Mode()); },
      [](C& o, int v) { o.SetMode(static_cast<TvlAnimType>(v)); }, Default);
}

// A descendant that publishes Mode, and optionally Time again.
template <typename C>
TClassInfo ModeClass(const char* Name, bool WithTime, int TimeDefault, TvlAnimType ModeDefault) {
  TClassBuilder<C> b(Name, &TvlFormAnimation::StaticClass());
  if (WithTime) AddTime(b, TimeDefault);
  AddMode(b, ModeDefault);
  return b.Done();
}

}  // namespace

const TClassInfo& TvlFormAnimation::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlFormAnimation> b("TvlFormAnimation", &TPersistent::StaticClass());
    AddActive(b, true);
    AddTime(b, 0);
    return b.Done();
  }();
  return info;
}

TvlBlendOnMoving::TvlBlendOnMoving() {
  SetActive(false);
  SetTime(1000);
}

const TClassInfo& TvlBlendOnMoving::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlBlendOnMoving> b("TvlBlendOnMoving", &TvlFormAnimation::StaticClass());
    AddActive(b, false);
    AddTime(b, 1000);
    b.Int(
        "BlendValue", [](const TvlBlendOnMoving& o) { return static_cast<int>(o.BlendValue()); },
        [](TvlBlendOnMoving& o, int v) { o.SetBlendValue(static_cast<uint8_t>(v)); }, 170);
    return b.Done();
  }();
  return info;
}

TvlMinimizing::TvlMinimizing() {
  SetTime(120);
}

const TClassInfo& TvlMinimizing::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlMinimizing> b("TvlMinimizing", &TvlFormAnimation::StaticClass());
    AddTime(b, 120);
    return b.Done();
  }();
  return info;
}

const TClassInfo& TvlFormShow::StaticClass() {
  static const TClassInfo info = ModeClass<TvlFormShow>("TvlFormShow", false, 0, atAero);
  return info;
}

const TClassInfo& TvlFormHide::StaticClass() {
  static const TClassInfo info = ModeClass<TvlFormHide>("TvlFormHide", false, 0, atAero);
  return info;
}

const TClassInfo& TvlPageChange::StaticClass() {
  static const TClassInfo info =
      TClassBuilder<TvlPageChange>("TvlPageChange", &TvlFormAnimation::StaticClass()).Done();
  return info;
}

const TClassInfo& TvlDialogShow::StaticClass() {
  static const TClassInfo info = ModeClass<TvlDialogShow>("TvlDialogShow", true, 0, atAero);
  return info;
}

TvlSkinChanging::TvlSkinChanging() {
  SetTime(100);
  SetMode(atFading);
}

const TClassInfo& TvlSkinChanging::StaticClass() {
  static const TClassInfo info = ModeClass<TvlSkinChanging>("TvlSkinChanging", true, 100, atFading);
  return info;
}

const TClassInfo& TvlBtnEffects::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlBtnEffects> b("TvlBtnEffects", &TPersistent::StaticClass());
    b.Set(
        "Events", BtnEventInfo(),
        [](const TvlBtnEffects& o) { return static_cast<int>(o.Events()); },
        [](TvlBtnEffects& o, int v) { o.SetEvents(static_cast<TvlBtnEvents>(v)); }, AllEvents);
    return b.Done();
  }();
  return info;
}

// ---- TvlAnimEffects ----------------------------------------------------------------

const TClassInfo& TvlAnimEffects::StaticClass() {
  static const TClassInfo info = [] {
    using A = TvlAnimEffects;
    TClassBuilder<A> b("TvlAnimEffects", &TPersistent::StaticClass());
    b.SubObject<&A::BlendOnMoving>("BlendOnMoving");
    b.SubObject<&A::Buttons>("Buttons");
    b.SubObject<&A::DialogShow>("DialogShow");
    b.SubObject<&A::FormShow>("FormShow");
    b.SubObject<&A::FormHide>("FormHide");
    b.SubObject<&A::DialogHide>("DialogHide");
    b.SubObject<&A::Minimizing>("Minimizing");
    b.SubObject<&A::PageChange>("PageChange");
    b.SubObject<&A::SkinChanging>("SkinChanging");
    return b.Done();
  }();
  return info;
}

TvlAnimEffects::TvlAnimEffects(TsSkinManager* Manager) : manager_(Manager) {
  blendOnMoving_ = new TvlBlendOnMoving;
  buttons_ = new TvlBtnEffects;
  dialogShow_ = new TvlDialogShow;
  formShow_ = new TvlFormShow;
  formHide_ = new TvlFormHide;
  dialogHide_ = new TvlFormHide;
  minimizing_ = new TvlMinimizing;
  pageChange_ = new TvlPageChange;
  skinChanging_ = new TvlSkinChanging;
}

TvlAnimEffects::~TvlAnimEffects() {
  TObject::Free(blendOnMoving_);
  TObject::Free(buttons_);
  TObject::Free(dialogShow_);
  TObject::Free(formShow_);
  TObject::Free(formHide_);
  TObject::Free(dialogHide_);
  TObject::Free(minimizing_);
  TObject::Free(pageChange_);
  TObject::Free(skinChanging_);
}

// ---- ThirdPartyList ----------------------------------------------------------------

namespace {

template <int Index>
void AddClassList(TClassBuilder<ThirdPartyList>& b, const char* Name) {
  static_assert(Index >= 0 && Index < ThirdPartyKindCount);
  b.Str(
      Name, [](const ThirdPartyList& o) { return o.Get(Index); },
      [](ThirdPartyList& o, const std::string& v) { o.Set(Index, v); });
}

}  // namespace

const TClassInfo& ThirdPartyList::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<ThirdPartyList> b("ThirdPartyList", &TPersistent::StaticClass());
    // Published order; the index is the kind the adapters are chosen by.
    AddClassList<0>(b, "ThirdEdits");
    AddClassList<1>(b, "ThirdButtons");
    AddClassList<2>(b, "ThirdBitBtns");
    AddClassList<3>(b, "ThirdCheckBoxes");
    AddClassList<6>(b, "ThirdGroupBoxes");
    AddClassList<7>(b, "ThirdListViews");
    AddClassList<8>(b, "ThirdPanels");
    AddClassList<5>(b, "ThirdGrids");
    AddClassList<9>(b, "ThirdTreeViews");
    AddClassList<4>(b, "ThirdComboBoxes");
    AddClassList<10>(b, "ThirdWWEdits");
    AddClassList<12>(b, "ThirdVirtualTrees");
    AddClassList<11>(b, "ThirdGridEh");
    AddClassList<13>(b, "ThirdPageControl");
    AddClassList<14>(b, "ThirdTabControl");
    AddClassList<15>(b, "ThirdToolBar");
    AddClassList<16>(b, "ThirdStatusBar");
    AddClassList<17>(b, "ThirdSpeedButton");
    AddClassList<18>(b, "ThirdScrollControl");
    AddClassList<19>(b, "ThirdUpDown");
    AddClassList<20>(b, "ThirdScrollBar");
    AddClassList<21>(b, "ThirdStaticText");
    AddClassList<22>(b, "ThirdNativePaint");
    return b.Done();
  }();
  return info;
}

std::string ThirdPartyList::Get(int Index) const {
  if (Index < 0 || Index >= ThirdPartyKindCount) return {};
  return lists_[static_cast<size_t>(Index)];
}

void ThirdPartyList::Set(int Index, const std::string& Value) {
  if (Index < 0 || Index >= ThirdPartyKindCount) return;
  lists_[static_cast<size_t>(Index)] = Value;
}

// ---- TvlOptions --------------------------------------------------------------------

namespace {

template <int Index>
void AddOption(TClassBuilder<TvlOptions>& b, const char* Name) {
  b.Bool(
      Name, [](const TvlOptions& o) { return o.GetOption(Index); },
      [](TvlOptions& o, int v) { o.SetOption(Index, v != 0); }, false);
}

}  // namespace

const TClassInfo& TvlOptions::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlOptions> b("TvlOptions", &TPersistent::StaticClass());
    AddOption<NoMouseHoverIndex>(b, "NoMouseHover");
    AddOption<StdGlyphsOrderIndex>(b, "StdGlyphsOrder");
    AddOption<ChangeSysColorsIndex>(b, "ChangeSysColors");
    AddOption<CheckEmptyAlphaIndex>(b, "CheckEmptyAlpha");
    AddOption<StdImgTransparencyIndex>(b, "StdImgTransparency");
    AddOption<NativeBordersMaximizedIndex>(b, "NativeBordersMaximized");
    b.Enum(
        "ScaleMode", ScaleModeInfo(),
        [](const TvlOptions& o) { return static_cast<int>(o.ScaleMode()); },
        [](TvlOptions& o, int v) { o.SetScaleMode(static_cast<TvlScaleMode>(v)); }, smOldMode);
    b.Enum(
        "OptimizingPriority", OptimizingPriorityInfo(),
        [](const TvlOptions& o) { return static_cast<int>(o.OptimizingPriority()); },
        [](TvlOptions& o, int v) {
          o.SetOptimizingPriority(static_cast<TvlOptimizingPriority>(v));
        },
        opSpeed);
    return b.Done();
  }();
  return info;
}

bool TvlOptions::GetOption(int Index) const {
  switch (Index) {
    case CheckEmptyAlphaIndex:
      return checkEmptyAlpha_;
    case NoMouseHoverIndex:
      return noMouseHover_;
    case NativeBordersMaximizedIndex:
      return nativeBordersMaximized_;
    case StdGlyphsOrderIndex:
      return stdGlyphsOrder_;
    case StdImgTransparencyIndex:
      return stdImgTransparency_;
    default:
      return changeSysColors_;
  }
}

void TvlOptions::SetOption(int Index, bool Value) {
  switch (Index) {
    case CheckEmptyAlphaIndex:
      checkEmptyAlpha_ = Value;
      return;
    case NoMouseHoverIndex:
      noMouseHover_ = Value;
      return;
    case NativeBordersMaximizedIndex:
      nativeBordersMaximized_ = Value;
      return;
    case StdGlyphsOrderIndex:
      stdGlyphsOrder_ = Value;
      return;
    case StdImgTransparencyIndex:
      stdImgTransparency_ = Value;
      return;
    case ChangeSysColorsIndex:
      break;
    default:
      return;
  }
  changeSysColors_ = Value;
  // The patches are process-wide: only the default manager, running, owns them.
  if (!manager_ || manager_ != DefaultManager || manager_->Loading() || manager_->Designing())
    return;
  void (*patch)() = Value ? InstallSysColorPatches : RemoveSysColorPatches;
  if (patch) patch();
}

void TvlOptions::SetScaleMode(TvlScaleMode Value) {
  if (Value == scaleMode_) return;
  const int oldPercent = DpiPercent(EffectiveDpiLevel(manager_));
  int newPercent;
  if (Value == smAuto)
    newPercent = DpiPercent(manager_ ? manager_->AppliedDpiLevel : 0);
  else if (Value == smOldMode)
    newPercent = 100;
  else
    newPercent = DpiPercent(static_cast<int>(Value));
  if (manager_ && manager_->OnScaleModeChange)
    manager_->OnScaleModeChange(manager_,
                                TScaleChangeData{scaleMode_, Value, oldPercent, newPercent});
  scaleMode_ = Value;
  if (!manager_ || manager_->Designing()) return;

  // Unit-wide sizes follow the default manager only.
  if (manager_ == DefaultManager) {
    RescaleUnitMetrics(oldPercent, newPercent);
    MenuGlyphSize = MulDiv(MenuGlyphSize, newPercent, oldPercent);
  }
  if (manager_->Loading()) return;
  const intptr_t shrinking = newPercent < oldPercent ? 2 : 0;
  manager_->BeginUpdate();
  ForEachSkinnedForm(manager_, ScaleFreezeProc, shrinking);
  RescaleAll(manager_);
  manager_->Reload();
  ForEachSkinnedForm(manager_, ScaleFreezeProc, shrinking + 1);
  manager_->EndUpdate(true, false);
}

// ---- Scroll bars, buttons, labels --------------------------------------------------

const TClassInfo& TvlScrollBarsSupport::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlScrollBarsSupport> b("TvlScrollBarsSupport", &TPersistent::StaticClass());
    b.Int(
        "ScrollSize", [](const TvlScrollBarsSupport& o) { return o.ScrollSize(); },
        [](TvlScrollBarsSupport& o, int v) { o.SetScrollSize(v); }, -1);
    b.Int(
        "ButtonsSize", [](const TvlScrollBarsSupport& o) { return o.ButtonsSize(); },
        [](TvlScrollBarsSupport& o, int v) { o.SetButtonsSize(v); }, -1);
    return b.Done();
  }();
  return info;
}

void TvlScrollBarsSupport::SetScrollSize(int Value) {
  if (Value == scrollSize_) return;
  scrollSize_ = Value;
  if (!manager_ || manager_->Loading()) return;
  TMessage m;
  MakeMessage(SkinCommandMessage, SkinCmdParam(SkinCmdFrameChanged), 0, 0, m);
  BroadcastToForms(m);
}

void TvlScrollBarsSupport::SetButtonsSize(int Value) {
  if (Value == buttonsSize_) return;
  buttonsSize_ = Value;
  if (manager_ && !manager_->Loading()) BroadcastRepaint(manager_, false);
}

const TClassInfo& TvlButtonsSupport::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlButtonsSupport> b("TvlButtonsSupport", &TPersistent::StaticClass());
    b.Bool(
        "ShowFocusRect", [](const TvlButtonsSupport& o) { return o.ShowFocusRect(); },
        [](TvlButtonsSupport& o, int v) { o.SetShowFocusRect(v != 0); }, true);
    b.Bool(
        "ShiftContentOnClick", [](const TvlButtonsSupport& o) { return o.ShiftContentOnClick(); },
        [](TvlButtonsSupport& o, int v) { o.SetShiftContentOnClick(v != 0); }, true);
    return b.Done();
  }();
  return info;
}

const TClassInfo& TvlLabelsSupport::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlLabelsSupport> b("TvlLabelsSupport", &TPersistent::StaticClass());
    b.Bool(
        "TransparentAlways", [](const TvlLabelsSupport& o) { return o.TransparentAlways(); },
        [](TvlLabelsSupport& o, int v) { o.SetTransparentAlways(v != 0); }, true);
    return b.Done();
  }();
  return info;
}
