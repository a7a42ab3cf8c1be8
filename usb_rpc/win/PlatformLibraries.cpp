#include "PlatformLibraries.h"

#include <stdint.h>

#include <iterator>
#include <new>

namespace {

constexpr const char* kWinUsbNames[] = {
    "WinUsb_Initialize",
    "WinUsb_Free",
    "WinUsb_GetAssociatedInterface",
    "WinUsb_GetDescriptor",
    "WinUsb_QueryInterfaceSettings",
    "WinUsb_QueryDeviceInformation",
    "WinUsb_SetCurrentAlternateSetting",
    "WinUsb_GetCurrentAlternateSetting",
    "WinUsb_QueryPipe",
    "WinUsb_SetPipePolicy",
    "WinUsb_GetPipePolicy",
    "WinUsb_ReadPipe",
    "WinUsb_WritePipe",
    "WinUsb_ControlTransfer",
    "WinUsb_ResetPipe",
    "WinUsb_AbortPipe",
    "WinUsb_FlushPipe",
    "WinUsb_SetPowerPolicy",
    "WinUsb_GetPowerPolicy",
    "WinUsb_GetOverlappedResult",
    "WinUsb_ParseConfigurationDescriptor",
    "WinUsb_ParseDescriptors",
};
static_assert(std::size(kWinUsbNames) == static_cast<size_t>(platform::WinUsbProc::Count));

constexpr const char* kSetupApiNames[] = {
    "SetupDiGetClassDevsA",
    "SetupDiEnumDeviceInterfaces",
    "SetupDiGetDeviceInterfaceDetailA",
    "SetupDiDestroyDeviceInfoList",
    "SetupDiEnumDeviceInfo",
    "SetupDiGetDevicePropertyW",
    "SetupDiGetDeviceRegistryPropertyA",
};
static_assert(std::size(kSetupApiNames) == static_cast<size_t>(platform::SetupApiProc::Count));

// One platform library loaded by name, with every name it must export.
template <size_t N>
class BoundLibrary {
 public:
  BoundLibrary(const char* fileName, const char* const (&names)[N])
      : fileName_(fileName), names_(names) {}

  bool loaded() const { return module_ != nullptr; }
  FARPROC proc(size_t index) const { return procs_[index]; }

  // Binds the names in order; a library that lacks any of them is unloaded again.
  void load() {
    if (module_ != nullptr) return;
    HMODULE module = LoadLibraryA(fileName_);
    if (module == nullptr) return;
    for (size_t i = 0; i < N; ++i) {
      procs_[i] = GetProcAddress(module, names_[i]);
      if (procs_[i] == nullptr) {
        clearProcs();
        FreeLibrary(module);
        return;
      }
    }
    module_ = module;
  }

  void unload() {
    if (module_ == nullptr) return;
    clearProcs();
    FreeLibrary(module_);
    module_ = nullptr;
  }

 private:
  void clearProcs() {
    for (FARPROC& p : procs_) p = nullptr;
  }

  const char* fileName_;
  const char* const (&names_)[N];
  HMODULE module_ = nullptr;
  FARPROC procs_[N] = {};
};

BoundLibrary winUsb("WINUSB.DLL", kWinUsbNames);
BoundLibrary setupApi("SETUPAPI.DLL", kSetupApiNames);

UsbLibraryContext* usbLibraryContext = nullptr;
int32_t usbLibraryUsers = 0;

}  // namespace

UsbLibraryContext* loadUsbLibraries() noexcept {
  if (usbLibraryContext != nullptr) {
    ++usbLibraryUsers;
    return usbLibraryContext;
  }
  auto* context = new (std::nothrow) UsbLibraryContext;
  if (context == nullptr) return nullptr;
  winUsb.load();
  setupApi.load();
  if (!winUsb.loaded() || !setupApi.loaded()) {
    // A library that did load stays loaded; the next attempt loads only the other.
    delete context;
    return nullptr;
  }
  usbLibraryContext = context;
  ++usbLibraryUsers;
  return context;
}

void retainUsbLibraries(UsbLibraryContext* context) noexcept {
  if (context != nullptr && context == usbLibraryContext) ++usbLibraryUsers;
}

void releaseUsbLibraries(UsbLibraryContext* context) noexcept {
  if (context == nullptr || context != usbLibraryContext) return;
  if (--usbLibraryUsers > 0) return;
  usbLibraryUsers = 0;
  winUsb.unload();
  setupApi.unload();
  usbLibraryContext = nullptr;
  delete context;
}

namespace platform {

FARPROC boundProc(WinUsbProc which) noexcept {
  return winUsb.proc(static_cast<size_t>(which));
}

FARPROC boundProc(SetupApiProc which) noexcept {
  return setupApi.proc(static_cast<size_t>(which));
}

}  // namespace platform
