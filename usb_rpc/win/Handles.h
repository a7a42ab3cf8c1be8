// Owning wrappers for the platform handles the library opens.
#pragma once

#include <utility>

#include "PlatformLibraries.h"

template <class Traits>
class UniquePlatformHandle {
 public:
  using Handle = typename Traits::Handle;

  UniquePlatformHandle() = default;
  explicit UniquePlatformHandle(Handle h) : handle_(h) {}
  ~UniquePlatformHandle() { reset(); }
  UniquePlatformHandle(UniquePlatformHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, Traits::empty())) {}
  UniquePlatformHandle& operator=(UniquePlatformHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Traits::empty());
    }
    return *this;
  }
  UniquePlatformHandle(const UniquePlatformHandle&) = delete;
  UniquePlatformHandle& operator=(const UniquePlatformHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::valid(handle_); }
  void reset() {
    if (Traits::valid(handle_)) Traits::close(handle_);
    handle_ = Traits::empty();
  }

 private:
  Handle handle_ = Traits::empty();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(Handle h) { CloseHandle(h); }
};

struct WinUsbHandleTraits {
  using Handle = WINUSB_INTERFACE_HANDLE;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { platform::winusb::Free(h); }
};

struct DeviceInfoSetTraits {
  using Handle = HDEVINFO;
  static Handle empty() { return INVALID_HANDLE_VALUE; }
  static bool valid(Handle h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void close(Handle h) { platform::setupdi::DestroyDeviceInfoList(h); }
};

using UniqueHandle = UniquePlatformHandle<KernelHandleTraits>;
using UniqueWinUsbHandle = UniquePlatformHandle<WinUsbHandleTraits>;
using UniqueDeviceInfoSet = UniquePlatformHandle<DeviceInfoSetTraits>;
