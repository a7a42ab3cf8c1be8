// The canvas binding: a measuring pass leaves the bitmap untouched, also for
// entities, and the drawing pass inks it, with TextOut or with the alpha
// text painter.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "html_recorder.h"
#include "widgets/graphics/canvas.h"

namespace {

std::vector<uint32_t> Pixels(TBitmap& bitmap) {
  std::vector<uint32_t> out;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const auto* row = static_cast<const uint32_t*>(bitmap.ScanLine(y));
    out.insert(out.end(), row, row + bitmap.Width());
  }
  return out;
}

void Clear(TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y)
    std::memset(bitmap.ScanLine(y), 0, static_cast<size_t>(bitmap.Width()) * 4);
}

TEST(HtmlCanvas, MeasuringLeavesPixelsAndDrawingInks) {
  for (bool alpha : {false, true}) {
    for (const char* markup : {"&amp;&copy;&euro;", "<B>Wm</B>&lt;"}) {
      SCOPED_TRACE(std::string(markup) + (alpha ? " alpha" : " plain"));
      TBitmap bitmap;
      bitmap.SetPixelFormat(pf32bit);
      bitmap.SetSize(120, 60);
      bitmap.Canvas()->Font()->SetSize(24);
      bitmap.Canvas()->Font()->SetColor(0xFFFFFF);
      Clear(bitmap);
      const std::vector<uint32_t> blank = Pixels(bitmap);
      TsHtml html;
      html.Init(&bitmap, markup, TRect(0, 0, 0, 0), -1, -1);
      html.AlphaText = alpha;
      TvlLinks links;
      TRect size;
      html.Render(links, true, size);
      EXPECT_GT(size.Right, 0);
      EXPECT_EQ(Pixels(bitmap), blank);
      html.PenX = html.PenY = 0;
      html.Render(links, false, size);
      const std::vector<uint32_t> drawn = Pixels(bitmap);
      size_t inked = 0, opaque = 0;
      for (uint32_t p : drawn) {
        if ((p & 0xFFFFFF) != 0) ++inked;
        if ((p >> 24) != 0) ++opaque;
      }
      EXPECT_GT(inked, 0u);
      // The alpha painter gives its glyphs alpha; TextOut leaves it alone.
      if (alpha) {
        EXPECT_GT(opaque, 0u);
      }
    }
  }
}

// With the alpha painter a run's box starts at the line's top instead of
// sitting on the line's bottom.
TEST(HtmlCanvas, AlphaRunsStartAtTheLineTop) {
  RecorderSeam seam;
  TFont font;
  ResetFont(font);
  TsHtml html;
  html.Init(&seam, &font, "a<FONT SIZE=16>b</FONT>c", TRect(0, 0, 0, 0), -1, -1);
  html.AlphaText = true;
  TvlLinks links;
  TRect size;
  html.Render(links, false, size);
  ASSERT_EQ(seam.Runs.size(), 3u);
  EXPECT_EQ(seam.Runs[2].X, 18);
  EXPECT_EQ(seam.Runs[2].Y, 0);
}

}  // namespace
