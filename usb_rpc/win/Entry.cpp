// The library's only export. Its name is fixed by the .def file, undecorated on
// both architectures.
#include <new>

#include "HalvexRpcWin.h"

extern "C" HalvexRpc* HALVEX_RPC_EXPORT_CALL HalvexRpcGetInterface(int32_t version) noexcept {
  if (version != HALVEX_RPC_INTERFACE_VERSION) return nullptr;
  UsbLibraryContext* context = loadUsbLibraries();
  if (context == nullptr) return nullptr;
  auto* rpc = new (std::nothrow) HalvexRpcWin(context);
  if (rpc == nullptr) releaseUsbLibraries(context);
  return rpc;
}
