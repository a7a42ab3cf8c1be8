// Layered forms (AlphaBlend, TransparentColor), the application's hint
// switches and the plain hint window.
#include <windows.h>

#include <cstdlib>

#include "fixture.h"
#include "widgets/forms/hint_window.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/form_reader.h"

namespace {

bool Layered(HWND h) {
  return (GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

using LayeredForm = FormTest;

// Success is read back from the window, never from the last error (adding
// the style leaves a spurious one under Wine).
TEST_F(LayeredForm, AlphaAndColourKeyGoOnTheWindowAndComeOffAgain) {
  Form->Show();
  Pump();
  HWND h = Form->Handle();
  EXPECT_FALSE(Layered(h)) << "nothing changes by default";
  struct Case {
    bool Alpha, Key;
    uint8_t Value;
    TColor KeyColor;
    DWORD Flags;
  } cases[] = {
      {true, false, 200, clBlack, LWA_ALPHA},
      {false, true, 255, clFuchsia, LWA_COLORKEY},
      {true, true, 77, clLime, LWA_ALPHA | LWA_COLORKEY},
      {false, false, 255, clBlack, 0},
  };
  for (const Case& c : cases) {
    Form->SetAlphaBlendValue(c.Value);
    Form->SetTransparentColorValue(c.KeyColor);
    Form->SetAlphaBlend(c.Alpha);
    Form->SetTransparentColor(c.Key);
    for (bool recreated : {false, true}) {
      if (recreated) {
        Form->RecreateWnd();
        Pump();
        h = Form->Handle();
      }
      ASSERT_EQ(Layered(h), c.Flags != 0) << c.Flags << " recreated " << recreated;
      if (!c.Flags) continue;
      COLORREF key = 0;
      BYTE alpha = 0;
      DWORD flags = 0;
      ASSERT_TRUE(GetLayeredWindowAttributes(h, &key, &alpha, &flags));
      EXPECT_EQ(flags, c.Flags);
      if (c.Flags & LWA_ALPHA) {
        EXPECT_EQ(alpha, c.Value);
      }
      if (c.Flags & LWA_COLORKEY) {
        EXPECT_EQ(key, static_cast<COLORREF>(ColorToRGB(c.KeyColor)));
      }
    }
  }
}

TEST_F(LayeredForm, SettingsAreReadFromADescription) {
  ReadComponentFromText(Form,
                        "object F: TForm\n  AlphaBlend = True\n  AlphaBlendValue = 128\n"
                        "  TransparentColor = True\n  TransparentColorValue = clRed\nend\n");
  EXPECT_TRUE(Form->AlphaBlend());
  EXPECT_EQ(Form->AlphaBlendValue(), 128);
  EXPECT_TRUE(Form->TransparentColor());
  EXPECT_EQ(Form->TransparentColorValue(), clRed);
  Form->Show();
  Pump();
  EXPECT_TRUE(Layered(Form->Handle()));
}

TEST(ApplicationHints, ShownByDefaultThroughThePlainHintWindow) {
  EXPECT_TRUE(Application->ShowHint());
  Application->SetShowHint(false);
  EXPECT_FALSE(Application->ShowHint());
  Application->SetShowHint(true);
  EXPECT_EQ(Application->HintWindowClass(), &THintWindow::StaticClass());
  // Only a creatable hint window class is taken.
  Application->SetHintWindowClass(&TForm::StaticClass());
  EXPECT_EQ(Application->HintWindowClass(), &THintWindow::StaticClass());
  Application->SetHintWindowClass(nullptr);
  EXPECT_EQ(Application->HintWindowClass(), &THintWindow::StaticClass());
}

class HintWindowTest : public testing::Test {
 protected:
  void SetUp() override { Hint = New<THintWindow>(nullptr); }
  void TearDown() override {
    TObject::Free(Hint);
    Pump();
  }
  THintWindow* Hint = nullptr;
};

TEST_F(HintWindowTest, MeasuresItsTextWrappedAtTheMaximumWidth) {
  const TRect one = Hint->CalcHintRect(800, "Level");
  const TRect longer = Hint->CalcHintRect(800, "Level of the reverb");
  EXPECT_EQ(one.Left, 0);
  EXPECT_EQ(one.Top, 0);
  EXPECT_GT(one.Width(), 6);
  EXPECT_GT(longer.Width(), one.Width());
  EXPECT_EQ(longer.Height(), one.Height()) << "one line";
  const TRect wrapped = Hint->CalcHintRect(longer.Width() / 2, "Level of the reverb");
  EXPECT_LE(wrapped.Width(), longer.Width() / 2 + 6);
  EXPECT_GT(wrapped.Height(), one.Height()) << "two lines or more";
}

TEST_F(HintWindowTest, ActivateShowsATopMostToolPopupAndReleaseHidesIt) {
  EXPECT_FALSE(Hint->Visible());
  EXPECT_EQ(Hint->Color(), clInfoBk);
  HWND before = GetForegroundWindow();
  TRect r = Hint->CalcHintRect(800, "Depth");
  OffsetRect(r.AsRECT(), 100, 120);
  Hint->ActivateHint(r, "Depth");
  HWND h = Hint->Handle();
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(GetForegroundWindow(), before) << "never activated";
  const LONG_PTR style = GetWindowLongPtrA(h, GWL_STYLE);
  const LONG_PTR ex = GetWindowLongPtrA(h, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CHILD);
  EXPECT_EQ(ex & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST), WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  RECT w;
  GetWindowRect(h, &w);
  EXPECT_EQ(TRect(w), Rect(r.Left, r.Top, r.Right, r.Bottom + 4));
  EXPECT_EQ(Hint->Caption(), "Depth");
  Hint->ReleaseHandle();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(Hint->HandleAllocated());
  EXPECT_FALSE(Hint->Visible());
}

// The background is the info colour; the text is drawn in the info text
// colour (judged by the pixel most unlike the background: text may be
// smoothed).
TEST_F(HintWindowTest, PaintsItsTextInInfoColours) {
  TRect r = Hint->CalcHintRect(800, "WWWW");
  OffsetRect(r.AsRECT(), 100, 120);
  Hint->ActivateHint(r, "WWWW");
  Pump();
  HWND h = Hint->Handle();
  RECT c;
  GetClientRect(h, &c);
  TWindowDC screen(nullptr);
  TOwnedBitmap bmp(CreateCompatibleBitmap(screen.Get(), c.right, c.bottom));
  TMemoryDC mem(CreateCompatibleDC(screen.Get()));
  HGDIOBJ old = SelectObject(mem.Get(), bmp.Get());
  SendMessageA(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.Get()), PRF_CLIENT | PRF_ERASEBKGND);
  const COLORREF bk = GetSysColor(COLOR_INFOBK), ink = GetSysColor(COLOR_INFOTEXT);
  EXPECT_EQ(GetPixel(mem.Get(), 0, 0), bk);
  EXPECT_EQ(GetPixel(mem.Get(), c.right - 1, c.bottom - 1), bk);
  auto distance = [](COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
  };
  COLORREF farthest = bk;
  for (int y = 0; y < c.bottom; ++y)
    for (int x = 0; x < c.right; ++x) {
      COLORREF p = GetPixel(mem.Get(), x, y);
      if (distance(p, bk) > distance(farthest, bk)) farthest = p;
    }
  SelectObject(mem.Get(), old);
  EXPECT_LT(distance(farthest, ink), distance(farthest, bk)) << std::hex << farthest;
}

}  // namespace
