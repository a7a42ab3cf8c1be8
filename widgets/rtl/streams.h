// Streams: the abstract TStream with its exact Size and CopyFrom rules,
// memory, file and resource streams.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/object_model.h"

DECLARE_EXCEPTION(EFCreateError, EStreamError)

// Seek origins.
enum : uint16_t { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

class TStream : public TObject {
  DECLARE_CLASS(TStream, TObject)
 public:
  // Return the number of bytes moved, which may be fewer than asked.
  virtual int32_t Read(void* Buffer, int32_t Count) = 0;
  virtual int32_t Write(const void* Buffer, int32_t Count) = 0;
  // Returns the new position.
  virtual int32_t Seek(int32_t Offset, uint16_t Origin) = 0;

  int32_t Position() { return Seek(0, soFromCurrent); }
  void SetPosition(int32_t Pos) { Seek(Pos, soFromBeginning); }
  // Exactly: p := Seek(0, 1); s := Seek(0, 2); Seek(p, 0); s.
  int32_t Size();
  // The base cannot change its size and ignores the call.
  virtual void SetSize(int32_t NewSize);

  // Move exactly Count bytes, calling Read/Write until done; raise
  // EReadError ("Stream read error") / EWriteError when a call moves nothing.
  void ReadBuffer(void* Buffer, int32_t Count);
  void WriteBuffer(const void* Buffer, int32_t Count);
  // Copies exactly Count bytes from the source's current position (0 or less
  // copies nothing); a short source raises EReadError. Returns Count.
  int32_t CopyFrom(TStream& Source, int32_t Count);
};

// A stream over a block of memory it does not allocate itself.
class TCustomMemoryStream : public TStream {
  DECLARE_CLASS(TCustomMemoryStream, TStream)
 public:
  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Seek(int32_t Offset, uint16_t Origin) override;
  void* Memory() const { return memory_; }
  void SaveToStream(TStream& Stream);
  void SaveToFile(const std::string& FileName);

 protected:
  void SetPointer(void* Ptr, int32_t Size);
  int32_t size_ = 0;
  int32_t position_ = 0;

 private:
  void* memory_ = nullptr;
};

// A growable stream in memory. Writing or seeking past the end is allowed;
// a write there fills the gap with zeros.
class TMemoryStream : public TCustomMemoryStream {
  DECLARE_CLASS(TMemoryStream, TCustomMemoryStream)
 public:
  int32_t Write(const void* Buffer, int32_t Count) override;
  // Keeps the first min(old, new) bytes; the position is clipped to the size.
  void SetSize(int32_t NewSize) override;
  void Clear();
  // The whole source (from its start) replaces the contents; position 0.
  void LoadFromStream(TStream& Stream);
  void LoadFromFile(const std::string& FileName);
  // The memory changes hands without a copy, so that a caller can keep it
  // for a later stream: Release leaves the stream empty; Adopt makes
  // Buffer's bytes the contents, at position 0.
  std::vector<uint8_t> ReleaseBuffer();
  void AdoptBuffer(std::vector<uint8_t>&& Buffer);

 private:
  std::vector<uint8_t> buffer_;
};

// File open modes: one access mode or'ed with one share mode; fmCreate
// creates or truncates the file for writing.
enum : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmShareCompat = 0x0000,
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,
  fmCreate = 0xFF00,
};

// Owns one file handle, closed once in the destructor.
class TFileStream : public TStream {
  DECLARE_CLASS(TFileStream, TStream)
 public:
  // Raises EFCreateError / EFOpenError naming the file.
  TFileStream(const std::string& FileName, uint16_t Mode);
  ~TFileStream() override;
  int32_t Read(void* Buffer, int32_t Count) override;
  int32_t Write(const void* Buffer, int32_t Count) override;
  int32_t Seek(int32_t Offset, uint16_t Origin) override;
  void SetSize(int32_t NewSize) override;
  const std::string& FileName() const { return fileName_; }
  HANDLE Handle() const { return handle_; }

 private:
  std::string fileName_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A read-only view of a module's resource. Raises EResNotFound
// ("Resource X not found") when the module has no such resource.
class TResourceStream : public TCustomMemoryStream {
  DECLARE_CLASS(TResourceStream, TCustomMemoryStream)
 public:
  TResourceStream(HINSTANCE Instance, const std::string& ResName, LPCSTR ResType);
  TResourceStream(HINSTANCE Instance, int ResID, LPCSTR ResType);
  // Raises EStreamError: resources cannot be written.
  int32_t Write(const void* Buffer, int32_t Count) override;

 private:
  void Initialize(HINSTANCE Instance, LPCSTR Name, LPCSTR ResType, const std::string& Shown);
};
