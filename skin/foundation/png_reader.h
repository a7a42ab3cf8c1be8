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

// Images above this many pixels are refused as malformed.
inline constexpr uint64_t kPngMaxPixels = uint64_t{1} << 26;

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

class PngReader {
 public:
  // The colour manager is the graphic's own; it is reset at every load.
  explicit PngReader(TColorManager& colorManager) : cm_(colorManager) {}

  // The pre-scan: fills the image properties and returns false for anything
  // that is not a PNG this reader can read. CRC errors in the chunks it
  // reads raise.
  bool ReadImageHeader(const uint8_t* data, size_t size);

  // Decodes the PNG at data into target, whose size must be the image's
  // (take it from ReadImageHeader). Returns the bytes up to and including
  // the IEND chunk. Raises EInvalidGraphic, EGraphicCompression or
  // EColorConversionError for malformed files; target is then partly written.
  size_t LoadFromMemory(const uint8_t* data, size_t size, const ArgbTarget& target,
                        PngProgressSink* progress = nullptr);

  const PngImageProperties& Properties() const { return props_; }
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
};

// Convenience for callers without a bitmap of their own: decodes into a
// top-down pixel block of width * height words 0xAARRGGBB.
struct ArgbImage {
  uint32_t Width = 0;
  uint32_t Height = 0;
  std::vector<uint32_t> Pixels;
};
ArgbImage LoadPngToArgb(const uint8_t* data, size_t size);
