// TButton: a superclass of "BUTTON"; BN_CLICKED runs Click.
#include <windows.h>

#include <commctrl.h>

#include "widgets/forms/forms.h"
#include "widgets/controls/stdctrls.h"

const TClassInfo& TButtonControl::StaticClass() {
  static const TClassInfo info("TButtonControl", &TWinControl::StaticClass());
  return info;
}

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner) {}

const TEnumInfo& TButton::StyleInfo() {
  static const TEnumInfo info{{"bsPushButton", "bsCommandLink", "bsSplitButton"}};
  return info;
}

const TClassInfo& TButton::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TButton> b("TButton", &TButtonControl::StaticClass());
    b.Creatable();
    b.Str(
        "Caption", [](const TButton& c) { return const_cast<TButton&>(c).Caption(); },
        [](TButton& c, const std::string& v) { c.SetCaption(v); });
    b.Bool(
        "Default", [](const TButton& c) { return c.Default(); },
        [](TButton& c, int v) { c.SetDefault(v != 0); }, false);
    b.Bool(
        "Cancel", [](const TButton& c) { return c.Cancel(); },
        [](TButton& c, int v) { c.SetCancel(v != 0); }, false);
    b.Int(
        "ModalResult", [](const TButton& c) { return c.ModalResult(); },
        [](TButton& c, int v) { c.SetModalResult(v); }, 0);
    b.Enum(
        "Style", StyleInfo(), [](const TButton& c) { return c.Style(); },
        [](TButton& c, int v) { c.SetStyle(static_cast<TButtonStyle>(v)); }, bsPushButton);
    b.Bool(
        "WordWrap", [](const TButton& c) { return c.WordWrap(); },
        [](TButton& c, int v) { c.SetWordWrap(v != 0); }, false);
    return b.Done();
  }();
  return info;
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  controlStyle_ = csSetCaption | csDoubleClicks;
  InitBounds(0, 0, 75, 25);
  InitTabStop(true);
  InitColor(clBtnFace);
}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  p.Style |= ButtonTypeStyle(default_);
  if (wordWrap_) p.Style |= BS_MULTILINE;
}

DWORD TButton::ButtonTypeStyle(bool ADefault) const {
  switch (style_) {
    case bsCommandLink:
      return ADefault ? BS_DEFCOMMANDLINK : BS_COMMANDLINK;
    case bsSplitButton:
      return ADefault ? BS_DEFSPLITBUTTON : BS_SPLITBUTTON;
    default:
      return ADefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  }
}

void TButton::SetStyle(TButtonStyle v) {
  if (style_ == v) return;
  style_ = v;
  RecreateWnd();
}

void TButton::SetWordWrap(bool v) {
  if (wordWrap_ == v) return;
  wordWrap_ = v;
  RecreateWnd();
}

UINT TButton::ButtonState() {
  return HandleAllocated() ? static_cast<UINT>(SendMessageA(Handle(), BM_GETSTATE, 0, 0)) : 0;
}

void TButton::CreateWnd() {
  TButtonControl::CreateWnd();
  active_ = default_;
  // The new window has the type CreateParams gave it.
  isFocused_ = default_;
}

void TButton::Click() {
  if (modalResult_ != mrNone)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  TControl::Click();
}

void TButton::SetDefault(bool v) {
  if (default_ == v) return;
  default_ = v;
  if (!HandleAllocated()) return;
  if (TCustomForm* form = GetParentForm(this))
    form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TButton::SetButtonStyle(bool ADefault) {
  if (ADefault == isFocused_) return;
  isFocused_ = ADefault;
  if (HandleAllocated()) SendMessageA(Handle(), BM_SETSTYLE, ButtonTypeStyle(ADefault), 1);
}

void TButton::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND:
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CM_DIALOGKEY:
      if (((m.WParam == VK_RETURN && active_) || (m.WParam == VK_ESCAPE && cancel_)) &&
          KeyDataToShiftState(m.LParam) == 0 && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      break;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      break;
    case CM_FOCUSCHANGED: {
      auto* sender = reinterpret_cast<TControl*>(m.LParam);
      auto* button = dynamic_cast<TButton*>(sender);
      active_ = button ? button == this : default_;
      SetButtonStyle(active_);
      break;
    }
    default:
      break;
  }
  TButtonControl::Dispatch(m);
}
