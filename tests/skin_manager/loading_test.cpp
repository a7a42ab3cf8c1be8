// The road from a skin name to a skin: the skin directory's resolution,
// the lists of available skins, and how the name setter behaves when a skin
// is found nowhere or cannot be read.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "skin/engine/skin_loading.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/stored_skins.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/skin_commands.h"
#include "tests/skin_manager/skin_files.h"
#include "widgets/forms/message_box.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/string_lists.h"

namespace {

class LoadingTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetMessageBoxSink(&boxes_);
    manager_ = New<TsSkinManager>(nullptr);
    manager_->SetActive(false);
    manager_->OnAfterChange = TNotifyEvent::Of<&LoadingTest::AfterChange>(this);
  }
  void TearDown() override {
    TObject::Free(manager_);
    SetMessageBoxSink(previous_);
  }
  void AfterChange(TObject*) { ++afterChanges_; }
  void AddStoredSkin(const std::string& Name, bool WithData) {
    auto* skin = static_cast<TsStoredSkin*>(manager_->InternalSkins()->Add());
    skin->Name = Name;
    if (WithData) skin->PackedData()->WriteBuffer("QMZ", 3);
  }

  TsSkinManager* manager_ = nullptr;
  TBoxLog boxes_;
  int afterChanges_ = 0;

 private:
  TMessageBoxSink* previous_ = nullptr;
};

TEST_F(LoadingTest, SkinDirectoryResolvesAgainstTheExecutableFolder) {
  const std::string app = GetAppFolder();  // ends in a backslash
  const std::string parent = app.substr(0, app.find_last_of('\\', app.size() - 2) + 1);
  const struct {
    const char* typed;
    std::string full;
  } cases[] = {
      {".", app},
      {"Skins", app + "Skins"},
      {".\\Skins", app + "Skins"},
      {"./Skins", app + "Skins"},
      {"..\\Skins", parent + "Skins"},
      {"d:\\Skins", "d:\\Skins"},
      {"\\\\server\\Skins", "\\\\server\\Skins"},
  };
  for (const auto& c : cases) {
    manager_->SetSkinDirectory(c.typed);
    EXPECT_EQ(GetFullSkinDirectory(manager_), c.full) << c.typed;
    EXPECT_EQ(manager_->CommonSkinData->SkinDirectory, c.full) << c.typed;
  }
}

TEST_F(LoadingTest, AvailableSkinsByKindSortedWithStoredSkinsFirstFound) {
  TempFolder dir;
  dir.Folder("Zinc");
  dir.File("Zinc\\Options.dat");
  dir.Folder("Empty");  // no description: not a skin
  dir.File("beta.qmz");
  dir.File("Caps.QMZ");  // the extension test is case-sensitive
  dir.File("notes.txt");
  manager_->SetSkinDirectory(dir.Path());
  AddStoredSkin("Stored", false);

  const struct {
    int kind;
    std::vector<std::string> names;
  } cases[] = {
      {0, {"Stored", "Zinc"}},
      {1, {"beta", "Stored"}},
      {2, {"beta", "Stored", "Zinc"}},
  };
  TStringList list;
  for (const auto& c : cases) {
    std::string first;
    ListAvailableSkins(manager_, &list, c.kind, first);
    std::vector<std::string> got;
    for (int i = 0; i < list.Count(); ++i) got.push_back(list.Strings(i));
    EXPECT_EQ(got, c.names) << c.kind;
    EXPECT_EQ(first, "Stored");
  }

  // The skin list: stored skins first, then folders and archives as the
  // directory lists them.
  manager_->ListController->Rebuild();
  std::vector<std::string> entries;
  for (const TvlSkinListData& e : manager_->ListController->Entries) {
    entries.push_back(e.Name);
    EXPECT_EQ(e.PreviewIndex, -1) << e.Name;
  }
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], "Stored");
  std::sort(entries.begin() + 1, entries.end());
  EXPECT_EQ(entries[1], "Zinc");
  EXPECT_EQ(entries[2], "beta");
}

TEST_F(LoadingTest, ASkinFoundNowhereSwitchesTheManagerOff) {
  TempFolder dir;
  manager_->SetSkinDirectory(dir.Path());
  manager_->SetSkinName("Missing");
  manager_->SetActive(true);
  EXPECT_FALSE(manager_->Active());
  EXPECT_EQ(manager_->SkinName(), "Missing");
  EXPECT_FALSE(manager_->CommonSkinData->Loaded);
  EXPECT_FALSE(SkinLoading);
  EXPECT_TRUE(boxes_.Texts.empty());
  EXPECT_EQ(afterChanges_, 1);
}

TEST_F(LoadingTest, ArchivesAreFoundUnderTheResolvedDirectoryAndLoseOnlyTheirLastExtension) {
  // A relative skin directory is the executable's, wherever the process is.
  const std::string name = "skinrel" + std::to_string(GetCurrentProcessId());
  const std::string full = GetAppFolder() + name;
  CreateDirectoryA(full.c_str(), nullptr);
  const std::string archive = full + "\\my.qmzskin.qmz";
  CloseHandle(CreateFileA(archive.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  TempFolder elsewhere;
  // Puts the current folder back and removes the archive, also when a check fails.
  struct Restore {
    std::string cwd, archive, folder;
    ~Restore() {
      SetCurrentDirectoryA(cwd.c_str());
      DeleteFileA(archive.c_str());
      RemoveDirectoryA(folder.c_str());
    }
  } restore{[] {
              char cwd[MAX_PATH];
              GetCurrentDirectoryA(MAX_PATH, cwd);
              return std::string(cwd);
            }(),
            archive, full};
  SetCurrentDirectoryA(elsewhere.Path().c_str());

  manager_->SetSkinDirectory(name);
  TStringList list;
  std::string first;
  ListAvailableSkins(manager_, &list, 1, first);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Strings(0), "my.qmzskin");
  manager_->ListController->Rebuild();
  ASSERT_EQ(manager_->ListController->Entries.size(), 1u);
  EXPECT_EQ(manager_->ListController->Entries[0].Name, "my.qmzskin");
  manager_->SetSkinName("my.qmzskin.QMZ");
  manager_->SetActive(true);
  // Found, though not under the current folder; the empty file is no archive.
  EXPECT_TRUE(manager_->PackedMode);
  ASSERT_EQ(boxes_.Texts.size(), 1u);
  EXPECT_NE(boxes_.Texts[0].find("\"my.qmzskin\""), std::string::npos) << boxes_.Texts[0];
}

TEST_F(LoadingTest, ArchiveExtensionIsCutOnlyFromLongerNames) {
  TempFolder dir;
  manager_->SetSkinDirectory(dir.Path());
  const struct {
    const char* typed;
    const char* stored;
  } cases[] = {{"Steel.QMZ", "Steel"}, {"a.qMz", "a"}, {".qmz", ".qmz"}, {"abc", "abc"}};
  for (const auto& c : cases) {
    manager_->SetActive(false);
    manager_->SetSkinName(c.typed);  // inactive: stored as typed
    EXPECT_EQ(manager_->SkinName(), c.typed);
    manager_->SetActive(true);  // cut, then found nowhere: off again
    EXPECT_EQ(manager_->SkinName(), c.stored) << c.typed;
    EXPECT_FALSE(manager_->Active());
  }
}

TEST_F(LoadingTest, ASkinThatCannotBeReadIsReportedAndTheOldNameKept) {
  TempFolder dir;
  dir.File("Steel.qmz");
  dir.Folder("Zinc");
  // A fixed-width field that is not a number ends the load.
  dir.Text("Zinc\\Options.dat", "[GLOBALINFO]\nCLOSE=@00x0 0000 0010 0010 1 0\n");
  manager_->SetSkinDirectory(dir.Path());
  manager_->SetSkinName("Old");
  // A stored skin keeps the manager on when "Old" is found nowhere.
  AddStoredSkin("Keep", true);
  manager_->SetActive(true);
  ASSERT_TRUE(manager_->Active());
  ASSERT_EQ(boxes_.Texts.size(), 1u);
  EXPECT_NE(boxes_.Texts[0].find("\"Keep\""), std::string::npos);
  EXPECT_EQ(manager_->SkinName(), "Old");

  const struct {
    const char* name;
    bool packed;
  } cases[] = {{"Steel", true}, {"Zinc", false}};
  for (const auto& c : cases) {
    boxes_.Texts.clear();
    manager_->SetSkinName(c.name);
    EXPECT_EQ(manager_->PackedMode, c.packed) << c.name;
    ASSERT_EQ(boxes_.Texts.size(), 1u) << c.name;
    EXPECT_NE(boxes_.Texts[0].find(std::string("\"") + c.name + "\""), std::string::npos);
    EXPECT_EQ(manager_->SkinName(), "Old");
    EXPECT_TRUE(manager_->Active());
    EXPECT_FALSE(SkinLoading);
  }
}

TEST_F(LoadingTest, StoredSkinsStandInForMissingOnes) {
  TempFolder dir;
  manager_->SetSkinDirectory(dir.Path());
  AddStoredSkin("Empty", false);
  AddStoredSkin("Full", true);
  manager_->SetActive(true);
  // An unknown name takes the first stored skin, whose empty data fails
  // the load: the failure is shown, the old name comes back, and the
  // manager stays on with what was loaded (nothing).
  manager_->SetSkinName("Unknown");
  EXPECT_TRUE(manager_->Active());
  EXPECT_FALSE(manager_->PackedMode);
  ASSERT_EQ(boxes_.Texts.size(), 2u);  // switching on tried the empty name too
  for (const std::string& text : boxes_.Texts)
    EXPECT_NE(text.find("\"Empty\""), std::string::npos) << text;
  EXPECT_EQ(manager_->SkinName(), "");
  EXPECT_TRUE(manager_->CommonSkinData->Loaded);
}

}  // namespace
