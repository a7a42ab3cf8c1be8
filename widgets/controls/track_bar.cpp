// TTrackBar: a superclass of "msctls_trackbar32"; the object keeps range and
// position, so a new window gets them again.
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>

#include "widgets/controls/comctrls.h"
#include "widgets/rtl/exceptions.h"

const TEnumInfo& TTrackBar::OrientationInfo() {
  static const TEnumInfo info{{"trHorizontal", "trVertical"}};
  return info;
}

const TEnumInfo& TTrackBar::TickStyleInfo() {
  static const TEnumInfo info{{"tsNone", "tsAuto", "tsManual"}};
  return info;
}

const TEnumInfo& TTrackBar::TickMarksInfo() {
  static const TEnumInfo info{{"tmBottomRight", "tmTopLeft", "tmBoth"}};
  return info;
}

const TClassInfo& TTrackBar::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TTrackBar> b("TTrackBar", &TWinControl::StaticClass());
    b.Creatable();
    b.Int(
        "Max", [](const TTrackBar& c) { return c.Max(); }, [](TTrackBar& c, int v) { c.SetMax(v); },
        10);
    b.Int(
        "Min", [](const TTrackBar& c) { return c.Min(); }, [](TTrackBar& c, int v) { c.SetMin(v); },
        0);
    b.Int(
        "Position", [](const TTrackBar& c) { return c.Position(); },
        [](TTrackBar& c, int v) { c.SetPosition(v); }, 0);
    b.Int(
        "Frequency", [](const TTrackBar& c) { return c.Frequency(); },
        [](TTrackBar& c, int v) { c.SetFrequency(v); }, 1);
    b.Int(
        "LineSize", [](const TTrackBar& c) { return c.LineSize(); },
        [](TTrackBar& c, int v) { c.SetLineSize(v); }, 1);
    b.Int(
        "PageSize", [](const TTrackBar& c) { return c.PageSize(); },
        [](TTrackBar& c, int v) { c.SetPageSize(v); }, 2);
    b.Int(
        "ThumbLength", [](const TTrackBar& c) { return c.ThumbLength(); },
        [](TTrackBar& c, int v) { c.SetThumbLength(v); }, 20);
    b.Int(
        "SelStart", [](const TTrackBar& c) { return c.SelStart(); },
        [](TTrackBar& c, int v) { c.SetSelStart(v); }, 0);
    b.Int(
        "SelEnd", [](const TTrackBar& c) { return c.SelEnd(); },
        [](TTrackBar& c, int v) { c.SetSelEnd(v); }, 0);
    b.Enum(
        "Orientation", OrientationInfo(), [](const TTrackBar& c) { return c.Orientation(); },
        [](TTrackBar& c, int v) { c.SetOrientation(static_cast<TTrackBarOrientation>(v)); },
        trHorizontal);
    b.Enum(
        "TickStyle", TickStyleInfo(), [](const TTrackBar& c) { return c.TickStyle(); },
        [](TTrackBar& c, int v) { c.SetTickStyle(static_cast<TTickStyle>(v)); }, tsAuto);
    b.Enum(
        "TickMarks", TickMarksInfo(), [](const TTrackBar& c) { return c.TickMarks(); },
        [](TTrackBar& c, int v) { c.SetTickMarks(static_cast<TTickMark>(v)); }, tmBottomRight);
    b.Event<&TTrackBar::OnChange>("OnChange");
    return b.Done();
  }();
  return info;
}

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
  controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  InitBounds(0, 0, 150, 45);
  InitTabStop(true);
  InitColor(clBtnFace);
}

void TTrackBar::CreateParams(TCreateParams& p) {
  static const DWORD kOrientation[] = {TBS_HORZ, TBS_VERT};
  static const DWORD kTicks[] = {TBS_NOTICKS, TBS_AUTOTICKS, 0};
  static const DWORD kMarks[] = {TBS_BOTTOM, TBS_TOP, TBS_BOTH};
  TWinControl::CreateParams(p);
  CreateSubClass(p, TRACKBAR_CLASSA);
  p.Style |= kOrientation[orientation_] | kTicks[tickStyle_] | kMarks[tickMarks_] |
             TBS_FIXEDLENGTH | TBS_ENABLESELRANGE;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
  p.WindowClass.style |= CS_DBLCLKS;
}

void TTrackBar::CreateWnd() {
  TWinControl::CreateWnd();
  HWND h = Handle();
  SendMessageA(h, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(thumbLength_), 0);
  SendMessageA(h, TBM_SETLINESIZE, 0, lineSize_);
  SendMessageA(h, TBM_SETPAGESIZE, 0, pageSize_);
  SendMessageA(h, TBM_SETRANGEMIN, FALSE, min_);
  SendMessageA(h, TBM_SETRANGEMAX, FALSE, max_);
  UpdateSelection();
  SendMessageA(h, TBM_SETPOS, TRUE, position_);
  SendMessageA(h, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 1);
}

void TTrackBar::DestroyWnd() {
  backgroundBrush_.Reset();
  position_ = static_cast<int>(SendMessageA(Handle(), TBM_GETPOS, 0, 0));
  TWinControl::DestroyWnd();
}

void TTrackBar::SetParams(int APosition, int AMin, int AMax) {
  if (AMax < AMin && !HasState(csLoading))
    throw EInvalidOperation(ClassName() + " property out of range");
  if (APosition < AMin) APosition = AMin;
  if (APosition > AMax) APosition = AMax;
  if (min_ != AMin) {
    min_ = AMin;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETRANGEMIN, TRUE, AMin);
  }
  if (max_ != AMax) {
    max_ = AMax;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETRANGEMAX, TRUE, AMax);
  }
  if (position_ != APosition) {
    position_ = APosition;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETPOS, TRUE, APosition);
    Changed();
  }
}

void TTrackBar::SetFrequency(int v) {
  if (frequency_ == v) return;
  frequency_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(v), 1);
}

void TTrackBar::SetLineSize(int v) {
  if (lineSize_ == v) return;
  lineSize_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), TBM_SETLINESIZE, 0, v);
}

void TTrackBar::SetPageSize(int v) {
  if (pageSize_ == v) return;
  pageSize_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), TBM_SETPAGESIZE, 0, v);
}

void TTrackBar::SetThumbLength(int v) {
  if (thumbLength_ == v) return;
  thumbLength_ = v;
  if (HandleAllocated()) SendMessageA(Handle(), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(v), 0);
}

void TTrackBar::UpdateSelection() {
  if (!HandleAllocated()) return;
  if (selStart_ == 0 && selEnd_ == 0)
    SendMessageA(Handle(), TBM_CLEARSEL, TRUE, 0);
  else
    SendMessageA(Handle(), TBM_SETSEL, TRUE, MAKELPARAM(selStart_, selEnd_));
}

void TTrackBar::SetSelStart(int v) {
  if (selStart_ == v) return;
  selStart_ = v;
  UpdateSelection();
}

void TTrackBar::SetSelEnd(int v) {
  if (selEnd_ == v) return;
  selEnd_ = v;
  UpdateSelection();
}

void TTrackBar::SetOrientation(TTrackBarOrientation v) {
  if (orientation_ == v) return;
  orientation_ = v;
  if (!HasState(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle v) {
  if (tickStyle_ == v) return;
  tickStyle_ = v;
  RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark v) {
  if (tickMarks_ == v) return;
  tickMarks_ = v;
  RecreateWnd();
}

void TTrackBar::Changed() {
  TWinControl::Changed();
  if (OnChange) OnChange(this);
}

HBRUSH TTrackBar::ParentBackgroundBrush() {
  RECT r;
  ::GetClientRect(Handle(), &r);
  TWindowDC screen(Handle());
  TMemoryDC mem(CreateCompatibleDC(screen.Get()));
  TOwnedBitmap bmp(
      CreateCompatibleBitmap(screen.Get(), std::max(1L, r.right), std::max(1L, r.bottom)));
  if (!mem || !bmp) return nullptr;
  {
    TSelectedObject sel(mem.Get(), bmp.Get());
    FillRect(mem.Get(), &r, Brush()->Handle());
    DrawThemeParentBackground(Handle(), mem.Get(), &r);
  }
  backgroundBrush_.Reset(CreatePatternBrush(bmp.Get()));
  return backgroundBrush_.Get();
}

void TTrackBar::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case CN_CTLCOLORSTATIC:
      if (ThemesEnabled() && Parent() && HandleAllocated()) {
        if (HBRUSH b = ParentBackgroundBrush()) {
          HDC dc = reinterpret_cast<HDC>(m.WParam);
          SetBkMode(dc, TRANSPARENT);
          SetBrushOrgEx(dc, 0, 0, nullptr);
          m.Result = reinterpret_cast<LRESULT>(b);
          return;
        }
      }
      break;
    case WM_ERASEBKGND:
      // The control paints its whole face itself.
      m.Result = 1;
      return;
    case CN_HSCROLL:
    case CN_VSCROLL:
      // Every code, TB_ENDTRACK included, even when the position stayed.
      position_ = static_cast<int>(SendMessageA(Handle(), TBM_GETPOS, 0, 0));
      Changed();
      m.Result = 0;
      return;
    default:
      TWinControl::Dispatch(m);
  }
}
