// A bounds-checked read position over the bytes of a PNG file in memory.
//
// Every read of file data goes through it: a read past the end raises the
// reader's format error instead of touching memory outside the file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skin/foundation/png_errors.h"

class PngCursor {
 public:
  PngCursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  size_t Position() const { return pos_; }
  size_t Remaining() const { return size_ - pos_; }
  bool CanRead(size_t count) const { return count <= size_ - pos_; }

  // The next count bytes; the position moves past them.
  const uint8_t* Take(size_t count) {
    if (!CanRead(count)) RaisePngError(png_msg::kInvalidFormat);
    const uint8_t* p = data_ + pos_;
    pos_ += count;
    return p;
  }
  void Skip(size_t count) { Take(count); }
  uint32_t ReadBE32() { return LoadBE32(Take(4)); }

  static uint32_t LoadBE32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
  }
  static uint16_t LoadBE16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};
