#include "skin/controls/page_geometry.h"

#include <algorithm>

namespace {

void Move(TRect& R, int Dx, int Dy) {
  R.Left += Dx;
  R.Right += Dx;
  R.Top += Dy;
  R.Bottom += Dy;
}

void Grow(TRect& R, int Dx, int Dy) {
  R.Left -= Dx;
  R.Right += Dx;
  R.Top -= Dy;
  R.Bottom += Dy;
}

bool Selectable(const TabPageInfo& P) {
  return P.TabVisible && P.Type == ttTab;
}

bool Horizontal(TTabPosition P) {
  return P == tpTop || P == tpBottom;
}

}  // namespace

int NearestSelectableIndex(const std::vector<TabPageInfo>& Pages, int Index) {
  const int n = static_cast<int>(Pages.size());
  if (Index < 0 || Index >= n) return -1;
  for (int i = Index; i < n; ++i)
    if (Selectable(Pages[static_cast<size_t>(i)])) return i;
  for (int i = Index - 1; i >= 0; --i)
    if (Selectable(Pages[static_cast<size_t>(i)])) return i;
  return Index;
}

TRect DisplayRectFor(TTabPosition Position, bool HasTabs, int Width, int Height, const TRect& A) {
  TRect r(0, 0, Width, Height);
  if (!HasTabs) return r;
  switch (Position) {
    case tpTop:
      r.Top = A.Top - 4;
      break;
    case tpBottom:
      r.Bottom = A.Bottom + 2;
      break;
    case tpLeft:
      r.Left = A.Left - 1;
      break;
    case tpRight:
      r.Right = A.Right + 1;
      break;
  }
  return r;
}

TRect TabsRectFor(TTabPosition Position, bool HasTabs, int Width, int Height, const TRect& A) {
  if (!HasTabs) return TRect();
  TRect r(0, 0, Width, Height);
  switch (Position) {
    case tpTop:
      r.Bottom = A.Top - 4;
      break;
    case tpBottom:
      r.Top = A.Bottom + 2;
      break;
    case tpLeft:
      r.Right = A.Left - 1;
      break;
    case tpRight:
      r.Left = A.Right + 1;
      break;
  }
  return r;
}

TRect TabsLineRectFor(TTabPosition Position, bool HasTabs, int Width, int Height, const TRect& A) {
  if (!HasTabs) return TRect();
  TRect r(0, 0, Width, Height);
  switch (Position) {
    case tpTop:
      r.Bottom = A.Top + 11;
      break;
    case tpBottom:
      r.Top = A.Bottom - 13;
      break;
    case tpLeft:
      r.Right = A.Left + 14;
      break;
    case tpRight:
      r.Left = A.Right - 14;
      break;
  }
  return r;
}

TRect SkinTabRectFor(const SkinTabRectInput& In) {
  TRect r = In.PlatformRect;
  const bool horizontal = Horizontal(In.Position);
  if (!In.ActiveTabEnlarged) {
    if (horizontal) {
      Grow(r, 0, 2);
    } else {
      Grow(r, 2, In.Active ? 2 : 0);
      if (In.Position == tpLeft) r.Right += In.Active ? 1 : -1;
    }
    return r;
  }
  const bool empty = r.Width() <= 0 || r.Height() <= 0;
  if (In.Style == tsTabs && !empty && In.Active) Grow(r, 2, 2);
  if (In.Style != tsTabs || !In.Skinned) return r;
  int d = 0;
  if (In.IsTabPage) {
    d = In.Covering;
  } else if (In.PrevCovering >= 0) {
    // A button among overlapping tabs keeps clear of its neighbour's overlap.
    if (horizontal)
      r.Left += In.PrevCovering + 1;
    else
      r.Top += In.PrevCovering + 1;
  } else if (In.NextCovering >= 0) {
    if (horizontal)
      r.Right -= In.NextCovering + 1;
    else
      r.Bottom -= In.NextCovering + 1;
  }
  if (d >= 1) {
    if (horizontal) {
      Move(r, d, 0);
      Grow(r, d, 0);
    } else {
      Move(r, 0, d);
      Grow(r, 0, d);
    }
  }
  return r;
}

namespace {

TabContentLayout LayoutVertical(const TabContentInput& In) {
  TabContentLayout L;
  L.TextWidth = In.TextWidth;
  L.TextHeight = In.TextHeight;
  TRect r = In.R;
  const bool active2 = In.State == 2 && In.ActiveTabEnlarged;
  if (In.Shift && In.State == 2 && In.IsButton) Move(r, 1, 1);
  if (In.Shift && active2 && !In.IsButton) Move(r, -1, -1);
  TRect& t = L.TextRect;
  t = r;
  if (In.IsMenu) {
    L.ArrowRect = Bounds(t.Left + (t.Width() - 9) / 2, r.Top + 8, 9, 9);
    t.Top = L.ArrowRect.Top + 11;
    L.ArrowDirection = 2;
    if (In.State == 2) Move(L.ArrowRect, 0, -1);
  }
  if (In.CloseButton) {
    L.CloseRect =
        Bounds(r.Left + (r.Width() - In.CloseWidth) / 2, r.Top + 4, In.CloseWidth, In.CloseHeight);
    t.Top = L.CloseRect.Bottom + 2;
    if (active2) {
      Move(r, 0, -2);
      Move(L.CloseRect, 2, 2);
    }
  }
  if (In.HasImage) {
    TRect& im = L.ImageRect;
    im.Bottom =
        In.CloseButton
            ? r.Bottom - 3
            : std::min(
                  r.Bottom - (r.Height() - (In.TextWidth + In.ImageHeight + In.TabSpacing)) / 2,
                  r.Bottom - 3);
    im.Top = im.Bottom - In.ImageHeight;
    im.Left = r.Left + 1 + (r.Width() - In.ImageWidth) / 2;
    im.Right = im.Left + In.ImageWidth;
    if (In.IsButton && active2) Move(im, 3, 0);
    t.Bottom = im.Top - In.TabSpacing;
  } else {
    t.Bottom = In.CloseButton ? r.Bottom - 5 : r.Bottom - (r.Height() - In.TextWidth) / 2;
  }
  t.Top = std::max(t.Bottom - In.TextWidth - 2, t.Top + 3);
  t.Left += (t.Width() - In.TextHeight) / 2;
  t.Right = t.Left + In.TextHeight + 2;
  if (In.FocusFrame && active2 && !In.CaptionEmpty && !In.IsButton) {
    L.FocusRect = t;
    Grow(L.FocusRect, 1, 3);
    L.FocusRect.Right += 2;
  }
  L.RotatedTextX = t.Left + (t.Width() - In.TextHeight) / 2;
  L.RotatedTextY = t.Bottom;
  return L;
}

TabContentLayout LayoutHorizontal(const TabContentInput& In) {
  TabContentLayout L;
  L.TextWidth = In.TextWidth;
  L.TextHeight = In.TextHeight;
  TRect r = In.R;
  const bool active2 = In.State == 2 && In.ActiveTabEnlarged;
  const bool top = In.Position == tpTop;
  if (top)
    r.Bottom -= 2;
  else
    r.Top += 2;
  if (!In.IsButton) {
    if (In.Style != tsTabs) {
      Move(r, 0, 1);
    } else {
      if (top) r.Top += 2;
      if (active2)
        Move(r, -1, -2);
      else
        Move(r, 0, top ? 1 : -2);
    }
  }
  TRect& t = L.TextRect;
  t = r;
  int x = r.Left;
  if (In.CloseButton) {
    const int cy = r.Top + (r.Height() - In.CloseHeight) / 2;
    L.CloseRect = TRect(r.Right - In.CloseWidth - 4, cy, r.Right - 4, cy + In.CloseHeight);
    t.Right = L.CloseRect.Left;
    x += In.TabPadding;
    if (active2) {
      Move(r, 3, 0);
      if (top)
        Move(L.CloseRect, 1, 1);
      else
        Move(L.CloseRect, 0, 2);
    }
  }
  if (In.HasImage) {
    const int w = In.ImageWidth, h = In.ImageHeight;
    int left;
    if (In.CloseButton || In.Alignment == taLeftJustify)
      left = r.Left + In.TabMargin;
    else if (In.Alignment == taRightJustify)
      left = r.Right - In.TextWidth - w - In.TabSpacing - In.TabMargin;
    else
      left =
          std::max(x + (t.Width() - ((In.IsMenu ? 13 : 0) + w + In.TextWidth + In.TabSpacing)) / 2,
                   r.Left + In.TabMargin);
    L.ImageRect = Bounds(left, r.Top + (r.Height() - h) / 2, w, h);
    x = L.ImageRect.Right + In.TabSpacing;
    if (In.Shift && active2) Move(L.ImageRect, 1, In.Style == tsTabs ? 1 : 0);
  } else if (In.Alignment == taLeftJustify || In.CloseButton || In.IsMenu ||
             (!In.IsButton && In.ShowCloseBtns)) {
    x = r.Left + In.TabMargin + In.TabPadding;
  } else if (In.Alignment == taRightJustify) {
    x = r.Right - In.TextWidth - In.TabMargin;
  } else {
    x = r.Left + (r.Width() - In.TextWidth) / 2;
  }
  t.Right = std::min(x + In.TextWidth + 2, In.CloseButton ? t.Right : t.Right - 3);
  t.Top += (t.Height() - In.TextHeight) / 2;
  t.Bottom = t.Top + In.TextHeight;
  t.Left = x;
  if (In.IsMenu) {
    if (Horizontal(In.Position) && r.Height() - In.TextHeight - 6 > 9) {
      Move(t, 0, -4);
      L.ArrowRect = Bounds(t.Left + (t.Width() - 9) / 2, t.Bottom, 9, 9);
    } else {
      L.ArrowRect = Bounds(std::min(x + In.TextWidth + 4, r.Right - 9),
                           t.Top + (t.Height() - 9) / 2 + 1, 9, 9);
    }
    L.ArrowDirection = 3;
    if (In.Shift && active2) Move(L.ArrowRect, 1, 1);
  }
  if (In.FocusFrame && active2 && !In.CaptionEmpty && !In.IsButton) {
    L.FocusRect = t;
    Grow(L.FocusRect, 3, 0);
    L.FocusRect.Bottom += 3;
  }
  if (In.Shift && active2) Move(t, 1, 1);
  L.RotatedTextX = x;
  L.RotatedTextY = t.Top;
  return L;
}

}  // namespace

TabContentLayout LayoutTabContentFor(const TabContentInput& In) {
  return In.Vertical ? LayoutVertical(In) : LayoutHorizontal(In);
}

int TabPaddingWidth(bool ShowClose, bool HasImages, int TabPadding, int Covering,
                    int CloseBtnWidth) {
  const int base = HasImages ? (ShowClose ? 6 : 7) : 4;
  int w = base + TabPadding + Covering;
  if (ShowClose) w += CloseBtnWidth / 2;
  return w;
}
