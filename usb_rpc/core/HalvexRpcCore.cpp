#include "HalvexRpcCore.h"

#include "HalvexProgrammer_Core.h"

HalvexRpc::HalvexProgrammer* HALVEX_RPC_CALL
HalvexRpcCore::createProgrammer(UsbDevice* device) noexcept {
  return HalvexProgrammer_Core::create(device);
}
