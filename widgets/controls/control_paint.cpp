// The paint protocol: PaintHandler, graphic children, erasing, PaintTo,
// TGraphicControl, TCustomControl and TControlCanvas.
#include <algorithm>

#include "widgets/controls/controls.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/flag_scope.h"
#include "widgets/graphics/canvas_on_dc.h"
#include "widgets/graphics/theme_data.h"

void TWinControl::PaintWindow(HDC DC) {
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(m);
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  PAINTSTRUCT ps{};
  bool own = dc == nullptr;
  if (own) {
    if (!handle_) return;
    dc = BeginPaint(handle_, &ps);
  }
  try {
    if (controls_.empty()) {
      PaintWindow(dc);
    } else {
      // The window paints around its opaque graphic children.
      int saved = SaveDC(dc);
      int clip = SIMPLEREGION;
      for (TControl* c : controls_)
        if (c->Visible() && (c->ControlStyle() & csOpaque)) {
          clip = ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(),
                                 c->Top() + c->Height());
          if (clip == NULLREGION) break;
        }
      if (clip != NULLREGION) PaintWindow(dc);
      RestoreDC(dc, saved);
    }
    PaintControls(dc, nullptr);
  } catch (...) {
    if (own) EndPaint(handle_, &ps);
    throw;
  }
  if (own) EndPaint(handle_, &ps);
}

// Each visible graphic child, in z-order, from First on: the DC's origin
// moves to the child and the clip shrinks to it.
void TWinControl::PaintControls(HDC DC, TControl* First) {
  size_t start = 0;
  if (First) {
    auto it = std::find(controls_.begin(), controls_.end(), First);
    if (it != controls_.end()) start = static_cast<size_t>(it - controls_.begin());
  }
  for (size_t i = start; i < controls_.size(); ++i) {
    TControl* c = controls_[i];
    if (!c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(DC, &r)) continue;
    TSavedDC saved(DC);
    POINT org;
    GetWindowOrgEx(DC, &org);
    SetWindowOrgEx(DC, org.x - c->Left(), org.y - c->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

void TWinControl::EraseBackground(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (dc && handle_ && parent_ && (controlStyle_ & csParentBackground) && ThemesEnabled()) {
    // Themed containers show what lies behind them.
    DrawThemeParentBackground(handle_, dc, nullptr);
  } else if (dc) {
    RECT r;
    if (handle_)
      ::GetClientRect(handle_, &r);
    else
      r = TControl::GetClientRect();
    FillRect(dc, &r, brush_->Handle());
  }
  m.Result = 1;
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  TFlagScope copying(controlState_, csPaintCopy);
  TSavedDC saved(DC);
  POINT org;
  GetWindowOrgEx(DC, &org);
  SetWindowOrgEx(DC, org.x - X, org.y - Y, nullptr);
  IntersectClipRect(DC, 0, 0, width_, height_);
  if (handle_) {
    LONG_PTR ex = GetWindowLongPtrA(handle_, GWL_EXSTYLE);
    LONG_PTR st = GetWindowLongPtrA(handle_, GWL_STYLE);
    UINT edge = 0, flags = 0;
    if (ex & WS_EX_CLIENTEDGE) {
      edge = EDGE_SUNKEN;
      flags = BF_RECT | BF_ADJUST;
    } else if (st & WS_BORDER) {
      edge = BDR_OUTER;
      flags = BF_RECT | BF_ADJUST | BF_MONO;
    }
    if (flags) {
      RECT r{0, 0, width_, height_};
      DrawEdge(DC, &r, edge, flags);
      GetWindowOrgEx(DC, &org);
      SetWindowOrgEx(DC, org.x - r.left, org.y - r.top, nullptr);
      IntersectClipRect(DC, 0, 0, r.right - r.left, r.bottom - r.top);
    }
  }
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  for (size_t i = 0; i < winControls_.size(); ++i) {
    TWinControl* c = winControls_[i];
    if (c->Visible()) c->PaintTo(DC, c->Left(), c->Top());
  }
}

TThemeData::TThemeData(HWND Wnd, const wchar_t* ClassList) {
  if (ThemesEnabled()) theme_ = OpenThemeData(Wnd, ClassList);
}

// ---- TControlCanvas -------------------------------------------------------------------------

const TClassInfo& TControlCanvas::StaticClass() {
  static const TClassInfo info("TControlCanvas", &TCanvas::StaticClass());
  return info;
}

TControlCanvas::~TControlCanvas() {
  FreeHandle();
}

void TControlCanvas::SetControl(TControl* c) {
  if (control_ == c) return;
  FreeHandle();
  control_ = c;
}

void TControlCanvas::FreeHandle() {
  if (!dc_) return;
  SetHandle(nullptr);
  dc_.Reset();
}

void TControlCanvas::CreateHandle() {
  if (!control_) return;
  if (!dc_) {
    if (auto* w = dynamic_cast<TWinControl*>(control_)) {
      HWND h = w->Handle();
      dc_ = TWindowDC(h);
    } else {
      TWinControl* parent = control_->Parent();
      if (!parent)
        throw EInvalidOperation("Control '" + control_->Name() + "' has no parent window");
      HWND h = parent->Handle();
      dc_ = TWindowDC(h);
      SetWindowOrgEx(dc_.Get(), -control_->Left(), -control_->Top(), nullptr);
      IntersectClipRect(dc_.Get(), 0, 0, control_->Width(), control_->Height());
    }
  }
  SetHandle(dc_.Get());
}

// ---- TGraphicControl --------------------------------------------------------------------------

const TClassInfo& TGraphicControl::StaticClass() {
  static const TClassInfo info("TGraphicControl", &TControl::StaticClass());
  return info;
}

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), canvas_(std::make_unique<TControlCanvas>()) {
  canvas_->SetControl(this);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    // Painted by the parent, always into the DC it passes.
    if (Message.WParam && !HasState(csDestroying)) {
      canvas_->FreeHandle();
      TCanvasOnDC on(*canvas_, reinterpret_cast<HDC>(Message.WParam));
      Paint();
    }
    return;
  }
  TControl::Dispatch(Message);
}

// ---- TCustomControl -----------------------------------------------------------------------------

const TClassInfo& TCustomControl::StaticClass() {
  static const TClassInfo info("TCustomControl", &TWinControl::StaticClass());
  return info;
}

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), canvas_(std::make_unique<TControlCanvas>()) {
  canvas_->SetControl(this);
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    TFlagScope painting(controlState_, csCustomPaint);
    TWinControl::Dispatch(Message);
    return;
  }
  if (Message.Msg == WM_DESTROY) canvas_->FreeHandle();
  TWinControl::Dispatch(Message);
}

void TCustomControl::PaintWindow(HDC DC) {
  canvas_->FreeHandle();
  TCanvasOnDC on(*canvas_, DC);
  Paint();
}
