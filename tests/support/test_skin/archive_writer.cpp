#include "archive_writer.h"

#include <zlib.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "image_files.h"
#include "raster.h"
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

// A TColor (red in the low byte) as an opaque 0xAARRGGBB pixel.
uint32_t OpaqueArgb(int32_t Color) {
  const auto c = static_cast<uint32_t>(Color);
  return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
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

std::vector<uint8_t> TestSkinPreview(const TestSkinManifest& Manifest) {
  std::vector<const MfSection*> own;
  for (const MfSection& s : Manifest.Sections)
    if (!s.Appended) own.push_back(&s);
  Raster picture(kPreviewWidth, kPreviewHeight, 0xFF808080u);
  const int bands = static_cast<int>(own.size());
  for (int i = 0; i < bands; ++i) {
    const int left = kPreviewWidth * i / bands, right = kPreviewWidth * (i + 1) / bands;
    const MfState& normal = own[size_t(i)]->States[0];
    picture.Fill(left, 0, right, kPreviewHeight, OpaqueArgb(normal.Color));
    const int radius = std::max(1, std::min((right - left) / 2 - 1, 6));
    picture.Diamond((left + right) / 2, kPreviewHeight / 2, radius, OpaqueArgb(normal.FontColor));
  }
  if (bands == 0) picture.Diamond(kPreviewWidth / 2, kPreviewHeight / 2, 20, 0xFF404040u);
  picture.Frame(0, 0, kPreviewWidth, kPreviewHeight, 0xFF000000u);
  return EncodePngArgb(picture);
}

std::vector<uint8_t> PackTestSkinWithPreview(const std::string& Variant, bool Large) {
  const TestSkinFiles skin = BuildTestSkin(Variant, Large);
  const std::vector<uint8_t> preview = TestSkinPreview(skin.Manifest);
  std::vector<uint8_t> archive = WriteArchive(ArchiveEntries(skin.Files), {.Preview = preview});
  // The marker and the preview's length come right after the packed files.
  const size_t marker = archive.size() - preview.size() - 14;
  const std::string_view bytes(reinterpret_cast<const char*>(archive.data()), archive.size());
  if (bytes.find("previewimg") != marker)
    throw std::runtime_error("the preview marker turns up inside the packed files of " + Variant);
  return archive;
}

}  // namespace test_skin
