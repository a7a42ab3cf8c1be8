// A top-down 32-bit DIB section selected into its own memory DC: scratch
// images for the few steps that need GDI (text output, triangle gradients,
// icons) without a TBitmap.
#pragma once

#include <optional>

#include "skin/foundation/pixel_view.h"
#include "widgets/graphics/gdi_handles.h"

class DibSurface {
 public:
  DibSurface(int width, int height);  // an empty surface when it cannot be made
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  bool Valid() const { return view_.Valid(); }
  HDC DC() const { return dc_.Get(); }
  HBITMAP Bitmap() const { return bitmap_.Get(); }
  const PixelView& View() const { return view_; }

 private:
  TOwnedBitmap bitmap_;
  TMemoryDC dc_;
  std::optional<TSelectedObject> selection_;  // released before the DC and the bitmap
  PixelView view_;
};
