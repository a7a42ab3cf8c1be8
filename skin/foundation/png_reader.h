// The PNG reader: decodes a PNG file held in memory into 32-bit pixels
// (bytes blue, green, red, alpha) at a caller-supplied destination, so that
// it can write straight into the scan lines of a device-independent bitmap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/foundation/png_color_manager.h"

// Destination pixels: pixel (x, y) at Base + y * Stride + 4 * x.
struct ArgbTarget {
  uint8_t* Base = nullptr;
  ptrdiff_t Stride = 0;
  uint32_t Width = 0;
  uint32_t Height = 0;
};

// Limits of what the reader decodes, checked from the header before anything
// is allocated, so that a small file cannot make it (or its caller) allocate
// more. They come from what skins and the two programs load: skin master
// bitmaps are at most a few thousand pixels on a side (the benchmark's
// 2000 x 2000 images are larger than any skin), control images, glyphs and
// hint pictures are far smaller, and a strip of state frames side by side is
// the widest thing a skin holds. The largest image, 2^24 pixels, is 64 MB as
// 32-bit pixels: a 32-bit program can hold it twice (the decoded graphic and
// the caller's 32-bit copy) next to everything else it has.
inline constexpr uint32_t kPngMaxSide = 16384;                // width or height, in pixels
inline constexpr uint64_t kPngMaxPixels = uint64_t{1} << 24;  // width * height (4096 x 4096)
// One decoded row as stored (filter byte not counted): the widest image at
// the deepest layout (RGBA with 16-bit samples, 8 bytes per pixel).
inline constexpr uint64_t kPngMaxRowBytes = uint64_t{kPngMaxSide} * 8;
// The decoded image in memory, at most 4 bytes per pixel.
inline constexpr uint64_t kPngMaxImageBytes = kPngMaxPixels * 4;
// Working memory of one load besides the image: the inflate batch, the
// previous row and one converted row.
inline constexpr uint64_t kPngMaxWorkBytes = 4 * (kPngMaxRowBytes + 1) + (uint64_t{1} << 17);
// Deflate cannot expand one byte into more than 1032 (a 258-byte match in
// two bits): image data shorter than its image needs by that measure is
// refused before the image is allocated.
inline constexpr uint64_t kDeflateMaxRatio = 1032;

inline constexpr uint8_t kPngFlagHeader = 1;  // the header was read
inline constexpr uint8_t kPngFlagGamma = 2;   // the file carries a gamma chunk

inline constexpr uint32_t kPngNoColor = 0x1FFFFFFF;  // clNone

// The image properties taken from the header.
struct PngImageProperties {
  uint8_t ImageFlags = 0;
  uint32_t ImageWidth = 0;
  uint32_t ImageHeight = 0;
  ChannelLayout ColorLayout = lyUnknown;
  uint8_t SampleBits = 0;
  uint8_t SampleCount = 0;
  uint8_t Compression = 0;  // 2: the standard's deflate method; 0: anything else
  uint8_t ColorType = 0;
  uint8_t InterlaceMethod = 0;
};

enum class PngProgressStage { Starting, Ending };

// Optional receiver of the reader's progress notifications; rect is
// (0, top, width, top + 1) for the row reached.
class PngProgressSink {
 public:
  virtual void PngProgress(PngProgressStage stage, int percent, int rowTop,
                           const char* message) = 0;

 protected:
  ~PngProgressSink() = default;
};

// What a load writes: every image as 32-bit pixels with alpha, or the
// bitmap format the image's kind calls for (BitmapFormat(): 32-bit BGRA for
// RGBA files, 24-bit BGR for RGB files, packed 1-, 4- or 8-bit indices into
// Palette() for palette and grey images).
enum class PngOutput : uint8_t { Argb32, Native };

// The rows of the caller's image: row y at Base + y * Stride.
struct PngRows {
  uint8_t* Base = nullptr;
  ptrdiff_t Stride = 0;
};

class PngReader;

// Makes the image the rows go to. Called once per load, after the chunks
// before the image data were read and the image passed the reader's limits,
// so the reader's properties, palette and bitmap format are known.
class PngTargetProvider {
 public:
  virtual PngRows ProvideRows(const PngReader& reader) = 0;

 protected:
  ~PngTargetProvider() = default;
};

class PngReader {
 public:
  // The colour manager is the graphic's own; it is reset at every load.
  explicit PngReader(TColorManager& colorManager) : cm_(colorManager) {}

  // The pre-scan: fills the image properties and returns false for anything
  // that is not a PNG this reader can read, images beyond the limits above
  // included. CRC errors in the chunks it reads raise.
  bool ReadImageHeader(const uint8_t* data, size_t size);
  // After ReadImageHeader returned false: the message a load raises for it
  // (the format message, or the size message for images beyond the limits).
  const char* HeaderRefusal() const { return headerRefusal_; }

  // Decodes the PNG at data into the rows the provider makes. Returns the
  // bytes up to and including the IEND chunk. Raises EInvalidGraphic,
  // EGraphicCompression or EColorConversionError for malformed files, and
  // EOutOfResources when memory runs out; nothing else leaves it.
  size_t Load(const uint8_t* data, size_t size, PngOutput output, PngTargetProvider& provider,
              PngProgressSink* progress = nullptr);

  // Load with 32-bit output into target, whose size must be the image's
  // (take it from ReadImageHeader; another size raises
  // EInvalidGraphicOperation). Target is partly written after an error.
  size_t LoadFromMemory(const uint8_t* data, size_t size, const ArgbTarget& target,
                        PngProgressSink* progress = nullptr);

  const PngImageProperties& Properties() const { return props_; }
  // Bytes of the decoded image in the given output format, rows padded to
  // 4 bytes as in a DIB.
  uint64_t ImageBytes(PngOutput output) const;
  // From bKGD, as 0x00BBGGRR (or the palette index); white without one.
  uint32_t BackgroundColor() const { return backgroundColor_; }
  // From tRNS of grey and RGB images, as 0x00BBGGRR; kPngNoColor without one.
  uint32_t TransparentKey() const { return transparentKey_; }
  // From tRNS of palette images: 256 alpha values, or empty.
  const std::vector<uint8_t>& AlphaTable() const { return alphaTable_; }
  // The colours of the palette bitmap the image would be: from PLTE or the
  // grey palette; Count 0 for RGB images.
  const ColorPalette& Palette() const { return palette_; }
  SamplePixelFormat BitmapFormat() const { return bitmapFormat_; }

 private:
  class Session;
  friend class Session;

  TColorManager& cm_;
  PngImageProperties props_;
  uint32_t backgroundColor_ = 0xFFFFFF;
  uint32_t transparentKey_ = kPngNoColor;
  std::vector<uint8_t> alphaTable_;
  ColorPalette palette_;
  SamplePixelFormat bitmapFormat_ = SamplePixelFormat::Custom;
  const char* headerRefusal_ = nullptr;
};

// Convenience for callers without a bitmap of their own: decodes into a
// top-down pixel block of width * height words 0xAARRGGBB.
struct ArgbImage {
  uint32_t Width = 0;
  uint32_t Height = 0;
  std::vector<uint32_t> Pixels;
};
ArgbImage LoadPngToArgb(const uint8_t* data, size_t size);
