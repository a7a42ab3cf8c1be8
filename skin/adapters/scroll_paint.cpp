#include "skin/adapters/scroll_paint.h"

#include <algorithm>

#include "skin/engine/manager_options.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/pixel_primitives.h"
#include "widgets/rtl/object_model.h"

namespace {

// Arrow images are laid out for a 17-pixel button; a RESERVEDBOOLEAN section
// widens the button by whatever its own frame has more.
constexpr int kArrowBaseSize = 17;

int PatternFor(const TvlConstElementData& e, int State) {
  return State == 1 && e.HotPattern >= 0 ? e.HotPattern : e.Pattern;
}

const TsGeneralData* SectionOf(TsSkinManager* M, int Index) {
  return SectionIndexValid(M, Index) ? &M->Sections[static_cast<size_t>(Index)] : nullptr;
}

// A button or thumb is painted in place: the bar bitmap is its own
// background, so parts with see-through pixels show the track behind them.
TRect Clipped(const TRect& R, TBitmap* Bar) {
  return TRect(std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, Bar->Width()),
               std::min(R.Bottom, Bar->Height()));
}

// A glyph frame of State centred in Area of the bitmap.
void DrawCentredGlyph(TsSkinManager* M, int Glyph, int State, TBitmap* Bitmap, const TRect& Area) {
  const TsMaskData& mask = M->Masks[static_cast<size_t>(Glyph)];
  const int x = Area.Left + (Area.Width() - mask.FrameWidth) / 2;
  const int y = Area.Top + (Area.Height() - mask.FrameHeight) / 2;
  DrawMaskStateFrame(Bitmap, TPoint(x, y), State, 1, mask, MakeBackgroundInfo(Bitmap, 0, 0));
}

// One section over [R) of the bar at state, with the bar's background behind.
void PaintTrackPart(TsSkinManager* M, const TvlConstElementData& e, int State, const TRect& R,
                    TBitmap* Bar, const BackgroundInfo& Bg, const TPoint& Offset) {
  if (R.Width() <= 0 || R.Height() <= 0) return;
  if (!SectionOf(M, e.Section)) return;
  PaintSectionAndMask(e.Section, e.BordersMask, PatternFor(e, State), Bg, State, R, Offset, Bar, M);
}

}  // namespace

void PaintArrow(TsSkinManager* M, const TRect& R, int State, TBitmap* BarBitmap, int Side) {
  if (!M || !BarBitmap || R.Width() <= 0 || R.Height() <= 0 || Side < 0 || Side > 3) return;
  const TvlConstElementData& e = M->ConstData.ScrollButtons[static_cast<size_t>(Side)];
  const TsGeneralData* section = SectionOf(M, e.Section);
  TRect button = R;
  if (section && section->ReservedBoolean && MaskIndexValid(*M, e.BordersMask)) {
    const TsMaskData& mask = M->Masks[static_cast<size_t>(e.BordersMask)];
    const int dw = mask.FrameWidth - kArrowBaseSize, dh = mask.FrameHeight - kArrowBaseSize;
    switch (Side) {
      case kSideLeft:
        button.Right += dw;
        break;
      case kSideTop:
        button.Bottom += dh;
        break;
      case kSideRight:
        button.Left -= dw;
        break;
      default:
        button.Top -= dh;
        break;
    }
  }
  button = Clipped(button, BarBitmap);
  if (button.Width() <= 0 || button.Height() <= 0) return;
  if (section)
    PaintSectionAndMask(e.Section, e.BordersMask, PatternFor(e, State),
                        MakeBackgroundInfo(BarBitmap, 0, 0), State, button,
                        TPoint(button.Left, button.Top), BarBitmap, M);
  if (MaskIndexValid(*M, e.Glyph)) {
    DrawCentredGlyph(M, e.Glyph, State, BarBitmap, R);
  } else {
    const TColor colour =
        section ? section->Props[static_cast<size_t>(std::min(State, 2))].FontColor : clBtnText;
    TRect a = R;
    if (Side == kSideLeft || Side == kSideRight) OffsetRect(a.AsRECT(), 0, -1);
    if (State > 1 && M->ButtonsOptions()->ShiftContentOnClick()) OffsetRect(a.AsRECT(), 1, 1);
    DrawArrowArgb(ArgbView(BarBitmap), static_cast<uint32_t>(ColorToRGB(colour)), a, Side);
  }
}

void PaintThumb(TsSkinManager* M, const TRect& R, int State, TBitmap* BarBitmap, bool Vertical) {
  if (!M || !BarBitmap) return;
  const TRect r = Clipped(R, BarBitmap);
  if (r.Width() <= 0 || r.Height() <= 0) return;
  const TvlConstElementData& e = M->ConstData.ScrollSliders[Vertical ? 1u : 0u];
  if (SectionOf(M, e.Section))
    PaintSectionAndMask(e.Section, e.BordersMask, PatternFor(e, State),
                        MakeBackgroundInfo(BarBitmap, 0, 0), State, r, TPoint(r.Left, r.Top),
                        BarBitmap, M);
  if (MaskIndexValid(*M, e.Glyph)) DrawCentredGlyph(M, e.Glyph, State, BarBitmap, r);
}

void ComposeBar(const TvlBarPicture& P, TBitmap* Bitmap) {
  TsSkinManager* M = P.Manager;
  if (!M || !Bitmap) return;
  const int length = P.Vertical ? Bitmap->Height() : Bitmap->Width();
  const int thickness = P.Vertical ? Bitmap->Width() : Bitmap->Height();
  // Rectangles along the axis, turned into bitmap rectangles.
  auto span = [&](int from, int to) {
    return P.Vertical ? TRect(0, from, thickness, to) : TRect(from, 0, to, thickness);
  };
  auto along = [&](int d) { return P.Vertical ? TPoint(0, d) : TPoint(d, 0); };
  const size_t axis = P.Vertical ? 1 : 0;
  const TvlConstElementData& first = M->ConstData.ScrollBars[axis];
  const TvlConstElementData& second = M->ConstData.ScrollBars[axis + 2];
  const int firstSide = P.Vertical ? kSideTop : kSideLeft;
  const int secondSide = P.Vertical ? kSideBottom : kSideRight;
  const TPoint origin = P.BackgroundOffset;

  if (2 * P.Btn < length) {
    const int split = P.ThumbLen / 2 + P.ThumbPos;
    PaintTrackPart(M, first, P.PressedPart == SB_PAGEUP ? 2 : 0, span(0, split), Bitmap,
                   P.Background, origin);
    const TPoint at = along(split);
    PaintTrackPart(M, second, P.PressedPart == SB_PAGEDOWN ? 2 : 0, span(split, length), Bitmap,
                   P.Background, TPoint(origin.X + at.X, origin.Y + at.Y));
    PaintArrow(M, span(0, P.Btn), P.FirstArrowState, Bitmap, firstSide);
    PaintArrow(M, span(length - P.Btn, length), P.SecondArrowState, Bitmap, secondSide);
    const int track = length - 2 * P.Btn;
    // This measure only decides whether a thumb is shown; its length is
    // ThumbLen, as the hit test sees it.
    int v = MulDiv(static_cast<int>(P.Info.nPage), track, P.Info.nMax - P.Info.nMin);
    if (v < P.MinThumbSize || v < track - 1) v = std::min(P.MinThumbSize, track - 1);
    if (P.Active && v > 0 && track >= v)
      PaintThumb(M, span(P.ThumbPos, P.ThumbPos + P.ThumbLen), P.ThumbState, Bitmap, P.Vertical);
    return;
  }
  const int half = length / 2;
  PaintTrackPart(M, first, 0, span(0, half), Bitmap, P.Background, origin);
  PaintTrackPart(M, second, 0, span(half, length), Bitmap, P.Background, origin);
  PaintArrow(M, span(0, half), P.FirstArrowState, Bitmap, firstSide);
  PaintArrow(M, span(half, length), P.SecondArrowState, Bitmap, secondSide);
}

void FadeBar(TBitmap* Bitmap, const BackgroundRequest& Bg, const TPoint& Offset) {
  if (!Bitmap || Bitmap->Width() <= 0 || Bitmap->Height() <= 0) return;
  if (Bg.Kind == bgBitmap && Bg.Bitmap) {
    const int x = Bg.OffsetX + Offset.X, y = Bg.OffsetY + Offset.Y;
    // The source rectangle is inclusive.
    const TRect src(x, y, x + Bitmap->Width() - 1, y + Bitmap->Height() - 1);
    BlendCopyExceptKey(Bitmap, 0, 0, Bg.Bitmap, src, DisabledBlendLevel, clFuchsia);
    return;
  }
  PaintSoftRoundRect(Bitmap, MakeRECT(0, 0, Bitmap->Width(), Bitmap->Height()), 60,
                     static_cast<uint32_t>(ColorToRGB(Bg.Color)), 0, 0);
}

void PaintSizeBox(TsSkinManager* M, TBitmap* Box, TColor Fill, TBitmap* Background,
                  const TPoint& Offset, bool Grip) {
  if (!Box || Box->Width() <= 0 || Box->Height() <= 0) return;
  if (Background)
    BitBlt(Box->Canvas()->Handle(), 0, 0, Box->Width(), Box->Height(),
           Background->Canvas()->Handle(), Offset.X, Offset.Y, SRCCOPY);
  else
    FillRectArgb(Box, TRect(0, 0, Box->Width(), Box->Height()), Fill, 0xFF);
  if (!Grip || !M || !MaskIndexValid(*M, M->ConstData.GripImage)) return;
  const TsMaskData& grip = M->Masks[static_cast<size_t>(M->ConstData.GripImage)];
  DrawMaskStateFrame(Box, TPoint(Box->Width() - grip.FrameWidth, Box->Height() - grip.FrameHeight),
                     0, 1, grip, MakeBackgroundInfo(Box, 0, 0));
}
