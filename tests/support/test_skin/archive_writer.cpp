#include "archive_writer.h"

#include <zlib.h>

#include <stdexcept>

#include "test_skin.h"

namespace test_skin {

namespace {

void PutInt32(std::vector<uint8_t>& Out, int32_t Value) {
  const auto v = static_cast<uint32_t>(Value);
  for (int i = 0; i < 4; ++i) Out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutText(std::vector<uint8_t>& Out, const std::string& Text) {
  Out.insert(Out.end(), Text.begin(), Text.end());
}

}  // namespace

std::vector<uint8_t> ZlibBytes(const std::vector<uint8_t>& Data, int Level) {
  uLongf size = compressBound(static_cast<uLong>(Data.size()));
  std::vector<uint8_t> out(size);
  if (compress2(out.data(), &size, Data.data(), static_cast<uLong>(Data.size()), Level) != Z_OK)
    throw std::runtime_error("zlib compression failed");
  out.resize(size);
  return out;
}

std::vector<uint8_t> WriteArchive(const std::vector<ArchiveEntry>& Entries,
                                  const ArchiveOptions& Options) {
  std::vector<uint8_t> out;
  PutText(out, Options.Signature);
  PutInt32(out, Options.EntryCount.value_or(static_cast<int32_t>(Entries.size())));
  for (const ArchiveEntry& e : Entries) {
    PutInt32(out, e.NameLength.value_or(static_cast<int32_t>(e.Name.size())));
    PutText(out, e.Name);
    PutInt32(out, e.Size.value_or(static_cast<int32_t>(e.Bytes.size())));
    const std::vector<uint8_t> data = e.Data ? *e.Data : ZlibBytes(e.Bytes, Options.Level);
    out.insert(out.end(), data.begin(), data.end());
  }
  if (Options.Preview) {
    PutText(out, "previewimg");
    PutInt32(out, Options.PreviewLength.value_or(static_cast<int32_t>(Options.Preview->size())));
    out.insert(out.end(), Options.Preview->begin(), Options.Preview->end());
  }
  out.insert(out.end(), Options.Garbage.begin(), Options.Garbage.end());
  if (Options.TruncateAt && *Options.TruncateAt < out.size()) out.resize(*Options.TruncateAt);
  return out;
}

std::vector<ArchiveEntry> ArchiveEntries(const std::vector<SkinFile>& Files) {
  std::vector<ArchiveEntry> entries;
  for (const SkinFile& f : Files) entries.push_back(ArchiveEntry{f.Name, f.Bytes});
  return entries;
}

std::vector<uint8_t> PackTestSkin(const std::string& Variant, const ArchiveOptions& Options) {
  return WriteArchive(ArchiveEntries(BuildTestSkin(Variant).Files), Options);
}

}  // namespace test_skin
