// Shared fixture of the test host: loads Halvex-Rpc32.dll from beside the test
// executable by name and reaches it only through the export and the interface
// header, as a host built elsewhere would.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "HalvexRpc.h"
#include "HalvexSim.h"

using Enumerator = HalvexRpc::Enumerator;
using UsbDevice = HalvexRpc::UsbDevice;
using Programmer = HalvexRpc::HalvexProgrammer;
using RangeInfo = HalvexRpc::HalvexProgrammer::RangeInfo;

// Folder of the test executable, with a trailing backslash.
std::string hostFolder();

// The library's entry, looked up once.
HalvexRpcGetInterfaceFn rpcEntry();

// Calls operation `slot` of `object` straight through its table, ignoring the
// header's declarations: this is how the binary interface is pinned down.
template <class R, class... A>
R callSlot(void* object, size_t slot, std::type_identity_t<A>... args) {
  using Fn = R(HALVEX_RPC_CALL*)(void*, A...);
  void** table = *static_cast<void***>(object);
  return reinterpret_cast<Fn>(table[slot])(object, args...);
}

bool moduleLoaded(const char* name);

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  halvex_sim::State& sim() { return halvex_sim::state(); }
  HalvexRpc* getInterface(int32_t version = HALVEX_RPC_INTERFACE_VERSION) {
    return rpcEntry()(version);
  }
};

// A host that has opened the first device of the wildcard enumeration; releases
// in the documented order unless a test does it itself.
class OpenDeviceTest : public HostTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Opens the current sim devices; false when no device could be opened.
  bool openFirst();

  halvex_sim::Device* simDevice = nullptr;
  HalvexRpc* rpc = nullptr;
  Enumerator* enumerator = nullptr;
  UsbDevice* device = nullptr;
  Programmer* programmer = nullptr;
};
