// A window with skinned replacement scroll bars under the generated test
// skin, driven with real mouse input: where its bars and their parts lie on
// the screen, and what scroll messages the window received.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/adapters/scroll_track_state.h"
#include "skin/adapters/scroll_wnd.h"
#include "skin/engine/skin_manager.h"
#include "started_skin_manager.h"
#include "temp_test_skin.h"
#include "tests/support/adapter_windows.h"
#include "tests/support/real_input.h"

// One scroll message as the window received it, and when.
struct TScrollSeen {
  UINT Msg;
  int Code;
  int Pos;  // the high word of WParam
  LPARAM LParam;
  DWORD Tick;
};

// A recording window with both bars, its adapter and what it saw.
class TBarWindow {
 public:
  // Class: the adapter's class, TvlScrollWnd when nil.
  TBarWindow(HWND Parent, TsSkinManager* Manager, int X = 8, int Y = 8,
             const TvlAdapterClass* Class = nullptr);
  ~TBarWindow();
  TBarWindow(const TBarWindow&) = delete;
  TBarWindow& operator=(const TBarWindow&) = delete;

  HWND Handle() const { return Recorder.Handle(); }
  // Sets a bar's scroll state (no platform painting) and lets the adapter
  // read and paint it.
  void SetBar(int Bar, int Min, int Max, UINT Page, int Pos);
  int Position(int Bar) const;
  // The bar's screen rectangle and the length of its arrows.
  RECT BarRect(int Bar) const;
  int ArrowLength(int Bar) const;
  // Screen points: the middle of the first or second arrow, of the thumb,
  // and a point Fraction along the bar's length on its middle line.
  POINT ArrowPoint(int Bar, bool Second) const;
  POINT ThumbPoint(int Bar) const;
  POINT AlongBar(int Bar, double Fraction) const;
  // Thumb length and start (screen) where the scroll state puts it now.
  void Thumb(int Bar, int& Len, int& Pos) const;

  // The scroll messages of the bar's kind with that code (-1: any code).
  std::vector<TScrollSeen> Scrolls(int Bar, int Code = -1) const;
  int Count(int Bar, int Code = -1) const { return int(Scrolls(Bar, Code).size()); }
  // Runs inside the window's procedure at every scroll message, after it
  // was recorded.
  std::function<void(const TScrollSeen&)> OnScroll;

  TRecordingWindow Recorder;
  TvlScrollWnd* Adapter = nullptr;

 private:
  std::vector<TScrollSeen> seen_;
};

// A top-level host in front, a skin manager with the test skin, and real
// input reset before and after.
class TBarMouseScene {
 public:
  TBarMouseScene();
  ~TBarMouseScene();
  TBarMouseScene(const TBarMouseScene&) = delete;
  TBarMouseScene& operator=(const TBarMouseScene&) = delete;

  std::unique_ptr<TBarWindow> AddWindow(int X = 8, int Y = 8,
                                        const TvlAdapterClass* Class = nullptr);

  test_skin::TempTestSkin Skin{"barmouse"};
  TTestWindow Host;
  TsSkinManager* Manager = nullptr;
};

// The engine holds no press, no drag and no hot bar.
inline bool EngineIdle() {
  return ScrollTrack.PressedPart == spNone && ScrollTrack.TrackBar == sbNone &&
         ScrollTrack.HotWnd == nullptr && ScrollTrack.RepeatTimerId == 0;
}
