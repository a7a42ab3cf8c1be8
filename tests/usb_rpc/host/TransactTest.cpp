// The transaction wire format: request bytes, the data phase, reply kinds and
// lengths, overlapped completions, the sticky failure and bounded waits.
#include <windows.h>

#include <chrono>
#include <numeric>
#include <vector>

#include "HostTest.h"

using namespace halvex_sim;

namespace {

uint16_t le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

std::vector<uint8_t> bytesOf(std::initializer_list<int> list) {
  return std::vector<uint8_t>(list.begin(), list.end());
}

class TransactTest : public OpenDeviceTest {
 protected:
  void SetUp() override {
    OpenDeviceTest::SetUp();
    ASSERT_TRUE(openFirst());
  }
  Device& d() { return *simDevice; }
  // Starts over with a new simulated device, opened afresh.
  bool freshDevice() {
    device->release();
    enumerator->release();
    device = nullptr;
    enumerator = nullptr;
    halvex_sim::reset();
    simDevice = &addDevice();
    enumerator = rpc->createEnumerator(0xFFFF, 0xFFFF);
    device = enumerator->openDevice();
    simDevice->clearRecords();
    return device != nullptr;
  }
  bool simple(uint16_t command = 0x1002) {
    return device->transact(command, nullptr, 0, nullptr, 0, 0);
  }
  uint16_t payloadWord(size_t i) {
    return le16(static_cast<const uint8_t*>(device->getReplyPayload()) + 2 * i);
  }
};

TEST_F(TransactTest, RequestGoesOutByteForByteAfterFlushingTheInPipe) {
  d().reply(countedReply(0, {}));
  const uint8_t payload[4] = {0x11, 0x22, 0x33, 0x44};
  ASSERT_TRUE(device->transact(0x1234, payload, 4, nullptr, 0, 0));
  ASSERT_EQ(d().events.size(), 3u);
  EXPECT_EQ(d().events[0].kind, EventKind::Flush);
  EXPECT_EQ(d().events[0].pipe, 0x81);
  EXPECT_EQ(d().events[1].kind, EventKind::Write);
  EXPECT_EQ(d().events[1].pipe, 0x02);
  EXPECT_EQ(d().events[1].bytes, bytesOf({'B', 'U', 'b', 'u', 0, 0, 0,    0,    0x34, 0x12,
                                          2,   0,   0,   0,   0, 0, 0x11, 0x22, 0x33, 0x44}));
  EXPECT_EQ(d().events[2].kind, EventKind::Read);
  EXPECT_EQ(d().events[2].pipe, 0x81);
  EXPECT_EQ(d().events[2].length, 512u);
  // Reads and writes each have their own event.
  EXPECT_NE(d().events[1].overlappedEvent, nullptr);
  EXPECT_NE(d().events[2].overlappedEvent, nullptr);
  EXPECT_NE(d().events[1].overlappedEvent, d().events[2].overlappedEvent);
}

// Refused payloads send nothing and leave the device usable.
TEST_F(TransactTest, PayloadLimits) {
  std::vector<uint8_t> buffer(200);
  std::iota(buffer.begin(), buffer.end(), 0);
  struct Case {
    const char* what;
    const void* payload;
    uint32_t bytes;
    bool accepted;
  };
  const Case cases[] = {
      {"128 bytes", buffer.data(), 128, true},
      {"no payload", nullptr, 0, true},
      {"130 bytes", buffer.data(), 130, false},
      {"odd size", buffer.data(), 3, false},
      {"pointer without bytes", buffer.data(), 0, false},
      {"bytes without pointer", nullptr, 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    d().clearRecords();
    d().reply(plainReply(0, {1, 2}));
    ASSERT_TRUE(simple());  // a reply with payload, to see that a refusal clears it
    ASSERT_EQ(device->getReplyPayloadWords(), 2u);
    d().clearRecords();
    d().reply(countedReply(0, {}));
    EXPECT_EQ(device->transact(0x1001, c.payload, c.bytes, nullptr, 0, 0), c.accepted);
    EXPECT_TRUE(device->isOk());
    if (c.accepted) {
      auto writes = d().eventsOf(EventKind::Write);
      ASSERT_EQ(writes.size(), 1u);
      ASSERT_EQ(writes[0].bytes.size(), 16u + c.bytes);
      EXPECT_EQ(le16(&writes[0].bytes[10]), c.bytes / 2);
      EXPECT_TRUE(
          std::equal(buffer.begin(), buffer.begin() + c.bytes, writes[0].bytes.begin() + 16));
    } else {
      EXPECT_TRUE(d().events.empty());
      EXPECT_EQ(device->getReplyPayloadWords(), 0u);
      d().reads.clear();
    }
  }
}

TEST_F(TransactTest, DataPhase) {
  std::vector<uint8_t> data(3 * 64);
  std::iota(data.begin(), data.end(), 1);
  std::vector<uint8_t> big(65535, 0x5A);
  struct Case {
    const char* what;
    const void* data;
    uint32_t blockBytes, blockCount;
    bool accepted;
    uint16_t headerBytes, headerCount;
  };
  const Case cases[] = {
      {"three blocks of 64", data.data(), 64, 3, true, 64, 3},
      {"null data", nullptr, 64, 3, true, 0, 0},
      {"block bytes 0", data.data(), 0, 3, true, 0, 0},
      {"block count 0", data.data(), 64, 0, true, 0, 0},
      {"largest block", big.data(), 65535, 1, true, 65535, 1},
      {"block bytes 65536", data.data(), 65536, 1, false, 0, 0},
      {"block count 65536", data.data(), 1, 65536, false, 0, 0},
      {"both too large, no data", nullptr, 65536, 65536, true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    d().clearRecords();
    d().reads.clear();
    d().reply(countedReply(0, {}));
    EXPECT_EQ(device->transact(0x1003, nullptr, 0, c.data, c.blockBytes, c.blockCount), c.accepted);
    EXPECT_TRUE(device->isOk());
    auto writes = d().eventsOf(EventKind::Write);
    if (!c.accepted) {
      EXPECT_TRUE(d().events.empty());
      continue;
    }
    ASSERT_EQ(writes.size(), 1u + c.headerCount);
    EXPECT_EQ(le16(&writes[0].bytes[4]), c.headerBytes);
    EXPECT_EQ(le16(&writes[0].bytes[6]), c.headerCount);
    for (uint32_t i = 0; i < c.headerCount; ++i) {
      const uint8_t* block = static_cast<const uint8_t*>(c.data) + i * c.blockBytes;
      EXPECT_EQ(writes[1 + i].bytes, std::vector<uint8_t>(block, block + c.blockBytes));
      EXPECT_EQ(writes[1 + i].pipe, 0x02);
    }
  }
}

struct ReplyCase {
  const char* what;
  std::vector<std::vector<uint8_t>> reads;  // what each read delivers
  bool result;
  uint32_t payloadWords;
  std::vector<uint16_t> payloadStart;  // first payload words
  uint16_t status;
  std::vector<uint32_t> readLengths;  // asked for by each read
};

std::vector<uint8_t> counted(uint16_t status, uint16_t announced, size_t words) {
  std::vector<uint16_t> payload(words);
  std::iota(payload.begin(), payload.end(), 0x100);
  std::vector<uint8_t> r = countedReply(status, payload);
  putLe16(r, 8, announced);
  return r;
}

std::vector<uint8_t> part(const std::vector<uint8_t>& r, size_t from, size_t to) {
  return std::vector<uint8_t>(r.begin() + from, r.begin() + to);
}

TEST_F(TransactTest, RepliesOfEachKind) {
  const auto big = counted(0x0042, 295, 295);  // 600 bytes
  const auto odd = counted(0x0043, 3, 3);      // 16 bytes, split after 9
  const auto cut = counted(0x0044, 300, 300);  // 610 bytes, second part short
  const auto largest = counted(0x0045, 65535, 65535);
  std::vector<uint8_t> unknown = plainReply(0x0046, {0xAAAA, 0xBBBB});
  putLe16(unknown, 2, 0x5858);
  const ReplyCase cases[] = {
      {"counted", {counted(0x0101, 2, 2)}, true, 2, {0x100, 0x101}, 0x0101, {512}},
      {"counted across two reads",
       {part(big, 0, 512), part(big, 512, 600)},
       true,
       295,
       {0x100, 0x101},
       0x0042,
       {512, 88}},
      {"header announces fewer words than arrived",
       {counted(0x0102, 2, 6)},
       true,
       2,
       {0x100, 0x101},
       0x0102,
       {512}},
      {"plain of 20 bytes",
       {plainReply(0x0103, {1, 2, 3, 4, 5, 6})},
       true,
       6,
       {1, 2, 3},
       0x0103,
       {512}},
      {"unknown tag of 12 bytes", {unknown}, true, 0, {0xAAAA, 0xBBBB}, 0x0046, {512}},
      {"counted of 8 bytes has no payload",
       {part(counted(0x0104, 0, 0), 0, 8)},
       true,
       0,
       {},
       0x0104,
       {512}},
      {"reply below 8 bytes has no status",
       {bytesOf({0, 0, 'S', 't', 0, 0})},
       true,
       0,
       {},
       0,
       {512}},
      {"empty reply", {{}}, true, 0, {}, 0, {512}},
      {"first read of odd length",
       {part(odd, 0, 9), part(odd, 9, 16)},
       true,
       3,
       {0x100, 0x101, 0x102},
       0x0043,
       {512, 7}},
      {"largest counted reply",
       {part(largest, 0, 512), part(largest, 512, largest.size())},
       true,
       65535,
       {0x100, 0x101},
       0x0045,
       {512, uint32_t(largest.size() - 512)}},
      {"second read delivers too little",
       {part(cut, 0, 512), part(cut, 512, 600)},
       false,
       0,
       {},
       0x0044,
       {512, 98}},
  };
  for (const ReplyCase& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(freshDevice());
    for (const auto& r : c.reads) d().reply(r);

    // Five data blocks put a 5 into the request's block-count field, at the offset
    // where a reply carries its status word.
    const uint8_t blocks[10] = {};
    EXPECT_EQ(device->transact(0x1002, nullptr, 0, blocks, 2, 5), c.result);
    EXPECT_EQ(device->isOk(), c.result);
    EXPECT_EQ(device->getReplyPayloadWords(), c.payloadWords);
    EXPECT_EQ(device->getReplyStatus(), c.status);
    for (size_t i = 0; i < c.payloadStart.size(); ++i) EXPECT_EQ(payloadWord(i), c.payloadStart[i]);
    if (c.payloadWords == 65535) {
      EXPECT_EQ(payloadWord(65534), uint16_t(0x100 + 65534));
    }
    std::vector<uint32_t> lengths;
    for (const Event& e : d().eventsOf(EventKind::Read)) lengths.push_back(e.length);
    EXPECT_EQ(lengths, c.readLengths);
  }
}

// Each transfer of a transaction may finish at once, finish later through its
// overlapped record, or fail. Any failure makes the device unusable.
TEST_F(TransactTest, TransferCompletions) {
  struct Case {
    Completion completion;
    bool ok;
  };
  const Case completions[] = {{Completion::Immediate, true},
                              {Completion::Pending, true},
                              {Completion::Delayed, true},
                              {Completion::Fail, false},
                              {Completion::PendingFail, false}};
  enum Which { Request, SecondBlock, FirstRead, SecondRead };
  const std::vector<uint8_t> data(4 * 8, 0x77);
  const auto big = counted(7, 300, 300);
  for (Which which : {Request, SecondBlock, FirstRead, SecondRead}) {
    for (const Case& c : completions) {
      SCOPED_TRACE(testing::Message()
                   << "transfer " << which << ", completion " << static_cast<int>(c.completion));
      ASSERT_TRUE(freshDevice());
      if (which == Request) d().writes = {Transfer{c.completion, {}}};
      if (which == SecondBlock) d().writes = {Transfer{}, Transfer{}, Transfer{c.completion, {}}};
      d().reply(part(big, 0, 512), which == FirstRead ? c.completion : Completion::Immediate);
      d().reply(part(big, 512, big.size()),
                which == SecondRead ? c.completion : Completion::Immediate);

      EXPECT_EQ(device->transact(0x1003, nullptr, 0, data.data(), 8, 4), c.ok);
      EXPECT_EQ(device->isOk(), c.ok);
      EXPECT_EQ(device->getReplyPayloadWords(), c.ok ? 300u : 0u);
      if (c.ok) {
        EXPECT_EQ(payloadWord(299), 0x100 + 299);
      }
      // A failed block ends the data phase.
      const size_t writes = d().eventsOf(EventKind::Write).size();
      if (!c.ok && which == Request) {
        EXPECT_EQ(writes, 1u);
      }
      if (!c.ok && which == SecondBlock) {
        EXPECT_EQ(writes, 3u);
        EXPECT_TRUE(d().eventsOf(EventKind::Read).empty());
      }
      if (which >= FirstRead || c.ok) {
        EXPECT_EQ(writes, 5u);
      }
    }
  }
}

// An 8-byte counted reply has no payload, whatever an earlier, longer reply left
// in the buffer where its word count would be.
TEST_F(TransactTest, EightByteCountedReplyHasNoPayloadAfterALongerOne) {
  d().reply(counted(0, 40, 40));
  ASSERT_TRUE(simple());
  ASSERT_EQ(device->getReplyPayloadWords(), 40u);
  d().reply(part(counted(0x0009, 40, 40), 0, 8));
  EXPECT_TRUE(simple());
  EXPECT_EQ(device->getReplyPayloadWords(), 0u);
  EXPECT_EQ(device->getReplyStatus(), 0x0009);
  EXPECT_TRUE(device->isOk());
}

TEST_F(TransactTest, FailedDeviceRefusesEveryTransactionWithoutTouchingThePipes) {
  d().reply(plainReply(0x0B0B, {1, 2}));
  ASSERT_TRUE(simple());
  d().writes = {Transfer{Completion::Fail, {}}};
  EXPECT_FALSE(simple());
  EXPECT_FALSE(device->isOk());
  EXPECT_EQ(device->getReplyPayloadWords(), 0u);
  d().clearRecords();
  d().reply(plainReply(0, {1, 2}));
  EXPECT_FALSE(simple());
  EXPECT_FALSE(device->transact(0x1001, nullptr, 0, nullptr, 0, 0));
  EXPECT_TRUE(d().events.empty());
  EXPECT_EQ(device->getReplyStatus(), 0x0B0B);
}

// A device that never answers must not hold the host forever: the transfer is
// given up after a bound, aborted, and waited for before the transaction returns.
TEST_F(TransactTest, TransferThatNeverFinishesIsAbortedAndFailsTheDevice) {
  for (bool inRead : {true, false}) {
    SCOPED_TRACE(inRead ? "read" : "write");
    ASSERT_TRUE(freshDevice());
    if (inRead) {
      d().reply({}, Completion::Never);
    } else {
      d().writes = {Transfer{Completion::Never, {}}};
    }

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(simple());
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, std::chrono::seconds(60));
    EXPECT_FALSE(device->isOk());
    ASSERT_FALSE(d().events.empty());
    EXPECT_EQ(d().events.back().kind, EventKind::Abort);
    EXPECT_EQ(d().events.back().pipe, inRead ? 0x81 : 0x02);
    d().clearRecords();
    EXPECT_FALSE(simple());
    EXPECT_TRUE(d().events.empty());
  }
}

}  // namespace
