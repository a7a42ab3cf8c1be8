// The background protocol: a control whose face is partly transparent asks
// its parent (SkinCmdGetBackground) to describe what lies behind it, and
// turns the answer into the BackgroundInfo every transparent painter takes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/foundation/argb_bitmap.h"
#include "widgets/graphics/colors.h"
#include "widgets/rtl/sysutils.h"

class TBitmap;
class TControl;

// Kind of an answer.
constexpr uint8_t bgNotAnswered = 0;
constexpr uint8_t bgColor = 1;
constexpr uint8_t bgBitmap = 2;
constexpr uint8_t bgNotReady = 3;  // counts as answered; converted like a colour

// Travels by address in the message's LParam.
struct BackgroundRequest {
  TBitmap* Bitmap = nullptr;  // answer: the parent's image (not owned)
  TColor Color = clFuchsia;   // answer: may be a system colour
  int32_t OffsetX = 0;        // asking: the asker's origin in the parent; answer: in Bitmap
  int32_t OffsetY = 0;
  TRect ClipRect;  // area of DC to paint, in the asker's coordinates
  TRect Borders;   // valid strips of Bitmap around a plain-colour inside
  uint8_t Kind = bgNotAnswered;
  bool PaintFallback = false;  // the parent paints its background into DC
  HDC DC = nullptr;
};

// Asks a control, normally the asker's parent. Always answers (True): a
// parent that does not answer paints into the request's DC (PaintFallback)
// or gives its colour.
bool QueryControlBackground(BackgroundRequest& Request, TControl* Control, bool PaintFallback);
// Asks a window. True only when the window answered; otherwise it painted
// into the DC (when the request's PaintFallback was set on entry) or the
// request holds the default manager's colour or clBtnFace.
bool QueryWindowBackground(BackgroundRequest& Request, HWND Wnd, bool PaintFallback);
void BackgroundInfoFromRequest(const BackgroundRequest& Request, BackgroundInfo& Info);
