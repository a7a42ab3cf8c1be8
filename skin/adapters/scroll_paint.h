// The skinned scroll bar's pieces painted into a bar bitmap: the two track
// sections split at the thumb, the arrow buttons, the thumb, the fade of an
// inactive bar, and the size box with its grip. Nothing here knows a window:
// the adapter works out states and places and hands them over.
#pragma once

#include <windows.h>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/background_query.h"

class TsSkinManager;
class TBitmap;

// Arrow sides, in the order of the skin's arrow sections.
constexpr int kSideLeft = 0, kSideTop = 1, kSideRight = 2, kSideBottom = 3;

// One arrow button of Side into BarBitmap at R in State (0 normal, 1 hot,
// 2 pressed). An arrow section with RESERVEDBOOLEAN stretches the button to
// its border image's own frame size.
void PaintArrow(TsSkinManager* Manager, const TRect& R, int State, TBitmap* BarBitmap, int Side);
// The thumb into BarBitmap at R.
void PaintThumb(TsSkinManager* Manager, const TRect& R, int State, TBitmap* BarBitmap,
                bool Vertical);

// Everything one bar shows. Positions along the bar's axis are relative to
// its start; the bar bitmap is as large as the bar.
struct TvlBarPicture {
  TsSkinManager* Manager = nullptr;
  bool Vertical = false;
  int Btn = 0;       // length of one arrow button
  int ThumbPos = 0;  // thumb start
  int ThumbLen = 0;
  SCROLLINFO Info{};
  int MinThumbSize = 16;
  bool Active = true;
  int PressedPart = -1;  // shows a track half pressed
  int FirstArrowState = 0, SecondArrowState = 0, ThumbState = 0;
  BackgroundInfo Background;  // what lies behind the bar
  TPoint BackgroundOffset;    // the bar's place in Background's coordinates
};

// Tracks, arrows and thumb. A bar too short for two whole arrows shows two
// half-length arrows over two half tracks and no thumb.
void ComposeBar(const TvlBarPicture& P, TBitmap* Bitmap);

// An inactive bar is faded into what lies behind it: a bitmap background is
// blended over it keeping DisabledBlendLevel of the bar, a colour is laid
// over it as a soft panel.
void FadeBar(TBitmap* Bitmap, const BackgroundRequest& Background, const TPoint& Offset);

// The size box: Fill (an RGB colour) or, with a background bitmap, that
// bitmap at Offset; the GRIPIMAGE frame 0 in the bottom-right corner when
// Grip.
void PaintSizeBox(TsSkinManager* Manager, TBitmap* Box, TColor Fill, TBitmap* Background,
                  const TPoint& Offset, bool Grip);
