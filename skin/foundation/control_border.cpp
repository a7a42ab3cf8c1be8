#include "skin/foundation/control_border.h"

#include <algorithm>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/background_query.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/nine_slice.h"
#include "skin/foundation/skin_source.h"
#include "widgets/controls/controls.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

// Removes one run of key pixels from the region. Difference, never XOR:
// pieces overlap and a region may be painted twice, and XOR would give back
// pixels already cut or add pixels the region never held.
void CutRun(HRGN region, HRGN scratch, int left, int right, int y) {
  SetRectRgn(scratch, left, y, right, y + 1);
  CombineRgn(region, region, scratch, RGN_DIFF);
}

// Shrinks a pair of opposite borders that do not fit into `size`: both lose
// half the excess from their inner side, the far one a pixel more at odd size.
void FitBorders(int& first, int& second, int size) {
  if (first + second <= size) return;
  const int excess = (first + second - size) / 2;
  first = std::max(first - excess, 0);
  second = std::max(second - excess - (size % 2 != 0 ? 1 : 0), 0);
}

}  // namespace

void PaintControlBorder(HDC DC, const TRect& Rect, int BorderWidth, ControlBorderHost& CommonData,
                        int State, TRect& ClientRect) {
  const TColor colour = CommonData.BgColor(State);
  const int bw = BorderWidth;
  const int w = Rect.Right - Rect.Left, h = Rect.Bottom - Rect.Top;
  const SkinSource* skin = CommonData.Skin();
  const int index = CommonData.BorderIndex();
  if (index < 0 || skin == nullptr || !skin->ValidImage(index)) {
    if (bw > 0) PaintBorderBands(DC, Rect, bw, bw, bw, bw, static_cast<uint32_t>(colour));
    return;
  }

  TControl* control = CommonData.Control();
  BackgroundRequest request;
  if (control != nullptr && control->Parent() != nullptr) {
    request.PaintFallback = false;
    QueryControlBackground(request, control->Parent(), false);
  }
  const int left = control != nullptr ? control->Left() : 0;
  const int top = control != nullptr ? control->Top() : 0;

  const TsMaskData& mask = skin->ImageData(index);
  if (skin->ValidSection(mask.SectionIndex)) {
    State = std::min(State, skin->Section(mask.SectionIndex).StateCount - 1);
  }
  State = std::max(State, 0);
  TBitmap* cache = CommonData.PrepareCacheBitmap();
  if (cache == nullptr) return;
  HDC cacheDC = cache->Canvas()->Handle();

  if (mask.MaskCount == 1) {
    if ((CommonData.StateFlags() & 0x0001) != 0) {
      PaintBorderBands(cacheDC, Rect, mask.BorderLeft, mask.BorderTop, mask.BorderRight,
                       mask.BorderBottom, static_cast<uint32_t>(colour));
    } else if (request.Kind == bgBitmap && request.Bitmap != nullptr) {
      const int widest = std::max({int(mask.BorderLeft), int(mask.BorderTop), int(mask.BorderRight),
                                   int(mask.BorderBottom)});
      BlitBorderFrame(cacheDC, Rect.Left, Rect.Top, w, h, request.Bitmap->Canvas()->Handle(),
                      left + request.OffsetX + Rect.Left, top + request.OffsetY + Rect.Top, widest);
    }
  }

  BackgroundInfo bg;
  BackgroundInfoFromRequest(request, bg);
  bg.OffsetX += left;
  bg.OffsetY += top;
  PaintMaskNineSlice(cache, Rect, bg, mask, State, true);

  ClientRect = TRect(Rect.Left + mask.BorderLeft, Rect.Top + mask.BorderTop,
                     Rect.Right - mask.BorderRight, Rect.Bottom - mask.BorderBottom);
  if (bw <= 0) return;

  // A plain band carries the mask's border on inwards up to BorderWidth.
  const int bandLeft = std::max(std::min(bw, w - mask.BorderRight) - mask.BorderLeft, 0);
  const int bandTop = std::max(std::min(bw, h - mask.BorderBottom) - mask.BorderTop, 0);
  const int bandRight = std::max(std::min(bw, w - mask.BorderLeft) - mask.BorderRight, 0);
  const int bandBottom = std::max(std::min(bw, h - mask.BorderTop) - mask.BorderBottom, 0);
  FillFrameArgb(cache, ClientRect, bandLeft, bandTop, bandRight, bandBottom,
                static_cast<TColor>(ColorToRGB(colour)));

  ClientRect = TRect(Rect.Left + bw, Rect.Top + bw, Rect.Right - bw, Rect.Bottom - bw);
  if (ClientRect.Right < ClientRect.Left) ClientRect.Right = ClientRect.Left;
  if (ClientRect.Bottom < ClientRect.Top) ClientRect.Bottom = ClientRect.Top;

  if (DC != cacheDC)
    BlitBorderFrame(DC, Rect.Left, Rect.Top, w, h, cacheDC, Rect.Left, Rect.Top, bw);
}

void CopyFramePieceToRegion(int DstLeft, int DstTop, int DstRight, int DstBottom, int SrcLeft,
                            int SrcTop, int SrcRight, int SrcBottom, TBitmap* Dst, HRGN Region,
                            const TsMaskData& Mask, bool SkipKey) {
  if (DstLeft < 0 || DstTop < 0 || DstRight < 0 || DstBottom < 0) return;
  if (Mask.Owner == nullptr || SrcLeft < 0 || SrcTop < 0) return;
  const PixelView dst = ArgbView(Dst);
  if (!dst.Valid() || dst.Width < 2 || dst.Height < 2) return;
  const PixelView src = MaskPixels(Mask);
  if (!src.Valid()) return;

  int w = std::min(DstRight - DstLeft, SrcRight - SrcLeft) + 1;
  int h = std::min({SrcBottom - SrcTop, DstBottom - DstTop, dst.Height - 1 - DstTop}) + 1;
  w = std::min({w, dst.Width - DstLeft, src.Width - SrcLeft});
  h = std::min(h, src.Height - SrcTop);
  const bool masked = Mask.MaskCount == 1;
  const int maskOffset = (Mask.SourceRect.bottom - Mask.SourceRect.top) / 2;
  if (masked) h = std::min(h, src.Height - SrcTop - maskOffset);
  if (w <= 0 || h <= 0) return;

  TOwnedRegion scratch(Region != nullptr && SkipKey ? CreateRectRgn(0, 0, 0, 0) : nullptr);
  for (int y = 0; y < h; ++y) {
    uint32_t* d = dst.Row(DstTop + y) + DstLeft;
    const uint32_t* s = src.Row(SrcTop + y) + SrcLeft;
    const uint32_t* m = masked ? src.Row(SrcTop + y + maskOffset) + SrcLeft : nullptr;
    int runStart = -1;
    for (int x = 0; x < w; ++x) {
      if (SkipKey && s[x] == kKeyPixel) {
        if (runStart < 0) runStart = x;
        continue;
      }
      if (runStart >= 0) {
        if (scratch) CutRun(Region, scratch.Get(), DstLeft + runStart, DstLeft + x, DstTop + y);
        runStart = -1;
      }
      if (!masked) {
        d[x] = s[x];
        continue;
      }
      // The alpha byte of the destination survives the mix.
      uint32_t v = d[x] & 0xFF000000u;
      for (int n = 0; n < 24; n += 8) {
        const int db = (d[x] >> n) & 0xFF, sb = (s[x] >> n) & 0xFF, mb = (m[x] >> n) & 0xFF;
        v |= (uint32_t(((db - sb) * mb + sb * 256) >> 8) & 0xFFu) << n;
      }
      d[x] = v;
    }
    if (runStart >= 0 && scratch) {
      CutRun(Region, scratch.Get(), DstLeft + runStart, DstLeft + w, DstTop + y);
    }
  }
}

void PaintMaskWithRegion(TBitmap* Bitmap, HRGN Region, bool Fill, const TsMaskData& Mask,
                         int State) {
  if (Bitmap == nullptr || Mask.Owner == nullptr) return;
  const int W = Bitmap->Width(), H = Bitmap->Height();
  if (W < 2 || H < 2) return;

  int BL = Mask.BorderLeft, BT = Mask.BorderTop, BR = Mask.BorderRight, BB = Mask.BorderBottom;
  FitBorders(BL, BR, W);
  FitBorders(BT, BB, H);

  TsMaskData mask = Mask;
  if (mask.FrameCount <= 0) {
    const PixelView image = MaskPixels(mask);
    mask.SourceRect = MakeRECT(0, 0, image.Width, image.Height);
    mask.FrameCount = 1;
    ComputeMaskFrameSize(mask);
  }
  State = std::max(std::min(State, mask.FrameCount - 1), 0);

  const int FW = mask.FrameWidth;
  const int FH =
      mask.MaskCount != 0 ? mask.FrameHeight : mask.SourceRect.bottom - mask.SourceRect.top;
  const int CW = std::max(FW - BL - BR, 0), CH = std::max(FH - BT - BB, 0);
  const int x0 = mask.SourceRect.left + State * FW, y0 = mask.SourceRect.top;

  const bool stretch = (mask.PaintMode & kMaskStretch) != 0;
  if (stretch) SetStretchBltMode(Bitmap->Canvas()->Handle(), COLORONCOLOR);
  const PixelView dst = ArgbView(Bitmap);
  const PixelView src = MaskPixels(mask);
  const int maskOffset =
      mask.MaskCount == 1 ? (mask.SourceRect.bottom - mask.SourceRect.top) / 2 : 0;

  // Exclusive destination rectangle, source origin and piece size.
  auto corner = [&](int dx, int dy, int w, int h, int sx, int sy) {
    CopyFramePieceToRegion(dx, dy, dx + w - 1, dy + h - 1, sx, sy, sx + w - 1, sy + h - 1, Bitmap,
                           Region, mask, true);
  };
  auto strip = [&](int l, int t, int r, int b, int sx, int sy, int sw, int sh, bool centre) {
    if (r <= l || b <= t || sw <= 0 || sh <= 0) return;
    if (stretch) {
      StretchMaskedPiece(l, t, r - l, b - t, sx, sy, sw, sh, dst, src, maskOffset, centre);
      return;
    }
    for (int y = t; y < b; y += sh) {
      for (int x = l; x < r; x += sw) {
        CopyFramePieceToRegion(x, y, std::min(x + sw, r) - 1, std::min(y + sh, b) - 1, sx, sy,
                               sx + sw - 1, sy + sh - 1, Bitmap, Region, mask, false);
      }
    }
  };

  corner(0, 0, BL, BT, x0, y0);
  corner(0, H - BB, BL, BB, x0, y0 + FH - BB);
  if (CH > 0) strip(0, BT, BL, H - BB, x0, y0 + BT, BL, CH, false);
  if (CW > 0) strip(BL, 0, W - BR, BT, x0 + BL, y0, CW, BT, false);
  if (CW > 0) strip(BL, H - BB, W - BR, H, x0 + BL, y0 + FH - BB, CW, BB, false);
  if (CH > 0) strip(W - BR, BT, W, H - BB, x0 + FW - BR, y0 + BT, BR, CH, false);
  corner(W - BR, H - BB, BR, BB, x0 + FW - BR, y0 + FH - BB);
  corner(W - BR, 0, BR, BT, x0 + FW - BR, y0);
  if (Fill && (mask.PaintMode & kMaskPaintCentre) != 0 && CW > 0 && CH > 0) {
    strip(BL, BT, W - BR, H - BB, x0 + BL, y0 + BT, CW, CH, true);
  }
}

void SetFlagAndRecreateWnd(TWinControl* Control, bool& Flag, bool Value) {
  if (Flag == Value) return;
  Flag = Value;
  if (Control != nullptr) Control->RecreateWnd();
}
