// TPNGGraphic: a bitmap that loads PNG images, registered with TPicture for
// the "png" extension, and ConvertPngToArgb for the library's 32-bit images.
//
// The decoder writes straight into the bitmap's DIB, in the formats of
// RGBA images become 32-bit bitmaps with their alpha, RGB images
// 24-bit bitmaps, palette and grey images palette bitmaps of 1, 4 or 8 bits
// (grey with alpha loses its alpha). A memory stream is decoded in place,
// without a copy. ConvertPngToArgb turns any of them into a 32-bit bitmap in
// one pass.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/foundation/png_color_manager.h"
#include "skin/foundation/png_reader.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/rtl/units.h"

class TPNGGraphic : public TBitmap {
  DECLARE_GRAPHIC(TPNGGraphic, TBitmap)
 public:
  TPNGGraphic() = default;

  // A PNG source first hands over its image properties, then the bitmap.
  void Assign(TPersistent* Source) override;
  // Decodes the PNG at the stream's position; the stream is left after its
  // IEND chunk. Raises EInvalidGraphic, EGraphicCompression or
  // EColorConversionError for malformed data (and for images beyond the
  // reader's limits, png_reader.h), EOutOfResources when memory runs out.
  void LoadFromStream(TStream& Stream) override;

  // Draw adds a fading mirror image, half as high, below the image.
  bool Reflected() const { return reflected_; }
  void SetReflected(bool Value) { reflected_ = Value; }

  TColorManager& ColorManager() { return colorManager_; }
  const PngImageProperties& ImageProperties() const { return props_; }
  const std::vector<uint8_t>& AlphaTable() const { return alphaTable_; }
  uint32_t BackgroundColor() const { return backgroundColor_; }
  uint32_t TransparentKey() const { return transparentKey_; }

 protected:
  void Draw(TCanvas& ACanvas, const TRect& Rect) override;

 private:
  void LoadPng(TStream& Stream);

  TColorManager colorManager_;
  PngImageProperties props_;
  std::vector<uint8_t> alphaTable_;
  uint32_t backgroundColor_ = 0xFFFFFF;
  uint32_t transparentKey_ = kPngNoColor;
  bool reflected_ = false;
};

// Bitmap takes the decoded image as a 32-bit bitmap with alpha: the file's
// alpha for RGBA and transparent palette images (at every bit depth), 255
// everywhere else.
void ConvertPngToArgb(TBitmap* Bitmap, TPNGGraphic* Png);

// The decoding step of the PNG loading helpers (LoadPngStreamToBitmap
// and LoadPngFileToBitmap, draw_helpers.h): Bitmap takes the PNG (the
// stream's from its position, left after the IEND chunk) as a 32-bit bitmap
// with alpha, with the pixels and transparency settings that loading a
// TPNGGraphic, assigning it and ConvertPngToArgb give. It decodes straight
// into Bitmap's 32-bit DIB: no graphic in the file's own format in between,
// and no copy of a memory stream. Errors as TPNGGraphic::LoadFromStream.
void DecodePngStreamToArgb(TBitmap* Bitmap, TStream& Stream);
void DecodePngFileToArgb(TBitmap* Bitmap, const std::string& FileName);

// The unit's start-up and shutdown steps: TPicture opens "png" files with
// TPNGGraphic while registered.
void RegisterPngGraphic();
void UnregisterPngGraphic();
inline constexpr TUnitInfo kPngUnit{"vlPNG", RegisterPngGraphic, UnregisterPngGraphic};
