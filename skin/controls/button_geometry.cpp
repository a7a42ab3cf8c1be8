#include "skin/controls/button_geometry.h"

#include <algorithm>

#include "skin/controls/button_glyphs.h"
#include "skin/foundation/vl_geometry.h"

namespace {

bool ShiftsWhenPressed(int state, bool skinned, bool shift) {
  return state == 2 && (!skinned || shift);
}

}  // namespace

bool BitBtnHasDisabledImage(const BitBtnGeometry& G) {
  return G.Images != nullptr && G.DisabledImageIndex >= 0 &&
         G.DisabledImageIndex < ImageListCount(G.Images);
}

int BitBtnGlyphState(const BitBtnGeometry& G) {
  if (G.PressedLook || G.Down) return 2;
  if (G.Hot) return 1;
  if (G.Default && (G.FocusWnd == nullptr || (G.FocusStyle & 0x8) == 0)) return 3;
  return 0;
}

int BitBtnGlyphWidth(const BitBtnGeometry& G) {
  const int n = std::max(1, G.NumGlyphs);
  return BitBtnHasDisabledImage(G) ? ImageListWidth(G.Images) / n : G.GlyphBitmapWidth / n;
}

int BitBtnGlyphHeight(const BitBtnGeometry& G) {
  return BitBtnHasDisabledImage(G) ? ImageListHeight(G.Images) : G.GlyphBitmapHeight;
}

TRect BitBtnGlyphRect(const BitBtnGeometry& G) {
  const int w = BitBtnGlyphWidth(G);
  TRect r(G.GlyphPos.X, G.GlyphPos.Y, G.GlyphPos.X + w, G.GlyphPos.Y + BitBtnGlyphHeight(G));
  if (ShiftsWhenPressed(BitBtnGlyphState(G), G.Skinned, G.ShiftContentOnClick))
    r = OffsetRectBy(r, 1, 1);
  // The mirror below needs room; the button keeps it by its glyph's width.
  if (G.Reflected) r = OffsetRectBy(r, 0, -(w / 6));
  return r;
}

bool BitBtnDiscolored(const BitBtnGeometry& G) {
  return G.Grayed || (G.Skinned && G.DiscoloredGlyphs);
}

int SpeedBtnSplitArrowWidth(int ScalePercent) {
  return 16 * ScalePercent / 100;
}

int SpeedBtnArrowPart(const SpeedBtnGeometry& G) {
  return G.DropDown ? SpeedBtnSplitArrowWidth(G.ScalePercent) : 0;
}

int SpeedBtnGlyphMargin(const SpeedBtnGeometry& G) {
  return G.Margin < 0 ? 0 : G.Margin + 3;
}

int SpeedBtnMaxTextWidth(const SpeedBtnGeometry& G) {
  if (!G.ShowCaption || G.CaptionEmpty) return 0;
  int w = G.Width - 2 * std::max(0, G.Margin) - SpeedBtnArrowPart(G);
  if (G.Layout <= 1 && G.GlyphWidth != 0) w -= G.GlyphWidth + G.Spacing;
  return w;
}

TSize SpeedBtnTextSize(HDC DC, const std::string& Caption, int MaxWidth, bool WordWrap,
                       bool Ellipsis) {
  RECT r{0, 0, MaxWidth, 0};
  UINT format = DT_CALCRECT | DT_EXPANDTABS | (WordWrap ? DT_WORDBREAK : DT_SINGLELINE);
  if (Ellipsis) format |= DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS;
  std::string text = Caption;
  DrawTextA(DC, text.data(), static_cast<int>(text.size()), &r, format);
  return {r.right - r.left, r.bottom - r.top};
}

TRect SpeedBtnGlyphRect(const SpeedBtnGeometry& G, bool ApplyShift) {
  const int w = G.Width, h = G.Height, gw = G.GlyphWidth, gh = G.GlyphHeight;
  const int tw = G.TextWidth, th = G.TextHeight;
  const int m = SpeedBtnGlyphMargin(G);
  const int s =
      G.ShowCaption && !G.CaptionEmpty && gw > 0 ? MulDiv(G.Spacing, G.ScalePercent, 100) : 0;
  const int r = w - SpeedBtnArrowPart(G) - gw;
  const bool pressed = G.State == 2;
  int left = 0, top = 0;
  switch (G.Layout) {
    case 0:
      left = G.Alignment == 0   ? m
             : G.Alignment == 1 ? 2 * ((r - s - tw) / 2) - m
                                : (r - s - tw) / 2;
      top = (h - gh) / 2;
      break;
    case 1:
      left = G.Alignment == 0   ? SpeedBtnCaptionRect(G, ApplyShift).Right + s - (pressed ? 1 : 0)
             : G.Alignment == 1 ? r - m
                                : (r + s + tw) / 2;
      top = (h - gh) / 2;
      break;
    case 2:
      left = r / 2 + 1;
      top = (h - gh - s - th) / 2;
      break;
    default:
      left = r / 2 + 1;
      top = h - gh - (h - gh - s - th) / 2;
      break;
  }
  TRect rect(left, top, left + gw, top + gh);
  if (ApplyShift && ShiftsWhenPressed(G.State, G.Skinned, G.ShiftContentOnClick))
    rect = OffsetRectBy(rect, 1, 1);
  if (G.Reflected) rect = OffsetRectBy(rect, 0, -(gh / 6));
  return rect;
}

TRect SpeedBtnCaptionRect(const SpeedBtnGeometry& G, bool ApplyShift) {
  const int w = G.Width, h = G.Height, gw = G.GlyphWidth, gh = G.GlyphHeight;
  const int tw = G.TextWidth, th = G.TextHeight;
  const int m = SpeedBtnGlyphMargin(G);
  const int a = SpeedBtnArrowPart(G);
  const bool hasGlyph = G.Layout <= 1 ? gw > 0 : gh > 0;
  const int s = hasGlyph && !G.CaptionEmpty ? G.Spacing : 0;
  const int c = (w - a - tw - gw - s - 2 * m) / 2 + m + gw + s;
  const int t = G.CaptionAlignment;
  TRect r;
  switch (G.Layout) {
    case 0:
      if (G.Alignment == 0) {
        r.Left = t == 0 ? m + gw + s : gw == 0 ? m : t == 1 ? w - m - tw - a : c;
        r.Right = r.Left + tw;
      } else if (G.Alignment == 1) {
        r.Left = w - m - tw - a;
        r.Right = w - a - m;
      } else {
        r.Left = c;
        r.Right = c + tw;
      }
      break;
    case 1:
      if (G.Alignment == 0) {
        r.Left = m;
        r.Right = m + tw;
      } else if (G.Alignment == 1) {
        if (t == 0)
          r.Left = gw == 0 ? w - m - tw - a : m;
        else if (t == 1)
          r.Left = w - m - gw - s - tw - a;
        else
          r.Left = gw == 0 ? w - m - tw - a : (w - m - gw - s - tw - a) / 2;
        r.Right = w - a - gw - s - m;
      } else {
        r.Left = (w - a - gw - s - tw) / 2;
        r.Right = r.Left + tw;
      }
      break;
    default:
      r.Left = (w - tw - a) / 2;
      r.Right = w - r.Left - a;
      break;
  }
  if (G.Layout <= 1) {
    r.Top = (h - th) / 2;
    r.Bottom = r.Top + th;
    r.Left += G.CaptionOffset;
    r.Right += G.CaptionOffset;
  } else {
    if (G.Layout == 2) {
      const int t0 = (h - gh - s - th) / 2 - m;
      r.Top = t0 + m + gh + s;
      r.Bottom = h - t0 - m;
    } else {
      const int e = (h - gh - s - th) / 2;
      r.Top = e;
      r.Bottom = h - e - gh - s;
    }
    r.Top += G.CaptionOffset;
    r.Bottom += G.CaptionOffset;
  }
  if (ApplyShift && ShiftsWhenPressed(G.State, G.Skinned, G.ShiftContentOnClick))
    r = OffsetRectBy(r, 1, 1);
  return r;
}

int SpeedBtnImageIndex(const SpeedBtnImages& G) {
  int index;
  if (!G.Enabled)
    index = G.DisabledImageIndex;
  else if (G.State == 2 || G.State == 3 || (G.Down && !G.DownIgnored))
    index = G.State == 3 ? G.SelectedImageIndex : G.PressedImageIndex;
  else
    index = G.MouseOver ? G.HotImageIndex : -1;
  return index == -1 ? G.ImageIndex : index;
}
