// Well-formed files of every colour type, bit depth and layout decode to the
// exact pixels the generator wrote.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "png_writer.h"
#include "png_test_util.h"
#include "skin/foundation/png_errors.h"

namespace {

enum class Trns { None, Full, Short };

struct Format {
  uint8_t Type;
  uint8_t Depth;
  Trns Transparency = Trns::None;
};

const Format kFormats[] = {
    {0, 1},
    {0, 2},
    {0, 4},
    {0, 8},
    {0, 16},
    {2, 8},
    {2, 16},
    {3, 1},
    {3, 2},
    {3, 4},
    {3, 8},
    {3, 1, Trns::Full},
    {3, 2, Trns::Full},
    {3, 4, Trns::Full},
    {3, 8, Trns::Full},
    {3, 1, Trns::Short},
    {3, 2, Trns::Short},
    {3, 4, Trns::Short},
    {3, 8, Trns::Short},
    {4, 8},
    {4, 16},
    {6, 8},
    {6, 16},
};

PngDesc MakeFormatDesc(const Format& f, uint32_t w, uint32_t h, bool interlaced, uint64_t seed) {
  PngDesc s;
  s.Width = w;
  s.Height = h;
  s.ColorType = f.Type;
  s.BitDepth = f.Depth;
  s.Interlaced = interlaced;
  FillSamples(s, seed);
  if (f.Transparency != Trns::None) {
    TestRandom rnd(seed ^ 0x77);
    const size_t entries = s.Palette.size() / 3;
    std::vector<uint8_t> alpha(f.Transparency == Trns::Full ? entries : (entries + 1) / 2);
    for (auto& a : alpha) a = uint8_t(rnd.Next());
    s.Transparency = alpha;
  }
  return s;
}

// Compares with the generator's model; reports the first differing pixel.
void ExpectDecodes(const PngDesc& pngDesc, TColorManager* shared = nullptr) {
  SCOPED_TRACE(DescribePng(pngDesc));
  const std::vector<uint8_t> file = EncodePng(pngDesc);
  const DecodeResult r = DecodeGuarded(file, shared);
  ASSERT_EQ(r.Outcome, DecodeOutcome::Decoded) << r.Message;
  ASSERT_TRUE(r.GuardsIntact);
  EXPECT_EQ(r.Consumed, file.size());
  const std::vector<uint32_t> expected = ExpectedArgb(pngDesc);
  ASSERT_EQ(r.Pixels.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    if (r.Pixels[i] != expected[i]) {
      ADD_FAILURE() << "pixel (" << i % pngDesc.Width << ", " << i / pngDesc.Width << "): got "
                    << std::hex << r.Pixels[i] << ", want " << expected[i];
      return;
    }
  }
}

TEST(PngCorpus, EveryLayoutDepthSizeAndFilterDecodesExactly) {
  const uint32_t sizes[][2] = {{1, 1}, {2, 3}, {5, 7}, {7, 1}, {1, 9}, {9, 10}, {17, 13}, {33, 4}};
  uint64_t seed = 1;
  for (const Format& f : kFormats)
    for (const auto& size : sizes)
      for (bool interlaced : {false, true})
        for (int filterBase = 0; filterBase < 5; ++filterBase) {
          PngDesc pngDesc = MakeFormatDesc(f, size[0], size[1], interlaced, ++seed);
          pngDesc.FilterBase = filterBase;
          ExpectDecodes(pngDesc);
          if (HasFailure()) return;
        }
}

TEST(PngCorpus, AdaptiveFiltersOnLargerImages) {
  uint64_t seed = 1000;
  for (const Format& f : kFormats)
    for (bool interlaced : {false, true}) {
      PngDesc pngDesc = MakeFormatDesc(f, 61, 47, interlaced, ++seed);
      FillSamples(pngDesc, seed, /*smooth=*/true);
      pngDesc.Filters = FilterChoice::Adaptive;
      ExpectDecodes(pngDesc);
      if (HasFailure()) return;
    }
}

TEST(PngCorpus, GammaChunkCorrectsGreyColourAndPalette) {
  const Format formats[] = {{0, 2}, {0, 8}, {0, 16}, {2, 8}, {2, 16},
                            {3, 2}, {3, 8}, {4, 8},  {6, 8}, {6, 16}};
  uint64_t seed = 2000;
  for (uint32_t gamma : {45455u, 100000u, 220000u, 0u})
    for (const Format& f : formats)
      for (bool interlaced : {false, true}) {
        PngDesc pngDesc = MakeFormatDesc(f, 11, 6, interlaced, ++seed);
        pngDesc.Gamma = gamma;
        ExpectDecodes(pngDesc);
      }
}

TEST(PngCorpus, GammaOfOneFileDoesNotCarryIntoTheNext) {
  TColorManager shared;
  PngDesc withGamma = MakeFormatDesc({2, 8}, 8, 8, false, 31);
  withGamma.Gamma = 100000;
  ExpectDecodes(withGamma, &shared);
  ExpectDecodes(MakeFormatDesc({2, 8}, 8, 8, false, 32), &shared);
  ExpectDecodes(MakeFormatDesc({0, 8}, 8, 8, false, 33), &shared);
}

TEST(PngCorpus, ChunkLayoutVariantsDecodeAlike) {
  struct Variant {
    const char* Name;
    size_t Split;
    bool Empty, Before, After;
  };
  const Variant variants[] = {{"one IDAT", 0, false, false, false},
                              {"IDAT of 1 byte", 1, false, false, false},
                              {"IDAT of 7 bytes", 7, false, false, false},
                              {"empty IDATs between", 5, true, false, false},
                              {"text before and after", 0, false, true, true},
                              {"split with text", 3, false, true, true}};
  uint64_t seed = 3000;
  for (const Variant& v : variants)
    for (const Format& f : {Format{6, 8}, Format{3, 4, Trns::Short}, Format{0, 16}})
      for (bool interlaced : {false, true}) {
        SCOPED_TRACE(v.Name);
        PngDesc pngDesc = MakeFormatDesc(f, 13, 9, interlaced, ++seed);
        pngDesc.IdatSplit = v.Split;
        pngDesc.EmptyIdats = v.Empty;
        pngDesc.TextBefore = v.Before;
        pngDesc.TextAfter = v.After;
        ExpectDecodes(pngDesc);
      }
}

TEST(PngCorpus, BackgroundChunkIsReadAndLeavesPixelsAlone) {
  struct Case {
    Format F;
    std::vector<uint8_t> Data;
    uint32_t Expected;  // 0x00BBGGRR, or the index
  };
  const Case cases[] = {
      {{0, 8}, {0x00, 0x40}, 0x40},
      {{0, 2}, {0x00, 0x02}, 10},  // 2 * 15 / 3
      {{0, 16}, {0x80, 0x00}, 0x8000 * 255 / 65535},
      {{2, 8}, {0, 0x10, 0, 0x20, 0, 0x30}, 0x302010},
      {{2, 16}, {0xFF, 0xFF, 0x80, 0x00, 0, 0}, 0x00007FFF},
      {{3, 8}, {3}, 3},
      {{6, 8}, {0, 1, 0, 2, 0, 3}, 0x030201},
  };
  uint64_t seed = 4000;
  for (const Case& c : cases) {
    PngDesc pngDesc = MakeFormatDesc(c.F, 6, 5, false, ++seed);
    pngDesc.Background = c.Data;
    ExpectDecodes(pngDesc);
    TColorManager cm;
    PngReader reader(cm);
    const std::vector<uint8_t> file = EncodePng(pngDesc);
    std::vector<uint32_t> pixels(30);
    reader.LoadFromMemory(file.data(), file.size(),
                          {reinterpret_cast<uint8_t*>(pixels.data()), 24, 6, 5});
    EXPECT_EQ(reader.BackgroundColor(), c.Expected) << DescribePng(pngDesc);
  }
}

TEST(PngCorpus, GreyAndRgbTransparencyGiveAKeyColourAndStayOpaque) {
  struct Case {
    Format F;
    std::vector<uint8_t> Data;
    uint32_t Key;
  };
  const Case cases[] = {
      {{0, 8}, {0, 0x7F}, 0x7F7F7F},
      {{0, 2}, {0, 1}, 0x050505},
      {{0, 16}, {0xFF, 0xFF}, 0xFFFFFF},
      {{2, 8}, {0, 1, 0, 2, 0, 3}, 0x030201},
      {{2, 16}, {0, 0, 0xFF, 0xFF, 0, 0}, 0x00FF00},
  };
  uint64_t seed = 5000;
  for (const Case& c : cases) {
    PngDesc pngDesc = MakeFormatDesc(c.F, 4, 4, false, ++seed);
    pngDesc.Transparency = c.Data;
    ExpectDecodes(pngDesc);  // the model keeps these opaque
    TColorManager cm;
    PngReader reader(cm);
    const std::vector<uint8_t> file = EncodePng(pngDesc);
    std::vector<uint32_t> pixels(16);
    reader.LoadFromMemory(file.data(), file.size(),
                          {reinterpret_cast<uint8_t*>(pixels.data()), 16, 4, 4});
    EXPECT_EQ(reader.TransparentKey(), c.Key) << DescribePng(pngDesc);
    EXPECT_TRUE(reader.AlphaTable().empty());
  }
}

TEST(PngCorpus, PaletteBitmapDetails) {
  // A 2-bit palette image is a 4-bit bitmap whose 16 entries put colour k at 5k.
  PngDesc pngDesc = MakeFormatDesc({3, 2}, 4, 1, false, 6000);
  pngDesc.Samples = {0, 1, 2, 3};
  TColorManager cm;
  PngReader reader(cm);
  const std::vector<uint8_t> file = EncodePng(pngDesc);
  std::vector<uint32_t> pixels(4);
  reader.LoadFromMemory(file.data(), file.size(),
                        {reinterpret_cast<uint8_t*>(pixels.data()), 16, 4, 1});
  EXPECT_EQ(reader.BitmapFormat(), SamplePixelFormat::Bits4);
  ASSERT_EQ(reader.Palette().Count, 16u);
  for (uint32_t k = 0; k < 4; ++k) {
    const uint32_t rgb = (uint32_t(pngDesc.Palette[3 * k]) << 16) |
                         (uint32_t(pngDesc.Palette[3 * k + 1]) << 8) | pngDesc.Palette[3 * k + 2];
    EXPECT_EQ(reader.Palette().Entries[5 * k], rgb);
    EXPECT_EQ(pixels[k], 0xFF000000u | rgb);
  }
}

TEST(PngCorpus, IndicesBeyondThePaletteAreOpaqueBlack) {
  PngDesc pngDesc;
  pngDesc.Width = 4;
  pngDesc.Height = 1;
  pngDesc.ColorType = 3;
  pngDesc.BitDepth = 8;
  pngDesc.Palette = {10, 20, 30, 40, 50, 60};
  pngDesc.Samples = {0, 1, 2, 255};
  pngDesc.Transparency = std::vector<uint8_t>{128};
  ExpectDecodes(pngDesc);
  const DecodeResult r = DecodeGuarded(EncodePng(pngDesc));
  EXPECT_EQ(r.Pixels[0], 0x800A141Eu);
  EXPECT_EQ(r.Pixels[2], 0xFF000000u);
}

TEST(PngCorpus, BytesAfterIendAreNotConsumed) {
  PngDesc pngDesc = MakeFormatDesc({6, 8}, 3, 3, false, 7000);
  std::vector<uint8_t> file = EncodePng(pngDesc);
  const size_t pngSize = file.size();
  file.insert(file.end(), {'n', 'e', 'x', 't'});
  const DecodeResult r = DecodeGuarded(file);
  ASSERT_EQ(r.Outcome, DecodeOutcome::Decoded) << r.Message;
  EXPECT_EQ(r.Consumed, pngSize);
  EXPECT_EQ(r.Pixels, ExpectedArgb(pngDesc));
}

TEST(PngCorpus, ProgressIsReportedAroundTheImageData) {
  struct Recorder : PngProgressSink {
    std::vector<std::string> Events;
    void PngProgress(PngProgressStage stage, int, int rowTop, const char* message) override {
      Events.push_back((stage == PngProgressStage::Starting ? "start " : "end ") +
                       std::string(message ? message : "") + "@" + std::to_string(rowTop));
    }
  } recorder;
  const std::vector<uint8_t> file = EncodePng(MakeFormatDesc({2, 8}, 5, 4, false, 8000));
  TColorManager cm;
  PngReader reader(cm);
  std::vector<uint32_t> pixels(20);
  reader.LoadFromMemory(file.data(), file.size(),
                        {reinterpret_cast<uint8_t*>(pixels.data()), 20, 5, 4}, &recorder);
  const std::vector<std::string> expected = {"start Preparing...@0", "end @0",
                                             "start Transfering...@0", "end @4"};
  EXPECT_EQ(recorder.Events, expected);
}

TEST(PngCorpus, HeaderPrescanReportsTheImageProperties) {
  PngDesc pngDesc = MakeFormatDesc({2, 16}, 9, 4, true, 9000);
  pngDesc.Gamma = 45455;
  const std::vector<uint8_t> file = EncodePng(pngDesc);
  TColorManager cm;
  PngReader reader(cm);
  ASSERT_TRUE(reader.ReadImageHeader(file.data(), file.size()));
  const PngImageProperties& p = reader.Properties();
  EXPECT_EQ(p.ImageFlags, kPngFlagHeader | kPngFlagGamma);
  EXPECT_EQ(p.ImageWidth, 9u);
  EXPECT_EQ(p.ImageHeight, 4u);
  EXPECT_EQ(p.ColorLayout, lyRGB);
  EXPECT_EQ(p.SampleBits, 16);
  EXPECT_EQ(p.SampleCount, 3);
  EXPECT_EQ(p.Compression, 2);
  EXPECT_EQ(p.InterlaceMethod, 1);
}

}  // namespace
