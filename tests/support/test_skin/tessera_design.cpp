#include "tessera_design.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "tessera_parts.h"

namespace test_skin {
namespace {

Raster Glyph(int fw, int fh, int frames, int32_t colour) {
  Raster g(fw * frames, fh, 0x00FFFFFF);  // a fully clear white pixel loads as 0
  for (int f = 0; f < frames; ++f) {
    g.Diamond(f * fw + fw / 2, fh / 2, std::min(fw, fh) / 2 - 1, Argb(colour, 0x80 + 0x3F * f));
    g.Diamond(f * fw + fw / 2, fh / 2, std::min(fw, fh) / 4, kWhite);
  }
  return g;
}

Raster Tile() {
  Raster t(16, 16, Argb(kSand));
  t.Diamond(8, 8, 5, Argb(kTeal));
  t.Frame(0, 0, 16, 16, Argb(kSlate));
  return t;
}

// Flat 16 x 16 blocks, which JPEG keeps within a step or two of each value.
Raster Stone() {
  Raster s(48, 32);
  const int32_t colours[6] = {kSand, kMoss, kDusk, kTeal, kAmber, kSlate};
  for (int i = 0; i < 6; ++i)
    s.Fill((i % 3) * 16, (i / 3) * 16, (i % 3) * 16 + 16, (i / 3) * 16 + 16, Argb(colours[i]));
  return s;
}

std::vector<MfGradientStop> TwoBands(int32_t a, int32_t b, int32_t c, int mode) {
  return {{a, b, 50, mode}, {b, c, 50, mode}};
}

void GlobalInfo(SkinBuilder& b, const FieldLook& fields) {
  SectionDef g{.Name = "GLOBALINFO"};
  g.State[0].Color = kSand;
  g.State[0].FontColor = kInk;
  g.State[0].TcBottom = kClay;
  g.State[0].TcTop = kTeal;
  b.AddSection(g);
  const std::pair<const char*, std::string> keys[] = {
      {"VERSION", "8.20"},
      {"AUTHOR", "Tessera workshop"},
      {"DESCRIPTION", "Generated test skin"},
      {"MASTERBITMAP", "MASTER.BMP"},
      {"TITLEHEIGHT", "26"},
      {"TITLEHEIGHT*150", "41"},
      {"MAXHEIGHT", "30"},
      {"BORDERWIDTH", "5"},
      {"FORMOFFSET", "4"},
      {"BORDERMODE", "0"},
      {"BRIGHTMIN", "-40"},
      {"BRIGHTMAX", "60"},
      {"ALIGNOFFSET", "2"},
      {"ALIGNOFFSETR", "3"},
      {"BISPACE", "4"},
      {"BIKEEPHUE", "1"},
      {"COMBOMARGIN", "3"},
      {"SLIDERMARGIN", "2"},
      {"SHADOW1COLOR", std::to_string(kDusk)},
      {"SHADOW1OFFSET", "2"},
      {"SHADOW1BLUR", "5"},
      {"SHADOW1TRANSPARENCY", "40"},
      {"EDITTEXT_INV", std::to_string(kIvory)},
      {"EDITBG_EVEN", std::to_string(Tc(236, 232, 214))},
      {"EDITTEXT_OK", std::to_string(kMoss)},
      {"EDITBG_WARN", std::to_string(kAmber)},
      {"EDITTEXT_ALERT", std::to_string(kClay)},
      {"BORDERCOLOR", std::to_string(kSlate)},
      {"BICONCLOSEGLOW", "2"},
      {"BICONCLOSEGLOWMARGIN", "3"},
      {"SH_SOURCE", "1"},
      {"SH_COLORL", std::to_string(kInk)},
      {"SH_WIDTHL", "6"},
      {"SH_OFFSETB", "6"},
      {"SH_OPACITY", "90"},
      {"LO_SOURCE", "2"},
      {"LO_COLORT", std::to_string(kTeal)},
      {"LO_OPACITY", "150"}};
  for (const auto& [key, value] : keys)
    if (fields.ComboMargin || std::string(key) != "COMBOMARGIN") b.AddKey("GLOBALINFO", key, value);
  Plate(b, "GLOBALINFO", "EXBORDER", 40, 40, 2, 0, {10, 12, 10, 14}, 0, 0, kSlate, kTeal);
  Plate(b, "GLOBALINFO", "BICONCLOSE", 16, 16, 3, 0, {0, 0, 0, 0}, 0, 0, kClay, kIvory);
  const Raster glow = Glyph(24, 24, 1, kClay);
  b.FileImage("GLOBALINFO", "BICONCLOSEGLOW0", "GLOWCLOSE.PNG", glow, {1, 0}, 0);
  b.AddPixel("GLOWCLOSE.PNG", 0, 0, "clear white corner");
  b.AddPixel("GLOWCLOSE.PNG", 12, 12, "opaque bright centre, capped");
  b.AddPixel("GLOWCLOSE.PNG", 12, 3, "half-transparent rim");
  Plate(b, "GLOBALINFO", "BICONCLOSEGLOW1", 20, 20, 1, 0, {0, 0, 0, 0}, 6, 0, kAmber, kClay);
  CheckBoxImages(b);
  Plate(b, "GLOBALINFO", "SH_MASK", 18, 18, 1, 1, {6, 6, 6, 6}, 0, 1, kInk, kSlate);
}

void Controls(SkinBuilder& b, const TesseraLook& look) {
  FieldSections(b, look.Fields);

  SectionDef menu{.Name = "MENUITEM"};
  menu.State[0] = {.Color = kSand, .FontColor = kInk};
  menu.State[1] = {.Color = kTeal, .FontColor = kIvory};
  b.AddSection(menu);
  Plate(b, "MENUITEM", "BORDERSMASK", 20, 18, 2, 0, {0, 0, 0, 0}, 3, 1, kSand, kTeal);
  const std::vector<int> glyphWords = {2, 0, 0, 0, 0, 0, 0, 0};
  b.FileImage("MENUITEM", "GLYPHMASK", "MENUGLYPH.PNG", Glyph(12, 12, 2, kTeal), glyphWords, 0);
  b.FileVariant150("MENUITEM", "GLYPHMASK", "MENUGLYPH150.PNG", Glyph(18, 18, 2, kTeal),
                   glyphWords);
  b.AddPixel("MENUGLYPH.PNG", 18, 6, "second frame centre");

  HintSection(b, look.Hint);

  ControlSections(b, look.Button);
  PageSections(b, look.Pages);
}

void Surfaces(SkinBuilder& b) {
  SectionDef panel{.Name = "PANEL", .States = 3, .UseState2 = 1};
  panel.State[0] = {.Color = kSand,
                    .FontColor = kInk,
                    .GradientPercent = 40,
                    .ImagePercent = 30,
                    .GradientText = GradientText(TwoBands(kSand, kIvory, kSand, 0))};
  panel.State[1] = {.Color = kIvory,
                    .FontColor = kInk,
                    .GradientPercent = 50,
                    .ImagePercent = 40,
                    .GradientText = GradientText(TwoBands(kIvory, kAmber, kIvory, 1))};
  panel.State[2] = {.Color = kMoss,
                    .FontColor = kIvory,
                    .GradientPercent = 100,
                    .ImagePercent = 0,
                    .Transparency = 20,
                    .GradientText = GradientText({{kMoss, kTeal, 100, 2}})};
  b.AddSection(panel);
  const MfRect pattern = b.Place(32, 32);
  b.Master.Fill(pattern.Left, pattern.Top, pattern.Right, pattern.Bottom, Argb(kSand));
  for (int i = 0; i < 4; ++i)
    b.Master.Diamond(pattern.Left + 8 + 16 * (i % 2), pattern.Top + 8 + 16 * (i / 2), 6,
                     Argb(kTeal));
  b.Texture("PANEL", "PATTERN", pattern, 1, true);
  b.AddPixel("", pattern.Left + 8, pattern.Top + 8, "PANEL/PATTERN diamond centre");
  b.TextureFile("PANEL", "HOTPATTERN", "TILE.BMP", Tile(), 2);
  b.AddPixel("TILE.BMP", 8, 8, "tile diamond centre");
  b.AddPixel("TILE.BMP", 0, 15, "tile rim, bottom row");
  b.PlainFile("PANEL", "PATTERN2", "STONE.JPG", Stone());
  for (int i = 0; i < 6; ++i)
    b.AddPixel("STONE.JPG", (i % 3) * 16 + 8, (i / 3) * 16 + 8, "flat block " + std::to_string(i));

  SectionDef gauge{.Name = "GAUGE", .States = 1};
  gauge.State[0] = {.Color = kMoss,
                    .FontColor = kIvory,
                    .GradientPercent = 100,
                    .GradientText = GradientText(TwoBands(kMoss, kTeal, kMoss, 1))};
  gauge.State[1] = {.Color = kClay};  // not read: one state only
  b.AddSection(gauge);

  SectionDef divider{.Name = "DIVIDER", .Parent = "DIVIDER"};
  divider.State[0] = {.Color = kSlate, .GradientPercent = 50, .GradientText = "ab"};
  b.AddSection(divider);
}

void TrackBar(SkinBuilder& b, const TrackBarLook& look) {
  if (!look.Section) return;
  SectionDef track{.Name = "TRACKBAR", .Glow = look.Glow, .GlowMargin = 2};
  if (look.Opaque) {
    track.State[0] = {.Color = kIvory,
                      .FontColor = kInk,
                      .GradientPercent = 100,
                      .Transparency = 0,
                      .GradientText = GradientText({{kTeal, kAmber, 100, 1}})};
    track.State[1] = {.Color = kIvory,
                      .FontColor = kClay,
                      .GradientPercent = 100,
                      .Transparency = 0,
                      .GradientText = GradientText({{kAmber, kTeal, 100, 1}})};
  } else {
    track.State[0] = {.Color = kIvory, .FontColor = kInk, .Transparency = 100};
    track.State[1] = {.Color = kIvory, .FontColor = kClay, .Transparency = 100};
  }
  b.AddSection(track);
  Plate(b, "TRACKBAR", "BORDERSMASK", 16, 16, 2, 0, {2, 2, 2, 2}, 0, 2, kIvory, kSand);
  const MfRect channel =
      Plate(b, "TRACKBAR", "SLIDERCHANNEL", 24, 8, 2, 0, {3, 2, 3, 2}, 0, 0, kSand, kSlate);
  // The centre is not painted (no centre bit): the corners tell where the
  // channel lies, the ramp tells its rows apart.
  for (int f = 0; f < 2; ++f) {
    const std::string frame = "TRACKBAR/SLIDERCHANNEL frame " + std::to_string(f);
    b.AddPixel("", channel.Left + 24 * f + 1, channel.Top + 1, frame + " inner top-left");
    b.AddPixel("", channel.Left + 24 * f + 1, channel.Bottom - 2, frame + " inner bottom-left");
    b.AddPixel("", channel.Left + 24 * f + 23, channel.Top + 1, frame + " right rim");
  }
  Plate(b, "TRACKBAR", "PROGHORZ", 16, 8, 1, 0, {3, 2, 3, 2}, 0, 0, kTeal, kAmber);
  Plate(b, "TRACKBAR", "PROGVERT", 8, 16, 1, 0, {2, 3, 2, 3}, 0, 0, kTeal, kAmber);
  if (look.TickImages) {
    Plate(b, "TRACKBAR", "TICKHORZ", 3, 5, 1, 0, {0, 0, 0, 0}, 0, 0, kSlate, kSlate);
    Plate(b, "TRACKBAR", "TICKVERT", 5, 3, 1, 0, {0, 0, 0, 0}, 0, 0, kSlate, kSlate);
  }
  if (look.ThumbImages) {
    // Thumb frames: normal, hot, pressed.
    Plate(b, "TRACKBAR", "SLIDERMASK", 12, 22, 3, 1, {0, 0, 0, 0}, 0, 0, kTeal, kIvory);
    Plate(b, "TRACKBAR", "SLIDERVMASK", 22, 12, 3, 1, {0, 0, 0, 0}, 0, 0, kTeal, kIvory);
  }
  for (const char* key : {"PATTERN", "HOTPATTERN"}) {
    const MfRect r = b.Place(16, 16);
    DrawPlate(b, r, 1, 0, key[0] == 'P' ? kIvory : kAmber, kSand, false);
    b.Texture("TRACKBAR", key, r, 0, false);
  }
  // The hover halo, drawn around the bar in a window of its own.
  Plate(b, "TRACKBAR", "GLOW0", 18, 18, 1, 0, {6, 6, 6, 6}, 0, 0, kAmber, kAmber);
}

// Sections of the large variant: plates of varied size under three parents.
void Rows(SkinBuilder& b) {
  const char* parents[3] = {"BUTTON", "PANEL", nullptr};
  const int32_t colours[5] = {kSlate, kTeal, kAmber, kClay, kMoss};
  for (int i = 0; i < 108; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "TESSERA_%03d", i);
    SectionDef s{.Name = name};
    if (parents[i % 3]) s.Parent = parents[i % 3];
    s.State[0].Color = colours[i % 5];
    s.State[1].Color = colours[(i + 1) % 5];
    if (i % 4 == 0)
      s.State[0].GradientText =
          GradientText(TwoBands(colours[i % 5], kIvory, colours[i % 5], i % 3));
    b.AddSection(s);
    Plate(b, name, "BORDERSMASK", 20 + i % 17, 18 + i % 11, 1 + i % 3, i % 2, {4, 4, 4, 4}, 0,
          i % 5, colours[i % 5], colours[(i + 2) % 5]);
    const MfRect r = b.Place(24, 24);
    DrawPlate(b, r, 1, 0, colours[(i + 3) % 5], kIvory, false);
    b.Texture(name, "PATTERN", r, i % 3, false);
  }
}

}  // namespace

void DesignTessera(SkinBuilder& b, bool large, const TesseraLook& look) {
  GlobalInfo(b, look.Fields);
  Controls(b, look);
  Surfaces(b);
  TrackBar(b, look.Track);
  ScrollSections(b, look.Scrolls);
  if (large) Rows(b);
}

}  // namespace test_skin
