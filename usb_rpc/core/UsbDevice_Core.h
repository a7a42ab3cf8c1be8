// Device identity, reply state and the transaction sequence, independent of the
// USB stack that carries the transfers.
#pragma once

#include <stdint.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "HalvexRpcCore.h"
#include "WireFormat.h"

class HalvexRpcCore::UsbDevice_Core : public ReferencedInstance_Core<HalvexRpc::UsbDevice> {
 public:
  uint16_t HALVEX_RPC_CALL getVendorId() noexcept override { return vendorId_; }
  uint16_t HALVEX_RPC_CALL getProductId() noexcept override { return productId_; }
  uint16_t HALVEX_RPC_CALL getDeviceRelease() noexcept override { return deviceRelease_; }
  const char* HALVEX_RPC_CALL getManufacturer() noexcept override { return text(manufacturer_); }
  const char* HALVEX_RPC_CALL getProduct() noexcept override { return text(product_); }
  const char* HALVEX_RPC_CALL getSerialNumber() noexcept override { return text(serialNumber_); }
  bool HALVEX_RPC_CALL isOk() noexcept override { return !failed_; }
  uint32_t HALVEX_RPC_CALL getReplyPayloadWords() noexcept override;
  const void* HALVEX_RPC_CALL getReplyPayload() noexcept override;
  uint16_t HALVEX_RPC_CALL getReplyStatus() noexcept override { return replyStatus_; }

 protected:
  // The transfers of one transaction. Each call blocks until its transfer has
  // finished or failed; a transfer still owned by the stack never outlives it.
  class Transport {
   public:
    virtual void flushIn() = 0;
    virtual bool write(const uint8_t* bytes, uint32_t count) = 0;
    virtual bool read(uint8_t* into, uint32_t capacity, uint32_t& received) = 0;

   protected:
    ~Transport() = default;
  };

  UsbDevice_Core() = default;
  ~UsbDevice_Core() = default;

  bool runTransaction(Transport& transport, uint16_t command, const void* payload,
                      uint32_t payloadBytes, const void* data, uint32_t blockBytes,
                      uint32_t blockCount) noexcept;

  uint16_t vendorId_ = 0;
  uint16_t productId_ = 0;
  uint16_t deviceRelease_ = 0;
  std::optional<std::string> manufacturer_;
  std::optional<std::string> product_;
  std::optional<std::string> serialNumber_;

 private:
  static const char* text(const std::optional<std::string>& s) { return s ? s->c_str() : nullptr; }
  uint32_t replyBytes() const { return replyWords_ * 2; }
  bool replyIsCounted() const;
  bool reserveReply(size_t bytes) noexcept;
  bool receiveReply(Transport& transport);

  bool failed_ = false;
  uint16_t replyStatus_ = 0;
  // size() is the capacity: it only grows, and its old content is not kept.
  std::vector<uint8_t> reply_;
  uint32_t replyWords_ = 0;
  std::array<uint8_t, halvex_wire::kScratchBytes> scratch_{};
};
