#include "skin/engine/skin_bmp.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
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

// Pixel X is read before it is written, so Dst may run up to Width bytes
// behind Src in the same buffer.
// The previous skin's master, kept for the next load: under Wine the first
// write to each fresh page costs more than converting its pixels, and a
// skin is most often reloaded at the size it had.
struct SpareDib {
  TOwnedBitmap Handle;
  void* Bits = nullptr;
  LONG Width = 0, Height = 0;  // Height < 0: top-down
};
SpareDib& Spare() {
  static SpareDib spare;
  return spare;
}

// A 32-bit DIB of that layout: the spare when it fits, else a new one (the
// spare then waits for its master, which the image files never are).
HBITMAP MakeArgbDib(LONG Width, LONG Height, void** Bits) {
  SpareDib& spare = Spare();
  if (spare.Handle && spare.Width == Width && spare.Height == Height) {
    *Bits = spare.Bits;
    spare.Bits = nullptr;
    return spare.Handle.Detach();
  }
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = Width;
  bi.bmiHeader.biHeight = Height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, Bits, nullptr, 0);
}

void ConvertRow(const uint8_t* Src, uint32_t* Dst, int64_t Width) {
  int64_t x = 0;
  // Four bytes read per pixel, the fourth dropped: the next pixel's first
  // byte, not yet overwritten, since Dst is at least Width bytes behind Src.
  // The last pixel is read on its own so that no read passes the row's end.
  for (; x + 1 < Width; ++x, Src += 3) {
    uint32_t rgb;
    std::memcpy(&rgb, Src, 4);
    rgb &= 0xFFFFFFu;
    Dst[x] = rgb == kKeyPixel ? rgb : 0xFF000000u | rgb;
  }
  for (; x < Width; ++x, Src += 3) {
    const uint32_t rgb = uint32_t{Src[0]} | (uint32_t{Src[1]} << 8) | (uint32_t{Src[2]} << 16);
    Dst[x] = rgb == kKeyPixel ? rgb : 0xFF000000u | rgb;
  }
}

// A DIB in the file's row order, its rows read in one block into the end of
// its own memory and widened in place from the first row on: no blank image
// is painted first and no second buffer is touched.
bool ReadPlainRows(TStream& File, const PlainBmp& B, TBitmap* Bitmap) {
  void* bits = nullptr;
  TOwnedBitmap dib(MakeArgbDib(static_cast<LONG>(B.Width),
                               static_cast<LONG>(B.BottomUp ? B.Height : -B.Height), &bits));
  if (!dib || !bits) return false;
  // No overflow: both sides are at most MaxSide, and a 32-bit row is never
  // shorter than the file's padded 24-bit row.
  const uint64_t outStride = static_cast<uint64_t>(B.Width) * 4;
  const uint64_t total = outStride * static_cast<uint64_t>(B.Height);
  const uint64_t fileBytes = B.Stride * static_cast<uint64_t>(B.Height);
  auto* base = static_cast<uint8_t*>(bits);
  const uint64_t at = total - fileBytes;
  File.SetPosition(static_cast<int32_t>(B.PixelsAt));
  File.ReadBuffer(base + at, static_cast<int32_t>(fileBytes));
  // Row r's source starts (outStride - Stride) * (Height - r) bytes after its
  // destination; only rows nearer than Width bytes are copied out first.
  std::vector<uint8_t> spill;
  for (int64_t r = 0; r < B.Height; ++r) {
    const uint8_t* src = base + at + B.Stride * static_cast<uint64_t>(r);
    auto* dst = reinterpret_cast<uint32_t*>(base + outStride * static_cast<uint64_t>(r));
    const uint64_t gap = (outStride - B.Stride) * static_cast<uint64_t>(B.Height - r);
    if (gap < static_cast<uint64_t>(B.Width)) {
      spill.assign(src, src + B.Width * 3);
      src = spill.data();
    }
    ConvertRow(src, dst, B.Width);
  }
  Bitmap->SetDibHandle(dib.Detach(), !B.BottomUp);
  return true;
}

}  // namespace

void LoadBmpFileArgb(const std::string& Path, TBitmap* Bitmap) {
  TFileStream file(Path, fmOpenRead | fmShareDenyWrite);
  LoadBmpStreamArgb(file, Bitmap);
}

void LoadBmpStreamArgb(TStream& File, TBitmap* Bitmap) {
  TStream& file = File;
  file.SetPosition(0);
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

void SetBgrPixelsArgb(const uint8_t* Bgr, int Width, int Height, TBitmap* Bitmap) {
  if (Width <= 0 || Height <= 0) {
    Bitmap->Assign(nullptr);
    return;
  }
  void* bits = nullptr;
  TOwnedBitmap dib(MakeArgbDib(Width, -Height, &bits));
  if (!dib || !bits) throw EOutOfResources("Out of system resources");
  auto* rows = static_cast<uint32_t*>(bits);
  for (int y = 0; y < Height; ++y)
    ConvertRow(Bgr + size_t(y) * Width * 3, rows + size_t(y) * Width, Width);
  Bitmap->SetDibHandle(dib.Detach(), true);
}

void KeepSpareArgbPixels(TBitmap* Bitmap) {
  if (!Bitmap || !Bitmap->HandleAllocated() || Bitmap->HandleType() != bmDIB ||
      Bitmap->PixelFormat() != pf32bit)
    return;
  DIBSECTION ds{};
  if (GetObjectA(Bitmap->Handle(), sizeof ds, &ds) != sizeof ds || !ds.dsBm.bmBits ||
      ds.dsBmih.biBitCount != 32 || ds.dsBmih.biCompression != BI_RGB || ds.dshSection)
    return;
  SpareDib& spare = Spare();
  spare.Handle.Reset(Bitmap->ReleaseHandle());
  spare.Bits = ds.dsBm.bmBits;
  spare.Width = ds.dsBmih.biWidth;
  spare.Height = ds.dsBmih.biHeight;
}

void FreeSpareArgbPixels() {
  Spare().Handle.Reset();
  Spare().Bits = nullptr;
}
