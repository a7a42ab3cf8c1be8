#include "skin/controls/button_layout.h"

#include "skin/foundation/vl_geometry.h"

namespace {

int Right(const ButtonLayoutInput& In) {
  return In.Width - (In.Style == 2 ? In.SplitArrowWidth : 0);
}

// With margins; a button without an image keeps room for a 32 x 32 one.
int ImageWidthWithMargins(const ButtonLayoutInput& In) {
  return (In.HasImage ? In.ImageWidth : 32) + In.ImageMargins.Left + In.ImageMargins.Right;
}

TRect Shifted(const ButtonLayoutInput& In, const TRect& R) {
  return In.Shift ? OffsetRectBy(R, 1, 1) : R;
}

}  // namespace

TRect ButtonContentRect(const ButtonLayoutInput& In) {
  const int w = In.TextWidth, h = In.TextHeight, W = Right(In), cm = In.ContentMargin;
  const TRect& m = In.ImageMargins;
  TRect r;
  if (In.Style == 1) {
    r.Left = ImageWidthWithMargins(In) + cm + 6;
    r.Right = W - cm;
    r.Top = cm;
    r.Bottom = r.Top + h;
    return Shifted(In, r);
  }
  const TImageAlignment a = In.HasImage ? In.ImageAlignment : iaCenter;
  if (a == iaTop || a == iaBottom) {
    if (a == iaTop) {
      const int above = m.Top + 2 * cm + In.ImageHeight;
      r.Top = above + (In.Height - cm - above - h) / 2;
    } else {
      const int above = In.Height - m.Bottom - cm - In.ImageHeight - m.Top;
      r.Top = m.Top + (above - h) / 2;
    }
    r.Bottom = r.Top + h;
    r.Left = cm;
    r.Right = W - cm;
    return Shifted(In, r);
  }
  if (a == iaLeft) {
    r.Left = m.Left + cm + In.ImageWidth + m.Right;
    r.Right = W - cm;
  } else if (a == iaRight) {
    r.Left = cm;
    r.Right = W - (m.Right + cm + In.ImageWidth + m.Left);
  } else {
    r.Left = (W - w) / 2 - 1;
    r.Right = r.Left + w + 2;
  }
  r.Top = (In.Height - h) / 2;
  r.Bottom = In.Height - r.Top;
  return Shifted(In, r);
}

TRect ButtonImageRect(const ButtonLayoutInput& In) {
  if (!In.HasImage) return TRect();
  const int iw = In.ImageWidth, ih = In.ImageHeight, W = Right(In), cm = In.ContentMargin;
  const TRect& m = In.ImageMargins;
  int left = 0, top = 0;
  if (In.Style == 1) {
    left = m.Left + cm;
    top = cm;
  } else {
    switch (In.ImageAlignment) {
      case iaLeft:
        left = m.Left + cm;
        top = (In.Height - ih) / 2;
        break;
      case iaRight:
        left = W - m.Right - cm - iw;
        top = (In.Height - ih) / 2;
        break;
      case iaTop:
        left = (W - iw) / 2;
        top = m.Top + cm;
        break;
      case iaBottom:
        left = (W - iw) / 2;
        top = In.Height - m.Bottom - cm - ih;
        break;
      case iaCenter:
        left = (W - iw) / 2;
        top = (In.Height - ih) / 2;
        break;
    }
  }
  return Shifted(In, TRect(left, top, left + iw, top + ih));
}

int ButtonCurrentImageIndex(const ButtonImageIndexes& Indexes, int ImageCount, bool Enabled,
                            bool Focused, int ContentState) {
  int index;
  if (!Enabled)
    index = Indexes.DisabledImageIndex;
  else if (ContentState == 2)
    index = Indexes.PressedImageIndex;
  else if (Focused)
    index = Indexes.SelectedImageIndex;
  else if (ContentState == 1)
    index = Indexes.HotImageIndex;
  else if (ContentState == 3)
    index = Indexes.SelectedImageIndex;
  else
    index = Indexes.ImageIndex;
  return index >= 0 && index < ImageCount ? index : Indexes.ImageIndex;
}
