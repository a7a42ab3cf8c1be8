// Writes a test skin for scripts and the benchmark:
//   make_test_skin OUT_DIR [--variant NAME] [--large] [--list]
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "test_skin.h"

int main(int argc, char** argv) {
  std::string out, variant = test_skin::kSoundVariant;
  bool large = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--list")) {
      for (const std::string& name : test_skin::VariantNames()) std::printf("%s\n", name.c_str());
      return 0;
    }
    if (!std::strcmp(argv[i], "--large")) {
      large = true;
    } else if (!std::strcmp(argv[i], "--variant") && i + 1 < argc) {
      variant = argv[++i];
    } else if (argv[i][0] != '-' && out.empty()) {
      out = argv[i];
    } else {
      out.clear();
      break;
    }
  }
  if (out.empty()) {
    std::fprintf(stderr, "usage: make_test_skin OUT_DIR [--variant NAME] [--large] [--list]\n");
    return 2;
  }
  try {
    const test_skin::TestSkinManifest m = test_skin::WriteTestSkin(out, variant, large);
    std::printf("%s: %zu files, %zu sections, %zu images\n", m.Variant.c_str(), m.Files.size(),
                m.Sections.size(), m.Images.size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_test_skin: %s\n", e.what());
    return 1;
  }
  return 0;
}
