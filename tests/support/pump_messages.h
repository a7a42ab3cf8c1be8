// Hands every message queued for this thread to its window, so that what a
// call only posted (paints, deferred layout, timers due) has happened before
// a test looks.
#pragma once

#include <windows.h>

inline void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
