// The shell unit's start-up and shutdown with the platform's calls swapped:
// OLE paired only with a successful start, a desktop folder that fails
// softly, and the system's small-icon list that is shared, never destroyed.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "skin/controls/alpha_image_list.h"
#include "skin/controls/shell_folder.h"
#include "tests/skin_shell/shell_fakes.h"

namespace {

struct TCalls {
  int OleInit = 0;
  int OleUninit = 0;
  HRESULT OleResult = S_OK;
  HRESULT LocationResult = S_OK;
  HRESULT FolderResult = S_OK;
  // What the small-icon query got and answers.
  std::string Path;
  UINT InfoSize = 0;
  UINT Flags = 0;
  DWORD_PTR IconList = 0;
  bool FileInfoBound = true;
};
TCalls Calls;
TCountingFolder FakeDesktop;

HRESULT WINAPI FakeOleInitialize(LPVOID) {
  ++Calls.OleInit;
  return Calls.OleResult;
}
void WINAPI FakeOleUninitialize() {
  ++Calls.OleUninit;
}
HRESULT WINAPI FakeLocation(HWND, int Folder, LPITEMIDLIST* List) {
  *List = nullptr;
  if (FAILED(Calls.LocationResult)) return Calls.LocationResult;
  if (Folder != CSIDL_DESKTOP) return E_INVALIDARG;
  *List = AllocItemIdList(2);
  return S_OK;
}
HRESULT WINAPI FakeDesktopFolder(IShellFolder** Folder) {
  *Folder = nullptr;
  if (FAILED(Calls.FolderResult)) return Calls.FolderResult;
  FakeDesktop.AddRef();
  *Folder = &FakeDesktop;
  return S_OK;
}
DWORD_PTR WINAPI FakeFileInfo(LPCSTR Path, DWORD, SHFILEINFOA*, UINT Size, UINT Flags) {
  Calls.Path = Path;
  Calls.InfoSize = Size;
  Calls.Flags = Flags;
  return Calls.IconList;
}
TSHGetFileInfoA BoundFakeFileInfo() {
  return Calls.FileInfoBound ? FakeFileInfo : nullptr;
}

class ShellUnit : public testing::Test {
 protected:
  void SetUp() override {
    Calls = TCalls{};
    FakeDesktop.Refs = 1;
    ShellPlatform = {FakeOleInitialize, FakeOleUninitialize, FakeLocation, FakeDesktopFolder,
                     BoundFakeFileInfo};
    // A list of the test's own stands for the system's.
    ownList_ = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    Calls.IconList = reinterpret_cast<DWORD_PTR>(ownList_);
  }
  void TearDown() override {
    ShellCtrlsFinalization();
    if (ownList_) ImageList_Destroy(ownList_);
  }
  TShellPlatformScope platform_;
  HIMAGELIST ownList_ = nullptr;
};

TEST_F(ShellUnit, OleIsUninitializedOnlyAfterASuccessfulStart) {
  struct Case {
    HRESULT Result;
    int Uninitialized;
  };
  // S_FALSE: already started on this thread, which still needs its pair.
  const Case cases[] = {{S_OK, 1}, {S_FALSE, 1}, {E_OUTOFMEMORY, 0}, {RPC_E_CHANGED_MODE, 0}};
  for (const Case& c : cases) {
    Calls.OleInit = Calls.OleUninit = 0;
    Calls.OleResult = c.Result;
    ShellCtrlsInitialization();
    ShellCtrlsFinalization();
    EXPECT_EQ(Calls.OleInit, 1) << std::hex << c.Result;
    EXPECT_EQ(Calls.OleUninit, c.Uninitialized) << std::hex << c.Result;
  }
}

TEST_F(ShellUnit, AFailingDesktopLeavesTheFolderNilAndStartUpGoesOn) {
  struct Case {
    const char* Name;
    HRESULT Location, Folder;
    bool Made;
  };
  const Case cases[] = {
      {"both answer", S_OK, S_OK, true},
      {"no desktop list", E_FAIL, S_OK, false},
      {"no desktop folder", S_OK, E_NOINTERFACE, false},
  };
  for (const Case& c : cases) {
    Calls.LocationResult = c.Location;
    Calls.FolderResult = c.Folder;
    Calls.OleInit = 0;
    ShellCtrlsInitialization();
    EXPECT_EQ(DesktopFolder != nullptr, c.Made) << c.Name;
    if (DesktopFolder) {
      EXPECT_EQ(DesktopFolder->ShellFolder(), &FakeDesktop) << c.Name;
      EXPECT_EQ(DesktopFolder->Parent(), nullptr) << c.Name;
      EXPECT_EQ(ItemIdListSize(DesktopFolder->AbsoluteIdList()), 2u) << c.Name;
    }
    // The steps after it still ran.
    EXPECT_EQ(Calls.OleInit, 1) << c.Name;
    EXPECT_NE(SystemSmallIcons, nullptr) << c.Name;
    ShellCtrlsFinalization();
    EXPECT_EQ(DesktopFolder, nullptr) << c.Name;
    // The folder's one reference went back with it.
    EXPECT_EQ(FakeDesktop.Refs, 1) << c.Name;
  }
}

TEST_F(ShellUnit, AFailingShellCallRaisesInsideTheHelpers) {
  Calls.FolderResult = E_NOINTERFACE;
  Calls.LocationResult = E_FAIL;
  try {
    GetDesktopShellFolder();
    ADD_FAILURE() << "no exception";
  } catch (const EOleSysError& e) {
    EXPECT_EQ(e.ErrorCode(), E_NOINTERFACE);
  }
  EXPECT_THROW(GetDesktopItemIdList(), EOleSysError);
}

TEST_F(ShellUnit, SmallIconQueryUsesThePlatformsRecordSize) {
  ShellCtrlsInitialization();
  EXPECT_EQ(Calls.Path, "C:\\");
  EXPECT_EQ(Calls.Flags, UINT(SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  EXPECT_EQ(Calls.InfoSize, sizeof(SHFILEINFOA));
#ifdef _WIN64
  EXPECT_EQ(Calls.InfoSize, 360u);
#endif
}

TEST_F(ShellUnit, SmallIconsWrapTheListOnlyWhenTheQueryGivesOne) {
  struct Case {
    const char* Name;
    bool Bound;
    bool Answers;
  };
  const Case cases[] = {{"bound, answers", true, true},
                        {"bound, answers 0", true, false},
                        {"not bound", false, true}};
  for (const Case& c : cases) {
    Calls.FileInfoBound = c.Bound;
    Calls.IconList = c.Answers ? reinterpret_cast<DWORD_PTR>(ownList_) : 0;
    ShellCtrlsInitialization();
    ASSERT_EQ(SystemSmallIcons != nullptr, c.Bound && c.Answers) << c.Name;
    if (SystemSmallIcons) {
      EXPECT_EQ(SystemSmallIcons->Handle(), ownList_) << c.Name;
      EXPECT_TRUE(SystemSmallIcons->ShareImages()) << c.Name;
      EXPECT_EQ(SystemSmallIcons->Owner(), nullptr) << c.Name;
      EXPECT_EQ(ImageList_GetBkColor(ownList_), CLR_NONE) << c.Name;
    }
    ShellCtrlsFinalization();
    EXPECT_EQ(SystemSmallIcons, nullptr) << c.Name;
    // The lent list is still whole.
    int w = 0, h = 0;
    ASSERT_TRUE(ImageList_GetIconSize(ownList_, &w, &h)) << c.Name;
    EXPECT_EQ(w, 16) << c.Name;
  }
}

TEST_F(ShellUnit, TheSystemsListOutlivesTheShutdown) {
  // The real calls: the shared list must still answer after the wrapper
  // went.
  ShellPlatform = SystemShellPlatform();
  ShellCtrlsInitialization();
  if (!SystemSmallIcons) GTEST_SKIP() << "the platform gives no small-icon list";
  const HIMAGELIST list = SystemSmallIcons->Handle();
  int w = 0, h = 0;
  ASSERT_TRUE(ImageList_GetIconSize(list, &w, &h));
  const int count = ImageList_GetImageCount(list);
  ShellCtrlsFinalization();
  int w2 = 0, h2 = 0;
  EXPECT_TRUE(ImageList_GetIconSize(list, &w2, &h2));
  EXPECT_EQ(w2, w);
  EXPECT_EQ(h2, h);
  EXPECT_EQ(ImageList_GetImageCount(list), count);
  // And a second start wraps the same list again.
  ShellCtrlsInitialization();
  ASSERT_NE(SystemSmallIcons, nullptr);
  EXPECT_EQ(SystemSmallIcons->Handle(), list);
}

TEST_F(ShellUnit, StepsRunOnceHoweverOftenTheyAreCalled) {
  ShellCtrlsInitialization();
  ShellCtrlsInitialization();
  EXPECT_EQ(Calls.OleInit, 1);
  ShellCtrlsFinalization();
  EXPECT_EQ(Calls.OleUninit, 0);
  ShellCtrlsFinalization();
  EXPECT_EQ(Calls.OleUninit, 1);
}

}  // namespace
