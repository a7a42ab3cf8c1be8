// TListBox: a superclass of "LISTBOX" whose items survive its window.
#include "widgets/controls/stdctrls.h"
#include "widgets/graphics/canvas_on_dc.h"

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
      items_(std::make_unique<TControlItems>(this, ListBoxItemMessages)),
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
  bool isVirtual = style_ == lbVirtual || style_ == lbVirtualOwnerDraw;
  TWinControl::CreateParams(p);
  CreateSubClass(p, "LISTBOX");
  p.Style |= WS_HSCROLL | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | kStyles[style_] |
             (isVirtual ? LBS_NODATA : LBS_HASSTRINGS);
  if (Sorted()) p.Style |= LBS_SORT;
  if (borderStyle_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd() {
  TWinControl::CreateWnd();
  if (style_ != lbStandard) SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
  items_->MoveIntoWindow();
  if (itemIndex_ >= 0) SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  if (topIndex_ > 0) SendMessageA(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(topIndex_), 0);
}

void TCustomListBox::DestroyWnd() {
  itemIndex_ = ItemIndex();
  topIndex_ = TopIndex();
  items_->MoveOutOfWindow();
  canvas_->FreeHandle();
  TWinControl::DestroyWnd();
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
  if (HandleAllocated()) items_->MoveOutOfWindow();
  items_->SetSorted(v);
  RecreateWnd();
}

int TCustomListBox::ItemIndex() const {
  if (!HandleAllocated()) return itemIndex_;
  return static_cast<int>(
      SendMessageA(const_cast<TCustomListBox*>(this)->Handle(), LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int v) {
  if (!HandleAllocated()) {
    itemIndex_ = v;
    return;
  }
  if (ItemIndex() != v) SendMessageA(Handle(), LB_SETCURSEL, static_cast<WPARAM>(v), 0);
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
  int count = items_->Count();
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
  if (Index < items_->Count()) {
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
