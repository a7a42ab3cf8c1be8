#include "skin/engine/skin_bmp.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/pixel_view.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/rtl/streams.h"

namespace {

uint32_t U32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
uint16_t U16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

constexpr size_t FileHeaderSize = 14, InfoHeaderSize = 40;
constexpr size_t HeaderSize = FileHeaderSize + InfoHeaderSize;
// Larger images are left to the general reader, which refuses them itself.
constexpr int64_t MaxSide = 32768;
// Rows are read in blocks of about this many bytes.
constexpr uint64_t BlockBytes = 256 * 1024;

struct PlainBmp {
  int64_t Width = 0, Height = 0;
  bool BottomUp = true;
  uint64_t Stride = 0, PixelsAt = 0;
};

// The plain form's geometry when Header (HeaderSize bytes) starts one and
// the file holds all its rows.
bool ParsePlainBmp(const uint8_t* Header, uint64_t FileSize, PlainBmp& Out) {
  const uint8_t* info = Header + FileHeaderSize;
  if (Header[0] != 'B' || Header[1] != 'M' || U32(info) < InfoHeaderSize || U16(info + 12) != 1 ||
      U16(info + 14) != 24 || U32(info + 16) != 0 /* BI_RGB */)
    return false;
  const int64_t width = static_cast<int32_t>(U32(info + 4));
  const int64_t rawHeight = static_cast<int32_t>(U32(info + 8));
  const int64_t height = rawHeight < 0 ? -rawHeight : rawHeight;
  if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide) return false;
  Out.Width = width;
  Out.Height = height;
  Out.BottomUp = rawHeight > 0;
  // No overflow: both sides are at most MaxSide.
  Out.Stride = (static_cast<uint64_t>(width) * 3 + 3) & ~uint64_t{3};
  Out.PixelsAt = U32(Header + 10);
  return Out.PixelsAt >= HeaderSize && Out.PixelsAt <= FileSize &&
         Out.Stride * static_cast<uint64_t>(height) <= FileSize - Out.PixelsAt;
}

void ConvertRow(const uint8_t* Src, uint32_t* Dst, int64_t Width) {
  for (int64_t x = 0; x < Width; ++x, Src += 3) {
    const uint32_t rgb = uint32_t{Src[0]} | (uint32_t{Src[1]} << 8) | (uint32_t{Src[2]} << 16);
    Dst[x] = rgb == kKeyPixel ? rgb : 0xFF000000u | rgb;
  }
}

// A top-down DIB written row by row as the file's rows arrive: no blank
// image is painted first.
bool ReadPlainRows(TStream& File, const PlainBmp& B, TBitmap* Bitmap) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = static_cast<LONG>(B.Width);
  bi.bmiHeader.biHeight = -static_cast<LONG>(B.Height);
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TOwnedBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits) return false;
  auto* out = static_cast<uint32_t*>(bits);
  const int64_t rowsPerBlock = std::max<int64_t>(1, static_cast<int64_t>(BlockBytes / B.Stride));
  std::vector<uint8_t> block(static_cast<size_t>(B.Stride * static_cast<uint64_t>(rowsPerBlock)));
  File.SetPosition(static_cast<int32_t>(B.PixelsAt));
  for (int64_t row = 0; row < B.Height; row += rowsPerBlock) {
    const int64_t rows = std::min(rowsPerBlock, B.Height - row);
    File.ReadBuffer(block.data(), static_cast<int32_t>(B.Stride * static_cast<uint64_t>(rows)));
    for (int64_t r = 0; r < rows; ++r) {
      const int64_t fileRow = row + r;
      const int64_t y = B.BottomUp ? B.Height - 1 - fileRow : fileRow;
      ConvertRow(block.data() + B.Stride * static_cast<uint64_t>(r), out + y * B.Width, B.Width);
    }
  }
  Bitmap->SetHandle(dib.Detach());
  return true;
}

}  // namespace

void LoadBmpFileArgb(const std::string& Path, TBitmap* Bitmap) {
  TFileStream file(Path, fmOpenRead | fmShareDenyWrite);
  const int32_t size = file.Size();
  uint8_t header[HeaderSize];
  PlainBmp plain;
  if (size >= static_cast<int32_t>(HeaderSize)) {
    file.ReadBuffer(header, static_cast<int32_t>(HeaderSize));
    if (ParsePlainBmp(header, static_cast<uint64_t>(size), plain) &&
        ReadPlainRows(file, plain, Bitmap))
      return;
  }
  file.SetPosition(0);
  Bitmap->LoadFromStream(file);
  if (Bitmap->Empty() || Bitmap->PixelFormat() == pf32bit) return;
  Bitmap->SetPixelFormat(pf32bit);
  const PixelView v = ArgbView(Bitmap);
  SetAlphaInRect(v, MakeRECT(0, 0, v.Width, v.Height), 255, kKeyPixel);
}
