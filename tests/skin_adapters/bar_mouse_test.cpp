// The skinned scroll bars under a real mouse: holding, paging, jumping,
// dragging, and the press ending however the mouse is taken away, also when
// the window dies under it.
#include <gtest/gtest.h>

#include <windows.h>

#include "bar_mouse_scene.h"

namespace {

using real_input::LeftButton;
using real_input::MoveTo;
using real_input::PumpFor;
using real_input::PumpUntil;

const char* BarName(int Bar) {
  return Bar == SB_VERT ? "vertical" : "horizontal";
}

// Holding an arrow sends one line scroll at once, the next 300 ms later and
// then one every 55 ms: 1 + 5 in 600 ms. A busy machine may deliver timers
// late, never early; so the hold lasts until the sixth scroll (bounded),
// and the test asserts what no load can change: never more than 1 + 5 + 2
// in the first 600 ms, no repeat before the delay, and nothing after the
// release.
TEST(BarMouse, HoldingAnArrowScrollsOnceThenRepeatsAfterADelay) {
  struct Case {
    int bar;
    bool second;
    int code;
  };
  const Case cases[] = {
      {SB_VERT, true, SB_LINEDOWN},
      {SB_VERT, false, SB_LINEUP},
      {SB_HORZ, true, SB_LINEDOWN},
      {SB_HORZ, false, SB_LINEUP},
  };
  TBarMouseScene scene;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(BarName(c.bar)) + (c.second ? " second arrow" : " first arrow"));
    auto w = scene.AddWindow();
    MoveTo(w->ArrowPoint(c.bar, c.second));
    real_input::PumpPending();
    LeftButton(true);
    const bool six = PumpUntil([&] { return w->Count(c.bar, c.code) >= 6; }, 5000);
    PumpFor(100);  // what a late pump still owes
    std::vector<TScrollSeen> lines = w->Scrolls(c.bar, c.code);
    LeftButton(false);
    ASSERT_TRUE(PumpUntil([&] { return w->Count(c.bar, SB_ENDSCROLL) > 0; }));
    const int atEnd = w->Count(c.bar, c.code);
    EXPECT_TRUE(six) << "the repeat stopped while the arrow was held";
    ASSERT_GE(lines.size(), 2u);
    std::string ticks;
    for (const TScrollSeen& s : lines) ticks += " " + std::to_string(s.Tick - lines[0].Tick);
    EXPECT_GE(lines[1].Tick - lines[0].Tick, 280u) << "the repeat started before its delay";
    const DWORD first = lines.front().Tick;
    std::erase_if(lines, [first](const TScrollSeen& s) { return s.Tick - first > 600; });
    EXPECT_LE(lines.size(), 8u) << "at" << ticks;
    EXPECT_EQ(w->Count(c.bar), atEnd + 1) << "only line scrolls and the end";
    EXPECT_EQ(w->Count(c.bar == SB_VERT ? SB_HORZ : SB_VERT), 0);
    PumpFor(150);
    EXPECT_EQ(w->Count(c.bar, c.code), atEnd) << "the repeat outlived the press";
    EXPECT_EQ(ScrollTrack.PressedPart, spNone);
    EXPECT_NE(GetCapture(), w->Handle());
  }
}

// Two quick clicks make the second press a double-click; it presses the
// arrow again instead of reaching the platform's own bar handling.
TEST(BarMouse, ADoubleClickOnAnArrowPressesItTwice) {
  TBarMouseScene scene;
  for (int bar : {SB_VERT, SB_HORZ}) {
    SCOPED_TRACE(BarName(bar));
    auto w = scene.AddWindow();
    MoveTo(w->ArrowPoint(bar, true));
    real_input::PumpPending();
    for (int click = 1; click <= 2; ++click) {
      LeftButton(true);
      LeftButton(false);
      ASSERT_TRUE(PumpUntil([&] { return w->Count(bar, SB_ENDSCROLL) == click; }));
    }
    EXPECT_EQ(w->Count(bar, SB_LINEDOWN), 2);
    EXPECT_EQ(w->Recorder.Count(WM_NCLBUTTONDOWN) + w->Recorder.Count(WM_NCLBUTTONDBLCLK), 0);
  }
}

TEST(BarMouse, MovingOffAHeldPartPausesTheRepeatWithoutEndingIt) {
  TBarMouseScene scene;
  for (int bar : {SB_VERT, SB_HORZ}) {
    SCOPED_TRACE(BarName(bar));
    auto w = scene.AddWindow();
    MoveTo(w->ArrowPoint(bar, true));
    real_input::PumpPending();
    LeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return w->Count(bar, SB_LINEDOWN) >= 3; }));
    // Off the arrow, into the window's client area, the button still down.
    RECT client{};
    GetClientRect(w->Handle(), &client);
    POINT inside{client.right / 2, client.bottom / 2};
    ClientToScreen(w->Handle(), &inside);
    MoveTo(inside);
    PumpFor(100);
    const int paused = w->Count(bar, SB_LINEDOWN);
    PumpFor(400);
    EXPECT_EQ(w->Count(bar, SB_LINEDOWN), paused);
    EXPECT_EQ(ScrollTrack.PressedPart, spLineDown) << "moving off ended the press";
    EXPECT_EQ(ScrollTrack.PartUnderCursor, spNone);
    EXPECT_EQ(w->Count(bar, SB_ENDSCROLL), 0);
    MoveTo(w->ArrowPoint(bar, true));
    EXPECT_TRUE(PumpUntil([&] { return w->Count(bar, SB_LINEDOWN) > paused; }, 3000))
        << "back on the arrow, the repeat goes on";
    LeftButton(false);
    ASSERT_TRUE(PumpUntil([&] { return w->Count(bar, SB_ENDSCROLL) == 1; }));
  }
}

TEST(BarMouse, ShiftClickOnTheTrackJumpsTheThumbOnceWithoutRepeat) {
  struct Case {
    int bar;
    double fraction;  // where along the bar
  };
  const Case cases[] = {{SB_VERT, 0.8}, {SB_VERT, 0.3}, {SB_HORZ, 0.75}, {SB_HORZ, 0.2}};
  TBarMouseScene scene;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(BarName(c.bar)) + " at " + std::to_string(c.fraction));
    auto w = scene.AddWindow();
    const POINT p = w->AlongBar(c.bar, c.fraction);
    MoveTo(p);
    real_input::PumpPending();
    {
      real_input::THeldKey shift(VK_SHIFT);
      ASSERT_TRUE(PumpUntil([] { return GetAsyncKeyState(VK_SHIFT) < 0; }));
      LeftButton(true);
      ASSERT_TRUE(PumpUntil([&] { return w->Count(c.bar) > 0; }));
      PumpFor(450);
      LeftButton(false);
      PumpFor(100);
    }
    const std::vector<TScrollSeen> all = w->Scrolls(c.bar);
    std::string codes;
    for (const TScrollSeen& s : all) codes += " " + std::to_string(s.Code);
    ASSERT_EQ(all.size(), 1u) << "one SB_THUMBTRACK, no repeat and no closing message:" << codes;
    EXPECT_EQ(all[0].Code, SB_THUMBTRACK);
    EXPECT_EQ(w->Position(c.bar), all[0].Pos);
    EXPECT_NE(GetCapture(), w->Handle());
    EXPECT_EQ(ScrollTrack.PressedPart, spNone);
    // The thumb's centre stands where the click was.
    int len = 0, pos = 0;
    w->Thumb(c.bar, len, pos);
    const int at = c.bar == SB_VERT ? p.y : p.x;
    EXPECT_NEAR(pos + len / 2, at, 2);
  }
}

TEST(BarMouse, DraggingTheThumbPastAnEndStopsOnTheLastWholePage) {
  struct Case {
    int bar;
    UINT page;
    bool toEnd;
  };
  const Case cases[] = {
      {SB_VERT, 10, true}, {SB_VERT, 0, true}, {SB_VERT, 10, false}, {SB_HORZ, 10, true},
      {SB_HORZ, 0, true},  {SB_HORZ, 1, true}, {SB_HORZ, 10, false},
  };
  TBarMouseScene scene;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(BarName(c.bar)) + " page " + std::to_string(c.page) +
                 (c.toEnd ? " to the end" : " to the start"));
    auto w = scene.AddWindow();
    w->SetBar(c.bar, 0, 99, c.page, 50);
    const int last = 99 - int(std::max<UINT>(c.page, 1)) + 1;
    POINT p = w->ThumbPoint(c.bar);
    MoveTo(p);
    real_input::PumpPending();
    LeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return w->Adapter->Tracking; }));
    // In steps, and on past the bar's end, away from it across too.
    const int step = c.toEnd ? 15 : -15;
    for (int i = 0; i < 12; ++i) {
      (c.bar == SB_VERT ? p.y : p.x) += step;
      (c.bar == SB_VERT ? p.x : p.y) += 7;
      MoveTo(p);
      PumpFor(30);
    }
    LeftButton(false);
    ASSERT_TRUE(PumpUntil([&] { return w->Count(c.bar, SB_ENDSCROLL) > 0; }));
    const std::vector<TScrollSeen> tracks = w->Scrolls(c.bar, SB_THUMBTRACK);
    std::string seen;
    for (const TScrollSeen& s : tracks) seen += " " + std::to_string(s.Pos);
    ASSERT_GE(tracks.size(), 2u) << "track positions:" << seen;
    for (const TScrollSeen& s : tracks) EXPECT_LE(s.Pos, last) << "track positions:" << seen;
    EXPECT_EQ(tracks.back().Pos, c.toEnd ? last : 0);
    const std::vector<TScrollSeen> all = w->Scrolls(c.bar);
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[all.size() - 2].Code, SB_THUMBPOSITION);
    EXPECT_EQ(all[all.size() - 2].Pos, tracks.back().Pos);
    EXPECT_EQ(all.back().Code, SB_ENDSCROLL);
    EXPECT_EQ(w->Position(c.bar), tracks.back().Pos);
    EXPECT_FALSE(w->Adapter->Tracking);
    EXPECT_EQ(ScrollTrack.PressedPart, spNone);
  }
}

// An adapter that, like a combo box's list, keeps the capture and the
// button-up of a press, and reports a thumb release in its own terms.
class TKeepingScrollWnd : public TvlScrollWnd {
 public:
  static const TvlAdapterClass& AdapterClass() {
    static const TvlAdapterClass c{"TKeepingScrollWnd",
                                   []() -> TvlMainWnd* { return new TKeepingScrollWnd; }};
    return c;
  }
  bool ReleasesPressAtButtonUp() override { return false; }
  int ReleasedTrackPos(int LastTrackPos) override { return LastTrackPos + 1000; }
};

TEST(BarMouse, TheReleaseOfAThumbDragFollowsTheAdaptersHooks) {
  TBarMouseScene scene;
  for (bool keeping : {false, true}) {
    SCOPED_TRACE(keeping ? "keeping adapter" : "plain adapter");
    auto w = scene.AddWindow(8, 8, keeping ? &TKeepingScrollWnd::AdapterClass() : nullptr);
    POINT p = w->ThumbPoint(SB_VERT);
    MoveTo(p);
    real_input::PumpPending();
    LeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return w->Adapter->Tracking; }));
    p.y += 20;
    MoveTo(p);
    ASSERT_TRUE(PumpUntil([&] { return w->Count(SB_VERT, SB_THUMBTRACK) > 0; }));
    w->Recorder.ClearLog();
    LeftButton(false);
    ASSERT_TRUE(PumpUntil([&] { return w->Count(SB_VERT, SB_ENDSCROLL) > 0; }));
    const int last = w->Scrolls(SB_VERT, SB_THUMBTRACK).back().Pos;
    const int reported = keeping ? last + 1000 : last;
    EXPECT_EQ(w->Scrolls(SB_VERT, SB_THUMBPOSITION).at(0).Pos, reported);
    EXPECT_EQ(w->Scrolls(SB_VERT, SB_ENDSCROLL).at(0).Pos, reported);
    EXPECT_EQ(GetCapture() == w->Handle(), keeping);
    EXPECT_EQ(w->Recorder.Count(WM_LBUTTONUP), keeping ? 0 : 1);
    EXPECT_EQ(ScrollTrack.PressedPart, spNone);
    ReleaseCapture();
  }
}

TEST(BarMouse, AnInactiveBarAnswersNowhereAndTakesNoPress) {
  struct Case {
    int disabled;  // -1: none
    int bar;
    LRESULT expected;
  };
  const Case cases[] = {
      {-1, SB_VERT, HTVSCROLL},      {-1, SB_HORZ, HTHSCROLL},      {SB_VERT, SB_VERT, HTNOWHERE},
      {SB_VERT, SB_HORZ, HTHSCROLL}, {SB_HORZ, SB_HORZ, HTNOWHERE}, {SB_HORZ, SB_VERT, HTVSCROLL},
  };
  TBarMouseScene scene;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(BarName(c.bar)) + " with " +
                 (c.disabled < 0 ? "none" : BarName(c.disabled)) + " disabled");
    auto w = scene.AddWindow();
    if (c.disabled >= 0) EnableScrollBar(w->Handle(), c.disabled, ESB_DISABLE_BOTH);
    for (const POINT& p : {w->ArrowPoint(c.bar, true), w->AlongBar(c.bar, 0.8)})
      EXPECT_EQ(SendMessageA(w->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), c.expected);
    if (c.expected != HTNOWHERE) continue;
    MoveTo(w->ArrowPoint(c.bar, true));
    real_input::PumpPending();
    LeftButton(true);
    PumpFor(400);
    LeftButton(false);
    PumpFor(50);
    EXPECT_EQ(w->Count(c.bar), 0);
    EXPECT_EQ(ScrollTrack.PressedPart, spNone);
  }
}

TEST(BarMouse, RightClicksOnABarAreSwallowed) {
  TBarMouseScene scene;
  auto w = scene.AddWindow();
  RECT client{};
  GetClientRect(w->Handle(), &client);
  POINT inside{client.right / 2, client.bottom / 2};
  ClientToScreen(w->Handle(), &inside);
  for (const POINT& p :
       {w->ArrowPoint(SB_VERT, true), w->AlongBar(SB_VERT, 0.8), w->ThumbPoint(SB_HORZ), inside}) {
    w->Recorder.ClearLog();
    MoveTo(p);
    real_input::PumpPending();
    real_input::RightButton(true);
    real_input::RightButton(false);
    PumpFor(100);
    const bool onBar = p.x != inside.x || p.y != inside.y;
    if (onBar) {
      EXPECT_EQ(w->Recorder.Count(WM_NCRBUTTONDOWN) + w->Recorder.Count(WM_NCRBUTTONUP) +
                    w->Recorder.Count(WM_CONTEXTMENU),
                0);
    } else {
      // The client area's click shows that the input arrived at all.
      EXPECT_EQ(w->Recorder.Count(WM_RBUTTONDOWN), 1);
    }
  }
  EXPECT_EQ(w->Count(SB_VERT) + w->Count(SB_HORZ), 0);
}

BOOL CALLBACK ConfirmDialog(HWND Wnd, LPARAM) {
  char name[16] = {};
  GetClassNameA(Wnd, name, sizeof name);
  if (std::string(name) == "#32770") PostMessageA(Wnd, WM_COMMAND, IDOK, 0);
  return TRUE;
}

// Closes this thread's message box shortly after it appears.
VOID CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR Id, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), ConfirmDialog, 0);
  KillTimer(nullptr, Id);
}

TEST(BarMouse, ARepeatEndsWhenTheMouseIsTakenAway) {
  enum Taker { MessageBoxShown, CaptureTaken, CancelMode };
  TBarMouseScene scene;
  for (Taker taker : {MessageBoxShown, CaptureTaken, CancelMode}) {
    SCOPED_TRACE(taker);
    auto w = scene.AddWindow();
    TTestWindow other(CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 300, 200, 20, 20,
                                      scene.Host.Get(), nullptr, nullptr, nullptr));
    w->OnScroll = [&](const TScrollSeen& s) {
      if (s.Code != SB_LINEDOWN || w->Count(SB_VERT, SB_LINEDOWN) != 2) return;
      if (taker == MessageBoxShown) {
        SetTimer(nullptr, 0, 150, CloseMessageBox);
        MessageBoxA(scene.Host.Get(), "The repeat stops here", "Bars", MB_OK);
      } else if (taker == CaptureTaken) {
        SetCapture(other.Get());
      } else {
        SendMessageA(w->Handle(), WM_CANCELMODE, 0, 0);
      }
    };
    MoveTo(w->ArrowPoint(SB_VERT, true));
    real_input::PumpPending();
    LeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return w->Count(SB_VERT, SB_LINEDOWN) >= 2; }));
    PumpFor(500);  // the button still down
    EXPECT_EQ(w->Count(SB_VERT, SB_LINEDOWN), 2);
    EXPECT_EQ(w->Count(SB_VERT, SB_ENDSCROLL), 1) << "the press ends as at a button-up";
    EXPECT_NE(GetCapture(), w->Handle());
    EXPECT_EQ(ScrollTrack.PressedPart, spNone);
    EXPECT_EQ(ScrollTrack.RepeatTimerId, 0u);
    LeftButton(false);
    PumpFor(50);
    ReleaseCapture();
    EXPECT_EQ(w->Count(SB_VERT, SB_ENDSCROLL), 1);
  }
}

TEST(BarMouse, AnAnswerOfOneBeforeScrollingKeepsTheWindowsOwnPosition) {
  TBarMouseScene scene;
  for (LRESULT answer : {LRESULT(0), LRESULT(1)}) {
    SCOPED_TRACE(answer);
    auto w = scene.AddWindow();
    w->Recorder.BeforeScrollAnswer = answer;
    POINT p = w->ThumbPoint(SB_VERT);
    MoveTo(p);
    real_input::PumpPending();
    LeftButton(true);
    real_input::PumpPending();
    p.y += 30;
    MoveTo(p);
    PumpFor(60);
    const std::vector<TScrollSeen> tracks = w->Scrolls(SB_VERT, SB_THUMBTRACK);
    ASSERT_FALSE(tracks.empty());
    const TScrollSeen& t = tracks.back();
    EXPECT_GT(t.Pos, 50);
    EXPECT_EQ(t.LParam, answer == 1 ? LPARAM(t.Pos) : 0);
    EXPECT_EQ(w->Position(SB_VERT), answer == 1 ? 50 : t.Pos);
    LeftButton(false);
    ASSERT_TRUE(PumpUntil([&] { return w->Count(SB_VERT, SB_ENDSCROLL) > 0; }));
  }
}

TEST(BarMouse, AWindowOrAdapterGoneWhileItsBarIsHotOrPressedLeavesTheEngineIdle) {
  enum State { Hot, ArrowHeld, ThumbDragged };
  enum Gone { WindowDestroyed, AdapterFreed };
  TBarMouseScene scene;
  for (Gone gone : {WindowDestroyed, AdapterFreed}) {
    for (State state : {Hot, ArrowHeld, ThumbDragged}) {
      SCOPED_TRACE(std::string(gone == WindowDestroyed ? "window destroyed" : "adapter freed") +
                   ", state " + std::to_string(state));
      {
        auto w = scene.AddWindow();
        const HWND wnd = w->Handle();
        MoveTo(state == ThumbDragged ? w->ThumbPoint(SB_VERT) : w->ArrowPoint(SB_VERT, true));
        ASSERT_TRUE(PumpUntil([&] { return ScrollTrack.IsHot(wnd, SB_VERT); }));
        if (state != Hot) {
          LeftButton(true);
          ASSERT_TRUE(PumpUntil([&] { return ScrollTrack.PressedPart != spNone; }));
          PumpFor(100);
        }
        if (gone == WindowDestroyed)
          DestroyWindow(wnd);
        else
          ReleaseScrollWndAdapter(wnd, true, false, w->Adapter);
        EXPECT_TRUE(EngineIdle());
        EXPECT_NE(GetCapture(), wnd);
        const int sent = w->Count(SB_VERT);
        PumpFor(400);
        EXPECT_EQ(w->Count(SB_VERT), sent) << "a timer of the press outlived it";
        LeftButton(false);
        PumpFor(50);
      }
      // The next window under the same cursor works as any other.
      auto next = scene.AddWindow(200, 8);
      MoveTo(next->ArrowPoint(SB_VERT, true));
      EXPECT_TRUE(PumpUntil([&] { return ScrollTrack.IsHot(next->Handle(), SB_VERT); }))
          << "hot tracking died with the first window";
      LeftButton(true);
      EXPECT_TRUE(PumpUntil([&] { return next->Count(SB_VERT, SB_LINEDOWN) > 0; }));
      LeftButton(false);
      EXPECT_TRUE(PumpUntil([&] { return next->Count(SB_VERT, SB_ENDSCROLL) == 1; }));
    }
  }
}

TEST(BarMouse, AWindowThatDestroysItselfInItsScrollMessageEndsTheRepeat) {
  TBarMouseScene scene;
  for (int bar : {SB_VERT, SB_HORZ}) {
    SCOPED_TRACE(BarName(bar));
    auto w = scene.AddWindow();
    const HWND wnd = w->Handle();
    w->OnScroll = [&](const TScrollSeen& s) {
      if (s.Code == SB_LINEDOWN && w->Count(bar, SB_LINEDOWN) == 3) DestroyWindow(wnd);
    };
    MoveTo(w->ArrowPoint(bar, true));
    real_input::PumpPending();
    LeftButton(true);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(wnd); }));
    PumpFor(200);
    EXPECT_EQ(w->Count(bar, SB_LINEDOWN), 3);
    EXPECT_NE(ScrollTrack.HotWnd, wnd);
    EXPECT_EQ(ScrollTrack.PressedPart, spNone);
    EXPECT_NE(ScrollTrack.TrackWnd, wnd);
    EXPECT_EQ(GetCapture(), nullptr);
    LeftButton(false);
    PumpFor(50);
  }
}

}  // namespace
