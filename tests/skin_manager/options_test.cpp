// The manager's option objects: published order and defaults as the form
// writer sees them, the indexed accessors, the DPI scaling and the setters
// that tell the manager or the forms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/engine/manager_options.h"
#include "skin/engine/services_menus.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/glyph_drawing.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/forms/forms.h"
#include "widgets/rtl/reflection.h"

namespace {

std::vector<std::string> PublishedNames(const TClassInfo& Info) {
  std::vector<std::string> names;
  for (const TPropInfo* p : Info.AllProps()) names.push_back(p->Name);
  return names;
}

// Every ordinal property with a default, of Obj and of its sub-objects, that
// differs from that default, as "Path=value": a new object must give none,
// or the writer would store (or drop) the wrong values.
void CollectOffDefaults(TObject* Obj, const std::string& Prefix, std::vector<std::string>& Out) {
  for (const TPropInfo* p : Obj->ClassType().AllProps()) {
    if (p->Kind == TPropKind::Object) {
      if (TObject* sub = p->GetObj(Obj)) CollectOffDefaults(sub, Prefix + p->Name + ".", Out);
      continue;
    }
    if (!p->IsOrdinal() || !p->HasDefault) continue;
    int64_t v = p->GetOrd(Obj);
    if (v != p->Default) Out.push_back(Prefix + p->Name + "=" + std::to_string(v));
  }
}

class OptionsManagerTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DefaultManager, nullptr);
    saved_ = {ArrowWidth, ArrowLength, TabContentSpacing, TabContentIndent, MenuGlyphSize};
    Manager = New<TsSkinManager>(nullptr);
    Manager->SetActive(false);
  }
  void TearDown() override {
    TObject::Free(Manager);
    ArrowWidth = saved_[0];
    ArrowLength = saved_[1];
    TabContentSpacing = saved_[2];
    TabContentIndent = saved_[3];
    MenuGlyphSize = saved_[4];
  }
  TsSkinManager* Manager = nullptr;

 private:
  std::vector<int> saved_;
};

// ---- Published tables -----------------------------------------------------------------

TEST(ManagerOptions, PublishedOrderFollowsEachClassTable) {
  struct Case {
    const TClassInfo& Info;
    std::vector<std::string> Names;
  };
  const Case cases[] = {
      {TvlSkinEffects::StaticClass(),
       {"AllowAnimation", "AllowAeroBluring", "AllowGlowing", "AllowOuterEffects",
        "DiscoloredGlyphs"}},
      {TvlFormAnimation::StaticClass(), {"Active", "Time"}},
      {TvlBlendOnMoving::StaticClass(), {"Active", "Time", "BlendValue"}},
      {TvlMinimizing::StaticClass(), {"Active", "Time"}},
      {TvlFormShow::StaticClass(), {"Active", "Time", "Mode"}},
      {TvlFormHide::StaticClass(), {"Active", "Time", "Mode"}},
      {TvlPageChange::StaticClass(), {"Active", "Time"}},
      {TvlDialogShow::StaticClass(), {"Active", "Time", "Mode"}},
      {TvlSkinChanging::StaticClass(), {"Active", "Time", "Mode"}},
      {TvlBtnEffects::StaticClass(), {"Events"}},
      {TvlAnimEffects::StaticClass(),
       {"BlendOnMoving", "Buttons", "DialogShow", "FormShow", "FormHide", "DialogHide",
        "Minimizing", "PageChange", "SkinChanging"}},
      {ThirdPartyList::StaticClass(),
       {"ThirdEdits",      "ThirdButtons",     "ThirdBitBtns",       "ThirdCheckBoxes",
        "ThirdGroupBoxes", "ThirdListViews",   "ThirdPanels",        "ThirdGrids",
        "ThirdTreeViews",  "ThirdComboBoxes",  "ThirdWWEdits",       "ThirdVirtualTrees",
        "ThirdGridEh",     "ThirdPageControl", "ThirdTabControl",    "ThirdToolBar",
        "ThirdStatusBar",  "ThirdSpeedButton", "ThirdScrollControl", "ThirdUpDown",
        "ThirdScrollBar",  "ThirdStaticText",  "ThirdNativePaint"}},
      {TvlOptions::StaticClass(),
       {"NoMouseHover", "StdGlyphsOrder", "ChangeSysColors", "CheckEmptyAlpha",
        "StdImgTransparency", "NativeBordersMaximized", "ScaleMode", "OptimizingPriority"}},
      {TvlScrollBarsSupport::StaticClass(), {"ScrollSize", "ButtonsSize"}},
      {TvlButtonsSupport::StaticClass(), {"ShowFocusRect", "ShiftContentOnClick"}},
      {TvlLabelsSupport::StaticClass(), {"TransparentAlways"}},
      {TvlMenuSupport::StaticClass(),
       {"AlphaBlend", "ExtraLineFont", "ExtraLineWidth", "IcoLineSkin", "Font", "CustomFont",
        "UseExtraLine"}},
  };
  for (const Case& c : cases) EXPECT_EQ(PublishedNames(c.Info), c.Names) << c.Info.Name();
}

TEST(ManagerOptions, NewObjectsHoldTheirDeclaredDefaults) {
  TvlSkinEffects effects(nullptr);
  TvlAnimEffects anim(nullptr);
  TvlOptions options(nullptr);
  TvlScrollBarsSupport scrolls(nullptr);
  TvlButtonsSupport buttons;
  TvlLabelsSupport labels;
  TvlMenuSupport menus;
  std::vector<std::string> off;
  for (TObject* o :
       std::vector<TObject*>{&effects, &anim, &options, &scrolls, &buttons, &labels, &menus})
    CollectOffDefaults(o, o->ClassName() + ".", off);
  EXPECT_EQ(off, std::vector<std::string>{});

  // The values themselves, where a descendant changes the base's.
  struct Case {
    const char* Path;
    int64_t Value;
  };
  const Case cases[] = {
      {"BlendOnMoving.Active", 0},
      {"BlendOnMoving.Time", 1000},
      {"BlendOnMoving.BlendValue", 170},
      {"Minimizing.Active", 1},
      {"Minimizing.Time", 120},
      {"SkinChanging.Time", 100},
      {"SkinChanging.Mode", atFading},
      {"DialogShow.Time", 0},
      {"DialogShow.Mode", atAero},
      {"FormShow.Mode", atAero},
      {"FormHide.Active", 1},
      {"DialogHide.Mode", atAero},
      {"PageChange.Time", 0},
      {"Buttons.Events", 0x0F},
  };
  for (const Case& c : cases) EXPECT_EQ(GetOrdProp(&anim, c.Path), c.Value) << c.Path;
  EXPECT_EQ(anim.SkinChanging()->Mode(), atFading);
  EXPECT_EQ(options.ScaleMode(), smOldMode);
  EXPECT_EQ(scrolls.ScrollSize(), -1);
  EXPECT_EQ(menus.AlphaBlend(), 255);
  EXPECT_EQ(menus.ExtraLineWidth(), 32);
  EXPECT_EQ(menus.IcoLineSkin(), "");
}

TEST(ManagerOptions, AnimationsAreDistinctObjectsOfTheirOwnClasses) {
  TvlAnimEffects anim(nullptr);
  EXPECT_NE(anim.FormHide(), anim.DialogHide());
  EXPECT_EQ(anim.DialogHide()->ClassName(), "TvlFormHide");
  EXPECT_EQ(anim.BlendOnMoving()->ClassName(), "TvlBlendOnMoving");
  EXPECT_EQ(anim.SkinChanging()->ClassName(), "TvlSkinChanging");
  anim.FormHide()->SetTime(250);
  EXPECT_EQ(anim.DialogHide()->Time(), 0);
}

// ---- Indexed accessors -----------------------------------------------------------------

TEST(ManagerOptions, ThirdPartyPropertiesMapToTheirKindIndexes) {
  const char* byIndex[ThirdPartyKindCount] = {
      "ThirdEdits",        "ThirdButtons",     "ThirdBitBtns",       "ThirdCheckBoxes",
      "ThirdComboBoxes",   "ThirdGrids",       "ThirdGroupBoxes",    "ThirdListViews",
      "ThirdPanels",       "ThirdTreeViews",   "ThirdWWEdits",       "ThirdGridEh",
      "ThirdVirtualTrees", "ThirdPageControl", "ThirdTabControl",    "ThirdToolBar",
      "ThirdStatusBar",    "ThirdSpeedButton", "ThirdScrollControl", "ThirdUpDown",
      "ThirdScrollBar",    "ThirdStaticText",  "ThirdNativePaint"};
  ThirdPartyList lists;
  for (int i = 0; i < ThirdPartyKindCount; ++i) EXPECT_EQ(lists.Get(i), "");
  for (int i = 0; i < ThirdPartyKindCount; ++i) lists.Set(i, "TKind" + std::to_string(i));
  for (int i = 0; i < ThirdPartyKindCount; ++i)
    EXPECT_EQ(GetStrProp(&lists, byIndex[i]), "TKind" + std::to_string(i)) << byIndex[i];
  SetStrProp(&lists, "ThirdGridEh", "TMyGrid\nTOtherGrid");
  EXPECT_EQ(lists.Get(11), "TMyGrid\nTOtherGrid");
}

TEST(ManagerOptions, ThirdPartyIndexOutsideTheListsReadsAndWritesNothing) {
  ThirdPartyList lists;
  for (int i = 0; i < ThirdPartyKindCount; ++i) lists.Set(i, "x");
  for (int bad : {-1, ThirdPartyKindCount, 1000}) {
    EXPECT_EQ(lists.Get(bad), "") << bad;
    lists.Set(bad, "changed");
  }
  for (int i = 0; i < ThirdPartyKindCount; ++i) EXPECT_EQ(lists.Get(i), "x") << i;
}

TEST(ManagerOptions, OptionIndexesAndTheirFallback) {
  const char* byIndex[6] = {"CheckEmptyAlpha", "NoMouseHover",    "NativeBordersMaximized",
                            "StdGlyphsOrder",  "ChangeSysColors", "StdImgTransparency"};
  for (int i = 0; i < 6; ++i) {
    TvlOptions options(nullptr);
    options.SetOption(i, true);
    for (int j = 0; j < 6; ++j)
      EXPECT_EQ(GetOrdProp(&options, byIndex[j]), i == j ? 1 : 0) << byIndex[i] << " " << j;
  }
  TvlOptions options(nullptr);
  for (int bad : {-1, 6, 99}) options.SetOption(bad, true);
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(options.GetOption(i)) << i;
  // Any other index answers ChangeSysColors.
  options.SetOption(TvlOptions::ChangeSysColorsIndex, true);
  EXPECT_TRUE(options.GetOption(-1));
  EXPECT_TRUE(options.GetOption(6));
  EXPECT_FALSE(options.GetOption(0));
}

// ---- DPI levels -------------------------------------------------------------------------

TEST_F(OptionsManagerTest, EffectiveLevelAndScaledValues) {
  struct Case {
    TvlScaleMode Mode;
    int Applied;
    int Value, Level;
    int Effective, Scaled;
  };
  const Case cases[] = {
      {sm150, 0, 7, 0, 2, 10},    {sm125, 0, 7, 0, 1, 8},      {sm200, 0, 7, 0, 3, 14},
      {smOldMode, 3, 7, 0, 0, 7}, {sm100, 3, 7, 0, 0, 7},      {sm200, 0, 100, 1, 3, 125},
      {sm125, 0, 100, 1, 1, 100}, {sm200, 0, 100, 2, 3, 150},  {sm200, 0, 100, 3, 3, 100},
      {smAuto, 2, 7, 0, 2, 10},   {smAuto, 0, 7, 0, 0, 7},     {sm150, 0, -7, 0, 2, -10},
      {sm125, 0, -7, 0, 1, -8},   {sm200, 0, 100, -1, 3, 100}, {smOldMode, 0, 100, 1, 0, 100},
  };
  for (const Case& c : cases) {
    Manager->AppliedDpiLevel = c.Applied;
    Manager->Options()->SetScaleMode(c.Mode);
    EXPECT_EQ(EffectiveDpiLevel(Manager), c.Effective) << c.Mode << " " << c.Value;
    EXPECT_EQ(ScaleToDpiLevel(Manager, c.Value, c.Level), c.Scaled)
        << "mode " << c.Mode << " value " << c.Value << " level " << c.Level;
  }
  // At design time nothing is scaled.
  Manager->Options()->SetScaleMode(sm200);
  Manager->SetState(csDesigning);
  EXPECT_EQ(EffectiveDpiLevel(Manager), 0);
  EXPECT_EQ(ScaleToDpiLevel(Manager, 7, 0), 7);
  Manager->ClearState(csDesigning);
  EXPECT_EQ(EffectiveDpiLevel(nullptr), 0);
  EXPECT_EQ(ScaleToDpiLevel(nullptr, 7, 0), 7);
}

TEST_F(OptionsManagerTest, ScaleModeChangeReportsBothModesAndPercents) {
  static std::vector<TScaleChangeData> seen;
  seen.clear();
  struct Listener {
    void Changed(TObject*, const TScaleChangeData& d) { seen.push_back(d); }
  } listener;
  Manager->OnScaleModeChange = TScaleChangeEvent::Of<&Listener::Changed>(&listener);
  Manager->AppliedDpiLevel = 3;
  TvlOptions* o = Manager->Options();
  o->SetScaleMode(sm150);
  o->SetScaleMode(sm150);  // unchanged: no report
  o->SetScaleMode(smAuto);
  o->SetScaleMode(smOldMode);
  ASSERT_EQ(seen.size(), 3u);
  auto same = [](const TScaleChangeData& a, TvlScaleMode om, TvlScaleMode nm, int op, int np) {
    return a.OldMode == om && a.NewMode == nm && a.OldPercent == op && a.NewPercent == np;
  };
  EXPECT_TRUE(same(seen[0], smOldMode, sm150, 100, 150));
  EXPECT_TRUE(same(seen[1], sm150, smAuto, 150, 200));
  EXPECT_TRUE(same(seen[2], smAuto, smOldMode, 200, 100));
  EXPECT_EQ(o->ScaleMode(), smOldMode);
}

// Unit sizes follow the default manager's change, even while it reads its
// form; only a running manager reloads (seen as OnAfterChange).
TEST_F(OptionsManagerTest, ScaleModeRescalesUnitSizesAndReloadsOnlyWhenRunning) {
  static int afterChange;
  afterChange = 0;
  struct Listener {
    void Changed(TObject*) { ++afterChange; }
  } listener;
  Manager->OnAfterChange = TNotifyEvent::Of<&Listener::Changed>(&listener);
  ArrowWidth = 10;
  MenuGlyphSize = 16;

  Manager->Options()->SetScaleMode(sm150);
  EXPECT_EQ(ArrowWidth, 15);
  EXPECT_EQ(ArrowLength, 8);
  EXPECT_EQ(MenuGlyphSize, 24);
  EXPECT_EQ(afterChange, 1);
  EXPECT_FALSE(Manager->UpdateLock);

  Manager->SetState(csLoading);
  Manager->Options()->SetScaleMode(sm100);
  Manager->ClearState(csLoading);
  EXPECT_EQ(ArrowWidth, 10);
  EXPECT_EQ(MenuGlyphSize, 16);
  EXPECT_EQ(afterChange, 1);

  Manager->SetState(csDesigning);
  Manager->Options()->SetScaleMode(sm200);
  Manager->ClearState(csDesigning);
  EXPECT_EQ(Manager->Options()->ScaleMode(), sm200);
  EXPECT_EQ(ArrowWidth, 10);
  EXPECT_EQ(afterChange, 1);

  // A second manager's change leaves the unit sizes alone.
  TsSkinManager* second = New<TsSkinManager>(nullptr);
  second->SetActive(false);
  second->Options()->SetScaleMode(sm150);
  EXPECT_EQ(ArrowWidth, 10);
  TObject::Free(second);
}

// ---- Setters that reach the system or the forms ----------------------------------------

int installs = 0, removals = 0;
void CountInstall() {
  ++installs;
}
void CountRemoval() {
  ++removals;
}

// Glyph strips are read in the default manager's frame order, and the
// standard way again once no manager is left.
TEST_F(OptionsManagerTest, GlyphStripsFollowTheDefaultManagersFrameOrder) {
  ASSERT_EQ(DefaultManager, Manager);
  EXPECT_EQ(CurrentGlyphFrameOrder(), GlyphFrameOrder::Library);
  Manager->Options()->SetOption(TvlOptions::StdGlyphsOrderIndex, true);
  EXPECT_EQ(CurrentGlyphFrameOrder(), GlyphFrameOrder::Standard);
  Manager->Options()->SetOption(TvlOptions::StdGlyphsOrderIndex, false);
  TObject::Free(Manager);
  Manager = nullptr;
  EXPECT_EQ(CurrentGlyphFrameOrder(), GlyphFrameOrder::Standard);
}

TEST_F(OptionsManagerTest, ChangeSysColorsPatchesOnlyForTheRunningDefaultManager) {
  // The real interception is plugged in: switching on and off is balanced.
  Manager->Options()->SetOption(TvlOptions::ChangeSysColorsIndex, true);
  Manager->Options()->SetOption(TvlOptions::ChangeSysColorsIndex, false);

  installs = removals = 0;
  void (*const realInstall)() = InstallSysColorPatches;
  void (*const realRemoval)() = RemoveSysColorPatches;
  InstallSysColorPatches = CountInstall;
  RemoveSysColorPatches = CountRemoval;
  TvlOptions* o = Manager->Options();
  o->SetOption(TvlOptions::ChangeSysColorsIndex, true);
  o->SetOption(TvlOptions::ChangeSysColorsIndex, false);
  EXPECT_EQ(installs, 1);
  EXPECT_EQ(removals, 1);
  o->SetOption(TvlOptions::NoMouseHoverIndex, true);  // other options patch nothing
  for (TComponentState s : {csLoading, csDesigning}) {
    Manager->SetState(s);
    o->SetOption(TvlOptions::ChangeSysColorsIndex, true);
    Manager->ClearState(s);
  }
  TsSkinManager* second = New<TsSkinManager>(nullptr);
  second->SetActive(false);
  second->Options()->SetOption(TvlOptions::ChangeSysColorsIndex, true);
  TObject::Free(second);
  InstallSysColorPatches = realInstall;
  RemoveSysColorPatches = realRemoval;
  EXPECT_EQ(installs, 1);
  EXPECT_EQ(removals, 1);
  EXPECT_TRUE(o->ChangeSysColors());  // stored even where nothing was patched
}

class TCommandRecorder : public TForm {
 public:
  using TForm::TForm;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == SkinCommandMessage) Codes.push_back(SkinCmdCode(Message.WParam));
    TForm::WndProc(Message);
  }
  bool Got(uint16_t Code) const {
    for (uint16_t c : Codes)
      if (c == Code) return true;
    return false;
  }
  std::vector<uint16_t> Codes;
};

class OptionsFormsTest : public OptionsManagerTest {
 protected:
  void SetUp() override {
    OptionsManagerTest::SetUp();
    Form = New<TCommandRecorder>(Application, TCustomForm::TCreateNew{});
    Form->HandleNeeded();
  }
  void TearDown() override {
    TObject::Free(Form);
    OptionsManagerTest::TearDown();
  }
  TCommandRecorder* Form = nullptr;
};

TEST_F(OptionsFormsTest, ScrollSizeTellsTheFormsOnlyOnARunningChange) {
  TvlScrollBarsSupport* s = Manager->ScrollsOptions();
  s->SetScrollSize(-1);
  EXPECT_FALSE(Form->Got(SkinCmdFrameChanged));
  s->SetScrollSize(20);
  EXPECT_TRUE(Form->Got(SkinCmdFrameChanged));
  EXPECT_FALSE(Form->Got(SkinCmdRefresh));

  Form->Codes.clear();
  Manager->SetState(csLoading);
  s->SetScrollSize(22);
  Manager->ClearState(csLoading);
  EXPECT_EQ(s->ScrollSize(), 22);
  EXPECT_TRUE(Form->Codes.empty());
}

TEST_F(OptionsFormsTest, ButtonsSizeAndEffectsRepaintTheFormsUnlessHeld) {
  struct Case {
    const char* What;
    void (*Change)(TsSkinManager*);
    TComponentState State;
    bool Lock;
    bool Repaints;
  };
  static int next = 10;
  const Case cases[] = {
      {"buttons size", [](TsSkinManager* m) { m->ScrollsOptions()->SetButtonsSize(++next); }, 0,
       false, true},
      {"buttons size loading",
       [](TsSkinManager* m) { m->ScrollsOptions()->SetButtonsSize(++next); }, csLoading, false,
       false},
      {"buttons size unchanged",
       [](TsSkinManager* m) {
         m->ScrollsOptions()->SetButtonsSize(m->ScrollsOptions()->ButtonsSize());
       },
       0, false, false},
      {"outer effects",
       [](TsSkinManager* m) {
         m->Effects()->SetAllowOuterEffects(!m->Effects()->AllowOuterEffects());
       },
       0, false, true},
      {"outer effects unchanged",
       [](TsSkinManager* m) {
         m->Effects()->SetAllowOuterEffects(m->Effects()->AllowOuterEffects());
       },
       0, false, false},
      {"discoloured glyphs",
       [](TsSkinManager* m) {
         m->Effects()->SetDiscoloredGlyphs(!m->Effects()->DiscoloredGlyphs());
       },
       0, false, true},
      {"discoloured glyphs locked",
       [](TsSkinManager* m) {
         m->Effects()->SetDiscoloredGlyphs(!m->Effects()->DiscoloredGlyphs());
       },
       0, true, false},
      {"outer effects reading",
       [](TsSkinManager* m) {
         m->Effects()->SetAllowOuterEffects(!m->Effects()->AllowOuterEffects());
       },
       csReading, false, false},
      {"glowing", [](TsSkinManager* m) { m->Effects()->SetAllowGlowing(false); }, 0, false, false},
  };
  for (const Case& c : cases) {
    Form->Codes.clear();
    Manager->SetState(c.State);
    Manager->UpdateLock = c.Lock;
    c.Change(Manager);
    Manager->ClearState(c.State);
    Manager->UpdateLock = false;
    EXPECT_EQ(Form->Got(SkinCmdRefresh), c.Repaints) << c.What;
  }
}

}  // namespace
