// The pictures the skin controls embed for their start-up steps: the default
// hint bubble, the five combo-edit button glyphs and the colour picker's
// pipette cursor. They are drawn here, in integer steps, so the committed
// files can be made again byte for byte (make_startup_images.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace startup_images {

// A top-down picture of 0xAARRGGBB words, not premultiplied.
struct Picture {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
  Picture(int width, int height) : Width(width), Height(height), Pixels(size_t(width) * height) {}
  uint32_t At(int x, int y) const { return Pixels[size_t(y) * Width + x]; }
  uint32_t& At(int x, int y) { return Pixels[size_t(y) * Width + x]; }
};

struct CursorPicture {
  Picture Image;
  int HotX;
  int HotY;
};

// The 27 x 27 bubble: a soft shadow around a rounded body inside the
// shadow sizes 6, 5, 7, 8 (left, top, right, bottom).
Picture HintBubble();
// The 48 x 24 glyph of one combo-edit button, 0..4 in the order of the
// resource names; two 24 x 24 frames side by side, normal and hot.
Picture ComboEditGlyph(int Index);
// The 32 x 32 pipette, its tip at the hot spot.
CursorPicture Pipette();

// A cursor file holding one 32-bit image with its AND mask.
std::vector<uint8_t> EncodeCursor(const CursorPicture& Cursor);
// An 8-bit RGBA PNG file.
std::vector<uint8_t> EncodePicture(const Picture& Image);

struct OutputFile {
  std::string Name;
  std::vector<uint8_t> Bytes;
};
// Every file the resource script embeds, by its name in images/.
std::vector<OutputFile> AllFiles();

}  // namespace startup_images
