// BMP files and packed DIBs: reading 1/4/8/16/24/32-bit images stored
// bottom-up or top-down, writing them bottom-up.
#include <algorithm>
#include <cstring>

#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/pixels.h"
#include "widgets/rtl/streams.h"

namespace {

constexpr const char* kBadBitmap = "Bitmap image is not valid";

int MaskShift(uint32_t m) {
  int s = 0;
  while (m && !(m & 1)) {
    m >>= 1;
    ++s;
  }
  return s;
}

// A channel under a bit mask, scaled to 0..255.
uint32_t Channel(uint32_t v, uint32_t mask) {
  if (!mask) return 0;
  int shift = MaskShift(mask);
  uint32_t max = mask >> shift;
  return ((v & mask) >> shift) * 255 / max;
}

struct TDibHeader {
  int32_t Width = 0;
  int32_t Height = 0;  // negative: top-down
  int Bpp = 0;
  uint32_t Compression = BI_RGB;
  uint32_t ClrUsed = 0;
  uint32_t Masks[4] = {0, 0, 0, 0};
  bool Core = false;  // BITMAPCOREHEADER: 3-byte colour entries
};

// Reads the info header (after its 4-byte size) and the masks that follow
// a 40-byte header.
TDibHeader ReadHeader(TStream& s, uint32_t headerSize, uint32_t& consumed) {
  if (headerSize != 12 && (headerSize < 40 || headerSize > 124)) throw EInvalidGraphic(kBadBitmap);
  std::vector<uint8_t> buf(headerSize - 4);
  s.ReadBuffer(buf.data(), static_cast<int32_t>(buf.size()));
  consumed += headerSize;
  gfx::TByteCursor c(buf.data(), buf.size(), kBadBitmap);
  TDibHeader h;
  if (headerSize == 12) {
    h.Core = true;
    h.Width = c.U16();
    h.Height = static_cast<int16_t>(c.U16());
    c.U16();  // planes
    h.Bpp = c.U16();
    return h;
  }
  h.Width = c.I32();
  h.Height = c.I32();
  c.U16();  // planes
  h.Bpp = c.U16();
  h.Compression = c.U32();
  c.Skip(12);  // image size, resolution
  h.ClrUsed = c.U32();
  c.U32();  // important colours
  if (headerSize >= 52)
    for (int i = 0; i < (headerSize >= 56 ? 4 : 3); ++i) h.Masks[i] = c.U32();
  if (h.Compression == BI_BITFIELDS && headerSize == 40) {
    uint8_t m[12];
    s.ReadBuffer(m, 12);
    consumed += 12;
    gfx::TByteCursor mc(m, 12, kBadBitmap);
    for (int i = 0; i < 3; ++i) h.Masks[i] = mc.U32();
  }
  return h;
}

}  // namespace

void TBitmap::ReadDib(TStream& Stream, bool fileHeader) {
  uint32_t consumed = 0;
  uint32_t offBits = 0;
  if (fileHeader) {
    uint8_t fh[14];
    Stream.ReadBuffer(fh, 14);
    gfx::TByteCursor c(fh, 14, kBadBitmap);
    if (c.U16() != 0x4D42) throw EInvalidGraphic(kBadBitmap);
    c.Skip(8);
    offBits = c.U32();
    consumed = 14;
  }
  uint32_t headerSize;
  Stream.ReadBuffer(&headerSize, 4);
  TDibHeader h = ReadHeader(Stream, headerSize, consumed);

  const bool fields = h.Compression == BI_BITFIELDS;
  if (h.Width < 0 || h.Height == INT32_MIN) throw EInvalidGraphic(kBadBitmap);
  if (h.Compression != BI_RGB && !(fields && (h.Bpp == 16 || h.Bpp == 32)))
    throw EInvalidGraphic(kBadBitmap);
  if (h.Bpp != 1 && h.Bpp != 4 && h.Bpp != 8 && h.Bpp != 16 && h.Bpp != 24 && h.Bpp != 32)
    throw EInvalidGraphic(kBadBitmap);
  const int w = h.Width;
  const int ht = std::abs(h.Height);
  const bool topDown = h.Height < 0;

  // Colour table (palette formats); other formats may carry an unused one.
  std::vector<RGBQUAD> colors;
  uint32_t count = h.ClrUsed ? h.ClrUsed : (h.Bpp <= 8 ? 1u << h.Bpp : 0);
  if (count > 256) throw EInvalidGraphic(kBadBitmap);
  if (count) {
    size_t entry = h.Core ? 3 : 4;
    std::vector<uint8_t> table(count * entry);
    Stream.ReadBuffer(table.data(), static_cast<int32_t>(table.size()));
    consumed += static_cast<uint32_t>(table.size());
    if (h.Bpp <= 8) {
      count = std::min(count, 1u << h.Bpp);
      for (uint32_t i = 0; i < count; ++i)
        colors.push_back(RGBQUAD{table[i * entry], table[i * entry + 1], table[i * entry + 2], 0});
    }
  }
  if (fileHeader && offBits > consumed) {
    uint32_t gap = offBits - consumed;
    if (gap > (1u << 20)) throw EInvalidGraphic(kBadBitmap);
    std::vector<uint8_t> skip(gap);
    Stream.ReadBuffer(skip.data(), static_cast<int32_t>(gap));
  }

  int64_t stride = gfx::DibStride(w, h.Bpp);
  if (stride < 0 || stride * ht > gfx::kMaxImageBytes) throw EInvalidGraphic(kBadBitmap);
  std::vector<uint8_t> bits(static_cast<size_t>(stride * ht));
  if (!bits.empty()) Stream.ReadBuffer(bits.data(), static_cast<int32_t>(bits.size()));

  // The image takes the file's format where the layer has one.
  TPixelFormat format;
  bool generic = false;  // decode through the masks into 32 bits
  const uint32_t* m = h.Masks;
  switch (h.Bpp) {
    case 1:
      format = pf1bit;
      break;
    case 4:
      format = pf4bit;
      break;
    case 8:
      format = pf8bit;
      break;
    case 16:
      if (!fields || (m[0] == 0x7C00 && m[1] == 0x3E0 && m[2] == 0x1F)) {
        format = pf15bit;
      } else if (m[0] == 0xF800 && m[1] == 0x7E0 && m[2] == 0x1F) {
        format = pf16bit;
      } else {
        format = pf32bit;
        generic = true;
      }
      break;
    case 24:
      format = pf24bit;
      break;
    default:
      format = pf32bit;
      generic = fields && !(m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF);
  }
  if (format == pf1bit || format == pf4bit || format == pf8bit) {
    if (colors.empty()) colors = gfx::DefaultColors(format);
  }

  TImage img = MakeImage(bmDIB, format, colors, w, ht);
  for (int r = 0; img.Handle && r < ht; ++r) {
    const uint8_t* src = bits.data() + static_cast<size_t>(r) * stride;
    uint8_t* dst = RowPtr(img, topDown ? r : ht - 1 - r, ht);
    if (!generic) {
      std::memcpy(dst, src, static_cast<size_t>(stride));
      continue;
    }
    for (int x = 0; x < w; ++x) {
      uint32_t v = h.Bpp == 16
                       ? uint32_t(src[2 * x] | (src[2 * x + 1] << 8))
                       : uint32_t(src[4 * x]) | (uint32_t(src[4 * x + 1]) << 8) |
                             (uint32_t(src[4 * x + 2]) << 16) | (uint32_t(src[4 * x + 3]) << 24);
      uint32_t p = Channel(v, m[2]) | (Channel(v, m[1]) << 8) | (Channel(v, m[0]) << 16) |
                   (Channel(v, m[3]) << 24);
      gfx::WritePixel(dst, x, pf32bit, p, nullptr);
    }
  }

  Changing(this);
  handleType_ = bmDIB;
  format_ = format;
  colors_ = std::move(colors);
  palette_.Reset();
  Replace(img, w, ht);
  Changed(this);
}

void TBitmap::ReadBmp(TStream& Stream) {
  ReadDib(Stream, true);
}

void TBitmap::LoadFromStream(TStream& Stream) {
  ReadBmp(Stream);
}

void TBitmap::SaveToStream(TStream& Stream) {
  WriteBmp(Stream);
}

void TBitmap::WriteBmp(TStream& Stream) {
  HandleNeeded();
  // Device and unusual formats are written as 32-bit pixels.
  const bool direct = handleType_ == bmDIB && format_ != pfCustom;
  const TPixelFormat format = direct ? format_ : pf32bit;
  const int bpp = gfx::BitsPerPixel(format);
  const int64_t stride = gfx::DibStride(width_, bpp);
  const uint32_t ncolors = direct ? static_cast<uint32_t>(colors_.size()) : 0;
  const uint32_t masks = format == pf16bit ? 12 : 0;
  const uint32_t offBits = 14 + 40 + masks + ncolors * 4;
  const int64_t imageSize = stride * height_;
  if (stride < 0 || imageSize > gfx::kMaxImageBytes) throw EInvalidGraphic(kBadBitmap);

  std::vector<uint8_t> out;
  out.reserve(offBits + static_cast<size_t>(imageSize));
  auto u16 = [&](uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
  };
  auto u32 = [&](uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  u16(0x4D42);
  u32(offBits + static_cast<uint32_t>(imageSize));
  u32(0);
  u32(offBits);
  u32(40);
  u32(static_cast<uint32_t>(width_));
  u32(static_cast<uint32_t>(height_));  // bottom-up
  u16(1);
  u16(static_cast<uint32_t>(bpp));
  u32(masks ? BI_BITFIELDS : BI_RGB);
  u32(static_cast<uint32_t>(imageSize));
  u32(0);
  u32(0);
  u32(ncolors);
  u32(0);
  if (masks) {
    u32(0xF800);
    u32(0x07E0);
    u32(0x001F);
  }
  for (uint32_t i = 0; i < ncolors; ++i) {
    const RGBQUAD& q = colors_[i];
    out.insert(out.end(), {q.rgbBlue, q.rgbGreen, q.rgbRed, 0});
  }
  if (direct) {
    GdiFlush();
    for (int r = 0; r < height_; ++r) {
      const uint8_t* row = RowPtr(image_, height_ - 1 - r, height_);
      out.insert(out.end(), row, row + stride);
    }
  } else {
    std::vector<uint32_t> px = ReadPixels();
    for (int r = 0; r < height_; ++r) {
      const uint32_t* row = px.data() + static_cast<size_t>(height_ - 1 - r) * width_;
      const uint8_t* b = reinterpret_cast<const uint8_t*>(row);
      out.insert(out.end(), b, b + static_cast<size_t>(width_) * 4);
    }
  }
  Stream.WriteBuffer(out.data(), static_cast<int32_t>(out.size()));
}

void TBitmap::ReadData(TStream& Stream) {
  int32_t size = 0;
  Stream.ReadBuffer(&size, 4);
  if (size < 0 || size > gfx::kMaxImageBytes) throw EInvalidGraphic(kBadBitmap);
  if (size == 0) {
    Assign(nullptr);
    return;
  }
  TMemoryStream block;
  block.CopyFrom(Stream, size);
  block.SetPosition(0);
  ReadBmp(block);
}

void TBitmap::WriteData(TStream& Stream) {
  TMemoryStream block;
  WriteBmp(block);
  int32_t size = block.Size();
  Stream.WriteBuffer(&size, 4);
  Stream.WriteBuffer(block.Memory(), size);
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const std::string& ResName) {
  TResourceStream stream(Instance, ResName, RT_BITMAP);
  ReadDib(stream, false);
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int ResID) {
  TResourceStream stream(Instance, ResID, RT_BITMAP);
  ReadDib(stream, false);
}
