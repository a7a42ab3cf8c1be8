// Bytes of packed skin archives for the tests: literals, a memory stream
// filled with them and read back, and a file written with them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "archive_writer.h"
#include "widgets/rtl/streams.h"

namespace archive_bytes {

using Bytes = std::vector<uint8_t>;

inline Bytes Text(const std::string& S) {
  return Bytes(S.begin(), S.end());
}
// Literals holding zero bytes.
template <size_t N>
Bytes Raw(const char (&S)[N]) {
  return Bytes(S, S + N - 1);
}

inline void Fill(TMemoryStream& Stream, const Bytes& Data) {
  Stream.SetSize(static_cast<int32_t>(Data.size()));
  if (!Data.empty()) std::memcpy(Stream.Memory(), Data.data(), Data.size());
  Stream.SetPosition(0);
}

inline Bytes Contents(TMemoryStream* Stream) {
  const auto* p = static_cast<const uint8_t*>(Stream->Memory());
  return p ? Bytes(p, p + Stream->Size()) : Bytes();
}

inline test_skin::ArchiveEntry Entry(const std::string& Name, const Bytes& Data) {
  return test_skin::ArchiveEntry{Name, Data};
}

inline Bytes Cut(Bytes B, size_t Size) {
  B.resize(Size);
  return B;
}

inline void WriteBytes(const std::string& Path, const Bytes& Data) {
  HANDLE h = CreateFileA(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(h, Data.data(), static_cast<DWORD>(Data.size()), &written, nullptr);
  CloseHandle(h);
}

}  // namespace archive_bytes
