// TGroupBox: a container that paints its own frame and caption.
#include <vssym32.h>

#include <string>

#include "widgets/controls/stdctrls.h"
#include "widgets/graphics/theme_data.h"

const TClassInfo& TCustomGroupBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TCustomGroupBox> b("TCustomGroupBox", &TCustomControl::StaticClass());
    b.Str(
        "Caption",
        [](const TCustomGroupBox& c) { return const_cast<TCustomGroupBox&>(c).Caption(); },
        [](TCustomGroupBox& c, const std::string& v) { c.SetCaption(v); });
    return b.Done();
  }();
  return info;
}

const TClassInfo& TGroupBox::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TGroupBox> b("TGroupBox", &TCustomGroupBox::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption |
                  csDoubleClicks | csReplicatable | csParentBackground;
  InitBounds(0, 0, 185, 105);
  InitColor(clBtnFace);
  InitParentColor(true);
}

void TCustomGroupBox::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  // The frame depends on the size: WM_SIZE invalidates instead.
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomGroupBox::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  TCanvas* c = Canvas();
  c->SetFont(Font());
  int h = 0;
  if (HandleAllocated()) {
    h = c->TextHeight("0");
  } else {
    TWindowDC screen(nullptr);
    TSelectedObject font(screen.Get(), Font()->Handle());
    SIZE sz{};
    GetTextExtentPoint32A(screen.Get(), "0", 1, &sz);
    h = sz.cy;
  }
  Rect.Top += h;
  InflateRect(Rect.AsRECT(), -2, -2);
}

void TCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  c->SetFont(Font());
  HDC dc = c->Handle();
  int h = c->TextHeight("0");
  TRect r(0, h / 2 - 1, Width(), Height());
  std::string text = Caption();
  UINT flags = DrawTextBiDiModeFlags(DT_SINGLELINE);
  TRect cap;
  if (!text.empty()) {
    int w = c->TextWidth(text);
    cap = UseRightToLeftAlignment() ? TRect(Width() - 8 - w, 0, Width() - 8, h)
                                    : TRect(8, 0, 8 + w, h);
  }
  TThemeData theme(Handle(), L"BUTTON");
  if (theme.Defines(BP_GROUPBOX)) {
    int state = Enabled() ? GBS_NORMAL : GBS_DISABLED;
    {
      TSavedDC saved(dc);
      if (!text.empty()) ExcludeClipRect(dc, cap.Left, cap.Top, cap.Right, cap.Bottom);
      DrawThemeBackground(theme.Get(), dc, BP_GROUPBOX, state, r.AsRECT(), nullptr);
    }
    if (!text.empty()) {
      COLORREF color = ColorToRGB(Enabled() ? Font()->Color() : clGrayText);
      COLORREF themed;
      if (SUCCEEDED(GetThemeColor(theme.Get(), BP_GROUPBOX, state, TMT_TEXTCOLOR, &themed)))
        color = themed;
      c->Brush()->SetStyle(bsClear);
      c->Font()->SetColor(static_cast<TColor>(color));
      DrawTextA(c->Handle(), text.c_str(), static_cast<int>(text.size()), cap.AsRECT(), flags);
    }
    return;
  }
  // Classic: an etched frame, the caption on the control's colour.
  c->Brush()->SetStyle(bsSolid);
  TRect outer = r;
  outer.Left += 1;
  outer.Top += 1;
  c->Brush()->SetColor(clBtnHighlight);
  c->FrameRect(outer);
  OffsetRect(outer.AsRECT(), -1, -1);
  c->Brush()->SetColor(clBtnShadow);
  c->FrameRect(outer);
  if (!text.empty()) {
    c->Brush()->SetColor(Color());
    if (!Enabled()) c->Font()->SetColor(clGrayText);
    DrawTextA(c->Handle(), text.c_str(), static_cast<int>(text.size()), cap.AsRECT(), flags);
  }
}

void TCustomGroupBox::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CM_TEXTCHANGED:
      Invalidate();
      Realign();
      return;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(m);
      Realign();
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case WM_SIZE:
      TCustomControl::Dispatch(m);
      Invalidate();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<WORD>(m.WParam), Caption()) && CanFocus()) {
        if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
        m.Result = 1;
        return;
      }
      TCustomControl::Dispatch(m);
      return;
    default:
      TCustomControl::Dispatch(m);
  }
}
