#include "skin/engine/skin_loading.h"

#include <algorithm>

#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/stored_skins.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/controls.h"
#include "widgets/exceptions.h"
#include "widgets/streams.h"
#include "widgets/string_lists.h"
#include "widgets/sysutils.h"

bool LivePreviewMode = false;
TStringList* LivePreviewDescription = nullptr;

namespace {

const char* const ArchiveExt = ".qmz";

// Skin descriptions and archives are read by the description and archive
// readers; until a program has them, a skin that exists cannot be loaded,
// and the manager says so instead of pretending it loaded.
[[noreturn]] void CannotRead(const std::string& SkinName, const char* What) {
  throw Exception("The skin \"" + SkinName + "\" cannot be loaded: " + What +
                  " are not read by this version.");
}

// The name without ".qmz", cut at the first occurrence in the lower-cased name.
std::string WithoutArchiveExt(const std::string& Name) {
  size_t at = LowerCase(Name).find(ArchiveExt);
  return at == std::string::npos ? Name : Name.substr(0, at) + Name.substr(at + 4);
}

template <typename F>
void ForEachEntry(const std::string& Pattern, F&& Visit) {
  TSearchRec f;
  if (FindFirst(Pattern, faDirectory, f) != 0) return;
  do {
    if (!f.Name.empty() && f.Name[0] != '.') Visit(f);
  } while (FindNext(f) == 0);
  FindClose(f);
}

}  // namespace

std::string GetFullSkinDirectory(const TsSkinManager* Manager) {
  const std::string& s = Manager->SkinDirectory();
  const std::string app = GetAppFolder();
  if (s.starts_with("..")) {
    std::string base = app.substr(0, app.empty() ? 0 : app.size() - 1);
    size_t cut = base.find_last_of("\\/");
    base = cut == std::string::npos ? std::string() : base.substr(0, cut + 1);
    return base + (s.size() > 3 ? s.substr(3) : std::string());
  }
  if (s.starts_with(".\\") || s.starts_with("./")) return app + s.substr(2);
  if (s == ".") return app;
  if (s.find(':') == std::string::npos && s.find("\\\\") == std::string::npos) return app + s;
  return s;
}

std::string ArchivePath(const TsSkinManager* Manager) {
  return NormalizeDirPath(Manager->SkinDirectory()) + Manager->SkinName() + ArchiveExt;
}

void TsSkinManager::SetSkinName(const std::string& Value) {
  const std::string oldName = skinName_;
  skinName_ = Value;
  if (active_) {
    if (OnBeforeChange) OnBeforeChange(this);
    if (ExtendedBorders() && !UpdateLock && animEffects_->SkinChanging()->Active() &&
        effects_->AllowAnimation())
      BeforeSkinChange(this);
    {
      TFlagScope loading(SkinLoading);
      CommonSkinData->Loaded = false;
      if (Value.size() > 4 && UpperCase(Value.substr(Value.size() - 4)) == ".QMZ")
        skinName_ = Value.substr(0, Value.size() - 4);
      // A live preview prefers the skin's folder over its archive.
      PackedMode =
          !(LivePreviewMode && DirectoryExists(NormalizeDirPath(skinDirectory_) + Value)) &&
          FileExists(ArchivePath(this));
      try {
        LoadCurrentSkin(this);
      } catch (const Exception& e) {
        skinName_ = oldName;
        ShowError(e.Message());
      }
      if (!active_)
        BroadcastRemoveSkin(this);
      else if (!UpdateLock)
        BroadcastNewSkin(this, true);
      if (OnActivate && !Loading() && !Designing()) OnActivate(this);
    }
    if (!UpdateLock && OnAfterChange) OnAfterChange(this);
  }
  if (ListController) ListController->NotifyCurrentSkinChanged();
}

void LoadCurrentSkin(TsSkinManager* Manager) {
  if (Manager->PackedMode)
    LoadPackedSkinFile(Manager);
  else
    LoadSkinFromFolder(Manager);
}

void LoadSkinFromFolder(TsSkinManager* Manager) {
  if (!Manager->Active()) return;
  TsSkinData& data = *Manager->CommonSkinData;
  data.SkinDirectory = GetFullSkinDirectory(Manager) + "\\" + Manager->SkinName() + "\\";
  const std::string path = data.SkinDirectory + "Options.dat";
  if (LivePreviewDescription) CannotRead(Manager->SkinName(), "skin descriptions");
  if (FileExists(path)) {
    Manager->PackedMode = false;
    CannotRead(Manager->SkinName(), "skin descriptions");
  }
  data.SkinDirectory.clear();
  TsStoredSkins* stored = Manager->InternalSkins();
  int index = stored->IndexOfName(Manager->SkinName());
  if (index < 0) {
    if (stored->Count() == 0) {
      Manager->DropActive();
      return;
    }
    index = 0;
    Manager->RenameSkin(stored->Items(0)->Name);
  }
  if (stored->Items(index)->PackedData()->Size() == 0) {
    Manager->PackedMode = false;
    throw Exception("The stored skin \"" + Manager->SkinName() + "\" holds no data.");
  }
  CannotRead(Manager->SkinName(), "skin archives");
}

void LoadPackedSkinFile(TsSkinManager* Manager) {
  if (!Manager->Active()) return;
  CannotRead(Manager->SkinName(), "skin archives");
}

void CacheCommonSkinData(TsSkinManager* Manager) {
  // Every image index stays -1: the skin images are not cut in this
  // version, so only the section indices can be found.
  TConstantSkinData& c = Manager->ConstData;
  c = TConstantSkinData();
  c.GlobalInfo = FindSectionIndex(Manager, "GLOBALINFO");
  for (size_t i = 0; i < StdSectionNames.size(); ++i)
    c.Sections[i] = FindSectionIndex(Manager, StdSectionNames[i]);
}

void ListAvailableSkins(TsSkinManager* Manager, TStrings* List, int Kind, std::string& First) {
  First.clear();
  List->Clear();
  TStringList found;
  TsStoredSkins* stored = Manager->InternalSkins();
  for (int i = 0; i < stored->Count(); ++i) found.Add(stored->Items(i)->Name);
  if (stored->Count() > 0) First = stored->Items(0)->Name;
  const std::string dir = GetFullSkinDirectory(Manager);
  if (DirectoryExists(dir)) {
    ForEachEntry(dir + "\\*.*", [&](const TSearchRec& f) {
      const bool isDir = (f.Attr & faDirectory) != 0;
      if ((Kind == 0 || Kind == 2) && isDir && FileExists(dir + "\\" + f.Name + "\\Options.dat")) {
        found.Add(f.Name);
        if (First.empty()) First = f.Name;
      } else if ((Kind == 1 || Kind == 2) && !isDir && ExtractFileExt(f.Name) == ArchiveExt) {
        found.Add(WithoutArchiveExt(f.Name));
      }
    });
  }
  found.Sort();
  List->Assign(&found);
}

// ---- The skin-list controller ---------------------------------------------------

void TvlSkinListController::Rebuild() {
  if (manager_->Loading() || manager_->Destroying()) return;
  Entries.clear();
  const std::string dir = NormalizeDirPath(GetFullSkinDirectory(manager_));
  TsStoredSkins* stored = manager_->InternalSkins();
  for (int i = 0; i < stored->Count(); ++i) AddSkinListEntry(stored->Items(i)->Name, i);
  if (DirectoryExists(dir)) {
    ForEachEntry(dir + "*.*", [&](const TSearchRec& f) {
      if (!(f.Attr & faDirectory) && ExtractFileExt(f.Name) == ArchiveExt)
        AddSkinListEntry(f.Name, -1);
    });
  }
  NotifyListRebuilt();
}

void TvlSkinListController::AddSkinListEntry(const std::string& Name, int StoredIndex) {
  // Preview images come from the archives, whose reader this version lacks:
  // every entry is listed without one.
  TvlSkinListData entry{Name, -1};
  if (StoredIndex < 0) entry.Name = WithoutArchiveExt(Name);
  Entries.push_back(std::move(entry));
}

void TvlSkinListController::NotifyListRebuilt() {
  for (TControl* c : Clients) PerformSkinCommand(c, SkinCmdSkinListRebuilt, 0);
}

void TvlSkinListController::NotifyCurrentSkinChanged() {
  for (TControl* c : Clients) {
    auto* w = dynamic_cast<TWinControl*>(c);
    if (w && w->HandleAllocated())
      PostMessageA(w->Handle(), SkinCommandMessage, SkinCmdParam(SkinCmdCurrentSkinChanged), 0);
    else
      PerformSkinCommand(c, SkinCmdCurrentSkinChanged, 0);
  }
}
