// The memo's window styles and lines, and the reading order forms take from
// the application.
#include <windows.h>

#include <gtest/gtest.h>

#include "fixture.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/rtl/classes.h"

namespace {

using MemoTest = FormTest;

DWORD StyleOf(TWinControl* c) {
  return static_cast<DWORD>(GetWindowLongPtrA(c->Handle(), GWL_STYLE));
}

TEST_F(MemoTest, ScrollBarsAndWordWrapAreWindowStylesThatKeepTheText) {
  auto* m = New<TMemo>(Form);
  m->SetParent(Form);
  m->SetText("one\r\ntwo");
  Form->Show();
  struct Case {
    TScrollStyle Bars;
    bool Wrap;
    bool Horz, Vert, AutoHorz;
  } cases[] = {
      {ssNone, true, false, false, false},     {ssVertical, true, false, true, false},
      {ssHorizontal, true, true, false, true}, {ssBoth, true, true, true, true},
      {ssNone, false, false, false, true},     {ssVertical, false, false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "bars " << c.Bars << " wrap " << c.Wrap);
    m->SetScrollBars(c.Bars);
    m->SetWordWrap(c.Wrap);
    const DWORD s = StyleOf(m);
    EXPECT_TRUE(s & ES_MULTILINE);
    EXPECT_TRUE(s & ES_WANTRETURN);
    EXPECT_EQ((s & WS_HSCROLL) != 0, c.Horz);
    EXPECT_EQ((s & WS_VSCROLL) != 0, c.Vert);
    EXPECT_EQ((s & ES_AUTOHSCROLL) != 0, c.AutoHorz);
    EXPECT_EQ(m->Text(), "one\r\ntwo");
  }
  m->SetWantReturns(false);
  EXPECT_FALSE(StyleOf(m) & ES_WANTRETURN);
}

TEST_F(MemoTest, LinesEditTheTextWithAndWithoutAWindow) {
  auto* m = New<TMemo>(Form);
  m->SetParent(Form);
  for (bool window : {false, true}) {
    SCOPED_TRACE(window ? "window" : "no window");
    if (window) Form->Show();
    m->Lines()->Clear();
    EXPECT_EQ(m->Lines()->Count(), 0);
    m->Lines()->Add("b");
    m->Lines()->Insert(0, "a");
    m->Lines()->Add("d");
    m->Lines()->Insert(2, "c");
    EXPECT_EQ(m->Text(), "a\r\nb\r\nc\r\nd");
    m->Lines()->Delete(1);
    m->Lines()->SetStrings(0, "A");
    EXPECT_EQ(m->Text(), "A\r\nc\r\nd");
    ASSERT_EQ(m->Lines()->Count(), 3);
    EXPECT_EQ(m->Lines()->Strings(2), "d");
    EXPECT_THROW(m->Lines()->Strings(3), EStringListError);
    if (window) {
      EXPECT_EQ(SendMessageA(m->Handle(), EM_GETLINECOUNT, 0, 0), 3);
    }
  }
  // A new window keeps the lines.
  m->SetScrollBars(ssBoth);
  EXPECT_EQ(m->Lines()->Count(), 3);
  EXPECT_EQ(m->Lines()->Strings(0), "A");
}

TEST_F(MemoTest, FormsFollowTheApplicationsReadingOrderWhileTheirParentModeIsOn) {
  struct Restore {
    ~Restore() { Application->SetBiDiMode(bdLeftToRight); }
  } restore;
  auto* own = New<TForm>(Application);
  own->SetBiDiMode(bdLeftToRight);  // ParentBiDiMode goes off
  auto* child = New<TEdit>(Form);
  child->SetParent(Form);
  Application->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(Form->BiDiMode(), bdRightToLeft);
  EXPECT_TRUE(Form->ParentBiDiMode());
  EXPECT_EQ(child->BiDiMode(), bdRightToLeft);
  EXPECT_EQ(own->BiDiMode(), bdLeftToRight);
  auto* later = New<TForm>(Application);
  EXPECT_EQ(later->BiDiMode(), bdRightToLeft);
  Application->SetBiDiMode(bdLeftToRight);
  EXPECT_EQ(Form->BiDiMode(), bdLeftToRight);
  EXPECT_EQ(child->BiDiMode(), bdLeftToRight);
  EXPECT_EQ(later->BiDiMode(), bdLeftToRight);
  TObject::Free(later);
  TObject::Free(own);
}

}  // namespace
