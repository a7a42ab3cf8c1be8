// BMP files: round trips at every depth, both row orders, hostile headers,
// the persisted Data block and bitmap resources.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "widgets/graphics/graphics.h"
#include "widgets/rtl/streams.h"

namespace {

const struct {
  TPixelFormat Format;
  int Bpp;
} kDepths[] = {{pf1bit, 1},   {pf4bit, 4},   {pf8bit, 8},  {pf15bit, 16},
               {pf16bit, 16}, {pf24bit, 24}, {pf32bit, 32}};

// A bitmap of the format whose every row holds a different byte pattern.
void Fill(TBitmap& b, TPixelFormat f, int w, int h) {
  b.SetPixelFormat(f);
  b.SetSize(w, h);
  int bytes = 0;
  for (const auto& d : kDepths)
    if (d.Format == f) bytes = (w * d.Bpp + 7) / 8;
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<uint8_t*>(b.ScanLine(y));
    for (int i = 0; i < bytes; ++i) row[i] = static_cast<uint8_t>(y * 37 + i * 11 + 5);
    // Keep bits past the width clear so rows compare byte for byte.
    int used = w * (f == pf1bit ? 1 : f == pf4bit ? 4 : 8);
    if (used % 8) row[bytes - 1] &= static_cast<uint8_t>(0xFF << (8 - used % 8));
  }
}

std::vector<uint8_t> Bytes(TMemoryStream& s) {
  auto* p = static_cast<uint8_t*>(s.Memory());
  return std::vector<uint8_t>(p, p + s.Size());
}

void ExpectSamePixels(TBitmap& a, TBitmap& b) {
  ASSERT_EQ(a.Width(), b.Width());
  ASSERT_EQ(a.Height(), b.Height());
  ASSERT_EQ(a.PixelFormat(), b.PixelFormat());
  int stride = a.Height() > 1 ? static_cast<int>(static_cast<uint8_t*>(a.ScanLine(0)) -
                                                 static_cast<uint8_t*>(a.ScanLine(1)))
                              : 0;
  for (int y = 0; y < a.Height(); ++y)
    EXPECT_EQ(std::memcmp(a.ScanLine(y), b.ScanLine(y), stride), 0) << "row " << y;
}

// The same file with its rows stored top-down (negative height).
std::vector<uint8_t> TopDown(const std::vector<uint8_t>& file) {
  std::vector<uint8_t> out = file;
  uint32_t off, size;
  int32_t w, h;
  uint16_t bpp;
  std::memcpy(&off, &file[10], 4);
  std::memcpy(&w, &file[18], 4);
  std::memcpy(&h, &file[22], 4);
  std::memcpy(&bpp, &file[28], 2);
  size = ((w * bpp + 31) / 32) * 4;
  int32_t neg = -h;
  std::memcpy(&out[22], &neg, 4);
  for (int r = 0; r < h; ++r)
    std::memcpy(&out[off + r * size], &file[off + (h - 1 - r) * size], size);
  return out;
}

TEST(Bmp, RoundTripsAtEveryDepthInBothRowOrders) {
  for (const auto& d : kDepths) {
    for (int h : {1, 3}) {
      SCOPED_TRACE(testing::Message() << "bpp " << d.Bpp << " format " << d.Format << " h " << h);
      TBitmap src;
      Fill(src, d.Format, 7, h);
      TMemoryStream file;
      src.SaveToStream(file);
      std::vector<uint8_t> bytes = Bytes(file);
      ASSERT_GE(bytes.size(), 54u);
      EXPECT_EQ(bytes[0], 'B');
      uint16_t bpp;
      std::memcpy(&bpp, &bytes[28], 2);
      EXPECT_EQ(bpp, d.Bpp);

      file.SetPosition(0);
      TBitmap back;
      back.LoadFromStream(file);
      EXPECT_EQ(file.Position(), file.Size());
      ExpectSamePixels(src, back);

      std::vector<uint8_t> flipped = TopDown(bytes);
      TMemoryStream td;
      td.Write(flipped.data(), static_cast<int32_t>(flipped.size()));
      td.SetPosition(0);
      TBitmap fromTop;
      fromTop.LoadFromStream(td);
      ExpectSamePixels(src, fromTop);
    }
  }
}

TEST(Bmp, PaletteTravelsWithTheFile) {
  TBitmap src;
  src.SetPixelFormat(pf8bit);
  struct {
    WORD Version, Count;
    PALETTEENTRY E[3];
  } lp{0x300, 3, {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}}};
  src.SetPalette(CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp)));
  src.SetSize(3, 1);
  std::memcpy(src.ScanLine(0), "\x00\x01\x02", 3);
  TMemoryStream s;
  src.SaveToStream(s);
  s.SetPosition(0);
  TBitmap back;
  back.LoadFromStream(s);
  EXPECT_EQ(back.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(back.Canvas()->Pixels(1, 0), clLime);
  EXPECT_EQ(back.Canvas()->Pixels(2, 0), clBlue);
}

TEST(Bmp, DeviceBitmapsAreWrittenAs32BitPixels) {
  TBitmap src;
  src.SetSize(2, 2);
  src.Canvas()->Brush()->SetColor(clRed);
  src.Canvas()->FillRect(Rect(0, 0, 2, 2));
  TMemoryStream s;
  src.SaveToStream(s);
  s.SetPosition(0);
  TBitmap back;
  back.LoadFromStream(s);
  EXPECT_EQ(back.PixelFormat(), pf32bit);
  EXPECT_EQ(back.Canvas()->Pixels(1, 1), clRed);
}

TEST(Bmp, HostileFilesRaiseAndLeaveTheBitmapAlone) {
  TBitmap good;
  Fill(good, pf24bit, 4, 4);
  TMemoryStream file;
  good.SaveToStream(file);
  const std::vector<uint8_t> bytes = Bytes(file);

  auto patch = [&](size_t at, int32_t v) {
    std::vector<uint8_t> b = bytes;
    std::memcpy(&b[at], &v, 4);
    return b;
  };
  std::vector<std::vector<uint8_t>> cases = {
      std::vector<uint8_t>(bytes.begin(), bytes.begin() + 10),  // cut in the file header
      std::vector<uint8_t>(bytes.begin(), bytes.end() - 1),     // one pixel byte short
      patch(0, 0x0000504E),                                     // not "BM"
      patch(14, 7),                                             // unknown header size
      patch(18, 0x7FFFFFFF),                                    // width overflows the stride
      patch(18, -4),                                            // negative width
      patch(22, 0x40000000),                                    // beyond the size limit
      patch(22, 100),                                           // more rows than data
      patch(22, INT32_MIN),                                     // no magnitude
      patch(28, 2),                                             // 2 bits per pixel
      patch(30, BI_RLE8),                                       // compressed
      patch(46, 100000),                                        // huge colour table
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    TBitmap b;
    Fill(b, pf8bit, 2, 2);
    TMemoryStream s;
    s.Write(cases[i].data(), static_cast<int32_t>(cases[i].size()));
    s.SetPosition(0);
    EXPECT_ANY_THROW(b.LoadFromStream(s));
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.PixelFormat(), pf8bit);
  }
}

TEST(Bmp, DataBlockIsALengthThenABmpFile) {
  TBitmap src;
  Fill(src, pf32bit, 3, 2);
  TMemoryStream s;
  src.WriteData(s);
  int32_t len;
  std::memcpy(&len, s.Memory(), 4);
  EXPECT_EQ(len, s.Size() - 4);
  EXPECT_EQ(static_cast<uint8_t*>(s.Memory())[4], 'B');
  const char tail[] = "after";
  s.Write(tail, 5);
  s.SetPosition(0);
  TBitmap back;
  back.ReadData(s);
  EXPECT_EQ(s.Position(), 4 + len);  // nothing read past the block
  ExpectSamePixels(src, back);
}

TEST(Bmp, MissingResourceRaises) {
  TBitmap b;
  EXPECT_THROW(b.LoadFromResourceName(GetModuleHandleA(nullptr), "NOSUCHBITMAP"), EResNotFound);
  // A system bitmap resource in the packed-DIB form.
  HMODULE user32 = GetModuleHandleA("user32.dll");
  EXPECT_NO_THROW(b.LoadFromResourceID(user32, 32759));  // OBM_CHECKBOXES
  EXPECT_GT(b.Width(), 0);
  EXPECT_GT(b.Height(), 0);
}

}  // namespace
