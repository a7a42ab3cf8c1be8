// Skinned text: captions in the colours of a section state (main colour,
// one-pixel contours, the disabled mix), a soft glow behind the text, the
// operations that measure and shorten text, and the rotated font of vertical
// captions. Every string reaches the platform through DrawTextA.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "skin/foundation/pixel_view.h"
#include "skin/foundation/skin_records.h"
#include "skin/foundation/skin_source.h"
#include "widgets/graphics/gdi_handles.h"

class TBitmap;
class TCanvas;
class TFont;

// The most characters one DrawTextA call is given.
constexpr int kMaxDrawTextChars = 5460;

// Glow sides: each set bit draws one more copy of the text, one pixel off.
constexpr uint8_t kGlowLeft = 1;
constexpr uint8_t kGlowUp = 2;
constexpr uint8_t kGlowRight = 4;
constexpr uint8_t kGlowDown = 8;
constexpr uint8_t kGlowAllSides = 15;

// The one-pixel contour copies of a state's text in drawing order (left,
// top, right, bottom): colour (-1 none) and offset.
struct TextContour {
  SkinColor Color;
  int Dx, Dy;
};
std::array<TextContour, 4> StateContours(const TsGenState& state);
inline RECT MovedRect(const RECT& r, const TextContour& c) {
  return MakeRECT(r.left + c.Dx, r.top + c.Dy, r.right + c.Dx, r.bottom + c.Dy);
}

// DrawTextA with at most kMaxDrawTextChars characters of text; rect takes
// DrawTextA's answer (DT_CALCRECT).
int DrawTextCapped(HDC dc, const std::string& text, RECT& rect, UINT format);
// DrawTextA on the canvas's handle with the whole text; nil draws nothing.
int CanvasDrawText(TCanvas* canvas, const char* text, RECT& rect, UINT format);

// Text in the colours of state `state` of a section: contours (left, top,
// right, bottom) first, then the font colour; disabled text mixes the
// state-0 font colour into the state-0 background colour. Without a skin or
// with an invalid section the canvas's own colours draw it. Nil text draws
// nothing; nil source reads the default skin.
void DrawSectionText(TCanvas* canvas, const char* text, bool enabled, RECT rect, UINT format,
                     int sectionIndex, int state, const SkinSource* source);

// What the text painter reads of a control's skin state.
struct ControlTextParams {
  const SkinSource* Source = nullptr;  // nil = the default skin
  bool Skinned = false;
  bool CustomFont = false;
  int SkinIndex = -1;
  // The section whose colours draw the text in the painted state: SkinIndex,
  // or the section the control reports for its see-through background.
  int TextSection = -1;
  int WebButtonIndex = -1;  // the skin's hovered-link section: underlined when not in state 0
  TBitmap* CacheBitmap = nullptr;  // the glow goes straight into it
  uint32_t ColorTone = kNoColor;
  int HueOffset = 0;
  int Saturation = 0;
};

// A control's caption: glow, contours and font colour through its tone, hue
// and saturation when it is skinned; plain or embossed (disabled) otherwise.
// The canvas's DC and font style are as before afterwards.
void DrawControlText(TCanvas* canvas, const char* text, bool enabled, RECT rect, UINT format,
                     const ControlTextParams& control, int state);

// A halo of `color` around the text, composed into a 32-bit bitmap. The 8-bit
// cache keeps the blurred text: one of the right size is used as it is, so a
// caller that keeps it drops it when text, font or size change.
void DrawTextGlow(TBitmap* bitmap, const std::string& text, RECT rect, UINT format, uint8_t sides,
                  int radius, uint32_t color, TBitmap*& cache);

// The separable blur of the glow: 33 single-precision weights for offsets
// -16..16, of which -HalfWidth..HalfWidth are in use.
struct GlowKernel {
  float Weights[33];
  int HalfWidth;
  float At(int offset) const { return Weights[offset + 16]; }
};
GlowKernel BuildGlowKernel(int radius);
// Blurs a line of bytes in place; edge bytes repeat.
void BlurByteLine(uint8_t* line, int count, const GlowKernel& kernel);
// Blurs an 8-bit DIB (rows, then columns); other bitmaps are left alone.
void BlurGray8(TBitmap* bitmap, int radius);

// Text shortened with "..." to fit maxWidth; empty when not one character fits.
void ShortenTextToWidth(TCanvas* canvas, const std::string& text, int maxWidth,
                        std::string& result);
// Size of the text in a font on the screen: wrapped into maxWidth, or on one line.
void MeasureTextSize(HFONT font, const std::string& text, UINT format, bool wordWrap, int maxWidth,
                     SIZE& size);
int CanvasTextWidth(TCanvas* canvas, const std::string& text);
int CanvasTextHeight(TCanvas* canvas, const std::string& text);
void CanvasTextExtent(TCanvas* canvas, const std::string& text, SIZE& size);
void CanvasTextRect(TCanvas* canvas, RECT rect, int x, int y, const std::string& text);
void DCTextExtent(HDC dc, const std::string& text, SIZE& size);

// A font rotated by `angle` tenths of a degree, selected into a DC for a
// scope, with the DC's text colour set to the font's. The DC gets its
// previous font back before the rotated one is deleted, so no selection
// outlives its font and no font is leaked.
class TRotatedFont {
 public:
  TRotatedFont(HDC dc, TFont* font, int angle);
  TRotatedFont(const TRotatedFont&) = delete;
  TRotatedFont& operator=(const TRotatedFont&) = delete;
  ~TRotatedFont();

  HGDIOBJ PreviousFont() const { return previous_; }
  HFONT Font() const { return font_.Get(); }

 private:
  HDC dc_;
  TOwnedFont font_;
  HGDIOBJ previous_ = nullptr;
};

[[nodiscard]] inline TRotatedFont SelectRotatedFont(HDC dc, TFont* font, int angle) {
  return TRotatedFont(dc, font, angle);
}

// Same style, size, colour and (case-sensitive) name.
bool FontsEqual(TFont* a, TFont* b);
