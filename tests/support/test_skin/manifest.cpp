#include "manifest.h"

#include <cstdio>
#include <stdexcept>

namespace test_skin {

int TestSkinManifest::SectionIndex(const std::string& name) const {
  for (size_t i = 0; i < Sections.size(); ++i)
    if (Sections[i].Name == name) return int(i);
  return -1;
}

int TestSkinManifest::ImageIndex(const std::string& section, const std::string& key) const {
  for (size_t i = 0; i < Images.size(); ++i)
    if (Images[i].Section == section && Images[i].Key == key) return int(i);
  return -1;
}

const MfFile* TestSkinManifest::File(const std::string& name) const {
  for (const MfFile& f : Files)
    if (f.Name == name) return &f;
  return nullptr;
}

const MfStrip* TestSkinManifest::Strip(const std::string& section, const std::string& key) const {
  for (const MfStrip& s : Controls.Strips)
    if (s.Section == section && s.Key == key) return &s;
  return nullptr;
}

uint32_t SkinPixel(const TestSkinManifest& m, const std::string& what) {
  for (const MfPixel& p : m.Pixels)
    if (p.What == what) return p.LoadedArgb & 0xFFFFFF;
  throw std::logic_error("no manifest pixel " + what);
}

const char* OutcomeName(Outcome o) {
  switch (o) {
    case Outcome::Loads:
      return "loads";
    case Outcome::Fails:
      return "fails";
    case Outcome::Deactivates:
      return "deactivates";
  }
  return "?";
}

namespace {

std::string Hex(uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", v);
  return buf;
}

std::string RectText(const MfRect& r) {
  return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
         "," + std::to_string(r.Bottom);
}

template <class T>
std::string List(const T& values) {
  std::string out;
  for (const auto& v : values) out += (out.empty() ? "" : ",") + std::to_string(v);
  return out;
}

std::string StateText(const MfState& s) {
  return "color=" + std::to_string(s.Color) + " font=" + std::to_string(s.FontColor) +
         " contours=" +
         List(
             std::array<int32_t, 4>{s.ContourLeft, s.ContourTop, s.ContourRight, s.ContourBottom}) +
         " glowcolor=" + std::to_string(s.TextGlowColor) +
         " glowsize=" + std::to_string(s.TextGlowSize) +
         " gradientpercent=" + std::to_string(s.GradientPercent) +
         " stops=" + std::to_string(s.Gradient.size()) +
         " imagepercent=" + std::to_string(s.ImagePercent) +
         " transparency=" + std::to_string(s.Transparency) +
         " pattern=" + std::to_string(s.PatternIndex);
}

}  // namespace

std::string ManifestText(const TestSkinManifest& m) {
  std::string t = "variant name=" + m.Variant + " skin=" + m.SkinName +
                  " outcome=" + OutcomeName(m.Expected) + (m.Large ? " large=1" : "") + "\n";
  if (!m.Broken.empty()) t += "broken what=\"" + m.Broken + "\" expect=\"" + m.Expectation + "\"\n";
  for (const MfFile& f : m.Files)
    t += "file name=" + f.Name + " kind=" + f.Kind + " width=" + std::to_string(f.Width) +
         " height=" + std::to_string(f.Height) + " size=" + std::to_string(f.Size) + "\n";
  if (m.Sections.empty()) return t;
  t += "master width=" + std::to_string(m.MasterWidth) +
       " height=" + std::to_string(m.MasterHeight) + "\n";
  for (size_t i = 0; i < m.Sections.size(); ++i) {
    const MfSection& s = m.Sections[i];
    t += "section index=" + std::to_string(i) + " name=" + s.Name + " parent=" + s.ParentClass +
         " appended=" + std::to_string(s.Appended) + " states=" + std::to_string(s.StateCount) +
         " usestate2=" + std::to_string(s.UseState2) + " glow=" + std::to_string(s.Glow) +
         " glowmargin=" + std::to_string(s.GlowMargin) +
         " outermode=" + std::to_string(s.OuterMode) +
         " outeropacity=" + std::to_string(s.OuterOpacity) +
         " bordersmask=" + std::to_string(s.BordersMask) +
         " borderkind=" + std::to_string(s.BorderKind) + "\n";
    for (int k = 0; k < 3; ++k)
      t += "state section=" + s.Name + " index=" + std::to_string(k) + " " +
           StateText(s.States[size_t(k)]) + "\n";
  }
  for (size_t i = 0; i < m.Images.size(); ++i) {
    const MfImage& im = m.Images[i];
    t += "image index=" + std::to_string(i) + " section=" + im.Section + " key=" + im.Key +
         " sectionindex=" + std::to_string(im.SectionIndex) + " form=" + im.Form +
         " file=" + im.File + " own=" + std::to_string(im.OwnBitmap) +
         " rect=" + RectText(im.SourceRect) + " frames=" + std::to_string(im.FrameCount) +
         " masks=" + std::to_string(im.MaskCount) + " kind=" + std::to_string(im.ImageKind) +
         " paintmode=" + std::to_string(im.PaintMode) +
         " uniform=" + std::to_string(im.UniformBorder) + " borders=" +
         List(std::array<int, 4>{im.BorderLeft, im.BorderTop, im.BorderRight, im.BorderBottom}) +
         " corners=" + std::to_string(im.TransparentCorners) +
         " framesize=" + std::to_string(im.FrameWidth) + "x" + std::to_string(im.FrameHeight);
    if (im.Dpi150.Changed)
      t += " dpi150.key=" + im.Dpi150.Key + " dpi150.file=" + im.Dpi150.File +
           " dpi150.rect=" + RectText(im.Dpi150.SourceRect) +
           " dpi150.masks=" + std::to_string(im.Dpi150.MaskCount) +
           " dpi150.framesize=" + std::to_string(im.Dpi150.FrameWidth) + "x" +
           std::to_string(im.Dpi150.FrameHeight);
    t += "\n";
  }
  for (const MfPixel& p : m.Pixels)
    t += "pixel file=" + p.File + " x=" + std::to_string(p.X) + " y=" + std::to_string(p.Y) +
         " written=" + Hex(p.FileArgb) + " loaded=" + Hex(p.LoadedArgb) +
         " tolerance=" + std::to_string(p.Tolerance) + " what=\"" + p.What + "\"\n";
  t += "palette " + List(m.Palette) + "\n";
  const MfGlobals& g = m.Globals;
  t += "globals author=\"" + g.Author + "\" version=" + std::to_string(g.Version) +
       " titleheight=" + List(g.TitleHeight) + " maxtitleheight=" + List(g.MaxTitleHeight) +
       " centeroffset=" + List(g.CenterOffset) + " bispace=" + List(g.BISpace) +
       " formoffset=" + std::to_string(g.FormOffset) +
       " slidermargin=" + std::to_string(g.SliderMargin) +
       " titleglowcount=" + std::to_string(g.TitleGlowCount) +
       " titlebuttons=" + List(g.TitleButtons) + " checkboxes=" + List(g.CheckBoxes) +
       " exborder=" + std::to_string(g.ExBorder) + " exbordermargins=" + List(g.ExBorderMargins) +
       "\n";
  for (int i = 0; i < 5; ++i)
    t += "titleglow button=" + std::to_string(i) + " margins=" + List(g.TitleGlowMargins[i]) +
         " images=" + List(g.TitleGlows[i]) + "\n";
  for (int i = 0; i < 2; ++i) {
    const MfOuterEffect& e = m.OuterEffects[size_t(i)];
    t += std::string("outereffect entry=") + (i == 0 ? "LO_" : "SH_") +
         " colors=" + List(e.Colors) + " offsets=" + List(e.Offsets) + " widths=" + List(e.Widths) +
         " source=" + std::to_string(e.Source) + " opacity=" + std::to_string(e.Opacity) +
         " mask=" + std::to_string(e.MaskIndex) + "\n";
  }
  for (int i = 0; i < 2; ++i) {
    const MfSlider& s = m.Sliders[size_t(i)];
    t += std::string("slider ") + (i == 0 ? "vertical" : "horizontal") +
         " section=" + std::to_string(s.Section) + " bordersmask=" + std::to_string(s.BordersMask) +
         " slidermask=" + std::to_string(s.SliderMask) + " pattern=" + std::to_string(s.Pattern) +
         " hotpattern=" + std::to_string(s.HotPattern) + " tick=" + std::to_string(s.TickGlyph) +
         " progress=" + std::to_string(s.ProgressGlyph) + " channel=" + std::to_string(s.Channel) +
         "\n";
  }
  const MfControls& c = m.Controls;
  t += "controls button=" + std::to_string(c.Button) +
       " buttonhuge=" + std::to_string(c.ButtonHuge) +
       " toolbutton=" + std::to_string(c.ToolButton) + " groupbox=" + std::to_string(c.GroupBox) +
       " checkbox=" + std::to_string(c.CheckBox) + " transparent=" + std::to_string(c.Transparent) +
       " captionskin=" + c.CaptionSkin + " captionsection=" + std::to_string(c.CaptionSection) +
       " buttonframes=" + List(c.ButtonFrames) + "\n";
  t += "fields edit=" + std::to_string(c.Edit) + " combobox=" + std::to_string(c.ComboBox) +
       " combobtn=" + std::to_string(c.ComboButton) +
       " comboglyph=" + std::to_string(c.ComboGlyph) + " selection=" + std::to_string(c.Selection) +
       "\n";
  for (const MfStrip& s : c.Strips) {
    std::string faces, keys;
    for (uint32_t f : s.Faces) faces += (faces.empty() ? "" : ",") + Hex(f);
    for (const MfPoint& p : s.KeyPixels)
      keys += (keys.empty() ? "" : ";") + std::to_string(p.X) + "," + std::to_string(p.Y);
    t += "strip section=" + s.Section + " key=" + s.Key + " image=" + std::to_string(s.Image) +
         " face=" + std::to_string(s.Face.X) + "," + std::to_string(s.Face.Y) + " faces=" + faces +
         " keypixels=" + keys + "\n";
  }
  return t;
}

}  // namespace test_skin
