#include "skin/engine/glow_effects.h"

#include <algorithm>
#include <cmath>

#include "skin/engine/common_data.h"
#include "skin/engine/layered_windows.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/glow_form.h"
#include "widgets/controls/controls.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/graphics.h"
#include "widgets/rtl/flag_scope.h"

std::vector<std::unique_ptr<TvlGlowEffect>> TvlGlowEffects;
bool GlowUnhooking = false;
BLENDFUNCTION GlowBlend{};

namespace {

TvlGlowEffect* GlowAt(int Index) {
  if (Index < 0 || Index >= static_cast<int>(TvlGlowEffects.size())) return nullptr;
  return TvlGlowEffects[static_cast<size_t>(Index)].get();
}

bool ManagerAllowsAnimation(TsSkinManager* Manager) {
  return Manager && Manager->Effects()->AllowAnimation();
}

TRect ScreenClipBox(HWND Wnd, const POINT& Origin, bool WindowDC) {
  TWindowDC dc(Wnd, WindowDC ? GetWindowDC(Wnd) : GetDC(Wnd));
  RECT clip{};
  if (!dc || GetClipBox(dc.Get(), &clip) == ERROR) return TRect();
  OffsetRect(&clip, Origin.x, Origin.y);
  return TRect(clip);
}

TRect Intersection(const TRect& A, const TRect& B) {
  RECT a = A, b = B, r{};
  IntersectRect(&r, &a, &b);
  return TRect(r);
}

// The window a control's glow is placed next to: its form's parent, or the
// form itself.
HWND GlowHost(TControl* Control) {
  TCustomForm* form = GetParentForm(Control);
  if (!form) return nullptr;
  TWinControl* host = form->Parent() ? form->Parent() : form;
  return host->HandleAllocated() ? host->Handle() : nullptr;
}

// The glow of a hot control around the visible part of its window (or, for
// a graphic control, of its area on the parent).
int ShowControlGlow(TsCommonData* SkinData, const TsGeneralData& Section, uint8_t Alpha) {
  TControl* c = SkinData->Control;
  if (auto* w = dynamic_cast<TWinControl*>(c)) {
    if (!w->HandleAllocated()) return -1;
    RECT r{};
    GetWindowRect(w->Handle(), &r);
    const TRect rect =
        Intersection(TRect(r), ScreenClipBox(w->Handle(), POINT{r.left, r.top}, true));
    return ShowGlow(rect, Section.SectionName, "GLOW", Section.GlowMargin, Alpha, GlowHost(c),
                    SkinData);
  }
  TWinControl* parent = c->Parent();
  if (!parent || !parent->HandleAllocated()) return -1;
  POINT origin{0, 0};
  ClientToScreen(parent->Handle(), &origin);
  const TRect own(origin.x + c->Left(), origin.y + c->Top(), origin.x + c->Left() + c->Width(),
                  origin.y + c->Top() + c->Height());
  const TRect rect = Intersection(own, ScreenClipBox(parent->Handle(), origin, false));
  return ShowGlow(rect, SkinData->SkinSection, "GLOW", Section.GlowMargin, Alpha, GlowHost(c),
                  SkinData);
}

// A fade that will hide the glow at its end: a running fade-out, or any
// running fade of a kind other than 1 (FadeStep leaves the glow of a
// fade-in in place).
bool RunningFadeHidesGlow(const TvlThreadedTimer* Timer) {
  return Timer && Timer->Enabled() && !Timer->Destroying && Timer->Kind != -1 && Timer->Kind != 1;
}

}  // namespace

// ---- TvlGlowEffect ------------------------------------------------------------

TvlGlowEffect::TvlGlowEffect(TsCommonData* ASkinData, TsSkinManager* AManager)
    : Manager(AManager), SkinData(ASkinData) {}

TvlGlowEffect::~TvlGlowEffect() {
  Destroying = true;
  DropForm(false);
  TObject::Free(Bitmap);
  Bitmap = nullptr;
}

void TvlGlowEffect::DropForm(bool FreeNow) {
  if (!Form) return;
  TvlGlowForm* form = Form;
  Form = nullptr;
  // Given back only while ours is in place: whoever hooked the form after
  // us still calls through our procedure, and its own chain must stay.
  if (form->WindowProc == TWndMethod::Of<&TvlGlowEffect::GlowWndProc>(this))
    form->WindowProc = SavedWndProc;
  const bool goingAway = (Manager && Manager->Destroying()) || ApplicationTerminating();
  if (FreeNow || goingAway || !form->HandleAllocated()) {
    TObject::Free(form);
    return;
  }
  // The form may be inside one of its own messages (the glow is dropped
  // from a window procedure): it goes after the pending ones, unseen.
  ShowWindow(form->Handle(), SW_HIDE);
  form->Release();
}

void TvlGlowEffect::GlowWndProc(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    Message.Result = HTTRANSPARENT;
    return;
  }
  if (SavedWndProc) SavedWndProc(Message);
}

void TvlGlowEffect::BuildBitmap(int Width, int Height) {
  TObject::Free(Bitmap);
  Bitmap = NewArgbBitmap(std::max(Width, 0), std::max(Height, 0));
  const PixelView v = ArgbView(Bitmap);
  for (int y = 0; y < v.Height; ++y) std::fill_n(v.Row(y), v.Width, 0u);
  if (Manager && MaskIndex >= 0 && MaskIndex < static_cast<int>(Manager->Masks.size()) && v.Valid())
    PaintMaskNineSlice(Bitmap, TRect(0, 0, Width, Height), EmptyBackgroundInfo,
                       Manager->Masks[static_cast<size_t>(MaskIndex)], 0, false);
  ApplySkinDataFilters(Bitmap, SkinData, 0);
}

void TvlGlowEffect::Show(const TRect& Rect, uint8_t Alpha, HWND Wnd) {
  if (Form) return;
  Form = New<TvlGlowForm>(nullptr);
  Form->SetControlStyle(Form->ControlStyle() & ~csCaptureMouse);
  SavedWndProc = Form->WindowProc;
  Form->WindowProc = TWndMethod::Of<&TvlGlowEffect::GlowWndProc>(this);

  const TsMaskData* mask =
      Manager && MaskIndex >= 0 && MaskIndex < static_cast<int>(Manager->Masks.size())
          ? &Manager->Masks[static_cast<size_t>(MaskIndex)]
          : nullptr;
  const int bl = mask ? mask->BorderLeft : 0, bt = mask ? mask->BorderTop : 0;
  const int br = mask ? mask->BorderRight : 0, bb = mask ? mask->BorderBottom : 0;
  const int w = RectWidth(Rect, true) + bl + br - 2 * Margin;
  const int h = RectHeight(Rect, true) + bt + bb - 2 * Margin;
  GlowBlend.SourceConstantAlpha = 255;
  BuildBitmap(w, h);
  const int x = Rect.Left + Margin - bl, y = Rect.Top + Margin - bt;
  Form->SetBounds(x, y, w, h);

  HWND after = HWND_TOPMOST;
  const bool topmost = Wnd && (GetWindowLongPtrA(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (!topmost && SkinData && SkinData->OwnerObject && Wnd) {
    HWND above = GetWindow(Wnd, GW_HWNDPREV);
    after = above ? above : Wnd;
  }
  HWND glow = nullptr;
  try {
    glow = Form->Handle();
  } catch (...) {
    return;
  }
  if (!glow) return;
  SetWindowLongPtrA(glow, GWL_EXSTYLE,
                    GetWindowLongPtrA(glow, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_TRANSPARENT);
  SetWindowPos(glow, after, x, y, 0, 0,
               SWP_NOSENDCHANGING | SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  GlowBlend.SourceConstantAlpha = Alpha;
  if (UpdateLayeredWindowProc) {
    TWindowDC screen(nullptr);
    SIZE size{w, h};
    POINT origin{0, 0};
    UpdateLayeredWindowProc(glow, screen.Get(), nullptr, &size, Bitmap->Canvas()->Handle(), &origin,
                            0, &GlowBlend, ULW_ALPHA);
  }
  ShowWindow(glow, SW_SHOWNOACTIVATE);
}

// ---- Module routines ------------------------------------------------------------

bool IsAnimatedEvent(TvlAnimatEvent Event, TvlAnimatEvents Events, TsSkinManager* Manager) {
  if (Events & SetBit(Event)) return true;
  if (!(Events & SetBit(aeGlobalDef))) return false;
  static constexpr TvlBtnEvent kMap[] = {beMouseEnter, beMouseLeave, beMouseDown, beMouseUp,
                                         beMouseUp};
  if (!Manager) Manager = DefaultManager;
  return Manager && (Manager->AnimEffects()->Buttons()->Events() & SetBit(kMap[Event])) != 0;
}

void RepaintWithFade(TsCommonData* SkinData, int Kind, AnimationStepProc Callback, bool Animate,
                     bool Fast, bool Glow) {
  if (!SkinData || !SkinData->Skinned(false)) return;
  TsSkinManager* manager = SkinData->SkinManager();
  if (Animate && !SkinLoading && SkinData->CacheBitmap && !SkinData->BgChanged &&
      ManagerAllowsAnimation(manager)) {
    if (Glow && Kind < 100 && SkinData->GlowIndex < 0)
      SkinData->ShowGlowEffect(false, SkinDataHandle(SkinData), 0, false, -1);
    SkinData->BgChanged = true;
    StartFade(SkinData, Kind, Callback, Fast);
    return;
  }
  SkinData->Invalidate(false);
  if (Glow && SkinData->Hot && Kind < 100 && SkinData->GlowIndex < 0)
    SkinData->ShowGlowEffect(false, SkinDataHandle(SkinData), 255, false, -1);
  if (!SkinData->Hot) HideGlow(SkinData->GlowIndex, false);
}

namespace {

// The control paints its cache in its state now.
void PrepareFadeTarget(TsCommonData* SkinData) {
  if (SkinData->Control)
    PerformSkinCommand(SkinData->Control, SkinCmdPrepareCache, 0);
  else
    SendSkinCommand(SkinDataHandle(SkinData), SkinCmdPrepareCache, 0);
  // A button's glyphs and labels are graphic children that its cache does
  // not hold: without them the fade would show a bare face until it ends.
  auto* button = dynamic_cast<TButtonControl*>(SkinData->Control);
  if (button && button->ControlCount() > 0 && SkinData->CacheBitmap)
    PaintGraphicChildren(SkinData->CacheBitmap->Canvas()->Handle(), button, true, TPoint(0, 0));
}

}  // namespace

void StartFade(TsCommonData* SkinData, int Kind, AnimationStepProc Callback, bool Fast) {
  const int startStep = EnsureAnimTimer(SkinData->AnimTimer, SkinData->Control, Kind);
  TvlThreadedTimer* t = SkinData->AnimTimer;
  if (t->Kind != -1 && t->Kind == Kind && t->Enabled()) {
    // The same fade runs on, but towards the look the control has now: a
    // change that comes while it runs (a press right after entering, a leave
    // right after a release) must not end on the look it had before.
    if (Callback == FadeStep && SkinData->BgChanged && t->NewImage) {
      PrepareFadeTarget(SkinData);
      CopyBitmapRect(t, t->NewImage, SkinData->CacheBitmap, GraphicRect(SkinData->CacheBitmap));
    }
    return;
  }
  // A fade that has ended keeps its kind (its timer only stopped): the same
  // kind asked for again starts anew, or the control would keep the old look.
  TBitmap* cache = SkinData->CacheBitmap;
  if (t->WorkImage && cache &&
      (t->WorkImage->Width() != cache->Width() || t->WorkImage->Height() != cache->Height())) {
    TObject::Free(t->WorkImage);
    t->WorkImage = nullptr;
  }
  CopyBitmapRect(t, t->OldImage, cache, GraphicRect(cache));
  if (SkinData->BgChanged) PrepareFadeTarget(SkinData);
  CopyBitmapRect(t, t->NewImage, SkinData->CacheBitmap, GraphicRect(SkinData->CacheBitmap));
  t->StartAnimation(SkinData, startStep, Callback, Kind, Fast);
  t->Step();
}

bool FadeStep(TsCommonData* SkinData, int) {
  TvlThreadedTimer* t = SkinData ? SkinData->AnimTimer : nullptr;
  if (!t || t->Destroying) return false;
  HWND target = nullptr;
  TRect area;
  auto* win = dynamic_cast<TWinControl*>(SkinData->Control);
  if (win && win->HandleAllocated()) {
    target = win->Handle();
    area = TRect(0, 0, win->Width(), win->Height());
  } else if (HWND h = SkinDataHandle(SkinData)) {
    RECT r{};
    GetWindowRect(h, &r);
    target = h;
    area = TRect(0, 0, r.right - r.left, r.bottom - r.top);
  }
  if (!target || t->StepCount <= 0) return false;

  if (SkinData->CacheBitmap)
    CopyBitmapRect(t, t->WorkImage, t->OldImage, GraphicRect(SkinData->CacheBitmap));
  else
    CopyBitmapRect(t, t->WorkImage, t->OldImage, area);
  t->AdvanceValue();
  const uint8_t a = t->Level();
  if (t->NewImage)
    BlendBitmapRect(t->WorkImage, t->NewImage, t->Kind == 1 ? 255 - a : a, GraphicRect(t->NewImage),
                    TPoint{0, 0});
  {
    TWindowDC dc(target, GetWindowDC(target));
    if (dc && t->WorkImage)
      BitBlt(dc.Get(), 0, 0, t->WorkImage->Width(), t->WorkImage->Height(),
             t->WorkImage->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  if (t->CurrentStep < t->StepCount) {
    if (SkinData->GlowIndex >= 0) {
      SetGlowAlpha(SkinData->GlowIndex, a);
      if (t->Kind == 0 && a < 10) {
        t->Value = 0;
        HideGlow(SkinData->GlowIndex, false);
      }
    }
    return true;
  }
  if (t->Kind == 0 && a != 0) {
    // The level did not reach 0 in the planned steps (the fade took over
    // from another one): one more step per tick until it does.
    SetGlowAlpha(SkinData->GlowIndex, a);
    --t->CurrentStep;
    FadeStep(SkinData, t->CurrentStep);
    return false;
  }
  const int kind = t->Kind;
  if (kind == 0) StopAnimation(SkinData);
  if (kind != 1) HideGlow(SkinData->GlowIndex, false);
  return false;
}

bool GlowFadeStep(TsCommonData* SkinData, int) {
  TvlThreadedTimer* t = SkinData ? SkinData->AnimTimer : nullptr;
  if (!t || !SkinData->Control || SkinData->Control->HasState(csDestroying) || t->StepCount <= 0)
    return false;
  if (t->CurrentStep >= t->StepCount) {
    const int kind = t->Kind;
    if (kind != 1) HideGlow(SkinData->GlowIndex, false);
    if (kind == 0) StopAnimation(SkinData);
    return false;
  }
  if (SkinData->GlowIndex < 0) return true;
  t->Value += t->Kind == 1 ? t->StepSize : -t->StepSize;
  SetGlowAlpha(SkinData->GlowIndex, t->Level());
  return true;
}

int ShowGlowByMask(const TRect& Rect, const std::vector<int>& MaskIndexes, int Margin,
                   uint8_t Alpha, HWND Wnd, TsCommonData* SkinData) {
  if (MaskIndexes.empty() || MaskIndexes[0] < 0) return -1;
  if (!LayeredWindowsAvailable() || !SkinData || GetCapture()) return -1;
  auto effect = std::make_unique<TvlGlowEffect>(SkinData, SkinData->SkinManager());
  effect->Margin = Margin;
  effect->MaskIndex = MaskIndexes[0];
  TvlGlowEffect* e = effect.get();
  TvlGlowEffects.push_back(std::move(effect));
  e->Show(Rect, Alpha, Wnd);
  return static_cast<int>(TvlGlowEffects.size()) - 1;
}

int ShowGlow(const TRect& Rect, const std::string& Section, const std::string& Name, int Margin,
             uint8_t Alpha, HWND Wnd, TsCommonData* SkinData) {
  if (!LayeredWindowsAvailable() || !SkinData || GetCapture()) return -1;
  TsSkinManager* manager = SkinData->SkinManager();
  const int mask = manager ? FindMaskByName(*manager, Section, Name + "0") : -1;
  if (mask < 0) return -1;
  return ShowGlowByMask(Rect, {mask}, Margin, Alpha, Wnd, SkinData);
}

void TsCommonData::ShowGlowEffect(bool KeepExisting, HWND Wnd, uint8_t Alpha, bool Animate,
                                  int Index) {
  TsSkinManager* manager = SkinManager();
  const int section = Index < 0 ? SkinIndex : Index;
  if (!manager || !manager->Effects()->AllowGlowing() || !SectionIndexValid(*manager, section) ||
      manager->Options()->NoMouseHover() || GetCapture())
    return;
  const TsGeneralData& s = manager->Sections[static_cast<size_t>(section)];
  if (s.Glow < 1) return;
  if (!Control) {
    // A window adapter's glow follows Hot at once.
    if (Wnd && Hot && (!KeepExisting || GlowIndex == -1)) {
      // A glow made before stays no longer on screen once replaced.
      HideGlow(GlowIndex, false);
      RECT r{};
      GetWindowRect(Wnd, &r);
      const TRect rect = ScreenClipBox(Wnd, POINT{r.left, r.top}, true);
      GlowIndex =
          ShowGlow(rect, SkinSection, "GLOW", s.GlowMargin, Alpha, TopParentWindow(Wnd), this);
    } else if (!Hot || (GlowIndex >= 0 && KeepExisting)) {
      HideGlow(GlowIndex, false);
    }
    return;
  }
  if (!Hot) {
    HideGlow(GlowIndex, Animate);
    return;
  }
  if (Control->ControlState() & csLButtonDown) return;
  if (KeepExisting && GlowIndex >= 0) return;
  if (!manager->Effects()->AllowAnimation()) Animate = false;
  if (Animate) Alpha = 0;
  if (GlowIndex < 0) GlowIndex = ShowControlGlow(this, s, Alpha);
  if (Animate && GlowIndex >= 0) {
    BgChanged = false;
    RepaintWithFade(this, 1, GlowFadeStep, true, false, false);
    if (AnimTimer) AnimTimer->IsGlowAnimation = 1;
  }
}

void HideGlow(int& Index, bool Animated) {
  TvlGlowEffect* e = GlowAt(Index);
  if (!e) return;
  TsCommonData* data = e->SkinData;
  if (Animated && data && ManagerAllowsAnimation(e->Manager) && !ApplicationTerminating()) {
    TvlThreadedTimer*& timer = data->AnimTimer;
    if (!timer || timer->IsGlowAnimation == 1) {
      const int startStep = EnsureAnimTimer(timer, data->Control, 1);
      if (!(timer->Enabled() && timer->Kind == 0)) {
        timer->StartAnimation(data, startStep, GlowFadeStep, 0, false);
        timer->Step();
      }
      // The step function hides the glow at the end. A fade the step ended
      // at once has hidden it already.
      return;
    }
    // Another animation runs on the control's timer: it hides the glow only
    // when it is a fade that ends with hiding; otherwise (a fade-in, or
    // nothing running) the glow would stay on screen for good.
    if (RunningFadeHidesGlow(timer)) return;
  }
  {
    TFlagScope unhooking(GlowUnhooking);
    TvlGlowEffects[static_cast<size_t>(Index)].reset();
  }
  Index = -1;
  if (data) StopAnimation(data);
}

void SetGlowAlpha(int Index, uint8_t Alpha) {
  TvlGlowEffect* e = GlowAt(Index);
  if (e && e->Form && e->Form->HandleAllocated())
    PushBitmapToLayeredWindow(e->Form->Handle(), e->Bitmap, Alpha, nullptr);
}

void ClearGlows(bool RestoreForms) {
  if (GlowUnhooking) return;
  // Held for the whole walk: a form going away can send messages that
  // reach HideGlow or ClearGlows again.
  TFlagScope unhooking(GlowUnhooking);
  for (size_t i = 0; i < TvlGlowEffects.size(); ++i) {
    std::unique_ptr<TvlGlowEffect> effect = std::move(TvlGlowEffects[i]);
    if (!effect) continue;
    if (RestoreForms) effect->DropForm(true);
    if (effect->SkinData) effect->SkinData->GlowIndex = -1;
  }
  TvlGlowEffects.clear();
}

void GlowEffectsInitialization() {
  GlowBlend = BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
}

void GlowEffectsFinalization() {
  ClearGlows(false);
  TvlGlowEffects.clear();
  TvlGlowEffects.shrink_to_fit();
}
