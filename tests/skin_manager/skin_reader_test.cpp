// The description reader and the lookups on small inline descriptions:
// image value columns, inheritance through PARENTCLASS (loops included),
// the section list a skin ends with, and the parent rules of each lookup.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "skin/engine/description_index.h"
#include "skin/engine/skin_content.h"
#include "skin/engine/skin_description.h"
#include "skin/engine/skin_image_values.h"
#include "skin/engine/skin_images.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/colour_math.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/inifiles.h"
#include "widgets/rtl/string_lists.h"

namespace {

// A case-sensitive description of the given text, indexed for the reader.
class TIni {
 public:
  explicit TIni(const char* Text) : ini_(std::string()) {
    TStringList lines;
    lines.SetText(Text);
    ini_.SetCaseSensitive(true);
    ini_.SetStrings(lines);
    index_.emplace(ini_);
  }
  const TvlSkinDescription& operator*() const { return *index_; }

 private:
  TMemIniFile ini_;
  std::optional<TvlSkinDescription> index_;
};

TEST(ImageValues, FixedColumnsAndWordsOfEachForm) {
  const struct {
    const char* value;
    TvlImageForm form;
    RECT rect;
    int frames, masks, paintMode, kind;
    const char* file;
  } cases[] = {
      {"@0010 0020 0110 0050 2 1", TvlImageForm::MasterRect, {10, 20, 110, 50}, 2, 1, 0, 2, ""},
      // A texture reads its mask count from 25 characters on, a file beyond 26.
      {"~0001 0002 0003 0004 07", TvlImageForm::Texture, {1, 2, 3, 4}, 1, 0, 7, 1, ""},
      {"~0001 0002 0003 0004 07 2", TvlImageForm::Texture, {1, 2, 3, 4}, 1, 2, 7, 1, ""},
      {"~0001~0002~0003~0004~07~2~TILE.BMP",
       TvlImageForm::Texture,
       {1, 2, 3, 4},
       1,
       2,
       7,
       1,
       "TILE.BMP"},
      {"^0000 0000 0030 0020 0001 0002 0003 0004 3 1 2 0!X!Y!9",
       TvlImageForm::Bordered,
       {0, 0, 30, 20},
       3,
       1,
       2,
       4,
       ""},
      {"!GLOW.PNG!2!1!3!4!5!6!7!8", TvlImageForm::FileWords, {0, 0, 0, 0}, 2, 1, 8, 3, "GLOW.PNG"},
      {"TILE.JPG", TvlImageForm::PlainFile, {0, 0, 0, 0}, 1, 0, 0, 1, "TILE.JPG"},
      {"PICTURE.PNG", TvlImageForm::None, {0, 0, 0, 0}, 1, 0, 0, 0, ""},
      {"16777215", TvlImageForm::None, {0, 0, 0, 0}, 1, 0, 0, 0, ""},
  };
  for (const auto& c : cases) {
    const TvlImageValue v = ParseImageValue(c.value);
    EXPECT_EQ(v.Form, c.form) << c.value;
    EXPECT_EQ(v.Rect.left, c.rect.left) << c.value;
    EXPECT_EQ(v.Rect.top, c.rect.top) << c.value;
    EXPECT_EQ(v.Rect.right, c.rect.right) << c.value;
    EXPECT_EQ(v.Rect.bottom, c.rect.bottom) << c.value;
    EXPECT_EQ(v.FrameCount, c.frames) << c.value;
    EXPECT_EQ(v.MaskCount, c.masks) << c.value;
    EXPECT_EQ(v.PaintMode, c.paintMode) << c.value;
    EXPECT_EQ(v.ImageKind, c.kind) << c.value;
    EXPECT_EQ(v.FileName, c.file) << c.value;
  }
  const TvlImageValue words = ParseImageValue("!GLOW.PNG!2!1!3!4!5!6!7!8");
  EXPECT_EQ(words.BorderLeft, 4);
  EXPECT_EQ(words.BorderBottom, 7);
  const TvlImageValue box = ParseImageValue("^0000 0000 0030 0020 0001 0002 0003 0004 3 1 2 5");
  EXPECT_EQ(box.BorderTop, 2);
  EXPECT_EQ(box.UniformBorder, 5);
}

TEST(ImageValues, MalformedValuesRaise) {
  for (const char* value : {
           "@0010 00X0 0110 0050 2 1",                          // not a number
           "@0010 0020",                                        // cut short
           "^0000 0000 0030 0020 0000 0000 0000 0000 0 1 0 0",  // no frames
           "!GLOW.PNG",                                         // no frame count
           "!GLOW.PNG!2!-1",                                    // negative mask count
           "!GLOW.PNG!65536!0",                                 // wraps a 16-bit field
           "!GLOW.PNG!1!0!0!99999",                             // a border out of range
       })
    EXPECT_THROW(ParseImageValue(value), EConvertError) << value;
  // A negative rectangle field reads; the image registration clips it.
  EXPECT_EQ(ParseImageValue("@-001 0000 0004 0004 1 0").Rect.left, -1);
}

TEST(SkinReader, InheritanceStopsAtSelfParentsAndLoops) {
  TIni ini(
      "[GLOBALINFO]\nTITLEHEIGHT=20\nMAXHEIGHT*150=44\n"
      "[BUTTON]\nCOLOR=255\nGIVEOWNFONT=TRUE\n"
      "[CHILD]\nPARENTCLASS=BUTTON\nCOLOR=-5\n"
      "[SELF]\nPARENTCLASS=SELF\n"
      "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=A\n"
      "[X]\nPARENTCLASS=Y\n[Y]\nPARENTCLASS=Z\n[Z]\nPARENTCLASS=X\nFONTCOLOR=9\n");
  const TvlSkinReader r(*ini, 2);
  EXPECT_EQ(r.ReadInheritedInt("CHILD", "COLOR", 1), 255);  // negative counts as absent
  EXPECT_TRUE(r.ReadInheritedBool("CHILD", "GIVEOWNFONT", false));
  EXPECT_EQ(r.ReadInheritedInt("BUTTON", "COLOR", 1, 100), 100);
  for (const char* s : {"SELF", "A", "B", "X", "Y"}) {
    EXPECT_EQ(r.ReadInheritedInt(s, "COLOR", 42), 42) << s;
    EXPECT_EQ(r.ReadInheritedString(s, "GRADIENTDATA", "d"), "d") << s;
  }
  EXPECT_EQ(r.ReadInheritedInt("X", "FONTCOLOR", 1), 9);  // two parents up
  EXPECT_EQ(r.ReadGlobalDpiInt("TITLEHEIGHT", 0), 30);    // scaled to 150 %
  EXPECT_EQ(r.ReadGlobalDpiInt("MAXHEIGHT", 0), 44);      // its own variant
  EXPECT_EQ(TvlSkinReader(*ini, 0).ReadGlobalDpiInt("CENTEROFFSET", 5), -1);
}

class SectionsTest : public testing::Test {
 protected:
  void SetUp() override {
    manager_ = New<TsSkinManager>(nullptr);
    manager_->SetActive(false);
  }
  void TearDown() override { TObject::Free(manager_); }
  void Read(const char* Text) {
    ini_ = std::make_unique<TIni>(Text);
    TvlSkinLoad load{manager_, skin_, globals_, &**ini_, "", 0};
    ReadSkinSections(load);
  }
  const TsGeneralData& Section(const char* Name) {
    const int i = FindSectionIndex(skin_, Name);
    EXPECT_GE(i, 0) << Name;
    return skin_.Sections[static_cast<size_t>(std::max(i, 0))];
  }

  TsSkinManager* manager_ = nullptr;
  TvlSkinContent skin_;
  TsSkinGlobals globals_;
  std::unique_ptr<TIni> ini_;
};

TEST_F(SectionsTest, StatesLimitsAndTheSectionsEverySkinEndsWith) {
  Read(
      "[GLOBALINFO]\nCOLOR=$336699\nFONTCOLOR=$010203\nBICONCLOSEGLOW=1000000\n"
      "[ONE]\nSTATES=1\nCOLOR=10\nHOTCOLOR=20\nGRADIENTPERCENT=40\n"
      "GRADIENTDATA=255;65280;50;0;0\nGLOW=300\n"
      "[SHORT]\nGRADIENTPERCENT=50\nGRADIENTDATA=ab\nHOTCOLOR=7\n"
      "[THREE]\nUSESTATE2=1\nCOLOR2=33\n");
  ASSERT_GE(skin_.Sections.size(), 2u);
  EXPECT_EQ(skin_.Sections[0].SectionName, "GLOBALINFO");
  EXPECT_EQ(skin_.Sections[skin_.Sections.size() - 2].SectionName, "TRANSPARENT");
  EXPECT_EQ(skin_.Sections.back().SectionName, "MAINCOLOR");
  const TsGeneralData& one = Section("ONE");
  EXPECT_EQ(one.Glow, 255);
  EXPECT_EQ(one.Props[1].Color, 10);  // a copy of state 0, not HOTCOLOR
  ASSERT_EQ(one.Props[1].Gradient.size(), one.Props[0].Gradient.size());
  EXPECT_FALSE(one.Props[0].Gradient.empty());
  EXPECT_EQ(one.Props[1].GradientPercent, 40);
  const TsGeneralData& shortGradient = Section("SHORT");
  EXPECT_EQ(shortGradient.Props[0].GradientPercent, 0);
  EXPECT_EQ(shortGradient.Props[2].Color, 7);  // state 2 copies state 1
  EXPECT_EQ(Section("THREE").Props[2].Color, 33);
  EXPECT_EQ(Section("TRANSPARENT").Props[0].Transparency, 100);
  EXPECT_EQ(Section("TRANSPARENT").Props[2].FontColor, 0x010203);
  EXPECT_EQ(Section("MAINCOLOR").Props[0].Color, 0x336699);
  // The glow count comes from the skin and is limited.
  EXPECT_EQ(skin_.ConstData.TitleGlows[1].size(), 32u);
}

TEST_F(SectionsTest, MainColourTakesTheRecolouredPaletteEntry) {
  manager_->SetHueOffset(120);  // inactive: stored only
  Read("[GLOBALINFO]\nCOLOR=$0000FF\n[TRANSPARENT]\nCOLOR=5\n");
  const uint32_t rotated = ChangeColorHue(120, 0x0000FF);
  EXPECT_EQ(static_cast<uint32_t>(skin_.SkinPalette[0]), rotated);
  EXPECT_EQ(static_cast<uint32_t>(Section("MAINCOLOR").Props[0].Color), rotated);
  EXPECT_EQ(Section("TRANSPARENT").Props[0].Transparency, 0);  // the skin's own
  EXPECT_EQ(skin_.Sections.back().SectionName, "MAINCOLOR");
}

TEST_F(SectionsTest, CommonSectionsAddOnlyWhatTheSkinLacks) {
  TStringList common;
  common.SetText("[BUTTON]\nCOLOR=1\n[MYBUTTON]\nPARENTCLASS=button\nHOTCOLOR=77\nGLOW=3\n");
  manager_->SetCommonSections(&common);
  Read("[BUTTON]\nCOLOR=99\nFONTCOLOR=5\n");
  EXPECT_EQ(Section("BUTTON").Props[0].Color, 99);
  const TsGeneralData& mine = Section("MYBUTTON");
  EXPECT_EQ(mine.ParentClass, "BUTTON");
  EXPECT_EQ(mine.Props[0].Color, 99);  // from the skin's section
  EXPECT_EQ(mine.Props[0].FontColor, 5);
  EXPECT_EQ(mine.Props[1].Color, 77);
  EXPECT_EQ(mine.Glow, 3);
}

// Sections 0 GLOBALINFO, 1 BUTTON, 2 CHILD (of BUTTON), 3 SELF (of itself),
// 4 A and 5 B (of each other); BUTTON has a glyph and a texture.
class LookupsTest : public testing::Test {
 protected:
  void SetUp() override {
    const char* const names[][2] = {{"GLOBALINFO", ""}, {"BUTTON", ""}, {"CHILD", "BUTTON"},
                                    {"SELF", "SELF"},   {"A", "B"},     {"B", "A"}};
    for (const auto& n : names) {
      TsGeneralData d;
      d.SectionName = n[0];
      d.ParentClass = n[1];
      skin_.Sections.push_back(d);
    }
    Add(1, "BUTTON", "GLYPHMASK", 0);
    Add(1, "BUTTON", "PATTERN", 1);
  }
  void Add(int Section, const char* Name, const char* Key, uint8_t Kind) {
    TsMaskData m;
    m.SectionIndex = Section;
    m.Section = Name;
    m.Key = Key;
    m.ImageKind = Kind;
    skin_.Masks.push_back(m);
  }
  TvlSkinContent skin_;
};

TEST_F(LookupsTest, EachLookupFollowsItsParentRule) {
  EXPECT_EQ(FindSectionIndex(skin_, ""), -1);
  EXPECT_EQ(FindSectionIndex(skin_, "button"), -1);
  EXPECT_EQ(FindMaskIndex(skin_, 2, "GLYPHMASK"), 0);
  EXPECT_EQ(FindMaskByName(skin_, "CHILD", "GLYPHMASK"), -1);  // no inheritance
  EXPECT_EQ(GetMaskIndex(skin_, 2, "CHILD", "GLYPHMASK"), 0);
  // The walk stops when the parent is the name the caller gave.
  EXPECT_EQ(GetMaskIndex(skin_, 2, "BUTTON", "GLYPHMASK"), -1);
  EXPECT_EQ(GetTextureIndex(skin_, 2, "CHILD", "PATTERN"), 1);
  EXPECT_EQ(FindTextureIndex(skin_, 2, "PATTERN"), 1);
  EXPECT_EQ(FindTextureIndex(skin_, 2, "GLYPHMASK"), -1);  // not a texture
  EXPECT_EQ(FindMaskIndex(skin_, -1, "GLYPHMASK"), -1);
  for (int section : {3, 4, 5}) {
    const std::string& name = skin_.Sections[static_cast<size_t>(section)].SectionName;
    EXPECT_EQ(FindMaskIndex(skin_, section, "NONE"), -1) << name;
    EXPECT_EQ(GetMaskIndex(skin_, section, name, "NONE"), -1) << name;
    EXPECT_EQ(GetTextureIndex(skin_, section, name, "NONE"), -1) << name;
    EXPECT_EQ(FindTextureIndex(skin_, section, "NONE"), -1) << name;
  }
}

TEST(SkinImages, FrameSizesAndDefaultBorders) {
  TvlSkinContent skin;
  TsMaskData m;
  m.SourceRect = RECT{10, 20, 110, 50};
  m.FrameCount = 2;
  m.MaskCount = 1;
  skin.Masks.push_back(m);
  m.SourceRect = RECT{0, 0, 90, 60};
  m.FrameCount = 0;  // no frames: borders from the frame size, one frame
  m.MaskCount = 2;
  m.UniformBorder = 0;
  m.BorderLeft = 4;
  skin.Masks.push_back(m);
  UpdateFrameSizes(skin);
  EXPECT_EQ(skin.Masks[0].FrameWidth, 50);
  EXPECT_EQ(skin.Masks[0].FrameHeight, 15);
  const TsMaskData& d = skin.Masks[1];
  EXPECT_EQ(d.FrameCount, 1);
  EXPECT_EQ(d.FrameWidth, 0);
  EXPECT_EQ(d.FrameHeight, 20);
  EXPECT_EQ(d.BorderLeft, 4);
  EXPECT_EQ(d.BorderTop, 20);
  EXPECT_EQ(d.BorderRight, 0);
}

TEST(SkinImages, OnlyAKeyPixelWithoutAlphaMakesATransparentCorner) {
  TvlSkinContent skin;
  skin.MasterBitmap = NewArgbBitmap(12, 6);  // two 6 x 6 frames
  const PixelView v = ArgbView(skin.MasterBitmap);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 12; ++x) v.At(x, y) = 0xFF808080;
  TsMaskData m;
  m.SourceRect = RECT{0, 0, 12, 6};
  m.FrameCount = 2;
  m.BorderLeft = m.BorderTop = m.BorderRight = m.BorderBottom = 2;
  EXPECT_EQ(CheckCorners(skin, m), 0);
  v.At(10, 4) = 0xFFFF00FF;  // key colour, opaque: not a hole
  EXPECT_EQ(CheckCorners(skin, m), 0);
  v.At(10, 4) = 0x00FF00FF;  // bottom-right corner of the second frame
  EXPECT_EQ(CheckCorners(skin, m), 1);
  m.Section = "BUTTON_HUGE";
  m.Key = "BORDERSMASK";
  EXPECT_EQ(CheckCorners(skin, m), 2);
}

}  // namespace
