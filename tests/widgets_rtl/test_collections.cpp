#include <gtest/gtest.h>

#include "widgets/rtl/classes.h"

namespace {

class TNamedItem : public TCollectionItem {
  DECLARE_CLASS(TNamedItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  std::string Name;
  void SetName(const std::string& v) {
    Name = v;
    Changed(false);
  }
  std::string GetDisplayName() const override { return Name.empty() ? ClassName() : Name; }
  void Assign(TPersistent* Source) override {
    if (auto* src = dynamic_cast<TNamedItem*>(Source)) {
      SetName(src->Name);
      return;
    }
    TCollectionItem::Assign(Source);
  }
};

const TClassInfo& TNamedItem::StaticClass() {
  static const TClassInfo info("TNamedItem", &TCollectionItem::StaticClass());
  return info;
}

// Records what its Update sees.
class TLogCollection : public TCollection {
 public:
  TLogCollection() : TCollection(CollectionItemClassOf<TNamedItem>()) {}
  std::vector<std::string> log;
  void Update(TCollectionItem* item) override {
    log.push_back(item ? "item " + item->GetDisplayName() : std::string("all"));
  }
  TNamedItem* Item(int i) { return static_cast<TNamedItem*>(Items(i)); }
};

TEST(TCollectionTest, AddInsertDeleteKeepOrderAndReportChanges) {
  TLogCollection c;
  auto* a = static_cast<TNamedItem*>(c.Add());
  a->SetName("a");
  static_cast<TNamedItem*>(c.Add())->SetName("c");
  static_cast<TNamedItem*>(c.Insert(1))->SetName("b");
  ASSERT_EQ(c.Count(), 3);
  EXPECT_EQ(c.Item(1)->Name, "b");
  EXPECT_EQ(c.Item(2)->Index(), 2);
  EXPECT_EQ(a->Collection(), &c);
  EXPECT_EQ(a->GetOwner(), &c);
  // Each add is a change of the list; a named item's change passes the item.
  std::vector<std::string> expected = {"all", "item a", "all", "item c", "all", "all", "item b"};
  EXPECT_EQ(c.log, expected);

  c.log.clear();
  c.Delete(0);
  EXPECT_EQ(c.Count(), 2);
  EXPECT_EQ(c.Item(0)->Name, "b");
  EXPECT_EQ(c.log, std::vector<std::string>{"all"});
  EXPECT_THROW(c.Items(2), EListError);
}

TEST(TCollectionTest, UpdateBracketsCollapseIntoOneChange) {
  TLogCollection c;
  c.BeginUpdate();
  for (const char* n : {"x", "y"}) static_cast<TNamedItem*>(c.Add())->SetName(n);
  c.Clear();
  EXPECT_TRUE(c.log.empty());
  c.EndUpdate();
  EXPECT_EQ(c.log, std::vector<std::string>{"all"});
}

TEST(TCollectionTest, AssignCopiesItemsAndFreeingAnItemLeavesTheCollection) {
  TLogCollection src, dst;
  for (const char* n : {"p", "q"}) static_cast<TNamedItem*>(src.Add())->SetName(n);
  static_cast<TNamedItem*>(dst.Add())->SetName("old");
  dst.log.clear();
  dst.Assign(&src);
  ASSERT_EQ(dst.Count(), 2);
  EXPECT_EQ(dst.Item(1)->Name, "q");
  EXPECT_EQ(dst.log, std::vector<std::string>{"all"});

  TObject::Free(dst.Item(0));
  EXPECT_EQ(dst.Count(), 1);
  EXPECT_EQ(dst.Item(0)->Name, "q");

  TNamedItem* moved = dst.Item(0);
  moved->SetCollection(&src);
  EXPECT_EQ(dst.Count(), 0);
  EXPECT_EQ(src.Count(), 3);
  EXPECT_EQ(moved->Index(), 2);
  EXPECT_EQ(src.FindItemID(moved->ID()), moved);
}

}  // namespace
