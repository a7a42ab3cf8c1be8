// The group box's look: the platform's frame (themed or classic) when
// unskinned; skinned, the cache built from the parent's background, the
// skin's group-box section and the caption area, and the caption area's
// hover fade.
#include <windows.h>

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cmath>

#include "skin/controls/group_box.h"
#include "skin/controls/section_params.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_text.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/pixel_primitives.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/theme_data.h"

namespace {

void FrameWith(HDC DC, const RECT& R, TColor Color) {
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color)));
  FrameRect(DC, &R, brush.Get());
}

void FillWith(HDC DC, const RECT& R, TColor Color) {
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color)));
  FillRect(DC, &R, brush.Get());
}

// The blend routines take their source rectangle with inclusive edges.
TRect Inclusive(const TRect& R) {
  return TRect(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
}

}  // namespace

void TsGroupBox::PaintTo(HDC DC) {
  if (!DC) return;
  if (Skinned())
    PaintSkinned(DC);
  else
    PaintUnskinned(DC);
}

// ---- Unskinned

void TsGroupBox::PaintUnskinned(HDC DC) {
  TSelectedObject font(DC, Font()->Handle());
  TThemeData theme(Handle(), L"BUTTON");
  if (ThemesEnabled() && theme.Defines(BP_GROUPBOX))
    PaintThemedFrame(DC);
  else
    PaintClassicFrame(DC);
  if (checkBoxVisible_) PaintStdCheckBox(DC, checkPressed_ ? 2 : checkHot_);
}

void TsGroupBox::PaintThemedFrame(HDC DC) {
  TThemeData theme(Handle(), L"BUTTON");
  const TRect cap = CaptionRect();
  RECT r{0, cap.Height() / 2, Width(), Height()};
  const std::string text = Caption();
  {
    TSavedDC saved(DC);
    // An empty caption leaves the frame whole, as the classic look does.
    if (!text.empty()) ExcludeClipRect(DC, cap.Left, cap.Top, cap.Right, cap.Bottom);
    DrawThemeBackground(theme.Get(), DC, BP_GROUPBOX, Enabled() ? GBS_NORMAL : GBS_DISABLED, &r,
                        nullptr);
  }
  if (text.empty()) return;
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, ColorToRGB(Font()->Color()));
  RECT c = *cap.AsRECT();
  DrawTextA(DC, text.c_str(), static_cast<int>(text.size()), &c,
            DrawTextBiDiModeFlags(DT_SINGLELINE | DT_CENTER));
}

void TsGroupBox::PaintClassicFrame(HDC DC) {
  SIZE sz{};
  GetTextExtentPoint32A(DC, "0", 1, &sz);
  RECT r{0, sz.cy / 2 - 1, Width(), Height()};
  if (Ctl3D()) {
    r.left += 1;
    r.top += 1;
    FrameWith(DC, r, clBtnHighlight);
    OffsetRect(&r, -1, -1);
    FrameWith(DC, r, clBtnShadow);
  } else {
    FrameWith(DC, r, clWindowFrame);
  }
  const std::string text = Caption();
  if (text.empty()) return;
  RECT c = *CaptionRect().AsRECT();
  const UINT flags = DrawTextBiDiModeFlags(DT_SINGLELINE);
  DrawTextA(DC, text.c_str(), static_cast<int>(text.size()), &c, flags | DT_CALCRECT);
  SetBkMode(DC, OPAQUE);
  SetBkColor(DC, ColorToRGB(Color()));
  SetTextColor(DC, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
  DrawTextA(DC, text.c_str(), static_cast<int>(text.size()), &c, flags);
}

void TsGroupBox::PaintStdCheckBox(HDC DC, int State) {
  RECT r = *CheckBoxRect().AsRECT();
  TThemeData theme(Handle(), L"BUTTON");
  if (ThemesEnabled() && theme.Defines(BP_CHECKBOX)) {
    const int state = (Enabled() ? State : 3) + 1 + (checked_ ? 4 : 0);
    DrawThemeBackground(theme.Get(), DC, BP_CHECKBOX, state, &r, nullptr);
    return;
  }
  UINT flags = checked_ ? DFCS_BUTTONCHECK | DFCS_CHECKED : DFCS_BUTTONCHECK | DFCS_ADJUSTRECT;
  if (!Enabled()) flags |= DFCS_INACTIVE;
  if (State == 2) flags |= DFCS_PUSHED;
  DrawFrameControl(DC, &r, DFC_BUTTON, flags);
}

// ---- Skinned

void TsGroupBox::PaintSkinned(HDC DC) {
  if (HasState(csDestroying) || (!Visible() && !HasState(csDesigning))) return;
  if (skinData_->CheckUpdating()) return;
  const bool rebuild = skinData_->CacheIncomplete || skinData_->BgChanged;
  if (skinData_->HasOwnBackground() && Parent()) {
    const TRect client = Parent()->ClientRect();
    const POINT a{Left() + 1, Top() + 1}, b{Left() + Width() - 1, Top() + Height() - 1};
    skinData_->CacheIncomplete = !PtInRect(client.AsRECT(), a) || !PtInRect(client.AsRECT(), b);
  } else {
    skinData_->CacheIncomplete = false;
  }
  if (rebuild && !PrepareCache()) return;
  const TRect all(0, 0, Width(), Height());
  CopyCacheExcludingChildren(this, skinData_, all, all, DC, false, 0, 0);
  PaintGraphicChildren(DC, this, true, TPoint(0, 0));
  RepaintChildren(this);
}

bool TsGroupBox::PrepareCache() {
  skinData_->PrepareCacheBitmap();
  BackgroundInfo bg;
  skinData_->GetParentBgInfo(bg);
  if (!bg.HasBitmap && bg.Color == clFuchsia) {
    skinData_->Updating = true;
    return false;
  }
  TBitmap* cache = skinData_->CacheBitmap;
  HDC dc = cache->Canvas()->Handle();
  const TRect cap = CaptionRect();
  if (bg.HasBitmap && bg.Bitmap)
    BitBlt(dc, 0, 0, Width(), cap.Height(), bg.Bitmap->Canvas()->Handle(), bg.OffsetX + Left(),
           bg.OffsetY + Top(), SRCCOPY);
  else
    FillWith(dc, RECT{0, 0, Width(), cap.Bottom}, bg.Color);
  // A band moved up lets the frame begin at the very top.
  const int y = captionYOffset_ < 0 ? 0 : cap.Height() / 2;
  PaintControlSection(SectionParams(skinData_), ToBackgroundView(bg), 0,
                      RECT{0, y, Width(), Height()}, POINT{Left(), Top() + y}, ArgbView(cache),
                      true);
  PaintCaptionArea(0);
  skinData_->PaintChildrenOuterEffects(this, TPoint(0, 0));
  skinData_->BgChanged = false;
  return true;
}

void TsGroupBox::PaintCaptionArea(int State) {
  if (!Caption().empty()) PaintCaption(State);
  if (checkBoxVisible_) PaintSkinnedCheckBox(State);
  if (Enabled()) return;
  const TRect r = CaptionRect();
  BackgroundInfo bg;
  skinData_->GetParentBgInfo(bg);
  TBitmap* cache = skinData_->CacheBitmap;
  if (bg.HasBitmap && bg.Bitmap) {
    TRect src = r;
    OffsetRect(src.AsRECT(), bg.OffsetX + Left(), bg.OffsetY + Top());
    BlendCopyExceptKey(cache, r.Left, r.Top, bg.Bitmap, Inclusive(src), DisabledBlendLevel,
                       clFuchsia);
  } else {
    PaintSoftRoundRect(cache, *r.AsRECT(), DisabledBlendLevel, ColorToRGB(bg.Color), 0, 0);
  }
}

UINT TsGroupBox::CaptionFormat() {
  UINT format = DT_VCENTER | DT_SINGLELINE;
  format |= captionWidth_ > 0 && captionLayout_ != clTopCenter ? DT_END_ELLIPSIS : DT_CENTER;
  if (UseRightToLeftReading()) format |= DT_RTLREADING;
  return format;
}

void TsGroupBox::PaintCaption(int State) {
  TsSkinManager* m = skinData_->SkinManager();
  TBitmap* cache = skinData_->CacheBitmap;
  const std::string text = Caption();
  const UINT format = CaptionFormat();
  const int s = (Focused() || checkHot_) ? 1 : 0;
  (void)State;
  TRect r = CaptionRect();
  const TsMargin& mg = *captionMargin_;
  const int captionSection = captionSkin_.empty() ? -1 : FindSectionIndex(m, captionSkin_);
  if (captionSection >= 0) {
    auto image = OwnObject(NewArgbBitmap(r.Width(), r.Height()));
    PaintSkinSection(captionSection, MakeBackgroundInfo(cache, 0, 0), s,
                     TRect(0, 0, r.Width(), r.Height()), TPoint(r.Left, r.Top), image.get(), m);
    TCanvas* c = image->Canvas();
    c->SetFont(Font());
    RECT t{mg.Left(), mg.Top(), r.Width() - mg.Right(), r.Height() - mg.Bottom()};
    if (skinData_->CustomFont) {
      SetBkMode(c->Handle(), TRANSPARENT);
      SetTextColor(c->Handle(), ColorToRGB(Font()->Color()));
      DrawTextA(c->Handle(), text.c_str(), static_cast<int>(text.size()), &t, format);
    } else {
      DrawSectionText(c, text.c_str(), Enabled(), t, format, captionSection, checkHot_, m);
    }
    BitBlt(cache->Canvas()->Handle(), r.Left, r.Top, r.Width(), r.Height(), c->Handle(), 0, 0,
           SRCCOPY);
    return;
  }
  int section =
      m->ConstData.Sections[checkBoxVisible_ ? kStdCheckBoxSection : kStdTransparentSection];
  const int grow = checkBoxVisible_ ? CheckBoxWidth() + 4 : 0;
  const bool rtl = UseRightToLeftAlignment();
  if (rtl)
    r.Right += grow;
  else
    r.Left -= grow;
  BackgroundInfo bg;
  skinData_->GetParentBgInfo(bg);
  if (bg.HasBitmap && bg.Bitmap) {
    if (section >= 0)
      PaintSkinSection(section, bg, s, r, TPoint(Left() + r.Left, Top() + r.Top), cache, m);
  } else {
    FillWith(cache->Canvas()->Handle(), *r.AsRECT(), bg.Color);
  }
  if (rtl)
    r.Right -= grow;
  else
    r.Left += grow;
  r.Left += mg.Left();
  r.Top += mg.Top();
  r.Right -= mg.Right();
  r.Bottom -= mg.Bottom();
  if (section < 0) section = skinData_->SkinIndex;
  section = EffectiveSectionIndex(this, section, m, checkHot_);
  TCanvas* c = cache->Canvas();
  c->SetFont(Font());
  DrawSectionText(c, text.c_str(), Enabled(), *r.AsRECT(), format, section, checkHot_, m);
}

void TsGroupBox::PaintSkinnedCheckBox(int State) {
  const int image = CheckBoxImage();
  if (image < 0) return;
  TBitmap* cache = skinData_->CacheBitmap;
  const TRect box = CheckBoxRect();
  DrawMaskStateFrame(cache, TPoint(box.Left, box.Top), State, 1,
                     skinData_->SkinManager()->ImageData(image), MakeBackgroundInfo(cache, 0, 0));
}

// ---- The hover fade of the caption area

bool TsGroupBox::CaptionFadeStep(TsCommonData* SkinData, int) {
  TvlThreadedTimer* t = SkinData ? SkinData->AnimTimer : nullptr;
  auto* box = SkinData ? dynamic_cast<TsGroupBox*>(SkinData->Control) : nullptr;
  if (!t || t->Destroying || !box || !box->HandleAllocated() || t->StepCount <= 0 || !t->OldImage ||
      !SkinData->CacheBitmap)
    return false;
  const TRect area = box->CheckArea();
  t->AdvanceValue();
  const bool last = t->CurrentStep >= t->StepCount;
  // A fade that took over from another one may start past its first step:
  // its last step shows the new look whole, whatever the sum of the steps.
  if (last && t->Kind == 1) t->Value = 255;
  if (last && t->Kind == 2) t->Value = 0;
  bool more = !last;
  if (last && t->Kind == 0 && t->Level() != 0) {
    // One more step per tick until the level reaches 0, but never more steps
    // than the fade has: then the end is forced.
    if (box->fadeRepeats_ < t->StepCount) {
      ++box->fadeRepeats_;
      --t->CurrentStep;
      more = true;
    } else {
      t->Value = 0;
    }
  }
  const uint8_t alpha = t->Level();
  CopyBitmapRect(t, t->WorkImage, t->OldImage, GraphicRect(t->OldImage));
  BlendBitmapRect(t->WorkImage, SkinData->CacheBitmap, t->Kind == 1 ? 255 - alpha : alpha,
                  Inclusive(area), TPoint(0, 0));
  {
    TWindowDC dc(box->Handle(), GetDC(box->Handle()));
    if (dc)
      BitBlt(dc.Get(), area.Left, area.Top, area.Width(), area.Height(),
             t->WorkImage->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  if (more) return true;
  if (t->Kind == 0) StopAnimation(SkinData);
  return false;
}
