// The push button's looks: its caption and image, the plain frame the
// parent's owner-draw request paints (themed or classic), and the skinned
// face built in the cache, with the window region cut to the skin's corners.
#include <windows.h>

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>

#include "skin/controls/button.h"
#include "skin/controls/button_shared.h"
#include "skin/controls/section_params.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/control_text.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/control_border.h"
#include "skin/foundation/draw_helpers.h"
#include "widgets/controls/actions.h"
#include "widgets/graphics/canvas_on_dc.h"
#include "widgets/graphics/theme_data.h"

bool ButtonShowPressed = false;
bool ButtonFocusChanging = false;
bool ButtonRegionRedraw = false;

namespace {

bool ShowFocusRect(TsSkinManager* m) {
  return m == nullptr || m->ButtonsOptions()->ShowFocusRect();
}

const TsMaskData* BordersMask(TsCommonData* d) {
  TsSkinManager* m = d->SkinManager();
  if (!m || !MaskIndexValid(*m, d->BorderIndex)) return nullptr;
  return &m->Masks[static_cast<size_t>(d->BorderIndex)];
}

// Pixels of the paint that drew bold and larger for a command link.
class TCommandLinkFont {
 public:
  TCommandLinkFont(TCanvas* canvas, bool on) : canvas_(canvas), on_(on) {
    if (!on_) return;
    canvas_->Font()->SetStyle(canvas_->Font()->Style() | fsBold);
    canvas_->Font()->SetSize(canvas_->Font()->Size() + 2);
  }
  ~TCommandLinkFont() {
    if (!on_) return;
    canvas_->Font()->SetSize(canvas_->Font()->Size() - 2);
    canvas_->Font()->SetStyle(canvas_->Font()->Style() & ~fsBold);
  }
  TCommandLinkFont(const TCommandLinkFont&) = delete;
  TCommandLinkFont& operator=(const TCommandLinkFont&) = delete;

 private:
  TCanvas* canvas_;
  bool on_;
};

}  // namespace

void TsButton::PaintContent(TCanvas* Canvas) {
  if (!Canvas) Canvas = skinData_->CacheBitmap->Canvas();
  Canvas->Font()->Assign(Font());
  Canvas->Brush()->SetStyle(bsClear);
  TRect r = ContentRect();
  const int state = ContentState();
  const bool link = Style() == bsCommandLink;
  UINT format = link ? DT_WORDBREAK | DT_EXPANDTABS
                     : DT_CENTER | DT_VCENTER | DT_EXPANDTABS | (WordWrap() ? DT_WORDBREAK : 0);
  if (UseRightToLeftReading()) format |= DT_RTLREADING;
  const std::string caption = Caption();
  {
    TCommandLinkFont font(Canvas, link);
    DrawControlText(Canvas, caption.c_str(), Enabled() || Skinned(), r, format, skinData_, state);
  }
  if (link && !commandLinkHint_.empty()) {
    TRect hint = r;
    hint.Top = r.Bottom + 6;
    hint.Bottom = Height() - contentMargin_;
    DrawControlText(Canvas, commandLinkHint_.c_str(), Enabled() || Skinned(), hint, format,
                    skinData_, state);
  }
  TsSkinManager* m = skinData_->SkinManager();
  if (HandleAllocated() && GetFocus() == Handle() && ShowFocusRect(m) && Enabled() &&
      !caption.empty() && showFocus_ && Skinned()) {
    r.Left -= focusMargin_ + 1;
    r.Right += focusMargin_ + 1;
    r.Top = std::max(3, r.Top - focusMargin_);
    r.Bottom = std::min(Height() - 3, r.Bottom + focusMargin_);
    const TsGeneralData& s = m->Sections[static_cast<size_t>(skinData_->SkinIndex)];
    const auto colour = static_cast<uint32_t>(
        ColorToRGB(static_cast<TColor>(s.Props[std::min(2, s.StateCount)].FontColor)));
    PaintDottedFrame(Canvas, r, colour, static_cast<uint32_t>(clNone));
  }
}

void TsButton::PaintSplitPart(TCanvas* Canvas, TColor Colour) {
  const int x = Width() - SplitArrowWidth() + 1;
  const auto rgb = static_cast<uint32_t>(ColorToRGB(Colour));
  Canvas->Pen()->SetColor(Colour);
  Canvas->MoveTo(x, 4);
  Canvas->LineTo(x, Height() - 4);
  const RECT arrow{Width() - SplitArrowWidth(), 0, Width(), Height()};
  if (Canvas == skinData_->CacheBitmap->Canvas())
    DrawArrowArgb(ArgbView(skinData_->CacheBitmap), rgb, arrow, kArrowDown);
  else
    DrawArrowOnCanvas(Canvas, rgb, arrow, kArrowDown);
}

void TsButton::PaintStdButton(const DRAWITEMSTRUCT& Item) {
  TCanvas canvas;
  TCanvasOnDC lent(canvas, Item.hDC);
  canvas.Font()->Assign(Font());
  RECT r{0, 0, Width(), Height()};
  const bool pressed = (Item.itemState & ODS_SELECTED) != 0;
  const bool focus = (Item.itemState & ODS_FOCUS) != 0;
  const bool withFocusRect = activeDefault_ && focus && ShowFocusRect(skinData_->SkinManager());
  TThemeData theme(Handle(), L"BUTTON");
  if (ThemesEnabled() && theme.Defines(BP_PUSHBUTTON)) {
    const int state = !Enabled()                  ? PBS_DISABLED
                      : pressed                   ? PBS_PRESSED
                      : skinData_->Hot            ? PBS_HOT
                      : (activeDefault_ || focus) ? PBS_DEFAULTED
                                                  : PBS_NORMAL;
    RECT item = Item.rcItem;
    if (IsThemeBackgroundPartiallyTransparent(theme.Get(), BP_PUSHBUTTON, state))
      DrawThemeParentBackground(Handle(), Item.hDC, &item);
    DrawThemeBackground(theme.Get(), Item.hDC, BP_PUSHBUTTON, state, &item, nullptr);
    RECT content;
    if (SUCCEEDED(GetThemeBackgroundContentRect(theme.Get(), Item.hDC, BP_PUSHBUTTON, state, &item,
                                                &content)))
      r = content;
    if (withFocusRect) {
      if (Style() == bsSplitButton) r.right += 2 - SplitArrowWidth();
      DrawFocusRect(Item.hDC, &r);
    }
  } else {
    if (activeDefault_ || focus) {
      canvas.Brush()->SetStyle(bsClear);
      canvas.Pen()->SetColor(clWindowFrame);
      canvas.Rectangle(TRect(r.left, r.top, r.right, r.bottom));
      InflateRect(&r, -1, -1);
    }
    if (!pressed) {
      DrawFrameControl(Item.hDC, &r, DFC_BUTTON,
                       DFCS_BUTTONPUSH | DFCS_ADJUSTRECT |
                           ((Item.itemState & ODS_DISABLED) ? DFCS_INACTIVE : 0));
    } else {
      canvas.Pen()->SetColor(clBtnShadow);
      canvas.Brush()->SetStyle(bsSolid);
      canvas.Brush()->SetColor(clBtnFace);
      canvas.Rectangle(TRect(r.left, r.top, r.right, r.bottom));
      InflateRect(&r, -1, -1);
      OffsetRect(&r, 1, 1);
    }
    if (withFocusRect) {
      RECT f{4, 4, Width() - 4, Height() - 4};
      if (Style() == bsSplitButton) f.right += 2 - SplitArrowWidth();
      DrawFocusRect(Item.hDC, &f);
    }
  }
  PaintContent(&canvas);
  DrawButtonGlyph(this, &canvas);
  if (Style() == bsSplitButton) PaintSplitPart(&canvas, clWindowFrame);
}

// Only a parent with a skin state of its own tells its children to paint
// once its cache is ready; a plain parent in between passes nothing on.
bool ParentResumesPainting(TWinControl* parent) {
  if (!parent || !parent->HandleAllocated()) return false;
  TsCommonData* data = GetSkinDataProp(parent->Handle());
  return data && data->Skinned();
}

bool TsButton::PaintSkinnedCache() {
  BackgroundRequest request;
  if (Parent()) QueryControlBackground(request, Parent(), false);
  BackgroundInfo bg;
  if (request.Kind == bgNotReady) {
    if (ParentResumesPainting(Parent())) {
      skinData_->Updating = true;
      return false;
    }
    // Nobody would ask again: the face is painted over what is known now.
    skinData_->GetParentBgInfo(bg);
  } else if (Parent()) {
    BackgroundInfoFromRequest(request, bg);
  } else {
    skinData_->GetParentBgInfo(bg);
  }
  skinData_->PrepareCacheBitmap();
  TBitmap* cache = skinData_->CacheBitmap;
  cache->Canvas()->Font()->Assign(Font());
  TsSkinManager* m = skinData_->SkinManager();
  const TsGeneralData& section = m->Sections[static_cast<size_t>(skinData_->SkinIndex)];
  const int content = ContentState();
  const int state = content == 3 && section.StateCount < 4
                        ? 1
                        : std::min(content, std::max(0, section.StateCount - 1));
  const RECT whole{0, 0, Width(), Height()};
  PaintControlBackground(SectionParams(skinData_), ToBackgroundView(bg), state, whole,
                         POINT{Left(), Top()}, ArgbView(cache));
  if (const TsMaskData* mask = BordersMask(skinData_)) {
    // Bit 2: the normal state is the section's face alone.
    const bool framed = state != 0 || (mask->PaintMode & 2) == 0;
    if (stateChanged_ && mask->TransparentCorners == 2 && !GlobalAnimationActive &&
        !skinData_->AnimTimer) {
      region_.Reset(CreateRectRgn(0, 0, Width(), Height()));
      if (framed) PaintMaskWithRegion(cache, region_.Get(), true, *mask, state);
    } else if (framed) {
      PaintMaskNineSlice(cache, TRect(0, 0, Width(), Height()), bg, *mask, state, true);
    }
  }
  ApplySkinDataFilters(cache, skinData_, state);
  DrawButtonGlyph(this, cache->Canvas());
  PaintContent(cache->Canvas());
  if (Style() == bsSplitButton)
    PaintSplitPart(cache->Canvas(),
                   static_cast<TColor>(section.Props[state == 0 ? 0 : 1].FontColor));
  if (!Enabled() || (Action() && !Action()->OnExecute))
    ApplyDisabledLook(cache, disabledKind_, GetControlBgColor(Parent()), bg, TPoint(Left(), Top()));
  skinData_->BgChanged = false;
  return true;
}

void TsButton::InstallRegion(bool Printing) {
  // A region made while printing never reaches the window.
  if (Printing || !region_) {
    region_.Reset();
    return;
  }
  const bool redraw = regionPending_ || ButtonRegionRedraw;
  regionPending_ = false;
  // The window owns the region from here on.
  SetWindowRgn(Handle(), region_.Detach(), redraw);
  const TsMaskData* mask = BordersMask(skinData_);
  const TRect last = regionBounds_;
  regionBounds_ = BoundsRect();
  if (!mask || (mask->FrameWidth >= last.Width() && mask->FrameHeight >= last.Height())) return;
  BackgroundRequest request;
  if (Parent()) QueryControlBackground(request, Parent(), false);
  if (!Parent() || !Parent()->HandleAllocated() || request.Kind == bgBitmap) return;
  // The corners the old shape left uncovered show the parent again.
  const RECT pieces[3] = {
      {last.Right - mask->BorderRight, last.Top, last.Right, last.Top + mask->BorderTop},
      {last.Right - mask->BorderRight, last.Bottom - mask->BorderBottom, last.Right, last.Bottom},
      {last.Left, last.Bottom - mask->BorderBottom, last.Left + mask->BorderLeft, last.Bottom},
  };
  for (const RECT& piece : pieces) InvalidateRect(Parent()->Handle(), &piece, TRUE);
}

void TsButton::DropRegion() {
  region_.Reset();
  if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
  regionPending_ = true;
}

void TsButton::PaintSkinned(HDC DC, bool Printing) {
  if (GlobalAnimationActive && !Printing) return;
  HWND wnd = Handle();
  PAINTSTRUCT ps{};
  // Only a real paint validates the window: a print must leave a pending
  // repaint where it is.
  const bool beginPaint = !Printing && DC == nullptr;
  HDC dc = DC;
  if (beginPaint) dc = BeginPaint(wnd, &ps);
  const bool fetched = dc == nullptr;
  if (fetched) dc = GetDC(wnd);
  [&] {
    if (skinData_->CheckUpdating() || skinData_->AnimationRunning()) return;
    RECT clip{};
    if (GetClipBox(dc, &clip) == NULLREGION || IsRectEmpty(&clip)) return;
    skinData_->BgChanged = skinData_->BgChanged || lastPaintClipped_;
    lastPaintClipped_ = clip.right - clip.left < Width() || clip.bottom - clip.top < Height();
    const TsMaskData* mask = BordersMask(skinData_);
    if (stateChanged_ && mask && mask->TransparentCorners == 2 && !Designing()) {
      if (!PaintSkinnedCache()) return;
      RestoreTransparentCorners(skinData_, ContentState(), 15);
      InstallRegion(Printing);
      stateChanged_ = false;
    } else if (skinData_->BgChanged) {
      if (!PaintSkinnedCache()) return;
      region_.Reset();
      stateChanged_ = false;
    }
    const int saved = SaveDC(dc);
    BitBlt(dc, 0, 0, Width(), Height(), skinData_->CacheBitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
  }();
  if (beginPaint) EndPaint(wnd, &ps);
  if (fetched) ReleaseDC(wnd, dc);
}
