#include "HalvexSim.h"

#include <stdio.h>

namespace halvex_sim {

namespace {

State& theState() {
  static State s;
  return s;
}

std::vector<uint8_t> standardDeviceDescriptor() {
  std::vector<uint8_t> d(18, 0);
  d[0] = 18;
  d[1] = 1;
  putLe16(d, 2, 0x0200);  // bcdUSB
  d[7] = 64;              // bMaxPacketSize0
  d[17] = 1;              // bNumConfigurations
  return d;
}

std::vector<uint8_t> reply(uint16_t tag, uint16_t status, const std::vector<uint16_t>& payload,
                           bool counted) {
  std::vector<uint8_t> r(8, 0);
  putLe16(r, 2, tag);
  putLe16(r, 6, status);
  if (counted) putLe16(r, 8, static_cast<uint16_t>(payload.size()));
  for (uint16_t w : payload) {
    r.push_back(static_cast<uint8_t>(w));
    r.push_back(static_cast<uint8_t>(w >> 8));
  }
  return r;
}

}  // namespace

void removeFiles() {
  for (auto& d : theState().devices) DeleteFileA(d->file.c_str());
}

State& state() {
  return theState();
}

void reset() {
  removeFiles();
  theState() = State{};
}

Device& addDevice() {
  State& s = theState();
  auto device = std::make_unique<Device>();
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  char path[MAX_PATH + 64];
  static unsigned serial = 0;
  snprintf(path, sizeof path, "%shalvex-sim-%lu-%u.dev", dir, GetCurrentProcessId(), ++serial);
  device->path = path;
  device->file = path;
  HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  BY_HANDLE_FILE_INFORMATION info{};
  GetFileInformationByHandle(file, &info);
  CloseHandle(file);
  device->volume = info.dwVolumeSerialNumber;
  device->indexHigh = info.nFileIndexHigh;
  device->indexLow = info.nFileIndexLow;

  device->deviceDescriptor = standardDeviceDescriptor();
  device->setIds(0x1234, 0x5678, 0x0100);
  device->setStringIndexes(1, 2, 3);
  device->strings[1] = stringDescriptor(u"Maker");
  device->strings[2] = stringDescriptor(u"Programmer");
  device->strings[3] = stringDescriptor(u"SN001");
  device->strings[4] = stringDescriptor(u"Commands");
  device->iInterface = 4;
  device->pipes = {Pipe{UsbdPipeTypeBulk, 0x81}, Pipe{UsbdPipeTypeBulk, 0x02}};
  s.devices.push_back(std::move(device));
  return *s.devices.back();
}

void unplug(Device& device) {
  device.path += ".unplugged";
}

std::vector<uint8_t> countedReply(uint16_t status, const std::vector<uint16_t>& payload) {
  return reply(0x7453, status, payload, true);
}

std::vector<uint8_t> plainReply(uint16_t status, const std::vector<uint16_t>& payload) {
  return reply(0x7473, status, payload, false);
}

}  // namespace halvex_sim

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  // Device files are plain temporary files; leave none behind.
  if (reason == DLL_PROCESS_DETACH) halvex_sim::removeFiles();
  return TRUE;
}
