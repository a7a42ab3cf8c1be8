// Painting the skinned bars of a scroll-window adapter: the state of each
// part from the mouse record, the window's background behind the bars, the
// inactive fade, and the size box.
#include <algorithm>

#include "skin/adapters/adapter_unit.h"
#include "skin/adapters/scroll_paint.h"
#include "skin/adapters/scroll_track_state.h"
#include "skin/adapters/scroll_wnd.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_forms.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

TsSkinManager* ManagerOf(const TvlScrollWnd* A) {
  if (A->SkinData && A->SkinData->SkinManager()) return A->SkinData->SkinManager();
  return A->SkinManager ? A->SkinManager : DefaultManager;
}

// The screen rectangle R in the window's own coordinates.
TRect ToWindow(HWND Wnd, const RECT& R) {
  RECT w{};
  GetWindowRect(Wnd, &w);
  return TRect(R.left - w.left, R.top - w.top, R.right - w.left, R.bottom - w.top);
}

bool ControlEnabled(const TvlScrollWnd* A) {
  if (A->SkinData && A->SkinData->Control) return A->SkinData->Control->Enabled();
  return true;
}

}  // namespace

BackgroundRequest TvlScrollWnd::AskBackground() {
  BackgroundRequest request;
  Perform(SkinCommandMessage, SkinCmdParam(SkinCmdGetBackground),
          reinterpret_cast<LPARAM>(&request));
  if (request.Kind == bgNotAnswered) {
    request.Kind = bgColor;
    request.Color = DefaultManager ? DefaultManager->GetGlobalColor() : clBtnFace;
  }
  const TPoint offset = BarBackgroundOffset();
  request.OffsetX = offset.X;
  request.OffsetY = offset.Y;
  return request;
}

TBitmap* TvlScrollWnd::WorkBitmap(int Kind, int Width, int Height) {
  TOwnedObject<TBitmap>& b = barBitmaps_[std::clamp(Kind, 0, 2)];
  if (!b || b->Width() != Width || b->Height() != Height)
    b = OwnObject(NewArgbBitmap(Width, Height));
  return b.get();
}

bool TvlScrollWnd::IsBarActive(int Kind) const {
  HWND wnd = WindowHandle;
  if (!GetScrollBarInfoProc) {
    const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
    return (style & (Kind == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) != 0;
  }
  SCROLLBARINFO info{};
  info.cbSize = sizeof(SCROLLBARINFO);
  if (!GetScrollBarInfoProc(wnd, Kind == SB_HORZ ? OBJID_HSCROLL : OBJID_VSCROLL, &info))
    return false;
  // Some platforms mark a bar disabled on both arrows only, not on the bar
  // itself: a bar whose two arrows are both unavailable is disabled too.
  const bool arrowsOff =
      (info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) && (info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE);
  return (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0 && !arrowsOff;
}

void TvlScrollWnd::UpdateScrollInfo(bool Repaint) {
  if (Released || !HorzBar || !VertBar || !AdapterWindowShown(this)) return;
  if (SkinData && SkinData->Updating) return;
  HorzBar->ReadInfo();
  VertBar->ReadInfo();
  if (Repaint && !GlobalAnimationActive) PaintScrollBars(WindowHandle, -1, nullptr);
}

bool TvlScrollWnd::PaintHorzBar(HDC DC, int ThumbPos, int PressedPart, const TRect& R) {
  return PaintBar(SB_HORZ, DC, ThumbPos, PressedPart, R, false);
}

bool TvlScrollWnd::PaintVertBar(HDC DC, int ThumbPos, int PressedPart, const TRect& R) {
  return PaintBar(SB_VERT, DC, ThumbPos, PressedPart, R, false);
}

bool TvlScrollWnd::PaintBar(int Kind, HDC DC, int ThumbPos, int PressedPart, const TRect& R,
                            bool Dragging) {
  TvlScrollBar* bar = Bar(Kind);
  TsSkinManager* m = ManagerOf(this);
  const bool vertical = Kind == SB_VERT;
  if (!bar || (Tracking && !Dragging) || !bar->Visible || !m) return false;
  if (!SectionIndexValid(m, m->ConstData.ScrollBars[0].Section)) return false;
  if ((vertical ? R.Height() : R.Width()) <= 1 || (vertical && Scrolling)) return false;
  HWND wnd = WindowHandle;
  TWindowDC own;
  if (!DC) {
    own = TWindowDC(wnd, GetWindowDC(wnd));
    if (!(DC = own.Get())) return false;
  }
  bar->ReadInfo();
  const bool active = IsBarActive(Kind) && ControlEnabled(this);
  TvlBarPicture p;
  p.Manager = m;
  p.Vertical = vertical;
  p.Btn = ScrollBarSize(bar, false);
  p.Info = bar->Info;
  p.MinThumbSize = bar->MinThumbSize;
  p.Active = active;
  // Only the window that holds the mouse shows pressed or hot parts.
  const TvlScrollTrackState& t = ScrollTrack;
  if (Dragging) {
    // The dragged thumb alone shows a state: pressed, over plain tracks and arrows.
    p.ThumbState = 2;
  } else if (t.TrackWnd == wnd) {
    const bool hot = t.IsHot(wnd, Kind) && active;
    p.PressedPart = PressedPart;
    p.FirstArrowState = PressedPart == SB_LINEUP ? 2 : hot && t.HotPart == SB_LINEUP ? 1 : 0;
    p.SecondArrowState = PressedPart == SB_LINEDOWN ? 2 : hot && t.HotPart == SB_LINEDOWN ? 1 : 0;
    p.ThumbState = PressedPart == SB_THUMBTRACK ? 2 : hot && t.HotPart == SB_THUMBTRACK ? 1 : 0;
  }
  int len = 0, pos = 0;
  ThumbGeometry(bar, R, len, pos);
  if (ThumbPos != -1) pos = ThumbPos;
  const int start = vertical ? R.Top : R.Left;
  p.ThumbLen = len;
  p.ThumbPos = pos - start;
  const TPoint place(R.Left - std::max(LeftEdge, 0), R.Top - TopEdge);
  const BackgroundRequest bg = AskBackground();
  BackgroundInfoFromRequest(bg, p.Background);
  p.BackgroundOffset = place;
  TBitmap* bmp = WorkBitmap(Kind, R.Width(), R.Height());
  ComposeBar(p, bmp);
  if (!active) FadeBar(bmp, AskBackground(), place);
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
  return true;
}

void TvlScrollWnd::PaintScrollBars(HWND Wnd, int ThumbPos, HDC DC) {
  if (Released || !HorzBar || !VertBar || !Wnd) return;
  TsCommonData* sd = SkinData;
  if (sd && sd->CheckUpdating(false)) return;
  if (sd && sd->Control && (sd->Control->ControlState() & csCreating)) return;
  if (!AdapterWindowShown(this)) return;
  if (sd && sd->BgChanged)
    SendMessageW(Wnd, SkinCommandMessage, SkinCmdParam(SkinCmdPrepareCache), 0);
  if (Released || !HorzBar) return;  // the command may have released the adapter
  TWindowDC own;
  if (!DC) {
    own = TWindowDC(Wnd, GetWindowDC(Wnd));
    DC = own.Get();
    if (!DC) return;
  }
  const TvlScrollTrackState& t = ScrollTrack;
  RECT r{};
  if (HorzBar->Visible) {
    HorzScrollBarRect(this, Wnd, r);
    PaintBar(SB_HORZ, DC, ThumbPos, t.TrackBar == SB_HORZ ? t.PartUnderCursor : -1,
             ToWindow(Wnd, r), false);
  }
  if (VertBar->Visible) {
    VertScrollBarRect(this, Wnd, r);
    PaintBar(SB_VERT, DC, ThumbPos, t.TrackBar == SB_VERT ? t.PartUnderCursor : -1,
             ToWindow(Wnd, r), false);
  }
  if (HorzBar->Visible && VertBar->Visible) PaintSizeBox(DC);
}

void TvlScrollWnd::PaintSizeBox(HDC DC) {
  HWND wnd = WindowHandle;
  RECT wr{};
  GetWindowRect(wnd, &wr);
  const RECT all{0, 0, wr.right - wr.left, wr.bottom - wr.top};
  const TRect box = SizeBoxRectOf(all, Frame());
  if (box.Width() <= 0 || box.Height() <= 0) return;
  TsSkinManager* m = ManagerOf(this);
  const int track = m ? m->ConstData.ScrollBars[0].Section : -1;
  TColor fill = m ? m->GetGlobalColor() : static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
  TBitmap* picture = nullptr;
  TPoint at;
  const bool sectionShows = m && SectionIndexValid(m, track) &&
                            m->Sections[static_cast<size_t>(track)].Props[0].Transparency != 100;
  BackgroundRequest bg;
  if (sectionShows) {
    const TColor own = m->Sections[static_cast<size_t>(track)].Props[0].Color;
    if (own != clFuchsia) fill = own;
    if (!IsBarActive(SB_HORZ) || !IsBarActive(SB_VERT)) {
      if (SkinData && SectionIndexValid(m, SkinData->SkinIndex)) {
        const int state = std::clamp(SkinData->CurrentState(), 0, 2);
        const TColor mine = m->Sections[static_cast<size_t>(SkinData->SkinIndex)]
                                .Props[static_cast<size_t>(state)]
                                .Color;
        fill = static_cast<TColor>(MixTwoColors(static_cast<uint32_t>(ColorToRGB(mine)),
                                                static_cast<uint32_t>(ColorToRGB(fill)),
                                                DisabledBlendLevel));
      }
    }
  } else {
    bg = AskBackground();
    if (bg.Kind == bgBitmap && bg.Bitmap) {
      picture = bg.Bitmap;
      at = TPoint(bg.OffsetX + box.Left - std::max(LeftEdge, 0), bg.OffsetY + box.Top - TopEdge);
    }
  }
  TBitmap* bmp = WorkBitmap(2, box.Width(), box.Height());
  ::PaintSizeBox(m, bmp, static_cast<TColor>(ColorToRGB(fill)), picture, at,
                 IsInParentCorner(this, wnd, box));
  BitBlt(DC, box.Left, box.Top, box.Width(), box.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}
