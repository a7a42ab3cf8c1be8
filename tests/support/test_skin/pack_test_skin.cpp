// Packs a test skin into one archive, with its preview picture, for scripts
// and for trying the program by hand:
//   pack_test_skin OUT.qmz [--variant NAME] [--large]
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <string>

#include "archive_writer.h"
#include "test_skin.h"

int main(int argc, char** argv) {
  std::string out, variant = test_skin::kSoundVariant;
  bool large = false;
  for (int i = 1; i < argc; ++i) {
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
    std::fprintf(stderr, "usage: pack_test_skin OUT.qmz [--variant NAME] [--large]\n");
    return 2;
  }
  try {
    const std::vector<uint8_t> archive = test_skin::PackTestSkinWithPreview(variant, large);
    std::ofstream f(out, std::ios::binary);
    f.write(reinterpret_cast<const char*>(archive.data()), std::streamsize(archive.size()));
    f.close();
    if (!f) {
      std::fprintf(stderr, "pack_test_skin: cannot write %s\n", out.c_str());
      return 1;
    }
    std::printf("%s: %zu bytes\n", variant.c_str(), archive.size());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "pack_test_skin: %s\n", e.what());
    return 1;
  }
  return 0;
}
