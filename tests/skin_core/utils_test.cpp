// Rectangle, text, path and tick routines of the utilities.
#include <gtest/gtest.h>

#include "skin/engine/vl_utils.h"

namespace {

TEST(Geometry, MakeRectTakesRightAndBottomFirst) {
  EXPECT_EQ(MakeRect(10, 20, 0, 0), TRect(0, 0, 10, 20));
  EXPECT_EQ(MakeRect(30, 40, 10, 20), TRect(10, 20, 30, 40));
  EXPECT_EQ(MakeRect(5, 6), TRect(0, 0, 5, 6));
  EXPECT_EQ(RectWidth(TRect(5, 0, 2, 0), true), 0);
  EXPECT_EQ(RectWidth(TRect(5, 0, 2, 0), false), -3);
  EXPECT_EQ(RectHeight(TRect(0, 7, 0, 3), true), 0);
  EXPECT_EQ(RectSize(TRect(5, 5, 2, 9)), TPoint(0, 4));
}

TEST(Geometry, OverlapAndContainment) {
  struct Case {
    TRect a, b;
    bool overlaps;
  };
  const Case cases[] = {
      {{0, 0, 10, 10}, {10, 0, 20, 10}, false},  // touching edges
      {{0, 0, 10, 10}, {0, 10, 10, 20}, false}, {{0, 0, 10, 10}, {9, 9, 20, 20}, true},
      {{0, 0, 10, 10}, {5, 5, 5, 8}, false},  // empty R
      {{0, 0, 10, 10}, {-5, -5, 1, 1}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(RectOverlaps(c.a, c.b), c.overlaps);
  EXPECT_TRUE(RectInRect({0, 0, 10, 10}, {2, 2, 10, 10}, true));
  EXPECT_FALSE(RectInRect({0, 0, 10, 10}, {2, 2, 11, 10}, true));
  EXPECT_TRUE(RectInRect({0, 0, 10, 10}, {2, 2, 11, 10}, false));
  EXPECT_FALSE(RectInRect({0, 0, 10, 10}, {-1, -1, 11, 11}, false));
  EXPECT_EQ(RectIntersection({0, 0, 10, 10}, {20, 20, 30, 30}), TRect(20, 20, 10, 10));
  EXPECT_EQ(RectUnion({0, 5, 10, 10}, {2, 0, 30, 8}), TRect(0, 0, 30, 10));
}

TEST(Geometry, Numbers) {
  EXPECT_EQ(ClampInt(5, 10, 0), 10);  // Min tested first
  EXPECT_EQ(ClampInt(-1, 0, 9), 0);
  EXPECT_EQ(ClampInt(12, 0, 9), 9);
  EXPECT_TRUE(ValueBetween(5, 9, 1, true));
  EXPECT_FALSE(ValueBetween(5, 9, 1, false));
  EXPECT_TRUE(IndexInRange(0, 1));
  EXPECT_FALSE(IndexInRange(1, 1));
  EXPECT_FALSE(IndexInRange(-1, 1));
}

TEST(Texts, WordsReplaceAndHex) {
  const TCharSet sep = MakeCharSet(" ,");
  EXPECT_EQ(WordCount("  a,,bc  d ", sep), 3);
  EXPECT_EQ(WordPosition(2, "  a,,bc  d ", sep), 6);
  EXPECT_EQ(WordPosition(4, "  a,,bc  d ", sep), 0);
  EXPECT_EQ(ExtractWord(2, "  a,,bc  d ", sep), "bc");
  EXPECT_EQ(ExtractWord(3, "a b", sep), "");
  EXPECT_EQ(WordCount("", sep), 0);
  EXPECT_EQ(RemoveChar("a&b&&c", '&'), "abc");

  struct R {
    const char *text, *old, *repl, *expected;
  };
  for (const R& r :
       {R{"a&&b", "&", "", "ab"}, R{"aaa", "aa", "b", "ba"}, R{"<A>x</A>", "<A>", "", "x</A>"},
        R{"abc", "", "z", "abc"}, R{"aXa", "a", "aa", "aaXaa"}})
    EXPECT_EQ(ReplaceAll(r.text, r.old, r.repl), r.expected) << r.text;

  struct H {
    const char* text;
    int64_t value;
  };
  for (const H& h : {H{"ffh", 255}, H{"1G", 0}, H{"", 0}, H{"7FFFFFFFFF", 0x7FFFFFFFFFLL},
                     H{"h", 0}, H{"0A", 10}})
    EXPECT_EQ(HexToInt64(h.text), h.value) << h.text;
}

TEST(Paths, NormalizeDirPath) {
  struct P {
    const char *in, *out;
  };
  for (const P& p :
       {P{"C", "C:\\"}, P{"dir/", "dir\\"}, P{"dir", "dir\\"}, P{"", ""}, P{"c:\\x\\", "c:\\x\\"}})
    EXPECT_EQ(NormalizeDirPath(p.in), p.out) << p.in;
  EXPECT_EQ(GetAppFolder().back(), '\\');
}

TEST(Ticks, ElapsedSurvivesWrapAround) {
  struct T {
    DWORD start, now, wait;
    bool elapsed;
  };
  const T cases[] = {
      {1000, 1009, 10, false},
      {1000, 1010, 10, true},
      {0xFFFFFFF0u, 0xFFFFFFFFu, 20, false},
      {0xFFFFFFF0u, 0x00000003u, 20, false},  // wrapped: 19 ms passed
      {0xFFFFFFF0u, 0x00000004u, 20, true},   // wrapped: 20 ms passed
      {5, 5, 0, true},
  };
  for (const T& t : cases) EXPECT_EQ(TicksElapsed(t.start, t.now, t.wait), t.elapsed) << t.now;
}

TEST(System, WaitWithMessagesRunsPostedWorkAndWaits) {
  DWORD start = GetTickCount();
  WaitWithMessages(30);
  EXPECT_GE(GetTickCount() - start, 30u);
}

TEST(System, QueriesAnswerWithoutFailing) {
  VlUtilsInitialization();
  EXPECT_NE(GetCaptionFontHeight(), 0);
  HFONT f = CreateCaptionFont();
  EXPECT_NE(f, nullptr);
  if (f) DeleteObject(f);
  EXPECT_TRUE(IsWinXPOrLater());
  EXPECT_FALSE(IsWow64());  // a 64-bit process
  EXPECT_NE(BoundSHGetFileInfo(), nullptr);
  EXPECT_EQ(ReadRegistryInt(HKEY_CURRENT_USER, "Software\\NoSuchKey\\Varnel", "X"), 0);
  VlUtilsFinalization();
  EXPECT_TRUE(DebuggerPresent());  // unbound answers True
}

}  // namespace
