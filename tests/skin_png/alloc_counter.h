// A counted allocator seam for the PNG tests: this test program replaces the
// global operator new and delete, so a test can read the peak of the bytes
// the code under test held through them, and make large requests fail.
#pragma once

#include <cstddef>

namespace alloc_counter {
// Starts a measurement: the peak is taken from the bytes held now.
void ResetPeak();
// The most bytes held at once since ResetPeak, above the level at that time.
size_t PeakSinceReset();
// Requests of more than `bytes` raise std::bad_alloc (0: none do).
void FailAbove(size_t bytes);
}  // namespace alloc_counter
