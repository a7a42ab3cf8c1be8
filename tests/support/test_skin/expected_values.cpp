#include "expected_values.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <stdexcept>

namespace test_skin {
namespace {

using SectionDefs = std::vector<SectionDef>;

const SectionDef* FindSectionDef(const SectionDefs& descs, const std::string& name) {
  for (const SectionDef& s : descs)
    if (s.Name == name) return &s;
  return nullptr;
}

// The first own-or-ancestor value the getter finds; a chain that returns to a
// section already visited ends there.
template <class T>
std::optional<T> Inherited(const SectionDefs& descs, const std::string& name,
                           const std::function<std::optional<T>(const SectionDef&)>& get) {
  std::set<std::string> seen;
  for (const SectionDef* s = FindSectionDef(descs, name); s && seen.insert(s->Name).second;) {
    if (std::optional<T> v = get(*s)) return v;
    if (!s->Parent || s->Parent->empty() || *s->Parent == "?" || *s->Parent == s->Name) break;
    s = FindSectionDef(descs, *s->Parent);
  }
  return std::nullopt;
}

int InheritedInt(const SectionDefs& descs, const std::string& name,
                 std::function<std::optional<int32_t>(const SectionDef&)> get, int def,
                 int limit = 2147483647) {
  auto nonNegative = [&](const SectionDef& s) -> std::optional<int> {
    std::optional<int32_t> v = get(s);
    return v && *v >= 0 ? std::optional<int>(*v) : std::nullopt;
  };
  return std::min(Inherited<int>(descs, name, nonNegative).value_or(def), limit);
}

std::vector<MfGradientStop> ParseStops(const std::string& text) {
  std::vector<int> words;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(';', at);
    if (end == std::string::npos) end = text.size();
    if (end > at) words.push_back(std::stoi(text.substr(at, end - at)));
    at = end + 1;
  }
  std::vector<MfGradientStop> stops;
  for (size_t i = 0; i + 5 <= words.size(); i += 5)
    stops.push_back({words[i], words[i + 1], std::clamp(words[i + 2], 0, 100), words[i + 3]});
  return stops;
}

MfState ResolveState(const SectionDefs& descs, const std::string& name, int k) {
  using Field = std::optional<int32_t> StateDef::*;
  auto get = [&](Field f) { return [f, k](const SectionDef& s) { return s.State[k].*f; }; };
  MfState st;
  st.Color = InheritedInt(descs, name, get(&StateDef::Color), st.Color);
  st.FontColor = InheritedInt(descs, name, get(&StateDef::FontColor), st.FontColor);
  st.ContourLeft = InheritedInt(descs, name, get(&StateDef::TcLeft), -1);
  st.ContourTop = InheritedInt(descs, name, get(&StateDef::TcTop), -1);
  st.ContourRight = InheritedInt(descs, name, get(&StateDef::TcRight), -1);
  st.ContourBottom = InheritedInt(descs, name, get(&StateDef::TcBottom), -1);
  st.TextGlowColor = InheritedInt(descs, name, get(&StateDef::GlowColor), st.TextGlowColor);
  st.TextGlowSize = InheritedInt(descs, name, get(&StateDef::GlowSize), 0);
  st.GradientPercent = InheritedInt(descs, name, get(&StateDef::GradientPercent), 0);
  st.ImagePercent = InheritedInt(descs, name, get(&StateDef::ImagePercent), 0);
  st.Transparency = InheritedInt(descs, name, get(&StateDef::Transparency), 0);
  st.GradientText = Inherited<std::string>(descs, name, [k](const SectionDef& s) {
                      return s.State[k].GradientText;
                    }).value_or(" ");
  if (st.GradientText.size() < 3)
    st.GradientPercent = 0;
  else
    st.Gradient = ParseStops(st.GradientText);
  return st;
}

MfSection ResolveSection(const SectionDefs& descs, const SectionDef& desc) {
  MfSection s;
  s.Name = desc.Name;
  s.ParentClass = desc.Parent.value_or("");
  auto per = [&](std::optional<int> SectionDef::*f, int def, int limit) {
    return InheritedInt(
        descs, desc.Name, [f](const SectionDef& x) -> std::optional<int32_t> { return x.*f; }, def,
        limit);
  };
  s.StateCount = per(&SectionDef::States, 3, 255);
  s.UseState2 = per(&SectionDef::UseState2, 0, 2147483647) == 1;
  s.Glow = per(&SectionDef::Glow, 0, 255);
  s.GlowMargin = per(&SectionDef::GlowMargin, 0, 255);
  s.OuterOpacity = per(&SectionDef::OutOpacity, 200, 255);
  s.OuterMode = per(&SectionDef::OuterMode, 2, 2147483647);
  const std::optional<std::string> own =
      Inherited<std::string>(descs, desc.Name, [](const SectionDef& x) { return x.GiveOwnFont; });
  s.GiveOwnFont = own && (*own == "TRUE" || *own == "1");
  const std::optional<std::string> reserved = Inherited<std::string>(
      descs, desc.Name, [](const SectionDef& x) { return x.ReservedBoolean; });
  s.ReservedBoolean = reserved && (*reserved == "TRUE" || *reserved == "1");
  s.States[0] = ResolveState(descs, desc.Name, 0);
  s.States[1] = s.StateCount < 2 ? s.States[0] : ResolveState(descs, desc.Name, 1);
  s.States[2] = s.UseState2 ? ResolveState(descs, desc.Name, 2) : s.States[1];
  return s;
}

std::optional<std::string> GlobalText(const std::vector<IniSection>& ini, const std::string& key) {
  for (const IniSection& s : ini) {
    if (s.Name != "GLOBALINFO") continue;
    for (const IniKey& k : s.Keys)
      if (k.Name == key) return k.Value;
  }
  return std::nullopt;
}

std::optional<int> GlobalInt(const std::vector<IniSection>& ini, const std::string& key) {
  const std::optional<std::string> text = GlobalText(ini, key);
  return text ? std::optional<int>(std::stoi(*text)) : std::nullopt;
}

int Half(int v) {
  return v + v / 2;
}  // a value at DPI level 2

class Lookups {
 public:
  explicit Lookups(TestSkinManifest& m) : m_(m) {}

  int Section(const std::string& name) const { return m_.SectionIndex(name); }

  // By section index and key, walking to the parents by name.
  int Mask(int section, const std::string& key, bool textureOnly = false) const {
    std::set<int> seen;
    while (section >= 0 && seen.insert(section).second) {
      for (size_t i = 0; i < m_.Images.size(); ++i) {
        const MfImage& im = m_.Images[i];
        if (im.SectionIndex == section && im.Key == key && (!textureOnly || im.ImageKind == 1))
          return int(i);
      }
      const std::string& parent = m_.Sections[size_t(section)].ParentClass;
      if (parent.empty() || parent == m_.Sections[size_t(section)].Name) break;
      section = Section(parent);
    }
    return -1;
  }

  // The image a DPI-aware lookup leaves at level 2, converting it in place
  // when the skin has no variant for that level.
  int Dpi(int section, const std::string& key, bool scaleInPlace) {
    const int i = Mask(section, key);
    if (i < 0) return i;
    MfImage& im = m_.Images[size_t(i)];
    if (im.Dpi150.Changed) {
      if (!im.Dpi150.File.empty()) return i;  // the skin's own variant
      throw std::logic_error("image converted twice: " + im.Key);
    }
    const int fw = im.SourceRect.Width() / im.FrameCount;
    const int h = im.SourceRect.Height();
    const int width = Half(fw) * im.FrameCount;
    const int height = scaleInPlace ? Half(h) : 2 * Half(im.MaskCount == 0 ? h : h / 2);
    MfDpi150& d = im.Dpi150;
    d.Changed = true;
    d.Key = im.Key;
    d.OwnBitmap = true;
    d.SourceRect = {0, 0, width, height};
    d.MaskCount = 1;
    d.FrameWidth = im.FrameCount == 1 ? width : width / im.FrameCount;
    d.FrameHeight = height / 2;
    return i;
  }

 private:
  TestSkinManifest& m_;
};

void FrameSizes(MfImage& im) {
  im.FrameWidth = im.FrameCount == 0   ? 0
                  : im.FrameCount == 1 ? im.SourceRect.Width()
                                       : im.SourceRect.Width() / im.FrameCount;
  const int h = im.SourceRect.Height();
  im.FrameHeight = im.MaskCount == -1 ? 0 : im.MaskCount == 0 ? h : h / (im.MaskCount + 1);
}

void Globals(TestSkinManifest& m, const std::vector<IniSection>& ini) {
  auto g = [&](const char* key, int def) { return GlobalInt(ini, key).value_or(def); };
  auto dpi = [&](const std::string& key, int def) -> std::array<int, 2> {
    const std::optional<int> plain = GlobalInt(ini, key);
    const std::optional<int> at150 = GlobalInt(ini, key + "*150");
    return {plain.value_or(-1), at150 && *at150 >= 0 ? *at150 : plain.value_or(def) * 150 / 100};
  };
  MfGlobals& gl = m.Globals;
  gl.Author = GlobalText(ini, "AUTHOR").value_or("");
  gl.Description = GlobalText(ini, "DESCRIPTION").value_or("");
  // Written with '.' as the separator, as the reader parses it in any locale.
  gl.Version = std::stod(GlobalText(ini, "VERSION").value_or("0"));
  gl.BorderWidth = g("BORDERWIDTH", 4);
  gl.TitleHeight = dpi("TITLEHEIGHT", 30);
  for (int& v : gl.TitleHeight) v = v <= 0 ? 30 : v;
  gl.MaxTitleHeight = dpi("MAXHEIGHT", 0);
  for (int l = 0; l < 2; ++l)
    gl.MaxTitleHeight[l] = gl.MaxTitleHeight[l] <= 0 ? gl.TitleHeight[l] : gl.MaxTitleHeight[l];
  gl.CenterOffset = dpi("CENTEROFFSET", 0);
  gl.FormOffset = g("FORMOFFSET", -1);
  gl.BorderMode = g("BORDERMODE", 0);
  gl.BrightMin = g("BRIGHTMIN", -50);
  gl.BrightMax = g("BRIGHTMAX", 50);
  gl.AlignOffset = g("ALIGNOFFSET", 0);
  gl.AlignOffsetR = g("ALIGNOFFSETR", gl.AlignOffset);
  gl.AlignOffsetT = g("ALIGNOFFSETT", gl.AlignOffset);
  gl.AlignOffsetB = g("ALIGNOFFSETB", gl.AlignOffset);
  gl.BISpace = {g("BISPACE", 0), Half(g("BISPACE", 0))};
  gl.BIKeepHue = g("BIKEEPHUE", 0);
  gl.ComboMargin = g("COMBOMARGIN", 2);
  gl.SliderMargin = g("SLIDERMARGIN", 1);
  for (const IniSection& sec : ini)
    for (const IniKey& k : sec.Keys)
      if (sec.Name == "TABTOP" && k.Name == "TABSCOVERING") gl.TabsCovering = std::stoi(k.Value);
  gl.Shadow1Color = g("SHADOW1COLOR", 0);
  gl.Shadow1Offset = g("SHADOW1OFFSET", 0);
  gl.Shadow1Blur = g("SHADOW1BLUR", -1);
  gl.Shadow1Transparency = g("SHADOW1TRANSPARENCY", 0);
  gl.TitleGlowCount = std::clamp(g("BICONCLOSEGLOW", 0), 0, 32);
  const char* glowNames[5] = {"BICLOSEALONE", "BICONCLOSE", "BICONMAX", "BICONMIN", "BICONNORM"};
  for (int i = 0; i < 5; ++i) {
    const std::array<int, 2> v = dpi(std::string(glowNames[i]) + "GLOWMARGIN", 0);
    gl.TitleGlowMargins[i] = v;
  }
}

}  // namespace

namespace {

void Palette(TestSkinManifest& m, const std::vector<IniSection>& ini) {
  auto g = [&](const char* key, int def) { return GlobalInt(ini, key).value_or(def); };
  auto state = [&](const char* section, int k) -> const MfState& {
    const int i = m.SectionIndex(section);
    if (i < 0) throw std::logic_error(std::string("the palette needs section ") + section);
    const MfSection& s = m.Sections[size_t(i)];
    return s.States[size_t(k == 1 && s.StateCount < 2 ? 0 : k)];
  };
  const bool selection = m.SectionIndex("SELECTION") >= 0;
  if (!GlobalInt(ini, "COLOR") || !GlobalInt(ini, "EDITBG_EVEN") ||
      (selection && state("SELECTION", 0).FontColor == -1))
    throw std::logic_error("the palette would depend on system colours");
  std::array<int32_t, 30>& p = m.Palette;
  p[0] = g("COLOR", 0);
  p[1] = g("FONTCOLOR", 0);
  p[2] = g("TCBOTTOM", 0xFF0000);
  p[3] = g("TCTOP", 0x0000FF);
  p[4] = state("EDIT", 0).FontColor;
  p[5] = state("EDIT", 0).Color;
  if (selection) {
    p[6] = state("SELECTION", 0).Color;
    p[7] = state("SELECTION", 0).FontColor;
    p[8] = state("SELECTION", 1).Color;
    p[9] = state("SELECTION", 1).FontColor;
  } else {
    // Without a SELECTION section the hot menu item gives the selection colours.
    p[6] = p[8] = state("MENUITEM", 1).Color;
    p[7] = p[9] = state("MENUITEM", 1).FontColor;
  }
  p[10] = g("EDITBG_INV", p[4]);
  p[11] = g("EDITTEXT_INV", p[5]);
  p[12] = g("EDITBG_ODD", p[5]);
  p[13] = g("EDITBG_EVEN", 0);
  p[14] = g("EDITTEXT_OK", 0x8000);
  p[15] = g("EDITTEXT_WARN", 0x8484);
  const int32_t alertText[3] = {0x0000FF, 0x8597D9, 0x4AB28F};
  const int32_t alertBg[3] = {0x95A7E9, 0x8597D9, 0x4AB28F};
  for (int i = 0; i < 3; ++i) {
    p[16 + i] = g("EDITTEXT_ALERT", alertText[i]);
    p[21 + i] = g("EDITBG_ALERT", alertBg[i]);
  }
  p[19] = g("EDITBG_OK", 0x6CC2A5);
  p[20] = g("EDITBG_WARN", 0x40FFFF);
  p[24] = g("EDITTEXT_H1", 0);
  p[25] = g("EDITTEXT_H2", 0);
  p[26] = g("EDITTEXT_H3", 0);
  p[27] = g("BORDERCOLOR", 0);
  p[28] = state("HINT", 0).Color;
  p[29] = state("HINT", 0).FontColor;
}

MfSection AppendedSection(const std::string& name, int transparency, int32_t color,
                          int32_t fontColor) {
  MfSection s;
  s.Name = name;
  s.Appended = true;
  s.StateCount = 1;
  for (MfState& st : s.States) {
    st.Transparency = transparency;
    st.Color = color;
    st.FontColor = fontColor;
  }
  return s;
}

// The shadow entry is read first: its mask comes from its '^' value; the
// outline's is the reader's own 21 x 42 picture made from the blur mask.
void OuterEffects(TestSkinManifest& m, const std::vector<IniSection>& ini) {
  struct Defaults {
    const char* Prefix;
    int Entry;
    std::array<int32_t, 4> Colors, Offsets;
    int Opacity;
  };
  const Defaults order[2] = {{"SH_", 1, {0, 0, 0, 0}, {3, 2, 3, 5}, 60},
                             {"LO_", 0, {0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF}, {2, 2, 2, 4}, 200}};
  const char* sides = "LTRB";
  for (const Defaults& d : order) {
    const std::string pre = d.Prefix;
    auto g = [&](const std::string& key, int def) {
      return GlobalInt(ini, pre + key).value_or(def);
    };
    MfOuterEffect& e = m.OuterEffects[size_t(d.Entry)];
    for (int i = 0; i < 4; ++i) {
      e.Colors[i] = g(std::string("COLOR") + sides[i], d.Colors[i]);
      e.Offsets[i] = g(std::string("OFFSET") + sides[i], d.Offsets[i]);
      e.Widths[i] = g(std::string("WIDTH") + sides[i], -1);
    }
    e.Source = g("SOURCE", 2);
    e.Opacity = g("OPACITY", d.Opacity);
    if (e.Source == 0) continue;
    MfImage im;
    im.Section = "GLOBALINFO";
    im.Key = pre + "MASK";
    im.SectionIndex = m.SectionIndex("GLOBALINFO");
    im.Form = 'o';
    if (e.Source == 1) {
      const int at = m.ImageIndex("GLOBALINFO", im.Key);
      if (at < 0) throw std::logic_error("source 1 needs a mask value");
      const MfImage& from = m.Images[size_t(at)];
      im.SourceRect = from.SourceRect;
      im.FrameCount = from.FrameCount;
      im.MaskCount = from.MaskCount;
      im.PaintMode = from.PaintMode;
      im.UniformBorder = from.UniformBorder;
      im.BorderLeft = from.BorderLeft, im.BorderTop = from.BorderTop;
      im.BorderRight = from.BorderRight, im.BorderBottom = from.BorderBottom;
    } else {
      const int w = 21, half = w / 2;
      for (int& width : e.Widths) width = width == -1 ? half : width;
      im.File = "";
      im.SourceRect = {0, 0, w, 2 * w};
      im.MaskCount = 1;
      im.PaintMode = 1;
      im.UniformBorder = im.BorderLeft = im.BorderTop = im.BorderRight = im.BorderBottom = half;
      im.OwnBitmap = true;
    }
    e.MaskIndex = int(m.Images.size());
    m.Images.push_back(im);
  }
}

void Caches(TestSkinManifest& m) {
  Lookups look(m);
  MfGlobals& gl = m.Globals;
  const int global = look.Section("GLOBALINFO");
  const char* boxes[3] = {"BOXUNCHECKED", "BOXCHECKED", "BOXGRAYED"};
  const char* small[3] = {"SMALLUNCHECKED", "SMALLCHECKED", "SMALLGRAYED"};
  for (int i = 0; i < 3; ++i) {
    gl.CheckBoxes[i] = look.Dpi(global, boxes[i], false);
    gl.SmallBoxes[i] = look.Dpi(global, small[i], false);
  }
  gl.RadioButtons = {look.Dpi(global, "RADIOUNCHECKED", false),
                     look.Dpi(global, "RADIOCHECKED", false)};
  gl.ExBorder = look.Mask(global, "EXBORDER");
  gl.GripImage = look.Dpi(global, "GRIPIMAGE", false);
  look.Dpi(look.Section("MENUITEM"), "GLYPHMASK", false);
  const char* ticks[2] = {"TICKVERT", "TICKHORZ"};
  const char* progress[2] = {"PROGVERT", "PROGHORZ"};
  const char* scrollSliders[2] = {"SCROLLSLIDERH", "SCROLLSLIDERV"};
  for (int k = 0; k < 2; ++k) {
    look.Dpi(look.Section(scrollSliders[k]), "GLYPHMASK", false);
    MfSlider& s = m.Sliders[k];
    s.Section = look.Section("TRACKBAR");
    s.BordersMask = look.Mask(s.Section, "BORDERSMASK");
    s.ProgressGlyph = look.Mask(s.Section, progress[k]);
    s.TickGlyph = look.Dpi(s.Section, ticks[k], false);
    s.Channel = look.Mask(s.Section, "SLIDERCHANNEL");
    s.SliderMask = k == 0 ? look.Dpi(s.Section, "SLIDERVMASK", false) : -1;
    if (s.SliderMask < 0) s.SliderMask = look.Dpi(s.Section, "SLIDERMASK", false);
    s.Pattern = look.Mask(s.Section, "PATTERN");
    s.HotPattern = look.Mask(s.Section, "HOTPATTERN");
  }
  const char* titles[12] = {"BICLOSEALONE", "BICONCLOSE", "BICONMAX",   "BICONMIN",
                            "BICONNORM",    "BICONHELP",  "SICONCLOSE", "SICONMAX",
                            "SICONMIN",     "SICONNORM",  "SICONHELP",  "TITLEBUTTON"};
  for (int i = 0; i < 12; ++i) gl.TitleButtons[i] = look.Dpi(global, titles[i], false);
  gl.TitleButtons[12] = -1;
  if (gl.TitleButtons[0] < 0) gl.TitleButtons[0] = gl.TitleButtons[1];
  for (int i = 6; i <= 10; ++i)
    if (gl.TitleButtons[i] < 0) gl.TitleButtons[i] = gl.TitleButtons[i - 5];
  for (int i = 0; i < 5; ++i) {
    gl.TitleGlows[i].clear();
    for (int j = 0; j < gl.TitleGlowCount; ++j)
      gl.TitleGlows[i].push_back(
          look.Dpi(global, titles[i] + std::string("GLOW") + std::to_string(j), true));
  }
  if (gl.TitleButtons[0] == gl.TitleButtons[1]) {
    gl.TitleGlowMargins[0] = gl.TitleGlowMargins[1];
    gl.TitleGlows[0] = gl.TitleGlows[1];
  }
  for (size_t i = 0; i < m.Sections.size(); ++i) {
    MfSection& s = m.Sections[i];
    if (s.Name == "GLOBALINFO") continue;
    const int si = int(i);
    s.BordersMask = look.Mask(si, "BORDERSMASK");
    s.OuterMask = look.Mask(si, "OUTERMASK");
    const char* corners[4] = {"IMGTOPLEFT", "IMGTOPRIGHT", "IMGBTMLEFT", "IMGBTMRIGHT"};
    for (int c = 0; c < 4; ++c) s.CornerImages[c] = look.Mask(si, corners[c]);
    s.States[0].PatternIndex = look.Mask(si, "PATTERN", true);
    if (s.StateCount > 1) s.States[1].PatternIndex = look.Mask(si, "HOTPATTERN", true);
    s.States[2].PatternIndex = s.StateCount > 2 && s.UseState2 ? look.Mask(si, "PATTERN2", true)
                                                               : s.States[1].PatternIndex;
    s.BorderKind = -2;
    if (s.BordersMask >= 0) {
      const MfImage& b = m.Images[size_t(s.BordersMask)];
      const bool thin =
          b.BorderLeft == 1 && b.BorderTop == 1 && b.BorderRight == 1 && b.BorderBottom == 1;
      s.BorderKind = (s.Name == "EDIT" || s.Name == "ALPHAEDIT") && thin ? -1 : 0;
    }
  }
  if (gl.ExBorder >= 0) {
    const MfImage& b = m.Images[size_t(gl.ExBorder)];
    const int f = gl.FormOffset;
    gl.ExBorderMargins = gl.BorderMode != 0
                             ? std::array<int, 4>{f, f, f, f}
                             : std::array<int, 4>{b.BorderLeft - f, b.BorderTop - f,
                                                  b.BorderRight - f, b.BorderBottom - f};
  }
}

// Content states pick the frame a push button paints: the default look
// (state 3) needs a fourth state, else it shows as hot.
void Controls(TestSkinManifest& m) {
  MfControls& c = m.Controls;
  c.Button = m.SectionIndex("BUTTON");
  c.ButtonHuge = m.SectionIndex("BUTTON_HUGE");
  c.ToolButton = m.SectionIndex("TOOLBUTTON");
  c.GroupBox = m.SectionIndex("GROUPBOX");
  c.CheckBox = m.SectionIndex("CHECKBOX");
  c.Transparent = m.SectionIndex("TRANSPARENT");
  c.CaptionSection = c.CaptionSkin.empty() ? -1 : m.SectionIndex(c.CaptionSkin);
  c.Edit = m.SectionIndex("EDIT");
  c.ComboBox = m.SectionIndex("COMBOBOX");
  c.ComboButton = m.SectionIndex("COMBOBTN");
  c.Selection = m.SectionIndex("SELECTION");
  c.ComboGlyph = c.ComboBox < 0 ? -1 : m.ImageIndex("COMBOBOX", "GLYPHMASK");
  for (MfStrip& s : c.Strips) {
    s.Image = m.ImageIndex(s.Section, s.Key);
    if (s.Image < 0) throw std::logic_error("a strip without its image: " + s.Key);
    if (int(s.Faces.size()) != m.Images[size_t(s.Image)].FrameCount)
      throw std::logic_error("a face per frame: " + s.Section + "/" + s.Key);
  }
  if (c.Button < 0) return;
  const MfSection& button = m.Sections[size_t(c.Button)];
  const int frames = button.BordersMask < 0 ? 1 : m.Images[size_t(button.BordersMask)].FrameCount;
  for (int state = 0; state < 4; ++state) {
    const int paint =
        state == 3 && button.StateCount < 4 ? 1 : std::min(state, button.StateCount - 1);
    c.ButtonFrames[size_t(state)] = std::clamp(paint, 0, std::max(frames - 1, 0));
  }
}

}  // namespace

void ComputeExpectations(TestSkinManifest& m, const std::vector<SectionDef>& descs,
                         const std::vector<IniSection>& ini) {
  for (const SectionDef& desc : descs) m.Sections.push_back(ResolveSection(descs, desc));
  Globals(m, ini);
  OuterEffects(m, ini);
  Palette(m, ini);
  m.Sections.push_back(AppendedSection("TRANSPARENT", 100, 0xFFFFFF, m.Palette[1]));
  m.Sections.push_back(AppendedSection("MAINCOLOR", 0, m.Palette[0], m.Palette[1]));
  for (MfImage& im : m.Images) FrameSizes(im);
  Caches(m);
  Controls(m);
}

}  // namespace test_skin
