// A masked nine-slice piece (image rows with their mask rows maskOffset
// below) resampled to the size it is painted at: the image with the Mitchell
// filter, the mask with the Mitchell filter or the one the caller names.
// A control repaints the same piece at the same size again and again, and
// resampling costs far more than blending the result, so the last few
// results are kept per painting thread and found again by the piece's pixels
// and the target size: a changed skin image is a different key, never a
// stale picture.
#pragma once

#include <atomic>

#include "skin/foundation/pixel_view.h"
#include "skin/foundation/resample.h"

class ResampledMaskedPiece {
 public:
  // The piece (srcX, srcY, srcW, srcH) lies wholly inside src, mask rows
  // included; dstW and dstH are at least 2. A piece one pixel wide or high
  // is doubled first, as the resampler needs at least 2 x 2.
  ResampledMaskedPiece(const PixelView& src, int srcX, int srcY, int srcW, int srcH, int maskOffset,
                       int dstW, int dstH, ResampleFilter maskFilter = rsMitchell);
  ~ResampledMaskedPiece();
  ResampledMaskedPiece(const ResampledMaskedPiece&) = delete;
  ResampledMaskedPiece& operator=(const ResampledMaskedPiece&) = delete;

  // dstW x dstH each; valid while this object lives.
  PixelView Image() const { return image_; }
  PixelView Mask() const { return mask_; }

 private:
  void Lookup(const PixelView& src, int srcX, int srcY, int srcW, int srcH, int maskOffset,
              int dstW, int dstH, ResampleFilter maskFilter);

  bool holdsCache_ = false;
  PixelBuffer ownImage_, ownMask_;  // when the cache is busy or the piece too large for it
  PixelView image_, mask_;
};
