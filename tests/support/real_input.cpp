#include "real_input.h"

#include <algorithm>

namespace real_input {

namespace {

void SendMouse(DWORD Flags, DWORD Data = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = Flags;
  in.mi.mouseData = Data;
  SendInput(1, &in, sizeof in);
}

}  // namespace

void MoveTo(POINT Screen) {
  SetCursorPos(Screen.x, Screen.y);
  // A relative move of nothing: the queued move carries the cursor's exact
  // position, with no rounding through the absolute 0..65535 scale.
  SendMouse(MOUSEEVENTF_MOVE);
}

void LeftButton(bool Down) {
  SendMouse(Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
}

void RightButton(bool Down) {
  SendMouse(Down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP);
}

void Wheel(int Delta) {
  SendMouse(MOUSEEVENTF_WHEEL, static_cast<DWORD>(Delta));
}

void Key(WORD VirtualKey, bool Down) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = VirtualKey;
  in.ki.wScan = WORD(MapVirtualKeyA(VirtualKey, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = Down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &in, sizeof in);
}

namespace {

// Dispatches queued messages until the queue is empty or Stop answers true
// after one of them (a steady stream of timers and paints never empties
// it); whether Stop did.
bool DispatchUntil(const std::function<bool()>& Stop) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (Stop()) return true;
  }
  return false;
}

}  // namespace

void PumpPending() {
  const DWORD start = GetTickCount();
  DispatchUntil([start] { return GetTickCount() - start >= 200; });
}

bool PumpUntil(const std::function<bool()>& Done, DWORD TimeoutMs) {
  const DWORD start = GetTickCount();
  auto over = [&] { return GetTickCount() - start >= TimeoutMs; };
  for (;;) {
    if (Done()) return true;
    if (DispatchUntil([&] { return Done() || over(); })) return Done();
    const DWORD spent = GetTickCount() - start;
    if (spent >= TimeoutMs) return Done();
    // Timers are only generated while the queue is looked at: wait short.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(5, TimeoutMs - spent),
                              QS_ALLINPUT);
  }
}

void PumpFor(DWORD Ms) {
  PumpUntil([] { return false; }, Ms);
}

bool BringToFront(HWND Wnd) {
  SetForegroundWindow(Wnd);
  SetActiveWindow(Wnd);
  return PumpUntil([Wnd] { return GetForegroundWindow() == Wnd; }, 2000);
}

void ResetInput() {
  for (WORD key : {VK_SHIFT, VK_CONTROL, VK_MENU})
    if (GetAsyncKeyState(key) < 0) Key(key, false);
  if (GetAsyncKeyState(VK_LBUTTON) < 0) LeftButton(false);
  if (GetAsyncKeyState(VK_RBUTTON) < 0) RightButton(false);
  MoveTo(0, 0);
  PumpPending();
  if (GetCapture()) ReleaseCapture();
}

}  // namespace real_input
