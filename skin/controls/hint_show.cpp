// Showing and hiding hint bubbles: the layered window that carries the
// image, the fade-and-slide in, and the timers that hide the hint and then
// clean up after it.
#include <algorithm>
#include <cmath>

#include "skin/controls/alpha_hints.h"
#include "skin/controls/hint_templates.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/layered_windows.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_rescale.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/glow_form.h"
#include "widgets/controls/extctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/flag_scope.h"

namespace {

constexpr int kShowSteps = 24;  // 2 x 12 ticks
constexpr unsigned kShowInterval = 10;
constexpr int kDefaultHidePause = 300;
constexpr int kCleanupExtra = 300;
constexpr int kFollowingHintPause = 100;
constexpr int kTemplateLift = 16;

// A plain timer that runs one of the manager's hint events.
class THintTimer : public TTimer {
 public:
  enum Kind { hide, cleanup };
  THintTimer(TComponent* AOwner, TvlHintManager* Manager, Kind K)
      : TTimer(AOwner), manager_(Manager), kind_(K) {}
  void Arm(unsigned Interval) {
    SetEnabled(false);
    SetInterval(Interval);
    SetOnTimer(TNotifyEvent::Of<&THintTimer::Tick>(this));
    SetEnabled(true);
  }

 private:
  void Tick(TObject*) {
    if (kind_ == cleanup)
      HintCleanup(manager_);
    else if (manager_->State.TimedHide)
      TimedHintHide(manager_);
    else
      HintLeaveCheck(manager_);
  }
  TvlHintManager* manager_;
  Kind kind_;
};

// The show animation's timer: every tick is one step.
class TsShowTimer : public TvlThreadedTimer {
 public:
  TsShowTimer(TvlHintManager* Manager) : TvlThreadedTimer(nullptr, true), manager_(Manager) {}
  void Step() override {
    if (StepBusy) return;
    TFlagScope busy(StepBusy);
    ShowAnimationStep(manager_);
  }
  TvlCustomHintWindow* Window = nullptr;
  int Start = 0;  // the start transparency, 0..255
  double Level = 0;
  double AlphaStep = 0;
  TPoint Pos;
  double SlideX = 0, SlideY = 0;

 private:
  TvlHintManager* manager_;
};

TsShowTimer* ShowTimerOf(TvlHintManager* m) {
  return static_cast<TsShowTimer*>(m->State.ShowTimer);
}

template <typename T>
void FreeAndNil(T*& p) {
  T* o = p;
  p = nullptr;
  if (o) TObject::Free(o);
}

void StopTimer(TTimer* t) {
  if (t) t->SetEnabled(false);
}

TCustomForm* CreateHintLayer(const TRect& Bounds, bool DropShadow) {
  auto form = OwnObject(New<TvlGlowForm>(nullptr));
  form->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
  HWND h = form->Handle();
  SetWindowLongPtrA(h, GWL_EXSTYLE,
                    GetWindowLongPtrA(h, GWL_EXSTYLE) | WS_EX_NOACTIVATE | WS_EX_LAYERED |
                        WS_EX_TRANSPARENT | WS_EX_TOPMOST);
  LONG_PTR cls = GetClassLongPtrA(h, GCL_STYLE);
  SetClassLongPtrA(h, GCL_STYLE, DropShadow ? cls | CS_DROPSHADOW : cls & ~LONG_PTR(CS_DROPSHADOW));
  SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return form.release();
}

void ShowLayer(TCustomForm* Form, const TRect& R) {
  SetWindowPos(Form->Handle(), HWND_TOPMOST, R.Left, R.Top, R.Width(), R.Height(),
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Push(TCustomForm* Form, TBitmap* Image, int Alpha, const TPoint& At) {
  if (!Form || !Image || !LayeredWindowsAvailable()) return;
  POINT p{At.X, At.Y};
  PushBitmapToLayeredWindow(Form->Handle(), Image, static_cast<uint8_t>(std::clamp(Alpha, 0, 255)),
                            &p);
}

void PassImage(TvlHintManager* m, TvlCustomHintWindow* w) {
  if (!w->HintImage()) return;
  TBitmap* copy = NewArgbBitmapLike(w->HintImage());
  CopyBitmapInto(copy, w->HintImage());
  delete m->State.LastImage;
  m->State.LastImage = copy;
}

}  // namespace

TControl* ControlUnderMouse() {
  POINT p{};
  if (!GetCursorPos(&p)) return nullptr;
  return FindDragTarget({p.x, p.y}, true);
}

// ---- Operations of the manager ----------------------------------------------------

namespace {

// A show timer stopped from inside its own tick waits here until the next
// stop, when its tick has long returned.
TvlThreadedTimer* retiredShowTimer = nullptr;

void FreeRetiredShowTimer() {
  if (retiredShowTimer && !retiredShowTimer->TickBusy) FreeAndNil(retiredShowTimer);
}

}  // namespace

void StopShowAnimation(TvlHintManager* m) {
  FreeRetiredShowTimer();
  if (!m || !m->State.ShowTimer) return;
  TvlThreadedTimer* t = m->State.ShowTimer;
  m->State.ShowTimer = nullptr;
  t->SetEnabled(false);
  if (!t->TickBusy) {
    TObject::Free(t);
    return;
  }
  FreeAndNil(retiredShowTimer);
  retiredShowTimer = t;
}

void FreeHintControl(TvlHintManager* m) {
  if (!m) return;
  if (TWinControl* c = m->Settings().CustomControl) c->SetVisible(false);
}

void StartHintHideTimer(TvlHintManager* m, int Timeout) {
  if (!m) return;
  if (!m->State.HideTimer) m->State.HideTimer = New<THintTimer>(nullptr, m, THintTimer::hide);
  m->State.TimedHide = Timeout > 0;
  static_cast<THintTimer*>(m->State.HideTimer)
      ->Arm(Timeout > 0 ? unsigned(Timeout) : kDefaultHidePause);
}

void StartHintCleanupTimer(TvlHintManager* m) {
  if (!m) return;
  if (!m->State.CleanupTimer)
    m->State.CleanupTimer = New<THintTimer>(nullptr, m, THintTimer::cleanup);
  const int pause = Application ? Application->HintShortPause() : 0;
  static_cast<THintTimer*>(m->State.CleanupTimer)->Arm(unsigned(pause + kCleanupExtra));
}

void HintClosed(TvlHintManager* m, TvlCustomHintWindow* Window) {
  if (!m) return;
  StopShowAnimation(m);
  FreeHintControl(m);
  if (CurrentHintWindow == Window) CurrentHintWindow = nullptr;
  m->HideEvent();
  StartHintCleanupTimer(m);
}

void ResetHint(TvlHintManager* m) {
  if (!m) return;
  StopShowAnimation(m);
  if (auto* w = dynamic_cast<TvlCustomHintWindow*>(m->State.HintWindow)) {
    if (w->HandleAllocated()) ShowWindow(w->Handle(), SW_HIDE);
    w->ReleaseImages();
  }
  for (TCustomForm* f : {m->State.LayerForm, m->State.NextLayerForm})
    if (f && f->HandleAllocated())
      SetWindowPos(f->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  m->State.Visible = false;
}

void DropHintControl(TvlHintManager* m) {
  if (!m) return;
  ResetHint(m);
  m->State.HintControl = nullptr;
}

void HintLeaveCheck(TvlHintManager* m) {
  if (!m) return;
  if (m->State.HintControl && ControlUnderMouse() == m->State.HintControl) return;
  StopTimer(m->State.HideTimer);
  StopShowAnimation(m);
  ResetHint(m);
  m->State.HintControl = nullptr;
}

void TimedHintHide(TvlHintManager* m) {
  if (!m) return;
  DropHintControl(m);
  StopTimer(m->State.HideTimer);
}

void HintCleanup(TvlHintManager* m) {
  if (!m) return;
  StopTimer(m->State.CleanupTimer);
  const bool shown = CurrentHintWindow && CurrentHintWindow->HandleAllocated() &&
                     IsWindowVisible(CurrentHintWindow->Handle());
  if (shown && m->State.Visible) return;
  m->State.Alpha = 0;
  FreeAndNil(m->State.LayerForm);
  FreeAndNil(m->State.NextLayerForm);
  if (m->State.SavedHintPause >= 0 && Application)
    Application->SetHintPause(m->State.SavedHintPause);
  m->State.SavedHintPause = -1;
}

void ReleaseHintState(TvlHintManager* m) {
  if (!m) return;
  StopShowAnimation(m);
  FreeRetiredShowTimer();
  TvlHintState& s = m->State;
  FreeAndNil(s.HintWindow);
  FreeAndNil(s.HideTimer);
  FreeAndNil(s.CleanupTimer);
  FreeAndNil(s.LayerForm);
  FreeAndNil(s.NextLayerForm);
  if (s.SavedHintPause >= 0 && Application) Application->SetHintPause(s.SavedHintPause);
  s.SavedHintPause = -1;
  delete s.WorkBitmap;
  s.WorkBitmap = nullptr;
  delete s.LastImage;
  s.LastImage = nullptr;
  s.HintControl = nullptr;
  s.Visible = false;
}

// ---- The show animation -----------------------------------------------------------

void StartShowAnimation(TvlHintManager* m, TvlCustomHintWindow* Window, int W, int H) {
  if (!m) return;
  StopShowAnimation(m);
  auto* t = New<TsShowTimer>(m);
  m->State.ShowTimer = t;
  t->Window = Window;
  t->StepCount = kShowSteps;
  t->CurrentStep = 0;
  if (UsesHintSkin() && DefaultManager) {
    Window->MakeHintImage(W, H);  // picks the section
    const int tr = DefaultManager->ValidSection(Window->SkinIndex)
                       ? DefaultManager->Section(Window->SkinIndex).Props[0].Transparency
                       : 100;
    if (tr != 100) t->Start = std::clamp(int(std::lround(tr * 2.55)), 0, 255);
  } else {
    Window->MakeHintImage(W, H);
  }
  t->AlphaStep = double(255 - t->Start) / kShowSteps;
  t->Level = 0;
  m->State.Alpha = 0;
  const TRect& target = m->State.ScreenRect;
  TCustomForm* layer = m->State.NextLayerForm ? m->State.NextLayerForm : m->State.LayerForm;
  t->Pos = layer ? TPoint{layer->Left(), layer->Top()} : TPoint{target.Left, target.Top};
  t->SlideX = (target.Left - t->Pos.X) / 5.0;
  t->SlideY = (target.Top - t->Pos.Y) / 5.0;
  if (Application) {
    if (m->State.SavedHintPause < 0) m->State.SavedHintPause = Application->HintPause();
    Application->SetHintPause(kFollowingHintPause);
  }
  t->SetInterval(kShowInterval);
  t->SetEnabled(true);
}

bool ShowAnimationStep(TvlHintManager* m) {
  if (!m) return false;
  TsShowTimer* t = ShowTimerOf(m);
  if (!t || !t->Window) return false;
  TvlHintState& s = m->State;
  // The new image goes onto the replacement form while the previous hint
  // fades out on the old one.
  TCustomForm* layer = s.NextLayerForm ? s.NextLayerForm : s.LayerForm;
  const int full = 255 - t->Start;
  if (t->CurrentStep < kShowSteps && full - t->AlphaStep >= t->Level - 1e-9) {
    ++t->CurrentStep;
    t->Level += t->AlphaStep;
    s.Alpha = int(std::lround(t->Level));
    TPoint at{s.ScreenRect.Left, s.ScreenRect.Top};
    if (t->SlideX != 0 || t->SlideY != 0) {
      t->Pos.X += int(std::lround(t->SlideX));
      t->Pos.Y += int(std::lround(t->SlideY));
      t->SlideX = (s.ScreenRect.Left - t->Pos.X) / 5.0;
      t->SlideY = (s.ScreenRect.Top - t->Pos.Y) / 5.0;
      if (std::abs(t->SlideX) < 1) t->SlideX = 0;
      if (std::abs(t->SlideY) < 1) t->SlideY = 0;
      at = t->Pos;
      if (s.NextLayerForm && s.LayerForm && s.LastImage)
        Push(s.LayerForm, s.LastImage, full - s.Alpha, {s.LayerForm->Left(), s.LayerForm->Top()});
    }
    Push(layer, t->Window->HintImage(), s.Alpha, at);
    if (layer && !IsWindowVisible(layer->Handle()))
      ShowLayer(layer, {at.X, at.Y, at.X + s.ScreenRect.Width(), at.Y + s.ScreenRect.Height()});
    return true;
  }
  // Done: the image stands at its full level where it belongs.
  TvlCustomHintWindow* w = t->Window;
  t->SetEnabled(false);
  if (s.NextLayerForm) {
    FreeAndNil(s.LayerForm);
    s.LayerForm = s.NextLayerForm;
    s.NextLayerForm = nullptr;
  }
  Push(s.LayerForm, w->HintImage(), full, {s.ScreenRect.Left, s.ScreenRect.Top});
  if (s.LayerForm) ShowLayer(s.LayerForm, s.ScreenRect);
  s.Alpha = 0;
  PassImage(m, w);
  StopShowAnimation(m);
  return false;
}

// ---- ActivateHint -----------------------------------------------------------------

void TvlCustomHintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  TvlHintManager* m = ActiveHintManager;
  if (!m) return;
  TvlHintState& s = m->State;
  const bool skinned = UsesHintSkin();
  {
    TFlagScope activating(s.Activating);
    StopTimer(s.CleanupTimer);
    s.Visible = true;
    if (TCustomForm* old = s.LayerForm) {
      if (old->Width() == 0 || (old->Left() == 0 && old->Top() == 0))
        FreeAndNil(s.LayerForm);
      else if (s.ShowTimer)
        StopShowAnimation(m);
    }
    StopShowAnimation(m);
    if (skinned)
      SetCaption(AHint);
    else
      HintText = AHint;

    const TRect margins = HintContentMargins(CurrentImage(), skinned);
    const TPoint pos = (s.Point.X != 0 || s.Point.Y != 0) ? s.Point : TPoint{Rect.Left, Rect.Top};
    const int w = Rect.Width(), h = Rect.Height();
    Rect = {pos.X - margins.Left, pos.Y - margins.Top, pos.X - margins.Left + w,
            pos.Y - margins.Top + h};

    HWND wnd = Handle();
    SetWindowLongPtrA(wnd, GWL_EXSTYLE,
                      GetWindowLongPtrA(wnd, GWL_EXSTYLE) | WS_EX_NOACTIVATE | WS_EX_LAYERED);
    SetBoundsRect(Rect);
    SetClassLongPtrA(wnd, GCL_STYLE, GetClassLongPtrA(wnd, GCL_STYLE) & ~LONG_PTR(CS_DROPSHADOW));
    InitVisible(true);
    SetWindowPos(wnd, HWND_TOPMOST, Rect.Left, Rect.Top, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);

    THintCorner corner = std::clamp(m->Settings().DefaultCorner, 0, 3);
    TvlHintTemplate* t = skinned ? nullptr : CurrentHintTemplate();
    bool onlyDefault = true;
    if (t)
      for (int i = 1; i < 4; ++i) onlyDefault = onlyDefault && t->Images(i)->Empty();
    PlaceHint(Rect, pos, corner, CurrentImage(), skinned, onlyDefault);
    Corner = corner;
    if (!skinned && (corner == 1 || corner == 3) && !m->Settings().PointToControl)
      OffsetRect(Rect.AsRECT(), 0, -kTemplateLift);

    if (!s.WorkBitmap) s.WorkBitmap = NewArgbBitmap(1, 1);
    s.WorkBitmap->SetSize(w, h);
    s.ScreenRect = Rect;
    TCustomForm* shown = s.LayerForm;
    const bool elsewhere = shown && shown->HandleAllocated() && IsWindowVisible(shown->Handle()) &&
                           (shown->Left() != Rect.Left || shown->Top() != Rect.Top);
    if (elsewhere && s.LastImage && m->Settings().Animated && LayeredWindowsAvailable()) {
      // The next hint slides in from where the last one stands, which
      // fades out meanwhile.
      FreeAndNil(s.NextLayerForm);
      s.NextLayerForm = CreateHintLayer(
          {shown->Left(), shown->Top(), shown->Left() + w, shown->Top() + h}, false);
    } else if (shown) {
      shown->SetBounds(shown->Left(), shown->Top(), w, h);
    } else {
      s.LayerForm = CreateHintLayer(Rect, false);
    }

    if (LayeredWindowsAvailable()) {
      if (m->Settings().Animated) {
        StartShowAnimation(m, this, w, h);
      } else {
        MakeHintImage(w, h);
        Push(s.LayerForm, hintImage_.get(), 255, {Rect.Left, Rect.Top});
        ShowLayer(s.LayerForm, Rect);
        PassImage(m, this);
      }
    }
  }
  s.FixedPos.X = -1;
  s.HintControl = m->Settings().AnchorControl ? m->Settings().AnchorControl : ControlUnderMouse();
  StartHintHideTimer(m, 0);
}

// ---- The entry from DisplayHintAt -------------------------------------------------

TControl* ShowHintAt(TvlHintManager* m, const TPoint& Point, const std::string& Text, int Timeout) {
  if (!m) return nullptr;
  TvlHintState& s = m->State;
  if (TsShowTimer* t = ShowTimerOf(m)) {
    // A running animation hands its forms over.
    t->SetEnabled(false);
    if (s.NextLayerForm) {
      FreeAndNil(s.LayerForm);
      s.LayerForm = s.NextLayerForm;
      s.NextLayerForm = nullptr;
    }
    StopShowAnimation(m);
  }
  TControl* under = ControlUnderMouse();
  if (under != s.UnderMouse) {
    ResetHint(m);
    s.UnderMouse = under;
  }
  if (!s.HintWindow) s.HintWindow = New<TvlPngHintWindow>(nullptr);
  auto* w = static_cast<TvlPngHintWindow*>(s.HintWindow);
  s.Point = Point;
  const int maxWidth =
      m->Settings().MaxWidth > 0 ? m->Settings().MaxWidth : GetSystemMetrics(SM_CXSCREEN);
  std::string text = Text;
  TRect r = w->CalcHintRect(maxWidth, text);
  THintInfo info;
  info.HintPos = Point;
  info.HintStr = text;
  bool canShow = true;
  TWinControl* custom = nullptr;
  if (m->ShowHintEvent(text, canShow, custom, info)) {
    if (!canShow) {
      s.Point = {};
      return w;
    }
    if (custom) RescaleControl(DefaultManager, custom, 100);
    if (text != Text || custom) r = w->CalcHintRect(maxWidth, text);
    s.Point = info.HintPos;
  }
  w->ActivateHint(r, text);
  s.Point = {};
  StartHintHideTimer(m, Timeout);
  return w;
}

TvlHintManagerBase::~TvlHintManagerBase() {
  if (ActiveHintManager == this) ActiveHintManager = nullptr;
  ReleaseHintState(this);
}

TControl* TvlHintManagerBase::ShowHintAt(const TPoint& Point, const std::string& Text,
                                         int Timeout) {
  return ::ShowHintAt(this, Point, Text, Timeout);
}
