#include "widgets/rtl/streams.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

std::string SystemErrorText(DWORD code) {
  char buf[512];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           code, 0, buf, sizeof buf, nullptr);
  while (n > 0 && (buf[n - 1] == '\r' || buf[n - 1] == '\n' || buf[n - 1] == ' ')) --n;
  if (n == 0) return "System error " + std::to_string(code);
  return std::string(buf, n);
}

constexpr int64_t kMaxPos = std::numeric_limits<int32_t>::max();

}  // namespace

// ---- TStream -----------------------------------------------------------------

const TClassInfo& TStream::StaticClass() {
  static const TClassInfo info("TStream", &TObject::StaticClass());
  return info;
}

int32_t TStream::Size() {
  int32_t p = Seek(0, soFromCurrent);
  int32_t s = Seek(0, soFromEnd);
  Seek(p, soFromBeginning);
  return s;
}

void TStream::SetSize(int32_t) {}

// A source may hand out less than asked per call (a decompression stream
// does); only a call that moves nothing ends the transfer short.
void TStream::ReadBuffer(void* Buffer, int32_t Count) {
  auto* p = static_cast<uint8_t*>(Buffer);
  while (Count > 0) {
    int32_t n = Read(p, Count);
    if (n <= 0 || n > Count) throw EReadError("Stream read error");
    p += n;
    Count -= n;
  }
}

void TStream::WriteBuffer(const void* Buffer, int32_t Count) {
  auto* p = static_cast<const uint8_t*>(Buffer);
  while (Count > 0) {
    int32_t n = Write(p, Count);
    if (n <= 0 || n > Count) throw EWriteError("Stream write error");
    p += n;
    Count -= n;
  }
}

int32_t TStream::CopyFrom(TStream& Source, int32_t Count) {
  if (Count <= 0) return 0;
  constexpr int32_t kChunk = 0xF000;
  // On the stack: a new heap block per call can cost more than the copy
  // (its pages are new to the process, and each first touch faults), and a
  // buffer shared between calls would break a source that copies too.
  uint8_t buf[kChunk];
  for (int32_t left = Count; left > 0;) {
    int32_t n = std::min(left, kChunk);
    Source.ReadBuffer(buf, n);
    WriteBuffer(buf, n);
    left -= n;
  }
  return Count;
}

// ---- TCustomMemoryStream ---------------------------------------------------------

const TClassInfo& TCustomMemoryStream::StaticClass() {
  static const TClassInfo info("TCustomMemoryStream", &TStream::StaticClass());
  return info;
}

void TCustomMemoryStream::SetPointer(void* Ptr, int32_t Size) {
  memory_ = Ptr;
  size_ = Size;
}

int32_t TCustomMemoryStream::Read(void* Buffer, int32_t Count) {
  if (Count <= 0 || position_ >= size_) return 0;
  int32_t n = std::min(Count, size_ - position_);
  std::memcpy(Buffer, static_cast<const uint8_t*>(memory_) + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int32_t TCustomMemoryStream::Seek(int32_t Offset, uint16_t Origin) {
  int64_t base = Origin == soFromCurrent ? position_ : (Origin == soFromEnd ? size_ : 0);
  int64_t p = base + Offset;
  // A position before the start or beyond what an int32 holds is clipped.
  position_ = static_cast<int32_t>(std::clamp<int64_t>(p, 0, kMaxPos));
  return position_;
}

void TCustomMemoryStream::SaveToStream(TStream& Stream) {
  if (size_ > 0) Stream.WriteBuffer(memory_, size_);
}

void TCustomMemoryStream::SaveToFile(const std::string& FileName) {
  TFileStream f(FileName, fmCreate);
  SaveToStream(f);
}

// ---- TMemoryStream -----------------------------------------------------------------

const TClassInfo& TMemoryStream::StaticClass() {
  static const TClassInfo info("TMemoryStream", &TCustomMemoryStream::StaticClass());
  return info;
}

void TMemoryStream::SetSize(int32_t NewSize) {
  if (NewSize < 0) NewSize = 0;
  buffer_.resize(static_cast<size_t>(NewSize));
  SetPointer(buffer_.empty() ? nullptr : buffer_.data(), NewSize);
  if (position_ > NewSize) position_ = NewSize;
}

int32_t TMemoryStream::Write(const void* Buffer, int32_t Count) {
  if (Count <= 0) return 0;
  int64_t end = static_cast<int64_t>(position_) + Count;
  if (end > kMaxPos) return 0;
  if (end > size_) {
    int32_t keep = position_;
    SetSize(static_cast<int32_t>(end));
    position_ = keep;
  }
  std::memcpy(buffer_.data() + position_, Buffer, static_cast<size_t>(Count));
  position_ = static_cast<int32_t>(end);
  return Count;
}

void TMemoryStream::Clear() {
  buffer_.clear();
  buffer_.shrink_to_fit();
  SetPointer(nullptr, 0);
  position_ = 0;
}

std::vector<uint8_t> TMemoryStream::ReleaseBuffer() {
  std::vector<uint8_t> out = std::move(buffer_);
  buffer_.clear();
  SetPointer(nullptr, 0);
  position_ = 0;
  return out;
}

void TMemoryStream::AdoptBuffer(std::vector<uint8_t>&& Buffer) {
  buffer_ = std::move(Buffer);
  SetPointer(buffer_.empty() ? nullptr : buffer_.data(), static_cast<int32_t>(buffer_.size()));
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
  Stream.SetPosition(0);
  int32_t n = Stream.Size();
  SetSize(n);
  if (n > 0) Stream.ReadBuffer(buffer_.data(), n);
  position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(f);
}

// ---- TFileStream -------------------------------------------------------------------

const TClassInfo& TFileStream::StaticClass() {
  static const TClassInfo info("TFileStream", &TStream::StaticClass());
  return info;
}

TFileStream::TFileStream(const std::string& FileName, uint16_t Mode) : fileName_(FileName) {
  if (Mode == fmCreate) {
    handle_ = CreateFileA(FileName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
      throw EFCreateError("Cannot create file \"" + FileName + "\". " +
                          SystemErrorText(GetLastError()));
    return;
  }
  static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
  static const DWORD kShare[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, 0, FILE_SHARE_READ,
                                 FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
  unsigned access = Mode & 0x0F, share = (Mode & 0xF0) >> 4;
  if (access > 2 || share > 4)
    throw EFOpenError("Cannot open file \"" + FileName + "\". Invalid mode");
  handle_ = CreateFileA(FileName.c_str(), kAccess[access], kShare[share], nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE)
    throw EFOpenError("Cannot open file \"" + FileName + "\". " + SystemErrorText(GetLastError()));
}

TFileStream::~TFileStream() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

int32_t TFileStream::Read(void* Buffer, int32_t Count) {
  DWORD got = 0;
  if (Count <= 0 || !ReadFile(handle_, Buffer, static_cast<DWORD>(Count), &got, nullptr)) return 0;
  return static_cast<int32_t>(got);
}

int32_t TFileStream::Write(const void* Buffer, int32_t Count) {
  DWORD put = 0;
  if (Count <= 0 || !WriteFile(handle_, Buffer, static_cast<DWORD>(Count), &put, nullptr)) return 0;
  return static_cast<int32_t>(put);
}

int32_t TFileStream::Seek(int32_t Offset, uint16_t Origin) {
  static const DWORD kMethod[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  LARGE_INTEGER dist, now;
  dist.QuadPart = Offset;
  if (Origin > 2 || !SetFilePointerEx(handle_, dist, &now, kMethod[Origin])) return -1;
  return now.QuadPart > kMaxPos ? static_cast<int32_t>(kMaxPos)
                                : static_cast<int32_t>(now.QuadPart);
}

void TFileStream::SetSize(int32_t NewSize) {
  int32_t keep = Position();
  Seek(NewSize, soFromBeginning);
  if (!SetEndOfFile(handle_))
    throw EStreamError("Cannot set the size of \"" + fileName_ + "\". " +
                       SystemErrorText(GetLastError()));
  if (keep < NewSize) Seek(keep, soFromBeginning);
}

// ---- TResourceStream -------------------------------------------------------------------

const TClassInfo& TResourceStream::StaticClass() {
  static const TClassInfo info("TResourceStream", &TCustomMemoryStream::StaticClass());
  return info;
}

TResourceStream::TResourceStream(HINSTANCE Instance, const std::string& ResName, LPCSTR ResType) {
  Initialize(Instance, ResName.c_str(), ResType, ResName);
}

TResourceStream::TResourceStream(HINSTANCE Instance, int ResID, LPCSTR ResType) {
  Initialize(Instance, MAKEINTRESOURCEA(ResID), ResType, std::to_string(ResID));
}

void TResourceStream::Initialize(HINSTANCE Instance, LPCSTR Name, LPCSTR ResType,
                                 const std::string& Shown) {
  HRSRC info = FindResourceA(Instance, Name, ResType);
  HGLOBAL data = info ? LoadResource(Instance, info) : nullptr;
  void* p = data ? LockResource(data) : nullptr;
  if (!p) throw EResNotFound("Resource " + Shown + " not found");
  // Resource memory lives as long as the module; nothing to release.
  DWORD size = SizeofResource(Instance, info);
  SetPointer(p, static_cast<int32_t>(std::min<DWORD>(size, static_cast<DWORD>(kMaxPos))));
}

int32_t TResourceStream::Write(const void*, int32_t) {
  throw EStreamError("Can't write to a read-only resource stream");
}
