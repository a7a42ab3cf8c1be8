// TsCustomListBox: drawing one item (CN_DRAWITEM and DrawItem).
#include <algorithm>

#include "skin/foundation/colour_math.h"
#include "skin/foundation/pixel_primitives.h"
#include "soundbank_test/slistbox.h"

namespace {

// TODO(merge): the skin foundation's DrawTextCapped, once it is public there.
// DrawTextA of at most 5460 characters; longer texts overflow the platform's
// text output on old systems.
int DrawTextCapped(HDC DC, const std::string& Text, RECT& Rect, UINT Format) {
  constexpr size_t kMaxChars = 5460;
  const int len = static_cast<int>(std::min(Text.size(), kMaxChars));
  return DrawTextA(DC, Text.c_str(), len, &Rect, Format);
}

TRect Inflated(TRect r, int d) {
  return {r.Left - d, r.Top - d, r.Right + d, r.Bottom + d};
}

// The canvas on the item's DC for one drawing; the DC goes back to its
// owner with its own objects, also when the drawing raises.
class TCanvasOnDC {
 public:
  TCanvasOnDC(TCanvas* canvas, HDC dc) : canvas_(canvas) {
    static_cast<TControlCanvas*>(canvas_)->FreeHandle();
    canvas_->Lock();
    canvas_->SetHandle(dc);
  }
  ~TCanvasOnDC() {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
  }
  TCanvasOnDC(const TCanvasOnDC&) = delete;
  TCanvasOnDC& operator=(const TCanvasOnDC&) = delete;

 private:
  TCanvas* canvas_;
};

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
  TCanvasOnDC onDC(Canvas(), d->hDC);
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
