// The combo box's object: properties, window creation and the list adapter.
#include "skin/controls/combo_box.h"

#include "skin/engine/bound_label.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/glow_effects.h"
#include "skin/adapters/edit_stand_ins.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/vl_utils.h"
#include "widgets/graphics/canvas_on_dc.h"
#include "widgets/rtl/flag_scope.h"

namespace {

// The version 6 common controls' least number of rows an open list shows.
constexpr UINT kSetMinVisible = 0x1701;  // CB_SETMINVISIBLE

const TEnumInfo& AlignmentNames() {
  static const TEnumInfo info{{"taLeftJustify", "taRightJustify", "taCenter"}};
  return info;
}

const TEnumInfo& VerticalAlignmentNames() {
  static const TEnumInfo info{{"taAlignTop", "taAlignBottom", "taVerticalCenter"}};
  return info;
}

// Visual styles on a platform that has the common controls' row minimum.
bool MinVisibleAvailable() {
  return IsWinXPOrLater() && ThemesEnabled();
}

}  // namespace

const TClassInfo& TsCustomComboBox::StaticClass() {
  using T = TsCustomComboBox;
  static const TClassInfo info = [] {
    TClassBuilder<T> b("TsCustomComboBox", &TCustomComboBox::StaticClass());
    b.Bool(
        "ReadOnly", [](const T& c) { return c.ReadOnly(); },
        [](T& c, int v) { c.SetReadOnly(v != 0); }, false);
    b.Bool(
        "AllowMouseWheel", [](const T& c) { return c.AllowMouseWheel(); },
        [](T& c, int v) { c.SetAllowMouseWheel(v != 0); }, true);
    // No defaults: a description always holds both alignments.
    b.Enum(
         "Alignment", AlignmentNames(), [](const T& c) { return c.Alignment(); },
         [](T& c, int v) { c.SetAlignment(static_cast<TAlignment>(v)); }, 0)
        .HasDefault = false;
    b.Enum(
         "VerticalAlignment", VerticalAlignmentNames(),
         [](const T& c) { return c.VerticalAlignment(); },
         [](T& c, int v) { c.SetVerticalAlignment(static_cast<TVerticalAlignment>(v)); }, 0)
        .HasDefault = false;
    b.Set(
        "DisabledKind", DisabledKindInfo(), [](const T& c) { return c.DisabledKind(); },
        [](T& c, int v) { c.SetDisabledKind(static_cast<TsDisabledKind>(v)); }, dkBlended);
    b.template SubObject<&T::SkinData>("SkinData");
    b.template SubObject<&T::BoundLabel>("BoundLabel");
    b.Int(
        "DropDownCount", [](const T& c) { return c.DropDownCount(); },
        [](T& c, int v) { c.SetDropDownCount(v); }, 16);
    return b.Done();
  }();
  return info;
}

const TClassInfo& TsComboBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsComboBox> b("TsComboBox", &TsCustomComboBox::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TsCustomComboBox::TsCustomComboBox(TComponent* AOwner) : TCustomComboBox(AOwner) {
  skinData_ = New<TsCtrlSkinData>(this, true);
  skinData_->ControlKind = ckComboBox;
  SetDropDownCount(16);
  boundLabel_ = new TsBoundLabel(skinData_);
}

TsCustomComboBox::~TsCustomComboBox() {
  ReleaseListAdapter();
  // The window goes first: its last messages still reach the skin state.
  if (HandleAllocated()) DestroyHandle();
  TObject::Free(boundLabel_);
  boundLabel_ = nullptr;
  TObject::Free(skinData_);
  skinData_ = nullptr;
}

void TsCustomComboBox::AfterConstruction() {
  TCustomComboBox::AfterConstruction();
  skinData_->Loaded(true);
}

void TsCustomComboBox::Loaded() {
  TCustomComboBox::Loaded();
  skinData_->Loaded(true);
}

bool TsCustomComboBox::IsButtonStyle() const {
  if (Style() != csDropDownList && !OwnerDrawStyle()) return false;
  return skinData_->SkinSection.empty() || !skinData_->Skinned();
}

bool TsCustomComboBox::HasOwnerDrawEvent() const {
  return OwnerDrawStyle() && static_cast<bool>(OnDrawItem);
}

void TsCustomComboBox::CreateParams(TCreateParams& Params) {
  TCustomComboBox::CreateParams(Params);
  skinData_->UpdateIndexes(true);
  if (Style() != csDropDown && Style() != csDropDownList) return;
  // Skinned, the combo draws the item of its edit part itself.
  if (Skinned())
    Params.Style |= CBS_OWNERDRAWFIXED;
  else
    Params.Style &= ~static_cast<DWORD>(CBS_OWNERDRAWFIXED);
}

void TsCustomComboBox::CreateWnd() {
  // Selecting the item in a new window overwrites the edit's text: a window
  // made again (a skin switched on or off) shows what the old one showed.
  const bool keepText =
      (ControlState() & csRecreating) && (Style() == csDropDown || Style() == csSimple);
  const std::string text = text_;
  TCustomComboBox::CreateWnd();
  if (keepText && GetText() != text) SetWindowTextA(Handle(), text.c_str());
  if (MinVisibleAvailable())
    SendMessageA(Handle(), kSetMinVisible, static_cast<WPARAM>(DropDownCount()), 0);
  skinData_->Loaded(true);
  UpdateGlyphIndex();
}

void TsCustomComboBox::DestroyWnd() {
  // The list window goes with the combo's: a new window gets a new list.
  ReleaseListAdapter();
  TCustomComboBox::DestroyWnd();
}

void TsCustomComboBox::SetDropDownCount(int v) {
  if (v == DropDownCount()) return;
  TCustomComboBox::SetDropDownCount(v);
  if (HandleAllocated() && MinVisibleAvailable())
    SendMessageA(Handle(), kSetMinVisible, static_cast<WPARAM>(v), 0);
}

int TsCustomComboBox::GetItemHeight() {
  return TCustomComboBox::GetItemHeight();
}

void TsCustomComboBox::ChangeScale(int M, int D) {
  TCustomComboBox::ChangeScale(M, D);
  if (M != D && Showing()) SetItemHeight(MulDiv(Height(), M, D) - 6);
}

bool TsCustomComboBox::Focused() {
  if (!HandleAllocated()) return false;
  const HWND focus = GetFocus();
  if (focus && (focus == EditHandle() || focus == TCustomComboBox::ListHandle())) return true;
  if (focus && focus == Handle()) return true;
  return skinData_->Focused;
}

void TsCustomComboBox::Invalidate() {
  if (Focused()) skinData_->Focused = true;
  TCustomComboBox::Invalidate();
}

void TsCustomComboBox::SetShowButton(bool v) {
  if (showButton_ == v) return;
  showButton_ = v;
  skinData_->Invalidate(false);
}

void TsCustomComboBox::SetAlignment(TAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  skinData_->Invalidate(false);
}

void TsCustomComboBox::SetVerticalAlignment(TVerticalAlignment v) {
  if (verticalAlignment_ == v) return;
  verticalAlignment_ = v;
  skinData_->BgChanged = true;
  Invalidate();
}

void TsCustomComboBox::SetDisabledKind(TsDisabledKind v) {
  if (disabledKind_ == v) return;
  disabledKind_ = v;
  skinData_->Invalidate(false);
}

void TsCustomComboBox::WMLButtonDown(TMessage& Message) {
  if (readOnly_) {
    if (CanFocus()) SetFocus();
    return;
  }
  if (stdDropDown_)
    TCustomComboBox::WMLButtonDown(Message);
  else
    OwnDropDown();
}

void TsCustomComboBox::WMLButtonDblClk(TMessage& Message) {
  if (readOnly_) {
    if (CanFocus()) SetFocus();
    if (OnDblClick) OnDblClick(this);
    return;
  }
  if (stdDropDown_)
    TCustomComboBox::WMLButtonDblClk(Message);
  else
    OwnDropDown();
}

void TsCustomComboBox::OwnDropDown() {
  if (CanFocus()) SetFocus();
  if (!OnDropDown) return;
  listShown_ = true;
  buttonState_ = 2;
  StartHoverFade(2);
  OnDropDown(this);
}

void TsCustomComboBox::UpdateGlyphIndex() {
  TsSkinManager* m = skinData_->SkinManager();
  glyphIndex_ =
      (m && skinData_->SkinIndex >= 0) ? FindMaskIndex(*m, skinData_->SkinIndex, "GLYPHMASK") : -1;
}

void TsCustomComboBox::ReleaseListAdapter() {
  if (!listWnd_) return;
  if (IsWindow(listWnd_)) {
    LONG_PTR style = GetWindowLongPtrA(listWnd_, GWL_STYLE);
    style = (style & ~static_cast<LONG_PTR>(WS_THICKFRAME)) | WS_BORDER;
    SetWindowLongPtrA(listWnd_, GWL_STYLE, style);
  }
  TvlComboListWnd* adapter = listAdapter_;
  listAdapter_ = nullptr;
  ReleaseScrollWndAdapter(listWnd_, true, false, adapter);
  listWnd_ = nullptr;
}

void TsCustomComboBox::CNMeasureItem(TMessage& Message) {
  if (OwnerDrawStyle()) {
    TCustomComboBox::CNMeasureItem(Message);
    return;
  }
  auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  Canvas()->SetFont(Font());
  if (mi && !(skinData_->StateFlags & sfSkinFontColor))
    mi->itemHeight = static_cast<UINT>(Canvas()->TextHeight("A") + 2);
  Message.Result = 1;
}

void TsCustomComboBox::CNDrawItem(TMessage& Message) {
  auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  if (!d) return;
  TOwnerDrawState state = LOWORD(d->itemState);
  if (d->itemState & ODS_COMBOBOXEDIT) state |= odComboBoxEdit;
  if (d->itemState & ODS_DEFAULT) state |= odDefault;
  {
    // The canvas gives the platform's DC back however the drawing ends.
    TCanvasOnDC on(*Canvas(), d->hDC);
    DrawItem(static_cast<int>(static_cast<int32_t>(d->itemID)), TRect(d->rcItem), state);
  }
  Message.Result = 1;
}
