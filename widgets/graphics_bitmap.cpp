#include "widgets/graphics_bitmap.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "widgets/exceptions.h"
#include "widgets/graphics_pixels.h"

using gfx::BitsPerPixel;

namespace {

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

bool IsPaletteFormat(TPixelFormat f) {
  return f == pf1bit || f == pf4bit || f == pf8bit;
}

// A BITMAPINFO with room for 256 colours or three masks.
struct TDibInfo {
  BITMAPINFOHEADER Header{};
  RGBQUAD Colors[256]{};
  BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

// Whether the first row in memory of a DIB section is its top row. Some
// GDI implementations report a top-down section's height as positive, so
// when the sign says bottom-up a changed first byte tells which row moved.
bool ProbeTopDown(HBITMAP h, uint8_t* bits, int height) {
  if (height < 2) return false;
  TMemoryDC dc(CreateCompatibleDC(nullptr));
  HGDIOBJ prev = SelectObject(dc.Get(), h);
  if (!prev) return false;  // selected elsewhere: take the header's word
  GdiFlush();
  COLORREF before = GetPixel(dc.Get(), 0, 0);
  uint8_t saved = bits[0];
  bits[0] = static_cast<uint8_t>(saved ^ 0xFF);
  GdiFlush();
  bool top = GetPixel(dc.Get(), 0, 0) != before;
  bits[0] = saved;
  GdiFlush();
  SelectObject(dc.Get(), prev);
  return top;
}

[[noreturn]] void RaiseOutOfResources() {
  throw EOutOfResources("Out of system resources");
}

}  // namespace

// The canvas of a bitmap: one memory DC, made on demand, holding the bitmap.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* owner) : bitmap_(owner) {}
  ~TBitmapCanvas() override { FreeContext(); }

  HDC DC() const { return dc_.Get(); }
  HGDIOBJ DefaultBitmap() const { return oldBitmap_; }
  void FreeContext() {
    if (!dc_) return;
    SetHandle(nullptr);
    SelectObject(dc_.Get(), oldBitmap_);
    dc_.Reset();
    oldBitmap_ = nullptr;
  }

 protected:
  void CreateHandle() override {
    bitmap_->HandleNeeded();
    TMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!dc) RaiseOutOfResources();
    oldBitmap_ = GetCurrentObject(dc.Get(), OBJ_BITMAP);
    if (bitmap_->image_.Handle) SelectObject(dc.Get(), bitmap_->image_.Handle);
    dc_ = std::move(dc);
    SetHandle(dc_.Get());
  }
  void Changing() override {
    TCanvas::Changing();
    bitmap_->Changing(bitmap_);
  }
  void Changed() override {
    TCanvas::Changed();
    bitmap_->Changed(bitmap_);
  }

 private:
  TBitmap* bitmap_;
  TMemoryDC dc_;
  HGDIOBJ oldBitmap_ = nullptr;
};

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

// --- handles, canvas, palette --------------------------------------------------

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = new TBitmapCanvas(this);
  return canvas_;
}

HBITMAP TBitmap::Handle() {
  if (canvas_ && canvas_->LockCount() == 0) FreeContext();
  HandleNeeded();
  return image_.Handle;
}

void TBitmap::SetHandle(HBITMAP Value) {
  TakeHandle(Value, true);
}
void TBitmap::WrapHandle(HBITMAP Value) {
  TakeHandle(Value, false);
}

void TBitmap::TakeHandle(HBITMAP h, bool owned) {
  if (h && h == image_.Handle) {
    image_.Owned = owned;
    return;
  }
  Changing(this);
  TImage img;
  img.Handle = h;
  img.Owned = owned;
  int w = 0, hgt = 0;
  TBitmapHandleType type = bmDDB;
  TPixelFormat format = pfDevice;
  std::vector<RGBQUAD> colors;
  DIBSECTION ds{};
  int n = h ? GetObjectA(h, sizeof ds, &ds) : 0;
  if (n == sizeof(DIBSECTION) && ds.dsBm.bmBits) {
    type = bmDIB;
    w = ds.dsBmih.biWidth;
    hgt = std::abs(ds.dsBmih.biHeight);
    img.Bits = static_cast<uint8_t*>(ds.dsBm.bmBits);
    img.Stride = ds.dsBm.bmWidthBytes;
    img.TopDown = ds.dsBmih.biHeight < 0 || ProbeTopDown(h, img.Bits, hgt);
    bool rgb = ds.dsBmih.biCompression == BI_RGB;
    bool fields = ds.dsBmih.biCompression == BI_BITFIELDS;
    auto masks = [&](DWORD r, DWORD g, DWORD b) {
      return fields && ds.dsBitfields[0] == r && ds.dsBitfields[1] == g && ds.dsBitfields[2] == b;
    };
    switch (ds.dsBmih.biBitCount) {
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
        format = rgb || masks(0x7C00, 0x3E0, 0x1F) ? pf15bit
                 : masks(0xF800, 0x7E0, 0x1F)      ? pf16bit
                                                   : pfCustom;
        break;
      case 24:
        format = rgb ? pf24bit : pfCustom;
        break;
      case 32:
        format = rgb || masks(0xFF0000, 0xFF00, 0xFF) ? pf32bit : pfCustom;
        break;
      default:
        format = pfCustom;
    }
    if (IsPaletteFormat(format)) {
      colors.resize(size_t(1) << ds.dsBmih.biBitCount);
      TMemoryDC dc(CreateCompatibleDC(nullptr));
      HGDIOBJ prev = SelectObject(dc.Get(), h);
      UINT got =
          prev ? GetDIBColorTable(dc.Get(), 0, static_cast<UINT>(colors.size()), colors.data()) : 0;
      if (prev) SelectObject(dc.Get(), prev);
      if (got == 0)
        colors = gfx::DefaultColors(format);
      else
        colors.resize(got);
    }
  } else if (n >= static_cast<int>(sizeof(BITMAP))) {
    w = ds.dsBm.bmWidth;
    hgt = ds.dsBm.bmHeight;
  } else {
    img.Handle = nullptr;
  }
  handleType_ = type;
  format_ = format;
  colors_ = std::move(colors);
  palette_.Reset();
  Replace(img, img.Handle ? w : 0, img.Handle ? hgt : 0);
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  FreeContext();
  HandleNeeded();
  Changing(this);
  HBITMAP h = image_.Handle;
  image_ = TImage{};
  // The next image is made by the layer, which has no unusual layouts.
  if (format_ == pfCustom) {
    format_ = pf32bit;
    colors_.clear();
  }
  return h;
}

HPALETTE TBitmap::Palette() {
  if (!palette_ && !colors_.empty()) {
    struct {
      WORD Version, Count;
      PALETTEENTRY Entries[256];
    } lp{0x300, static_cast<WORD>(std::min<size_t>(colors_.size(), 256)), {}};
    for (WORD i = 0; i < lp.Count; ++i)
      lp.Entries[i] = {colors_[i].rgbRed, colors_[i].rgbGreen, colors_[i].rgbBlue, 0};
    palette_.Reset(CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp)));
  }
  return palette_.Get();
}

void TBitmap::SetPalette(HPALETTE Value) {
  if (Value && Value == palette_.Get()) return;
  Changing(this);
  if (IsPaletteFormat(PixelFormat()) && Value) {
    PALETTEENTRY entries[256];
    UINT n = GetPaletteEntries(Value, 0, 256, entries);
    n = std::min<UINT>(n, 1u << BitsPerPixel(format_));
    if (n > 0) {
      colors_.resize(n);
      for (UINT i = 0; i < n; ++i)
        colors_[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
      ApplyColorsToDib();
    }
  }
  palette_.Reset(Value);
  Changed(this);
}

void TBitmap::ApplyColorsToDib() {
  if (!image_.Handle || !image_.Bits || colors_.empty()) return;
  if (HDC dc = CanvasDC()) {
    SetDIBColorTable(dc, 0, static_cast<UINT>(colors_.size()), colors_.data());
    return;
  }
  TMemoryDC dc(CreateCompatibleDC(nullptr));
  TSelectedObject sel(dc.Get(), image_.Handle);
  SetDIBColorTable(dc.Get(), 0, static_cast<UINT>(colors_.size()), colors_.data());
}

TColor TBitmap::TransparentColor() {
  if (transparentColor_ != clDefault || Empty()) return transparentColor_;
  HandleNeeded();
  if (handleType_ == bmDIB && format_ != pfCustom && image_.Bits) {
    GdiFlush();
    uint32_t p = gfx::ReadPixel(RowPtr(image_, height_ - 1, height_), 0, format_, colors_);
    return static_cast<TColor>(gfx::ColorRefFromBgra(p));
  }
  return Canvas()->Pixels(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == transparentColor_) return;
  transparentColor_ = Value;
  Changed(this);
}

// --- copying and drawing -------------------------------------------------------

void TBitmap::CopyImageFrom(TBitmap& src) {
  TImage img = NewImage(src.width_, src.height_);
  if (img.Handle && src.image_.Handle) {
    if (img.Bits && format_ != src.format_) {
      WritePixels(img, src.width_, src.height_, src.ReadPixels());
    } else if (img.Bits && src.image_.Bits) {
      GdiFlush();
      size_t bytes = static_cast<size_t>(std::min(img.Stride, src.image_.Stride));
      for (int y = 0; y < src.height_; ++y)
        std::memcpy(RowPtr(img, y, src.height_), RowPtr(src.image_, y, src.height_), bytes);
    } else {
      TMemoryDC dst(CreateCompatibleDC(nullptr));
      TSelectedObject d(dst.Get(), img.Handle);
      HDC sdc = src.CanvasDC();
      TMemoryDC tmp;
      std::unique_ptr<TSelectedObject> s;
      if (!sdc) {
        tmp.Reset(CreateCompatibleDC(nullptr));
        s = std::make_unique<TSelectedObject>(tmp.Get(), src.image_.Handle);
        sdc = tmp.Get();
      }
      BitBlt(dst.Get(), 0, 0, src.width_, src.height_, sdc, 0, 0, SRCCOPY);
    }
  }
  Replace(img, src.width_, src.height_);
}

void TBitmap::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source || dynamic_cast<TBitmap*>(Source)) {
    Changing(this);
    auto* src = static_cast<TBitmap*>(Source);
    if (!src) {
      Replace(TImage{}, 0, 0);
      Changed(this);
      return;
    }
    const TBitmapHandleType oldType = handleType_;
    const TPixelFormat oldFormat = format_;
    std::vector<RGBQUAD> oldColors = colors_;
    handleType_ = src->handleType_;
    format_ = src->format_ == pfCustom ? pf32bit : src->format_;
    colors_ = src->colors_;
    try {
      CopyImageFrom(*src);
    } catch (...) {
      handleType_ = oldType;
      format_ = oldFormat;
      colors_ = std::move(oldColors);
      throw;
    }
    palette_.Reset();
    transparentColor_ = src->transparentColor_;
    SetTransparent(src->Transparent());
    Changed(this);
    return;
  }
  TGraphic::Assign(Source);
}

void TBitmap::Draw(TCanvas& ACanvas, const TRect& Rect) {
  HandleNeeded();
  if (!image_.Handle) return;
  HDC dst = ACanvas.Handle();
  HDC src = CanvasDC();
  TMemoryDC tmp;
  HGDIOBJ prev = nullptr;
  if (!src) {
    tmp.Reset(CreateCompatibleDC(nullptr));
    prev = SelectObject(tmp.Get(), image_.Handle);
    src = tmp.Get();
  }
  if (Transparent()) {
    COLORREF key = ColorToRGB(TransparentColor()) & 0xFFFFFF;
    TransparentBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, width_,
                   height_, key);
  } else {
    StretchBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, width_, height_,
               ACanvas.CopyMode());
  }
  if (prev) SelectObject(tmp.Get(), prev);
}
