// TBitmap: a device-independent (DIB section) or device-dependent bitmap
// with a canvas, pixel formats, scan-line access and BMP streaming.
//
// DIBs are always made bottom-up, so ScanLine(1) - ScanLine(0) is the
// negative stride. Palette formats take the grey palette (8 bits, entry i =
// RGB(i, i, i)), black and white (1 bit) or the 16 standard colours (4 bits)
// unless a palette is set.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "widgets/graphics/image.h"

enum TPixelFormat {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};
enum TBitmapHandleType { bmDIB, bmDDB };

class TBitmapCanvas;

class TBitmap : public TGraphic {
  DECLARE_GRAPHIC(TBitmap, TGraphic)
 public:
  static const TEnumInfo& PixelFormatInfo();
  static const TEnumInfo& HandleTypeInfo();

  TBitmap();
  ~TBitmap() override;

  bool Empty() const override { return width_ == 0 || height_ == 0; }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // Each setter reallocates when both sizes are non-zero, keeping the
  // overlapping pixels; new pixels are white. Negative sizes and failed
  // allocations raise (EInvalidGraphicOperation / EOutOfResources).
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  void SetSize(int AWidth, int AHeight);

  TPixelFormat PixelFormat() const;
  // Converts the pixels: to 32 bits the alpha bytes are 0, from 32 to 32
  // nothing changes, into a palette format each pixel takes the nearest
  // entry. pfDevice makes a device bitmap; pfCustom raises.
  void SetPixelFormat(TPixelFormat Value);
  TBitmapHandleType HandleType() const { return handleType_; }
  void SetHandleType(TBitmapHandleType Value);

  // Row y (0 = top) of a DIB, after GdiFlush; a device bitmap becomes a
  // DIB first. Raises EInvalidGraphicOperation outside 0..Height-1.
  void* ScanLine(int Row);

  TCanvas* Canvas();
  // Reading gives up the canvas's DC unless the canvas is locked, and makes
  // the bitmap when it has a size (null for an empty bitmap).
  HBITMAP Handle();
  bool HandleAllocated() const { return image_.Handle != nullptr; }
  // Adopts the bitmap: it is deleted by this object later.
  void SetHandle(HBITMAP Value);
  // SetHandle for a DIB section whose row order the caller knows because it
  // made it: Wine reports a top-down section's height as positive, so
  // SetHandle has to find the order by drawing through a device context,
  // which costs more than decoding a small image.
  void AdoptDibSection(HBITMAP Value, bool TopDown);
  // Uses a bitmap this object never deletes (until another handle comes).
  void WrapHandle(HBITMAP Value);
  // Hands the bitmap to the caller; size and format stay, the next use
  // makes a new blank bitmap.
  HBITMAP ReleaseHandle();

  // The colour table as a logical palette (made on demand, owned); 0 for
  // formats without a palette. Setting adopts the palette and applies it.
  HPALETTE Palette();
  void SetPalette(HPALETTE Value);

  // clDefault: the colour of the bottom-left pixel.
  TColor TransparentColor();
  void SetTransparentColor(TColor Value);

  void Assign(TPersistent* Source) override;
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;
  // A bitmap resource (RT_BITMAP); raises EResNotFound when absent.
  void LoadFromResourceName(HINSTANCE Instance, const std::string& ResName);
  void LoadFromResourceID(HINSTANCE Instance, int ResID);

  // Non-virtual BMP reader and writer (descendants that decode other
  // formats in LoadFromStream still read BMP data through these).
  void ReadBmp(TStream& Stream);
  void WriteBmp(TStream& Stream);
  // The persisted "Data": a 32-bit length, then a BMP file.
  void ReadData(TStream& Stream) override;
  void WriteData(TStream& Stream) override;

 protected:
  void Draw(TCanvas& ACanvas, const TRect& Rect) override;

 private:
  friend class TBitmapCanvas;

  struct TImage {
    HBITMAP Handle = nullptr;
    bool Owned = true;
    uint8_t* Bits = nullptr;  // DIB sections only
    int Stride = 0;           // bytes per row of a DIB
    bool TopDown = false;     // only adopted DIBs can be top-down
  };

  void HandleNeeded();
  // A blank (white) image; raises EOutOfResources when it cannot be made.
  static TImage MakeImage(TBitmapHandleType type, TPixelFormat format,
                          const std::vector<RGBQUAD>& colors, int w, int h);
  TImage NewImage(int w, int h) const { return MakeImage(handleType_, format_, colors_, w, h); }
  // A packed DIB (fileHeader false: resources) or a BMP file.
  void ReadDib(TStream& Stream, bool fileHeader);
  // Puts img in place (selecting it into a live canvas DC) and frees the
  // old image.
  void Replace(TImage img, int w, int h);
  static void FreeImage(TImage& img);
  static uint8_t* RowPtr(const TImage& img, int y, int h);
  // Every pixel of the current image as BGRA, rows top to bottom.
  std::vector<uint32_t> ReadPixels();
  void WritePixels(TImage& img, int w, int h, const std::vector<uint32_t>& px);
  void Resize(int w, int h);
  void ConvertTo(TBitmapHandleType type, TPixelFormat format);
  // order: 1 top-down, 0 bottom-up, -1 unknown (read from the header,
  // probed where the header may not say).
  void TakeHandle(HBITMAP h, bool owned, int order = -1);
  void FreeContext();
  // The canvas's DC while it holds the bitmap, else null.
  HDC CanvasDC() const;
  void ApplyColorsToDib();
  void CopyImageFrom(TBitmap& src);

  int width_ = 0;
  int height_ = 0;
  TBitmapHandleType handleType_ = bmDDB;
  TPixelFormat format_ = pfDevice;  // pfDevice for a device bitmap
  TImage image_;
  std::vector<RGBQUAD> colors_;  // the colour table of palette formats
  TOwnedPalette palette_;
  TBitmapCanvas* canvas_ = nullptr;
  TColor transparentColor_ = clDefault;
};
