// Menus and their messages: TMenu, TMainMenu, TPopupMenu, the hidden owner
// window of tracked popups, and the dispatch of menu messages to items.
#include <algorithm>

#include "widgets/forms/forms.h"
#include "widgets/graphics/graphics.h"
#include "widgets/graphics/img_list.h"
#include "widgets/menus/menus.h"
#include "widgets/rtl/sysutils.h"
#include "widgets/controls/window_procs.h"

namespace {

// The popup menus being tracked, innermost last: the owner window's
// messages go to them.
std::vector<TPopupMenu*>& TrackedPopups() {
  static std::vector<TPopupMenu*> list;
  return list;
}

TMenuItem* ItemOfEntry(TMenu* Menu, HMENU Parent, UINT IdOrPos, bool ByPosition) {
  if (ByPosition) {
    HMENU sub = GetSubMenu(Parent, static_cast<int>(IdOrPos));
    if (sub) return Menu->FindItem(reinterpret_cast<uintptr_t>(sub), fkHandle);
  }
  return Menu->FindItem(IdOrPos, fkCommand);
}

// A canvas on the DC of a menu message, in the menu font, for one message.
class TMenuCanvas {
 public:
  explicit TMenuCanvas(HDC DC) {
    canvas_.SetHandle(DC);
    if (Screen) canvas_.Font()->Assign(Screen->MenuFont());
  }
  ~TMenuCanvas() { canvas_.SetHandle(nullptr); }
  TCanvas* operator->() { return &canvas_; }
  TCanvas* Get() { return &canvas_; }

 private:
  TCanvas canvas_;
};

bool MeasureItem(TMenu* Menu, MEASUREITEMSTRUCT* mis) {
  TMenuItem* item = Menu->FindItem(mis->itemID, fkCommand);
  if (!item) return false;
  TWindowDC dc(nullptr);
  TMenuCanvas canvas(dc.Get());
  int w = 0, h = 0;
  item->DefaultMeasure(canvas.Get(), w, h);
  if (item->OnMeasureItem) item->OnMeasureItem(item, canvas.Get(), w, h);
  mis->itemWidth = static_cast<UINT>(std::max(w, 0));
  mis->itemHeight = static_cast<UINT>(std::max(h, 0));
  return true;
}

bool DrawItem(TMenu* Menu, DRAWITEMSTRUCT* dis) {
  TMenuItem* item = Menu->FindItem(dis->itemID, fkCommand);
  if (!item) return false;
  TSavedDC saved(dis->hDC);
  TMenuCanvas canvas(dis->hDC);
  TRect r(dis->rcItem);
  auto state = static_cast<TOwnerDrawState>(LOWORD(dis->itemState));
  if (item->OnAdvancedDrawItem)
    item->OnAdvancedDrawItem(item, canvas.Get(), r, state);
  else if (item->OnDrawItem)
    item->OnDrawItem(item, canvas.Get(), r, (state & odSelected) != 0);
  else
    item->DefaultDraw(canvas.Get(), r, state);
  return true;
}

}  // namespace

namespace {

struct TPopupWindow {
  HWND Wnd = nullptr;
  ~TPopupWindow() {
    if (Wnd) DeallocateHWnd(Wnd);
  }
};

}  // namespace

// Made on first use, kept for the program's life; a utility window of the
// layer, so an exception in a menu event cannot escape its procedure.
HWND PopupListWindow() {
  static TPopupWindow window;
  if (!window.Wnd || !IsWindow(window.Wnd)) {
    struct TProc {
      void WndProc(TMessage& m) {
        std::vector<TPopupMenu*> menus = TrackedPopups();
        for (auto it = menus.rbegin(); it != menus.rend(); ++it)
          if (DispatchMenuMessage(*it, m)) return;
        m.Result = DefWindowProcA(window.Wnd, m.Msg, m.WParam, m.LParam);
      }
    };
    static TProc proc;
    window.Wnd = AllocateHWnd(TWndMethod::Of<&TProc::WndProc>(&proc));
  }
  return window.Wnd;
}

// ---- TMenu ------------------------------------------------------------------------------

const TClassInfo& TMenu::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TMenu> b("TMenu", &TComponent::StaticClass());
    b.Obj(
        "Images", TPropKind::Component, TCustomImageList::StaticClass(),
        [](const TMenu& m) -> TObject* { return m.Images(); },
        [](TMenu& m, TObject* v) { m.SetImages(dynamic_cast<TCustomImageList*>(v)); });
    b.Bool(
        "OwnerDraw", [](const TMenu& m) { return m.OwnerDraw(); },
        [](TMenu& m, int v) { m.SetOwnerDraw(v != 0); }, false);
    return b.Done();
  }();
  return info;
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(New<TMenuItem>(this)) {
  items_->menu_ = this;
}

TMenu::~TMenu() {
  // While this object is whole: the items' handles are detached from ours.
  TMenuItem* root = items_;
  items_ = nullptr;
  TObject::Free(root);
}

void TMenu::SetOwnerDraw(bool v) {
  if (ownerDraw_ == v) return;
  ownerDraw_ = v;
  items_->Changed();
}

void TMenu::SetImages(TCustomImageList* v) {
  if (images_ == v) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = v;
  if (v) v->FreeNotification(this);
  items_->Changed();
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

TMenuItem* TMenu::FindItem(uintptr_t Value, TFindItemKind Kind) const {
  if (!items_) return nullptr;
  std::vector<TMenuItem*> todo{items_};
  while (!todo.empty()) {
    TMenuItem* i = todo.back();
    todo.pop_back();
    bool hit = false;
    switch (Kind) {
      case fkCommand:
        hit = i != items_ && i->Command() == Value;
        break;
      case fkHandle:
        hit = i->handle_ && reinterpret_cast<uintptr_t>(i->handle_.Get()) == Value;
        break;
      case fkShortCut:
        hit = i != items_ && i->ShortCut() != scNone && i->ShortCut() == Value;
        break;
    }
    if (hit) return i;
    for (int k = i->Count() - 1; k >= 0; --k) todo.push_back(i->Items(k));
  }
  return nullptr;
}

bool TMenu::DispatchCommand(UINT Command) {
  TMenuItem* item = FindItem(Command, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::DispatchPopup(HMENU Menu) {
  TMenuItem* item = FindItem(reinterpret_cast<uintptr_t>(Menu), fkHandle);
  if (!item) return false;
  item->Click();
  return true;
}

const TClassInfo& TMainMenu::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TMainMenu> b("TMainMenu", &TMenu::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

void TMainMenu::MenuChanged() {
  if (WindowHandle() && IsWindow(WindowHandle())) DrawMenuBar(WindowHandle());
}

// ---- TPopupMenu -------------------------------------------------------------------------

const TClassInfo& TPopupMenu::StaticClass() {
  static const TEnumInfo alignments{{"paLeft", "paRight", "paCenter"}};
  static const TClassInfo info = [] {
    TClassBuilder<TPopupMenu> b("TPopupMenu", &TMenu::StaticClass());
    b.Creatable();
    b.Enum(
        "Alignment", alignments, [](const TPopupMenu& m) { return m.Alignment(); },
        [](TPopupMenu& m, int v) { m.SetAlignment(static_cast<TPopupAlignment>(v)); }, paLeft);
    b.Bool(
        "AutoPopup", [](const TPopupMenu& m) { return m.AutoPopup(); },
        [](TPopupMenu& m, int v) { m.SetAutoPopup(v != 0); }, true);
    b.Event<&TPopupMenu::OnPopup>("OnPopup");
    return b.Done();
  }();
  return info;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() {
  std::erase(TrackedPopups(), this);
}

void TPopupMenu::Popup(int X, int Y) {
  popupPoint_ = TPoint(X, Y);
  if (OnPopup) OnPopup(this);
  static const UINT kAlign[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
  HMENU menu = Handle();
  HWND owner = PopupListWindow();
  TrackedPopups().push_back(this);
  UINT command = 0;
  try {
    // The choice is returned rather than posted, so the item is clicked
    // before Popup returns, whatever the caller does next.
    command = static_cast<UINT>(TrackPopupMenu(
        menu, kAlign[alignment_] | TPM_RIGHTBUTTON | TPM_RETURNCMD, X, Y, 0, owner, nullptr));
  } catch (...) {
    std::erase(TrackedPopups(), this);
    throw;
  }
  std::erase(TrackedPopups(), this);
  if (command) DispatchCommand(command);
}

// ---- Messages ---------------------------------------------------------------------------

bool DispatchMenuMessage(TMenu* Menu, TMessage& m) {
  if (!Menu) return false;
  switch (m.Msg) {
    case WM_COMMAND:
      // From a menu: no control window, notification code 0.
      if (m.LParam != 0 || HIWORD(m.WParam) != 0) return false;
      if (!Menu->DispatchCommand(LOWORD(m.WParam))) return false;
      m.Result = 0;
      return true;
    case WM_INITMENUPOPUP:
      if (!Menu->DispatchPopup(reinterpret_cast<HMENU>(m.WParam))) return false;
      m.Result = 0;
      return true;
    case WM_MENUSELECT: {
      UINT flags = HIWORD(m.WParam);
      if (flags == 0xFFFF && m.LParam == 0) {  // the menu closed
        Menu->highlighted_ = nullptr;
        return false;
      }
      TMenuItem* item = ItemOfEntry(Menu, reinterpret_cast<HMENU>(m.LParam), LOWORD(m.WParam),
                                    (flags & MF_POPUP) != 0);
      if (!item) return false;
      Menu->highlighted_ = item;
      m.Result = 0;
      return true;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (!mis || mis->CtlType != ODT_MENU || !MeasureItem(Menu, mis)) return false;
      m.Result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (!dis || dis->CtlType != ODT_MENU || !DrawItem(Menu, dis)) return false;
      m.Result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

bool ContextPopup(TWinControl* Control, TMessage& m) {
  POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  TControl* target = Control;
  bool fromKeyboard = p.x == -1 && p.y == -1;
  if (!fromKeyboard && Control->HandleAllocated()) {
    POINT c = p;
    ScreenToClient(Control->Handle(), &c);
    if (TControl* child = Control->ControlAtPos(TPoint(c.x, c.y), false)) target = child;
  }
  TPopupMenu* menu = target->PopupMenu();
  if (!menu && target != Control) {
    target = Control;
    menu = Control->PopupMenu();
  }
  if (!menu || !menu->AutoPopup()) return false;
  if (fromKeyboard) {
    POINT origin{0, 0};
    if (Control->HandleAllocated()) ClientToScreen(Control->Handle(), &origin);
    p = origin;
  }
  menu->SetPopupComponent(target);
  menu->Popup(p.x, p.y);
  m.Result = 1;
  return true;
}
