// The skin manager as the per-control skin state sees it: the loaded
// sections and images, whether a skin is active and loaded, its main colour
// and its hover option. The manager component grows here with loading,
// options and broadcasts; this is the part the skin state relies on today.
#pragma once

#include <set>
#include <string>

#include "skin/foundation/skin_records.h"
#include "widgets/components.h"
#include "widgets/graphics_colors.h"

class TsCommonData;

class TsSkinManager : public TComponent {
  DECLARE_CLASS(TsSkinManager, TComponent)
 public:
  // The first manager constructed becomes DefaultManager.
  explicit TsSkinManager(TComponent* AOwner);
  ~TsSkinManager() override;

  bool Active() const { return active_; }
  void SetActive(bool Value) { active_ = Value; }
  // Off while a new skin is being broadcast.
  bool SkinLoaded() const { return skinLoaded_; }
  void SetSkinLoaded(bool Value) { skinLoaded_ = Value; }
  // The hover option of the manager's options (NoMouseHover).
  bool NoMouseHover() const { return noMouseHover_; }
  void SetNoMouseHover(bool Value) { noMouseHover_ = Value; }

  TsGeneralDataArray Sections;
  TsMaskArray Images;

  // The image of key Key ("PATTERN", "HOTPATTERN") in section SkinIndex, -1 none.
  int FindTextureIndex(int SkinIndex, const std::string& Key) const;
  // The skin's main colour ("GLOBALINFO" COLOR), else the system face colour.
  TColor GetGlobalColor() const;

  // Skin states that named this manager as their own: they lose it when the
  // manager goes, so none keeps a pointer to a destroyed manager.
  void AddUser(TsCommonData* SkinData) { users_.insert(SkinData); }
  void RemoveUser(TsCommonData* SkinData) { users_.erase(SkinData); }

 private:
  bool active_ = true;
  bool skinLoaded_ = false;
  bool noMouseHover_ = false;
  std::set<TsCommonData*> users_;
};

extern TsSkinManager* DefaultManager;

// Exact, case-sensitive lookup of a section by name; -1 when absent.
int FindSectionIndex(const TsSkinManager* Manager, const std::string& Name);
bool SectionIndexValid(const TsSkinManager* Manager, int Index);
