#include "skin/foundation/skin_source.h"

namespace {
const SkinSource*& DefaultSlot() {
  static const SkinSource* source = nullptr;
  return source;
}
}  // namespace

SkinSource::~SkinSource() {
  if (DefaultSlot() == this) DefaultSlot() = nullptr;
}

const SkinSource* DefaultSkinSource() {
  return DefaultSlot();
}
void SetDefaultSkinSource(const SkinSource* source) {
  DefaultSlot() = source;
}

PixelView MaskPixels(const TsMaskData& mask) {
  if (mask.Owner == nullptr) return {};
  if (mask.Image != nullptr) return mask.Owner->OwnImagePixels(mask);
  return mask.Owner->MasterPixels();
}
