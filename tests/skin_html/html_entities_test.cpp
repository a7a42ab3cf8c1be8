// Character entities: every row by name and by number gives one byte, and
// the number is that byte in the Windows-1252 code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "html_recorder.h"

namespace {

std::string DrawnText(const std::string& Markup) {
  Layout l = LayOut(Markup, TRect(0, 0, 0, 0));
  std::string text;
  for (const RecordedRun& r : l.Runs) text += r.Text;
  return text;
}

// The Windows-1252 byte of a code point, asked of the platform.
char Cp1252Byte(int code) {
  const wchar_t w = static_cast<wchar_t>(code);
  char out = 0;
  BOOL lost = FALSE;
  EXPECT_EQ(WideCharToMultiByte(1252, 0, &w, 1, &out, 1, nullptr, &lost), 1);
  EXPECT_FALSE(lost) << code;
  return out;
}

TEST(HtmlEntities, EveryRowByNameAndByNumberGivesItsByte) {
  std::set<std::string> names;
  for (const THtmlEntity& e : HtmlEntities) {
    SCOPED_TRACE(e.Name);
    EXPECT_TRUE(names.insert(e.Name).second);
    const std::string byte(1, e.Character);
    EXPECT_EQ(DrawnText(std::string("&") + e.Name + ";"), byte);
    EXPECT_EQ(DrawnText(std::string("&") + e.Number + ";"), byte);
    const std::string number = e.Number[0] == '#' ? e.Number + 1 : e.Number;
    // "trade" is numbered by its byte, not by its code point.
    const int code = std::stoi(number);
    EXPECT_EQ(e.Character, code < 256 ? static_cast<char>(code) : Cp1252Byte(code));
  }
}

TEST(HtmlEntities, SpotValuesAndNonEntities) {
  const struct {
    const char* Markup;
    const char* Text;
  } rows[] = {
      {"&amp;", "&"},
      {"&Aacute;&aacute;", "\xC1\xE1"},
      {"&39;", "'"},
      {"&#39;", "&#39;"},
      {"&trade;&#153;", "\x99\x99"},
      {"&euro;&ndash;&mdash;", "\x80\x96\x97"},
      {"&#180;&#96;", "\xB4`"},
      {"&AMP;", "&AMP;"},
      {"&nosuch;", "&nosuch;"},
      {"&am p;", "&am p;"},
      {"a&", "a&"},
      {"&&amp;", "&"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Markup);
    EXPECT_EQ(DrawnText(r.Markup), r.Text);
  }
}

// An entity honours the measuring pass as every run does.
TEST(HtmlEntities, MeasuringDrawsNoEntity) {
  Layout l = LayOut("&amp;&copy;", TRect(0, 0, 0, 0), true);
  EXPECT_EQ(l.Draws, 0);
  EXPECT_EQ(l.Size, TRect(0, 0, 12, 16));
}

}  // namespace
