// TWinControl: the child lists, alignment, tab order, focus and keys.
#include <algorithm>

#include "widgets/rtl/exceptions.h"
#include "widgets/forms/forms.h"

TControl* TWinControl::Controls(int Index) const {
  size_t n = controls_.size();
  size_t i = static_cast<size_t>(Index);
  return i < n ? controls_[i] : winControls_.at(i - n);
}

void TWinControl::Insert(TControl* c) {
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    winControls_.push_back(w);
    tabList_.push_back(w);
  } else {
    controls_.push_back(c);
  }
  c->parent_ = this;
}

void TWinControl::Remove(TControl* c) {
  auto drop = [c](auto& list) {
    auto it = std::find(list.begin(), list.end(), c);
    if (it != list.end()) list.erase(it);
  };
  drop(controls_);
  drop(winControls_);
  drop(tabList_);
  c->parent_ = nullptr;
}

namespace {

template <typename T>
void MoveInList(std::vector<T*>& List, T* Item, int Index) {
  auto it = std::find(List.begin(), List.end(), Item);
  if (it == List.end()) return;
  List.erase(it);
  const int n = static_cast<int>(List.size());
  List.insert(List.begin() + std::clamp(Index, 0, n), Item);
}

}  // namespace

void TWinControl::SetChildOrder(TComponent* Child, int Order) {
  auto* c = dynamic_cast<TControl*>(Child);
  if (!c || c->parent_ != this) return;
  auto* w = dynamic_cast<TWinControl*>(c);
  if (!w) {
    MoveInList(controls_, c, Order);
    c->InvalidateControl(c->Visible(), (c->ControlStyle() & csOpaque) != 0);
    return;
  }
  MoveInList(winControls_, w, Order - static_cast<int>(controls_.size()));
  if (!w->handle_) return;
  // Right below the next sibling up that has a window, as CreateHandle does.
  HWND after = HWND_TOP;
  auto it = std::find(winControls_.begin(), winControls_.end(), w);
  for (++it; it != winControls_.end(); ++it)
    if ((*it)->handle_) {
      after = (*it)->handle_;
      break;
    }
  SetWindowPos(w->handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::GetChildren(std::vector<TComponent*>& List, TComponent* Root) {
  for (int i = 0; i < ControlCount(); ++i)
    if (Controls(i)->Owner() == Root) List.push_back(Controls(i));
  std::vector<TComponent*> rest;
  TControl::GetChildren(rest, Root);
  for (TComponent* c : rest) {
    auto* control = dynamic_cast<TControl*>(c);
    if (!control || control->Parent() != this) List.push_back(c);
  }
}

void TWinControl::InsertControl(TControl* c) {
  Perform(CM_CONTROLLISTCHANGING, reinterpret_cast<WPARAM>(c), 1);
  Insert(c);
  if (!c->HasState(csReading)) {
    c->Perform(CM_PARENTCOLORCHANGED);
    c->Perform(CM_PARENTFONTCHANGED);
    c->Perform(CM_PARENTBIDIMODECHANGED);
    if (auto* w = dynamic_cast<TWinControl*>(c))
      w->UpdateControlState();
    else if (handle_)
      c->Invalidate();
    AlignControl(c);
  }
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(c), 1);
}

void TWinControl::RemoveControl(TControl* c) {
  Perform(CM_CONTROLLISTCHANGING, reinterpret_cast<WPARAM>(c), 0);
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    w->RemoveFocus(true);
    w->DestroyHandle();
  } else if (handle_) {
    c->InvalidateControl(c->Visible(), false);
  }
  Remove(c);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(c), 0);
  if (!HasState(csDestroying)) Realign();
}

void TWinControl::Broadcast(TMessage& Message) {
  for (int i = 0; i < ControlCount(); ++i) {
    Controls(i)->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage m{Msg, 0, 0, 0};
  Broadcast(m);
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls) {
  auto hit = [&](TControl* c) {
    if (!c->Visible() || !(c->Enabled() || AllowDisabled)) return false;
    RECT r = c->BoundsRect();
    if (!PtInRect(&r, Pos)) return false;
    LPARAM at = MAKELPARAM(Pos.X - c->Left(), Pos.Y - c->Top());
    return c->Perform(CM_HITTEST, 0, at) != 0;
  };
  if (AllowWinControls)
    for (size_t i = winControls_.size(); i-- > 0;)
      if (hit(winControls_[i])) return winControls_[i];
  for (size_t i = controls_.size(); i-- > 0;)
    if (hit(controls_[i])) return controls_[i];
  return nullptr;
}

bool TWinControl::ContainsControl(TControl* Control) const {
  while (Control && Control != this) Control = Control->Parent();
  return Control == this;
}

// ---- Alignment ---------------------------------------------------------------------------

void TWinControl::EnableAlign() {
  if (alignLevel_ > 0) --alignLevel_;
  if (alignLevel_ == 0 && (controlState_ & csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
  AlignControl(nullptr);
}

void TWinControl::AlignControl(TControl* AControl) {
  if (!handle_ || HasState(csDestroying)) return;
  if (alignLevel_ != 0) {
    controlState_ |= csAlignmentNeeded;
    return;
  }
  DisableAlign();
  try {
    TRect r = GetClientRect();
    AlignControls(AControl, r);
  } catch (...) {
    controlState_ &= ~csAlignmentNeeded;
    EnableAlign();
    throw;
  }
  controlState_ &= ~csAlignmentNeeded;
  EnableAlign();
}

void TWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  AdjustClientRect(Rect);
  controlState_ |= csAligning;
  // Per kind, in the order the controls lie; the control that moved goes
  // first among equals.
  auto place = [&](TAlign kind) {
    std::vector<TControl*> list;
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (c->Align() == kind && c->Visible()) list.push_back(c);
    }
    auto key = [kind](TControl* c) {
      switch (kind) {
        case alTop:
          return c->Top();
        case alBottom:
          return -(c->Top() + c->Height());
        case alLeft:
          return c->Left();
        case alRight:
          return -(c->Left() + c->Width());
        default:
          return 0;
      }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
      if (key(a) != key(b)) return key(a) < key(b);
      return a == AControl && b != AControl;
    });
    for (TControl* c : list) {
      int w = c->Width(), h = c->Height();
      switch (kind) {
        case alTop:
          c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), h);
          Rect.Top += c->Height();
          break;
        case alBottom:
          c->SetBounds(Rect.Left, Rect.Bottom - h, Rect.Width(), h);
          Rect.Bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(Rect.Left, Rect.Top, w, Rect.Height());
          Rect.Left += c->Width();
          break;
        case alRight:
          c->SetBounds(Rect.Right - w, Rect.Top, w, Rect.Height());
          Rect.Right -= c->Width();
          break;
        case alClient:
          c->SetBounds(Rect.Left, Rect.Top, std::max(0, Rect.Width()), std::max(0, Rect.Height()));
          break;
        default:
          break;
      }
    }
  };
  place(alTop);
  place(alBottom);
  place(alLeft);
  place(alRight);
  place(alClient);
  controlState_ &= ~csAligning;
}

void TWinControl::ChangeScale(int M, int D) {
  if (M == D || D == 0) return;
  DisableAlign();
  try {
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->ChangeScale(M, D);
    TControl::ChangeScale(M, D);
  } catch (...) {
    EnableAlign();
    throw;
  }
  EnableAlign();
}

// ---- Tab order ---------------------------------------------------------------------------

int TWinControl::TabOrder() const {
  if (!parent_) return -1;
  auto& list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int v) {
  if (HasState(csLoading)) {
    // Sorted once every sibling is read (FixupTabList).
    tabOrder_ = v;
    return;
  }
  UpdateTabOrder(v);
}

void TWinControl::UpdateTabOrder(int v) {
  if (!parent_) return;
  auto& list = parent_->tabList_;
  int cur = TabOrder();
  if (cur < 0) return;
  int count = static_cast<int>(list.size());
  v = std::clamp(v, 0, count - 1);
  if (v == cur) return;
  list.erase(list.begin() + cur);
  list.insert(list.begin() + v, this);
}

// Each stored TabOrder within range names the control's slot; controls
// without one keep their place around those that have one.
void TWinControl::FixupTabList() {
  int count = static_cast<int>(tabList_.size());
  std::vector<TWinControl*> slots(tabList_.size(), nullptr);
  bool any = false;
  for (TWinControl* c : tabList_)
    if (c->tabOrder_ >= 0 && c->tabOrder_ < count) {
      slots[static_cast<size_t>(c->tabOrder_)] = c;
      any = true;
    }
  for (TWinControl* c : tabList_) c->tabOrder_ = -1;
  if (!any) return;
  for (int i = 0; i < count; ++i)
    if (TWinControl* c = slots[static_cast<size_t>(i)]) c->UpdateTabOrder(i);
}

void TWinControl::SetTabStop(bool v) {
  if (tabStop_ == v) return;
  tabStop_ = v;
  if (handle_) {
    LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    SetWindowLongPtrA(handle_, GWL_STYLE, v ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
  Perform(CM_TABSTOPCHANGED);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  FixupTabList();
  if (parent_) parent_->FixupTabList();
  UpdateControlState();
  if (handle_) Realign();
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (size_t i = 0; i < tabList_.size(); ++i) {
    List.push_back(tabList_[i]);
    tabList_[i]->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* Cur, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  auto it = std::find(list.begin(), list.end(), Cur);
  int start = it == list.end() ? (GoForward ? n - 1 : 0) : static_cast<int>(it - list.begin());
  int i = start;
  do {
    i = GoForward ? (i + 1) % n : (i == 0 ? n - 1 : i - 1);
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c->CanFocus() && (!CheckTabStop || c->TabStop()) && (!CheckParent || c->parent_ == this))
      return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* Cur, bool GoForward, bool CheckTabStop) {
  if (TWinControl* c = FindNextControl(Cur, GoForward, CheckTabStop, !CheckTabStop)) c->SetFocus();
}

// ---- Focus -------------------------------------------------------------------------------

bool TWinControl::CanFocus() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return false;
  for (TWinControl* c = this; c && c != form; c = c->parent_)
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this))
    form->FocusControl(this);
  else if (parentWindow_)
    ::SetFocus(Handle());
  else
    throw EInvalidOperation("Control '" + Name() + "' has no parent window");
}

bool TWinControl::Focused() {
  return handle_ && GetFocus() == handle_;
}

void TWinControl::RemoveFocus(bool Removing) {
  if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, Removing);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

// With KeyPreview the form sees the key first; a handler that clears the
// key consumes it.
bool TWinControl::DoKeyDown(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyDown(m))
    return true;
  if (controlStyle_ & csNoStdEvents) return false;
  WORD key = static_cast<WORD>(m.WParam);
  KeyDown(key, KeyDataToShiftState(m.LParam));
  m.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyUp(m))
    return true;
  if (controlStyle_ & csNoStdEvents) return false;
  WORD key = static_cast<WORD>(m.WParam);
  KeyUp(key, KeyDataToShiftState(m.LParam));
  m.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyPress(m))
    return true;
  if (controlStyle_ & csNoStdEvents) return false;
  char ch = static_cast<char>(m.WParam);
  KeyPress(ch);
  m.WParam = static_cast<unsigned char>(ch);
  return ch == 0;
}

// The loop performs keys as CN_* before dispatching them; a non-zero Result
// consumes the key. Keys the control does not want become CM_DIALOGKEY
// (characters CM_DIALOGCHAR) on its form.
void TWinControl::HandleKeyMessage(TMessage& m) {
  m.Result = 1;
  TCustomForm* form = GetParentForm(this);
  switch (m.Msg) {
    case CN_KEYDOWN: {
      UINT mask = 0;
      switch (m.WParam) {
        case VK_TAB:
          mask = DLGC_WANTTAB;
          break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
          mask = DLGC_WANTARROWS;
          break;
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL:
          mask = DLGC_WANTALLKEYS;
          break;
        default:
          break;
      }
      if (mask && Perform(CM_WANTSPECIALKEY, m.WParam) == 0 && !(Perform(WM_GETDLGCODE) & mask) &&
          form && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0)
        return;
      break;
    }
    case CN_CHAR:
      if (!(Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) && form &&
          form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
        return;
      break;
    case CN_SYSCHAR:
      if (m.WParam != VK_SPACE && form) {
        m.Result = form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
        return;
      }
      break;
    default:
      break;
  }
  m.Result = 0;
}

TCustomForm* GetParentForm(TControl* Control) {
  while (Control && Control->Parent()) Control = Control->Parent();
  return dynamic_cast<TCustomForm*>(Control);
}
