#include "skin/foundation/zlib_stream.h"

#include <algorithm>
#include <iterator>

const char* ZErrorTexts(int Code) {
  static const char* const kTexts[] = {
      "need dictionary",     "stream end",   "ok",
      "file error",          "stream error", "data error",
      "insufficient memory", "buffer error", "incompatible version"};
  int index = Z_NEED_DICT - Code;
  if (index < 0 || index >= static_cast<int>(std::size(kTexts))) return "";
  return kTexts[index];
}

namespace {

constexpr const char* kInvalidOperation = "Invalid ZStream operation!";

}  // namespace

// ---- TCustomZStream ----------------------------------------------------------------

const TClassInfo& TCustomZStream::StaticClass() {
  static const TClassInfo info("TCustomZStream", &TStream::StaticClass());
  return info;
}

TCustomZStream::TCustomZStream(TStream& Source)
    : source_(Source), streamStartPos_(Source.Position()) {
  zstream_.next_in = inputBuffer_;
  zstream_.avail_in = 0;
}

bool TCustomZStream::Refill() {
  int32_t n = source_.Read(inputBuffer_, kInputSize);
  if (n <= 0) return false;
  zstream_.next_in = inputBuffer_;
  zstream_.avail_in = static_cast<uInt>(n);
  streamStartPos_ = source_.Position();
  if (ProgressEvent) ProgressEvent(this);
  return true;
}

// ---- TZDecompressionStream -----------------------------------------------------------

const TClassInfo& TZDecompressionStream::StaticClass() {
  static const TClassInfo info("TZDecompressionStream", &TCustomZStream::StaticClass());
  return info;
}

TZDecompressionStream::TZDecompressionStream(TStream& Source)
    : TCustomZStream(Source), createPos_(streamStartPos_) {
  // The macro passes the header's own version and record size, which the
  // library checks against what it was built with.
  int r = inflateInit(&zstream_);
  if (r < 0) throw EZDecompressionError(r);
}

TZDecompressionStream::~TZDecompressionStream() {
  inflateEnd(&zstream_);
}

int32_t TZDecompressionStream::Read(void* Buffer, int32_t Count) {
  if (Count <= 0 || ended_) return 0;
  zstream_.next_out = static_cast<Bytef*>(Buffer);
  zstream_.avail_out = static_cast<uInt>(Count);
  // Another user of Source may have moved it between two reads.
  if (source_.Position() != streamStartPos_)
    source_.SetPosition(static_cast<int32_t>(streamStartPos_));
  int r = Z_OK;
  bool dry = false;
  while (zstream_.avail_out > 0 && r != Z_STREAM_END && !dry) {
    // With Source dry, inflate still gets one call: a match cut short by the
    // caller's buffer may have output left that needs no input.
    if (zstream_.avail_in == 0) dry = !Refill();
    r = inflate(&zstream_, Z_NO_FLUSH);
    if (r == Z_BUF_ERROR && dry) break;
    if (r < 0 || r == Z_NEED_DICT) throw EZDecompressionError(r);
  }
  // A short count is fine while it is not zero: zero reads as the regular
  // end of the data, which a source ending early is not.
  if (r != Z_STREAM_END && dry && zstream_.avail_out == static_cast<uInt>(Count)) {
    throw EZDecompressionError(Z_BUF_ERROR);
  }
  if (r == Z_STREAM_END) {
    ended_ = true;
    ReturnUnusedInput();
  }
  return Count - static_cast<int32_t>(zstream_.avail_out);
}

void TZDecompressionStream::ReturnUnusedInput() {
  streamStartPos_ -= zstream_.avail_in;
  zstream_.avail_in = 0;
  source_.SetPosition(static_cast<int32_t>(streamStartPos_));
}

void TZDecompressionStream::Finish() {
  if (source_.Position() != streamStartPos_)
    source_.SetPosition(static_cast<int32_t>(streamStartPos_));
  // One byte of room tells "more output" apart from "needs more input": zlib
  // only fills it when the data holds more than the caller took.
  Bytef probe;
  while (!ended_) {
    bool dry = zstream_.avail_in == 0 && !Refill();
    zstream_.next_out = &probe;
    zstream_.avail_out = 1;
    int r = inflate(&zstream_, Z_NO_FLUSH);
    if (zstream_.avail_out == 0) throw EZDecompressionError(Z_DATA_ERROR);
    if (r == Z_STREAM_END) break;
    if (r != Z_OK) throw EZDecompressionError(r);
    if (dry) throw EZDecompressionError(Z_BUF_ERROR);
  }
  ended_ = true;
  ReturnUnusedInput();
}

int32_t TZDecompressionStream::Write(const void*, int32_t) {
  throw EZDecompressionError(std::string(kInvalidOperation));
}

void TZDecompressionStream::Restart() {
  int r = inflateReset(&zstream_);
  if (r < 0) throw EZDecompressionError(r);
  zstream_.next_in = inputBuffer_;
  zstream_.avail_in = 0;
  ended_ = false;
  streamStartPos_ = createPos_;
  source_.SetPosition(static_cast<int32_t>(createPos_));
}

void TZDecompressionStream::Skip(int64_t Count) {
  uint8_t buf[8192];
  while (Count > 0) {
    int32_t n = static_cast<int32_t>(std::min<int64_t>(Count, sizeof buf));
    int32_t got = Read(buf, n);
    if (got <= 0) throw EZDecompressionError(Z_BUF_ERROR);
    Count -= got;
  }
}

int32_t TZDecompressionStream::Seek(int32_t Offset, uint16_t Origin) {
  int64_t delivered = static_cast<int64_t>(zstream_.total_out);
  if (Offset == 0 && Origin == soFromBeginning) {
    Restart();
  } else if ((Offset >= 0 && Origin == soFromCurrent) ||
             (Origin == soFromBeginning && Offset - delivered > 0)) {
    Skip(Origin == soFromBeginning ? Offset - delivered : Offset);
  } else if (Offset == 0 && Origin == soFromEnd) {
    uint8_t buf[8192];
    while (Read(buf, sizeof buf) > 0) {
    }
  } else {
    throw EZDecompressionError(std::string(kInvalidOperation));
  }
  return static_cast<int32_t>(zstream_.total_out);
}
