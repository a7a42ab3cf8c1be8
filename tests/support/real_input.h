// Mouse and keyboard input the way a person gives it: the cursor is placed
// with SetCursorPos and buttons and keys go through SendInput, so windows
// see hardware messages whose GetMessagePos is where the cursor stands
// (what a thumb drag reads). The pumps dispatch this thread's messages,
// timers included, within a bound generous enough for a loaded machine.
#pragma once

#include <windows.h>

#include <functional>

namespace real_input {

// Puts the cursor at a screen point and queues a hardware move there.
void MoveTo(POINT Screen);
inline void MoveTo(int X, int Y) {
  MoveTo(POINT{X, Y});
}
// Presses or releases the left or the right button where the cursor is.
void LeftButton(bool Down);
void RightButton(bool Down);
// Turns the wheel where the cursor is; WHEEL_DELTA per notch, negative
// towards the user (scrolling down).
void Wheel(int Delta);
// Presses or releases a key.
void Key(WORD VirtualKey, bool Down);

// A key held down while the scope lasts (Shift for a jump click).
class THeldKey {
 public:
  explicit THeldKey(WORD VirtualKey) : key_(VirtualKey) { Key(key_, true); }
  ~THeldKey() { Key(key_, false); }
  THeldKey(const THeldKey&) = delete;
  THeldKey& operator=(const THeldKey&) = delete;

 private:
  WORD key_;
};

// Dispatches this thread's messages until Done answers true or TimeoutMs
// have passed; Done's last answer.
bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs = 5000);
// Dispatches this thread's messages for Ms milliseconds.
void PumpFor(DWORD Ms);
// Dispatches what is already queued, input included, without waiting.
void PumpPending();

// Makes a top-level window the active foreground window, so that input and
// the popups it owns reach it; whether it is.
bool BringToFront(HWND Wnd);

// Lets go of everything a test may have left pressed and parks the cursor
// in the screen's top-left corner, away from any test window.
void ResetInput();

}  // namespace real_input
