// TBitmap: handles, canvas, palette, transparency, copying and drawing.
#include "widgets/graphics/bitmap.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "widgets/rtl/exceptions.h"
#include "widgets/graphics/bitmap_canvas.h"
#include "widgets/graphics/pixels.h"

using gfx::BitsPerPixel;
using gfx::IsPaletteFormat;

namespace {

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

}  // namespace

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
void TBitmap::AdoptDibSection(HBITMAP Value, bool TopDown) {
  TakeHandle(Value, true, TopDown ? 1 : 0);
}
void TBitmap::WrapHandle(HBITMAP Value) {
  TakeHandle(Value, false);
}

void TBitmap::TakeHandle(HBITMAP h, bool owned, int order) {
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
    img.TopDown =
        order >= 0 ? order == 1 : ds.dsBmih.biHeight < 0 || ProbeTopDown(h, img.Bits, hgt);
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
