// What a written test skin holds, stated by the generator itself: loader
// tests take their expectations from here, never from the code under test.
// Colours are TColor values (red in the low byte); pixels are 0xAARRGGBB.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace test_skin {

struct MfRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // right and bottom exclusive
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

struct MfPoint {
  int X = 0, Y = 0;
};

struct MfGradientStop {
  int32_t StartColor = 0, EndColor = 0;
  int Percent = 0, Mode = 0;
};

// One painting state as the reader must leave it.
struct MfState {
  int32_t TextGlowSize = 0, ImagePercent = 0, PatternIndex = -1, Transparency = 0;
  int32_t GradientPercent = 0;
  int32_t Color = 0xFFFFFF, TextGlowColor = 0xFFFFFF, FontColor = 0;
  int32_t ContourLeft = -1, ContourTop = -1, ContourRight = -1, ContourBottom = -1;
  std::string GradientText = " ";
  std::vector<MfGradientStop> Gradient;
};

struct MfSection {
  std::string Name, ParentClass;
  bool Appended = false;  // added by the reader, not in Options.dat
  int StateCount = 3;
  bool UseState2 = false, GiveOwnFont = false, ReservedBoolean = false;
  int Glow = 0, GlowMargin = 0, OuterMode = 2, OuterOpacity = 200;
  std::array<int, 4> OuterOffsets{0, 0, 0, 0};
  std::array<MfState, 3> States;
  // Cached after the load.
  int BordersMask = -1, OuterMask = -1, BorderKind = -2;
  std::array<int, 4> CornerImages{-1, -1, -1, -1};
};

// How an image changes when the skin loads at DPI level 2 (sm150).
struct MfDpi150 {
  bool Changed = false;
  std::string Key, File;  // a DPI variant's key and file
  bool OwnBitmap = false;
  MfRect SourceRect;
  int MaskCount = 0, FrameWidth = 0, FrameHeight = 0;
};

struct MfImage {
  std::string Section, Key;
  int SectionIndex = 0;
  char Form = '^';   // '@' '~' '^' '!', 'f' plain file, 'o' outer-effect mask made by the reader
  std::string File;  // upper-cased as in the description; empty = inside the master
  bool OwnBitmap = false;  // a file's bitmap, or the reader's own picture
  MfRect SourceRect;
  int FrameCount = 1, MaskCount = 0, UniformBorder = 0, PaintMode = 0, ImageKind = 0;
  int BorderLeft = 0, BorderTop = 0, BorderRight = 0, BorderBottom = 0;
  int TransparentCorners = 0, FrameWidth = 0, FrameHeight = 0;
  MfDpi150 Dpi150;
};

// A pixel of a written file and the 32-bit value it has once loaded.
struct MfPixel {
  std::string File, What;
  int X = 0, Y = 0;
  uint32_t FileArgb = 0, LoadedArgb = 0;
  int Tolerance = 0;  // per channel; non-zero only for the lossy JPEG
};

struct MfFile {
  std::string Name, Kind;  // Kind: "description", "bmp24", "png", "jpeg", or "broken"
  int Width = 0, Height = 0;
  uint64_t Size = 0;
};

struct MfGlobals {
  std::string Author, Description;
  double Version = 0;
  int BorderWidth = 4, FormOffset = 0, BorderMode = 0, BIKeepHue = 0;
  std::array<int, 2> TitleHeight{30, 30}, MaxTitleHeight{30, 30},
      CenterOffset{-1, 0};  // level 0, 2
  int BrightMin = -50, BrightMax = 50, AlignOffset = 0, AlignOffsetR = 0, AlignOffsetT = 0,
      AlignOffsetB = 0;
  int ComboMargin = 2, SliderMargin = 1, Shadow1Color = 0, Shadow1Offset = 0, Shadow1Blur = -1,
      Shadow1Transparency = 0;
  std::array<int, 2> BISpace{0, 0};
  int TabsCovering = 0;                                  // TABTOP's TABSCOVERING
  int TitleGlowCount = 0;                                // length of each title-button glow array
  std::array<std::array<int, 2>, 5> TitleGlowMargins{};  // level 0, 2
  std::array<std::vector<int>, 5> TitleGlows;            // image indices, -1 none
  std::array<int, 13> TitleButtons{};
  std::array<int, 3> CheckBoxes{-1, -1, -1}, SmallBoxes{-1, -1, -1};
  std::array<int, 2> RadioButtons{-1, -1};
  int ExBorder = -1, GripImage = -1;
  std::array<int, 4> ExBorderMargins{0, 0, 0, 0};  // left, top, right, bottom
};

struct MfOuterEffect {
  std::array<int32_t, 4> Colors{}, Offsets{}, Widths{};
  int MaskIndex = -1, Source = 2, Opacity = 0;
};

// Cached track-bar data, index 0 vertical, 1 horizontal.
struct MfSlider {
  int Section = -1, BordersMask = -1, SliderMask = -1, Pattern = -1, HotPattern = -1,
      TickGlyph = -1, ProgressGlyph = -1, Channel = -1;
};

// A strip of state frames with flat faces, frame k being what a control
// shows in state k: the push buttons' borders masks, the check-box images,
// the group-box caption's mask.
struct MfStrip {
  std::string Section, Key;
  int Image = -1;                  // index in Images
  MfPoint Face;                    // a face pixel, relative to each frame
  std::vector<uint32_t> Faces;     // per frame, 0xAARRGGBB as loaded at DPI level 0
  std::vector<MfPoint> KeyPixels;  // key pixels of the image part, the same in every frame
};

// What push buttons, group boxes, their check boxes, edits and combo boxes
// paint from.
struct MfControls {
  // Section indices of the standard names, -1 when the skin lacks one.
  int Button = -1, ButtonHuge = -1, ToolButton = -1, GroupBox = -1, CheckBox = -1, Transparent = -1;
  std::string CaptionSkin;  // the section a group box names as its caption skin
  int CaptionSection = -1;
  // The BUTTON mask frame of each content state: normal, hot, pressed, default.
  std::array<int, 4> ButtonFrames{0, 0, 0, 0};
  // Edits, combo boxes and list selections: section indices, -1 when absent,
  // and the image of the arrow a combo's button shows (COMBOBOX's GLYPHMASK).
  int Edit = -1, ComboBox = -1, ComboButton = -1, Selection = -1, ComboGlyph = -1;
  std::vector<MfStrip> Strips;
};

enum class Outcome { Loads, Fails, Deactivates };

struct TestSkinManifest {
  std::string Variant, SkinName;
  std::string Broken;  // what is broken; empty for a sound skin
  Outcome Expected = Outcome::Loads;
  std::string Expectation;  // what a loader must do with it, in words
  bool Large = false;
  std::vector<MfFile> Files;
  // Sound skins only (broken variants leave these empty):
  std::vector<MfSection> Sections;  // in load order, TRANSPARENT and MAINCOLOR appended
  std::vector<MfImage> Images;      // in registration order
  std::vector<MfPixel> Pixels;
  std::array<int32_t, 30> Palette{};
  MfGlobals Globals;
  std::array<MfOuterEffect, 2> OuterEffects;  // 0 outline (LO_), 1 shadow (SH_)
  std::array<MfSlider, 2> Sliders;
  MfControls Controls;
  int MasterWidth = 0, MasterHeight = 0;

  int SectionIndex(const std::string& name) const;
  int ImageIndex(const std::string& section, const std::string& key) const;  // first match
  const MfFile* File(const std::string& name) const;
  const MfStrip* Strip(const std::string& section, const std::string& key) const;
};

// The colour a loader gives the manifest's pixel of that description
// (0xRRGGBB); throws std::logic_error when the manifest has none.
uint32_t SkinPixel(const TestSkinManifest& m, const std::string& what);

// The manifest as text lines ("record name=value ..."), for scripts.
std::string ManifestText(const TestSkinManifest& m);

const char* OutcomeName(Outcome o);

}  // namespace test_skin
