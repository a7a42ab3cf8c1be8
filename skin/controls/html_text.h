// TsHtml: lays out and draws a caption written in a small tag markup (bold,
// italic, underline, font size/colour/face, line and paragraph breaks,
// character entities and links) inside a rectangle, or only measures it.
//
// All measuring and drawing goes through a two-call seam (the size of a text
// in the current font; draw a run in a rectangle). Init with a bitmap binds
// the seam to the bitmap's canvas (TextOut), or to DrawTextArgb when
// AlphaText is set; tests bind their own seam with fixed metrics.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/tools.h"
#include "widgets/rtl/sysutils.h"

class TsSkinManager;

struct TvlLink {
  int StartX = 0, StartY = 0, EndX = 0, EndY = 0;
  std::string Href;
};
using TvlLinks = std::vector<TvlLink>;

// The measuring and drawing the renderer needs; Font is the renderer's
// current font (tags change it between calls).
class THtmlTextSeam {
 public:
  virtual ~THtmlTextSeam() = default;
  virtual TSize TextSize(TFont& Font, const std::string& Text) = 0;
  // Rect is the run's box: its top-left is where the text starts.
  virtual void DrawRun(TFont& Font, const std::string& Text, const TRect& Rect) = 0;
  // After each Render's scan, also when it throws: what the seam held for
  // the pass (a DC) is given up.
  virtual void EndPass() {}
};

struct THtmlColorName {
  const char* Name;
  TColor Color;
};
extern const std::array<THtmlColorName, 16> HtmlColorNames;

struct THtmlEntity {
  const char* Name;
  const char* Number;
  char Character;
};
extern const std::array<THtmlEntity, 87> HtmlEntities;

// Windows-1252 upper case; every byte maps to one byte, so positions in the
// result are positions in the source.
std::string HtmlUpperCase(std::string_view Text);
// The link target of an A tag's raw text: what follows HREF and its '=',
// without quotes and '>'.
std::string CleanHref(std::string_view Tag);
// The font attributes a FONT or A tag saves; never a font handle, so a saved
// copy costs no GDI object.
struct THtmlFontData {
  std::string Name;
  int Height = 0;
  int PixelsPerInch = 96;
  TFontStyles Style = 0;
  TColor Color = 0;
  TFontCharset Charset = 0;
  TFontPitch Pitch = fpDefault;
  int Orientation = 0;

  bool operator==(const THtmlFontData&) const = default;
  static THtmlFontData From(const TFont& Font);
  void ApplyTo(TFont& Font) const;
};
// Applies the SIZE, COLOR and FACE attributes of an upper-cased FONT tag.
void ParseFontTag(TFont& Font, std::string_view Tag);

class TsHtml {
 public:
  TsHtml();
  ~TsHtml();
  TsHtml(const TsHtml&) = delete;
  TsHtml& operator=(const TsHtml&) = delete;

  // The bitmap's canvas font and colour are the start font.
  void Init(TBitmap* Bitmap, const std::string& Text, const TRect& Rect, int PressedLink,
            int HotLink);
  // Lays out with a caller's seam; Font is the start font and is changed by
  // the tags as the canvas font would be.
  void Init(THtmlTextSeam* Seam, TFont* Font, const std::string& Text, const TRect& Rect,
            int PressedLink, int HotLink);
  void Render(TvlLinks& OutLinks, bool Measure, TRect& Size);

  bool MeasureOnly = false;
  std::string SourceText;
  std::string UpperText;
  int TextLength = 0;
  int PenX = 0, PenY = 0;
  int MaxWidth = 0, MaxHeight = 0;
  int LineWidth = 0;
  int LineHeight = 0;
  TRect LayoutRect;
  TvlLinks Links;
  TBitmap* TargetBitmap = nullptr;
  int HotLinkIndex = -1, PressedLinkIndex = -1;
  std::vector<THtmlFontData> FontStack;
  TsSkinManager* Manager = nullptr;
  bool AlphaText = false;

 private:
  class CanvasSeam;
  void Scan();
  void FlushText(size_t End, size_t Start);
  void WrapWords(const std::string& Run, int SpaceWidth);
  void DrawRun(const std::string& Text, const TRect& Rect);
  void NewLine();
  bool ProcessTag(std::string_view Tag, size_t Pos, bool TailOfRejected);
  // The index after the entity's ';', or 0 when the text at Pos is none.
  size_t ParseEntity(size_t Pos);
  void PushFont(std::string_view Tag, bool IsLink, int State);
  void PopFont();
  TSize Measure(const std::string& Text);
  TColor LinkColor(int State) const;

  THtmlTextSeam* seam_ = nullptr;
  TFont* font_ = nullptr;
  THtmlFontData startFont_;
  int openLinks_ = 0;
  std::unique_ptr<CanvasSeam> canvasSeam_;
  // The pending run's bytes, kept so a flush does not allocate each time.
  std::string runBuffer_;
};
