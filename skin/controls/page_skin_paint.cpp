// The page control's skinned look: the cache (frame section, corner images,
// the tab row), every tab painted into a bitmap of its own from the section
// its kind and place choose, and the hover fades of single tabs.
#include <windows.h>

#include <algorithm>
#include <cmath>

#include "skin/controls/page_control.h"
#include "skin/controls/section_params.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_text.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/img_list.h"

namespace {

constexpr int kTabTopSection = 13;  // "TABTOP" among the cached tab sections

// A tab's hover fade: each tick blends one step of the tab from its old to
// its new look (see TsPageControl::TabFadeStep).
class TvlTabFadeTimer : public TvlThreadedTimer {
 public:
  explicit TvlTabFadeTimer(TsTabSheet* ASheet) : TvlThreadedTimer(ASheet, false), Sheet(ASheet) {
    // The base only runs with a step procedure set; the steps go through
    // DoTimer below, with the sheet.
    Callback = [](TsCommonData*, int) { return false; };
  }
  TsTabSheet* Sheet;

 protected:
  void DoTimer() override {
    if (Destroying || !Enabled()) return;
    ++CurrentStep;
    if (!TsPageControl::TabFadeStep(Sheet, CurrentStep)) SetEnabled(false);
  }
};

TRect Inclusive(const TRect& R) {
  return TRect(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
}

void FillWith(HDC DC, const RECT& R, TColor Color) {
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color)));
  FillRect(DC, &R, brush.Get());
}

}  // namespace

// ---- The cache

void TsPageControl::PaintSkinned(HDC DC) {
  if (!DC || (Parent() && Parent()->HasState(csDestroying)) || HasState(csLoading)) return;
  if (skinData_->CheckUpdating()) return;
  RECT clip{};
  GetClipBox(DC, &clip);
  skinData_->BgChanged = skinData_->BgChanged || skinData_->CacheIncomplete;
  skinData_->CacheIncomplete =
      clip.left != 0 || clip.top != 0 || clip.right != Width() || clip.bottom != Height();
  if (skinData_->BgChanged && !PrepareCache()) return;
  const TRect all(0, 0, Width(), Height());
  TSavedDC saved(DC);
  if (PressedMenuTab >= 0) {
    const TRect r = PageTabRect(PressedMenuTab);
    ExcludeClipRect(DC, r.Left, r.Top, r.Right, r.Bottom);
  }
  CopyCacheExcludingChildren(this, skinData_, all, all, DC, false, 0, 0);
  PaintGraphicChildren(DC, this, true, TPoint(0, 0));
  if (ActivePage()) RepaintChildren(this);
  LastVisibleTabCount = VisibleTabCount();
}

bool TsPageControl::PrepareCache() {
  skinData_->PrepareCacheBitmap();
  BackgroundInfo bg;
  skinData_->GetParentBgInfo(bg);
  if (!bg.HasBitmap && bg.Color == clFuchsia) {
    skinData_->Updating = true;
    return false;
  }
  TsSkinManager* m = skinData_->SkinManager();
  TBitmap* cache = skinData_->CacheBitmap;
  // What the frame leaves free (the tab row) shows the parent.
  if (bg.HasBitmap && bg.Bitmap)
    BitBlt(cache->Canvas()->Handle(), 0, 0, Width(), Height(), bg.Bitmap->Canvas()->Handle(),
           bg.OffsetX + Left(), bg.OffsetY + Top(), SRCCOPY);
  else
    FillWith(cache->Canvas()->Handle(), RECT{0, 0, Width(), Height()}, bg.Color);
  const TRect r = DisplayRect();
  PaintControlSection(SectionParams(skinData_), ToBackgroundView(bg), 0, *r.AsRECT(),
                      POINT{Left() + r.Left, Top() + r.Top}, ArgbView(cache), true);
  if (m && skinData_->SkinIndex >= 0) {
    const TsGeneralData& s = m->Section(skinData_->SkinIndex);
    for (int corner = 0; corner < 4; ++corner) {
      const int image = s.CornerImages[static_cast<size_t>(corner)];
      if (image < 0 || image >= m->ImageCount()) continue;
      const TsMaskData& d = m->ImageData(image);
      const bool right = corner == 1 || corner == 3, bottom = corner >= 2;
      const TPoint p(right ? r.Right - d.FrameWidth : r.Left,
                     bottom ? r.Bottom - d.FrameHeight : r.Top);
      DrawMaskStateFrame(cache, p, 0, 1, d, MakeBackgroundInfo(cache, 0, 0));
    }
  }
  if (TsTabSheet* a = ActiveSheet(); a && m && !a->SkinData()->SkinSection().empty()) {
    const int section = FindSectionIndex(m, a->SkinData()->SkinSection());
    if (section >= 0) {
      const TRect pr = a->BoundsRect();
      PaintSkinSection(section, MakeBackgroundInfo(cache, 0, 0), 0, pr, pr.TopLeft(), cache, m);
    }
  }
  if (VisibleTabCount() > 0) PaintTabRow(cache);
  if (ActivePage())
    skinData_->PaintChildrenOuterEffects(ActivePage(), ActivePage()->BoundsRect().TopLeft());
  skinData_->BgChanged = false;
  return true;
}

void TsPageControl::PaintTabRow(TBitmap* Bitmap) {
  if (HasState(csDestroying) || !Bitmap) return;
  TsSkinManager* m = skinData_->SkinManager();
  BackgroundInfo bg;
  skinData_->GetParentBgInfo(bg);
  HDC dc = Bitmap->Canvas()->Handle();
  const auto parentInto = [&](const TRect& R) {
    if (R.Width() <= 0 || R.Height() <= 0) return;
    if (bg.HasBitmap && bg.Bitmap)
      BitBlt(dc, R.Left, R.Top, R.Width(), R.Height(), bg.Bitmap->Canvas()->Handle(),
             bg.OffsetX + Left() + R.Left, bg.OffsetY + Top() + R.Top, SRCCOPY);
    else
      FillWith(dc, *R.AsRECT(), bg.Color);
  };
  const int active = ActivePageIndex();
  if (active >= 0) {
    // The enlarged active tab reaches into the frame: its see-through
    // corners must show the parent there, not the frame.
    TRect overlap;
    const TRect tab = SkinTabRect(active, true), display = DisplayRect();
    if (IntersectRect(overlap.AsRECT(), tab.AsRECT(), display.AsRECT())) parentInto(overlap);
  }
  const TRect row = TabsRect();
  if (TabsLineIndex >= 0 && m)
    PaintSkinSection(TabsLineIndex, bg, 0, row, TPoint(Left() + row.Left, Top() + row.Top), Bitmap,
                     m);
  else
    parentInto(row);
  if (Bitmap == skinData_->CacheBitmap) {
    const TRect line = TabsLineRect();
    TabsLineImage->SetSize(std::max(0, line.Width()), std::max(0, line.Height()));
    BitBlt(TabsLineImage->Canvas()->Handle(), 0, 0, line.Width(), line.Height(), dc, line.Left,
           line.Top, SRCCOPY);
    SetOpaque(TabsLineImage);
  }
  TsTabSheet* a = ActiveSheet();
  const bool activeIsTab = active >= 0 && (!a || a->TabType() == ttTab);
  for (int i = PageCount() - 1; i >= 0; --i) {
    if (!Pages(i)->TabVisible() || (i == active && activeIsTab)) continue;
    const bool pressed = i == PressedMenuTab || (i == PressedCloseIndex && IsButtonTab(i, false));
    PaintTab(i, pressed ? 2 : (i == HotTab ? 1 : 0), Bitmap);
  }
  if (activeIsTab && Pages(active)->TabVisible()) PaintTab(active, 2, Bitmap);
}

// ---- One tab

void TsPageControl::PaintTab(int Index, int State, TBitmap* Target) {
  TsSkinManager* m = skinData_->SkinManager();
  TsTabSheet* page = Page(Index);
  if (Index < 0 || !page || skinData_->Updating || !m || !page->TabVisible()) return;
  if (page->HasState(csDestroying)) return;
  const bool isButton = IsButtonTab(Index, false);
  TRect r = SkinTabRect(Index, State == 2 && !isButton);
  if (r.Width() <= 0 || r.Height() <= 0 || (State != 0 && r.Left < 0)) return;
  if (m->ConstData.Tabs[kTabTopSection].Section < 0) return;
  const bool horizontal = TabPosition() == tpTop || TabPosition() == tpBottom;
  int s = -1;
  if (isButton) {
    if (!page->TabSkin().empty()) s = FindSectionIndex(m, page->TabSkin());
    if (s < 0) s = FindSectionIndex(m, "MENUBTN");
    if (s < 0) s = FindSectionIndex(m, page->TabType() == ttMenu ? "MENUITEM" : "SPEEDBUTTON");
    if (horizontal) {
      r.Left += 1;
      r.Right -= 1;
      r.Top += 2;
      r.Bottom -= 2;
    } else {
      r.Left += 2;
      r.Right -= 2;
      r.Top += 1;
      r.Bottom -= 1;
    }
  } else if (!page->TabSkin().empty()) {
    s = FindSectionIndex(m, page->TabSkin());
  } else if (Style() == tsButtons) {
    s = FindSectionIndex(m, "BUTTON");
  } else if (Style() == tsFlatButtons) {
    s = FindSectionIndex(m, "TOOLBUTTON");
  } else {
    static constexpr int side[] = {1, 3, 0, 2};
    const int kind = TabPositionKind(Index);
    s = m->ConstData.Tabs[static_cast<size_t>(kind * 4 + side[TabPosition()])].Section;
    if (s < 0) s = m->ConstData.Tabs[static_cast<size_t>(12 + side[TabPosition()])].Section;
  }
  if (s < 0) return;
  State = std::min(State, std::max(0, m->Section(s).StateCount - 1));
  const int e = EffectiveSectionIndex(this, s, m, State);
  const int c = isButton ? 0 : TabsCovering(Index);
  const int w = r.Width(), h = r.Height();
  auto bmp = OwnObject(NewArgbBitmap(w, h));
  TCanvas* canvas = bmp->Canvas();
  const bool customFont = page->SkinData()->CustomFont() || e < 0;
  canvas->SetFont(customFont ? page->Font() : Font());
  if (Index == ActivePageIndex() && ActiveIsBold())
    canvas->Font()->SetStyle(canvas->Font()->Style() | fsBold);
  const TRect line = TabsLineRect();
  const BackgroundInfo bg = c < 1 ? MakeBackgroundInfo(TabsLineImage, -line.Left, -line.Top)
                                  : MakeBackgroundInfo(skinData_->CacheBitmap, 0, 0);
  PaintSkinSection(s, bg, State, TRect(0, 0, w, h), r.TopLeft(), bmp.get(), m);
  TRect content(0, 0, w, h);
  if (c > 0) {
    if (horizontal) {
      content.Left += 2 * c;
      content.Right -= 2 * c;
    } else {
      content.Top += 2 * c;
      content.Bottom -= 2 * c;
    }
  }
  HDC target = Target->Canvas()->Handle();
  if (OwnerDraw() && OnDrawTab) {
    // The owner paints over the section's face, in the target's own
    // coordinates; what it paints is not blended for a disabled page.
    BitBlt(target, r.Left, r.Top, w, h, canvas->Handle(), 0, 0, SRCCOPY);
    DrawTabOwned(target, TPoint(0, 0), page->TabIndex(), r, State != 0);
    return;
  }
  const SkinColor fc =
      e >= 0 ? m->Section(e).Props[static_cast<size_t>(std::min(State, 2))].FontColor : 0;
  const TColor fontColor = customFont ? page->Font()->Color() : static_cast<TColor>(fc);
  PaintTabContent(bmp.get(), page, Index, State, content, isButton, s, customFont ? -1 : e,
                  fontColor);
  if (!Enabled() || !page->Enabled())
    BlendCopyExceptKey(bmp.get(), 0, 0, skinData_->CacheBitmap, Inclusive(r), DisabledBlendLevel,
                       clFuchsia);
  BitBlt(target, r.Left, r.Top, w, h, canvas->Handle(), 0, 0, SRCCOPY);
}

void TsPageControl::PaintCloseButton(TBitmap* Target, const TRect& R, int State) {
  TsSkinManager* m = skinData_->SkinManager();
  if (CloseBtnIndex < 0 || !m) return;
  const int w = closeBtnWidth_, h = closeBtnHeight_;
  auto bmp = OwnObject(NewArgbBitmap(w, h));
  HDC b = bmp->Canvas()->Handle();
  BitBlt(b, 0, 0, w, h, Target->Canvas()->Handle(), R.Left, R.Top, SRCCOPY);
  if (!closeBtnSkin_.empty()) {
    PaintSkinSection(CloseBtnIndex, MakeBackgroundInfo(bmp.get(), 0, 0), State, TRect(0, 0, w, h),
                     TPoint(0, 0), bmp.get(), m);
    TOwnedPen pen(CreatePen(PS_SOLID, 2, RGB(255, 0, 0)));
    TSelectedObject selected(b, pen.Get());
    MoveToEx(b, 4, 4, nullptr);
    LineTo(b, w - 5, h - 5);
    MoveToEx(b, 4, h - 5, nullptr);
    LineTo(b, w - 5, 4);
  } else if (CloseBtnIndex < m->ImageCount()) {
    const TsMaskData& d = m->ImageData(CloseBtnIndex);
    DrawMaskStateFrame(bmp.get(), TPoint(w - d.FrameWidth, 0), State, 1, d,
                       MakeBackgroundInfo(bmp.get(), 0, 0));
  }
  BitBlt(Target->Canvas()->Handle(), R.Left, R.Top, w, h, b, 0, 0, SRCCOPY);
}

// ---- Refreshing a tab, with its hover fade

int TsPageControl::TabFadeKind(int Index) const {
  if (Index != HotTab) return 0;
  if (HotTab == PressedCloseIndex) return 4;
  if (HotTab == HotCloseIndex) return 3;
  if (HotTab == PressedMenuTab) return 2;
  return 1;
}

void TsPageControl::RefreshTab(int Index, bool Animate) {
  if (Index < 0 || Index >= PageCount() || !HandleAllocated()) return;
  if (!Skinned()) {
    // The whole control is double-buffered: the tab's area repaints from it.
    TRect r = PageTabRect(Index);
    InflateRect(r.AsRECT(), 2, 2);
    InvalidateRect(Handle(), r.AsRECT(), FALSE);
    return;
  }
  if (skinData_->Updating || skinData_->BgChanged || !skinData_->CacheBitmap) return;
  TsSkinManager* m = skinData_->SkinManager();
  TBitmap* cache = skinData_->CacheBitmap;
  auto row = OwnObject(NewArgbBitmap(cache->Width(), cache->Height()));
  BitBlt(row->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(),
         0, 0, SRCCOPY);
  PaintTabRow(row.get());
  TsTabSheet* page = Page(Index);
  const TRect r = SkinTabRect(Index, Index == ActivePageIndex() && !IsButtonTab(Index, false));
  if (r.Width() <= 0 || r.Height() <= 0) return;
  if (m && m->Effects()->AllowAnimation() && Animate && page) {
    const int kind = TabFadeKind(Index);
    int startStep = 0;
    auto* timer = static_cast<TvlThreadedTimer*>(page->FadeTimer);
    if (!timer) {
      timer = New<TvlTabFadeTimer>(page);
      page->FadeTimer = timer;
    } else {
      const int total = timer->Kind == 0 ? 20 : 10;
      startStep = timer->CurrentStep < total ? total - timer->CurrentStep : 0;
    }
    if (timer->NewImage) {
      std::swap(timer->OldImage, timer->NewImage);
    } else {
      CopyBitmapRect(timer, timer->OldImage, cache, r);
    }
    CopyBitmapRect(timer, timer->NewImage, row.get(), r);
    if (timer->Kind == -1 || timer->Kind != kind) {
      StartTabFade(timer, page, startStep, (kind == 2 && IsButtonTab(Index, false)) || kind == 4,
                   kind);
      TabFadeStep(page, timer->CurrentStep);
    }
    return;
  }
  TWindowDC dc(Handle(), GetDC(Handle()));
  if (dc)
    BitBlt(dc.Get(), r.Left, r.Top, r.Width(), r.Height(), row->Canvas()->Handle(), r.Left, r.Top,
           SRCCOPY);
}

void TsPageControl::StartTabFade(TvlThreadedTimer* t, TsTabSheet* Sheet, int StartStep, bool Fast,
                                 int Kind) {
  (void)Sheet;
  t->SetEnabled(false);
  t->SkinData = nullptr;
  t->StepCount = Kind == 0 ? 20 : 10;
  if (Fast) t->StepCount /= 2;
  if (t->WorkImage && t->WorkImage->Width() > 0)
    CopyBitmapRect(t, t->OldImage, t->WorkImage,
                   TRect(0, 0, t->WorkImage->Width(), t->WorkImage->Height()));
  const int prev = t->Kind;
  int current = 0;
  if (Kind == 0 && prev == 1) current = std::max(0, 20 - 2 * t->CurrentStep);
  if (Kind == 1 && (prev == 0 || prev == 2 || prev == 3)) current = StartStep;
  t->CurrentStep = std::min(current, t->StepCount);
  t->SecondValue = std::clamp(std::round(t->CurrentStep * 255.0 / t->StepCount), 0.0, 255.0);
  t->SecondStepSize = (255 - t->SecondValue) / t->StepCount;
  t->SetInterval(10);
  t->PrevKind = prev;
  t->Kind = Kind;
  t->SetEnabled(true);
}

bool TsPageControl::TabFadeStep(TsTabSheet* Sheet, int) {
  TvlThreadedTimer* t = Sheet ? Sheet->FadeTimer : nullptr;
  TsPageControl* pc = Sheet ? Sheet->Pages() : nullptr;
  if (!t || !pc || t->Destroying || !t->OldImage || !t->NewImage || !pc->HandleAllocated())
    return false;
  CopyBitmapRect(t, t->WorkImage, t->OldImage,
                 TRect(0, 0, t->OldImage->Width(), t->OldImage->Height()));
  t->SecondValue += t->SecondStepSize;
  const bool last = t->CurrentStep >= t->StepCount;
  if (last) {
    // Rounding can leave the level short of the end: a few more steps at
    // most, then the new look whole.
    for (int repeats = 0;
         (t->Kind == 0 || t->Kind == 3) && t->SecondValue < 255 && repeats < t->StepCount;
         ++repeats)
      t->SecondValue += t->SecondStepSize;
    t->SecondValue = 255;
  }
  const auto a = static_cast<uint8_t>(std::clamp(std::round(t->SecondValue), 0.0, 255.0));
  MixBitmaps(t->WorkImage, t->NewImage, static_cast<uint8_t>(255 - a));
  const int index = Sheet->PageIndex();
  const TRect r =
      pc->SkinTabRect(index, index == pc->ActivePageIndex() && !pc->IsButtonTab(index, false));
  {
    TWindowDC dc(pc->Handle(), GetDC(pc->Handle()));
    if (dc)
      BitBlt(dc.Get(), r.Left, r.Top, r.Width(), r.Height(), t->WorkImage->Canvas()->Handle(), 0, 0,
             SRCCOPY);
  }
  return !last;
}
