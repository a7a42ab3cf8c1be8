// 32-bit work bitmaps as the painters see them: a TBitmap of pixel format
// pf32bit held as a DIB, addressed through the base of scan line 0 and the
// signed distance between scan lines (negative for bottom-up DIBs). And the
// BackgroundInfo record that hands what lies behind a control to painters.
#pragma once

#include <cstdint>

#include "skin/foundation/background_view.h"
#include "skin/foundation/pixel_view.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/rtl/sysutils.h"

// False (outputs untouched) for a missing bitmap or one without rows; the
// stride is 0 for a bitmap of one row.
bool ScanlineBaseAndStride(TBitmap* bitmap, uint8_t*& base, ptrdiff_t& stride);

// The pixels of a 32-bit bitmap; an invalid view for nil, an empty bitmap or
// any other pixel format (whose rows are not 32-bit words).
PixelView ArgbView(TBitmap* bitmap);

// TODO(merge): the background queries (QueryControlBackground,
// QueryWindowBackground, BackgroundRequest) belong beside this record.
struct BackgroundInfo {
  TBitmap* Bitmap = nullptr;  // not owned
  int32_t OffsetX = 0;
  int32_t OffsetY = 0;
  TColor Color = 0;
  TRect Borders;
  bool HasBitmap = false;
};

inline const BackgroundInfo EmptyBackgroundInfo{};

BackgroundInfo MakeBackgroundInfo(TBitmap* bitmap, int offsetX, int offsetY);
BackgroundView ToBackgroundView(const BackgroundInfo& info);
