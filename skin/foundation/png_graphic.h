// TPNGGraphic: a bitmap that loads PNG images, registered with TPicture for
// the "png" extension, and ConvertPngToArgb for the library's 32-bit images.
//
// The decoder writes 32-bit pixels straight into the bitmap's DIB. Images
// that carry alpha (RGBA, and palette images with transparency) stay 32-bit;
// all others become 24-bit bitmaps of the same colours.
#pragma once

#include <cstdint>
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
  // EColorConversionError for malformed data.
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
  TColorManager colorManager_;
  PngImageProperties props_;
  std::vector<uint8_t> alphaTable_;
  uint32_t backgroundColor_ = 0xFFFFFF;
  uint32_t transparentKey_ = kPngNoColor;
  bool reflected_ = false;
};

// Bitmap takes the decoded image as a 32-bit bitmap with alpha: the file's
// alpha for RGBA and transparent palette images, 255 everywhere else.
void ConvertPngToArgb(TBitmap* Bitmap, TPNGGraphic* Png);

// The unit's start-up and shutdown steps: TPicture opens "png" files with
// TPNGGraphic while registered.
void RegisterPngGraphic();
void UnregisterPngGraphic();
inline constexpr TUnitInfo kPngUnit{"vlPNG", RegisterPngGraphic, UnregisterPngGraphic};
