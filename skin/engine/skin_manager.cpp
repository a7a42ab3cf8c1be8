#include "skin/engine/skin_manager.h"

#include "skin/engine/common_data.h"

TsSkinManager* DefaultManager = nullptr;

const TClassInfo& TsSkinManager::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TsSkinManager> b("TsSkinManager", &TComponent::StaticClass());
    b.Creatable();
    b.Bool(
        "Active", [](const TsSkinManager& m) { return m.Active(); },
        [](TsSkinManager& m, int v) { m.SetActive(v != 0); }, true);
    return b.Done();
  }();
  return info;
}

TsSkinManager::TsSkinManager(TComponent* AOwner) : TComponent(AOwner) {
  if (!DefaultManager) DefaultManager = this;
}

TsSkinManager::~TsSkinManager() {
  // Copy first: clearing a user's manager removes it from the set.
  std::set<TsCommonData*> users;
  users.swap(users_);
  for (TsCommonData* d : users)
    if (d->OwnManager == this) d->OwnManager = nullptr;
  if (DefaultManager == this) DefaultManager = nullptr;
}

int TsSkinManager::FindTextureIndex(int SkinIndex, const std::string& Key) const {
  if (SkinIndex < 0 || SkinIndex >= static_cast<int>(Sections.size())) return -1;
  const std::string& section = Sections[static_cast<size_t>(SkinIndex)].SectionName;
  for (size_t i = 0; i < Images.size(); ++i)
    if (Images[i].Section == section && Images[i].Key == Key) return static_cast<int>(i);
  return -1;
}

TColor TsSkinManager::GetGlobalColor() const {
  int i = FindSectionIndex(this, "GLOBALINFO");
  return i >= 0 ? Sections[static_cast<size_t>(i)].Props[0].Color
                : static_cast<TColor>(ColorToRGB(clBtnFace));
}

int FindSectionIndex(const TsSkinManager* Manager, const std::string& Name) {
  if (!Manager || Name.empty()) return -1;
  for (size_t i = 0; i < Manager->Sections.size(); ++i)
    if (Manager->Sections[i].SectionName == Name) return static_cast<int>(i);
  return -1;
}

bool SectionIndexValid(const TsSkinManager* Manager, int Index) {
  return Manager && Index >= 0 && Index < static_cast<int>(Manager->Sections.size());
}
