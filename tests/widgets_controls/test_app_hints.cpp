// The application's hint machinery: the pauses, what CM_HINTSHOW hands a
// control and what the control's answer does, cancelling, and the screen's
// hint font. The timer is stepped by hand, so no test waits for it.
#include <windows.h>

#include <array>

#include "fixture.h"
#include "widgets/forms/hint_window.h"

namespace {

// Answers CM_HINTSHOW as told and keeps what it was handed.
class THintProbe : public TCustomControl {
 public:
  explicit THintProbe(TComponent* AOwner) : TCustomControl(AOwner) {}
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_HINTSHOW) {
      auto* info = reinterpret_cast<THintInfo*>(m.LParam);
      Seen = *info;
      ++Asked;
      if (Rewrite) info->HintStr = Rewrite;
      m.Result = Refuse ? 1 : 0;
      return;
    }
    TCustomControl::WndProc(m);
  }
  THintInfo Seen;
  int Asked = 0;
  const char* Rewrite = nullptr;
  bool Refuse = false;
};

class AppHints : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    SetCursorPos(0, 0);
    saved_ = {Application->HintPause(), Application->HintShortPause(),
              Application->HintHidePause()};
    // Long enough that the real timer never fires while a test runs.
    Application->SetHintPause(60000);
    Application->SetHintShortPause(30000);
    Application->SetHintHidePause(45000);
    Form->SetBounds(40, 40, 300, 200);
    for (THintProbe*& p : Probes) {
      p = New<THintProbe>(Form);
      p->SetParent(Form);
      p->SetHint("Reverb level");
      p->SetShowHint(true);
    }
    Probes[0]->SetBounds(10, 10, 100, 40);
    Probes[1]->SetBounds(10, 60, 100, 40);
    Form->Show();
    Pump();
  }
  void TearDown() override {
    Application->CancelHint();
    Application->SetHintPause(saved_[0]);
    Application->SetHintShortPause(saved_[1]);
    Application->SetHintHidePause(saved_[2]);
    FormTest::TearDown();
  }
  THintProbe* Probes[2] = {};

 private:
  std::array<int, 3> saved_{};
};

TEST_F(AppHints, TheControlsAnswerDecidesTheHint) {
  const struct {
    const char* What;
    const char* Rewrite;
    bool Refuse;
    const char* Shown;  // nullptr: no hint window
  } cases[] = {
      {"as it is", nullptr, false, "Reverb level"},
      {"rewritten by the control", "Chorus depth", false, "Chorus depth"},
      {"refused", nullptr, true, nullptr},
      {"emptied", "", false, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    THintProbe* p = Probes[0];
    p->Rewrite = c.Rewrite;
    p->Refuse = c.Refuse;
    Application->HintMouseMessage(p);
    EXPECT_EQ(Application->HintTimerMode(), 1);
    EXPECT_EQ(Application->HintTimerInterval(), 60000);
    EXPECT_EQ(Application->HintWindow(), nullptr);
    Application->HintTimerTick(nullptr);
    EXPECT_EQ(p->Asked, 1);
    EXPECT_EQ(p->Seen.HintControl, p);
    EXPECT_EQ(p->Seen.HintStr, "Reverb level");
    EXPECT_EQ(p->Seen.HideTimeout, 45000);
    EXPECT_EQ(p->Seen.HintWindowClass, Application->HintWindowClass());
    EXPECT_EQ(p->Seen.CursorRect.Width(), 100);
    EXPECT_EQ(p->Seen.CursorRect.Height(), 40);
    THintWindow* w = Application->HintWindow();
    if (c.Shown) {
      ASSERT_NE(w, nullptr);
      EXPECT_EQ(w->Caption(), c.Shown);
      EXPECT_TRUE(IsWindowVisible(w->Handle()));
      EXPECT_EQ(Application->HintTimerMode(), 2);
      EXPECT_EQ(Application->HintTimerInterval(), 45000);
      // The hide step takes the window, the control stays the hint's.
      Application->HintTimerTick(nullptr);
      EXPECT_EQ(Application->HintWindow(), nullptr);
      EXPECT_EQ(Application->HintControl(), p);
    } else {
      EXPECT_EQ(w, nullptr);
    }
    Application->CancelHint();
    EXPECT_EQ(Application->HintControl(), nullptr);
    EXPECT_EQ(Application->HintTimerMode(), 0);
    p->Asked = 0;
  }
}

TEST_F(AppHints, WhileAHintIsUpTheNextControlWaitsOnlyTheShortPause) {
  Application->HintMouseMessage(Probes[0]);
  Application->HintTimerTick(nullptr);
  ASSERT_NE(Application->HintWindow(), nullptr);
  Application->HintMouseMessage(Probes[1]);
  EXPECT_EQ(Application->HintWindow(), nullptr) << "the first hint goes";
  EXPECT_EQ(Application->HintControl(), Probes[1]);
  EXPECT_EQ(Application->HintTimerInterval(), 30000);
  // Onto a control without a hint: nothing pending.
  Application->HintMouseMessage(Form);
  EXPECT_EQ(Application->HintTimerMode(), 0);
  EXPECT_EQ(Application->HintControl(), nullptr);
}

TEST_F(AppHints, NoHintWhenSwitchedOffOrWhenTheControlGoes) {
  Application->SetShowHint(false);
  Application->HintMouseMessage(Probes[0]);
  EXPECT_EQ(Application->HintTimerMode(), 0);
  Application->SetShowHint(true);
  Probes[1]->SetShowHint(false);
  Application->HintMouseMessage(Probes[1]);
  EXPECT_EQ(Application->HintTimerMode(), 0);

  Application->HintMouseMessage(Probes[0]);
  Application->HintTimerTick(nullptr);
  ASSERT_NE(Application->HintWindow(), nullptr);
  TObject::Free(Probes[0]);
  Probes[0] = nullptr;
  EXPECT_EQ(Application->HintControl(), nullptr);
  EXPECT_EQ(Application->HintWindow(), nullptr);
  EXPECT_EQ(Application->HintTimerMode(), 0);
}

TEST_F(AppHints, ActivateHintShowsAtOnceAndAClickCancels) {
  const TPoint at = Probes[1]->ClientToScreen({5, 5});
  Application->ActivateHint(at);
  ASSERT_NE(Application->HintWindow(), nullptr);
  EXPECT_EQ(Probes[1]->Seen.HintPos.X, at.X);
  EXPECT_EQ(Probes[1]->Seen.CursorPos.X, 5);
  PostMessageA(Form->Handle(), WM_LBUTTONDOWN, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(Application->HintWindow(), nullptr);
  EXPECT_EQ(Application->HintControl(), nullptr);
}

TEST(ScreenHintFont, IsTheSystemsAndWritable) {
  TFont* f = Screen->HintFont();
  ASSERT_NE(f, nullptr);
  EXPECT_NE(f->Height(), 0);
  const int was = f->Height();
  f->SetHeight(-17);
  EXPECT_EQ(Screen->HintFont()->Height(), -17);
  f->SetHeight(was);
}

}  // namespace
