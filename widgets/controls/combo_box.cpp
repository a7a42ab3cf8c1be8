// TComboBox: a superclass of "COMBOBOX" whose items survive its window.
#include <algorithm>

#include "widgets/controls/stdctrls.h"
#include "widgets/rtl/flag_scope.h"

namespace {
// The version 6 common controls' least number of rows an open list shows.
constexpr UINT kSetMinVisible = 0x1701;  // CB_SETMINVISIBLE
}  // namespace

const TEnumInfo& TCustomComboBox::StyleInfo() {
  static const TEnumInfo info{
      {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};
  return info;
}

const TClassInfo& TCustomComboBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TCustomComboBox> b("TCustomComboBox", &TWinControl::StaticClass());
    b.Enum(
        "Style", StyleInfo(), [](const TCustomComboBox& c) { return c.Style(); },
        [](TCustomComboBox& c, int v) { c.SetStyle(static_cast<TComboBoxStyle>(v)); }, csDropDown);
    b.Str(
        "Text", [](const TCustomComboBox& c) { return const_cast<TCustomComboBox&>(c).Text(); },
        [](TCustomComboBox& c, const std::string& v) { c.SetText(v); });
    b.Obj(
        "Items", TPropKind::Strings, TStrings::StaticClass(),
        [](const TCustomComboBox& c) -> TObject* { return c.Items(); },
        [](TCustomComboBox& c, TObject* v) { c.SetItems(dynamic_cast<TStrings*>(v)); });
    b.Int(
        "ItemIndex", [](const TCustomComboBox& c) { return c.ItemIndex(); },
        [](TCustomComboBox& c, int v) { c.SetItemIndex(v); }, -1);
    b.Int(
        "ItemHeight",
        [](const TCustomComboBox& c) { return const_cast<TCustomComboBox&>(c).GetItemHeight(); },
        [](TCustomComboBox& c, int v) { c.SetItemHeight(v); });
    b.Bool(
        "Sorted", [](const TCustomComboBox& c) { return c.Sorted(); },
        [](TCustomComboBox& c, int v) { c.SetSorted(v != 0); }, false);
    b.Int(
        "DropDownCount", [](const TCustomComboBox& c) { return c.DropDownCount(); },
        [](TCustomComboBox& c, int v) { c.SetDropDownCount(v); }, 8);
    b.Int(
        "MaxLength", [](const TCustomComboBox& c) { return c.MaxLength(); },
        [](TCustomComboBox& c, int v) { c.SetMaxLength(v); }, 0);
    b.Bool(
        "AutoComplete", [](const TCustomComboBox& c) { return c.AutoComplete(); },
        [](TCustomComboBox& c, int v) { c.SetAutoComplete(v != 0); }, true);
    b.Int(
        "AutoCompleteDelay",
        [](const TCustomComboBox& c) { return static_cast<int64_t>(c.AutoCompleteDelay()); },
        [](TCustomComboBox& c, int v) { c.SetAutoCompleteDelay(static_cast<unsigned>(v)); }, 500);
    b.Bool(
        "AutoDropDown", [](const TCustomComboBox& c) { return c.AutoDropDown(); },
        [](TCustomComboBox& c, int v) { c.SetAutoDropDown(v != 0); }, false);
    b.Enum(
        "CharCase", TCustomEdit::CharCaseInfo(),
        [](const TCustomComboBox& c) { return c.CharCase(); },
        [](TCustomComboBox& c, int v) { c.SetCharCase(static_cast<TEditCharCase>(v)); }, ecNormal);
    b.Event<&TCustomComboBox::OnChange>("OnChange");
    b.Event<&TCustomComboBox::OnSelect>("OnSelect");
    b.Event<&TCustomComboBox::OnDropDown>("OnDropDown");
    b.Event<&TCustomComboBox::OnCloseUp>("OnCloseUp");
    b.Event<&TCustomComboBox::OnDrawItem>("OnDrawItem");
    b.Event<&TCustomComboBox::OnMeasureItem>("OnMeasureItem");
    return b.Done();
  }();
  return info;
}

const TClassInfo& TComboBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TComboBox> b("TComboBox", &TCustomComboBox::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TWinControl(AOwner),
      items_(std::make_unique<TControlItems>(this, ComboBoxItemMessages)),
      canvas_(std::make_unique<TControlCanvas>()) {
  controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  InitBounds(0, 0, 145, 21);
  InitTabStop(true);
  InitColor(clWindow);
  canvas_->SetControl(this);
}

TCustomComboBox::~TCustomComboBox() {
  // The items read the window while it exists: it goes before they do.
  if (HandleAllocated()) DestroyHandle();
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
  static const DWORD kStyles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                  CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                  CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
  TWinControl::CreateParams(p);
  CreateSubClass(p, "COMBOBOX");
  p.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL | kStyles[style_];
  if (Sorted()) p.Style |= CBS_SORT;
  if (charCase_ == ecUpperCase) p.Style |= CBS_UPPERCASE;
  if (charCase_ == ecLowerCase) p.Style |= CBS_LOWERCASE;
  // A drop-down's window height is the height of its open list.
  if (style_ != csSimple) p.Height += GetItemHeight() * dropDownCount_ + 2;
}

void TCustomComboBox::CreateWnd() {
  TFlagScope creating(controlState_, csCreating);
  TWinControl::CreateWnd();
  items_->MoveIntoWindow();
  if (itemIndex_ >= 0) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  if (maxLength_ > 0) SendMessageA(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  if (style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable)
    SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, itemHeight_);
  SendMessageA(Handle(), kSetMinVisible, static_cast<WPARAM>(dropDownCount_), 0);
  AttachChildren();
}

void TCustomComboBox::DestroyWnd() {
  DetachChildren();
  itemIndex_ = ItemIndex();
  items_->MoveOutOfWindow();
  canvas_->FreeHandle();
  TWinControl::DestroyWnd();
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
  if (style_ == v) return;
  style_ = v;
  RecreateWnd();
}

int TCustomComboBox::ItemIndex() const {
  if (!HandleAllocated()) return itemIndex_;
  return static_cast<int>(
      SendMessageA(const_cast<TCustomComboBox*>(this)->Handle(), CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int v) {
  if (!HandleAllocated()) {
    itemIndex_ = v;
    return;
  }
  if (ItemIndex() != v) SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(v), 0);
}

int TCustomComboBox::GetItemHeight() {
  if (HandleAllocated() && style_ != csOwnerDrawFixed && style_ != csOwnerDrawVariable)
    return static_cast<int>(SendMessageA(Handle(), CB_GETITEMHEIGHT, 0, 0));
  return itemHeight_;
}

void TCustomComboBox::SetItemHeight(int v) {
  if (v <= 0 || v == itemHeight_) return;
  itemHeight_ = v;
  if (style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable) RecreateWnd();
}

void TCustomComboBox::SetSorted(bool v) {
  if (Sorted() == v) return;
  if (HandleAllocated()) items_->MoveOutOfWindow();
  items_->SetSorted(v);
  RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int v) {
  if (dropDownCount_ == v) return;
  dropDownCount_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), kSetMinVisible, static_cast<WPARAM>(v), 0);
}

void TCustomComboBox::SetCharCase(TEditCharCase v) {
  if (charCase_ == v) return;
  charCase_ = v;
  RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int v) {
  maxLength_ = std::max(0, v);
  if (HandleAllocated()) SendMessageA(Handle(), CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

bool TCustomComboBox::DroppedDown() const {
  return HandleAllocated() &&
         SendMessageA(const_cast<TCustomComboBox*>(this)->Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::Change() {
  TControl::Changed();
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect) OnSelect(this);
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

// The open list shows min(Count, DropDownCount) items (at least one).
void TCustomComboBox::AdjustDropDown() {
  int n = std::clamp(items_->Count(), 1, std::max(1, dropDownCount_));
  SetWindowPos(Handle(), nullptr, 0, 0, Width(), GetItemHeight() * n + Height() + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TCustomComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  canvas_->FillRect(Rect);
  if (Index >= 0 && Index < items_->Count()) {
    std::string s = items_->Strings(Index);
    Rect.Left += 2;
    DrawTextA(canvas_->Handle(), s.c_str(), static_cast<int>(s.size()), Rect.AsRECT(),
              DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX));
  }
}

void TCustomComboBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      switch (HIWORD(m.WParam)) {
        case CBN_SELCHANGE:
          // Only the user's pick: CB_SETCURSEL sends no CBN_SELCHANGE.
          if ((style_ == csDropDown || style_ == csSimple) && ItemIndex() >= 0)
            SetText(items_->Strings(ItemIndex()));
          Click();
          Change();
          Select();
          break;
        case CBN_EDITCHANGE:
          Change();
          break;
        case CBN_DROPDOWN:
          DropDown();
          AdjustDropDown();
          break;
        case CBN_CLOSEUP:
          CloseUp();
          break;
        default:
          break;
      }
      return;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      // From the combo's own edit and list: the combo's colours.
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, ColorToRGB(Font()->Color()));
      SetBkColor(dc, ColorToRGB(Brush()->Color()));
      m.Result = reinterpret_cast<LRESULT>(Brush()->Handle());
      return;
    }
    case CN_DRAWITEM:
      CNDrawItem(m);
      return;
    case CN_MEASUREITEM:
      CNMeasureItem(m);
      return;
    case WM_LBUTTONDOWN:
      WMLButtonDown(m);
      return;
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClk(m);
      return;
    case WM_CHAR: {
      // Keys typed into a drop-down list reach the combo's own window.
      char key = static_cast<char>(m.WParam);
      OpenOnKey(key);
      if (SearchListKey(key)) return;
      TWinControl::Dispatch(m);
      return;
    }
    default:
      TWinControl::Dispatch(m);
  }
}

void TCustomComboBox::WMLButtonDown(TMessage& m) {
  TWinControl::Dispatch(m);
}

void TCustomComboBox::WMLButtonDblClk(TMessage& m) {
  TWinControl::Dispatch(m);
}

void TCustomComboBox::CNDrawItem(TMessage& m) {
  auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  TOwnerDrawState state = LOWORD(d->itemState);
  if (d->itemState & ODS_COMBOBOXEDIT) state |= odComboBoxEdit;
  m.Result = PaintOwnerDrawItem(*canvas_, *this, *d, state,
                                [](TWinControl& c, int i, const RECT& r, TOwnerDrawState st) {
                                  static_cast<TCustomComboBox&>(c).DrawItem(i, r, st);
                                });
}

void TCustomComboBox::CNMeasureItem(TMessage& m) {
  auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  int h = itemHeight_;
  if (style_ == csOwnerDrawVariable) MeasureItem(static_cast<int>(mi->itemID), h);
  mi->itemHeight = static_cast<UINT>(h);
  m.Result = 1;
}
