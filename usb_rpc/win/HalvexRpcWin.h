// Windows implementation: device enumeration through device setup, devices and
// transfers through WinUSB.
#pragma once

#include <stdint.h>

#include "Handles.h"
#include "HalvexRpcCore.h"
#include "PlatformLibraries.h"
#include "UsbDevice_Core.h"

class HalvexRpcWin final : public HalvexRpcCore {
 public:
  class Enumerator_Win;
  class UsbDevice_Win;

  explicit HalvexRpcWin(UsbLibraryContext* context) noexcept;
  ~HalvexRpcWin() = default;

  void HALVEX_RPC_CALL destroy(unsigned flags) noexcept override;
  Enumerator* HALVEX_RPC_CALL createEnumerator(uint16_t vendorId,
                                               uint16_t productId) noexcept override;
  double HALVEX_RPC_CALL getSeconds() noexcept override;

 private:
  UsbLibraryUse libraries_;
  int64_t counterFrequency_ = 0;
  double secondsPerCount_ = 0.0;
};

class HalvexRpcWin::Enumerator_Win final : public ReferencedInstance_Core<HalvexRpc::Enumerator> {
 public:
  Enumerator_Win(UsbLibraryContext* context, uint16_t vendorFilter,
                 uint16_t productFilter) noexcept;
  ~Enumerator_Win() = default;

  void HALVEX_RPC_CALL destroy(unsigned flags) noexcept override;
  UsbDevice* HALVEX_RPC_CALL openDevice() noexcept override;
  bool HALVEX_RPC_CALL next() noexcept override;
  bool HALVEX_RPC_CALL isValid() noexcept override { return more_ && matched_; }

 private:
  bool matches(UsbDevice* device) const;

  // First, so the libraries outlive the device information set.
  UsbLibraryUse libraries_;
  uint16_t vendorFilter_;
  uint16_t productFilter_;
  int32_t index_ = -1;
  bool more_ = true;
  bool matched_ = false;
  UniqueDeviceInfoSet set_;
  SP_DEVICE_INTERFACE_DATA interface_{};
};

class HalvexRpcWin::UsbDevice_Win final : public HalvexRpcCore::UsbDevice_Core {
 public:
  // Opens the device behind a device path; null when it cannot be opened.
  static UsbDevice_Win* open(UsbLibraryContext* context, const char* devicePath) noexcept;
  ~UsbDevice_Win() = default;

  void HALVEX_RPC_CALL destroy(unsigned flags) noexcept override;
  bool HALVEX_RPC_CALL transact(uint16_t command, const void* payload, uint32_t payloadBytes,
                                const void* data, uint32_t blockBytes,
                                uint32_t blockCount) noexcept override;

 private:
  class WinUsbTransport;

  UsbDevice_Win(UsbLibraryContext* context, UniqueHandle file, UniqueWinUsbHandle winUsb,
                UniqueHandle readEvent, UniqueHandle writeEvent, uint8_t inPipe,
                uint8_t outPipe) noexcept;
  void readIdentity();
  std::optional<std::string> readText(uint8_t index);

  // Members are destroyed bottom-up: the WinUSB handle, the file, the read event,
  // the write event, and last the use of the libraries that the others call into.
  UsbLibraryUse libraries_;
  UniqueHandle writeEvent_;
  UniqueHandle readEvent_;
  UniqueHandle file_;
  UniqueWinUsbHandle winUsb_;
  uint8_t inPipe_;
  uint8_t outPipe_;
  uint8_t deviceDescriptor_[18] = {};
  OVERLAPPED readOverlapped_{};
  OVERLAPPED writeOverlapped_{};
};
