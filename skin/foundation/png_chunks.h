// Chunk access of the PNG reader: headers, CRC-checked data and skipping.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skin/foundation/png_cursor.h"

// CRC-32 of the PNG standard (reflected polynomial 0xEDB88320, pre- and
// post-inverted); start with 0 and feed the result back in to continue.
uint32_t UpdateCrc32(uint32_t crc, const void* data, size_t count);

// A chunk type as the big-endian word of its four letters.
constexpr uint32_t ChunkCode(const char (&name)[5]) {
  return (uint32_t(uint8_t(name[0])) << 24) | (uint32_t(uint8_t(name[1])) << 16) |
         (uint32_t(uint8_t(name[2])) << 8) | uint32_t(uint8_t(name[3]));
}

inline constexpr uint32_t kChunkIHDR = ChunkCode("IHDR");
inline constexpr uint32_t kChunkPLTE = ChunkCode("PLTE");
inline constexpr uint32_t kChunkIDAT = ChunkCode("IDAT");
inline constexpr uint32_t kChunkIEND = ChunkCode("IEND");
inline constexpr uint32_t kChunkgAMA = ChunkCode("gAMA");
inline constexpr uint32_t kChunkbKGD = ChunkCode("bKGD");
inline constexpr uint32_t kChunktRNS = ChunkCode("tRNS");

// Chunks longer than this are refused even when the file holds them: the
// standard's own limit.
inline constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;

class PngChunkReader {
 public:
  explicit PngChunkReader(PngCursor& cursor) : cursor_(cursor) {}

  // Reads length and type; the whole chunk (data and CRC) must lie inside the
  // file, else the format error is raised before anything is used.
  void ReadChunkHeader() {
    if (!TryReadChunkHeader()) RaisePngError(png_msg::kInvalidFormat);
  }
  // The same, answering false instead of raising.
  bool TryReadChunkHeader();
  // The current chunk's data, after its CRC was checked; the cursor moves
  // past the CRC.
  const uint8_t* ReadChunkData();
  // Passes over the current chunk's data and CRC without checking them.
  void SkipChunk() { cursor_.Skip(size_t{length_} + 4); }

  // Compares with bit 0x20 of every letter cleared, so a type written in
  // lower-case letters matches the upper-case code.
  bool IsChunk(uint32_t code) const { return (type_ & ~0x20202020u) == (code & ~0x20202020u); }
  // Bit 0x20 clear in the first letter: a reader must understand the chunk.
  bool IsCritical() const { return (type_ & 0x20000000u) == 0; }

  uint32_t Length() const { return length_; }
  uint32_t Type() const { return type_; }

 private:
  PngCursor& cursor_;
  uint32_t length_ = 0;
  uint32_t type_ = 0;
  uint32_t crc_ = 0;
};
