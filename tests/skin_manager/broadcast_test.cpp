// The walks that deliver a skin command to the application's forms and the
// order of a skin change: freeze, notify, repaint, unfreeze.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_form.h"
#include "skin/engine/common_data.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/services_menus.h"
#include "skin/engine/skin_manager.h"

namespace {

class BroadcastTest : public SkinnedFormsFixture {
 protected:
  void SetUp() override {
    SkinnedFormsFixture::SetUp();
    M = New<TsSkinManager>(nullptr);
    M2 = New<TsSkinManager>(nullptr);
    ASSERT_EQ(DefaultManager, M);
    GlobalAnimationActive = false;
  }
  void TearDown() override {
    SkinnedFormsFixture::TearDown();
    TObject::Free(M2);
    TObject::Free(M);
    GlobalAnimationActive = false;
  }
  TsSkinManager* M = nullptr;
  TsSkinManager* M2 = nullptr;
};

// The deliveries of one command to forms, in order.
std::vector<std::string> Deliveries(std::initializer_list<const char*> Forms, int Code) {
  std::vector<std::string> r;
  for (const char* f : Forms) r.push_back(std::string(f) + ":" + std::to_string(Code));
  return r;
}
std::vector<std::string> Redraws(std::initializer_list<const char*> Forms, int On) {
  std::vector<std::string> r;
  for (const char* f : Forms) r.push_back(std::string(f) + ":redraw" + std::to_string(On));
  return r;
}
std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> Parts) {
  std::vector<std::string> r;
  for (const auto& p : Parts) r.insert(r.end(), p.begin(), p.end());
  return r;
}

void CollectProvider(TsSkinProvider* Provider, intptr_t Data) {
  reinterpret_cast<std::vector<TsSkinProvider*>*>(Data)->push_back(Provider);
}

TEST_F(BroadcastTest, ForEachSkinnedFormTakesShownTopLevelFormsOfItsManagerInRegistryOrder) {
  TRecordingForm* first = Form("First", true);
  TRecordingForm* minimized = Form("Minimized", true);
  ShowWindow(minimized->Handle(), SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(IsIconic(minimized->Handle()));
  Form("Hidden", true, TFormWindow::Hidden);
  TRecordingForm* noWindow = Form("NoWindow", true, TFormWindow::None);
  TRecordingForm* mdi = Form("Mdi", true);
  SetWindowLongPtrA(mdi->Handle(), GWL_EXSTYLE,
                    GetWindowLongPtrA(mdi->Handle(), GWL_EXSTYLE) | WS_EX_MDICHILD);
  ASSERT_NE(GetWindowLongPtrA(mdi->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD, 0);
  TRecordingForm* child = Form("Child", true);
  child->SetParent(first);
  child->HandleNeeded();
  TRecordingForm* other = Form("Other", true);
  ProviderOf(other)->SkinData->SetSkinManager(M2);
  TRecordingForm* unprovided = Form("Unprovided", false);
  RegisterSkinnedForm(unprovided);
  TComponent notAForm(nullptr);
  RegisterSkinnedForm(&notAForm);
  TRecordingForm* last = Form("Last", true);
  ASSERT_EQ(SkinnedFormsRegistry.size(), 10u);

  std::vector<TsSkinProvider*> seen;
  ForEachSkinnedForm(M, CollectProvider, reinterpret_cast<intptr_t>(&seen));
  EXPECT_EQ(seen, (std::vector<TsSkinProvider*>{ProviderOf(first), ProviderOf(last)}));
  EXPECT_FALSE(noWindow->HandleAllocated());  // no window is made to ask it

  seen.clear();
  ForEachSkinnedForm(M2, CollectProvider, reinterpret_cast<intptr_t>(&seen));
  EXPECT_EQ(seen, (std::vector<TsSkinProvider*>{ProviderOf(other)}));
  UnregisterSkinnedForm(&notAForm);
}

TEST_F(BroadcastTest, BroadcastToFormsReachesEachFormByOneWalkOrBoth) {
  Form("Registered", true);
  Form("Unskinned", false);
  Form("SelfSkinned", true)->SelfSkinned = true;
  TRecordingForm* mdi = Form("MdiChild", false);
  SetWindowLongPtrA(mdi->Handle(), GWL_EXSTYLE,
                    GetWindowLongPtrA(mdi->Handle(), GWL_EXSTYLE) | WS_EX_MDICHILD);
  TRecordingForm* loading = Form("Loading", false);
  loading->SetState(csLoading);
  TRecordingForm* noWindow = Form("NoWindow", false, TFormWindow::None);

  TMessage m{SkinCommandMessage, SkinCmdParam(SkinCmdRefresh), 0, 0};
  BroadcastToForms(m);
  loading->ClearState(csLoading);
  // The application's forms from the last down, then the registry in order;
  // a form whose provider carries its skin state is left to the registry.
  EXPECT_EQ(FormLog(), (std::vector<std::string>{"Unskinned:3", "Registered:3", "SelfSkinned:3"}));
  EXPECT_FALSE(noWindow->HandleAllocated());
}

TRecordingForm* doomed[2];
void FreeDoomed(TRecordingForm*, uint16_t) {
  for (TRecordingForm*& f : doomed) {
    TObject::Free(f);
    f = nullptr;
  }
}

TEST_F(BroadcastTest, BroadcastToFormsEndsItsWalkWhenFormsVanishButStillReachesTheRegistry) {
  Form("Registered", true);
  doomed[0] = MakeRecordingForm("A", false);
  doomed[1] = MakeRecordingForm("B", false);
  Form("Last", false)->OnCommand = FreeDoomed;

  TMessage m{SkinCommandMessage, SkinCmdParam(SkinCmdRefresh), 0, 0};
  BroadcastToForms(m);
  EXPECT_EQ(FormLog(), (std::vector<std::string>{"Last:3", "Registered:3"}));
  EXPECT_EQ(doomed[0], nullptr);
}

LRESULT CALLBACK DialogProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == SkinCommandMessage) {
    char name[32] = {};
    GetWindowTextA(Wnd, name, sizeof name);
    FormLog().push_back(std::string(name) + ":" + std::to_string(SkinCmdCode(WParam)));
    return 0;
  }
  return DefWindowProcA(Wnd, Msg, WParam, LParam);
}

TEST_F(BroadcastTest, SkinnedFormsWalkSkipsDyingFormsAndReachesVisibleDialogs) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DialogProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SkinnedFormsTestDialog";
  RegisterClassA(&wc);
  auto dialog = [&](const char* Name, DWORD Visible) {
    return CreateWindowExA(0, wc.lpszClassName, Name, WS_POPUP | Visible, 0, 0, 50, 50, nullptr,
                           nullptr, wc.hInstance, nullptr);
  };
  HWND shown = dialog("Shown", WS_VISIBLE);
  HWND hidden = dialog("HiddenDialog", 0);
  ASSERT_TRUE(shown && hidden);

  auto saved = std::move(DialogAdapterList);
  DialogAdapterList = std::make_unique<TvlProviderList>();
  for (HWND w : {hidden, static_cast<HWND>(nullptr), shown}) {
    DialogAdapterList->push_back(std::make_unique<TvlProvider>());
    if (w) DialogAdapterList->back()->DialogAdapter = std::make_unique<TvlDialogWnd>(w);
  }
  Form("A", true);
  TRecordingForm* dying = Form("Dying", true);
  dying->SetState(csDestroying);
  Form("B", true, TFormWindow::Hidden);

  TMessage m{SkinCommandMessage, SkinCmdParam(SkinCmdRefresh), 0, 0};
  BroadcastToSkinnedForms(m);
  dying->ClearState(csDestroying);
  EXPECT_EQ(FormLog(), (std::vector<std::string>{"A:3", "B:3", "Shown:3"}));

  DialogAdapterList = std::move(saved);
  DestroyWindow(shown);
  DestroyWindow(hidden);
}

TEST_F(BroadcastTest, NothingChangesWhileTheApplicationIsIconic) {
  TRecordingForm* a = Form("A", true);
  HWND app = Application->Handle();
  ShowWindow(app, SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(IsIconic(app));

  for (bool before : {false, true}) {
    GlobalAnimationActive = before;
    BeforeSkinChange(M);
    FreezeSkinnedForms(M);
    AfterSkinChange(M, true);
    AfterSkinChange(M, false);
    EXPECT_EQ(GlobalAnimationActive, before);
  }
  EXPECT_TRUE(FormLog().empty());
  EXPECT_EQ(ProviderOf(a)->StateFlags(), 0u);
  EXPECT_FALSE(ProviderOf(a)->InSkinChange);

  ShowWindow(app, SW_RESTORE);
  ShowWindow(app, SW_HIDE);
  EXPECT_FALSE(IsIconic(app));
}

struct TSeen {
  bool Animating, Broadcasting, Loaded;
  bool operator==(const TSeen&) const = default;
};
std::vector<TSeen> seenByA;
void NoteStateOfA(TRecordingForm*, uint16_t Code) {
  if (Code == SkinCmdNewSkin || Code == SkinCmdRefresh)
    seenByA.push_back(
        {GlobalAnimationActive, NewSkinBroadcastActive, DefaultManager->CommonSkinData->Loaded});
}

TEST_F(BroadcastTest, NewSkinFreezesNotifiesRepaintsThenUnfreezesInRegistryOrder) {
  TRecordingForm* a = Form("A", true);
  TRecordingForm* b = Form("B", true);
  Form("U", false);
  Form("H", true, TFormWindow::Hidden);
  TRecordingForm* min = Form("Min", true);
  ShowWindow(min->Handle(), SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(M->AnimEffects()->SkinChanging()->Active());
  a->OnCommand = NoteStateOfA;
  seenByA.clear();

  BroadcastNewSkin(M, true);
  // Each command goes down the unskinned application forms, then along the
  // registry: each form once.
  auto walk = [](int Code) { return Deliveries({"U", "A", "B", "H", "Min"}, Code); };
  // Unfrozen, then each form's skin-change transition turns its redraw on
  // again as it ends.
  EXPECT_EQ(FormLog(),
            Concat({Redraws({"A", "B"}, 0), walk(SkinCmdNewSkin), walk(SkinCmdStopAnimation),
                    walk(SkinCmdRefresh), Redraws({"A", "B"}, 1), Redraws({"A"}, 1),
                    Redraws({"B"}, 1)}));
  // Frozen and animating through the notices; the new skin counts as
  // loaded only once every form has heard of it.
  EXPECT_EQ(seenByA, (std::vector<TSeen>{{true, true, false}, {true, false, true}}));
  EXPECT_EQ(a->LastLParam[SkinCmdNewSkin], reinterpret_cast<LPARAM>(M));
  EXPECT_EQ(a->LastLParam[SkinCmdRefresh], reinterpret_cast<LPARAM>(M));
  EXPECT_EQ(a->LastLParam[SkinCmdStopAnimation], 0);
  EXPECT_FALSE(GlobalAnimationActive);
  EXPECT_FALSE(NewSkinBroadcastActive);
  EXPECT_TRUE(M->CommonSkinData->Loaded);
  EXPECT_EQ(M->Menus->SkinBorderWidth, -1);
  EXPECT_TRUE(M->DialogHookInstalled);
  for (TRecordingForm* f : {a, b}) {
    EXPECT_EQ(ProviderOf(f)->StateFlags(), 0u) << f->Name();
    EXPECT_FALSE(ProviderOf(f)->InSkinChange) << f->Name();
    EXPECT_TRUE(IsWindowVisible(f->Handle())) << f->Name();
  }
  EXPECT_FALSE(ProviderOf(min)->InSkinChange);
}

TEST_F(BroadcastTest, RepaintUnderUpdateLockRedrawsWithoutTransition) {
  TRecordingForm* a = Form("A", true);
  Form("B", true);
  M->UpdateLock = true;
  BroadcastRepaint(M, true);
  M->UpdateLock = false;
  auto walk = [](int Code) { return Deliveries({"A", "B"}, Code); };
  // Unfrozen, then redraw switched on once more by the finish step.
  EXPECT_EQ(FormLog(),
            Concat({walk(SkinCmdStopAnimation), Redraws({"A", "B"}, 0), walk(SkinCmdRefresh),
                    Redraws({"A", "B"}, 1), Redraws({"A", "B"}, 1)}));
  EXPECT_EQ(ProviderOf(a)->StateFlags(), 0u);
  EXPECT_FALSE(GlobalAnimationActive);
}

TEST_F(BroadcastTest, LoadingManagerBroadcastsNoNewSkinAndRepaintsWithoutFreezing) {
  Form("A", true);
  M->SetState(csLoading);
  BroadcastNewSkin(M, true);
  EXPECT_TRUE(FormLog().empty());
  EXPECT_FALSE(M->CommonSkinData->Loaded);
  BroadcastRepaint(M, true);
  M->ClearState(csLoading);
  EXPECT_EQ(FormLog(),
            Concat({Deliveries({"A"}, SkinCmdStopAnimation), Deliveries({"A"}, SkinCmdRefresh)}));
}

bool removingSeen = false;
void NoteRemoving(TRecordingForm*, uint16_t Code) {
  if (Code == SkinCmdRemoveSkin) removingSeen = DefaultManager->RemovingSkin;
}

TEST_F(BroadcastTest, RemoveSkinTellsEveryFormThenDropsTheSkin) {
  BroadcastNewSkin(M, false);
  ASSERT_TRUE(M->DialogHookInstalled);
  M->Sections.resize(2);
  TRecordingForm* a = Form("A", true);
  Form("U", false);
  a->OnCommand = NoteRemoving;
  removingSeen = false;

  BroadcastRemoveSkin(M);
  EXPECT_EQ(FormLog(), Deliveries({"U", "A"}, SkinCmdRemoveSkin));
  EXPECT_EQ(a->LastLParam[SkinCmdRemoveSkin], reinterpret_cast<LPARAM>(M));
  EXPECT_TRUE(removingSeen);
  EXPECT_FALSE(M->RemovingSkin);
  EXPECT_FALSE(M->CommonSkinData->Loaded);
  EXPECT_TRUE(M->Sections.empty());
  EXPECT_FALSE(M->DialogHookInstalled);
  EXPECT_EQ(DialogAdapterList, nullptr);
}

// A control that logs the skin changes it hears ("Edit:1").
class TRecordingControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == SkinCommandMessage) {
      const uint16_t code = SkinCmdCode(Message.WParam);
      if (code == SkinCmdNewSkin || code == SkinCmdRemoveSkin || code == SkinCmdRefresh)
        FormLog().push_back(Name() + ":" + std::to_string(code));
    }
    TCustomControl::WndProc(Message);
  }
};

TEST_F(BroadcastTest, ASkinChangeReachesEachControlOnce) {
  TRecordingForm* skinned = Form("A", true);
  TRecordingForm* plain = Form("U", false);
  for (auto [form, name] : {std::pair{skinned, "InA"}, std::pair{plain, "InU"}}) {
    auto* c = New<TRecordingControl>(form);
    c->SetName(name);
    c->SetParent(form);
    c->HandleNeeded();
  }
  // The provider's skin state is on the form's window, also after the
  // window was made anew.
  EXPECT_EQ(GetSkinDataProp(skinned->Handle()), ProviderOf(skinned)->SkinData);
  skinned->RecreateWnd();
  skinned->HandleNeeded();
  EXPECT_EQ(GetSkinDataProp(skinned->Handle()), ProviderOf(skinned)->SkinData);
  FormLog().clear();

  BroadcastNewSkin(M, true);
  BroadcastRemoveSkin(M);
  std::vector<std::string> heard;
  for (const std::string& e : FormLog())
    if (e.rfind("In", 0) == 0) heard.push_back(e);
  EXPECT_EQ(heard,
            (std::vector<std::string>{"InU:1", "InA:1", "InU:3", "InA:3", "InU:2", "InA:2"}));

  const HWND h = skinned->Handle();
  TObject::Free(ProviderOf(skinned));
  EXPECT_EQ(GetPropA(h, "VLSDATA"), nullptr);
}

}  // namespace
