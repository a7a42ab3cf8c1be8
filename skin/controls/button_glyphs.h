// The one painter of button pictures: an image of an image list, or a strip
// of state frames side by side, drawn into a 32-bit bitmap (usually a
// control's cache) or onto a canvas in the look of the button's state; the
// routines that describe a skinned push button's picture and a standard tool
// button's; and the window classes the form skinning never touches.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/foundation/skin_const.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/img_list.h"
#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/units.h"

class TsCommonData;
class TsSkinManager;
class TToolBar;
class TToolButton;
class TControl;
class TCanvas;

// Everything one picture needs. The painter copies it on entry and never
// owns or changes what it names.
struct GlyphPaintParams {
  int32_t Blend = 0;  // percent transparent in the normal state
  int32_t SkinIndex = -1;
  int32_t NumGlyphs = 1;  // state frames side by side
  int32_t ImageIndex = -1;
  int32_t State = 0;  // 0 normal, 1 hot, 2 pressed, 3 default
  bool Down = false;  // pressed pictures take the next frame
  bool Discolored = false;
  bool Enabled = true;
  bool Reflected = false;
  TBitmap* Glyph = nullptr;      // used when no image of Images applies
  TBitmap* DstBitmap = nullptr;  // 32-bit; nil: DstCanvas
  TRect DstRect;                 // origin; its width is a 32-bit glyph's frame width
  TCanvas* DstCanvas = nullptr;
  TColor DiscolorColor = clNone;
  TCustomImageList* Images = nullptr;
  TsSkinManager* SkinManager = nullptr;
  TsDisabledKind DisabledLook = 0;
};

int ImageListCount(TCustomImageList* List);
// An alpha image list answers with its scaled size.
int ImageListWidth(TCustomImageList* List);
int ImageListHeight(TCustomImageList* List);

void PaintButtonGlyph(const GlyphPaintParams& Params);

// Manager, cache bitmap, section and tint of a control's skin state. A
// normal state that shows only the parent's face borrows the section that
// does the painting there.
void FillGlyphSkinParams(TsCommonData* SkinData, GlyphPaintParams& Params);

// What a push button tells the painter about its picture.
class TGlyphButton {
 public:
  struct Picture {
    TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
    TRect Rect;
    int State = 0;
    bool Enabled = true;
    bool Discolored = false;
    bool Reflected = false;
    TsCommonData* SkinData = nullptr;
  };
  virtual Picture GlyphPicture() = 0;

 protected:
  ~TGlyphButton() = default;
};

// The picture of a push button on Canvas; other controls draw nothing.
void DrawButtonGlyph(TControl* Button, TCanvas* Canvas);

// Where a tool button's image stands on a bitmap of the button's size.
TRect ToolButtonGlyphRect(TToolBar* ToolBar, TToolButton* ToolButton, TBitmap* Bitmap);
// ItemState: the owner-draw ODS_ flags.
void PaintToolButtonGlyph(TToolBar* ToolBar, TToolButton* ToolButton, UINT ItemState,
                          TBitmap* Bitmap);

// Form classes the dialog hook leaves alone: sorted, compared case by case.
// Made by the unit's start-up step, freed by its shutdown step.
extern TStringList* ExcludedPopupClasses;
extern const TUnitInfo ButtonGlyphsUnit;
