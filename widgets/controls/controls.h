// Controls: TControl, TWinControl, TGraphicControl, TCustomControl and the
// message pipeline they share.
//
// Pipeline: the layer's one static window procedure finds the object bound
// to the window (a property under the layer's own atom) and calls
// MainWndProc, which stops exceptions; MainWndProc calls WindowProc (a
// replaceable, comparable TWndMethod, by default the virtual WndProc);
// WndProc calls Dispatch, where each class handles its messages and passes
// the rest to its base class; whatever nobody takes reaches DefaultHandler
// (the saved class procedure for windowed controls). Perform runs the same
// chain from WindowProc on, with or without a window.
//
// The object's state (Visible, Enabled, bounds, text) is the truth; windows
// are made on demand and mirror it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "widgets/rtl/components.h"
#include "widgets/graphics/graphics.h"
#include "widgets/controls/messages.h"
#include "widgets/rtl/sysutils.h"

class TControl;
class TWinControl;
class TCustomForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
// Forms use every value; controls only bsNone and bsSingle.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

// Cursors: negative numbers are the standard ones.
using TCursor = int;
enum : TCursor {
  crDefault = 0,
  crNone = -1,
  crArrow = -2,
  crCross = -3,
  crIBeam = -4,
  crSizeNESW = -6,
  crSizeNS = -7,
  crSizeNWSE = -8,
  crSizeWE = -9,
  crUpArrow = -10,
  crHourGlass = -11,
  crNo = -18,
  crAppStart = -19,
  crHelp = -20,
  crHandPoint = -21,
  crSizeAll = -22,
};
// The platform cursor of a standard cursor number (null for crNone).
HCURSOR StandardCursor(TCursor Cursor);

// ControlStyle bits.
using TControlStyle = uint32_t;
enum : TControlStyle {
  csAcceptsControls = 1u << 0,
  csCaptureMouse = 1u << 1,
  csDesignInteractive = 1u << 2,
  csClickEvents = 1u << 3,
  csFramed = 1u << 4,
  csSetCaption = 1u << 5,
  csOpaque = 1u << 6,
  csDoubleClicks = 1u << 7,
  csFixedWidth = 1u << 8,
  csFixedHeight = 1u << 9,
  csNoDesignVisible = 1u << 10,
  csReplicatable = 1u << 11,
  csNoStdEvents = 1u << 12,
  csDisplayDragImage = 1u << 13,
  csReflector = 1u << 14,
  csActionClient = 1u << 15,
  csMenuEvents = 1u << 16,
  csNeedsBorderPaint = 1u << 17,
  csParentBackground = 1u << 18,
};

// ControlState bits.
using TControlState = uint32_t;
enum : TControlState {
  csLButtonDown = 1u << 0,
  csClicked = 1u << 1,
  csPalette = 1u << 2,
  csReadingState = 1u << 3,
  csAlignmentNeeded = 1u << 4,
  csFocusing = 1u << 5,
  csCreating = 1u << 6,
  csPaintCopy = 1u << 7,
  csCustomPaint = 1u << 8,
  csDestroyingHandle = 1u << 9,
  csDocking = 1u << 10,
  csRecreating = 1u << 11,
  csAligning = 1u << 12,
  csPrintClient = 1u << 13,
};

using TMouseEvent =
    TEvent<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TEvent<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = TEvent<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = TEvent<void(TObject* Sender, char& Key)>;

// What CreateWnd hands to CreateWindowEx; descendants edit it in CreateParams.
struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSEXA WindowClass{};  // lpfnWndProc: the procedure DefaultHandler calls
  std::string WinClassName;   // registered under this name (the class's own)
};

// ---- The exception guard ---------------------------------------------------------

// Reports the exception being handled (call it inside a catch block) to the
// application; never throws.
void HandleException(TObject* Sender) noexcept;

// Runs f; an exception goes to HandleException and no further. For window
// procedures, hooks, timers and enumeration callbacks of the layer and the
// library. Returns whether f completed.
template <typename F>
bool Guarded(TObject* Sender, F&& f) noexcept {
  try {
    f();
    return true;
  } catch (...) {
    HandleException(Sender);
    return false;
  }
}

// Raises a bound notify event under Guarded: the event handlers a class runs
// on its own, outside any caller that could take their exceptions.
inline void RaiseGuarded(const TNotifyEvent& Event, TObject* Sender) noexcept {
  if (Event) Guarded(Sender, [&] { Event(Sender); });
}

// ---- TControl ------------------------------------------------------------------------

class TPopupMenu;
class TCustomAction;

// Limits on a control's size; 0 means none. Every SetBounds keeps to them,
// so a limit set later shrinks or grows the control at once.
class TSizeConstraints : public TPersistent {
  DECLARE_CLASS(TSizeConstraints, TPersistent)
 public:
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int v);
  int MaxHeight() const { return maxHeight_; }
  void SetMaxHeight(int v);
  int MinWidth() const { return minWidth_; }
  void SetMinWidth(int v);
  int MinHeight() const { return minHeight_; }
  void SetMinHeight(int v);
  void Assign(TPersistent* Source) override;
  // Width and height within the limits (a maximum wins over a minimum).
  void Apply(int& Width, int& Height) const;

  TNotifyEvent OnChange;

 private:
  void Changed();
  int maxWidth_ = 0;
  int maxHeight_ = 0;
  int minWidth_ = 0;
  int minHeight_ = 0;
};

class TControl : public TComponent {
  DECLARE_CLASS(TControl, TComponent)
 public:
  static const TEnumInfo& AlignInfo();
  static const TEnumInfo& BiDiModeInfo();

  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  void BeforeDestruction() override;

  // ---- Messages
  TWndMethod WindowProc;
  // Calls WindowProc with a message whose Result starts at 0; needs no window.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  virtual void WndProc(TMessage& Message);
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  // ---- Geometry (relative to the parent's client area)
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* AParent);
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual TRect GetClientRect();
  TRect ClientRect() { return GetClientRect(); }
  int ClientWidth() { return GetClientRect().Right; }
  int ClientHeight() { return GetClientRect().Bottom; }
  void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
  void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
  virtual void SetClientSize(int W, int H);
  // The client origin in screen coordinates.
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(const TPoint& p);
  TPoint ScreenToClient(const TPoint& p);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign v);

  // ---- State
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible up to a shown form.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);
  std::string Caption() { return GetText(); }
  void SetCaption(const std::string& v) { SetText(v); }
  std::string Text() { return GetText(); }
  void SetText(const std::string& v);
  int GetTextLen();
  std::string GetText();
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* v) { font_->Assign(v); }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  TBiDiMode BiDiMode() const { return bidiMode_; }
  void SetBiDiMode(TBiDiMode v);
  bool ParentBiDiMode() const { return parentBiDiMode_; }
  void SetParentBiDiMode(bool v);
  // Right-to-left only where the locale reads that way (SysLocale.MiddleEast).
  bool UseRightToLeftAlignment() const;
  bool UseRightToLeftReading() const;
  // DrawText flags with DT_RIGHT/DT_RTLREADING adjusted for BiDiMode.
  UINT DrawTextBiDiModeFlags(UINT Flags) const;
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& v) { hint_ = v; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v) { showHint_ = v; }
  // Shown on WM_CONTEXTMENU over the control.
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* v);
  // The action the control follows (actions.h); CM_ACTIONUPDATE runs the
  // action's Update.
  TCustomAction* Action() const { return action_; }
  void SetAction(TCustomAction* v);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TSizeConstraints* Constraints() const { return constraints_.get(); }
  void SetConstraints(TSizeConstraints* v) { constraints_->Assign(v); }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor v);
  TControlStyle ControlStyle() const { return controlStyle_; }
  void SetControlStyle(TControlStyle v) { controlStyle_ = v; }
  TControlState ControlState() const { return controlState_; }
  void SetControlState(TControlState v) { controlState_ = v; }
  bool MouseCapture() const;
  void SetMouseCapture(bool v);

  // ---- Painting
  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }
  virtual void SetZOrder(bool TopMost);

  // ---- Mouse and events
  virtual void Click();
  virtual void DblClick();
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnResize;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  virtual void ChangeScale(int M, int D);

  // ---- Docking (the subset a page control needs)
  // Hands the control to NewDockSite at ARect (the site's client
  // coordinates); null undocks it onto no parent.
  void Dock(TWinControl* NewDockSite, const TRect& ARect);
  // Asks a dock site to take the control: the site gets CM_DOCKCLIENT with a
  // TDockClientInfo. False when Site is no dock site.
  bool ManualDock(TWinControl* Site, const TRect& DockRect);

  // ---- Streaming
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void Loaded() override;

  // Shift state from a mouse message's WParam / a key message's LParam.
  static TShiftState KeysToShiftState(WPARAM Keys);
  static TShiftState KeyDataToShiftState(LPARAM KeyData);

 protected:
  // CM_CHANGED on itself (combo selection, track-bar position...).
  virtual void Changed();
  // The linked action (Sender) changed or was just linked: the control
  // takes its Enabled; CheckDefaults (linked while the action is read from
  // a description) keeps a disabled control disabled.
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  virtual void Resize();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  // Invalidates this control's area on its parent.
  void InvalidateControl(bool IsVisible, bool IsOpaque);
  // Lets the parent re-align its children after a change of this one.
  void RequestAlign();
  void FontChanged(TObject* Sender);
  virtual void VisibleChanging() {}
  // Constructors set their defaults through these: no message, no virtual.
  void InitVisible(bool v) { visible_ = v; }
  void InitColor(TColor v) { color_ = v; }
  void InitParentColor(bool v) { parentColor_ = v; }
  void InitParentFont(bool v) { parentFont_ = v; }
  void InitAlign(TAlign v) { align_ = v; }
  void InitBiDiMode(TBiDiMode v) { bidiMode_ = v; }
  void InitBounds(int L, int T, int W, int H) {
    left_ = L;
    top_ = T;
    width_ = W;
    height_ = H;
  }

  std::string text_;  // the caption while no window holds it
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  TControlState controlState_ = 0;

 private:
  friend class TWinControl;
  friend class TCustomAction;
  void MouseButtonDown(TMessage& m, TMouseButton b, bool dbl);
  void MouseButtonUp(TMessage& m, TMouseButton b);

  void ConstraintsChanged(TObject* Sender);

  std::unique_ptr<TFont> font_;
  std::unique_ptr<TSizeConstraints> constraints_;
  bool visible_ = true;
  bool enabled_ = true;
  bool parentFont_ = true;
  bool parentColor_ = false;
  bool applyingParentFont_ = false;
  bool parentBiDiMode_ = true;
  TColor color_ = clWindow;
  TAlign align_ = alNone;
  TBiDiMode bidiMode_ = bdLeftToRight;
  std::string hint_;
  bool showHint_ = false;
  TCursor cursor_ = crDefault;
  TPopupMenu* popupMenu_ = nullptr;
  TCustomAction* action_ = nullptr;
};

// ---- TWinControl ---------------------------------------------------------------------

class TWinControl : public TControl {
  DECLARE_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  void BeforeDestruction() override;

  // ---- Window
  // The window, made on first use.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // A foreign parent window for a control with no Parent.
  HWND ParentWindow() const { return parentWindow_; }
  void SetParentWindow(HWND v);
  // Destroys the window and makes a new one (state kept), if one exists.
  void RecreateWnd();
  virtual void CreateHandle();
  virtual void DestroyHandle();
  // The control's window procedure entry: guards exceptions.
  void MainWndProc(TMessage& Message) noexcept;
  WNDPROC DefWndProc() const { return defWndProc_; }

  // ---- Children (graphic controls first, then windowed, each in z-order)
  int ControlCount() const { return static_cast<int>(controls_.size() + winControls_.size()); }
  TControl* Controls(int Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // Sends the message to each child until one answers non-zero.
  void Broadcast(TMessage& Message);
  // Performs Msg on every child.
  void NotifyControls(UINT Msg);
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false);
  bool ContainsControl(TControl* Control) const;

  // Moves a child control to position Order of Controls(): a graphic child
  // stays among the graphic ones, a windowed one among the windowed ones
  // (its window restacked to match). Anything else is ignored.
  void SetChildOrder(TComponent* Child, int Order) override;
  // The child controls Root owns, in Controls() order (z-order, so a
  // description reads back to the same stacking), then the rest.
  void GetChildren(std::vector<TComponent*>& List, TComponent* Root) override;

  // ---- Frame
  // A band of this width inside the window's frame on every side: the
  // non-client area grows by it and the client area shrinks.
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v);
  // The sunken three-dimensional look rather than a flat line, where a
  // control paints a frame of its own; a change performs CM_CTL3DCHANGED.
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool v);
  // The width of a control's bevel lines, at least 1; a change repaints.
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v);

  // ---- Layout
  void DisableAlign() { ++alignLevel_; }
  void EnableAlign();
  int AlignLevel() const { return alignLevel_; }
  void Realign();
  virtual void AdjustClientRect(TRect& Rect) { (void)Rect; }

  // ---- Focus and keyboard
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v);
  int TabOrder() const;
  void SetTabOrder(int v);
  virtual bool CanFocus();
  virtual void SetFocus();
  virtual bool Focused();
  // Every windowed descendant in tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& List);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                               bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // ---- Docking
  bool DockSite() const { return dockSite_; }
  void SetDockSite(bool v) { dockSite_ = v; }
  // Parents a docked client and puts it at ARect.
  virtual void DoAddDockClient(TControl* Client, const TRect& ARect);

  // ---- Painting
  TBrush* Brush() const { return brush_.get(); }
  bool DoubleBuffered() const { return doubleBuffered_; }
  void SetDoubleBuffered(bool v) { doubleBuffered_ = v; }
  // Paints the control and its children into DC at (X, Y) without sending
  // WM_PRINT back to the same control.
  void PaintTo(HDC DC, int X, int Y);
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void SetZOrder(bool TopMost) override;
  void ChangeScale(int M, int D) override;

  bool Showing() const override { return showing_; }
  TRect GetClientRect() override;
  TPoint ClientOrigin() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void Loaded() override;

 protected:
  virtual void CreateParams(TCreateParams& Params);
  // Makes Params a superclass of the system class (its procedure kept).
  void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  void AlignControl(TControl* AControl);
  // Updates Showing from Visible and the parents, creating windows as needed.
  void UpdateShowing();
  void UpdateControlState();
  virtual void PaintWindow(HDC DC);
  void PaintHandler(TMessage& Message);
  void PaintControls(HDC DC, TControl* First);
  void UpdateBounds();
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char& Key);
  virtual void DoEnter();
  virtual void DoExit();
  // Performs the key on the control's form first when it previews keys.
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  // Reflects a child notification as CN_* to the widget control of Child.
  bool DoControlMsg(HWND Child, TMessage& Message);
  // Focus bookkeeping when this control is hidden, disabled or removed.
  void RemoveFocus(bool Removing);
  void InitColor(TColor v) {
    TControl::InitColor(v);
    brush_->SetColor(v);
  }
  void InitTabStop(bool v) { tabStop_ = v; }

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;

 private:
  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  friend class TControl;
  friend class TCustomForm;
  void Insert(TControl* AControl);
  void Remove(TControl* AControl);
  void FreeChildren();
  void UpdateTabOrder(int Value);
  void FixupTabList();
  void HandleKeyMessage(TMessage& m);
  bool IsControlMouseMsg(TMessage& m);
  void EraseBackground(TMessage& m);
  void SetCursorMessage(TMessage& m);
  void NonClientSize(TMessage& m);
  void PaintBorderBand();

  std::vector<TControl*> controls_;        // graphic children, z-order
  std::vector<TWinControl*> winControls_;  // windowed children, z-order
  std::vector<TWinControl*> tabList_;
  std::unique_ptr<TBrush> brush_;
  HWND parentWindow_ = nullptr;
  int alignLevel_ = 0;
  int tabOrder_ = -1;  // while loading: the stored wish
  int borderWidth_ = 0;
  int bevelWidth_ = 1;
  bool ctl3D_ = true;
  bool tabStop_ = false;
  bool showing_ = false;
  bool doubleBuffered_ = false;
  bool dockSite_ = false;
};

// The record of CM_DOCKCLIENT (its LParam): the control to dock, where, and
// the cursor; Result is the site's answer.
struct TDockClientInfo {
  TControl* Control = nullptr;
  TRect DockRect;
  TPoint MousePos;
};

// ---- TGraphicControl, TCustomControl, TControlCanvas -----------------------------------

// A canvas on a control: the window's DC, or for a graphic control the
// parent's DC moved to the control's origin and clipped to it.
class TControlCanvas : public TCanvas {
  DECLARE_CLASS(TControlCanvas, TCanvas)
 public:
  TControlCanvas() = default;
  ~TControlCanvas() override;
  TControl* Control() const { return control_; }
  void SetControl(TControl* c);
  // Releases a DC taken by CreateHandle (no-op for a DC set from outside).
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TControl* control_ = nullptr;
  TWindowDC dc_;
};

class TGraphicControl : public TControl {
  DECLARE_CLASS(TGraphicControl, TControl)
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return canvas_.get(); }
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint() {}

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

class TCustomControl : public TWinControl {
  DECLARE_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return canvas_.get(); }
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;

 private:
  std::unique_ptr<TControlCanvas> canvas_;
};

// ---- Lookups --------------------------------------------------------------------------

// The widget control bound to a window of this layer, else null.
TWinControl* FindControl(HWND Wnd);
// The widget window under a screen point (its nearest widget ancestor).
TWinControl* FindVCLWindow(const TPoint& Pos);
// The deepest widget control under a screen point, graphic ones included.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
// The form a control lies on (null when it lies on none).
TCustomForm* GetParentForm(TControl* Control);
// The control that has the mouse captured through its parent, if any.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The control under the mouse, as the hover tracking last saw it.
TControl* MouseControl();
// Re-evaluates the control under the mouse and performs CM_MOUSELEAVE on
// the old and CM_MOUSEENTER on the new one when it changed.
void UpdateMouseControl();
// Told of every change of the hovered control (the forms layer points it at
// the application's hint machinery); nil: nobody listens.
extern void (*MouseControlChanged)(TControl* Control);
// IsThemeActive() && IsAppThemed().
bool ThemesEnabled();
// Whether Caption's accelerator ("&x") is the key VK.
bool IsAccel(WORD VK, const std::string& Caption);
