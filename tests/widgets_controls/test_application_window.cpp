// The application window as the program's task-bar entry: shown while forms
// are, the one window of the thread the shell gives a button, minimized and
// restored with its forms from every road a user or program takes.
#include <windows.h>

#include <gtest/gtest.h>

#include "fixture.h"

namespace {

// What the shell lists: visible, unowned, not a tool window (or forced with
// WS_EX_APPWINDOW).
BOOL CALLBACK CollectListed(HWND w, LPARAM p) {
  LONG_PTR ex = GetWindowLongPtrA(w, GWL_EXSTYLE);
  bool listed = IsWindowVisible(w) &&
                ((ex & WS_EX_APPWINDOW) || (!GetWindow(w, GW_OWNER) && !(ex & WS_EX_TOOLWINDOW)));
  if (listed) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

// Collected over this thread's top-level windows.
std::vector<HWND> TaskBarWindows() {
  std::vector<HWND> out;
  EnumThreadWindows(GetCurrentThreadId(), CollectListed, reinterpret_cast<LPARAM>(&out));
  return out;
}

struct TStateEvents {
  int Minimized = 0, Restored = 0;
  std::vector<WPARAM> SysCommands;
  void OnMinimize(TObject*) { ++Minimized; }
  void OnRestore(TObject*) { ++Restored; }
  bool Hook(TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND) SysCommands.push_back(m.WParam & 0xFFF0);
    return false;
  }
};

TForm* NewShownForm(TFormBorderStyle Style) {
  TForm* f = New<TForm>(Application, TCustomForm::TCreateNew{});
  f->SetBorderStyle(Style);
  f->SetBounds(40, 40, 200, 150);
  f->Show();
  return f;
}

}  // namespace

TEST(TaskBarButton, BelongsToTheApplicationWindowWhateverTheFormsFrame) {
  for (TFormBorderStyle style : {bsToolWindow, bsSizeable, bsDialog}) {
    SCOPED_TRACE(static_cast<int>(style));
    TForm* f = NewShownForm(style);
    EXPECT_EQ(TaskBarWindows(), std::vector<HWND>{Application->Handle()});
    TForm* second = NewShownForm(bsSingle);
    EXPECT_EQ(TaskBarWindows(), std::vector<HWND>{Application->Handle()}) << "one button";
    second->Hide();
    EXPECT_TRUE(IsWindowVisible(Application->Handle())) << "a form is still visible";
    TObject::Free(second);
    f->Hide();
    EXPECT_TRUE(TaskBarWindows().empty());
    TObject::Free(f);
  }
}

TEST(ApplicationMinimize, RoundTripsFromEveryRoad) {
  enum Road { Method, MainFormSysCommand, ApplicationSysCommand };
  struct Case {
    const char* Name;
    Road Minimize, Restore;
  } cases[] = {
      {"Minimize/Restore", Method, Method},
      {"main form's minimize box, then the button", MainFormSysCommand, ApplicationSysCommand},
      {"the button's menu both ways", ApplicationSysCommand, ApplicationSysCommand},
      {"main form both ways", MainFormSysCommand, MainFormSysCommand},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->MainForm(), main);
    main->SetBorderStyle(bsSingle);
    main->Show();
    TForm* other = NewShownForm(bsToolWindow);
    TStateEvents ev;
    Application->OnMinimize = TNotifyEvent::Of<&TStateEvents::OnMinimize>(&ev);
    Application->OnRestore = TNotifyEvent::Of<&TStateEvents::OnRestore>(&ev);
    auto hook = TWindowHook::Of<&TStateEvents::Hook>(&ev);
    Application->HookMainWindow(hook);
    HWND app = Application->Handle();

    auto road = [&](Road r, WPARAM cmd) {
      if (r == Method)
        cmd == SC_MINIMIZE ? Application->Minimize() : Application->Restore();
      else
        SendMessageA(r == MainFormSysCommand ? main->Handle() : app, WM_SYSCOMMAND, cmd, 0);
      Pump();
    };
    road(c.Minimize, SC_MINIMIZE);
    EXPECT_TRUE(IsIconic(app));
    EXPECT_FALSE(IsIconic(main->Handle())) << "the form itself keeps its state";
    EXPECT_FALSE(IsWindowVisible(main->Handle()));
    EXPECT_FALSE(IsWindowVisible(other->Handle()));
    EXPECT_TRUE(main->Visible() && other->Visible()) << "hidden only with the application";
    EXPECT_EQ(TaskBarWindows(), std::vector<HWND>{app}) << "the button stays";
    EXPECT_EQ(ev.Minimized, 1);
    road(c.Minimize, SC_MINIMIZE);
    EXPECT_EQ(ev.Minimized, 1) << "minimizing twice is once";

    road(c.Restore, SC_RESTORE);
    EXPECT_FALSE(IsIconic(app));
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    EXPECT_TRUE(IsWindowVisible(other->Handle()));
    EXPECT_EQ(ev.Restored, 1);
    EXPECT_EQ(ev.SysCommands, (std::vector<WPARAM>{SC_MINIMIZE, SC_MINIMIZE, SC_RESTORE}))
        << "hooks see every road";

    Application->UnhookMainWindow(hook);
    Application->OnMinimize = {};
    Application->OnRestore = {};
    TObject::Free(other);
    TObject::Free(main);
    Pump();
  }
}

TEST(ApplicationMinimize, OtherFormsSysCommandsStayTheirOwn) {
  TForm* f = NewShownForm(bsSingle);  // not the main form
  SendMessageA(f->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Pump();
  EXPECT_FALSE(IsIconic(Application->Handle()));
  EXPECT_TRUE(IsIconic(f->Handle()));
  SendMessageA(f->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(f->Handle()));
  TObject::Free(f);
}
