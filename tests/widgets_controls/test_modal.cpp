// Modal forms: every road out of the loop gives its result, CloseQuery can
// keep the form, and the other windows are disabled only meanwhile.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "fixture.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/controls/stdctrls.h"

namespace {

constexpr UINT kStep = WM_APP + 41;
constexpr UINT_PTR kGuardTimer = 4141;

// Runs the steps one per posted message from inside the modal loop; a
// bounded guard ends a loop that nothing else ends, so a fault fails the
// test instead of hanging it.
class TModalDriver {
 public:
  TModalDriver(TCustomForm* Form, std::vector<std::function<void()>> Steps)
      : form_(Form), steps_(std::move(Steps)) {
    old_ = Form->WindowProc;
    Form->WindowProc = TWndMethod::Of<&TModalDriver::Hook>(this);
    PostMessageA(Form->Handle(), kStep, 0, 0);
    SetTimer(Form->Handle(), kGuardTimer, 5000, nullptr);
  }
  ~TModalDriver() {
    KillTimer(form_->Handle(), kGuardTimer);
    form_->WindowProc = old_;
  }
  size_t Done = 0;

 private:
  void Hook(TMessage& m) {
    if (m.Msg == kStep) {
      if (Done < steps_.size()) steps_[Done++]();
      if (Done < steps_.size()) PostMessageA(form_->Handle(), kStep, 0, 0);
      return;
    }
    if (m.Msg == WM_TIMER && m.WParam == kGuardTimer) {
      form_->SetModalResult(-1);
      return;
    }
    old_(m);
  }
  TCustomForm* form_;
  std::vector<std::function<void()>> steps_;
  TWndMethod old_;
};

struct TModalForm {
  TForm* Form;
  TButton* Yes;
  TButton* Cancel;
  TModalForm() {
    Form = New<TForm>(Application, TCustomForm::TCreateNew{});
    Form->SetBounds(60, 60, 240, 160);
    Yes = New<TButton>(Form);
    Yes->SetParent(Form);
    Yes->SetModalResult(mrYes);
    Yes->SetDefault(true);
    Cancel = New<TButton>(Form);
    Cancel->SetParent(Form);
    Cancel->SetBounds(90, 0, 75, 25);
    Cancel->SetModalResult(mrCancel);
    Cancel->SetCancel(true);
  }
  ~TModalForm() { TObject::Free(Form); }
};

void PostKey(HWND Wnd, WPARAM Vk) {
  PostMessageA(Wnd, WM_KEYDOWN, Vk, 1);
  PostMessageA(Wnd, WM_KEYUP, Vk, static_cast<LPARAM>(0xC0000001));
}

}  // namespace

TEST(ShowModal, EveryRoadOutGivesItsResult) {
  struct Case {
    const char* Name;
    std::function<void(TModalForm&)> Step;
    TModalResult Result;
  } cases[] = {
      {"a button with a result is clicked",
       [](TModalForm& m) { SendMessageA(m.Yes->Handle(), BM_CLICK, 0, 0); }, mrYes},
      {"Enter presses the default button",
       [](TModalForm& m) { PostKey(m.Cancel->Handle(), VK_RETURN); }, mrYes},
      {"Esc presses the cancel button", [](TModalForm& m) { PostKey(m.Yes->Handle(), VK_ESCAPE); },
       mrCancel},
      {"ModalResult is set", [](TModalForm& m) { m.Form->SetModalResult(mrRetry); }, mrRetry},
      {"Close", [](TModalForm& m) { m.Form->Close(); }, mrCancel},
      {"the close box", [](TModalForm& m) { PostMessageA(m.Form->Handle(), WM_CLOSE, 0, 0); },
       mrCancel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TModalForm m;
    bool modalInside = false;
    TModalDriver driver(m.Form, {[&] {
                          modalInside = (m.Form->FormState() & fsModal) != 0;
                          c.Step(m);
                        }});
    EXPECT_EQ(m.Form->ShowModal(), c.Result);
    EXPECT_TRUE(modalInside);
    EXPECT_FALSE(m.Form->FormState() & fsModal);
    EXPECT_FALSE(m.Form->Visible());
    EXPECT_FALSE(IsWindowVisible(m.Form->Handle()));
    EXPECT_EQ(m.Form->ModalResult(), c.Result) << "kept for the caller";
  }
}

TEST(ShowModal, CloseQueryAndOnCloseCanKeepTheFormOpen) {
  TModalForm m;
  struct Keeper {
    int Queries = 0;
    bool AllowClose = false;
    TCloseAction Action = caNone;
    void OnCloseQuery(TObject*, bool& can) {
      ++Queries;
      can = AllowClose;
    }
    void OnClose(TObject*, TCloseAction& a) { a = Action; }
  } k;
  m.Form->OnCloseQuery = TCloseQueryEvent::Of<&Keeper::OnCloseQuery>(&k);
  m.Form->OnClose = TCloseEvent::Of<&Keeper::OnClose>(&k);
  std::vector<TModalResult> seen;
  TModalDriver driver(m.Form, {
                                  [&] { m.Form->SetModalResult(mrOk); },  // refused by the query
                                  [&] {
                                    seen.push_back(m.Form->ModalResult());
                                    k.AllowClose = true;  // OnClose says caNone
                                    m.Form->SetModalResult(mrOk);
                                  },
                                  [&] {
                                    seen.push_back(m.Form->ModalResult());
                                    k.Action = caHide;
                                    m.Form->SetModalResult(mrAbort);
                                  },
                              });
  EXPECT_EQ(m.Form->ShowModal(), mrAbort);
  EXPECT_EQ(driver.Done, 3u);
  EXPECT_EQ(seen, (std::vector<TModalResult>{mrNone, mrNone})) << "the result was taken back";
  EXPECT_EQ(k.Queries, 3);
}

TEST(ShowModal, DisablesTheOtherWindowsOnlyWhileItRuns) {
  auto shown = [](int x) {
    TForm* f = New<TForm>(Application, TCustomForm::TCreateNew{});
    f->SetBounds(x, 300, 100, 80);
    f->Show();
    return f;
  };
  TForm* other = shown(10);
  TForm* disabledBefore = shown(120);
  TForm* freedMeanwhile = shown(230);
  EnableWindow(disabledBefore->Handle(), FALSE);
  SetActiveWindow(other->Handle());
  HWND activeBefore = GetActiveWindow();
  ASSERT_EQ(activeBefore, other->Handle());

  TModalForm m;
  bool otherEnabled = true, appEnabled = true, selfEnabled = false;
  TModalDriver driver(m.Form, {[&] {
                        otherEnabled = IsWindowEnabled(other->Handle());
                        appEnabled = IsWindowEnabled(Application->Handle());
                        selfEnabled = IsWindowEnabled(m.Form->Handle());
                        TObject::Free(freedMeanwhile);
                        m.Form->SetModalResult(mrOk);
                      }});
  EXPECT_EQ(m.Form->ShowModal(), mrOk);
  EXPECT_FALSE(otherEnabled);
  EXPECT_FALSE(appEnabled);
  EXPECT_TRUE(selfEnabled);
  EXPECT_TRUE(IsWindowEnabled(other->Handle()));
  EXPECT_TRUE(IsWindowEnabled(Application->Handle()));
  EXPECT_FALSE(IsWindowEnabled(disabledBefore->Handle())) << "not ours to enable";
  EXPECT_EQ(GetActiveWindow(), activeBefore) << "the activation comes back";
  TObject::Free(disabledBefore);
  TObject::Free(other);
}

TEST(ShowModal, AVisibleFormCannotBecomeModal) {
  TModalForm m;
  m.Form->Show();
  EXPECT_THROW(m.Form->ShowModal(), EInvalidOperation);
  EXPECT_FALSE(m.Form->FormState() & fsModal);
}
