#include "skin/foundation/argb_bitmap.h"

#include "skin/foundation/skin_source.h"

bool ScanlineBaseAndStride(TBitmap* bitmap, uint8_t*& base, ptrdiff_t& stride) {
  if (bitmap == nullptr || bitmap->Height() <= 0 || bitmap->Width() <= 0) return false;
  uint8_t* row0 = static_cast<uint8_t*>(bitmap->ScanLine(0));
  ptrdiff_t s = 0;
  if (bitmap->Height() >= 2) s = static_cast<uint8_t*>(bitmap->ScanLine(1)) - row0;
  base = row0;
  stride = s;
  return true;
}

PixelView ArgbView(TBitmap* bitmap) {
  if (bitmap == nullptr || bitmap->PixelFormat() != pf32bit) return {};
  PixelView v;
  if (!ScanlineBaseAndStride(bitmap, v.Base, v.Stride)) return {};
  v.Width = bitmap->Width();
  v.Height = bitmap->Height();
  return v;
}

BackgroundInfo MakeBackgroundInfo(TBitmap* bitmap, int offsetX, int offsetY) {
  BackgroundInfo info;
  info.Bitmap = bitmap;
  info.OffsetX = offsetX;
  info.OffsetY = offsetY;
  info.Color = static_cast<TColor>(kFuchsia);
  info.HasBitmap = true;
  return info;
}

BackgroundView ToBackgroundView(const BackgroundInfo& info) {
  BackgroundView v;
  v.Pixels = ArgbView(info.Bitmap);
  v.OffsetX = info.OffsetX;
  v.OffsetY = info.OffsetY;
  v.Color = static_cast<uint32_t>(info.Color);
  v.Borders = info.Borders;
  v.HasBitmap = info.HasBitmap;
  return v;
}

PixelView SkinSource::OwnImagePixels(const TsMaskData& mask) const {
  return ArgbView(mask.Image);
}
