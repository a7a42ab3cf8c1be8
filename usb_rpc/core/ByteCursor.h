// Bounds-checked little-endian reader over bytes received from a device.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

class ByteCursor {
 public:
  ByteCursor(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

  size_t remaining() const { return size_ - offset_; }

  bool readU16(uint16_t& out) {
    if (remaining() < 2) return false;
    out = static_cast<uint16_t>(bytes_[offset_] | (bytes_[offset_ + 1] << 8));
    offset_ += 2;
    return true;
  }

  bool readBytes(void* out, size_t count) {
    if (remaining() < count) return false;
    memcpy(out, bytes_ + offset_, count);
    offset_ += count;
    return true;
  }

  bool skip(size_t count) {
    if (remaining() < count) return false;
    offset_ += count;
    return true;
  }

 private:
  const uint8_t* bytes_;
  size_t size_;
  size_t offset_ = 0;
};
