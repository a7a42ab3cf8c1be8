#include "skin/controls/shell_folder.h"

#include <commctrl.h>

#include <utility>

#include "skin/controls/alpha_image_list.h"
#include "skin/engine/vl_utils.h"
#include "widgets/rtl/object_model.h"

TvlShellFolder* DesktopFolder = nullptr;
TsAlphaImageList* SystemSmallIcons = nullptr;

TvlShellFolder::TvlShellFolder(TvlShellFolder* Parent, IShellFolder* ShellFolder,
                               const ITEMIDLIST* RelativeIdList) {
  // The lists are made before anything is kept, so a shell call that
  // raises on the way leaves nothing behind.
  TItemIdListOwner absolute;
  if (Parent) {
    absolute.List = JoinItemIdLists(Parent->absolute_, RelativeIdList);
  } else {
    TItemIdListOwner desktop(GetDesktopItemIdList());
    absolute.List = JoinItemIdLists(desktop.List, RelativeIdList);
  }
  TItemIdListOwner relative(CopyItemIdList(RelativeIdList));
  strings_ = std::make_unique<TStringList>();
  absolute_ = absolute.Release();
  relative_ = relative.Release();
  shellFolder_ = ShellFolder;
  if (shellFolder_) shellFolder_->AddRef();
  parent_ = Parent ? Parent : DesktopFolder;
  for (TvlShellFolder* p = Parent ? Parent->parent_ : nullptr; p; p = p->parent_) ++level_;
}

TvlShellFolder::~TvlShellFolder() {
  strings_.reset();
  FreeItemIdList(relative_);
  FreeItemIdList(absolute_);
  if (shellFolder_) shellFolder_->Release();
  if (shellFolder2_) shellFolder2_->Release();
  if (shellDetails_) shellDetails_->Release();
}

namespace {

int StartCount = 0;
CRITICAL_SECTION UnitLock;
// OleUninitialize answers only a successful OleInitialize.
bool OleStarted = false;

// Gives back the one reference a shell call handed out.
struct TInterfaceRef {
  IShellFolder* Folder;
  explicit TInterfaceRef(IShellFolder* f) : Folder(f) {}
  TInterfaceRef(const TInterfaceRef&) = delete;
  TInterfaceRef& operator=(const TInterfaceRef&) = delete;
  ~TInterfaceRef() {
    if (Folder) Folder->Release();
  }
};

void MakeDesktopFolder() {
  // Start-up goes on without the desktop folder: folders made without a
  // parent then keep none.
  try {
    LPITEMIDLIST found = nullptr;
    if (FAILED(ShellPlatform.SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &found)) || !found)
      return;
    TItemIdListOwner list(found);
    TInterfaceRef folder(GetDesktopShellFolder());
    DesktopFolder = new TvlShellFolder(nullptr, folder.Folder, list.List);
  } catch (const Exception&) {
    DesktopFolder = nullptr;
  }
}

void LoadSystemSmallIcons() {
  const TSHGetFileInfoA fileInfo = ShellPlatform.FileInfo ? ShellPlatform.FileInfo() : nullptr;
  if (!fileInfo) return;
  // The record is larger on 64-bit platforms: its size is the compiler's.
  SHFILEINFOA info{};
  const auto list = reinterpret_cast<HIMAGELIST>(
      fileInfo("C:\\", 0, &info, sizeof(SHFILEINFOA), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (!list || SystemSmallIcons) return;
  try {
    auto icons = OwnObject(New<TsAlphaImageList>(nullptr));
    // Shared before it is given, so nothing on the way can destroy the
    // system's list.
    icons->SetShareImages(true);
    icons->SetHandle(list);
    icons->EndUpdate(false);
    ImageList_SetBkColor(list, CLR_NONE);
    SystemSmallIcons = icons.release();
  } catch (const Exception&) {
  }
}

}  // namespace

void ShellCtrlsInitialization() {
  if (StartCount++ != 0) return;
  BindSHGetFileInfo();
  MakeDesktopFolder();
  InitializeCriticalSection(&UnitLock);
  OleStarted = ShellPlatform.OleInitialize && SUCCEEDED(ShellPlatform.OleInitialize(nullptr));
  LoadSystemSmallIcons();
}

void ShellCtrlsFinalization() {
  if (StartCount == 0 || --StartCount != 0) return;
  delete std::exchange(DesktopFolder, nullptr);
  DeleteCriticalSection(&UnitLock);
  if (std::exchange(OleStarted, false)) ShellPlatform.OleUninitialize();
  TObject::Free(std::exchange(SystemSmallIcons, nullptr));
}

const TUnitInfo ShellCtrlsUnit{"vlShellCtrls", ShellCtrlsInitialization, ShellCtrlsFinalization};
