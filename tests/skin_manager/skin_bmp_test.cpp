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
