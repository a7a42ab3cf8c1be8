// The PNG reader's inflate step: a thin owner of one zlib stream.
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>

class TLZ77Decoder {
 public:
  // skipCheck: the zlib stream's Adler-32 is neither computed nor checked
  // (for data whose container checks it otherwise).
  TLZ77Decoder(int flushMode, bool autoReset, bool skipCheck = false);
  ~TLZ77Decoder();
  TLZ77Decoder(const TLZ77Decoder&) = delete;
  TLZ77Decoder& operator=(const TLZ77Decoder&) = delete;

  // Raises EGraphicCompression when zlib cannot be set up.
  void DecodeInit();
  // One inflate from source (packedSize bytes) into dest (unpackedSize bytes);
  // both pointers move past what was used and written. The result is ZResult.
  int Decode(const uint8_t*& source, uint8_t*& dest, size_t packedSize, size_t unpackedSize);
  void DecodeEnd();

  int ZResult() const { return zresult_; }
  size_t AvailableInput() const { return stream_.avail_in; }
  size_t AvailableOutput() const { return stream_.avail_out; }
  const uint8_t* NextInput() const { return stream_.next_in; }

 private:
  z_stream stream_{};
  int zresult_ = Z_OK;
  int flushMode_;
  bool autoReset_;
  bool skipCheck_;
  bool open_ = false;
};
