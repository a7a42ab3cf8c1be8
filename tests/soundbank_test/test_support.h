// Helpers of the in-process tests: message pumping, a recording message-box
// sink and a capture of a window's client area.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "widgets/forms/message_box.h"

inline void Pump(int rounds = 3) {
  for (int i = 0; i < rounds; ++i) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

// Records every box instead of showing it.
class TBoxRecorder : public TMessageBoxSink {
 public:
  TBoxRecorder() { previous_ = SetMessageBoxSink(this); }
  ~TBoxRecorder() override { SetMessageBoxSink(previous_); }
  int Show(const TMessageBoxRequest& r) override {
    Boxes.push_back(r);
    return IDOK;
  }
  std::vector<TMessageBoxRequest> Boxes;

 private:
  TMessageBoxSink* previous_;
};

// The client area of a window as it is on the screen, in COLORREF values.
struct TCapture {
  int Width = 0, Height = 0;
  std::vector<COLORREF> Pixels;
  COLORREF At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};
TCapture CaptureClient(HWND Wnd);
