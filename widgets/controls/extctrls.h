// TTimer: a window timer on a hidden "TPUtilWindow".
#pragma once

#include <windows.h>

#include "widgets/rtl/components.h"
#include "widgets/controls/messages.h"

class TTimer : public TComponent {
  DECLARE_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  // A timer runs while Enabled, Interval > 0 and OnTimer is set; the window
  // is made when it first starts. Ticks also come inside modal loops.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned v);
  // Setting the event (in code or through the published property) (re)starts
  // the timer; while a description is read, Loaded starts it.
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent v);
  void Loaded() override;

 protected:
  // One tick: raises OnTimer. Exceptions go to the application.
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);

  TNotifyEvent onTimer_;
  HWND window_ = nullptr;
  unsigned interval_ = 1000;
  bool enabled_ = true;
  bool running_ = false;
};
