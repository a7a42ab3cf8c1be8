// A variant of the generated test skin written where a skin manager or a
// program under test finds it, for as long as a test needs it.
#pragma once

#include <filesystem>
#include <string>

#include "manifest.h"
#include "test_skin.h"

namespace test_skin {

// How the skin lies in its directory: a folder of files, or one archive
// alone.
enum class TempSkinForm { Folder, Archive };

// A fresh directory under the temporary folder, of this object alone
// (whatever an earlier process of the same id left there is removed first),
// holding Variant as the skin Name (the variant's own name when Name is
// empty). The directory goes with the object.
class TempTestSkin {
 public:
  // Prefix starts the directory's name, so that a folder left behind by a
  // crash tells which test wrote it.
  explicit TempTestSkin(const std::string& Prefix, const std::string& Variant = kSoundVariant,
                        const std::string& Name = {}, TempSkinForm Form = TempSkinForm::Folder);
  ~TempTestSkin();
  TempTestSkin(const TempTestSkin&) = delete;
  TempTestSkin& operator=(const TempTestSkin&) = delete;

  // The skin directory a manager is pointed at.
  const std::filesystem::path& Directory() const { return dir_; }
  // The skin name that loads it.
  const std::string& Name() const { return name_; }
  // What a loader must make of the skin; empty for the archive form, which
  // tests read back through the loader instead.
  const TestSkinManifest& Manifest() const { return manifest_; }

 private:
  std::filesystem::path dir_;
  std::string name_;
  TestSkinManifest manifest_;
};

}  // namespace test_skin
