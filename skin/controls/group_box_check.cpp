// The group box's caption geometry and its check box: where caption and box
// go, and the press, release and hover that toggle and repaint it.
#include <algorithm>

#include "skin/controls/group_box.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

// Mouse messages carry the point the user acted at; the cursor may already
// be elsewhere when the message is handled.
POINT PointOf(LPARAM p) {
  return POINT{static_cast<short>(LOWORD(p)), static_cast<short>(HIWORD(p))};
}

}  // namespace

// ---- Caption geometry

TCanvas* TsGroupBox::MeasureCanvas() {
  TCanvas* c = skinData_->CacheBitmap->Canvas();
  c->SetFont(Font());
  return c;
}

int TsGroupBox::CaptionTextHeight() {
  return std::max(4, MeasureCanvas()->TextHeight("W")) + 2;
}

int TsGroupBox::CaptionHeight() {
  return CaptionTextHeight() + captionYOffset_ + captionMargin_->Top() + captionMargin_->Bottom();
}

int TsGroupBox::CheckBoxImage() {
  TsSkinManager* m = skinData_->SkinManager();
  if (!m) return -1;
  const int index = m->ConstData.CheckBoxes[checked_ ? 1 : 0];
  return index >= 0 && index < m->ImageCount() ? index : -1;
}

int TsGroupBox::CheckBoxWidth() {
  if (!Skinned()) return ThemesEnabled() ? 16 : 13;
  const int i = CheckBoxImage();
  return i < 0 ? 0 : skinData_->SkinManager()->ImageData(i).FrameWidth;
}

int TsGroupBox::CheckBoxHeight() {
  if (!Skinned()) return ThemesEnabled() ? 16 : 13;
  const int i = CheckBoxImage();
  return i < 0 ? 0 : skinData_->SkinManager()->ImageData(i).FrameHeight;
}

TRect TsGroupBox::CaptionRect() {
  TRect r;
  r.Top = std::min(0, captionYOffset_);
  r.Bottom = CaptionHeight();
  const int ml = captionMargin_->Left(), mr = captionMargin_->Right(), m = ml + mr;
  const bool rtl = UseRightToLeftAlignment();
  const bool nearSide =
      (captionLayout_ == clTopLeft && !rtl) || (captionLayout_ == clTopRight && rtl);
  const int w = Width();
  if (captionWidth_ > 0) {
    const int cw = captionWidth_;
    if (captionLayout_ == clTopCenter)
      r.Left = (w - cw - 6) / 2;
    else if (nearSide)
      r.Left = ml + 6;
    else
      r.Left = w - cw - mr - 6;
    r.Left = std::max(0, r.Left);
    r.Right = std::min(r.Left + cw + ml, w);
  } else {
    const std::string text = Caption();
    const int t = text.empty() ? 0 : MeasureCanvas()->TextWidth(text);
    if (captionLayout_ == clTopCenter)
      r.Left = (w - t - m - 6) / 2;
    else if (nearSide)
      r.Left = 6;
    else
      r.Left = w - t - 2 * m - 6;
    r.Left = std::max(0, r.Left);
    r.Right = std::min(r.Left + t + 2 * m, w);
  }
  const int bevel = BevelWidth();
  if (r.Width() < 2 * bevel) {
    r.Left -= bevel;
    r.Right += bevel;
  }
  if (checkBoxVisible_) {
    const int shift = CheckBoxWidth() + 2;
    if (captionLayout_ == clTopLeft && !rtl) OffsetRect(r.AsRECT(), shift, 0);
    if (captionLayout_ == clTopRight && rtl) OffsetRect(r.AsRECT(), -shift, 0);
  }
  return r;
}

TRect TsGroupBox::CheckBoxRect() {
  if (!checkBoxVisible_) return TRect();
  const TRect c = CaptionRect();
  const int cw = CheckBoxWidth(), ch = CheckBoxHeight();
  TRect r;
  r.Top = std::max(0, (c.Height() - ch) / 2);
  r.Bottom = r.Top + ch;
  if (!UseRightToLeftAlignment()) {
    r.Right = c.Left - 2;
    r.Left = r.Right - cw;
  } else {
    r.Left = c.Right + 2;
    r.Right = r.Left + cw;
  }
  return r;
}

TRect TsGroupBox::CheckArea() {
  const TRect caption = CaptionRect();
  if (!checkBoxVisible_) return caption;
  const TRect box = CheckBoxRect();
  RECT u{};
  UnionRect(&u, caption.AsRECT(), box.AsRECT());
  return TRect(u.left, u.top, u.right, u.bottom);
}

bool TsGroupBox::InCheckArea(LPARAM Point) {
  if (HasState(csDesigning)) return false;
  const POINT p = PointOf(Point);
  return PtInRect(CheckBoxRect().AsRECT(), p) || PtInRect(CaptionRect().AsRECT(), p);
}

// ---- The check box

void TsGroupBox::FilterCheckBoxMessage(const TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      if (!checkBoxVisible_) return;
      const int hot = InCheckArea(m.LParam) ? 1 : 0;
      if (hot == checkHot_) return;
      checkHot_ = hot;
      RepaintCheckArea(hot, true);
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!checkBoxVisible_ || !Enabled() || !InCheckArea(m.LParam)) return;
      checkPressed_ = true;
      RepaintCheckArea(2, false);
      return;
    case WM_LBUTTONUP:
      if (!checkPressed_) return;
      if (InCheckArea(m.LParam)) SetChecked(!checked_);
      checkPressed_ = false;
      RepaintCheckArea(1, false);
      return;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
      if (!checkHot_) return;
      checkHot_ = 0;
      RepaintCheckArea(0, true);
      return;
    case SkinCommandMessage:
      if (SkinCmdCode(m.WParam) != SkinCmdMouseLeave || !checkHot_) return;
      checkHot_ = 0;
      RepaintCheckArea(0, false);
      return;
    default:
      return;
  }
}

void TsGroupBox::RepaintCheckArea(int State, bool Animated) {
  if (!HandleAllocated() || HasState(csDestroying)) return;
  if (!Skinned()) {
    Invalidate();
    return;
  }
  TsSkinManager* manager = skinData_->SkinManager();
  const TRect area = CheckArea();
  TBitmap* cache = skinData_->CacheBitmap;
  if (Animated && State != 2 && manager && manager->Effects()->AllowAnimation() &&
      !skinData_->BgChanged) {
    // Entering fades in, leaving fades out; both blend from the old look.
    const int kind = State == 1 ? 1 : 0;
    const int startStep = EnsureAnimTimer(skinData_->AnimTimer, this, kind);
    TvlThreadedTimer* t = skinData_->AnimTimer;
    if (t->Enabled() && t->Kind == kind && t->Callback == CaptionFadeStep) return;
    CopyBitmapRect(t, t->OldImage, cache, area);
    PaintCaptionArea(State);
    fadeRepeats_ = 0;
    t->StartAnimation(skinData_, startStep, CaptionFadeStep, kind, false);
    return;
  }
  StopAnimation(skinData_);
  if (skinData_->BgChanged) {
    skinData_->Invalidate();
    return;
  }
  PaintCaptionArea(State);
  TWindowDC dc(Handle(), GetDC(Handle()));
  if (dc)
    BitBlt(dc.Get(), area.Left, area.Top, area.Width(), area.Height(), cache->Canvas()->Handle(),
           area.Left, area.Top, SRCCOPY);
}
