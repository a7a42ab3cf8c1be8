// The road from a skin name to a loaded skin: where a skin is looked for
// (packed archive, skin folder, live-preview text, a skin stored in the
// form), the skin directory's resolution and the lists of available skins.
#pragma once

#include <string>
#include <vector>

class TControl;
class TCustomImageList;
class TStringList;
class TStrings;
class TsSkinManager;

// Set by the first applied live-preview record, never cleared: the skin
// name then prefers a skin folder over a packed archive.
extern bool LivePreviewMode;
// The description lines of a live-preview record while it is applied.
extern TStringList* LivePreviewDescription;

// SkinDirectory resolved against the executable's folder; no trailing
// backslash is added.
std::string GetFullSkinDirectory(const TsSkinManager* Manager);
// The packed archive of the current skin, under SkinDirectory as typed.
std::string ArchivePath(const TsSkinManager* Manager);

// The loaders run inside a TFlagScope of SkinLoading held by their caller.
void LoadSkinFromFolder(TsSkinManager* Manager);
void LoadPackedSkinFile(TsSkinManager* Manager);
// The loader PackedMode chooses.
void LoadCurrentSkin(TsSkinManager* Manager);
// The current skin again, after an option it depends on changed. A skin that
// no longer loads is reported and the one in force stays: nothing raises
// out of the option's setter.
void ReloadCurrentSkin(TsSkinManager* Manager);

// Kind 0: skin folders, 1: packed archives, 2: both; sorted, stored skins
// included. First: the first stored skin, else the first folder found.
void ListAvailableSkins(TsSkinManager* Manager, TStrings* List, int Kind, std::string& First);

struct TvlSkinListData {
  std::string Name;
  int PreviewIndex = -1;  // -1: no preview image
};

// The list of skins the skin-list controls show: stored skins, then the
// skin directory's folders and archives. It tells its clients when the list or the current
// skin changes.
class TvlSkinListController {
 public:
  // Creates Images, owned by the manager, when the alpha image list's unit
  // is running.
  explicit TvlSkinListController(TsSkinManager* Manager);

  std::vector<TvlSkinListData> Entries;
  // The archives' preview pictures, at 140 x 100; an entry's PreviewIndex
  // points into it. It keeps the PNG files (KeepItems on: an image's index
  // is its item's) and does not follow the DPI level (AllowScale off: a
  // preview is shown at its own pixel size). Null without the unit.
  TCustomImageList* Images = nullptr;
  std::vector<TControl*> Clients;

  void Rebuild();
  void NotifyListRebuilt();
  void NotifyCurrentSkinChanged();

 private:
  void AddSkinListEntry(const std::string& Name, int StoredIndex);

  TsSkinManager* manager_;
};
