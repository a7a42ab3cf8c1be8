#include <stddef.h>

#include <memory>
#include <new>

#include "HalvexRpcWin.h"

namespace {

// {72B7FC1C-2485-2485-81E4-910F74BD7358}: the interface class the device's
// driver registers.
const GUID kDeviceInterfaceClassGuid = {
    0x72B7FC1C, 0x2485, 0x2485, {0x81, 0xE4, 0x91, 0x0F, 0x74, 0xBD, 0x73, 0x58}};

constexpr uint16_t kAnyId = 0xFFFF;

}  // namespace

HalvexRpcWin::Enumerator_Win::Enumerator_Win(UsbLibraryContext* context, uint16_t vendorFilter,
                                             uint16_t productFilter) noexcept
    : libraries_(context, UsbLibraryUse::Share),
      vendorFilter_(vendorFilter),
      productFilter_(productFilter),
      // Interfaces of devices that are not plugged in are listed as well; opening
      // them fails and the search skips them.
      set_(platform::setupdi::GetClassDevsA(&kDeviceInterfaceClassGuid, nullptr, nullptr,
                                            DIGCF_DEVICEINTERFACE)) {
  next();
}

void HALVEX_RPC_CALL HalvexRpcWin::Enumerator_Win::destroy(unsigned flags) noexcept {
  if (flags & 1)
    delete this;
  else
    this->~Enumerator_Win();
}

bool HalvexRpcWin::Enumerator_Win::matches(UsbDevice* device) const {
  return (vendorFilter_ == kAnyId || vendorFilter_ == device->getVendorId()) &&
         (productFilter_ == kAnyId || productFilter_ == device->getProductId());
}

bool HALVEX_RPC_CALL HalvexRpcWin::Enumerator_Win::next() noexcept {
  if (!more_) return false;
  do {
    ++index_;
    matched_ = false;
    interface_ = {};
    interface_.cbSize = sizeof(SP_DEVICE_INTERFACE_DATA);
    more_ = platform::setupdi::EnumDeviceInterfaces(set_.get(), nullptr, &kDeviceInterfaceClassGuid,
                                                    static_cast<DWORD>(index_), &interface_);
    if (!more_) break;
    // A device that cannot be opened counts as not matching.
    if (UsbDevice* device = openDevice()) {
      matched_ = matches(device);
      device->release();
    }
  } while (!matched_ && more_);
  return more_ && matched_;
}

HalvexRpc::UsbDevice* HALVEX_RPC_CALL HalvexRpcWin::Enumerator_Win::openDevice() noexcept {
  if (!more_) return nullptr;
  // The fixed part of the detail record differs between the architectures; the
  // platform checks cbSize against its own structure size.
  constexpr DWORD kFixedBytes = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
  constexpr DWORD kPathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
  DWORD required = 0;
  SetLastError(ERROR_SUCCESS);
  const BOOL sized = platform::setupdi::GetDeviceInterfaceDetailA(set_.get(), &interface_, nullptr,
                                                                  0, &required, nullptr);
  // Only the "buffer too small" answer carries a usable size.
  if (sized || GetLastError() != ERROR_INSUFFICIENT_BUFFER || required <= kPathOffset)
    return nullptr;
  const DWORD bufferBytes = required < kFixedBytes ? kFixedBytes : required;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[bufferBytes]());
  if (!buffer) return nullptr;
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.get());
  detail->cbSize = kFixedBytes;
  if (!platform::setupdi::GetDeviceInterfaceDetailA(set_.get(), &interface_, detail, bufferBytes,
                                                    nullptr, nullptr))
    return nullptr;
  buffer[bufferBytes - 1] = 0;
  return UsbDevice_Win::open(libraries_.context(), detail->DevicePath);
}
