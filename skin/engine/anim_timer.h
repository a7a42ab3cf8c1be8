// The timer behind every animation of the skin library: a window-message
// timer (no thread despite the name) whose ticks never nest, that runs
// either its OnTimer event or one step of a stepped animation, and that
// keeps the state fades need between steps.
#pragma once

#include <cstdint>

#include "widgets/rtl/components.h"
#include "widgets/rtl/sysutils.h"

class TBitmap;
class TTimer;
class TsCommonData;

// Kept for stored forms only; it has no effect.
enum TThreadPriority : uint8_t {
  tpIdle,
  tpLowest,
  tpLower,
  tpNormal,
  tpHigher,
  tpHighest,
  tpTimeCritical
};
const TEnumInfo& ThreadPriorityInfo();

// One step of an animation; the result is read only by Step().
using AnimationStepProc = bool (*)(TsCommonData* SkinData, int Step);

class TvlThreadedTimer : public TComponent {
  DECLARE_CLASS(TvlThreadedTimer, TComponent)
 public:
  explicit TvlThreadedTimer(TComponent* AOwner);
  // The constructor descendants use: disabled, OwnerControl set, and with
  // UseStepEvent every tick runs the virtual Step.
  TvlThreadedTimer(TComponent* AOwner, bool UseStepEvent);
  ~TvlThreadedTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned Value);
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent Value);
  TThreadPriority ThreadPriority() const { return threadPriority_; }
  void SetThreadPriority(TThreadPriority Value);

  // Arms a stepped animation of Kind (0 fade-out, 1 fade-in, 2 cross-fade)
  // on 10 ms ticks, continuing from the current Value.
  void StartAnimation(TsCommonData* ASkinData, int StartStep, AnimationStepProc ACallback,
                      int AKind, bool Fast);
  // Runs the step function once now, at CurrentStep (which stays).
  virtual void Step();
  // Moves Value one step the way the animation's Kind goes: fades out and
  // cross-fades lose StepSize, fades in gain it, other kinds follow
  // CurrentStep from 255 down.
  void AdvanceValue();
  // Value rounded to the nearest level within 0..255.
  uint8_t Level() const;
  // The inner timer's tick handler.
  void TimerTick(TObject* Sender);

  bool StepBusy = false;  // the re-entry guard of descendants' own steps
  bool TickBusy = false;  // set while a tick is handled
  TComponent* OwnerControl = nullptr;
  double Value = 0;  // level of the running animation, 0..255
  double SecondValue = 0;
  double StepSize = 0;
  double SecondStepSize = 0;
  int Kind = -1;  // -1 none, 0 fade-out, 1 fade-in, 2 cross-fade
  int CurrentStep = 0;
  int PrevKind = -1;
  int StepCount = 10;
  int IsGlowAnimation = 0;
  TBitmap* NewImage = nullptr;   // owned: the look after the change
  TBitmap* WorkImage = nullptr;  // owned: the blend shown at the current step
  TBitmap* OldImage = nullptr;   // owned: the look before the change
  TsCommonData* SkinData = nullptr;
  bool Destroying = false;
  AnimationStepProc Callback = nullptr;

  TTimer* InnerTimer() const { return timer_; }

 protected:
  virtual void DoTimer();

 private:
  void Rearm();
  void StepEvent(TObject*) { Step(); }
  // Runs the step function and notes that it drew Step.
  bool RunCallback(int AStep);

  bool enabled_ = false;
  unsigned interval_ = 0;
  TNotifyEvent onTimer_;
  TTimer* timer_ = nullptr;
  TThreadPriority threadPriority_ = tpNormal;
  int lastDrawnStep_ = -1;  // the last step number the step function saw
};

// For a control's timer: the steps its running animation has left when it
// exists; else makes it (Value 255 for a fade-out, Kind 0) and returns 0.
int EnsureAnimTimer(TvlThreadedTimer*& Timer, TComponent* Owner, int Kind);
// Dest (made when nil, else resized to Rect's size) becomes a copy of the
// area of Source that starts at Rect's top-left corner.
void CopyBitmapRect(TvlThreadedTimer* Timer, TBitmap*& Dest, TBitmap* Source, const TRect& Rect);
