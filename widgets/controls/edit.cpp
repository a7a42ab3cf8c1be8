// TEdit: a superclass of "EDIT".
#include "widgets/controls/stdctrls.h"

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
  if (borderStyle_ == bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  if (maxLength_ > 0) SendMessageA(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
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
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == EN_CHANGE && !(ControlState() & csCreating)) Change();
    return;
  }
  TWinControl::Dispatch(m);
}
