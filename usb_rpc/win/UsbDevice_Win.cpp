#include <string.h>

#include <memory>
#include <new>

#include "HalvexRpcWin.h"

namespace {

constexpr UCHAR kDeviceDescriptorType = 1;
constexpr UCHAR kStringDescriptorType = 3;
constexpr ULONG kDeviceDescriptorBytes = 18;
constexpr ULONG kInterfaceNameBufferBytes = 200;
constexpr ULONG kStringBufferBytes = 256;
constexpr UCHAR kInEndpointBit = 0x80;

struct Pipes {
  uint8_t in = 0;
  uint8_t out = 0;
};

// Pipes are looked up only for an interface that answers with a readable name
// string (the text itself is not used); without one the device gets no pipes and
// its first transaction fails.
Pipes choosePipes(WINUSB_INTERFACE_HANDLE winUsb) {
  Pipes pipes;
  USB_INTERFACE_DESCRIPTOR settings{};
  if (!platform::winusb::QueryInterfaceSettings(winUsb, UCHAR{0}, &settings)) return pipes;
  if (settings.iInterface == 0) return pipes;
  UCHAR name[kInterfaceNameBufferBytes];
  ULONG transferred = 0;
  if (!platform::winusb::GetDescriptor(winUsb, kStringDescriptorType, settings.iInterface,
                                       USHORT{0}, name, kInterfaceNameBufferBytes, &transferred))
    return pipes;
  for (UCHAR index = 0; index < settings.bNumEndpoints; ++index) {
    WINUSB_PIPE_INFORMATION info{};
    if (!platform::winusb::QueryPipe(winUsb, UCHAR{0}, index, &info)) continue;
    if (info.PipeType != UsbdPipeTypeBulk) continue;
    if ((info.PipeId & kInEndpointBit) != 0) {
      if (pipes.in == 0) pipes.in = info.PipeId;
    } else if (pipes.out == 0) {
      pipes.out = info.PipeId;
    }
  }
  return pipes;
}

}  // namespace

// One overlapped WinUSB transfer at a time on each of the device's two records.
// Every wait is bounded, so a device that stops answering cannot hold the host
// forever; a transfer that times out is aborted and waited for, because the
// driver owns the record and the buffer until it completes.
class HalvexRpcWin::UsbDevice_Win::WinUsbTransport final : public UsbDevice_Core::Transport {
 public:
  static constexpr DWORD kTransferTimeoutMs = 10000;

  explicit WinUsbTransport(UsbDevice_Win& device) : device_(device) {}

  void flushIn() override { platform::winusb::FlushPipe(device_.winUsb_.get(), device_.inPipe_); }

  bool write(const uint8_t* bytes, uint32_t count) override {
    ULONG done = 0;
    return transfer(device_.outPipe_, device_.writeOverlapped_, const_cast<uint8_t*>(bytes), count,
                    done, false);
  }

  bool read(uint8_t* into, uint32_t capacity, uint32_t& received) override {
    ULONG done = 0;
    if (!transfer(device_.inPipe_, device_.readOverlapped_, into, capacity, done, true))
      return false;
    received = done;
    return true;
  }

 private:
  bool transfer(UCHAR pipe, OVERLAPPED& overlapped, UCHAR* buffer, ULONG length, ULONG& done,
                bool in) {
    WINUSB_INTERFACE_HANDLE winUsb = device_.winUsb_.get();
    HANDLE event = overlapped.hEvent;
    // The platform resets the event when the transfer starts. Until the driver
    // writes its result, the record reads as pending.
    overlapped = {};
    overlapped.hEvent = event;
    overlapped.Internal = STATUS_PENDING;
    ULONG transferred = 0;
    const BOOL started =
        in ? platform::winusb::ReadPipe(winUsb, pipe, buffer, length, &transferred, &overlapped)
           : platform::winusb::WritePipe(winUsb, pipe, buffer, length, &transferred, &overlapped);
    if (started) {
      done = transferred;
      return true;
    }
    if (GetLastError() != ERROR_IO_PENDING) return false;
    if (!HasOverlappedIoCompleted(&overlapped) &&
        WaitForSingleObject(event, kTransferTimeoutMs) != WAIT_OBJECT_0) {
      platform::winusb::AbortPipe(winUsb, pipe);
      DWORD ignored = 0;
      platform::winusb::GetOverlappedResult(winUsb, &overlapped, &ignored, TRUE);
      return false;
    }
    DWORD completed = 0;
    if (!platform::winusb::GetOverlappedResult(winUsb, &overlapped, &completed, TRUE)) return false;
    done = completed;
    return true;
  }

  UsbDevice_Win& device_;
};

HalvexRpcWin::UsbDevice_Win::UsbDevice_Win(UsbLibraryContext* context, UniqueHandle file,
                                           UniqueWinUsbHandle winUsb, UniqueHandle readEvent,
                                           UniqueHandle writeEvent, uint8_t inPipe,
                                           uint8_t outPipe) noexcept
    : libraries_(context, UsbLibraryUse::Share),
      writeEvent_(std::move(writeEvent)),
      readEvent_(std::move(readEvent)),
      file_(std::move(file)),
      winUsb_(std::move(winUsb)),
      inPipe_(inPipe),
      outPipe_(outPipe) {
  readOverlapped_.hEvent = readEvent_.get();
  writeOverlapped_.hEvent = writeEvent_.get();
}

HalvexRpcWin::UsbDevice_Win* HalvexRpcWin::UsbDevice_Win::open(UsbLibraryContext* context,
                                                               const char* devicePath) noexcept {
  UniqueHandle file(CreateFileA(devicePath, GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OVERLAPPED, nullptr));
  if (!file) return nullptr;
  WINUSB_INTERFACE_HANDLE rawWinUsb = nullptr;
  if (!platform::winusb::Initialize(file.get(), &rawWinUsb)) return nullptr;
  UniqueWinUsbHandle winUsb(rawWinUsb);
  const Pipes pipes = choosePipes(winUsb.get());

  // Manual-reset and signalled, so a record is never waited on before its first use.
  UniqueHandle readEvent(CreateEventA(nullptr, TRUE, TRUE, nullptr));
  UniqueHandle writeEvent(CreateEventA(nullptr, TRUE, TRUE, nullptr));
  if (!readEvent || !writeEvent) return nullptr;

  try {
    std::unique_ptr<UsbDevice_Win> device(
        new UsbDevice_Win(context, std::move(file), std::move(winUsb), std::move(readEvent),
                          std::move(writeEvent), pipes.in, pipes.out));
    device->readIdentity();
    return device.release();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void HALVEX_RPC_CALL HalvexRpcWin::UsbDevice_Win::destroy(unsigned flags) noexcept {
  if (flags & 1)
    delete this;
  else
    this->~UsbDevice_Win();
}

// A descriptor that cannot be read leaves the ids at 0 and the texts absent: the
// device is still usable, only wildcard filters match it.
void HalvexRpcWin::UsbDevice_Win::readIdentity() {
  ULONG transferred = 0;
  if (!platform::winusb::GetDescriptor(winUsb_.get(), kDeviceDescriptorType, UCHAR{0}, USHORT{0},
                                       deviceDescriptor_, kDeviceDescriptorBytes, &transferred) ||
      transferred != kDeviceDescriptorBytes)
    return;
  const uint8_t* d = deviceDescriptor_;
  vendorId_ = halvex_wire::readLe16(d + 8);
  productId_ = halvex_wire::readLe16(d + 10);
  deviceRelease_ = halvex_wire::readLe16(d + 12);
  manufacturer_ = readText(d[14]);
  product_ = readText(d[15]);
  serialNumber_ = readText(d[16]);
}

// String descriptors are UTF-16; the texts keep the low byte of each code unit.
std::optional<std::string> HalvexRpcWin::UsbDevice_Win::readText(uint8_t index) {
  if (index == 0) return std::nullopt;
  UCHAR buffer[kStringBufferBytes] = {};
  ULONG transferred = 0;
  if (!platform::winusb::GetDescriptor(winUsb_.get(), kStringDescriptorType, index, USHORT{0},
                                       buffer, kStringBufferBytes, &transferred))
    return std::nullopt;
  const uint8_t length = buffer[0];
  if (length <= 2 || buffer[1] != kStringDescriptorType) return std::nullopt;
  // Never read past what the device delivered, whatever its length byte claims.
  const ULONG usable = transferred < length ? transferred : length;
  const ULONG characters = usable >= 2 ? (usable - 2) / 2 : 0;
  std::string text;
  for (ULONG i = 0; i < characters; ++i) {
    const char c = static_cast<char>(buffer[2 + 2 * i]);
    if (c == '\0') break;
    text.push_back(c);
  }
  return text;
}

bool HALVEX_RPC_CALL HalvexRpcWin::UsbDevice_Win::transact(uint16_t command, const void* payload,
                                                           uint32_t payloadBytes, const void* data,
                                                           uint32_t blockBytes,
                                                           uint32_t blockCount) noexcept {
  WinUsbTransport transport(*this);
  return runTransaction(transport, command, payload, payloadBytes, data, blockBytes, blockCount);
}
