// TsCustomListBox: construction, properties, item text and the message
// road (window procedure, skin commands, scrolling, font changes).
#include "soundbank_test/slistbox.h"

#include <algorithm>

#include "skin/adapters/edit_wnd.h"
#include "skin/engine/bound_label.h"
#include "skin/engine/common_data.h"
#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/skin_commands.h"

const TEnumInfo& TsCustomListBox::DisabledKindInfo() {
  static const TEnumInfo info{{"dkBlended", "dkGrayed"}};
  return info;
}

const TClassInfo& TsCustomListBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsCustomListBox> b("TsCustomListBox", &TListBox::StaticClass());
    b.Int(
        "AutoCompleteDelay", [](const TsCustomListBox& c) { return c.AutoCompleteDelay(); },
        [](TsCustomListBox& c, int v) { c.SetAutoCompleteDelay(v); }, 500);
    b.Bool(
        "AutoHideScroll", [](const TsCustomListBox& c) { return c.AutoHideScroll(); },
        [](TsCustomListBox& c, int v) { c.SetAutoHideScroll(v != 0); }, true);
    b.Set(
        "DisabledKind", DisabledKindInfo(),
        [](const TsCustomListBox& c) { return c.DisabledKind(); },
        [](TsCustomListBox& c, int v) { c.SetDisabledKind(static_cast<uint8_t>(v)); }, dkBlended);
    b.Event<&TsCustomListBox::OnVScroll>("OnVScroll");
    return b.Done();
  }();
  return info;
}

const TClassInfo& TsListBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsListBox> b("TsListBox", &TsCustomListBox::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TsListBoxSkinStore::TsListBoxSkinStore() : skinData_(new TsScrollWndData(nullptr, true)) {
  skinData_->ControlKind = ckListBox;
}

TsListBoxSkinStore::~TsListBoxSkinStore() {
  TObject::Free(skinData_);
}

TsCustomListBox::TsCustomListBox(TComponent* AOwner) : TListBox(AOwner), disabledKind_(dkBlended) {
  // The skin state was made unattached: the list box it serves exists only now.
  skinData_->Control = this;
  skinData_->OwnerObject = this;
  skinData_->OwnerWndProc = WindowProc;
  RegisterSkinData(skinData_);
  // Items paint every pixel only while they cover the client area.
  controlStyle_ &= ~csOpaque;
  boundLabel_ = new TsBoundLabel(skinData_);
  SetDoubleBuffered(false);
}

// The border adapter goes before the window; the skin data after the
// inherited destructor (the skin store is the first base). The label goes
// while the list box is whole: it reads its control as it leaves.
TsCustomListBox::~TsCustomListBox() {
  FreeAdapter();
  TObject::Free(boundLabel_);
  boundLabel_ = nullptr;
}

bool TsCustomListBox::Skinned() const {
  return skinData_->Skinned(false);
}

bool TsCustomListBox::SkinUpdating() const {
  return skinData_->Updating;
}

bool TsCustomListBox::SkinHot() const {
  return skinData_->Hot;
}

void TsCustomListBox::UpdateAdapter() {
  if (HandleAllocated()) UpdateEditWndAdapter(skinData_, adapter_);
}

void TsCustomListBox::FreeAdapter(bool RecalcFrame) {
  if (!adapter_) return;
  // Called from inside the adapter's own procedure as well (a skin command
  // it passed on): the release defers the delete until that call returns.
  ReleaseScrollWndAdapter(adapter_->WindowHandle, true, RecalcFrame, adapter_);
}

void TsCustomListBox::CreateParams(TCreateParams& Params) {
  TListBox::CreateParams(Params);
  if (Style() == lbStandard) Params.Style |= LBS_OWNERDRAWFIXED;
  if (!autoHideScroll_) Params.Style |= LBS_DISABLENOSCROLL;
}

void TsCustomListBox::CreateWnd() {
  TListBox::CreateWnd();
  skinData_->Loaded(false);
  UpdateAdapter();
}

void TsCustomListBox::Loaded() {
  TListBox::Loaded();
  skinData_->Loaded(false);
  UpdateAdapter();
}

void TsCustomListBox::ChangeScale(int M, int D) {
  TListBox::ChangeScale(M, D);
  SetItemHeight(MulDiv(ItemHeight(), M, D));
}

void TsCustomListBox::SetAutoHideScroll(bool v) {
  if (autoHideScroll_ == v) return;
  autoHideScroll_ = v;
  // The style is read once, when the window is made.
  if (!HasState(csLoading)) RecreateWnd();
}

void TsCustomListBox::SetDisabledKind(uint8_t v) {
  if (disabledKind_ == v) return;
  disabledKind_ = v;
  skinData_->Invalidate(false);
}

std::string TsCustomListBox::GetItemText(int Index) {
  // A virtual list's window holds no text: the data request gives it.
  if (Style() == lbVirtual || Style() == lbVirtualOwnerDraw)
    return Index >= 0 && Index < Count() ? DoGetData(Index) : std::string();
  HWND wnd = Handle();
  const LRESULT len = SendMessageA(wnd, LB_GETTEXTLEN, static_cast<WPARAM>(Index), 0);
  if (len < 0) return {};  // LB_ERR: no such item
  std::string text(static_cast<size_t>(len) + 1, '\0');
  const LRESULT got = SendMessageA(wnd, LB_GETTEXT, static_cast<WPARAM>(Index),
                                   reinterpret_cast<LPARAM>(text.data()));
  if (got < 0) return {};
  text.resize(std::min<size_t>(static_cast<size_t>(got), static_cast<size_t>(len)));
  return text;
}

// ---- Messages --------------------------------------------------------------------------

void TsCustomListBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      CNDrawItem(m);
      return;
    case WM_PAINT:
      // Without a skin the window paints itself; the list box's own
      // painting works from the skin's cache.
      if ((Skinned() || Style() == lbOwnerDrawVariable) && PaintSkinned(m)) return;
      break;
    default:
      break;
  }
  TListBox::Dispatch(m);
}

void TsCustomListBox::WndProc(TMessage& m) {
  if (m.Msg == WM_PRINT && Style() != lbStandard && m.WParam != 0) {
    TMessage paint{WM_PAINT, m.WParam, 0, 0};
    Dispatch(paint);
    if (adapter_ && !adapter_->Released)
      adapter_->PaintScrollBars(Handle(), -1, reinterpret_cast<HDC>(m.WParam));
    return;
  }
  if (m.Msg == SkinCommandMessage) {
    SkinCommand(m);
    return;
  }
  if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
    MouseHover(m);
    return;
  }
  if (ControlIsReady(this) && Skinned()) {
    SkinnedWndProc(m);
  } else {
    if (m.Msg == WM_NCCREATE || m.Msg == WM_CREATE) RegisterSkinData(skinData_);
    TListBox::WndProc(m);
  }
  AfterMessage(m);
}

bool TsCustomListBox::OwnManager(const TMessage& m) const {
  TsSkinManager* manager = skinData_->SkinManager();
  return manager && m.LParam == reinterpret_cast<LPARAM>(manager);
}

// A skinned list box ends every command here; an unskinned one passes it on
// to the layer as well.
void TsCustomListBox::SkinCommand(TMessage& m) {
  bool answered = false;
  LRESULT answer = 0;
  const bool wasSkinned = Skinned();
  switch (SkinCmdCode(m.WParam)) {
    case SkinCmdNewSkin:
      if (OwnManager(m)) HandleSkinCommand(m, skinData_);
      break;
    case SkinCmdRemoveSkin:
      if (OwnManager(m)) {
        FreeAdapter(true);
        HandleSkinCommand(m, skinData_);
        // The system's frame and bars come back in place of the skinned ones.
        if (HandleAllocated()) {
          SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
          RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
        }
      }
      break;
    case SkinCmdRefresh:
      if (OwnManager(m)) {
        UpdateAdapter();
        HandleSkinCommand(m, skinData_);
        if (!GlobalAnimationActive && HandleAllocated())
          RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_ERASE | RDW_INVALIDATE);
      }
      break;
    case SkinCmdIsSkinned:
      answer = 1;
      answered = true;
      break;
    case SkinCmdGetDefaultSection:
      if (TsSkinManager* manager = skinData_->SkinManager()) {
        m.Result = FindSectionIndex(manager, "EDIT") + 1;
        return;
      }
      break;
    case SkinCmdGetBgColor:
      if (!Skinned()) {
        answer = static_cast<LRESULT>(ColorToRGB(Color()));
        answered = true;
      }
      break;
    case SkinCmdEndUpdate:
      Perform(CM_INVALIDATE);
      break;
    default:
      break;
  }
  if (!wasSkinned) {
    // The window's own procedure answers 0 to the private message: an
    // answer given above is what the asker gets.
    TListBox::WndProc(m);
  }
  if (answered) m.Result = answer;
}

namespace {

// Mutes one event while the layer's handling runs and gives it back after,
// also when that handling raises.
class TMutedEvent {
 public:
  explicit TMutedEvent(TNotifyEvent& event) : event_(event), saved_(event) { event_ = {}; }
  ~TMutedEvent() { event_ = saved_; }
  TMutedEvent(const TMutedEvent&) = delete;
  TMutedEvent& operator=(const TMutedEvent&) = delete;

 private:
  TNotifyEvent& event_;
  TNotifyEvent saved_;
};

}  // namespace

void TsCustomListBox::MouseHover(TMessage& m) {
  // The library's control handling sets the hot flag of a skinned list
  // box; an unskinned one follows the message alone.
  if (!HandleControlMessage(m, skinData_) || !Skinned()) skinData_->Hot = m.Msg == CM_MOUSEENTER;
  {
    // The layer raises these events itself, also for a disabled control;
    // the list box raises them once, below, by its own rule.
    TMutedEvent enter(OnMouseEnter), leave(OnMouseLeave);
    TListBox::WndProc(m);
  }
  if (!Enabled() || HasState(csDesigning)) return;
  if (skinData_->Hot) {
    if (OnMouseEnter) OnMouseEnter(this);
  } else {
    if (OnMouseLeave) OnMouseLeave(this);
  }
}

namespace {

// Redrawing off for the length of one scroll or wheel message. Whatever
// happens in between, the window is left drawing again: a frozen list box
// is worse than one repaint too many.
class TRedrawOff {
 public:
  TRedrawOff(HWND wnd, bool* updating) : wnd_(wnd), updating_(updating) {
    SendMessageA(wnd_, WM_SETREDRAW, FALSE, 0);
    if (updating_) *updating_ = true;
  }
  ~TRedrawOff() {
    if (on_) return;
    TurnOn();
    // Left by an exception: show whatever state the list reached.
    InvalidateRect(wnd_, nullptr, FALSE);
  }
  void TurnOn() {
    on_ = true;
    SendMessageA(wnd_, WM_SETREDRAW, TRUE, 0);
    if (updating_) *updating_ = false;
  }
  TRedrawOff(const TRedrawOff&) = delete;
  TRedrawOff& operator=(const TRedrawOff&) = delete;

 private:
  HWND wnd_;
  bool* updating_;
  bool on_ = false;
};

}  // namespace

// The skinned road: the library's control handling (joins with the skin
// library) around the widget layer's.
void TsCustomListBox::SkinnedWndProc(TMessage& m) {
  HWND wnd = Handle();
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (skinData_->Updating) return;
      if (m.WParam != 0) {
        m.Result = 1;  // the items and the cache cover everything
        return;
      }
      TListBox::WndProc(m);
      return;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      TRedrawOff redraw(wnd, &skinData_->Updating);
      if (!HandleControlMessage(m, skinData_)) TListBox::WndProc(m);
      redraw.TurnOn();
      if (m.Msg == WM_HSCROLL)
        Invalidate();
      else
        RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_INVALIDATE);
      return;
    }
    case WM_MOUSEWHEEL: {
      TRedrawOff redraw(wnd, nullptr);
      if (!HandleControlMessage(m, skinData_)) TListBox::WndProc(m);
      redraw.TurnOn();
      InvalidateRect(wnd, nullptr, FALSE);
      return;
    }
    case WM_ENABLE:
      if (!HandleControlMessage(m, skinData_)) TListBox::WndProc(m);
      if (Visible() && !HasState(csLoading)) {
        skinData_->BgChanged = true;
        RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
      }
      return;
    default:
      if (!HandleControlMessage(m, skinData_)) TListBox::WndProc(m);
  }
}

void TsCustomListBox::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      if (!HasState(csDestroying)) boundLabel_->HandleOwnerMessage(m, this);
      return;
    case CM_VISIBLECHANGED:
    case CM_BIDIMODECHANGED:
      boundLabel_->HandleOwnerMessage(m, this);
      return;
    case CM_ENABLEDCHANGED:
      // A blended list box dims its label with it; any other look leaves
      // the label readable.
      if (TCustomLabel* label = boundLabel_->Label()) {
        label->SetEnabled(Enabled() || (disabledKind_ & dkBlended) == 0);
        boundLabel_->AlignLabel();
      }
      return;
    case WM_VSCROLL:
      if (OnVScroll) OnVScroll(this);
      return;
    case CM_FONTCHANGED:
      // The standard style is owner-drawn here, so the system no longer sizes
      // its items from the font: the list box does, while it is on screen
      // and unless the skin itself is setting the font colour. Visible, not
      // the window's style: redrawing off hides the window's style bit.
      if (Style() == lbStandard && !HasState(csLoading | csFreeNotification) && HandleAllocated() &&
          Visible() && !(skinData_->StateFlags & sfSkinFontColor)) {
        TCanvas* canvas = Canvas();
        canvas->SetFont(Font());
        const int height = canvas->TextHeight("Ag") + 3;
        static_cast<TControlCanvas*>(canvas)->FreeHandle();
        SetItemHeight(height);
      }
      return;
    default:
      return;
  }
}
