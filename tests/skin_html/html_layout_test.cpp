// Markup to runs, links and size through the fixed-metric recorder: each
// case is laid out measuring and drawing, and both passes must agree.
#include <gtest/gtest.h>

#include "html_recorder.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/colour_math.h"

namespace {

constexpr TColor Black = 0x000000;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Red = 0x0000FF;

struct Run {
  int X, Y;
  std::string Text;
  TFontStyles Style = 0;
  TColor Color = Black;
};

struct Case {
  const char* Name;
  std::string Markup;
  int Right;  // LayoutRect.Right; 0 lays out without wrapping
  std::vector<Run> Runs;
  int Width, Height;
  std::vector<TvlLink> Links = {};
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"plain", "Hello", 0, {{0, 0, "Hello"}}, 30, 16},
      {"bold widens", "A<B>b</B>c", 0, {{0, 0, "A"}, {6, 0, "b", fsBold}, {13, 0, "c"}}, 19, 16},
      {"styles stack",
       "<I><U>x</I>y",
       0,
       {{0, 0, "x", fsItalic | fsUnderline}, {6, 0, "y", fsUnderline}},
       12,
       16},
      // The larger run raises the line; later runs sit on its bottom.
      {"runs share the bottom",
       "a<FONT SIZE=16>b</FONT>c",
       0,
       {{0, 0, "a"}, {6, 0, "b"}, {18, 16, "c"}},
       24,
       32},
      {"BR adds two", "ab<BR>cd", 0, {{0, 0, "ab"}, {0, 18, "cd"}}, 12, 34},
      {"P and BR/", "a<P>b<BR/>c", 0, {{0, 0, "a"}, {0, 18, "b"}, {0, 36, "c"}}, 6, 52},
      {"empty line takes X", "<BR>a", 0, {{0, 18, "a"}}, 6, 34},
      // A bare CR starts the next line but leaves the pen where it was.
      {"bare CR advances the line only", "ab\rcd", 0, {{0, 0, "ab"}, {12, 18, "cd"}}, 24, 34},
      {"CR LF breaks once", "ab\r\ncd", 0, {{0, 0, "ab"}, {0, 18, "cd"}}, 12, 34},
      // A bare LF only moves the pen back: the pending text overprints.
      {"LF overprints", "<B>ab</B>cd\nef", 0, {{0, 0, "ab", fsBold}, {0, 0, "cdef"}}, 38, 16},
      {"double angle", "a<<b", 0, {{0, 0, "a"}, {6, 0, "<b"}}, 18, 16},
      {"double ampersand", "a&&b", 0, {{0, 0, "a"}, {6, 0, "&b"}}, 18, 16},
      {"unknown tag prints", "<X>y", 0, {{0, 0, "<"}, {6, 0, "X>y"}}, 24, 16},
      {"unclosed angle dropped", "a<b", 0, {{0, 0, "a"}, {6, 0, "b"}}, 12, 16},
      {"closing BR closes bold", "<B>a</BR>b", 0, {{0, 0, "a", fsBold}, {7, 0, "b"}}, 13, 16},
      {"a name without more is no link", "<A>x", 0, {{0, 0, "<"}, {6, 0, "A>x"}}, 24, 16},
      {"TABLE opens a link", "<TABLE>t</A>", 0, {{0, 0, "t", 0, Blue}}, 6, 16, {{0, 0, 6, 16, ""}}},
      {"link",
       "go <A HREF='http://x.y/Z q'>here</A> now",
       0,
       {{0, 0, "go "}, {18, 0, "here", 0, Blue}, {42, 0, " now"}},
       66,
       16,
       {{18, 0, 42, 16, "http://x.y/Z q"}}},
      {"link rectangle takes the line height",
       "<A HREF=\"u\">a<BR>b</A>",
       0,
       {{0, 0, "a", 0, Blue}, {0, 18, "b", 0, Blue}},
       6,
       34,
       {{0, 0, 6, 16, "u"}}},
      {"closing A without a link",
       "</A>x<FONT COLOR=RED>y</A>z",
       0,
       {{0, 0, "x"}, {6, 0, "y", 0, Red}, {12, 0, "z", 0, Red}},
       18,
       16},
      {"second closing A changes nothing",
       "<FONT COLOR=RED><A HREF=u>x</A>y</A>z",
       0,
       {{0, 0, "x", 0, Blue}, {6, 0, "y", 0, Red}, {12, 0, "z", 0, Red}},
       18,
       16,
       {{0, 0, 6, 16, "u"}}},
      {"entity", "x&amp;y", 0, {{0, 0, "x"}, {6, 0, "&"}, {12, 0, "y"}}, 18, 16},
      {"apostrophe by number is no entity", "&#39;", 0, {{0, 0, "&#39;"}}, 30, 16},
      {"unknown entity prints", "&nosuch;", 0, {{0, 0, "&nosuch;"}}, 48, 16},
      // Wrapping: words one by one; a wrap adds the line height only.
      {"wrap", "aaaa bbbb cccc", 60, {{0, 0, "aaaa"}, {30, 0, "bbbb"}, {0, 16, "cccc"}}, 60, 32},
      {"wide word overprints its line",
       "ab cdefghij kl",
       30,
       {{0, 0, "ab"}, {0, 0, "cdefghij"}, {0, 16, "kl"}},
       48,
       32},
      {"fits without wrapping", "aa bb", 60, {{0, 0, "aa bb"}}, 30, 16},
      {"no right edge never wraps",
       "aaaa bbbb cccc dddd",
       0,
       {{0, 0, "aaaa bbbb cccc dddd"}},
       114,
       16},
      {"entity wraps with a paragraph gap",
       "abcdefghij&amp;",
       60,
       {{0, 0, "abcdefghij"}, {0, 18, "&"}},
       60,
       34},
  };
  return cases;
}

TEST(HtmlLayout, MarkupToRunsLinksAndSize) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.Name);
    const TRect rect(0, 0, c.Right, 0);
    Layout drawn = LayOut(c.Markup, rect);
    ASSERT_EQ(drawn.Runs.size(), c.Runs.size());
    for (size_t k = 0; k < c.Runs.size(); ++k) {
      SCOPED_TRACE(k);
      EXPECT_EQ(drawn.Runs[k].X, c.Runs[k].X);
      EXPECT_EQ(drawn.Runs[k].Y, c.Runs[k].Y);
      EXPECT_EQ(drawn.Runs[k].Text, c.Runs[k].Text);
      EXPECT_EQ(drawn.Runs[k].Style, c.Runs[k].Style);
      EXPECT_EQ(drawn.Runs[k].Color, c.Runs[k].Color);
    }
    EXPECT_EQ(drawn.Size, TRect(0, 0, c.Width, c.Height));
    ASSERT_EQ(drawn.Links.size(), c.Links.size());
    for (size_t k = 0; k < c.Links.size(); ++k) {
      EXPECT_EQ(drawn.Links[k].StartX, c.Links[k].StartX);
      EXPECT_EQ(drawn.Links[k].StartY, c.Links[k].StartY);
      EXPECT_EQ(drawn.Links[k].EndX, c.Links[k].EndX);
      EXPECT_EQ(drawn.Links[k].EndY, c.Links[k].EndY);
      EXPECT_EQ(drawn.Links[k].Href, c.Links[k].Href);
    }
    // The measuring pass draws nothing and finds the same size and links.
    Layout measured = LayOut(c.Markup, rect, true);
    EXPECT_EQ(measured.Draws, 0);
    EXPECT_EQ(measured.Size, drawn.Size);
    EXPECT_EQ(measured.Links.size(), drawn.Links.size());
  }
}

TEST(HtmlLayout, LayoutRectOffsetsEveryPosition) {
  Layout l = LayOut("ab<BR>c<A HREF=u>d</A>", TRect(10, 20, 0, 0));
  ASSERT_EQ(l.Runs.size(), 3u);
  EXPECT_EQ(l.Runs[0].X, 10);
  EXPECT_EQ(l.Runs[0].Y, 20);
  EXPECT_EQ(l.Runs[1].X, 10);
  EXPECT_EQ(l.Runs[1].Y, 38);
  ASSERT_EQ(l.Links.size(), 1u);
  EXPECT_EQ(l.Links[0].StartX, 16);
  EXPECT_EQ(l.Links[0].EndX, 22);
  // The height is where the last line ends, the width the widest line.
  EXPECT_EQ(l.Size, TRect(0, 0, 22, 54));
}

TEST(HtmlLayout, LinkColourFollowsHotAndPressed) {
  struct Row {
    int Pressed, Hot;
    TColor Color;
    TFontStyles Style;
  };
  const Row rows[] = {
      {-1, -1, Blue, 0},
      {-1, 1, Blue, fsUnderline},
      {1, 1, Red, fsUnderline},
      {1, -1, Blue, fsUnderline},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Pressed * 10 + r.Hot);
    Layout l =
        LayOut("<A HREF=a>0</A><A HREF=b>1</A>x", TRect(0, 0, 0, 0), false, r.Pressed, r.Hot);
    ASSERT_EQ(l.Runs.size(), 3u);
    EXPECT_EQ(l.Runs[0].Color, Blue);
    EXPECT_EQ(l.Runs[0].Style, 0);
    EXPECT_EQ(l.Runs[1].Color, r.Color);
    EXPECT_EQ(l.Runs[1].Style, r.Style);
    // Closing the link gives the font back.
    EXPECT_EQ(l.Runs[2].Color, Black);
    EXPECT_EQ(l.Runs[2].Style, 0);
  }
}

TEST(HtmlLayout, FontTagValues) {
  struct Row {
    const char* Markup;
    int Size;
    TColor Color;
    const char* Face;
  };
  const Row rows[] = {
      {"<FONT SIZE=12>x", 12, Black, "Start"},
      {"<FONT SIZE=+4>x", 12, Black, "Start"},
      {"<FONT SIZE=-2>x", 6, Black, "Start"},
      {"<FONT SIZE=big>x", 8, Black, "Start"},
      {"<FONT SIZE=99999999999>x", 8, Black, "Start"},
      {"<FONT SIZE=-2147483648>x", 1, Black, "Start"},
      {"<FONT SIZE=+99999999>x", 500, Black, "Start"},
      {"<FONT SIZE=0>x", 1, Black, "Start"},
      {"<FONT COLOR=#123456>x", 8, 0x563412, "Start"},
      {"<FONT COLOR=\"#FFFFFFFFFFFF\">x", 8, 0xFFFFFF, "Start"},
      {"<FONT COLOR=teal>x", 8, 0x808000, "Start"},
      {"<FONT COLOR=FF0080>x", 8, 0x8000FF, "Start"},
      {"<FONT COLOR=#zz>x", 8, 0x000000, "Start"},
      // The face keeps the tag's upper case.
      {"<FONT FACE=\"Courier New\" SIZE=10>x", 10, Black, "COURIER NEW"},
      {"<FONT FACE=\"Courier>x", 8, Black, "Start"},
      {"<FONT FACE=\"\">x", 8, Black, "Start"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Markup);
    Layout l = LayOut(r.Markup, TRect(0, 0, 0, 0));
    ASSERT_EQ(l.Runs.size(), 1u);
    EXPECT_EQ(l.Runs[0].Text, "x");
    EXPECT_EQ(l.Runs[0].Size, r.Size);
    EXPECT_EQ(l.Runs[0].Color, r.Color);
    EXPECT_EQ(l.Runs[0].Face, r.Face);
  }
}

TEST(HtmlLayout, EachRenderStartsFromTheCallersFont) {
  RecorderSeam seam;
  TFont font;
  ResetFont(font);
  TsHtml html;
  html.Init(&seam, &font, "<B><FONT SIZE=16>x", TRect(0, 0, 0, 0), -1, -1);
  TvlLinks links;
  TRect measured, drawn;
  html.Render(links, true, measured);
  html.PenX = html.PenY = 0;
  html.Render(links, false, drawn);
  EXPECT_EQ(measured, drawn);
  ASSERT_EQ(seam.Runs.size(), 1u);
  EXPECT_EQ(seam.Runs[0].Size, 16);
  // The canvas keeps the last applied font.
  EXPECT_EQ(font.Size(), 16);
  EXPECT_EQ(font.Style(), fsBold);
}

TEST(HtmlLayout, AThrowingSeamLeavesMeasureOnlyFalse) {
  RecorderSeam seam;
  TFont font;
  ResetFont(font);
  TsHtml html;
  html.Init(&seam, &font, "some text", TRect(0, 0, 0, 0), -1, -1);
  seam.ThrowOnMeasure = true;
  TvlLinks links;
  TRect size;
  EXPECT_THROW(html.Render(links, true, size), std::runtime_error);
  EXPECT_FALSE(html.MeasureOnly);
  // The next drawing pass draws.
  seam.ThrowOnMeasure = false;
  html.PenX = html.PenY = 0;
  html.Render(links, false, size);
  EXPECT_EQ(seam.Draws, 1);
  EXPECT_FALSE(html.MeasureOnly);
}

}  // namespace

namespace {

// With an active skin manager, links take the skin's link colours: normal,
// hot, and pressed as a mix of hot and the global font colour.
TEST(HtmlLayout, ActiveManagerGivesSkinLinkColours) {
  TsSkinManager* manager = New<TsSkinManager>(nullptr);
  ASSERT_TRUE(manager->Active());
  manager->SkinPalette[1] = 0x000000;
  manager->SkinPalette[2] = 0x123456;
  manager->SkinPalette[3] = 0xFEFEFE;
  const struct {
    int Pressed, Hot;
    TColor Color;
  } rows[] = {
      {-1, -1, 0x123456},
      {-1, 0, 0xFEFEFE},
      {0, 0, static_cast<TColor>(MixTwoColors(0xFEFEFE, 0x000000, 127))},
  };
  for (const auto& r : rows) {
    RecorderSeam seam;
    TFont font;
    ResetFont(font);
    TsHtml html;
    html.Manager = manager;
    html.Init(&seam, &font, "<A HREF=u>x</A>", TRect(0, 0, 0, 0), r.Pressed, r.Hot);
    TvlLinks links;
    TRect size;
    html.Render(links, false, size);
    ASSERT_EQ(seam.Runs.size(), 1u);
    EXPECT_EQ(seam.Runs[0].Color, r.Color);
  }
  // The pressed mix lies between its two colours.
  EXPECT_NE(rows[2].Color, 0xFEFEFE);
  EXPECT_NE(rows[2].Color, 0x000000);
  TObject::Free(manager);
}

}  // namespace
