// The image values of a skin description: an at-sign, '~' or '^' value cuts
// a rectangle of the master bitmap with fixed-width number columns; a '!'
// value names an image file with '!'-separated words; a value naming a
// ".JPG" or ".BMP" file is a texture file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

enum class TvlImageForm : uint8_t { None, MasterRect, Texture, Bordered, FileWords, PlainFile };

struct TvlImageValue {
  TvlImageForm Form = TvlImageForm::None;
  RECT Rect{0, 0, 0, 0};
  int FrameCount = 1;
  int MaskCount = 0;
  int PaintMode = 0;
  int ImageKind = 0;
  int UniformBorder = 0;
  int BorderLeft = 0, BorderTop = 0, BorderRight = 0, BorderBottom = 0;
  int WordCount = 0;     // '!' values: words including the file name
  std::string FileName;  // texture file, '!' file or plain file; may be empty
};

// Value is already upper-cased. A fixed-width field that is not a number
// raises EConvertError; a '^' or '!' value whose frame count is below 1 or
// whose mask count is negative raises EConvertError too, since the frame
// and border sizes are divided by them, as does a '!' word beyond 9999.
TvlImageValue ParseImageValue(const std::string& Value);
