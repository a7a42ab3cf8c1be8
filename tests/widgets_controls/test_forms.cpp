// Forms and the application window: ownership, showing order, tool-window
// frame and client size, loading from the resource, closing and release.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "fixture.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/sysutils.h"
#include "widgets/controls/extctrls.h"

namespace {

// Records the messages that reach WindowProc, then passes them on.
struct TMessageLog {
  TControl* Control = nullptr;
  TWndMethod Old;
  std::vector<UINT> Msgs;
  void Attach(TControl* c) {
    Control = c;
    Old = c->WindowProc;
    c->WindowProc = TWndMethod::Of<&TMessageLog::Hook>(this);
  }
  void Detach() {
    if (Control) Control->WindowProc = Old;
    Control = nullptr;
  }
  void Hook(TMessage& m) {
    Msgs.push_back(m.Msg);
    Old(m);
  }
  // Index of the first occurrence, -1 when absent.
  int IndexOf(UINT msg) const {
    for (size_t i = 0; i < Msgs.size(); ++i)
      if (Msgs[i] == msg) return static_cast<int>(i);
    return -1;
  }
};

class TResourceForm : public TForm {
  DECLARE_CLASS(TResourceForm, TForm)
 public:
  using TForm::TForm;
  std::vector<std::string> Events;
  bool VisibleAtShow = true;
  int TimerIntervalAtCreate = 0;
  TTimer* Timer() { return dynamic_cast<TTimer*>(FindComponent("Timer1")); }
  void FormCreate(TObject*) {
    Events.push_back("create");
    TimerIntervalAtCreate = Timer() ? static_cast<int>(Timer()->Interval()) : -1;
  }
  void FormShow(TObject*) {
    Events.push_back("show");
    VisibleAtShow = IsWindowVisible(Handle()) != FALSE;
  }
  void FormDestroy(TObject*) {
    Events.push_back("destroy");
    if (DestroyLog) DestroyLog->push_back(Timer() ? "timer alive" : "timer gone");
  }
  std::vector<std::string>* DestroyLog = nullptr;
};

}  // namespace

const TClassInfo& TResourceForm::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TResourceForm> b("TResourceForm", &TForm::StaticClass());
    b.Published<TNotifyEvent, &TResourceForm::FormCreate>("FormCreate");
    b.Published<TNotifyEvent, &TResourceForm::FormShow>("FormShow");
    b.Published<TNotifyEvent, &TResourceForm::FormDestroy>("FormDestroy");
    return b.Done();
  }();
  return info;
}

TEST(ApplicationWindow, IsTopLevelOfItsClassTitledOwnsFormsAndShowsOnlyWithThem) {
  Application->SetTitle("Varnel");
  HWND app = Application->Handle();
  EXPECT_EQ(WindowClassName(app), "TApplication");
  char title[64] = {};
  GetWindowTextA(app, title, sizeof title);
  EXPECT_STREQ(title, "Varnel");
  EXPECT_FALSE(IsWindowVisible(app)) << "no form is visible";
  EXPECT_EQ(GetAncestor(app, GA_PARENT), GetDesktopWindow()) << "not a message-only window";

  TForm* f = New<TForm>(Application, TCustomForm::TCreateNew{});
  EXPECT_EQ(GetWindow(f->Handle(), GW_OWNER), app);
  EXPECT_EQ(WindowClassName(f->Handle()), "TForm");
  EXPECT_FALSE(IsWindowVisible(app)) << "a form's window alone does not show it";
  f->Show();
  EXPECT_TRUE(IsWindowVisible(app));
  RECT r;
  GetWindowRect(app, &r);
  EXPECT_TRUE(IsRectEmpty(&r)) << "shown without any area";
  TObject::Free(f);
  EXPECT_FALSE(IsWindowVisible(app)) << "hidden with the last form";
}

TEST(ApplicationWindow, HooksSeeMessagesFirstInOrderAndConsume) {
  struct Hooks {
    std::vector<int> Seen;
    bool First(TMessage& m) {
      if (m.Msg != WM_USER + 77) return false;
      Seen.push_back(1);
      return false;
    }
    bool Second(TMessage& m) {
      if (m.Msg != WM_USER + 77) return false;
      Seen.push_back(2);
      m.Result = 55;
      return true;
    }
  } h;
  auto first = TWindowHook::Of<&Hooks::First>(&h);
  auto second = TWindowHook::Of<&Hooks::Second>(&h);
  Application->HookMainWindow(first);
  Application->HookMainWindow(second);
  EXPECT_EQ(SendMessageA(Application->Handle(), WM_USER + 77, 0, 0), 55);
  EXPECT_EQ(h.Seen, (std::vector<int>{1, 2}));
  Application->UnhookMainWindow(second);
  Application->UnhookMainWindow(first);
  EXPECT_EQ(SendMessageA(Application->Handle(), WM_USER + 77, 0, 0), 0) << "nobody answered";
}

TEST_F(FormTest, ShowGoesVisibleChangedThenShowingChangedThenOnShowThenWindow) {
  TMessageLog log;
  log.Attach(Form);
  struct Recorder {
    TMessageLog* Log;
    int AtShow = -1;
    bool VisibleAtShow = true;
    HWND Wnd;
    void OnShow(TObject*) {
      AtShow = static_cast<int>(Log->Msgs.size());
      VisibleAtShow = IsWindowVisible(Wnd);
    }
  } rec{&log, -1, true, Form->Handle()};
  Form->OnShow = TNotifyEvent::Of<&Recorder::OnShow>(&rec);
  Form->SetVisible(true);
  log.Detach();

  int visible = log.IndexOf(CM_VISIBLECHANGED);
  int showing = log.IndexOf(CM_SHOWINGCHANGED);
  int window = log.IndexOf(WM_SHOWWINDOW);
  ASSERT_GE(visible, 0);
  ASSERT_GT(showing, visible);
  ASSERT_GT(window, showing);
  EXPECT_GT(rec.AtShow, showing) << "OnShow inside CM_SHOWINGCHANGED";
  EXPECT_LE(rec.AtShow, window) << "OnShow before the window shows";
  EXPECT_FALSE(rec.VisibleAtShow);
  EXPECT_TRUE(IsWindowVisible(Form->Handle()));
  EXPECT_TRUE(Form->Showing());
}

TEST_F(FormTest, ToolWindowFrameAndClientSize) {
  Form->SetBorderStyle(bsToolWindow);
  Form->SetClientWidth(506);
  Form->SetClientHeight(429);
  // Before and after the window exists, the client size holds.
  EXPECT_EQ(Form->ClientWidth(), 506);
  EXPECT_EQ(Form->ClientHeight(), 429);
  HWND h = Form->Handle();
  RECT r;
  GetClientRect(h, &r);
  EXPECT_EQ(r.right, 506);
  EXPECT_EQ(r.bottom, 429);
  EXPECT_TRUE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  EXPECT_FALSE(GetWindowLongPtrA(h, GWL_STYLE) & WS_THICKFRAME);
}

TEST(ResourceForm, LoadsDescriptionThenCreateShowDestroyInOrder) {
  std::vector<std::string> destroyLog;
  TResourceForm* f = nullptr;
  Application->CreateForm(f);  // the first form becomes the main form
  ASSERT_NE(f, nullptr);
  f->DestroyLog = &destroyLog;
  EXPECT_EQ(f->Name(), "ResourceForm");
  EXPECT_EQ(f->Caption(), "From the resource");
  EXPECT_EQ(f->BorderStyle(), bsToolWindow);
  EXPECT_EQ(f->ClientWidth(), 200);
  EXPECT_EQ(f->ClientHeight(), 120);
  EXPECT_EQ(f->TimerIntervalAtCreate, 100) << "OnCreate runs after the description is read";
  EXPECT_EQ(f->Events, (std::vector<std::string>{"create"}));
  EXPECT_EQ(Application->MainForm(), f);
  EXPECT_TRUE(f->HandleAllocated()) << "the main form's window exists after CreateForm";

  f->Show();
  EXPECT_EQ(f->Events, (std::vector<std::string>{"create", "show"}));
  EXPECT_FALSE(f->VisibleAtShow);

  TObject::Free(f);
  EXPECT_EQ(destroyLog, (std::vector<std::string>{"timer alive"}))
      << "OnDestroy before children go";
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(FormClose, ReleaseFreesFromTheLoopNotInPlace) {
  struct Watch : TComponent {
    using TComponent::TComponent;
    bool Gone = false;
    void Notification(TComponent* c, TOperation op) override {
      TComponent::Notification(c, op);
      if (op == opRemove && c == Watched) Gone = true;
    }
    TComponent* Watched = nullptr;
  };
  Watch watch(nullptr);
  TForm* f = New<TForm>(Application, TCustomForm::TCreateNew{});
  watch.Watched = f;
  f->FreeNotification(&watch);
  struct Closer {
    void OnClose(TObject*, TCloseAction& a) { a = caFree; }
  } closer;
  f->OnClose = TCloseEvent::Of<&Closer::OnClose>(&closer);
  f->Show();
  f->Close();
  EXPECT_FALSE(watch.Gone) << "the form is still usable after Close";
  EXPECT_TRUE(PumpUntil([&] { return watch.Gone; }));
}

TEST(FormClose, CaHideHidesAndCloseQueryCanRefuse) {
  TForm* f = New<TForm>(Application, TCustomForm::TCreateNew{});
  f->Show();
  struct Query {
    bool Allow = false;
    void OnCloseQuery(TObject*, bool& can) { can = Allow; }
  } q;
  f->OnCloseQuery = TCloseQueryEvent::Of<&Query::OnCloseQuery>(&q);
  f->Close();
  EXPECT_TRUE(f->Visible());
  q.Allow = true;
  f->Close();
  EXPECT_FALSE(f->Visible());
  EXPECT_FALSE(IsWindowVisible(f->Handle()));
  TObject::Free(f);
}

TEST(FormClose, ClosingTheMainFormEndsTheApplication) {
  TResourceForm* f = nullptr;
  Application->CreateForm(f);
  ASSERT_EQ(Application->MainForm(), f);
  f->Show();
  f->Close();
  MSG msg;
  // Terminate posts WM_QUIT; taken here so the tests' loop goes on.
  EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_TRUE(f->Visible()) << "the form stays until the application frees it";
  TObject::Free(f);
}

TEST(Manifest, SelectsCommonControls6AndDeclaresWindowsVistaTo10) {
  // What the loader made of the manifest: the process's default activation
  // context (the null handle) lists the systems it declares. The record's
  // layout differs between system versions, so each system's identifier is
  // looked for in it, followed by its kind.
  std::vector<char> info(4096);
  SIZE_T size = 0;
  ASSERT_TRUE(QueryActCtxW(0, nullptr, nullptr, CompatibilityInformationInActivationContext,
                           info.data(), info.size(), &size));
  info.resize(size);
  const struct {
    const char* System;
    const wchar_t* Id;
  } systems[] = {{"Vista", L"{e2011457-1546-43c5-a5fe-008deee3d3f0}"},
                 {"7", L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
                 {"8", L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
                 {"8.1", L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
                 {"10", L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}};
  for (const auto& s : systems) {
    GUID id{};
    ASSERT_EQ(CLSIDFromString(s.Id, &id), S_OK);
    auto at = std::search(info.begin(), info.end(), reinterpret_cast<const char*>(&id),
                          reinterpret_cast<const char*>(&id) + sizeof id);
    ASSERT_LE(at + sizeof id + sizeof(DWORD), info.end()) << "Windows " << s.System;
    DWORD kind = 0;
    std::memcpy(&kind, &*(at + sizeof id), sizeof kind);
    EXPECT_EQ(kind, DWORD(ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)) << "Windows " << s.System;
  }
  // The process's activation context gives the version 6 controls: the
  // library comes from the side-by-side assembly (Wine's reports 5.81).
  TOwnedModule comctl(LoadLibraryA("comctl32.dll"));
  ASSERT_TRUE(comctl);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(comctl.Get(), path, sizeof path);
  EXPECT_NE(LowerCase(path).find("common-controls_6595b64144ccf1df_6."), std::string::npos) << path;
}
