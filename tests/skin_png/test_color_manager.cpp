// The colour manager's settings, converter choice, conversions and palettes.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "skin/foundation/png_color_manager.h"
#include "skin/foundation/png_errors.h"

namespace {

using Bytes = std::vector<uint8_t>;

template <typename F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const EColorConversionError& e) {
    return e.what();
  }
  return "(nothing raised)";
}

void Configure(TColorManager& cm, ChannelLayout in, uint8_t inBits, ChannelLayout out,
               uint8_t outBits) {
  cm.SetInputLayout(in);
  cm.SetInputSampleBits(inBits);
  cm.SetOutputLayout(out);
  cm.SetOutputSampleBits(outBits);
}

TEST(ColorManager, SettersValidateTheirValues) {
  TColorManager cm;
  cm.SetInputSampleBits(3);
  EXPECT_EQ(cm.InputSampleBits(), 3);
  const std::string bits = "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
  const std::string channels =
      "Sample count per pixel does not correspond to the given color scheme.";
  EXPECT_EQ(MessageOf([&] { cm.SetInputSampleBits(0); }), bits);
  EXPECT_EQ(MessageOf([&] { cm.SetOutputSampleBits(17); }), bits);
  EXPECT_EQ(MessageOf([&] { cm.SetInputChannels(0); }), channels);
  EXPECT_EQ(MessageOf([&] { cm.SetOutputChannels(5); }), channels);
  EXPECT_EQ(cm.InputSampleBits(), 3);  // settings survive the errors
}

TEST(ColorManager, ConverterChoiceFailsOnlyAtTheFirstRow) {
  const std::string mismatch =
      "Conversion between indexed and non-indexed pixel formats is not supported.";
  const std::string none = "Color conversion failed. Could not find a proper method.";
  Bytes in(8, 0), out(8, 0);
  struct Case {
    ChannelLayout In;
    uint8_t InBits;
    ChannelLayout Out;
    uint8_t OutBits;
    std::string Message;  // empty: converts
  };
  const Case cases[] = {
      {lyGrayAlpha, 8, lyIndexed, 8, ""}, {lyRGB, 8, lyIndexed, 8, mismatch},
      {lyIndexed, 8, lyBGR, 8, mismatch}, {lyGray, 16, lyGray, 4, none},
      {lyUnhandled, 8, lyBGR, 8, none},   {lyCMYK, 8, lyGray, 8, mismatch},
      {lyRGB, 4, lyBGR, 8, none},
  };
  for (const Case& c : cases) {
    TColorManager cm;
    Configure(cm, c.In, c.InBits, c.Out, c.OutBits);  // the setters accept every combination
    EXPECT_EQ(MessageOf([&] { cm.ConvertPixelRow(in.data(), out.data(), 1, 0xFF); }),
              c.Message.empty() ? "(nothing raised)" : c.Message)
        << int(c.In) << " -> " << int(c.Out);
  }
}

TEST(ColorManager, GammaTable) {
  TColorManager cm;
  cm.SetGammaValues(1 / 2.2f, 2.2f);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(cm.GammaTable()[i], i);
  cm.SetGammaValues(1.0f, 2.2f);
  EXPECT_EQ(cm.GammaTable()[0], 0);
  EXPECT_EQ(cm.GammaTable()[255], 255);
  EXPECT_EQ(cm.GammaTable()[64], std::lrint(std::pow(64 / 255.0, 1 / double(2.2f)) * 255));
  cm.SetGammaValues(-1.0f, 0.0f);  // non-positive values count as 1 and 2.2
  EXPECT_FLOAT_EQ(cm.FileGamma(), 1.0f);
  EXPECT_FLOAT_EQ(cm.DisplayGamma(), 2.2f);
}

TEST(ColorManager, MaskSelectsTargetPixelsAndSourcesAdvanceOnlyForThem) {
  TColorManager cm;
  Configure(cm, lyRGB, 8, lyBGR, 8);
  Bytes in;
  for (int p = 0; p < 8; ++p) in.insert(in.end(), {uint8_t(p), uint8_t(10 + p), uint8_t(20 + p)});
  Bytes out(24, 0xEE);
  cm.ConvertPixelRow(in.data(), out.data(), 8, 0x55);
  for (int p = 0; p < 8; ++p) {
    const uint8_t* px = &out[3 * p];
    if (p % 2 == 0) {
      EXPECT_EQ(px[0], 0xEE) << p;
    } else {
      const int k = p / 2;  // input pixels one after another
      EXPECT_EQ(px[0], 20 + k);
      EXPECT_EQ(px[1], 10 + k);
      EXPECT_EQ(px[2], k);
    }
  }
}

TEST(ColorManager, PackedIndicesAreRescaledAndOtherBitsKept) {
  TColorManager cm;
  Configure(cm, lyIndexed, 2, lyIndexed, 4);
  const Bytes in = {0b00011011};  // 0, 1, 2, 3
  Bytes out = {0, 0};
  cm.ConvertPixelRow(in.data(), out.data(), 4, 0xFF);
  EXPECT_EQ(out, (Bytes{0x05, 0xAF}));
  Bytes masked = {0xFF, 0xFF};
  cm.ConvertPixelRow(in.data(), masked.data(), 4, 0x50);  // pixels 1 and 3 only
  EXPECT_EQ(masked, (Bytes{0xF0, 0xF5}));
}

TEST(ColorManager, SixteenBitSamples) {
  TColorManager cm;
  cm.SetInputFlags(kInputByteSwap);
  Configure(cm, lyRGBA, 16, lyBGRA, 8);
  const Bytes in = {0xFF, 0xFF, 0x80, 0x00, 0x01, 0x00, 0x7F, 0xFF};
  Bytes out(4);
  cm.ConvertPixelRow(in.data(), out.data(), 1, 0xFF);
  EXPECT_EQ(out, (Bytes{0x00, 0x7F, 0xFF, 0x7F}));  // * 255 div 65535
  Configure(cm, lyRGB, 8, lyRGB, 16);
  const Bytes in8 = {0x01, 0x80, 0xFF};
  Bytes out16(6);
  cm.ConvertPixelRow(in8.data(), out16.data(), 1, 0xFF);
  EXPECT_EQ(out16, (Bytes{0x01, 0x01, 0x80, 0x80, 0xFF, 0xFF}));
  Configure(cm, lyGray, 16, lyGray, 8);
  const Bytes grey = {0x12, 0x34, 0xFF, 0xFF};
  Bytes greyOut(2);
  cm.ConvertPixelRow(grey.data(), greyOut.data(), 2, 0xFF);
  EXPECT_EQ(greyOut, (Bytes{0x12, 0xFF}));
}

TEST(ColorManager, PlanarInput) {
  TColorManager cm;
  Configure(cm, lyRGB, 8, lyBGRA, 8);
  const Bytes r = {1, 2}, g = {3, 4}, b = {5, 6};
  const void* planes[] = {r.data(), g.data(), b.data()};
  Bytes out(8, 0x99);
  cm.ConvertPixelRow(planes, 3, out.data(), 2, 0xFF);
  EXPECT_EQ(out, (Bytes{5, 3, 1, 0x99, 6, 4, 2, 0x99}));  // alpha left alone
}

TEST(ColorManager, OtherColourSchemes) {
  struct Case {
    ChannelLayout In;
    Bytes Sample;
    Bytes Bgr;
    uint8_t Flags = 0;
  };
  const Case cases[] = {
      {lyCMYK, {0, 0, 0, 0}, {255, 255, 255}},
      {lyCMYK, {255, 0, 0, 0}, {255, 255, 0}},
      {lyCMYK, {0, 0, 0, 255}, {0, 0, 0}},
      {lyYCbCr, {128, 128, 128}, {128, 128, 128}},
      {lyYCbCr, {76, 85, 255}, {0, 0, 254}},
      {lyCIELab, {100, 0, 0}, {255, 255, 255}},
      {lyCIELab, {0, 0, 0}, {0, 0, 0}},
      {lyCIELab, {255, 128, 128}, {255, 255, 255}, kInputLabL255 | kInputLabOffset},
  };
  for (const Case& c : cases) {
    TColorManager cm;
    cm.SetInputFlags(c.Flags);
    Configure(cm, c.In, 8, lyBGR, 8);
    Bytes out(3);
    cm.ConvertPixelRow(c.Sample.data(), out.data(), 1, 0xFF);
    EXPECT_EQ(out, c.Bgr) << int(c.In) << " " << int(c.Sample[0]);
  }
  // PhotoYCC centres its chroma at 156 (Cb) and 137 (Cr).
  TColorManager cm;
  Configure(cm, lyPhotoYCC, 8, lyRGB, 8);
  const Bytes neutral = {100, 156, 137};
  Bytes out(3);
  cm.ConvertPixelRow(neutral.data(), out.data(), 1, 0xFF);
  EXPECT_EQ(out, (Bytes{100, 100, 100}));
}

TEST(ColorManager, GreyPalettes) {
  TColorManager cm;
  cm.SetOutputChannels(1);
  cm.SetOutputSampleBits(1);
  ColorPalette p = cm.MakeGrayPalette(false);
  ASSERT_EQ(p.Count, 2u);
  EXPECT_EQ(p.Entries[0], 0u);
  EXPECT_EQ(p.Entries[1], 0xFFFFFFu);
  cm.SetOutputSampleBits(4);
  p = cm.MakeGrayPalette(false);
  ASSERT_EQ(p.Count, 16u);
  for (uint32_t i = 0; i < 16; ++i) EXPECT_EQ(p.Entries[i], 0x111111u * i);
  p = cm.MakeGrayPalette(true);
  EXPECT_EQ(p.Entries[0], 0xFFFFFFu);
  EXPECT_EQ(p.Entries[15], 0u);
}

TEST(ColorManager, Palettes) {
  TColorManager cm;
  const Bytes rgb = {1, 2, 3, 4, 5, 6};
  const void* src = rgb.data();
  ColorPalette p = cm.MakePalette(&src, 1, 0, false, 2);
  EXPECT_EQ(p.Count, 2u);
  EXPECT_EQ(p.Entries[0], 0x010203u);
  p = cm.MakePalette(&src, 1, 0, true, 2);
  EXPECT_EQ(p.Entries[1], 0x060504u);
  // Re-indexed for a 2-bit file shown as a 4-bit bitmap; missing entries black.
  cm.SetInputSampleBits(2);
  cm.SetOutputSampleBits(4);
  p = cm.MakePalette(&src, 1, 0, false, 2);
  ASSERT_EQ(p.Count, 16u);
  EXPECT_EQ(p.Entries[0], 0x010203u);
  EXPECT_EQ(p.Entries[5], 0x040506u);
  EXPECT_EQ(p.Entries[10], 0u);
  EXPECT_EQ(p.Entries[15], 0u);
  // 16-bit quads: blue, green, red unless swapped; byte-swapped when asked.
  TColorManager wide;
  wide.SetInputFlags(kInputByteSwap);
  const Bytes quads = {0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00, 0, 0};
  const void* q = quads.data();
  p = wide.MakePalette(&q, 1, 5, false, 1);
  EXPECT_EQ(p.Entries[0], 0x007FFFu);
  // With the gamma flag the entries go through the table.
  TColorManager g;
  g.SetGammaValues(1.0f, 2.2f);
  g.SetOutputFlags(kOutputGamma);
  p = g.MakePalette(&src, 1, 0, false, 1);
  EXPECT_EQ(p.Entries[0] >> 16, g.GammaTable()[1]);
}

TEST(ColorManager, PixelFormats) {
  TColorManager cm;
  auto format = [&](uint8_t channels, uint8_t bits) {
    cm.SetOutputChannels(channels);
    cm.SetOutputSampleBits(bits);
    return cm.PixelFormatFor(true);
  };
  EXPECT_EQ(format(1, 1), SamplePixelFormat::Bits1);
  EXPECT_EQ(format(1, 2), SamplePixelFormat::Bits4);
  EXPECT_EQ(format(1, 16), SamplePixelFormat::Bits8);
  EXPECT_EQ(format(3, 5), SamplePixelFormat::Bits15);
  EXPECT_EQ(format(3, 8), SamplePixelFormat::Bits24);
  EXPECT_EQ(format(4, 8), SamplePixelFormat::Bits32);
  EXPECT_EQ(format(4, 4), SamplePixelFormat::Custom);
  EXPECT_EQ(format(2, 8), SamplePixelFormat::Custom);
}

}  // namespace
