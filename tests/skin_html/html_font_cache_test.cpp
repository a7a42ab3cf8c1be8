// The canvas binding keeps fonts of its own and selects them straight into
// the canvas's DC, or into one kept image for the alpha text painter. Its result must be the one
// the canvas itself gives when every measure and run goes through TextExtent and TextOut, and the
// canvas must get its DC back holding the font it believes selected.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "skin/controls/html_text.h"
#include "skin/foundation/bitmap_painters.h"
#include "widgets/graphics/canvas.h"

namespace {

// The plain road: the canvas measures and draws in its own font, which the
// tags change; with Alpha each run goes to the alpha text painter on its own.
class CanvasRoad : public THtmlTextSeam {
 public:
  CanvasRoad(TBitmap& Bitmap, bool Alpha) : bitmap_(Bitmap), alpha_(Alpha) {}
  TSize TextSize(TFont&, const std::string& Text) override {
    return bitmap_.Canvas()->TextExtent(Text);
  }
  void DrawRun(TFont& Font, const std::string& Text, const TRect& Rect) override {
    if (alpha_) {
      DrawTextArgb(&bitmap_, Text, true, Rect, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP,
                   Font.Color(), false);
      return;
    }
    bitmap_.Canvas()->Brush()->SetStyle(bsClear);
    bitmap_.Canvas()->TextOut(Rect.Left, Rect.Top, Text);
  }

 private:
  TBitmap& bitmap_;
  bool alpha_;
};

struct Drawn {
  std::vector<uint32_t> Pixels;
  TvlLinks Links;
  TRect Measured, Painted;
};

void Prepare(TBitmap& Bitmap) {
  Bitmap.SetPixelFormat(pf32bit);
  Bitmap.SetSize(220, 160);
  for (int y = 0; y < Bitmap.Height(); ++y)
    std::memset(Bitmap.ScanLine(y), 0, static_cast<size_t>(Bitmap.Width()) * 4);
  TFont* font = Bitmap.Canvas()->Font();
  font->SetName("Tahoma");
  font->SetSize(9);
  font->SetColor(0xFFFFFF);
}

Drawn Finish(TBitmap& Bitmap, TsHtml& Html) {
  Drawn out;
  Html.Render(out.Links, true, out.Measured);
  Html.PenX = Html.PenY = 0;
  Html.Render(out.Links, false, out.Painted);
  for (int y = 0; y < Bitmap.Height(); ++y) {
    const auto* row = static_cast<const uint32_t*>(Bitmap.ScanLine(y));
    out.Pixels.insert(out.Pixels.end(), row, row + Bitmap.Width());
  }
  return out;
}

std::string ManySizes() {
  // More distinct fonts than the binding keeps at once.
  std::string s;
  for (int size = 6; size < 30; ++size)
    s += "<FONT SIZE=" + std::to_string(size) + ">w" + std::to_string(size) + "</FONT> ";
  return s + "<B>end</B>";
}

struct Case {
  const char* Name;
  std::string Markup;
  int Right;
  int Hot;
};

TEST(HtmlFontCache, CanvasBindingDrawsWhatTheCanvasDraws) {
  const std::vector<Case> cases = {
      {"styles and colours",
       "plain <B>bold</B> <I>it<U>alic under</U></I> <FONT COLOR=#00FF00 SIZE=+3>big "
       "green</FONT> back &amp; &copy; end",
       0, -1},
      {"wrapped with a hot link",
       "one two <A HREF='x'>three four</A> five <FONT FACE=\"Courier New\">six seven</FONT> "
       "eight<BR>nine <B>ten eleven twelve</B>",
       90, 0},
      {"more fonts than are kept", ManySizes(), 200, -1},
      {"line ends and an over-wide word", "ab\ncd\r\nefghijklmnopqrstuvwxyz <I>x</I>", 40, -1},
  };
  for (const Case& c : cases)
    for (bool alpha : {false, true}) {
      SCOPED_TRACE(std::string(c.Name) + (alpha ? ", alpha" : ""));
      TBitmap viaBinding, viaCanvas;
      Prepare(viaBinding);
      Prepare(viaCanvas);
      TsHtml bound;
      bound.Init(&viaBinding, c.Markup, TRect(0, 0, c.Right, 0), -1, c.Hot);
      bound.AlphaText = alpha;
      const Drawn got = Finish(viaBinding, bound);
      CanvasRoad road(viaCanvas, alpha);
      TsHtml plain;
      plain.Init(&road, viaCanvas.Canvas()->Font(), c.Markup, TRect(0, 0, c.Right, 0), -1, c.Hot);
      plain.AlphaText = alpha;
      const Drawn want = Finish(viaCanvas, plain);

      EXPECT_EQ(got.Measured, want.Measured);
      EXPECT_EQ(got.Painted, want.Painted);
      ASSERT_EQ(got.Links.size(), want.Links.size());
      for (size_t k = 0; k < got.Links.size(); ++k) {
        EXPECT_EQ(got.Links[k].Href, want.Links[k].Href);
        EXPECT_EQ(got.Links[k].EndX, want.Links[k].EndX);
      }
      size_t differing = 0, inked = 0;
      for (size_t k = 0; k < got.Pixels.size(); ++k) {
        if (got.Pixels[k] != want.Pixels[k]) ++differing;
        if ((want.Pixels[k] & 0xFFFFFF) != 0) ++inked;
      }
      EXPECT_GT(inked, 0u);
      EXPECT_EQ(differing, 0u);
      // The tags' last font stays the canvas's, as on the plain road.
      EXPECT_TRUE(viaBinding.Canvas()->Font()->Equals(*viaCanvas.Canvas()->Font()));
    }
}

// Whatever the markup left, the canvas's DC holds the canvas's own font once
// the painter is gone, and the canvas's text colour is its font's.
TEST(HtmlFontCache, CanvasGetsItsFontBack) {
  for (const char* markup : {"plain only", "<B>ends bold", "<FONT SIZE=20>a</FONT>b", "<B>x</B>"}) {
    SCOPED_TRACE(markup);
    TBitmap bitmap;
    Prepare(bitmap);
    // The canvas has its tools selected before the painter starts.
    HDC dc = bitmap.Canvas()->Handle();
    {
      TsHtml html;
      html.Init(&bitmap, markup, TRect(0, 0, 0, 0), -1, -1);
      TvlLinks links;
      TRect size;
      html.Render(links, true, size);
      html.Render(links, false, size);
    }
    ASSERT_EQ(bitmap.Canvas()->Handle(), dc);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), bitmap.Canvas()->Font()->Handle());
    EXPECT_EQ(GetTextColor(dc), ColorToRGB(bitmap.Canvas()->Font()->Color()));
  }
}

}  // namespace
