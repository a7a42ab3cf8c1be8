// The application's hint machinery: one timer that first waits the pause
// over a control, then keeps the hint up for its hide time, and one hint
// window of the class the hint info names.
#include "widgets/controls/extctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/forms/hint_window.h"

namespace {

enum : int { kIdle = 0, kShow = 1, kHide = 2, kReshow = 3 };

// Hints fed by the hover tracking: a plain function because the controls
// layer cannot name the application.
void TellApplication(TControl* Control) {
  if (Application) Application->HintMouseMessage(Control);
}

TPoint CursorNow() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

}  // namespace

void TApplication::StartHintTimer(int Interval, int Mode) {
  if (!hintTimer_) {
    hintTimer_ = New<TTimer>(this);
    hintTimer_->SetEnabled(false);
    hintTimer_->SetOnTimer(TNotifyEvent::Of<&TApplication::HintTimerTick>(this));
  }
  hintTimerMode_ = Mode;
  hintTimer_->SetEnabled(false);
  hintTimer_->SetInterval(static_cast<unsigned>(Interval > 0 ? Interval : 1));
  hintTimer_->SetEnabled(true);
}

int TApplication::HintTimerInterval() const {
  return hintTimer_ ? static_cast<int>(hintTimer_->Interval()) : 0;
}

void TApplication::StopHintTimer() {
  hintTimerMode_ = kIdle;
  if (hintTimer_) hintTimer_->SetEnabled(false);
}

void ConnectHintTracking(bool On) {
  MouseControlChanged = On ? &TellApplication : nullptr;
}

void TApplication::HintMouseMessage(TControl* Control) {
  if (Control == hintControl_) return;
  const bool following =
      hintWindow_ || (hintActive_ && GetTickCount() - hintHiddenAt_ < DWORD(hintShortPause_));
  HideHint();
  if (hintControl_) hintControl_->RemoveFreeNotification(this);
  hintControl_ = nullptr;
  StopHintTimer();
  if (!Control || !showHint_ || !Control->ShowHint() || Control->Hint().empty()) return;
  hintControl_ = Control;
  Control->FreeNotification(this);
  StartHintTimer(following ? hintShortPause_ : hintPause_, kShow);
}

void TApplication::ActivateHint(const TPoint& CursorPos) {
  TControl* c = FindDragTarget(CursorPos, false);
  if (!c || !showHint_) return;
  if (c != hintControl_) {
    if (hintControl_) hintControl_->RemoveFreeNotification(this);
    hintControl_ = c;
    c->FreeNotification(this);
  }
  ShowHintFor(c, CursorPos);
}

void TApplication::CancelHint() {
  StopHintTimer();
  HideHint();
  hintActive_ = false;
  if (hintControl_) hintControl_->RemoveFreeNotification(this);
  hintControl_ = nullptr;
}

void TApplication::HideHint() {
  if (!hintWindow_) return;
  THintWindow* w = hintWindow_;
  hintWindow_ = nullptr;
  hintHiddenAt_ = GetTickCount();
  TObject::Free(w);
}

void TApplication::HintIdle() {
  if (hintWindow_ && !CursorInHintRect()) CancelHint();
}

bool TApplication::CursorInHintRect() const {
  POINT p{};
  GetCursorPos(&p);
  return PtInRect(hintCursorRect_.AsRECT(), p) != FALSE;
}

void TApplication::HintTimerTick(TObject*) {
  const int mode = hintTimerMode_;
  StopHintTimer();
  switch (mode) {
    case kShow:
    case kReshow:
      if (hintControl_) ShowHintFor(hintControl_, CursorNow());
      break;
    case kHide:
      HideHint();
      break;
    default:
      break;
  }
}

void TApplication::ShowHintFor(TControl* Control, const TPoint& CursorPos) {
  HideHint();
  if (!showHint_) return;
  THintInfo info;
  info.HintControl = Control;
  info.HintWindowClass = hintWindowClass_;
  info.HintPos = {CursorPos.X, CursorPos.Y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4};
  info.HintMaxWidth = Screen ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN);
  info.HintColor = hintColor_;
  info.CursorRect = Control->ClientRect();
  info.CursorPos = Control->ScreenToClient(CursorPos);
  info.HideTimeout = hintHidePause_;
  info.HintStr = Control->Hint();
  if (Control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0) return;
  if (info.HintStr.empty()) return;
  const TClassInfo& plain = THintWindow::StaticClass();
  const TClassInfo* cls = info.HintWindowClass && info.HintWindowClass->InheritsFrom(&plain) &&
                                  info.HintWindowClass->Factory()
                              ? info.HintWindowClass
                              : &plain;
  auto window = OwnObject(dynamic_cast<THintWindow*>(cls->Factory()(nullptr)));
  if (!window) return;
  window->SetColor(info.HintColor);
  TRect r = window->CalcHintRect(info.HintMaxWidth, info.HintStr);
  OffsetRect(r.AsRECT(), info.HintPos.X, info.HintPos.Y);
  const TPoint topLeft = Control->ClientToScreen({info.CursorRect.Left, info.CursorRect.Top});
  hintCursorRect_ = {topLeft.X, topLeft.Y, topLeft.X + info.CursorRect.Width(),
                     topLeft.Y + info.CursorRect.Height()};
  hintWindow_ = window.release();
  hintActive_ = true;
  hintWindow_->ActivateHint(r, info.HintStr);
  if (info.ReshowTimeout > 0)
    StartHintTimer(info.ReshowTimeout, kReshow);
  else if (info.HideTimeout > 0)
    StartHintTimer(info.HideTimeout, kHide);
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == hintControl_) {
    hintControl_ = nullptr;
    StopHintTimer();
    HideHint();
  }
  if (AComponent == hintTimer_) hintTimer_ = nullptr;
}

TFont* TScreen::HintFont() {
  if (!hintFont_) {
    hintFont_ = std::make_unique<TFont>();
    NONCLIENTMETRICSA m{};
    m.cbSize = sizeof m;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0))
      hintFont_->SetHandle(CreateFontIndirectA(&m.lfStatusFont));
  }
  return hintFont_.get();
}
