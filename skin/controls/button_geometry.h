// Glyph and caption geometry of two skinned buttons the library can host: a
// bit button with an image list beside its glyph, and a graphic speed button
// with a drop-down part. Each helper is a pure function of the few values
// it reads, gathered in a record, so a button class only has to fill it.
#pragma once

#include <windows.h>

#include <string>

#include "widgets/graphics/img_list.h"
#include "widgets/rtl/sysutils.h"

struct BitBtnGeometry {
  TCustomImageList* Images = nullptr;
  int DisabledImageIndex = -1;
  int NumGlyphs = 1;
  int GlyphBitmapWidth = 0;  // the whole glyph strip; 0 without a glyph
  int GlyphBitmapHeight = 0;
  TPoint GlyphPos{};  // where the button keeps its glyph
  bool Down = false;
  bool Grayed = false;
  bool Reflected = false;
  bool PressedLook = false;  // pressed by the push button's own rule
  bool Hot = false;
  bool Default = false;
  HWND FocusWnd = nullptr;
  LONG FocusStyle = 0;  // style of FocusWnd
  bool Skinned = false;
  bool ShiftContentOnClick = true;
  bool DiscoloredGlyphs = false;
};

bool BitBtnHasDisabledImage(const BitBtnGeometry& G);
int BitBtnGlyphState(const BitBtnGeometry& G);
inline bool BitBtnDown(const BitBtnGeometry& G) {
  return G.Down;
}
int BitBtnGlyphWidth(const BitBtnGeometry& G);
int BitBtnGlyphHeight(const BitBtnGeometry& G);
TRect BitBtnGlyphRect(const BitBtnGeometry& G);
bool BitBtnDiscolored(const BitBtnGeometry& G);

// Layouts: 0 glyph left, 1 right, 2 top, 3 bottom. Alignments: 0 left,
// 1 right, 2 centre.
struct SpeedBtnGeometry {
  int Width = 0, Height = 0;
  int GlyphWidth = 0, GlyphHeight = 0;
  int TextWidth = 0, TextHeight = 0;  // as SpeedBtnTextSize measured them
  int Layout = 0;
  int Alignment = 0;
  int CaptionAlignment = 0;  // the caption's own second alignment
  int Margin = -1;
  int Spacing = 4;
  int ScalePercent = 100;
  int CaptionOffset = 0;
  bool ShowCaption = true;
  bool CaptionEmpty = false;
  bool DropDown = false;  // the style with an arrow part
  int State = 0;
  bool Skinned = false;
  bool ShiftContentOnClick = true;
  bool Reflected = false;
};

int SpeedBtnSplitArrowWidth(int ScalePercent);
int SpeedBtnArrowPart(const SpeedBtnGeometry& G);
int SpeedBtnGlyphMargin(const SpeedBtnGeometry& G);
int SpeedBtnMaxTextWidth(const SpeedBtnGeometry& G);
// The caption measured on DC in a rectangle MaxWidth wide.
TSize SpeedBtnTextSize(HDC DC, const std::string& Caption, int MaxWidth, bool WordWrap,
                       bool Ellipsis);
TRect SpeedBtnGlyphRect(const SpeedBtnGeometry& G, bool ApplyShift);
TRect SpeedBtnCaptionRect(const SpeedBtnGeometry& G, bool ApplyShift);

struct SpeedBtnImages {
  int ImageIndex = -1, HotImageIndex = -1, PressedImageIndex = -1, SelectedImageIndex = -1,
      DisabledImageIndex = -1;
  bool Enabled = true;
  int State = 0;
  bool Down = false;
  bool DownIgnored = false;  // the button's flag that keeps Down from choosing
  bool MouseOver = false;
};
int SpeedBtnImageIndex(const SpeedBtnImages& G);
