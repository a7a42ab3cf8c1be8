// TEdit: a superclass of "EDIT".
#include "widgets/controls/stdctrls.h"
#include "widgets/graphics/gdi_handles.h"

const TEnumInfo& TCustomEdit::BevelKindInfo() {
  static const TEnumInfo info{{"bkNone", "bkTile", "bkSoft", "bkFlat"}};
  return info;
}

const TEnumInfo& TCustomEdit::BevelCutInfo() {
  static const TEnumInfo info{{"bvNone", "bvLowered", "bvRaised", "bvSpace"}};
  return info;
}

const TEnumInfo& TCustomEdit::CharCaseInfo() {
  static const TEnumInfo info{{"ecNormal", "ecUpperCase", "ecLowerCase"}};
  return info;
}

const TClassInfo& TCustomEdit::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TCustomEdit> b("TCustomEdit", &TWinControl::StaticClass());
    b.Str(
        "Text", [](const TCustomEdit& c) { return const_cast<TCustomEdit&>(c).Text(); },
        [](TCustomEdit& c, const std::string& v) { c.SetText(v); });
    b.Bool(
        "ReadOnly", [](const TCustomEdit& c) { return c.ReadOnly(); },
        [](TCustomEdit& c, int v) { c.SetReadOnly(v != 0); }, false);
    b.Int(
        "MaxLength", [](const TCustomEdit& c) { return c.MaxLength(); },
        [](TCustomEdit& c, int v) { c.SetMaxLength(v); }, 0);
    TPropInfo& pass = b.Ord(
        "PasswordChar", TPropKind::Char, [](const TCustomEdit& c) { return c.PasswordChar(); },
        [](TCustomEdit& c, int v) { c.SetPasswordChar(static_cast<char>(v)); });
    pass.HasDefault = true;
    pass.Default = 0;
    b.Enum(
        "BevelKind", BevelKindInfo(), [](const TCustomEdit& c) { return c.BevelKind(); },
        [](TCustomEdit& c, int v) { c.SetBevelKind(static_cast<TBevelKind>(v)); }, bkNone);
    b.Enum(
        "BevelInner", BevelCutInfo(), [](const TCustomEdit& c) { return c.BevelInner(); },
        [](TCustomEdit& c, int v) { c.SetBevelInner(static_cast<TBevelCut>(v)); }, bvRaised);
    b.Enum(
        "BevelOuter", BevelCutInfo(), [](const TCustomEdit& c) { return c.BevelOuter(); },
        [](TCustomEdit& c, int v) { c.SetBevelOuter(static_cast<TBevelCut>(v)); }, bvLowered);
    b.Event<&TCustomEdit::OnChange>("OnChange");
    return b.Done();
  }();
  return info;
}

const TClassInfo& TEdit::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TEdit> b("TEdit", &TCustomEdit::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  controlStyle_ = csClickEvents | csSetCaption | csDoubleClicks | csFixedHeight;
  InitBounds(0, 0, 121, 21);
  InitTabStop(true);
  InitColor(clWindow);
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "EDIT");
  p.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_LEFT;
  if (readOnly_) p.Style |= ES_READONLY;
  // A flat single border is one line; a 3D one the sunken client edge.
  if (borderStyle_ == bsSingle) {
    if (Ctl3D())
      p.ExStyle |= WS_EX_CLIENTEDGE;
    else
      p.Style |= WS_BORDER;
  }
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  if (maxLength_ > 0) SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  if (passwordChar_)
    SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<BYTE>(passwordChar_), 0);
}

void TCustomEdit::SetPasswordChar(char v) {
  if (passwordChar_ == v) return;
  passwordChar_ = v;
  if (!HandleAllocated()) return;
  SendMessageA(Handle(), EM_SETPASSWORDCHAR, static_cast<BYTE>(v), 0);
  Invalidate();
}

void TCustomEdit::SetBevelKind(TBevelKind v) {
  if (bevelKind_ == v) return;
  bevelKind_ = v;
  BevelChanged();
}

void TCustomEdit::SetBevelInner(TBevelCut v) {
  if (bevelInner_ == v) return;
  bevelInner_ = v;
  BevelChanged();
}

void TCustomEdit::SetBevelOuter(TBevelCut v) {
  if (bevelOuter_ == v) return;
  bevelOuter_ = v;
  BevelChanged();
}

int TCustomEdit::BevelSize() const {
  if (bevelKind_ == bkNone) return 0;
  return (bevelInner_ != bvNone ? 1 : 0) + (bevelOuter_ != bvNone ? 1 : 0);
}

// The frame changes size: the platform asks for the client area again.
void TCustomEdit::BevelChanged() {
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomEdit::PaintBevel() {
  int size = BevelSize();
  if (size == 0) return;
  RECT w{}, c{};
  GetWindowRect(Handle(), &w);
  ::GetClientRect(Handle(), &c);
  MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&c), 2);
  // The bevel hugs the client area from outside.
  RECT r{c.left - w.left - size, c.top - w.top - size, c.right - w.left + size,
         c.bottom - w.top + size};
  static const UINT kInner[] = {0, BDR_SUNKENINNER, BDR_RAISEDINNER, 0};
  static const UINT kOuter[] = {0, BDR_SUNKENOUTER, BDR_RAISEDOUTER, 0};
  UINT edge = kInner[bevelInner_] | kOuter[bevelOuter_];
  UINT flags =
      BF_RECT | (bevelKind_ == bkFlat ? BF_FLAT : 0) | (bevelKind_ == bkSoft ? BF_SOFT : 0);
  TWindowDC dc(Handle(), GetWindowDC(Handle()));
  // A bvSpace cut shows the control's colour: the band is filled first.
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color())));
  RECT inner{r.left + size, r.top + size, r.right - size, r.bottom - size};
  TOwnedRegion band(CreateRectRgnIndirect(&r));
  TOwnedRegion hole(CreateRectRgnIndirect(&inner));
  CombineRgn(band.Get(), band.Get(), hole.Get(), RGN_DIFF);
  FillRgn(dc.Get(), band.Get(), brush.Get());
  if (edge) DrawEdge(dc.Get(), &r, edge, flags);
}

void TCustomEdit::SetReadOnly(bool v) {
  if (readOnly_ == v) return;
  readOnly_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), EM_SETREADONLY, v ? TRUE : FALSE, 0);
}

void TCustomEdit::SetMaxLength(int v) {
  if (maxLength_ == v) return;
  maxLength_ = v;
  if (HandleAllocated())
    SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(v > 0 ? v : 0), 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TCustomEdit::Change() {
  TControl::Changed();
  if (OnChange) OnChange(this);
}

void TCustomEdit::Dispatch(TMessage& m) {
  if (m.Msg == WM_NCCALCSIZE) {
    DefaultHandler(m);
    if (int size = BevelSize()) {
      RECT& r = *reinterpret_cast<RECT*>(m.LParam);  // rgrc[0] when WParam is TRUE
      InflateRect(&r, -size, -size);
    }
    return;
  }
  if (m.Msg == WM_NCPAINT) {
    DefaultHandler(m);
    PaintBevel();
    return;
  }
  if (m.Msg == CM_CTL3DCHANGED) {
    // The frame is a window style: the window is made again.
    if (HandleAllocated() && borderStyle_ == bsSingle) RecreateWnd();
    TWinControl::Dispatch(m);
    return;
  }
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == EN_CHANGE && !(ControlState() & csCreating)) Change();
    return;
  }
  TWinControl::Dispatch(m);
}
