// The small operations on controls and windows that skinned controls and
// adapters use while painting: readiness checks, background colours, the
// repaint of children after an update, snapshots of a control with its
// children, graphic children painted over their parent's background, and
// the theme switch of a window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "widgets/graphics/colors.h"
#include "widgets/graphics/tools.h"
#include "widgets/rtl/sysutils.h"

class TBitmap;
class TControl;
class TWinControl;
class TsSkinProvider;

// Not nil, has a parent, a windowed control has its window, and neither
// loading, being destroyed, reading its state nor being created.
bool ControlIsReady(TControl* Control);
// The topmost ancestor of Wnd; Wnd itself without a parent.
HWND TopParentWindow(HWND Wnd);
// Tells the control's form (SkinCmdControlAdded) that the control is new,
// so the form's skin provider can adapt it.
void AddToParentFormAdapter(TControl* Control);

// ---- Colours
// clFuchsia for nil; a skinned control's answer to SkinCmdGetBgColor; else
// its own colour. Always RGB.
TColor GetControlBgColor(TControl* Control);
// clFuchsia for 0; the window's answer to SkinCmdGetBgColor (an unskinned
// window answers 0, black).
TColor GetWindowBgColor(HWND Wnd);

// ---- Repaint after an update
// SkinCmdResumePaint to every child that can take it; nothing while the
// control is designed or a global animation runs.
void RepaintChildren(TWinControl* Control);

// ---- Snapshots
// Paints Control with its windowed children into Bitmap at (X, Y). A hidden
// control gets its parent's background instead.
void PaintControlToBitmap(TBitmap* Bitmap, TControl* Control, int X, int Y,
                          TsSkinProvider* Provider);
void PaintWindowedChildrenToBitmap(TWinControl* Control, TBitmap* Bitmap);
// Each rectangle becomes colour 0 with alpha 0.
void ClearRectsInBitmap(const std::vector<TRect>& Rects, TBitmap* Bitmap);
// Blends the source pixels that have alpha over Dst, each weighted by its
// alpha scaled by Level; Dst's alpha is kept.
void BlendBitmapByAlpha(TBitmap* Dst, TRect DstRect, TBitmap* Src, TPoint SrcPoint, uint8_t Level);

// ---- Graphic children
// Paints the graphic children of Control over its background in one work
// bitmap and copies each child's area to DC at its place moved by Offset.
// Nested calls (from a child's painting) return at once.
void PaintGraphicChildren(HDC DC, TWinControl* Control, bool RequireVisible, TPoint Offset);

// ---- Theme switch of a window
// SetWindowTheme of UXTHEME, nil when the library or the function is missing.
using TSetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
extern TSetWindowTheme SetWindowThemeProc;
void BindSetWindowTheme();
void UnbindSetWindowTheme();

// A font's change handler taken off for the length of a scope and given
// back however the scope ends: the skin's own colour changes do not make
// the control's window again.
class TFontChangeOff {
 public:
  explicit TFontChangeOff(TFont* Font) : font_(Font), saved_(Font->OnChange) {
    font_->OnChange = nullptr;
  }
  ~TFontChangeOff() { font_->OnChange = saved_; }
  TFontChangeOff(const TFontChangeOff&) = delete;
  TFontChangeOff& operator=(const TFontChangeOff&) = delete;

 private:
  TFont* font_;
  TNotifyEvent saved_;
};
