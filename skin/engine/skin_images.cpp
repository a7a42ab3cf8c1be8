#include "skin/engine/skin_images.h"

#include <algorithm>
#include <memory>

#include "skin/engine/ini_sections.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/packed_skin.h"
#include "skin/engine/services_forms.h"
#include "skin/engine/skin_bmp.h"
#include "skin/engine/skin_content.h"
#include "skin/engine/skin_image_values.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/pixel_primitives.h"
#include "skin/foundation/png_graphic.h"
#include "widgets/graphics/jpeg.h"
#include "skin/engine/description_index.h"
#include "widgets/rtl/streams.h"
#include "widgets/rtl/string_lists.h"
#include "widgets/rtl/sysutils.h"

namespace {

const char* const GlobalSection = "GLOBALINFO";
// Skins before this version keep white where later ones premultiply.
constexpr double PremultipliedSkinVersion = 7.45;

bool Contains(const std::string& Text, const char* Part) {
  return Text.find(Part) != std::string::npos;
}

std::string SkinFilePath(const TvlSkinLoad& Load, const std::string& FileName) {
  return Contains(FileName, ":") ? FileName : Load.SkinDirectory + FileName;
}

TBitmap* ImageBitmap(const TvlSkinContent& Skin, const TsMaskData& Mask) {
  return Mask.Image ? Mask.Image : Skin.MasterBitmap;
}

// Clips the image's rectangle to its bitmap; false when nothing is left.
bool ClipToBitmap(const TvlSkinContent& Skin, TsMaskData& Mask) {
  const TBitmap* b = ImageBitmap(Skin, Mask);
  const int w = b ? b->Width() : 0, h = b ? b->Height() : 0;
  RECT& r = Mask.SourceRect;
  r.left = std::max<LONG>(r.left, 0);
  r.top = std::max<LONG>(r.top, 0);
  r.right = std::min<LONG>(r.right, w);
  r.bottom = std::min<LONG>(r.bottom, h);
  return r.left < r.right && r.top < r.bottom;
}

// Registers the image just added, or drops it when its rectangle holds no
// pixel of its bitmap. Nil when dropped.
TsMaskData* Keep(TvlSkinContent& Skin) {
  if (ClipToBitmap(Skin, Skin.Masks.back())) return &Skin.Masks.back();
  Skin.Masks.pop_back();
  return nullptr;
}

void DefaultBorders(TsMaskData& m, int FrameCount, int MaskCount) {
  const int w = m.SourceRect.right - m.SourceRect.left;
  const int h = m.SourceRect.bottom - m.SourceRect.top;
  m.BorderLeft = m.BorderRight = static_cast<int16_t>(w / (FrameCount * 3));
  m.BorderTop = m.BorderBottom = static_cast<int16_t>(h / (MaskCount * 3 + 3));
}

// The whole file in Data, read with one size query and one read: the
// stream's own loading seeks three times around its size first.
void ReadWholeFile(const std::string& Path, TMemoryStream& Data) {
  TFileStream file(Path, fmOpenRead | fmShareDenyWrite);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Handle(), &size) || size.QuadPart > INT32_MAX)
    throw EReadError("Stream read error");
  const auto count = static_cast<int32_t>(size.QuadPart);
  Data.SetSize(count);
  if (count > 0) file.ReadBuffer(Data.Memory(), count);
  Data.SetPosition(0);
}

TBitmap* SkinFileBitmap(TvlSkinLoad& Load, const std::string& FileName) {
  if (TBitmap* found = Load.Skin.FindExternalImage(FileName)) return found;
  return LoadExternalImage(Load, FileName, 0);
}

class ImageReader {
 public:
  explicit ImageReader(TvlSkinLoad& Load) : load_(Load), skin_(Load.Skin) {}

  void Key(int SectionIndex, const std::string& Section, const std::string& Key,
           const std::string& Value) {
    const TvlSkinDescription& ini = *load_.Description;
    std::string value = UpperCase(Value);
    if (value.empty()) return;
    const char first = value[0];
    const bool fixedForm = first == '@' || first == '~';
    const bool wordForm = first == '^' || first == '!';
    const bool variant = Contains(Key, "*");
    // DPI variants of '^' and '!' values are read in place of their plain key.
    if (variant && wordForm) return;
    std::string key = Key;
    if (!fixedForm && !variant && load_.DpiLevel > 0) {
      const std::string dpiKey = Key + DpiKeySuffix[static_cast<size_t>(load_.DpiLevel)];
      if (ini.ValueExists(Section, dpiKey)) {
        value = UpperCase(ini.ReadString(Section, dpiKey, ""));
        if (first != '^') key = dpiKey;
      }
    }
    Register(SectionIndex, Section, key, ParseImageValue(value));
  }

 private:
  void Register(int SectionIndex, const std::string& Section, const std::string& Key,
                const TvlImageValue& v) {
    switch (v.Form) {
      case TvlImageForm::None:
        return;
      case TvlImageForm::MasterRect:
        AddMask(load_, SectionIndex, Key, v.MaskCount, v.PaintMode, v.FrameCount, v.Rect,
                v.ImageKind, Section);
        Keep(skin_);
        return;
      case TvlImageForm::Texture: {
        AddMask(load_, SectionIndex, Key, v.MaskCount, v.PaintMode, 1, v.Rect, 1, Section);
        if (!v.FileName.empty()) {
          TBitmap* file = SkinFileBitmap(load_, v.FileName);
          skin_.Masks.back().Image = file;
        }
        Keep(skin_);
        return;
      }
      case TvlImageForm::Bordered:
        return Bordered(SectionIndex, Section, Key, v);
      case TvlImageForm::FileWords:
      case TvlImageForm::PlainFile:
        return File(SectionIndex, Section, Key, v);
    }
  }

  void Bordered(int SectionIndex, const std::string& Section, const std::string& Key,
                const TvlImageValue& v) {
    AddMask(load_, SectionIndex, Key, v.MaskCount, v.PaintMode, v.FrameCount, v.Rect, v.ImageKind,
            Section);
    TsMaskData* m = Keep(skin_);
    if (!m) return;
    m->UniformBorder = static_cast<int16_t>(v.UniformBorder);
    m->BorderLeft = static_cast<int16_t>(v.BorderLeft);
    m->BorderTop = static_cast<int16_t>(v.BorderTop);
    m->BorderRight = static_cast<int16_t>(v.BorderRight);
    m->BorderBottom = static_cast<int16_t>(v.BorderBottom);
    if (v.BorderLeft + v.BorderTop + v.BorderRight + v.BorderBottom == 0) {
      if (v.UniformBorder != 0)
        m->BorderLeft = m->BorderTop = m->BorderRight = m->BorderBottom = m->UniformBorder;
      else
        DefaultBorders(*m, v.FrameCount, v.MaskCount);
    }
    m->TransparentCorners = CheckCorners(skin_, *m);
  }

  void File(int SectionIndex, const std::string& Section, const std::string& Key,
            const TvlImageValue& v) {
    TBitmap* file = SkinFileBitmap(load_, v.FileName);
    if (!file || file->Width() == 0) return;
    const RECT whole = MakeRECT(0, 0, file->Width(), file->Height());
    const bool words = v.Form == TvlImageForm::FileWords;
    AddMask(load_, SectionIndex, Key, words ? v.MaskCount : 0, 0, words ? v.FrameCount : 1, whole,
            words ? v.ImageKind : 1, Section);
    TsMaskData& m = skin_.Masks.back();
    m.Image = file;
    if (!words) {
      // A plain file is a texture: it has no borders.
    } else if (v.WordCount < 5) {
      DefaultBorders(m, m.FrameCount, m.MaskCount);
    } else {
      m.BorderLeft = static_cast<int16_t>(v.BorderLeft);
      m.BorderTop = static_cast<int16_t>(v.BorderTop);
      m.BorderRight = static_cast<int16_t>(v.BorderRight);
      m.BorderBottom = static_cast<int16_t>(v.BorderBottom);
    }
    m.PaintMode = static_cast<int16_t>(v.PaintMode);
    if (m.ImageKind == 0) m.TransparentCorners = CheckCorners(skin_, m);
  }

  TvlSkinLoad& load_;
  TvlSkinContent& skin_;
};

void LoadMasterBitmap(TvlSkinLoad& Load) {
  auto master = std::make_unique<TBitmap>();
  const std::string name = Load.Description->ReadString(GlobalSection, "MASTERBITMAP", "");
  if (Load.Archive) {
    if (TMemoryStream* packed = Load.Archive->FindItem(name))
      LoadBmpStreamArgb(*packed, master.get());
  } else if (const std::string path = SkinFilePath(Load, name); !name.empty() && FileExists(path)) {
    LoadBmpFileArgb(path, master.get());
  }
  master->SetHandleType(bmDIB);
  master->SetTransparentColor(clFuchsia);
  Load.Skin.MasterBitmap = master.release();
}

// Images the CommonSections name as ".BMP" files; their section index is
// set by name once the sections are read.
void LoadCommonSectionImages(TvlSkinLoad& Load) {
  TStringList* common = Load.Manager->CommonSections();
  if (!common || common->Count() == 0) return;
  const TParsedIniSections parsed(*common);
  const TStringList& sections = parsed.List();
  for (int i = 0; i < sections.Count(); ++i) {
    const std::string section = UpperCase(sections.Strings(i));
    if (section == GlobalSection) continue;
    auto* lines = dynamic_cast<TStringList*>(sections.Objects(i));
    for (int j = 0; lines && j < lines->Count(); ++j) {
      const std::string line = lines->Strings(j);
      const size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      const std::string value = UpperCase(line.substr(eq + 1));
      if (!Contains(value, ".BMP")) continue;
      const std::string path = SkinFilePath(Load, value);
      if (!FileExists(path)) continue;
      auto bitmap = std::make_unique<TBitmap>();
      LoadBmpFileArgb(path, bitmap.get());
      if (bitmap->Width() == 0) continue;
      AddMask(Load, -1, UpperCase(line.substr(0, eq)), 0, 0, 0,
              MakeRECT(0, 0, bitmap->Width(), bitmap->Height()), 0, section);
      Load.Skin.Masks.back().Image = bitmap.release();
    }
  }
}

}  // namespace

int AddMask(TvlSkinLoad& Load, int SectionIndex, const std::string& Key, int MaskCount,
            int PaintMode, int FrameCount, const RECT& Rect, int ImageKind,
            const std::string& Section) {
  TsMaskData m;
  m.Section = Section;
  m.Key = Key;
  m.SourceRect = Rect;
  m.FrameCount = static_cast<int16_t>(FrameCount);
  m.MaskCount = static_cast<int16_t>(MaskCount);
  m.PaintMode = static_cast<int16_t>(PaintMode);
  m.ImageKind = static_cast<uint8_t>(ImageKind);
  m.Owner = Load.Manager;
  m.SectionIndex = SectionIndex;
  Load.Skin.Masks.push_back(std::move(m));
  return static_cast<int>(Load.Skin.Masks.size()) - 1;
}

TBitmap* LoadExternalImage(TvlSkinLoad& Load, const std::string& FileName, int HasMaskHalf) {
  TMemoryStream* packed = nullptr;
  std::string path;
  if (Load.Archive) {
    packed = Load.Archive->FindItem(FileName);
    if (!packed) return nullptr;
  } else {
    path = SkinFilePath(Load, FileName);
    if (!FileExists(path)) return nullptr;
  }
  // The file's bytes for the decoders that read from memory.
  TMemoryStream fileData;
  auto bytes = [&]() -> TMemoryStream& {
    if (packed) {
      packed->SetPosition(0);
      return *packed;
    }
    ReadWholeFile(path, fileData);
    return fileData;
  };
  auto owned = std::make_unique<TBitmap>();
  Load.Skin.ExternalImages.push_back(TvlExtFileData{owned.get(), FileName, HasMaskHalf});
  owned.release();  // the entry owns it now
  TvlExtFileData& entry = Load.Skin.ExternalImages.back();
  TBitmap* bitmap = entry.Bitmap;
  const std::string name = UpperCase(FileName);
  if (Contains(name, ".BMP")) {
    if (packed)
      LoadBmpStreamArgb(*packed, bitmap);
    else
      LoadBmpFileArgb(path, bitmap);
  } else if (Contains(name, ".JPG") || Contains(name, ".JPEG")) {
    // Decoded rows go straight into the 32-bit bitmap: no 24-bit bitmap, no
    // copy of it and no conversion of the copy.
    TMemoryStream& data = bytes();
    int w = 0, h = 0;
    std::vector<uint8_t> bgr;
    DecodeJpegBgr(static_cast<const uint8_t*>(data.Memory()), static_cast<size_t>(data.Size()), w,
                  h, bgr);
    SetBgrPixelsArgb(bgr.data(), w, h, bitmap);
  } else if (Contains(name, ".PNG")) {
    DecodePngStreamToArgb(bitmap, bytes());
    if (Load.Manager->Brightness() <= 0 && Load.Globals.Version > PremultipliedSkinVersion) {
      const PixelView v = ArgbView(bitmap);
      PremultiplyAlphaInRect(v, MakeRECT(0, 0, v.Width, v.Height), DwmCompositionEnabled());
    }
  }
  if (bitmap->PixelFormat() != pf32bit && !bitmap->Empty()) {
    SetExtFileBitmap32(entry);
    const PixelView v = ArgbView(bitmap);
    SetAlphaInRect(v, MakeRECT(0, 0, v.Width, v.Height), 255, kKeyPixel);
  }
  return bitmap;
}

int CheckCorners(const TvlSkinContent& Skin, const TsMaskData& Mask) {
  if (Mask.Section == "BUTTON_HUGE" && Mask.Key == "BORDERSMASK") return 2;
  const RECT& r = Mask.SourceRect;
  if (r.bottom <= r.top) return 0;
  const PixelView v = ArgbView(ImageBitmap(Skin, Mask));
  if (!v.Valid()) return 0;
  const int frames = std::max<int>(Mask.FrameCount, 1);
  const int frameWidth = (r.right - r.left) / frames;
  const int y1 = r.top + (r.bottom - r.top) / std::max(Mask.MaskCount + 1, 1) - Mask.BorderBottom;
  // Each scan stops before the bitmap's last column and row.
  auto holds = [&](int x0, int y0, int w, int h) {
    const int xEnd = std::min(x0 + w, v.Width - 1), yEnd = std::min(y0 + h, v.Height - 1);
    for (int y = std::max(y0, 0); y < yEnd; ++y)
      for (int x = std::max(x0, 0); x < xEnd; ++x)
        if (v.At(x, y) == kKeyPixel) return true;
    return false;
  };
  for (int f = 0; f < frames; ++f) {
    const int x0 = r.left + f * frameWidth;
    const int xr = x0 + frameWidth - Mask.BorderRight;
    if (holds(x0, r.top, Mask.BorderLeft, Mask.BorderTop) ||
        holds(xr, r.top, Mask.BorderRight, Mask.BorderTop) ||
        holds(x0, y1, Mask.BorderLeft, Mask.BorderBottom) ||
        holds(xr, y1, Mask.BorderRight, Mask.BorderBottom))
      return 1;
  }
  return 0;
}

void UpdateFrameSizes(TvlSkinContent& Skin) {
  for (TsMaskData& m : Skin.Masks) {
    const int w = m.SourceRect.right - m.SourceRect.left;
    const int h = m.SourceRect.bottom - m.SourceRect.top;
    m.FrameWidth = m.FrameCount <= 0 ? 0 : m.FrameCount == 1 ? w : w / m.FrameCount;
    m.FrameHeight = m.MaskCount < 0    ? 0
                    : m.MaskCount == 0 ? h
                    : m.MaskCount == 1 ? h / 2
                                       : h / (m.MaskCount + 1);
    if (m.FrameCount > 0) continue;
    const auto orDefault = [&](int16_t& border, int fallback) {
      if (border <= 0)
        border = static_cast<int16_t>(m.UniformBorder > 0 ? m.UniformBorder : fallback);
    };
    orDefault(m.BorderTop, m.FrameHeight);
    orDefault(m.BorderBottom, m.FrameHeight);
    orDefault(m.BorderLeft, m.FrameWidth);
    orDefault(m.BorderRight, m.FrameWidth);
    m.FrameCount = 1;
  }
}

TBitmap* CopyMaskFrame(const TsMaskData& Mask, int Frame) {
  TBitmap* out = NewArgbBitmap(Mask.FrameWidth, Mask.FrameHeight);
  const PixelView src = MaskPixels(Mask);
  const PixelView dst = ArgbView(out);
  if (!src.Valid() || !dst.Valid()) return out;
  const int x0 = MaskFrameLeft(Mask, Frame), y0 = Mask.SourceRect.top;
  for (int y = 0; y < dst.Height; ++y)
    for (int x = 0; x < dst.Width; ++x)
      dst.At(x, y) = src.Contains(x0 + x, y0 + y) ? src.At(x0 + x, y0 + y) : 0;
  return out;
}

void LoadSkinImages(TvlSkinLoad& Load) {
  Load.Skin.ClearSkinImages();
  if (!Load.Description) return;
  LoadMasterBitmap(Load);
  ImageReader reader(Load);
  const std::vector<TvlIniSection>& sections = Load.Description->Sections();
  for (size_t s = 0; s < sections.size(); ++s) {
    const TvlIniSection& section = sections[s];
    bool masterSeen = section.Name != GlobalSection;
    for (const auto& [key, value] : section.Keys) {
      if (!masterSeen && key == "MASTERBITMAP") {
        masterSeen = true;
        continue;
      }
      // A repeated key shows its first value, as the description reads it.
      reader.Key(static_cast<int>(s), section.Name, key,
                 *Load.Description->Find(section.Name, key));
    }
  }
  LoadCommonSectionImages(Load);
}
