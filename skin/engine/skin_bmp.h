// A skin's BMP files. The common form (uncompressed, 24 bits per pixel) is
// read in one block into the end of the 32-bit bitmap's own memory and
// widened there, with no second buffer and no 24-bit detour; every other
// form goes to the general BMP reader.
#pragma once

#include <cstdint>
#include <string>

class TBitmap;
class TStream;

// Bitmap becomes the file's image as a 32-bit DIB: alpha 255, except the
// key colour, which stays a hole (0x00FF00FF); a 32-bit file keeps its own
// alpha. Raises when the file cannot be opened or does not decode.
void LoadBmpFileArgb(const std::string& Path, TBitmap* Bitmap);
// The same for BMP bytes held in a stream (a file unpacked from an archive),
// read from its start.
void LoadBmpStreamArgb(TStream& File, TBitmap* Bitmap);

// Bitmap becomes Width x Height pixels from top-down BGR rows of Width * 3
// bytes (a decoded JPEG), by the same rule: a 32-bit DIB, alpha 255, the
// key colour a hole.
void SetBgrPixelsArgb(const uint8_t* Bgr, int Width, int Height, TBitmap* Bitmap);

// Takes the pixels of a plain 32-bit DIB that is about to be freed (the
// previous skin's master) for the next file of the same size and layout,
// which overwrites every pixel; Bitmap is left without an image. Anything
// else is left alone. One such DIB is kept at a time.
void KeepSpareArgbPixels(TBitmap* Bitmap);
void FreeSpareArgbPixels();
