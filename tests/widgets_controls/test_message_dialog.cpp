// MessageDlg: with the platform's sink a real, modal "TMessageForm" whose
// buttons follow the set and answer with their results; with a recording
// sink nothing is shown and the log says what a box would have offered.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "fixture.h"
#include "widgets/forms/dialogs.h"

namespace {

constexpr UINT kInspect = WM_APP + 42;

struct TSeen {
  std::string ClassName, Caption, Text;
  std::vector<std::string> Buttons;
  bool InOneRow = true;
  bool Modal = false;
};

// Inspects the visible message form from inside its modal loop (the message
// is posted to the application window before the dialog runs), then acts.
class TDialogProbe {
 public:
  explicit TDialogProbe(std::function<void(TMessageForm&)> Act) : act_(std::move(Act)) {
    hook_ = TWindowHook::Of<&TDialogProbe::Hook>(this);
    Application->HookMainWindow(hook_);
    PostMessageA(Application->Handle(), kInspect, 0, 0);
  }
  ~TDialogProbe() { Application->UnhookMainWindow(hook_); }
  TSeen Seen;
  bool Found = false;

 private:
  bool Hook(TMessage& m) {
    if (m.Msg != kInspect) return false;
    for (int i = 0; i < Screen->CustomFormCount() && !Found; ++i) {
      auto* f = dynamic_cast<TMessageForm*>(Screen->CustomForms(i));
      if (!f || !f->HandleAllocated() || !IsWindowVisible(f->Handle())) continue;
      Found = true;
      Inspect(*f);
      act_(*f);
    }
    if (!Found) PostMessageA(Application->Handle(), kInspect, 0, 0);
    return true;
  }
  void Inspect(TMessageForm& f) {
    Seen.ClassName = WindowClassName(f.Handle());
    Seen.Caption = f.Caption();
    Seen.Modal = (f.FormState() & fsModal) != 0;
    if (auto* label = dynamic_cast<TLabel*>(f.FindComponent("Message")))
      Seen.Text = label->Caption();
    int lastRight = -1, top = -1;
    for (int i = 0; i < f.ControlCount(); ++i) {
      auto* b = dynamic_cast<TButton*>(f.Controls(i));
      if (!b) continue;
      Seen.Buttons.push_back(b->Name());
      if (top < 0) top = b->Top();
      Seen.InOneRow = Seen.InOneRow && b->Top() == top && b->Left() > lastRight &&
                      b->Left() + b->Width() <= f.ClientWidth();
      lastRight = b->Left() + b->Width();
    }
  }
  std::function<void(TMessageForm&)> act_;
  TWindowHook hook_;
};

void PostKeyTo(TMessageForm& f, const char* Button, WPARAM Vk) {
  auto* b = dynamic_cast<TButton*>(f.FindComponent(Button));
  ASSERT_TRUE(b);
  PostMessageA(b->Handle(), WM_KEYDOWN, Vk, 1);
}

void Click(TMessageForm& f, const char* Button) {
  auto* b = dynamic_cast<TButton*>(f.FindComponent(Button));
  ASSERT_TRUE(b);
  PostMessageA(b->Handle(), BM_CLICK, 0, 0);
}

// Puts the platform's sink in place for a test (the fixture's programs
// record by default only when the environment asks).
struct TSystemSinkScope {
  TMessageBoxSink* previous = SetMessageBoxSink(nullptr);
  ~TSystemSinkScope() { SetMessageBoxSink(previous); }
};

}  // namespace

TEST(MessageDialog, IsAModalMessageFormWhoseButtonsFollowTheSet) {
  struct Case {
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
    const char* Caption;
    std::vector<std::string> Shown;
    std::function<void(TMessageForm&)> Act;
    int Result;
  } cases[] = {
      {mtConfirmation,
       MsgDlgButtons({mbYes, mbNo, mbCancel}),
       "Confirm",
       {"Yes", "No", "Cancel"},
       [](TMessageForm& f) { PostKeyTo(f, "No", VK_ESCAPE); },
       IDCANCEL},
      {mtConfirmation,
       MsgDlgButtons({mbYes, mbNo, mbCancel}),
       "Confirm",
       {"Yes", "No", "Cancel"},
       [](TMessageForm& f) { PostKeyTo(f, "Cancel", VK_RETURN); },
       IDYES},
      {mtConfirmation,
       MsgDlgButtons({mbYes, mbNo}),
       "Confirm",
       {"Yes", "No"},
       [](TMessageForm& f) { PostKeyTo(f, "Yes", VK_ESCAPE); },
       IDNO},
      {mtWarning,
       MsgDlgButtons({mbOK}),
       "Warning",
       {"OK"},
       [](TMessageForm& f) { PostKeyTo(f, "OK", VK_ESCAPE); },
       IDOK},
      {mtError,
       MsgDlgButtons({mbOK, mbCancel}),
       "Error",
       {"OK", "Cancel"},
       [](TMessageForm& f) { PostKeyTo(f, "Cancel", VK_RETURN); },
       IDOK},
      {mtInformation,
       MsgDlgButtons({mbAbort, mbRetry, mbIgnore}),
       "Information",
       {"Abort", "Retry", "Ignore"},
       [](TMessageForm& f) { Click(f, "Retry"); },
       IDRETRY},
      {mtCustom,
       MsgDlgButtons({mbYesToAll, mbNoToAll}),
       "Varnel",
       {"NoToAll", "YesToAll"},
       [](TMessageForm& f) { PostKeyTo(f, "YesToAll", VK_RETURN); },
       mrNoToAll},
      {mtCustom, 0, "Varnel", {"OK"}, [](TMessageForm& f) { Click(f, "OK"); }, IDOK},
  };
  Application->SetTitle("Varnel");
  TSystemSinkScope sink;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Caption + std::string(" ") + std::to_string(c.Shown.size()));
    TDialogProbe probe(c.Act);
    int formsBefore = Screen->CustomFormCount();
    EXPECT_EQ(MessageDlg("Save the changes\nbefore leaving?", c.Type, c.Buttons, 0), c.Result);
    ASSERT_TRUE(probe.Found);
    EXPECT_EQ(probe.Seen.ClassName, "TMessageForm");
    EXPECT_TRUE(probe.Seen.Modal);
    EXPECT_EQ(probe.Seen.Caption, c.Caption);
    EXPECT_EQ(probe.Seen.Text, "Save the changes\nbefore leaving?");
    EXPECT_EQ(probe.Seen.Buttons, c.Shown);
    EXPECT_TRUE(probe.Seen.InOneRow);
    EXPECT_EQ(Screen->CustomFormCount(), formsBefore) << "the form is freed";
  }
}

TEST(MessageDialog, TheWholeTextFitsItsLabel) {
  std::string longText(400, 'W');
  for (size_t i = 7; i < longText.size(); i += 8) longText[i] = ' ';
  TMessageForm* f = CreateMessageDialog(longText, mtInformation, MsgDlgButtons({mbOK}));
  auto* label = dynamic_cast<TLabel*>(f->FindComponent("Message"));
  ASSERT_TRUE(label);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, f->Font()->Handle());
  RECT r{0, 0, label->Width(), 0};
  DrawTextA(dc, longText.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  EXPECT_LE(r.bottom, label->Height()) << "wrapped to the label's width it still fits";
  EXPECT_LE(f->Width(), Screen->Width());
  EXPECT_GE(label->Left(), GetSystemMetrics(SM_CXICON)) << "beside the icon";
  TObject::Free(f);
}

TEST(MessageDialog, ARecordingSinkAnswersWithoutAnyForm) {
  TBoxRecorder boxes;
  int formsBefore = Screen->CustomFormCount();
  EXPECT_EQ(MessageDlg("Sure?", mtConfirmation, MsgDlgButtons({mbYes, mbNo}), 0), IDOK);
  EXPECT_EQ(Screen->CustomFormCount(), formsBefore);
  ASSERT_EQ(boxes.Boxes.size(), 1u);
  EXPECT_EQ(boxes.Boxes[0].DlgButtons, MsgDlgButtons({mbYes, mbNo}));
  EXPECT_EQ(TRecordingMessageBoxSink::FormatLine(boxes.Boxes[0], IDYES),
            "MessageDlg\tConfirm\tSure?\tYESNO\tQUESTION\tIDYES");
}
