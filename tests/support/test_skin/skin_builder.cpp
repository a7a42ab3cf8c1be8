#include "skin_builder.h"

#include <cstdio>
#include <stdexcept>

#include "expected_values.h"
#include "image_files.h"

namespace test_skin {
namespace {

// The state keys in the reader's field order, per state.
const char* const kStateKeys[3][12] = {
    {"COLOR", "FONTCOLOR", "TCLEFT", "TCTOP", "TCRIGHT", "TCBOTTOM", "GCOL", "GSIZE",
     "GRADIENTPERCENT", "GRADIENTDATA", "IMAGEPERCENT", "TRANSPARENCY"},
    {"HOTCOLOR", "HOTFONTCOLOR", "HOTTCLEFT", "HOTTCTOP", "HOTTCRIGHT", "HOTTCBOTTOM", "HGCOL",
     "HGSIZE", "HOTGRADIENTPERCENT", "HOTGRADIENTDATA", "HOTIMAGEPERCENT", "HOTTRANSPARENCY"},
    {"COLOR2", "FONTCOLOR2", "TCLEFT2", "TCTOP2", "TCRIGHT2", "TCBOTTOM2", "GCOL2", "GSIZE2",
     "GRADIENTPERCENT2", "GRADIENTDATA2", "IMAGEPERCENT2", "TRANSPARENCY2"}};

std::string Num(int v) {
  return std::to_string(v);
}

// "^LLLL^TTTT^RRRR^BBBB" and the like.
std::string RectFields(char form, MfRect r) {
  return std::string(1, form) + Field4(r.Left) + form + Field4(r.Top) + form + Field4(r.Right) +
         form + Field4(r.Bottom);
}

std::string FileWords(const std::string& file, const std::vector<int>& words) {
  std::string v = "!" + file;
  for (int w : words) v += "!" + Num(w);
  return v;
}

}  // namespace

std::string Field4(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, v < 0 ? "-%03d" : "%04d", v < 0 ? -v : v);
  return buf;
}

std::string GradientText(const std::vector<MfGradientStop>& stops) {
  std::string t;
  for (const MfGradientStop& s : stops) {
    if (!t.empty()) t += ";";
    t +=
        Num(s.StartColor) + ";" + Num(s.EndColor) + ";" + Num(s.Percent) + ";" + Num(s.Mode) + ";0";
  }
  return t;
}

std::vector<uint8_t> RenderDescription(const std::vector<IniSection>& ini) {
  std::string text;
  for (const IniSection& s : ini) {
    text += "[" + s.Name + "]\r\n";
    for (const IniKey& k : s.Keys) text += k.Name + "=" + k.Value + "\r\n";
    text += "\r\n";
  }
  return {text.begin(), text.end()};
}

SkinBuilder::SkinBuilder(int masterWidth, int masterHeight)
    : Master(masterWidth, masterHeight, kKeyArgb) {}

IniSection& SkinBuilder::SectionNamed(const std::string& name) {
  for (IniSection& s : ini_)
    if (s.Name == name) return s;
  throw std::logic_error("no section " + name);
}

void SkinBuilder::AddSection(const SectionDef& desc) {
  descs_.push_back(desc);
  ini_.push_back({desc.Name, {}});
  auto put = [&](const char* key, const std::optional<int>& v) {
    if (v) AddKey(desc.Name, key, Num(*v));
  };
  if (desc.Parent) AddKey(desc.Name, "PARENTCLASS", *desc.Parent);
  put("STATES", desc.States);
  put("USESTATE2", desc.UseState2);
  put("GLOW", desc.Glow);
  put("GLOWMARGIN", desc.GlowMargin);
  put("OUTOPACITY", desc.OutOpacity);
  put("OUTERMODE", desc.OuterMode);
  if (desc.GiveOwnFont) AddKey(desc.Name, "GIVEOWNFONT", *desc.GiveOwnFont);
  if (desc.ReservedBoolean) AddKey(desc.Name, "RESERVEDBOOLEAN", *desc.ReservedBoolean);
  for (int k = 0; k < 3; ++k) {
    const StateDef& s = desc.State[k];
    const std::optional<int32_t>* ints[12] = {
        &s.Color,     &s.FontColor, &s.TcLeft,          &s.TcTop, &s.TcRight,      &s.TcBottom,
        &s.GlowColor, &s.GlowSize,  &s.GradientPercent, nullptr,  &s.ImagePercent, &s.Transparency};
    for (int f = 0; f < 12; ++f) {
      if (ints[f] && *ints[f]) AddKey(desc.Name, kStateKeys[k][f], Num(**ints[f]));
      if (!ints[f] && s.GradientText) AddKey(desc.Name, kStateKeys[k][f], *s.GradientText);
    }
  }
}

void SkinBuilder::AddKey(const std::string& section, const std::string& key,
                         const std::string& value) {
  SectionNamed(section).Keys.push_back({key, value, -1});
}

MfRect SkinBuilder::Place(int width, int height) {
  if (shelfX_ + width + 2 > Master.Width) {
    shelfX_ = 2;
    shelfY_ += shelfHeight_ + 2;
    shelfHeight_ = 0;
  }
  // The last row and column stay free: the corner test never reads them.
  if (shelfY_ + height + 2 > Master.Height) throw std::length_error("master bitmap is full");
  MfRect r{shelfX_, shelfY_, shelfX_ + width, shelfY_ + height};
  shelfX_ += width + 2;
  if (height > shelfHeight_) shelfHeight_ = height;
  return r;
}

int SkinBuilder::Pend(const std::string& section, const std::string& key, const std::string& value,
                      MfImage image) {
  image.Section = section;
  image.Key = key;
  pending_.push_back(image);
  SectionNamed(section).Keys.push_back({key, value, int(pending_.size()) - 1});
  return int(pending_.size()) - 1;
}

void SkinBuilder::Bordered(const std::string& section, const std::string& key, MfRect r, int frames,
                           int masks, std::array<int, 4> borders, int uniform, int paintMode,
                           int transparentCorners) {
  MfImage m;
  m.Form = '^';
  m.SourceRect = r;
  m.FrameCount = frames;
  m.MaskCount = masks;
  m.UniformBorder = uniform;
  m.PaintMode = paintMode;
  m.TransparentCorners = transparentCorners;
  m.BorderLeft = borders[0];
  m.BorderTop = borders[1];
  m.BorderRight = borders[2];
  m.BorderBottom = borders[3];
  if (borders[0] + borders[1] + borders[2] + borders[3] == 0) {
    const bool uni = uniform != 0;
    m.BorderLeft = m.BorderRight = uni ? uniform : r.Width() / (frames * 3);
    m.BorderTop = m.BorderBottom = uni ? uniform : r.Height() / (masks * 3 + 3);
  }
  std::string v = RectFields('^', r);
  for (int b : borders) v += "^" + Field4(b);
  v += "^" + Num(frames) + "^" + Num(masks) + "^" + Num(paintMode) + "^" + Num(uniform);
  Pend(section, key, v, m);
}

void SkinBuilder::MasterRect(const std::string& section, const std::string& key, MfRect r,
                             int frames, int masks) {
  MfImage m;
  m.Form = '@';
  m.SourceRect = r;
  m.FrameCount = frames;
  m.MaskCount = masks;
  m.ImageKind = 2;
  Pend(section, key, RectFields('@', r) + "@" + Num(frames) + "@" + Num(masks), m);
}

void SkinBuilder::Texture(const std::string& section, const std::string& key, MfRect r,
                          int paintMode, bool withMaskField) {
  MfImage m;
  m.Form = '~';
  m.SourceRect = r;
  m.PaintMode = paintMode;
  m.ImageKind = 1;
  char pm[8];
  std::snprintf(pm, sizeof pm, "%02d", paintMode);
  Pend(section, key, RectFields('~', r) + "~" + pm + (withMaskField ? "~0" : ""), m);
}

void SkinBuilder::TextureFile(const std::string& section, const std::string& key,
                              const std::string& file, const Raster& tile, int paintMode) {
  MfImage m;
  m.Form = '~';
  m.File = file;
  m.OwnBitmap = true;
  m.SourceRect = {0, 0, tile.Width, tile.Height};
  m.PaintMode = paintMode;
  m.ImageKind = 1;
  char pm[8];
  std::snprintf(pm, sizeof pm, "%02d", paintMode);
  Pend(section, key, RectFields('~', m.SourceRect) + "~" + pm + "~0~" + file, m);
  if (!PictureOf(file)) {
    pictures_.push_back({file, tile});
    AddFile(file, "bmp24", EncodeBmp(tile), tile.Width, tile.Height);
  }
}

void SkinBuilder::PlainFile(const std::string& section, const std::string& key,
                            const std::string& file, const Raster& picture) {
  MfImage m;
  m.Form = 'f';
  m.File = file;
  m.OwnBitmap = true;
  m.SourceRect = {0, 0, picture.Width, picture.Height};
  m.ImageKind = 1;
  Pend(section, key, file, m);
  pictures_.push_back({file, picture});
  AddFile(file, "jpeg", EncodeJpeg(picture), picture.Width, picture.Height);
}

void SkinBuilder::FileImage(const std::string& section, const std::string& key,
                            const std::string& file, const Raster& picture,
                            const std::vector<int>& words, int transparentCorners) {
  auto word = [&](size_t i) { return i < words.size() ? words[i] : 0; };
  MfImage m;
  m.Form = '!';
  m.File = file;
  m.OwnBitmap = true;
  m.SourceRect = {0, 0, picture.Width, picture.Height};
  m.FrameCount = word(0);
  m.MaskCount = word(1);
  m.ImageKind = word(2) > 4 ? 4 : word(2);
  if (words.size() + 1 < 5) {
    m.BorderLeft = m.BorderRight = picture.Width / (m.FrameCount * 3);
    m.BorderTop = m.BorderBottom = picture.Height / (m.MaskCount * 3 + 3);
  } else {
    m.BorderLeft = word(3), m.BorderTop = word(4), m.BorderRight = word(5),
    m.BorderBottom = word(6);
  }
  m.PaintMode = words.size() + 1 >= 9 ? word(7) : 0;
  m.TransparentCorners = m.ImageKind == 0 ? transparentCorners : 0;
  Pend(section, key, FileWords(file, words), m);
  if (!PictureOf(file)) {
    pictures_.push_back({file, picture});
    AddFile(file, "png", EncodePngArgb(picture), picture.Width, picture.Height);
  }
}

void SkinBuilder::FileVariant150(const std::string& section, const std::string& key,
                                 const std::string& file, const Raster& picture,
                                 const std::vector<int>& words) {
  AddKey(section, key + "*150", FileWords(file, words));
  for (MfImage& m : pending_) {
    if (m.Section != section || m.Key != key) continue;
    MfDpi150& d = m.Dpi150;
    d.Changed = true;
    d.Key = key + "*150";
    d.File = file;
    d.OwnBitmap = true;
    d.SourceRect = {0, 0, picture.Width, picture.Height};
    d.MaskCount = words.size() > 1 ? words[1] : 0;
    d.FrameWidth = picture.Width / words[0];
    d.FrameHeight = picture.Height / (d.MaskCount + 1);
  }
  pictures_.push_back({file, picture});
  AddFile(file, "png", EncodePngArgb(picture), picture.Width, picture.Height);
}

const Raster* SkinBuilder::PictureOf(const std::string& file) const {
  if (file.empty()) return &Master;
  for (const auto& [name, picture] : pictures_)
    if (name == file) return &picture;
  return nullptr;
}

void SkinBuilder::AddPixel(const std::string& file, int x, int y, const std::string& what) {
  const Raster* picture = PictureOf(file);
  if (!picture) throw std::logic_error("no picture " + file);
  MfPixel p;
  p.File = file.empty() ? "MASTER.BMP" : file;
  p.What = what;
  p.X = x;
  p.Y = y;
  p.FileArgb = picture->At(x, y);
  const bool png = file.size() > 4 && file.substr(file.size() - 4) == ".PNG";
  const bool jpeg = file.size() > 4 && file.substr(file.size() - 4) == ".JPG";
  if (png) {
    p.LoadedArgb = PremultipliedNoComposition(p.FileArgb);
  } else {
    // 24-bit files load with alpha 255, except the key colour, which stays a hole.
    const uint32_t rgb = p.FileArgb & 0xFFFFFF;
    p.LoadedArgb = rgb == 0xFF00FF ? rgb : 0xFF000000 | rgb;
  }
  p.Tolerance = jpeg ? 3 : 0;
  pixels_.push_back(p);
}

void SkinBuilder::AddFile(const std::string& name, const std::string& kind,
                          std::vector<uint8_t> bytes, int width, int height) {
  fileInfo_.push_back({name, kind, width, height, bytes.size()});
  files_.push_back({name, std::move(bytes)});
}

TestSkinManifest SkinBuilder::Finish(const std::string& variant, const std::string& skinName) {
  TestSkinManifest m;
  m.Variant = variant;
  m.SkinName = skinName;
  m.MasterWidth = Master.Width;
  m.MasterHeight = Master.Height;
  // Images take their index in the order the reader meets their keys.
  for (size_t s = 0; s < ini_.size(); ++s) {
    for (IniKey& k : ini_[s].Keys) {
      if (k.Image < 0) continue;
      MfImage image = pending_[size_t(k.Image)];
      image.SectionIndex = int(s);
      m.Images.push_back(image);
    }
  }
  AddFile("MASTER.BMP", "bmp24", EncodeBmp(Master), Master.Width, Master.Height);
  AddFile("Options.dat", "description", RenderDescription(ini_), 0, 0);
  m.Files = fileInfo_;
  m.Pixels = pixels_;
  m.Controls = Controls;
  ComputeExpectations(m, descs_, ini_);
  return m;
}

}  // namespace test_skin
