// TPageControl and TTabSheet over "SysTabControl32": the tabs are the
// visible sheets' captions, rebuilt whenever sheets or captions change.
#include <windows.h>

#include <commctrl.h>
#include <vssym32.h>

#include <algorithm>

#include "widgets/controls/comctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/img_list.h"
#include "widgets/graphics/theme_data.h"

// ---- TCustomTabControl ---------------------------------------------------------------------

const TClassInfo& TCustomTabControl::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TCustomTabControl> b("TCustomTabControl", &TWinControl::StaticClass());
    b.Bool(
        "MultiLine", [](const TCustomTabControl& c) { return c.MultiLine(); },
        [](TCustomTabControl& c, int v) { c.SetMultiLine(v != 0); }, false);
    static const TEnumInfo positions{{"tpTop", "tpBottom", "tpLeft", "tpRight"}};
    static const TEnumInfo styles{{"tsTabs", "tsButtons", "tsFlatButtons"}};
    b.Enum(
        "TabPosition", positions, [](const TCustomTabControl& c) { return c.TabPosition(); },
        [](TCustomTabControl& c, int v) { c.SetTabPosition(static_cast<TTabPosition>(v)); }, tpTop);
    b.Enum(
        "Style", styles, [](const TCustomTabControl& c) { return c.Style(); },
        [](TCustomTabControl& c, int v) { c.SetStyle(static_cast<TTabStyle>(v)); }, tsTabs);
    b.Int(
        "TabHeight", [](const TCustomTabControl& c) { return c.TabHeight(); },
        [](TCustomTabControl& c, int v) { c.SetTabHeight(v); }, 0);
    b.Int(
        "TabWidth", [](const TCustomTabControl& c) { return c.TabWidth(); },
        [](TCustomTabControl& c, int v) { c.SetTabWidth(v); }, 0);
    b.Bool(
        "HotTrack", [](const TCustomTabControl& c) { return c.HotTrack(); },
        [](TCustomTabControl& c, int v) { c.SetHotTrack(v != 0); }, false);
    b.Bool(
        "OwnerDraw", [](const TCustomTabControl& c) { return c.OwnerDraw(); },
        [](TCustomTabControl& c, int v) { c.SetOwnerDraw(v != 0); }, false);
    b.Obj(
        "Images", TPropKind::Component, TCustomImageList::StaticClass(),
        [](const TCustomTabControl& c) -> TObject* { return c.Images(); },
        [](TCustomTabControl& c, TObject* v) { c.SetImages(dynamic_cast<TCustomImageList*>(v)); });
    b.Event<&TCustomTabControl::OnChange>("OnChange");
    b.Event<&TCustomTabControl::OnChanging>("OnChanging");
    b.Event<&TCustomTabControl::OnDrawTab>("OnDrawTab");
    return b.Done();
  }();
  return info;
}

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner) {
  controlStyle_ = csAcceptsControls | csDoubleClicks;
  InitBounds(0, 0, 289, 193);
  InitTabStop(true);
  InitColor(clBtnFace);
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
}

void TCustomTabControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, WC_TABCONTROLA);
  p.Style |= WS_CLIPCHILDREN | (multiLine_ ? TCS_MULTILINE : 0);
  // Tabs beside the pages only come in several rows.
  static constexpr DWORD positions[] = {0, TCS_BOTTOM, TCS_VERTICAL | TCS_MULTILINE,
                                        TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE};
  static constexpr DWORD styles[] = {TCS_TABS, TCS_BUTTONS, TCS_BUTTONS | TCS_FLATBUTTONS};
  p.Style |= positions[tabPosition_] | styles[style_];
  if (tabWidth_ > 0) p.Style |= TCS_FIXEDWIDTH;
  if (hotTrack_) p.Style |= TCS_HOTTRACK;
  if (ownerDraw_) p.Style |= TCS_OWNERDRAWFIXED;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTabControl::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyImages();
  ApplyTabSize();
  UpdateTabs();
}

void TCustomTabControl::ApplyTabSize() {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(tabWidth_, tabHeight_));
  Realign();
}

void TCustomTabControl::ApplyImages() {
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), TCM_SETIMAGELIST, 0,
               reinterpret_cast<LPARAM>(images_ ? images_->Handle() : nullptr));
}

void TCustomTabControl::SetTabPosition(TTabPosition v) {
  if (tabPosition_ == v) return;
  tabPosition_ = v;
  RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle v) {
  if (style_ == v) return;
  style_ = v;
  RecreateWnd();
}

void TCustomTabControl::SetTabHeight(int v) {
  v = std::max(0, v);
  if (tabHeight_ == v) return;
  tabHeight_ = v;
  ApplyTabSize();
}

void TCustomTabControl::SetTabWidth(int v) {
  v = std::max(0, v);
  if (tabWidth_ == v) return;
  // A fixed width is a window style: only a new window takes it on or off.
  const bool restyle = (tabWidth_ > 0) != (v > 0);
  tabWidth_ = v;
  if (restyle)
    RecreateWnd();
  else
    ApplyTabSize();
}

void TCustomTabControl::SetHotTrack(bool v) {
  if (hotTrack_ == v) return;
  hotTrack_ = v;
  RecreateWnd();
}

void TCustomTabControl::SetOwnerDraw(bool v) {
  if (ownerDraw_ == v) return;
  ownerDraw_ = v;
  RecreateWnd();
}

void TCustomTabControl::SetImages(TCustomImageList* v) {
  if (images_ == v) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = v;
  if (v) v->FreeNotification(this);
  ApplyImages();
  UpdateTabs();
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) {
    images_ = nullptr;
    ApplyImages();
  }
}

void TCustomTabControl::DrawTab(int TabIndex, const TRect& Rect, bool Active) {
  if (OnDrawTab) {
    OnDrawTab(this, TabIndex, Rect, Active);
    return;
  }
  canvas_->FillRect(Rect);
}

void TCustomTabControl::UpdateTabs() {
  if (!HandleAllocated()) return;
  HWND h = Handle();
  SendMessageA(h, TCM_DELETEALLITEMS, 0, 0);
  std::vector<std::string> texts = TabTexts();
  for (size_t i = 0; i < texts.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = texts[i].data();
    item.iImage = images_ ? GetImageIndex(static_cast<int>(i)) : -1;
    SendMessageA(h, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageA(h, TCM_SETCURSEL, static_cast<WPARAM>(CurrentTab()), 0);
  Realign();
}

int TCustomTabControl::TabIndex() const {
  if (!HandleAllocated()) return tabIndex_;
  return static_cast<int>(
      SendMessageA(const_cast<TCustomTabControl*>(this)->Handle(), TCM_GETCURSEL, 0, 0));
}

void TCustomTabControl::SetTabIndex(int v) {
  tabIndex_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(v), 0);
}

void TCustomTabControl::SetMultiLine(bool v) {
  if (multiLine_ == v) return;
  multiLine_ = v;
  RecreateWnd();
}

TRect TCustomTabControl::DisplayRect() {
  RECT r;
  ::GetClientRect(Handle(), &r);
  SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  r.top += 2;
  return r;
}

TRect TCustomTabControl::TabRect(int Index) {
  RECT r{};
  if (HandleAllocated())
    SendMessageA(Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(Index),
                 reinterpret_cast<LPARAM>(&r));
  return r;
}

void TCustomTabControl::AdjustClientRect(TRect& Rect) {
  if (HandleAllocated()) Rect = DisplayRect();
  TWinControl::AdjustClientRect(Rect);
}

bool TCustomTabControl::CanChange() {
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  return allow;
}

void TCustomTabControl::Change() {
  if (OnChange) OnChange(this);
}

void TCustomTabControl::Dispatch(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    TControlCanvas* c = canvas_.get();
    // The item's DC belongs to the caller: the canvas only borrows it.
    c->FreeHandle();
    const int saved = SaveDC(d->hDC);
    c->SetHandle(d->hDC);
    c->SetFont(Font());
    c->SetBrush(Brush());
    DrawTab(static_cast<int>(d->itemID), TRect(d->rcItem), (d->itemState & ODS_SELECTED) != 0);
    c->SetHandle(nullptr);
    RestoreDC(d->hDC, saved);
    m.Result = 1;
    return;
  }
  if (m.Msg == CN_NOTIFY) {
    auto* h = reinterpret_cast<NMHDR*>(m.LParam);
    if (h->code == static_cast<UINT>(TCN_SELCHANGING)) {
      m.Result = CanChange() ? 0 : 1;
      return;
    }
    if (h->code == static_cast<UINT>(TCN_SELCHANGE)) {
      tabIndex_ = TabIndex();
      Change();
      return;
    }
  }
  TWinControl::Dispatch(m);
}

// ---- TPageControl ------------------------------------------------------------------------------

const TClassInfo& TPageControl::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TPageControl> b("TPageControl", &TCustomTabControl::StaticClass());
    b.Creatable();
    b.Obj(
        "ActivePage", TPropKind::Component, TTabSheet::StaticClass(),
        [](const TPageControl& c) -> TObject* { return c.ActivePage(); },
        [](TPageControl& c, TObject* v) { c.SetActivePage(dynamic_cast<TTabSheet*>(v)); });
    return b.Done();
  }();
  return info;
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl() {
  // The sheets outlive this part of the object (the windowed base frees
  // them): they forget their page control first.
  for (TTabSheet* p : pages_) p->pageControl_ = nullptr;
  pages_.clear();
  activePage_ = nullptr;
}

void TPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomTabControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == activePage_) activePage_ = nullptr;
}

std::vector<std::string> TPageControl::TabTexts() const {
  std::vector<std::string> texts;
  for (TTabSheet* p : pages_)
    if (p->TabVisible()) texts.push_back(p->Caption());
  return texts;
}

int TPageControl::CurrentTab() const {
  return activePage_ ? activePage_->TabIndex() : -1;
}

TTabSheet* TPageControl::PageOfTab(int Tab) const {
  for (TTabSheet* p : pages_)
    if (p->TabVisible() && Tab-- == 0) return p;
  return nullptr;
}

void TPageControl::InsertPage(TTabSheet* Page) {
  pages_.push_back(Page);
  Page->pageControl_ = this;
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* Page) {
  TTabSheet* next = FindNextPage(Page, true, true);
  if (next == Page) next = nullptr;
  std::erase(pages_, Page);
  Page->pageControl_ = nullptr;
  if (activePage_ == Page) {
    activePage_ = nullptr;
    if (!HasState(csDestroying)) SetActivePage(next);
  }
  UpdateTabs();
}

void TPageControl::SetActivePage(TTabSheet* Page) {
  if (Page && Page->pageControl_ != this) return;
  ChangeActivePage(Page);
  SetTabIndex(Page ? Page->TabIndex() : -1);
}

void TPageControl::ChangeActivePage(TTabSheet* Page) {
  if (activePage_ == Page) return;
  TCustomForm* form = GetParentForm(this);
  if (form && activePage_ && activePage_->ContainsControl(form->ActiveControl()) && CanFocus())
    form->SetActiveControl(this);
  if (Page) {
    Page->BringToFront();
    Page->SetVisible(true);
  }
  if (activePage_) activePage_->SetVisible(false);
  activePage_ = Page;
}

int TPageControl::ActivePageIndex() const {
  auto it = std::find(pages_.begin(), pages_.end(), activePage_);
  return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

void TPageControl::SetActivePageIndex(int v) {
  SetActivePage(v >= 0 && v < PageCount() ? pages_[static_cast<size_t>(v)] : nullptr);
}

void TPageControl::UpdateActivePage() {
  int tab = TabIndex();
  if (tab >= 0) SetActivePage(PageOfTab(tab));
}

void TPageControl::Change() {
  UpdateActivePage();
  TCustomTabControl::Change();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) {
  int n = PageCount();
  if (n == 0) return nullptr;
  auto it = std::find(pages_.begin(), pages_.end(), CurPage);
  int start = it == pages_.end() ? (GoForward ? n - 1 : 0) : static_cast<int>(it - pages_.begin());
  int i = start;
  do {
    i = GoForward ? (i + 1) % n : (i == 0 ? n - 1 : i - 1);
    TTabSheet* p = pages_[static_cast<size_t>(i)];
    if (!CheckTabVisible || p->TabVisible()) return p;
  } while (i != start);
  return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
  TTabSheet* p = FindNextPage(activePage_, GoForward, CheckTabVisible);
  if (p && p != activePage_ && CanChange()) {
    SetTabIndex(p->TabIndex());
    Change();
  }
}

int TPageControl::GetImageIndex(int TabIndex) {
  TTabSheet* p = PageOfTab(TabIndex);
  return p ? p->ImageIndex() : TabIndex;
}

void TPageControl::Dispatch(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR && CanFocus()) {
    // A sheet's accelerator shows that sheet, as a click on its tab would.
    for (TTabSheet* p : pages_) {
      if (!p->TabVisible() || !p->Enabled() || !IsAccel(static_cast<WORD>(m.WParam), p->Caption()))
        continue;
      m.Result = 1;
      if (p != activePage_ && CanChange()) {
        SetActivePage(p);
        TCustomTabControl::Change();
      }
      return;
    }
  }
  if (m.Msg == CM_DIALOGKEY && m.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 &&
      HandleAllocated() && (Focused() || IsChild(Handle(), GetFocus()))) {
    SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
    m.Result = 1;
    return;
  }
  TCustomTabControl::Dispatch(m);
}

// ---- TTabSheet
// -----------------------------------------------------------------------------------

const TClassInfo& TTabSheet::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TTabSheet> b("TTabSheet", &TCustomControl::StaticClass());
    b.Creatable();
    b.Str(
        "Caption", [](const TTabSheet& c) { return const_cast<TTabSheet&>(c).Caption(); },
        [](TTabSheet& c, const std::string& v) { c.SetCaption(v); });
    // Declared as the tab control base: the page control's own table names
    // TTabSheet, and the two tables must not be built inside each other.
    b.Obj(
        "PageControl", TPropKind::Component, TCustomTabControl::StaticClass(),
        [](const TTabSheet& c) -> TObject* { return c.PageControl(); },
        [](TTabSheet& c, TObject* v) { c.SetPageControl(dynamic_cast<TPageControl*>(v)); });
    b.Bool(
        "TabVisible", [](const TTabSheet& c) { return c.TabVisible(); },
        [](TTabSheet& c, int v) { c.SetTabVisible(v != 0); }, true);
    b.Int(
        "ImageIndex", [](const TTabSheet& c) { return c.ImageIndex(); },
        [](TTabSheet& c, int v) { c.SetImageIndex(v); }, -1);
    return b.Done();
  }();
  return info;
}

TTabSheet::TTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
  controlStyle_ =
      csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  InitAlign(alClient);
  InitVisible(false);
  InitColor(clBtnFace);
  InitParentColor(true);
}

TTabSheet::~TTabSheet() {
  if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TTabSheet::SetParent(TWinControl* AParent) {
  if (auto* pc = dynamic_cast<TPageControl*>(AParent)) {
    SetPageControl(pc);
    return;
  }
  if (pageControl_) pageControl_->RemovePage(this);
  TCustomControl::SetParent(AParent);
}

void TTabSheet::SetPageControl(TPageControl* v) {
  if (pageControl_ == v) return;
  if (pageControl_) pageControl_->RemovePage(this);
  TCustomControl::SetParent(v);
  if (v) v->InsertPage(this);
}

void TTabSheet::SetImageIndex(int v) {
  if (imageIndex_ == v) return;
  imageIndex_ = v;
  if (pageControl_ && pageControl_->Images()) pageControl_->UpdateTabs();
}

int TTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  auto& pages = pageControl_->pages_;
  auto it = std::find(pages.begin(), pages.end(), this);
  return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TTabSheet::SetPageIndex(int v) {
  if (!pageControl_) return;
  auto& pages = pageControl_->pages_;
  int cur = PageIndex();
  v = std::clamp(v, 0, static_cast<int>(pages.size()) - 1);
  if (cur < 0 || cur == v) return;
  pages.erase(pages.begin() + cur);
  pages.insert(pages.begin() + v, this);
  pageControl_->UpdateTabs();
}

int TTabSheet::TabIndex() const {
  if (!tabVisible_ || !pageControl_) return -1;
  int tab = 0;
  for (TTabSheet* p : pageControl_->pages_) {
    if (p == this) return tab;
    if (p->TabVisible()) ++tab;
  }
  return -1;
}

void TTabSheet::SetTabVisible(bool v) {
  if (tabVisible_ == v) return;
  tabVisible_ = v;
  if (pageControl_) pageControl_->UpdateTabs();
}

void TTabSheet::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
      if (pageControl_) pageControl_->UpdateTabs();
      break;
    case WM_ERASEBKGND: {
      // Themed: the sheet shows the tab control's body.
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      TThemeData theme(
          pageControl_ && pageControl_->HandleAllocated() ? pageControl_->Handle() : Handle(),
          L"TAB");
      if (dc && theme.Defines(TABP_BODY)) {
        RECT r;
        ::GetClientRect(Handle(), &r);
        DrawThemeBackground(theme.Get(), dc, TABP_BODY, 0, &r, nullptr);
        m.Result = 1;
        return;
      }
      break;
    }
    default:
      break;
  }
  TCustomControl::Dispatch(m);
}
