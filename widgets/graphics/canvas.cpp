#include "widgets/graphics/canvas.h"

#include "widgets/rtl/exceptions.h"
#include "widgets/graphics/image.h"

const TClassInfo& TCanvas::StaticClass() {
  static const TClassInfo info("TCanvas", &TPersistent::StaticClass());
  return info;
}

TCanvas::TCanvas() : font_(new TFont), brush_(new TBrush), pen_(new TPen) {
  font_->OnChange = TNotifyEvent::Of<&TCanvas::FontChanged>(this);
  brush_->OnChange = TNotifyEvent::Of<&TCanvas::BrushChanged>(this);
  pen_->OnChange = TNotifyEvent::Of<&TCanvas::PenChanged>(this);
}

TCanvas::~TCanvas() {
  // Give the DC its objects back before the tools delete theirs.
  SetHandle(nullptr);
  delete font_;
  delete brush_;
  delete pen_;
}

HDC TCanvas::Handle() {
  Changing();
  RequiredState(csAllValid);
  return handle_;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == handle_) return;
  if (handle_) {
    DeselectHandles();
    POINT p;
    if (GetCurrentPositionEx(handle_, &p)) penPos_ = p;
    handle_ = nullptr;
    state_ &= ~csHandleValid;
  }
  if (dc) {
    handle_ = dc;
    state_ |= csHandleValid;
    MoveToEx(handle_, penPos_.X, penPos_.Y, nullptr);
  }
}

void TCanvas::DeselectHandles() {
  if (!handle_) return;
  if (oldFont_) SelectObject(handle_, oldFont_);
  if (oldPen_) SelectObject(handle_, oldPen_);
  if (oldBrush_) SelectObject(handle_, oldBrush_);
  oldFont_ = oldPen_ = oldBrush_ = nullptr;
  state_ &= ~(csFontValid | csPenValid | csBrushValid);
}

void TCanvas::RequiredState(TCanvasState wanted) {
  TCanvasState needed = wanted & ~state_;
  if (!needed) return;
  if (needed & csHandleValid) {
    CreateHandle();
    if (!handle_) throw EInvalidOperation("Canvas does not allow drawing");
  }
  if (needed & csFontValid) SelectFont();
  if (needed & csPenValid) SelectPen();
  if (needed & csBrushValid) SelectBrush();
  state_ |= needed;
}

void TCanvas::SelectFont() {
  HGDIOBJ old = SelectObject(handle_, font_->Handle());
  if (!oldFont_) oldFont_ = old;
  SetTextColor(handle_, ColorToRGB(font_->Color()));
}

void TCanvas::SelectPen() {
  HGDIOBJ old = SelectObject(handle_, pen_->Handle());
  if (!oldPen_) oldPen_ = old;
}

void TCanvas::SelectBrush() {
  HBRUSH b = brush_->Handle();
  UnrealizeObject(b);
  HGDIOBJ old = SelectObject(handle_, b);
  if (!oldBrush_) oldBrush_ = old;
  COLORREF c = ColorToRGB(brush_->Color());
  if (brush_->Style() == bsSolid) {
    SetBkColor(handle_, c);
    SetBkMode(handle_, OPAQUE);
  } else {
    // Hatch gaps and text cells stay see-through.
    SetBkColor(handle_, ~c & 0xFFFFFF);
    SetBkMode(handle_, TRANSPARENT);
  }
}

// A tool that changes is taken out of the DC at once (its old GDI object
// may be deleted next) and selected again on the next drawing call.
void TCanvas::FontChanged(TObject*) {
  if (state_ & csFontValid) {
    state_ &= ~csFontValid;
    if (oldFont_) SelectObject(handle_, oldFont_);
    oldFont_ = nullptr;
  }
}

void TCanvas::PenChanged(TObject*) {
  if (state_ & csPenValid) {
    state_ &= ~csPenValid;
    if (oldPen_) SelectObject(handle_, oldPen_);
    oldPen_ = nullptr;
  }
}

void TCanvas::BrushChanged(TObject*) {
  if (state_ & csBrushValid) {
    state_ &= ~csBrushValid;
    if (oldBrush_) SelectObject(handle_, oldBrush_);
    oldBrush_ = nullptr;
  }
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
  RequiredState(csHandleValid);
  POINT p;
  GetCurrentPositionEx(handle_, &p);
  return p;
}

TColor TCanvas::Pixels(int X, int Y) {
  RequiredState(csHandleValid);
  return static_cast<TColor>(GetPixel(handle_, X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
  Changing();
  RequiredState(csHandleValid | csPenValid);
  ::SetPixel(handle_, X, Y, ColorToRGB(Value));
  Changed();
}

void TCanvas::FillRect(const TRect& R) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FillRect(handle_, R.AsRECT(), brush_->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& R) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::FrameRect(handle_, R.AsRECT(), brush_->Handle());
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState(csHandleValid | csBrushValid | csPenValid);
  ::Rectangle(handle_, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState(csHandleValid | csBrushValid | csPenValid);
  ::RoundRect(handle_, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
  if (!Points || Count <= 0) return;
  Changing();
  RequiredState(csHandleValid | csBrushValid | csPenValid);
  ::Polygon(handle_, reinterpret_cast<const POINT*>(Points), Count);
  Changed();
}

void TCanvas::Polyline(const TPoint* Points, int Count) {
  if (!Points || Count <= 0) return;
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::Polyline(handle_, reinterpret_cast<const POINT*>(Points), Count);
  Changed();
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState(csHandleValid);
  MoveToEx(handle_, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState(csHandleValid | csPenValid | csBrushValid);
  ::LineTo(handle_, X, Y);
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
  Changing();
  RequiredState(csHandleValid | csBrushValid);
  ::DrawFocusRect(handle_, R.AsRECT());
  Changed();
}

void TCanvas::TextOut(int X, int Y, const std::string& Text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  ExtTextOutA(handle_, X, Y, 0, nullptr, Text.data(), static_cast<UINT>(Text.size()), nullptr);
  MoveTo(X + TextWidth(Text), Y);
  Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const std::string& Text) {
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  UINT options = ETO_CLIPPED;
  if (brush_->Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOutA(handle_, X, Y, options, R.AsRECT(), Text.data(), static_cast<UINT>(Text.size()),
              nullptr);
  Changed();
}

TSize TCanvas::TextExtent(const std::string& Text) {
  RequiredState(csHandleValid | csFontValid);
  SIZE s{};
  GetTextExtentPoint32A(handle_, Text.data(), static_cast<int>(Text.size()), &s);
  return s;
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  Graphic->DrawOn(*this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState(csHandleValid);
  Graphic->DrawOn(*this, R);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect) {
  if (!Source) return;
  Changing();
  RequiredState(csHandleValid | csFontValid | csBrushValid);
  Source->RequiredState(csHandleValid | csBrushValid);
  StretchBlt(handle_, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Source->handle_,
             SourceRect.Left, SourceRect.Top, SourceRect.Width(), SourceRect.Height(), copyMode_);
  Changed();
}
