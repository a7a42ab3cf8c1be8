// THintWindow: the plain hint popup. A top-most tool window with a thin
// border that shows its text on the info background; it never takes the
// activation. Made invisible; ActivateHint shows it, ReleaseHandle hides it
// by giving its window up.
#pragma once

#include <string>

#include "widgets/controls/controls.h"

struct TClassInfo;

class THintWindow : public TCustomControl {
  DECLARE_CLASS(THintWindow, TCustomControl)
 public:
  explicit THintWindow(TComponent* AOwner);

  // Shows AHint at Rect (screen coordinates, as CalcHintRect sized it, the
  // bottom grown by 4 for the frame and the lower margin), top-most and
  // without activation.
  virtual void ActivateHint(TRect Rect, const std::string& AHint);
  // The rectangle at (0, 0) that AHint needs wrapped at MaxWidth, with room
  // for the frame and a 2-pixel margin (the lower margin comes with the 4
  // that ActivateHint adds).
  virtual TRect CalcHintRect(int MaxWidth, const std::string& AHint);
  // Destroys the window, so the hint disappears; the object can show the
  // next one.
  void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  // DrawText flags of the text, for measuring and painting alike.
  UINT TextFlags() const;
};

// What CM_HINTSHOW hands the control under the cursor (LParam points at it):
// the control may change any field, and a non-zero Result keeps the hint
// from showing. Positions are screen coordinates except CursorPos, which is
// in the control's client coordinates, as is CursorRect: while the cursor
// stays inside CursorRect the hint stays.
struct THintInfo {
  TControl* HintControl = nullptr;
  const TClassInfo* HintWindowClass = nullptr;
  TPoint HintPos;
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;
  TPoint CursorPos;
  int ReshowTimeout = 0;  // ms; above 0 the hint is asked for again after it
  int HideTimeout = 0;    // ms; 0 or less: the hint stays until the cursor leaves
  std::string HintStr;
  void* HintData = nullptr;
};
