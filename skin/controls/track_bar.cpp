// The track bar's object, properties and message handling.
#include "skin/controls/track_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/engine/common_messages.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/forms/forms.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

int PointX(LPARAM p) {
  return static_cast<short>(LOWORD(p));
}

int PointY(LPARAM p) {
  return static_cast<short>(HIWORD(p));
}

}  // namespace

const TClassInfo& TsTrackBar::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsTrackBar> b("TsTrackBar", &TTrackBar::StaticClass());
    b.Creatable();
    b.Int(
        "ThumbLength", [](const TsTrackBar& c) { return c.TTrackBar::ThumbLength(); },
        [](TsTrackBar& c, int v) { c.SetThumbLength(v); }, 23);
    b.Set(
        "AnimatEvents", AnimatEventInfo(), [](const TsTrackBar& c) { return c.AnimatEvents(); },
        [](TsTrackBar& c, int v) { c.SetAnimatEvents(static_cast<TvlAnimatEvents>(v)); },
        1 << aeGlobalDef);
    b.Set(
        "DisabledKind", DisabledKindInfo(), [](const TsTrackBar& c) { return c.DisabledKind(); },
        [](TsTrackBar& c, int v) { c.SetDisabledKind(static_cast<TsDisabledKind>(v)); }, dkBlended);
    b.Bool(
        "Reversed", [](const TsTrackBar& c) { return c.Reversed(); },
        [](TsTrackBar& c, int v) { c.SetReversed(v != 0); }, false);
    b.Bool(
        "ShowFocus", [](const TsTrackBar& c) { return c.ShowFocus(); },
        [](TsTrackBar& c, int v) { c.SetShowFocus(v != 0); }, false);
    b.Bool(
        "ShowProgress", [](const TsTrackBar& c) { return c.ShowProgress(); },
        [](TsTrackBar& c, int v) { c.SetShowProgress(v != 0); }, false);
    b.Int(
        "ShowProgressFrom", [](const TsTrackBar& c) { return c.ShowProgressFrom(); },
        [](TsTrackBar& c, int v) { c.SetShowProgressFrom(v); }, 0);
    // No default: always stored.
    b.Int(
        "BarOffsetH", [](const TsTrackBar& c) { return c.BarOffsetH(); },
        [](TsTrackBar& c, int v) { c.SetBarOffsetH(v); });
    b.Int(
        "BarOffsetV", [](const TsTrackBar& c) { return c.BarOffsetV(); },
        [](TsTrackBar& c, int v) { c.SetBarOffsetV(v); });
    b.Event<&TsTrackBar::OnUserChange>("OnUserChange");
    b.Event<&TsTrackBar::OnUserChanged>("OnUserChanged");
    b.Event<&TsTrackBar::OnSkinPaint>("OnSkinPaint");
    return b.Done();
  }();
  return info;
}

TsTrackBar::TsTrackBar(TComponent* AOwner) : TTrackBar(AOwner) {
  skinData_ = New<TsCommonData>(this, true);
  skinData_->ControlKind = ckTrackBar;
  thumbGlyph_ = New<TBitmap>();
  controlStyle_ &= ~csOpaque;
  SetThumbLength(23);
}

TsTrackBar::~TsTrackBar() {
  hints_.Restore();
  TObject::Free(thumbGlyph_);
  TObject::Free(skinData_);
}

void TsTrackBar::AfterConstruction() {
  TTrackBar::AfterConstruction();
  skinData_->Loaded(true);
  UpdateSliderMasks(skinData_->SkinIndex);
}

void TsTrackBar::Loaded() {
  TTrackBar::Loaded();
  skinData_->Loaded(true);
  UpdateSliderMasks(skinData_->SkinIndex);
}

void TsTrackBar::CreateParams(TCreateParams& Params) {
  TTrackBar::CreateParams(Params);
  // A re-created window keeps the reading direction.
  if (reversed_) Params.Style |= TBS_REVERSED | TBS_DOWNISLEFT;
}

void TsTrackBar::CreateWnd() {
  TTrackBar::CreateWnd();
  SetDoubleBuffered(false);
}

void TsTrackBar::DestroyWnd() {
  hints_.Restore();
  TTrackBar::DestroyWnd();
}

void TsTrackBar::ChangeScale(int M, int D) {
  TTrackBar::ChangeScale(M, D);
  SetThumbLength(MulDiv(TTrackBar::ThumbLength(), M, D));
}

void TsTrackBar::SetReversed(bool v) {
  if (reversed_ == v) return;
  reversed_ = v;
  if (!HandleAllocated()) return;
  LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
  style =
      v ? style | TBS_REVERSED | TBS_DOWNISLEFT : style & ~LONG_PTR(TBS_REVERSED | TBS_DOWNISLEFT);
  SetWindowLongPtrA(Handle(), GWL_STYLE, style);
  Repaint();
}

void TsTrackBar::SetShowProgress(bool v) {
  if (showProgress_ == v) return;
  showProgress_ = v;
  if (Skinned() && !HasState(csLoading)) skinData_->Invalidate();
}

void TsTrackBar::SetShowProgressFrom(int v) {
  v = std::max(Min(), std::min(Max(), v));
  if (showProgressFrom_ == v) return;
  showProgressFrom_ = v;
  if (Skinned() && !HasState(csLoading)) skinData_->Invalidate();
}

void TsTrackBar::SetThumbGlyph(TBitmap* v) {
  thumbGlyph_->Assign(v);
  if (Skinned() && !HasState(csLoading)) skinData_->Invalidate();
}

void TsTrackBar::SetBarOffsetH(int v) {
  if (barOffsetH_ == v) return;
  barOffsetH_ = v;
  Repaint();
}

void TsTrackBar::SetBarOffsetV(int v) {
  if (barOffsetV_ == v) return;
  barOffsetV_ = v;
  Repaint();
}

void TsTrackBar::SetDisabledKind(TsDisabledKind v) {
  if (disabledKind_ == v) return;
  disabledKind_ = v;
  skinData_->Invalidate();
}

TRect TsTrackBar::ThumbRect() {
  RECT r{};
  if (HandleAllocated()) SendMessageA(Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  OffsetRect(&r, barOffsetH_, barOffsetV_);
  return TRect(r.left, r.top, r.right, r.bottom);
}

TRect TsTrackBar::ChannelRect() {
  RECT r{};
  if (HandleAllocated())
    SendMessageA(Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
  // Some platforms answer a vertical bar in horizontal terms, others (Wine)
  // already in vertical form: turn it only when it lies across.
  if (Vertical() && r.right - r.left > r.bottom - r.top) {
    std::swap(r.left, r.top);
    std::swap(r.right, r.bottom);
  }
  OffsetRect(&r, barOffsetH_, barOffsetV_);
  return TRect(r.left, r.top, r.right, r.bottom);
}

int TsTrackBar::ThumbState() {
  return ThumbStateFrom(skinData_->CurrentState());
}

int TsTrackBar::ThumbStateFrom(int State) const {
  return (ControlState() & csLButtonDown) ? 2 : State;
}

void TsTrackBar::DoUserChange(bool Final) {
  if (OnUserChange) OnUserChange(this);
  if (Final && OnUserChanged) OnUserChanged(this);
}

void TsTrackBar::UpdateSliderMasks(int SectionIndex) {
  tickMask_ = progressMask_ = channelMask_ = thumbMask_ = -1;
  TsSkinManager* m = skinData_->SkinManager();
  if (SectionIndex < 0 || !m) return;
  const TvlSliderData& cached = m->ConstData.Sliders[Vertical() ? 0 : 1];
  if (SectionIndex == cached.Section) {
    tickMask_ = cached.TickGlyph;
    progressMask_ = cached.ProgressGlyph;
    channelMask_ = cached.Channel;
    thumbMask_ = cached.SliderMask;
    return;
  }
  tickMask_ = FindMaskIndex(*m, SectionIndex, Vertical() ? "TICKVERT" : "TICKHORZ");
  progressMask_ = FindMaskIndex(*m, SectionIndex, Vertical() ? "PROGVERT" : "PROGHORZ");
  channelMask_ = FindMaskIndex(*m, SectionIndex, "SLIDERCHANNEL");
  thumbMask_ = Vertical() ? FindMaskIndex(*m, SectionIndex, "SLIDERVMASK") : -1;
  if (thumbMask_ < 0) thumbMask_ = FindMaskIndex(*m, SectionIndex, "SLIDERMASK");
}

// ---- Messages

void TsTrackBar::MirrorMouseMessage(TMessage& m) {
  const int x = PointX(m.LParam), y = PointY(m.LParam);
  TMessage mirrored = m;
  mirrored.LParam = Vertical() ? MAKELPARAM(x, Height() - y) : MAKELPARAM(Width() - x, y);
  DefaultHandler(mirrored);
  m.Result = mirrored.Result;
  // The events carry the point the user saw, in client coordinates.
  if (m.Msg == WM_LBUTTONDOWN && OnMouseDown) OnMouseDown(this, mbLeft, KeyboardShiftState(), x, y);
  if (m.Msg == WM_LBUTTONUP && OnMouseUp) OnMouseUp(this, mbLeft, KeyboardShiftState(), x, y);
  if (m.Msg == WM_MOUSEMOVE && OnMouseMove) OnMouseMove(this, KeyboardShiftState(), x, y);
}

void TsTrackBar::FadeThumb(TvlAnimatEvent Event, bool Pressed) {
  TControlState s = ControlState();
  SetControlState(Pressed ? s | csLButtonDown : s & ~csLButtonDown);
  RepaintWithFade(skinData_, 2, FadeStep,
                  IsAnimatedEvent(Event, animatEvents_, skinData_->SkinManager()), false, false);
}

// The library's commands; true when the message is done with.
bool TsTrackBar::HandleSkinMessage(TMessage& m) {
  TsSkinManager* manager = skinData_->SkinManager();
  const bool own = manager && m.LParam == reinterpret_cast<LPARAM>(manager);
  switch (SkinCmdCode(m.WParam)) {
    case SkinCmdNewSkin:
    case SkinCmdRefresh:
      if (!own) break;
      HandleSkinCommand(m, skinData_);
      UpdateSliderMasks(skinData_->SkinIndex);
      if (SkinCmdCode(m.WParam) == SkinCmdRefresh) Repaint();
      return true;
    case SkinCmdRemoveSkin:
      if (!own) break;
      HandleSkinCommand(m, skinData_);
      UpdateSliderMasks(-1);
      RecreateWnd();
      return true;
    case SkinCmdResumePaint:
      if (skinData_->IsUpdating()) {
        skinData_->Updating = false;
        Repaint();
      }
      return true;
    case SkinCmdIsSkinned:
      m.Result = 1;
      return true;
    case SkinCmdGetDefaultSection: {
      const int index = manager ? manager->ConstData.Sliders[Vertical() ? 0 : 1].Section : -1;
      m.Result = manager ? index + 1 : 0;
      UpdateSliderMasks(index);
      return true;
    }
    case SkinCmdPrepareCache:
      PrepareCache();
      return true;
    case SkinCmdRefreshFace: {
      auto* bmp = reinterpret_cast<TBitmap*>(m.LParam);
      m.Result = 0;
      if (!bmp || !HandleAllocated()) return true;
      TWindowDC dc(Handle(), GetWindowDC(Handle()));
      // The face lies inside the border band (window coordinates).
      BitBlt(dc.Get(), BorderWidth(), BorderWidth(), Width(), Height(), bmp->Canvas()->Handle(), 0,
             0, SRCCOPY);
      m.Result = 1;
      return true;
    }
    case SkinCmdGetSkinData:
      m.Result = reinterpret_cast<LRESULT>(skinData_);
      return true;
    default:
      break;
  }
  return HandleSkinCommand(m, skinData_);
}

void TsTrackBar::SkinnedButton(const TMessage& m) {
  if (m.Msg == WM_LBUTTONUP) {
    hints_.Restore();
    if (ControlState() & csLButtonDown)
      FadeThumb(aeMouseUp, false);
    else
      StopAnimation(skinData_);
    return;
  }
  if (!Enabled() || HasState(csDesigning)) return;
  hints_.Suspend();
  const RECT thumb = ThumbRect();
  if (PtInRect(&thumb, POINT{PointX(m.LParam), PointY(m.LParam)}))
    FadeThumb(aeMouseDown, true);
  else
    StopAnimation(skinData_);
}

void TsTrackBar::HandleSkinnedMessage(TMessage& m) {
  const bool designing = HasState(csDesigning);
  switch (m.Msg) {
    case WM_SIZE:
      StopAnimation(skinData_);
      break;
    case WM_SETFOCUS:
    case CM_ENTER:
      if (designing) break;
      TTrackBar::WndProc(m);
      HandleControlMessage(m, skinData_);
      if (Enabled() && !skinData_->AnimationRunning()) Repaint();
      return;
    case WM_KILLFOCUS:
    case CM_EXIT:
      if (designing) break;
      TTrackBar::WndProc(m);
      HandleControlMessage(m, skinData_);
      if (Enabled()) StopAnimation(skinData_);
      return;
    case WM_PAINT:
      if (skinData_->AnimationRunning()) {
        PAINTSTRUCT ps;
        BeginPaint(Handle(), &ps);
        EndPaint(Handle(), &ps);
        return;
      }
      SetControlState(ControlState() | csCustomPaint);
      break;
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      SkinnedButton(m);
      break;
    case WM_PRINT:
      skinData_->Updating = false;
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      return;
    case CN_HSCROLL:
    case CN_VSCROLL:
      StopAnimation(skinData_);
      PaintWindow(nullptr);
      break;
    default:
      break;
  }
  if (HandleControlMessage(m, skinData_)) return;
  TTrackBar::WndProc(m);
  if (m.Msg == WM_PAINT) SetControlState(ControlState() & ~csCustomPaint);
  if (m.Msg == TBM_SETPOS) Repaint();
}

void TsTrackBar::WndProc(TMessage& m) {
  const bool designing = HasState(csDesigning);
  if (m.Msg == WM_CAPTURECHANGED || m.Msg == WM_CANCELMODE || m.Msg == WM_DESTROY) hints_.Restore();
  if (m.Msg == WM_PAINT && !Skinned()) {
    // The face is the library's own: the common control never paints.
    SetControlState(ControlState() | csCustomPaint);
    try {
      TTrackBar::WndProc(m);
    } catch (...) {
      SetControlState(ControlState() & ~csCustomPaint);
      throw;
    }
    SetControlState(ControlState() & ~csCustomPaint);
    return;
  }
  if (reversed_ && !designing) {
    // The common control does not reverse by itself: input is mirrored here.
    switch (m.Msg) {
      case WM_NCHITTEST:
        m.Result = HTCLIENT;
        return;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_LBUTTONDBLCLK:
        if (Skinned() && ControlIsReady(this)) SkinnedButton(m);
        MirrorMouseMessage(m);
        return;
      case WM_MOUSEMOVE:
        MirrorMouseMessage(m);
        return;
      default:
        break;
    }
  }
  if (m.Msg == TBM_GETTHUMBRECT) {
    TTrackBar::WndProc(m);
    auto* r = reinterpret_cast<RECT*>(m.LParam);
    if (reversed_ && r) {
      if (Vertical()) {
        const int h = r->bottom - r->top;
        r->top = Height() - h - r->top;
        r->bottom = r->top + h;
      } else {
        const int w = r->right - r->left;
        r->left = Width() - w - r->left;
        r->right = r->left + w;
      }
    }
    return;
  }
  if (m.Msg == SkinCommandMessage) {
    if (HandleSkinMessage(m)) return;
  }
  if ((m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) && !designing &&
      !(ControlState() & csLButtonDown)) {
    const bool entering = m.Msg == CM_MOUSEENTER;
    skinData_->Hot = entering;
    if (!Skinned()) {
      if (HandleAllocated())
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
    } else {
      RepaintWithFade(skinData_, 2, FadeStep,
                      IsAnimatedEvent(entering ? aeMouseEnter : aeMouseLeave, animatEvents_,
                                      skinData_->SkinManager()),
                      false, true);
    }
  }
  const bool scroll = m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL;
  if (ControlIsReady(this) && Skinned()) {
    HandleSkinnedMessage(m);
  } else {
    if (m.Msg == WM_NCCREATE || m.Msg == WM_CREATE) RegisterSkinData(skinData_);
    TTrackBar::WndProc(m);
    // A skin that arrived while the bar had no window (the broadcast stops
    // at windowless parents) is taken when the bar is shown.
    if (m.Msg == CM_SHOWINGCHANGED && Showing()) {
      HandleControlMessage(m, skinData_);
      UpdateSliderMasks(skinData_->SkinIndex);
    }
  }
  if (scroll && !inUserChange_) {
    inUserChange_ = true;
    try {
      DoUserChange(LOWORD(m.WParam) < TB_THUMBTRACK);
    } catch (...) {
      inUserChange_ = false;
      throw;
    }
    inUserChange_ = false;
  }
}
