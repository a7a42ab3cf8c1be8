#include "tests/skin_imagelist/image_files.h"

#include <cstring>

#include "png_writer.h"
#include "skin/foundation/argb_bitmap.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/streams.h"

namespace {

PngDesc AlphaDesc(int Size) {
  PngDesc d;
  d.Width = static_cast<uint32_t>(Size);
  d.Height = static_cast<uint32_t>(Size);
  d.ColorType = 6;
  d.BitDepth = 8;
  for (int y = 0; y < Size; ++y)
    for (int x = 0; x < Size; ++x) {
      const uint16_t a = (x + y) % 4 == 0 ? 0 : (x < Size / 2 ? 255 : 128);
      d.Samples.insert(d.Samples.end(), {static_cast<uint16_t>(x * 255 / (Size - 1)),
                                         static_cast<uint16_t>(y * 255 / (Size - 1)),
                                         static_cast<uint16_t>((x * 7 + y * 3) % 256), a});
    }
  return d;
}

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void PutInfoHeader(Bytes& b, int Width, int Height) {
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(Width));
  Put32(b, static_cast<uint32_t>(Height));
  Put16(b, 1);
  Put16(b, 32);
  for (int i = 0; i < 6; ++i) Put32(b, 0);  // BI_RGB, size, resolutions, colours
}

}  // namespace

Bytes AlphaPng(int Size) {
  return EncodePng(AlphaDesc(Size));
}

std::vector<uint32_t> AlphaPngPixels(int Size) {
  return ExpectedArgb(AlphaDesc(Size));
}

uint32_t FrameColour(int Frame) {
  static const uint32_t colours[] = {0xC02010, 0x10C020, 0x2010C0};
  return colours[Frame];
}

Bytes FramesPng() {
  PngDesc d;
  d.Width = 48;
  d.Height = 16;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 48; ++x) {
      const uint32_t c = FrameColour(x / 16);
      d.Samples.insert(d.Samples.end(),
                       {static_cast<uint16_t>(c >> 16), static_cast<uint16_t>((c >> 8) & 0xFF),
                        static_cast<uint16_t>(c & 0xFF), 255});
    }
  return EncodePng(d);
}

namespace {

// The mask marks the pixels of alpha 0 when MaskFromAlpha, else none.
Bytes IcoOf(const std::vector<uint32_t>& px, int Size, bool MaskFromAlpha) {
  const int maskStride = ((Size + 31) / 32) * 4;
  Bytes image;
  PutInfoHeader(image, Size, 2 * Size);
  for (int y = Size - 1; y >= 0; --y)
    for (int x = 0; x < Size; ++x) Put32(image, px[static_cast<size_t>(y * Size + x)]);
  for (int y = Size - 1; y >= 0; --y) {
    Bytes row(static_cast<size_t>(maskStride), 0);
    for (int x = 0; x < Size; ++x)
      if (MaskFromAlpha && (px[static_cast<size_t>(y * Size + x)] >> 24) == 0)
        row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    image.insert(image.end(), row.begin(), row.end());
  }
  Bytes ico;
  Put16(ico, 0);
  Put16(ico, 1);  // icon
  Put16(ico, 1);  // one image
  ico.push_back(static_cast<uint8_t>(Size));
  ico.push_back(static_cast<uint8_t>(Size));
  ico.push_back(0);
  ico.push_back(0);
  Put16(ico, 1);
  Put16(ico, 32);
  Put32(ico, static_cast<uint32_t>(image.size()));
  Put32(ico, 22);
  ico.insert(ico.end(), image.begin(), image.end());
  return ico;
}

uint32_t BmpColour(int X, int Y) {
  return WhiteAt(X, Y) ? 0x00FFFFFFu : static_cast<uint32_t>((X * 16) << 16 | (Y * 16) << 8 | 0x40);
}

}  // namespace

Bytes AlphaIco(int Size) {
  return IcoOf(AlphaPngPixels(Size), Size, true);
}

Bytes NoAlphaIco() {
  std::vector<uint32_t> px;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) px.push_back(BmpColour(x, y));
  return IcoOf(px, 16, false);
}

bool WhiteAt(int X, int Y) {
  return (X == 0 && Y == 15) || X == Y || (X == 5 && Y == 2);
}

Bytes EmptyAlphaBmp() {
  const int size = 16;
  Bytes bmp;
  bmp.push_back('B');
  bmp.push_back('M');
  Put32(bmp, 14 + 40 + size * size * 4);
  Put32(bmp, 0);
  Put32(bmp, 14 + 40);
  PutInfoHeader(bmp, size, size);
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; ++x) Put32(bmp, BmpColour(x, y));
  return bmp;
}

Bytes NotAnImage() {
  const char text[] = "these bytes are no PNG file at all";
  return Bytes(text, text + sizeof text - 1);
}

TsImgListItem* AddFile(TsAlphaImageList* List, const Bytes& File, TsImageFormat Format) {
  TsImgListItem* item = List->Items()->Add();
  item->ImageFormat = Format;
  item->ImgData()->WriteBuffer(File.data(), static_cast<int32_t>(File.size()));
  return item;
}

Bytes StreamBytes(TMemoryStream* Stream) {
  const auto* p = static_cast<const uint8_t*>(Stream->Memory());
  return p ? Bytes(p, p + Stream->Size()) : Bytes();
}

std::vector<uint32_t> PixelsOf(TBitmap* Bitmap) {
  std::vector<uint32_t> out;
  const PixelView v = ArgbView(Bitmap);
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) out.push_back(v.At(x, y));
  return out;
}

namespace {

std::vector<uint32_t> DibPixels(HBITMAP Bitmap, int Width, int Height) {
  std::vector<uint32_t> px(static_cast<size_t>(Width * Height));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = Width;
  bi.bmiHeader.biHeight = -Height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  TWindowDC screen(nullptr);
  GetDIBits(screen.Get(), Bitmap, 0, static_cast<UINT>(Height), px.data(), &bi, DIB_RGB_COLORS);
  return px;
}

}  // namespace

IconPixels IconPixelsOf(HIMAGELIST List, int Index) {
  IconPixels r;
  ImageList_GetIconSize(List, &r.Width, &r.Height);
  TOwnedIcon icon(ImageList_GetIcon(List, Index, ILD_NORMAL));
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon.Get(), &info)) return r;
  TOwnedBitmap colour(info.hbmColor), mask(info.hbmMask);
  r.Colour = DibPixels(colour.Get(), r.Width, r.Height);
  r.Mask = DibPixels(mask.Get(), r.Width, r.Height);
  for (uint32_t& m : r.Mask) m &= 0xFFFFFF;
  return r;
}
