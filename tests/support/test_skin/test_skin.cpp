#include "test_skin.h"

#include <fstream>
#include <stdexcept>

namespace test_skin {
namespace {

void WriteBytes(const std::filesystem::path& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), std::streamsize(size));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

TestSkinManifest WriteTestSkin(const std::filesystem::path& folder, const std::string& variant,
                               bool large) {
  const TestSkinFiles skin = BuildTestSkin(variant, large);
  std::filesystem::create_directories(folder);
  for (const SkinFile& f : skin.Files) WriteBytes(folder / f.Name, f.Bytes.data(), f.Bytes.size());
  // Beside the folder, so the skin folder holds only what the skin names.
  const std::string text = ManifestText(skin.Manifest);
  std::filesystem::path manifest = folder;
  manifest += ".manifest.txt";
  WriteBytes(manifest, text.data(), text.size());
  return skin.Manifest;
}

}  // namespace test_skin
