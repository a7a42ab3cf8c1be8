// The combo box's look: the skinned cache (face, the item of the edit part,
// the drop-down button), its copy to the window, the hover fade's steps, and
// the items of the list and the edit part, skinned and plain.
#include <algorithm>
#include <cmath>

#include "skin/controls/combo_box.h"
#include "skin/controls/section_params.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_text.h"
#include "skin/engine/glow_effects.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/skin_commands.h"
#include "skin/foundation/text_paint.h"
#include "skin/foundation/vl_geometry.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

// Points a canvas at another DC for one drawing and gives it back the DC
// it had, however the drawing ends.
class TCanvasLend {
 public:
  TCanvasLend(TCanvas* Canvas, HDC DC)
      : canvas_(Canvas), previous_(Canvas->HandleAllocated() ? Canvas->Handle() : nullptr) {
    canvas_->Lock();
    canvas_->SetHandle(DC);
  }
  ~TCanvasLend() {
    canvas_->SetHandle(previous_);
    canvas_->Unlock();
  }
  TCanvasLend(const TCanvasLend&) = delete;
  TCanvasLend& operator=(const TCanvasLend&) = delete;

 private:
  TCanvas* canvas_;
  HDC previous_;
};

bool ValidIndex(int Index, int Count) {
  return Index >= 0 && Index < Count;
}

uint8_t LevelOf(double Value) {
  return static_cast<uint8_t>(std::clamp(std::nearbyint(Value), 0.0, 255.0));
}

}  // namespace

// ---- The cache and its copy to the window

void TsCustomComboBox::PrepareCache() {
  skinData_->PrepareCacheBitmap();
  TBitmap* cache = skinData_->CacheBitmap;
  if (!cache) return;
  const bool buttonLike = IsButtonStyle();
  int s = 0;
  if (listShown_ && buttonLike)
    s = 2;
  else if (skinData_->CurrentState() != 0 || (buttonLike && skinData_->Hot))
    s = 1;
  int h = Height();
  if (Style() == csSimple) {
    h = GetItemHeight() + 8;
    cache->SetHeight(h);
  }
  BackgroundInfo bg;
  skinData_->GetParentBgInfo(bg);
  PaintControlSection(SectionParams(skinData_), ToBackgroundView(bg), s, RECT{0, 0, Width(), h},
                      POINT{Left(), Top()}, ArgbView(cache), true);
  if (Style() != csSimple) {
    const TRect b = ButtonRect();
    const TRect r = UseRightToLeftAlignment() ? TRect(b.Right + 2, 3, Width() - 3, h - 3)
                                              : TRect(3, 3, b.Left - 2, h - 3);
    TOwnerDrawState state = odComboBoxEdit;
    if ((Focused() || skinData_->Focused) && (Style() == csDropDownList || OwnerDrawStyle()))
      state |= odFocused | odSelected;
    {
      TCanvasLend lend(Canvas(), cache->Canvas()->Handle());
      DrawItem(ItemIndex(), r, state);
    }
    if (showButton_) PaintButton();
  }
  if (!Enabled())
    ApplyDisabledLook(cache, disabledKind_, GetControlBgColor(Parent()), bg, TPoint(Left(), Top()));
  skinData_->BgChanged = false;
}

void TsCustomComboBox::PaintControl(HDC DC) {
  if (!Showing() || !HandleAllocated()) return;
  TWindowDC own;
  if (!DC) {
    own = TWindowDC(Handle(), GetDC(Handle()));
    DC = own.Get();
  }
  if (!DC || skinData_->CheckUpdating(false)) return;
  if (GlobalAnimationActive && skinData_->PrintDC && DC != skinData_->PrintDC) return;
  if (skinData_->AnimationRunning()) return;
  const bool parentIncomplete =
      Parent() && PerformSkinQuery(Parent(), SkinCmdIsCacheIncomplete) != 0;
  skinData_->BgChanged =
      skinData_->BgChanged || skinData_->CacheIncomplete || parentIncomplete || HasOwnerDrawEvent();
  skinData_->CacheIncomplete = Parent() && !RectInRect(Parent()->ClientRect(), BoundsRect(), true);
  if (skinData_->BgChanged) PrepareCache();
  RestoreTransparentCorners(
      skinData_, 0, kCornerTopLeft | kCornerBottomLeft | kCornerTopRight | kCornerBottomRight);
  TBitmap* cache = skinData_->CacheBitmap;
  if (!cache) return;
  const HDC src = cache->Canvas()->Handle();
  const int h = cache->Height();
  switch (Style()) {
    case csDropDown:
      if (Focused()) {
        // The edit child shows the text: only the frame and the button.
        BlitBorderFrame(DC, 0, 0, Width(), h, src, 0, 0, 3);
        const TRect b = ButtonRect();
        BitBlt(DC, b.Left - 2, b.Top, b.Width() + 2, b.Height(), src, b.Left - 2, b.Top, SRCCOPY);
      } else {
        BitBlt(DC, 0, 0, Width(), h, src, 0, 0, SRCCOPY);
      }
      break;
    case csSimple:
      BlitBorderFrame(DC, 0, 0, Width(), h, src, 0, 0, 3);
      break;
    default:
      BitBlt(DC, 0, 0, Width(), Height(), src, 0, 0, SRCCOPY);
      break;
  }
}

void TsCustomComboBox::PaintArrow(TColor Color, const TRect& R) {
  DrawArrowArgb(ArgbView(skinData_->CacheBitmap), static_cast<uint32_t>(ColorToRGB(Color)), R,
                kArrowDown);
}

void TsCustomComboBox::PaintButton() {
  TsSkinManager* m = skinData_->SkinManager();
  TBitmap* cache = skinData_->CacheBitmap;
  if (!m || !cache) return;
  const bool buttonLike = IsButtonStyle();
  int b = 0;
  if (listShown_)
    b = 2;
  else if (buttonState_ == 1 || (buttonLike && (skinData_->Hot || skinData_->Focused)))
    b = 1;
  const TRect r = ButtonRect();
  const bool own = SectionIndexValid(m, skinData_->SkinIndex);
  const bool ownFont = own && m->Sections[static_cast<size_t>(skinData_->SkinIndex)].GiveOwnFont;
  const bool glyph = MaskIndexValid(*m, glyphIndex_);
  const int state = std::min(b, 2);
  if (!buttonLike) {
    const TvlConstElementData& btn = m->ConstData.ComboButton;
    const bool hasButton = SectionIndexValid(m, btn.Section);
    if (hasButton) {
      auto copy = OwnObject(NewBitmapLike(cache));
      BitBlt(copy->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(),
             cache->Canvas()->Handle(), 0, 0, SRCCOPY);
      PaintSkinSection(btn.Section, MakeBackgroundInfo(copy.get(), 0, 0), b, r,
                       TPoint(r.Left, r.Top), cache, m, btn.Pattern, btn.HotPattern);
    }
    if (ownFont || !glyph) {
      PaintArrow(hasButton ? m->Sections[static_cast<size_t>(btn.Section)].Props[state].FontColor
                           : clWindowText,
                 r);
      return;
    }
  } else if (ownFont || !glyph) {
    PaintArrow(own ? m->Sections[static_cast<size_t>(skinData_->SkinIndex)].Props[state].FontColor
                   : clWindowText,
               r);
    return;
  }
  const TsMaskData& mask = m->Masks[static_cast<size_t>(glyphIndex_)];
  DrawMaskStateFrame(
      cache, TPoint(r.Left + (r.Width() - mask.FrameWidth) / 2, (Height() - GlyphHeight()) / 2), b,
      1, mask, MakeBackgroundInfo(cache, 0, 0));
}

// ---- Items

int TsCustomComboBox::SectionFontColorState(int State) const {
  return std::clamp(State, 0, 2);
}

TColor TsCustomComboBox::ItemFontColor(TOwnerDrawState State, bool IsEdit, bool ButtonLike, int K) {
  TsSkinManager* m = skinData_->SkinManager();
  if ((State & odSelected) && !ButtonLike) return m->GetHighlightFontColor(true);
  if (skinData_->CustomFont) return Font()->Color();
  if (!IsEdit) return m->GetEditFontColor();
  return m->Sections[static_cast<size_t>(skinData_->SkinIndex)]
      .Props[SectionFontColorState(K)]
      .FontColor;
}

void TsCustomComboBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (Skinned())
    DrawItemSkinned(Index, Rect, State);
  else
    DrawItemPlain(Index, Rect, State);
}

void TsCustomComboBox::DrawItemSkinned(int Index, const TRect& Rect, TOwnerDrawState State) {
  TsSkinManager* m = skinData_->SkinManager();
  const TsGeneralData& section = m->Sections[static_cast<size_t>(skinData_->SkinIndex)];
  // No selection (the port list starts so) is an empty item, not an error.
  const std::string text = ValidIndex(Index, Items()->Count()) ? Items()->Strings(Index) : "";
  auto work = OwnObject(NewArgbBitmapForRect(Rect));
  if (work->Empty()) return;
  TCanvas* wc = work->Canvas();
  wc->SetFont(Font());
  const bool isEdit = (State & odComboBoxEdit) != 0;
  const bool buttonLike = IsButtonStyle() && isEdit;
  TBitmap* cache = skinData_->CacheBitmap;
  const bool fromCache = isEdit && cache && !cache->Empty();
  BackgroundInfo bg;
  int k = 0;
  if (isEdit) {
    if (fromCache) bg = MakeBackgroundInfo(cache, 0, 0);
    k = skinData_->CurrentState() != 0 || Focused() || (buttonLike && skinData_->Hot) ? 1 : 0;
  }
  if (!fromCache) bg.Color = Color();
  const TRect whole(0, 0, Rect.Width(), Rect.Height());
  int sel = -1;
  if ((State & odSelected) && !buttonLike) {
    sel = FindSectionIndex(m, "SELECTION");
    const TColor highlight = m->GetHighlightColor(true);
    Canvas()->Brush()->SetColor(highlight);
    if (sel < 0)
      FillRectArgb(work.get(), whole, highlight, 255);
    else
      PaintSkinSection(sel, bg, 1, whole, TPoint(Rect.Left, Rect.Top), work.get(), m);
    wc->Font()->SetColor(m->GetHighlightFontColor(true));
  } else {
    TColor c = m->GetEditColor();
    if (skinData_->CustomColor)
      c = Color();
    else if (isEdit)
      c = section.Props[static_cast<size_t>(k)].Color;
    if (fromCache)
      BitBlt(wc->Handle(), 0, 0, whole.Right, whole.Bottom, cache->Canvas()->Handle(), Rect.Left,
             Rect.Top, SRCCOPY);
    else
      FillRectArgb(work.get(), whole, c, 255);
    wc->Font()->SetColor(ItemFontColor(State, isEdit, buttonLike, k));
    Canvas()->Brush()->SetColor(c);
  }
  if (!HasOwnerDrawEvent()) {
    const UINT format = ComboItemFormat(alignment_, verticalAlignment_, UseRightToLeftAlignment(),
                                        UseRightToLeftReading());
    const HDC dc = wc->Handle();
    if (Style() == csDropDown && isEdit) {
      SetBkMode(dc, TRANSPARENT);
      wc->Font()->SetColor(skinData_->CustomFont
                               ? Font()->Color()
                               : TColor(section.Props[static_cast<size_t>(k)].FontColor));
      RECT r = whole;
      DrawTextCapped(wc->Handle(), Text(), r, format);
    } else {
      RECT r{2, 0, whole.Right - 2, whole.Bottom};
      if (sel < 0) {
        wc->Font()->SetColor(ItemFontColor(State, isEdit, buttonLike, k));
        SetBkMode(wc->Handle(), TRANSPARENT);
        DrawTextCapped(wc->Handle(), text, r, format);
      } else {
        DrawSectionText(wc, text.c_str(), true, r, format, sel,
                        (State & odSelected) || k > 0 ? 1 : 0, m);
      }
      if ((State & odFocused) && sel < 0 && !IsButtonStyle()) {
        wc->Brush()->SetStyle(bsSolid);
        wc->DrawFocusRect(whole);
      }
    }
  }
  if (HasOwnerDrawEvent() && ValidIndex(Index, Items()->Count())) {
    TCanvasLend lend(Canvas(), wc->Handle());
    TSavedDC saved(wc->Handle());
    SetViewportOrgEx(wc->Handle(), -Rect.Left, -Rect.Top, nullptr);
    OnDrawItem(this, Index, Rect, State);
  }
  BitBlt(Canvas()->Handle(), Rect.Left, Rect.Top, whole.Right, whole.Bottom, wc->Handle(), 0, 0,
         SRCCOPY);
}

void TsCustomComboBox::DrawItemPlain(int Index, TRect Rect, TOwnerDrawState State) {
  TCanvas* c = Canvas();
  c->SetFont(Font());
  if (State & odSelected) {
    c->Brush()->SetColor(clHighlight);
    c->FillRect(Rect);
    c->Font()->SetColor(clHighlightText);
  } else {
    c->Brush()->SetColor(Color());
    c->FillRect(Rect);
    c->Font()->SetColor(Font()->Color());
  }
  if (!ValidIndex(Index, Items()->Count())) return;
  Rect.Left += 2;
  Rect.Right -= 2;
  if (HasOwnerDrawEvent()) {
    OnDrawItem(this, Index, Rect, State);
  } else {
    UINT format = DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_NOPREFIX;
    if (alignment_ == taRightJustify) format |= DT_RIGHT;
    if (alignment_ == taCenter) format |= DT_CENTER;
    const std::string text = Items()->Strings(Index);
    c->Brush()->SetStyle(bsClear);
    RECT r = Rect;
    DrawTextCapped(c->Handle(), text, r, format);
  }
  if (State & odFocused) {
    Rect.Left -= 2;
    Rect.Right += 2;
    c->Brush()->SetStyle(bsSolid);
    c->DrawFocusRect(Rect);
  }
}

// ---- The hover fade

bool TsCustomComboBox::FadeStep(TsCommonData* SkinData, int) {
  auto* combo = SkinData ? dynamic_cast<TsCustomComboBox*>(SkinData->Control) : nullptr;
  TvlThreadedTimer* t = SkinData ? SkinData->AnimTimer : nullptr;
  if (!combo || !combo->HandleAllocated() || !t || t->StepCount <= 0) return false;
  TBitmap* cache = SkinData->CacheBitmap;
  const TRect area =
      cache && !cache->Empty() ? GraphicRect(cache) : TRect(0, 0, combo->Width(), combo->Height());
  const int kind = t->Kind;
  const auto draw = [&] {
    CopyBitmapRect(t, t->WorkImage, t->OldImage, area);
    if (t->NewImage && t->WorkImage)
      BlendBitmapRect(t->WorkImage, t->NewImage,
                      static_cast<uint8_t>(255 - LevelOf(t->SecondValue)), GraphicRect(t->NewImage),
                      TPoint(0, 0));
    TWindowDC dc(combo->Handle(), GetDC(combo->Handle()));
    if (!dc.Get() || !t->WorkImage) return;
    const HDC src = t->WorkImage->Canvas()->Handle();
    if (combo->IsButtonStyle()) {
      BitBlt(dc.Get(), 0, 0, t->WorkImage->Width(), t->WorkImage->Height(), src, 0, 0, SRCCOPY);
    } else {
      BlitBorderFrame(dc.Get(), 0, 0, t->WorkImage->Width(), t->WorkImage->Height(), src, 0, 0, 2);
      const TRect b = combo->ButtonRect();
      BitBlt(dc.Get(), b.Left, b.Top, b.Width(), b.Height(), src, b.Left, b.Top, SRCCOPY);
    }
  };
  const auto advance = [&] {
    t->SecondValue += t->SecondStepSize;
    t->Value += (kind == 0 || kind == 2) ? -t->StepSize : t->StepSize;
  };
  advance();
  draw();
  if (t->CurrentStep < t->StepCount) {
    SetGlowAlpha(SkinData->GlowIndex, LevelOf(t->Value));
    return true;
  }
  // A fade that took over another one may not have reached its end in the
  // planned steps: a few more at once, never more than a fade has steps,
  // and then the end itself.
  const auto unfinished = [&] {
    return (kind == 0 && LevelOf(t->Value) != 0) || (kind == 2 && t->SecondValue < 255);
  };
  for (int extra = 0; extra < t->StepCount && unfinished(); ++extra) {
    SetGlowAlpha(SkinData->GlowIndex, LevelOf(t->Value));
    advance();
    draw();
  }
  if (unfinished()) {
    if (kind == 0) t->Value = 0;
    if (kind == 2) t->SecondValue = 255;
    SetGlowAlpha(SkinData->GlowIndex, LevelOf(t->Value));
    draw();
  }
  if (kind == 0) StopAnimation(SkinData);
  if (kind != 1 && kind != 3) HideGlow(SkinData->GlowIndex, false);
  return false;
}
