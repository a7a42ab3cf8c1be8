#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
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
  // Every key pixel a strip states is a hole in every frame, and a strip with
  // key corners says so in its image (the huge button's mask always gives 2).
  for (const MfStrip& s : m.Controls.Strips) {
    const MfImage& im = m.Images[size_t(s.Image)];
    for (int f = 0; f < im.FrameCount; ++f)
      for (const MfPoint& p : s.KeyPixels)
        EXPECT_EQ(0xFFFF00FFu, BmpPixel(master, im.SourceRect.Left + f * im.FrameWidth + p.X,
                                        im.SourceRect.Top + p.Y))
            << s.Section << "/" << s.Key << " frame " << f;
    if (!s.KeyPixels.empty()) {
      EXPECT_NE(0, im.TransparentCorners) << s.Section;
    }
  }
  EXPECT_EQ(2, m.Images[size_t(m.ImageIndex("BUTTON_HUGE", "BORDERSMASK"))].TransparentCorners);
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

// What push buttons, group boxes and their check boxes need of the skin: a
// face of its own for every state frame, the frames the content states
// pick, and the sections they look up by name.
TEST(TestSkinFixture, ControlStripsGiveEveryStateFrameAFaceOfItsOwn) {
  for (bool large : {false, true}) {
    const TestSkinFiles skin = BuildTestSkin(kSoundVariant, large);
    const TestSkinManifest& m = skin.Manifest;
    const MfControls& c = m.Controls;
    const std::vector<uint8_t>& master = Find(skin, "MASTER.BMP")->Bytes;
    const struct {
      const char* Section;
      const char* Key;
      int Frames;
    } strips[] = {{"BUTTON", "BORDERSMASK", 4},          {"BUTTON_HUGE", "BORDERSMASK", 4},
                  {"GLOBALINFO", "BOXUNCHECKED", 3},     {"GLOBALINFO", "BOXCHECKED", 3},
                  {"GROUPBOXCAPTION", "BORDERSMASK", 2}, {"EDIT", "BORDERSMASK", 2},
                  {"COMBOBOX", "GLYPHMASK", 3},          {"COMBOBTN", "BORDERSMASK", 3}};
    std::vector<uint32_t> boxFaces;
    for (const auto& want : strips) {
      const MfStrip* s = m.Strip(want.Section, want.Key);
      ASSERT_NE(s, nullptr) << want.Section << "/" << want.Key;
      const MfImage& im = m.Images[size_t(s->Image)];
      EXPECT_EQ(im.Section + im.Key, std::string(want.Section) + want.Key);
      ASSERT_EQ(int(s->Faces.size()), want.Frames) << want.Key;
      EXPECT_EQ(im.FrameCount, want.Frames) << want.Key;
      for (int f = 0; f < want.Frames; ++f) {
        EXPECT_EQ(s->Faces[size_t(f)],
                  BmpPixel(master, im.SourceRect.Left + f * im.FrameWidth + s->Face.X,
                           im.SourceRect.Top + s->Face.Y))
            << want.Section << "/" << want.Key << " frame " << f;
        for (int g = 0; g < f; ++g) EXPECT_NE(s->Faces[size_t(f)], s->Faces[size_t(g)]) << want.Key;
      }
      if (std::string(want.Section) == "GLOBALINFO")
        boxFaces.insert(boxFaces.end(), s->Faces.begin(), s->Faces.end());
    }
    // Checked and unchecked never share a face colour.
    for (size_t i = 0; i < boxFaces.size(); ++i)
      for (size_t j = 0; j < i; ++j) EXPECT_NE(boxFaces[i], boxFaces[j]);
    EXPECT_EQ(m.Strip("BUTTON", "BORDERSMASK")->Image, m.Sections[size_t(c.Button)].BordersMask);
    EXPECT_EQ(m.Strip("GLOBALINFO", "BOXUNCHECKED")->Image, m.Globals.CheckBoxes[0]);
    EXPECT_EQ(m.Strip("GLOBALINFO", "BOXCHECKED")->Image, m.Globals.CheckBoxes[1]);

    // Four content states, four frames; the section's own colours follow the
    // first three, and the default look exists only as the fourth frame.
    const MfSection& button = m.Sections[size_t(c.Button)];
    EXPECT_EQ(button.StateCount, 4);
    EXPECT_TRUE(button.UseState2);
    EXPECT_EQ(c.ButtonFrames, (std::array<int, 4>{0, 1, 2, 3}));
    const std::vector<uint32_t>& faces = m.Strip("BUTTON", "BORDERSMASK")->Faces;
    for (size_t k = 0; k < 3; ++k) {
      const int32_t tc = button.States[k].Color;
      EXPECT_EQ(faces[k], 0xFF000000u | (uint32_t(tc & 0xFF) << 16) | uint32_t(tc & 0xFF00) |
                              (uint32_t(tc >> 16) & 0xFF))
          << k;
    }
    for (int i : {c.ButtonHuge, c.ToolButton, c.GroupBox, c.CheckBox, c.Transparent, c.Edit,
                  c.ComboBox, c.ComboButton})
      EXPECT_GE(i, 0);
    EXPECT_EQ(c.Selection, -1);
    EXPECT_EQ(m.Strip("COMBOBOX", "GLYPHMASK")->Image, c.ComboGlyph);
    EXPECT_EQ(m.Strip("EDIT", "BORDERSMASK")->Image, m.Sections[size_t(c.Edit)].BordersMask);
    EXPECT_EQ(m.Strip("COMBOBTN", "BORDERSMASK")->Image,
              m.Sections[size_t(c.ComboButton)].BordersMask);
    ASSERT_GE(c.CaptionSection, 0);
    EXPECT_EQ(m.Sections[size_t(c.CaptionSection)].Name, c.CaptionSkin);
    EXPECT_NE(m.Sections[size_t(c.CaptionSection)].States[0].Color,
              m.Sections[size_t(c.CaptionSection)].States[1].Color);
    EXPECT_NE(m.Sections[size_t(c.CheckBox)].States[0].Color,
              m.Sections[size_t(c.CheckBox)].States[1].Color);
  }

  // The variant without a normal frame differs from the sound skin only in
  // bit 2 of the two button masks' PaintMode.
  const TestSkinManifest sound = BuildTestSkin().Manifest;
  const TestSkinManifest bare = BuildTestSkin("button-no-normal-frame").Manifest;
  ASSERT_EQ(bare.Images.size(), sound.Images.size());
  for (size_t i = 0; i < sound.Images.size(); ++i) {
    const MfImage &a = sound.Images[i], &b = bare.Images[i];
    const bool buttonMask =
        a.Key == "BORDERSMASK" && (a.Section == "BUTTON" || a.Section == "BUTTON_HUGE");
    EXPECT_EQ(b.PaintMode, buttonMask ? a.PaintMode | 2 : a.PaintMode) << a.Section << "/" << a.Key;
    if (buttonMask) {
      EXPECT_EQ(a.PaintMode & 2, 0) << a.Section;
    }
    EXPECT_EQ(b.TransparentCorners, a.TransparentCorners) << a.Section << "/" << a.Key;
  }
}

// Edits, combo boxes and the skin-wide colours: every state and every source
// a control may take its colour from has a colour of its own, so a painted
// pixel says which one was used.
TEST(TestSkinFixture, FieldsAndGlobalColoursTellStatesAndSourcesApart) {
  const TestSkinManifest m = BuildTestSkin().Manifest;
  const MfControls& c = m.Controls;
  const auto tc = [](uint32_t argb) {
    return int32_t(((argb >> 16) & 0xFF) | (argb & 0xFF00) | ((argb & 0xFF) << 16));
  };
  const struct {
    int Section;
    int States;
    const char* Key;
  } fields[] = {{c.Edit, 2, "BORDERSMASK"}, {c.ComboButton, 3, "BORDERSMASK"}};
  for (const auto& f : fields) {
    ASSERT_GE(f.Section, 0);
    const MfSection& s = m.Sections[size_t(f.Section)];
    EXPECT_GE(s.StateCount, f.States) << s.Name;
    if (f.States > 2) {
      EXPECT_TRUE(s.UseState2) << s.Name;
    }
    const MfStrip* strip = m.Strip(s.Name, f.Key);
    ASSERT_NE(strip, nullptr) << s.Name;
    ASSERT_EQ(int(strip->Faces.size()), f.States) << s.Name;
    for (int k = 0; k < f.States; ++k) {
      // The mask's frame k shows state k's own colour.
      EXPECT_EQ(tc(strip->Faces[size_t(k)]), s.States[size_t(k)].Color) << s.Name << " " << k;
      for (int j = 0; j < k; ++j) {
        EXPECT_NE(s.States[size_t(k)].Color, s.States[size_t(j)].Color) << s.Name;
        EXPECT_NE(s.States[size_t(k)].FontColor, s.States[size_t(j)].FontColor) << s.Name;
      }
    }
  }
  // The edit's mask cuts its corners with key pixels in every frame.
  const MfImage& edit = m.Images[size_t(m.Sections[size_t(c.Edit)].BordersMask)];
  EXPECT_EQ(edit.TransparentCorners, 1);
  EXPECT_EQ(m.Sections[size_t(c.Edit)].BorderKind, -1);
  EXPECT_FALSE(m.Strip("EDIT", "BORDERSMASK")->KeyPixels.empty());
  const MfImage& arrow = m.Images[size_t(c.ComboGlyph)];
  EXPECT_EQ(arrow.FrameCount, 3);
  EXPECT_EQ(arrow.MaskCount, 1);

  // Main text, bottom and top contour of GLOBALINFO, each written and distinct.
  const int32_t text = m.Palette[1], bottom = m.Palette[2], top = m.Palette[3];
  const MfSection& global = m.Sections[size_t(m.SectionIndex("GLOBALINFO"))];
  EXPECT_EQ(text, global.States[0].FontColor);
  EXPECT_EQ(bottom, global.States[0].ContourBottom);
  EXPECT_EQ(top, global.States[0].ContourTop);
  EXPECT_NE(text, bottom);
  EXPECT_NE(text, top);
  EXPECT_NE(bottom, top);
  // A group box's caption never takes the main text colour by accident.
  const MfSection& group = m.Sections[size_t(c.GroupBox)];
  for (size_t k = 0; k < 2; ++k) EXPECT_NE(group.States[k].FontColor, text) << k;
}

namespace {

const MfSection& SectionNamed(const TestSkinManifest& m, const char* name) {
  const int i = m.SectionIndex(name);
  if (i < 0) throw std::logic_error(std::string("no section ") + name);
  return m.Sections[size_t(i)];
}

// A description's colour (red in the low byte) as a manifest pixel's 0xRRGGBB.
uint32_t SwapRb(int32_t c) {
  return (uint32_t(c & 0xFF) << 16) | uint32_t(c & 0xFF00) | ((uint32_t(c) >> 16) & 0xFF);
}

}  // namespace

// Each field variant changes what its expectation names and nothing a
// control of another kind reads.
TEST(TestSkinFixture, FieldVariantsChangeWhatTheySay) {
  const TestSkinManifest sound = BuildTestSkin().Manifest;
  using Check = void (*)(const TestSkinManifest& sound, const TestSkinManifest& v);
  const struct {
    const char* Variant;
    Check Expect;
  } cases[] = {
      {"edit-outer-mask",
       [](const TestSkinManifest& s, const TestSkinManifest& v) {
         const MfSection &was = SectionNamed(s, "EDIT"), &now = SectionNamed(v, "EDIT");
         EXPECT_EQ(was.OuterMode, 2);
         EXPECT_EQ(was.OuterMask, -1);
         EXPECT_EQ(now.OuterMode, 1);
         ASSERT_GE(now.OuterMask, 0);
         EXPECT_EQ(v.Images[size_t(now.OuterMask)].Key, "OUTERMASK");
         EXPECT_EQ(v.Images[size_t(now.OuterMask)].MaskCount, 1);
       }},
      {"selection",
       [](const TestSkinManifest& s, const TestSkinManifest& v) {
         ASSERT_GE(v.Controls.Selection, 0);
         const MfSection& sel = v.Sections[size_t(v.Controls.Selection)];
         const int32_t want[4] = {sel.States[0].Color, sel.States[0].FontColor, sel.States[1].Color,
                                  sel.States[1].FontColor};
         for (size_t i = 0; i < 4; ++i) {
           EXPECT_EQ(v.Palette[6 + i], want[i]) << i;
           EXPECT_NE(v.Palette[6 + i], s.Palette[6 + i]) << i;
         }
         EXPECT_NE(want[0], want[2]);
         EXPECT_NE(want[1], want[3]);
         // Three distinct looks, each with a border a test can tell from its
         // centre and from any text colour of the section.
         EXPECT_EQ(sel.StateCount, 3);
         EXPECT_TRUE(sel.UseState2);
         ASSERT_GE(sel.BordersMask, 0);
         EXPECT_EQ(v.Images[size_t(sel.BordersMask)].FrameCount, 3);
         std::vector<uint32_t> looks;
         for (int f = 0; f < 3; ++f) {
           const std::string frame = "SELECTION/BORDERSMASK frame " + std::to_string(f);
           const uint32_t face = SkinPixel(v, frame + " face"),
                          rim = SkinPixel(v, frame + " border");
           EXPECT_EQ(face, SwapRb(sel.States[size_t(f)].Color)) << f;
           for (uint32_t c : {face, rim}) {
             EXPECT_EQ(std::count(looks.begin(), looks.end(), c), 0) << f;
             looks.push_back(c);
           }
         }
         for (const MfState& st : sel.States)
           EXPECT_EQ(std::count(looks.begin(), looks.end(), SwapRb(st.FontColor)), 0);
         for (size_t i = 0; i < 30; ++i)
           if (i < 6 || i > 9) {
             EXPECT_EQ(v.Palette[i], s.Palette[i]) << i;
           }
       }},
      {"combo-own-font",
       [](const TestSkinManifest& s, const TestSkinManifest& v) {
         EXPECT_FALSE(SectionNamed(s, "COMBOBOX").GiveOwnFont);
         EXPECT_TRUE(SectionNamed(v, "COMBOBOX").GiveOwnFont);
         EXPECT_GE(v.Controls.ComboGlyph, 0);  // the glyph is there, yet not used
       }},
      {"combo-margin-default",
       [](const TestSkinManifest& s, const TestSkinManifest& v) {
         EXPECT_EQ(s.Globals.ComboMargin, 3);
         EXPECT_EQ(v.Globals.ComboMargin, 2);
       }},
      {"combo-glow-off",
       [](const TestSkinManifest& s, const TestSkinManifest& v) {
         EXPECT_GT(SectionNamed(s, "COMBOBOX").Glow, 0);
         EXPECT_EQ(SectionNamed(v, "COMBOBOX").Glow, 0);
         EXPECT_GE(v.ImageIndex("COMBOBOX", "GLOW0"), 0);
       }},
      {"button-glyph",
       [](const TestSkinManifest& s, const TestSkinManifest& v) {
         EXPECT_EQ(s.ImageIndex("BUTTON", "GLYPHMASK"), -1);
         const MfStrip* glyph = v.Strip("BUTTON", "GLYPHMASK");
         ASSERT_NE(glyph, nullptr);
         EXPECT_EQ(glyph->Faces.size(), 3u);
         EXPECT_EQ(v.Images[size_t(glyph->Image)].MaskCount, 1);
         EXPECT_EQ(v.ImageIndex("BUTTON_HUGE", "GLYPHMASK"), -1);  // inherited, not its own
       }},
      {"tabs-by-place",
       [](const TestSkinManifest& s, const TestSkinManifest& v) {
         for (const char* name : {"TABTOPFIRST", "TABTOPLAST", "TABTOPMIDDLE"}) {
           EXPECT_EQ(s.SectionIndex(name), -1) << name;
           EXPECT_GE(v.SectionIndex(name), 0) << name;
           EXPECT_GE(v.ImageIndex(name, "BORDERSMASK"), 0) << name;
         }
       }},
      {"tabs-covering",
       [](const TestSkinManifest& s, const TestSkinManifest& v) {
         EXPECT_EQ(s.Globals.TabsCovering, 0);
         EXPECT_EQ(v.Globals.TabsCovering, 2);
       }},
      {"no-tabtop",
       [](const TestSkinManifest& s, const TestSkinManifest& v) {
         EXPECT_GE(s.SectionIndex("TABTOP"), 0);
         EXPECT_EQ(v.SectionIndex("TABTOP"), -1);
         EXPECT_GE(v.SectionIndex("TABBOTTOM"), 0);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Variant);
    const TestSkinManifest v = BuildTestSkin(c.Variant).Manifest;
    ASSERT_TRUE(v.Broken.empty());
    const std::string name = c.Variant;
    const int added = name == "selection"       ? 1
                      : name == "tabs-by-place" ? 3
                      : name == "no-tabtop"     ? -1
                                                : 0;
    ASSERT_EQ(v.Sections.size(), sound.Sections.size() + added);
    c.Expect(sound, v);
  }
}
