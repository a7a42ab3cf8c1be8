// The generated test skin through the real SkinName setter, from its folder
// and from the packer's archive: every section, image, palette entry, global
// value and cached index must match the manifest the generator wrote, at DPI
// level 0 and at level 2; the broken variants must fail, deactivate or load
// as their manifests say.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <map>
#include <vector>
#include <string>

#include "archive_writer.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/packed_skin.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_loading.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/png_reader.h"
#include "skin/foundation/skin_source.h"
#include "tests/skin_manager/skin_files.h"
#include "test_skin.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/string_lists.h"

namespace {

using namespace test_skin;

const char* const MetricsKey = "Control Panel\\Desktop\\WindowMetrics";

// Sets "AppliedDPI" for the test's lifetime and puts back what was there.
class TAppliedDpi {
 public:
  explicit TAppliedDpi(DWORD Dpi) {
    RegCreateKeyExA(HKEY_CURRENT_USER, MetricsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof saved_, type = 0;
    had_ = RegQueryValueExA(key_, "AppliedDPI", nullptr, &type, reinterpret_cast<BYTE*>(&saved_),
                            &size) == ERROR_SUCCESS;
    RegSetValueExA(key_, "AppliedDPI", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Dpi),
                   sizeof Dpi);
  }
  ~TAppliedDpi() {
    if (had_)
      RegSetValueExA(key_, "AppliedDPI", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved_),
                     sizeof saved_);
    else
      RegDeleteValueA(key_, "AppliedDPI");
    RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  DWORD saved_ = 0;
  bool had_ = false;
};

uint32_t PixelOf(TBitmap* Bitmap, int X, int Y) {
  const PixelView v = ArgbView(Bitmap);
  return v.Contains(X, Y) ? v.At(X, Y) : 0xDEADBEEF;
}

bool Near(uint32_t A, uint32_t B, int Tolerance) {
  for (int shift = 0; shift < 32; shift += 8)
    if (std::abs(int((A >> shift) & 0xFF) - int((B >> shift) & 0xFF)) > Tolerance) return false;
  return true;
}

std::vector<uint32_t> Pixels(TBitmap* Bitmap) {
  const PixelView v = ArgbView(Bitmap);
  std::vector<uint32_t> out;
  for (int y = 0; y < v.Height; ++y) out.insert(out.end(), v.Row(y), v.Row(y) + v.Width);
  return out;
}

int ImageOf(const TsSkinManager* M, const std::string& Section, const std::string& Key) {
  for (size_t i = 0; i < M->Masks.size(); ++i)
    if (M->Masks[i].Section == Section && M->Masks[i].Key == Key) return static_cast<int>(i);
  return -1;
}

const TsGeneralData* SectionOf(const TsSkinManager* M, const std::string& Name) {
  const int i = FindSectionIndex(M, Name);
  return i < 0 ? nullptr : &M->Sections[static_cast<size_t>(i)];
}

using TVariantCheck = void (*)(const TsSkinManager* M, const TestSkinManifest& Sound);

// What each variant that loads must show, from its manifest's expectation.
const std::map<std::string, TVariantCheck>& LoadedVariantChecks() {
  static const std::map<std::string, TVariantCheck> checks = {
      {"parent-loop-2",
       [](const TsSkinManager* M, const TestSkinManifest&) {
         for (const char* name : {"LOOPA", "LOOPB"}) {
           ASSERT_NE(SectionOf(M, name), nullptr) << name;
           EXPECT_EQ(SectionOf(M, name)->Props[0].Color, 0xFFFFFF) << name;
           EXPECT_EQ(FindMaskIndex(*M, FindSectionIndex(M, name), "BORDERSMASK"), -1);
         }
       }},
      {"parent-loop-3",
       [](const TsSkinManager* M, const TestSkinManifest&) {
         for (const char* name : {"LOOPA", "LOOPB", "LOOPC"}) {
           ASSERT_NE(SectionOf(M, name), nullptr) << name;
           EXPECT_EQ(SectionOf(M, name)->StateCount, 3) << name;
         }
       }},
      {"rect-negative",
       [](const TsSkinManager* M, const TestSkinManifest& Sound) {
         const int i = ImageOf(M, "GROUPBOX", "LINEMARK");
         ASSERT_GE(i, 0);
         const MfImage& want =
             Sound.Images[static_cast<size_t>(Sound.ImageIndex("GROUPBOX", "LINEMARK"))];
         EXPECT_EQ(M->Masks[static_cast<size_t>(i)].SourceRect.left, 0);
         EXPECT_EQ(M->Masks[static_cast<size_t>(i)].SourceRect.right, want.SourceRect.Right);
       }},
      {"rect-past-master",
       [](const TsSkinManager* M, const TestSkinManifest&) {
         EXPECT_EQ(ImageOf(M, "GROUPBOX", "LINEMARK"), -1);
       }},
      {"missing-master", [](const TsSkinManager* M,
                            const TestSkinManifest&) { EXPECT_TRUE(M->MasterBitmap->Empty()); }},
      {"missing-external-file",
       [](const TsSkinManager* M, const TestSkinManifest&) {
         EXPECT_EQ(FindMaskIndex(*M, FindSectionIndex(M, "MENUITEM"), "GLYPHMASK"), -1);
       }},
      {"glow-count-huge",
       [](const TsSkinManager* M, const TestSkinManifest&) {
         for (size_t b = 0; b < 5; ++b) EXPECT_EQ(M->ConstData.TitleGlows[b].size(), 32u);
       }},
      {"states-zero",
       [](const TsSkinManager* M, const TestSkinManifest&) {
         const TsGeneralData* button = SectionOf(M, "BUTTON");
         ASSERT_NE(button, nullptr);
         EXPECT_EQ(button->StateCount, 0);
         EXPECT_EQ(button->Props[1].Color, button->Props[0].Color);
         EXPECT_EQ(button->Props[2].Color, button->Props[1].Color);
       }},
      {"version-12-5",
       [](const TsSkinManager* M, const TestSkinManifest&) {
         EXPECT_DOUBLE_EQ(M->CommonSkinData->Version, 12.5);
       }},
      {"empty-options",
       [](const TsSkinManager* M, const TestSkinManifest&) {
         ASSERT_EQ(M->Sections.size(), 2u);
         EXPECT_EQ(M->Sections[0].SectionName, "TRANSPARENT");
         EXPECT_EQ(M->Sections[1].SectionName, "MAINCOLOR");
         EXPECT_TRUE(M->MasterBitmap->Empty());
         // Only the outer effects' default masks, drawn by the reader.
         for (const TsMaskData& mask : M->Masks) {
           EXPECT_EQ(mask.Section, "GLOBALINFO");
           EXPECT_NE(mask.Image, nullptr) << mask.Key;
           EXPECT_TRUE(mask.Key == "SH_MASK" || mask.Key == "LO_MASK") << mask.Key;
         }
       }},
  };
  return checks;
}

class TestSkinLoad : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetMessageBoxSink(&boxes_);
    NewManager();
  }
  void TearDown() override {
    FreeManager();
    SetMessageBoxSink(previous_);
  }
  // Unit-wide sizes follow the default manager's scale: they go back first.
  void FreeManager() {
    manager_->Options()->SetScaleMode(smOldMode);
    TObject::Free(manager_);
  }
  void NewManager() {
    manager_ = New<TsSkinManager>(nullptr);
    manager_->SetActive(false);
    manager_->SetSkinDirectory(dir_.Path());
  }
  TestSkinManifest Write(const std::string& Folder, const std::string& Variant = kSoundVariant) {
    return WriteTestSkin(dir_.Path() + "\\" + Folder, Variant);
  }
  void Load(const std::string& Name) {
    manager_->SetSkinName(Name);
    manager_->SetActive(true);
  }

  void ExpectState(const TsGenState& got, const MfState& want, const std::string& where) {
    EXPECT_EQ(got.Color, want.Color) << where;
    EXPECT_EQ(got.FontColor, want.FontColor) << where;
    EXPECT_EQ(got.ContourLeft, want.ContourLeft) << where;
    EXPECT_EQ(got.ContourTop, want.ContourTop) << where;
    EXPECT_EQ(got.ContourRight, want.ContourRight) << where;
    EXPECT_EQ(got.ContourBottom, want.ContourBottom) << where;
    EXPECT_EQ(got.TextGlowColor, want.TextGlowColor) << where;
    EXPECT_EQ(got.TextGlowSize, want.TextGlowSize) << where;
    EXPECT_EQ(got.GradientPercent, want.GradientPercent) << where;
    EXPECT_EQ(got.ImagePercent, want.ImagePercent) << where;
    EXPECT_EQ(got.Transparency, want.Transparency) << where;
    EXPECT_EQ(got.PatternIndex, want.PatternIndex) << where;
    ASSERT_EQ(got.Gradient.size(), want.Gradient.size()) << where;
    for (size_t i = 0; i < want.Gradient.size(); ++i) {
      EXPECT_EQ(got.Gradient[i].StartColor, want.Gradient[i].StartColor) << where;
      EXPECT_EQ(got.Gradient[i].EndColor, want.Gradient[i].EndColor) << where;
      EXPECT_EQ(got.Gradient[i].Percent, want.Gradient[i].Percent) << where;
      EXPECT_EQ(got.Gradient[i].Mode, want.Gradient[i].Mode) << where;
    }
  }

  void ExpectSections(const TestSkinManifest& m) {
    ASSERT_EQ(manager_->Sections.size(), m.Sections.size());
    for (size_t i = 0; i < m.Sections.size(); ++i) {
      const TsGeneralData& got = manager_->Sections[i];
      const MfSection& want = m.Sections[i];
      const std::string where = want.Name;
      EXPECT_EQ(got.SectionName, want.Name);
      EXPECT_EQ(got.ParentClass, want.ParentClass) << where;
      EXPECT_EQ(got.StateCount, want.StateCount) << where;
      EXPECT_EQ(got.UseState2, want.UseState2) << where;
      EXPECT_EQ(got.GiveOwnFont, want.GiveOwnFont) << where;
      EXPECT_EQ(got.ReservedBoolean, want.ReservedBoolean) << where;
      EXPECT_EQ(got.Glow, want.Glow) << where;
      EXPECT_EQ(got.GlowMargin, want.GlowMargin) << where;
      EXPECT_EQ(got.OuterMode, want.OuterMode) << where;
      EXPECT_EQ(got.OuterOpacity, want.OuterOpacity) << where;
      EXPECT_EQ(got.OuterOffsets, want.OuterOffsets) << where;
      EXPECT_EQ(got.BordersMask, want.BordersMask) << where;
      EXPECT_EQ(got.OuterMask, want.OuterMask) << where;
      EXPECT_EQ(got.BorderKind, want.BorderKind) << where;
      EXPECT_EQ(got.CornerImages, want.CornerImages) << where;
      for (size_t s = 0; s < 3; ++s)
        ExpectState(got.Props[s], want.States[s], where + " state " + std::to_string(s));
    }
  }

  void ExpectImages(const TestSkinManifest& m, bool Dpi150) {
    ASSERT_EQ(manager_->Masks.size(), m.Images.size());
    for (size_t i = 0; i < m.Images.size(); ++i) {
      const TsMaskData& got = manager_->Masks[i];
      const MfImage& want = m.Images[i];
      const std::string where = want.Section + "/" + want.Key;
      const bool changed = Dpi150 && want.Dpi150.Changed;
      const MfRect rect = changed ? want.Dpi150.SourceRect : want.SourceRect;
      EXPECT_EQ(got.Section, want.Section) << where;
      EXPECT_EQ(got.Key, changed && !want.Dpi150.Key.empty() ? want.Dpi150.Key : want.Key);
      EXPECT_EQ(got.SectionIndex, want.SectionIndex) << where;
      EXPECT_EQ(got.Image != nullptr, changed ? want.Dpi150.OwnBitmap : want.OwnBitmap) << where;
      EXPECT_EQ(got.Owner, manager_) << where;
      EXPECT_EQ(got.SourceRect.left, rect.Left) << where;
      EXPECT_EQ(got.SourceRect.top, rect.Top) << where;
      EXPECT_EQ(got.SourceRect.right, rect.Right) << where;
      EXPECT_EQ(got.SourceRect.bottom, rect.Bottom) << where;
      EXPECT_EQ(got.FrameCount, want.FrameCount) << where;
      EXPECT_EQ(got.MaskCount, changed ? want.Dpi150.MaskCount : want.MaskCount) << where;
      EXPECT_EQ(got.FrameWidth, changed ? want.Dpi150.FrameWidth : want.FrameWidth) << where;
      EXPECT_EQ(got.FrameHeight, changed ? want.Dpi150.FrameHeight : want.FrameHeight) << where;
      EXPECT_EQ(got.UniformBorder, want.UniformBorder) << where;
      EXPECT_EQ(got.PaintMode, want.PaintMode) << where;
      EXPECT_EQ(got.ImageKind, want.ImageKind) << where;
      EXPECT_EQ(got.BorderLeft, want.BorderLeft) << where;
      EXPECT_EQ(got.BorderTop, want.BorderTop) << where;
      EXPECT_EQ(got.BorderRight, want.BorderRight) << where;
      EXPECT_EQ(got.BorderBottom, want.BorderBottom) << where;
      EXPECT_EQ(got.TransparentCorners, want.TransparentCorners) << where;
    }
  }

  void ExpectGlobals(const TestSkinManifest& m, int Level) {
    const size_t at = Level == 0 ? 0 : 1;
    const TsSkinData& d = *manager_->CommonSkinData;
    const MfGlobals& g = m.Globals;
    EXPECT_EQ(d.Author, g.Author);
    EXPECT_EQ(d.Description, g.Description);
    EXPECT_DOUBLE_EQ(d.Version, g.Version);
    EXPECT_EQ(d.BorderWidth, g.BorderWidth);
    EXPECT_EQ(d.FormOffset, g.FormOffset);
    EXPECT_EQ(d.BorderMode, g.BorderMode);
    EXPECT_EQ(d.BIKeepHue, g.BIKeepHue);
    EXPECT_EQ(d.TitleHeight, g.TitleHeight[at]);
    EXPECT_EQ(d.MaxTitleHeight, g.MaxTitleHeight[at]);
    EXPECT_EQ(d.CenterOffset, g.CenterOffset[at]);
    EXPECT_EQ(d.BrightMin, g.BrightMin);
    EXPECT_EQ(d.BrightMax, g.BrightMax);
    EXPECT_EQ(d.AlignOffset, g.AlignOffset);
    EXPECT_EQ(d.AlignOffsetR, g.AlignOffsetR);
    EXPECT_EQ(d.AlignOffsetT, g.AlignOffsetT);
    EXPECT_EQ(d.AlignOffsetB, g.AlignOffsetB);
    EXPECT_EQ(d.ComboMargin, g.ComboMargin);
    EXPECT_EQ(d.SliderMargin, g.SliderMargin);
    EXPECT_EQ(d.Shadow1Color, g.Shadow1Color);
    EXPECT_EQ(d.Shadow1Offset, g.Shadow1Offset);
    EXPECT_EQ(d.Shadow1Blur, g.Shadow1Blur);
    EXPECT_EQ(d.Shadow1Transparency, g.Shadow1Transparency);
    EXPECT_EQ(d.BISpace, g.BISpace[at]);
    const TConstantSkinData& c = manager_->ConstData;
    for (size_t b = 0; b < 5; ++b) {
      EXPECT_EQ(c.TitleGlowMargins[b], g.TitleGlowMargins[b][at]) << b;
      EXPECT_EQ(static_cast<int>(c.TitleGlows[b].size()), g.TitleGlowCount) << b;
      EXPECT_EQ(std::vector<int>(c.TitleGlows[b].begin(), c.TitleGlows[b].end()), g.TitleGlows[b])
          << b;
    }
    EXPECT_EQ(std::vector<int>(c.TitleButtons.begin(), c.TitleButtons.end()),
              std::vector<int>(g.TitleButtons.begin(), g.TitleButtons.end()));
    EXPECT_EQ(c.CheckBoxes[0], g.CheckBoxes[0]);
    EXPECT_EQ(c.CheckBoxes[1], g.CheckBoxes[1]);
    EXPECT_EQ(c.CheckBoxes[2], g.CheckBoxes[2]);
    EXPECT_EQ(c.SmallBoxes[0], g.SmallBoxes[0]);
    EXPECT_EQ(c.RadioButtons[1], g.RadioButtons[1]);
    EXPECT_EQ(c.ExBorder, g.ExBorder);
    EXPECT_EQ(c.GripImage, g.GripImage);
    for (size_t k = 0; k < 2; ++k) {
      const TvlSliderData& s = c.Sliders[k];
      const MfSlider& w = m.Sliders[k];
      EXPECT_EQ(s.Section, w.Section) << k;
      EXPECT_EQ(s.BordersMask, w.BordersMask) << k;
      EXPECT_EQ(s.SliderMask, w.SliderMask) << k;
      EXPECT_EQ(s.Pattern, w.Pattern) << k;
      EXPECT_EQ(s.HotPattern, w.HotPattern) << k;
      EXPECT_EQ(s.TickGlyph, w.TickGlyph) << k;
      EXPECT_EQ(s.ProgressGlyph, w.ProgressGlyph) << k;
      EXPECT_EQ(s.Channel, w.Channel) << k;
    }
    for (size_t e = 0; e < 2; ++e) {
      const OuterEffect& got = manager_->FormOuterEffects[e];
      const MfOuterEffect& want = m.OuterEffects[e];
      EXPECT_EQ(got.Colors, want.Colors) << e;
      EXPECT_EQ(got.Offsets, want.Offsets) << e;
      EXPECT_EQ(got.Widths, want.Widths) << e;
      EXPECT_EQ(got.MaskIndex, want.MaskIndex) << e;
      EXPECT_EQ(got.Source, want.Source) << e;
      EXPECT_EQ(got.Opacity, want.Opacity) << e;
    }
    for (size_t i = 0; i < 30; ++i) EXPECT_EQ(manager_->SkinPalette[i], m.Palette[i]) << i;
  }

  // The sections push buttons, group boxes, check boxes, edits and combo
  // boxes paint from, found where the controls look, and each state frame of
  // their strips showing its own face, with its key pixels as holes.
  void ExpectControls(const TestSkinManifest& m) {
    const MfControls& want = m.Controls;
    const TConstantSkinData& c = manager_->ConstData;
    const std::pair<const char*, int> standard[] = {{"BUTTON", want.Button},
                                                    {"BUTTON_HUGE", want.ButtonHuge},
                                                    {"TOOLBUTTON", want.ToolButton},
                                                    {"GROUPBOX", want.GroupBox},
                                                    {"CHECKBOX", want.CheckBox},
                                                    {"TRANSPARENT", want.Transparent},
                                                    {"EDIT", want.Edit},
                                                    {"COMBOBOX", want.ComboBox},
                                                    {"COMBOBTN", want.ComboButton},
                                                    {"SELECTION", want.Selection}};
    for (const auto& [name, index] : standard) {
      const auto at = std::find_if(StdSectionNames.begin(), StdSectionNames.end(),
                                   [&](const char* n) { return std::strcmp(n, name) == 0; });
      ASSERT_NE(at, StdSectionNames.end()) << name;
      EXPECT_EQ(c.Sections[static_cast<size_t>(at - StdSectionNames.begin())], index) << name;
    }
    EXPECT_EQ(FindSectionIndex(manager_, want.CaptionSkin), want.CaptionSection);
    // A combo's button paints from COMBOBTN and shows the arrow of COMBOBOX.
    EXPECT_EQ(c.ComboButton.Section, want.ComboButton);
    EXPECT_EQ(c.ComboButton.BordersMask,
              want.ComboButton < 0 ? -1 : m.Sections[size_t(want.ComboButton)].BordersMask);
    EXPECT_EQ(c.ComboButton.Glyph, want.ComboGlyph);
    for (const MfStrip& s : want.Strips) {
      const std::string where = s.Section + "/" + s.Key;
      ASSERT_EQ(ImageOf(manager_, s.Section, s.Key), s.Image) << where;
      const TsMaskData& mask = manager_->Masks[static_cast<size_t>(s.Image)];
      const PixelView pixels = MaskPixels(mask);
      ASSERT_EQ(mask.FrameCount, static_cast<int>(s.Faces.size())) << where;
      for (int f = 0; f < mask.FrameCount; ++f) {
        const int x0 = mask.SourceRect.left + f * mask.FrameWidth, y0 = mask.SourceRect.top;
        EXPECT_EQ(pixels.At(x0 + s.Face.X, y0 + s.Face.Y), s.Faces[static_cast<size_t>(f)])
            << where << " frame " << f;
        for (const MfPoint& p : s.KeyPixels)
          EXPECT_EQ(pixels.At(x0 + p.X, y0 + p.Y), 0x00FF00FFu)
              << where << " frame " << f << " key " << p.X << "," << p.Y;
      }
    }
  }

  void ExpectPixels(const TestSkinManifest& m) {
    ASSERT_NE(manager_->MasterBitmap, nullptr);
    EXPECT_EQ(manager_->MasterBitmap->Width(), m.MasterWidth);
    EXPECT_EQ(manager_->MasterBitmap->Height(), m.MasterHeight);
    for (const MfPixel& p : m.Pixels) {
      TBitmap* b =
          p.File == "MASTER.BMP" ? manager_->MasterBitmap : manager_->FindExternalImage(p.File);
      ASSERT_NE(b, nullptr) << p.File;
      EXPECT_TRUE(Near(PixelOf(b, p.X, p.Y), p.LoadedArgb, p.Tolerance))
          << p.File << " " << p.What << ": " << std::hex << PixelOf(b, p.X, p.Y) << " want "
          << p.LoadedArgb;
    }
  }

  TempFolder dir_;
  TBoxLog boxes_;
  TsSkinManager* manager_ = nullptr;

 private:
  TMessageBoxSink* previous_ = nullptr;
};

// The same skin from its folder and from the packer's archive.
TEST_F(TestSkinLoad, TheSkinMatchesItsManifest) {
  for (const bool packed : {false, true}) {
    SCOPED_TRACE(packed ? "archive" : "folder");
    const std::string name = packed ? "Packed Tessera" : "Tessera";
    TestSkinManifest m;
    if (packed) {
      m = BuildTestSkin().Manifest;
      const std::vector<uint8_t> archive = PackTestSkinWithPreview(kSoundVariant);
      dir_.Text(name + ".qmz", std::string(archive.begin(), archive.end()));
    } else {
      m = Write(name);
    }
    Load(name);
    ASSERT_TRUE(manager_->Active());
    EXPECT_TRUE(boxes_.Texts.empty());
    EXPECT_EQ(manager_->PackedMode, packed);
    EXPECT_EQ(manager_->SkinName(), name);
    EXPECT_TRUE(manager_->CommonSkinData->Loaded);
    ExpectSections(m);
    ExpectImages(m, false);
    ExpectGlobals(m, 0);
    ExpectControls(m);
    ExpectPixels(m);
    manager_->SetActive(false);
  }
}

// What a skin list shows for the packer's archive: the preview after the
// files, a picture of the skin's own colours.
TEST_F(TestSkinLoad, ThePackersPreviewShowsTheSkinsSectionColours) {
  for (const std::string variant : {kSoundVariant, "trackbar-opaque"}) {
    SCOPED_TRACE(variant);
    const std::vector<uint8_t> archive = PackTestSkinWithPreview(variant);
    TMemoryStream source, preview;
    source.WriteBuffer(archive.data(), static_cast<int32_t>(archive.size()));
    ASSERT_TRUE(ReadArchivePreview(preview, source));
    const ArgbImage picture =
        LoadPngToArgb(static_cast<const uint8_t*>(preview.Memory()), size_t(preview.Size()));
    ASSERT_EQ(picture.Width, uint32_t(kPreviewWidth));
    ASSERT_EQ(picture.Height, uint32_t(kPreviewHeight));
    const auto shows = [&](int32_t Color) {
      const uint32_t argb = 0xFF000000u | ((uint32_t(Color) & 0xFF) << 16) |
                            (uint32_t(Color) & 0xFF00) | ((uint32_t(Color) >> 16) & 0xFF);
      return std::find(picture.Pixels.begin(), picture.Pixels.end(), argb) != picture.Pixels.end();
    };
    for (const MfSection& s : BuildTestSkin(variant).Manifest.Sections)
      if (!s.Appended) {
        EXPECT_TRUE(shows(s.States[0].Color)) << s.Name;
      }
  }
}

TEST_F(TestSkinLoad, SoundVariantsMatchTheirManifests) {
  const std::vector<std::string> broken = BrokenVariantNames();
  for (const std::string& variant : VariantNames()) {
    if (variant == kSoundVariant ||
        std::find(broken.begin(), broken.end(), variant) != broken.end())
      continue;
    const TestSkinManifest m = Write(variant, variant);
    SCOPED_TRACE(variant + ": " + m.Expectation);
    ASSERT_TRUE(m.Broken.empty());
    Load(variant);
    ASSERT_TRUE(manager_->Active());
    EXPECT_TRUE(boxes_.Texts.empty());
    ExpectSections(m);
    ExpectImages(m, false);
    ExpectGlobals(m, 0);
    ExpectControls(m);
  }
}

TEST_F(TestSkinLoad, AtDpiLevelTwoImagesAndValuesTakeTheirScaledForm) {
  const TestSkinManifest m = Write("Tessera");
  const struct {
    TvlScaleMode mode;
    DWORD appliedDpi;
  } cases[] = {{sm150, 96}, {smAuto, 144}};
  for (const auto& c : cases) {
    TAppliedDpi dpi(c.appliedDpi);
    FreeManager();
    NewManager();
    manager_->Options()->SetScaleMode(c.mode);
    ASSERT_EQ(EffectiveDpiLevel(manager_), 2) << c.mode;
    Load("Tessera");
    ASSERT_TRUE(manager_->Active());
    ExpectImages(m, true);
    ExpectGlobals(m, 2);
  }
}

TEST_F(TestSkinLoad, TheOldScaleModeStaysAtLevelZero) {
  TAppliedDpi dpi(144);
  FreeManager();
  NewManager();
  ASSERT_EQ(manager_->Options()->ScaleMode(), smOldMode);
  const TestSkinManifest m = Write("Tessera");
  Load("Tessera");
  ExpectImages(m, false);
  ExpectGlobals(m, 0);
}

TEST_F(TestSkinLoad, BrokenVariantsFailDeactivateOrLoadAsTheirManifestsSay) {
  const TestSkinManifest sound = Write("Tessera");
  for (const std::string& variant : BrokenVariantNames()) {
    const TestSkinManifest m = Write(variant, variant);
    SCOPED_TRACE(variant + ": " + m.Expectation);
    manager_->SetActive(false);
    manager_->SetSkinName("Tessera");
    manager_->SetActive(true);
    ASSERT_TRUE(manager_->Active());
    const size_t sections = manager_->Sections.size();
    TBitmap* master = manager_->MasterBitmap;
    boxes_.Texts.clear();

    manager_->SetSkinName(variant);
    switch (m.Expected) {
      case Outcome::Fails:
        ASSERT_EQ(boxes_.Texts.size(), 1u);
        EXPECT_EQ(manager_->SkinName(), "Tessera");
        EXPECT_TRUE(manager_->Active());
        EXPECT_EQ(manager_->Sections.size(), sections);
        EXPECT_EQ(manager_->MasterBitmap, master);  // the previous skin stays in force
        ExpectSections(sound);
        break;
      case Outcome::Deactivates:
        EXPECT_TRUE(boxes_.Texts.empty());
        EXPECT_FALSE(manager_->Active());
        EXPECT_EQ(manager_->SkinName(), variant);
        break;
      case Outcome::Loads:
        EXPECT_TRUE(manager_->Active());
        EXPECT_EQ(manager_->SkinName(), variant);
        EXPECT_NE(manager_->MasterBitmap, master);
        EXPECT_EQ(boxes_.Texts.size(), variant == "version-12-5" ? 1u : 0u);
        if (const auto check = LoadedVariantChecks().find(variant);
            check != LoadedVariantChecks().end())
          check->second(manager_, sound);
        break;
    }
  }
}

TEST_F(TestSkinLoad, RecolouringKeepsKeyPixelsKeptGlyphsAndMaskHalves) {
  const TestSkinManifest m = Write("Tessera");
  Load("Tessera");
  const std::vector<uint32_t> plain = Pixels(manager_->MasterBitmap);
  const std::vector<uint32_t> glow = Pixels(manager_->FindExternalImage("GLOWCLOSE.PNG"));
  const std::vector<uint32_t> tile = Pixels(manager_->FindExternalImage("TILE.BMP"));
  const MfImage& close = m.Images[static_cast<size_t>(m.ImageIndex("GLOBALINFO", "BICONCLOSE"))];
  const int width = m.MasterWidth;
  auto inside = [](const MfRect& r, int x, int y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
  };

  manager_->SetHueOffset(90);  // reloads
  const std::vector<uint32_t> hue = Pixels(manager_->MasterBitmap);
  ASSERT_EQ(hue.size(), plain.size());
  size_t keys = 0, changed = 0;
  for (size_t i = 0; i < plain.size(); ++i) {
    const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
    if (plain[i] == 0x00FF00FF) {
      ++keys;
      EXPECT_EQ(hue[i], plain[i]) << x << "," << y;
    } else if (inside(close.SourceRect, x, y)) {
      EXPECT_EQ(hue[i], plain[i]) << "kept glyph " << x << "," << y;
    } else if (hue[i] != plain[i]) {
      ++changed;
    }
  }
  EXPECT_GT(keys, 0u);
  EXPECT_GT(changed, plain.size() / 4);                                   // greys keep their hue
  EXPECT_EQ(Pixels(manager_->FindExternalImage("GLOWCLOSE.PNG")), glow);  // its first glow
  EXPECT_NE(Pixels(manager_->FindExternalImage("TILE.BMP")), tile);

  manager_->SetHueOffset(0);
  manager_->SetBrightness(30);
  const std::vector<uint32_t> bright = Pixels(manager_->MasterBitmap);
  size_t maskPixels = 0;
  for (const MfImage& image : m.Images) {
    if (image.OwnBitmap || image.MaskCount != 1) continue;
    const MfRect& r = image.SourceRect;
    for (int y = r.Top + r.Height() / 2; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x, ++maskPixels)
        ASSERT_EQ(bright[static_cast<size_t>(y * width + x)],
                  plain[static_cast<size_t>(y * width + x)])
            << image.Section << "/" << image.Key << " mask at " << x << "," << y;
  }
  EXPECT_GT(maskPixels, 0u);
  EXPECT_NE(bright, plain);
}

TEST_F(TestSkinLoad, ALivePreviewLoadsItsOwnDescriptionOverTheSkinFolder) {
  const TestSkinManifest m = Write("Tessera");
  std::string text;
  {
    TStringList lines;
    lines.LoadFromFile(dir_.Path() + "\\Tessera\\Options.dat");
    for (int i = 0; i < lines.Count(); ++i) {
      const std::string line = lines.Strings(i);
      text += (line.rfind("AUTHOR=", 0) == 0 ? std::string("AUTHOR=Editor") : line) + "\r\n";
    }
  }
  LivePreviewRecord rec{};
  rec.Marker = LivePreviewMarker;
  ASSERT_LT(text.size(), sizeof rec.Description);
  std::memcpy(rec.Description, text.data(), text.size());
  std::strcpy(rec.SkinName, "Tessera");
  std::strcpy(rec.SkinDirectory, dir_.Path().c_str());
  Load("Tessera");
  ASSERT_EQ(manager_->CommonSkinData->Author, m.Globals.Author);
  manager_->LivePreview = rec;
  manager_->ApplyLivePreview();
  ASSERT_TRUE(manager_->Active());
  EXPECT_TRUE(boxes_.Texts.empty());
  EXPECT_EQ(manager_->CommonSkinData->Author, "Editor");
  // The images still come from the skin's folder.
  ExpectImages(m, false);
  EXPECT_EQ(LivePreviewDescription, nullptr);
}

TEST_F(TestSkinLoad, AReloadThatFailsIsReportedAndKeepsTheSkinInForce) {
  const TestSkinManifest m = Write("Tessera");
  Load("Tessera");
  TBitmap* master = manager_->MasterBitmap;
  dir_.Text("Tessera\\MASTER.BMP", "XQ not a bitmap");
  manager_->SetHueOffset(40);                // reloads
  manager_->Options()->SetScaleMode(sm125);  // reloads between freeze and thaw
  EXPECT_EQ(boxes_.Texts.size(), 2u);
  EXPECT_EQ(manager_->MasterBitmap, master);
  EXPECT_FALSE(manager_->UpdateLock);
  EXPECT_FALSE(SkinLoading);
  ExpectSections(m);
}

TEST_F(TestSkinLoad, TheDefaultManagerIsThePaintersSkinSource) {
  Write("Tessera");
  ASSERT_EQ(DefaultManager, manager_);
  EXPECT_EQ(DefaultSkinSource(), manager_);
  Load("Tessera");
  const SkinSource* source = DefaultSkinSource();
  ASSERT_EQ(source, manager_);
  EXPECT_EQ(source->ImageCount(), static_cast<int>(manager_->Masks.size()));
  EXPECT_EQ(MaskPixels(manager_->Masks[0]).Base, ArgbView(manager_->MasterBitmap).Base);
  TsSkinManager* second = New<TsSkinManager>(nullptr);
  EXPECT_EQ(DefaultSkinSource(), manager_);
  second->SetIsDefault(true);
  EXPECT_EQ(DefaultSkinSource(), second);
  TObject::Free(second);
  EXPECT_EQ(DefaultSkinSource(), nullptr);  // no source outlives its manager
}

TEST_F(TestSkinLoad, ExtendedBordersComeFromTheSkinsExBorder) {
  if (!LayeredWindowsAvailable()) GTEST_SKIP() << "no layered windows";
  const TestSkinManifest m = Write("Tessera");
  manager_->SetExtendedBorders(true);
  Load("Tessera");
  const MfImage& ex = m.Images[static_cast<size_t>(m.Globals.ExBorder)];
  const RECT& margins = manager_->ExtBorderMargins;
  EXPECT_EQ(margins.left, m.Globals.ExBorderMargins[0]);
  EXPECT_EQ(margins.top, m.Globals.ExBorderMargins[1]);
  EXPECT_EQ(margins.right, m.Globals.ExBorderMargins[2]);
  EXPECT_EQ(margins.bottom, m.Globals.ExBorderMargins[3]);
  ASSERT_NE(manager_->ExtBorderActive, nullptr);
  ASSERT_NE(manager_->ExtBorderInactive, nullptr);
  EXPECT_EQ(manager_->ExtBorderInactive->Width(), ex.FrameWidth);
  EXPECT_EQ(manager_->ExtBorderActive->Height(), ex.FrameHeight);
  // Frame 1 is the active border: its centre is the master's.
  const int cx = ex.FrameWidth / 2, cy = ex.FrameHeight / 2;
  EXPECT_EQ(PixelOf(manager_->ExtBorderActive, cx, cy),
            PixelOf(manager_->MasterBitmap, ex.SourceRect.Left + ex.FrameWidth + cx,
                    ex.SourceRect.Top + cy));
  EXPECT_EQ(PixelOf(manager_->ExtBorderInactive, cx, cy),
            PixelOf(manager_->MasterBitmap, ex.SourceRect.Left + cx, ex.SourceRect.Top + cy));
}

}  // namespace
