// The generated test skin "Tessera": a sound skin, a large one for the
// benchmark, sound variants of its design, and broken variants, each written
// with a manifest of what a loader must make of it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "manifest.h"
#include "skin_builder.h"

namespace test_skin {

constexpr const char* kSoundVariant = "tessera";

struct TestSkinFiles {
  TestSkinManifest Manifest;
  std::vector<SkinFile> Files;  // Options.dat among them unless the variant lacks it
};

// Every variant name: the sound skin first, then the sound skins that differ
// from it in one part of their design, then the broken ones.
std::vector<std::string> VariantNames();
// Only the broken ones, whose manifests say what is broken.
std::vector<std::string> BrokenVariantNames();

// Builds a variant in memory; throws std::invalid_argument for an unknown name.
// large: a 1024 x 1024 master and about 120 sections.
TestSkinFiles BuildTestSkin(const std::string& variant = kSoundVariant, bool large = false);

// Writes the variant's files into folder (created when missing; files of the
// same names are replaced) and its manifest text beside the folder, as
// "<folder>.manifest.txt". Returns the manifest.
TestSkinManifest WriteTestSkin(const std::filesystem::path& folder,
                               const std::string& variant = kSoundVariant, bool large = false);

}  // namespace test_skin
