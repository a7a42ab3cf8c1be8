// The scroll-window adapter on real windows: the frame it leaves for the
// client area, the sizes of its bars, what its bars show on the screen in
// each state, and that the platform's own bars never show over them.
#include <memory>

#include "scroll_scene.h"
#include "skin/adapters/adapter_unit.h"
#include "skin/adapters/scroll_track_state.h"
#include "skin/adapters/scroll_wnd.h"
#include "skin/engine/common_data.h"
#include "skin/engine/manager_options.h"
#include "tests/support/adapter_windows.h"

namespace {

using scroll_test::Pump;
using scroll_test::RgbOf;
using scroll_test::RgbOfColorRef;
using scroll_test::TSkinScene;

// A bare scroll-window adapter skins only with a section: the edit border's
// here, as an edit-like control would give it.
TvlScrollWnd* Adapt(HWND Wnd, TsSkinManager* Manager, const char* Section = "EDIT") {
  TvlSkinParams params;
  params.SectionName = Section;
  TvlScrollWnd* a = CreateAdapter<TvlScrollWnd>(Wnd, nullptr, Manager, params, true);
  Pump();
  return a;
}

void Release(HWND Wnd, TvlScrollWnd*& A) {
  ReleaseScrollWndAdapter(Wnd, true, false, A);
  Pump();
}

// Screen pixels of a window as the window DC reads them (0xRRGGBB).
struct TWindowPixels {
  explicit TWindowPixels(HWND Wnd) : wnd(Wnd), dc(GetWindowDC(Wnd)) {}
  ~TWindowPixels() { ReleaseDC(wnd, dc); }
  uint32_t operator()(int X, int Y) const { return RgbOfColorRef(GetPixel(dc, X, Y)); }
  HWND wnd;
  HDC dc;
};

void RepaintFrame(HWND Wnd) {
  RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
}

TRect InWindow(HWND Wnd, const RECT& Screen) {
  RECT w{};
  GetWindowRect(Wnd, &w);
  return TRect(Screen.left - w.left, Screen.top - w.top, Screen.right - w.left,
               Screen.bottom - w.top);
}

struct TBars {
  TRect Horz, Vert;
};

TBars BarsOf(TvlScrollWnd* A, HWND Wnd) {
  RECT h{}, v{};
  HorzScrollBarRect(A, Wnd, h);
  VertScrollBarRect(A, Wnd, v);
  return {InWindow(Wnd, h), InWindow(Wnd, v)};
}

// The frame a window of these styles has without its bars, on each side.
int SystemEdge(DWORD Style, DWORD ExStyle) {
  RECT r{0, 0, 100, 100};
  AdjustWindowRectEx(&r, Style & ~(WS_HSCROLL | WS_VSCROLL), FALSE, ExStyle);
  return -r.left;
}

TEST(ScrollWnd, FrameCalculationForStylesBordersAndBarSizes) {
  TSkinScene s;
  TTestWindow host = CreateHostWindow(500, 400);
  struct Style {
    const char* What;
    DWORD Style, ExStyle;
  };
  const Style styles[] = {{"no border", 0, 0},
                          {"WS_BORDER", WS_BORDER, 0},
                          {"client edge", 0, WS_EX_CLIENTEDGE},
                          {"client edge, left bar", 0, WS_EX_CLIENTEDGE | WS_EX_LEFTSCROLLBAR}};
  const DWORD bars[] = {0, WS_VSCROLL, WS_HSCROLL, WS_VSCROLL | WS_HSCROLL};
  const char* sections[] = {"EDIT", "BUTTON", "CHECKBOX"};
  for (int size : {12, 24}) {
    s.Manager->ScrollsOptions()->SetScrollSize(size);
    for (const Style& st : styles)
      for (DWORD b : bars)
        for (const char* section : sections) {
          SCOPED_TRACE(testing::Message()
                       << size << " " << st.What << " bars " << std::hex << b << " " << section);
          const int kind = s.Manifest.Sections[size_t(s.Manifest.SectionIndex(section))].BorderKind;
          const DWORD style = WS_CHILD | WS_VISIBLE | st.Style | b;
          HWND w = CreateWindowExA(st.ExStyle, "STATIC", "", style, 10, 10, 200, 150, host.Get(),
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
          SetScrollRange(w, SB_VERT, 0, 100, FALSE);
          SetScrollRange(w, SB_HORZ, 0, 100, FALSE);
          TvlScrollWnd* a = Adapt(w, s.Manager, section);
          ASSERT_NE(a, nullptr);
          ASSERT_EQ(a->SkinData->SkinIndex, s.Manifest.SectionIndex(section));
          int edge = SystemEdge(style, st.ExStyle);
          if (kind < 0 && edge > 1) edge += kind;
          RECT c{};
          GetClientRect(w, &c);
          EXPECT_EQ(a->LeftEdge, edge);
          EXPECT_EQ(a->TopEdge, edge);
          EXPECT_EQ(c.right, 200 - 2 * edge - ((b & WS_VSCROLL) ? size : 0));
          EXPECT_EQ(c.bottom, 150 - 2 * edge - ((b & WS_HSCROLL) ? size : 0));
          EXPECT_EQ(a->VertBar->Visible, (b & WS_VSCROLL) != 0);
          EXPECT_EQ(a->HorzBar->Visible, (b & WS_HSCROLL) != 0);
          // The bars lie just beside the client area, on the side the style asks.
          POINT origin{0, 0};
          ClientToScreen(w, &origin);
          RECT v{};
          VertScrollBarRect(a, w, v);
          if (b & WS_VSCROLL) {
            const bool left = (st.ExStyle & WS_EX_LEFTSCROLLBAR) != 0;
            EXPECT_EQ(left ? v.right : v.left, left ? origin.x : origin.x + c.right);
            EXPECT_EQ(v.right - v.left, size);
            EXPECT_EQ(v.top, origin.y);
            EXPECT_EQ(v.bottom, origin.y + c.bottom);
          }
          Release(w, a);
          DestroyWindow(w);
        }
  }
}

TEST(ScrollWnd, BarSizesComeFromTheWindowThenTheManagerThenTheSystem) {
  TSkinScene s;
  TTestWindow host = CreateHostWindow();
  TRecordingWindow rec(host.Get());
  TvlScrollWnd* a = Adapt(rec.Handle(), s.Manager);
  auto* data = dynamic_cast<TsScrollWndData*>(a->SkinData);
  ASSERT_NE(data, nullptr);
  const int system = GetSystemMetrics(SM_CXVSCROLL);
  struct Case {
    int OwnWidth, OwnButtons, ManagerWidth, ManagerButtons;
    int Width, Buttons;
  };
  const Case cases[] = {
      {-1, -1, -1, -1, system, system}, {-1, -1, 12, -1, 12, 12}, {-1, -1, 24, 9, 24, 9},
      {20, -1, 12, -1, 20, 12},         {20, 7, 12, 9, 20, 7},    {-1, 5, -1, -1, system, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.OwnWidth << " " << c.OwnButtons << " " << c.ManagerWidth
                                    << " " << c.ManagerButtons);
    s.Manager->ScrollsOptions()->SetScrollSize(c.ManagerWidth);
    s.Manager->ScrollsOptions()->SetButtonsSize(c.ManagerButtons);
    for (TvlScrollData* d : {data->HorzScrollData, data->VertScrollData}) {
      d->SetScrollWidth(c.OwnWidth);
      d->SetButtonsSize(c.OwnButtons);
    }
    for (TvlScrollBar* bar : {a->HorzBar, a->VertBar}) {
      EXPECT_EQ(ScrollBarSize(bar, true), c.Width);
      EXPECT_EQ(ScrollBarSize(bar, false), c.Buttons);
    }
  }
  EXPECT_EQ(ScrollBarSize(nullptr, true), 0);
  Release(rec.Handle(), a);
}

// The frame's styles come off while the window measures itself: the style
// changes of that moment never reach the window.
TEST(ScrollWnd, StyleChangesOfTheFrameCalculationAreNotPassedOn) {
  TSkinScene s;
  TTestWindow host = CreateHostWindow();
  TRecordingWindow rec(host.Get());
  TvlScrollWnd* a = Adapt(rec.Handle(), s.Manager);
  rec.ClearLog();
  for (int i = 0; i < 3; ++i)
    SetWindowPos(rec.Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(rec.Count(WM_NCCALCSIZE), 3);
  EXPECT_EQ(rec.Count(WM_STYLECHANGED), 0);
  // And the window keeps its style.
  EXPECT_EQ(GetWindowLongPtrA(rec.Handle(), GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL),
            WS_VSCROLL | WS_HSCROLL);
  Release(rec.Handle(), a);
}

// A list box filling the bottom-right corner of a top-level window's client
// area, so that its size box shows the grip.
struct TListScene {
  explicit TListScene(TSkinScene& S, int Size = 16) {
    S.Manager->ScrollsOptions()->SetScrollSize(Size);
    RECT c{};
    GetClientRect(Host.Get(), &c);
    List = CreateListBox100(Host.Get());
    SetWindowPos(List.Get(), nullptr, c.right - 166, c.bottom - 141, 166, 141, SWP_NOZORDER);
    SendMessageA(List.Get(), LB_SETTOPINDEX, 40, 0);
    SendMessageA(List.Get(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 200), 0);
    Adapter = Adapt(List.Get(), S.Manager);
    RepaintFrame(List.Get());
  }
  ~TListScene() {
    ScrollTrack.Reset();
    if (Adapter) Release(List.Get(), Adapter);
  }
  TTestWindow Host = CreateHostWindow(420, 320);
  TTestWindow List;
  TvlScrollWnd* Adapter = nullptr;
};

// Points of a bar along its axis (window coordinates), 3 pixels in from its
// side: in the arrows, the tracks and the thumb.
struct TBarPoints {
  POINT First, Second, TrackBefore, TrackAfter, Thumb;
};

TBarPoints PointsOf(TvlScrollWnd* A, const TRect& R, bool Vertical) {
  TvlScrollBar* bar = Vertical ? A->VertBar : A->HorzBar;
  bar->ReadInfo();
  int len = 0, pos = 0;
  ThumbGeometry(bar, R, len, pos);
  const int btn = ScrollBarSize(bar, false);
  const int start = Vertical ? R.Top : R.Left, end = Vertical ? R.Bottom : R.Right;
  const int across = (Vertical ? R.Left : R.Top) + 3;
  auto at = [&](int d) { return Vertical ? POINT{across, d} : POINT{d, across}; };
  return {at(start + 2), at(end - 3), at((start + btn + pos) / 2), at((pos + len + end - btn) / 2),
          at(pos + 3)};
}

TEST(ScrollWnd, BarsArrowsThumbsAndSizeBoxOnTheScreen) {
  TSkinScene s;
  TListScene l(s);
  ASSERT_TRUE(l.Adapter->HorzBar->Visible && l.Adapter->VertBar->Visible);
  const TBars bars = BarsOf(l.Adapter, l.List.Get());
  TWindowPixels px(l.List.Get());
  struct Bar {
    bool Vertical;
    const char *First, *Second, *Before, *After, *Thumb;
  };
  const Bar looks[] = {
      {false, "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLBAR1H", "SCROLLBAR2H", "SCROLLSLIDERH"},
      {true, "SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBAR1V", "SCROLLBAR2V", "SCROLLSLIDERV"}};
  for (const Bar& b : looks) {
    SCOPED_TRACE(b.Vertical);
    const TBarPoints p = PointsOf(l.Adapter, b.Vertical ? bars.Vert : bars.Horz, b.Vertical);
    EXPECT_EQ(px(p.First.x, p.First.y), s.Face(b.First, 0));
    EXPECT_EQ(px(p.Second.x, p.Second.y), s.Face(b.Second, 0));
    EXPECT_EQ(px(p.TrackBefore.x, p.TrackBefore.y), s.Face(b.Before, 0));
    EXPECT_EQ(px(p.TrackAfter.x, p.TrackAfter.y), s.Face(b.After, 0));
    EXPECT_EQ(px(p.Thumb.x, p.Thumb.y), s.Face(b.Thumb, 0));
  }
  // The size box: SCROLLBAR1H's own colour, the grip in its corner.
  const TRect box(bars.Vert.Left, bars.Horz.Top, bars.Vert.Right, bars.Horz.Bottom);
  EXPECT_EQ(px(box.Left + 1, box.Top + 1), RgbOf(s.Section("SCROLLBAR1H").Props[0].Color));
  EXPECT_EQ(px(box.Right - 9 + 2, box.Bottom - 9 + 2),
            s.SkinPixel("GLOBALINFO/GRIPIMAGE frame 0 face"));
}

// Away from the top-level window's corner the size box has no grip.
TEST(ScrollWnd, NoGripAwayFromTheCorner) {
  TSkinScene s;
  TListScene l(s);
  SetWindowPos(l.List.Get(), nullptr, 4, 4, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RepaintFrame(l.List.Get());
  const TBars bars = BarsOf(l.Adapter, l.List.Get());
  TWindowPixels px(l.List.Get());
  EXPECT_EQ(px(bars.Vert.Right - 9 + 2, bars.Horz.Bottom - 9 + 2),
            RgbOf(s.Section("SCROLLBAR1H").Props[0].Color));
}

// Pressed and hot parts come from the mouse record, and only on the window
// that holds the mouse.
TEST(ScrollWnd, PressedAndHotPartsOnlyOnTheTrackedWindow) {
  TSkinScene s;
  TListScene l(s);
  HWND w = l.List.Get();
  const TBars bars = BarsOf(l.Adapter, w);
  const TBarPoints v = PointsOf(l.Adapter, bars.Vert, true);
  const TBarPoints h = PointsOf(l.Adapter, bars.Horz, false);
  struct Case {
    const char* What;
    bool Tracked;
    int HotBar, HotPart, TrackBar, Pressed;
    POINT At;
    const char* Section;
    int State;
  };
  const Case cases[] = {
      {"top arrow hot", true, SB_VERT, SB_LINEUP, -1, -1, v.First, "SCROLLBTNTOP", 1},
      {"thumb hot", true, SB_VERT, SB_THUMBTRACK, -1, -1, v.Thumb, "SCROLLSLIDERV", 1},
      {"hot on the other bar", true, SB_HORZ, SB_LINEUP, -1, -1, v.First, "SCROLLBTNTOP", 0},
      {"bottom arrow pressed", true, -1, -1, SB_VERT, SB_LINEDOWN, v.Second, "SCROLLBTNBOTTOM", 2},
      {"track after pressed", true, -1, -1, SB_VERT, SB_PAGEDOWN, v.TrackAfter, "SCROLLBAR2V", 2},
      {"left track pressed", true, -1, -1, SB_HORZ, SB_PAGEUP, h.TrackBefore, "SCROLLBAR1H", 2},
      {"another window holds the mouse", false, SB_VERT, SB_LINEUP, SB_VERT, SB_LINEUP, v.First,
       "SCROLLBTNTOP", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    ScrollTrack.Reset();
    ScrollTrack.TrackWnd = c.Tracked ? w : l.Host.Get();
    ScrollTrack.HotWnd = c.Tracked ? w : l.Host.Get();
    ScrollTrack.HotBar = c.HotBar;
    ScrollTrack.HotPart = c.HotPart;
    ScrollTrack.TrackBar = c.TrackBar;
    ScrollTrack.PressedPart = ScrollTrack.PartUnderCursor = c.Pressed;
    l.Adapter->PaintScrollBars(w, -1, nullptr);
    TWindowPixels px(w);
    EXPECT_EQ(px(c.At.x, c.At.y), s.Face(c.Section, c.State));
  }
  // A thumb being dragged is drawn pressed over plain arrows, hot or not.
  ScrollTrack.Reset();
  ScrollTrack.TrackWnd = ScrollTrack.HotWnd = w;
  ScrollTrack.HotBar = SB_VERT;
  ScrollTrack.HotPart = SB_LINEUP;
  EXPECT_TRUE(l.Adapter->PaintBar(SB_VERT, nullptr, -1, SB_THUMBTRACK, bars.Vert, true));
  TWindowPixels px(w);
  EXPECT_EQ(px(v.First.x, v.First.y), s.Face("SCROLLBTNTOP", 0));
  EXPECT_EQ(px(v.Thumb.x, v.Thumb.y), s.Face("SCROLLSLIDERV", 2));
}

// A disabled bar shows no thumb and fades into what lies behind it; the
// other bar is untouched.
TEST(ScrollWnd, ADisabledBarFades) {
  TSkinScene s;
  s.Manager->ScrollsOptions()->SetScrollSize(16);
  TTestWindow host = CreateHostWindow();
  TRecordingWindow rec(host.Get());
  HWND w = rec.Handle();
  for (int bar : {SB_HORZ, SB_VERT}) {
    SCROLLINFO si{sizeof si, SIF_PAGE | SIF_POS, 0, 0, 20, 40, 0};
    SetScrollInfo(w, bar, &si, FALSE);
  }
  TvlScrollWnd* a = Adapt(w, s.Manager);
  ASSERT_NE(GetScrollBarInfoProc, nullptr);
  EnableScrollBar(w, SB_VERT, ESB_DISABLE_BOTH);
  RepaintFrame(w);
  EXPECT_FALSE(a->IsBarActive(SB_VERT));
  EXPECT_TRUE(a->IsBarActive(SB_HORZ));
  const TBars bars = BarsOf(a, w);
  const TBarPoints v = PointsOf(a, bars.Vert, true);
  const TBarPoints h = PointsOf(a, bars.Horz, false);
  TWindowPixels px(w);
  const uint32_t thumb = s.Face("SCROLLSLIDERV", 0);
  for (int y = bars.Vert.Top; y < bars.Vert.Bottom; ++y)
    ASSERT_NE(px(bars.Vert.Left + 3, y), thumb) << y;
  EXPECT_NE(px(v.TrackAfter.x, v.TrackAfter.y), s.Face("SCROLLBAR2V", 0));
  EXPECT_NE(px(v.First.x, v.First.y), s.Face("SCROLLBTNTOP", 0));
  EXPECT_EQ(px(h.Thumb.x, h.Thumb.y), s.Face("SCROLLSLIDERH", 0));
  EXPECT_EQ(px(h.TrackAfter.x, h.TrackAfter.y), s.Face("SCROLLBAR2H", 0));
  Release(w, a);
}

// The window's procedure paints its frame first and without the bar styles,
// the skinned bars after it: a window that paints over its whole frame, and
// the platform's bars of another size than the skinned ones, never show
// where the skinned bars are or beside them.
TEST(ScrollWnd, PlatformBarsNeverLandOverTheSkinnedOnes) {
  TSkinScene s;
  TTestWindow host = CreateHostWindow(500, 400);
  for (int size : {12, 24}) {
    SCOPED_TRACE(size);
    s.Manager->ScrollsOptions()->SetScrollSize(size);
    // A window that paints red over all of its frame before the default
    // painting.
    TRecordingWindow rec(host.Get(), WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_BORDER);
    rec.OnMessage = [&](const TRecordedMessage& m) {
      if (m.Msg != WM_NCPAINT) return;
      HDC dc = GetWindowDC(rec.Handle());
      RECT r{};
      GetWindowRect(rec.Handle(), &r);
      HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
      const RECT all{0, 0, r.right - r.left, r.bottom - r.top};
      FillRect(dc, &all, red);
      DeleteObject(red);
      ReleaseDC(rec.Handle(), dc);
    };
    // The same window without bars: its border is what the frame must show.
    TRecordingWindow plain(host.Get(), WS_CHILD | WS_VISIBLE | WS_BORDER);
    SetWindowPos(plain.Handle(), nullptr, 200, 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    TvlScrollWnd* a = Adapt(rec.Handle(), s.Manager);
    RepaintFrame(rec.Handle());
    RepaintFrame(plain.Handle());
    const TBars bars = BarsOf(a, rec.Handle());
    TWindowPixels px(rec.Handle()), ref(plain.Handle());
    const TBarPoints v = PointsOf(a, bars.Vert, true);
    EXPECT_EQ(px(v.First.x, v.First.y), s.Face("SCROLLBTNTOP", 0));
    EXPECT_EQ(px(v.TrackAfter.x, v.TrackAfter.y), s.Face("SCROLLBAR2V", 0));
    // Every pixel of the vertical bar is the skin's, none the red nor the
    // platform's bar colours; the border beside it is the plain window's.
    for (int y = bars.Vert.Top; y < bars.Vert.Bottom; ++y)
      for (int x = bars.Vert.Left; x < bars.Vert.Right; ++x) ASSERT_NE(px(x, y), 0xFF0000u);
    const int right = 166 - 1;
    for (int y = 0; y < 141; y += 7) EXPECT_EQ(px(right, y), ref(right, y)) << y;
    for (int x = 0; x < 166; x += 7) EXPECT_EQ(px(x, 140), ref(x, 140)) << x;
    Release(rec.Handle(), a);
  }
}

// Released with RecalcFrame, the window measures its frame again: the
// platform's bars take their room back.
TEST(ScrollWnd, ReleaseGivesTheFrameBack) {
  TSkinScene s;
  s.Manager->ScrollsOptions()->SetScrollSize(24);
  TTestWindow host = CreateHostWindow();
  TTestWindow list = CreateListBox100(host.Get());
  TTestWindow twin = CreateListBox100(host.Get());
  RECT before{}, twinRect{};
  GetClientRect(list.Get(), &before);
  TvlScrollWnd* a = Adapt(list.Get(), s.Manager);
  RECT during{};
  GetClientRect(list.Get(), &during);
  EXPECT_NE(during.right, before.right);
  ScrollTrack.TrackWnd = ScrollTrack.HotWnd = list.Get();
  ScrollTrack.HotBar = SB_VERT;
  ReleaseScrollWndAdapter(list.Get(), true, true, a);
  Pump();
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(GetWindowAdapter(list.Get()), nullptr);
  EXPECT_EQ(ScrollTrack.HotWnd, nullptr);
  EXPECT_EQ(ScrollTrack.TrackWnd, nullptr);
  RECT after{};
  GetClientRect(list.Get(), &after);
  GetClientRect(twin.Get(), &twinRect);
  EXPECT_EQ(after.right, twinRect.right);
  EXPECT_EQ(after.bottom, twinRect.bottom);
}

// A skin without scroll sections still takes the bars out of the frame,
// but paints nothing on them.
TEST(ScrollWnd, WithoutScrollSectionsTheBarsAreNotPainted) {
  TSkinScene s("no-scrolls");
  s.Manager->ScrollsOptions()->SetScrollSize(20);
  TTestWindow host = CreateHostWindow();
  TTestWindow list = CreateListBox100(host.Get());
  TvlScrollWnd* a = Adapt(list.Get(), s.Manager);
  ASSERT_TRUE(a->VertBar->Visible);
  RECT c{};
  GetClientRect(list.Get(), &c);
  EXPECT_EQ(c.right, 166 - 2 * a->LeftEdge - 20);
  const TBars bars = BarsOf(a, list.Get());
  EXPECT_FALSE(a->PaintVertBar(nullptr, -1, -1, bars.Vert));
  EXPECT_FALSE(a->PaintHorzBar(nullptr, -1, -1, bars.Horz));
  Release(list.Get(), a);
}

// The window scrolls itself (keys here): the platform redraws its own bar
// where the skinned one is, and the skinned bar is painted again over it.
TEST(ScrollWnd, BarsStaySkinnedWhenTheWindowScrollsItself) {
  TSkinScene s;
  TListScene l(s);
  HWND w = l.List.Get();
  for (WPARAM key : {VK_NEXT, VK_NEXT, VK_DOWN, VK_HOME}) {
    SCOPED_TRACE(key);
    SendMessageA(w, WM_KEYDOWN, key, 0);
    Pump();
    const TBars bars = BarsOf(l.Adapter, w);
    const TBarPoints v = PointsOf(l.Adapter, bars.Vert, true);
    TWindowPixels px(w);
    EXPECT_EQ(px(v.First.x, v.First.y), s.Face("SCROLLBTNTOP", 0));
    EXPECT_EQ(px(v.Second.x, v.Second.y), s.Face("SCROLLBTNBOTTOM", 0));
    EXPECT_EQ(px(v.Thumb.x, v.Thumb.y), s.Face("SCROLLSLIDERV", 0));
  }
}

}  // namespace
