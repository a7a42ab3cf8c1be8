#include "skin/engine/skin_loading.h"

#include <algorithm>

#include <memory>

#include "skin/engine/description_index.h"
#include "skin/engine/image_list_link.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/packed_skin.h"
#include "skin/engine/skin_bmp.h"
#include "skin/engine/skin_cache.h"
#include "skin/engine/skin_content.h"
#include "skin/engine/skin_description.h"
#include "skin/engine/skin_images.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_message.h"
#include "skin/engine/skinned_forms.h"
#include "skin/engine/stored_skins.h"
#include "skin/engine/vl_utils.h"
#include "skin/foundation/skin_commands.h"
#include "widgets/controls/controls.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/inifiles.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/sysutils.h"
#include "widgets/rtl/flag_scope.h"

bool LivePreviewMode = false;
TStringList* LivePreviewDescription = nullptr;

namespace {

const char* const ArchiveExt = ".qmz";

// The name without its final ".qmz" (any case); a name that is only the
// extension stays.
std::string WithoutArchiveExt(const std::string& Name) {
  const size_t n = std::char_traits<char>::length(ArchiveExt);
  if (Name.size() <= n || LowerCase(Name.substr(Name.size() - n)) != ArchiveExt) return Name;
  return Name.substr(0, Name.size() - n);
}

// A case-sensitive description read once from its lines.
std::unique_ptr<TMemIniFile> DescriptionFrom(const TStrings& Lines) {
  auto ini = std::make_unique<TMemIniFile>(std::string());
  ini->SetCaseSensitive(true);
  ini->SetStrings(Lines);
  return ini;
}

// The global description lives for one load, also when the load fails.
class TDescriptionScope {
 public:
  explicit TDescriptionScope(std::unique_ptr<TMemIniFile> Description) {
    TObject::Free(SkinDescription);
    SkinDescription = Description.release();
  }
  ~TDescriptionScope() {
    TObject::Free(SkinDescription);
    SkinDescription = nullptr;
  }
  TDescriptionScope(const TDescriptionScope&) = delete;
  TDescriptionScope& operator=(const TDescriptionScope&) = delete;
};

// Unpacks an archive, naming the skin in the error: the reader's message
// says only that the archive is not valid.
template <typename F>
std::unique_ptr<TvlSkinConvertor> Unpack(TsSkinManager* Manager, F&& Read) {
  auto archive = std::make_unique<TvlSkinConvertor>();
  bool signed_ = false;
  try {
    signed_ = Read(archive);
  } catch (const Exception& e) {
    throw Exception("The skin \"" + Manager->SkinName() + "\" cannot be loaded: " + e.Message());
  }
  // A file that is no archive has been reported by the reader already; it
  // still holds no description, which the user is told next, as for an
  // archive without one.
  if (!signed_ || !archive || !archive->Description)
    throw Exception("Internal format error in the \"" + Manager->SkinName() +
                    "\" skin. Please, update this skin to latest version.");
  return archive;
}

std::unique_ptr<TMemIniFile> ArchiveDescription(const TvlSkinConvertor& Archive) {
  TStringList lines;
  Archive.Description->SetPosition(0);
  lines.LoadFromStream(*Archive.Description);
  return DescriptionFrom(lines);
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
  return NormalizeDirPath(GetFullSkinDirectory(Manager)) + Manager->SkinName() + ArchiveExt;
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
      skinName_ = WithoutArchiveExt(Value);
      // A live preview prefers the skin's folder over its archive.
      PackedMode = !(LivePreviewMode &&
                     DirectoryExists(NormalizeDirPath(GetFullSkinDirectory(this)) + Value)) &&
                   FileExists(ArchivePath(this));
      try {
        LoadCurrentSkin(this);
      } catch (const EAbort&) {
        // Already reported where it happened.
        skinName_ = oldName;
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

void ReloadCurrentSkin(TsSkinManager* Manager) {
  Manager->PackedMode = FileExists(ArchivePath(Manager));
  try {
    LoadCurrentSkin(Manager);
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    ShowError(e.Message());
  }
}

// The steps after the description was chosen, the same for a folder, an
// archive and a stored skin.
static void LoadDescribedSkin(TsSkinManager* Manager, std::unique_ptr<TMemIniFile> Description,
                              const std::string& Folder, const TvlSkinConvertor* Archive);

void LoadSkinFromFolder(TsSkinManager* Manager) {
  if (!Manager->Active()) return;
  TsSkinData& data = *Manager->CommonSkinData;
  // The folder becomes the skin's only with the skin itself.
  std::string folder = GetFullSkinDirectory(Manager) + "\\" + Manager->SkinName() + "\\";
  const std::string path = folder + "Options.dat";
  std::unique_ptr<TMemIniFile> description;
  std::unique_ptr<TvlSkinConvertor> archive;
  if (LivePreviewDescription) {
    description = DescriptionFrom(*LivePreviewDescription);
  } else if (FileExists(path)) {
    Manager->PackedMode = false;
    TStringList lines;
    lines.LoadFromFile(path);
    description = DescriptionFrom(lines);
  } else {
    data.SkinDirectory.clear();
    folder.clear();
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
    Manager->PackedMode = true;
    TMemoryStream* bytes = stored->Items(index)->PackedData();
    archive = Unpack(Manager, [&](std::unique_ptr<TvlSkinConvertor>& c) {
      return ReadPackedSkinFrom(*bytes, *c, Manager);
    });
    description = ArchiveDescription(*archive);
  }
  LoadDescribedSkin(Manager, std::move(description), folder, archive.get());
}

static void LoadDescribedSkin(TsSkinManager* Manager, std::unique_ptr<TMemIniFile> Description,
                              const std::string& Folder, const TvlSkinConvertor* Archive) {
  // Folder: where the skin's files lie, with a final backslash.
  TsSkinData& data = *Manager->CommonSkinData;
  TDescriptionScope scope(std::move(Description));
  const TvlSkinDescription index(*SkinDescription);
  TsSkinGlobals globals;
  globals.Version = ReadSkinVersion(&index);
  Manager->ShowVersionNotices(globals.Version);
  TvlSkinContent fresh;
  TvlSkinLoad load{Manager, fresh, globals, &index, Folder, EffectiveDpiLevel(Manager), Archive};
  try {
    LoadSkinImages(load);
    ReadSkinSections(load);
    CacheCommonSkinData(Manager, fresh);
  } catch (const Exception& e) {
    // The reader's message says what is wrong; the user also needs to know
    // which skin.
    throw Exception("The skin \"" + Manager->SkinName() + "\" cannot be loaded: " + e.Message());
  }
  data.SkinDirectory = Folder;
  Manager->TakeSkin(fresh, globals);
  // The previous skin goes with this scope; its master's pixels serve the
  // next load.
  KeepSpareArgbPixels(fresh.MasterBitmap);
  if (Manager->OnSkinLoading) Manager->OnSkinLoading(Manager);
}

void LoadPackedSkinFile(TsSkinManager* Manager) {
  if (!Manager->Active()) return;
  const std::string path = ArchivePath(Manager);
  std::unique_ptr<TvlSkinConvertor> archive = Unpack(
      Manager,
      [&](std::unique_ptr<TvlSkinConvertor>& c) { return ReadPackedSkinFile(path, c, Manager); });
  LoadDescribedSkin(Manager, ArchiveDescription(*archive), GetFullSkinDirectory(Manager) + "\\",
                    archive.get());
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

TvlSkinListController::TvlSkinListController(TsSkinManager* Manager) : manager_(Manager) {
  if (ImageListLink.NewPreviewList) Images = ImageListLink.NewPreviewList(Manager);
}

void TvlSkinListController::Rebuild() {
  if (manager_->Loading() || manager_->Destroying()) return;
  Entries.clear();
  if (Images && ImageListLink.ClearAll) ImageListLink.ClearAll(Images);
  const std::string dir = NormalizeDirPath(GetFullSkinDirectory(manager_));
  TsStoredSkins* stored = manager_->InternalSkins();
  for (int i = 0; i < stored->Count(); ++i) AddSkinListEntry(stored->Items(i)->Name, i);
  if (DirectoryExists(dir)) {
    ForEachEntry(dir + "*.*", [&](const TSearchRec& f) {
      const bool isDir = (f.Attr & faDirectory) != 0;
      if (isDir && FileExists(dir + f.Name + "\\Options.dat"))
        Entries.push_back(TvlSkinListData{f.Name, -1});
      else if (!isDir && ExtractFileExt(f.Name) == ArchiveExt)
        AddSkinListEntry(f.Name, -1);
    });
  }
  NotifyListRebuilt();
}

void TvlSkinListController::AddSkinListEntry(const std::string& Name, int StoredIndex) {
  TvlSkinListData entry{Name, -1};
  if (Images && ImageListLink.AddPng) {
    TMemoryStream preview;
    const bool found =
        StoredIndex < 0
            ? ReadArchiveFilePreview(preview,
                                     NormalizeDirPath(GetFullSkinDirectory(manager_)) + Name)
            : ReadArchivePreview(preview,
                                 *manager_->InternalSkins()->Items(StoredIndex)->PackedData());
    if (found) entry.PreviewIndex = ImageListLink.AddPng(Images, preview);
  }
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
