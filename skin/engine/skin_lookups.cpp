#include "skin/engine/skin_lookups.h"

#include <optional>
#include <utility>

#include "skin/engine/parent_walk.h"
#include "skin/engine/skin_content.h"

namespace {

int ImageCount(const TvlSkinContent& Skin) {
  return static_cast<int>(Skin.Masks.size());
}

template <typename Match>
int FirstImage(const TvlSkinContent& Skin, Match&& Matches) {
  for (int i = 0; i < ImageCount(Skin); ++i)
    if (Matches(Skin.Masks[static_cast<size_t>(i)])) return i;
  return -1;
}

// The parent of a section when its ParentClass names another section.
std::optional<int> NamedParent(const TvlSkinContent& Skin, int Index) {
  if (!SectionIndexValid(Skin, Index)) return std::nullopt;
  const TsGeneralData& s = Skin.Sections[static_cast<size_t>(Index)];
  if (s.ParentClass.empty() || s.ParentClass == s.SectionName) return std::nullopt;
  const int parent = FindSectionIndex(Skin, s.ParentClass);
  if (parent < 0) return std::nullopt;
  return parent;
}

using NamedSection = std::pair<int, std::string>;

// The parent when the section's ParentClass differs from the name the walk
// carries for it.
std::optional<NamedSection> ParentByGivenName(const TvlSkinContent& Skin,
                                              const NamedSection& Node) {
  if (!SectionIndexValid(Skin, Node.first)) return std::nullopt;
  const std::string& parentName = Skin.Sections[static_cast<size_t>(Node.first)].ParentClass;
  if (parentName.empty() || parentName == Node.second) return std::nullopt;
  const int parent = FindSectionIndex(Skin, parentName);
  if (parent < 0) return std::nullopt;
  return NamedSection(parent, parentName);
}

template <typename Match>
int WalkByIndex(const TvlSkinContent& Skin, int SectionIndex, Match&& Matches) {
  if (SectionIndex < 0) return -1;
  return WalkParentChain(
      SectionIndex, -1,
      [&](int index) {
        return FirstImage(Skin, [&](const TsMaskData& m) { return Matches(m, index); });
      },
      [&](int index) { return NamedParent(Skin, index); });
}

template <typename Match>
int WalkByGivenName(const TvlSkinContent& Skin, int SectionIndex, const std::string& SectionName,
                    Match&& Matches) {
  if (SectionIndex < 0) return -1;
  return WalkParentChain(
      NamedSection(SectionIndex, SectionName), -1,
      [&](const NamedSection& node) {
        return FirstImage(Skin, [&](const TsMaskData& m) { return Matches(m, node); });
      },
      [&](const NamedSection& node) { return ParentByGivenName(Skin, node); });
}

}  // namespace

int FindSectionIndex(const TvlSkinContent& Skin, const std::string& Name) {
  if (Name.empty()) return -1;
  for (size_t i = 0; i < Skin.Sections.size(); ++i)
    if (Skin.Sections[i].SectionName == Name) return static_cast<int>(i);
  return -1;
}

bool SectionIndexValid(const TvlSkinContent& Skin, int Index) {
  return Index >= 0 && Index < static_cast<int>(Skin.Sections.size());
}

bool MaskIndexValid(const TvlSkinContent& Skin, int Index) {
  return Index >= 0 && Index < ImageCount(Skin);
}

int FindMaskIndex(const TvlSkinContent& Skin, int SectionIndex, const std::string& Key) {
  return WalkByIndex(Skin, SectionIndex, [&](const TsMaskData& m, int index) {
    return m.SectionIndex == index && m.Key == Key;
  });
}

int GetMaskIndex(const TvlSkinContent& Skin, int SectionIndex, const std::string& SectionName,
                 const std::string& Key) {
  return WalkByGivenName(Skin, SectionIndex, SectionName,
                         [&](const TsMaskData& m, const NamedSection& node) {
                           return m.SectionIndex == node.first && m.Key == Key;
                         });
}

int GetTextureIndex(const TvlSkinContent& Skin, int SectionIndex, const std::string& SectionName,
                    const std::string& Key) {
  if (Skin.Masks.empty() || SectionName.empty()) return -1;
  return WalkByGivenName(Skin, SectionIndex, SectionName,
                         [&](const TsMaskData& m, const NamedSection& node) {
                           return m.ImageKind == 1 && m.Key == Key && m.Section == node.second;
                         });
}

int FindTextureIndex(const TvlSkinContent& Skin, int SectionIndex, const std::string& Key) {
  if (Skin.Masks.empty()) return -1;
  return WalkByIndex(Skin, SectionIndex, [&](const TsMaskData& m, int index) {
    return m.SectionIndex == index && m.ImageKind == 1 && m.Key == Key;
  });
}

int FindMaskByName(const TvlSkinContent& Skin, const std::string& SectionName,
                   const std::string& Key) {
  if (SectionName.empty()) return -1;
  return FirstImage(Skin,
                    [&](const TsMaskData& m) { return m.Section == SectionName && m.Key == Key; });
}
