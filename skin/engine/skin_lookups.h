// Finding sections and images of a skin by name, with PARENTCLASS
// inheritance. Each lookup has its own parent rule; all of them walk the
// chain through WalkParentChain, so a looping chain ends with -1.
#pragma once

#include <string>

class TvlSkinContent;

// Exact, case-sensitive; -1 for an empty name or none.
int FindSectionIndex(const TvlSkinContent& Skin, const std::string& Name);
bool SectionIndexValid(const TvlSkinContent& Skin, int Index);
bool MaskIndexValid(const TvlSkinContent& Skin, int Index);

// The first image of the section with that key, else the parent's (when
// the section's ParentClass names another existing section).
int FindMaskIndex(const TvlSkinContent& Skin, int SectionIndex, const std::string& Key);
// As FindMaskIndex, but the walk goes on while ParentClass differs from the
// name the caller gave for the section.
int GetMaskIndex(const TvlSkinContent& Skin, int SectionIndex, const std::string& SectionName,
                 const std::string& Key);
// A texture (ImageKind 1) matched by section name, with GetMaskIndex's walk.
int GetTextureIndex(const TvlSkinContent& Skin, int SectionIndex, const std::string& SectionName,
                    const std::string& Key);
// A texture matched by section index, with FindMaskIndex's walk.
int FindTextureIndex(const TvlSkinContent& Skin, int SectionIndex, const std::string& Key);
// The first image of exactly that section name and key; no inheritance.
int FindMaskByName(const TvlSkinContent& Skin, const std::string& SectionName,
                   const std::string& Key);
