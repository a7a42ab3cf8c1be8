// A read-only stream that inflates zlib data from a source stream, and the
// exceptions it raises. The source is handed back positioned right after the
// zlib data once it has ended, so a container can read what follows.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>

#include "widgets/rtl/events.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/streams.h"

// The message of a zlib result code; empty for a code zlib does not define.
const char* ZErrorTexts(int Code);

class EZLibError : public Exception {
 public:
  // The message is ZErrorTexts(Code).
  explicit EZLibError(int Code) : Exception(ZErrorTexts(Code)), errorCode_(Code) {}
  // A misuse of the stream rather than bad data: ErrorCode 0.
  explicit EZLibError(const std::string& Message) : Exception(Message) {}
  int32_t ErrorCode() const { return errorCode_; }

 private:
  int32_t errorCode_ = 0;
};
DECLARE_EXCEPTION(EZDecompressionError, EZLibError)

class TCustomZStream : public TStream {
  DECLARE_CLASS(TCustomZStream, TStream)
 public:
  // Called after every refill of the input buffer.
  TNotifyEvent ProgressEvent;

 protected:
  explicit TCustomZStream(TStream& Source);
  // Reads the next block of Source into the input buffer; false when Source
  // has nothing more.
  bool Refill();

  static constexpr int32_t kInputSize = 65536;
  TStream& source_;
  // Where the next compressed bytes are read from Source.
  int64_t streamStartPos_;
  z_stream zstream_{};
  uint8_t inputBuffer_[kInputSize];
};

class TZDecompressionStream : public TCustomZStream {
  DECLARE_CLASS(TZDecompressionStream, TCustomZStream)
 public:
  // Source must stay alive as long as this stream; it is not owned.
  explicit TZDecompressionStream(TStream& Source);
  ~TZDecompressionStream() override;

  // Fewer bytes than Count only at the end of the zlib data. A call that
  // cannot deliver anything because Source ends early raises "buffer error".
  int32_t Read(void* Buffer, int32_t Count) override;
  // Always raises: the stream is read-only.
  int32_t Write(const void* Buffer, int32_t Count) override;
  // Forward only, or back to the start (Offset 0, Origin 0), which restarts
  // at the Source position this stream was created at. Returns the count of
  // bytes delivered so far.
  int32_t Seek(int32_t Offset, uint16_t Origin) override;

  // For a caller that has read all the bytes it expects: consumes the rest of
  // the zlib data (its checksum) and leaves Source on the first byte after it.
  // Raises "data error" when the data holds more output, "buffer error" when
  // Source ends before the data does.
  void Finish();

 private:
  void Restart();
  void Skip(int64_t Count);
  // Gives the input read past the end of the zlib data back to Source.
  void ReturnUnusedInput();

  int64_t createPos_;
  bool ended_ = false;
};
