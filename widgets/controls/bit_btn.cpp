#include <vssym32.h>

#include "widgets/controls/buttons.h"
#include "widgets/graphics/theme_data.h"

const TClassInfo& TBitBtn::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TBitBtn> b("TBitBtn", &TButton::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.Style &= ~static_cast<DWORD>(BS_DEFPUSHBUTTON | BS_PUSHBUTTON);
  p.Style |= BS_OWNERDRAW;
}

void TBitBtn::SetButtonStyle(bool ADefault) {
  // BM_SETSTYLE would end the owner drawing: the default frame is painted.
  if (ADefault == IsFocusedDefault()) return;
  SetFocusedDefault(ADefault);
  Invalidate();
}

void TBitBtn::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_DRAWITEM:
      DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
      m.Result = 1;
      return;
    case CN_MEASUREITEM:
      return;
    case WM_LBUTTONDBLCLK:
      // An owner-drawn button reports a double click instead of a second
      // click: treat it as a press.
      m.Msg = WM_LBUTTONDOWN;
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      hot_ = m.Msg == CM_MOUSEENTER;
      if (ThemesEnabled()) Invalidate();
      break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      TButton::Dispatch(m);
      Invalidate();
      return;
    default:
      break;
  }
  TButton::Dispatch(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& d) {
  HDC dc = d.hDC;
  RECT r = d.rcItem;
  bool pressed = (d.itemState & ODS_SELECTED) != 0;
  bool focused = (d.itemState & ODS_FOCUS) != 0;
  bool isDefault = IsFocusedDefault() || focused;
  TThemeData theme(Handle(), L"BUTTON");
  if (theme.Defines(BP_PUSHBUTTON)) {
    int state = !Enabled()  ? PBS_DISABLED
                : pressed   ? PBS_PRESSED
                : hot_      ? PBS_HOT
                : isDefault ? PBS_DEFAULTED
                            : PBS_NORMAL;
    if (IsThemeBackgroundPartiallyTransparent(theme.Get(), BP_PUSHBUTTON, state))
      DrawThemeParentBackground(Handle(), dc, &r);
    DrawThemeBackground(theme.Get(), dc, BP_PUSHBUTTON, state, &r, nullptr);
    RECT content;
    if (SUCCEEDED(
            GetThemeBackgroundContentRect(theme.Get(), dc, BP_PUSHBUTTON, state, &r, &content)))
      r = content;
  } else {
    if (isDefault) {
      FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
      InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    InflateRect(&r, -2, -2);
    if (pressed) OffsetRect(&r, 1, 1);
  }
  std::string text = Caption();
  if (!text.empty()) {
    TSelectedObject font(dc, Font()->Handle());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    UINT flags = DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Enabled()) {
      COLORREF old = SetTextColor(dc, ColorToRGB(Font()->Color()));
      DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
      SetTextColor(dc, old);
    } else {
      // The engraved look of a disabled caption.
      RECT shifted = r;
      OffsetRect(&shifted, 1, 1);
      COLORREF old = SetTextColor(dc, ColorToRGB(clBtnHighlight));
      DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &shifted, flags);
      SetTextColor(dc, ColorToRGB(clBtnShadow));
      DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
      SetTextColor(dc, old);
    }
    SetBkMode(dc, oldMode);
  }
  if (focused && !(d.itemState & ODS_NOFOCUSRECT)) {
    RECT fr = d.rcItem;
    InflateRect(&fr, -4, -4);
    DrawFocusRect(dc, &fr);
  }
}
