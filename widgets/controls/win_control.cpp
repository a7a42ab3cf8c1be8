// TWinControl: the window, its creation and destruction, the default
// handling and the reflection of child notifications.
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>

#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/flag_scope.h"
#include "widgets/forms/forms.h"
#include "widgets/menus/menus.h"
#include "widgets/controls/window_procs.h"

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TWinControl> b("TWinControl", &TControl::StaticClass());
    b.Int(
        "TabOrder", [](const TWinControl& c) { return c.TabOrder(); },
        [](TWinControl& c, int v) { c.SetTabOrder(v); });
    b.Bool(
        "TabStop", [](const TWinControl& c) { return c.TabStop(); },
        [](TWinControl& c, int v) { c.SetTabStop(v != 0); }, false);
    b.Int(
        "BorderWidth", [](const TWinControl& c) { return c.BorderWidth(); },
        [](TWinControl& c, int v) { c.SetBorderWidth(v); }, 0);
    b.Bool(
        "Ctl3D", [](const TWinControl& c) { return c.Ctl3D(); },
        [](TWinControl& c, int v) { c.SetCtl3D(v != 0); }, true);
    b.Int(
        "BevelWidth", [](const TWinControl& c) { return c.BevelWidth(); },
        [](TWinControl& c, int v) { c.SetBevelWidth(v); }, 1);
    b.Event<&TWinControl::OnKeyDown>("OnKeyDown");
    b.Event<&TWinControl::OnKeyUp>("OnKeyUp");
    b.Event<&TWinControl::OnKeyPress>("OnKeyPress");
    b.Event<&TWinControl::OnEnter>("OnEnter");
    b.Event<&TWinControl::OnExit>("OnExit");
    return b.Done();
  }();
  return info;
}

TWinControl::TWinControl(TComponent* AOwner)
    : TControl(AOwner), brush_(std::make_unique<TBrush>()) {
  brush_->SetColor(Color());
}

TWinControl::~TWinControl() {
  // What runs now is this class's code only: a replaced WindowProc may point
  // into parts of the object that are already gone.
  WindowProc = TWndMethod::Of<&TControl::WndProc>(static_cast<TControl*>(this));
  if (parent_) RemoveFocus(true);
  if (handle_) DestroyWindowHandle();
  FreeChildren();
  if (parent_) parent_->RemoveControl(this);
}

void TWinControl::BeforeDestruction() {
  SetState(csDestroying);
  // While the object is still whole, its windows go first, then its
  // children: what they tell their owner and parent reaches whole objects.
  if (parent_) RemoveFocus(true);
  if (handle_) DestroyHandle();
  FreeChildren();
  TControl::BeforeDestruction();
}

void TWinControl::FreeChildren() {
  // Last to first; each gives up the focus while it can still name its form,
  // and leaves the lists before it goes.
  while (ControlCount() > 0) {
    TControl* c = Controls(ControlCount() - 1);
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->RemoveFocus(true);
    Remove(c);
    TObject::Free(c);
  }
}

HWND TWinControl::Handle() {
  if (!handle_) CreateHandle();
  return handle_;
}

void TWinControl::SetParentWindow(HWND v) {
  if (parent_ || parentWindow_ == v) return;
  if (handle_ && parentWindow_ && v) {
    parentWindow_ = v;
    ::SetParent(handle_, v);
    return;
  }
  DestroyHandle();
  parentWindow_ = v;
  UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& p) {
  p = TCreateParams{};
  p.Caption = text_;
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (controlStyle_ & csAcceptsControls) {
    p.Style |= WS_CLIPCHILDREN;
    p.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (tabStop_) p.Style |= WS_TABSTOP;
  p.X = left_;
  p.Y = top_;
  p.Width = width_;
  p.Height = height_;
  p.WndParent = parent_ ? parent_->Handle() : parentWindow_;
  p.WindowClass.cbSize = sizeof p.WindowClass;
  p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  p.WindowClass.lpfnWndProc = DefWindowProcA;
  p.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  p.WindowClass.hInstance = HInstance();
  p.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& p, const char* ControlClassName) {
  static const bool commonControls = [] {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)commonControls;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExA(nullptr, ControlClassName, &wc) &&
      !GetClassInfoExA(HInstance(), ControlClassName, &wc))
    throw EOutOfResources(std::string("Window class ") + ControlClassName + " not found");
  // The superclass keeps the system class's style and extra bytes (the
  // control's procedure needs them) and its procedure for DefaultHandler.
  p.WindowClass = wc;
  p.WindowClass.hInstance = HInstance();
  p.WindowClass.lpszClassName = nullptr;
  p.WindowClass.lpszMenuName = nullptr;
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  CreateWnd();
  if (parent_) {
    // Among the siblings, below the next one in z-order that has a window.
    HWND after = HWND_TOP;
    auto& list = parent_->winControls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end())
      for (++it; it != list.end(); ++it)
        if ((*it)->handle_) {
          after = (*it)->handle_;
          break;
        }
    SetWindowPos(handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) && !p.WndParent)
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  defWndProc_ = p.WindowClass.lpfnWndProc ? p.WindowClass.lpfnWndProc : DefWindowProcA;
  WNDCLASSEXA wc = p.WindowClass;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = defWndProc_;
  wc.lpszClassName = p.WinClassName.c_str();
  RegisterControlClass(wc);
  CreateWindowHandle(p);
  if (!handle_)
    throw EOSError(Exception::Fmt("Error creating window of class %s (error %lu)",
                                  p.WinClassName.c_str(), GetLastError()));
  UpdateBounds();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  SetCreationControl(this);
  HWND h = CreateWindowExA(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y,
                           p.Width, p.Height, p.WndParent, nullptr, HInstance(), p.Param);
  SetCreationControl(nullptr);
  if (h && !handle_) handle_ = h;
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  // Children first, so each keeps its own state.
  for (size_t i = 0; i < winControls_.size(); ++i) winControls_[i]->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  // The window's text goes back into the object.
  text_ = GetText();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  controlState_ |= csDestroyingHandle;
  HWND h = handle_;
  if (h) DestroyWindow(h);
  controlState_ &= ~csDestroyingHandle;
  handle_ = nullptr;
  showing_ = false;
}

void TWinControl::RecreateWnd() {
  if (handle_) Perform(CM_RECREATEWND);
}

void TWinControl::MainWndProc(TMessage& Message) noexcept {
  try {
    if (WindowProc)
      WindowProc(Message);
    else
      WndProc(Message);
  } catch (...) {
    HandleException(this);
  }
}

void TWinControl::UpdateBounds() {
  if (!handle_) return;
  RECT r;
  GetWindowRect(handle_, &r);
  if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) {
    if (HWND p = GetParent(handle_)) MapWindowPoints(nullptr, p, reinterpret_cast<POINT*>(&r), 2);
  } else if (IsIconic(handle_)) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(handle_, &wp);
    r = wp.rcNormalPosition;
  }
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  Constraints()->Apply(AWidth, AHeight);
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  if (handle_ && !IsIconic(handle_)) {
    SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
  }
  RequestAlign();
}

TRect TWinControl::GetClientRect() {
  if (handle_) {
    RECT r;
    ::GetClientRect(handle_, &r);
    return r;
  }
  const TRect r = TControl::GetClientRect();
  return Rect(0, 0, std::max(0, r.Right - 2 * borderWidth_),
              std::max(0, r.Bottom - 2 * borderWidth_));
}

TPoint TWinControl::ClientOrigin() {
  POINT p{0, 0};
  ::ClientToScreen(Handle(), &p);
  return p;
}

void TWinControl::UpdateShowing() {
  bool show = Visible() && !(controlState_ & csReadingState);
  if (show) {
    if (!handle_) CreateHandle();
    for (size_t i = 0; i < winControls_.size(); ++i) winControls_[i]->UpdateShowing();
  }
  if (handle_ && showing_ != show) {
    showing_ = show;
    try {
      Perform(CM_SHOWINGCHANGED);
    } catch (...) {
      showing_ = !show;
      throw;
    }
  }
}

void TWinControl::UpdateControlState() {
  TWinControl* c = this;
  while (c->parent_) {
    c = c->parent_;
    if (!c->Showing()) return;
  }
  if (dynamic_cast<TCustomForm*>(c) || c->parentWindow_) UpdateShowing();
}

void TWinControl::Invalidate() {
  Perform(CM_INVALIDATE);
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::SetZOrder(bool TopMost) {
  if (parent_) {
    auto& list = parent_->winControls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end()) {
      list.erase(it);
      if (TopMost)
        list.push_back(this);
      else
        list.insert(list.begin(), this);
    }
  }
  if (handle_)
    SetWindowPos(handle_, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool TWinControl::DoControlMsg(HWND Child, TMessage& Message) {
  TWinControl* c = FindControl(Child);
  if (!c) return false;
  Message.Result = c->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}

void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS: {
      TCustomForm* form = GetParentForm(this);
      if (form && !form->SetFocusedControl(this)) return;
      break;
    }
    case WM_KILLFOCUS:
      if (controlState_ & csFocusing) return;
      break;
    default:
      if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST &&
          Message.Msg != WM_MOUSEWHEEL && Message.Msg != WM_MOUSEHWHEEL &&
          IsControlMouseMsg(Message)) {
        // The child may have taken the window away (Parent := nil).
        if (Message.Result == 0 && handle_)
          DefWindowProcA(handle_, Message.Msg, Message.WParam, Message.LParam);
        return;
      }
  }
  TControl::WndProc(Message);
}

// Mouse messages over a graphic child (or to the graphic child holding the
// capture) go to that child, in its own coordinates.
bool TWinControl::IsControlMouseMsg(TMessage& m) {
  TControl* target = nullptr;
  TWMMouse mm{m};
  if (handle_ && GetCapture() == handle_) {
    TControl* cap = GetCaptureControl();
    if (cap && cap->Parent() == this) target = cap;
  } else {
    target = ControlAtPos(TPoint(mm.XPos(), mm.YPos()), false);
  }
  if (!target) return false;
  int x = mm.XPos() - target->Left(), y = mm.YPos() - target->Top();
  m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(x, y));
  return true;
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    // ---- Reflection of child notifications
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
      if (m.LParam && DoControlMsg(reinterpret_cast<HWND>(m.LParam), m)) return;
      break;
    case WM_NOTIFY: {
      auto* h = reinterpret_cast<NMHDR*>(m.LParam);
      if (h && DoControlMsg(h->hwndFrom, m)) return;
      break;
    }
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (d && d->CtlType != ODT_MENU && DoControlMsg(d->hwndItem, m)) return;
      break;
    }
    case WM_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mi && mi->CtlType != ODT_MENU && handle_) {
        HWND child = GetDlgItem(handle_, static_cast<int>(mi->CtlID));
        if (child && DoControlMsg(child, m)) return;
      }
      break;
    }
    case WM_DELETEITEM: {
      auto* d = reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam);
      if (d && d->CtlType != ODT_MENU && DoControlMsg(d->hwndItem, m)) return;
      break;
    }
    case WM_COMPAREITEM: {
      auto* c = reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam);
      if (c && DoControlMsg(c->hwndItem, m)) return;
      break;
    }

    // ---- Painting
    case WM_PAINT:
      if ((controlState_ & csCustomPaint) || !controls_.empty()) {
        PaintHandler(m);
        return;
      }
      break;
    case WM_PRINTCLIENT: {
      TFlagScope printing(controlState_, csPrintClient);
      PaintHandler(m);
      return;
    }
    case WM_ERASEBKGND:
      EraseBackground(m);
      return;

    // ---- Geometry
    case WM_NCCALCSIZE:
      NonClientSize(m);
      return;
    case WM_NCPAINT:
      DefaultHandler(m);
      PaintBorderBand();
      return;
    case WM_WINDOWPOSCHANGED:
      if (!(controlState_ & csDestroyingHandle)) UpdateBounds();
      DefaultHandler(m);
      return;
    case WM_SIZE:
      UpdateBounds();
      DefaultHandler(m);
      Realign();
      if (!HasState(csLoading)) Resize();
      return;
    case WM_SETCURSOR:
      SetCursorMessage(m);
      return;
    case WM_CONTEXTMENU:
      if (ContextPopup(this, m)) return;
      break;
    case WM_MOUSEWHEEL:
      // The wheel reaches the focused control as CM_MOUSEWHEEL first; what
      // it leaves goes the platform's way (on to the parent).
      m.Result = Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
      if (m.Result == 0) DefaultHandler(m);
      return;

    // ---- Keyboard
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!DoKeyDown(m)) DefaultHandler(m);
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (!DoKeyUp(m)) DefaultHandler(m);
      return;
    case WM_CHAR:
      if (!DoKeyPress(m)) DefaultHandler(m);
      return;
    case CN_KEYDOWN:
    case CN_CHAR:
    case CN_SYSKEYDOWN:
    case CN_SYSCHAR:
      HandleKeyMessage(m);
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
      Broadcast(m);
      return;
    case CM_ENTER:
      DoEnter();
      return;
    case CM_EXIT:
      DoExit();
      return;

    // ---- State
    case CM_VISIBLECHANGED:
      if (!Visible() && parent_) RemoveFocus(false);
      UpdateControlState();
      return;
    case CM_ENABLEDCHANGED:
      if (!Enabled() && parent_) RemoveFocus(false);
      if (handle_) EnableWindow(handle_, Enabled());
      return;
    case CM_SHOWINGCHANGED:
      if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (showing_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
      return;
    case CM_COLORCHANGED:
      brush_->SetColor(Color());
      NotifyControls(CM_PARENTCOLORCHANGED);
      Invalidate();
      return;
    case CM_FONTCHANGED:
      if (handle_) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
      NotifyControls(CM_PARENTFONTCHANGED);
      Invalidate();
      return;
    case CM_BIDIMODECHANGED:
      NotifyControls(CM_PARENTBIDIMODECHANGED);
      Invalidate();
      return;
    case CM_INVALIDATE:
      if (handle_) InvalidateRect(handle_, nullptr, !(controlStyle_ & csOpaque));
      return;
    case CM_RECREATEWND: {
      bool wasFocused = Focused();
      {
        TFlagScope recreating(controlState_, csRecreating);
        DestroyHandle();
        UpdateControlState();
      }
      if (wasFocused && handle_) ::SetFocus(handle_);
      return;
    }
    default:
      break;
  }
  TControl::Dispatch(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (m.Msg >= CN_CTLCOLORMSGBOX && m.Msg <= CN_CTLCOLORSTATIC) {
    // A reflected colour request: the control's own font colour and brush.
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    SetBkColor(dc, ColorToRGB(brush_->Color()));
    m.Result = reinterpret_cast<LRESULT>(brush_->Handle());
    return;
  }
  if (handle_) {
    m.Result = CallWindowProcA(defWndProc_ ? defWndProc_ : DefWindowProcA, handle_, m.Msg, m.WParam,
                               m.LParam);
    return;
  }
  TControl::DefaultHandler(m);
}

void TWinControl::SetCursorMessage(TMessage& m) {
  if (reinterpret_cast<HWND>(m.WParam) == handle_ && LOWORD(m.LParam) == HTCLIENT) {
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(handle_, &p);
    TControl* c = ControlAtPos(p, false);
    TCursor cur = c ? c->Cursor() : Cursor();
    if (cur != crDefault) {
      ::SetCursor(Screen ? Screen->Cursors(cur) : StandardCursor(cur));
      m.Result = 1;
      return;
    }
  }
  DefaultHandler(m);
}

TWinControl* FindVCLWindow(const TPoint& Pos) {
  HWND w = WindowFromPoint(Pos);
  while (w && !FindControl(w)) w = GetParent(w);
  return FindControl(w);
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
  TWinControl* w = FindVCLWindow(Pos);
  if (!w) return nullptr;
  if (TControl* c = w->ControlAtPos(w->ScreenToClient(Pos), AllowDisabled)) return c;
  return w;
}

bool ThemesEnabled() {
  return IsThemeActive() && IsAppThemed();
}
