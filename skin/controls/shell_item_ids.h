// Item-id lists of the shell namespace: a run of items, each starting with
// its own 16-bit size in bytes, ended by a 16-bit zero. Every list here comes
// from, and goes back to, the shell's allocator.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <cstddef>

#include "skin/engine/vl_utils.h"
#include "widgets/rtl/exceptions.h"

// A failed call of the shell or of OLE; ErrorCode is its result.
class EOleSysError : public Exception {
 public:
  EOleSysError(std::string Message, HRESULT Code) : Exception(std::move(Message)), code_(Code) {}
  HRESULT ErrorCode() const { return code_; }

 private:
  HRESULT code_;
};

// The shell calls of the helpers below and of the shell unit's start-up,
// replaceable by tests.
struct TShellPlatform {
  HRESULT(WINAPI* OleInitialize)(LPVOID);
  void(WINAPI* OleUninitialize)();
  HRESULT(WINAPI* SHGetSpecialFolderLocation)(HWND, int, LPITEMIDLIST*);
  HRESULT(WINAPI* SHGetDesktopFolder)(IShellFolder**);
  // The bound SHGetFileInfoA (null: not bound).
  TSHGetFileInfoA (*FileInfo)();
};
extern TShellPlatform ShellPlatform;
// The system's own calls.
TShellPlatform SystemShellPlatform();

// Raises EOleSysError when Result is a failure; answers it otherwise.
HRESULT OleCheck(HRESULT Result);

// A zero-filled block of Size bytes; null when the allocator has none.
ITEMIDLIST* AllocItemIdList(size_t Size);
// The item after Item.
ITEMIDLIST* NextItemId(ITEMIDLIST* Item);
// The items' sizes plus the terminator; 0 for null.
size_t ItemIdListSize(const ITEMIDLIST* List);
// A new copy of List (null for null).
ITEMIDLIST* CopyItemIdList(const ITEMIDLIST* List);
// A new list: First's items, then Second's with its terminator. First may
// be null.
ITEMIDLIST* JoinItemIdLists(const ITEMIDLIST* First, const ITEMIDLIST* Second);
// Back to the shell's allocator; null is ignored.
void FreeItemIdList(ITEMIDLIST* List);

// The desktop's shell folder (one reference, the caller's).
IShellFolder* GetDesktopShellFolder();
// The desktop's item-id list (the caller frees it).
ITEMIDLIST* GetDesktopItemIdList();

// Frees an item-id list at the end of a scope.
struct TItemIdListOwner {
  ITEMIDLIST* List = nullptr;
  TItemIdListOwner() = default;
  explicit TItemIdListOwner(ITEMIDLIST* l) : List(l) {}
  TItemIdListOwner(const TItemIdListOwner&) = delete;
  TItemIdListOwner& operator=(const TItemIdListOwner&) = delete;
  ~TItemIdListOwner() { FreeItemIdList(List); }
  ITEMIDLIST* Release() {
    ITEMIDLIST* l = List;
    List = nullptr;
    return l;
  }
};
