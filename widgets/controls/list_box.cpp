// TListBox: a superclass of "LISTBOX" whose items survive its window.
#include <algorithm>

#include "widgets/controls/stdctrls.h"
#include "widgets/graphics/canvas_on_dc.h"
#include "widgets/rtl/exceptions.h"

namespace {

bool IsVirtualStyle(TListBoxStyle s) {
  return s == lbVirtual || s == lbVirtualOwnerDraw;
}

}  // namespace

// The items of a list box: a virtual one keeps none, its count and texts
// are the list box's Count and data request.
class TListBoxItems final : public TControlItems {
 public:
  explicit TListBoxItems(TCustomListBox* ListBox)
      : TControlItems(ListBox, ListBoxItemMessages), listBox_(ListBox) {}

 protected:
  std::string Get(int Index) const override {
    if (!listBox_->VirtualData()) return TControlItems::Get(Index);
    listBox_->CheckIndex(Index);
    return listBox_->DoGetData(Index);
  }
  int GetCount() const override {
    if (!listBox_->VirtualData()) return TControlItems::GetCount();
    return listBox_->Count();
  }

 private:
  TCustomListBox* listBox_;
};

const TEnumInfo& TCustomListBox::StyleInfo() {
  static const TEnumInfo info{
      {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable", "lbVirtual", "lbVirtualOwnerDraw"}};
  return info;
}

const TClassInfo& TCustomListBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TCustomListBox> b("TCustomListBox", &TWinControl::StaticClass());
    b.Enum(
        "Style", StyleInfo(), [](const TCustomListBox& c) { return c.Style(); },
        [](TCustomListBox& c, int v) { c.SetStyle(static_cast<TListBoxStyle>(v)); }, lbStandard);
    b.Obj(
        "Items", TPropKind::Strings, TStrings::StaticClass(),
        [](const TCustomListBox& c) -> TObject* { return c.Items(); },
        [](TCustomListBox& c, TObject* v) { c.SetItems(dynamic_cast<TStrings*>(v)); });
    b.Int(
        "ItemIndex", [](const TCustomListBox& c) { return c.ItemIndex(); },
        [](TCustomListBox& c, int v) { c.SetItemIndex(v); }, -1);
    b.Int(
        "ItemHeight",
        [](const TCustomListBox& c) { return const_cast<TCustomListBox&>(c).ItemHeight(); },
        [](TCustomListBox& c, int v) { c.SetItemHeight(v); });
    b.Bool(
        "Sorted", [](const TCustomListBox& c) { return c.Sorted(); },
        [](TCustomListBox& c, int v) { c.SetSorted(v != 0); }, false);
    b.Int(
        "Columns", [](const TCustomListBox& c) { return c.Columns(); },
        [](TCustomListBox& c, int v) { c.SetColumns(v); }, 0);
    b.Bool(
        "MultiSelect", [](const TCustomListBox& c) { return c.MultiSelect(); },
        [](TCustomListBox& c, int v) { c.SetMultiSelect(v != 0); }, false);
    b.Bool(
        "ExtendedSelect", [](const TCustomListBox& c) { return c.ExtendedSelect(); },
        [](TCustomListBox& c, int v) { c.SetExtendedSelect(v != 0); }, true);
    b.Event<&TCustomListBox::OnData>("OnData");
    b.Event<&TCustomListBox::OnDrawItem>("OnDrawItem");
    b.Event<&TCustomListBox::OnMeasureItem>("OnMeasureItem");
    return b.Done();
  }();
  return info;
}

const TClassInfo& TListBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TListBox> b("TListBox", &TCustomListBox::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TWinControl(AOwner),
      items_(std::make_unique<TListBoxItems>(this)),
      canvas_(std::make_unique<TControlCanvas>()) {
  controlStyle_ = csSetCaption | csDoubleClicks | csOpaque;
  InitBounds(0, 0, 121, 97);
  InitTabStop(true);
  InitColor(clWindow);
  canvas_->SetControl(this);
}

TCustomListBox::~TCustomListBox() {
  if (HandleAllocated()) DestroyHandle();
}

void TCustomListBox::CreateParams(TCreateParams& p) {
  static const DWORD kStyles[] = {0, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE, LBS_OWNERDRAWFIXED,
                                  LBS_OWNERDRAWFIXED};
  TWinControl::CreateParams(p);
  CreateSubClass(p, "LISTBOX");
  p.Style |= WS_HSCROLL | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | kStyles[style_] |
             (IsVirtualStyle(style_) ? LBS_NODATA : LBS_HASSTRINGS);
  if (Sorted()) p.Style |= LBS_SORT;
  if (columns_ > 0) p.Style |= LBS_MULTICOLUMN;
  if (multiSelect_) p.Style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  // A flat single border is one line; a 3D one the sunken client edge.
  if (borderStyle_ == bsSingle) {
    if (Ctl3D())
      p.ExStyle |= WS_EX_CLIENTEDGE;
    else
      p.Style |= WS_BORDER;
  }
}

void TCustomListBox::CreateWnd() {
  windowVirtual_ = IsVirtualStyle(style_);
  windowMultiSelect_ = multiSelect_;
  TWinControl::CreateWnd();
  HWND wnd = Handle();
  if (style_ != lbStandard) SendMessageA(wnd, LB_SETITEMHEIGHT, 0, itemHeight_);
  if (windowVirtual_)
    SendMessageA(wnd, LB_SETCOUNT, static_cast<WPARAM>(count_), 0);
  else
    items_->MoveIntoWindow();
  RestoreSelection();
  if (topIndex_ > 0) SendMessageA(wnd, LB_SETTOPINDEX, static_cast<WPARAM>(topIndex_), 0);
  SetColumnWidth();
}

void TCustomListBox::DestroyWnd() {
  SaveSelection();
  topIndex_ = TopIndex();
  if (windowVirtual_)
    count_ = Count();
  else
    items_->MoveOutOfWindow();
  canvas_->FreeHandle();
  TWinControl::DestroyWnd();
}

// The selection goes with the window: it is kept as indices meanwhile.
// A single selection becomes the only selected item of a multiple one; a
// multiple one leaves a single one its caret item when that is selected,
// else its first selected item.
void TCustomListBox::SaveSelection() {
  itemIndex_ = ItemIndex();
  savedSelection_.clear();
  HWND wnd = Handle();
  if (!windowMultiSelect_) {
    if (itemIndex_ >= 0) savedSelection_.push_back(itemIndex_);
    return;
  }
  const LRESULT n = SendMessageA(wnd, LB_GETSELCOUNT, 0, 0);
  if (n <= 0) return;
  savedSelection_.resize(static_cast<size_t>(n));
  const LRESULT got = SendMessageA(wnd, LB_GETSELITEMS, static_cast<WPARAM>(n),
                                   reinterpret_cast<LPARAM>(savedSelection_.data()));
  savedSelection_.resize(got < 0 ? 0 : std::min(static_cast<size_t>(got), savedSelection_.size()));
}

void TCustomListBox::RestoreSelection() {
  HWND wnd = Handle();
  if (windowMultiSelect_) {
    for (int i : savedSelection_) SendMessageA(wnd, LB_SETSEL, TRUE, i);
    if (itemIndex_ >= 0) SendMessageA(wnd, LB_SETCARETINDEX, static_cast<WPARAM>(itemIndex_), 0);
  } else if (!savedSelection_.empty()) {
    const bool kept = std::find(savedSelection_.begin(), savedSelection_.end(), itemIndex_) !=
                      savedSelection_.end();
    const int index = kept ? itemIndex_ : savedSelection_.front();
    SendMessageA(wnd, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  savedSelection_.clear();
}

void TCustomListBox::SetStyle(TListBoxStyle v) {
  if (style_ == v) return;
  style_ = v;
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle v) {
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool v) {
  if (Sorted() == v) return;
  if (HandleAllocated() && !windowVirtual_) items_->MoveOutOfWindow();
  items_->SetSorted(v);
  RecreateWnd();
}

void TCustomListBox::SetColumns(int v) {
  v = std::max(0, v);
  if (columns_ == v) return;
  // Only having columns or not is a window style; their number is a width.
  const bool restyle = (columns_ == 0) != (v == 0);
  columns_ = v;
  if (restyle)
    RecreateWnd();
  else
    SetColumnWidth();
}

void TCustomListBox::SetColumnWidth() {
  if (columns_ <= 0 || !HandleAllocated()) return;
  const int width = std::max(1, ClientWidth() / columns_);
  SendMessageA(Handle(), LB_SETCOLUMNWIDTH, static_cast<WPARAM>(width), 0);
}

void TCustomListBox::SetMultiSelect(bool v) {
  if (multiSelect_ == v) return;
  multiSelect_ = v;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool v) {
  if (extendedSelect_ == v) return;
  extendedSelect_ = v;
  if (multiSelect_) RecreateWnd();
}

bool TCustomListBox::VirtualData() const {
  return HandleAllocated() ? windowVirtual_ : IsVirtualStyle(style_);
}

int TCustomListBox::Count() const {
  if (!VirtualData()) return items_->Count();
  if (!HandleAllocated()) return count_;
  const LRESULT n = SendMessageA(const_cast<TCustomListBox*>(this)->Handle(), LB_GETCOUNT, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}

void TCustomListBox::SetCount(int v) {
  if (!IsVirtualStyle(style_))
    throw EListError(Exception::Fmt("%s: only a virtual list box takes a count", Name().c_str()));
  if (v < 0) throw EListError(Exception::Fmt("List count out of bounds (%d)", v));
  if (HandleAllocated() && windowVirtual_) {
    const LRESULT r = SendMessageA(Handle(), LB_SETCOUNT, static_cast<WPARAM>(v), 0);
    if (r == LB_ERR || r == LB_ERRSPACE)
      throw EOutOfResources(Exception::Fmt("%s: the count %d could not be set", Name().c_str(), v));
  }
  count_ = v;
}

std::string TCustomListBox::DoGetData(int Index) {
  std::string data;
  if (OnData) OnData(this, Index, data);
  return data;
}

void TCustomListBox::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(Exception::Fmt("List index out of bounds (%d)", Index));
}

bool TCustomListBox::Selected(int Index) {
  CheckIndex(Index);
  if (!multiSelect_) return Index == ItemIndex();
  if (!HandleAllocated())
    return std::find(savedSelection_.begin(), savedSelection_.end(), Index) !=
           savedSelection_.end();
  return SendMessageA(Handle(), LB_GETSEL, static_cast<WPARAM>(Index), 0) > 0;
}

void TCustomListBox::SetSelected(int Index, bool v) {
  CheckIndex(Index);
  if (!multiSelect_) {
    if (v)
      SetItemIndex(Index);
    else if (ItemIndex() == Index)
      SetItemIndex(-1);
    return;
  }
  if (HandleAllocated()) {
    SendMessageA(Handle(), LB_SETSEL, v ? TRUE : FALSE, Index);
    return;
  }
  auto at = std::find(savedSelection_.begin(), savedSelection_.end(), Index);
  if (v && at == savedSelection_.end()) savedSelection_.push_back(Index);
  if (!v && at != savedSelection_.end()) savedSelection_.erase(at);
}

int TCustomListBox::SelCount() {
  if (!multiSelect_) return -1;
  if (!HandleAllocated()) return static_cast<int>(savedSelection_.size());
  const LRESULT n = SendMessageA(Handle(), LB_GETSELCOUNT, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}

int TCustomListBox::ItemIndex() const {
  if (!HandleAllocated()) return itemIndex_;
  HWND wnd = const_cast<TCustomListBox*>(this)->Handle();
  // LB_SETCURSEL is single selection's alone; a multiple one has a caret.
  return static_cast<int>(
      SendMessageA(wnd, windowMultiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int v) {
  if (!HandleAllocated()) {
    itemIndex_ = v;
    if (!multiSelect_) {
      savedSelection_.clear();
      if (v >= 0) savedSelection_.push_back(v);
    }
    return;
  }
  if (ItemIndex() == v) return;
  SendMessageA(Handle(), windowMultiSelect_ ? LB_SETCARETINDEX : LB_SETCURSEL,
               static_cast<WPARAM>(v), 0);
}

int TCustomListBox::TopIndex() const {
  if (!HandleAllocated()) return topIndex_;
  return static_cast<int>(
      SendMessageA(const_cast<TCustomListBox*>(this)->Handle(), LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int v) {
  if (!HandleAllocated()) {
    topIndex_ = v;
    return;
  }
  SendMessageA(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(v), 0);
}

int TCustomListBox::ItemHeight() {
  if (HandleAllocated() && style_ == lbStandard)
    return static_cast<int>(SendMessageA(Handle(), LB_GETITEMHEIGHT, 0, 0));
  return itemHeight_;
}

void TCustomListBox::SetItemHeight(int v) {
  if (v <= 0 || v == itemHeight_) return;
  itemHeight_ = v;
  RecreateWnd();
}

TRect TCustomListBox::ItemRect(int Index) {
  RECT r{};
  int count = Count();
  if (Index == 0 || Index < count) {
    SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index),
                 reinterpret_cast<LPARAM>(&r));
  } else if (Index == count) {
    // Just below the last item.
    SendMessageA(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index - 1),
                 reinterpret_cast<LPARAM>(&r));
    OffsetRect(&r, 0, r.bottom - r.top);
  }
  return r;
}

void TCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  canvas_->FillRect(Rect);
  if (Index < Count()) {
    std::string s = items_->Strings(Index);
    if (UseRightToLeftAlignment())
      Rect.Right -= 2;
    else
      Rect.Left += 2;
    DrawTextA(canvas_->Handle(), s.c_str(), static_cast<int>(s.size()), Rect.AsRECT(),
              DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX));
  }
}

void TCustomListBox::MeasureItem(int Index, int& Height) {
  if (OnMeasureItem) OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CNDrawItem(TMessage& m) {
  auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  TOwnerDrawState state = LOWORD(d->itemState);
  m.Result = PaintOwnerDrawItem(*canvas_, *this, *d, state,
                                [](TWinControl& c, int i, const RECT& r, TOwnerDrawState st) {
                                  static_cast<TCustomListBox&>(c).DrawItem(i, r, st);
                                });
}

void TCustomListBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      switch (HIWORD(m.WParam)) {
        case LBN_SELCHANGE:
          Changed();
          Click();
          break;
        case LBN_DBLCLK:
          DblClick();
          break;
        default:
          break;
      }
      return;
    case CN_DRAWITEM:
      CNDrawItem(m);
      return;
    case WM_SIZE:
      TWinControl::Dispatch(m);
      SetColumnWidth();
      return;
    case CM_CTL3DCHANGED:
      // The frame is a window style: the window is made again.
      if (HandleAllocated() && borderStyle_ == bsSingle) RecreateWnd();
      TWinControl::Dispatch(m);
      return;
    case CN_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      int h = itemHeight_;
      if (style_ == lbOwnerDrawVariable) MeasureItem(static_cast<int>(mi->itemID), h);
      mi->itemHeight = static_cast<UINT>(h);
      m.Result = 1;
      return;
    }
    default:
      TWinControl::Dispatch(m);
  }
}

LRESULT PaintOwnerDrawItem(TControlCanvas& Canvas, TWinControl& Control, const DRAWITEMSTRUCT& Item,
                           TOwnerDrawState State,
                           void (*Draw)(TWinControl&, int, const RECT&, TOwnerDrawState)) {
  const int index = static_cast<int>(Item.itemID);
  Canvas.FreeHandle();
  TCanvasOnDC on(Canvas, Item.hDC);
  Canvas.SetFont(Control.Font());
  Canvas.SetBrush(Control.Brush());
  if (index >= 0 && (State & odSelected)) {
    Canvas.Brush()->SetColor(clHighlight);
    Canvas.Font()->SetColor(clHighlightText);
  }
  if (index >= 0)
    Draw(Control, index, Item.rcItem, State);
  else
    Canvas.FillRect(Item.rcItem);
  if (State & odFocused) DrawFocusRect(Item.hDC, &Item.rcItem);
  return 1;
}
