// Everything a skin load builds: the master bitmap, the image files, the
// image and section records, the outer effects, the cached indices and the
// palette. The skin manager holds the skin in force as this record; a load
// fills a fresh one and trades places with it only when the whole skin was
// read, so a skin that fails to load leaves the previous one untouched.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/engine/skin_data.h"
#include "skin/foundation/skin_records.h"
#include "widgets/graphics/colors.h"

class TBitmap;

// One image file of a skin. Every image that names the file shows the same
// bitmap, which the entry owns.
struct TvlExtFileData {
  TBitmap* Bitmap = nullptr;
  std::string FileName;     // as the description writes it, upper-cased
  int32_t HasMaskHalf = 0;  // the lower half of the file is a mask
};
using TvlExtArray = std::vector<TvlExtFileData>;

// The entry's bitmap becomes 32 bits per pixel (alpha bytes 0).
void SetExtFileBitmap32(TvlExtFileData& Item);

class TvlSkinContent {
 public:
  TvlSkinContent();
  ~TvlSkinContent();
  TvlSkinContent(const TvlSkinContent&) = delete;
  TvlSkinContent& operator=(const TvlSkinContent&) = delete;

  TBitmap* MasterBitmap = nullptr;  // owned
  TvlExtArray ExternalImages;
  TsMaskArray Masks;  // an Image no external entry holds is owned here
  TsGeneralDataArray Sections;
  TvlOutEffArray FormOuterEffects;
  TConstantSkinData ConstData;
  std::array<TColor, 30> SkinPalette{};
  // Images already converted to the DPI size: converting twice would scale
  // a scaled picture again.
  std::vector<int32_t> DpiScaledImages;

  // Frees every image: own bitmaps (from the last image to the first), the
  // image files and the master bitmap.
  void ClearSkinImages();
  void ClearExternalImages();
  // The bitmap of the file entry named exactly FileName, else nil.
  TBitmap* FindExternalImage(const std::string& FileName) const;
  bool IsExternalBitmap(const TBitmap* Bitmap) const;
  // Trades the whole skin with Other.
  void SwapContent(TvlSkinContent& Other) noexcept;
};
