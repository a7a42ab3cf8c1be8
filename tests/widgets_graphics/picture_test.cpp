// TPicture's format table, TIcon (.ico) and TJPEGImage (libjpeg).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "widgets/graphics/graphics.h"
#include "widgets/rtl/streams.h"

extern "C" {
#include <jpeglib.h>
}

namespace {

// A JPEG of w x h whose left half is red and right half blue.
std::vector<uint8_t> MakeJpeg(int w, int h, bool grey = false) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = w;
  c.image_height = h;
  c.input_components = grey ? 1 : 3;
  c.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(w) * c.input_components);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (grey) {
        row[x] = 200;
      } else {
        bool left = x < w / 2;
        row[x * 3] = left ? 255 : 0;
        row[x * 3 + 1] = 0;
        row[x * 3 + 2] = left ? 0 : 255;
      }
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> data(out, out + size);
  free(out);
  return data;
}

bool Near(TColor c, int r, int g, int b) {
  auto ok = [](int a, int e) { return a >= e - 24 && a <= e + 24; };
  return ok(c & 0xFF, r) && ok((c >> 8) & 0xFF, g) && ok((c >> 16) & 0xFF, b);
}

struct TProgressLog : TObject {
  std::vector<TProgressStage> Stages;
  void OnProgress(TObject*, TProgressStage s, uint8_t, bool, const TRect&, const std::string&) {
    Stages.push_back(s);
  }
};

std::string TempFile(const char* name) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + name;
}

TEST(Jpeg, DecodesSizeAndPixels) {
  for (bool grey : {false, true}) {
    std::vector<uint8_t> data = MakeJpeg(32, 16, grey);
    TMemoryStream s;
    s.Write(data.data(), static_cast<int32_t>(data.size()));
    s.SetPosition(0);
    TJPEGImage j;
    j.LoadFromStream(s);
    EXPECT_EQ(j.Width(), 32);
    EXPECT_EQ(j.Height(), 16);
    TBitmap b;
    b.Assign(&j);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    if (grey) {
      EXPECT_TRUE(Near(b.Canvas()->Pixels(5, 5), 200, 200, 200));
    } else {
      EXPECT_TRUE(Near(b.Canvas()->Pixels(3, 8), 255, 0, 0))
          << std::hex << b.Canvas()->Pixels(3, 8);
      EXPECT_TRUE(Near(b.Canvas()->Pixels(28, 8), 0, 0, 255));
    }
    // Drawn onto a bitmap canvas.
    TBitmap target;
    target.SetPixelFormat(pf32bit);
    target.SetSize(32, 16);
    target.Canvas()->Draw(0, 0, &j);
    EXPECT_TRUE(
        Near(target.Canvas()->Pixels(3, 3), grey ? 200 : 255, grey ? 200 : 0, grey ? 200 : 0));
    // Saving writes the loaded bytes back.
    TMemoryStream saved;
    j.SaveToStream(saved);
    ASSERT_EQ(saved.Size(), static_cast<int32_t>(data.size()));
    EXPECT_EQ(std::memcmp(saved.Memory(), data.data(), data.size()), 0);
  }
}

TEST(Jpeg, DamagedDataRaisesAndStillReportsTheEnd) {
  std::vector<uint8_t> data = MakeJpeg(16, 16);
  const std::vector<std::vector<uint8_t>> cases = {
      {},
      {0xFF, 0xD8},
      std::vector<uint8_t>(data.begin(), data.begin() + 20),
      std::vector<uint8_t>(100, 0x41),
  };
  for (const auto& bytes : cases) {
    TMemoryStream s;
    if (!bytes.empty()) s.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
    s.SetPosition(0);
    TJPEGImage j;
    TProgressLog log;
    j.OnProgress = TProgressEvent::Of<&TProgressLog::OnProgress>(&log);
    EXPECT_THROW(j.LoadFromStream(s), EInvalidGraphic);
    ASSERT_EQ(log.Stages.size(), 2u);
    EXPECT_EQ(log.Stages[0], psStarting);
    EXPECT_EQ(log.Stages[1], psEnding);
    EXPECT_TRUE(j.Empty());
  }
}

TEST(Picture, PicksTheClassByExtension) {
  EXPECT_EQ(TPicture::FindGraphicClass("bmp"), GraphicClassOf<TBitmap>());
  EXPECT_EQ(TPicture::FindGraphicClass(".JPG"), GraphicClassOf<TJPEGImage>());
  EXPECT_EQ(TPicture::FindGraphicClass("jpeg"), GraphicClassOf<TJPEGImage>());
  EXPECT_EQ(TPicture::FindGraphicClass("ico"), GraphicClassOf<TIcon>());
  EXPECT_FALSE(TPicture::FindGraphicClass("png"));

  std::string jpg = TempFile("varnel_pic.jpg");
  std::vector<uint8_t> data = MakeJpeg(8, 4);
  {
    TFileStream f(jpg, fmCreate);
    f.Write(data.data(), static_cast<int32_t>(data.size()));
  }
  TPicture p;
  p.LoadFromFile(jpg);
  ASSERT_NE(dynamic_cast<TJPEGImage*>(p.Graphic()), nullptr);
  EXPECT_EQ(p.Width(), 8);
  EXPECT_EQ(p.Height(), 4);

  // A later registration takes the extension; unregistering gives it back.
  TPicture::RegisterFileFormat("jpg", "test", GraphicClassOf<TBitmap>());
  EXPECT_EQ(TPicture::FindGraphicClass("jpg"), GraphicClassOf<TBitmap>());
  EXPECT_THROW(p.LoadFromFile(jpg), EInvalidGraphic);  // not a BMP
  TPicture::UnregisterGraphicClass(GraphicClassOf<TBitmap>());
  EXPECT_EQ(TPicture::FindGraphicClass("jpg"), GraphicClassOf<TJPEGImage>());
  EXPECT_FALSE(TPicture::FindGraphicClass("bmp"));
  TPicture::RegisterFileFormat("bmp", "Bitmaps", GraphicClassOf<TBitmap>());
  std::remove(jpg.c_str());

  EXPECT_THROW(p.LoadFromFile("x.unknown"), EInvalidGraphic);
  ASSERT_NE(p.Graphic(), nullptr);  // the failed load kept the old graphic

  // Bitmap replaces a graphic of another class; Assign copies the graphic.
  TBitmap* b = p.Bitmap();
  EXPECT_TRUE(b->Empty());
  b->SetSize(3, 3);
  TPicture q;
  q.Assign(&p);
  ASSERT_NE(q.Graphic(), p.Graphic());
  EXPECT_EQ(q.Width(), 3);
}

// An .ico file with one 32-bit image per size, each filled with its own colour.
std::vector<uint8_t> MakeIco(const std::vector<std::pair<int, uint32_t>>& images) {
  std::vector<uint8_t> out;
  auto u16 = [&](uint32_t v) { out.push_back(uint8_t(v)), out.push_back(uint8_t(v >> 8)); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  u16(0);
  u16(1);
  u16(static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  std::vector<uint32_t> sizes;
  for (auto& [s, c] : images) {
    uint32_t bytes = 40 + s * s * 4 + ((s + 31) / 32) * 4 * s;
    sizes.push_back(bytes);
    out.push_back(uint8_t(s));
    out.push_back(uint8_t(s));
    out.push_back(0);
    out.push_back(0);
    u16(1);
    u16(32);
    u32(bytes);
    u32(offset);
    offset += bytes;
  }
  for (auto& [s, c] : images) {
    u32(40);
    u32(s);
    u32(s * 2);
    u16(1);
    u16(32);
    for (int i = 0; i < 6; ++i) u32(0);
    for (int i = 0; i < s * s; ++i) u32(c | 0xFF000000u);
    for (int i = 0; i < ((s + 31) / 32) * 4 * s; ++i) out.push_back(0);
  }
  return out;
}

TEST(Icon, LoadsTheSystemSizedImageOrElseTheFirst) {
  const int sys = GetSystemMetrics(SM_CXICON);
  const std::vector<uint8_t> two = MakeIco({{16, 0x0000FF}, {sys, 0x00FF00}});
  TMemoryStream s;
  s.Write(two.data(), static_cast<int32_t>(two.size()));
  s.SetPosition(0);
  TIcon icon;
  icon.LoadFromStream(s);
  EXPECT_EQ(icon.Width(), sys);
  EXPECT_EQ(icon.Height(), sys);
  ASSERT_TRUE(icon.HandleAllocated());
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(sys, sys);
  b.Canvas()->Draw(0, 0, &icon);
  EXPECT_EQ(b.Canvas()->Pixels(sys / 2, sys / 2), clLime);
  EXPECT_THROW(icon.SetWidth(5), EInvalidGraphicOperation);

  const std::vector<uint8_t> other = MakeIco({{24, 0x0000FF}, {20, 0x00FF00}});
  TMemoryStream s2;
  s2.Write(other.data(), static_cast<int32_t>(other.size()));
  s2.SetPosition(0);
  TIcon first;
  first.LoadFromStream(s2);
  EXPECT_EQ(first.Width(), 24);

  // Saved as loaded.
  TMemoryStream out;
  first.SaveToStream(out);
  ASSERT_EQ(out.Size(), static_cast<int32_t>(other.size()));
  EXPECT_EQ(std::memcmp(out.Memory(), other.data(), other.size()), 0);
}

TEST(Icon, AdoptedHandleIsOwnedAndSavesAsIco) {
  TBitmap color, mask;
  color.SetPixelFormat(pf32bit);
  color.SetSize(16, 16);
  color.Canvas()->Brush()->SetColor(clBlue);
  color.Canvas()->FillRect(Rect(0, 0, 16, 16));
  mask.SetPixelFormat(pf1bit);
  mask.SetSize(16, 16);
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(Rect(0, 0, 16, 16));
  ICONINFO ii{TRUE, 0, 0, mask.Handle(), color.Handle()};
  HICON h = CreateIconIndirect(&ii);
  ASSERT_NE(h, nullptr);
  TIcon icon;
  icon.SetHandle(h);
  EXPECT_EQ(icon.Width(), 16);
  EXPECT_EQ(icon.Height(), 16);
  TMemoryStream s;
  icon.SaveToStream(s);
  s.SetPosition(0);
  TIcon back;
  back.LoadFromStream(s);
  EXPECT_EQ(back.Width(), 16);
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(16, 16);
  b.Canvas()->Draw(0, 0, &back);
  EXPECT_EQ(b.Canvas()->Pixels(8, 8), clBlue);

  HICON given = icon.ReleaseHandle();
  EXPECT_EQ(given, h);
  EXPECT_TRUE(icon.Empty());
  DestroyIcon(given);
}

TEST(Icon, DamagedFilesRaise) {
  std::vector<uint8_t> good = MakeIco({{16, 0xFF}});
  auto patch = [&](size_t at, uint32_t v) {
    std::vector<uint8_t> b = good;
    std::memcpy(&b[at], &v, 4);
    return b;
  };
  const std::vector<std::vector<uint8_t>> cases = {
      {0, 0, 1},                                              // cut header
      std::vector<uint8_t>(good.begin(), good.begin() + 12),  // cut directory
      patch(2, 2),                                            // a cursor file
      patch(4, 0),                                            // no images
      patch(18, 0x7FFFFFF0),                                  // image offset past the end
      patch(14, 0xFFFFFFF0),                                  // image size past the end
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    TMemoryStream s;
    s.Write(cases[i].data(), static_cast<int32_t>(cases[i].size()));
    s.SetPosition(0);
    TIcon icon;
    EXPECT_THROW(icon.LoadFromStream(s), EInvalidGraphic);
    EXPECT_TRUE(icon.Empty());
  }
}

}  // namespace
