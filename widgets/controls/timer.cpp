#include "widgets/controls/controls.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/controls/extctrls.h"
#include "widgets/controls/window_procs.h"

const TClassInfo& TTimer::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TTimer> b("TTimer", &TComponent::StaticClass());
    b.Creatable();
    b.Bool(
        "Enabled", [](const TTimer& t) { return t.Enabled(); },
        [](TTimer& t, int v) { t.SetEnabled(v != 0); }, true);
    b.Int(
        "Interval", [](const TTimer& t) { return static_cast<int>(t.Interval()); },
        [](TTimer& t, int v) { t.SetInterval(v < 0 ? 0u : static_cast<unsigned>(v)); }, 1000);
    b.Event<&TTimer::onTimer_, &TTimer::SetOnTimer>("OnTimer");
    return b.Done();
  }();
  return info;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() {
  if (window_) {
    KillTimer(window_, 1);
    DeallocateHWnd(window_);
  }
}

void TTimer::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned v) {
  if (interval_ == v) return;
  interval_ = v;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent v) {
  onTimer_ = v;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (running_) {
    KillTimer(window_, 1);
    running_ = false;
  }
  if (HasState(csLoading) || !enabled_ || interval_ == 0 || !onTimer_) return;
  if (!window_) window_ = AllocateHWnd(TWndMethod::Of<&TTimer::WndProc>(this));
  if (!SetTimer(window_, 1, interval_, nullptr))
    throw EOutOfResources("Not enough timers available");
  running_ = true;
}

void TTimer::WndProc(TMessage& m) {
  if (m.Msg == WM_TIMER) {
    try {
      Timer();
    } catch (...) {
      HandleException(this);
    }
    return;
  }
  m.Result = DefWindowProcA(window_, m.Msg, m.WParam, m.LParam);
}

void TTimer::Timer() {
  if (onTimer_) onTimer_(this);
}
