#include "widgets/graphics/bitmap.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "widgets/rtl/exceptions.h"
#include "widgets/graphics/bitmap_canvas.h"
#include "widgets/graphics/pixels.h"

using gfx::BitsPerPixel;
using gfx::DeviceFormat;
using gfx::IsPaletteFormat;
using gfx::RaiseOutOfResources;

namespace {

// A BITMAPINFO with room for 256 colours or three masks.
struct TDibInfo {
  BITMAPINFOHEADER Header{};
  RGBQUAD Colors[256]{};
  BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

}  // namespace

namespace gfx {

TPixelFormat DeviceFormat() {
  TWindowDC screen(nullptr);
  int bits =
      screen ? GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES) : 32;
  switch (bits) {
    case 1:
      return pf1bit;
    case 4:
      return pf4bit;
    case 8:
      return pf8bit;
    case 15:
      return pf15bit;
    case 16:
      return pf16bit;
    case 24:
      return pf24bit;
    default:
      return pf32bit;
  }
}

}  // namespace gfx

const TEnumInfo& TBitmap::PixelFormatInfo() {
  static const TEnumInfo e{{"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit",
                            "pf24bit", "pf32bit", "pfCustom"}};
  return e;
}

const TEnumInfo& TBitmap::HandleTypeInfo() {
  static const TEnumInfo e{{"bmDIB", "bmDDB"}};
  return e;
}

const TClassInfo& TBitmap::StaticClass() {
  static const TClassInfo info("TBitmap", &TGraphic::StaticClass());
  return info;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  delete canvas_;
  FreeImage(image_);
}

// --- images ------------------------------------------------------------------

void TBitmap::FreeImage(TImage& img) {
  if (img.Handle && img.Owned) DeleteObject(img.Handle);
  img = TImage{};
}

uint8_t* TBitmap::RowPtr(const TImage& img, int y, int h) {
  int row = img.TopDown ? y : h - 1 - y;
  return img.Bits + static_cast<ptrdiff_t>(row) * img.Stride;
}

TBitmap::TImage TBitmap::MakeImage(TBitmapHandleType handleType_, TPixelFormat format_,
                                   const std::vector<RGBQUAD>& colors_, int w, int h) {
  TImage img;
  if (w <= 0 || h <= 0) return img;
  if (handleType_ == bmDDB) {
    TWindowDC screen(nullptr);
    img.Handle = CreateCompatibleBitmap(screen.Get(), w, h);
    if (!img.Handle) RaiseOutOfResources();
    TMemoryDC dc(CreateCompatibleDC(nullptr));
    TSelectedObject sel(dc.Get(), img.Handle);
    PatBlt(dc.Get(), 0, 0, w, h, WHITENESS);
    return img;
  }
  int bpp = BitsPerPixel(format_);
  int64_t stride = gfx::DibStride(w, bpp);
  if (stride < 0 || stride * h > gfx::kMaxImageBytes) RaiseOutOfResources();
  TDibInfo bi;
  bi.Header.biSize = sizeof(BITMAPINFOHEADER);
  bi.Header.biWidth = w;
  bi.Header.biHeight = h;  // bottom-up
  bi.Header.biPlanes = 1;
  bi.Header.biBitCount = static_cast<WORD>(bpp);
  bi.Header.biCompression = BI_RGB;
  if (format_ == pf16bit) {
    bi.Header.biCompression = BI_BITFIELDS;
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(bi.Colors, masks, sizeof masks);
  } else if (IsPaletteFormat(format_)) {
    size_t n = std::min<size_t>(colors_.size(), size_t(1) << bpp);
    bi.Header.biClrUsed = static_cast<DWORD>(n);
    std::copy_n(colors_.begin(), n, bi.Colors);
  }
  void* bits = nullptr;
  img.Handle = CreateDIBSection(nullptr, bi.Get(), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!img.Handle || !bits) {
    if (img.Handle) DeleteObject(img.Handle);
    RaiseOutOfResources();
  }
  img.Bits = static_cast<uint8_t*>(bits);
  img.Stride = static_cast<int>(stride);
  // White, with alpha 0 in 32-bit pixels.
  if (format_ == pf24bit || format_ == pf32bit) {
    std::memset(img.Bits, 0xFF, static_cast<size_t>(stride * h));
    if (format_ == pf32bit)
      for (int64_t i = 3; i < stride * h; i += 4) img.Bits[i] = 0;
  } else {
    gfx::TNearestColor nearest(colors_);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        gfx::WritePixel(RowPtr(img, y, h), x, format_, 0xFFFFFF, &nearest);
  }
  return img;
}

HDC TBitmap::CanvasDC() const {
  return canvas_ ? canvas_->DC() : nullptr;
}

void TBitmap::Replace(TImage img, int w, int h) {
  TImage old = image_;
  image_ = img;
  width_ = w;
  height_ = h;
  if (HDC dc = CanvasDC()) SelectObject(dc, img.Handle ? img.Handle : canvas_->DefaultBitmap());
  FreeImage(old);
}

void TBitmap::HandleNeeded() {
  if (image_.Handle || Empty()) return;
  Replace(NewImage(width_, height_), width_, height_);
}

void TBitmap::FreeContext() {
  if (canvas_) canvas_->FreeContext();
}

std::vector<uint32_t> TBitmap::ReadPixels() {
  std::vector<uint32_t> px(static_cast<size_t>(width_) * height_);
  if (!image_.Handle) return px;
  GdiFlush();
  if (handleType_ == bmDIB && format_ != pfCustom && image_.Bits) {
    for (int y = 0; y < height_; ++y) {
      const uint8_t* row = RowPtr(image_, y, height_);
      for (int x = 0; x < width_; ++x)
        px[static_cast<size_t>(y) * width_ + x] = gfx::ReadPixel(row, x, format_, colors_);
    }
    return px;
  }
  // Device and unusual formats go through GDI, which wants the bitmap out
  // of every DC.
  HDC cdc = CanvasDC();
  if (cdc) SelectObject(cdc, canvas_->DefaultBitmap());
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width_;
  bi.bmiHeader.biHeight = -height_;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  TWindowDC screen(nullptr);
  GetDIBits(screen.Get(), image_.Handle, 0, height_, px.data(), &bi, DIB_RGB_COLORS);
  if (cdc) SelectObject(cdc, image_.Handle);
  return px;
}

void TBitmap::WritePixels(TImage& img, int w, int h, const std::vector<uint32_t>& px) {
  if (!img.Handle) return;
  if (img.Bits) {
    gfx::TNearestColor nearest(colors_);
    for (int y = 0; y < h; ++y) {
      uint8_t* row = RowPtr(img, y, h);
      for (int x = 0; x < w; ++x)
        gfx::WritePixel(row, x, format_, px[static_cast<size_t>(y) * w + x], &nearest);
    }
    return;
  }
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  TWindowDC screen(nullptr);
  SetDIBits(screen.Get(), img.Handle, 0, h, px.data(), &bi, DIB_RGB_COLORS);
}

// --- size, format, type ------------------------------------------------------

void TBitmap::SetWidth(int Value) {
  Resize(Value, height_);
}
void TBitmap::SetHeight(int Value) {
  Resize(width_, Value);
}
void TBitmap::SetSize(int AWidth, int AHeight) {
  Resize(AWidth, AHeight);
}

void TBitmap::Resize(int w, int h) {
  if (w < 0 || h < 0) throw EInvalidGraphicOperation("Invalid bitmap size");
  if (w == width_ && h == height_) return;
  // A new image of an unusual layout cannot be made: take 32 bits first.
  if (format_ == pfCustom && handleType_ == bmDIB) ConvertTo(bmDIB, pf32bit);
  Changing(this);
  // Made before anything changes, so a failure leaves the bitmap as it was.
  TImage img = NewImage(w, h);
  if (img.Handle && image_.Handle) {
    int cw = std::min(w, width_), ch = std::min(h, height_);
    if (img.Bits && image_.Bits) {
      GdiFlush();
      int bpp = BitsPerPixel(format_);
      for (int y = 0; y < ch; ++y) {
        const uint8_t* s = RowPtr(image_, y, height_);
        uint8_t* d = RowPtr(img, y, h);
        if (bpp >= 8)
          std::memcpy(d, s, static_cast<size_t>(cw) * bpp / 8);
        else
          for (int x = 0; x < cw; ++x) gfx::SetIndex(d, x, bpp, gfx::GetIndex(s, x, bpp));
      }
    } else {
      TMemoryDC src(CreateCompatibleDC(nullptr)), dst(CreateCompatibleDC(nullptr));
      HDC cdc = CanvasDC();
      if (cdc) SelectObject(cdc, canvas_->DefaultBitmap());
      {
        TSelectedObject s(src.Get(), image_.Handle), d(dst.Get(), img.Handle);
        BitBlt(dst.Get(), 0, 0, cw, ch, src.Get(), 0, 0, SRCCOPY);
      }
      if (cdc) SelectObject(cdc, image_.Handle);
    }
  }
  Replace(img, w, h);
  Changed(this);
}

TPixelFormat TBitmap::PixelFormat() const {
  return handleType_ == bmDDB ? pfDevice : format_;
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == PixelFormat()) return;
  if (Value == pfCustom) throw EInvalidGraphicOperation("Invalid pixel format");
  if (Value == pfDevice)
    ConvertTo(bmDDB, pfDevice);
  else
    ConvertTo(bmDIB, Value);
}

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == handleType_) return;
  if (Value == bmDDB)
    ConvertTo(bmDDB, pfDevice);
  else
    ConvertTo(bmDIB, DeviceFormat());
}

void TBitmap::ConvertTo(TBitmapHandleType type, TPixelFormat format) {
  Changing(this);
  const bool had = image_.Handle != nullptr;
  // Only 32-bit pixels carry alpha into 32-bit pixels.
  const bool keepAlpha = handleType_ == bmDIB && format_ == pf32bit;
  std::vector<uint32_t> px;
  if (had) px = ReadPixels();
  TBitmapHandleType oldType = handleType_;
  TPixelFormat oldFormat = format_;
  std::vector<RGBQUAD> oldColors = colors_;
  handleType_ = type;
  format_ = format;
  colors_ = gfx::DefaultColors(format);
  TImage img;
  try {
    if (had) img = NewImage(width_, height_);
  } catch (...) {
    handleType_ = oldType;
    format_ = oldFormat;
    colors_ = std::move(oldColors);
    throw;
  }
  palette_.Reset();
  if (had) {
    if (!keepAlpha)
      for (uint32_t& p : px) p &= 0xFFFFFF;
    WritePixels(img, width_, height_, px);
    Replace(img, width_, height_);
  }
  Changed(this);
}

void* TBitmap::ScanLine(int Row) {
  if (Row < 0 || Row >= height_) throw EInvalidGraphicOperation("Scan line index out of range");
  Changing(this);
  if (handleType_ == bmDDB) ConvertTo(bmDIB, DeviceFormat());
  HandleNeeded();
  GdiFlush();
  return RowPtr(image_, Row, height_);
}
