// Forms, the application object and the screen.
//
// TApplication owns a hidden top-level window of class "TApplication",
// captioned with Title, which owns every form window; its message loop
// performs key messages as CN_* on the focused widget control before they
// are dispatched (no IsDialogMessage). TCustomForm reads its description
// from the RCDATA resource named after its upper-cased class name in
// AfterConstruction, after the most-derived constructor, then raises OnCreate.
#pragma once

#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "widgets/controls/controls.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/forms/monitors.h"

class TMainMenu;
class THintWindow;
class TTimer;
struct THintInfo;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};

using TFormState = uint32_t;
enum : TFormState {
  fsCreating = 1u << 0,
  fsVisible = 1u << 1,
  fsShowing = 1u << 2,
  fsModal = 1u << 3,
  fsCreatedMDIChild = 1u << 4,
  fsActivated = 1u << 5,
};

// Modal results: the button ids of a message box where they exist.
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT,
                       mrRetry = IDRETRY, mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO,
                       mrAll = mrNo + 1, mrNoToAll = mrAll + 1, mrYesToAll = mrNoToAll + 1;

// The windows a modal form or box disables: every visible, enabled top-level
// window of the thread but the given one. EnableTaskWindows enables again
// those of the list that still exist, and no other.
using TTaskWindowList = std::vector<HWND>;
TTaskWindowList DisableTaskWindows(HWND ActiveWindow);
void EnableTaskWindows(const TTaskWindowList& List);

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;
using TExceptionEvent = TEvent<void(TObject* Sender, const std::exception& E)>;

// The base of the containers that may scroll their content; it scrolls
// nothing yet. DockSite only says whether other controls may dock here.
class TScrollingWinControl : public TWinControl {
  DECLARE_CLASS(TScrollingWinControl, TWinControl)
 public:
  explicit TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {}
  bool DockSite() const { return dockSite_; }
  void SetDockSite(bool v) { dockSite_ = v; }

 private:
  bool dockSite_ = false;
};

class TCustomForm : public TScrollingWinControl {
  DECLARE_CLASS(TCustomForm, TScrollingWinControl)
 public:
  static const TEnumInfo& BorderStyleInfo();
  static const TEnumInfo& PositionInfo();

  // A form whose class is not TForm reads its description in AfterConstruction.
  explicit TCustomForm(TComponent* AOwner);
  // A form without a description (CreateNew).
  struct TCreateNew {};
  TCustomForm(TComponent* AOwner, TCreateNew);
  ~TCustomForm() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  // Runs CloseQuery and OnClose; the action decides (C13). Closing the main
  // form ends the application.
  void Close();
  virtual bool CloseQuery();
  // Frees the form from the message loop (CM_RELEASE), never in place.
  void Release();
  void Show();
  void Hide() { SetVisible(false); }
  // Shows the form and runs the message loop until ModalResult is set (Close
  // sets mrCancel; so does the end of the application), with the thread's
  // other windows disabled; then hides it and gives the activation back.
  virtual TModalResult ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) { modalResult_ = v; }

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  bool OldCreateOrder() const { return oldCreateOrder_; }
  void SetOldCreateOrder(bool v) { oldCreateOrder_ = v; }
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int v) { pixelsPerInch_ = v; }
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  TFormState FormState() const { return formState_; }
  TWindowState WindowState();
  void SetWindowState(TWindowState v);
  // Client size as stored; while the description is read it waits for Loaded.
  void SetFormClientWidth(int v);
  void SetFormClientHeight(int v);

  // A layered window while either is on: the whole form at AlphaBlendValue
  // (LWA_ALPHA) and/or TransparentColorValue see-through (LWA_COLORKEY).
  // Kept in the object, so a new window gets them again.
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool v);
  uint8_t AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(uint8_t v);
  bool TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(bool v);
  TColor TransparentColorValue() const { return transparentColorValue_; }
  void SetTransparentColorValue(TColor v);

  // Controls as any windowed control orders them; the form's other
  // components follow its controls in the written order.
  void SetChildOrder(TComponent* Child, int Order) override;

  bool Active() const { return active_; }
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* Control);
  // Focus bookkeeping: CM_EXIT/CM_ENTER, CM_FOCUSCHANGED, CM_UIACTIVATE.
  virtual bool SetFocusedControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  void DefocusControl(TWinControl* Control, bool Removing);
  TWinControl* FocusedControl() const { return focusedControl_; }
  bool CanFocus() override { return Visible() && Enabled(); }
  void SetFocus() override;
  TCanvas* Canvas() const { return canvas_.get(); }
  // The menu bar; the form dispatches its menu messages to it.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* v);
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  TRect GetClientRect() override;
  void Dispatch(TMessage& Message) override;
  void BeginReadState() override;
  void EndReadState() override;
  void Loaded() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void PaintWindow(HDC DC) override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();

 private:
  friend class TApplication;
  void InitForm();
  // The frame styles of the border style (shared with the client-size sum).
  void FrameStyles(DWORD& Style, DWORD& ExStyle) const;
  void ShowingChanged();
  void SetActive(bool v);
  void SetWindowFocus();
  // A result was set: CloseQuery and OnClose may still keep the form open.
  void CloseModal();
  // Takes the menu off the window before the window goes (a window destroys
  // its menu with it).
  void DetachMenu();
  // Puts AlphaBlend and TransparentColor on the window.
  void UpdateLayeredAttributes();

  std::unique_ptr<TControlCanvas> canvas_;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  TMainMenu* menu_ = nullptr;
  TFormBorderStyle borderStyle_ = bsSizeable;
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  TFormState formState_ = 0;
  TModalResult modalResult_ = mrNone;
  int pixelsPerInch_ = 96;
  int clientWidth_ = 0, clientHeight_ = 0;
  TColor transparentColorValue_ = clBlack;
  uint8_t alphaBlendValue_ = 255;
  bool alphaBlend_ = false;
  bool transparentColor_ = false;
  bool createNew_ = false;
  bool keyPreview_ = false;
  bool oldCreateOrder_ = false;
  bool active_ = false;
  bool created_ = false;
};

class TForm : public TCustomForm {
  DECLARE_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

class TScreen : public TComponent {
  DECLARE_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* AOwner) : TComponent(AOwner) {}
  // Most recently activated first.
  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int Index) const { return forms_[Index]; }
  // In creation order.
  int CustomFormCount() const { return static_cast<int>(customForms_.size()); }
  TCustomForm* CustomForms(int Index) const { return customForms_[Index]; }
  TCustomForm* ActiveForm() const { return activeForm_; }
  TCustomForm* ActiveCustomForm() const { return activeForm_; }
  TWinControl* ActiveControl() const { return activeControl_; }
  TCustomForm* FocusedForm() const { return focusedForm_; }
  int PixelsPerInch() const { return ScreenPixelsPerInch(); }
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  // The system's menu font, read on first use.
  TFont* MenuFont();
  // The font hint windows measure and draw with: the system's status font,
  // read on first use; a program may change it.
  TFont* HintFont();

  // Display monitors in the system's order. Monitors(i) stays valid until a
  // monitor comes or goes (MonitorCount and the lookups notice that).
  int MonitorCount();
  TMonitor* Monitors(int Index);
  TMonitor* MonitorFromPoint(const TPoint& Point, TMonitorDefaultTo Default = mdNearest);
  TMonitor* MonitorFromWindow(HWND Wnd, TMonitorDefaultTo Default = mdNearest);

  // The cursor of a cursor number: the standard one unless replaced; an
  // unknown number gives the arrow. The handle stays the caller's (shared
  // cursors from LoadCursor need no release); a null handle removes it.
  HCURSOR Cursors(TCursor Index) const;
  void SetCursors(TCursor Index, HCURSOR Cursor);

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* f);
  void RemoveForm(TCustomForm* f);
  void MoveFormToFront(TCustomForm* f);
  void UpdateMonitors();
  TMonitor* FindMonitor(HMONITOR Handle);

  std::vector<std::unique_ptr<TMonitor>> monitors_;
  std::vector<std::pair<TCursor, HCURSOR>> cursors_;

  std::vector<TCustomForm*> forms_;
  std::vector<TCustomForm*> customForms_;
  TCustomForm* activeForm_ = nullptr;
  TCustomForm* focusedForm_ = nullptr;
  TWinControl* activeControl_ = nullptr;
  std::unique_ptr<TFont> menuFont_;
  std::unique_ptr<TFont> hintFont_;
};

class TApplication : public TComponent {
  DECLARE_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Makes the application window.
  void Initialize();
  // The hidden "TApplication" window, made on first use.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& v);
  std::string ExeName() const;

  // Constructs the form, sets Reference before its description is read and
  // OnCreate runs, and makes the first form the main form.
  template <typename T>
  void CreateForm(T*& Reference) {
    T* form = nullptr;
    try {
      form = NewWith<T>([&](T* f) { Reference = f; }, this);
    } catch (...) {
      Reference = nullptr;
      throw;
    }
    FormCreated(form);
  }
  TCustomForm* MainForm() const { return mainForm_; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool v) { showMainForm_ = v; }

  // Shows the main form and runs the message loop until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  void ProcessMessages();
  void HandleMessage();
  bool Active() const { return active_; }

  // The application window carries the task-bar button: shown zero-sized
  // while a form is visible. Minimize hides the forms with it; Restore
  // shows them back. Both go through WM_SYSCOMMAND of the application
  // window, so its hooks see them.
  void Minimize();
  void Restore();
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;

  // Reports the exception being handled (call inside a catch block):
  // OnException when set, else ShowException; EAbort is silent.
  void HandleException(TObject* Sender);
  void ShowException(const std::exception& E);
  TExceptionEvent OnException;

  // Hooks see every message of the application window first, in
  // registration order; True consumes it.
  void HookMainWindow(TWindowHook Hook);
  void UnhookMainWindow(TWindowHook Hook);

  // Whether the application shows hints at all (a switch others may turn
  // off for a while, as a dragging control does).
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v) { showHint_ = v; }
  // The class hint windows are made of: THintWindow or a descendant that
  // can be created (null and any other class give THintWindow back).
  const TClassInfo* HintWindowClass() const { return hintWindowClass_; }
  void SetHintWindowClass(const TClassInfo* v);

  // The hint machinery. After HintPause ms over a control with ShowHint and
  // a Hint, the control is asked with CM_HINTSHOW and the hint shows; while
  // a hint is up (or until HintShortPause after it went) the next control's
  // hint follows after HintShortPause. It hides after HintHidePause, when
  // the cursor leaves the control or its CursorRect, on a click or a key.
  int HintPause() const { return hintPause_; }
  void SetHintPause(int v) { hintPause_ = v; }
  int HintShortPause() const { return hintShortPause_; }
  void SetHintShortPause(int v) { hintShortPause_ = v; }
  int HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(int v) { hintHidePause_ = v; }
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor v) { hintColor_ = v; }
  // Shows the hint of the control at CursorPos (screen) now, without the
  // pause; nothing when it has none or hints are off.
  void ActivateHint(const TPoint& CursorPos);
  // Hides the hint and forgets its control; the next one waits HintPause.
  void CancelHint();
  // Hides the hint window; the control stays the hint's.
  void HideHint();
  // The window of the hint on show (nil while none is), and the control
  // whose hint it is.
  THintWindow* HintWindow() const { return hintWindow_; }
  TControl* HintControl() const { return hintControl_; }
  // The cursor moved onto another control (the controls layer tells).
  void HintMouseMessage(TControl* Control);
  // The hint timer's step, by its mode: show the pending hint, hide the one
  // on show, or ask again for a reshow. Tests call it to step at once.
  void HintTimerTick(TObject* Sender);
  // 0 idle, 1 a hint is pending, 2 a hint is up and will hide, 3 a reshow.
  int HintTimerMode() const { return hintTimerMode_; }
  // The interval the hint timer was last armed with, in ms.
  int HintTimerInterval() const;

  // The plain box of the message-box seam.
  int MessageBox(const std::string& Text, const std::string& Caption, UINT Flags = MB_OK);

  // The reading order forms take while their ParentBiDiMode is on: set on
  // each such form now, and on every form made later.
  TBiDiMode BiDiMode() const { return bidiMode_; }
  void SetBiDiMode(TBiDiMode v);

 private:
  friend class TCustomForm;
  void FormCreated(TComponent* Form);
  bool ProcessMessage(MSG& Msg);
  bool IsKeyMsg(MSG& Msg);
  void WndProc(TMessage& Message);
  // The application window's own answers (minimize, restore, focus).
  bool WindowStateMessage(TMessage& Message);
  // Shows the application window while a form is visible, hides it after.
  void FormVisibilityChanged();
  // The main form's minimize and restore go to the application window.
  bool RelaySysCommand(TCustomForm* Form, TMessage& Message);

  HWND handle_ = nullptr;
  std::string title_;
  TCustomForm* mainForm_ = nullptr;
  std::vector<TWindowHook> hooks_;
  bool terminated_ = false;
  bool showMainForm_ = true;
  bool active_ = false;
  bool running_ = false;
  bool showHint_ = true;
  const TClassInfo* hintWindowClass_;
  TBiDiMode bidiMode_ = bdLeftToRight;

  void StartHintTimer(int Interval, int Mode);
  void StopHintTimer();
  void ShowHintFor(TControl* Control, const TPoint& CursorPos);
  bool CursorInHintRect() const;
  // Between messages: a hint whose cursor rectangle the cursor left goes.
  void HintIdle();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  int hintPause_ = 500;
  int hintShortPause_ = 50;
  int hintHidePause_ = 2500;
  TColor hintColor_ = clInfoBk;
  TTimer* hintTimer_ = nullptr;
  int hintTimerMode_ = 0;  // 1 show, 2 hide, 3 reshow
  THintWindow* hintWindow_ = nullptr;
  TControl* hintControl_ = nullptr;
  TRect hintCursorRect_;  // screen coordinates
  DWORD hintHiddenAt_ = 0;
  bool hintActive_ = false;  // a hint is up, or went less than HintShortPause ago
};

// Binds a form's field to the component its description created under Name;
// a description that lacks it is an error.
template <typename T>
void BindComponent(TComponent& Owner, T*& Field, const char* Name) {
  Field = dynamic_cast<T*>(Owner.FindComponent(Name));
  if (!Field) throw EComponentError(std::string("The form description lacks ") + Name);
}

// Made by the forms unit's start-up, freed by the program's shutdown.
extern TApplication* Application;
extern TScreen* Screen;

// The hover tracking tells the application's hint machinery of every new
// control under the cursor while connected (the forms unit connects it).
void ConnectHintTracking(bool On);

// The forms unit: Screen and Application.
void InitFormsUnit();
void FinalizeFormsUnit();
// Step 4 of the shutdown: frees Application (Terminated set), so the forms
// are freed and their OnDestroy handlers run.
void DestroyApplication();
