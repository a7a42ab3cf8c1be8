// Platform-independent layer of the top-level interface object.
#pragma once

#include "HalvexRpc.h"
#include "ReferencedInstance_Core.h"

class HalvexRpcCore : public ReferencedInstance_Core<HalvexRpc> {
 public:
  class UsbDevice_Core;
  class HalvexProgrammer_Core;

  // Asks the device for its range table; null when the device cannot give one.
  HalvexProgrammer* HALVEX_RPC_CALL createProgrammer(UsbDevice* device) noexcept override;

 protected:
  HalvexRpcCore() = default;
  ~HalvexRpcCore() = default;
};
