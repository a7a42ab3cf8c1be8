// Finding devices through device setup and opening them with WinUSB: filters,
// interface records, identity and texts, the choice of pipes and what each
// object releases.
#include <windows.h>
#include <setupapi.h>

#include <optional>
#include <string>
#include <vector>

#include "HostTest.h"

using namespace halvex_sim;

namespace {

class EnumerationTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    rpc = getInterface();
    ASSERT_NE(rpc, nullptr);
  }
  void TearDown() override {
    if (rpc) rpc->release();
    HostTest::TearDown();
  }

  // Serial numbers of the devices an enumeration with these filters visits.
  std::vector<std::string> visit(uint16_t vendor, uint16_t product) {
    std::vector<std::string> serials;
    Enumerator* e = rpc->createEnumerator(vendor, product);
    for (; e->isValid(); e->next()) {
      UsbDevice* d = e->openDevice();
      if (d == nullptr) {
        serials.push_back("(null)");
        continue;
      }
      serials.push_back(d->getSerialNumber() ? d->getSerialNumber() : "(none)");
      d->release();
    }
    e->release();
    return serials;
  }

  Device& deviceWithSerial(const char16_t* serial, uint16_t vendor = 0x1234,
                           uint16_t product = 0x5678) {
    Device& d = addDevice();
    d.setIds(vendor, product, 0x0100);
    d.strings[3] = stringDescriptor(serial);
    return d;
  }

  HalvexRpc* rpc = nullptr;
};

TEST_F(EnumerationTest, DeviceSetIsOpenedForTheInterfaceClassOnly) {
  Enumerator* e = rpc->createEnumerator(0xFFFF, 0xFFFF);
  ASSERT_EQ(sim().classDevsCalls.size(), 1u);
  const ClassDevsCall& call = sim().classDevsCalls[0];
  const GUID expected = {
      0x72B7FC1C, 0x2485, 0x2485, {0x81, 0xE4, 0x91, 0x0F, 0x74, 0xBD, 0x73, 0x58}};
  EXPECT_EQ(memcmp(&call.guid, &expected, sizeof(GUID)), 0);
  EXPECT_TRUE(call.noEnumerator);
  EXPECT_TRUE(call.noWindow);
  EXPECT_EQ(call.flags, DWORD(DIGCF_DEVICEINTERFACE));
  e->release();
  EXPECT_EQ(sim().liveSets, 0);
  EXPECT_EQ(sim().destroyedSets, 1);
}

TEST_F(EnumerationTest, FiltersSelectDevicesAndSkipThoseThatCannotBeOpened) {
  deviceWithSerial(u"A", 0x1234, 0x5678);
  unplug(deviceWithSerial(u"gone", 0x1234, 0x5678));
  deviceWithSerial(u"B", 0x1234, 0x9999);
  deviceWithSerial(u"C", 0x4321, 0x5678);
  deviceWithSerial(u"noinit", 0x1234, 0x5678).initializeFails = true;
  struct Case {
    uint16_t vendor, product;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {0xFFFF, 0xFFFF, {"A", "B", "C"}}, {0x1234, 0xFFFF, {"A", "B"}}, {0xFFFF, 0x5678, {"A", "C"}},
      {0x1234, 0x9999, {"B"}},           {0x1111, 0xFFFF, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.vendor << "/" << c.product);
    EXPECT_EQ(visit(c.vendor, c.product), c.expected);
  }
}

TEST_F(EnumerationTest, EnumeratorWithoutDevicesIsInvalidAtOnce) {
  for (bool setFails : {false, true}) {
    SCOPED_TRACE(setFails);
    sim().classDevsFails = setFails;
    Enumerator* e = rpc->createEnumerator(0xFFFF, 0xFFFF);
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->isValid());
    EXPECT_EQ(e->openDevice(), nullptr);
    EXPECT_FALSE(e->next());
    e->release();
  }
  EXPECT_EQ(sim().liveSets, 0);
}

TEST_F(EnumerationTest, ExhaustedEnumeratorStaysInvalidWithoutAskingAgain) {
  addDevice();
  Enumerator* e = rpc->createEnumerator(0xFFFF, 0xFFFF);
  EXPECT_TRUE(e->isValid());
  EXPECT_FALSE(e->next());
  EXPECT_FALSE(e->isValid());
  const size_t asked = sim().interfaceDataSizes.size();
  EXPECT_FALSE(e->next());
  EXPECT_EQ(e->openDevice(), nullptr);
  EXPECT_EQ(sim().interfaceDataSizes.size(), asked);
  e->release();
}

// The record sizes are the platform's own on each architecture (32 and 8 bytes on
// x86_64); sizes meant for another architecture make every call fail.
TEST_F(EnumerationTest, InterfaceAndDetailRecordsCarryThePlatformsSizes) {
  addDevice();
  EXPECT_EQ(visit(0xFFFF, 0xFFFF).size(), 1u);
  ASSERT_FALSE(sim().interfaceDataSizes.empty());
  for (DWORD size : sim().interfaceDataSizes) EXPECT_EQ(size, sizeof(SP_DEVICE_INTERFACE_DATA));
  int withBuffer = 0;
  for (const DetailCall& call : sim().detailCalls) {
    if (!call.withBuffer) continue;
    ++withBuffer;
    EXPECT_EQ(call.cbSize, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A));
    EXPECT_GE(call.bufferBytes, sim().devices[0]->path.size() + 5);
  }
  EXPECT_GT(withBuffer, 0);
#ifdef _WIN64
  EXPECT_EQ(sizeof(SP_DEVICE_INTERFACE_DATA), 32u);
  EXPECT_EQ(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A), 8u);
#endif
}

// Only a size query that fails with "buffer too small" and leaves room for a path
// leads to a second call; every other answer skips the interface.
TEST_F(EnumerationTest, UnusableDetailAnswersSkipTheInterface) {
  for (DetailMode mode :
       {DetailMode::OtherError, DetailMode::NoRoomForPath, DetailMode::PathFails}) {
    SCOPED_TRACE(static_cast<int>(mode));
    halvex_sim::reset();
    deviceWithSerial(u"bad").detail = mode;
    deviceWithSerial(u"good");
    EXPECT_EQ(visit(0xFFFF, 0xFFFF), std::vector<std::string>{"good"});
    // The bad device comes first: its size query, then a call with a buffer only
    // when the size query gave a usable size.
    ASSERT_GE(sim().detailCalls.size(), 2u);
    EXPECT_FALSE(sim().detailCalls[0].withBuffer);
    EXPECT_EQ(sim().detailCalls[1].withBuffer, mode == DetailMode::PathFails);
  }
}

TEST_F(EnumerationTest, IdentityComesFromTheDeviceDescriptor) {
  Device& d = addDevice();
  d.setIds(0xA1B2, 0xC3D4, 0x0E0F);
  Enumerator* e = rpc->createEnumerator(0xA1B2, 0xC3D4);
  UsbDevice* device = e->openDevice();
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->getVendorId(), 0xA1B2);
  EXPECT_EQ(device->getProductId(), 0xC3D4);
  EXPECT_EQ(device->getDeviceRelease(), 0x0E0F);
  EXPECT_STREQ(device->getManufacturer(), "Maker");
  EXPECT_STREQ(device->getProduct(), "Programmer");
  EXPECT_STREQ(device->getSerialNumber(), "SN001");
  EXPECT_TRUE(device->isOk());
  bool sawDeviceDescriptor = false;
  for (const DescriptorCall& call : d.descriptorCalls) {
    EXPECT_EQ(call.language, 0);
    if (call.type == 1) {
      sawDeviceDescriptor = true;
      EXPECT_EQ(call.index, 0);
      EXPECT_EQ(call.bufferBytes, 18u);
    }
  }
  EXPECT_TRUE(sawDeviceDescriptor);
  device->release();
  e->release();
}

// A device descriptor that cannot be read leaves the ids at 0 and no texts; the
// device is still opened, and only filters that accept 0 find it.
TEST_F(EnumerationTest, UnreadableDeviceDescriptorLeavesIdsZero) {
  for (bool shortRead : {false, true}) {
    SCOPED_TRACE(shortRead);
    halvex_sim::reset();
    Device& d = addDevice();
    if (shortRead)
      d.deviceDescriptor.resize(17);
    else
      d.deviceDescriptorFails = true;
    EXPECT_TRUE(visit(0x1234, 0xFFFF).empty());
    Enumerator* e = rpc->createEnumerator(0xFFFF, 0xFFFF);
    UsbDevice* device = e->openDevice();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->getVendorId(), 0);
    EXPECT_EQ(device->getProductId(), 0);
    EXPECT_EQ(device->getDeviceRelease(), 0);
    EXPECT_EQ(device->getManufacturer(), nullptr);
    EXPECT_EQ(device->getProduct(), nullptr);
    EXPECT_EQ(device->getSerialNumber(), nullptr);
    device->release();
    e->release();
  }
}

TEST_F(EnumerationTest, StringDescriptorsBecomeEightBitTexts) {
  struct Case {
    const char* what;
    std::optional<std::vector<uint8_t>> descriptor;  // none: the device has no such string
    const char* expected;                            // null: no text
  };
  const Case cases[] = {
      {"plain", stringDescriptor(u"Maker"), "Maker"},
      {"bLength 2", std::vector<uint8_t>{2, 3}, nullptr},
      {"bLength 3", std::vector<uint8_t>{3, 3, 'A'}, ""},
      {"odd bLength 5", std::vector<uint8_t>{5, 3, 'A', 0, 'B'}, "A"},
      {"U+00E9", stringDescriptor(u"caf\u00e9"), "caf\xe9"},
      {"above U+00FF keeps the low byte", stringDescriptor(u"\u0141\u20AC"), "\x41\xAC"},
      {"zero ends the text", stringDescriptor(std::u16string(u"AB\0CD", 5)), "AB"},
      {"wrong descriptor type", std::vector<uint8_t>{6, 2, 'A', 0, 'B', 0}, nullptr},
      {"longer than delivered", std::vector<uint8_t>{40, 3, 'O', 0, 'K', 0}, "OK"},
      {"missing", std::nullopt, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    halvex_sim::reset();
    Device& d = addDevice();
    if (c.descriptor)
      d.strings[1] = *c.descriptor;
    else
      d.strings.erase(1);
    Enumerator* e = rpc->createEnumerator(0xFFFF, 0xFFFF);
    UsbDevice* device = e->openDevice();
    ASSERT_NE(device, nullptr);
    if (c.expected == nullptr)
      EXPECT_EQ(device->getManufacturer(), nullptr);
    else
      EXPECT_STREQ(device->getManufacturer(), c.expected);
    for (const DescriptorCall& call : d.descriptorCalls) {
      if (call.type == 3 && call.index == 1) {
        EXPECT_EQ(call.bufferBytes, 256u);
      }
    }
    device->release();
    e->release();
  }
}

TEST_F(EnumerationTest, StringIndexZeroMeansNoTextAndIsNotAskedFor) {
  Device& d = addDevice();
  d.setStringIndexes(0, 2, 0);
  Enumerator* e = rpc->createEnumerator(0xFFFF, 0xFFFF);
  UsbDevice* device = e->openDevice();
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->getManufacturer(), nullptr);
  EXPECT_STREQ(device->getProduct(), "Programmer");
  EXPECT_EQ(device->getSerialNumber(), nullptr);
  for (const DescriptorCall& call : d.descriptorCalls) {
    if (call.type == 3) {
      EXPECT_NE(call.index, 0);
    }
  }
  device->release();
  e->release();
}

// The pipes a device uses show in the transfers of its first transaction.
TEST_F(EnumerationTest, PipesAreTheFirstBulkInAndOutOfTheNamedInterface) {
  struct Case {
    const char* what;
    void (*script)(Device&);
    uint8_t in, out;  // 0: the device has none and its first transaction fails
  };
  const Case cases[] = {
      {"standard", [](Device&) {}, 0x81, 0x02},
      {"two bulk IN endpoints",
       [](Device& d) {
         d.pipes = {{UsbdPipeTypeBulk, 0x83}, {UsbdPipeTypeBulk, 0x81}, {UsbdPipeTypeBulk, 0x04}};
       },
       0x83, 0x04},
      {"other pipe types are ignored",
       [](Device& d) {
         d.pipes = {{UsbdPipeTypeInterrupt, 0x81},
                    {UsbdPipeTypeIsochronous, 0x01},
                    {UsbdPipeTypeControl, 0x00},
                    {UsbdPipeTypeBulk, 0x82},
                    {UsbdPipeTypeBulk, 0x03}};
       },
       0x82, 0x03},
      {"a pipe that does not answer is passed over",
       [](Device& d) {
         d.pipes = {
             {UsbdPipeTypeBulk, 0x81, false}, {UsbdPipeTypeBulk, 0x85}, {UsbdPipeTypeBulk, 0x02}};
       },
       0x85, 0x02},
      {"only the endpoints the interface counts", [](Device& d) { d.numEndpoints = 1; }, 0x81, 0},
      {"iInterface 0", [](Device& d) { d.iInterface = 0; }, 0, 0},
      {"unreadable interface name", [](Device& d) { d.strings.erase(4); }, 0, 0},
      {"interface settings fail", [](Device& d) { d.querySettingsFails = true; }, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    halvex_sim::reset();
    Device& d = addDevice();
    c.script(d);
    Enumerator* e = rpc->createEnumerator(0xFFFF, 0xFFFF);
    d.clearRecords();
    UsbDevice* device = e->openDevice();
    ASSERT_NE(device, nullptr);
    for (uint8_t alternate : d.querySettingsAlternates) EXPECT_EQ(alternate, 0);
    if (d.iInterface == 0) {
      EXPECT_TRUE(d.queriedPipes.empty());
    }
    for (const DescriptorCall& call : d.descriptorCalls) {
      if (call.type == 3 && call.index == d.iInterface) {
        EXPECT_EQ(call.bufferBytes, 200u);
      }
    }

    d.reply(countedReply(0, {}));
    const bool ok = device->transact(0x1002, nullptr, 0, nullptr, 0, 0);
    EXPECT_EQ(ok, c.in != 0 && c.out != 0);
    EXPECT_EQ(device->isOk(), ok);
    auto writes = d.eventsOf(EventKind::Write);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].pipe, c.out);
    if (ok) {
      auto reads = d.eventsOf(EventKind::Read);
      ASSERT_EQ(reads.size(), 1u);
      EXPECT_EQ(reads[0].pipe, c.in);
    }
    device->release();
    e->release();
  }
}

TEST_F(EnumerationTest, EachOpenGivesANewDeviceAndReleaseClosesEverything) {
  Device& d = addDevice();
  Enumerator* e = rpc->createEnumerator(0xFFFF, 0xFFFF);
  EXPECT_EQ(d.initializeCalls, 1);  // the search opened and closed it
  EXPECT_EQ(d.liveHandles, 0);
  UsbDevice* first = e->openDevice();
  UsbDevice* second = e->openDevice();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(d.liveHandles, 2);

  // A device does not depend on its enumerator.
  e->release();
  EXPECT_EQ(sim().liveSets, 0);
  d.reply(countedReply(0, {}));
  EXPECT_TRUE(first->transact(0x1002, nullptr, 0, nullptr, 0, 0));

  first->release();
  second->release();
  EXPECT_EQ(d.liveHandles, 0);
  EXPECT_EQ(d.freeCalls, 3);
  // No handle of the device's file is left open: an exclusive open succeeds.
  HANDLE file = CreateFileA(d.path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace
