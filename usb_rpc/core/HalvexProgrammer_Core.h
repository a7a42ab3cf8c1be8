// The programmer built from a device's range table, and its range records.
#pragma once

#include <stdint.h>

#include <memory>
#include <vector>

#include "HalvexRpcCore.h"

class HalvexRpcCore::HalvexProgrammer_Core final
    : public ReferencedInstance_Core<HalvexRpc::HalvexProgrammer> {
 public:
  class RangeInfo_Core;

  // Null when the transaction fails or the table is malformed.
  static HalvexProgrammer_Core* create(UsbDevice* device) noexcept;
  ~HalvexProgrammer_Core();

  void HALVEX_RPC_CALL destroy(unsigned flags) noexcept override;
  uint32_t HALVEX_RPC_CALL getBlockWords() noexcept override { return blockWords_; }
  uint32_t HALVEX_RPC_CALL getNumRanges() noexcept override { return numRanges_; }
  RangeInfo* HALVEX_RPC_CALL getRange(uint32_t index) noexcept override;
  bool HALVEX_RPC_CALL sendCommand() noexcept override;

  UsbDevice* device() const { return device_; }

 private:
  HalvexProgrammer_Core(UsbDevice* device, uint32_t blockWords);

  uint32_t blockWords_;
  uint32_t numRanges_ = 0;
  UsbDevice* device_;  // not retained: the host releases the programmer first
  std::vector<std::unique_ptr<RangeInfo_Core>> ranges_;
};

class HalvexRpcCore::HalvexProgrammer_Core::RangeInfo_Core final
    : public HalvexRpc::HalvexProgrammer::RangeInfo {
 public:
  RangeInfo_Core(HalvexProgrammer_Core* owner, uint16_t firstWord, uint16_t secondWord,
                 uint16_t rangeValue, const char (&rangeName)[12]);
  ~RangeInfo_Core() = default;

  void HALVEX_RPC_CALL destroy(unsigned flags) noexcept override;
  bool HALVEX_RPC_CALL sendArgument(uint32_t argument) noexcept override;
  bool HALVEX_RPC_CALL sendBlocks(const void* data, uint32_t wordsPerBlock,
                                  uint32_t blockCount) noexcept override;
  bool HALVEX_RPC_CALL sendCommand() noexcept override;
  bool HALVEX_RPC_CALL sendProgrammerCommand() noexcept override;
  uint32_t HALVEX_RPC_CALL getBlockWords() noexcept override;

 private:
  HalvexProgrammer_Core* owner_;
};
