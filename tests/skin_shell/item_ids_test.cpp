// Item-id lists built by hand: sizes, the walk from item to item, copies and
// joins, all through the shell's allocator.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "skin/controls/shell_item_ids.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Items of the given sizes (each at least 2), with distinct fill bytes, and
// the terminator.
Bytes ListBytes(std::initializer_list<int> sizes) {
  Bytes b;
  uint8_t fill = 0x41;
  for (int size : sizes) {
    b.push_back(uint8_t(size));
    b.push_back(uint8_t(size >> 8));
    for (int i = 2; i < size; ++i) b.push_back(fill);
    ++fill;
  }
  b.push_back(0);
  b.push_back(0);
  return b;
}

// The list in the shell's memory, freed with the test.
struct TShellList : TItemIdListOwner {
  explicit TShellList(const Bytes& b) : TItemIdListOwner(AllocItemIdList(b.size())) {
    std::memcpy(List, b.data(), b.size());
  }
};

Bytes BytesOf(const ITEMIDLIST* list) {
  const auto* p = reinterpret_cast<const uint8_t*>(list);
  return Bytes(p, p + ItemIdListSize(list));
}

TEST(ItemIdLists, SizeCountsEveryItemAndTheTerminator) {
  struct Case {
    std::initializer_list<int> Items;
    size_t Size;
  };
  const Case cases[] = {{{20, 14}, 36}, {{}, 2}, {{3}, 5}, {{300, 2, 7}, 311}};
  for (const Case& c : cases) {
    TShellList list(ListBytes(c.Items));
    EXPECT_EQ(ItemIdListSize(list.List), c.Size) << c.Items.size() << " items";
  }
  EXPECT_EQ(ItemIdListSize(nullptr), 0u);
}

TEST(ItemIdLists, NextItemStepsByTheItemsOwnSize) {
  TShellList list(ListBytes({20, 14}));
  auto* first = reinterpret_cast<uint8_t*>(list.List);
  ITEMIDLIST* second = NextItemId(list.List);
  EXPECT_EQ(reinterpret_cast<uint8_t*>(second) - first, 20);
  EXPECT_EQ(second->mkid.cb, 14);
  EXPECT_EQ(NextItemId(second)->mkid.cb, 0);
}

TEST(ItemIdLists, AllocatedBlocksAreZeroFilled) {
  TItemIdListOwner block(AllocItemIdList(64));
  ASSERT_NE(block.List, nullptr);
  const auto* p = reinterpret_cast<const uint8_t*>(block.List);
  EXPECT_EQ(Bytes(p, p + 64), Bytes(64, 0));
}

TEST(ItemIdLists, CopyIsAnEqualListInNewMemory) {
  const Bytes bytes = ListBytes({20, 14});
  TShellList list(bytes);
  TItemIdListOwner copy(CopyItemIdList(list.List));
  ASSERT_NE(copy.List, nullptr);
  EXPECT_NE(copy.List, list.List);
  EXPECT_EQ(BytesOf(copy.List), bytes);
  EXPECT_EQ(CopyItemIdList(nullptr), nullptr);
}

TEST(ItemIdLists, JoinKeepsOneTerminatorAtTheEnd) {
  struct Case {
    const char* Name;
    std::initializer_list<int> First;  // empty with FirstNull: no list at all
    bool FirstNull;
    std::initializer_list<int> Second;
    std::initializer_list<int> Joined;
  };
  const Case cases[] = {
      {"nil and a list", {}, true, {20, 14}, {20, 14}},
      {"empty and a list", {}, false, {20, 14}, {20, 14}},
      {"two lists", {20}, false, {14, 6}, {20, 14, 6}},
      {"a list and an empty one", {20, 14}, false, {}, {20, 14}},
  };
  for (const Case& c : cases) {
    TShellList second(ListBytes(c.Second));
    Bytes firstBytes = ListBytes(c.First);
    TShellList first(firstBytes);
    TItemIdListOwner joined(JoinItemIdLists(c.FirstNull ? nullptr : first.List, second.List));
    ASSERT_NE(joined.List, nullptr) << c.Name;
    // The fill bytes of the second list's items follow the first's.
    Bytes want = ListBytes(c.Joined);
    const Bytes head = ListBytes(c.First), tail = ListBytes(c.Second);
    if (!c.FirstNull) {
      want.assign(head.begin(), head.end() - 2);
      want.insert(want.end(), tail.begin(), tail.end());
    }
    EXPECT_EQ(BytesOf(joined.List), want) << c.Name;
    EXPECT_EQ(ItemIdListSize(joined.List), ListBytes(c.Joined).size()) << c.Name;
  }
}

TEST(ItemIdLists, DesktopListIsTheEmptyList) {
  TItemIdListOwner desktop(GetDesktopItemIdList());
  ASSERT_NE(desktop.List, nullptr);
  EXPECT_EQ(ItemIdListSize(desktop.List), 2u);
  IShellFolder* folder = GetDesktopShellFolder();
  ASSERT_NE(folder, nullptr);
  folder->Release();
}

}  // namespace
