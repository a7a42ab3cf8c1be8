// Test entry: gtest plus --png-mutations=N, the length of the mutation run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "png_test_util.h"

int main(int argc, char** argv) {
  int kept = 1;
  const char* prefix = "--png-mutations=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], prefix, std::strlen(prefix)) == 0)
      g_pngMutationCount = std::strtol(argv[i] + std::strlen(prefix), nullptr, 10);
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
