// TCanvas: drawing on a device context with a font, a brush and a pen.
//
// Reading Handle selects the tools into the DC (text colour and background
// mode follow the font and the brush). The first selection into a DC keeps
// the objects the DC held; they are selected back when the tools change and
// when the DC is given up (Handle := 0 or another DC), so a foreign DC is
// returned with its own objects.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "widgets/graphics/tools.h"
#include "widgets/rtl/sysutils.h"

class TGraphic;

enum TCanvasStateFlag : uint8_t {
  csHandleValid = 1,
  csFontValid = 2,
  csPenValid = 4,
  csBrushValid = 8,
  csAllValid = 15,
};
using TCanvasState = uint8_t;

using TCopyMode = DWORD;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmWhiteness = WHITENESS;

class TCanvas : public TPersistent {
  DECLARE_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  ~TCanvas() override;

  // Reading makes sure a DC exists (CreateHandle) and the tools are in it;
  // raises EInvalidOperation when the canvas cannot get a DC.
  HDC Handle();
  // Gives up the current DC (restoring its objects) and takes this one.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return handle_ != nullptr; }

  TFont* Font() const { return font_; }
  void SetFont(TFont* v) { font_->Assign(v); }
  TBrush* Brush() const { return brush_; }
  void SetBrush(TBrush* v) { brush_->Assign(v); }
  TPen* Pen() const { return pen_; }
  void SetPen(TPen* v) { pen_->Assign(v); }
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode v) { copyMode_ = v; }
  TPoint PenPos();
  void SetPenPos(const TPoint& p) { MoveTo(p.X, p.Y); }

  // A locked canvas keeps its DC (a bitmap reading its handle does not
  // take it away). Counts nest.
  void Lock() { ++lockCount_; }
  void Unlock() {
    if (lockCount_ > 0) --lockCount_;
  }
  int LockCount() const { return lockCount_; }

  // Pixels[X, Y]: reading gives the RGB value (CLR_INVALID outside the clip).
  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Value);

  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Polygon(const TPoint* Points, int Count);
  void Polygon(std::initializer_list<TPoint> Points) {
    Polygon(Points.begin(), static_cast<int>(Points.size()));
  }
  void Polyline(const TPoint* Points, int Count);
  void Polyline(std::initializer_list<TPoint> Points) {
    Polyline(Points.begin(), static_cast<int>(Points.size()));
  }
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void DrawFocusRect(const TRect& R);

  // Draws at (X, Y) and moves the pen position to the text's end.
  void TextOut(int X, int Y, const std::string& Text);
  // Draws at (X, Y) clipped to R; a solid brush fills R behind the text.
  void TextRect(const TRect& R, int X, int Y, const std::string& Text);
  TSize TextExtent(const std::string& Text);
  int TextWidth(const std::string& Text) { return TextExtent(Text).cx; }
  int TextHeight(const std::string& Text) { return TextExtent(Text).cy; }

  // Draws a graphic at its own size / stretched into R; empty graphics and
  // null draw nothing.
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  // StretchBlt from Source's DC with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Source, const TRect& SourceRect);

  // Makes the listed parts valid (a DC, the tools selected).
  void RequiredState(TCanvasState State);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Gives the canvas a DC through SetHandle; the base has none to give.
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  TCanvasState State() const { return state_; }
  // Selects the DC's own objects back without giving the DC up.
  void DeselectHandles();

 private:
  void FontChanged(TObject* Sender);
  void PenChanged(TObject* Sender);
  void BrushChanged(TObject* Sender);
  void SelectFont();
  void SelectPen();
  void SelectBrush();

  HDC handle_ = nullptr;
  TCanvasState state_ = 0;
  TFont* font_;
  TBrush* brush_;
  TPen* pen_;
  TPoint penPos_;
  TCopyMode copyMode_ = cmSrcCopy;
  int lockCount_ = 0;
  // The objects the current DC held before the first selection.
  HGDIOBJ oldFont_ = nullptr;
  HGDIOBJ oldPen_ = nullptr;
  HGDIOBJ oldBrush_ = nullptr;
};
