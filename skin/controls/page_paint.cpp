// The page control's unskinned look, the programs' as shipped: the whole
// control is painted into one buffer (themed or classic frame, then every
// tab into a bitmap of its own) and copied once, so nothing flickers.
#include <windows.h>

#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>

#include "skin/controls/page_control.h"
#include "skin/controls/alpha_image_list.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/text_paint.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/img_list.h"
#include "widgets/graphics/theme_data.h"
#include "widgets/rtl/object_model.h"

namespace {

void Fill(HDC DC, const RECT& R, TColor Color) {
  TOwnedBrush brush(CreateSolidBrush(ColorToRGB(Color)));
  FillRect(DC, &R, brush.Get());
}

// A one-pixel 3D frame: raised with Light top-left, sunken with it swapped.
void Frame3D(HDC DC, const RECT& R, bool Raised) {
  const TColor light = Raised ? clBtnHighlight : clBtnShadow;
  const TColor dark = Raised ? clBtnShadow : clBtnHighlight;
  Fill(DC, RECT{R.left, R.top, R.right, R.top + 1}, light);
  Fill(DC, RECT{R.left, R.top, R.left + 1, R.bottom}, light);
  Fill(DC, RECT{R.left, R.bottom - 1, R.right, R.bottom}, dark);
  Fill(DC, RECT{R.right - 1, R.top, R.right, R.bottom}, dark);
}

void Line(HDC DC, int X1, int Y1, int X2, int Y2) {
  MoveToEx(DC, X1, Y1, nullptr);
  LineTo(DC, X2, Y2);
}

uint32_t ArgbOf(TColor C) {
  const COLORREF c = ColorToRGB(C);
  return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace

void TsPageControl::PaintUnskinned(HDC DC) {
  if ((Parent() && Parent()->HasState(csDestroying)) || HasState(csLoading)) return;
  if (!HandleAllocated() || Width() <= 0 || Height() <= 0) return;
  auto buffer = OwnObject(NewArgbBitmap(Width(), Height()));
  HDC b = buffer->Canvas()->Handle();
  RECT all{0, 0, Width(), Height()};
  const TRect display = DisplayRect();
  RECT pane = *display.AsRECT();
  TThemeData theme(Handle(), L"TAB");
  if (Style() != tsTabs) {
    Fill(b, all, Color());
  } else if (ThemesEnabled() && theme.Defines(TABP_PANE)) {
    Fill(b, all, Color());
    // The pane covers parent and body wherever the pages are: only the tab
    // row shows them, and each costs as much as the pane.
    RECT row = *TabsRect().AsRECT();
    if (!IsRectEmpty(&row)) {
      DrawThemeParentBackground(Handle(), b, &row);
      if (theme.Defines(TABP_BODY)) DrawThemeBackground(theme.Get(), b, TABP_BODY, 0, &all, &row);
    }
    DrawThemeBackground(theme.Get(), b, TABP_PANE, 0, &pane, nullptr);
  } else {
    Fill(b, all, Color());
    DrawEdge(b, &pane, EDGE_RAISED, BF_RECT);
  }
  PaintTabsUnskinned(b);
  LastVisibleTabCount = VisibleTabCount();
  BitBlt(DC, 0, 0, Width(), Height(), b, 0, 0, SRCCOPY);
}

void TsPageControl::PaintTabsUnskinned(HDC DC) {
  const int active = ActivePageIndex();
  for (int i = 0; i < PageCount(); ++i) {
    if (i == active || !Pages(i)->TabVisible()) continue;
    PaintTabUnskinned(i, i == PressedMenuTab ? 2 : (i == HotTab ? 1 : 0), DC);
  }
  TsTabSheet* a = ActiveSheet();
  if (active >= 0 && Pages(active)->TabVisible() && (!a || a->TabType() == ttTab))
    PaintTabUnskinned(active, 2, DC);
}

void TsPageControl::PaintTabUnskinned(int Index, int State, HDC DC) {
  TRect r = PageTabRect(Index);
  if (r.Width() <= 0 || r.Height() <= 0 || (State != 0 && r.Left < 0)) return;
  TsTabSheet* page = Page(Index);
  const bool isButton = IsButtonTab(Index, false);
  const bool isMenu = isButton && page && page->TabType() == ttMenu;
  const bool horizontal = TabPosition() == tpTop || TabPosition() == tpBottom;
  const bool active = Index == ActivePageIndex();
  if (isButton) {
    if (horizontal) {
      r.Left += 3;
      r.Right -= 3;
      r.Top += 1;
      r.Bottom -= 1;
    } else {
      r.Left += 1;
      r.Right -= 1;
      r.Top += 3;
      r.Bottom -= 3;
    }
  } else if (active && Style() == tsTabs) {
    r.Left -= 2;
    r.Right += 2;
    r.Top -= 2;
    r.Bottom += 2;
  }
  const int w = r.Width(), h = r.Height();
  auto bmp = OwnObject(NewArgbBitmap(w, h));
  TCanvas* c = bmp->Canvas();
  HDC b = c->Handle();
  // The tab's surroundings first: tab shapes leave their corners alone.
  BitBlt(b, 0, 0, w, h, DC, r.Left, r.Top, SRCCOPY);
  const RECT local{0, 0, w, h};
  TThemeData tabTheme(Handle(), L"TAB");
  // Theme data is opened only for the part a tab needs: opening is not free.
  const auto toolButton = [&](int ToolState) {
    TThemeData t(Handle(), L"TOOLBAR");
    if (t.Get()) DrawThemeBackground(t.Get(), b, TP_BUTTON, ToolState, &local, nullptr);
  };
  const bool themed = ThemesEnabled() && tabTheme.Get();
  TColor fontColor = Font()->Color();
  const int toolState[] = {TS_NORMAL, TS_HOT, TS_PRESSED};
  if (themed) {
    if (isButton) {
      if (State != 0) Fill(b, local, Color());
      if (isMenu) {
        if (State != 0) {
          Fill(b, RECT{1, 1, w - 1, h - 1}, clMenuHighlight);
          fontColor = clHighlightText;
        } else {
          fontColor = clMenuText;
        }
      } else {
        toolButton(toolState[State]);
      }
    } else if (Style() == tsButtons) {
      const int s[] = {PBS_NORMAL, PBS_HOT, PBS_PRESSED};
      TThemeData button(Handle(), L"BUTTON");
      DrawThemeBackground(button.Get(), b, BP_PUSHBUTTON, s[State], &local, nullptr);
    } else if (Style() == tsFlatButtons) {
      if (r.Left > 6) {
        RECT sep{r.Left - 6, r.Top, r.Left - 4, r.Bottom};
        DrawEdge(DC, &sep, EDGE_ETCHED, BF_LEFT);
      }
      if (State < 2) Fill(b, local, Color());
      toolButton(toolState[State]);
    } else if (TabPosition() == tpTop) {
      const int s[] = {TIS_NORMAL, TIS_HOT, TIS_SELECTED};
      DrawThemeBackground(tabTheme.Get(), b, TABP_TABITEM, s[State], &local, nullptr);
    } else if (State < 2) {
      toolButton(State == 0 ? TS_PRESSED : TS_HOT);
    } else {
      // The pane's edge must not show on the side facing the page.
      RECT pane = local;
      if (TabPosition() == tpBottom) pane.top -= 6;
      if (TabPosition() == tpLeft) pane.right += 6;
      if (TabPosition() == tpRight) pane.left -= 6;
      DrawThemeBackground(tabTheme.Get(), b, TABP_PANE, 0, &pane, nullptr);
    }
  } else {
    Fill(b, local, Color());
    RECT e = local;
    if (isButton && !isMenu) {
      if (State != 0) Frame3D(b, local, State == 1);
    } else if (isMenu) {
      if (State != 0) {
        Fill(b, local, clMenuHighlight);
        fontColor = clHighlightText;
      }
    } else if (Style() == tsTabs) {
      static constexpr UINT open[] = {BF_LEFT | BF_TOP | BF_RIGHT, BF_LEFT | BF_BOTTOM | BF_RIGHT,
                                      BF_LEFT | BF_TOP | BF_BOTTOM, BF_TOP | BF_RIGHT | BF_BOTTOM};
      DrawEdge(b, &e, EDGE_RAISED, open[TabPosition()]);
    } else if (Style() == tsButtons) {
      DrawEdge(b, &e, State == 2 ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    } else {
      if (r.Left > 6) {
        RECT sep{r.Left - 6, r.Top, r.Left - 4, r.Bottom};
        DrawEdge(DC, &sep, EDGE_ETCHED, BF_LEFT);
      }
      if (State == 1) Frame3D(b, local, true);
      if (State == 2) {
        Fill(b, local, cl3DLight);
        DrawEdge(b, &e, EDGE_SUNKEN, BF_RECT);
      }
    }
  }
  if (page && page->SkinData())
    fontColor = page->SkinData()->CustomFont() ? page->Font()->Color()
                                               : (isMenu && State != 0 ? fontColor : clBtnText);
  if (!OwnerDraw() || !OnDrawTab) {
    c->SetFont(Font());
    if (active && ActiveIsBold()) c->Font()->SetStyle(c->Font()->Style() | fsBold);
    const bool enabled = Enabled() && (!page || page->Enabled());
    uint32_t ink = ArgbOf(fontColor);
    if (!enabled) ink = 0xFF000000u | MixTwoColors(ink, ArgbOf(clBtnFace), DisabledBlendLevel);
    PaintTabContent(bmp.get(), page, Index, State, TRect(0, 0, w, h), isButton, -1, -1,
                    static_cast<TColor>(RGB((ink >> 16) & 0xFF, (ink >> 8) & 0xFF, ink & 0xFF)));
  } else {
    DrawTabOwned(b, TPoint(-r.Left, -r.Top), Pages(Index)->TabIndex(), r, State != 0);
  }
  BitBlt(DC, r.Left, r.Top, w, h, b, 0, 0, SRCCOPY);
}

// The control's canvas lends itself to the owner for one tab: the DC's
// state and the canvas's own DC come back however the event ends.
void TsPageControl::DrawTabOwned(HDC DC, const TPoint& Origin, int TabIndex, const TRect& R,
                                 bool Active) {
  struct Lend {
    TCanvas* Canvas;
    HDC Previous;
    TSavedDC Saved;
    Lend(TCanvas* C, HDC DC)
        : Canvas(C), Previous(C->HandleAllocated() ? C->Handle() : nullptr), Saved(DC) {}
    ~Lend() { Canvas->SetHandle(Previous); }
  } lend(Canvas(), DC);
  SetViewportOrgEx(DC, Origin.X, Origin.Y, nullptr);
  Canvas()->SetHandle(DC);
  OnDrawTab(this, TabIndex, R, Active);
}

// Image, caption, focus frame, close button and menu arrow of one tab on a
// bitmap of the tab's size; skinned, the glyphs, the caption and the close
// button come from the skin.
void TsPageControl::PaintTabContent(TBitmap* Bmp, TsTabSheet* P, int Index, int State,
                                    const TRect& Local, bool IsButton, int Section, int TextSection,
                                    TColor FontColor) {
  TsSkinManager* m = Skinned() ? skinData_->SkinManager() : nullptr;
  TCanvas* C = Bmp->Canvas();
  HDC b = C->Handle();
  SetBkMode(b, TRANSPARENT);
  const bool sideTabs = TabPosition() == tpLeft || TabPosition() == tpRight;
  const bool vertical = RotateCaptions() != sideTabs;
  HGDIOBJ font = SelectObject(b, C->Font()->Handle());
  const TabContentLayout L = LayoutTabContent(b, P, IsButton, State, Local);
  SelectObject(b, font);
  if (L.ImageRect.Width() > 0 && Images()) {
    if (m && m->Effects()->DiscoloredGlyphs() && dynamic_cast<TsAlphaImageList*>(Images())) {
      // Resting glyphs take the face's colour; hot and pressed ones their own.
      TColor tint = clNone;
      if (State == 0)
        tint = Section >= 0 ? static_cast<TColor>(m->Section(Section).Props[0].Color) : clBtnFace;
      DrawImageToBitmap(Images(), Bmp, L.ImageRect.Left, L.ImageRect.Top, P->ImageIndex(), 0, tint,
                        0, 1, BoolPropValue(bpReflectedGlyphs));
    } else {
      Images()->Draw(C, L.ImageRect.Left, L.ImageRect.Top, P->ImageIndex(),
                     Enabled() && P->Enabled());
    }
  }
  const std::string text = P ? P->Caption() : std::string();
  SetTextColor(b, ColorToRGB(FontColor));
  C->Font()->SetColor(FontColor);
  if (vertical) {
    std::string shortText;
    ShortenTextToWidth(C, text, L.TextRect.Height(), shortText);
    TRotatedFont rotated = SelectRotatedFont(b, C->Font(), -2700);
    SetTextColor(b, ColorToRGB(FontColor));
    SetBkMode(b, TRANSPARENT);
    RECT clip = *L.TextRect.AsRECT();
    ExtTextOutA(b, L.RotatedTextX, L.RotatedTextY, ETO_CLIPPED, &clip, shortText.c_str(),
                static_cast<UINT>(shortText.size()), nullptr);
  } else {
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if (L.ArrowRect.Width() <= 0) format |= DT_END_ELLIPSIS;
    if (UseRightToLeftReading()) format |= DT_RTLREADING | DT_NOCLIP;
    if (m && TextSection >= 0) {
      // The section's text keeps the tab's alpha whole and carries the
      // section's text effects.
      DrawSectionTextArgb(Bmp, text, true, L.TextRect, format, TextSection, State, m);
    } else {
      RECT t = *L.TextRect.AsRECT();
      SelectObject(b, C->Font()->Handle());
      SetTextColor(b, ColorToRGB(FontColor));
      DrawTextA(b, text.c_str(), static_cast<int>(text.size()), &t, format);
    }
  }
  if (L.FocusRect.Width() > 0) {
    SetTextColor(b, ColorToRGB(clWindowFrame));
    SetBkColor(b, ColorToRGB(clBtnFace));
    DrawFocusRect(b, L.FocusRect.AsRECT());
  }
  if (L.CloseRect.Width() > 0) {
    const int state = (Index == HotCloseIndex ? 1 : 0) + (Index == PressedCloseIndex ? 1 : 0);
    if (Skinned())
      PaintCloseButton(Bmp, L.CloseRect, state);
    else
      PaintCloseButtonUnskinned(b, L.CloseRect, state);
  }
  if (L.ArrowRect.Width() > 0)
    DrawArrowArgb(ArgbView(Bmp), ArgbOf(FontColor), *L.ArrowRect.AsRECT(), L.ArrowDirection);
}

void TsPageControl::PaintCloseButtonUnskinned(HDC DC, const TRect& R, int State) {
  TThemeData theme(Handle(), L"WINDOW");
  // Wine's theme has no WINDOW class: the part check sends it to the classic
  // button.
  if (ThemesEnabled() && theme.Defines(WP_SMALLCLOSEBUTTON)) {
    const int s[] = {CBS_NORMAL, CBS_HOT, CBS_PUSHED};
    DrawThemeBackground(theme.Get(), DC, WP_SMALLCLOSEBUTTON, s[std::clamp(State, 0, 2)],
                        R.AsRECT(), nullptr);
    return;
  }
  Fill(DC, *R.AsRECT(), clWhite);
  static constexpr TColor faces[] = {static_cast<TColor>(0x5858AB), static_cast<TColor>(0x0000FF),
                                     static_cast<TColor>(0x000080)};
  Fill(DC, RECT{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1}, faces[std::clamp(State, 0, 2)]);
  TOwnedPen pen(CreatePen(PS_SOLID, 2, RGB(255, 255, 255)));
  TSelectedObject selected(DC, pen.Get());
  Line(DC, R.Left + 3, R.Top + 3, R.Right - 4, R.Bottom - 4);
  Line(DC, R.Left + 3, R.Bottom - 4, R.Right - 4, R.Top + 3);
}
