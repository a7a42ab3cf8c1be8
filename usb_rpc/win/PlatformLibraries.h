// WinUSB and device setup, loaded by name at run time and shared by every object
// of the library.
#pragma once

#include <windows.h>
#include <setupapi.h>
#include <winusb.h>

#include <stddef.h>

// Exists while the platform libraries are loaded.
struct UsbLibraryContext {};

// Runs the loading rules: shares one loading, binds every name of each library in
// order and keeps a library that did load when the other one failed. Null when
// either library or any of its names is missing; otherwise counts one more user.
UsbLibraryContext* loadUsbLibraries() noexcept;

// One more user of a loading that exists.
void retainUsbLibraries(UsbLibraryContext* context) noexcept;

// One user less; the last one unloads both libraries.
void releaseUsbLibraries(UsbLibraryContext* context) noexcept;

// Holds one use of the platform libraries for the lifetime of its owner, so the
// libraries stay loaded until every object that calls into them is gone.
class UsbLibraryUse {
 public:
  // Adopt: the use that loadUsbLibraries already counted. Share: one more use.
  enum Kind { Adopt, Share };

  UsbLibraryUse(UsbLibraryContext* context, Kind kind) noexcept : context_(context) {
    if (kind == Share) retainUsbLibraries(context);
  }
  ~UsbLibraryUse() { releaseUsbLibraries(context_); }
  UsbLibraryUse(const UsbLibraryUse&) = delete;
  UsbLibraryUse& operator=(const UsbLibraryUse&) = delete;
  UsbLibraryContext* context() const { return context_; }

 private:
  UsbLibraryContext* context_;
};

namespace platform {

enum class WinUsbProc : size_t {
  Initialize,
  Free,
  GetAssociatedInterface,
  GetDescriptor,
  QueryInterfaceSettings,
  QueryDeviceInformation,
  SetCurrentAlternateSetting,
  GetCurrentAlternateSetting,
  QueryPipe,
  SetPipePolicy,
  GetPipePolicy,
  ReadPipe,
  WritePipe,
  ControlTransfer,
  ResetPipe,
  AbortPipe,
  FlushPipe,
  SetPowerPolicy,
  GetPowerPolicy,
  GetOverlappedResult,
  ParseConfigurationDescriptor,
  ParseDescriptors,
  Count
};

enum class SetupApiProc : size_t {
  GetClassDevsA,
  EnumDeviceInterfaces,
  GetDeviceInterfaceDetailA,
  DestroyDeviceInfoList,
  EnumDeviceInfo,
  GetDevicePropertyW,
  GetDeviceRegistryPropertyA,
  Count
};

FARPROC boundProc(WinUsbProc which) noexcept;
FARPROC boundProc(SetupApiProc which) noexcept;

template <class Fn, class Which>
Fn bound(Which which) noexcept {
  // Through the generic function type, which converts to any other without a
  // mismatched-signature warning.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(boundProc(which)));
}

// Typed calls of the functions the library uses; valid while a use is held.
#define HALVEX_BOUND_CALL(lib, name, proc)               \
  template <class... Args>                               \
  inline auto name(Args... args) {                       \
    return bound<decltype(&::proc)>(lib::name)(args...); \
  }

namespace winusb {
using P = WinUsbProc;
HALVEX_BOUND_CALL(P, Initialize, WinUsb_Initialize)
HALVEX_BOUND_CALL(P, Free, WinUsb_Free)
HALVEX_BOUND_CALL(P, GetDescriptor, WinUsb_GetDescriptor)
HALVEX_BOUND_CALL(P, QueryInterfaceSettings, WinUsb_QueryInterfaceSettings)
HALVEX_BOUND_CALL(P, QueryPipe, WinUsb_QueryPipe)
HALVEX_BOUND_CALL(P, ReadPipe, WinUsb_ReadPipe)
HALVEX_BOUND_CALL(P, WritePipe, WinUsb_WritePipe)
HALVEX_BOUND_CALL(P, AbortPipe, WinUsb_AbortPipe)
HALVEX_BOUND_CALL(P, FlushPipe, WinUsb_FlushPipe)
HALVEX_BOUND_CALL(P, GetOverlappedResult, WinUsb_GetOverlappedResult)
}  // namespace winusb

namespace setupdi {
using P = SetupApiProc;
HALVEX_BOUND_CALL(P, GetClassDevsA, SetupDiGetClassDevsA)
HALVEX_BOUND_CALL(P, EnumDeviceInterfaces, SetupDiEnumDeviceInterfaces)
HALVEX_BOUND_CALL(P, GetDeviceInterfaceDetailA, SetupDiGetDeviceInterfaceDetailA)
HALVEX_BOUND_CALL(P, DestroyDeviceInfoList, SetupDiDestroyDeviceInfoList)
}  // namespace setupdi

#undef HALVEX_BOUND_CALL

}  // namespace platform
