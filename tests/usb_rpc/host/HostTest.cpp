#include "HostTest.h"

#include <windows.h>

std::string hostFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

HalvexRpcGetInterfaceFn rpcEntry() {
  static HalvexRpcGetInterfaceFn entry = [] {
    HMODULE module = LoadLibraryA("Halvex-Rpc32.dll");
    EXPECT_NE(module, nullptr);
    FARPROC proc = module ? GetProcAddress(module, HALVEX_RPC_ENTRY_NAME) : nullptr;
    EXPECT_NE(proc, nullptr);
    return reinterpret_cast<HalvexRpcGetInterfaceFn>(reinterpret_cast<void (*)()>(proc));
  }();
  return entry;
}

bool moduleLoaded(const char* name) {
  return GetModuleHandleA(name) != nullptr;
}

void HostTest::SetUp() {
  halvex_sim::reset();
  ASSERT_NE(rpcEntry(), nullptr);
}

void HostTest::TearDown() {
  // A failed loading may have left one platform library bound inside the DLL; a
  // successful one followed by its release unloads both.
  sim().refuseLoad.clear();
  if (moduleLoaded("winusb.dll") || moduleLoaded("setupapi.dll")) {
    if (HalvexRpc* rpc = getInterface()) rpc->release();
  }
  EXPECT_FALSE(moduleLoaded("winusb.dll"));
  EXPECT_FALSE(moduleLoaded("setupapi.dll"));
  halvex_sim::reset();
}

void OpenDeviceTest::SetUp() {
  HostTest::SetUp();
  simDevice = &halvex_sim::addDevice();
}

bool OpenDeviceTest::openFirst() {
  rpc = getInterface();
  if (rpc == nullptr) return false;
  enumerator = rpc->createEnumerator(0xFFFF, 0xFFFF);
  if (enumerator == nullptr || !enumerator->isValid()) return false;
  device = enumerator->openDevice();
  if (device == nullptr) return false;
  for (auto& d : sim().devices) d->clearRecords();
  return true;
}

void OpenDeviceTest::TearDown() {
  if (programmer) programmer->release();
  if (device) device->release();
  if (enumerator) enumerator->release();
  if (rpc) rpc->release();
  HostTest::TearDown();
}
