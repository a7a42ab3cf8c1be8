// The registry of skinned forms, the provider that fills it, and the skin
// data records and tables.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "recording_form.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_message.h"
#include "widgets/graphics/icon.h"
#include "widgets/rtl/inifiles.h"

namespace {

using RegistryTest = SkinnedFormsFixture;

TEST_F(RegistryTest, UnregisterRemovesEveryEntryOfTheForm) {
  TComponent a(nullptr), b(nullptr), c(nullptr);
  struct Case {
    const char* What;
    std::vector<TComponent*> Before;
    TComponent* Removed;
    std::vector<TComponent*> After;
  };
  const Case cases[] = {
      {"only form", {&a}, &a, {}},
      {"middle of three: the last takes its place", {&a, &b, &c}, &b, {&a, &c}},
      {"first of three", {&a, &b, &c}, &a, {&c, &b}},
      {"not registered", {&a, &b}, &c, {&a, &b}},
      {"duplicated around another", {&a, &b, &a}, &a, {&b}},
      {"duplicated at the end", {&b, &a, &c, &a}, &a, {&b, &c}},
      {"only duplicates", {&a, &a}, &a, {}},
      {"empty registry", {}, &a, {}},
  };
  for (const Case& k : cases) {
    SkinnedFormsRegistry = k.Before;
    UnregisterSkinnedForm(k.Removed);
    EXPECT_EQ(SkinnedFormsRegistry, k.After) << k.What;
  }
  SkinnedFormsRegistry.clear();
  RegisterSkinnedForm(&a);
  RegisterSkinnedForm(&b);
  EXPECT_EQ(SkinnedFormsRegistry, (std::vector<TComponent*>{&a, &b}));
  SkinnedFormsRegistry.clear();
}

TEST_F(RegistryTest, ProviderRegistersItsFormAndAnswersForItOnTheWindow) {
  TRecordingForm* f = Form("F", false);
  const TWndMethod original = f->WindowProc;
  EXPECT_EQ(PerformSkinCommand(f, SkinCmdGetProvider, 0), 0);

  auto* p = New<TsSkinProvider>(f);
  EXPECT_EQ(p->Form, f);
  ASSERT_NE(p->SkinData, nullptr);
  EXPECT_EQ(SkinnedFormsRegistry, (std::vector<TComponent*>{f}));
  // Through the form's window, as every asker reaches it.
  EXPECT_EQ(PerformSkinCommand(f, SkinCmdGetProvider, 0), reinterpret_cast<LRESULT>(p));
  EXPECT_EQ(SendSkinCommand(f->Handle(), SkinCmdGetProvider, 0), reinterpret_cast<LRESULT>(p));
  // Everything else still reaches the form.
  PerformSkinCommand(f, SkinCmdRefresh, 0);
  EXPECT_EQ(FormLog(), (std::vector<std::string>{"F:3"}));

  TObject::Free(p);
  EXPECT_TRUE(SkinnedFormsRegistry.empty());
  EXPECT_TRUE(f->WindowProc == original);
  EXPECT_EQ(PerformSkinCommand(f, SkinCmdGetProvider, 0), 0);
}

TEST_F(RegistryTest, FreeingTheFormUnregistersIt) {
  TRecordingForm* a = Form("A", true);
  TRecordingForm* b = Form("B", true);
  EXPECT_EQ(SkinnedFormsRegistry, (std::vector<TComponent*>{a, b}));
  Forget(a);
  TObject::Free(a);
  EXPECT_EQ(SkinnedFormsRegistry, (std::vector<TComponent*>{b}));
  // A provider whose owner is no form registers nothing.
  TComponent holder(nullptr);
  auto* p = New<TsSkinProvider>(&holder);
  EXPECT_EQ(p->Form, nullptr);
  EXPECT_EQ(SkinnedFormsRegistry.size(), 1u);
}

TEST(SkinDataTables, NamesInTheirFixedOrder) {
  EXPECT_STREQ(StdSectionNames[0], "MENUITEM");
  EXPECT_STREQ(StdSectionNames[9], "BUTTON");
  EXPECT_STREQ(StdSectionNames[38], "FORMTITLE");
  EXPECT_STREQ(StdSectionNames[41], "DIVIDERV");
  EXPECT_EQ(std::set<std::string>(StdSectionNames.begin(), StdSectionNames.end()).size(), 42u);
  EXPECT_STREQ(TitleButtonNames[0], "BICLOSEALONE");
  EXPECT_STREQ(TitleButtonNames[11], "TITLEBUTTON");
  EXPECT_STREQ(TitleButtonNames[12], "");
  EXPECT_STREQ(ProgressGlyphNames[0], "PROGVERT");
  EXPECT_STREQ(TickGlyphNames[1], "TICKHORZ");
}

TEST(SkinDataRecords, ConstantDataStartsWithoutAnyIndex) {
  TConstantSkinData d;
  EXPECT_EQ(d.GlobalInfo, -1);
  for (int v : d.Sections) EXPECT_EQ(v, -1);
  for (int v : d.TitleButtons) EXPECT_EQ(v, -1);
  for (int v : d.TitleGlowMargins) EXPECT_EQ(v, -1);
  for (const auto& a : {d.RadioButtons[0], d.RadioButtons[1], d.CheckBoxes[2], d.SmallBoxes[2],
                        d.ExBorder, d.GripImage, d.GripHorz, d.GripVert})
    EXPECT_EQ(a, -1);
  for (const auto& t : d.Tabs) {
    EXPECT_EQ(t.Section, -1);
    EXPECT_EQ(t.Reserved, -1);
  }
  EXPECT_EQ(d.Sliders[1].Channel, -1);
  EXPECT_TRUE(d.TitleGlows[0].empty());
}

TEST(SkinDataRecords, SkinDataDefaultsAndTheDescriptionItFrees) {
  {
    TsSkinData d;
    EXPECT_FALSE(d.Loaded);
    EXPECT_EQ(d.FormOffset, GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(static_cast<COLORREF>(d.InactiveBorderColor), ColorToRGB(clInactiveBorder));
    EXPECT_EQ(d.Shadow1Blur, -1);
    EXPECT_EQ(d.BorderWidth, 4);
    EXPECT_EQ(d.TitleHeight, 30);
    EXPECT_EQ(d.BrightMin, -50);
    EXPECT_EQ(d.BrightMax, 50);
  }
  ASSERT_EQ(SkinDescription, nullptr);
  {
    TsSkinData d;
    SkinDescription = New<TMemIniFile>("");
  }
  EXPECT_EQ(SkinDescription, nullptr);
}

TEST(SkinDataRecords, IntInArrayLooksBetweenLowAndHighOnly) {
  const int values[] = {3, 5, 7, 5};
  struct Case {
    int Value;
    uint8_t Low, High;
    bool Found;
  };
  const Case cases[] = {
      {5, 0, 3, true},  {3, 0, 0, true},  {3, 1, 3, false}, {7, 2, 2, true},
      {7, 0, 1, false}, {5, 2, 1, false}, {9, 0, 3, false},
  };
  for (const Case& k : cases)
    EXPECT_EQ(IntInArray(values, k.Value, k.Low, k.High), k.Found)
        << k.Value << " in [" << int(k.Low) << ".." << int(k.High) << "]";
}

TEST(SkinDataUnit, IconsOfTheExecutableAndTheRegistryGoAtShutdown) {
  SkinDataFinalization();
  EXPECT_EQ(AppIconSmall, nullptr);
  EXPECT_EQ(AppIconLarge, nullptr);
  TComponent stray(nullptr);
  RegisterSkinnedForm(&stray);
  SkinDataInitialization();
  ASSERT_NE(AppIconSmall, nullptr);
  ASSERT_NE(AppIconLarge, nullptr);
  EXPECT_EQ(AppIconSmall->Width(), GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(AppIconLarge->Width(), GetSystemMetrics(SM_CXICON));
  SkinDataFinalization();
  EXPECT_TRUE(SkinnedFormsRegistry.empty());
  SkinDataInitialization();
}

}  // namespace
