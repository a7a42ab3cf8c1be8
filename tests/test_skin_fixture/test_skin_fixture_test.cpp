#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "test_skin.h"

using namespace test_skin;

namespace {

uint32_t LE(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + size_t(i)];
  return v;
}

uint32_t BE32(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) |
         b[at + 3];
}

const SkinFile* Find(const TestSkinFiles& skin, const std::string& name) {
  for (const SkinFile& f : skin.Files)
    if (f.Name == name) return &f;
  return nullptr;
}

// The 0xAARRGGBB value a decoder reads from a 24-bit bottom-up BMP.
uint32_t BmpPixel(const std::vector<uint8_t>& b, int x, int y) {
  const int32_t width = int32_t(LE(b, 18, 4)), height = int32_t(LE(b, 22, 4));
  const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
  const size_t at = LE(b, 10, 4) + size_t(height - 1 - y) * stride + size_t(x) * 3;
  return 0xFF000000 | (uint32_t(b[at + 2]) << 16) | (uint32_t(b[at + 1]) << 8) | b[at];
}

// Decodes a non-interlaced 8-bit RGBA PNG with zlib alone, as the format
// defines it, so the writer's output is judged by the standard and not by
// the writer.
std::vector<uint32_t> DecodeRgbaPng(const std::vector<uint8_t>& b, uint32_t& w, uint32_t& h) {
  std::vector<uint8_t> z;
  for (size_t at = 8; at + 12 <= b.size();) {
    const uint32_t len = BE32(b, at);
    const std::string type(b.begin() + long(at) + 4, b.begin() + long(at) + 8);
    const uint32_t crc = uint32_t(crc32(0, &b[at + 4], len + 4));
    EXPECT_EQ(crc, BE32(b, at + 8 + len)) << type;
    if (type == "IHDR") {
      w = BE32(b, at + 8);
      h = BE32(b, at + 12);
      EXPECT_EQ(8, b[at + 16]);
      EXPECT_EQ(6, b[at + 17]);
      EXPECT_EQ(0, b[at + 20]);
    }
    if (type == "IDAT") z.insert(z.end(), b.begin() + long(at) + 8, b.begin() + long(at + 8 + len));
    at += 12 + len;
  }
  const size_t stride = size_t(w) * 4;
  std::vector<uint8_t> raw((stride + 1) * h);
  uLongf size = uLongf(raw.size());
  EXPECT_EQ(Z_OK, uncompress(raw.data(), &size, z.data(), uLong(z.size())));
  std::vector<uint8_t> prior(stride, 0), line(stride);
  std::vector<uint32_t> out;
  for (uint32_t y = 0; y < h; ++y) {
    const uint8_t filter = raw[y * (stride + 1)];
    for (size_t i = 0; i < stride; ++i) {
      const int x = raw[y * (stride + 1) + 1 + i];
      const int a = i >= 4 ? line[i - 4] : 0, up = prior[i], c = i >= 4 ? prior[i - 4] : 0;
      int pred = 0;
      if (filter == 1) pred = a;
      if (filter == 2) pred = up;
      if (filter == 3) pred = (a + up) / 2;
      if (filter == 4) {
        const int p = a + up - c, pa = std::abs(p - a), pb = std::abs(p - up), pc = std::abs(p - c);
        pred = pa <= pb && pa <= pc ? a : pb <= pc ? up : c;
      }
      line[i] = uint8_t(x + pred);
    }
    for (uint32_t x = 0; x < w; ++x)
      out.push_back((uint32_t(line[x * 4 + 3]) << 24) | (uint32_t(line[x * 4]) << 16) |
                    (uint32_t(line[x * 4 + 1]) << 8) | line[x * 4 + 2]);
    prior = line;
  }
  return out;
}

}  // namespace

TEST(TestSkinFixture, EveryVariantIsTheSameOnEveryBuild) {
  for (const std::string& name : VariantNames()) {
    const TestSkinFiles a = BuildTestSkin(name), b = BuildTestSkin(name);
    ASSERT_EQ(a.Files.size(), b.Files.size()) << name;
    for (size_t i = 0; i < a.Files.size(); ++i) {
      EXPECT_EQ(a.Files[i].Name, b.Files[i].Name);
      EXPECT_TRUE(a.Files[i].Bytes == b.Files[i].Bytes) << name << " " << a.Files[i].Name;
    }
    EXPECT_EQ(ManifestText(a.Manifest), ManifestText(b.Manifest)) << name;
  }
}

TEST(TestSkinFixture, WrittenFolderHoldsExactlyTheListedFiles) {
  const auto dir = std::filesystem::temp_directory_path() / "test_skin_fixture" / "Tessera";
  std::filesystem::remove_all(dir.parent_path());
  const TestSkinManifest m = WriteTestSkin(dir);
  const TestSkinFiles mem = BuildTestSkin();
  size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    ++count;
    const SkinFile* f = Find(mem, entry.path().filename().string());
    ASSERT_NE(nullptr, f) << entry.path();
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_TRUE(bytes == f->Bytes) << f->Name;
    ASSERT_NE(nullptr, m.File(f->Name));
    EXPECT_EQ(bytes.size(), m.File(f->Name)->Size);
  }
  EXPECT_EQ(m.Files.size(), count);
  auto manifest = dir;
  manifest += ".manifest.txt";
  EXPECT_TRUE(std::filesystem::exists(manifest));
  std::filesystem::remove_all(dir.parent_path());
}

TEST(TestSkinFixture, FilesDecodeToTheirStatedSizeAndPixels) {
  for (bool large : {false, true}) {
    const TestSkinFiles skin = BuildTestSkin(kSoundVariant, large);
    for (const MfFile& info : skin.Manifest.Files) {
      const std::vector<uint8_t>& b = Find(skin, info.Name)->Bytes;
      if (info.Kind == "bmp24") {
        ASSERT_GE(b.size(), 54u);
        EXPECT_EQ(0, std::memcmp(b.data(), "BM", 2));
        EXPECT_EQ(b.size(), LE(b, 2, 4));
        EXPECT_EQ(40u, LE(b, 14, 4));
        EXPECT_EQ(uint32_t(info.Width), LE(b, 18, 4));
        EXPECT_EQ(uint32_t(info.Height), LE(b, 22, 4));
        EXPECT_EQ(24u, LE(b, 28, 2));
        EXPECT_EQ(0u, LE(b, 30, 4));
      } else if (info.Kind == "jpeg") {
        EXPECT_EQ(0xFF, b[0]);
        EXPECT_EQ(0xD8, b[1]);
        EXPECT_EQ(0xD9, b.back());
        // The baseline frame header carries the size.
        size_t sof = 2;
        while (sof + 9 < b.size() && !(b[sof] == 0xFF && b[sof + 1] == 0xC0)) ++sof;
        ASSERT_LT(sof + 9, b.size());
        EXPECT_EQ(uint32_t(info.Height), (uint32_t(b[sof + 5]) << 8) | b[sof + 6]);
        EXPECT_EQ(uint32_t(info.Width), (uint32_t(b[sof + 7]) << 8) | b[sof + 8]);
      } else if (info.Kind == "png") {
        uint32_t w = 0, h = 0;
        const std::vector<uint32_t> px = DecodeRgbaPng(b, w, h);
        EXPECT_EQ(uint32_t(info.Width), w);
        EXPECT_EQ(uint32_t(info.Height), h);
        for (const MfPixel& p : skin.Manifest.Pixels) {
          if (p.File == info.Name) {
            EXPECT_EQ(p.FileArgb, px[size_t(p.Y) * w + p.X]) << p.What;
          }
        }
      }
    }
    const std::vector<uint8_t>& master = Find(skin, "MASTER.BMP")->Bytes;
    for (const MfPixel& p : skin.Manifest.Pixels) {
      if (p.File == "MASTER.BMP") {
        EXPECT_EQ(p.FileArgb, BmpPixel(master, p.X, p.Y)) << p.What;
      }
    }
    if (large) {
      EXPECT_EQ(1024, skin.Manifest.MasterWidth);
      EXPECT_EQ(1024, skin.Manifest.MasterHeight);
      EXPECT_GE(skin.Manifest.Sections.size(), 115u);
    }
  }
}

TEST(TestSkinFixture, ImagesLieInsideTheirBitmapsAndKeysAreHoles) {
  const TestSkinFiles skin = BuildTestSkin(kSoundVariant, true);
  const TestSkinManifest& m = skin.Manifest;
  for (const MfImage& im : m.Images) {
    const MfFile* file = im.File.empty() ? m.File("MASTER.BMP") : m.File(im.File);
    const int w = im.OwnBitmap && im.File.empty() ? im.SourceRect.Right : file->Width;
    const int h = im.OwnBitmap && im.File.empty() ? im.SourceRect.Bottom : file->Height;
    const std::string what = im.Section + "/" + im.Key;
    EXPECT_GE(im.SourceRect.Left, 0) << what;
    EXPECT_GE(im.SourceRect.Top, 0) << what;
    EXPECT_LT(im.SourceRect.Left, im.SourceRect.Right) << what;
    EXPECT_LT(im.SourceRect.Top, im.SourceRect.Bottom) << what;
    EXPECT_LE(im.SourceRect.Right, w) << what;
    EXPECT_LE(im.SourceRect.Bottom, h) << what;
    EXPECT_EQ(0, im.SourceRect.Width() % im.FrameCount) << what;
    EXPECT_EQ(m.Sections[size_t(im.SectionIndex)].Name, im.Section) << what;
  }
  const std::vector<uint8_t>& master = Find(skin, "MASTER.BMP")->Bytes;
  const MfImage& button = m.Images[size_t(m.ImageIndex("BUTTON", "BORDERSMASK"))];
  EXPECT_EQ(1, button.TransparentCorners);
  for (int f = 0; f < button.FrameCount; ++f)
    EXPECT_EQ(0xFFFF00FFu, BmpPixel(master, button.SourceRect.Left + f * button.FrameWidth,
                                    button.SourceRect.Top));
  for (const MfPixel& p : m.Pixels) {
    if ((p.FileArgb & 0xFFFFFF) == 0xFF00FF) {
      EXPECT_EQ(0x00FF00FFu, p.LoadedArgb) << p.What;
    }
  }
}

TEST(TestSkinFixture, VariantsSayWhatTheyAreAndDifferFromTheSoundSkin) {
  const TestSkinFiles sound = BuildTestSkin();
  const std::vector<std::string> names = VariantNames(), broken = BrokenVariantNames();
  ASSERT_EQ(kSoundVariant, names.front());
  for (size_t i = 1; i < names.size(); ++i) {
    const TestSkinFiles v = BuildTestSkin(names[i]);
    const bool listedBroken = std::find(broken.begin(), broken.end(), names[i]) != broken.end();
    // A sound variant keeps a full manifest; a broken one says what is broken.
    EXPECT_EQ(v.Manifest.Broken.empty(), !listedBroken) << names[i];
    EXPECT_EQ(v.Manifest.Sections.empty(), listedBroken) << names[i];
    EXPECT_FALSE(v.Manifest.Expectation.empty()) << names[i];
    bool differs = v.Files.size() != sound.Files.size();
    for (size_t k = 0; !differs && k < sound.Files.size(); ++k)
      differs = v.Files[k].Bytes != sound.Files[k].Bytes;
    EXPECT_TRUE(differs) << names[i];
  }
  for (const std::string& name : broken)
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
  EXPECT_THROW(BuildTestSkin("no-such-variant"), std::invalid_argument);
}
