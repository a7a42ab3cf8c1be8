#include "skin/engine/skin_image_values.h"

#include <algorithm>

#include "skin/engine/vl_utils.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/sysutils.h"

namespace {

// A fixed field: 1-based first column and width in characters.
struct Column {
  int Start;
  int Width;
};

// Columns of each fixed form.
constexpr Column RectColumns[4] = {{2, 4}, {7, 4}, {12, 4}, {17, 4}};
constexpr Column AtFrameCount{22, 1}, AtMaskCount{24, 1};
constexpr Column TexPaintMode{22, 2}, TexMaskCount{25, 1};
constexpr Column BorderColumns[4] = {{22, 4}, {27, 4}, {32, 4}, {37, 4}};
constexpr Column BoxFrameCount{42, 1}, BoxMaskCount{44, 1}, BoxPaintMode{46, 1},
    BoxUniformBorder{48, 1};
// A texture value reads its mask count from this length on and names a
// file (its 7th word) beyond TexFileLength characters.
constexpr size_t TexMaskLength = 25, TexFileLength = 26;
constexpr int MaxImageKind = 4;

// The characters that lie inside the value; a field cut short by the end
// of the value reads what is there and so fails unless it still is a number.
int Field(const std::string& Value, Column C) {
  const size_t start = static_cast<size_t>(C.Start - 1);
  const std::string text = start < Value.size() ? Value.substr(start, C.Width) : std::string();
  return StrToInt(text);
}

RECT ReadRect(const std::string& Value) {
  return RECT{Field(Value, RectColumns[0]), Field(Value, RectColumns[1]),
              Field(Value, RectColumns[2]), Field(Value, RectColumns[3])};
}

int WordInt(const std::string& Value, int N, const TCharSet& Separators) {
  return StrToIntDef(ExtractWord(N, Value, Separators), 0);
}

// Word values are unbounded: each must fit the 16-bit fields of an image
// record, and the frame and mask counts the sizes they divide.
constexpr int MaxWordValue = 9999;

void RequireDivisors(const TvlImageValue& v, const std::string& Value) {
  if (v.FrameCount < 1 || v.MaskCount < 0)
    throw EConvertError("The image value '" + Value + "' has no frames to cut");
  for (int field : {v.FrameCount, v.MaskCount, v.PaintMode, v.BorderLeft, v.BorderTop,
                    v.BorderRight, v.BorderBottom})
    if (field < -MaxWordValue || field > MaxWordValue)
      throw EConvertError("The image value '" + Value + "' holds a number out of range");
}

}  // namespace

TvlImageValue ParseImageValue(const std::string& Value) {
  TvlImageValue v;
  if (Value.empty()) return v;
  static const TCharSet bang = MakeCharSet("!");
  static const TCharSet tilde = MakeCharSet("~");
  switch (Value[0]) {
    case '@':
      v.Form = TvlImageForm::MasterRect;
      v.Rect = ReadRect(Value);
      v.FrameCount = Field(Value, AtFrameCount);
      v.MaskCount = Field(Value, AtMaskCount);
      v.ImageKind = 2;
      return v;
    case '~':
      v.Form = TvlImageForm::Texture;
      v.Rect = ReadRect(Value);
      v.PaintMode = Field(Value, TexPaintMode);
      v.MaskCount = Value.size() >= TexMaskLength ? Field(Value, TexMaskCount) : 0;
      v.ImageKind = 1;
      if (Value.size() > TexFileLength) v.FileName = ExtractWord(7, Value, tilde);
      return v;
    case '^':
      v.Form = TvlImageForm::Bordered;
      v.Rect = ReadRect(Value);
      v.BorderLeft = Field(Value, BorderColumns[0]);
      v.BorderTop = Field(Value, BorderColumns[1]);
      v.BorderRight = Field(Value, BorderColumns[2]);
      v.BorderBottom = Field(Value, BorderColumns[3]);
      v.FrameCount = Field(Value, BoxFrameCount);
      v.MaskCount = Field(Value, BoxMaskCount);
      v.PaintMode = Field(Value, BoxPaintMode);
      v.UniformBorder = Field(Value, BoxUniformBorder);
      v.ImageKind = std::clamp(WordInt(Value, 4, bang), 0, MaxImageKind);
      RequireDivisors(v, Value);
      return v;
    case '!':
      v.Form = TvlImageForm::FileWords;
      v.WordCount = WordCount(Value, bang);
      v.FileName = ExtractWord(1, Value, bang);
      v.FrameCount = WordInt(Value, 2, bang);
      v.MaskCount = WordInt(Value, 3, bang);
      v.ImageKind = std::clamp(WordInt(Value, 4, bang), 0, MaxImageKind);
      v.BorderLeft = WordInt(Value, 5, bang);
      v.BorderTop = WordInt(Value, 6, bang);
      v.BorderRight = WordInt(Value, 7, bang);
      v.BorderBottom = WordInt(Value, 8, bang);
      v.PaintMode = v.WordCount >= 9 ? WordInt(Value, 9, bang) : 0;
      RequireDivisors(v, Value);
      return v;
    default:
      if (Value.find(".JPG") != std::string::npos || Value.find(".BMP") != std::string::npos) {
        v.Form = TvlImageForm::PlainFile;
        v.FileName = Value;
        v.ImageKind = 1;
      }
      return v;
  }
}
