// The programmer built from the range table, its range records and commands, and
// a host's whole session in the documented order.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "HostTest.h"

using namespace halvex_sim;

namespace {

uint16_t le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

struct Record {
  uint16_t first, second, value;
  std::string name;  // up to 12 bytes as stored
};

// Range table payload: header, then records of 24 (format 1) or 16 (format 0)
// bytes. `extraBytes` lengthens or shortens the payload.
std::vector<uint16_t> rangeTable(uint16_t format, uint16_t blockWords,
                                 const std::vector<Record>& records, int extraBytes = 0,
                                 int count = -1) {
  std::vector<uint8_t> bytes;
  auto put16 = [&](uint16_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
  };
  put16(blockWords);
  put16(static_cast<uint16_t>(count < 0 ? records.size() : count));
  put16(format);
  put16(0xDEAD);
  for (const Record& r : records) {
    put16(r.first);
    put16(r.second);
    if (format == 1) {
      put16(r.value);
      for (int i = 0; i < 6; ++i) bytes.push_back(0xEE);
    }
    char name[12] = {};
    memcpy(name, r.name.data(), std::min<size_t>(12, r.name.size()));
    bytes.insert(bytes.end(), name, name + 12);
  }
  if (extraBytes > 0) bytes.insert(bytes.end(), extraBytes, 0);
  if (extraBytes < 0) bytes.resize(bytes.size() + extraBytes);
  std::vector<uint16_t> words(bytes.size() / 2);
  for (size_t i = 0; i < words.size(); ++i) words[i] = le16(&bytes[2 * i]);
  return words;
}

class ProgrammerTest : public OpenDeviceTest {
 protected:
  void SetUp() override {
    OpenDeviceTest::SetUp();
    ASSERT_TRUE(openFirst());
  }
  Device& d() { return *simDevice; }
  Programmer* make(const std::vector<uint16_t>& table) {
    d().reply(countedReply(0, table));
    return rpc->createProgrammer(device);
  }
  uint16_t lastCommand() {
    auto writes = d().eventsOf(EventKind::Write);
    return writes.empty() ? 0 : le16(&writes.back().bytes[8]);
  }
  std::vector<Event> requests() {
    std::vector<Event> out;
    for (const Event& e : d().eventsOf(EventKind::Write))
      if (e.bytes.size() >= 16 && memcmp(e.bytes.data(), "BUbu", 4) == 0) out.push_back(e);
    return out;
  }
};

const std::vector<Record> kTwo = {{1, 2, 3, "BOOT"}, {4, 5, 6, "FLASH"}};

TEST_F(ProgrammerTest, RangeTableIsAskedForWithOneWord) {
  programmer = make(rangeTable(1, 32, kTwo));
  ASSERT_NE(programmer, nullptr);
  auto writes = d().eventsOf(EventKind::Write);
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_EQ(writes[0].bytes, (std::vector<uint8_t>{'B', 'U', 'b', 'u', 0, 0, 0, 0, 0x00, 0x10, 1, 0,
                                                   0, 0, 0, 0, 1, 0}));
}

TEST_F(ProgrammerTest, TableSizeMustMatchItsCountExactly) {
  struct Case {
    const char* what;
    std::vector<uint16_t> table;
    bool made;
    uint32_t ranges;
  };
  const Case cases[] = {
      {"format 1, two ranges, 56 bytes", rangeTable(1, 32, kTwo), true, 2},
      {"format 1, 54 bytes", rangeTable(1, 32, kTwo, -2), false, 0},
      {"format 1, 58 bytes", rangeTable(1, 32, kTwo, 2), false, 0},
      {"format 0, two ranges, 40 bytes", rangeTable(0, 32, kTwo), true, 2},
      {"format 0 of 56 bytes", rangeTable(0, 32, kTwo, 16), false, 0},
      {"format 1 without ranges", rangeTable(1, 32, {}), true, 0},
      {"format 0 without ranges", rangeTable(0, 32, {}), true, 0},
      {"format 2", rangeTable(2, 32, {}), false, 0},
      {"count larger than the records", rangeTable(1, 32, kTwo, 0, 3), false, 0},
      {"header only half there", std::vector<uint16_t>{32, 0}, false, 0},
      {"no payload", std::vector<uint16_t>{}, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Programmer* p = make(c.table);
    EXPECT_EQ(p != nullptr, c.made);
    if (p) {
      EXPECT_EQ(p->getNumRanges(), c.ranges);
      EXPECT_EQ(p->getBlockWords(), 32u);
      p->release();
    }
    EXPECT_TRUE(device->isOk());
  }
}

TEST_F(ProgrammerTest, APlainReplyCarriesTheTableToo) {
  d().reply(plainReply(0, rangeTable(0, 16, kTwo)));
  programmer = rpc->createProgrammer(device);
  ASSERT_NE(programmer, nullptr);
  EXPECT_EQ(programmer->getNumRanges(), 2u);
}

TEST_F(ProgrammerTest, NoProgrammerWhenTheTransactionFails) {
  d().writes = {Transfer{Completion::Fail, {}}};
  EXPECT_EQ(rpc->createProgrammer(device), nullptr);
  EXPECT_FALSE(device->isOk());
  EXPECT_EQ(rpc->createProgrammer(nullptr), nullptr);
}

TEST_F(ProgrammerTest, RangeFieldsComeFromTheRecords) {
  const std::vector<Record> records = {
      {2, 0xFFFF, 0xFFFF, "ABCDEFGHIJKL"}, {0, 1, 0, std::string("AB\0CD", 5)}, {0x8000, 7, 9, ""}};
  for (uint16_t format : {1, 0}) {
    SCOPED_TRACE(format);
    Programmer* p = make(rangeTable(format, 8, records));
    ASSERT_NE(p, nullptr);
    ASSERT_EQ(p->getNumRanges(), 3u);
    RangeInfo* r0 = p->getRange(0);
    RangeInfo* r1 = p->getRange(1);
    RangeInfo* r2 = p->getRange(2);
    EXPECT_EQ(r0->first, 131072u);
    EXPECT_EQ(r0->second, 0xFFFF0000u);
    EXPECT_EQ(r0->value, format == 1 ? 65535u : 0u);
    EXPECT_EQ(std::string(r0->name, 16), std::string("ABCDEFGHIJKL\0\0\0\0", 16));
    EXPECT_EQ(r1->first, 0u);
    EXPECT_EQ(r1->second, 0x10000u);
    EXPECT_EQ(std::string(r1->name, 16), std::string("AB", 2) + std::string(14, '\0'));
    EXPECT_EQ(r2->first, 0x80000000u);
    EXPECT_EQ(r2->value, format == 1 ? 9u : 0u);
    EXPECT_EQ(std::string(r2->name, 16), std::string(16, '\0'));
    p->release();
  }
}

TEST_F(ProgrammerTest, RangeIndexAtOrPastTheCountGivesNull) {
  programmer = make(rangeTable(1, 32, kTwo));
  ASSERT_NE(programmer, nullptr);
  EXPECT_NE(programmer->getRange(1), nullptr);
  for (uint32_t index : {2u, 3u, 0x80000000u, 0xFFFFFFFFu})
    EXPECT_EQ(programmer->getRange(index), nullptr);
  Programmer* empty = make(rangeTable(0, 32, {}));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->getRange(0), nullptr);
  empty->release();
}

TEST_F(ProgrammerTest, CommandsBuildTheirRequests) {
  programmer = make(rangeTable(1, 4, kTwo));
  ASSERT_NE(programmer, nullptr);
  RangeInfo* range = programmer->getRange(1);
  const uint16_t blocks[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  d().everyRead = Transfer{Completion::Immediate, countedReply(0x77, {})};
  struct Case {
    const char* what;
    bool (*run)(Programmer*, RangeInfo*, const void*);
    uint16_t command;
    std::vector<uint8_t> payload;
    uint16_t blockBytes, blockCount;
  };
  const Case cases[] = {
      {"argument",
       [](Programmer*, RangeInfo* r, const void*) { return r->sendArgument(0x00120034); },
       0x1001,
       {0x34, 0x00, 0x12, 0x00},
       0,
       0},
      {"range command",
       [](Programmer*, RangeInfo* r, const void*) { return r->sendCommand(); },
       0x1002,
       {},
       0,
       0},
      {"blocks",
       [](Programmer*, RangeInfo* r, const void* b) { return r->sendBlocks(b, 4, 2); },
       0x1003,
       {},
       8,
       2},
      {"blocks without data",
       [](Programmer*, RangeInfo* r, const void*) { return r->sendBlocks(nullptr, 4, 2); },
       0x1003,
       {},
       0,
       0},
      {"no blocks",
       [](Programmer*, RangeInfo* r, const void* b) { return r->sendBlocks(b, 4, 0); },
       0x1003,
       {},
       0,
       0},
      {"programmer command from a range",
       [](Programmer*, RangeInfo* r, const void*) { return r->sendProgrammerCommand(); },
       0x1004,
       {},
       0,
       0},
      {"programmer command",
       [](Programmer* p, RangeInfo*, const void*) { return p->sendCommand(); },
       0x1004,
       {},
       0,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    d().clearRecords();
    EXPECT_TRUE(c.run(programmer, range, blocks));
    auto writes = d().eventsOf(EventKind::Write);
    ASSERT_EQ(writes.size(), 1u + c.blockCount);
    const std::vector<uint8_t>& request = writes[0].bytes;
    ASSERT_EQ(request.size(), 16u + c.payload.size());
    EXPECT_EQ(le16(&request[4]), c.blockBytes);
    EXPECT_EQ(le16(&request[6]), c.blockCount);
    EXPECT_EQ(le16(&request[8]), c.command);
    EXPECT_EQ(le16(&request[10]), c.payload.size() / 2);
    EXPECT_EQ(std::vector<uint8_t>(request.begin() + 16, request.end()), c.payload);
    for (uint16_t i = 0; i < c.blockCount; ++i) {
      const auto* b = reinterpret_cast<const uint8_t*>(blocks) + i * 8;
      EXPECT_EQ(writes[1 + i].bytes, std::vector<uint8_t>(b, b + 8));
    }
    EXPECT_EQ(device->getReplyStatus(), 0x77);
  }
  EXPECT_EQ(range->getBlockWords(), 4u);
}

TEST_F(ProgrammerTest, BlocksOfAnotherSizeSendNothing) {
  programmer = make(rangeTable(1, 4, kTwo));
  ASSERT_NE(programmer, nullptr);
  const uint16_t blocks[10] = {};
  d().clearRecords();
  for (uint32_t words : {3u, 5u, 0u}) {
    SCOPED_TRACE(words);
    EXPECT_FALSE(programmer->getRange(0)->sendBlocks(blocks, words, 2));
  }
  EXPECT_TRUE(d().events.empty());
  EXPECT_TRUE(device->isOk());
}

TEST_F(ProgrammerTest, EveryRangeSendsTheSameRequest) {
  programmer = make(rangeTable(1, 4, kTwo));
  ASSERT_NE(programmer, nullptr);
  d().everyRead = Transfer{Completion::Immediate, countedReply(0, {})};
  d().clearRecords();
  EXPECT_TRUE(programmer->getRange(0)->sendCommand());
  EXPECT_TRUE(programmer->getRange(1)->sendCommand());
  EXPECT_TRUE(programmer->getRange(0)->sendArgument(5));
  EXPECT_TRUE(programmer->getRange(1)->sendArgument(5));
  auto r = requests();
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[0].bytes, r[1].bytes);
  EXPECT_EQ(r[2].bytes, r[3].bytes);
}

TEST_F(ProgrammerTest, CommandsFailOnceTheDeviceFailed) {
  programmer = make(rangeTable(1, 4, kTwo));
  ASSERT_NE(programmer, nullptr);
  d().writes = {Transfer{Completion::Fail, {}}};
  EXPECT_FALSE(programmer->sendCommand());
  const uint16_t blocks[4] = {};
  d().reply(countedReply(0, {}));
  EXPECT_FALSE(programmer->sendCommand());
  EXPECT_FALSE(programmer->getRange(0)->sendCommand());
  EXPECT_FALSE(programmer->getRange(0)->sendArgument(1));
  EXPECT_FALSE(programmer->getRange(0)->sendBlocks(blocks, 4, 1));
  EXPECT_FALSE(programmer->getRange(0)->sendProgrammerCommand());
}

// The usual host: find, open, build the programmer, run commands, release in the
// documented order. Names bound only for presence are never called.
TEST_F(ProgrammerTest, WholeSessionInTheDocumentedOrder) {
  programmer = make(rangeTable(1, 4, kTwo));
  ASSERT_NE(programmer, nullptr);
  d().everyRead = Transfer{Completion::Pending, plainReply(0, {9})};
  const uint16_t blocks[8] = {};
  for (uint32_t i = 0; i < programmer->getNumRanges(); ++i) {
    RangeInfo* r = programmer->getRange(i);
    EXPECT_TRUE(r->sendArgument(r->first));
    EXPECT_TRUE(r->sendBlocks(blocks, r->getBlockWords(), 2));
    EXPECT_TRUE(r->sendCommand());
    EXPECT_EQ(device->getReplyPayloadWords(), 1u);
  }
  EXPECT_TRUE(programmer->sendCommand());

  programmer->release();
  programmer = nullptr;
  device->release();
  device = nullptr;
  enumerator->release();
  enumerator = nullptr;
  EXPECT_TRUE(moduleLoaded("winusb.dll"));
  rpc->release();
  rpc = nullptr;
  EXPECT_FALSE(moduleLoaded("winusb.dll"));
  EXPECT_FALSE(moduleLoaded("setupapi.dll"));
  EXPECT_EQ(d().liveHandles, 0);
  EXPECT_EQ(sim().liveSets, 0);
  EXPECT_TRUE(sim().boundOnlyCalls.empty());
}

}  // namespace
