// Screen: its monitors and their lookups, the writable cursor table (used by
// controls), and the system's setting changes reaching forms.
#include <gtest/gtest.h>

#include <vector>

#include "fixture.h"
#include "widgets/controls/stdctrls.h"

namespace {

// User handles carry 32 significant bits; Wine hands the same cursor out
// sign-extended from one call and zero-extended from another.
uint32_t Low32(HCURSOR Cursor) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Cursor));
}

}  // namespace

TEST(ScreenMonitors, ListTheSystemsMonitorsAndFindThemByPlace) {
  ASSERT_EQ(Screen->MonitorCount(), GetSystemMetrics(SM_CMONITORS));
  int primaries = 0;
  for (int i = 0; i < Screen->MonitorCount(); ++i) {
    TMonitor* m = Screen->Monitors(i);
    SCOPED_TRACE(i);
    EXPECT_EQ(m->MonitorNum(), i);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    ASSERT_TRUE(GetMonitorInfoA(m->Handle(), &mi));
    EXPECT_EQ(m->BoundsRect(), TRect(mi.rcMonitor));
    EXPECT_EQ(m->WorkareaRect(), TRect(mi.rcWork));
    TRect work = m->WorkareaRect(), bounds = m->BoundsRect();
    EXPECT_TRUE(work.Left >= bounds.Left && work.Top >= bounds.Top && work.Right <= bounds.Right &&
                work.Bottom <= bounds.Bottom);
    EXPECT_EQ(m->Width(), bounds.Width());
    primaries += m->Primary();
    TPoint middle((bounds.Left + bounds.Right) / 2, (bounds.Top + bounds.Bottom) / 2);
    EXPECT_EQ(Screen->MonitorFromPoint(middle), m);
  }
  EXPECT_EQ(primaries, 1);
  TMonitor* first = Screen->Monitors(0);
  EXPECT_EQ(Screen->MonitorCount(), GetSystemMetrics(SM_CMONITORS));
  EXPECT_EQ(Screen->Monitors(0), first) << "the same set of monitors keeps its objects";

  // A place on no monitor: by the default asked for.
  TPoint nowhere(-100000, -100000);
  EXPECT_EQ(Screen->MonitorFromPoint(nowhere, mdNull), nullptr);
  ASSERT_NE(Screen->MonitorFromPoint(nowhere, mdPrimary), nullptr);
  EXPECT_TRUE(Screen->MonitorFromPoint(nowhere, mdPrimary)->Primary());
  EXPECT_NE(Screen->MonitorFromPoint(nowhere), nullptr) << "nearest by default";
}

TEST_F(FormTest, AFormsMonitorIsTheOneItIsShownOn) {
  Form->Show();
  TMonitor* m = Screen->MonitorFromWindow(Form->Handle());
  ASSERT_NE(m, nullptr);
  RECT r;
  GetWindowRect(Form->Handle(), &r);
  EXPECT_EQ(m, Screen->MonitorFromPoint(TPoint(r.left + 1, r.top + 1)));
  EXPECT_EQ(Screen->MonitorFromWindow(nullptr, mdNull), nullptr);
}

TEST_F(FormTest, CursorNumbersCanBeGivenNewCursorsThatControlsShow) {
  const TCursor kPipette = -50;
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
  HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
  EXPECT_EQ(Low32(Screen->Cursors(crDefault)), Low32(arrow));
  EXPECT_EQ(Low32(Screen->Cursors(crHandPoint)), Low32(hand));
  EXPECT_EQ(Low32(Screen->Cursors(kPipette)), Low32(arrow)) << "an unknown number gives the arrow";
  EXPECT_EQ(Screen->Cursors(crNone), nullptr);

  Screen->SetCursors(kPipette, cross);
  EXPECT_EQ(Low32(Screen->Cursors(kPipette)), Low32(cross));
  Screen->SetCursors(crHandPoint, cross);
  EXPECT_EQ(Low32(Screen->Cursors(crHandPoint)), Low32(cross)) << "a standard one can be replaced";
  Screen->SetCursors(crHandPoint, nullptr);
  EXPECT_EQ(Low32(Screen->Cursors(crHandPoint)), Low32(hand)) << "and given back";

  // A control with that cursor number shows the new cursor.
  auto* edit = New<TEdit>(Form);
  edit->SetParent(Form);
  edit->SetBounds(10, 10, 100, 24);
  edit->SetCursor(kPipette);
  Form->Show();
  POINT old{};
  GetCursorPos(&old);
  POINT p{20, 20};
  ClientToScreen(edit->Handle(), &p);
  SetCursorPos(p.x, p.y);
  SetCursor(arrow);
  SendMessageA(edit->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(edit->Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(Low32(GetCursor()), Low32(cross));
  SetCursorPos(old.x, old.y);
  Screen->SetCursors(kPipette, nullptr);
  EXPECT_EQ(Low32(Screen->Cursors(kPipette)), Low32(arrow));
}

TEST_F(FormTest, SettingChangesReachTheFormAsWinIniChange) {
  struct TWatch {
    TWndMethod Old;
    std::vector<TMessage> Seen;
    void Hook(TMessage& m) {
      if (m.Msg == CM_WININICHANGE) Seen.push_back(m);
      Old(m);
    }
  } watch;
  watch.Old = Form->WindowProc;
  Form->WindowProc = TWndMethod::Of<&TWatch::Hook>(&watch);
  static const char kArea[] = "intl";
  SendMessageA(Form->Handle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, reinterpret_cast<LPARAM>(kArea));
  Form->WindowProc = watch.Old;
  ASSERT_EQ(watch.Seen.size(), 1u);
  EXPECT_EQ(watch.Seen[0].WParam, WPARAM(SPI_SETWORKAREA));
  EXPECT_EQ(watch.Seen[0].LParam, reinterpret_cast<LPARAM>(kArea));
}
