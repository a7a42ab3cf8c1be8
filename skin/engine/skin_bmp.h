// A skin's BMP files. The common form (uncompressed, 24 bits per pixel) is
// read in blocks of rows straight into a 32-bit work bitmap, with no whole-
// file buffer and no 24-bit detour; every other form goes to the general
// BMP reader.
#pragma once

#include <string>

class TBitmap;

// Bitmap becomes the file's image as a 32-bit DIB: alpha 255, except the
// key colour, which stays a hole (0x00FF00FF); a 32-bit file keeps its own
// alpha. Raises when the file cannot be opened or does not decode.
void LoadBmpFileArgb(const std::string& Path, TBitmap* Bitmap);
