// Stand-in winusb.dll: serves the simulated devices of halvex_sim.dll under the
// platform's names. Exports come from winusb.def.
#include <string.h>

#include <algorithm>

#include "HalvexSim.h"

using namespace halvex_sim;

namespace {

constexpr ULONG_PTR kStatusSuccess = 0;
constexpr ULONG_PTR kStatusPending = 0x103;
constexpr ULONG_PTR kStatusUnsuccessful = 0xC0000001;
constexpr ULONG_PTR kStatusCancelled = 0xC0000120;

struct NeverDone {
  OVERLAPPED* overlapped;
  UCHAR pipe;
};

struct SimHandle {
  Device* device;
  std::vector<NeverDone> never;
};

SimHandle* simHandle(WINUSB_INTERFACE_HANDLE h) {
  return static_cast<SimHandle*>(h);
}

void boundOnly(const char* name) {
  ++state().boundOnlyCalls[name];
}

void record(Device& d, Event e) {
  if (state().record) d.events.push_back(std::move(e));
}

Device* deviceOfFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(file, &info)) return nullptr;
  for (auto& d : state().devices)
    if (d->volume == info.dwVolumeSerialNumber && d->indexHigh == info.nFileIndexHigh &&
        d->indexLow == info.nFileIndexLow)
      return d.get();
  return nullptr;
}

bool pipeExists(const Device& d, UCHAR pipe, bool in) {
  if (((pipe & 0x80) != 0) != in) return false;
  return std::any_of(d.pipes.begin(), d.pipes.end(), [&](const Pipe& p) { return p.id == pipe; });
}

void finish(OVERLAPPED* o, ULONG_PTR status, ULONG_PTR bytes, bool signal = true) {
  o->InternalHigh = bytes;
  MemoryBarrier();
  o->Internal = status;
  if (signal) SetEvent(o->hEvent);
}

struct Later {
  OVERLAPPED* overlapped;
  UCHAR* buffer;  // null for a write
  std::vector<uint8_t> bytes;
  ULONG count;
  DWORD delayMs;
};

DWORD WINAPI completeLater(void* p) {
  std::unique_ptr<Later> later(static_cast<Later*>(p));
  Sleep(later->delayMs);
  if (later->buffer != nullptr && !later->bytes.empty())
    memcpy(later->buffer, later->bytes.data(), later->bytes.size());
  finish(later->overlapped, kStatusSuccess, later->count);
  return 0;
}

// Plays one scripted transfer. `deliver` is what a read hands over (already cut
// to the caller's length); `count` is what the transfer reports as moved.
BOOL play(SimHandle* h, UCHAR pipe, UCHAR* buffer, const std::vector<uint8_t>& deliver, ULONG count,
          PULONG transferred, OVERLAPPED* o, const Transfer& t, bool in) {
  auto copyIn = [&] {
    if (in && !deliver.empty()) memcpy(buffer, deliver.data(), deliver.size());
  };
  switch (t.completion) {
    case Completion::Immediate:
      copyIn();
      if (transferred) *transferred = count;
      finish(o, kStatusSuccess, count, state().signalSynchronous);
      return TRUE;
    case Completion::Pending:
      copyIn();
      finish(o, kStatusSuccess, count);
      SetLastError(ERROR_IO_PENDING);
      return FALSE;
    case Completion::Delayed: {
      ResetEvent(o->hEvent);
      o->Internal = kStatusPending;
      auto* later = new Later{o, in ? buffer : nullptr, deliver, count, t.delayMs};
      CloseHandle(CreateThread(nullptr, 0, completeLater, later, 0, nullptr));
      SetLastError(ERROR_IO_PENDING);
      return FALSE;
    }
    case Completion::Fail:
      SetLastError(ERROR_GEN_FAILURE);
      return FALSE;
    case Completion::PendingFail:
      finish(o, kStatusUnsuccessful, 0);
      SetLastError(ERROR_IO_PENDING);
      return FALSE;
    case Completion::Never:
      ResetEvent(o->hEvent);
      o->Internal = kStatusPending;
      h->never.push_back({o, pipe});
      SetLastError(ERROR_IO_PENDING);
      return FALSE;
  }
  return FALSE;
}

void cancelNeverDone(SimHandle* h, UCHAR pipe, bool allPipes) {
  auto& list = h->never;
  for (auto it = list.begin(); it != list.end();) {
    if (allPipes || it->pipe == pipe) {
      finish(it->overlapped, kStatusCancelled, 0);
      it = list.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace

extern "C" {

BOOL WINAPI WinUsb_Initialize(HANDLE file, PWINUSB_INTERFACE_HANDLE handle) {
  Device* d = deviceOfFile(file);
  if (d != nullptr) ++d->initializeCalls;
  if (d == nullptr || d->initializeFails) {
    SetLastError(ERROR_INVALID_FUNCTION);
    return FALSE;
  }
  ++d->liveHandles;
  *handle = new SimHandle{d, {}};
  return TRUE;
}

BOOL WINAPI WinUsb_Free(WINUSB_INTERFACE_HANDLE handle) {
  SimHandle* h = simHandle(handle);
  if (h == nullptr) return FALSE;
  cancelNeverDone(h, 0, true);
  ++h->device->freeCalls;
  --h->device->liveHandles;
  delete h;
  return TRUE;
}

BOOL WINAPI WinUsb_GetDescriptor(WINUSB_INTERFACE_HANDLE handle, UCHAR type, UCHAR index,
                                 USHORT language, PUCHAR buffer, ULONG length, PULONG transferred) {
  Device& d = *simHandle(handle)->device;
  if (state().record) d.descriptorCalls.push_back({type, index, language, length});
  const std::vector<uint8_t>* source = nullptr;
  if (type == 1 && index == 0 && !d.deviceDescriptorFails) source = &d.deviceDescriptor;
  if (type == 3) {
    auto it = d.strings.find(index);
    if (it != d.strings.end()) source = &it->second;
  }
  if (source == nullptr) {
    SetLastError(ERROR_GEN_FAILURE);
    return FALSE;
  }
  const ULONG n = std::min<ULONG>(length, static_cast<ULONG>(source->size()));
  memcpy(buffer, source->data(), n);
  *transferred = n;
  return TRUE;
}

BOOL WINAPI WinUsb_QueryInterfaceSettings(WINUSB_INTERFACE_HANDLE handle, UCHAR alternate,
                                          PUSB_INTERFACE_DESCRIPTOR descriptor) {
  Device& d = *simHandle(handle)->device;
  d.querySettingsAlternates.push_back(alternate);
  if (d.querySettingsFails) {
    SetLastError(ERROR_GEN_FAILURE);
    return FALSE;
  }
  *descriptor = {};
  descriptor->bLength = 9;
  descriptor->bDescriptorType = 4;
  descriptor->bAlternateSetting = alternate;
  descriptor->bNumEndpoints = d.numEndpoints.value_or(static_cast<uint8_t>(d.pipes.size()));
  descriptor->bInterfaceClass = 0xFF;
  descriptor->iInterface = d.iInterface;
  return TRUE;
}

BOOL WINAPI WinUsb_QueryPipe(WINUSB_INTERFACE_HANDLE handle, UCHAR alternate, UCHAR index,
                             PWINUSB_PIPE_INFORMATION info) {
  Device& d = *simHandle(handle)->device;
  d.queriedPipes.push_back(index);
  if (alternate != 0 || index >= d.pipes.size() || !d.pipes[index].answers) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return FALSE;
  }
  *info = {};
  info->PipeType = d.pipes[index].type;
  info->PipeId = d.pipes[index].id;
  info->MaximumPacketSize = 64;
  return TRUE;
}

BOOL WINAPI WinUsb_FlushPipe(WINUSB_INTERFACE_HANDLE handle, UCHAR pipe) {
  record(*simHandle(handle)->device, Event{EventKind::Flush, pipe, {}, 0, nullptr});
  return TRUE;
}

BOOL WINAPI WinUsb_WritePipe(WINUSB_INTERFACE_HANDLE handle, UCHAR pipe, PUCHAR buffer,
                             ULONG length, PULONG transferred, LPOVERLAPPED overlapped) {
  SimHandle* h = simHandle(handle);
  Device& d = *h->device;
  if (state().record)
    record(d, Event{EventKind::Write, pipe, std::vector<uint8_t>(buffer, buffer + length), length,
                    overlapped ? overlapped->hEvent : nullptr});
  if (overlapped == nullptr || overlapped->hEvent == nullptr || !pipeExists(d, pipe, false)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Transfer t;
  if (!d.writes.empty()) {
    t = d.writes.front();
    d.writes.pop_front();
  }
  return play(h, pipe, buffer, {}, length, transferred, overlapped, t, false);
}

BOOL WINAPI WinUsb_ReadPipe(WINUSB_INTERFACE_HANDLE handle, UCHAR pipe, PUCHAR buffer, ULONG length,
                            PULONG transferred, LPOVERLAPPED overlapped) {
  SimHandle* h = simHandle(handle);
  Device& d = *h->device;
  record(d, Event{EventKind::Read, pipe, {}, length, overlapped ? overlapped->hEvent : nullptr});
  if (overlapped == nullptr || overlapped->hEvent == nullptr || !pipeExists(d, pipe, true)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (d.reads.empty() && d.everyRead) {
    const Transfer& t = *d.everyRead;
    const ULONG n = std::min<ULONG>(length, static_cast<ULONG>(t.bytes.size()));
    if (t.completion == Completion::Immediate) {
      // The benchmark's path: no copies beyond the delivery itself.
      memcpy(buffer, t.bytes.data(), n);
      if (transferred) *transferred = n;
      finish(overlapped, kStatusSuccess, n, state().signalSynchronous);
      return TRUE;
    }
  }
  Transfer t{Completion::Fail, {}};
  if (!d.reads.empty()) {
    t = std::move(d.reads.front());
    d.reads.pop_front();
  } else if (d.everyRead) {
    t = *d.everyRead;
  }
  std::vector<uint8_t> deliver(t.bytes.begin(),
                               t.bytes.begin() + std::min<size_t>(length, t.bytes.size()));
  return play(h, pipe, buffer, deliver, static_cast<ULONG>(deliver.size()), transferred, overlapped,
              t, true);
}

BOOL WINAPI WinUsb_GetOverlappedResult(WINUSB_INTERFACE_HANDLE, LPOVERLAPPED overlapped,
                                       LPDWORD transferred, BOOL wait) {
  if (overlapped->Internal == kStatusPending) {
    if (!wait) {
      SetLastError(ERROR_IO_INCOMPLETE);
      return FALSE;
    }
    WaitForSingleObject(overlapped->hEvent, INFINITE);
  }
  MemoryBarrier();
  *transferred = static_cast<DWORD>(overlapped->InternalHigh);
  if (overlapped->Internal != kStatusSuccess) {
    SetLastError(overlapped->Internal == kStatusCancelled ? ERROR_OPERATION_ABORTED
                                                          : ERROR_GEN_FAILURE);
    return FALSE;
  }
  return TRUE;
}

BOOL WINAPI WinUsb_AbortPipe(WINUSB_INTERFACE_HANDLE handle, UCHAR pipe) {
  SimHandle* h = simHandle(handle);
  record(*h->device, Event{EventKind::Abort, pipe, {}, 0, nullptr});
  cancelNeverDone(h, pipe, false);
  return TRUE;
}

// Bound by the library but never called by it: each call is counted so that tests
// can tell.
BOOL WINAPI WinUsb_GetAssociatedInterface(WINUSB_INTERFACE_HANDLE, UCHAR,
                                          PWINUSB_INTERFACE_HANDLE) {
  boundOnly("WinUsb_GetAssociatedInterface");
  return FALSE;
}
BOOL WINAPI WinUsb_QueryDeviceInformation(WINUSB_INTERFACE_HANDLE, ULONG, PULONG, PVOID) {
  boundOnly("WinUsb_QueryDeviceInformation");
  return FALSE;
}
BOOL WINAPI WinUsb_SetCurrentAlternateSetting(WINUSB_INTERFACE_HANDLE, UCHAR) {
  boundOnly("WinUsb_SetCurrentAlternateSetting");
  return FALSE;
}
BOOL WINAPI WinUsb_GetCurrentAlternateSetting(WINUSB_INTERFACE_HANDLE, PUCHAR) {
  boundOnly("WinUsb_GetCurrentAlternateSetting");
  return FALSE;
}
BOOL WINAPI WinUsb_SetPipePolicy(WINUSB_INTERFACE_HANDLE, UCHAR, ULONG, ULONG, PVOID) {
  boundOnly("WinUsb_SetPipePolicy");
  return FALSE;
}
BOOL WINAPI WinUsb_GetPipePolicy(WINUSB_INTERFACE_HANDLE, UCHAR, ULONG, PULONG, PVOID) {
  boundOnly("WinUsb_GetPipePolicy");
  return FALSE;
}
BOOL WINAPI WinUsb_ControlTransfer(WINUSB_INTERFACE_HANDLE, WINUSB_SETUP_PACKET, PUCHAR, ULONG,
                                   PULONG, LPOVERLAPPED) {
  boundOnly("WinUsb_ControlTransfer");
  return FALSE;
}
BOOL WINAPI WinUsb_ResetPipe(WINUSB_INTERFACE_HANDLE, UCHAR) {
  boundOnly("WinUsb_ResetPipe");
  return FALSE;
}
BOOL WINAPI WinUsb_SetPowerPolicy(WINUSB_INTERFACE_HANDLE, ULONG, ULONG, PVOID) {
  boundOnly("WinUsb_SetPowerPolicy");
  return FALSE;
}
BOOL WINAPI WinUsb_GetPowerPolicy(WINUSB_INTERFACE_HANDLE, ULONG, PULONG, PVOID) {
  boundOnly("WinUsb_GetPowerPolicy");
  return FALSE;
}
PUSB_INTERFACE_DESCRIPTOR WINAPI WinUsb_ParseConfigurationDescriptor(PUSB_CONFIGURATION_DESCRIPTOR,
                                                                     PVOID, LONG, LONG, LONG, LONG,
                                                                     LONG) {
  boundOnly("WinUsb_ParseConfigurationDescriptor");
  return nullptr;
}
PUSB_COMMON_DESCRIPTOR WINAPI WinUsb_ParseDescriptors(PVOID, ULONG, PVOID, LONG) {
  boundOnly("WinUsb_ParseDescriptors");
  return nullptr;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  static bool attached = false;
  if (reason == DLL_PROCESS_ATTACH) {
    if (state().refuseLoad["winusb"]) return FALSE;
    attached = true;
    ++state().attaches["winusb"];
  } else if (reason == DLL_PROCESS_DETACH && attached) {
    ++state().detaches["winusb"];
  }
  return TRUE;
}
