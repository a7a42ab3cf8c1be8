// TPNGGraphic as the widget layer sees it: picture registration, streams,
// bitmap formats, ConvertPngToArgb and drawing with reflection.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "alloc_counter.h"
#include "png_writer.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/png_graphic.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/graphics/canvas.h"
#include "widgets/rtl/streams.h"

namespace {

using Bytes = std::vector<uint8_t>;

PngDesc MakePngDesc(uint8_t type, uint8_t depth, uint32_t w, uint32_t h, uint64_t seed) {
  PngDesc s;
  s.Width = w;
  s.Height = h;
  s.ColorType = type;
  s.BitDepth = depth;
  FillSamples(s, seed);
  return s;
}

std::unique_ptr<TPNGGraphic> Load(const Bytes& file) {
  TMemoryStream stream;
  stream.Write(file.data(), static_cast<int32_t>(file.size()));
  stream.SetPosition(0);
  auto png = std::make_unique<TPNGGraphic>();
  png->LoadFromStream(stream);
  return png;
}

// Every pixel of a 32-bit bitmap, rows top to bottom.
std::vector<uint32_t> PixelsOf(TBitmap* bitmap) {
  const PixelView v = ArgbView(bitmap);
  std::vector<uint32_t> out;
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) out.push_back(v.At(x, y));
  return out;
}

TEST(PngGraphic, PictureOpensPngFilesThroughTheRegisteredClass) {
  RegisterPngGraphic();
  const PngDesc pngDesc = MakePngDesc(6, 8, 5, 4, 1);
  const Bytes file = EncodePng(pngDesc);
  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  const std::string name = std::string(path) + "skin_png_test.png";
  FILE* f = std::fopen(name.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(file.data(), 1, file.size(), f);
  std::fclose(f);
  TPicture picture;
  picture.LoadFromFile(name);
  std::remove(name.c_str());
  auto* png = dynamic_cast<TPNGGraphic*>(picture.Graphic());
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(PixelsOf(png), ExpectedArgb(pngDesc));
  UnregisterPngGraphic();
  EXPECT_FALSE(TPicture::FindGraphicClass("png"));
}

TEST(PngGraphic, StreamIsLeftAfterTheImageAndFormatsAreThePartsOwn) {
  struct Case {
    uint8_t Type, Depth;
    bool Trns;
    TPixelFormat Format;
  };
  // The graphic's formats: palette and grey images are palette bitmaps
  // (a 2-bit file a 4-bit one), grey with alpha an 8-bit one.
  const Case cases[] = {{6, 8, false, pf32bit}, {6, 16, false, pf32bit}, {2, 8, false, pf24bit},
                        {2, 16, true, pf24bit}, {0, 1, false, pf1bit},   {0, 2, true, pf4bit},
                        {0, 4, false, pf4bit},  {0, 8, false, pf8bit},   {0, 16, false, pf8bit},
                        {4, 8, false, pf8bit},  {4, 16, false, pf8bit},  {3, 8, false, pf8bit},
                        {3, 1, true, pf1bit},   {3, 2, true, pf4bit},    {3, 4, true, pf4bit},
                        {3, 8, true, pf8bit}};
  uint64_t seed = 10;
  for (const Case& c : cases) {
    PngDesc pngDesc = MakePngDesc(c.Type, c.Depth, 9, 5, ++seed);
    if (c.Trns) {
      pngDesc.Transparency = c.Type == 3   ? Bytes{0, 0x40, 0x80}
                             : c.Type == 2 ? Bytes{0, 1, 0, 2, 0, 3}
                                           : Bytes{0, 1};
    }
    Bytes file = EncodePng(pngDesc);
    const size_t pngSize = file.size();
    file.insert(file.end(), {1, 2, 3, 4, 5});
    TMemoryStream stream;
    stream.Write(file.data(), static_cast<int32_t>(file.size()));
    stream.SetPosition(0);
    TPNGGraphic png;
    png.LoadFromStream(stream);
    SCOPED_TRACE(DescribePng(pngDesc));
    EXPECT_EQ(stream.Position(), static_cast<int32_t>(pngSize));
    EXPECT_EQ(png.PixelFormat(), c.Format);
    EXPECT_EQ(png.Width(), 9);
    EXPECT_EQ(png.Height(), 5);
    // ConvertPngToArgb: the file's alpha where it has one, 255 elsewhere.
    TBitmap argb;
    ConvertPngToArgb(&argb, &png);
    EXPECT_EQ(argb.PixelFormat(), pf32bit);
    EXPECT_EQ(PixelsOf(&argb), ExpectedArgb(pngDesc));
    // The loading helper decodes straight into 32 bits: the same bitmap.
    TBitmap direct;
    stream.SetPosition(0);
    LoadPngStreamToBitmap(&direct, stream);
    EXPECT_EQ(stream.Position(), static_cast<int32_t>(pngSize));
    EXPECT_EQ(direct.PixelFormat(), pf32bit);
    EXPECT_EQ(PixelsOf(&direct), PixelsOf(&argb));
    EXPECT_EQ(direct.Transparent(), argb.Transparent());
    if (argb.Transparent()) {
      EXPECT_EQ(direct.TransparentColor(), argb.TransparentColor());
    }
  }
}

// The library road decodes a memory stream where it lies: what the load
// holds at once is the reader's working memory, far below the file's size.
TEST(PngGraphic, MemoryStreamsAreDecodedWithoutACopy) {
  const PngDesc pngDesc = MakePngDesc(6, 8, 300, 300, 60);
  const Bytes file = EncodePng(pngDesc);
  ASSERT_GT(file.size(), size_t{300} << 10);
  TMemoryStream stream;
  stream.Write(file.data(), static_cast<int32_t>(file.size()));
  stream.SetPosition(0);
  TPNGGraphic png;
  alloc_counter::ResetPeak();
  png.LoadFromStream(stream);
  EXPECT_LT(alloc_counter::PeakSinceReset(), file.size() / 2);
  TBitmap argb;
  ConvertPngToArgb(&argb, &png);
  EXPECT_EQ(PixelsOf(&argb), ExpectedArgb(pngDesc));
}

TEST(PngGraphic, GammaOfAnEarlierLoadDoesNotCarryOver) {
  PngDesc withGamma = MakePngDesc(6, 8, 4, 4, 20);
  withGamma.Gamma = 100000;
  const PngDesc plain = MakePngDesc(6, 8, 4, 4, 21);
  TPNGGraphic png;
  for (const PngDesc* pngDesc : std::initializer_list<const PngDesc*>{&withGamma, &plain}) {
    const Bytes file = EncodePng(*pngDesc);
    TMemoryStream stream;
    stream.Write(file.data(), static_cast<int32_t>(file.size()));
    stream.SetPosition(0);
    png.LoadFromStream(stream);
    EXPECT_EQ(PixelsOf(&png), ExpectedArgb(*pngDesc));
  }
  EXPECT_EQ(png.ImageProperties().ImageFlags & kPngFlagGamma, 0);
}

TEST(PngGraphic, MalformedStreamsRaiseTheReadersErrors) {
  Bytes file = EncodePng(MakePngDesc(6, 8, 4, 4, 30));
  file[20] ^= 0x40;  // inside IHDR: its CRC no longer matches
  EXPECT_THROW(Load(file), EInvalidGraphic);
  EXPECT_THROW(Load(Bytes{}), EInvalidGraphic);
}

TEST(PngGraphic, AssignHandsOverImagePropertiesAndPixels) {
  const PngDesc pngDesc = MakePngDesc(2, 16, 6, 3, 40);
  auto source = Load(EncodePng(pngDesc));
  TPNGGraphic copy;
  copy.Assign(source.get());
  EXPECT_EQ(copy.ImageProperties().ImageWidth, 6u);
  EXPECT_EQ(copy.ImageProperties().SampleBits, 16);
  EXPECT_EQ(copy.ImageProperties().ColorLayout, lyRGB);
  TBitmap argb;
  ConvertPngToArgb(&argb, &copy);
  EXPECT_EQ(PixelsOf(&argb), ExpectedArgb(pngDesc));
}

// Draws a w x h opaque RGBA image at (0, 0) of a 32-bit canvas filled with
// one colour and returns the canvas pixels.
std::vector<uint32_t> DrawOnCanvas(TPNGGraphic& png, int canvasW, int canvasH, const TRect& r) {
  TBitmap target;
  target.SetHandleType(bmDIB);
  target.SetPixelFormat(pf32bit);
  target.SetSize(canvasW, canvasH);
  const PixelView v = ArgbView(&target);
  for (int y = 0; y < canvasH; ++y)
    for (int x = 0; x < canvasW; ++x) v.At(x, y) = 0x00102030;
  target.Canvas()->StretchDraw(r, &png);
  GdiFlush();
  return PixelsOf(&target);
}

// Blending weighs by 0..255 and divides by 256, so an opaque pixel may come
// out one step off in each channel.
bool NearColour(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
    if (d < -1 || d > 1) return false;
  }
  return true;
}

TEST(PngGraphic, DrawBlendsAndAddsAMirrorWhenReflected) {
  PngDesc pngDesc = MakePngDesc(6, 8, 8, 8, 50);
  for (size_t i = 3; i < pngDesc.Samples.size(); i += 4) pngDesc.Samples[i] = 255;  // opaque
  auto png = Load(EncodePng(pngDesc));
  const std::vector<uint32_t> image = ExpectedArgb(pngDesc);
  const std::vector<uint32_t> plain = DrawOnCanvas(*png, 8, 16, TRect(0, 0, 8, 8));
  for (int i = 0; i < 64; ++i) EXPECT_TRUE(NearColour(plain[i], image[i])) << i;
  for (int i = 64; i < 128; ++i) EXPECT_EQ(plain[i], 0x00102030u) << i;

  png->SetReflected(true);
  const std::vector<uint32_t> mirrored = DrawOnCanvas(*png, 8, 16, TRect(0, 0, 8, 8));
  int changedRows = 0;
  for (int y = 8; y < 16; ++y) {
    bool changed = false;
    for (int x = 0; x < 8; ++x) changed |= (mirrored[y * 8 + x] & 0xFFFFFF) != 0x102030;
    changedRows += changed;
    if (y >= 12) {
      EXPECT_FALSE(changed) << "row " << y << " lies beyond half the height";
    }
  }
  EXPECT_GT(changedRows, 0);

  // Scaled drawing: nearest pixels, no mirror.
  const std::vector<uint32_t> scaled = DrawOnCanvas(*png, 16, 24, TRect(0, 0, 16, 16));
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      EXPECT_TRUE(NearColour(scaled[y * 16 + x], image[(y / 2) * 8 + x / 2])) << x << "," << y;
    }
  }
  for (int i = 16 * 16; i < 16 * 24; ++i) EXPECT_EQ(scaled[i], 0x00102030u);
}

}  // namespace
