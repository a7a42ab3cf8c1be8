// What the painters read of a loaded skin. The skin manager implements this;
// tests implement it with synthetic records. Everything here is read-only.
#pragma once

#include "skin/foundation/pixel_view.h"
#include "skin/foundation/skin_records.h"

class SkinSource {
 public:
  // A source never outlives its place as the default.
  virtual ~SkinSource();
  virtual int SectionCount() const = 0;
  virtual const TsGeneralData& Section(int index) const = 0;
  virtual int ImageCount() const = 0;
  virtual const TsMaskData& ImageData(int index) const = 0;
  // The master bitmap that holds every image without a bitmap of its own.
  virtual PixelView MasterPixels() const = 0;
  // The pixels of an image's own bitmap (TsMaskData::Image); by default the
  // bitmap's own 32-bit scan lines.
  virtual PixelView OwnImagePixels(const TsMaskData& mask) const;

  bool ValidSection(int index) const { return index >= 0 && index < SectionCount(); }
  bool ValidImage(int index) const { return index >= 0 && index < ImageCount(); }
};

// The skin of the default manager; nil while no skin manager serves one.
const SkinSource* DefaultSkinSource();
void SetDefaultSkinSource(const SkinSource* source);

// The bitmap an image's frames are cut from: its own one, else its owner's
// master bitmap; an invalid view when the image has no owner.
PixelView MaskPixels(const TsMaskData& mask);
