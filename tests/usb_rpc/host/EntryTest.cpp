// The export, the loading and sharing of the platform libraries, reference
// counting, the timer and the binary layout of the interface objects.
#include <windows.h>

#include <cmath>

#include "HostTest.h"

using namespace halvex_sim;

namespace {

class EntryTest : public HostTest {};

TEST_F(EntryTest, OnlyVersion256GivesAnInterfaceAndOthersLoadNothing) {
  for (int32_t version : {0, 1, 255, 257, 0x10100, -256}) {
    SCOPED_TRACE(version);
    EXPECT_EQ(getInterface(version), nullptr);
    EXPECT_FALSE(moduleLoaded("winusb.dll"));
    EXPECT_FALSE(moduleLoaded("setupapi.dll"));
  }
  EXPECT_EQ(sim().attaches["winusb"], 0);
  EXPECT_EQ(sim().attaches["setupapi"], 0);

  HalvexRpc* rpc = getInterface(256);
  ASSERT_NE(rpc, nullptr);
  EXPECT_TRUE(moduleLoaded("winusb.dll"));
  EXPECT_TRUE(moduleLoaded("setupapi.dll"));
  rpc->release();
  EXPECT_EQ(sim().detaches["winusb"], 1);
  EXPECT_EQ(sim().detaches["setupapi"], 1);
}

TEST_F(EntryTest, InterfacesShareOneLoadingAndTheNextOneLoadsAgain) {
  HalvexRpc* first = getInterface();
  HalvexRpc* second = getInterface();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(sim().attaches["winusb"], 1);
  EXPECT_EQ(sim().attaches["setupapi"], 1);

  first->release();
  EXPECT_TRUE(moduleLoaded("winusb.dll"));
  EXPECT_TRUE(moduleLoaded("setupapi.dll"));
  EXPECT_EQ(sim().detaches["winusb"], 0);
  second->release();
  EXPECT_FALSE(moduleLoaded("winusb.dll"));
  EXPECT_FALSE(moduleLoaded("setupapi.dll"));

  HalvexRpc* third = getInterface();
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(sim().attaches["winusb"], 2);
  EXPECT_EQ(sim().attaches["setupapi"], 2);
  third->release();
  EXPECT_EQ(sim().detaches["winusb"], 2);
}

// A library that fails to load gives null; the other one stays loaded and is not
// loaded a second time by the next attempt.
TEST_F(EntryTest, AMissingLibraryGivesNullAndKeepsTheOtherLoaded) {
  struct Case {
    const char* missing;
    const char* other;
  };
  for (const Case& c : {Case{"setupapi", "winusb"}, Case{"winusb", "setupapi"}}) {
    SCOPED_TRACE(c.missing);
    halvex_sim::reset();
    sim().refuseLoad[c.missing] = true;
    EXPECT_EQ(getInterface(), nullptr);
    EXPECT_EQ(getInterface(), nullptr);
    EXPECT_TRUE(moduleLoaded((std::string(c.other) + ".dll").c_str()));
    EXPECT_FALSE(moduleLoaded((std::string(c.missing) + ".dll").c_str()));
    EXPECT_EQ(sim().attaches[c.other], 1);

    sim().refuseLoad[c.missing] = false;
    HalvexRpc* rpc = getInterface();
    ASSERT_NE(rpc, nullptr);
    EXPECT_EQ(sim().attaches[c.other], 1);
    EXPECT_EQ(sim().attaches[c.missing], 1);
    rpc->release();
    EXPECT_FALSE(moduleLoaded("winusb.dll"));
    EXPECT_FALSE(moduleLoaded("setupapi.dll"));
  }
}

// Every bound name must be present, also those the library never calls. The
// stand-in lacking one name is loaded first by its full path, so the library's
// load by name finds that module.
TEST_F(EntryTest, ALibraryLackingAnyBoundNameIsUnloadedAndGivesNull) {
  const char* const winUsbNames[] = {"WinUsb_Initialize",
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
                                     "WinUsb_ParseDescriptors"};
  const char* const setupApiNames[] = {"SetupDiGetClassDevsA",
                                       "SetupDiEnumDeviceInterfaces",
                                       "SetupDiGetDeviceInterfaceDetailA",
                                       "SetupDiDestroyDeviceInfoList",
                                       "SetupDiEnumDeviceInfo",
                                       "SetupDiGetDevicePropertyW",
                                       "SetupDiGetDeviceRegistryPropertyA"};
  struct Library {
    const char* file;
    const char* other;
    const char* const* names;
    size_t count;
  };
  for (const Library& lib : {Library{"winusb.dll", "setupapi.dll", winUsbNames, 22},
                             Library{"setupapi.dll", "winusb.dll", setupApiNames, 7}}) {
    // Start with nothing loaded: the other library stays bound after a failure.
    if (HalvexRpc* rpc = getInterface()) rpc->release();
    ASSERT_FALSE(moduleLoaded(lib.file));
    for (size_t i = 0; i < lib.count; ++i) {
      SCOPED_TRACE(lib.names[i]);
      const std::string path = hostFolder() + "lacking\\" + lib.names[i] + "\\" + lib.file;
      HMODULE lacking = LoadLibraryA(path.c_str());
      ASSERT_NE(lacking, nullptr);
      ASSERT_EQ(GetProcAddress(lacking, lib.names[i]), nullptr);

      HalvexRpc* rpc = getInterface();
      EXPECT_EQ(rpc, nullptr);
      if (rpc) rpc->release();
      FreeLibrary(lacking);
      EXPECT_FALSE(moduleLoaded(lib.file)) << "the library kept a reference";
      EXPECT_TRUE(moduleLoaded(lib.other));
    }
  }
}

TEST_F(EntryTest, ReleaseOfACountOfTwoKeepsTheObject) {
  addDevice();
  HalvexRpc* rpc = getInterface();
  ASSERT_NE(rpc, nullptr);
  rpc->retain();
  rpc->release();
  EXPECT_TRUE(moduleLoaded("winusb.dll"));

  Enumerator* enumerator = rpc->createEnumerator(0xFFFF, 0xFFFF);
  UsbDevice* device = enumerator->openDevice();
  ASSERT_NE(device, nullptr);
  const int freedBefore = sim().devices[0]->freeCalls;
  device->retain();
  device->release();
  EXPECT_EQ(sim().devices[0]->freeCalls, freedBefore);
  EXPECT_EQ(device->getVendorId(), 0x1234);
  device->release();
  EXPECT_EQ(sim().devices[0]->freeCalls, freedBefore + 1);

  enumerator->retain();
  enumerator->release();
  EXPECT_EQ(sim().destroyedSets, 0);
  enumerator->release();
  EXPECT_EQ(sim().destroyedSets, 1);
  rpc->release();
}

TEST_F(EntryTest, GetSecondsFollowsThePerformanceCounter) {
  HalvexRpc* rpc = getInterface();
  ASSERT_NE(rpc, nullptr);
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  const double first = rpc->getSeconds();
  QueryPerformanceCounter(&now);
  const double host = static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
  EXPECT_NEAR(first, host, 0.05);
  Sleep(100);
  const double elapsed = rpc->getSeconds() - first;
  EXPECT_GE(elapsed, 0.09);
  EXPECT_LT(elapsed, 2.0);
  rpc->release();
}

// A host that releases the interface before its devices and enumerators must not
// find the platform libraries gone under them.
TEST_F(EntryTest, LibrariesStayLoadedUntilTheLastObjectThatUsesThemIsReleased) {
  Device& sd = addDevice();
  HalvexRpc* rpc = getInterface();
  ASSERT_NE(rpc, nullptr);
  Enumerator* enumerator = rpc->createEnumerator(0xFFFF, 0xFFFF);
  UsbDevice* device = enumerator->openDevice();
  ASSERT_NE(device, nullptr);

  rpc->release();
  EXPECT_TRUE(moduleLoaded("winusb.dll"));
  sd.reply(countedReply(0, {}));
  EXPECT_TRUE(device->transact(0x1002, nullptr, 0, nullptr, 0, 0));
  enumerator->release();
  EXPECT_EQ(sim().destroyedSets, 1);
  EXPECT_TRUE(moduleLoaded("setupapi.dll"));
  device->release();
  EXPECT_EQ(sd.liveHandles, 0);
  EXPECT_FALSE(moduleLoaded("winusb.dll"));
  EXPECT_FALSE(moduleLoaded("setupapi.dll"));
}

// Each operation is called through its slot number, not through the header, so a
// shifted table (for instance by a two-slot virtual destructor) shows up here.
TEST_F(EntryTest, OperationsSitInTheirTableSlots) {
  Device& sd = addDevice();
  sd.reply(countedReply(0xBEEF, {0x0011, 0x0022}));

  void* rpc = getInterface();
  ASSERT_NE(rpc, nullptr);
  EXPECT_GT((callSlot<double>(rpc, 5)), 0.0);
  callSlot<void>(rpc, 1);  // retain
  callSlot<void>(rpc, 2);  // release: still alive with a count of 1
  void* enumerator = callSlot<Enumerator*, uint16_t, uint16_t>(rpc, 3, 0xFFFF, 0xFFFF);
  ASSERT_NE(enumerator, nullptr);
  EXPECT_TRUE((callSlot<bool>(enumerator, 5)));
  void* device = callSlot<UsbDevice*>(enumerator, 3);
  ASSERT_NE(device, nullptr);
  EXPECT_EQ((callSlot<uint16_t>(device, 3)), 0x1234);
  EXPECT_EQ((callSlot<uint16_t>(device, 4)), 0x5678);
  EXPECT_EQ((callSlot<uint16_t>(device, 5)), 0x0100);
  EXPECT_STREQ((callSlot<const char*>(device, 6)), "Maker");
  EXPECT_STREQ((callSlot<const char*>(device, 7)), "Programmer");
  EXPECT_STREQ((callSlot<const char*>(device, 8)), "SN001");
  EXPECT_TRUE((callSlot<bool>(device, 9)));
  const uint16_t payload[1] = {7};
  EXPECT_TRUE((callSlot<bool, uint16_t, const void*, uint32_t, const void*, uint32_t, uint32_t>(
      device, 10, 0x1002, payload, 2, nullptr, 0, 0)));
  EXPECT_EQ((callSlot<uint32_t>(device, 11)), 2u);
  EXPECT_EQ(*static_cast<const uint16_t*>(callSlot<const void*>(device, 12)), 0x0011);
  EXPECT_EQ((callSlot<uint16_t>(device, 13)), 0xBEEF);
  EXPECT_FALSE((callSlot<bool>(enumerator, 4)));  // next: no second device

  // Range table: block words 32, one format-1 range "FLASH".
  std::vector<uint16_t> table = {32, 1, 1, 0, 2, 3, 9, 0, 0, 0};
  for (int i = 0; i < 6; ++i) table.push_back(0);
  table[10] = 'F' | ('L' << 8);
  table[11] = 'A' | ('S' << 8);
  table[12] = 'H';
  sd.reply(countedReply(0, table));
  void* programmer = callSlot<Programmer*, UsbDevice*>(rpc, 4, static_cast<UsbDevice*>(device));
  ASSERT_NE(programmer, nullptr);
  EXPECT_EQ((callSlot<uint32_t>(programmer, 3)), 32u);
  EXPECT_EQ((callSlot<uint32_t>(programmer, 4)), 1u);
  void* range = callSlot<RangeInfo*, uint32_t>(programmer, 5, 0);
  ASSERT_NE(range, nullptr);
  EXPECT_EQ((callSlot<uint32_t>(range, 5)), 32u);

  // Each command's request code shows which operation ran.
  auto lastCommand = [&] {
    auto writes = sd.eventsOf(EventKind::Write);
    return writes.empty() ? -1 : writes.back().bytes[8] | (writes.back().bytes[9] << 8);
  };
  sd.everyRead = Transfer{Completion::Immediate, countedReply(0, {})};
  EXPECT_TRUE((callSlot<bool>(programmer, 6)));
  EXPECT_EQ(lastCommand(), 0x1004);
  EXPECT_TRUE((callSlot<bool, uint32_t>(range, 1, 5)));
  EXPECT_EQ(lastCommand(), 0x1001);
  EXPECT_TRUE((callSlot<bool, const void*, uint32_t, uint32_t>(range, 2, nullptr, 32, 0)));
  EXPECT_EQ(lastCommand(), 0x1003);
  EXPECT_TRUE((callSlot<bool>(range, 3)));
  EXPECT_EQ(lastCommand(), 0x1002);
  EXPECT_TRUE((callSlot<bool>(range, 4)));
  EXPECT_EQ(lastCommand(), 0x1004);

  // Slot 0 with flag 1 destroys and frees; release is slot 2.
  callSlot<void>(programmer, 2);
  callSlot<void, unsigned>(device, 0, 1);
  EXPECT_EQ(sd.liveHandles, 0);
  callSlot<void, unsigned>(enumerator, 0, 1);
  EXPECT_EQ(sim().liveSets, 0);
  callSlot<void>(rpc, 2);
  EXPECT_FALSE(moduleLoaded("winusb.dll"));
}

TEST_F(EntryTest, RangeFieldsFollowTheTablePointerWithoutGaps) {
  Device& sd = addDevice();
  HalvexRpc* rpc = getInterface();
  Enumerator* enumerator = rpc->createEnumerator(0xFFFF, 0xFFFF);
  UsbDevice* device = enumerator->openDevice();
  ASSERT_NE(device, nullptr);
  std::vector<uint16_t> table = {8, 1, 0, 0, 0x0001, 0x0002};
  table.push_back('N' | ('M' << 8));
  for (int i = 0; i < 5; ++i) table.push_back(0);
  sd.reply(countedReply(0, table));
  Programmer* programmer = rpc->createProgrammer(device);
  ASSERT_NE(programmer, nullptr);
  RangeInfo* range = programmer->getRange(0);
  ASSERT_NE(range, nullptr);

  const char* base = reinterpret_cast<const char*>(range);
  EXPECT_EQ(reinterpret_cast<const char*>(&range->first) - base, ptrdiff_t(sizeof(void*)));
  EXPECT_EQ(reinterpret_cast<const char*>(&range->second) - base, ptrdiff_t(sizeof(void*) + 4));
  EXPECT_EQ(reinterpret_cast<const char*>(&range->value) - base, ptrdiff_t(sizeof(void*) + 8));
  EXPECT_EQ(reinterpret_cast<const char*>(range->name) - base, ptrdiff_t(sizeof(void*) + 12));
  // Read as raw memory, as a host built with another compiler would.
  uint32_t raw[3];
  memcpy(raw, base + sizeof(void*), sizeof raw);
  EXPECT_EQ(raw[0], 0x00010000u);
  EXPECT_EQ(raw[1], 0x00020000u);
  EXPECT_EQ(raw[2], 0u);
  EXPECT_STREQ(base + sizeof(void*) + 12, "NM");

  programmer->release();
  device->release();
  enumerator->release();
  rpc->release();
}

}  // namespace
