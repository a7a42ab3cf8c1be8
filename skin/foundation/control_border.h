// The frames of skinned controls painted from a borders mask: the border of a
// control in its cache image (with an optional plain band inside it), and
// the nine pieces of one mask frame painted into a control-sized image while
// the mask's key-colour corner pixels are cut out of a window region.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/foundation/skin_records.h"
#include "widgets/graphics/colors.h"
#include "widgets/rtl/sysutils.h"

class SkinSource;
class TBitmap;
class TControl;
class TWinControl;

// What the border painter reads of a control's skin state. The engine's
// per-control data implements it; the foundation cannot see that class.
class ControlBorderHost {
 public:
  virtual ~ControlBorderHost() = default;
  virtual const SkinSource* Skin() const = 0;
  // Image index of the borders mask; below 0 for none.
  virtual int BorderIndex() const = 0;
  virtual TColor BgColor(int state) const = 0;
  virtual uint16_t StateFlags() const = 0;
  // The cache image, made ready for painting (32-bit, the control's size).
  virtual TBitmap* PrepareCacheBitmap() = 0;
  // The control whose parent is asked for the background; may be nil.
  virtual TControl* Control() const = 0;
};

// DC may be the cache image's own device context. ClientRect is written only
// when the control has a borders mask.
void PaintControlBorder(HDC DC, const TRect& Rect, int BorderWidth, ControlBorderHost& CommonData,
                        int State, TRect& ClientRect);

// Bitmap has the control's size; Region (0 for none) is the caller's, and
// only loses the key pixels of the corners.
void PaintMaskWithRegion(TBitmap* Bitmap, HRGN Region, bool Fill, const TsMaskData& Mask,
                         int State);

// All bounds inclusive; source coordinates are in the mask's bitmap.
void CopyFramePieceToRegion(int DstLeft, int DstTop, int DstRight, int DstBottom, int SrcLeft,
                            int SrcTop, int SrcRight, int SrcBottom, TBitmap* Dst, HRGN Region,
                            const TsMaskData& Mask, bool SkipKey);

// Stores Value in Flag and, when it changed, recreates the control's window
// so that the option takes effect in its creation parameters.
void SetFlagAndRecreateWnd(TWinControl* Control, bool& Flag, bool Value);
