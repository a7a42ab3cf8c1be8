// THintWindow: measuring, showing and painting the plain hint.
#include "widgets/forms/hint_window.h"

#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

// The frame (1 pixel each side) and a 2-pixel text margin.
constexpr int kTextMargin = 2;
constexpr int kExtraWidth = 6;
constexpr int kExtraHeight = 2;
constexpr int kActivateGrowth = 4;

}  // namespace

const TClassInfo& THintWindow::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<THintWindow> b("THintWindow", &TCustomControl::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  InitVisible(false);
  InitColor(clInfoBk);
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style = WS_POPUP | WS_BORDER | (p.Style & WS_DISABLED);
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  p.WindowClass.style |= CS_SAVEBITS;
  // Owned by the application window (as its forms are) unless a parent
  // window was given, so it never gets a task-bar button of its own.
  if (!p.WndParent && Application) p.WndParent = Application->Handle();
}

UINT THintWindow::TextFlags() const {
  return DrawTextBiDiModeFlags(DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint) {
  RECT r{0, 0, MaxWidth, 0};
  TWindowDC dc(nullptr);
  HGDIOBJ old = SelectObject(dc.Get(), Font()->Handle());
  DrawTextA(dc.Get(), AHint.c_str(), -1, &r, TextFlags() | DT_CALCRECT);
  SelectObject(dc.Get(), old);
  r.right += kExtraWidth;
  r.bottom += kExtraHeight;
  return r;
}

void THintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  SetCaption(AHint);
  Rect.Bottom += kActivateGrowth;
  SetBoundsRect(Rect);
  InitVisible(true);
  SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
  Update();
}

void THintWindow::ReleaseHandle() {
  DestroyHandle();
  InitVisible(false);
}

void THintWindow::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  c->Font()->Assign(Font());
  c->Font()->SetColor(clInfoText);
  r.Left += kTextMargin;
  r.Top += kTextMargin;
  const std::string text = Caption();
  HDC dc = c->Handle();
  SetBkMode(dc, TRANSPARENT);
  RECT rr = r;
  DrawTextA(dc, text.c_str(), -1, &rr, TextFlags());
}
