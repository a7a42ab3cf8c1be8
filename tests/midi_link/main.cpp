#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

// The recording winmm.dll keeps a completer thread for late and never-done
// headers. Its runtime's shutdown can wait forever on a lock that thread held
// when the process began to exit, so the test process ends at once instead,
// with the tests' result as its exit code.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::fflush(stdout);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
  return result;
}
