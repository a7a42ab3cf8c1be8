#include "UsbDevice_Core.h"

#include <string.h>

#include <algorithm>
#include <new>

using namespace halvex_wire;

bool HalvexRpcCore::UsbDevice_Core::replyIsCounted() const {
  return replyBytes() >= kReplyTagOffset + 2 &&
         readLe16(&reply_[kReplyTagOffset]) == kCountedReplyTag;
}

uint32_t HALVEX_RPC_CALL HalvexRpcCore::UsbDevice_Core::getReplyPayloadWords() noexcept {
  if (replyWords_ < 4) return 0;
  const uint16_t tag = readLe16(&reply_[kReplyTagOffset]);
  if (tag == kCountedReplyTag) {
    // The header may announce more words than arrived; never count past the reply.
    if (replyBytes() < kCountedPayloadOffset) return 0;
    const uint32_t arrived = (replyBytes() - kCountedPayloadOffset) / 2;
    return std::min<uint32_t>(readLe16(&reply_[kReplyWordsOffset]), arrived);
  }
  if (tag == kPlainReplyTag) return replyWords_ - 4;
  return 0;
}

const void* HALVEX_RPC_CALL HalvexRpcCore::UsbDevice_Core::getReplyPayload() noexcept {
  if (reply_.empty()) return nullptr;
  return reply_.data() + (replyIsCounted() ? kCountedPayloadOffset : kPlainPayloadOffset);
}

bool HalvexRpcCore::UsbDevice_Core::reserveReply(size_t bytes) noexcept {
  size_t capacity = reply_.size();
  if (capacity >= bytes && capacity >= kScratchBytes) return true;
  capacity = kScratchBytes;
  while (capacity < bytes) capacity *= 2;
  try {
    std::vector<uint8_t> bigger(capacity);
    reply_.swap(bigger);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// Reads the reply: one transfer of up to kScratchBytes, and a second one for the
// rest of a counted reply that did not fit. False leaves the reply length 0.
bool HalvexRpcCore::UsbDevice_Core::receiveReply(Transport& transport) {
  // A short reply must not pick up bytes of the request built in the same buffer.
  scratch_.fill(0);
  uint32_t received = 0;
  if (!transport.read(scratch_.data(), kScratchBytes, received)) return false;
  received = std::min<uint32_t>(received, kScratchBytes);

  replyStatus_ = received >= kReplyStatusOffset + 2 ? readLe16(&scratch_[kReplyStatusOffset]) : 0;
  uint32_t expected = received;
  if (received > kReplyWordsOffset && readLe16(&scratch_[kReplyTagOffset]) == kCountedReplyTag)
    expected = kCountedPayloadOffset + 2u * readLe16(&scratch_[kReplyWordsOffset]);

  if (!reserveReply(std::max(expected, received))) return false;
  memcpy(reply_.data(), scratch_.data(), received);

  if (expected > received) {
    // Appended right after what arrived, also when that was an odd count.
    const uint32_t rest = expected - received;
    uint32_t got = 0;
    if (!transport.read(reply_.data() + received, rest, got) || got != rest) return false;
  }
  replyWords_ = expected / 2;
  return true;
}

bool HalvexRpcCore::UsbDevice_Core::runTransaction(Transport& transport, uint16_t command,
                                                   const void* payload, uint32_t payloadBytes,
                                                   const void* data, uint32_t blockBytes,
                                                   uint32_t blockCount) noexcept {
  if (failed_) return false;
  replyWords_ = 0;
  if (data == nullptr || blockBytes == 0 || blockCount == 0) {
    data = nullptr;
    blockBytes = 0;
    blockCount = 0;
  }
  // Sizes the 16-bit header fields cannot carry would let the header disagree
  // with the data phase and throw the device out of step.
  if (!payloadAcceptable(payload, payloadBytes) || blockBytes > kMaxBlockField ||
      blockCount > kMaxBlockField)
    return false;

  transport.flushIn();
  const size_t requestBytes =
      encodeRequest(scratch_.data(), command, payload, payloadBytes, blockBytes, blockCount);
  bool ok = transport.write(scratch_.data(), static_cast<uint32_t>(requestBytes));
  const uint8_t* block = static_cast<const uint8_t*>(data);
  for (uint32_t i = 0; ok && i < blockCount; ++i, block += blockBytes)
    ok = transport.write(block, blockBytes);
  if (ok) ok = receiveReply(transport);
  if (!ok) {
    replyWords_ = 0;
    failed_ = true;
  }
  return ok;
}
