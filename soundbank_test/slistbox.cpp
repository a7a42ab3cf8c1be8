// TsCustomListBox: construction, properties, item text and the message
// road (window procedure, skin commands, scrolling, font changes).
#include "soundbank_test/slistbox.h"

#include <algorithm>

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

// The skin data (control kind 8, with a cache bitmap) is made before the
// list box itself once the skin library has it; the bound label after.
TsCustomListBox::TsCustomListBox(TComponent* AOwner) : TListBox(AOwner), disabledKind_(dkBlended) {
  // Items paint every pixel only while they cover the client area.
  controlStyle_ &= ~csOpaque;
  SetDoubleBuffered(false);
}

// The border adapter goes first, then the window; the skin data and the
// bound label last (none of them exists before the skin library does).
TsCustomListBox::~TsCustomListBox() = default;

void TsCustomListBox::CreateParams(TCreateParams& Params) {
  TListBox::CreateParams(Params);
  if (Style() == lbStandard) Params.Style |= LBS_OWNERDRAWFIXED;
  if (!autoHideScroll_) Params.Style |= LBS_DISABLENOSCROLL;
}

// Skin data loading and the edit border adapter join here with the skin
// library; without a skin neither does anything.
void TsCustomListBox::CreateWnd() {
  TListBox::CreateWnd();
}

void TsCustomListBox::Loaded() {
  TListBox::Loaded();
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
  // Only the skinned look depends on it; its cache is renewed with the skin.
  disabledKind_ = v;
}

std::string TsCustomListBox::GetItemText(int Index) {
  // The layer's list box has no data request for the virtual styles: their
  // items have no text, as with no data handler.
  if (Style() == lbVirtual || Style() == lbVirtualOwnerDraw) return {};
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

bool TsCustomListBox::DrawSkinnedItem(int, const TRect&, TOwnerDrawState) {
  return false;
}

bool TsCustomListBox::PaintSkinned(TMessage&) {
  return false;
}

// Mirrors the skin engine's readiness test: a parent, a window, and not
// loading, destroying, reading or being created.
bool TsCustomListBox::ReadyForSkin() {
  if (!Parent() || !HandleAllocated()) return false;
  if (HasState(csLoading | csDestroying)) return false;
  return (ControlState() & (csReadingState | csCreating)) == 0;
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
    // The skinned scroll bars are printed here by the border adapter.
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
  if (ReadyForSkin() && Skinned())
    SkinnedWndProc(m);
  else
    TListBox::WndProc(m);
  AfterMessage(m);
}

// A skinned list box ends every command here; an unskinned one passes it on
// to the layer as well.
void TsCustomListBox::SkinCommand(TMessage& m) {
  bool answered = false;
  LRESULT answer = 0;
  switch (SkinCmdCode(m.WParam)) {
    case SkinCmdNewSkin:
    case SkinCmdRemoveSkin:
    case SkinCmdRefresh:
      // Taking, dropping and renewing the skin, and the border adapter
      // with it, come with the skin library's skin data.
      break;
    case SkinCmdIsSkinned:
      answer = 1;
      answered = true;
      break;
    case SkinCmdGetDefaultSection:
      // The skin's "EDIT" section + 1 when a manager exists; none does yet.
      m.Result = 0;
      return;
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
  if (!Skinned()) {
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
  // The skin data's hot flag (set by the library's control handling).
  skinHot_ = m.Msg == CM_MOUSEENTER;
  {
    // The layer raises these events itself, also for a disabled control;
    // the list box raises them once, below, by its own rule.
    TMutedEvent enter(OnMouseEnter), leave(OnMouseLeave);
    TListBox::WndProc(m);
  }
  if (!Enabled() || HasState(csDesigning)) return;
  if (skinHot_) {
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
      if (skinUpdating_) return;
      if (m.WParam != 0) {
        m.Result = 1;  // the items and the cache cover everything
        return;
      }
      TListBox::WndProc(m);
      return;
    case WM_HSCROLL:
    case WM_VSCROLL: {
      TRedrawOff redraw(wnd, &skinUpdating_);
      TListBox::WndProc(m);
      redraw.TurnOn();
      if (m.Msg == WM_HSCROLL)
        Invalidate();
      else
        RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_INVALIDATE);
      return;
    }
    case WM_MOUSEWHEEL: {
      TRedrawOff redraw(wnd, nullptr);
      TListBox::WndProc(m);
      redraw.TurnOn();
      InvalidateRect(wnd, nullptr, FALSE);
      return;
    }
    case WM_ENABLE:
      TListBox::WndProc(m);
      if (Visible() && !HasState(csLoading))
        RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
      return;
    default:
      TListBox::WndProc(m);
  }
}

void TsCustomListBox::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    // WM_SIZE, WM_WINDOWPOSCHANGED, CM_VISIBLECHANGED, CM_ENABLEDCHANGED and
    // CM_BIDIMODECHANGED realign the bound label, which comes with the skin
    // library's caption labels.
    case WM_VSCROLL:
      if (OnVScroll) OnVScroll(this);
      return;
    case CM_FONTCHANGED:
      // The standard style is owner-drawn here, so the system no longer sizes
      // its items from the font: the list box does, while it is on screen
      // (and, once skins exist, unless the skin itself is setting the font).
      if (Style() == lbStandard && !HasState(csLoading | csFreeNotification) && HandleAllocated() &&
          IsWindowVisible(Handle())) {
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
