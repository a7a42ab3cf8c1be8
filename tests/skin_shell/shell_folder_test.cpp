// TvlShellFolder: its lists, its parent, its level and the folder reference
// it holds.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "skin/controls/shell_folder.h"
#include "tests/skin_shell/shell_fakes.h"

namespace {

using Bytes = std::vector<uint8_t>;

// One item of Size bytes filled with Fill, then the terminator.
ITEMIDLIST* OneItemList(int size, uint8_t fill) {
  ITEMIDLIST* list = AllocItemIdList(size_t(size) + 2);
  auto* p = reinterpret_cast<uint8_t*>(list);
  p[0] = uint8_t(size);
  std::memset(p + 2, fill, size_t(size) - 2);
  return list;
}

Bytes BytesOf(const ITEMIDLIST* list) {
  const auto* p = reinterpret_cast<const uint8_t*>(list);
  return Bytes(p, p + ItemIdListSize(list));
}

TEST(ShellFolder, HoldsOneFolderReferenceAndGivesItBack) {
  TCountingFolder shell;
  TItemIdListOwner item(OneItemList(20, 0x11));
  {
    TvlShellFolder folder(nullptr, &shell, item.List);
    EXPECT_EQ(shell.Refs, 2);
    EXPECT_EQ(folder.ShellFolder(), &shell);
    EXPECT_EQ(folder.ShellFolder2(), nullptr);
    EXPECT_EQ(folder.ShellDetails(), nullptr);
    ASSERT_NE(folder.Strings(), nullptr);
    EXPECT_EQ(folder.Strings()->Count(), 0);
  }
  EXPECT_EQ(shell.Refs, 1);
}

TEST(ShellFolder, ListsAreCopiesAndTheAbsoluteOneJoinsTheParents) {
  TCountingFolder shell;
  TItemIdListOwner outer(OneItemList(20, 0x11)), inner(OneItemList(14, 0x22));
  // Without a parent the absolute list starts with the desktop's, which is
  // empty.
  TvlShellFolder top(nullptr, &shell, outer.List);
  EXPECT_NE(top.RelativeIdList(), outer.List);
  EXPECT_EQ(BytesOf(top.RelativeIdList()), BytesOf(outer.List));
  EXPECT_EQ(BytesOf(top.AbsoluteIdList()), BytesOf(outer.List));

  TvlShellFolder child(&top, &shell, inner.List);
  EXPECT_EQ(BytesOf(child.RelativeIdList()), BytesOf(inner.List));
  TItemIdListOwner want(JoinItemIdLists(outer.List, inner.List));
  EXPECT_EQ(ItemIdListSize(child.AbsoluteIdList()), 36u);
  EXPECT_EQ(BytesOf(child.AbsoluteIdList()), BytesOf(want.List));
}

TEST(ShellFolder, ParentDefaultsToTheDesktopAndLevelCountsTheParentsAncestors) {
  TCountingFolder shell;
  TItemIdListOwner item(OneItemList(6, 0x33));
  // A stand-in desktop: folders made without a parent hang under it.
  auto desktop = std::make_unique<TvlShellFolder>(nullptr, &shell, item.List);
  TvlShellFolder* const saved = std::exchange(DesktopFolder, desktop.get());
  std::vector<std::unique_ptr<TvlShellFolder>> chain;
  chain.push_back(std::make_unique<TvlShellFolder>(nullptr, &shell, item.List));
  for (int i = 0; i < 3; ++i)
    chain.push_back(std::make_unique<TvlShellFolder>(chain.back().get(), &shell, item.List));
  DesktopFolder = saved;

  EXPECT_EQ(desktop->Parent(), nullptr);
  EXPECT_EQ(chain[0]->Parent(), desktop.get());
  const int levels[] = {0, 1, 2, 3};
  for (size_t i = 0; i < chain.size(); ++i) {
    EXPECT_EQ(chain[i]->Level(), levels[i]) << "folder " << i;
    if (i) {
      EXPECT_EQ(chain[i]->Parent(), chain[i - 1].get()) << "folder " << i;
    }
  }
  // Each level adds its item to the absolute list.
  EXPECT_EQ(ItemIdListSize(chain[3]->AbsoluteIdList()), 4u * 6 + 2);
}

TEST(ShellFolder, WithoutADesktopAFolderKeepsNoParent) {
  TCountingFolder shell;
  TItemIdListOwner item(OneItemList(6, 0x33));
  TvlShellFolder* const saved = std::exchange(DesktopFolder, nullptr);
  TvlShellFolder folder(nullptr, &shell, item.List);
  DesktopFolder = saved;
  EXPECT_EQ(folder.Parent(), nullptr);
  EXPECT_EQ(folder.Level(), 0);
}

}  // namespace
