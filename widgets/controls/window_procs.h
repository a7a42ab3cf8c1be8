// The layer's window procedures: the one static procedure of every window
// class the layer registers, utility windows ("TPUtilWindow") and the
// subclassing of windows the layer does not own.
//
// No executable thunks: a static procedure finds its object through a window
// property under one of the layer's own global atoms (never GWLP_USERDATA).
#pragma once

#include <windows.h>

#include <string>

#include "widgets/controls/messages.h"

class TWinControl;

// The atom of the property that binds a window to its TWinControl.
ATOM ControlAtom();

// The window procedure of every class registered through
// RegisterControlClass: binds a window being created to the control
// announced by SetCreationControl, then routes messages to MainWndProc.
LRESULT CALLBACK StdWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

// The next window created on this thread belongs to Control; it is bound at
// its first message, before WM_NCCREATE reaches the control.
void SetCreationControl(TWinControl* Control);
TWinControl* CreationControl();

// Registers WindowClass under its lpszClassName with StdWndProc as the
// procedure, unless that class is already registered so; the procedure the
// caller put in lpfnWndProc is remembered for windows that never get bound.
void RegisterControlClass(WNDCLASSEXA WindowClass);

// Utility windows: hidden windows of class "TPUtilWindow" whose messages go
// to Method (timers, notification sinks). Unhandled messages must be passed
// to DefWindowProcA by the method itself. An exception in Method goes to
// HandleException and the message answers 0. A window the system destroys
// (rather than DeallocateHWnd) frees its record itself.
HWND AllocateHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);
// The same for a window of another class name (registered on first use),
// style and owner: the application window is one.
HWND AllocateMethodWindow(const char* ClassName, const char* Caption, DWORD Style, DWORD ExStyle,
                          int X, int Y, int Width, int Height, HWND Owner, TWndMethod Method);

// A window procedure for a window the layer does not own, made of a static
// procedure plus a property lookup. Attach saves the previous procedure;
// Detach restores it only while the window still uses ours (someone who
// subclassed on top keeps working: our procedure then passes messages on).
// An exception in Method goes to HandleException, and the message gets the
// answer of the procedure that was there before.
// Unicode windows stay Unicode: the W or A calls are picked by
// IsWindowUnicode, and messages reach Method in the window's own form.
class TObjectInstance {
 public:
  explicit TObjectInstance(TWndMethod Method);
  ~TObjectInstance();
  TObjectInstance(const TObjectInstance&) = delete;
  TObjectInstance& operator=(const TObjectInstance&) = delete;

  // False when the window already carries the maximum number of instances.
  bool Attach(HWND Wnd);
  // Returns whether the previous procedure was put back.
  bool Detach();
  HWND Window() const;
  bool Attached() const { return record_ != nullptr; }
  // The window runs through this instance first (nobody hooked on top).
  bool Installed() const;
  // The procedure that was there before Attach; nil when not attached.
  WNDPROC Previous() const;
  // Passes the message to the procedure that was there before Attach.
  void CallPrevious(TMessage& Message);

  // Used by the slot procedures only.
  struct Record;
  void HandleMessage(TMessage& Message);
  void WindowDestroyed();

 private:
  TWndMethod method_;
  Record* record_ = nullptr;
};

TObjectInstance* MakeObjectInstance(TWndMethod Method);
void FreeObjectInstance(TObjectInstance* Instance);

// The unit's shutdown: frees the atoms.
void FinalizeWindowProcs();
