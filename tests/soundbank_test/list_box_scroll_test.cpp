// TsListBox scrolled the way a person scrolls it: the skinned vertical bar
// under the real mouse (an arrow, the track, the thumb) and the wheel. Each
// moves the list as far as it should, the skinned bar follows, the event
// follows the scroll messages, the selection is painted where its item now
// is, and a failing event handler leaves the list box drawing. Without a
// skin, the event follows every scroll code.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "skin/adapters/adapter_base.h"
#include "skin/adapters/bar_hit_test.h"
#include "skin/adapters/edit_wnd.h"
#include "skin/adapters/scroll_track_state.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "soundbank_test/slistbox.h"
#include "started_skin_manager.h"
#include "temp_test_skin.h"
#include "test_skin.h"
#include "test_support.h"
#include "tests/support/real_input.h"
#include "tests/support/rgb_compare.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/exceptions.h"

namespace {

const bool poisoned = (PoisonFreedAdapters = true);

using real_input::LeftButton;
using real_input::MoveTo;
using real_input::PumpPending;
using real_input::PumpUntil;

constexpr int kItems = 24;
constexpr int kStartTop = 4;

// Records the vertical scroll messages that reach the list box and the
// calls of its event; the event handler may fail.
class TScrollProbe : public TsListBox {
 public:
  using TsListBox::TsListBox;

  std::vector<int> Codes;  // SB_ code of every WM_VSCROLL, in order
  // Each SB_THUMBTRACK's position and the top row right after it.
  std::vector<std::pair<int, int>> Tracks;
  int Events = 0;
  bool ThrowInEvent = false;

  int Count(int Code) const {
    return static_cast<int>(std::count(Codes.begin(), Codes.end(), Code));
  }
  void Hit(TObject*) {
    ++Events;
    if (ThrowInEvent) throw Exception("the handler failed");
  }
  void WndProc(TMessage& m) override {
    if (m.Msg != WM_VSCROLL) return TsListBox::WndProc(m);
    Codes.push_back(LOWORD(m.WParam));
    // Read after the message, also when the event handler failed in it.
    struct TAfter {
      TScrollProbe* Probe;
      WPARAM Param;
      ~TAfter() {
        if (LOWORD(Param) == SB_THUMBTRACK)
          Probe->Tracks.emplace_back(HIWORD(Param), Probe->TopIndex());
      }
    } after{this, m.WParam};
    TsListBox::WndProc(m);
  }
};

class ListBoxScroll : public testing::Test {
 protected:
  void SetUp() override { real_input::ResetInput(); }
  void TearDown() override {
    real_input::ResetInput();
    TObject::Free(form_);
    form_ = nullptr;
    Pump();
    skin_.reset();
  }

  // A form in front with the list box on it, focused; with Skinned under
  // the generated test skin.
  void Start(bool Skinned) {
    form_ = New<TForm>(Application, TCustomForm::TCreateNew{});
    form_->SetBounds(40, 40, 420, 300);
    form_->Show();
    SetWindowPos(form_->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (Skinned) {
      skin_ = std::make_unique<test_skin::TempTestSkin>("lbscroll", test_skin::kSoundVariant);
      manager_ = test_skin::StartSkinManager(form_, *skin_);
    }
    box_ = New<TScrollProbe>(form_);
    box_->SetParent(form_);
    box_->SetBounds(10, 10, 166, 141);
    box_->SetItemHeight(16);
    for (int i = 0; i < kItems; ++i) box_->Items()->Add("Port " + std::to_string(i));
    box_->HandleNeeded();
    box_->OnVScroll = TNotifyEvent::Of<&TScrollProbe::Hit>(box_);
    Pump();
    real_input::BringToFront(form_->Handle());
    box_->SetFocus();
    PumpPending();
  }

  // Whole rows in the client area: what a page scrolls.
  int Page() const { return box_->ClientHeight() / box_->ItemHeight(); }
  int LastTop() const { return kItems - Page(); }

  TRect ItemRect(int Index) const {
    RECT r{};
    SendMessageA(box_->Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index),
                 reinterpret_cast<LPARAM>(&r));
    return r;
  }

  TForm* form_ = nullptr;
  TsSkinManager* manager_ = nullptr;
  TScrollProbe* box_ = nullptr;
  std::unique_ptr<test_skin::TempTestSkin> skin_;
};

// ---- The skinned bar and the wheel ---------------------------------------------------

enum TInput { ArrowClick, TrackClick, ThumbDrag, WheelNotch };

// The vertical bar of the list box's adapter on the screen, with its thumb
// where the scroll state puts it now.
struct TVertBar {
  RECT Rect{};
  int Arrow = 0;
  int ThumbPos = 0, ThumbLen = 0;
  SCROLLINFO Info{};
  int X() const { return (Rect.left + Rect.right) / 2; }
};

TVertBar VertBar(TsCustomListBox* Box) {
  TVertBar b;
  TvlEditWnd* adapter = Box->Adapter();
  adapter->UpdateScrollInfo(false);
  const TvlScrollBar* bar = adapter->Bar(SB_VERT);
  BarRect(adapter, SB_VERT, Box->Handle(), b.Rect);
  b.Arrow = ScrollBarSize(bar, false);
  ThumbGeometry(bar, b.Rect, b.ThumbLen, b.ThumbPos);
  b.Info = bar->Info;
  return b;
}

class SkinnedBarScroll : public ListBoxScroll {
 protected:
  // Presses and releases at once: the release is queued before any repeat
  // could start, so the press scrolls exactly once.
  void Click(POINT At) {
    MoveTo(At);
    PumpPending();
    LeftButton(true);
    LeftButton(false);
    PumpUntil([&] { return box_->Count(SB_ENDSCROLL) > 0; });
  }

  // Grabs the thumb in its middle and drags it, a few pixels a move, to
  // where the bar puts the thumb of position Target.
  void Drag(const TVertBar& Bar, int Target) {
    const POINT grab{Bar.X(), Bar.ThumbPos + Bar.ThumbLen / 2};
    const TBarSpan span = BarSpan(TRect(Bar.Rect), true, Bar.Arrow, Bar.ThumbPos, Bar.ThumbLen);
    std::vector<int> onTarget;
    for (int y = Bar.Rect.top; y < Bar.Rect.bottom; ++y)
      if (DropThumb(span, grab.y - Bar.ThumbPos, y, Bar.Info.nMin, Bar.Info.nMax, Bar.Info.nPage)
              .Position == Target)
        onTarget.push_back(y);
    ASSERT_FALSE(onTarget.empty()) << "no cursor place drops the thumb at " << Target;
    const int to = onTarget[onTarget.size() / 2];
    dropY_ = to;
    MoveTo(grab);
    PumpPending();
    LeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return box_->Adapter()->Tracking; }));
    for (int y = grab.y; y != to;) {
      y = to > y ? std::min(to, y + 5) : std::max(to, y - 5);
      MoveTo(Bar.X(), y);
      PumpPending();
    }
    LeftButton(false);
    PumpUntil([&] { return box_->Count(SB_ENDSCROLL) > 0; });
  }
  int dropY_ = 0;  // where the last drag let go of the thumb (screen)

  // One notch down over the list box, which has the focus.
  void WheelDown() {
    RECT client{};
    GetClientRect(box_->Handle(), &client);
    POINT centre{client.right / 2, client.bottom / 2};
    ClientToScreen(box_->Handle(), &centre);
    MoveTo(centre);
    PumpPending();
    real_input::Wheel(-WHEEL_DELTA);
    PumpUntil([&] { return box_->TopIndex() != kStartTop; });
    PumpPending();
  }

  // The rows one notch moves, as the platform's setting says, at most a page.
  int WheelLines() const {
    UINT lines = 3;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    return lines == WHEEL_PAGESCROLL ? Page() : std::min<int>(static_cast<int>(lines), Page());
  }

  int Expected(TInput Input, int DragTarget) const {
    switch (Input) {
      case ArrowClick:
        return kStartTop + 1;
      case TrackClick:
        return std::min(kStartTop + Page(), LastTop());
      case ThumbDrag:
        return DragTarget;
      case WheelNotch:
        return std::min(kStartTop + WheelLines(), LastTop());
    }
    return -1;
  }

  // Which visible rows show the selection colour, as indexes.
  std::vector<int> HighlightedRows() const {
    const COLORREF highlight = ColorToRGB(manager_->GetHighlightColor(true));
    const TCapture shot = CaptureClient(box_->Handle());
    std::vector<int> rows;
    for (int i = box_->TopIndex(); i < kItems; ++i) {
      const TRect r = ItemRect(i);
      const int y = r.Top + r.Height() / 2;
      if (y >= shot.Height) break;
      if (Near(shot.At(r.Right - 10, y), highlight, 2)) rows.push_back(i);
    }
    return rows;
  }
};

// Arrow, track, thumb and wheel, each from the same starting row, with a
// quiet event handler and with one that fails: the list moves as far as the
// input says, the skinned bar's thumb follows it, and the selection is
// painted at its item's new place only. A failing handler is reported and
// leaves the list box visible, drawing and out of its update.
TEST_F(SkinnedBarScroll, EachInputMovesTheListAndTheSelectionFollowsItsItem) {
  struct Case {
    const char* Name;
    TInput Input;
  } cases[] = {{"down arrow", ArrowClick},
               {"track below the thumb", TrackClick},
               {"thumb drag", ThumbDrag},
               {"wheel notch down", WheelNotch}};
  Start(true);
  ASSERT_NE(box_->Adapter(), nullptr);
  const int dragTarget = LastTop() - 3;
  ASSERT_GT(dragTarget, kStartTop + 1);
  for (bool failing : {false, true}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.Name) + (failing ? ", failing handler" : ""));
      TBoxRecorder reports;
      const int expected = Expected(c.Input, dragTarget);
      const int selected = expected + 1;
      box_->SetItemIndex(selected);
      box_->SetTopIndex(kStartTop);
      Pump();
      ASSERT_EQ(box_->TopIndex(), kStartTop);
      box_->Codes.clear();
      box_->Tracks.clear();
      box_->Events = 0;
      box_->ThrowInEvent = failing;
      const TVertBar bar = VertBar(box_);
      switch (c.Input) {
        case ArrowClick:
          Click({bar.X(), bar.Rect.bottom - 1 - bar.Arrow / 2});
          break;
        case TrackClick:
          Click({bar.X(), (bar.ThumbPos + bar.ThumbLen + bar.Rect.bottom - bar.Arrow) / 2});
          break;
        case ThumbDrag:
          Drag(bar, dragTarget);
          break;
        case WheelNotch:
          WheelDown();
          break;
      }
      box_->ThrowInEvent = false;
      PumpPending();
      EXPECT_EQ(box_->TopIndex(), expected);
      // The bar reports through scroll messages, closed by one SB_ENDSCROLL.
      // The wheel moves the list inside the window, without any: the event
      // follows the messages, one call each, whatever their number.
      if (c.Input != WheelNotch) {
        EXPECT_GT(box_->Events, 0);
        EXPECT_EQ(box_->Count(SB_ENDSCROLL), 1);
      }
      EXPECT_EQ(box_->Events, static_cast<int>(box_->Codes.size()));
      EXPECT_EQ(reports.Boxes.size(), failing ? static_cast<size_t>(box_->Events) : 0u);
      // Nothing left pressed, frozen or updating.
      EXPECT_EQ(ScrollTrack.PressedPart, spNone);
      EXPECT_FALSE(box_->Adapter()->Tracking);
      EXPECT_NE(GetCapture(), box_->Handle());
      EXPECT_TRUE(GetWindowLongPtrA(box_->Handle(), GWL_STYLE) & WS_VISIBLE);
      EXPECT_FALSE(box_->SkinData()->Updating);
      // The skinned bar shows the list's own position.
      EXPECT_EQ(GetScrollPos(box_->Handle(), SB_VERT), expected);
      EXPECT_EQ(box_->Adapter()->Bar(SB_VERT)->Info.nPos, expected);
      if (c.Input == ThumbDrag) {
        // The list follows the thumb while it moves, not only where it is let go.
        std::vector<int> positions, tops;
        for (const auto& [pos, top] : box_->Tracks) {
          positions.push_back(pos);
          tops.push_back(top);
        }
        EXPECT_GE(positions.size(), 2u);
        EXPECT_EQ(tops, positions);
        // Where the thumb was let go, the scroll state puts it again.
        const TVertBar after = VertBar(box_);
        EXPECT_NEAR(after.ThumbPos + after.ThumbLen / 2, dropY_,
                    (after.Rect.bottom - after.Rect.top) / (kItems - Page() + 1) + 1);
      }
      // What the scroll left on the screen, and a full repaint.
      Pump();
      EXPECT_EQ(HighlightedRows(), std::vector<int>{selected}) << "as scrolled";
      RedrawWindow(box_->Handle(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
      Pump();
      EXPECT_EQ(HighlightedRows(), std::vector<int>{selected}) << "repainted";
    }
  }
}

// ---- Without a skin ------------------------------------------------------------------

// Every vertical scroll code calls the event once, also those that move
// nothing. The thumb codes carry their position in the scroll state as
// well, as a real bar leaves it: both platforms then agree on the row.
TEST_F(ListBoxScroll, WithoutASkinEveryVerticalScrollCodeCallsTheEventOnce) {
  Start(false);
  ASSERT_EQ(box_->Adapter(), nullptr);
  const int page = Page();
  struct Case {
    const char* Name;
    int Code;
    int Pos;
    int Top;
  } cases[] = {{"line down", SB_LINEDOWN, 0, kStartTop + 1},
               {"line up", SB_LINEUP, 0, kStartTop - 1},
               {"page down", SB_PAGEDOWN, 0, kStartTop + page},
               {"page up", SB_PAGEUP, 0, 0},
               {"thumb track", SB_THUMBTRACK, 10, 10},
               {"thumb position", SB_THUMBPOSITION, 2, 2},
               {"top", SB_TOP, 0, 0},
               {"bottom", SB_BOTTOM, 0, LastTop()},
               {"end scroll", SB_ENDSCROLL, 0, kStartTop}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    box_->SetTopIndex(kStartTop);
    Pump();
    box_->Events = 0;
    if (c.Code == SB_THUMBTRACK || c.Code == SB_THUMBPOSITION)
      SetScrollPos(box_->Handle(), SB_VERT, c.Pos, FALSE);
    SendMessageA(box_->Handle(), WM_VSCROLL, MAKEWPARAM(c.Code, c.Pos), 0);
    EXPECT_EQ(box_->Events, 1);
    EXPECT_EQ(box_->TopIndex(), c.Top);
  }
}

}  // namespace
