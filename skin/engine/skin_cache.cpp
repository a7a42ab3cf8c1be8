#include "skin/engine/skin_cache.h"

#include <algorithm>
#include <memory>

#include "skin/engine/manager_options.h"
#include "skin/engine/skin_content.h"
#include "skin/engine/skin_images.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/resample.h"
#include "skin/foundation/section_names.h"

namespace {

const char* const GlobalSection = "GLOBALINFO";

const char* const TabNames[16] = {
    "TABLEFTFIRST",  "TABTOPFIRST",  "TABRIGHTFIRST",  "TABBOTTOMFIRST",
    "TABLEFTLAST",   "TABTOPLAST",   "TABRIGHTLAST",   "TABBOTTOMLAST",
    "TABLEFTMIDDLE", "TABTOPMIDDLE", "TABRIGHTMIDDLE", "TABBOTTOMMIDDLE",
    "TABLEFT",       "TABTOP",       "TABRIGHT",       "TABBOTTOM"};
const char* const ScrollBarNames[4] = {"SCROLLBAR1H", "SCROLLBAR1V", "SCROLLBAR2H", "SCROLLBAR2V"};
const char* const ScrollButtonNames[4] = {"SCROLLBTNLEFT", "SCROLLBTNTOP", "SCROLLBTNRIGHT",
                                          "SCROLLBTNBOTTOM"};
const char* const UpDownNames[4] = {"UPDOWNBTN_LEFT", "UPDOWNBTN_TOP", "UPDOWNBTNRIGHT",
                                    "UPDOWNBTN_BOTTOM"};
const char* const ScrollSliderNames[2] = {"SCROLLSLIDERH", "SCROLLSLIDERV"};
const char* const CheckBoxNames[3] = {"BOXUNCHECKED", "BOXCHECKED", "BOXGRAYED"};
const char* const SmallBoxNames[3] = {"SMALLUNCHECKED", "SMALLCHECKED", "SMALLGRAYED"};
const char* const RadioNames[2] = {"RADIOUNCHECKED", "RADIOCHECKED"};
const char* const CornerNames[4] = {"IMGTOPLEFT", "IMGTOPRIGHT", "IMGBTMLEFT", "IMGBTMRIGHT"};
constexpr int FirstSmallTitleButton = 6, SmallTitleButtonCount = 5;

PixelView SubView(const PixelView& v, const RECT& r) {
  PixelView s = v;
  if (!v.Valid()) return {};
  s.Base = v.Base + v.Stride * r.top + 4 * static_cast<ptrdiff_t>(r.left);
  s.Width = r.right - r.left;
  s.Height = r.bottom - r.top;
  return s;
}

// The resampler leaves a source one pixel wide or high alone; such a strip
// is repeated across the new size so that it does not vanish.
void ResampleOrRepeat(const PixelView& Src, const PixelView& Dst) {
  if (!Src.Valid() || !Dst.Valid()) return;
  if (Src.Width > 1 && Src.Height > 1) return ResampleArgb(Src, Dst, rsMitchell);
  for (int y = 0; y < Dst.Height; ++y) {
    const int sy = static_cast<int>(static_cast<int64_t>(y) * Src.Height / Dst.Height);
    for (int x = 0; x < Dst.Width; ++x)
      Dst.At(x, y) = Src.At(static_cast<int>(static_cast<int64_t>(x) * Src.Width / Dst.Width), sy);
  }
}

class IndexCache {
 public:
  IndexCache(const TsSkinManager* Manager, TvlSkinContent& Skin) : manager_(Manager), skin_(Skin) {}

  int Global() const { return skin_.ConstData.GlobalInfo; }

  int Lookup(const std::string& Name, int SectionIndex) const {
    return SectionIndex < 0 ? GetMaskIndex(skin_, Global(), GlobalSection, Name)
                            : FindMaskIndex(skin_, SectionIndex, Name);
  }

  int DpiIndex(const std::string& Name, int SectionIndex, bool ScaleInPlace) {
    const int level = EffectiveDpiLevel(manager_);
    if (level > 0) {
      const int variant = Lookup(Name + DpiKeySuffix[static_cast<size_t>(level)], SectionIndex);
      if (variant >= 0) return variant;
    }
    const int plain = Lookup(Name, SectionIndex);
    if (level == 0 || plain < 0) return plain;
    auto& done = skin_.DpiScaledImages;
    if (std::find(done.begin(), done.end(), plain) == done.end()) {
      Convert(skin_.Masks[static_cast<size_t>(plain)], ScaleInPlace);
      done.push_back(plain);
    }
    return plain;
  }

  int DpiGlobalIndex(const std::string& Name) const {
    const int level = EffectiveDpiLevel(manager_);
    if (level > 0) {
      const int variant = Lookup(Name + DpiKeySuffix[static_cast<size_t>(level)], -1);
      if (variant >= 0) return variant;
    }
    return Lookup(Name, -1);
  }

  void FillElement(TvlConstElementData& e, const char* Name, bool DpiGlyph,
                   const char* Alt1 = nullptr, const char* Alt2 = nullptr) {
    e.SectionName = Name;
    e.Section = FindSectionIndex(skin_, Name);
    for (const char* alt : {Alt1, Alt2}) {
      if (e.Section >= 0 || !alt) continue;
      e.Section = FindSectionIndex(skin_, alt);
      if (e.Section >= 0) e.SectionName = alt;
    }
    e.BordersMask = GetMaskIndex(skin_, e.Section, e.SectionName, "BORDERSMASK");
    e.Glyph = DpiGlyph ? DpiIndex("GLYPHMASK", e.Section, false)
                       : FindMaskIndex(skin_, e.Section, "GLYPHMASK");
    e.Pattern = GetMaskIndex(skin_, e.Section, e.SectionName, "PATTERN");
    e.HotPattern = GetMaskIndex(skin_, e.Section, e.SectionName, "HOTPATTERN");
  }

  void FillSliderData(TvlSliderData& d, int K) {
    d.Section = FindSectionIndex(skin_, "TRACKBAR");
    d.BordersMask = FindMaskIndex(skin_, d.Section, "BORDERSMASK");
    d.ProgressGlyph = FindMaskIndex(skin_, d.Section, ProgressGlyphNames[static_cast<size_t>(K)]);
    d.TickGlyph = DpiIndex(TickGlyphNames[static_cast<size_t>(K)], d.Section, false);
    d.Channel = FindMaskIndex(skin_, d.Section, "SLIDERCHANNEL");
    d.SliderMask = K == 0 ? DpiIndex("SLIDERVMASK", d.Section, false) : -1;
    if (d.SliderMask < 0) d.SliderMask = DpiIndex("SLIDERMASK", d.Section, false);
    d.Pattern = FindMaskIndex(skin_, d.Section, "PATTERN");
    d.HotPattern = FindMaskIndex(skin_, d.Section, "HOTPATTERN");
  }

  void SectionIndices() {
    for (int i = 0; i < static_cast<int>(skin_.Sections.size()); ++i) {
      TsGeneralData& s = skin_.Sections[static_cast<size_t>(i)];
      if (s.SectionName == GlobalSection) continue;
      s.BordersMask = FindMaskIndex(skin_, i, "BORDERSMASK");
      s.OuterMask = FindMaskIndex(skin_, i, "OUTERMASK");
      for (size_t c = 0; c < 4; ++c) s.CornerImages[c] = FindMaskIndex(skin_, i, CornerNames[c]);
      s.Props[0].PatternIndex = GetTextureIndex(skin_, i, s.SectionName, "PATTERN");
      if (s.StateCount > 1)
        s.Props[1].PatternIndex = GetTextureIndex(skin_, i, s.SectionName, "HOTPATTERN");
      s.Props[2].PatternIndex = s.StateCount > 2 && s.UseState2
                                    ? GetTextureIndex(skin_, i, s.SectionName, "PATTERN2")
                                    : s.Props[1].PatternIndex;
      s.BorderKind = BorderKind(s);
    }
  }

 private:
  int BorderKind(const TsGeneralData& s) const {
    if (s.BordersMask < 0) return -2;
    const TsMaskData& m = skin_.Masks[static_cast<size_t>(s.BordersMask)];
    const bool edit = s.SectionName == "EDIT" || s.SectionName == "ALPHAEDIT";
    const bool thin =
        m.BorderLeft == 1 && m.BorderTop == 1 && m.BorderRight == 1 && m.BorderBottom == 1;
    return edit && thin ? -1 : 0;
  }

  int Scale(int Value) const { return ScaleToDpiLevel(manager_, Value, 0); }

  // The picture of an image as it stands: its own bitmap or the master's.
  PixelView Picture(const TsMaskData& m) const {
    return SubView(ArgbView(m.Image ? m.Image : skin_.MasterBitmap), m.SourceRect);
  }

  void Convert(TsMaskData& m, bool ScaleInPlace) {
    const int frames = std::max<int>(m.FrameCount, 1);
    const int width = m.SourceRect.right - m.SourceRect.left;
    const int height = m.SourceRect.bottom - m.SourceRect.top;
    // Frame sizes are set only after the cache is built: the frame width
    // comes from the rectangle.
    const int newWidth = Scale(width / frames) * frames;
    const PixelView picture = Picture(m);
    std::unique_ptr<TBitmap> scaled;
    if (ScaleInPlace) {
      scaled.reset(NewArgbBitmap(newWidth, Scale(height)));
      ResampleOrRepeat(picture, ArgbView(scaled.get()));
    } else {
      const int pictureHeight = m.MaskCount != 0 ? height / 2 : height;
      // The source is always a copy: an image file's bitmap may be shown by
      // other images too.
      PixelBuffer source(width, 2 * pictureHeight, 0);
      const PixelView src = source.View();
      const int rows = m.MaskCount != 0 ? std::min(height, src.Height) : pictureHeight;
      for (int y = 0; y < rows && picture.Valid(); ++y)
        std::copy(picture.Row(y), picture.Row(y) + width, src.Row(y));
      // Holes become the main colour over a white (empty) mask.
      const uint32_t mainColor = static_cast<uint32_t>(skin_.SkinPalette[0]) & 0x00FFFFFFu;
      for (int y = 0; y < pictureHeight; ++y)
        for (int x = 0; x < width; ++x)
          if (src.At(x, y) == kKeyPixel) {
            src.At(x, y) = mainColor;
            src.At(x, y + pictureHeight) = 0x00FFFFFFu;
          }
      scaled.reset(NewArgbBitmap(newWidth, 2 * Scale(pictureHeight)));
      ResampleOrRepeat(src, ArgbView(scaled.get()));
    }
    if (m.Image && !skin_.IsExternalBitmap(m.Image)) TObject::Free(m.Image);
    m.MaskCount = 1;
    m.SourceRect = MakeRECT(0, 0, scaled->Width(), scaled->Height());
    m.Image = scaled.release();
  }

  const TsSkinManager* manager_;
  TvlSkinContent& skin_;
};

}  // namespace

int DpiImageIndex(const TsSkinManager* Manager, TvlSkinContent& Skin, const std::string& Name,
                  int SectionIndex, bool ScaleInPlace) {
  return IndexCache(Manager, Skin).DpiIndex(Name, SectionIndex, ScaleInPlace);
}

void CacheCommonSkinData(const TsSkinManager* Manager, TvlSkinContent& Skin) {
  IndexCache cache(Manager, Skin);
  TConstantSkinData& c = Skin.ConstData;
  // The glow counts and margins come from the description reader.
  TConstantSkinData fresh;
  fresh.TitleGlows = std::move(c.TitleGlows);
  fresh.TitleGlowMargins = c.TitleGlowMargins;
  c = std::move(fresh);

  c.GlobalInfo = FindSectionIndex(Skin, GlobalSection);
  for (size_t i = 0; i < 3; ++i) c.CheckBoxes[i] = cache.DpiIndex(CheckBoxNames[i], -1, false);
  for (size_t i = 0; i < 3; ++i) c.SmallBoxes[i] = cache.DpiIndex(SmallBoxNames[i], -1, false);
  for (size_t i = 0; i < 2; ++i) c.RadioButtons[i] = cache.DpiIndex(RadioNames[i], -1, false);

  c.ExBorder = cache.DpiGlobalIndex("EXBORDER");
  c.GripImage = cache.DpiIndex("GRIPIMAGE", -1, false);
  c.GripHorz = GetMaskIndex(Skin, c.GlobalInfo, GlobalSection, "GRIPHORZ");
  c.GripVert = GetMaskIndex(Skin, c.GlobalInfo, GlobalSection, "GRIPVERT");

  cache.FillElement(c.MenuItem, "MENUITEM", true);
  cache.FillElement(c.ComboButton, "COMBOBTN", true);
  c.ComboButton.Glyph = FindMaskByName(Skin, "COMBOBOX", "GLYPHMASK");

  for (size_t i = 0; i < 16; ++i) cache.FillElement(c.Tabs[i], TabNames[i], true);
  for (size_t k = 0; k < 2; ++k) {
    cache.FillElement(c.ScrollSliders[k], ScrollSliderNames[k], true);
    cache.FillSliderData(c.Sliders[k], static_cast<int>(k));
  }
  for (size_t i = 0; i < 4; ++i) {
    cache.FillElement(c.ScrollButtons[i], ScrollButtonNames[i], false);
    cache.FillElement(c.ScrollBars[i], ScrollBarNames[i], false);
    cache.FillElement(c.UpDownButtons[i], UpDownNames[i], false, "UPDOWNBTN", "BUTTON");
  }

  for (size_t i = 0; i < c.TitleButtons.size(); ++i)
    c.TitleButtons[i] =
        TitleButtonNames[i][0] ? cache.DpiIndex(TitleButtonNames[i], -1, false) : -1;
  if (c.TitleButtons[0] < 0) c.TitleButtons[0] = c.TitleButtons[1];
  for (int i = 0; i < SmallTitleButtonCount; ++i)
    if (c.TitleButtons[static_cast<size_t>(FirstSmallTitleButton + i)] < 0)
      c.TitleButtons[static_cast<size_t>(FirstSmallTitleButton + i)] =
          c.TitleButtons[static_cast<size_t>(1 + i)];

  for (size_t b = 0; b < 5; ++b)
    for (size_t j = 0; j < c.TitleGlows[b].size(); ++j)
      c.TitleGlows[b][j] = cache.DpiIndex(
          std::string(TitleButtonNames[b]) + "GLOW" + std::to_string(j), c.GlobalInfo, true);
  if (c.TitleButtons[0] == c.TitleButtons[1]) {
    c.TitleGlowMargins[0] = c.TitleGlowMargins[1];
    c.TitleGlows[0] = c.TitleGlows[1];
  }

  for (size_t i = 0; i < StdSectionNames.size(); ++i)
    c.Sections[i] = FindSectionIndex(Skin, StdSectionNames[i]);
  cache.SectionIndices();
  UpdateFrameSizes(Skin);
}

void CacheCommonSkinData(TsSkinManager* Manager) {
  CacheCommonSkinData(Manager, *Manager);
  Manager->UpdateExtendedBorders();
}
