// TsCustomListBox: the skinned road's drawing. Each item is composed in a
// work bitmap over the list box's cache (the frame and face the border
// adapter painted) and copied to the item's place; the list box's own
// WM_PAINT draws every visible item that way and fills the strips no item
// covers from the same cache.
#include <algorithm>

#include "skin/adapters/edit_wnd.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/text_paint.h"
#include "soundbank_test/slistbox.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/flag_scope.h"

namespace {

bool HasCache(TsCommonData* Data) {
  return Data->CacheBitmap && !Data->CacheBitmap->Empty();
}

void CopyFromCache(HDC Dst, int X, int Y, int W, int H, TsCommonData* Data, int SrcX, int SrcY) {
  if (W <= 0 || H <= 0 || !HasCache(Data)) return;
  BitBlt(Dst, X, Y, W, H, Data->CacheBitmap->Canvas()->Handle(), SrcX, SrcY, SRCCOPY);
}

}  // namespace

int TsCustomListBox::CacheBorder() const {
  if (BorderStyle() != bsSingle || !adapter_) return 0;
  return Ctl3D() ? std::max(adapter_->LeftEdge, 0) : 1;
}

bool TsCustomListBox::DrawSkinnedItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  if (!skinData_->SkinManager()) return false;
  if (Rect.Width() > 0 && Rect.Height() > 0) SkinnedDrawItem(Index, Rect, State);
  return true;
}

// The rectangles arrive as the window reports them, already moved by the
// horizontal scroll position: the item goes where it is reported and takes
// the cache at that same window position.
void TsCustomListBox::SkinnedDrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  TsSkinManager* manager = skinData_->SkinManager();
  const bool selected = (State & odSelected) != 0;
  const bool focused = (State & odFocused) != 0;
  const int offset = (BorderStyle() == bsSingle && adapter_) ? std::max(adapter_->LeftEdge, 0) : 0;
  auto work = OwnObject(NewArgbBitmapForRect(Rect));
  if (work->Empty()) return;
  const int w = Rect.Width(), h = Rect.Height();
  const TRect whole(0, 0, w, h);
  TCanvas* wc = work->Canvas();
  CopyFromCache(wc->Handle(), 0, 0, w, h, skinData_, Rect.Left + offset, Rect.Top + offset);
  TCanvas* canvas = Canvas();

  if (OnDrawItem) {
    BitBlt(canvas->Handle(), Rect.Left, Rect.Top, w, h, wc->Handle(), 0, 0, SRCCOPY);
    canvas->Brush()->SetColor(selected ? manager->GetHighlightColor(focused) : Color());
    canvas->Font()->SetColor(selected ? manager->GetHighlightFontColor(focused) : Font()->Color());
    const TFontStyles style = canvas->Font()->Style();
    {
      TSavedDC saved(canvas->Handle());
      OnDrawItem(this, Index, Rect, State);
    }
    canvas->Font()->SetStyle(style);
    return;
  }

  const int sel = FindSectionIndex(manager, "SELECTION");
  if (selected) {
    if (sel >= 0) {
      // The section's see-through parts show the item's own background.
      auto behind = OwnObject(NewArgbBitmapForRect(Rect));
      BitBlt(behind->Canvas()->Handle(), 0, 0, w, h, wc->Handle(), 0, 0, SRCCOPY);
      PaintSkinSection(sel, MakeBackgroundInfo(behind.get(), 0, 0), focused ? 1 : 0, whole,
                       TPoint(0, 0), work.get(), manager);
    } else {
      FillRectArgb(work.get(), whole, manager->GetHighlightColor(true), 255);
    }
  }
  if (Index >= 0 && Index < Count()) {
    wc->SetFont(Font());
    RECT text{1, 0, w - 1, h};
    if (BorderStyle() == bsSingle && adapter_ && adapter_->LeftEdge < 1 + (Ctl3D() ? 1 : 0))
      text.left += 1;
    const UINT format = UseRightToLeftReading() ? kListItemTextFormatRtl : kListItemTextFormat;
    const std::string itemText = GetItemText(Index);
    if (selected && sel >= 0) {
      DrawSectionText(wc, itemText.c_str(), (State & odDisabled) == 0, text, format, sel,
                      focused ? 1 : 0, manager);
    } else {
      TColor colour;
      if (selected) {
        colour = manager->GetHighlightFontColor(focused);
      } else if (skinData_->CustomFont) {
        colour = Font()->Color();
      } else {
        const TsGeneralData& section = manager->Sections[static_cast<size_t>(skinData_->SkinIndex)];
        const int s = (skinData_->CurrentState() != 0 && section.StateCount > 1) ? 1 : 0;
        colour = section.Props[static_cast<size_t>(s)].FontColor;
      }
      if (State & odDisabled)
        colour = static_cast<TColor>(
            MixTwoColors(ColorToRGB(colour), ColorToRGB(Color()), DisabledBlendLevel));
      wc->Font()->SetColor(colour);
      SetBkMode(wc->Handle(), TRANSPARENT);
      RECT r = text;
      DrawTextCapped(wc->Handle(), itemText, r, format);
      if (focused && selected) {
        wc->Brush()->SetStyle(bsSolid);
        wc->DrawFocusRect(TRect(text.left - 1, text.top, text.right + 1, text.bottom));
      }
    }
  }
  if (!Enabled()) {
    auto behind = OwnObject(NewArgbBitmapForRect(Rect));
    CopyFromCache(behind->Canvas()->Handle(), 0, 0, w, h, skinData_, Rect.Left + offset,
                  Rect.Top + offset);
    ApplyDisabledLook(work.get(), disabledKind_, Color(), MakeBackgroundInfo(behind.get(), 0, 0),
                      TPoint(0, 0));
  }
  BitBlt(canvas->Handle(), Rect.Left, Rect.Top, w, h, wc->Handle(), 0, 0, SRCCOPY);
}

bool TsCustomListBox::ItemSelected(int Index, int SingleIndex) {
  return MultiSelect() ? Selected(Index) : Index == SingleIndex;
}

namespace {

// The window's paint between BeginPaint and EndPaint, or the DC a print
// handed over: that road must not validate what is still to be painted.
class TPaintTarget {
 public:
  TPaintTarget(HWND Wnd, HDC Given) : wnd_(Wnd), dc_(Given) {
    if (dc_) return;
    dc_ = BeginPaint(wnd_, &ps_);
    began_ = true;
  }
  ~TPaintTarget() {
    if (began_) EndPaint(wnd_, &ps_);
  }
  TPaintTarget(const TPaintTarget&) = delete;
  TPaintTarget& operator=(const TPaintTarget&) = delete;
  HDC DC() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
  PAINTSTRUCT ps_{};
  bool began_ = false;
};

}  // namespace

bool TsCustomListBox::PaintSkinned(TMessage& m) {
  if (!Skinned() || !skinData_->SkinManager()) return false;
  HWND wnd = Handle();
  TPaintTarget target(wnd, reinterpret_cast<HDC>(m.WParam));
  m.Result = 0;
  if (skinData_->CheckUpdating(false)) return true;
  const int b = CacheBorder();
  const int width = Width(), height = Height();
  auto bitmap = OwnObject(NewArgbBitmap(width, height));
  if (bitmap->Empty()) return true;
  HDC dc = bitmap->Canvas()->Handle();

  RECT client{};
  ::GetClientRect(wnd, &client);
  TRect r(0, 0, width, 0);
  int maxBottom = 0, maxRight = 0;
  bool any = false;
  {
    TFlagScope painting(painting_);
    const int single = ItemIndex();
    const bool focused = GetFocus() == wnd;
    for (int i = std::max(0, TopIndex()); i < Count(); ++i) {
      RECT item{};
      if (SendMessageA(wnd, LB_GETITEMRECT, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&item)) == LB_ERR)
        break;
      RECT overlap;
      if (!IntersectRect(&overlap, &item, &client)) break;
      r = item;
      any = true;
      maxBottom = std::max(maxBottom, r.Bottom);
      maxRight = std::max(maxRight, r.Right);
      DRAWITEMSTRUCT d{};
      d.CtlType = ODT_LISTBOX;
      d.CtlID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(wnd));
      d.itemID = static_cast<UINT>(i);
      d.itemAction = ODA_DRAWENTIRE;
      if (ItemSelected(i, single)) d.itemState |= ODS_SELECTED;
      if (i == single && focused) d.itemState |= ODS_FOCUS;
      d.hwndItem = wnd;
      d.hDC = dc;
      d.rcItem = item;
      d.itemData =
          static_cast<ULONG_PTR>(SendMessageA(wnd, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
      // Result 1: the item comes from the list box's own painting.
      TMessage draw{CN_DRAWITEM, reinterpret_cast<WPARAM>(wnd), reinterpret_cast<LPARAM>(&d), 1};
      Dispatch(draw);
    }
  }
  // The strips no item covered show the cache at the same window position.
  if (!any) {
    CopyFromCache(dc, 0, 0, width, height - b, skinData_, b, b);
  } else {
    if (r.Bottom < height - 2 * b)
      CopyFromCache(dc, r.Left, r.Bottom, width - r.Left, height - b - r.Bottom, skinData_,
                    r.Left + b, r.Bottom + b);
    if (r.Right < width - 2 * b)
      CopyFromCache(dc, r.Right, 0, width - b - r.Right, r.Bottom, skinData_, r.Right + b, b);
    if (r.Left > b)
      CopyFromCache(dc, 0, maxBottom, r.Left, height - b - maxBottom, skinData_, b, maxBottom + b);
    if (r.Right > width - 2 * b)
      CopyFromCache(dc, maxRight, 0, width - b - maxRight, r.Bottom, skinData_, maxRight + b, b);
  }
  BitBlt(target.DC(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
  return true;
}
