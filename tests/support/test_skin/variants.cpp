#include <algorithm>
#include <stdexcept>

#include "tessera_design.h"
#include "test_skin.h"

namespace test_skin {
namespace {

// A skin between building and writing, for the broken variants to spoil.
struct Parts {
  std::vector<IniSection> Ini;
  std::vector<SkinFile> Files;  // without Options.dat
  bool NoDescription = false;
  bool EmptyDescription = false;
  int MasterWidth = 0;
};

void SetValue(Parts& p, const std::string& section, const std::string& key,
              const std::string& value, bool first = false) {
  for (IniSection& s : p.Ini) {
    if (s.Name != section) continue;
    for (IniKey& k : s.Keys)
      if (k.Name == key) {
        k.Value = value;
        return;
      }
    s.Keys.insert(first ? s.Keys.begin() : s.Keys.end(), IniKey{key, value, -1});
    return;
  }
  p.Ini.push_back({section, {{key, value, -1}}});
}

std::string& ValueOf(Parts& p, const std::string& section, const std::string& key) {
  for (IniSection& s : p.Ini)
    for (IniKey& k : s.Keys)
      if (s.Name == section && k.Name == key) return k.Value;
  throw std::logic_error("no key " + section + "/" + key);
}

std::vector<uint8_t>& FileBytes(Parts& p, const std::string& name) {
  for (SkinFile& f : p.Files)
    if (f.Name == name) return f.Bytes;
  throw std::logic_error("no file " + name);
}

void RemoveFile(Parts& p, const std::string& name) {
  std::erase_if(p.Files, [&](const SkinFile& f) { return f.Name == name; });
}

void Loop(Parts& p, int length) {
  const std::string names[3] = {"LOOPA", "LOOPB", "LOOPC"};
  for (int i = 0; i < length; ++i) SetValue(p, names[i], "PARENTCLASS", names[(i + 1) % length]);
}

struct Variant {
  const char* Name;
  const char* Broken;
  Outcome Expected;
  const char* Expectation;
  void (*Spoil)(Parts&);
};

const Variant kVariants[] = {
    {"no-options", "the folder has no Options.dat", Outcome::Deactivates,
     "no folder skin is found: Active becomes False, the removal is broadcast, no message",
     [](Parts& p) { p.NoDescription = true; }},
    {"parent-loop-2", "LOOPA and LOOPB name each other as PARENTCLASS", Outcome::Loads,
     "the parent walk ends: both sections hold the defaults, lookups of missing images give -1",
     [](Parts& p) { Loop(p, 2); }},
    {"parent-loop-3", "LOOPA, LOOPB and LOOPC name each other in a ring", Outcome::Loads,
     "the parent walk ends: the three sections hold the defaults", [](Parts& p) { Loop(p, 3); }},
    {"no-edit", "no EDIT section", Outcome::Loads,
     "controls that default to EDIT stay unskinned: their default section answer is 0",
     [](Parts& p) { std::erase_if(p.Ini, [](const IniSection& s) { return s.Name == "EDIT"; }); }},
    {"frames-zero-bordered", "BUTTON/BORDERSMASK is a '^' value with FrameCount 0 and no borders",
     Outcome::Fails, "the zero divisor is malformed data: the load fails",
     [](Parts& p) {
       std::string& v = ValueOf(p, "BUTTON", "BORDERSMASK");
       v = v.substr(0, 21) + "0000^0000^0000^0000^0^1^0^0";
     }},
    {"frames-zero-short-file", "MENUITEM/GLYPHMASK is a '!' value of two words with FrameCount 0",
     Outcome::Fails, "the zero divisor is malformed data: the load fails",
     [](Parts& p) { ValueOf(p, "MENUITEM", "GLYPHMASK") = "!MENUGLYPH.PNG!0"; }},
    {"rect-negative", "GROUPBOX/LINEMARK has Left \"-001\"", Outcome::Loads,
     "the rectangle is clipped to the master: Left 0, the rest as written",
     [](Parts& p) {
       std::string& v = ValueOf(p, "GROUPBOX", "LINEMARK");
       v.replace(1, 4, "-001");
     }},
    {"rect-past-master", "GROUPBOX/LINEMARK lies wholly right of the master", Outcome::Loads,
     "the clipped rectangle is empty: GROUPBOX has no LINEMARK image",
     [](Parts& p) {
       const std::string left = Field4(p.MasterWidth + 4), right = Field4(p.MasterWidth + 24);
       ValueOf(p, "GROUPBOX", "LINEMARK") = "@" + left + "@0010@" + right + "@0026@2@1";
     }},
    {"non-numeric-field", "EDIT/BORDERSMASK has \"00x1\" in its Top field", Outcome::Fails,
     "the conversion error ends the load",
     [](Parts& p) { ValueOf(p, "EDIT", "BORDERSMASK").replace(6, 4, "00x1"); }},
    {"missing-master", "MASTER.BMP is not in the folder", Outcome::Loads,
     "the master stays empty: images inside it have nothing to show",
     [](Parts& p) { RemoveFile(p, "MASTER.BMP"); }},
    {"missing-external-file", "MENUGLYPH.PNG is not in the folder", Outcome::Loads,
     "MENUITEM has no GLYPHMASK image at DPI level 0",
     [](Parts& p) { RemoveFile(p, "MENUGLYPH.PNG"); }},
    {"truncated-png", "GLOWCLOSE.PNG ends in the middle of its image data", Outcome::Fails,
     "the PNG reader's error ends the load",
     [](Parts& p) {
       std::vector<uint8_t>& f = FileBytes(p, "GLOWCLOSE.PNG");
       f.resize(f.size() / 2);
     }},
    {"bad-bmp-header", "MASTER.BMP does not start with \"BM\"", Outcome::Fails,
     "the bitmap reader's error ends the load",
     [](Parts& p) {
       std::vector<uint8_t>& f = FileBytes(p, "MASTER.BMP");
       f[0] = 'X';
       f[1] = 'Q';
     }},
    {"glow-count-huge", "BICONCLOSEGLOW=1000000", Outcome::Loads,
     "the title-button glow arrays hold 32 entries",
     [](Parts& p) { SetValue(p, "GLOBALINFO", "BICONCLOSEGLOW", "1000000"); }},
    {"states-zero", "BUTTON has STATES=0 and USESTATE2=0", Outcome::Loads,
     "BUTTON's StateCount is 0; its state 1 is a copy of state 0 and state 2 of state 1",
     [](Parts& p) {
       SetValue(p, "BUTTON", "STATES", "0", true);
       SetValue(p, "BUTTON", "USESTATE2", "0");
     }},
    {"version-12-5", "VERSION=12.5, newer than any supported version", Outcome::Loads,
     "Version reads 12.5 whatever the locale; the version notice shows once",
     [](Parts& p) { SetValue(p, "GLOBALINFO", "VERSION", "12.5"); }},
    {"author-at", "AUTHOR begins with '@', so it reads as an image value", Outcome::Fails,
     "the value's fixed fields are not numbers: the load fails",
     [](Parts& p) { SetValue(p, "GLOBALINFO", "AUTHOR", "@Tessera workshop"); }},
    {"empty-options", "Options.dat is empty", Outcome::Loads,
     "no images and no master; only TRANSPARENT and MAINCOLOR, appended by the reader",
     [](Parts& p) { p.EmptyDescription = true; }},
};

// Sound skins that differ from Tessera in one part of their design; their
// manifests are as complete as the sound skin's.
struct Look {
  const char* Name;
  const char* Expectation;
  TesseraLook Design;
};

const Look kLooks[] = {
    {"trackbar-opaque",
     "the track bar's face is a left-to-right gradient, not its parent",
     {.Track = {.Opaque = true}}},
    {"no-trackbar",
     "no TRACKBAR section: a track bar keeps its plain look",
     {.Track = {.Section = false}}},
    {"no-tick-image",
     "no TICKHORZ or TICKVERT: the track bar paints bevel ticks",
     {.Track = {.TickImages = false}}},
    {"no-thumb-image",
     "no SLIDERMASK or SLIDERVMASK: the track bar paints no thumb",
     {.Track = {.ThumbImages = false}}},
    {"glow-off",
     "TRACKBAR has GLOW=0: no glow window while the track bar is hot",
     {.Track = {.Glow = 0}}},
    {"button-no-normal-frame",
     "the borders masks of BUTTON and BUTTON_HUGE have PaintMode bit 2: in the normal state a "
     "push button shows its section's face without the mask and cuts no corners from its region",
     {.Button = {.NormalFrame = false}}},
    {"button-glyph",
     "BUTTON has a three-frame GLYPHMASK of its own: normal, hot and pressed glyphs, inherited by "
     "BUTTON_HUGE and TOOLBUTTON",
     {.Button = {.Glyph = true}}},
    {"edit-outer-mask",
     "EDIT has OUTERMODE=1 and an OUTERMASK: an edit's shadow comes from its own mask, not the "
     "skin's outer-effect list",
     {.Fields = {.EditOuterMask = true}}},
    {"selection",
     "a SELECTION section of three states (normal, focused, a third look) with a borders mask "
     "whose two-pixel rim differs from its face in every frame: palette entries 6 to 9 are its "
     "normal and focused colours, not the menu item's",
     {.Fields = {.Selection = true}}},
    {"combo-own-font",
     "COMBOBOX has GIVEOWNFONT=TRUE: a combo box draws its arrow although a GLYPHMASK exists",
     {.Fields = {.ComboOwnFont = true}}},
    {"combo-margin-default",
     "GLOBALINFO has no COMBOMARGIN: a combo's button keeps the default margin of 2, not the "
     "sound skin's 3",
     {.Fields = {.ComboMargin = false}}},
    {"edit-border-2",
     "EDIT's borders mask is two pixels wide on every side, two states with key corners: "
     "BorderKind "
     "0, so an edit keeps the system's frame width",
     {.Fields = {.EditBorder = 2}}},
    {"combo-glow-off",
     "COMBOBOX has GLOW=0: no glow window while a combo box is hot",
     {.Fields = {.ComboGlow = 0}}},
    {"hint-transparency-30",
     "HINT's normal state has TRANSPARENCY=30: a hint fades in from alpha 77 and stands at 178",
     {.Hint = {.Transparency = 30}}},
    {"tabs-by-place",
     "TABTOPFIRST, TABTOPLAST and TABTOPMIDDLE: top tabs take the section of their place in the "
     "row",
     {.Pages = {.PlaceTabs = true}}},
    {"tabs-covering",
     "TABTOP has TABSCOVERING=2: neighbouring top tabs overlap by 2 pixels",
     {.Pages = {.Covering = 2}}},
    {"no-tabtop",
     "no TABTOP section: a page control paints no skinned tab",
     {.Pages = {.TabTop = false}}},
    {"no-scrolls",
     "no scroll-bar, arrow or thumb section and no GRIPIMAGE: skinned bars show only what lies "
     "behind them, the size box takes the window's background or the skin's main colour",
     {.Scrolls = {.Sections = false}}},
    {"scroll-track-clear",
     "SCROLLBAR1H is fully transparent and has no image: the first half of a horizontal track "
     "shows what lies behind it, and the size box does not take its colour",
     {.Scrolls = {.TransparentTrack = true}}},
};

}  // namespace

std::vector<std::string> VariantNames() {
  std::vector<std::string> names{kSoundVariant};
  for (const Look& l : kLooks) names.push_back(l.Name);
  for (const Variant& v : kVariants) names.push_back(v.Name);
  return names;
}

std::vector<std::string> BrokenVariantNames() {
  std::vector<std::string> names;
  for (const Variant& v : kVariants) names.push_back(v.Name);
  return names;
}

TestSkinFiles BuildTestSkin(const std::string& variant, bool large) {
  const Variant* broken = nullptr;
  for (const Variant& v : kVariants)
    if (variant == v.Name) broken = &v;
  const Look* look = nullptr;
  for (const Look& l : kLooks)
    if (variant == l.Name) look = &l;
  if (!broken && !look && variant != kSoundVariant)
    throw std::invalid_argument("unknown test skin variant: " + variant);
  SkinBuilder b(MasterWidthFor(large), MasterHeightFor(large));
  DesignTessera(b, large, look ? look->Design : TesseraLook{});
  TestSkinFiles out;
  out.Manifest = b.Finish(variant, "Tessera");
  out.Manifest.Large = large;
  if (look) out.Manifest.Expectation = look->Expectation;
  out.Files = b.Files();
  if (!broken) return out;

  Parts p{b.Sections(), b.Files()};
  p.MasterWidth = b.Master.Width;
  RemoveFile(p, "Options.dat");
  broken->Spoil(p);
  if (!p.NoDescription)
    p.Files.push_back(
        {"Options.dat", p.EmptyDescription ? std::vector<uint8_t>{} : RenderDescription(p.Ini)});
  const TestSkinManifest sound = out.Manifest;
  TestSkinManifest& m = out.Manifest;
  m = TestSkinManifest{};
  m.Variant = variant;
  m.SkinName = sound.SkinName;
  m.Large = large;
  m.Broken = broken->Broken;
  m.Expected = broken->Expected;
  m.Expectation = broken->Expectation;
  for (const SkinFile& f : p.Files) {
    const MfFile* was = sound.File(f.Name);
    m.Files.push_back({f.Name, was ? was->Kind : "description", was ? was->Width : 0,
                       was ? was->Height : 0, f.Bytes.size()});
  }
  out.Files = std::move(p.Files);
  return out;
}

}  // namespace test_skin
