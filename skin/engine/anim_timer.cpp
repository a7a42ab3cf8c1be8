#include "skin/engine/anim_timer.h"

#include <algorithm>
#include <cmath>

#include "skin/engine/common_data.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/vl_geometry.h"
#include "widgets/controls/extctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/graphics.h"

const TEnumInfo& ThreadPriorityInfo() {
  static const TEnumInfo e{
      {"tpIdle", "tpLowest", "tpLower", "tpNormal", "tpHigher", "tpHighest", "tpTimeCritical"}};
  return e;
}

const TClassInfo& TvlThreadedTimer::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TvlThreadedTimer> b("TvlThreadedTimer", &TComponent::StaticClass());
    b.Bool(
        "Enabled", [](const TvlThreadedTimer& t) { return t.Enabled(); },
        [](TvlThreadedTimer& t, int v) { t.SetEnabled(v != 0); }, true);
    b.Int(
        "Interval", [](const TvlThreadedTimer& t) { return static_cast<int64_t>(t.Interval()); },
        [](TvlThreadedTimer& t, int v) { t.SetInterval(v < 0 ? 0u : static_cast<unsigned>(v)); },
        1000);
    b.Event<&TvlThreadedTimer::onTimer_, &TvlThreadedTimer::SetOnTimer>("OnTimer");
    TPropInfo& prio = b.Enum(
        "ThreadPriority", ThreadPriorityInfo(),
        [](const TvlThreadedTimer& t) { return static_cast<int>(t.ThreadPriority()); },
        [](TvlThreadedTimer& t, int v) { t.SetThreadPriority(static_cast<TThreadPriority>(v)); },
        tpNormal);
    // Stored always: the property has no default.
    prio.HasDefault = false;
    prio.Stored = [](const TObject*) { return true; };
    return b.Done();
  }();
  return info;
}

namespace {

// Releases TickBusy on every way out of a tick, exceptions included, so one
// failing step cannot leave the timer dead.
class TickGuard {
 public:
  explicit TickGuard(bool& busy) : busy_(busy) { busy_ = true; }
  TickGuard(const TickGuard&) = delete;
  TickGuard& operator=(const TickGuard&) = delete;
  ~TickGuard() { busy_ = false; }

 private:
  bool& busy_;
};

}  // namespace

TvlThreadedTimer::TvlThreadedTimer(TComponent* AOwner) : TComponent(AOwner) {
  if (ApplicationTerminating()) return;
  enabled_ = true;
  interval_ = 1000;
  timer_ = New<TTimer>(this);
  timer_->SetEnabled(false);
  timer_->SetInterval(interval_);
  timer_->SetOnTimer(TNotifyEvent::Of<&TvlThreadedTimer::TimerTick>(this));
}

TvlThreadedTimer::TvlThreadedTimer(TComponent* AOwner, bool UseStepEvent)
    : TvlThreadedTimer(AOwner) {
  SetEnabled(false);
  OwnerControl = AOwner;
  if (UseStepEvent) SetOnTimer(TNotifyEvent::Of<&TvlThreadedTimer::StepEvent>(this));
}

TvlThreadedTimer::~TvlThreadedTimer() {
  SetEnabled(false);
  if (SkinData && SkinData->AnimTimer == this) SkinData->AnimTimer = nullptr;
  if (Destroying) return;
  Destroying = true;
  if (timer_) {
    timer_->SetEnabled(false);
    TObject::Free(timer_);
    timer_ = nullptr;
  }
  TObject::Free(NewImage);
  TObject::Free(WorkImage);
  TObject::Free(OldImage);
  NewImage = WorkImage = OldImage = nullptr;
}

void TvlThreadedTimer::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  Rearm();
}

void TvlThreadedTimer::SetInterval(unsigned Value) {
  if (interval_ == Value) return;
  interval_ = Value;
  if (timer_) {
    timer_->SetInterval(Value);
    Rearm();
  }
}

void TvlThreadedTimer::SetOnTimer(TNotifyEvent Value) {
  onTimer_ = Value;
  Rearm();
}

void TvlThreadedTimer::SetThreadPriority(TThreadPriority Value) {
  if (threadPriority_ == Value) return;
  threadPriority_ = Value;
  Rearm();
}

void TvlThreadedTimer::Rearm() {
  if (!timer_) return;
  timer_->SetEnabled(false);
  if (interval_ != 0 && enabled_ && (onTimer_ || Callback)) timer_->SetEnabled(true);
}

void TvlThreadedTimer::TimerTick(TObject*) {
  if (!timer_ || !timer_->Enabled() || TickBusy || Destroying) return;
  TickGuard guard(TickBusy);
  DoTimer();
}

bool TvlThreadedTimer::RunCallback(int AStep) {
  lastDrawnStep_ = AStep;
  return Callback(SkinData, AStep);
}

void TvlThreadedTimer::DoTimer() {
  if (Destroying || !enabled_) return;
  if (Callback) {
    ++CurrentStep;
    if (CurrentStep > StepCount) {
      SetEnabled(false);
      // An animation that took over another one can start at its last step
      // and end before its step function drew anything: draw the final
      // picture once, rather than end without it, so the control does not
      // keep a partial blend.
      if (lastDrawnStep_ != StepCount) RunCallback(StepCount);
      return;
    }
    RunCallback(CurrentStep);
  } else if (onTimer_) {
    onTimer_(this);
  }
}

void TvlThreadedTimer::AdvanceValue() {
  switch (Kind) {
    case 0:
    case 2:
      Value -= StepSize;
      break;
    case 1:
      Value += StepSize;
      break;
    default:
      Value = 255 - static_cast<double>(CurrentStep) / StepCount * 255;
  }
}

uint8_t TvlThreadedTimer::Level() const {
  return static_cast<uint8_t>(std::clamp(std::nearbyint(Value), 0.0, 255.0));
}

void TvlThreadedTimer::Step() {
  if (enabled_ && Callback && !Destroying && !RunCallback(CurrentStep)) {
    SetEnabled(false);
    Kind = -1;
  }
}

void TvlThreadedTimer::StartAnimation(TsCommonData* ASkinData, int StartStep,
                                      AnimationStepProc ACallback, int AKind, bool Fast) {
  const int current = Kind;
  SetEnabled(false);
  SkinData = ASkinData;
  SecondValue = 0;
  if (Value > 255) Value = 255;
  if (Value < 0) Value = 0;
  StepCount = Fast ? 5 : 10;
  if (AKind == 0) {
    StepCount *= 2;
    StepSize = Value / StepCount;
  } else if (AKind == 2) {
    StepSize = Value / StepCount;
  } else {
    if (current > 0)
      StepCount = 10;
    else
      StepCount = static_cast<int>(Round((255 - Value) * 10 / 255));
    if (StepCount < 1) StepCount = 1;
    StepSize = (255 - Value) / StepCount;
  }
  SecondStepSize = (255 - SecondValue) / StepCount;
  if ((AKind == 2 || (AKind == 1 && current == 2)) && WorkImage)
    CopyBitmapRect(this, OldImage, WorkImage, GraphicRect(WorkImage));
  if (AKind == 1 && current < 1)
    CurrentStep = static_cast<int>(Round(10 * Value / 255));
  else if (AKind == 0 && current == 1)
    CurrentStep = Value == 0 ? 0 : static_cast<int>(Round((255 - Value) * StepCount / 255));
  else
    CurrentStep = WorkImage ? 0 : StartStep;
  lastDrawnStep_ = -1;
  SetInterval(10);
  Callback = ACallback;
  PrevKind = current;
  Kind = AKind;
  SetEnabled(true);
}

int EnsureAnimTimer(TvlThreadedTimer*& Timer, TComponent* Owner, int Kind) {
  if (Timer) {
    const int total = Timer->Kind == 0 ? 20 : 10;
    return Timer->CurrentStep < total ? total - Timer->CurrentStep : 0;
  }
  Timer = New<TvlThreadedTimer>(Owner);
  if (Kind == 0) Timer->Value = 255;
  return 0;
}

void CopyBitmapRect(TvlThreadedTimer*, TBitmap*& Dest, TBitmap* Source, const TRect& Rect) {
  if (!Dest) {
    Dest = NewArgbBitmapForRect(Rect);
  } else {
    Dest->SetWidth(RectWidth(Rect, true));
    Dest->SetHeight(RectHeight(Rect, true));
  }
  if (Dest->Empty() || !Source || Source->Empty()) return;
  BitBlt(Dest->Canvas()->Handle(), 0, 0, Dest->Width(), Dest->Height(), Source->Canvas()->Handle(),
         Rect.Left, Rect.Top, SRCCOPY);
}
