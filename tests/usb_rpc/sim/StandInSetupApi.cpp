// Stand-in setupapi.dll: lists the simulated devices as interfaces of the
// programmer's interface class. Exports come from setupapi.def.
#define _SETUPAPI_
#include "HalvexSim.h"

#include <setupapi.h>
#include <stddef.h>
#include <string.h>

using namespace halvex_sim;

namespace {

const GUID kInterfaceClass = {
    0x72B7FC1C, 0x2485, 0x2485, {0x81, 0xE4, 0x91, 0x0F, 0x74, 0xBD, 0x73, 0x58}};

struct SimSet {
  std::vector<Device*> devices;
};

SimSet* simSet(HDEVINFO set) {
  return set == nullptr || set == INVALID_HANDLE_VALUE ? nullptr : static_cast<SimSet*>(set);
}

void boundOnly(const char* name) {
  ++state().boundOnlyCalls[name];
}

BOOL fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace

extern "C" {

HDEVINFO WINAPI SetupDiGetClassDevsA(const GUID* guid, PCSTR enumerator, HWND parent, DWORD flags) {
  State& s = state();
  s.classDevsCalls.push_back({*guid, enumerator == nullptr, parent == nullptr, flags});
  if (s.classDevsFails) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  auto* set = new SimSet;
  if (memcmp(guid, &kInterfaceClass, sizeof(GUID)) == 0)
    for (auto& d : s.devices) set->devices.push_back(d.get());
  ++s.liveSets;
  return set;
}

BOOL WINAPI SetupDiEnumDeviceInterfaces(HDEVINFO handle, PSP_DEVINFO_DATA, const GUID* guid,
                                        DWORD index, PSP_DEVICE_INTERFACE_DATA data) {
  SimSet* set = simSet(handle);
  if (set == nullptr) return fail(ERROR_INVALID_HANDLE);
  state().interfaceDataSizes.push_back(data->cbSize);
  if (data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA)) return fail(ERROR_INVALID_USER_BUFFER);
  if (index >= set->devices.size()) return fail(ERROR_NO_MORE_ITEMS);
  data->InterfaceClassGuid = *guid;
  data->Flags = SPINT_ACTIVE;
  data->Reserved = index + 1;
  return TRUE;
}

BOOL WINAPI SetupDiGetDeviceInterfaceDetailA(HDEVINFO handle, PSP_DEVICE_INTERFACE_DATA data,
                                             PSP_DEVICE_INTERFACE_DETAIL_DATA_A detail,
                                             DWORD bufferBytes, PDWORD required, PSP_DEVINFO_DATA) {
  SimSet* set = simSet(handle);
  state().detailCalls.push_back({detail != nullptr, bufferBytes, detail ? detail->cbSize : 0});
  if (set == nullptr) return fail(ERROR_INVALID_HANDLE);
  if (data == nullptr || data->cbSize != sizeof(SP_DEVICE_INTERFACE_DATA) || data->Reserved == 0 ||
      data->Reserved > set->devices.size())
    return fail(ERROR_INVALID_PARAMETER);
  const Device& d = *set->devices[data->Reserved - 1];
  const DWORD pathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
  const DWORD needed = pathOffset + static_cast<DWORD>(d.path.size()) + 1;

  if (d.detail == DetailMode::OtherError) return fail(ERROR_INVALID_PARAMETER);
  if (detail == nullptr) {
    if (bufferBytes != 0) return fail(ERROR_INVALID_USER_BUFFER);
    if (required) *required = d.detail == DetailMode::NoRoomForPath ? pathOffset : needed;
    return fail(ERROR_INSUFFICIENT_BUFFER);
  }
  if (detail->cbSize != sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A))
    return fail(ERROR_INVALID_USER_BUFFER);
  if (d.detail == DetailMode::PathFails) return fail(ERROR_GEN_FAILURE);
  if (bufferBytes < needed) {
    if (required) *required = needed;
    return fail(ERROR_INSUFFICIENT_BUFFER);
  }
  memcpy(detail->DevicePath, d.path.c_str(), d.path.size() + 1);
  if (required) *required = needed;
  return TRUE;
}

BOOL WINAPI SetupDiDestroyDeviceInfoList(HDEVINFO handle) {
  SimSet* set = simSet(handle);
  if (set == nullptr) return fail(ERROR_INVALID_HANDLE);
  --state().liveSets;
  ++state().destroyedSets;
  delete set;
  return TRUE;
}

// Bound by the library but never called by it.
BOOL WINAPI SetupDiEnumDeviceInfo(HDEVINFO, DWORD, PSP_DEVINFO_DATA) {
  boundOnly("SetupDiEnumDeviceInfo");
  return FALSE;
}
BOOL WINAPI SetupDiGetDevicePropertyW(HDEVINFO, PSP_DEVINFO_DATA, const DEVPROPKEY*, DEVPROPTYPE*,
                                      PBYTE, DWORD, PDWORD, DWORD) {
  boundOnly("SetupDiGetDevicePropertyW");
  return FALSE;
}
BOOL WINAPI SetupDiGetDeviceRegistryPropertyA(HDEVINFO, PSP_DEVINFO_DATA, DWORD, PDWORD, PBYTE,
                                              DWORD, PDWORD) {
  boundOnly("SetupDiGetDeviceRegistryPropertyA");
  return FALSE;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  static bool attached = false;
  if (reason == DLL_PROCESS_ATTACH) {
    if (state().refuseLoad["setupapi"]) return FALSE;
    attached = true;
    ++state().attaches["setupapi"];
  } else if (reason == DLL_PROCESS_DETACH && attached) {
    ++state().detaches["setupapi"];
  }
  return TRUE;
}
