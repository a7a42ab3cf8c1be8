// One folder of the shell namespace, and the shell unit's start-up: OLE on
// the user-interface thread, the desktop folder and a wrapper of the
// system's small-icon list.
#pragma once

#include <windows.h>

#include <shlobj.h>

#include <memory>

#include "skin/controls/shell_item_ids.h"
#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/units.h"

class TsAlphaImageList;

class TvlShellFolder {
 public:
  // Parent null: the folder hangs under DesktopFolder, and its absolute
  // list starts with the desktop's. ShellFolder gains a reference.
  TvlShellFolder(TvlShellFolder* Parent, IShellFolder* ShellFolder,
                 const ITEMIDLIST* RelativeIdList);
  virtual ~TvlShellFolder();
  TvlShellFolder(const TvlShellFolder&) = delete;
  TvlShellFolder& operator=(const TvlShellFolder&) = delete;

  const ITEMIDLIST* RelativeIdList() const { return relative_; }
  const ITEMIDLIST* AbsoluteIdList() const { return absolute_; }
  // The given parent's ancestors.
  int Level() const { return level_; }
  TStringList* Strings() const { return strings_.get(); }
  TvlShellFolder* Parent() const { return parent_; }
  IShellFolder* ShellFolder() const { return shellFolder_; }
  // Set by the shell lists that browse a folder's details; null here.
  IShellFolder2* ShellFolder2() const { return shellFolder2_; }
  IShellDetails* ShellDetails() const { return shellDetails_; }

 private:
  ITEMIDLIST* relative_ = nullptr;
  ITEMIDLIST* absolute_ = nullptr;
  int level_ = 0;
  std::unique_ptr<TStringList> strings_;
  TvlShellFolder* parent_ = nullptr;
  IShellFolder* shellFolder_ = nullptr;
  IShellFolder2* shellFolder2_ = nullptr;
  IShellDetails* shellDetails_ = nullptr;
};

// Made by the shell unit's start-up; null when the desktop's list or folder
// could not be had.
extern TvlShellFolder* DesktopFolder;
// The system's small-icon list, shared: freeing the wrapper leaves the
// system's list alone.
extern TsAlphaImageList* SystemSmallIcons;

// The steps of the shell unit: never raise.
void ShellCtrlsInitialization();
void ShellCtrlsFinalization();
extern const TUnitInfo ShellCtrlsUnit;
