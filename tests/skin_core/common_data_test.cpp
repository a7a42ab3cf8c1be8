// Per-control skin state: section choice, registration, updates, states.
#include <gtest/gtest.h>

#include <cstdlib>

#include "probe.h"
#include "skin/engine/control_kinds.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"

namespace {

class CommonDataTest : public FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    manager = New<TsSkinManager>(Form);
    for (const char* name : {"GLOBALINFO", "EDIT", "BUTTON", "COMBOBOX", "TPROBECONTROL"}) {
      TsGeneralData d;
      d.SectionName = name;
      manager->Sections.push_back(d);
    }
    manager->Sections[2].BordersMask = 0;
    TsMaskData mask;
    mask.Section = "BUTTON";
    mask.SectionIndex = 2;
    mask.Key = "BORDERSMASK";
    mask.BorderLeft = 2;
    mask.BorderBottom = 5;
    manager->Masks.push_back(mask);
    mask.Key = "PATTERN";
    mask.ImageKind = 1;  // a texture
    manager->Masks.push_back(mask);
    probe = AddProbe(Form, "P");
  }
  TsCommonData* Attach(int kind) {
    probe->SkinData = new TsCommonData(probe, true);
    probe->SkinData->ControlKind = kind;
    return probe->SkinData;
  }
  TsSkinManager* manager = nullptr;
  TProbeControl* probe = nullptr;
};

TEST_F(CommonDataTest, DefaultSectionByKind) {
  struct Case {
    int kind;
    const char* section;
    int index;
  };
  const Case cases[] = {
      {ckGraphicControl, "EDIT", 1}, {18, "COMBOBOX", 3},       {56, "DRAGBAR", -1},
      {152, "CHECKBOX", -1},         {250, "TPROBECONTROL", 4},
  };
  for (const Case& c : cases) {
    TsCommonData* d = Attach(c.kind);
    d->Loaded(false);
    EXPECT_EQ(d->SkinSection, c.section) << c.kind;
    EXPECT_EQ(d->SkinIndex, c.index) << c.kind;
    TObject::Free(probe->SkinData);
    probe->SkinData = nullptr;
  }
}

TEST_F(CommonDataTest, KindThatAsksTheControl) {
  probe->Answer = [](TControl*, TMessage& m) {
    if (SkinCmdCode(m.WParam) != SkinCmdGetDefaultSection) return false;
    m.Result = 3;  // index + 1 of "BUTTON"
    return true;
  };
  TsCommonData* d = Attach(ckButton);
  d->Loaded(false);
  EXPECT_EQ(d->SkinSection, "");
  EXPECT_EQ(d->SkinIndex, 2);
  EXPECT_EQ(d->BorderIndex, 0);
  EXPECT_EQ(d->TextureIndex, 1);
  EXPECT_EQ(d->HotTextureIndex, -1);
  EXPECT_EQ(d->BorderWidth(), 5);
  EXPECT_TRUE(d->Skinned());
  manager->CommonSkinData->Loaded = false;
  EXPECT_FALSE(d->Skinned(true));
  manager->SetActive(false);
  d->UpdateIndexes(true);
  EXPECT_EQ(d->SkinIndex, -1);
  EXPECT_EQ(d->BorderIndex, -1);
  EXPECT_FALSE(d->Skinned());
}

TEST_F(CommonDataTest, SkinSectionIsStoredUpperCaseAndComparedExactly) {
  TsCommonData* d = Attach(ckEdit);
  d->Loaded(false);
  ReceivedLog().clear();
  d->SetSkinSection("edit");
  EXPECT_EQ(d->SkinSection, "EDIT");
  EXPECT_EQ(d->SkinIndex, 1);
  auto refreshes = [] { return ReceiversOf(SkinCmdRefresh).size(); };
  EXPECT_EQ(refreshes(), 1u);
  EXPECT_EQ(ReceivedLog().back().Arg, 1);
  d->SetSkinSection("EDIT");
  EXPECT_EQ(refreshes(), 1u);  // unchanged
  d->SetSkinSection("edit");
  EXPECT_EQ(refreshes(), 2u);  // re-resolved
  d->SetSkinSection("NOSUCH");
  EXPECT_EQ(d->SkinIndex, -1);
  EXPECT_EQ(ReceiversOf(SkinCmdRemoveSkin).size(), 1u);
}

TEST_F(CommonDataTest, DefaultManagerIsStoredAsNil) {
  TsCommonData* d = Attach(ckEdit);
  const TPropInfo* p = d->ClassType().FindProp("SkinManager");
  ASSERT_NE(p, nullptr);
  d->SetSkinManager(DefaultManager);
  EXPECT_EQ(d->OwnManager, nullptr);
  EXPECT_EQ(d->SkinManager(), manager);
  EXPECT_FALSE(p->Stored(d));
  auto* own = New<TsSkinManager>(Form);
  d->SetSkinManager(own);
  EXPECT_EQ(d->OwnManager, own);
  EXPECT_TRUE(p->Stored(d));
  // A manager that goes takes itself out of the skin states that named it.
  TObject::Free(own);
  EXPECT_EQ(d->OwnManager, nullptr);
  EXPECT_EQ(d->SkinManager(), manager);
  EXPECT_FALSE(d->Skinned());  // no dangling manager is asked
}

TEST_F(CommonDataTest, RegistrationFollowsTheWindow) {
  TProbeControl* late = AddProbe(Form, "Late", false);
  late->SkinData = new TsCommonData(late, false);
  EXPECT_EQ(SkinDataHandle(late->SkinData), nullptr);  // never makes a window
  EXPECT_FALSE(late->HandleAllocated());
  late->HandleNeeded();
  EXPECT_TRUE(late->PropAtNcCreate);
  EXPECT_EQ(GetSkinDataProp(late->Handle()), late->SkinData);
  HWND old = late->Handle();
  late->PropAtNcCreate = false;
  late->RecreateWnd();
  late->HandleNeeded();
  EXPECT_NE(late->Handle(), old);
  EXPECT_TRUE(late->PropAtNcCreate);
  EXPECT_EQ(GetSkinDataProp(late->Handle()), late->SkinData);
  // Removed by the destructor, also while the control is being destroyed.
  HWND h = late->Handle();
  late->SetState(csDestroying);
  TObject::Free(late->SkinData);
  late->SkinData = nullptr;
  late->ClearState(csDestroying);
  EXPECT_EQ(GetPropA(h, "VLSDATA"), nullptr);
}

// While the application terminates, a skin state that goes still takes its
// property off a window that lives on. Terminated cannot be cleared again, so
// this runs in a child process of its own.
TEST_F(CommonDataTest, RegistrationGoesAlsoWhileTheApplicationTerminates) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        TProbeControl* control = AddProbe(Form, "Ending", false);
        control->SkinData = new TsCommonData(control, false);
        control->HandleNeeded();
        const HWND h = control->Handle();
        PostQuitMessage(0);
        Application->ProcessMessages();
        const bool terminated = Application->Terminated();
        TObject::Free(control->SkinData);
        control->SkinData = nullptr;
        std::exit(terminated && GetPropA(h, "VLSDATA") == nullptr ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST_F(CommonDataTest, NestedUpdatesClearAtOnceNotifyAtTheEnd) {
  TsCommonData* d = Attach(ckEdit);
  d->BeginUpdate();
  d->BeginUpdate();
  EXPECT_TRUE(d->Updating);
  EXPECT_TRUE(d->StateFlags & sfInUpdate);
  EXPECT_EQ(ReceiversOf(SkinCmdBeginUpdate).size(), 2u);
  d->EndUpdate();
  EXPECT_FALSE(d->Updating);  // at every call
  EXPECT_EQ(ReceiversOf(SkinCmdEndUpdate).size(), 0u);
  d->EndUpdate();
  EXPECT_EQ(ReceiversOf(SkinCmdEndUpdate).size(), 1u);
  EXPECT_EQ(d->UpdateCount, 0);
}

TEST_F(CommonDataTest, UpdatingFollowsTheParent) {
  TProbeControl* child = AddProbe(probe, "Child");
  child->SkinData = new TsCommonData(child, false);
  EXPECT_FALSE(child->SkinData->CheckUpdating());
  probe->Answer = [](TControl*, TMessage& m) {
    if (SkinCmdCode(m.WParam) != SkinCmdIsUpdating) return false;
    m.Result = 1;
    return true;
  };
  EXPECT_TRUE(child->SkinData->CheckUpdating());
  EXPECT_TRUE(child->SkinData->Updating);
}

TEST_F(CommonDataTest, CurrentStateByKindAndFlags) {
  struct Case {
    int kind;
    bool enabled, focused, hot, noHover;
    int state;
  };
  const Case cases[] = {
      {ckButton, false, true, true, false, 0},  // focused but disabled
      {ckGroupBox, true, false, true, false, 0},
      {ckEdit, true, false, true, false, 0},  // EditHoverOption off
      {ckButton, true, false, true, false, 1},
      {ckButton, true, false, true, true, 0},
      {ckButton, true, true, false, false, 1},
      {ckButton, true, false, false, false, 0},
  };
  TsCommonData* d = Attach(ckButton);
  for (const Case& c : cases) {
    d->ControlKind = c.kind;
    probe->SetEnabled(c.enabled);
    d->Focused = c.focused;
    d->Hot = c.hot;
    manager->Options()->SetOption(TvlOptions::NoMouseHoverIndex, c.noHover);
    EXPECT_EQ(d->CurrentState(), c.state) << c.kind << c.enabled << c.focused << c.hot;
  }
}

TEST_F(CommonDataTest, CacheFollowsTheControlSize) {
  TsCommonData* d = Attach(ckEdit);
  probe->SetBounds(0, 0, 30, 20);
  d->PrepareCacheBitmap();
  EXPECT_EQ(d->CacheBitmap->Width(), 30);
  EXPECT_EQ(d->CacheBitmap->Height(), 20);
  EXPECT_EQ(d->CacheBitmap->PixelFormat(), pf32bit);
  EXPECT_EQ(d->CacheBitmap->HandleType(), bmDIB);
}

TEST_F(CommonDataTest, ControlToneSettersReload) {
  probe->SkinData = new TsCtrlSkinData(probe, false);
  auto* d = static_cast<TsCtrlSkinData*>(probe->SkinData);
  EXPECT_TRUE(d->NotLoaded);
  d->SetHUEOffset(30);
  EXPECT_FALSE(d->NotLoaded);
  EXPECT_EQ(d->HUEOffset, 30);
  EXPECT_EQ(d->ClassType().FindProp("ColorTone")->Default, clNone);
}

}  // namespace
