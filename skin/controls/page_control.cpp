// The page control's object, properties, page choice and geometry.
#include "skin/controls/page_control.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "skin/engine/anim_timer.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/manager_options.h"
#include "skin/adapters/stand_in_adapters.h"
#include "skin/foundation/argb_factories.h"
#include "skin/engine/vl_utils.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/img_list.h"
#include "widgets/rtl/flag_scope.h"

bool CloseArmed = false;
TsPageControl* TabMenuOwner = nullptr;

namespace {

// Padding changes resize the tabs, which asks for the padding again.
bool applyingTabPadding = false;

const TEnumInfo& AlignmentInfo() {
  static const TEnumInfo e{{"taLeftJustify", "taRightJustify", "taCenter"}};
  return e;
}

template <int I>
void AddBoolProp(TClassBuilder<TsPageControl>& b) {
  static const char* const names[] = {"ActiveIsBold",     "ReflectedGlyphs", "RotateCaptions",
                                      "ShowCloseBtns",    "ShowFocus",       "AllowAnimSwitching",
                                      "ActiveTabEnlarged"};
  constexpr auto index = static_cast<TsPageControl::BoolProp>(I);
  b.Bool(
      names[I], [](const TsPageControl& c) { return c.BoolPropValue(index); },
      [](TsPageControl& c, int v) { c.SetBoolProp(index, v != 0); }, I >= 4);
}

template <int... I>
void AddBoolProps(TClassBuilder<TsPageControl>& b, std::integer_sequence<int, I...>) {
  (AddBoolProp<I>(b), ...);
}

template <int I>
void AddIntProp(TClassBuilder<TsPageControl>& b) {
  static const char* const names[] = {"TabMargin", "TabPadding", "TabSpacing"};
  static constexpr int defaults[] = {3, 0, 6};
  constexpr auto index = static_cast<TsPageControl::IntProp>(I);
  b.Int(
      names[I], [](const TsPageControl& c) { return c.IntPropValue(index); },
      [](TsPageControl& c, int v) { c.SetIntProp(index, v); }, defaults[I]);
}

template <int... I>
void AddIntProps(TClassBuilder<TsPageControl>& b, std::integer_sequence<int, I...>) {
  (AddIntProp<I>(b), ...);
}

}  // namespace

const TClassInfo& TsPageControl::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsPageControl> b("TsPageControl", &TPageControl::StaticClass());
    b.Creatable();
    AddBoolProps(b, std::make_integer_sequence<int, 7>());
    AddIntProps(b, std::make_integer_sequence<int, 3>());
    b.Bool(
        "AccessibleDisabledPages", [](const TsPageControl& c) { return c.AccessibleDisabledPages; },
        [](TsPageControl& c, int v) { c.AccessibleDisabledPages = v != 0; }, true);
    b.Str(
        "CloseBtnSkin", [](const TsPageControl& c) { return c.CloseBtnSkin(); },
        [](TsPageControl& c, const std::string& v) { c.SetCloseBtnSkin(v); });
    b.Str(
        "TabsLineSkin", [](const TsPageControl& c) { return c.TabsLineSkin(); },
        [](TsPageControl& c, const std::string& v) { c.SetTabsLineSkin(v); });
    b.Enum(
        "TabAlignment", AlignmentInfo(), [](const TsPageControl& c) { return c.TabAlignment(); },
        [](TsPageControl& c, int v) { c.SetTabAlignment(static_cast<TAlignment>(v)); }, taCenter);
    b.Event<&TsPageControl::OnCloseBtnClick>("OnCloseBtnClick");
    b.Event<&TsPageControl::OnPageChanging>("OnPageChanging");
    b.Event<&TsPageControl::OnTabMouseEnter>("OnTabMouseEnter");
    b.Event<&TsPageControl::OnTabMouseLeave>("OnTabMouseLeave");
    b.Event<&TsPageControl::OnDblClick>("OnDblClick");
    return b.Done();
  }();
  return info;
}

TsPageControl::TsPageControl(TComponent* AOwner) : TPageControl(AOwner) {
  skinData_ = New<TsCommonData>(this, true);
  skinData_->ControlKind = ckPageControl;
  TabsLineImage = NewArgbBitmap(0, 0);
}

TsPageControl::~TsPageControl() {
  *alive_ = false;
  FreeTabScroller();
  if (TabMenuOwner == this) TabMenuOwner = nullptr;
  TObject::Free(TabsLineImage);
  TabsLineImage = nullptr;
  TObject::Free(skinData_);
  skinData_ = nullptr;
}

void TsPageControl::AfterConstruction() {
  TPageControl::AfterConstruction();
  skinData_->Loaded(true);
}

void TsPageControl::Loaded() {
  TPageControl::Loaded();
  skinData_->Loaded(true);
  if (ActivePage()) {
    AddToParentFormAdapter(ActivePage());
    UpdateTabScroller();
    if (TsTabSheet* p = NearestSelectablePage(ActivePageIndex())) SetActivePage(p);
  }
  if (TabPadding() != 0) {
    UpdateCloseBtnMetrics();
    if (HandleAllocated()) Perform(WM_SIZE, 0, 0);
  }
}

TsTabSheet* TsPageControl::Page(int Index) const {
  return Index >= 0 && Index < PageCount() ? dynamic_cast<TsTabSheet*>(Pages(Index)) : nullptr;
}

TsTabSheet* TsPageControl::ActiveSheet() const {
  return dynamic_cast<TsTabSheet*>(ActivePage());
}

TsTabSheet* TsPageControl::PageAtTab(int Tab) const {
  return dynamic_cast<TsTabSheet*>(PageOfTab(Tab));
}

void TsPageControl::SetActivePage(TTabSheet* Value) {
  if (!Value) {
    TPageControl::SetActivePage(nullptr);
    return;
  }
  TsTabSheet* target = NearestSelectablePage(Value->PageIndex());
  TPageControl::SetActivePage(target ? static_cast<TTabSheet*>(target) : Value);
  AddToParentFormAdapter(ActivePage());
  if (!Value->TabVisible() && !skinData_->IsUpdating()) RepaintChildren(Value);
}

void TsPageControl::SetTabIndex(int Value) {
  TsTabSheet* p = Value >= 0 && Value < VisibleTabCount() ? PageAtTab(Value) : nullptr;
  if (Value >= 0 && Value < VisibleTabCount()) {
    if (p && p->TabType() == ttTab) {
      TPageControl::SetTabIndex(Value);
      AddToParentFormAdapter(ActivePage());
    }
    return;
  }
  TPageControl::SetTabIndex(Value);
}

void TsPageControl::ChangeScale(int M, int D) {
  TPageControl::ChangeScale(M, D);
  SetTabHeight(MulDiv(TabHeight(), M, D));
  SetTabWidth(MulDiv(TabWidth(), M, D));
  ApplyTabPaddingGuarded();
}

void TsPageControl::UpdateActivePage() {
  TPageControl::UpdateActivePage();
  if (!Skinned() || !AllowAnimSwitching() || !HandleAllocated()) return;
  TsSkinManager* m = skinData_->SkinManager();
  if (m && m->AnimEffects()->PageChange()->Active()) return;
  if (!ActivePage()) {
    skinData_->Invalidate(false);
    return;
  }
  if (VisibleTabCount() != LastVisibleTabCount) {
    Redraw(RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    RepaintChildren(ActivePage());
  } else {
    skinData_->BgChanged = true;
    RefreshTab(ActivePageIndex(), false);
  }
}

std::vector<TabPageInfo> TsPageControl::PageInfos() const {
  std::vector<TabPageInfo> v;
  for (int i = 0; i < PageCount(); ++i) {
    TsTabSheet* s = Page(i);
    v.push_back({Pages(i)->TabVisible(), s ? s->TabType() : ttTab});
  }
  return v;
}

TsTabSheet* TsPageControl::NearestSelectablePage(int Index) const {
  return Page(NearestSelectableIndex(PageInfos(), Index));
}

bool TsPageControl::CanChangeTo(TsTabSheet* P) {
  if (!P || P->TabType() != ttTab) return false;
  if (!P->Enabled() && !AccessibleDisabledPages) return false;
  bool allow = true;
  if (OnPageChanging) OnPageChanging(this, P, allow);
  return allow;
}

bool TsPageControl::IsButtonTab(int Index, bool MenuOnly) const {
  TsTabSheet* p = Page(Index);
  if (!p || !p->TabVisible() || p->TabType() == ttTab) return false;
  return !MenuOnly || p->TabType() == ttMenu;
}

int TsPageControl::VisibleTabCount() const {
  int n = 0;
  for (int i = 0; i < PageCount(); ++i) n += Pages(i)->TabVisible() ? 1 : 0;
  return n;
}

int TsPageControl::TabAtPos(const TPoint& P) {
  const int active = ActivePageIndex();
  for (int i = 0; i < PageCount(); ++i) {
    if (!Pages(i)->TabVisible()) continue;
    const TRect r = i == active ? SkinTabRect(i, true) : PageTabRect(i);
    if (PtInRect(r.AsRECT(), POINT{P.X, P.Y})) return i;
  }
  return -1;
}

// ---- Geometry

namespace {

TRect PageArea(TsPageControl* C) {
  RECT r;
  ::GetClientRect(C->Handle(), &r);
  SendMessageA(C->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

}  // namespace

TRect TsPageControl::DisplayRect() {
  if (!HandleAllocated()) return TRect(0, 0, Width(), Height());
  return DisplayRectFor(TabPosition(), VisibleTabCount() > 0, Width(), Height(), PageArea(this));
}

TRect TsPageControl::TabsRect() {
  if (!HandleAllocated()) return TRect();
  return TabsRectFor(TabPosition(), VisibleTabCount() > 0, Width(), Height(), PageArea(this));
}

TRect TsPageControl::TabsLineRect() {
  if (!HandleAllocated()) return TRect();
  return TabsLineRectFor(TabPosition(), VisibleTabCount() > 0, Width(), Height(), PageArea(this));
}

TRect TsPageControl::PageTabRect(int Index) {
  if (Index < 0 || Index >= PageCount()) return TRect();
  const int tab = Pages(Index)->TabIndex();
  return tab < 0 ? TRect() : TabRect(tab);
}

int TsPageControl::TabsCovering(int Index) const {
  TsTabSheet* p = Page(Index);
  TsSkinManager* m = skinData_->SkinManager();
  if (!p || p->TabType() != ttTab || !m || !m->CommonSkinData) return 0;
  if (p->TabSkin().empty()) return m->CommonSkinData->TabsCovering;
  if (p->TabSkin() == "RIBBONTAB") return m->CommonSkinData->RibbonTabsCovering;
  return 0;
}

TRect TsPageControl::SkinTabRect(int Index, bool Active) {
  if (Index < 0 || Index >= PageCount() || !Pages(Index)->TabVisible()) return TRect();
  SkinTabRectInput in;
  in.PlatformRect = PageTabRect(Index);
  in.Position = TabPosition();
  in.Style = Style();
  in.Active = Active;
  in.ActiveTabEnlarged = ActiveTabEnlarged();
  in.Skinned = Skinned();
  TsTabSheet* p = Page(Index);
  in.IsTabPage = !p || p->TabType() == ttTab;
  in.Covering = TabsCovering(Index);
  in.PrevCovering = Index >= 1 ? TabsCovering(Index - 1) : -1;
  in.NextCovering = Index + 1 < PageCount() ? TabsCovering(Index + 1) : -1;
  return SkinTabRectFor(in);
}

int TsPageControl::NeighbourTab(int Index, bool After) const {
  const int step = After ? 1 : -1;
  for (int i = Index + step; i >= 0 && i < PageCount(); i += step) {
    TsTabSheet* p = Page(i);
    if (Pages(i)->TabVisible() && (!p || p->TabType() == ttTab)) return i;
  }
  return -1;
}

int TsPageControl::TabPositionKind(int Index) const {
  static constexpr int side[] = {1, 3, 0, 2};  // by TTabPosition
  TsSkinManager* m = skinData_->SkinManager();
  if (!m || m->ConstData.Tabs[static_cast<size_t>(side[TabPosition()])].Section < 0) return 3;
  if (NeighbourTab(Index, false) < 0) return 0;
  if (NeighbourTab(Index, true) < 0) return 1;
  return 2;
}

TabContentInput TsPageControl::ContentInput(HDC DC, TsTabSheet* P, bool IsButton, int State,
                                            const TRect& R) {
  TabContentInput in;
  in.R = R;
  in.Position = TabPosition();
  in.Style = Style();
  const bool sideTabs = TabPosition() == tpLeft || TabPosition() == tpRight;
  in.Vertical = RotateCaptions() != sideTabs;
  in.IsButton = IsButton;
  in.IsMenu = IsButton && P && P->TabType() == ttMenu;
  in.State = State;
  in.ActiveTabEnlarged = ActiveTabEnlarged();
  TsSkinManager* m = skinData_->SkinManager();
  in.Shift = !Skinned() || (m && m->ButtonsOptions()->ShiftContentOnClick());
  in.ShowCloseBtns = ShowCloseBtns();
  in.CloseButton = ShowCloseBtns() && !IsButton && P && P->UseCloseBtn();
  in.CloseWidth = closeBtnWidth_;
  in.CloseHeight = closeBtnHeight_;
  if (P && Images() && P->ImageIndex() >= 0 && P->ImageIndex() < Images()->Count()) {
    in.HasImage = true;
    in.ImageWidth = Images()->Width();
    in.ImageHeight = Images()->Height();
  }
  const std::string text = P ? P->Caption() : std::string();
  in.CaptionEmpty = text.empty();
  RECT calc{0, 0, 0, 0};
  DrawTextA(DC, text.c_str(), static_cast<int>(text.size()), &calc, DT_CALCRECT | DT_SINGLELINE);
  in.TextWidth = calc.right - calc.left;
  in.TextHeight = calc.bottom - calc.top;
  in.TabMargin = TabMargin();
  in.TabPadding = TabPadding();
  in.TabSpacing = TabSpacing();
  in.Alignment = tabAlignment_;
  in.FocusFrame = ShowFocus() && (Focused() || skinData_->Focused);
  return in;
}

TabContentLayout TsPageControl::LayoutTabContent(HDC DC, TsTabSheet* P, bool IsButton, int State,
                                                 const TRect& R) {
  return LayoutTabContentFor(ContentInput(DC, P, IsButton, State, R));
}

void TsPageControl::UpdateCloseBtnMetrics() {
  closeBtnWidth_ = closeBtnHeight_ = 15;
  CloseBtnIndex = -1;
  TsSkinManager* m = skinData_->SkinManager();
  if (Skinned() && m) {
    CloseBtnIndex =
        closeBtnSkin_.empty() ? m->ConstData.TitleButtons[6] : FindSectionIndex(m, closeBtnSkin_);
    // A section-painted button keeps the fallback size: a section has none.
    if (CloseBtnIndex >= 0 && closeBtnSkin_.empty() && CloseBtnIndex < m->ImageCount()) {
      const TsMaskData& image = m->ImageData(CloseBtnIndex);
      closeBtnWidth_ = std::max(image.FrameWidth, 8);
      closeBtnHeight_ = image.FrameHeight;
    }
  }
  ApplyTabPaddingGuarded();
}

void TsPageControl::ApplyTabPaddingGuarded() {
  if (applyingTabPadding) return;
  TFlagScope guard(applyingTabPadding);
  UpdateTabPadding(ShowCloseBtns());
}

void TsPageControl::UpdateTabPadding(bool ShowClose) {
  if (!HandleAllocated()) return;
  int covering = 0;
  TsSkinManager* m = skinData_->SkinManager();
  if (Skinned() && m && m->CommonSkinData)
    covering = ScaleToDpiLevel(m, m->CommonSkinData->TabsCovering, 0);
  const int w =
      TabPaddingWidth(ShowClose, Images() != nullptr, TabPadding(), covering, closeBtnWidth_);
  SendMessageA(Handle(), TCM_SETPADDING, 0, MAKELPARAM(w, 3));
}

// ---- Properties

void TsPageControl::Redraw(UINT Flags) {
  if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, Flags);
}

void TsPageControl::SetBoolProp(BoolProp Index, bool Value) {
  if (bools_[Index] == Value) return;
  bools_[Index] = Value;
  const bool loading = HasState(csLoading);
  switch (Index) {
    case bpActiveIsBold:
      if (!loading && Visible()) {
        skinData_->BgChanged = true;
        Redraw(RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
      }
      break;
    case bpReflectedGlyphs:
      skinData_->Invalidate(true);
      break;
    case bpShowFocus:
    case bpActiveTabEnlarged:
      skinData_->Invalidate(false);
      if (!Skinned()) Invalidate();
      break;
    case bpAllowAnimSwitching:
      break;
    case bpRotateCaptions: {
      if (loading) break;
      if (HandleAllocated()) SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
      if (Value) {
        TRect r = PageCount() > 0 ? PageTabRect(0) : TRect(0, 0, 24, 24);
        if (r.Width() <= 0 || r.Height() <= 0) r = TRect(0, 0, 24, 24);
        // A turned caption needs the length of a tab: never below 140.
        if (TabPosition() == tpLeft || TabPosition() == tpRight) {
          SetTabWidth(r.Width());
          SetTabHeight(std::max(r.Height(), 140));
        } else {
          SetTabWidth(r.Height());
          SetTabHeight(std::max(r.Width(), 140));
        }
      } else {
        SetTabHeight(0);
        SetTabWidth(0);
      }
      skinData_->BgChanged = true;
      if (HandleAllocated()) SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
      Redraw(RDW_FRAME | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
      break;
    }
    case bpShowCloseBtns:
      UpdateCloseBtnMetrics();
      if (HandleAllocated() && !loading) {
        Perform(WM_SIZE, 0, 0);
        if (Skinned())
          Redraw(RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
        else
          Invalidate();
      }
      break;
  }
}

void TsPageControl::SetIntProp(IntProp Index, int Value) {
  if (ints_[Index] == Value) return;
  ints_[Index] = Value;
  if (Index != ipTabPadding) {
    skinData_->Invalidate(true);
    if (!Skinned()) Invalidate();
    return;
  }
  if (HasState(csLoading)) return;
  UpdateCloseBtnMetrics();
  if (HandleAllocated()) Perform(WM_SIZE, 0, 0);
  skinData_->Invalidate(false);
}

void TsPageControl::SetCloseBtnSkin(const std::string& v) {
  closeBtnSkin_ = v;
  skinData_->Invalidate(false);
}

void TsPageControl::SetTabAlignment(TAlignment v) {
  tabAlignment_ = v;
  skinData_->Invalidate(true);
  if (!Skinned()) Invalidate();
}

void TsPageControl::SetTabsLineSkin(const std::string& v) {
  tabsLineSkin_ = v;
  if (TsSkinManager* m = skinData_->SkinManager()) TabsLineIndex = FindSectionIndex(m, v);
  skinData_->Invalidate(false);
}

void TsPageControl::SetHotTab(int Index) {
  if (HotTab == Index) return;
  const int old = HotTab;
  HotTab = Index;
  if (PressedMenuTab >= 0) return;
  const int active = ActivePageIndex();
  for (int i : {old, Index})
    if (i >= 0 && i < PageCount() && (i != active || ShowCloseBtns())) RefreshTab(i, true);
}

void TsPageControl::ClearTabTimers() {
  for (int i = 0; i < PageCount(); ++i)
    if (TsTabSheet* p = Page(i)) {
      TObject::Free(p->FadeTimer);
      p->FadeTimer = nullptr;
    }
}
