#include <gtest/gtest.h>

#include "widgets/rtl/classes.h"

namespace {

std::string Joined(const TStrings& s) {
  std::string r;
  for (int i = 0; i < s.Count(); ++i) r += (i ? "," : "") + s.Strings(i);
  return r;
}

TEST(TListTest, NilEntriesAreKeptAndCounted) {
  TList l;
  int a = 1, b = 2;
  l.Add(&a);
  l.Add(nullptr);
  l.Add(&b);
  l.Add(nullptr);
  EXPECT_EQ(l.Count(), 4);
  EXPECT_EQ(l[1], nullptr);
  EXPECT_EQ(l.IndexOf(nullptr), 1);
  EXPECT_EQ(l.Remove(&b), 2);
  l.SetCount(5);
  EXPECT_EQ(l[4], nullptr);
  l.Pack();
  EXPECT_EQ(l.Count(), 1);
  EXPECT_THROW(l.Items(1), EListError);
  EXPECT_THROW(l.Delete(-1), EListError);
}

TEST(TStringListTest, SortedFindHonoursCaseSensitivity) {
  TStringList l;
  l.Add("Gamma");
  l.Add("ABC");
  l.Add("beta");
  l.SetSorted(true);
  int i = -1;
  EXPECT_TRUE(l.Find("abc", i));
  EXPECT_EQ(i, 0);
  EXPECT_EQ(l.IndexOf("GAMMA"), 2);

  l.SetCaseSensitive(true);  // sorts again under the byte order
  EXPECT_EQ(Joined(l), "ABC,Gamma,beta");
  EXPECT_FALSE(l.Find("abc", i));
  EXPECT_EQ(l.IndexOf("abc"), -1);
  EXPECT_TRUE(l.Find("ABC", i));
  EXPECT_EQ(i, 0);
  EXPECT_FALSE(l.Find("gamma", i));
  EXPECT_TRUE(l.Find("beta", i));
  EXPECT_EQ(i, 2);
  // A miss reports where the string would go.
  EXPECT_FALSE(l.Find("C", i));
  EXPECT_EQ(i, 1);
}

TEST(TStringListTest, SortedAddHandlesDuplicatesByRule) {
  struct Case {
    TDuplicates dup;
    bool throws;
    const char* after;
  } cases[] = {
      {dupIgnore, false, "a,b"},
      {dupAccept, false, "a,B,b"},
      {dupError, true, "a,b"},
  };
  for (const Case& c : cases) {
    TStringList l;
    l.SetSorted(true);
    l.SetDuplicates(c.dup);
    l.Add("b");
    l.Add("a");
    if (c.throws)
      EXPECT_THROW(l.Add("B"), EStringListError);
    else
      l.Add("B");
    EXPECT_EQ(Joined(l), c.after) << c.dup;
  }
  TStringList dups;
  dups.SetDuplicates(dupAccept);
  dups.SetSorted(true);
  for (const char* s : {"x", "x", "a", "x"}) dups.Add(s);
  int i;
  ASSERT_TRUE(dups.Find("x", i));
  EXPECT_EQ(i, 1);  // the first of the equal strings
}

TEST(TStringListTest, SortedListRejectsPositionalEdits) {
  TStringList l;
  l.SetSorted(true);
  l.Add("a");
  EXPECT_THROW(l.Insert(0, "b"), EStringListError);
  EXPECT_THROW(l.SetStrings(0, "z"), EStringListError);
}

TEST(TStringListTest, TextUsesCrLfAndSplitsEveryLineBreak) {
  struct Case {
    const char* text;
    const char* items;
    int count;
  } cases[] = {
      {"a\r\nb\r\n", "a,b", 2},  {"a\nb", "a,b", 2}, {"a\rb\r", "a,b", 2},
      {"a\r\n\r\nb", "a,,b", 3}, {"", "", 0},        {"\r\n", "", 1},
      {"x\n\r", "x,", 2},
  };
  for (const Case& c : cases) {
    TStringList l;
    l.SetText(c.text);
    EXPECT_EQ(l.Count(), c.count) << c.text;
    EXPECT_EQ(Joined(l), c.items);
  }
  TStringList l;
  l.Add("one");
  l.Add("");
  l.Add("three");
  EXPECT_EQ(l.Text(), "one\r\n\r\nthree\r\n");
  TStringList back;
  back.SetText(l.Text());
  EXPECT_TRUE(back.Equals(l));
}

TEST(TStringListTest, ObjectsTravelWithTheirStrings) {
  TStringList l;
  TStringList o1, o2;
  l.AddObject("b", &o2);
  l.AddObject("a", &o1);
  l.Sort();
  EXPECT_EQ(l.Objects(0), &o1);
  EXPECT_EQ(l.Objects(1), &o2);
  TStringList copy;
  copy.Assign(&l);
  EXPECT_EQ(copy.Objects(1), &o2);
  EXPECT_EQ(copy.IndexOfObject(&o1), 0);
  l.Move(0, 1);
  EXPECT_EQ(Joined(l), "b,a");
  EXPECT_EQ(l.Objects(1), &o1);
}

struct ChangeCounter {
  int changing = 0, changed = 0;
  void Changing(TObject*) { ++changing; }
  void Changed(TObject*) { ++changed; }
};

TEST(TStringListTest, UpdateBracketsReportOneChange) {
  TStringList l;
  ChangeCounter cc;
  l.OnChanging = Bind<TNotifyEvent, &ChangeCounter::Changing>(&cc);
  l.OnChange = Bind<TNotifyEvent, &ChangeCounter::Changed>(&cc);
  l.Add("a");
  EXPECT_EQ(cc.changed, 1);
  l.BeginUpdate();
  l.BeginUpdate();
  l.Add("b");
  l.Add("c");
  l.EndUpdate();
  EXPECT_EQ(cc.changed, 1);
  l.EndUpdate();
  EXPECT_EQ(cc.changing, 2);
  EXPECT_EQ(cc.changed, 2);
  l.SetText("x\ny");
  EXPECT_EQ(cc.changed, 3);
}

// A TStrings that keeps its items elsewhere, as a control's item list does.
class TArrayStrings : public TStrings {
 public:
  std::vector<std::string> items;
  std::vector<std::string> calls;
  void Clear() override {
    calls.push_back("Clear");
    items.clear();
  }
  void Delete(int i) override { items.erase(items.begin() + i); }
  void Insert(int i, const std::string& s) override {
    calls.push_back("Insert " + s);
    items.insert(items.begin() + i, s);
  }

 protected:
  std::string Get(int i) const override { return items.at(static_cast<size_t>(i)); }
  int GetCount() const override { return static_cast<int>(items.size()); }
  void SetUpdateState(bool updating) override { calls.push_back(updating ? "Begin" : "End"); }
};

TEST(TStringsTest, AbstractBaseWorksThroughTheVirtualPrimitives) {
  TArrayStrings s;
  TStringList src;
  src.SetText("a\nb");
  s.Assign(&src);
  EXPECT_EQ(Joined(s), "a,b");
  std::vector<std::string> expected = {"Begin", "Clear", "Insert a", "Insert b", "End"};
  EXPECT_EQ(s.calls, expected);
  s.SetStrings(1, "c");  // the base puts through Delete + Insert
  EXPECT_EQ(Joined(s), "a,c");
  EXPECT_EQ(s.IndexOf("C"), 1);
  EXPECT_EQ(s.Text(), "a\r\nc\r\n");
}

}  // namespace
