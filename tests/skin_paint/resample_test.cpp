// Resampling: weight tables, mirrored edges, pass structure and degenerate sources.
#include <gtest/gtest.h>

#include <cmath>

#include "skin/foundation/resample.h"
#include "test_images.h"

namespace {

TEST(Resample, Enlarge2x2To4x4WithTriangle) {
  TestImage src(2, 2), dst(4, 4, 0xDEADBEEF);
  src.at(0, 0) = 0x00000000;
  src.at(1, 0) = 0xC8C8C8C8;
  src.at(0, 1) = 0x00000000;
  src.at(1, 1) = 0xC8C8C8C8;
  ResampleArgb(src.View(), dst.View(), rsTriangle);
  for (int y = 0; y < 4; ++y) {
    EXPECT_EQ(dst.at(0, y), 0u);           // column 0 = source column 0
    EXPECT_EQ(dst.at(1, y), 0x64646464u);  // centre 0.5: 32768 each, alpha too
    EXPECT_EQ(dst.at(2, y), 0xC8C8C8C8u);
    EXPECT_EQ(dst.at(3, y), 0xC8C8C8C8u);  // index 2 mirrors to 1
  }
}

TEST(Resample, ShrinkHalfWithMitchellUsesWideScaledWeights) {
  ResampleWeights w;
  BuildResampleWeights(w, 50, 100, 4, rsMitchell);
  ASSERT_EQ(w.Counts.size(), 50u);
  // Position 10, centre 20: sources 17..23 (|20 - j| * 0.5 < 2).
  ASSERT_EQ(w.Counts[10], 7);
  int32_t centreWeight = 0, total = 0;
  for (int k = 0; k < w.Counts[10]; ++k) {
    const auto& c = w.List(10)[k];
    EXPECT_GE(c.Offset, 17 * 4);
    EXPECT_LE(c.Offset, 23 * 4);
    if (c.Offset == 20 * 4) centreWeight = c.Weight;
    total += c.Weight;
  }
  EXPECT_EQ(centreWeight, static_cast<int32_t>(std::nearbyint(8.0 / 9.0 * 0.5 * 65536.0)));
  EXPECT_NEAR(total, 65536, 64);
  // Position 0: the window reaches -3, mirrored without repeating pixel 0.
  bool sawMirror = false;
  for (int k = 0; k < w.Counts[0]; ++k) sawMirror |= w.List(0)[k].Offset == 3 * 4;
  EXPECT_TRUE(sawMirror);
}

TEST(Resample, ContributorsStayInTheirSlotsAndInsideTheSource) {
  const ResampleFilter filters[] = {rsBox,     rsTriangle, rsHermite, rsBell,
                                    rsBSpline, rsLanczos3, rsMitchell};
  for (ResampleFilter f : filters) {
    for (int oldSize = 1; oldSize <= 24; ++oldSize) {
      for (int newSize = 1; newSize <= 24; ++newSize) {
        ResampleWeights w;
        BuildResampleWeights(w, newSize, oldSize, 4, f);
        ASSERT_EQ(w.Slots.size(), size_t(newSize) * w.SlotsPerPosition);
        for (int i = 0; i < newSize; ++i) {
          ASSERT_LE(w.Counts[i], w.SlotsPerPosition);
          for (int k = 0; k < w.Counts[i]; ++k) {
            ASSERT_GE(w.List(i)[k].Offset, 0);
            ASSERT_LE(w.List(i)[k].Offset, (oldSize - 1) * 4) << f << " " << oldSize;
          }
        }
      }
    }
  }
}

TEST(Resample, Shrink100x50To50x25KeepsFlatAreasAndEdges) {
  TestImage src(100, 50, 0xFF204060), dst(50, 25, 0);
  src.FillRect(50, 0, 100, 50, 0xFFE0C0A0);
  ResampleArgb(src.View(), dst.View(), rsMitchell);
  // The weights are not renormalized: the Mitchell taps of a half-size pass
  // sum to 65535, so each pass may lose one level.
  auto within1 = [](uint32_t a, uint32_t b) {
    for (int n = 0; n < 4; ++n)
      if (std::abs(int(ByteOf(a, n)) - int(ByteOf(b, n))) > 2) return false;
    return true;
  };
  EXPECT_TRUE(within1(dst.at(5, 12), 0xFF204060));
  EXPECT_TRUE(within1(dst.at(45, 12), 0xFFE0C0A0));
  EXPECT_TRUE(within1(dst.at(0, 0), 0xFF204060));
  EXPECT_TRUE(within1(dst.at(49, 24), 0xFFE0C0A0));
  // Output column 25 samples around source column 50, the edge between the two.
  EXPECT_GT(ByteOf(dst.at(25, 12), 2), 0x40u);
  EXPECT_LT(ByteOf(dst.at(25, 12), 2), 0xC0u);
}

TEST(Resample, DegenerateAndEqualSizes) {
  TestImage oneHigh(10, 1, 0x12345678), oneWide(1, 10, 0x12345678), dst(4, 4, 7);
  ResampleArgb(oneHigh.View(), dst.View(), rsTriangle);
  ResampleArgb(oneWide.View(), dst.View(), rsTriangle);
  EXPECT_EQ(dst.at(2, 2), 7u);  // left alone
  TestImage same(100, 50), copy(100, 50, 0);
  same.Randomize(3);
  ResampleArgb(same.View(), copy.View(), rsMitchell);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; ++x) ASSERT_EQ(copy.at(x, y), same.at(x, y));
}

TEST(Resample, ApplyClampsNegativeAndOverflowingSums) {
  ResampleWeights w;
  w.SlotsPerPosition = 2;
  w.Counts = {2, 2};
  w.Slots = {{0, 131072}, {4, -65536}, {0, -65536}, {4, 0}};
  const uint8_t src[8] = {200, 10, 0, 255, 100, 0, 0, 0};
  uint8_t out[8] = {};
  ApplyResampleWeights(4, out, src, w, 2);
  EXPECT_EQ(out[0], 255);  // 400 - 100 > 255
  EXPECT_EQ(out[1], 20);
  EXPECT_EQ(out[3], 255);
  EXPECT_EQ(out[4], 0);  // negative
}

}  // namespace
