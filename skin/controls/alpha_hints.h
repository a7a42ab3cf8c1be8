// Hint bubbles on layered windows: built from a skin section (skinned mode)
// or from a hint template, faded and slid in, hidden after a delay. The
// settings and the state between shows belong to ActiveHintManager
// (skin/engine/hint_manager.h); without one every operation here returns
// at once.
#pragma once

#include <memory>
#include <string>

#include "skin/engine/hint_manager.h"
#include "widgets/forms/hint_window.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"

class TvlHintImage;
class TvlHintTemplate;

// ---- The helpers the windows share (hint_helpers.cpp)

// The skin's scale in percent: the default manager's DPI level, 100
// without one.
int HintScalePercent();
// The text padding inside a skinned frame: 4 pixels at 100 %.
int ScaledHintPadding();
// Font's height scaled from 100 % to the skin's scale.
void ScaleHintFont(TFont* Font);
// What lies between the window's edge and the visible bubble: the current
// corner image's shadow in template mode, nothing in skinned mode.
TRect HintContentMargins(const TvlHintImage* Image, bool Skinned);
// A skinned hint: a manager is active, a skin manager is, the manager asks
// for the skin and the skin has its section.
bool UsesHintSkin();
// The template the manager's index names, else DefaultHintTemplate.
TvlHintTemplate* CurrentHintTemplate();
// The corner image of a template: ImageDefault, Img_LeftBottom,
// Img_RightTop, Img_RightBottom for corners 0..3; the default one when the
// template has no picture for that corner.
TvlHintImage* CornerImage(TvlHintTemplate* Template, THintCorner Corner);

// ---- Geometry (hint_place.cpp)

// The monitor work the bubble must stay inside; replaced by tests.
using THintMonitorQuery = bool (*)(const TPoint& Point, TRect& Monitor);
void SetHintMonitorQuery(THintMonitorQuery Query);

// Places the bubble rectangle (window size, shadow included) for the hint
// point: Corner starts as the manager's default corner and ends as the one
// the bubble takes once it is inside the monitor. Rect comes back in
// screen coordinates.
void PlaceHint(TRect& Rect, const TPoint& Point, THintCorner& Corner, const TvlHintImage* Image,
               bool Skinned, bool OnlyDefaultImage);
// The hint point moved to the edge of Control the bubble points at, then
// by the image's borders and offsets.
void AdjustHintPointToControl(TPoint& Point, TControl* Control, const TvlHintTemplate* Template,
                              const TvlHintImage* Image, THintCorner Corner);

// ---- The windows

class TvlCustomHintWindow : public THintWindow {
  DECLARE_CLASS(TvlCustomHintWindow, THintWindow)
 public:
  explicit TvlCustomHintWindow(TComponent* AOwner);
  ~TvlCustomHintWindow() override;

  void ActivateHint(TRect Rect, const std::string& AHint) override;
  TRect CalcHintRect(int MaxWidth, const std::string& AHint) override;
  // Builds the finished hint image, W x H, premultiplied.
  virtual void MakeHintImage(int W, int H);
  // Ends the hint and frees the work bitmaps.
  virtual void ReleaseImages();

  TBitmap* HintImage() const { return hintImage_.get(); }
  TBitmap* FrameImage() const { return frameImage_.get(); }
  THintCorner Corner = 0;
  // The text as given, kept apart from the caption in template mode.
  std::string HintText;
  int SkinIndex = -1, BorderIndex = -1, PatternIndex = -1;

  // Draws the text (or picture, or custom control) into Bitmap.
  void PaintHintContent(TBitmap* Bitmap);
  // The measured content size for the manager's settings.
  TSize ContentSize(int MaxWidth, const std::string& Text, TFont* Font);
  // The border width of one side of the skinned frame (0 top, 1 left,
  // 2 bottom, 3 right).
  int HintBorderWidth(int Side) const;
  // The image of the corner in use in template mode; nil in skinned mode.
  virtual TvlHintImage* CurrentImage() const { return nullptr; }

 protected:
  void WndProc(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override {}
  // Picks the section, mask and pattern of the skinned frame.
  void SelectSkinParts();
  void MakeHintRegion(int W, int H);
  // Behind: what the frame's holes show (the shape key when cutting the
  // region).
  void PaintSkinnedHintFrame(TBitmap* Bitmap, TColor Behind);
  void PaintCustomControl(TBitmap* Bitmap, const TRect& Content);
  // The custom control's procedure while it paints into the hint: the
  // background question goes to the hint, the rest to its own procedure.
  void HintWindowProc(TMessage& Message);

  std::unique_ptr<TBitmap> hintImage_;
  std::unique_ptr<TBitmap> maskImage_;
  std::unique_ptr<TBitmap> frameImage_;
  TOwnedRegion region_;
  TWndMethod savedCustomProc_;
  bool customProcSwapped_ = false;
};

class TvlPngHintWindow : public TvlCustomHintWindow {
  DECLARE_CLASS(TvlPngHintWindow, TvlCustomHintWindow)
 public:
  explicit TvlPngHintWindow(TComponent* AOwner);
  TRect CalcHintRect(int MaxWidth, const std::string& AHint) override;
  void MakeHintImage(int W, int H) override;
  void ReleaseImages() override;
  TvlHintImage* CurrentImage() const override { return image_; }
  // Picks the template's image for the manager's default corner.
  void SelectHintImage();

 private:
  TvlHintImage* image_ = nullptr;
};

// The window the last constructor or show made current; nil after its hint
// closed.
extern TvlCustomHintWindow* CurrentHintWindow;

// ---- The manager's operations (hint_show.cpp); each takes the manager
// first and does nothing without one.

TControl* ShowHintAt(TvlHintManager* Manager, const TPoint& Point, const std::string& Text,
                     int Timeout);
void StartHintHideTimer(TvlHintManager* Manager, int Timeout);
void StartHintCleanupTimer(TvlHintManager* Manager);
void HintClosed(TvlHintManager* Manager, TvlCustomHintWindow* Window);
void ResetHint(TvlHintManager* Manager);
void DropHintControl(TvlHintManager* Manager);
void FreeHintControl(TvlHintManager* Manager);
void StopShowAnimation(TvlHintManager* Manager);
// The timers' events, callable by tests.
void HintLeaveCheck(TvlHintManager* Manager);
void TimedHintHide(TvlHintManager* Manager);
void HintCleanup(TvlHintManager* Manager);
// The show animation: starts it, and one tick of it (False once done).
void StartShowAnimation(TvlHintManager* Manager, TvlCustomHintWindow* Window, int W, int H);
bool ShowAnimationStep(TvlHintManager* Manager);
// Frees everything the manager's state holds (its destructor's part).
void ReleaseHintState(TvlHintManager* Manager);
// The control under the mouse, as the hide check compares it.
TControl* ControlUnderMouse();

// The manager's show-at-point entry for managers that need nothing else. A
// descendant calls ReleaseHintState in its own destructor, while its
// settings and events still answer; this one only lets go of what is left.
class TvlHintManagerBase : public TvlHintManager {
 public:
  ~TvlHintManagerBase() override;
  TControl* ShowHintAt(const TPoint& Point, const std::string& Text, int Timeout) override;
};
