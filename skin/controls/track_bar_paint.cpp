// The track bar's face, painted whole into the skin state's cache and copied
// to the window in one go: from the skin's slider images when skinned, the
// library's plain look (themed or classic) otherwise.
#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <cmath>
#include <functional>
#include <memory>

#include "skin/controls/section_params.h"
#include "skin/controls/track_bar.h"
#include "skin/engine/anim_timer.h"
#include "skin/engine/control_helpers.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/section_paint.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/theme_data.h"

namespace {

using TBitmapPtr = TOwnedObject<TBitmap>;

// Thumb parts by tick side and orientation, as the platform names them.
int ThumbPart(TTickMark Marks, bool Vertical) {
  static const int kParts[3][2] = {
      {TKP_THUMBBOTTOM, TKP_THUMBRIGHT}, {TKP_THUMBTOP, TKP_THUMBLEFT}, {TKP_THUMB, TKP_THUMBVERT}};
  return kParts[Marks][Vertical ? 1 : 0];
}

void FillSolid(HDC DC, const RECT& R, TColor Color) {
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color)));
  FillRect(DC, &R, brush.Get());
}

void Bevel(HDC DC, RECT& R, TColor TopLeft, TColor BottomRight) {
  int width = 1;
  DrawBevelFrame(DC, R, ColorToRGB(TopLeft), ColorToRGB(BottomRight), width);
}

}  // namespace

void TsTrackBar::PaintWindow(HDC) {
  if (skinData_->AnimationRunning() || !HandleAllocated()) return;
  if ((skinData_->StateFlags & sfPrintDC) && skinData_->PrintDC) {
    PaintCachedImage(skinData_->PrintDC);
    return;
  }
  TWindowDC dc(Handle(), GetWindowDC(Handle()));
  if (dc) PaintCachedImage(dc.Get());
}

void TsTrackBar::PaintCachedImage(HDC DC) {
  if (HasState(csDestroying)) return;
  if (Skinned() && (skinData_->CheckUpdating() || skinData_->AnimationRunning())) return;
  PrepareCache();
  if (Skinned()) RestoreTransparentCorners(skinData_, 0, 15);
  BitBlt(DC, 0, 0, Width(), Height(), skinData_->CacheBitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TsTrackBar::PrepareCache() {
  skinData_->PrepareCacheBitmap();
  PaintBody();
  if (Skinned() && !Enabled()) {
    BackgroundInfo bg;
    skinData_->GetParentBgInfo(bg);
    ApplyDisabledLook(skinData_->CacheBitmap, disabledKind_, GetControlBgColor(Parent()), bg,
                      TPoint(Left(), Top()));
  }
  skinData_->BgChanged = false;
}

void TsTrackBar::PaintBody() {
  TBitmap* cache = skinData_->CacheBitmap;
  TColor focus = clBtnText;
  // The state asks the window system which window has the focus: once for
  // the whole face, not once for every tick.
  const int state = skinData_->CurrentState();
  const int thumbState = ThumbStateFrom(state);
  if (Skinned()) {
    TsSkinManager* m = skinData_->SkinManager();
    BackgroundInfo bg;
    skinData_->GetParentBgInfo(bg);
    PaintControlSection(SectionParams(skinData_), ToBackgroundView(bg), state,
                        RECT{0, 0, Width(), Height()}, POINT{Left(), Top()}, ArgbView(cache), true);
    const TsGeneralData& s = m->Sections[static_cast<size_t>(skinData_->SkinIndex)];
    focus = static_cast<TColor>(s.Props[std::min(1, std::max(0, s.StateCount - 1))].FontColor);
    PaintSkinnedChannel(state, thumbState);
    if (OnSkinPaint) OnSkinPaint(this, cache->Canvas());
    PaintSkinnedThumb(thumbState);
  } else {
    PaintStdBackground();
    if (OnSkinPaint) OnSkinPaint(this, cache->Canvas());
    PaintStdChannel(thumbState);
    PaintStdThumb(thumbState);
  }
  PaintFocus(focus);
}

void TsTrackBar::PaintFocus(TColor FocusColor) {
  if (!showFocus_ || !HandleAllocated() || GetFocus() != Handle()) return;
  TRect r = ClientRect();
  r.Top += 1;
  r.Bottom -= 1;
  PaintDottedFrame(skinData_->CacheBitmap->Canvas(), r, ColorToRGB(FocusColor), clNone);
}

// ---- Plain look

void TsTrackBar::PaintStdBackground() {
  HDC dc = skinData_->CacheBitmap->Canvas()->Handle();
  RECT r{0, 0, Width(), Height()};
  FillSolid(dc, r, clBtnFace);
  if (ThemesEnabled()) DrawThemeParentBackground(Handle(), dc, &r);
}

void TsTrackBar::PaintStdChannel(int ThumbStateIndex) {
  TBitmap* cache = skinData_->CacheBitmap;
  HDC dc = cache->Canvas()->Handle();
  RECT r = ChannelRect();
  TThemeData theme(Handle(), L"TRACKBAR");
  const int part = Vertical() ? TKP_TRACKVERT : TKP_TRACK;
  if (ThemesEnabled() && theme.Defines(part)) {
    DrawThemeBackground(theme.Get(), dc, part, TKS_NORMAL, &r, nullptr);
    InflateRect(&r, -1, -1);
  } else {
    Bevel(dc, r, clBtnShadow, clBtnHighlight);
    Bevel(dc, r, cl3DDkShadow, cl3DLight);
    FillSolid(dc, r, clWindow);
  }
  if (showProgress_) {
    const auto [a, b] = ProgressSpanIn(r);
    const TRect span = Vertical() ? TRect(r.left, a, r.right, b) : TRect(a, r.top, b, r.bottom);
    FillRectArgb(cache, span, clHighlight, 255);
  }
  PaintTicks(ThumbStateIndex);
}

// The thumb is painted into a mirrored copy of what lies under it when the
// ticks are on the top (left) side, so one picture serves both sides.
static void PaintThumbTarget(TBitmap* Cache, const TRect& T, bool Mirror, bool Vertical,
                             const std::function<void(TBitmap*, const TRect&)>& Paint) {
  if (!Mirror) {
    Paint(Cache, T);
    return;
  }
  TBitmapPtr tmp(NewArgbBitmap(T.Width(), T.Height()));
  BitBlt(tmp->Canvas()->Handle(), 0, 0, T.Width(), T.Height(), Cache->Canvas()->Handle(), T.Left,
         T.Top, SRCCOPY);
  MirrorBitmap(tmp.get(), Vertical);
  Paint(tmp.get(), TRect(0, 0, T.Width(), T.Height()));
  MirrorBitmap(tmp.get(), Vertical);
  BitBlt(Cache->Canvas()->Handle(), T.Left, T.Top, T.Width(), T.Height(), tmp->Canvas()->Handle(),
         0, 0, SRCCOPY);
}

void TsTrackBar::PaintStdThumb(int ThumbStateIndex) {
  const TRect t = ThumbRect();
  if (!thumbGlyph_->Empty()) {
    PaintThumbGlyph(t);
    return;
  }
  const int part = ThumbPart(TickMarks(), Vertical());
  const int state = ThumbStateIndex + 1;
  HWND wnd = Handle();
  PaintThumbTarget(skinData_->CacheBitmap, t, TickMarks() == tmTopLeft, Vertical(),
                   [&](TBitmap* target, const TRect& r) {
                     HDC dc = target->Canvas()->Handle();
                     RECT rc = r;
                     TThemeData theme(wnd, L"TRACKBAR");
                     if (ThemesEnabled() && theme.Defines(part)) {
                       DrawThemeBackground(theme.Get(), dc, part, state, &rc, nullptr);
                       return;
                     }
                     rc.bottom -= 1;
                     Bevel(dc, rc, cl3DLight, cl3DDkShadow);
                     Bevel(dc, rc, clWhite, clBtnShadow);
                     FillSolid(dc, rc, clBtnFace);
                   });
}

void TsTrackBar::PaintThumbGlyph(const TRect& T) {
  TBitmap* cache = skinData_->CacheBitmap;
  const int w = thumbGlyph_->Width(), h = thumbGlyph_->Height();
  const int x = T.Left + (T.Width() - w) / 2, y = T.Top + (T.Height() - h) / 2;
  if (thumbGlyph_->HandleType() != bmDIB) thumbGlyph_->SetHandleType(bmDIB);
  if (thumbGlyph_->PixelFormat() == pf32bit) {
    PixelView v = ArgbView(thumbGlyph_);
    bool opaque = false;
    for (int yy = 0; yy < v.Height && !opaque; ++yy)
      for (int xx = 0; xx < v.Width && !opaque; ++xx) opaque = (v.At(xx, yy) >> 24) == 0xFF;
    // A glyph with no opaque pixel carries no alpha at all.
    if (!opaque) thumbGlyph_->SetPixelFormat(pf24bit);
  }
  if (thumbGlyph_->PixelFormat() == pf32bit) {
    AlphaCopyArgb(TRect(x, y, x + w, y + h), TRect(0, 0, w, h), cache, thumbGlyph_,
                  EmptyBackgroundInfo, false, clNone, 0, false);
  } else {
    BitBlt(cache->Canvas()->Handle(), x, y, w, h, thumbGlyph_->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
}

// ---- Ticks, progress and selection

std::vector<int> TsTrackBar::TickPositions() {
  if (!HandleAllocated()) return {};
  return TickPositionsAt(ChannelRect(), ThumbRect());
}

// Each question to the control is a message through the window procedure:
// the paint passes the rectangles it holds, and the inner positions are
// asked for only by the manual layout, the only one that reads them.
std::vector<int> TsTrackBar::TickPositionsAt(const TRect& C, const TRect& T) {
  int b = 2;
  if (Skinned() && tickMask_ >= 0) {
    const TsMaskData& m = skinData_->SkinManager()->Masks[static_cast<size_t>(tickMask_)];
    b = (Vertical() ? m.FrameHeight : m.FrameWidth) / 2 + 1;
  }
  TTickLayout l;
  l.Style = TickStyle();
  l.Count = static_cast<int>(SendMessageA(Handle(), TBM_GETNUMTICS, 0, 0));
  l.ChannelStart = (Vertical() ? C.Top : C.Left) + b;
  l.ChannelEnd = (Vertical() ? C.Bottom : C.Right) + b;
  l.ThumbLength = Vertical() ? T.Height() : T.Width();
  if (l.Style == tsManual)
    for (int i = 0; i + 2 < l.Count; ++i)
      l.Inner.push_back(static_cast<int>(SendMessageA(Handle(), TBM_GETTICPOS, i, 0)));
  return LayOutTicks(l);
}

std::pair<int, int> TsTrackBar::ProgressSpanIn(const TRect& R) {
  TProgressInput in;
  in.Start = Vertical() ? R.Top : R.Left;
  in.End = Vertical() ? R.Bottom : R.Right;
  in.Position = static_cast<int>(SendMessageA(Handle(), TBM_GETPOS, 0, 0));
  in.Min = Min();
  in.Max = Max();
  in.From = showProgressFrom_;
  in.Reversed = reversed_;
  return ProgressSpan(in);
}

int TsTrackBar::TickValue(int Index, int Count) {
  if (Index <= 0) return Min();
  if (Index >= Count - 1) return Max();
  return static_cast<int>(SendMessageA(Handle(), TBM_GETTIC, static_cast<WPARAM>(Index - 1), 0));
}

void TsTrackBar::PaintTicks(int ThumbStateIndex) {
  const TRect c = ChannelRect(), t = ThumbRect();
  const bool selection = SelStart() != 0 || SelEnd() != 0;
  const bool before = TickMarks() == tmTopLeft || TickMarks() == tmBoth;
  const bool after = TickMarks() == tmBottomRight || TickMarks() == tmBoth;
  const int q = Vertical() ? (t.Width() - c.Width()) / 2 + 2 : (t.Height() - c.Height()) / 2 + 2;
  const std::vector<int> ticks = TickPositionsAt(c, t);
  const int count = static_cast<int>(ticks.size());
  for (int i = 0; i < count; ++i) {
    // A selection end hides the tick of its value; where that tick is drawn
    // need not be where the value falls (the last step may be shorter).
    if (selection) {
      const int value = TickValue(i, count);
      if (value == SelStart() || value == SelEnd()) continue;
    }
    const int p = ticks[static_cast<size_t>(i)];
    if (Vertical()) {
      if (before) PaintTick(c.Left - q - TickLength, p, ThumbStateIndex);
      if (after) PaintTick(c.Right + q, p, ThumbStateIndex);
    } else {
      if (before) PaintTick(p, c.Top - q - TickLength, ThumbStateIndex);
      if (after) PaintTick(p, c.Bottom + q, ThumbStateIndex);
    }
  }
  if (selection) PaintSelectionMarks(c, t);
}

void TsTrackBar::PaintTick(int X, int Y, int ThumbStateIndex) {
  TBitmap* cache = skinData_->CacheBitmap;
  HDC dc = cache->Canvas()->Handle();
  if (!Skinned()) {
    FillSolid(dc, Vertical() ? RECT{X, Y, X + 3, Y + 1} : RECT{X, Y, X + 1, Y + 3}, clBtnShadow);
    return;
  }
  if (tickMask_ >= 0) {
    const TsMaskData& m = skinData_->SkinManager()->Masks[static_cast<size_t>(tickMask_)];
    const TPoint at = Vertical() ? TPoint(X, Y - m.FrameHeight) : TPoint(X - m.FrameWidth, Y);
    DrawMaskStateFrame(cache, at, ThumbStateIndex, 1, m, MakeBackgroundInfo(cache, 0, 0));
    return;
  }
  RECT r = Vertical() ? RECT{X, Y, X + TickLength, Y + 2} : RECT{X, Y, X + 2, Y + TickLength};
  Bevel(dc, r, clBtnShadow, clWhite);
}

void TsTrackBar::PaintSelectionMarks(const TRect& C, const TRect& T) {
  // Nothing to place on a range of one value.
  if (Max() == Min()) return;
  if (Vertical() && SelStart() <= 0 && SelEnd() <= 0) return;
  TsSkinManager* m = skinData_->SkinManager();
  const TColor colour = m ? m->GetGlobalFontColor() : clBtnText;
  TCanvas* canvas = skinData_->CacheBitmap->Canvas();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(colour);
  canvas->Pen()->SetColor(colour);
  const double step =
      static_cast<double>(Vertical() ? C.Height() - T.Height() : C.Width() - T.Width()) /
      (Max() - Min());
  const int s = std::max(SelStart(), Min()), e = std::min(SelEnd(), Max());
  const int origin = Vertical() ? C.Top : C.Left;
  const int ps = origin + static_cast<int>(std::lround((s + 1) * step)) + 4;
  const int pe = origin + static_cast<int>(std::lround((e + 1) * step)) + 4;
  const int q = Vertical() ? (T.Width() - C.Width()) / 2 + 2 : (T.Height() - C.Height()) / 2 + 2;
  HDC dc = canvas->Handle();
  auto triangle = [&](POINT a, POINT b, POINT c) {
    POINT pts[3] = {a, b, c};
    Polygon(dc, pts, 3);
  };
  const bool before = TickMarks() == tmTopLeft || TickMarks() == tmBoth;
  const bool after = TickMarks() == tmBottomRight || TickMarks() == tmBoth;
  for (int side = 0; side < 2; ++side) {
    if ((side == 0 && !before) || (side == 1 && !after)) continue;
    const int d = side == 0 ? -3 : 3;
    if (Vertical()) {
      const int x = side == 0 ? C.Left - q : C.Right + q;
      triangle({x, ps}, {x + d, ps - 3}, {x + d, ps});
      triangle({x, pe}, {x + d, pe}, {x + d, pe + 3});
    } else {
      const int y = side == 0 ? C.Top - q : C.Bottom + q;
      triangle({ps, y}, {ps, y + d}, {ps - 3, y + d});
      triangle({pe, y}, {pe, y + d}, {pe + 3, y + d});
    }
  }
}

// ---- Skinned look

void TsTrackBar::PaintSkinnedChannel(int State, int ThumbStateIndex) {
  TsSkinManager* m = skinData_->SkinManager();
  TBitmap* cache = skinData_->CacheBitmap;
  if (channelMask_ >= 0) {
    const TsMaskData& mask = m->Masks[static_cast<size_t>(channelMask_)];
    // Centred on the channel across the bar and one pixel short of the
    // frame there: the frame's middle gives up a row (column), its edges stay.
    TRect r = ChannelRect();
    if (Vertical()) {
      const int s = mask.FrameWidth;
      r.Left += (r.Width() - s + 1) / 2;
      r.Right = r.Left + s - 1;
      r.Top += 1;
      r.Bottom -= 1;
    } else {
      const int s = mask.FrameHeight;
      r.Top += (r.Height() - s + 1) / 2;
      r.Bottom = r.Top + s - 1;
      r.Left += 1;
      r.Right -= 1;
    }
    const BackgroundInfo bg = MakeBackgroundInfo(cache, 0, 0);
    PaintMaskNineSlice(cache, r, bg, mask, State, false);
    if (showProgress_ && progressMask_ >= 0) {
      const auto [a, b] = ProgressSpanIn(r);
      const TRect span = Vertical() ? TRect(r.Left, a, r.Right, b) : TRect(a, r.Top, b, r.Bottom);
      if (span.Width() > 0 && span.Height() > 0)
        PaintMaskNineSlice(cache, span, bg, m->Masks[static_cast<size_t>(progressMask_)], State,
                           false);
    }
  }
  PaintTicks(ThumbStateIndex);
}

void TsTrackBar::PaintSkinnedThumb(int ThumbStateIndex) {
  const TRect t = ThumbRect();
  if (!thumbGlyph_->Empty()) {
    PaintThumbGlyph(t);
    return;
  }
  if (thumbMask_ < 0) return;
  const TsMaskData& mask = skinData_->SkinManager()->Masks[static_cast<size_t>(thumbMask_)];
  PaintThumbTarget(skinData_->CacheBitmap, t, TickMarks() == tmTopLeft, Vertical(),
                   [&](TBitmap* target, const TRect& r) {
                     const TPoint at(r.Left + (r.Width() - mask.FrameWidth) / 2,
                                     r.Top + (r.Height() - mask.FrameHeight) / 2);
                     DrawMaskStateFrame(target, at, ThumbStateIndex, 1, mask,
                                        MakeBackgroundInfo(target, 0, 0));
                   });
}
