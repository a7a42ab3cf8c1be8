#include "HalvexProgrammer_Core.h"

#include <string.h>

#include <new>

#include "ByteCursor.h"
#include "WireFormat.h"

using namespace halvex_wire;

namespace {

constexpr size_t kTableHeaderBytes = 8;
constexpr size_t kFormat0RecordBytes = 16;
constexpr size_t kFormat1RecordBytes = 24;
constexpr size_t kNameBytes = 12;

struct RangeRecord {
  uint16_t first = 0;
  uint16_t second = 0;
  uint16_t value = 0;
  char name[kNameBytes] = {};
};

bool readRecord(ByteCursor& cursor, uint16_t format, RangeRecord& record) {
  if (!cursor.readU16(record.first) || !cursor.readU16(record.second)) return false;
  if (format == 1 && (!cursor.readU16(record.value) || !cursor.skip(6))) return false;
  return cursor.readBytes(record.name, kNameBytes);
}

}  // namespace

HalvexRpcCore::HalvexProgrammer_Core::HalvexProgrammer_Core(UsbDevice* device, uint32_t blockWords)
    : blockWords_(blockWords), device_(device) {}

HalvexRpcCore::HalvexProgrammer_Core::~HalvexProgrammer_Core() = default;

HalvexRpcCore::HalvexProgrammer_Core* HalvexRpcCore::HalvexProgrammer_Core::create(
    UsbDevice* device) noexcept {
  if (device == nullptr) return nullptr;
  uint8_t request[2];
  writeLe16(request, 1);  // the one payload word the device expects
  if (!device->transact(CmdGetRangeTable, request, sizeof request, nullptr, 0, 0)) return nullptr;
  const size_t payloadBytes = 2 * static_cast<size_t>(device->getReplyPayloadWords());
  const auto* payload = static_cast<const uint8_t*>(device->getReplyPayload());
  if (payloadBytes == 0 || payload == nullptr) return nullptr;

  ByteCursor cursor(payload, payloadBytes);
  uint16_t blockWords = 0, count = 0, format = 0;
  if (!cursor.readU16(blockWords) || !cursor.readU16(count) || !cursor.readU16(format) ||
      !cursor.skip(2))
    return nullptr;
  size_t recordBytes = 0;
  if (format == 1)
    recordBytes = kFormat1RecordBytes;
  else if (format == 0)
    recordBytes = kFormat0RecordBytes;
  else
    return nullptr;
  // The table must be exactly as long as its count says; anything else means the
  // host and the device disagree about the format.
  if (payloadBytes != kTableHeaderBytes + recordBytes * count) return nullptr;

  try {
    std::unique_ptr<HalvexProgrammer_Core> programmer(
        new HalvexProgrammer_Core(device, blockWords));
    programmer->ranges_.reserve(count);
    for (uint16_t i = 0; i < count; ++i) {
      RangeRecord record;
      if (!readRecord(cursor, format, record)) return nullptr;
      programmer->ranges_.push_back(std::make_unique<RangeInfo_Core>(
          programmer.get(), record.first, record.second, record.value, record.name));
    }
    programmer->numRanges_ = count;
    return programmer.release();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void HALVEX_RPC_CALL HalvexRpcCore::HalvexProgrammer_Core::destroy(unsigned flags) noexcept {
  if (flags & 1)
    delete this;
  else
    this->~HalvexProgrammer_Core();
}

HalvexRpc::HalvexProgrammer::RangeInfo* HALVEX_RPC_CALL
HalvexRpcCore::HalvexProgrammer_Core::getRange(uint32_t index) noexcept {
  return index < numRanges_ ? ranges_[index].get() : nullptr;
}

bool HALVEX_RPC_CALL HalvexRpcCore::HalvexProgrammer_Core::sendCommand() noexcept {
  return device_->transact(CmdProgrammer, nullptr, 0, nullptr, 0, 0);
}

HalvexRpcCore::HalvexProgrammer_Core::RangeInfo_Core::RangeInfo_Core(HalvexProgrammer_Core* owner,
                                                                     uint16_t firstWord,
                                                                     uint16_t secondWord,
                                                                     uint16_t rangeValue,
                                                                     const char (&rangeName)[12])
    : owner_(owner) {
  first = static_cast<uint32_t>(firstWord) << 16;
  second = static_cast<uint32_t>(secondWord) << 16;
  value = rangeValue;
  memset(name, 0, sizeof name);
  // The record's name ends at its first zero byte or after all 12 characters;
  // the rest of the field stays zero so it is always terminated.
  for (size_t i = 0; i < sizeof rangeName && rangeName[i] != '\0'; ++i) name[i] = rangeName[i];
}

void HALVEX_RPC_CALL
HalvexRpcCore::HalvexProgrammer_Core::RangeInfo_Core::destroy(unsigned flags) noexcept {
  if (flags & 1)
    delete this;
  else
    this->~RangeInfo_Core();
}

bool HALVEX_RPC_CALL
HalvexRpcCore::HalvexProgrammer_Core::RangeInfo_Core::sendArgument(uint32_t argument) noexcept {
  uint8_t payload[4];
  writeLe16(payload, argument & 0xFFFF);
  writeLe16(payload + 2, argument >> 16);
  return owner_->device()->transact(CmdRangeArgument, payload, sizeof payload, nullptr, 0, 0);
}

bool HALVEX_RPC_CALL HalvexRpcCore::HalvexProgrammer_Core::RangeInfo_Core::sendBlocks(
    const void* data, uint32_t wordsPerBlock, uint32_t blockCount) noexcept {
  if (wordsPerBlock != owner_->getBlockWords()) return false;
  // Twice the table's 16-bit block size still fits the 32-bit byte count.
  return owner_->device()->transact(CmdRangeBlocks, nullptr, 0, data, 2 * wordsPerBlock,
                                    blockCount);
}

bool HALVEX_RPC_CALL HalvexRpcCore::HalvexProgrammer_Core::RangeInfo_Core::sendCommand() noexcept {
  return owner_->device()->transact(CmdRange, nullptr, 0, nullptr, 0, 0);
}

bool HALVEX_RPC_CALL
HalvexRpcCore::HalvexProgrammer_Core::RangeInfo_Core::sendProgrammerCommand() noexcept {
  return owner_->sendCommand();
}

uint32_t HALVEX_RPC_CALL
HalvexRpcCore::HalvexProgrammer_Core::RangeInfo_Core::getBlockWords() noexcept {
  return owner_->getBlockWords();
}
