// The image files the image-list tests store, written by the tests' own
// code: alpha PNGs through the project's PNG writer, a one-image .ico, a
// 32-bit BMP without alpha, and bytes that are no image at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/controls/alpha_image_list.h"

using Bytes = std::vector<uint8_t>;

// A Size x Size RGBA PNG: colour from the position, alpha 0 on every fourth
// diagonal, 255 on the left half and 128 on the right half elsewhere.
Bytes AlphaPng(int Size);
// The pixels the PNG decodes to, 0xAARRGGBB, row by row from the top.
std::vector<uint32_t> AlphaPngPixels(int Size);
// A 48 x 16 opaque RGBA PNG of three 16 x 16 frames, frame k all
// FrameColour(k) (0xRRGGBB).
Bytes FramesPng();
uint32_t FrameColour(int Frame);
// A .ico holding one 32-bit Size x Size image of AlphaPngPixels.
Bytes AlphaIco(int Size);
// A .ico holding one 32-bit 16 x 16 image without alpha (every alpha byte
// 0, an empty mask), coloured as EmptyAlphaBmp.
Bytes NoAlphaIco();
// A 32-bit BMP (16 x 16) whose alpha bytes are all 0; white where
// WhiteAt(x, y) (the bottom-left pixel among them), coloured elsewhere.
Bytes EmptyAlphaBmp();
bool WhiteAt(int X, int Y);
Bytes NotAnImage();

// Appends an item holding File in Format.
TsImgListItem* AddFile(TsAlphaImageList* List, const Bytes& File, TsImageFormat Format = ifPNG);
Bytes StreamBytes(TMemoryStream* Stream);

// The pixels of a 32-bit bitmap, row by row from the top.
std::vector<uint32_t> PixelsOf(TBitmap* Bitmap);
// The colour and mask of a platform list's image, 32-bit, row by row from
// the top; the mask word is 0xFFFFFF where the mask says transparent.
struct IconPixels {
  std::vector<uint32_t> Colour;
  std::vector<uint32_t> Mask;
  int Width = 0;
  int Height = 0;
};
IconPixels IconPixelsOf(HIMAGELIST List, int Index);
