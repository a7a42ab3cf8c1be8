// Whole-window animations on layered carriers: the common hide animation
// (one global timer, a new hide cuts the running one short) and the
// cross-fade of a control or form from its frozen old look to its new one
// under the transition cover.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/engine/anim_timer.h"
#include "skin/foundation/skin_const.h"
#include "widgets/controls/controls.h"

class TBitmap;
class TCustomForm;
class TsSkinProvider;
class TvlDialogWnd;

// Frames are 10 ms apart: Time div 10 steps, Steps + 1 frames.
constexpr int AnimationSteps(int Time) {
  return Time > 0 ? Time / 10 : 0;
}
// Busy-waits until 10 ms have passed since Start (the frame's tick).
void WaitFrameEnd(DWORD Start);
// The frames of a show animation on Carrier, one each 10 ms: frame i of
// 0..Steps has alpha min(Final, (i + 1) * AlphaStep); atAero grows the
// picture from 1/32 inside its edges, atDropDown from the top-left corner.
void RunShowFrames(HWND Carrier, TBitmap* Picture, int Steps, double AlphaStep, uint8_t Final,
                   TvlAnimType Mode);
// A 32-bit copy of Bitmap; the caller owns it.
TBitmap* CopyArgbBitmap(TBitmap* Bitmap);

class TvlHideTimer : public TvlThreadedTimer {
  DECLARE_CLASS(TvlHideTimer, TvlThreadedTimer)
 public:
  explicit TvlHideTimer(TComponent* AOwner);
  ~TvlHideTimer() override;

  // One frame, or the end after Steps + 1 frames.
  void Step() override;
  void Prepare();
  void NextFrame();
  void Advance();
  // The after-animation event of ParentWnd's provider, once per animation.
  void FireAfterAnimation();
  // Frees the carrier and both images without the remaining frames.
  void Finish();

  TCustomForm* Carrier = nullptr;  // owned
  TBitmap* SrcImage = nullptr;     // owned
  TBitmap* WorkImage2 = nullptr;   // owned: the frame being pushed
  HWND ParentWnd = nullptr;
  bool Fired = false;
  int Steps = 0;
  int Current = 0;
  uint8_t StartAlpha = 255;
  double Alpha = 255;
  double AlphaStep = 0;
  double RectL = 0, RectT = 0, RectR = 0, RectB = 0;
  double ZoomDX = 0, ZoomDY = 0;
  TvlAnimType Mode = atFading;

  // The inner timer's handler while a hide runs.
  void Tick(TObject*) { Step(); }
};

// The global hide timer; nil until the first hide animation.
TvlHideTimer* HideTimer();
// Lets the running hide go on undisturbed: the next hide makes a timer of
// its own instead of cutting this one short. The dropped timer stays with
// the application, which frees it.
void DropHideTimer();
// Takes ownership of Carrier and Image in every case.
void AnimateWindowHide(TCustomForm* Carrier, TBitmap* Image, int Time, uint8_t StartAlpha,
                       TvlAnimType Mode, HWND ParentWnd);

// The transition cover: paints nothing, so the screen keeps what lay under
// it while the control repaints unseen below.
class TOutputWindow : public TCustomControl {
  DECLARE_CLASS(TOutputWindow, TCustomControl)
 public:
  explicit TOutputWindow(TComponent* AOwner);
  void WndProc(TMessage& Message) override;
  // The control whose top-most style a parentless cover takes.
  TWinControl* OwnerControl = nullptr;

 protected:
  void CreateParams(TCreateParams& Params) override;
};

// The cover while a transition is prepared; nil otherwise.
TOutputWindow* TransitionCover();
// Frees a prepared cover that no transition will use (a refused change).
void ReleaseTransition();
void PrepareTransition(TWinControl* Control, TvlAnimType Mode);
void AnimateTransition(TWinControl* Control, uint16_t Time, uint8_t Alpha, TvlAnimType Mode);

// ---- Forms and dialogs: show on a layered carrier, then hide on the
// common hide animation
void AnimateFormShow(TsSkinProvider* Provider, uint16_t Time, uint8_t Alpha, TvlAnimType Mode);
void AnimateFormHide(TsSkinProvider* Provider);
void AnimateDialogShow(TvlDialogWnd* Dialog, uint16_t Time, uint8_t Alpha, TvlAnimType Mode);
void AnimateDialogHide(TvlDialogWnd* Dialog);
// The dialog's client area (WholeWindow: as its window shows it; else its
// child windows printed) laid into Bitmap at the client offset, opaque.
void PaintDialogToBitmap(TvlDialogWnd* Dialog, TBitmap* Bitmap, bool WholeWindow);
