// Writes the skin controls' start-up pictures into the folder given (the
// committed ones live beside this file; tests/skin_shell/CMakeLists.txt has
// the command that rewrites them):
//   make_startup_images.exe FOLDER
#include <cstdio>
#include <string>

#include "startup_images.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_startup_images FOLDER\n");
    return 2;
  }
  for (const startup_images::OutputFile& f : startup_images::AllFiles()) {
    const std::string path = std::string(argv[1]) + "/" + f.Name;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out || std::fwrite(f.Bytes.data(), 1, f.Bytes.size(), out) != f.Bytes.size()) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      if (out) std::fclose(out);
      return 1;
    }
    std::fclose(out);
  }
  return 0;
}
