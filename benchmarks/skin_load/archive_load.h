// The packed half of the skin-load benchmark: the test skin loaded from its
// folder, its archive and a stored skin, and the decompression stream
// against zlib's one-shot uncompress of the same bytes, all in one run.
#pragma once

#include <filesystem>

namespace skin_load_bench {

void RunArchiveLoad(const std::filesystem::path& Root, bool Large, int Runs);
// One entry of several MiB, a 2000 x 1500 32-bit bitmap with skin-like
// pixels.
void RunBigEntry(int Runs);

}  // namespace skin_load_bench
