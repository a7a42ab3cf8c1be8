// Scriptable simulated programmer devices behind the stand-in winusb.dll and
// setupapi.dll. The state lives in halvex_sim.dll so that it survives the library
// unloading and reloading the stand-ins; tests script it and read its records.
#pragma once

#include <windows.h>
#include <winusb.h>

#include <stdint.h>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#ifdef HALVEX_SIM_BUILD
#define HALVEX_SIM_API __declspec(dllexport)
#else
#define HALVEX_SIM_API __declspec(dllimport)
#endif

namespace halvex_sim {

// How one transfer ends.
enum class Completion {
  Immediate,    // the call itself succeeds
  Pending,      // ERROR_IO_PENDING, already done when the caller waits
  Delayed,      // ERROR_IO_PENDING, done from another thread after delayMs
  Fail,         // the call fails at once
  PendingFail,  // ERROR_IO_PENDING, then the wait reports failure
  Never,        // ERROR_IO_PENDING until the pipe is aborted
};

struct Transfer {
  Completion completion = Completion::Immediate;
  std::vector<uint8_t> bytes;  // what a read delivers
  DWORD delayMs = 30;
};

struct Pipe {
  USBD_PIPE_TYPE type = UsbdPipeTypeBulk;
  uint8_t id = 0;
  bool answers = true;  // false: WinUsb_QueryPipe fails for it
};

// How SetupDiGetDeviceInterfaceDetailA treats the device's interface.
enum class DetailMode {
  Normal,
  OtherError,     // the size query fails with another error and leaves the size alone
  NoRoomForPath,  // the size query claims no room for even a terminator
  PathFails,      // the size query works, the call with the buffer fails
};

enum class EventKind { Flush, Write, Read, Abort };

struct Event {
  EventKind kind;
  uint8_t pipe = 0;
  std::vector<uint8_t> bytes;  // written bytes
  uint32_t length = 0;         // bytes asked for by a read, or written
  HANDLE overlappedEvent = nullptr;
};

struct DescriptorCall {
  uint8_t type;
  uint8_t index;
  uint16_t language;
  uint32_t bufferBytes;
};

struct DetailCall {
  bool withBuffer;
  DWORD bufferBytes;
  DWORD cbSize;  // of the caller's record, 0 without a buffer
};

// UTF-16 string descriptor of `units`, bLength = 2 + 2 * units.
inline std::vector<uint8_t> stringDescriptor(const std::u16string& units) {
  std::vector<uint8_t> d{static_cast<uint8_t>(2 + 2 * units.size()), 3};
  for (char16_t u : units) {
    d.push_back(static_cast<uint8_t>(u));
    d.push_back(static_cast<uint8_t>(u >> 8));
  }
  return d;
}

inline void putLe16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
  if (v.size() < at + 2) v.resize(at + 2);
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}

struct Device {
  std::string path;  // what device setup reports
  std::string file;  // the temporary file behind it
  DetailMode detail = DetailMode::Normal;
  bool initializeFails = false;
  std::vector<uint8_t> deviceDescriptor;  // 18 bytes unless a test trims it
  bool deviceDescriptorFails = false;
  std::map<uint8_t, std::vector<uint8_t>> strings;  // index -> raw descriptor
  bool querySettingsFails = false;
  uint8_t iInterface = 4;
  std::optional<uint8_t> numEndpoints;  // default: pipes.size()
  std::vector<Pipe> pipes;
  std::deque<Transfer> writes;        // OUT script; each write takes one, else succeeds
  std::deque<Transfer> reads;         // IN script; each read takes one
  std::optional<Transfer> everyRead;  // answers reads once the script is used up

  // Records.
  std::vector<Event> events;
  std::vector<DescriptorCall> descriptorCalls;
  std::vector<uint8_t> queriedPipes;
  std::vector<uint8_t> querySettingsAlternates;
  int initializeCalls = 0;
  int freeCalls = 0;
  int liveHandles = 0;

  // Identity of the device's file, matched by WinUsb_Initialize.
  DWORD volume = 0;
  DWORD indexHigh = 0;
  DWORD indexLow = 0;

  void setIds(uint16_t vendor, uint16_t product, uint16_t release) {
    putLe16(deviceDescriptor, 8, vendor);
    putLe16(deviceDescriptor, 10, product);
    putLe16(deviceDescriptor, 12, release);
  }
  void setStringIndexes(uint8_t manufacturer, uint8_t product, uint8_t serial) {
    deviceDescriptor[14] = manufacturer;
    deviceDescriptor[15] = product;
    deviceDescriptor[16] = serial;
  }
  void reply(std::vector<uint8_t> bytes, Completion c = Completion::Immediate) {
    reads.push_back(Transfer{c, std::move(bytes)});
  }
  std::vector<Event> eventsOf(EventKind kind) const {
    std::vector<Event> out;
    for (const Event& e : events)
      if (e.kind == kind) out.push_back(e);
    return out;
  }
  void clearRecords() {
    events.clear();
    descriptorCalls.clear();
    queriedPipes.clear();
    querySettingsAlternates.clear();
  }
};

struct ClassDevsCall {
  GUID guid;
  bool noEnumerator;
  bool noWindow;
  DWORD flags;
};

struct State {
  std::vector<std::unique_ptr<Device>> devices;
  bool classDevsFails = false;
  bool record = true;  // off for benchmarks
  // Whether a transfer that succeeds within its call also signals its event, as
  // the platform does. The library never waits for it; benchmarks turn it off so
  // that the event's cost does not hide the library's own.
  bool signalSynchronous = true;
  std::map<std::string, bool> refuseLoad;  // "winusb" / "setupapi": DllMain fails
  std::map<std::string, int> attaches;
  std::map<std::string, int> detaches;
  std::map<std::string, int> boundOnlyCalls;
  std::vector<ClassDevsCall> classDevsCalls;
  std::vector<DWORD> interfaceDataSizes;
  std::vector<DetailCall> detailCalls;
  int liveSets = 0;
  int destroyedSets = 0;
};

HALVEX_SIM_API State& state();
// Forgets every device (removing its file) and every record.
HALVEX_SIM_API void reset();
// A plugged-in programmer: ids 0x1234/0x5678/0x0100, texts "Maker", "Programmer",
// "SN001", interface name at index 4, bulk IN 0x81 and bulk OUT 0x02.
HALVEX_SIM_API Device& addDevice();
// Points the device's path to nowhere, so opening it fails as for an unplugged
// device. The file stays, so no later device gets its identity.
HALVEX_SIM_API void unplug(Device& device);

// Reply builders.
HALVEX_SIM_API std::vector<uint8_t> countedReply(uint16_t status,
                                                 const std::vector<uint16_t>& payload);
HALVEX_SIM_API std::vector<uint8_t> plainReply(uint16_t status,
                                               const std::vector<uint16_t>& payload);

}  // namespace halvex_sim
