#include "alloc_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// A header before every block keeps its size; 16 bytes keep the alignment.
constexpr size_t kHeader = 16;
std::atomic<size_t> g_held{0};
std::atomic<size_t> g_peak{0};
std::atomic<size_t> g_base{0};
std::atomic<size_t> g_failAbove{0};

void* Allocate(size_t size) {
  const size_t limit = g_failAbove.load();
  if (limit != 0 && size > limit) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (block == nullptr) return nullptr;
  *reinterpret_cast<size_t*>(block) = size;
  const size_t held = g_held.fetch_add(size) + size;
  size_t peak = g_peak.load();
  while (held > peak && !g_peak.compare_exchange_weak(peak, held)) {
  }
  return block + kHeader;
}

void Release(void* p) {
  if (p == nullptr) return;
  auto* block = static_cast<unsigned char*>(p) - kHeader;
  g_held.fetch_sub(*reinterpret_cast<size_t*>(block));
  std::free(block);
}

}  // namespace

namespace alloc_counter {
void ResetPeak() {
  g_base = g_held.load();
  g_peak = g_held.load();
}
size_t PeakSinceReset() {
  const size_t peak = g_peak.load(), base = g_base.load();
  return peak > base ? peak - base : 0;
}
void FailAbove(size_t bytes) {
  g_failAbove = bytes;
}
}  // namespace alloc_counter

void* operator new(size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  Release(p);
}
void operator delete[](void* p) noexcept {
  Release(p);
}
void operator delete(void* p, size_t) noexcept {
  Release(p);
}
void operator delete[](void* p, size_t) noexcept {
  Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  Release(p);
}
