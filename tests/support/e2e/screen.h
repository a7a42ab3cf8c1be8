// What the user sees and does at the screen: pixels read back from the
// display (GetDC(0) + BitBlt) and kept as PNG files, mouse input through
// SendInput, geometry asked
// from another process's controls, and bounded waits for what a program
// shows some time after being asked.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// A capture of a screen rectangle; pixels 0x00RRGGBB, top-down.
struct TScreenImage {
  int Left = 0, Top = 0;  // screen position of pixel (0, 0)
  int Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;

  bool Contains(int X, int Y) const { return X >= 0 && Y >= 0 && X < Width && Y < Height; }
  uint32_t At(int X, int Y) const { return Pixels[size_t(Y) * size_t(Width) + size_t(X)]; }
};

// The screen's pixels under Rect (screen coordinates).
TScreenImage CaptureScreen(const RECT& Rect);
// The screen's pixels under the window's rectangle.
TScreenImage CaptureWindow(HWND Wnd);

// Saves a capture as "<build>/screenshots/<Name>.png" (<build> is the folder
// above the build tree holding the running test), so that a person can look
// at what a test saw. Returns the file written, empty when none was.
std::string SaveCapture(const TScreenImage& Image, const std::string& Name);

// Largest difference of the three colour channels of two 0x00RRGGBB values.
int ChannelDistance(uint32_t A, uint32_t B);

// Sends Msg to Receiver (Wnd when null) with LParam pointing at a copy of
// Data placed in the memory of Wnd's process, and reads the copy back into
// Data: how a question whose answer is written through a pointer reaches
// another process. The message's own answer goes to Answer when given.
// False when any step failed.
bool AskRemote(HWND Wnd, UINT Msg, WPARAM Param, void* Data, size_t Size, HWND Receiver = nullptr,
               DWORD_PTR* Answer = nullptr);
// A rectangle answer of a control in another process (TBM_GETTHUMBRECT,
// TBM_GETCHANNELRECT, TCM_GETITEMRECT of tab Param): the RECT is placed in that process's memory.
RECT AskRect(HWND Wnd, UINT Msg, WPARAM Param = 0);
// The client-area origin of Wnd relative to its window rectangle.
POINT ClientOffset(HWND Wnd);
// The window of Wnd's thread that holds the keyboard focus, null if none.
HWND FocusOf(HWND Wnd);
// The window of Wnd's thread that holds the mouse capture, null if none.
HWND CaptureOf(HWND Wnd);

// Hardware-like mouse input at a screen point.
void MouseMoveTo(POINT Screen);
void MouseButton(bool Down);

// Calls Check until it answers true or TimeoutMs have passed; the last answer.
bool PollUntil(DWORD TimeoutMs, const std::function<bool()>& Check, DWORD IntervalMs = 15);

}  // namespace e2e
