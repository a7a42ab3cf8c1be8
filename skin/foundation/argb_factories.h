// Factories and conversions of 32-bit work bitmaps, the optional layered-
// window and DC-layout functions, and the check-box glyph size, all bound
// or measured by the graphics unit's start-up step.
//
// Work bitmaps: TBitmap, pf32bit, bmDIB; pixel (x, y) at scan line 0 +
// y * stride + 4 * x with a signed stride (negative for bottom-up DIBs);
// bytes blue, green, red, alpha. Only 0x00FF00FF is the transparent key.
#pragma once

#include <windows.h>

#include <cstdint>

#include "widgets/graphics/bitmap.h"
#include "widgets/rtl/sysutils.h"

class TControl;

// The caller owns every bitmap returned. None of these raise for a size the
// system cannot allocate (or a negative one): they return a 0 x 0 bitmap.
TBitmap* NewArgbBitmap(int Width, int Height);
TBitmap* NewArgbBitmapForRect(const TRect& Rect);
TBitmap* NewArgbBitmapOfSize(const TSize& Size);
TBitmap* NewArgbBitmapLike(TBitmap* Bitmap);
TBitmap* NewArgbBitmapForControl(TControl* Control);
// Same size and pixel format as Bitmap, not forced to 32 bits.
TBitmap* NewBitmapLike(TBitmap* Bitmap);
// Image is a 32-bit picture standing over a mask of the same height; the
// result takes the picture and alpha = 255 - the mask's red byte. Nil for an
// empty area (the half height rounds down) or an image that is not 32-bit.
TBitmap* ArgbFromMaskedImage(TBitmap* Image, const TRect& Rect);

// Dst takes Src's pixel format, bmDIB, width and height, then Src's pixels.
void CopyBitmapInto(TBitmap* Dst, TBitmap* Src);
// Byte Channel (0 blue .. 3 alpha) of each Dst pixel from the same byte of
// the Src pixel at the same place; the area both bitmaps cover.
void CopyArgbChannel(TBitmap* Dst, TBitmap* Src, int Channel);
// Between byte Channel of a work bitmap and the bytes of an 8-bit bitmap,
// row by row: ToGray copies into Gray, else from Gray.
void TransferArgbChannel(TBitmap* Argb, TBitmap* Gray, int Channel, bool ToGray);
// Exchanges the lowest and the third byte of a 24-bit value; top byte 0.
constexpr int32_t SwapRedBlue(int32_t Color) {
  const uint32_t c = static_cast<uint32_t>(Color);
  return static_cast<int32_t>(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
}
// An icon (owned by the caller) whose mask is transparent where the alpha
// byte is 0. A bitmap that is not 32-bit is switched to 32 bits in place
// first, its key-colour pixels taking alpha 0 and all others 255. BackColor
// takes no part.
HICON IconFromArgbBitmap(TBitmap* Bitmap, TColor BackColor);

// Bound at start-up; nil when the system lacks them.
using TUpdateLayeredWindow = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                           BLENDFUNCTION*, DWORD);
using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
extern TUpdateLayeredWindow UpdateLayeredWindowProc;
extern TSetLayeredWindowAttributes SetLayeredWindowAttributesProc;
bool LayeredWindowsAvailable();
// SetLayout/GetLayout when bound; otherwise nothing and 0.
void CallSetLayout(HDC DC, DWORD Layout);
DWORD CallGetLayout(HDC DC);

// Size of one glyph of the system check-box bitmap (4 columns x 3 rows).
extern int32_t CheckBoxGlyphWidth;
extern int32_t CheckBoxGlyphHeight;
void MeasureCheckBoxGlyph();

void GraphicsUnitInitialization();
void GraphicsUnitFinalization();
