// Hostile markup: nothing crashes, no GDI object is left behind by the
// canvas binding, and the work stays proportional to the input (counted in
// seam calls, never timed).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "html_recorder.h"
#include "widgets/graphics/canvas.h"

namespace {

std::string Repeat(const std::string& s, size_t n) {
  std::string out;
  out.reserve(s.size() * n);
  for (size_t k = 0; k < n; ++k) out += s;
  return out;
}

std::string AllText(const Layout& l) {
  std::string text;
  for (const RecordedRun& r : l.Runs) text += r.Text;
  return text;
}

struct Hostile {
  const char* Name;
  std::function<std::string()> Markup;
  int Right;
  std::function<void(const Layout&)> Check;
};

const std::vector<Hostile>& Table() {
  static const std::vector<Hostile> table = {
      {"open tag at the end", [] { return std::string("ab<B"); }, 200,
       // The unclosed angle is dropped; the name prints.
       [](const Layout& l) { EXPECT_EQ(AllText(l), "abB"); }},
      {"closing A first", [] { return std::string("</A>x"); }, 200,
       [](const Layout& l) { EXPECT_TRUE(l.Links.empty()); }},
      {"a thousand FONT closers", [] { return Repeat("</FONT>", 1000) + "x"; }, 200,
       [](const Layout& l) {
         ASSERT_EQ(l.Runs.size(), 1u);
         EXPECT_EQ(l.Runs[0].Size, 8);
       }},
      {"20000 nested sizes", [] { return Repeat("<FONT SIZE=+1>", 20000) + "x"; }, 0,
       [](const Layout& l) {
         ASSERT_EQ(l.Runs.size(), 1u);
         EXPECT_EQ(l.Runs[0].Size, 500);
       }},
      {"huge sizes", [] { return std::string("<FONT SIZE=99999999999>a<FONT SIZE=-2147483648>b"); },
       200,
       [](const Layout& l) {
         ASSERT_EQ(l.Runs.size(), 2u);
         EXPECT_EQ(l.Runs[0].Size, 8);
         EXPECT_EQ(l.Runs[1].Size, 1);
       }},
      {"wide colour", [] { return std::string("<FONT COLOR=#FFFFFFFFFFFF>x"); }, 200,
       [](const Layout& l) {
         ASSERT_EQ(l.Runs.size(), 1u);
         EXPECT_EQ(l.Runs[0].Color, 0xFFFFFF);
       }},
      {"unterminated face", [] { return std::string("<FONT FACE=\"Abc SIZE=3>x"); }, 200,
       [](const Layout& l) {
         ASSERT_EQ(l.Runs.size(), 1u);
         EXPECT_EQ(l.Runs[0].Face, "Start");
       }},
      {"ampersand at the end", [] { return std::string("ab&"); }, 200,
       [](const Layout& l) { EXPECT_EQ(AllText(l), "ab&"); }},
      {"ampersand and 300 letters", [] { return "&" + std::string(300, 'q') + ";"; }, 0,
       [](const Layout& l) { EXPECT_EQ(AllText(l), "&" + std::string(300, 'q') + ";"); }},
      {"unknown entity", [] { return std::string("&nosuch;"); }, 200,
       [](const Layout& l) { EXPECT_EQ(AllText(l), "&nosuch;"); }},
      {"a megabyte of double angles", [] { return Repeat("<<", 512 * 1024); }, 0,
       [](const Layout& l) { EXPECT_EQ(AllText(l), std::string(512 * 1024, '<')); }},
      {"angles never closed", [] { return Repeat("<q", 100000); }, 0,
       [](const Layout& l) { EXPECT_EQ(AllText(l), std::string(100000, 'q')); }},
      {"unknown tags inside one tag", [] { return Repeat("<q", 100000) + ">"; }, 0,
       [](const Layout& l) { EXPECT_EQ(AllText(l), Repeat("<q", 100000) + ">"); }},
      {"a tag inside an unknown tag", [] { return std::string("<q<B>x"); }, 0,
       [](const Layout& l) {
         EXPECT_EQ(AllText(l), "<qx");
         EXPECT_EQ(l.Runs.back().Style, fsBold);
       }},
      {"100000-letter word in 50 px", [] { return "ab " + std::string(100000, 'w'); }, 50,
       [](const Layout& l) {
         ASSERT_EQ(l.Runs.size(), 2u);
         EXPECT_EQ(l.Runs[1].X, 0);
         EXPECT_EQ(l.Runs[1].Y, 0);
       }},
      {"100000 one-letter words in 1 px", [] { return Repeat("w ", 100000); }, 1,
       [](const Layout& l) {
         ASSERT_EQ(l.Runs.size(), 100000u);
         EXPECT_EQ(l.Runs.back().Y, 16 * 99999);
         EXPECT_EQ(l.Size.Bottom, 16 * 100001);
       }},
      {"NUL, bare LF and CR", [] { return std::string("a\0b\nc\rd\n", 8); }, 200,
       [](const Layout& l) { EXPECT_EQ(AllText(l), std::string("a\0bcd", 5)); }},
      {"high bytes in a tag",
       [] {
         std::string s = "<";
         for (int c = 0x80; c <= 0xFF; ++c) s += static_cast<char>(c);
         return s + ">";
       },
       0, [](const Layout& l) { EXPECT_EQ(AllText(l).size(), 130u); }},
      {"empty HREF", [] { return std::string("<A HREF=>x</A>"); }, 200,
       [](const Layout& l) {
         ASSERT_EQ(l.Links.size(), 1u);
         EXPECT_EQ(l.Links[0].Href, "");
       }},
      {"A never closed", [] { return std::string("<A HREF=u>x<A HREF=v>y"); }, 200,
       [](const Layout& l) {
         ASSERT_EQ(l.Links.size(), 2u);
         EXPECT_EQ(l.Links[1].StartX, 6);
       }},
  };
  return table;
}

TEST(HtmlHostile, RecorderStaysLinear) {
  for (const Hostile& h : Table()) {
    SCOPED_TRACE(h.Name);
    const std::string markup = h.Markup();
    for (bool measure : {true, false}) {
      Layout l = LayOut(markup, TRect(0, 0, h.Right, 0), measure);
      // A few seam calls per input byte at most, whatever the markup.
      EXPECT_LE(l.Measures + l.Draws, 3 * static_cast<long long>(markup.size()) + 16);
      if (measure) {
        EXPECT_EQ(l.Draws, 0);
      } else {
        h.Check(l);
      }
    }
  }
}

TEST(HtmlHostile, CanvasBindingLeavesNoGdiObjects) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(64, 64);
  for (const Hostile& h : Table()) {
    SCOPED_TRACE(h.Name);
    const std::string markup = h.Markup();
    bitmap.Canvas()->Font()->SetSize(8);
    bitmap.Canvas()->Handle();
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    {
      TsHtml html;
      html.Init(&bitmap, markup, TRect(0, 0, h.Right, 0), -1, -1);
      TvlLinks links;
      TRect size;
      html.Render(links, true, size);
      html.PenX = html.PenY = 0;
      html.Render(links, false, size);
    }
    // Back to the start font: the canvas holds one font whatever its size.
    bitmap.Canvas()->Font()->SetSize(8);
    bitmap.Canvas()->Handle();
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
  }
}

}  // namespace
