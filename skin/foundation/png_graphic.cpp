#include "skin/foundation/png_graphic.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/blend.h"
#include "skin/foundation/png_argb.h"
#include "skin/foundation/png_errors.h"
#include "widgets/graphics/canvas.h"
#include "widgets/rtl/streams.h"

namespace {

// The bytes of a stream from its position on: a memory stream's own memory
// (no copy), else read into `copy`.
struct StreamBytes {
  const uint8_t* Data = nullptr;
  size_t Size = 0;
};

StreamBytes BytesOf(TStream& stream, std::vector<uint8_t>& copy) {
  const int32_t start = stream.Position();
  const int32_t size = stream.Size();
  const size_t available = size > start ? static_cast<size_t>(size - start) : 0;
  if (auto* memory = dynamic_cast<TCustomMemoryStream*>(&stream);
      memory != nullptr && memory->Memory() != nullptr) {
    return {static_cast<const uint8_t*>(memory->Memory()) + start, available};
  }
  copy.resize(available);
  if (available > 0) stream.ReadBuffer(copy.data(), static_cast<int32_t>(available));
  return {copy.data(), copy.size()};
}

int BitsOf(SamplePixelFormat format) {
  switch (format) {
    case SamplePixelFormat::Bits1:
      return 1;
    case SamplePixelFormat::Bits4:
      return 4;
    case SamplePixelFormat::Bits8:
      return 8;
    case SamplePixelFormat::Bits24:
      return 24;
    default:
      return 32;
  }
}

// A bottom-up DIB section, as the widget layer makes them, with the given
// colour table (entries 0x00RRGGBB) for palette formats. Its memory comes
// zeroed from the system: no fill pass.
HBITMAP NewDibSection(int width, int height, int bits, const uint32_t* colours, int colourCount,
                      uint8_t*& pixels) {
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];
  } info{};
  info.Header.biSize = sizeof(BITMAPINFOHEADER);
  info.Header.biWidth = width;
  info.Header.biHeight = height;
  info.Header.biPlanes = 1;
  info.Header.biBitCount = static_cast<WORD>(bits);
  info.Header.biCompression = BI_RGB;
  if (bits <= 8) {
    info.Header.biClrUsed = static_cast<DWORD>(colourCount);
    for (int i = 0; i < colourCount; ++i) {
      const uint32_t c = colours[i];
      info.Colors[i] = RGBQUAD{uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 0};
    }
  }
  void* bits_ = nullptr;
  HBITMAP handle = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                    &bits_, nullptr, 0);
  if (handle == nullptr || bits_ == nullptr) {
    if (handle != nullptr) DeleteObject(handle);
    RaisePngOutOfMemory();
  }
  pixels = static_cast<uint8_t*>(bits_);
  return handle;
}

ptrdiff_t DibRowBytes(int width, int bits) {
  return ((ptrdiff_t{width} * bits + 31) / 32) * 4;
}

// Makes the graphic's bitmap in the format the image's kind calls for, once
// the reader has accepted it, and hands its rows (top row first) to the
// reader, which decodes straight into them.
class GraphicTarget : public PngTargetProvider {
 public:
  explicit GraphicTarget(TPNGGraphic& graphic) : graphic_(graphic) {}
  PngRows ProvideRows(const PngReader& reader) override {
    const int w = static_cast<int>(reader.Properties().ImageWidth);
    const int h = static_cast<int>(reader.Properties().ImageHeight);
    const int bits = BitsOf(reader.BitmapFormat());
    const int colours = bits <= 8 ? 1 << bits : 0;
    uint8_t* pixels = nullptr;
    HBITMAP handle = NewDibSection(w, h, bits, reader.Palette().Entries.data(), colours, pixels);
    graphic_.AdoptDibSection(handle, false);  // the graphic deletes it
    const ptrdiff_t rowBytes = DibRowBytes(w, bits);
    return {pixels + rowBytes * (h - 1), -rowBytes};
  }

 private:
  TPNGGraphic& graphic_;
};

}  // namespace

const TClassInfo& TPNGGraphic::StaticClass() {
  static const TClassInfo info("TPNGGraphic", &TBitmap::StaticClass());
  return info;
}

void TPNGGraphic::Assign(TPersistent* Source) {
  if (auto* png = dynamic_cast<TPNGGraphic*>(Source); png != nullptr && png != this) {
    props_.ImageFlags = png->props_.ImageFlags;
    props_.ImageWidth = png->props_.ImageWidth;
    props_.ColorLayout = png->props_.ColorLayout;
    props_.SampleBits = png->props_.SampleBits;
    props_.SampleCount = png->props_.SampleCount;
    props_.Compression = png->props_.Compression;
  }
  TBitmap::Assign(Source);
}

void TPNGGraphic::LoadFromStream(TStream& Stream) {
  // Every allocation failure leaves as the library's EOutOfResources; the
  // reader maps its own.
  try {
    LoadPng(Stream);
  } catch (const std::bad_alloc&) {
    RaisePngOutOfMemory();
  } catch (const std::length_error&) {
    RaisePngOutOfMemory();
  }
}

void TPNGGraphic::LoadPng(TStream& Stream) {
  SetSize(0, 0);
  SetTransparent(false);
  const int32_t start = Stream.Position();
  std::vector<uint8_t> copy;
  const StreamBytes bytes = BytesOf(Stream, copy);

  // Forwards the reader's notifications to OnProgress.
  class Relay : public PngProgressSink {
   public:
    explicit Relay(TPNGGraphic& graphic) : graphic_(graphic) {}
    void PngProgress(PngProgressStage stage, int percent, int rowTop,
                     const char* message) override {
      graphic_.Progress(&graphic_, stage == PngProgressStage::Starting ? psStarting : psEnding,
                        static_cast<uint8_t>(percent), false,
                        TRect(0, rowTop, graphic_.Width(), rowTop + 1), message ? message : "");
    }

   private:
    TPNGGraphic& graphic_;
  } relay(*this);
  PngReader reader(colorManager_);
  GraphicTarget target(*this);
  const size_t used = reader.Load(bytes.Data, bytes.Size, PngOutput::Native, target, &relay);
  Stream.SetPosition(start + static_cast<int32_t>(used));

  props_ = reader.Properties();
  alphaTable_ = reader.AlphaTable();
  backgroundColor_ = reader.BackgroundColor();
  transparentKey_ = reader.TransparentKey();
  if (transparentKey_ != kPngNoColor) {
    SetTransparentColor(static_cast<TColor>(transparentKey_));
    SetTransparent(true);
  }
  Changed(this);
}

void TPNGGraphic::Draw(TCanvas& ACanvas, const TRect& Rect) {
  if (PixelFormat() != pf32bit) {
    TBitmap::Draw(ACanvas, Rect);
    return;
  }
  const int w = Rect.Width(), h = Rect.Height();
  if (w <= 0 || h <= 0 || Empty()) return;
  const int workHeight = h + (reflected_ ? h / 2 : 0);
  std::unique_ptr<TBitmap> work(NewArgbBitmap(w, workHeight));
  if (work->Empty()) return;
  HDC workDC = work->Canvas()->Handle();
  BitBlt(workDC, 0, 0, w, workHeight, ACanvas.Handle(), Rect.Left, Rect.Top, SRCCOPY);
  GdiFlush();
  const PixelView workView = ArgbView(work.get());
  const BackgroundView noBackground = ToBackgroundView(EmptyBackgroundInfo);
  const RECT whole{0, 0, w, h};
  if (w == Width() && h == Height()) {
    AlphaCopyArgb(whole, whole, workView, ArgbView(this), noBackground, false, kNoColor, 0,
                  reflected_);
  } else {
    // Nearest-pixel scaling of colour and alpha alike, as COLORONCOLOR
    // stretching gives; the scaled image is drawn without a mirror.
    std::unique_ptr<TBitmap> scaled(NewArgbBitmap(w, h));
    if (scaled->Empty()) return;
    const PixelView scaledView = ArgbView(scaled.get());
    StretchPixels(scaledView, 0, 0, w, h, ArgbView(this), 0, 0, Width(), Height());
    AlphaCopyArgb(whole, whole, workView, scaledView, noBackground, false, kNoColor, 0, false);
  }
  BitBlt(ACanvas.Handle(), Rect.Left, Rect.Top, w, workHeight, workDC, 0, 0, SRCCOPY);
}

namespace {

// The pixel words (0xAARRGGBB) of the palette of a palette-format bitmap,
// with the PNG's alpha table where one is given.
void PaletteLookup(TPNGGraphic& png, int bits, uint32_t (&lookup)[256]) {
  ColorPalette palette;
  PALETTEENTRY entries[256] = {};
  if (HPALETTE handle = png.Palette()) {
    palette.Count = GetPaletteEntries(handle, 0, 256, entries);
    for (uint32_t i = 0; i < palette.Count; ++i)
      palette.Entries[i] = (uint32_t{entries[i].peRed} << 16) |
                           (uint32_t{entries[i].peGreen} << 8) | entries[i].peBlue;
  }
  static const std::vector<uint8_t> kNoAlpha;
  const bool withAlpha = png.ImageProperties().ColorLayout == lyIndexed;
  const std::vector<uint8_t>& alpha = withAlpha ? png.AlphaTable() : kNoAlpha;
  const unsigned fileBits = withAlpha ? png.ImageProperties().SampleBits : bits;
  BuildArgbLookup(palette, alpha, fileBits, bits, lookup);
}

// One row of the PNG graphic's bitmap as 32-bit pixels.
void RowToArgb(const uint8_t* s, uint32_t* d, int width, int bits, const uint32_t (&lookup)[256]) {
  switch (bits) {
    case 32:
      std::memcpy(d, s, size_t(width) * 4);
      break;
    case 24: {
      int x = 0;
      // Four bytes read per pixel, the fourth overwritten: the last pixel of
      // the row is done on its own so that no read passes the row's end.
      for (; x + 1 < width; ++x) {
        uint32_t p;
        std::memcpy(&p, s + 3 * x, 4);
        d[x] = p | 0xFF000000u;
      }
      for (; x < width; ++x)
        d[x] =
            0xFF000000u | (uint32_t{s[3 * x + 2]} << 16) | (uint32_t{s[3 * x + 1]} << 8) | s[3 * x];
      break;
    }
    case 8:
      for (int x = 0; x < width; ++x) d[x] = lookup[s[x]];
      break;
    case 4:
      for (int x = 0; x < width; ++x) d[x] = lookup[(s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
      break;
    default:
      for (int x = 0; x < width; ++x) d[x] = lookup[(s[x >> 3] >> (7 - (x & 7))) & 1];
      break;
  }
}

// The general road for anything the fast road does not know: assign,
// make 32-bit, alpha 255 unless the pixels were 32-bit already.
void ConvertByAssignment(TBitmap* Bitmap, TPNGGraphic* Png) {
  Bitmap->Assign(Png);
  if (Bitmap->PixelFormat() == pf32bit) return;  // the file's own alpha stays
  Bitmap->SetPixelFormat(pf32bit);
  const PixelView view = ArgbView(Bitmap);
  if (!view.Valid()) return;
  for (int y = 0; y < view.Height; ++y) {
    uint32_t* row = view.Row(y);
    for (int x = 0; x < view.Width; ++x) row[x] |= 0xFF000000u;
  }
}

}  // namespace

void ConvertPngToArgb(TBitmap* Bitmap, TPNGGraphic* Png) {
  if (Bitmap == nullptr || Png == nullptr) return;
  int bits = 0;
  switch (Png->HandleType() == bmDIB ? Png->PixelFormat() : pfCustom) {
    case pf1bit:
      bits = 1;
      break;
    case pf4bit:
      bits = 4;
      break;
    case pf8bit:
      bits = 8;
      break;
    case pf24bit:
      bits = 24;
      break;
    case pf32bit:
      bits = 32;
      break;
    default:
      break;
  }
  uint8_t* srcBase = nullptr;
  ptrdiff_t srcStride = 0;
  if (Bitmap == Png || bits == 0 || !ScanlineBaseAndStride(Png, srcBase, srcStride)) {
    ConvertByAssignment(Bitmap, Png);
    return;
  }
  // One pass from the graphic's rows into a new 32-bit DIB: no copy of the
  // graphic in its own format first, no conversion through the widget
  // layer's per-pixel colour search.
  const int w = Png->Width(), h = Png->Height();
  uint32_t lookup[256] = {};
  if (bits <= 8) PaletteLookup(*Png, bits, lookup);
  uint8_t* pixels = nullptr;
  HBITMAP handle = NewDibSection(w, h, 32, nullptr, 0, pixels);
  const ptrdiff_t dstStride = -ptrdiff_t{w} * 4;
  uint8_t* dstBase = pixels + ptrdiff_t{w} * 4 * (h - 1);
  for (int y = 0; y < h; ++y) {
    RowToArgb(srcBase + srcStride * y, reinterpret_cast<uint32_t*>(dstBase + dstStride * y), w,
              bits, lookup);
  }
  Bitmap->AdoptDibSection(handle, false);
  Bitmap->SetTransparentColor(Png->Transparent() ? Png->TransparentColor() : clDefault);
  Bitmap->SetTransparent(Png->Transparent());
}

namespace {

// The caller's bitmap as a 32-bit DIB, made when the reader asks for rows.
class ArgbBitmapTarget : public PngTargetProvider {
 public:
  explicit ArgbBitmapTarget(TBitmap& bitmap) : bitmap_(bitmap) {}
  PngRows ProvideRows(const PngReader& reader) override {
    const int w = static_cast<int>(reader.Properties().ImageWidth);
    const int h = static_cast<int>(reader.Properties().ImageHeight);
    uint8_t* pixels = nullptr;
    bitmap_.AdoptDibSection(NewDibSection(w, h, 32, nullptr, 0, pixels), false);
    return {pixels + ptrdiff_t{w} * 4 * (h - 1), -ptrdiff_t{w} * 4};
  }

 private:
  TBitmap& bitmap_;
};

void LoadArgb(TBitmap& Bitmap, TStream& Stream) {
  const int32_t start = Stream.Position();
  std::vector<uint8_t> copy;
  const StreamBytes bytes = BytesOf(Stream, copy);
  TColorManager colorManager;
  PngReader reader(colorManager);
  ArgbBitmapTarget target(Bitmap);
  const size_t used = reader.Load(bytes.Data, bytes.Size, PngOutput::Argb32, target);
  Stream.SetPosition(start + static_cast<int32_t>(used));
  // What assigning the graphic hands over: its transparent colour.
  const uint32_t key = reader.TransparentKey();
  Bitmap.SetTransparentColor(key != kPngNoColor ? static_cast<TColor>(key) : clDefault);
  Bitmap.SetTransparent(key != kPngNoColor);
}

}  // namespace

void DecodePngStreamToArgb(TBitmap* Bitmap, TStream& Stream) {
  if (Bitmap == nullptr) return;
  try {
    LoadArgb(*Bitmap, Stream);
  } catch (const std::bad_alloc&) {
    RaisePngOutOfMemory();
  } catch (const std::length_error&) {
    RaisePngOutOfMemory();
  }
}

void DecodePngFileToArgb(TBitmap* Bitmap, const std::string& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  DecodePngStreamToArgb(Bitmap, stream);
}

void RegisterPngGraphic() {
  TPicture::RegisterFileFormat("png", "Portable network graphics (Vistrel)",
                               GraphicClassOf<TPNGGraphic>());
}

void UnregisterPngGraphic() {
  TPicture::UnregisterGraphicClass(GraphicClassOf<TPNGGraphic>());
}
