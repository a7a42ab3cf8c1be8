#include <gtest/gtest.h>

#include <memory>

#include "reader_fixture.h"
#include "widgets/rtl/reflection.h"

namespace {

TEST(ReflectionTest, PathsWalkSubObjectsAndAbsentPropertiesAreNoError) {
  TTestWidget w(nullptr);
  TObject* target = nullptr;
  const TPropInfo* p = FindPropPath(&w, "Font.Name", &target);
  ASSERT_TRUE(p);
  EXPECT_EQ(target, w.Font);
  EXPECT_TRUE(PropExists(&w, "font.size"));
  EXPECT_FALSE(PropExists(&w, "Font.Weight"));
  EXPECT_FALSE(PropExists(&w, "Caption.Length"));  // not an object
  EXPECT_FALSE(PropExists(&w, "Buddy.Caption"));   // nil reference
  TTestWidget other(nullptr);
  w.Buddy = &other;
  EXPECT_TRUE(PropExists(&w, "Buddy.Caption"));
  SetStrProp(&w, "Buddy.Caption", "via path");
  EXPECT_EQ(other.Caption, "via path");
  EXPECT_THROW(GetOrdProp(&w, "NoSuchProp"), EPropertyError);
  EXPECT_THROW(GetOrdProp(&w, "Caption"), EPropertyError);
  EXPECT_THROW(SetObjectProp(&w, "Font", nullptr), EPropertyError);  // read-only
}

TEST(ReflectionTest, TypedAccessGoesThroughTheSetters) {
  TTestWidget w(nullptr);
  Log().clear();
  SetOrdProp(&w, "Position", 12);
  EXPECT_EQ(w.Position, 12);
  EXPECT_EQ(Log().back(), ".Position=12 unbound");
  SetOrdProp(&w, "Font.Size", 14);
  EXPECT_EQ(GetOrdProp(&w, "Font.Size"), 14);
  SetFloatProp(&w, "Ratio", 2.5);
  EXPECT_DOUBLE_EQ(GetFloatProp(&w, "Ratio"), 2.5);
  EXPECT_EQ(GetObjectProp(&w, "Items"), w.Items);
  EXPECT_EQ(GetEnumProp(&w, "Align"), "taNone");
  SetEnumProp(&w, "Align", "TACLIENT");
  EXPECT_EQ(w.Align, taClient);
  EXPECT_THROW(SetEnumProp(&w, "Align", "alClient"), EPropertyError);
  SetEnumProp(&w, "Enabled", "False");
  EXPECT_FALSE(w.Enabled);
  EXPECT_EQ(GetEnumProp(&w, "Enabled"), "False");
}

TEST(ReflectionTest, SetsHaveABracketlessTextForm) {
  TTestWidget w(nullptr);
  EXPECT_EQ(GetSetProp(&w, "Anchors"), "akLeft,akTop");
  SetSetProp(&w, "Anchors", "akRight,akBottom");
  EXPECT_EQ(w.Anchors, (1 << akRight) | (1 << akBottom));
  SetSetProp(&w, "Anchors", "[akLeft, akTop]");
  EXPECT_EQ(GetSetProp(&w, "Anchors"), "akLeft,akTop");
  SetSetProp(&w, "Anchors", "");
  EXPECT_EQ(GetSetProp(&w, "Anchors"), "");
  EXPECT_THROW(SetSetProp(&w, "Anchors", "akLeft,akUp"), EPropertyError);
  EXPECT_THROW(SetSetProp(&w, "Anchors", "akLeft,"), EPropertyError);
}

TEST(ReflectionTest, MethodsCanBeReadRecognisedAssignedAndCleared) {
  TReaderRoot root(nullptr);
  TTestWidget w(nullptr);
  EXPECT_TRUE(PropIsMethod(&w, "OnChange"));
  EXPECT_FALSE(PropIsMethod(&w, "Caption"));
  EXPECT_FALSE(GetMethodProp(&w, "OnChange"));
  TMethod m = TNotifyEvent::Of<&TReaderRoot::WidgetChange>(&root).Method();
  SetMethodProp(&w, "OnChange", m);
  EXPECT_EQ(GetMethodProp(&w, "OnChange"), m);
  w.SetName("W");
  w.OnChange(&w);
  EXPECT_EQ(root.Calls, std::vector<std::string>{"WidgetChange W"});
  SetMethodProp(&w, "OnChange", TMethod{});
  EXPECT_FALSE(w.OnChange);
  EXPECT_THROW(SetMethodProp(&w, "Position", m), EPropertyError);
}

}  // namespace
