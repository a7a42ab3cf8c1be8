// The library's hint manager as the hint windows see it: the settings they
// read, the events they raise and the state they keep between a show and
// the cleanup. The system has no hint manager of its own; a program (or a
// test) that wants skinned or template hints supplies one and points
// ActiveHintManager at it. While nil, every hint-window operation returns
// at once and hints are the platform's.
#pragma once

#include <windows.h>

#include <string>

#include "widgets/rtl/sysutils.h"

class TBitmap;
class TControl;
class TCustomForm;
class TTimer;
class TWinControl;
class TvlHintTemplate;
class TvlThreadedTimer;
struct THintInfo;

// Where the hint point lies on the bubble, and so which corner image of a
// template draws it: 0 top-left (bubble below and right of the point),
// 1 bottom-left (above and right), 2 top-right (below and left),
// 3 bottom-right (above and left).
using THintCorner = int;

// What a manager sets; the windows only read it.
struct TvlHintSettings {
  int MaxWidth = 0;  // 0 or less: the screen's width
  bool Animated = true;
  bool HtmlMode = false;
  bool Skinned = false;
  std::string SkinSection = "HINT";
  int TemplateIndex = 0;  // outside the templates: DefaultHintTemplate
  THintCorner DefaultCorner = 0;
  bool PointToControl = false;  // the bubble points at the hint control's edge
  // A fixed size with a picture (placed by PictureLayout: 0 left, 1 top,
  // 2 right, 3 bottom of the caption) and a caption instead of the text.
  bool FixedSize = false;
  int FixedWidth = 0;
  int FixedHeight = 0;
  TBitmap* Picture = nullptr;  // not owned
  int PictureLayout = 0;
  std::string Caption;
  TControl* AnchorControl = nullptr;     // the hint shows at this control
  TWinControl* CustomControl = nullptr;  // shown inside the hint instead of text
  UINT TextAlignment = DT_LEFT;          // DT_LEFT, DT_CENTER or DT_RIGHT
};

// What a manager keeps for the windows. The pointers are owned here and
// freed by the hint operations (or the manager's destructor).
struct TvlHintState {
  TBitmap* WorkBitmap = nullptr;         // measuring canvas
  TControl* HintControl = nullptr;       // the control whose hint shows
  TControl* UnderMouse = nullptr;        // the control under the mouse at the last show
  TCustomForm* LayerForm = nullptr;      // the layered window on show
  TCustomForm* NextLayerForm = nullptr;  // the one replacing it during a slide
  TBitmap* LastImage = nullptr;          // the last finished hint image
  int Alpha = 0;                         // the animation's current level
  int SavedHintPause = -1;               // Application.HintPause before the animation
  TRect ScreenRect;                      // the bubble's rectangle on the screen
  TPoint Point;                          // stored hint point; (0, 0): none
  TPoint FixedPos{-1, -1};               // X = -1: the cursor position
  bool Visible = false;
  bool Activating = false;
  TControl* HintWindow = nullptr;         // the manager's template window (owned)
  TvlThreadedTimer* ShowTimer = nullptr;  // the show animation
  TTimer* HideTimer = nullptr;
  TTimer* CleanupTimer = nullptr;
  // How the hide timer ends the hint: true for an explicit timeout (drop
  // the control), false for the leave check.
  bool TimedHide = false;
};

class TvlHintManager {
 public:
  TvlHintManager() = default;
  TvlHintManager(const TvlHintManager&) = delete;
  TvlHintManager& operator=(const TvlHintManager&) = delete;
  virtual ~TvlHintManager() = default;

  virtual const TvlHintSettings& Settings() const = 0;
  virtual int TemplateCount() const = 0;
  virtual TvlHintTemplate* Templates(int Index) const = 0;
  // True while the manager reads its stored state: template changes are not
  // reported meanwhile.
  virtual bool Loading() const { return false; }

  // Events. ShowHintEvent answers whether a handler exists; it may change
  // the text, cancel (CanShow), name a control to show inside the hint and
  // change the hint info. PaintHintEvent answers True when it painted the
  // content itself.
  virtual bool ShowHintEvent(std::string&, bool&, TWinControl*&, THintInfo&) { return false; }
  virtual void HintSizeEvent(int&, int&) {}
  virtual bool PaintHintEvent(TBitmap*, const TRect&) { return false; }
  virtual void ChangeEvent() {}
  virtual void HideEvent() {}

  // Shows Text at a screen point (DisplayHintAt's road); the window that
  // shows it.
  virtual TControl* ShowHintAt(const TPoint& Point, const std::string& Text, int Timeout) = 0;

  TvlHintState State;
};

// Nil in both programs; set by whoever supplies a manager, and cleared by
// it before the manager goes.
extern TvlHintManager* ActiveHintManager;
