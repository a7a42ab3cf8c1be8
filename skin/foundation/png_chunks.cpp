#include "skin/foundation/png_chunks.h"

#include <zlib.h>

#include <algorithm>

uint32_t UpdateCrc32(uint32_t crc, const void* data, size_t count) {
  // zlib's crc32 is this very CRC; it takes at most a uInt per call.
  auto p = static_cast<const Bytef*>(data);
  while (count > 0) {
    const uInt n = static_cast<uInt>(std::min<size_t>(count, 0x40000000));
    crc = static_cast<uint32_t>(crc32(crc, p, n));
    p += n;
    count -= n;
  }
  return crc;
}

bool PngChunkReader::TryReadChunkHeader() {
  if (!cursor_.CanRead(8)) return false;
  const uint8_t* header = cursor_.Take(8);
  length_ = PngCursor::LoadBE32(header);
  type_ = PngCursor::LoadBE32(header + 4);
  crc_ = UpdateCrc32(0, header + 4, 4);
  return length_ <= kMaxChunkLength && cursor_.CanRead(size_t{length_} + 4);
}

const uint8_t* PngChunkReader::ReadChunkData() {
  const uint8_t* data = cursor_.Take(length_);
  const uint32_t stored = cursor_.ReadBE32();
  if (UpdateCrc32(crc_, data, length_) != stored) RaisePngError(png_msg::kCrcError);
  return data;
}
