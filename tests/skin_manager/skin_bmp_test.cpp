// The skin's BMP reader: plain 24-bit files of either row order, files of
// other forms through the general reader, and files shorter than their
// header says.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/engine/skin_bmp.h"
#include "skin/foundation/argb_bitmap.h"
#include "tests/skin_manager/skin_files.h"
#include "widgets/rtl/exceptions.h"

namespace {

void Put32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

// A 24-bit BMP of 3 x 2 pixels: row 0 red, key, blue; row 1 all green.
std::string PlainBmp(bool TopDown) {
  std::string f(54, '\0');
  f[0] = 'B';
  f[1] = 'M';
  Put32(f, 10, 54);
  Put32(f, 14, 40);
  Put32(f, 18, 3);
  Put32(f, 22, TopDown ? static_cast<uint32_t>(-2) : 2u);
  f[26] = 1;
  f[28] = 24;
  const std::string top =
      std::string("\x00\x00\xFF\xFF\x00\xFF\xFF\x00\x00", 9) + '\0' + '\0' + '\0';
  const std::string bottom =
      std::string("\x00\xFF\x00\x00\xFF\x00\x00\xFF\x00", 9) + '\0' + '\0' + '\0';
  f += TopDown ? top + bottom : bottom + top;
  Put32(f, 2, static_cast<uint32_t>(f.size()));
  return f;
}

TEST(SkinBmp, PlainFilesOfEitherRowOrderBecomeOpaqueArgbWithKeyHoles) {
  TempFolder dir;
  for (bool topDown : {false, true}) {
    dir.Text("p.bmp", PlainBmp(topDown));
    TBitmap b;
    LoadBmpFileArgb(dir.Path() + "\\p.bmp", &b);
    const PixelView v = ArgbView(&b);
    ASSERT_TRUE(v.Valid()) << topDown;
    ASSERT_EQ(v.Width, 3);
    ASSERT_EQ(v.Height, 2);
    EXPECT_EQ(v.At(0, 0), 0xFFFF0000u) << topDown;
    EXPECT_EQ(v.At(1, 0), 0x00FF00FFu) << topDown;  // the key stays a hole
    EXPECT_EQ(v.At(2, 0), 0xFF0000FFu) << topDown;
    EXPECT_EQ(v.At(1, 1), 0xFF00FF00u) << topDown;
  }
}

TEST(SkinBmp, OtherFormsGoThroughTheGeneralReader) {
  TempFolder dir;
  TBitmap eight;
  eight.SetPixelFormat(pf8bit);
  eight.SetSize(4, 3);
  eight.SaveToFile(dir.Path() + "\\e.bmp");
  TBitmap b;
  LoadBmpFileArgb(dir.Path() + "\\e.bmp", &b);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(ArgbView(&b).At(3, 2), 0xFFFFFFFFu);  // white, opaque
}

TEST(SkinBmp, FilesShorterThanTheirHeaderSaysAreRefused) {
  TempFolder dir;
  const std::string plain = PlainBmp(false);
  for (size_t keep : {plain.size() - 1, size_t{60}, size_t{20}}) {
    dir.Text("t.bmp", plain.substr(0, keep));
    TBitmap b;
    EXPECT_THROW(LoadBmpFileArgb(dir.Path() + "\\t.bmp", &b), Exception) << keep;
  }
}

}  // namespace

// A bottom-up 24-bit BMP whose pixel (x, y) is Seed + x * 7 + y * 131 (one
// byte per channel), the key colour at (1, 1).
std::string PatternBmp(int W, int H, uint32_t Seed) {
  const size_t stride = (static_cast<size_t>(W) * 3 + 3) & ~size_t{3};
  std::string f(54 + stride * H, '\0');
  f[0] = 'B';
  f[1] = 'M';
  Put32(f, 2, static_cast<uint32_t>(f.size()));
  Put32(f, 10, 54);
  Put32(f, 14, 40);
  Put32(f, 18, static_cast<uint32_t>(W));
  Put32(f, 22, static_cast<uint32_t>(H));
  f[26] = 1;
  f[28] = 24;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const uint32_t c = x == 1 && y == 1 ? 0xFF00FFu : (Seed + x * 7 + y * 131) & 0xFFFFFFu;
      const size_t at = 54 + stride * (H - 1 - y) + x * 3;
      f[at] = static_cast<char>(c);
      f[at + 1] = static_cast<char>(c >> 8);
      f[at + 2] = static_cast<char>(c >> 16);
    }
  return f;
}

void ExpectPattern(TBitmap& B, int W, int H, uint32_t Seed) {
  const PixelView v = ArgbView(&B);
  ASSERT_TRUE(v.Valid());
  ASSERT_EQ(v.Width, W);
  ASSERT_EQ(v.Height, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const uint32_t want = x == 1 && y == 1 ? 0x00FF00FFu
                                             : 0xFF000000u | ((Seed + x * 7 + y * 131) & 0xFFFFFF);
      ASSERT_EQ(v.At(x, y), want) << x << "," << y;
    }
}

TEST(SkinBmp, EveryRowWidthIsWidenedInPlaceWithoutLosingAPixel) {
  TempFolder dir;
  for (int w : {1, 2, 3, 4, 5, 7, 64, 65}) {
    dir.Text("w.bmp", PatternBmp(w, 5, 0x102030u));
    TBitmap b;
    LoadBmpFileArgb(dir.Path() + "\\w.bmp", &b);
    ExpectPattern(b, w, 5, 0x102030u);
  }
}

TEST(SkinBmp, ASpareMasterServesTheNextFileOfItsSizeOnly) {
  TempFolder dir;
  dir.Text("a.bmp", PatternBmp(9, 6, 0x010101u));
  dir.Text("b.bmp", PatternBmp(9, 6, 0x404040u));
  dir.Text("c.bmp", PatternBmp(8, 6, 0x707070u));
  TBitmap first;
  LoadBmpFileArgb(dir.Path() + "\\a.bmp", &first);
  KeepSpareArgbPixels(&first);
  EXPECT_FALSE(first.HandleAllocated());
  TBitmap other;
  LoadBmpFileArgb(dir.Path() + "\\c.bmp", &other);  // another size: a new DIB, spare kept
  ExpectPattern(other, 8, 6, 0x707070u);
  KeepSpareArgbPixels(&first);  // no image: nothing to keep
  TBitmap second;
  KeepSpareArgbPixels(&other);
  LoadBmpFileArgb(dir.Path() + "\\b.bmp", &second);
  ExpectPattern(second, 9, 6, 0x404040u);
  const HBITMAP secondHandle = second.Handle();
  KeepSpareArgbPixels(&second);
  TBitmap third;
  LoadBmpFileArgb(dir.Path() + "\\a.bmp", &third);
  EXPECT_EQ(third.Handle(), secondHandle);  // the spare's pixels, all rewritten
  ExpectPattern(third, 9, 6, 0x010101u);
  FreeSpareArgbPixels();
}
