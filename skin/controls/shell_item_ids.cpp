#include "skin/controls/shell_item_ids.h"

#include <cstring>

#include "skin/engine/vl_utils.h"

namespace {

// The shell's allocator, released when the scope ends.
struct TShellMalloc {
  IMalloc* Malloc = nullptr;
  TShellMalloc() { OleCheck(SHGetMalloc(&Malloc)); }
  TShellMalloc(const TShellMalloc&) = delete;
  TShellMalloc& operator=(const TShellMalloc&) = delete;
  ~TShellMalloc() {
    if (Malloc) Malloc->Release();
  }
};

uint16_t ItemSize(const ITEMIDLIST* Item) {
  // Items need not be aligned.
  uint16_t size;
  std::memcpy(&size, Item, sizeof size);
  return size;
}

// The items' bytes without the terminator.
size_t ItemsSize(const ITEMIDLIST* List) {
  size_t size = 0;
  if (!List) return 0;
  for (auto* p = reinterpret_cast<const BYTE*>(List);;) {
    const uint16_t n = ItemSize(reinterpret_cast<const ITEMIDLIST*>(p));
    if (n == 0) return size;
    size += n;
    p += n;
  }
}

}  // namespace

TShellPlatform SystemShellPlatform() {
  return {::OleInitialize, ::OleUninitialize, ::SHGetSpecialFolderLocation, ::SHGetDesktopFolder,
          BoundSHGetFileInfo};
}

TShellPlatform ShellPlatform = SystemShellPlatform();

HRESULT OleCheck(HRESULT Result) {
  if (FAILED(Result))
    throw EOleSysError(Exception::Fmt("OLE error %08lX", static_cast<unsigned long>(Result)),
                       Result);
  return Result;
}

ITEMIDLIST* AllocItemIdList(size_t Size) {
  TShellMalloc shell;
  void* block = shell.Malloc->Alloc(Size);
  if (block) std::memset(block, 0, Size);
  return static_cast<ITEMIDLIST*>(block);
}

ITEMIDLIST* NextItemId(ITEMIDLIST* Item) {
  return reinterpret_cast<ITEMIDLIST*>(reinterpret_cast<BYTE*>(Item) + ItemSize(Item));
}

size_t ItemIdListSize(const ITEMIDLIST* List) {
  return List ? ItemsSize(List) + sizeof(uint16_t) : 0;
}

ITEMIDLIST* CopyItemIdList(const ITEMIDLIST* List) {
  const size_t size = ItemIdListSize(List);
  if (size == 0) return nullptr;
  ITEMIDLIST* copy = AllocItemIdList(size);
  if (copy) std::memcpy(copy, List, size);
  return copy;
}

ITEMIDLIST* JoinItemIdLists(const ITEMIDLIST* First, const ITEMIDLIST* Second) {
  const size_t head = ItemsSize(First);
  // A null second list still ends the result.
  const size_t tail = Second ? ItemIdListSize(Second) : sizeof(uint16_t);
  ITEMIDLIST* joined = AllocItemIdList(head + tail);
  if (!joined) return nullptr;
  auto* bytes = reinterpret_cast<BYTE*>(joined);
  if (head) std::memcpy(bytes, First, head);
  if (Second) std::memcpy(bytes + head, Second, tail);
  return joined;
}

void FreeItemIdList(ITEMIDLIST* List) {
  if (!List) return;
  TShellMalloc shell;
  shell.Malloc->Free(List);
}

IShellFolder* GetDesktopShellFolder() {
  IShellFolder* folder = nullptr;
  OleCheck(ShellPlatform.SHGetDesktopFolder(&folder));
  return folder;
}

ITEMIDLIST* GetDesktopItemIdList() {
  ITEMIDLIST* list = nullptr;
  OleCheck(ShellPlatform.SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &list));
  return list;
}
