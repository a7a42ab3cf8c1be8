// Assembles a test skin: the description text key by key, the master picture,
// the external files, and beside each piece the values a loader must produce.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "manifest.h"
#include "raster.h"

namespace test_skin {

// The twelve keys of one state as written; a negative number is written as it
// stands and counts as absent for the reader.
// (Every member has an initializer so that designated initializers may skip any.)
struct StateDef {
  std::optional<int32_t> Color{}, FontColor{}, TcLeft{}, TcTop{}, TcRight{}, TcBottom{},
      GlowColor{}, GlowSize{}, GradientPercent{}, ImagePercent{}, Transparency{};
  std::optional<std::string> GradientText{};
};

struct SectionDef {
  std::string Name{};
  std::optional<std::string> Parent{};
  std::optional<int> States{}, UseState2{}, Glow{}, GlowMargin{}, OutOpacity{}, OuterMode{};
  std::optional<std::string> GiveOwnFont{};
  std::optional<std::string> ReservedBoolean{};
  std::array<StateDef, 3> State{};
};

std::string GradientText(const std::vector<MfGradientStop>& stops);

struct IniKey {
  std::string Name, Value;
  int Image = -1;  // pending image registered by this key
};

struct IniSection {
  std::string Name;
  std::vector<IniKey> Keys;
};

struct SkinFile {
  std::string Name;
  std::vector<uint8_t> Bytes;
};

// Options.dat as the sections and keys stand, lines ending in CR LF.
std::vector<uint8_t> RenderDescription(const std::vector<IniSection>& ini);

// Fixed-width fields of the image values.
std::string Field4(int v);

class SkinBuilder {
 public:
  SkinBuilder(int masterWidth, int masterHeight);

  Raster Master;
  // What the design says about its control strips and caption skin; Finish
  // adds the indices.
  MfControls Controls;

  void AddSection(const SectionDef& desc);
  void AddKey(const std::string& section, const std::string& key, const std::string& value);

  // A free rectangle of the master (rows of images, left to right).
  MfRect Place(int width, int height);

  // Image keys. Each writes the value and records the expected image.
  void Bordered(const std::string& section, const std::string& key, MfRect r, int frames, int masks,
                std::array<int, 4> borders, int uniform, int paintMode, int transparentCorners);
  void MasterRect(const std::string& section, const std::string& key, MfRect r, int frames,
                  int masks);
  void Texture(const std::string& section, const std::string& key, MfRect r, int paintMode,
               bool withMaskField);
  void TextureFile(const std::string& section, const std::string& key, const std::string& file,
                   const Raster& tile, int paintMode);
  void PlainFile(const std::string& section, const std::string& key, const std::string& file,
                 const Raster& picture);
  // A '!' value: words after the file name as given (frames, masks, kind, borders, mode).
  void FileImage(const std::string& section, const std::string& key, const std::string& file,
                 const Raster& picture, const std::vector<int>& words, int transparentCorners);
  // A DPI variant key of a '!' image ("*150"), used at DPI level 2 only.
  void FileVariant150(const std::string& section, const std::string& key, const std::string& file,
                      const Raster& picture, const std::vector<int>& words);

  void AddPixel(const std::string& file, int x, int y, const std::string& what);
  void AddFile(const std::string& name, const std::string& kind, std::vector<uint8_t> bytes,
               int width, int height);

  // Writes the master and the description, and computes every cached value.
  TestSkinManifest Finish(const std::string& variant, const std::string& skinName);

  const std::vector<SkinFile>& Files() const { return files_; }
  std::vector<IniSection>& Sections() { return ini_; }

 private:
  IniSection& SectionNamed(const std::string& name);
  int Pend(const std::string& section, const std::string& key, const std::string& value,
           MfImage image);
  const Raster* PictureOf(const std::string& file) const;

  std::vector<IniSection> ini_;
  std::vector<SectionDef> descs_;
  std::vector<MfImage> pending_;
  std::vector<std::pair<std::string, Raster>> pictures_;
  std::vector<SkinFile> files_;
  std::vector<MfFile> fileInfo_;
  std::vector<MfPixel> pixels_;
  int shelfX_ = 2, shelfY_ = 2, shelfHeight_ = 0;
};

}  // namespace test_skin
