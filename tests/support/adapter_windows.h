// Windows the adapter tests hook: a plain multi-line EDIT with both bars, a
// LISTBOX with 100 items, and a window class of the tests' own that
// records every message reaching it (the procedure below an adapter).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "widgets/graphics/gdi_handles.h"

struct TTestWindowTraits {
  static void Free(HWND h) {
    if (IsWindow(h)) DestroyWindow(h);
  }
};
// A window destroyed with its owner (when still alive).
using TTestWindow = TOwnedHandle<HWND, TTestWindowTraits>;

// A visible top-level window to put the test windows in.
TTestWindow CreateHostWindow(int Width = 400, int Height = 300);
// A multi-line "EDIT" with both bars and text longer and wider than it.
TTestWindow CreatePlainEdit(HWND Parent, int Width = 166, int Height = 141);
// A "LISTBOX" with 100 items and both bars.
TTestWindow CreateListBox100(HWND Parent, int Width = 166, int Height = 141);

// One message as the recording window saw it.
struct TRecordedMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

// A window of the class "VarnelRecorder": its procedure logs every message
// and answers DefWindowProc, except SkinCmdBeforeScroll, which it answers
// with BeforeScrollAnswer. OnMessage runs before the answer, so a test can
// act inside a message (free an adapter, destroy the window).
class TRecordingWindow {
 public:
  explicit TRecordingWindow(HWND Parent,
                            DWORD Style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL |
                                          WS_BORDER,
                            int Width = 166, int Height = 141);
  ~TRecordingWindow();
  TRecordingWindow(const TRecordingWindow&) = delete;
  TRecordingWindow& operator=(const TRecordingWindow&) = delete;

  HWND Handle() const { return handle_; }
  // How often Msg arrived (with this WParam when given).
  int Count(UINT Msg) const;
  const std::vector<TRecordedMessage>& Log() const { return log_; }
  void ClearLog() { log_.clear(); }

  LRESULT BeforeScrollAnswer = 0;
  std::function<void(const TRecordedMessage&)> OnMessage;

  static LRESULT CALLBACK Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

 private:
  HWND handle_ = nullptr;
  std::vector<TRecordedMessage> log_;
};

// Runs the thread's pending messages.
void PumpMessages();
