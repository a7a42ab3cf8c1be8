// The application hook and the skinned main form: which of the exit,
// minimize and restore branches run, what the provider is asked to do, who
// minimizes or restores the application, the task bar's system menu and
// the iconic-preview answers. Desktop composition is injected both ways.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "skin/engine/common_data.h"
#include "skin/engine/main_form_hook.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/vl_utils.h"
#include "skin/engine/window_animations.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/glow_form.h"
#include "skin/foundation/skin_commands.h"
#include "tests/skin_manager/skin_files.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/exceptions.h"

namespace {

std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}

std::string Joined(const std::vector<std::string>& Items) {
  std::string s;
  for (const std::string& i : Items) s += (s.empty() ? "" : ", ") + i;
  return s;
}

// Logs what the hook asks of the provider; the animations start or not as
// told.
class TRecordingProvider : public TsSkinProvider {
 public:
  using TsSkinProvider::TsSkinProvider;
  bool Starts = false;
  // A minimize that did not start but left its running flag behind.
  bool LeavesMinimizing = false;

  bool StartMinimizeAnimation() override {
    Calls().push_back("minimize");
    if (LeavesMinimizing) SetStateFlags(StateFlags() | psMinimizing);
    return Starts;
  }
  bool StartRestoreAnimation() override {
    Calls().push_back("restore");
    return Starts;
  }
  void ShowSysMenu(int X, int Y) override {
    Calls().push_back("menu " + std::to_string(X) + "," + std::to_string(Y));
  }
  void FreeBorderWindow() override { Calls().push_back("free border"); }
  void UpdateBorderRegion() override { Calls().push_back("border region"); }
};

enum class TProviderQuery { Answer, Silent, Raise };

class THookForm : public TForm {
 public:
  explicit THookForm(TComponent* AOwner) : TForm(AOwner, TCreateNew{}) {}

  // Put in front of the provider: the provider query is left unanswered,
  // or raises.
  void InterceptProviderQuery(TProviderQuery How) {
    if (How == TProviderQuery::Answer) {
      if (saved_) WindowProc = saved_;
      saved_ = nullptr;
      return;
    }
    how_ = How;
    if (!saved_) {
      saved_ = WindowProc;
      WindowProc = TWndMethod::Of<&THookForm::Intercept>(this);
    }
  }

 private:
  void Intercept(TMessage& Message) {
    if (Message.Msg == SkinCommandMessage && SkinCmdCode(Message.WParam) == SkinCmdGetProvider) {
      if (how_ == TProviderQuery::Raise) throw Exception("the form cannot answer");
      Message.Result = 0;
      return;
    }
    saved_(Message);
  }
  TWndMethod saved_;
  TProviderQuery how_ = TProviderQuery::Answer;
};

bool composition = false;
bool InjectedComposition() {
  return composition;
}

class MainFormHookTest : public testing::Test {
 protected:
  void SetUp() override {
    previousBoxes_ = SetMessageBoxSink(&boxes_);
    SetDwmCompositionQuery(&InjectedComposition);
    composition = false;
    systemAnimation_ = GetMinAnimate();
    // The first manager is the default one and hooks the application
    // window. Extended borders go on before the skin counts as loaded, so
    // nothing is reloaded.
    manager_ = New<TsSkinManager>(nullptr);
    ASSERT_EQ(DefaultManager, manager_);
    manager_->SetExtendedBorders(true);
    manager_->CommonSkinData->Loaded = true;
    manager_->AnimEffects()->Minimizing()->SetActive(true);
    manager_->Effects()->SetAllowAnimation(true);
    Application->CreateForm(form_);
    ASSERT_EQ(Application->MainForm(), form_);
    form_->SetBounds(80, 80, 220, 140);
    form_->Show();
    NewProvider();
    Application->OnMinimize = TNotifyEvent::Of<&MainFormHookTest::AppMinimized>(this);
    Application->OnRestore = TNotifyEvent::Of<&MainFormHookTest::AppRestored>(this);
    Calls().clear();
  }
  void TearDown() override {
    Application->OnMinimize = nullptr;
    Application->OnRestore = nullptr;
    RestoreUnhooked();
    manager_->CommonSkinData->Loaded = false;
    TObject::Free(form_);
    TObject::Free(manager_);
    SetDwmCompositionQuery(nullptr);
    SetMinAnimate(systemAnimation_);
    UseIconicPreviews = false;
    SetMessageBoxSink(previousBoxes_);
  }

  void NewProvider() {
    provider_ = New<TRecordingProvider>(form_);
    provider_->DrawNonClientArea = true;
  }
  void FreeProvider() {
    TObject::Free(provider_);
    provider_ = nullptr;
  }
  HWND App() { return Application->Handle(); }
  bool Hook(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) {
    TMessage m{Msg, WParam, LParam, 0};
    return manager_->MainWindowHook(m);
  }
  // Minimizes or restores the application with the hook standing aside.
  void MinimizeUnhooked() {
    manager_->CommonSkinData->Loaded = false;
    Application->Minimize();
    manager_->CommonSkinData->Loaded = true;
  }
  void RestoreUnhooked() {
    if (!IsIconic(App())) return;
    manager_->CommonSkinData->Loaded = false;
    Application->Restore();
    manager_->CommonSkinData->Loaded = true;
  }
  void AppMinimized(TObject*) {
    Calls().push_back(std::string("application minimized") +
                      (GetMinAnimate() ? " with" : " without") + " system animation");
  }
  void AppRestored(TObject*) {
    Calls().push_back(std::string("application restored") +
                      (GetMinAnimate() ? " with" : " without") + " system animation");
  }

  TBoxLog boxes_;
  TsSkinManager* manager_ = nullptr;
  THookForm* form_ = nullptr;
  TRecordingProvider* provider_ = nullptr;

 private:
  TMessageBoxSink* previousBoxes_ = nullptr;
  bool systemAnimation_ = false;
};

// ---- Minimize ------------------------------------------------------------------------

TEST_F(MainFormHookTest, MinimizeAsksTheProviderAndMinimizesItselfOnlyWithoutComposition) {
  // The system's animation is switched on where the platform lets it be, to
  // see the hook's own minimize switch it off around itself.
  SetMinAnimate(true);
  const struct {
    const char* name;
    bool minimizing, allow, nonClient, composition, starts, leavesFlag;
    bool handled;
    std::string calls;
  } cases[] = {
      {"minimizing animation off", false, true, true, false, true, false, false, "free border"},
      {"animations not allowed", true, false, true, false, true, false, false, "free border"},
      {"frame not painted", true, true, false, false, true, false, false, ""},
      {"starts, composition", true, true, true, true, true, false, false, "minimize"},
      {"starts, no composition", true, true, true, false, true, false, true,
       "minimize, application minimized without system animation"},
      {"fails, composition", true, true, true, true, false, false, false, "minimize, free border"},
      {"fails, no composition", true, true, true, false, false, false, true,
       "minimize, application minimized without system animation, free border"},
      {"fails but minimizing", true, true, true, true, false, true, false, "minimize"},
  };
  const bool systemOn = GetMinAnimate();
  for (const auto& c : cases) {
    RestoreUnhooked();
    provider_->SetStateFlags(0);
    provider_->ExitAnimationDone = false;
    manager_->AnimEffects()->Minimizing()->SetActive(c.minimizing);
    manager_->Effects()->SetAllowAnimation(c.allow);
    provider_->DrawNonClientArea = c.nonClient;
    provider_->Starts = c.starts;
    provider_->LeavesMinimizing = c.leavesFlag;
    composition = c.composition;
    manager_->LastSysCommand = 0;
    Calls().clear();
    EXPECT_EQ(Hook(WM_SYSCOMMAND, SC_MINIMIZE), c.handled) << c.name;
    EXPECT_EQ(Joined(Calls()), c.calls) << c.name;
    // Not handled, the application window would minimize itself.
    EXPECT_EQ(IsIconic(App()) != FALSE, c.handled) << c.name;
    EXPECT_EQ(manager_->LastSysCommand, 2) << c.name;
    EXPECT_EQ(provider_->ExitAnimationDone, c.minimizing && c.allow && c.nonClient) << c.name;
    EXPECT_EQ(GetMinAnimate(), systemOn) << c.name << ": the system's setting is put back";
  }
}

TEST_F(MainFormHookTest, MinimizeIsLeftAloneWithoutSkinShownFormOrProvider) {
  const struct {
    const char* name;
    std::function<void()> make, undo;
  } cases[] = {
      {"no skin loaded", [&] { manager_->CommonSkinData->Loaded = false; },
       [&] { manager_->CommonSkinData->Loaded = true; }},
      {"application iconic", [&] { MinimizeUnhooked(); }, [&] { RestoreUnhooked(); }},
      {"main form hidden", [&] { form_->Hide(); }, [&] { form_->Show(); }},
      {"no provider", [&] { FreeProvider(); }, [&] { NewProvider(); }},
      {"provider query unanswered", [&] { form_->InterceptProviderQuery(TProviderQuery::Silent); },
       [&] { form_->InterceptProviderQuery(TProviderQuery::Answer); }},
  };
  for (const auto& c : cases) {
    c.make();
    Calls().clear();
    manager_->LastSysCommand = 7;
    const bool wasIconic = IsIconic(App());
    EXPECT_FALSE(Hook(WM_SYSCOMMAND, SC_MINIMIZE)) << c.name;
    EXPECT_EQ(Joined(Calls()), "") << c.name;
    EXPECT_EQ(IsIconic(App()) != FALSE, wasIconic) << c.name;
    EXPECT_EQ(manager_->LastSysCommand, c.name == std::string("no skin loaded") ? 7 : 2) << c.name;
    c.undo();
  }
}

// Other commands are noted as 0 and go on to the application window.
TEST_F(MainFormHookTest, CloseIsNotedAndGoesOn) {
  manager_->LastSysCommand = 2;
  EXPECT_FALSE(Hook(WM_SYSCOMMAND, SC_CLOSE));
  EXPECT_EQ(manager_->LastSysCommand, 0);
  EXPECT_EQ(Joined(Calls()), "");
  EXPECT_FALSE(IsIconic(App()));
}

// The main form's minimize and restore reach the application window and so
// the hook, which then changes the application's state without sending
// itself into a loop.
TEST_F(MainFormHookTest, TheMainFormsMinimizeAndRestoreReachTheHookOnce) {
  provider_->Starts = false;
  SendMessageA(form_->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(App()));
  ASSERT_FALSE(Calls().empty());
  EXPECT_EQ(Calls().front(), "minimize");
  int minimized = 0;
  for (const std::string& c : Calls()) minimized += c.starts_with("application minimized");
  EXPECT_EQ(minimized, 1);

  // Its restore while the application is minimized goes the same way.
  Calls().clear();
  SendMessageA(form_->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(App()));
  EXPECT_EQ(manager_->LastSysCommand, 1);
  EXPECT_TRUE(IsWindowVisible(form_->Handle()));
  ASSERT_FALSE(Calls().empty());
  EXPECT_EQ(Calls().front(), "restore");
  int restored = 0;
  for (const std::string& c : Calls()) restored += c.starts_with("application restored");
  EXPECT_EQ(restored, 1);
}

// ---- Restore -------------------------------------------------------------------------

TEST_F(MainFormHookTest, RestoreBranches) {
  SetMinAnimate(true);
  const std::string plain = std::string("application restored ") +
                            (GetMinAnimate() ? "with" : "without") + " system animation";
  const struct {
    const char* name;
    bool hidePrepared, minimizing, nonClient, composition, starts, snapshot;
    bool handled;
    std::string calls;
  } cases[] = {
      // The exit animation took the form's picture: the hook brings the
      // application back itself.
      {"after the exit, composition", true, true, true, true, false, false, true,
       "application restored without system animation"},
      {"after the exit, no composition", true, true, true, false, false, false, true,
       "application restored without system animation"},
      {"frame not painted", false, true, false, true, false, false, false, ""},
      {"starts, composition", false, true, true, true, true, false, false, "restore"},
      {"starts, no composition", false, true, true, false, true, false, true,
       "restore, application restored without system animation"},
      {"fails with snapshot, composition", false, true, true, true, false, true, false, "restore"},
      {"fails without snapshot, no composition", false, true, true, false, false, false, true,
       "restore, application restored without system animation"},
      {"no minimizing animation, composition", false, false, true, true, false, false, true, plain},
      {"no minimizing animation, no composition", false, false, true, false, false, false, false,
       ""},
  };
  for (const auto& c : cases) {
    MinimizeUnhooked();
    ASSERT_TRUE(IsIconic(App())) << c.name;
    HWND h = form_->Handle();
    SetWindowLongPtrA(h, GWL_EXSTYLE, GetWindowLongPtrA(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    provider_->PaintNonClientImage();
    provider_->SetStateFlags(c.hidePrepared ? psHideImagePrepared : 0);
    manager_->AnimEffects()->Minimizing()->SetActive(c.minimizing);
    provider_->DrawNonClientArea = c.nonClient;
    provider_->Starts = c.starts;
    composition = c.composition;
    HWND snapshot = nullptr;
    if (c.snapshot) {
      provider_->MinimizeSnapshot = New<TvlGlowForm>(nullptr);
      provider_->MinimizeSnapshot->SetBounds(80, 80, 220, 140);
      snapshot = provider_->MinimizeSnapshot->Handle();
    }
    Calls().clear();
    manager_->LastSysCommand = 0;

    EXPECT_EQ(Hook(WM_SYSCOMMAND, SC_RESTORE), c.handled) << c.name;
    EXPECT_EQ(Joined(Calls()), c.calls) << c.name;
    EXPECT_EQ(manager_->LastSysCommand, 1) << c.name;
    EXPECT_EQ(IsIconic(App()) == FALSE, c.handled) << c.name;
    EXPECT_EQ(provider_->StateFlags() & psHideImagePrepared, 0u) << c.name;
    // The picture of the exit is outdated: the frame is composed anew.
    EXPECT_EQ(provider_->SkinData->CacheBitmap == nullptr, c.hidePrepared) << c.name;
    const bool layered = GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_LAYERED;
    EXPECT_EQ(layered, !(c.hidePrepared && c.composition)) << c.name;
    if (c.snapshot) {
      EXPECT_EQ(provider_->MinimizeSnapshot, nullptr) << c.name;
      EXPECT_FALSE(IsWindow(snapshot)) << c.name;
    }
    if (c.handled) {
      EXPECT_TRUE(IsWindowVisible(h)) << c.name;
    }
    SetWindowLongPtrA(h, GWL_EXSTYLE, GetWindowLongPtrA(h, GWL_EXSTYLE) & ~LONG_PTR{WS_EX_LAYERED});
    RestoreUnhooked();
  }
}

TEST_F(MainFormHookTest, RestoreIsLeftAloneWithoutShowingFormOrProvider) {
  MinimizeUnhooked();
  provider_->SetStateFlags(psHideImagePrepared);
  composition = true;
  form_->Hide();  // no longer showing
  Calls().clear();
  EXPECT_FALSE(Hook(WM_SYSCOMMAND, SC_RESTORE));
  EXPECT_EQ(provider_->StateFlags(), psHideImagePrepared);
  form_->Show();
  MinimizeUnhooked();
  form_->InterceptProviderQuery(TProviderQuery::Silent);
  Calls().clear();
  EXPECT_FALSE(Hook(WM_SYSCOMMAND, SC_RESTORE));
  EXPECT_EQ(provider_->StateFlags(), psHideImagePrepared);
  EXPECT_TRUE(IsIconic(App()));
  EXPECT_EQ(Joined(Calls()), "");
  form_->InterceptProviderQuery(TProviderQuery::Answer);
}

// ---- Exit --------------------------------------------------------------------------------

class ExitAnimationTest : public MainFormHookTest {
 protected:
  void AfterAnimation(TvlAnimEvent Event) { events_.push_back(Event); }
  // The hide notice the application window gets, sent by hand.
  void SendHidden(UINT Flags = SWP_HIDEWINDOW) {
    WINDOWPOS pos{App(), nullptr, 0, 0, 0, 0, Flags | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER};
    SendMessageA(App(), WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  }
  // Runs in a child process, since an application that terminated stays
  // so; reports each failed expectation on stderr.
  void RunGate();

  std::vector<TvlAnimEvent> events_;
  std::string failures_;

  void Check(bool Ok, const std::string& What) {
    if (!Ok) failures_ += What + "\n";
  }
};

void ExitAnimationTest::RunGate() {
  TvlFormHide* hide = manager_->AnimEffects()->FormHide();
  hide->SetActive(true);
  hide->SetTime(30);
  hide->SetMode(atFading);
  provider_->PaintNonClientImage();
  provider_->OnAfterAnimation = TvlAfterAnimation::Of<&ExitAnimationTest::AfterAnimation>(this);

  auto nothing = [&](const std::string& Name, UINT Flags = SWP_HIDEWINDOW) {
    events_.clear();
    Calls().clear();
    SendHidden(Flags);
    Check(events_.empty(), Name + ": animated");
    Check(Calls().empty(), Name + ": asked the provider " + Joined(Calls()));
    Check(!provider_->ExitAnimationDone, Name + ": marked");
    Check(!(provider_->StateFlags() & psHideImagePrepared), Name + ": flagged");
  };
  nothing("application running");

  // A dialog's hide still running goes on undisturbed by the exit.
  AnimateWindowHide(New<TvlGlowForm>(nullptr), NewArgbBitmap(20, 20), 10000, 255, atFading,
                    nullptr);
  TvlHideTimer* earlier = HideTimer();
  Check(earlier && earlier->Carrier, "the earlier hide did not start");

  PostQuitMessage(0);
  Application->ProcessMessages();
  Check(Application->Terminated(), "not terminated");

  const struct {
    const char* name;
    std::function<void()> make, undo;
  } blocks[] = {
      {"form hide off", [&] { hide->SetActive(false); }, [&] { hide->SetActive(true); }},
      {"no animations", [&] { manager_->Effects()->SetAllowAnimation(false); },
       [&] { manager_->Effects()->SetAllowAnimation(true); }},
      {"no time", [&] { hide->SetTime(0); }, [&] { hide->SetTime(30); }},
      {"application iconic", [&] { ShowWindow(App(), SW_SHOWMINNOACTIVE); },
       [&] { ShowWindow(App(), SW_SHOWNOACTIVATE); }},
      {"main form invisible", [&] { form_->Hide(); }, [&] { form_->Show(); }},
      {"no provider answers", [&] { form_->InterceptProviderQuery(TProviderQuery::Silent); },
       [&] { form_->InterceptProviderQuery(TProviderQuery::Answer); }},
      {"frame not painted", [&] { provider_->DrawNonClientArea = false; },
       [&] { provider_->DrawNonClientArea = true; }},
      {"provider's animation off", [&] { provider_->AllowAnimation = false; },
       [&] { provider_->AllowAnimation = true; }},
  };
  for (const auto& b : blocks) {
    b.make();
    nothing(b.name);
    b.undo();
  }
  nothing("shown, not hidden", SWP_SHOWWINDOW);

  composition = true;
  events_.clear();
  Calls().clear();
  if (IsWindowVisible(App()))
    ShowWindow(App(), SW_HIDE);
  else
    SendHidden();
  // Returned only after the fade ended.
  Check(events_ == std::vector<TvlAnimEvent>{aeHiding}, "no complete hide");
  Check(provider_->ExitAnimationDone, "not marked");
  Check(provider_->StateFlags() & psHideImagePrepared, "not flagged");
  Check(Joined(Calls()) == "border region", "asked " + Joined(Calls()));
  Check(HideTimer() != earlier && earlier->Carrier, "the earlier hide was cut short");
  Check(!(GetWindowLongPtrA(form_->Handle(), GWL_STYLE) & WS_VISIBLE), "the form still shows");

  // Once only.
  events_.clear();
  SendHidden();
  Check(events_.empty(), "animated twice");

  std::fputs(failures_.c_str(), stderr);
  std::exit(failures_.empty() ? 0 : 1);
}

TEST_F(ExitAnimationTest, FadesTheMainFormOnceWhenEverythingAllowsIt) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(RunGate(), testing::ExitedWithCode(0), "");
}

// ---- The task bar ----------------------------------------------------------------------

TEST_F(MainFormHookTest, TaskbarMenuShowsAtTheCursorAndAFailingQueryMeansNoProvider) {
  POINT cursor{};
  GetCursorPos(&cursor);
  const std::string atCursor = "menu " + std::to_string(cursor.x) + "," + std::to_string(cursor.y);
  // Through the application window, as the task bar sends it.
  SendMessageA(App(), 0x313, 0, 0);
  EXPECT_EQ(Joined(Calls()), atCursor);

  const struct {
    TProviderQuery query;
    const char* name;
  } cases[] = {{TProviderQuery::Silent, "no provider"}, {TProviderQuery::Raise, "raising query"}};
  for (const auto& c : cases) {
    form_->InterceptProviderQuery(c.query);
    Calls().clear();
    EXPECT_TRUE(Hook(0x313)) << c.name;
    EXPECT_EQ(Joined(Calls()), "") << c.name;
    form_->InterceptProviderQuery(TProviderQuery::Answer);
  }
  // Nothing escaped to be reported.
  EXPECT_TRUE(boxes_.Texts.empty());
}

TEST_F(MainFormHookTest, IconicRequestsAreAnsweredOnlyWithTheOption) {
  const LPARAM size = MAKELPARAM(120, 200);  // height 120, width 200
  TMessage thumb{WM_DWMSENDICONICTHUMBNAIL, 0, size, 77};
  EXPECT_FALSE(manager_->MainWindowHook(thumb));
  TMessage peek{WM_DWMSENDICONICLIVEPREVIEWBITMAP, 0, 0, 77};
  EXPECT_FALSE(manager_->MainWindowHook(peek));

  UseIconicPreviews = true;
  // Answered, though the form skinning is not here to compose the picture.
  EXPECT_TRUE(manager_->MainWindowHook(thumb));
  EXPECT_EQ(thumb.Result, 0);
  EXPECT_TRUE(manager_->MainWindowHook(peek));
  EXPECT_EQ(peek.Result, 0);
  TMessage empty{WM_DWMSENDICONICTHUMBNAIL, 0, MAKELPARAM(120, 0), 77};
  EXPECT_TRUE(manager_->MainWindowHook(empty));
  EXPECT_EQ(empty.Result, 77);
  form_->InterceptProviderQuery(TProviderQuery::Silent);
  EXPECT_FALSE(Hook(WM_DWMSENDICONICTHUMBNAIL, 0, size));
  form_->InterceptProviderQuery(TProviderQuery::Answer);
}

}  // namespace
