// The default look of owner-drawn menu items, and the menu classes' registration.
#include <windows.h>
// <windows.h> maps RegisterClass to the window-class call.
#undef RegisterClass

#include <algorithm>

#include "widgets/graphics/graphics.h"
#include "widgets/graphics/img_list.h"
#include "widgets/menus/menus.h"
#include "widgets/rtl/sysutils.h"

namespace {

constexpr int kGlyphGap = 4, kTextGap = 8, kShortCutGap = 16;

}  // namespace

TCustomImageList* TMenuItem::ImagesForGlyph() const {
  if (parent_ && parent_->subMenuImages_) return parent_->subMenuImages_;
  TMenu* menu = GetParentMenu();
  return menu ? menu->Images() : nullptr;
}

void TMenuItem::DefaultMeasure(TCanvas* ACanvas, int& Width, int& Height) {
  if (IsLine()) {
    Width = 0;
    Height = GetSystemMetrics(SM_CYMENU) / 2;
    return;
  }
  TSize glyph{GetSystemMetrics(SM_CXMENUCHECK), GetSystemMetrics(SM_CYMENUCHECK)};
  if (HasBitmap()) {
    glyph = {bitmap_->Width(), bitmap_->Height()};
  } else if (TCustomImageList* images = ImagesForGlyph()) {
    glyph = {std::max<LONG>(glyph.cx, images->Width()), std::max<LONG>(glyph.cy, images->Height())};
  }
  TSize text = ACanvas->TextExtent(StripHotkey(caption_));
  Width = kGlyphGap + glyph.cx + kTextGap + text.cx + kTextGap;
  if (shortCut_ != scNone) Width += kShortCutGap + ACanvas->TextWidth(ShortCutToText(shortCut_));
  Height = std::max<int>(text.cy, glyph.cy) + 4;
}

void TMenuItem::DefaultDraw(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State) {
  HDC dc = ACanvas->Handle();
  RECT r = ARect;
  bool selected = (State & odSelected) != 0;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (IsLine()) {
    RECT line = r;
    line.top += (r.bottom - r.top) / 2 - 1;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  bool enabled = enabled_ && !(State & (odDisabled | odGrayed));
  int glyphWidth = GetSystemMetrics(SM_CXMENUCHECK);
  int x = r.left + kGlyphGap;
  TCustomImageList* images = ImagesForGlyph();
  if (HasBitmap()) {
    glyphWidth = bitmap_->Width();
    ACanvas->Draw(x, r.top + (r.bottom - r.top - bitmap_->Height()) / 2, bitmap_.get());
  } else if (images && imageIndex_ >= 0) {
    glyphWidth = std::max(glyphWidth, images->Width());
    images->Draw(ACanvas, x, r.top + (r.bottom - r.top - images->Height()) / 2, imageIndex_,
                 enabled);
  } else if (checked_) {
    RECT mark{x, r.top, x + glyphWidth, r.bottom};
    DrawFrameControl(dc, &mark, DFC_MENU, radioItem_ ? DFCS_MENUBULLET : DFCS_MENUCHECK);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(!enabled   ? COLOR_GRAYTEXT
                               : selected ? COLOR_HIGHLIGHTTEXT
                                          : COLOR_MENUTEXT));
  RECT text{x + glyphWidth + kTextGap, r.top, r.right - kTextGap, r.bottom};
  UINT flags = DT_SINGLELINE | DT_VCENTER | ((State & odNoAccel) ? DT_HIDEPREFIX : 0);
  DrawTextA(dc, caption_.c_str(), -1, &text, flags | DT_LEFT);
  if (shortCut_ != scNone) {
    std::string sc = ShortCutToText(shortCut_);
    DrawTextA(dc, sc.c_str(), -1, &text, flags | DT_RIGHT);
  }
}

void RegisterMenuClasses() {
  RegisterClass(TMainMenu::StaticClass());
  RegisterClass(TPopupMenu::StaticClass());
  RegisterClass(TMenuItem::StaticClass());
  RegisterClass(TImageList::StaticClass());
}
