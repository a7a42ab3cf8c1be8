#include "skin/engine/skin_content.h"

#include <algorithm>
#include <utility>

#include "widgets/graphics/bitmap.h"

void SetExtFileBitmap32(TvlExtFileData& Item) {
  if (Item.Bitmap) Item.Bitmap->SetPixelFormat(pf32bit);
}

TvlSkinContent::TvlSkinContent() : FormOuterEffects(DefaultOuterEffects()) {}

TvlSkinContent::~TvlSkinContent() {
  ClearSkinImages();
}

bool TvlSkinContent::IsExternalBitmap(const TBitmap* Bitmap) const {
  return std::any_of(ExternalImages.begin(), ExternalImages.end(),
                     [&](const TvlExtFileData& e) { return e.Bitmap == Bitmap; });
}

void TvlSkinContent::ClearSkinImages() {
  for (size_t i = Masks.size(); i-- > 0;) {
    TBitmap* own = Masks[i].Image;
    if (!own || IsExternalBitmap(own)) continue;
    // Several records may show one own bitmap; it goes once.
    for (size_t j = 0; j < i; ++j)
      if (Masks[j].Image == own) Masks[j].Image = nullptr;
    TObject::Free(own);
  }
  Masks.clear();
  DpiScaledImages.clear();
  ClearExternalImages();
  TObject::Free(MasterBitmap);
  MasterBitmap = nullptr;
}

void TvlSkinContent::ClearExternalImages() {
  for (TvlExtFileData& e : ExternalImages) TObject::Free(e.Bitmap);
  ExternalImages.clear();
}

TBitmap* TvlSkinContent::FindExternalImage(const std::string& FileName) const {
  for (const TvlExtFileData& e : ExternalImages)
    if (e.FileName == FileName) return e.Bitmap;
  return nullptr;
}

void TvlSkinContent::SwapContent(TvlSkinContent& Other) noexcept {
  std::swap(MasterBitmap, Other.MasterBitmap);
  ExternalImages.swap(Other.ExternalImages);
  Masks.swap(Other.Masks);
  Sections.swap(Other.Sections);
  FormOuterEffects.swap(Other.FormOuterEffects);
  std::swap(ConstData, Other.ConstData);
  std::swap(SkinPalette, Other.SkinPalette);
  DpiScaledImages.swap(Other.DpiScaledImages);
}
