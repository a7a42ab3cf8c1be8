// Labels that end in "..." and keep to their constraints, the cursor a
// graphic control asks for, and the edit's password character and bevel.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "fixture.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

constexpr COLORREF kPaper = RGB(255, 255, 255);

// The bounding box of everything a control painted on white paper, in
// the control's own coordinates (empty when nothing was painted).
RECT InkBounds(TControl& c, int w = 400, int h = 200) {
  TWindowDC screen(nullptr);
  TMemoryDC dc(CreateCompatibleDC(screen.Get()));
  TOwnedBitmap bmp(CreateCompatibleBitmap(screen.Get(), w, h));
  TSelectedObject sel(dc.Get(), bmp.Get());
  RECT all{0, 0, w, h};
  TOwnedBrush white(CreateSolidBrush(kPaper));
  FillRect(dc.Get(), &all, white.Get());
  c.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc.Get()), 0);
  RECT ink{w, h, 0, 0};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (GetPixel(dc.Get(), x, y) != kPaper) {
        ink.left = std::min<LONG>(ink.left, x);
        ink.top = std::min<LONG>(ink.top, y);
        ink.right = std::max<LONG>(ink.right, x + 1);
        ink.bottom = std::max<LONG>(ink.bottom, y + 1);
      }
  if (ink.right == 0) return RECT{};
  return ink;
}

class LabelEditTest : public FormTest {
 protected:
  TLabel* MakeLabel(const std::string& caption, int w, int h) {
    auto* l = New<TLabel>(Form);
    l->SetParent(Form);
    l->SetAutoSize(false);
    l->SetBounds(0, 0, w, h);
    l->Font()->SetColor(clBlack);
    l->SetCaption(caption);
    return l;
  }
};

}  // namespace

TEST_F(LabelEditTest, WrappedEllipsisCutsWordsSoNoLineIsLeftHalfShown) {
  const std::string kLong =
      "Reverb time and pre delay follow the room size chosen for the hall program";
  auto* probe = MakeLabel("Xg", 50, 50);
  probe->SetAutoSize(true);
  const int line = probe->Height();
  ASSERT_GT(line, 4);
  // Two and a half lines: text that runs on shows the top of a third line
  // (the platform clips it at the label's edge); cut text ends on the second.
  struct Case {
    TEllipsisPosition Position;
    bool WordWrap;
    bool TwoLines;
  } cases[] = {
      {epNone, true, false},
      {epEndEllipsis, true, true},
      {epWordEllipsis, true, true},
      {epEndEllipsis, false, true},  // one line, ended by the platform
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "position " << c.Position << " wrap " << c.WordWrap);
    auto* l = MakeLabel(kLong, 120, line * 2 + line / 2);
    l->SetWordWrap(c.WordWrap);
    l->SetEllipsisPosition(c.Position);
    RECT ink = InkBounds(*l);
    ASSERT_FALSE(IsRectEmpty(&ink));
    EXPECT_LE(ink.right, l->Width());
    EXPECT_EQ(ink.bottom <= line * 2, c.TwoLines) << ink.bottom << " line " << line;
    // Text cut at words still fills its second line.
    if (c.WordWrap && c.TwoLines) {
      EXPECT_GT(ink.bottom, line);
    }
    l->Free();
  }
}

TEST_F(LabelEditTest, EllipsisIsIgnoredWhileTheLabelSizesItself) {
  auto* l = MakeLabel("A caption longer than forty pixels", 40, 15);
  l->SetEllipsisPosition(epEndEllipsis);
  l->SetAutoSize(true);
  EXPECT_GT(l->Width(), 40);
  RECT ink = InkBounds(*l);
  EXPECT_GT(ink.right, 40);
}

TEST_F(LabelEditTest, WrappedEllipsisDrawsNothingWhenNoWordFits) {
  // Not even one line fits a label one pixel high: every word is cut away.
  auto* l = MakeLabel("Chorus", 120, 1);
  l->SetWordWrap(true);
  l->SetEllipsisPosition(epEndEllipsis);
  RECT ink = InkBounds(*l);
  EXPECT_TRUE(IsRectEmpty(&ink) || ink.bottom <= 1);
}

TEST_F(LabelEditTest, ConstraintsLimitEverySizeChange) {
  struct Case {
    int MinW, MaxW, MinH, MaxH;
    int W, H;
    int ExpectW, ExpectH;
  } cases[] = {
      {0, 0, 0, 0, 300, 40, 300, 40},  {0, 100, 0, 0, 300, 40, 100, 40},
      {0, 0, 0, 20, 300, 40, 300, 20}, {50, 0, 30, 0, 10, 10, 50, 30},
      {80, 60, 0, 0, 10, 10, 60, 10},  // a maximum wins over a minimum
  };
  auto* edit = New<TEdit>(Form);
  edit->SetParent(Form);
  auto* label = MakeLabel("x", 10, 10);
  Form->Show();
  for (TControl* c : {static_cast<TControl*>(edit), static_cast<TControl*>(label)}) {
    for (const Case& k : cases) {
      SCOPED_TRACE(testing::Message() << c->ClassName() << " max " << k.MaxW << "x" << k.MaxH);
      TSizeConstraints none;
      c->SetConstraints(&none);
      c->SetBounds(0, 0, k.W, k.H);
      TSizeConstraints limits;
      limits.SetMinWidth(k.MinW);
      limits.SetMaxWidth(k.MaxW);
      limits.SetMinHeight(k.MinH);
      limits.SetMaxHeight(k.MaxH);
      // New limits apply to the present size at once.
      c->SetConstraints(&limits);
      EXPECT_EQ(c->Width(), k.ExpectW);
      EXPECT_EQ(c->Height(), k.ExpectH);
      c->SetBounds(0, 0, k.W, k.H);
      EXPECT_EQ(c->Width(), k.ExpectW);
      EXPECT_EQ(c->Height(), k.ExpectH);
    }
  }
  RECT r;
  GetWindowRect(edit->Handle(), &r);
  EXPECT_EQ(r.right - r.left, 60);  // the window follows the last case
}

TEST_F(LabelEditTest, WrappingAutoSizedLabelGrowsDownWithinMaxWidth) {
  auto* l = MakeLabel("one two three four five six seven eight nine ten", 9999, 0);
  l->Constraints()->SetMaxWidth(60);
  l->SetWordWrap(true);
  l->SetAutoSize(true);
  EXPECT_LE(l->Width(), 60);
  auto* single = MakeLabel("one", 60, 0);
  single->SetAutoSize(true);
  EXPECT_GT(l->Height(), single->Height() * 2);
}

TEST_F(LabelEditTest, CursorOfAGraphicControlAnswersItsParentsSetCursor) {
  auto* l = MakeLabel("Hall", 60, 20);
  l->SetBounds(10, 10, 60, 20);
  l->SetCursor(crHandPoint);
  Form->SetBounds(0, 0, 200, 120);
  Form->Show();
  Pump();
  struct Case {
    POINT Client;
    bool OnLabel;
  } cases[] = {{{20, 15}, true}, {{150, 80}, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.OnLabel);
    POINT p = c.Client;
    ClientToScreen(Form->Handle(), &p);
    SetCursorPos(p.x, p.y);
    ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    LRESULT r = SendMessageA(Form->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Form->Handle()),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(r != 0, c.OnLabel);
    EXPECT_EQ(GetCursor() == StandardCursor(crHandPoint), c.OnLabel);
  }
}

TEST_F(LabelEditTest, PasswordCharHidesTheTextAndSurvivesANewWindow) {
  auto* e = New<TEdit>(Form);
  e->SetParent(Form);
  e->SetText("secret");
  e->SetPasswordChar('*');  // before the window exists
  Form->Show();
  EXPECT_EQ(SendMessageA(e->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');
  EXPECT_EQ(e->Text(), "secret");
  e->SetPasswordChar('#');
  EXPECT_EQ(SendMessageA(e->Handle(), EM_GETPASSWORDCHAR, 0, 0), '#');
  e->SetBorderStyle(bsNone);  // a new window
  EXPECT_EQ(SendMessageA(e->Handle(), EM_GETPASSWORDCHAR, 0, 0), '#');
  e->SetPasswordChar(0);
  EXPECT_EQ(SendMessageA(e->Handle(), EM_GETPASSWORDCHAR, 0, 0), 0);
  EXPECT_EQ(e->Text(), "secret");
}

TEST_F(LabelEditTest, BevelTakesOnePixelPerCutFromTheClientArea) {
  auto* e = New<TEdit>(Form);
  e->SetParent(Form);
  e->SetBounds(0, 0, 100, 30);
  e->SetBorderStyle(bsNone);
  Form->Show();
  struct Case {
    TBevelKind Kind;
    TBevelCut Inner, Outer;
    int Edge;
  } cases[] = {
      {bkNone, bvRaised, bvLowered, 0}, {bkTile, bvRaised, bvLowered, 2},
      {bkFlat, bvNone, bvLowered, 1},   {bkSoft, bvSpace, bvNone, 1},
      {bkTile, bvNone, bvNone, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Kind << " " << c.Inner << " " << c.Outer);
    e->SetBevelKind(c.Kind);
    e->SetBevelInner(c.Inner);
    e->SetBevelOuter(c.Outer);
    EXPECT_EQ(e->BevelSize(), c.Edge);
    RECT client;
    GetClientRect(e->Handle(), &client);
    EXPECT_EQ(client.right, 100 - 2 * c.Edge);
    EXPECT_EQ(client.bottom, e->Height() - 2 * c.Edge);
  }
}
