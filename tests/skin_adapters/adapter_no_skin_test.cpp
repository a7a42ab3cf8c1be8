// With no active skin an adapter is invisible: every message reaches the
// procedure below it once and unchanged, except the two it always takes
// (WM_UPDATEUISTATE is swallowed, WM_PRINT arrives as WM_PAINT with the DC).
#include <gtest/gtest.h>

#include <windows.h>

#include "adapter_target.h"
#include "skin/adapters/adapter_base.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

class AdapterNoSkin : public testing::TestWithParam<TAdapterPath> {};

TEST_P(AdapterNoSkin, EveryMessageReachesThePreviousProcedureOnceUnchanged) {
  TAdapterTarget target(GetParam());
  TvlMainWnd* adapter = target.Adapt();
  const HWND wnd = target.Wnd();
  static const char kText[] = "changed text";
  struct Case {
    const char* name;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
  };
  const Case cases[] = {
      {"private message", WM_USER + 5, 0x1234, 0x5678},
      {"key", WM_KEYDOWN, VK_DOWN, 0x00500001},
      {"size", WM_SIZE, SIZE_RESTORED, MAKELPARAM(166, 40)},
      {"mouse move", WM_MOUSEMOVE, 0, MAKELPARAM(3, 4)},
      {"set text", WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kText)},
      {"dialog code", WM_GETDLGCODE, 0, 0},
      {"scroll", WM_VSCROLL, SB_LINEDOWN, 0},
      {"skin query", SkinCommandMessage, SkinCmdParam(SkinCmdIsSkinned), 0},
      {"skin removal", SkinCommandMessage, SkinCmdParam(SkinCmdRemoveSkin), 0x42},
      {"background query", SkinCommandMessage, SkinCmdParam(SkinCmdGetBackground), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    target.ClearLog();
    SendMessageA(wnd, c.msg, c.wParam, c.lParam);
    int seen = 0;
    for (const TRecordedMessage& m : target.Log()) {
      if (m.Msg != c.msg) continue;
      ++seen;
      EXPECT_EQ(m.WParam, c.wParam);
      EXPECT_EQ(m.LParam, c.lParam);
    }
    EXPECT_EQ(seen, 1);
  }

  target.ClearLog();
  SendMessageA(wnd, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  EXPECT_EQ(target.Count(WM_UPDATEUISTATE), 0) << "never reaches the window";

  HDC screen = GetDC(nullptr);
  TMemoryDC dc(CreateCompatibleDC(screen));
  ReleaseDC(nullptr, screen);
  target.ClearLog();
  SendMessageA(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
  EXPECT_EQ(target.Count(WM_PRINT), 0);
  bool paintWithDC = false;
  for (const TRecordedMessage& m : target.Log())
    if (m.Msg == WM_PAINT && m.WParam == reinterpret_cast<WPARAM>(dc.Get()) &&
        m.LParam == PRF_CLIENT)
      paintWithDC = true;
  EXPECT_TRUE(paintWithDC) << "WM_PRINT arrives as WM_PAINT with the DC";
  EXPECT_EQ(adapter->WindowText, kText) << "the adapter reads the text again after WM_SETTEXT";

  ReleaseWndAdapter(wnd, true, false, adapter);
}

INSTANTIATE_TEST_SUITE_P(Paths, AdapterNoSkin,
                         testing::Values(TAdapterPath::Plain, TAdapterPath::Control), PathName);

}  // namespace
