// Writes packed skin archives for the tests: sound ones from a skin's files,
// and damaged ones through overrides of every length field, raw entry data,
// truncation and trailing bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "skin_builder.h"

namespace test_skin {

struct ArchiveEntry {
  std::string Name;
  std::vector<uint8_t> Bytes;                  // the unpacked file
  std::optional<int32_t> NameLength{};         // written in place of the name's length
  std::optional<int32_t> Size{};               // written in place of Bytes.size()
  std::optional<std::vector<uint8_t>> Data{};  // written in place of the zlib stream
};

struct ArchiveOptions {
  int Level = 9;                                  // zlib level: 0, 1 or 9
  std::optional<int32_t> EntryCount{};            // written in place of the entry count
  std::string Signature = "QMzf";                 // the first four bytes
  std::optional<std::vector<uint8_t>> Preview{};  // "previewimg", length and bytes, at the end
  std::optional<int32_t> PreviewLength{};         // written in place of the preview's length
  std::vector<uint8_t> Garbage{};                 // appended last
  std::optional<size_t> TruncateAt{};             // the archive cut to this many bytes
};

// Data as a zlib stream (header, deflate data, Adler-32) at the given level.
std::vector<uint8_t> ZlibBytes(const std::vector<uint8_t>& Data, int Level);

std::vector<uint8_t> WriteArchive(const std::vector<ArchiveEntry>& Entries,
                                  const ArchiveOptions& Options = {});

// One entry per file, in the files' order.
std::vector<ArchiveEntry> ArchiveEntries(const std::vector<SkinFile>& Files);

// The generated test skin's variant packed as one archive.
std::vector<uint8_t> PackTestSkin(const std::string& Variant, const ArchiveOptions& Options = {});

// The size of the picture a skin list shows for an archive.
constexpr int kPreviewWidth = 140, kPreviewHeight = 100;

// The test skin's own preview picture (a PNG of kPreviewWidth x
// kPreviewHeight): one band per section in the colour of its normal state,
// with the skin's diamond motif in its text colour. A skin without sections
// (a broken variant) gets a grey picture with one diamond.
std::vector<uint8_t> TestSkinPreview(const TestSkinManifest& Manifest);

// A variant packed as the packer writes it: its files and, after the
// "previewimg" marker, its preview. Throws std::runtime_error when the
// marker would also turn up earlier in the archive, where a reader looking
// for the first one would take the wrong bytes for the picture.
std::vector<uint8_t> PackTestSkinWithPreview(const std::string& Variant, bool Large = false);

}  // namespace test_skin
