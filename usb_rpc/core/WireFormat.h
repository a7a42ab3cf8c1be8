// Byte layout of requests, replies and the range table exchanged with the device.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace halvex_wire {

enum Command : uint16_t {
  CmdGetRangeTable = 0x1000,
  CmdRangeArgument = 0x1001,
  CmdRange = 0x1002,
  CmdRangeBlocks = 0x1003,
  CmdProgrammer = 0x1004,
};

inline constexpr size_t kScratchBytes = 512;
inline constexpr size_t kRequestHeaderBytes = 16;
inline constexpr uint32_t kMaxPayloadBytes = 128;
// The request carries block size and count in 16-bit fields.
inline constexpr uint32_t kMaxBlockField = 0xFFFF;

inline constexpr size_t kReplyTagOffset = 2;
inline constexpr size_t kReplyStatusOffset = 6;
inline constexpr size_t kReplyWordsOffset = 8;
inline constexpr size_t kPlainPayloadOffset = 8;
inline constexpr size_t kCountedPayloadOffset = 10;
inline constexpr uint16_t kCountedReplyTag = 0x7453;  // "St"
inline constexpr uint16_t kPlainReplyTag = 0x7473;    // "st"

inline uint16_t readLe16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline void writeLe16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

// A payload is acceptable when pointer and size agree, the size is even and at
// most kMaxPayloadBytes.
bool payloadAcceptable(const void* payload, uint32_t payloadBytes);

// Writes the 16-byte header and the payload into `out` (at least
// kRequestHeaderBytes + kMaxPayloadBytes long); returns the request length.
size_t encodeRequest(uint8_t* out, uint16_t command, const void* payload, uint32_t payloadBytes,
                     uint32_t blockBytes, uint32_t blockCount);

}  // namespace halvex_wire
