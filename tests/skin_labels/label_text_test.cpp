// What the labels make of their captions: the caption without its tags,
// where the ellipsis loop cuts, and a wrapped caption with an ellipsis that
// has no space to cut at.
#include <string>

#include "skinned_scene.h"

namespace {

TEST(PlainCaptionTest, DropsEachTagPair) {
  const struct {
    const char* Caption;
    const char* Plain;
  } cases[] = {
      {"Gain <B>high</B> now", "Gain high now"},
      {"<FONT COLOR=#FF0000>red</FONT>", "red"},
      {"a < b", "a < b"},  // no '>' after it: kept
      {"ends in <", "ends in <"},
      {"<<B>>x", ">x"},  // the first '<' to the first '>' after it, each round
      {"<A HREF=\"x\">link</A> and <I>more</I>", "link and more"},
      {"", ""},
      {"<>", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Caption);
    EXPECT_EQ(TsHTMLLabel::StripTags(c.Caption), c.Plain);
  }
  TOwnedObject<TsHTMLLabel> l = OwnObject(New<TsHTMLLabel>(nullptr));
  l->SetCaption("x <B>y</B> z");
  EXPECT_EQ(l->PlainCaption(), "x y z");
}

TEST(EllipsisCutTest, AlwaysShortensTheBase) {
  const UINT kJapanese = 932;
  const struct {
    const char* Name;
    std::string Base;
    UINT CodePage;
    size_t Cut;
  } cases[] = {
      {"before the last space", "one two three", 1252, 7},
      {"before the last tab", "one\ttwo", 1252, 3},
      {"a trailing space", "one ", 1252, 3},
      {"no space: the last character", "abcdef", 1252, 5},
      {"one character", "a", 1252, 0},
      {"a double-byte last character", "ab\x82\xa0", kJapanese, 2},
      {"a single byte after a double-byte one", "a\x82\xa0z", kJapanese, 3},
      {"trail bytes that look like lead bytes", "\x82\x82\x82\x82", kJapanese, 2},
      {"a lone lead byte at the end", "ab\x82", kJapanese, 2},
      {"the same bytes in a single-byte page", "ab\x82\xa0", 1252, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const size_t cut = EllipsisCut(c.Base, c.CodePage);
    EXPECT_EQ(cut, c.Cut);
    EXPECT_LT(cut, c.Base.size());
  }
}

// Rows of the form's client area that hold ink darker than the form's face.
int InkRows(HWND Wnd, const TRect& Area) {
  HDC dc = GetDC(Wnd);
  const uint32_t face = RgbOf(static_cast<TColor>(GetPixel(dc, Area.Left - 3, Area.Top - 3)));
  int rows = 0;
  for (int y = Area.Top; y < Area.Bottom; ++y) {
    bool ink = false;
    for (int x = Area.Left; x < Area.Right && !ink; ++x)
      ink = !Near(RgbOf(static_cast<TColor>(GetPixel(dc, x, y))), face, 80);
    rows += ink ? 1 : 0;
  }
  ReleaseDC(Wnd, dc);
  return rows;
}

TEST(SkinnedEllipsisTest, WrappedCaptionWithoutSpacesEndsOnItsFirstLine) {
  TSkinnedScene s;
  auto* l = New<TsLabel>(s.Form);
  l->SetAutoSize(false);
  l->SetWordWrap(true);
  l->SetEllipsisPosition(epEndEllipsis);
  l->Font()->SetSize(12);
  l->SetCaption("First\nSecond\nThird\nFourth");
  l->SetParent(s.Form);
  s.Start();
  ASSERT_TRUE(l->SkinInForce());
  TEXTMETRICA tm{};
  {
    HDC dc = GetDC(s.Form->Handle());
    HGDIOBJ old = SelectObject(dc, l->Font()->Handle());
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(s.Form->Handle(), dc);
  }
  l->SetBounds(20, 20, 200, tm.tmHeight + 2);
  // Four lines do not fit one line's height: the loop must end with the
  // first line alone (the paint returns at all), drawn in the label.
  s.Form->Repaint();
  PumpMessages();
  const int rows = InkRows(s.Form->Handle(), TRect(20, 20, 220, 20 + 4 * tm.tmHeight));
  EXPECT_GT(rows, 0);
  EXPECT_LE(rows, tm.tmHeight + 2);
}

}  // namespace
