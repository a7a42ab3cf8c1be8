#include "skin/foundation/draw_helpers.h"

#include <algorithm>
#include <cmath>

#include "skin/foundation/skin_const.h"
#include "skin/foundation/skin_source.h"
#include "widgets/controls/controls.h"
#include "widgets/graphics/graphics.h"

namespace {

// Appends the runs of `value` in pixels [x0, x1) of row y as rectangles at
// (dstX + column, dstY).
void AppendRuns(TRects& rects, const PixelView& bitmap, int y, int x0, int x1, uint32_t value,
                int dstX, int dstY) {
  const uint32_t* row = bitmap.Row(y);
  int start = -1;
  for (int x = x0; x <= x1; ++x) {
    const bool key = x < x1 && row[x] == value;
    if (key && start < 0) start = x;
    if (!key && start >= 0) {
      rects.push_back(MakeRECT(dstX + start - x0, dstY, dstX + x - x0, dstY + 1));
      start = -1;
    }
  }
}

// Every rectangle of `rects` removed from `region`, in batches so that no
// single region description grows without bound.
void SubtractRects(HRGN region, const TRects& rects) {
  constexpr size_t kBatch = 2000;
  std::vector<uint8_t> data;
  for (size_t first = 0; first < rects.size(); first += kBatch) {
    const size_t n = std::min(kBatch, rects.size() - first);
    data.assign(sizeof(RGNDATAHEADER) + n * sizeof(RECT), 0);
    auto* rgn = reinterpret_cast<RGNDATA*>(data.data());
    rgn->rdh.dwSize = sizeof(RGNDATAHEADER);
    rgn->rdh.iType = RDH_RECTANGLES;
    rgn->rdh.nCount = static_cast<DWORD>(n);
    rgn->rdh.nRgnSize = static_cast<DWORD>(n * sizeof(RECT));
    RECT bounds = rects[first];
    for (size_t i = first; i < first + n; ++i) UnionRect(&bounds, &bounds, &rects[i]);
    rgn->rdh.rcBound = bounds;
    std::copy_n(rects.begin() + static_cast<ptrdiff_t>(first), n,
                reinterpret_cast<RECT*>(rgn->Buffer));
    TOwnedRegion part(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rgn));
    if (part) CombineRgn(region, region, part.Get(), RGN_DIFF);
  }
}

void CopyArea(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy) {
  if (w > 0 && h > 0) BitBlt(dst, x, y, w, h, src, sx, sy, SRCCOPY);
}

// Fills `area` with the source piece, tiled from its top-left corner (the
// last tiles clipped) or stretched once.
void FillFromPiece(HDC dst, RECT area, HDC src, int sx, int sy, int sw, int sh, bool stretch) {
  const int aw = area.right - area.left, ah = area.bottom - area.top;
  if (aw <= 0 || ah <= 0 || sw <= 0 || sh <= 0) return;
  if (stretch) {
    StretchBlt(dst, area.left, area.top, aw, ah, src, sx, sy, sw, sh, SRCCOPY);
    return;
  }
  for (int y = area.top; y < area.bottom; y += sh)
    for (int x = area.left; x < area.right; x += sw)
      BitBlt(dst, x, y, std::min<int>(sw, area.right - x), std::min<int>(sh, area.bottom - y), src,
             sx, sy, SRCCOPY);
}

}  // namespace

// ---- Regions ---------------------------------------------------------------------

void CollectKeyColorRuns(TRects& rects, const PixelView& bitmap, uint32_t keyColor) {
  if (!bitmap.Valid()) return;
  const uint32_t key = keyColor & 0xFFFFFFu;
  for (int y = 0; y < bitmap.Height; ++y) AppendRuns(rects, bitmap, y, 0, bitmap.Width, key, 0, y);
}

TOwnedRegion RegionFromBitmap(const PixelView& bitmap, uint32_t keyColor) {
  TOwnedRegion region(CreateRectRgn(0, 0, std::max(bitmap.Width, 0), std::max(bitmap.Height, 0)));
  if (!region) return region;
  TRects runs;
  CollectKeyColorRuns(runs, bitmap, keyColor);
  SubtractRects(region.Get(), runs);
  return region;
}

void AddTransparentCornerRects(TRects& rects, int width, const TsMaskData& mask, int y,
                               bool bottom) {
  const PixelView image = MaskPixels(mask);
  if (!image.Valid()) return;
  const int rows = bottom ? mask.BorderBottom : mask.BorderTop;
  if (rows <= 0) return;
  const int firstRow = mask.SourceRect.top + (bottom ? mask.FrameHeight - mask.BorderBottom : 0);
  if (firstRow < 0 || firstRow + rows > image.Height) return;
  const int left = mask.SourceRect.left;
  const struct {
    int from, to, dstX;  // source columns [from, to) of frame 0, placed at dstX
  } corners[] = {
      {0, mask.BorderLeft, 0},
      {mask.FrameWidth - mask.BorderRight, mask.FrameWidth, width - mask.BorderRight},
  };
  for (int row = 0; row < rows; ++row) {
    for (const auto& c : corners) {
      const int x0 = std::max(left + c.from, 0), x1 = std::min(left + c.to, image.Width);
      if (x1 <= x0) continue;
      AppendRuns(rects, image, firstRow + row, x0, x1, kKeyPixel, c.dstX + (x0 - left - c.from),
                 y + row);
    }
  }
}

// ---- Fills and copies ---------------------------------------------------------------

void PaintSolidRect(HDC dc, RECT rect, uint32_t color) {
  TSavedDC saved(dc);
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(static_cast<TColor>(color))));
  if (!brush) return;
  TSelectedObject selection(dc, brush.Get());
  FillRect(dc, &rect, brush.Get());
}

void PaintBorderBands(HDC dc, RECT rect, int left, int top, int right, int bottom, uint32_t color) {
  TSavedDC saved(dc);
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(static_cast<TColor>(color))));
  if (!brush) return;
  const RECT& r = rect;
  const RECT bands[] = {
      MakeRECT(r.left, r.top, r.right, r.top + top),
      MakeRECT(r.left, r.top + top, r.left + left, r.bottom),
      MakeRECT(r.left + left, r.bottom - bottom, r.right, r.bottom),
      MakeRECT(r.right - right, r.top + top, r.right, r.bottom - bottom),
  };
  for (const RECT& band : bands) FillRect(dc, &band, brush.Get());
}

void BlitBorderFrame(HDC dstDC, int x, int y, int width, int height, HDC srcDC, int srcX, int srcY,
                     int borderWidth) {
  const int bw = borderWidth;
  const struct {
    int x, y, w, h;
  } strips[] = {
      {x, y, bw, height},
      {x + bw, y, width - bw, bw},
      {x + width - bw, y + bw, bw, height - bw},
      {x + bw, y + height - bw, width - bw, bw},
  };
  for (const auto& s : strips)
    CopyArea(dstDC, s.x, s.y, s.w, s.h, srcDC, srcX + (s.x - x), srcY + (s.y - y));
}

void BlitNineSlice(TBitmap* dst, TBitmap* src, RECT dstRect, RECT srcRect, RECT borders,
                   RECT limits, RECT modes, bool stretchCentre, bool fill) {
  if (dst == nullptr || src == nullptr || dst->Empty() || src->Empty()) return;
  TCanvas* dstCanvas = dst->Canvas();
  TCanvas* srcCanvas = src->Canvas();
  dstCanvas->Lock();
  srcCanvas->Lock();
  struct Unlock {
    TCanvas* a;
    TCanvas* b;
    ~Unlock() {
      b->Unlock();
      a->Unlock();
    }
  } unlock{dstCanvas, srcCanvas};
  HDC d = dstCanvas->Handle();
  HDC s = srcCanvas->Handle();
  TSavedDC saved(d);
  SetStretchBltMode(d, COLORONCOLOR);

  const RECT& D = dstRect;
  const RECT& S = srcRect;
  const RECT& B = borders;
  const int l = std::min(B.left, limits.left), t = std::min(B.top, limits.top);
  const int r = std::min(B.right, limits.right), b = std::min(B.bottom, limits.bottom);

  // Corners: full border width along the top and bottom edges, limited high;
  // the rest of each corner's height limited wide.
  CopyArea(d, D.left, D.top, B.left, t, s, S.left, S.top);
  CopyArea(d, D.right - B.right, D.top, B.right, t, s, S.right - B.right, S.top);
  CopyArea(d, D.left, D.bottom - b, B.left, b, s, S.left, S.bottom - b);
  CopyArea(d, D.right - B.right, D.bottom - b, B.right, b, s, S.right - B.right, S.bottom - b);
  if (t < B.top) {
    CopyArea(d, D.left, D.top + t, l, B.top - t, s, S.left, S.top + t);
    CopyArea(d, D.right - r, D.top + t, r, B.top - t, s, S.right - r, S.top + t);
  }
  if (b < B.bottom) {
    CopyArea(d, D.left, D.bottom - B.bottom, l, B.bottom - b, s, S.left, S.bottom - B.bottom);
    CopyArea(d, D.right - r, D.bottom - B.bottom, r, B.bottom - b, s, S.right - r,
             S.bottom - B.bottom);
  }

  const int cw = std::max<int>(0, S.right - S.left - B.left - B.right);
  const int ch = std::max<int>(0, S.bottom - S.top - B.top - B.bottom);
  const int innerTop = D.top + B.top, innerBottom = D.bottom - B.bottom;
  const int innerLeft = D.left + B.left, innerRight = D.right - B.right;
  if (ch > 0) {
    FillFromPiece(d, MakeRECT(D.left, innerTop, D.left + l, innerBottom), s, S.left, S.top + B.top,
                  l, ch, modes.left == 1);
    FillFromPiece(d, MakeRECT(D.right - r, innerTop, D.right, innerBottom), s, S.right - r,
                  S.top + B.top, r, ch, modes.right == 1);
  }
  if (cw > 0) {
    FillFromPiece(d, MakeRECT(innerLeft, D.top, innerRight, D.top + t), s, S.left + B.left, S.top,
                  cw, t, modes.top == 1);
    FillFromPiece(d, MakeRECT(innerLeft, D.bottom - b, innerRight, D.bottom), s, S.left + B.left,
                  S.bottom - b, cw, b, modes.bottom == 1);
  }
  if (fill)
    FillFromPiece(d, MakeRECT(innerLeft, innerTop, innerRight, innerBottom), s, S.left + B.left,
                  S.top + B.top, cw, ch, stretchCentre);
}

void ExcludeGraphicChildRects(HDC dc, TWinControl* parent, int x, int y) {
  if (parent == nullptr) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* child = parent->Controls(i);
    if (!child->Visible() || dynamic_cast<TGraphicControl*>(child) == nullptr) continue;
    ExcludeClipRect(dc, x + child->Left(), y + child->Top(), x + child->Left() + child->Width(),
                    y + child->Top() + child->Height());
  }
}

// ---- Arrows and frames -------------------------------------------------------------

void DrawArrowArgb(const PixelView& bitmap, uint32_t color, RECT rect, int direction) {
  if (!bitmap.Valid()) return;
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const bool vertical = direction == kArrowUp || direction == kArrowDown;
  // The shape: 7 wide and 4 high pointing up or down, 4 wide and 7 high
  // pointing left or right.
  const int shapeW = vertical ? 7 : 4, shapeH = vertical ? 4 : 7;
  const int x0 = rect.left + (w - (vertical ? ArrowWidth : ArrowLength)) / 2;
  const int y0 = rect.top + (h - (vertical ? ArrowLength : ArrowWidth)) / 2;
  // An arrow that ends on the last column or row still fits.
  if (x0 < 0 || y0 < 0 || x0 + shapeW > bitmap.Width || y0 + shapeH > bitmap.Height) return;
  const uint32_t value = SwapRedBlueKeepTop(color);
  if (vertical) {
    for (int row = 0; row < 4; ++row) {
      const int half = direction == kArrowUp ? row : 3 - row;  // the tip is one pixel
      uint32_t* p = bitmap.Row(y0 + row);
      for (int x = x0 + 3 - half; x <= x0 + 3 + half; ++x) p[x] = value;
    }
    return;
  }
  for (int row = 0; row < 7; ++row) {
    const int len = 4 - std::abs(row - 3);  // 1, 2, 3, 4, 3, 2, 1
    const int first = direction == kArrowLeft ? x0 + 4 - len : x0;
    uint32_t* p = bitmap.Row(y0 + row);
    for (int x = first; x < first + len; ++x) p[x] = value;
  }
}

void DrawArrowOnCanvas(TCanvas* canvas, uint32_t color, RECT rect, int direction) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const TColor c = static_cast<TColor>(color);
  if (direction == kArrowUp || direction == kArrowDown) {
    const int x0 = rect.left + (w - ArrowWidth) / 2 - 1, y0 = rect.top + (h - ArrowLength) / 2 - 1;
    for (int row = 0; row < 5; ++row) {
      const int half = direction == kArrowUp ? row : 4 - row;
      for (int x = x0 + 4 - half; x <= x0 + 4 + half; ++x) canvas->SetPixels(x, y0 + row, c);
    }
    return;
  }
  const int x0 = rect.left + (w - ArrowLength) / 2, y0 = rect.top + (h - ArrowWidth) / 2;
  for (int col = 0; col < 5; ++col) {
    const int half = direction == kArrowLeft ? col : 4 - col;
    for (int y = y0 + 4 - half; y <= y0 + 4 + half; ++y) canvas->SetPixels(x0 + col, y, c);
  }
}

void DrawBevelFrame(HDC dc, RECT& rect, uint32_t topLeftColor, uint32_t bottomRightColor,
                    int& width) {
  TOwnedPen light(CreatePen(PS_SOLID, 1, ColorToRGB(static_cast<TColor>(topLeftColor))));
  TOwnedPen dark(CreatePen(PS_SOLID, 1, bottomRightColor));
  TSelectedObject brush(dc, GetStockObject(NULL_BRUSH));
  TSelectedObject pen(dc, light.Get());
  --rect.right;
  --rect.bottom;
  while (width > 0) {
    --width;
    const POINT first[] = {{rect.left, rect.bottom}, {rect.left, rect.top}, {rect.right, rect.top}};
    SelectObject(dc, light.Get());
    Polyline(dc, first, 3);
    const POINT second[] = {
        {rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left - 1, rect.bottom}};
    SelectObject(dc, dark.Get());
    Polyline(dc, second, 3);
    InflateRect(&rect, -1, -1);
  }
  ++rect.right;
  ++rect.bottom;
}

void PaintDottedFrame(TCanvas* canvas, RECT rect, uint32_t shadowColor, uint32_t color) {
  const RECT r = MakeRECT(rect.left, rect.top, rect.right - 1, rect.bottom - 1);
  const TColor shadow = static_cast<TColor>(shadowColor), dot = static_cast<TColor>(color);
  auto put = [canvas](int x, int y, TColor c) {
    if (c != clNone) canvas->SetPixels(x, y, c);
  };
  for (int k = 1; k <= (rect.right - rect.left) / 2; ++k) {
    const int x = r.left + 2 * k;
    for (int y : {r.top, r.bottom}) {
      put(x, y, dot);
      put(x - 1, y, shadow);
    }
  }
  for (int k = 1; k <= (rect.bottom - rect.top) / 2; ++k) {
    const int y = r.top + 2 * k;
    for (int x : {r.left, r.right}) {
      put(x, y, dot);
      put(x, y - 1, shadow);
    }
  }
}
