// Stands in for UpdateLayeredWindow while a test runs and keeps what each
// call was handed: the window, the constant alpha, the flags and a copy of
// the source bitmap's pixels. The screen is never read: without a
// compositor it shows premultiplied colour over black.
#pragma once

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

struct LayeredPush {
  HWND Wnd;
  uint8_t Alpha;
  uint8_t AlphaFormat;
  DWORD Flags;
  bool Moved;
  POINT Pos;
  int Width, Height;
  std::vector<uint32_t> Pixels;  // top-down 0xAARRGGBB, empty when unreadable
  uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y * Width + x)]; }
};

struct LayeredPushFailed : std::runtime_error {
  LayeredPushFailed() : std::runtime_error("UpdateLayeredWindow") {}
};

class LayeredRecorder {
 public:
  LayeredRecorder();
  ~LayeredRecorder();
  LayeredRecorder(const LayeredRecorder&) = delete;
  LayeredRecorder& operator=(const LayeredRecorder&) = delete;

  std::vector<LayeredPush>& Pushes();
  std::vector<LayeredPush> PushesTo(HWND Wnd) const;
  void Clear() { Pushes().clear(); }
  // The push after N more recorded pushes throws (a failure on the way of
  // an animation); negative never.
  void FailAfter(int N);
};

// Runs the global hide timer's steps by hand until its carrier is gone;
// the number of steps taken.
int RunHide();
