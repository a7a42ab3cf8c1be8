#include "skin/foundation/text_paint.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>

#include "skin/foundation/colour_math.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/skin_records.h"
#include "widgets/graphics/graphics.h"

namespace {

int TextLength(const char* text) {
  return static_cast<int>(std::min<size_t>(std::strlen(text), INT_MAX));
}

// Contours in the order left, top, right, bottom, each one pixel off.
template <typename ToRgb>
void DrawContours(TCanvas* canvas, const char* text, const RECT& rect, UINT format,
                  const TsGenState& st, ToRgb toRgb) {
  for (const TextContour& c : StateContours(st)) {
    if (c.Color == -1) continue;
    SetTextColor(canvas->Handle(), toRgb(c.Color));
    RECT r = MovedRect(rect, c);
    CanvasDrawText(canvas, text, r, format);
  }
}

// The font style as it was when the scope began; set back at its end, after
// the DC has its old state, so the changed font is out of the DC before it is
// deleted.
class FontStyleScope {
 public:
  explicit FontStyleScope(TFont* font) : font_(font), style_(font->Style()) {}
  FontStyleScope(const FontStyleScope&) = delete;
  FontStyleScope& operator=(const FontStyleScope&) = delete;
  ~FontStyleScope() { font_->SetStyle(style_); }

 private:
  TFont* font_;
  TFontStyles style_;
};

// SaveDC for the scope. At its end the DC's text colour follows the canvas's
// font colour again: a colour set through the font in between stays the
// canvas's colour, and the canvas believes its font already applied.
class CanvasDCScope {
 public:
  CanvasDCScope(TCanvas* canvas, HDC dc) : canvas_(canvas), dc_(dc) { saved_.emplace(dc); }
  CanvasDCScope(const CanvasDCScope&) = delete;
  CanvasDCScope& operator=(const CanvasDCScope&) = delete;
  ~CanvasDCScope() {
    saved_.reset();
    SetTextColor(dc_, ColorToRGB(canvas_->Font()->Color()));
  }
  // Back to the saved state, and saved again.
  void Renew() {
    saved_.reset();
    saved_.emplace(dc_);
  }

 private:
  TCanvas* canvas_;
  HDC dc_;
  std::optional<TSavedDC> saved_;
};

// A glow cache made for one caption only.
struct GlowCacheOwner {
  TBitmap* Bitmap = nullptr;
  GlowCacheOwner() = default;
  GlowCacheOwner(const GlowCacheOwner&) = delete;
  GlowCacheOwner& operator=(const GlowCacheOwner&) = delete;
  ~GlowCacheOwner() { delete Bitmap; }
};

}  // namespace

std::array<TextContour, 4> StateContours(const TsGenState& state) {
  return {{{state.ContourLeft, -1, 0},
           {state.ContourTop, 0, -1},
           {state.ContourRight, 1, 0},
           {state.ContourBottom, 0, 1}}};
}

int DrawTextCapped(HDC dc, const std::string& text, RECT& rect, UINT format) {
  const int len = static_cast<int>(std::min<size_t>(text.size(), kMaxDrawTextChars));
  return DrawTextA(dc, text.c_str(), len, &rect, format);
}

int CanvasDrawText(TCanvas* canvas, const char* text, RECT& rect, UINT format) {
  if (canvas == nullptr || text == nullptr) return 0;
  return DrawTextA(canvas->Handle(), text, TextLength(text), &rect, format);
}

void DrawSectionText(TCanvas* canvas, const char* text, bool enabled, RECT rect, UINT format,
                     int sectionIndex, int state, const SkinSource* source) {
  if (canvas == nullptr || text == nullptr) return;
  if (source == nullptr) source = DefaultSkinSource();
  SetBkMode(canvas->Handle(), TRANSPARENT);
  if (source == nullptr || !source->ValidSection(sectionIndex)) {
    CanvasDrawText(canvas, text, rect, format);
    return;
  }
  const TsGeneralData& section = source->Section(sectionIndex);
  if (!enabled) {
    const TsGenState& normal = section.Props[0];
    canvas->Font()->SetColor(static_cast<TColor>(
        MixTwoColors(uint32_t(normal.FontColor), uint32_t(normal.Color), DisabledBlendLevel)));
    CanvasDrawText(canvas, text, rect, format);
    return;
  }
  const TsGenState& st = section.Props[ClipSectionState(section, state)];
  auto toRgb = [](SkinColor c) { return ColorToRGB(static_cast<TColor>(c)); };
  DrawContours(canvas, text, rect, format, st, toRgb);
  SetTextColor(canvas->Handle(), toRgb(st.FontColor));
  CanvasDrawText(canvas, text, rect, format);
  // The canvas believes its font colour is in the DC.
  SetTextColor(canvas->Handle(), ColorToRGB(canvas->Font()->Color()));
}

void DrawControlText(TCanvas* canvas, const char* text, bool enabled, RECT rect, UINT format,
                     const ControlTextParams& control, int state) {
  if (canvas == nullptr || text == nullptr) return;
  TFont* font = canvas->Font();
  FontStyleScope styleScope(font);
  if (state != 0 && control.SkinIndex >= 0 && control.SkinIndex == control.WebButtonIndex)
    font->SetStyle(font->Style() | fsUnderline);
  canvas->Brush()->SetStyle(bsClear);
  // The tools go into the DC first, so the saved state is the canvas's own.
  HDC dc = canvas->Handle();
  CanvasDCScope dcScope(canvas, dc);

  if (!control.Skinned || control.CustomFont) {
    if (enabled) {
      CanvasDrawText(canvas, text, rect, format);
      return;
    }
    RECT raised = MakeRECT(rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1);
    SetTextColor(canvas->Handle(), ColorToRGB(clBtnHighlight));
    CanvasDrawText(canvas, text, raised, format);
    SetTextColor(canvas->Handle(), ColorToRGB(clBtnShadow));
    CanvasDrawText(canvas, text, rect, format);
    return;
  }

  const SkinSource* source = control.Source ? control.Source : DefaultSkinSource();
  if (source == nullptr || !source->ValidSection(control.TextSection)) {
    CanvasDrawText(canvas, text, rect, format);
    return;
  }
  const TsGeneralData& section = source->Section(control.TextSection);
  const TsGenState& st = section.Props[ClipSectionState(section, state)];
  auto toned = [&control](SkinColor c) {
    return ControlToneColor(uint32_t(c), control.ColorTone, control.HueOffset, control.Saturation);
  };

  if (control.CacheBitmap != nullptr && st.TextGlowSize != 0) {
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    GlowCacheOwner glow;
    DrawTextGlow(control.CacheBitmap, text, rect, format, kGlowAllSides, st.TextGlowSize,
                 toned(st.TextGlowColor), glow.Bitmap);
    dcScope.Renew();
  }

  if (!enabled) {
    font->SetColor(static_cast<TColor>(toned(st.FontColor)));
    CanvasDrawText(canvas, text, rect, format);
    return;
  }
  DrawContours(canvas, text, rect, format, st, toned);
  SetTextColor(canvas->Handle(), toned(st.FontColor));
  CanvasDrawText(canvas, text, rect, format | DT_NOCLIP);
}

void ShortenTextToWidth(TCanvas* canvas, const std::string& text, int maxWidth,
                        std::string& result) {
  result = maxWidth < 1 ? std::string() : text;
  if (result.empty() || CanvasTextWidth(canvas, result) <= maxWidth) return;
  do {
    if (CanvasTextWidth(canvas, result + "...") <= maxWidth) break;
    result.pop_back();
  } while (!result.empty());
  if (!result.empty()) result += "...";
}

void MeasureTextSize(HFONT font, const std::string& text, UINT format, bool wordWrap, int maxWidth,
                     SIZE& size) {
  TWindowDC screen(nullptr);
  TSelectedObject selection(screen.Get(), font);
  if (wordWrap) {
    RECT r = MakeRECT(0, 0, maxWidth, 0);
    DrawTextCapped(screen.Get(), text, r, format | DT_CALCRECT);
    size.cx = r.right - r.left;
    size.cy = r.bottom - r.top;
    return;
  }
  if (!GetTextExtentPoint32A(screen.Get(), text.c_str(), static_cast<int>(text.size()), &size))
    size = SIZE{0, 0};
}

int CanvasTextWidth(TCanvas* canvas, const std::string& text) {
  return canvas->TextExtent(text).cx;
}

int CanvasTextHeight(TCanvas* canvas, const std::string& text) {
  return canvas->TextExtent(text).cy;
}

void CanvasTextExtent(TCanvas* canvas, const std::string& text, SIZE& size) {
  size = canvas->TextExtent(text);
}

void CanvasTextRect(TCanvas* canvas, RECT rect, int x, int y, const std::string& text) {
  canvas->TextRect(TRect(rect), x, y, text);
}

void DCTextExtent(HDC dc, const std::string& text, SIZE& size) {
  if (!GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size))
    size = SIZE{0, 0};
}

TRotatedFont::TRotatedFont(HDC dc, TFont* font, int angle) : dc_(dc) {
  LOGFONTA lf{};
  lf.lfHeight = font->Height();
  lf.lfEscapement = angle;
  lf.lfOrientation = angle;
  const TFontStyles style = font->Style();
  lf.lfWeight = (style & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (style & fsItalic) != 0;
  lf.lfUnderline = (style & fsUnderline) != 0;
  lf.lfStrikeOut = (style & fsStrikeOut) != 0;
  lf.lfCharSet = static_cast<BYTE>(font->Charset());
  // That face has no outlines, so it cannot be turned.
  const std::string face = font->Name() == "MS Sans Serif" ? "Arial" : font->Name();
  std::strncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  font_.Reset(CreateFontIndirectA(&lf));
  if (font_) previous_ = SelectObject(dc, font_.Get());
  SetTextColor(dc, ColorToRGB(font->Color()));
}

TRotatedFont::~TRotatedFont() {
  if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
}

bool FontsEqual(TFont* a, TFont* b) {
  if (a == b) return true;
  if (a == nullptr || b == nullptr) return false;
  return a->Style() == b->Style() && a->Size() == b->Size() && a->Color() == b->Color() &&
         a->Name() == b->Name();
}
