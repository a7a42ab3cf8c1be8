// TControl's mouse and key helpers, standard cursors and accelerators.
#include "widgets/controls/controls.h"

TShiftState TControl::KeysToShiftState(WPARAM Keys) {
  TShiftState s = 0;
  if (Keys & MK_SHIFT) s |= ssShift;
  if (Keys & MK_CONTROL) s |= ssCtrl;
  if (Keys & MK_LBUTTON) s |= ssLeft;
  if (Keys & MK_RBUTTON) s |= ssRight;
  if (Keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TShiftState TControl::KeyDataToShiftState(LPARAM KeyData) {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (KeyData & 0x20000000) s |= ssAlt;
  return s;
}

void TControl::MouseButtonDown(TMessage& m, TMouseButton b, bool dbl) {
  if (b == mbLeft) {
    if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
    if (controlStyle_ & csClickEvents) controlState_ |= csClicked;
    controlState_ |= csLButtonDown;
    if (dbl) DblClick();
  }
  TWMMouse mm{m};
  MouseDown(b, KeysToShiftState(m.WParam) | (dbl ? TShiftState(ssDouble) : TShiftState(0)),
            mm.XPos(), mm.YPos());
}

void TControl::MouseButtonUp(TMessage& m, TMouseButton b) {
  TWMMouse mm{m};
  if (b == mbLeft) {
    controlState_ &= ~csLButtonDown;
    if (controlStyle_ & csCaptureMouse) SetMouseCapture(false);
    if (controlState_ & csClicked) {
      controlState_ &= ~csClicked;
      TRect r = GetClientRect();
      POINT p{mm.XPos(), mm.YPos()};
      if (PtInRect(r.AsRECT(), p)) Click();
    }
  }
  MouseUp(b, KeysToShiftState(m.WParam), mm.XPos(), mm.YPos());
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

HCURSOR StandardCursor(TCursor Cursor) {
  LPCSTR id = IDC_ARROW;
  switch (Cursor) {
    case crNone:
      return nullptr;
    case crCross:
      id = IDC_CROSS;
      break;
    case crIBeam:
      id = IDC_IBEAM;
      break;
    case crSizeNESW:
      id = IDC_SIZENESW;
      break;
    case crSizeNS:
      id = IDC_SIZENS;
      break;
    case crSizeNWSE:
      id = IDC_SIZENWSE;
      break;
    case crSizeWE:
      id = IDC_SIZEWE;
      break;
    case crUpArrow:
      id = IDC_UPARROW;
      break;
    case crHourGlass:
      id = IDC_WAIT;
      break;
    case crNo:
      id = IDC_NO;
      break;
    case crAppStart:
      id = IDC_APPSTARTING;
      break;
    case crHelp:
      id = IDC_HELP;
      break;
    case crHandPoint:
      id = IDC_HAND;
      break;
    case crSizeAll:
      id = IDC_SIZEALL;
      break;
    default:
      break;
  }
  return LoadCursorA(nullptr, id);
}

bool IsAccel(WORD VK, const std::string& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i) {
    if (Caption[i] != '&') continue;
    if (Caption[i + 1] == '&') {
      ++i;
      continue;
    }
    auto up = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
    return up(static_cast<unsigned char>(Caption[i + 1])) == up(static_cast<unsigned char>(VK));
  }
  return false;
}
