// INI sections of the skin description and properties by name.
#include <gtest/gtest.h>

#include <memory>

#include "skin/engine/ini_sections.h"
#include "skin/engine/prop_access.h"
#include "widgets/rtl/components.h"
#include "widgets/rtl/string_lists.h"

namespace {

// Frees the inner lists a parse created.
struct SectionList {
  TStringList list;
  ~SectionList() {
    for (int i = 0; i < list.Count(); ++i) delete list.Objects(i);
  }
};

TEST(IniSections, ParseKeepsSectionsInOrderAndDropsStrayLines) {
  TStringList lines;
  lines.SetText("stray=1\n[BUTTON]\nColor=$FF\n;comment\n\nHOT=0x1F\n[]\nx=1\n[BUTTON]\nColor=9\n");
  SectionList s;
  s.list.SetCaseSensitive(true);
  ParseIniSections(lines, s.list);
  ASSERT_EQ(s.list.Count(), 3);
  EXPECT_EQ(s.list.Strings(0), "BUTTON");
  EXPECT_EQ(s.list.Strings(1), "");
  auto* button = dynamic_cast<TStringList*>(s.list.Objects(0));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Text(), "Color=$FF\r\nHOT=0x1F\r\n");
  // Repeated names are separate entries; lookups find the first.
  EXPECT_EQ(ReadSectionString(s.list, "BUTTON", "color", "?"), "$FF");
  EXPECT_EQ(ReadSectionString(s.list, "button", "Color", "?"), "?");  // the list is case-sensitive
}

TEST(IniSections, ReadSectionIntegerForms) {
  TStringList lines;
  lines.SetText("[S]\nA=0x1F\nB=$1F\nC=12\nD=0x\nE=abc\nF= 7 \nG=-3\nH=0X10\n");
  SectionList s;
  ParseIniSections(lines, s.list);
  struct Case {
    const char* key;
    int expected;
  };
  for (const Case& c : {Case{"A", 31}, Case{"B", 31}, Case{"C", 12}, Case{"D", -1}, Case{"E", -1},
                        Case{"Z", -1}, Case{"G", -3}, Case{"H", 16}})
    EXPECT_EQ(ReadSectionInteger(s.list, "S", c.key, -1), c.expected) << c.key;
  EXPECT_EQ(ReadSectionString(s.list, "S", "F", ""), " 7 ");  // not trimmed
  EXPECT_EQ(ReadSectionInteger(s.list, "NONE", "A", 5), 5);
}

// A class with published properties of each kind the routines read.
class TPropProbe : public TPersistent {
  DECLARE_CLASS(TPropProbe, TPersistent)
 public:
  int64_t options = 0;
  int count = 7;
  TPersistent* child = nullptr;
};

const TEnumInfo& ProbeMembers() {
  static const TEnumInfo e{{"Foo", "FooBar", "Baz", "Bar", "a", "b", "c"}};
  return e;
}

}  // namespace

const TClassInfo& TPropProbe::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TPropProbe> b("TPropProbe", &TPersistent::StaticClass());
    b.Set(
        "Options", ProbeMembers(), [](const TPropProbe& o) { return o.options; },
        [](TPropProbe& o, int v) { o.options = v; }, 0);
    b.Int(
        "Count", [](const TPropProbe& o) { return o.count; },
        [](TPropProbe& o, int v) { o.count = v; });
    b.Obj(
        "Child", TPropKind::Object, TPersistent::StaticClass(),
        [](const TPropProbe& o) -> TObject* { return o.child; }, nullptr);
    return b.Done();
  }();
  return info;
}

namespace {

int64_t Bits(std::initializer_list<int> members) {
  int64_t v = 0;
  for (int m : members) v |= int64_t{1} << m;
  return v;
}

TEST(PropsByName, MissingPropertiesAreNoError) {
  TPropProbe p;
  EXPECT_TRUE(PropExists(&p, "Count"));
  EXPECT_FALSE(PropExists(&p, "Nope"));
  EXPECT_EQ(GetOrdPropByName(&p, "Nope"), -1);
  EXPECT_EQ(GetOrdPropByName(&p, "Count"), 7);
  SetOrdPropByName(&p, "Nope", 3);
  SetOrdPropByName(&p, "Count", 3);
  EXPECT_EQ(p.count, 3);
  EXPECT_EQ(GetObjectPropByName(&p, "Nope"), nullptr);
  TPersistent child;
  p.child = &child;
  EXPECT_EQ(GetObjectPropByName(&p, "Child"), &child);
  EXPECT_FALSE(SetPropHasMember(&p, "Nope", "Foo"));
  ChangeSetPropMember(&p, "Nope", "Foo", true);
  ChangeSetPropMember(nullptr, "Options", "Foo", true);
}

TEST(PropsByName, SetMembersCompareAsWholeNames) {
  struct Case {
    int64_t before;
    const char* member;
    bool include;
    int64_t after;
  };
  const Case cases[] = {
      {Bits({1}), "Foo", true, Bits({0, 1})},       // Foo beside FooBar
      {Bits({1, 2}), "Foo", false, Bits({1, 2})},   // "FooBar,Baz" keeps FooBar
      {Bits({4, 5, 6}), "b", false, Bits({4, 6})},  // middle of a,b,c
      {Bits({4, 5, 6}), "a", false, Bits({5, 6})},  // first
      {Bits({4, 5, 6}), "c", false, Bits({4, 5})},  // last
      {Bits({4}), "a", false, 0},                   // only member
      {0, "Bar", true, Bits({3})},                  // into an empty set
      {Bits({3}), "Bar", true, Bits({3})},          // already present
      {Bits({3}), "Baz", false, Bits({3})},         // absent
      {Bits({3}), "Unknown", true, Bits({3})},      // not a member of the type
  };
  for (const Case& c : cases) {
    TPropProbe p;
    p.options = c.before;
    ChangeSetPropMember(&p, "Options", c.member, c.include);
    EXPECT_EQ(p.options, c.after) << c.member << " " << c.include << " from " << c.before;
  }
  TPropProbe p;
  p.options = Bits({1});
  EXPECT_TRUE(SetPropHasMember(&p, "Options", "FooBar"));
  EXPECT_FALSE(SetPropHasMember(&p, "Options", "Foo"));
  EXPECT_FALSE(SetPropHasMember(&p, "Options", "foobar"));  // case-sensitive
}

}  // namespace
