#include "HalvexRpcWin.h"

#include <new>

HalvexRpcWin::HalvexRpcWin(UsbLibraryContext* context) noexcept
    : libraries_(context, UsbLibraryUse::Adopt) {
  LARGE_INTEGER frequency;
  if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
    counterFrequency_ = frequency.QuadPart;
    secondsPerCount_ = 1.0 / static_cast<double>(counterFrequency_);
  }
}

void HALVEX_RPC_CALL HalvexRpcWin::destroy(unsigned flags) noexcept {
  if (flags & 1)
    delete this;
  else
    this->~HalvexRpcWin();
}

HalvexRpc::Enumerator* HALVEX_RPC_CALL HalvexRpcWin::createEnumerator(uint16_t vendorId,
                                                                      uint16_t productId) noexcept {
  return new (std::nothrow) Enumerator_Win(libraries_.context(), vendorId, productId);
}

double HALVEX_RPC_CALL HalvexRpcWin::getSeconds() noexcept {
  LARGE_INTEGER now;
  if (!QueryPerformanceCounter(&now)) return 0.0;
  return static_cast<double>(now.QuadPart) * secondsPerCount_;
}
