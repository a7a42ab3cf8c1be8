#include "skin/foundation/png_lz77.h"

#include <algorithm>

#include "skin/foundation/png_errors.h"

TLZ77Decoder::TLZ77Decoder(int flushMode, bool autoReset, bool skipCheck)
    : flushMode_(flushMode), autoReset_(autoReset), skipCheck_(skipCheck) {}

TLZ77Decoder::~TLZ77Decoder() {
  if (open_) inflateEnd(&stream_);
}

void TLZ77Decoder::DecodeInit() {
  stream_ = z_stream{};
  // zlib checks the record size against its own: on 64-bit targets the record
  // is larger than on 32-bit ones, so the size always comes from the header.
  zresult_ = inflateInit_(&stream_, "1.2.3", static_cast<int>(sizeof(z_stream)));
  if (zresult_ < 0) throw EGraphicCompression(png_msg::kLz77Error);
  open_ = true;
  // The stream's own Adler-32 is not computed: the PNG reader checks the
  // CRC-32 of every chunk of image data it inflates, which covers the same
  // bytes, and the sum over the inflated data cost about a tenth of a
  // large image's decode.
  if (skipCheck_) inflateValidate(&stream_, 0);
}

int TLZ77Decoder::Decode(const uint8_t*& source, uint8_t*& dest, size_t packedSize,
                         size_t unpackedSize) {
  if (autoReset_ && inflateReset(&stream_) != Z_OK) return zresult_;
  // The reader hands over at most one chunk and one row at a time; both fit
  // a uInt, and a caller passing more simply gets a partial result.
  stream_.next_in = const_cast<Bytef*>(source);
  stream_.avail_in = static_cast<uInt>(std::min<size_t>(packedSize, 0xFFFFFFFFu));
  stream_.next_out = dest;
  stream_.avail_out = static_cast<uInt>(std::min<size_t>(unpackedSize, 0xFFFFFFFFu));
  zresult_ = inflate(&stream_, flushMode_);
  source = stream_.next_in;
  dest = stream_.next_out;
  return zresult_;
}

void TLZ77Decoder::DecodeEnd() {
  if (!open_) return;
  open_ = false;
  if (inflateEnd(&stream_) < 0) throw EGraphicCompression(png_msg::kLz77Error);
}
