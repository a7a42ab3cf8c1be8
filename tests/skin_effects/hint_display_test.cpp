// DisplayHintAt: the hint window of the application's hint window class,
// placed below-right of the point and kept on the point's work area.
#include <gtest/gtest.h>

#include <windows.h>

#include "skin/engine/hint_display.h"
#include "skin/engine/layered_windows.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"
#include "widgets/forms/hint_window.h"

namespace {

// A hint window that says it is skinned, and so shows itself.
class TSkinnedHint : public THintWindow {
  DECLARE_CLASS(TSkinnedHint, THintWindow)
 public:
  using THintWindow::THintWindow;
  void ActivateHint(TRect Rect, const std::string& AHint) override {
    Activated = Rect;
    ActivatedText = AHint;
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg == SkinCommandMessage && HIWORD(m.WParam) == SkinCmdIsSkinned) {
      m.Result = 1;
      return;
    }
    THintWindow::Dispatch(m);
  }
  TRect Activated;
  std::string ActivatedText;
};

}  // namespace

const TClassInfo& TSkinnedHint::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TSkinnedHint> b("TSkinnedHint", &THintWindow::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

namespace {

TRect ScreenRect(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  return r;
}

TEST(DisplayHintAt, PlacesThePlainHintBelowRightOfThePointInsideTheWorkArea) {
  const TRect work = WorkAreaAtPoint(TPoint(10, 10));
  ASSERT_GT(work.Width(), 0);
  const std::string text = "Reverb time";
  const TRect size = OwnObject(New<THintWindow>(nullptr))->CalcHintRect(800, text);
  struct Case {
    const char* Where;
    TPoint At;
    TPoint TopLeft;  // expected
  } cases[] = {
      {"open space", {100, 100}, {108, 116}},
      {"right edge", {work.Right - 5, 100}, {work.Right - size.Width(), 116}},
      {"bottom edge", {100, work.Bottom - 5}, {108, work.Bottom - size.Height()}},
  };
  for (const Case& c : cases) {
    auto hint = OwnObject(DisplayHintAt(text, c.At));
    auto* h = dynamic_cast<THintWindow*>(hint.get());
    ASSERT_TRUE(h) << c.Where;
    ASSERT_TRUE(h->HandleAllocated()) << c.Where;
    const HWND wnd = h->Handle();
    EXPECT_TRUE(IsWindowVisible(wnd)) << c.Where;
    EXPECT_EQ(GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST) << c.Where;
    EXPECT_EQ(h->Caption(), text) << c.Where;
    EXPECT_EQ(h->Color(), clInfoBk) << c.Where;
    // The bottom grows by 4 after the fit.
    EXPECT_EQ(ScreenRect(wnd), Bounds(c.TopLeft.X, c.TopLeft.Y, size.Width(), size.Height() + 4))
        << c.Where;
  }
}

TEST(DisplayHintAt, EmptyTextShowsNothing) {
  EXPECT_EQ(DisplayHintAt("", TPoint(100, 100)), nullptr);
}

TEST(DisplayHintAt, ASkinnedHintWindowClassShowsItself) {
  Application->SetHintWindowClass(&TSkinnedHint::StaticClass());
  auto hint = OwnObject(DisplayHintAt("Rate", TPoint(100, 100)));
  Application->SetHintWindowClass(nullptr);
  auto* h = dynamic_cast<TSkinnedHint*>(hint.get());
  ASSERT_TRUE(h);
  EXPECT_EQ(h->ActivatedText, "Rate");
  const TRect size = h->CalcHintRect(800, "Rate");
  EXPECT_EQ(h->Activated, Bounds(108, 116, size.Width(), size.Height()));
  EXPECT_FALSE(h->HandleAllocated()) << "placing is left to the window itself";
}

}  // namespace
