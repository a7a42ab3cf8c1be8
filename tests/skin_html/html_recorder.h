// A seam with fixed metrics that records every run it is asked to draw:
// 6 px per character at 8 pt (scaled by size / 8), one more per character
// when bold; a line is twice the point size high.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "skin/controls/html_text.h"

struct RecordedRun {
  int X, Y;
  std::string Text;
  TFontStyles Style;
  TColor Color;
  int Size;
  std::string Face;
};

class RecorderSeam : public THtmlTextSeam {
 public:
  static int CharWidth(TFont& Font) {
    return 6 * Font.Size() / 8 + ((Font.Style() & fsBold) ? 1 : 0);
  }
  TSize TextSize(TFont& Font, const std::string& Text) override {
    ++Measures;
    if (ThrowOnMeasure) throw std::runtime_error("measure failed");
    return TSize(CharWidth(Font) * static_cast<int>(Text.size()), 2 * Font.Size());
  }
  void DrawRun(TFont& Font, const std::string& Text, const TRect& Rect) override {
    ++Draws;
    Runs.push_back(
        {Rect.Left, Rect.Top, Text, Font.Style(), Font.Color(), Font.Size(), Font.Name()});
  }

  std::vector<RecordedRun> Runs;
  long long Measures = 0, Draws = 0;
  bool ThrowOnMeasure = false;
};

struct Layout {
  std::vector<RecordedRun> Runs;
  TvlLinks Links;
  TRect Size;
  long long Measures = 0, Draws = 0;
  THtmlFontData EndFont;
};

inline void ResetFont(TFont& Font) {
  Font.SetPixelsPerInch(96);
  Font.SetName("Start");
  Font.SetSize(8);
  Font.SetStyle(0);
  Font.SetColor(0x000000);
}

// One Init and one Render of Text in Rect through a fresh recorder.
inline Layout LayOut(const std::string& Text, const TRect& Rect, bool Measure = false,
                     int Pressed = -1, int Hot = -1) {
  RecorderSeam seam;
  Layout out;
  TFont font;
  ResetFont(font);
  TsHtml html;
  html.Init(&seam, &font, Text, Rect, Pressed, Hot);
  html.Render(out.Links, Measure, out.Size);
  out.Runs = seam.Runs;
  out.Measures = seam.Measures;
  out.Draws = seam.Draws;
  out.EndFont = THtmlFontData::From(font);
  return out;
}
