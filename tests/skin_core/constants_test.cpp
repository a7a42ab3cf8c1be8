// Start-up values, name tables and the caption mechanism.
#include <gtest/gtest.h>

#include <string>

#include "skin/foundation/section_names.h"
#include "skin/foundation/skin_const.h"
#include "widgets/graphics/gdi_handles.h"

namespace {

TEST(SkinConst, WindowsVersionCountsSixTwoAsEight) {
  struct Case {
    DWORD major, minor;
    int32_t expected;
  };
  for (const Case& c :
       {Case{6, 0, 6}, Case{6, 1, 6}, Case{6, 2, 8}, Case{6, 3, 6}, Case{10, 0, 10}, Case{5, 1, 5}})
    EXPECT_EQ(WindowsVersionOf(c.major, c.minor), c.expected) << c.major << "." << c.minor;
}

TEST(SkinConst, TablesHoldTheSkinNames) {
  EXPECT_EQ(std::string("PAGECONTROL") + TabSideSuffix[1], "PAGECONTROLBOTTOM");
  EXPECT_EQ(std::string("PAGECONTROL") + TabSideSuffix[0], "PAGECONTROL");
  EXPECT_STREQ(UpDownBtnSectionNames[2], "UPDOWNBTNRIGHT");
  EXPECT_STREQ(TabSectionNames[5], "TABTOPLAST");
  EXPECT_STREQ(ThirdPartyDefaultClasses[1], "TButton");
  EXPECT_STREQ(ThirdPartyDefaultClasses[0], " ");
  EXPECT_STREQ(ThirdPartyKindNames[22], "NativePaint");
  EXPECT_EQ(DpiPercentTable[3], 200);
  EXPECT_STREQ(DpiKeySuffix[2], "*150");
  for (int i = 0; i < 15; ++i) EXPECT_EQ(TexturePlacementMap[i], i);
  EXPECT_EQ(WindowShowModeInfo().Names.size(), 11u);
  EXPECT_EQ(WindowShowModeInfo().ValueOf("soShowNA"), SW_SHOWNA);
  EXPECT_EQ(DisabledKindInfo().ValueOf("dkGrayed"), 1);  // bit value 2
}

TEST(SkinConst, RescaleKeepsArrowLengthDerivedFromWidth) {
  const int w = ArrowWidth, l = ArrowLength, s = TabContentSpacing, i = TabContentIndent;
  RescaleUnitMetrics(100, 150);
  EXPECT_EQ(ArrowWidth, 11);  // MulDiv(7, 150, 100) rounds 10.5 up
  EXPECT_EQ(ArrowLength, 6);
  EXPECT_EQ(TabContentSpacing, 9);
  EXPECT_EQ(TabContentIndent, 6);
  RescaleUnitMetrics(150, 100);
  EXPECT_EQ(ArrowWidth, 7);
  EXPECT_EQ(ArrowLength, 4);
  ArrowWidth = w, ArrowLength = l, TabContentSpacing = s, TabContentIndent = i;
}

class Captions : public ::testing::Test {
 protected:
  void SetUp() override { lib_.Reset(LoadLibraryA("skin_core_strings.dll")); }
  TOwnedModule lib_;
};

TEST_F(Captions, SystemStringGetsTheSuffixAndDefaultsDoNot) {
  ASSERT_TRUE(lib_) << "test string library missing";
  struct Case {
    UINT id;
    UINT defaultRes;
    const char* suffix;
    const char* expected;
  };
  const Case cases[] = {
      {800, 58992, "", "Okay"},
      {31153, 58957, ":", "More colours:"},
      {16514, 58952, " - ", "Dec - "},
      {31154, 58957, ":", "Additional colors :"},  // missing: own default, no suffix added
      {4151, 58959, "", "Define colors"},
      {4151, 58910, "", "Create"},  // same system string, other default
      {4151, 0, "", "keep"},        // no default id: the caption stays as it was
  };
  for (const Case& c : cases) {
    std::string caption = "keep";
    LoadSystemCaption(caption, lib_.Get(), c.id, c.defaultRes, c.suffix);
    EXPECT_EQ(caption, c.expected) << c.id;
  }
  std::string text;
  LoadSystemCaptionText(text, lib_.Get(), 5273, "Font color:", ":");
  EXPECT_EQ(text, "Font color:");
  LoadSystemCaptionText(text, lib_.Get(), 800, "x", ":");
  EXPECT_EQ(text, "Okay:");
}

TEST_F(Captions, LibraryThatDidNotLoadLeavesTheCaption) {
  std::string caption = "before";
  LoadSystemCaption(caption, nullptr, 800, 58992, "");
  EXPECT_EQ(caption, "before");
  LoadSystemCaptionText(caption, nullptr, 800, "x", "");
  EXPECT_EQ(caption, "before");
}

TEST(SkinConst, StartUpFillsOwnCaptionsAndMetrics) {
  SkinConstInitialization();
  EXPECT_EQ(MetricCaptionHeight, GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(MetricHScrollWidth, GetSystemMetrics(SM_CXHSCROLL));
  EXPECT_GE(WindowsVersion, 5);
  EXPECT_EQ(LocCalculator, "Calculator");
  EXPECT_EQ(LocHex, "Hex - ");
  EXPECT_EQ(LocInvalidDate, "Invalid date");
  EXPECT_EQ(LocSkinDirectory, "Directory with skins:");
  EXPECT_EQ(LocFrameAdapterMisplaced, "TsFrameAdapter adapter must be placed on the handled frame");
  // A library that is not there leaves its captions empty.
  TOwnedModule colorui(LoadLibraryA("colorui.dll"));
  if (!colorui) {
    EXPECT_EQ(LocAddToCustomColors, "");
  }
  // Every caption of a library that loaded has a text (system or own).
  for (const std::string* c : {&LocOk, &LocCancel, &LocRestore, &LocMinimize, &LocFileOpen})
    EXPECT_FALSE(c->empty());
  SkinConstFinalization();
  EXPECT_EQ(LocCalculator, "");
}

}  // namespace
