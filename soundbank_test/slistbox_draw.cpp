// TsCustomListBox: drawing one item (CN_DRAWITEM and DrawItem).
#include <algorithm>

#include "skin/foundation/colour_math.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/text_paint.h"
#include "soundbank_test/slistbox.h"
#include "widgets/graphics/canvas_on_dc.h"

namespace {

TRect Inflated(TRect r, int d) {
  return {r.Left - d, r.Top - d, r.Right + d, r.Bottom + d};
}

}  // namespace

void TsCustomListBox::CNDrawItem(TMessage& m) {
  auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  const int index = static_cast<int>(d->itemID);
  if (!Skinned() && index < 0) {
    // The focus of an empty list: the layer's handling fills and frames it.
    TListBox::Dispatch(m);
    return;
  }
  // The system's item rectangles (LB_GETITEMRECT) already follow the
  // horizontal scroll position: they are drawn where they are reported.
  // The canvas drops a DC of its own first; the item's DC goes back to its
  // owner with its own objects, also when the drawing raises.
  static_cast<TControlCanvas*>(Canvas())->FreeHandle();
  TCanvasOnDC onDC(*Canvas(), d->hDC);
  DrawItem(index, d->rcItem, LOWORD(d->itemState));
  // DrawItem draws the focus rectangle itself: a second one from the
  // layer's handling would erase it (the frame is drawn inverting).
  m.Result = 1;
}

void TsCustomListBox::DrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  if (Index < 0) return;
  if (Skinned() && DrawSkinnedItem(Index, Rect, State)) return;
  PlainDrawItem(Index, Rect, State);
}

void TsCustomListBox::PlainDrawItem(int Index, TRect Rect, TOwnerDrawState State) {
  TCanvas* canvas = Canvas();
  const bool selected = (State & odSelected) != 0;
  const bool focused = (State & odFocused) != 0;
  canvas->SetFont(Font());
  const COLORREF background = ColorToRGB(selected ? clHighlight : Color());
  COLORREF text = ColorToRGB(selected ? clHighlightText : Font()->Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(static_cast<TColor>(background));
  canvas->FillRect(Rect);
  if (State & odDisabled) text = MixTwoColors(text, background, DisabledBlendLevel);
  canvas->Font()->SetColor(static_cast<TColor>(text));

  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    if (focused) canvas->DrawFocusRect(Inflated(Rect, 1));
    return;
  }
  const TRect inner = Inflated(Rect, -1);
  if (Index >= Count()) return;  // an index the items lack: background only
  canvas->Brush()->SetStyle(bsClear);
  RECT textRect = inner;
  DrawTextCapped(canvas->Handle(), GetItemText(Index), textRect,
                 UseRightToLeftReading() ? kListItemTextFormatRtl : kListItemTextFormat);
  if (focused) canvas->DrawFocusRect(Inflated(inner, 1));
}
