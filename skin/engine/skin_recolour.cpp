#include "skin/engine/skin_recolour.h"

#include <algorithm>
#include <vector>

#include "skin/engine/services_forms.h"
#include "skin/engine/skin_content.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_palette.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/colour_math.h"
#include "skin/foundation/pixel_primitives.h"

namespace {

constexpr double PremultipliedSkinVersion = 7.45;

// Glyphs whose hue a BIKEEPHUE skin keeps: the close glyphs always, the
// others with BIKEEPHUE exactly 1.
const char* const KeepHueAlways[] = {"BICONCLOSE", "BICLOSEALONE", "SICONCLOSE"};
const char* const KeepHueAtOne[] = {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP",
                                    "SICONMAX", "SICONMIN", "SICONNORM"};

void Recolour(TBitmap* Bitmap, PixelProc Proc, int32_t Data) {
  ForEachPixelExceptKey(ArgbView(Bitmap), Proc, Data, clFuchsia);
}

// Pixels of a rectangle kept aside while the rest of an image changes.
class SavedPixels {
 public:
  void Save(const PixelView& v, RECT r) {
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, v.Width);
    r.bottom = std::min<LONG>(r.bottom, v.Height);
    if (r.left >= r.right || r.top >= r.bottom) return;
    Block b{v, r, {}};
    for (int y = r.top; y < r.bottom; ++y)
      b.Pixels.insert(b.Pixels.end(), v.Row(y) + r.left, v.Row(y) + r.right);
    blocks_.push_back(std::move(b));
  }
  void Restore() {
    for (const Block& b : blocks_) {
      const uint32_t* p = b.Pixels.data();
      const int w = b.Rect.right - b.Rect.left;
      for (int y = b.Rect.top; y < b.Rect.bottom; ++y, p += w)
        std::copy(p, p + w, b.View.Row(y) + b.Rect.left);
    }
    blocks_.clear();
  }

 private:
  struct Block {
    PixelView View;
    RECT Rect;
    std::vector<uint32_t> Pixels;
  };
  std::vector<Block> blocks_;
};

RECT LowerHalf(const RECT& r) {
  return RECT{r.left, r.top + (r.bottom - r.top) / 2, r.right, r.bottom};
}

// Every state colour that is set (not -1), and the gradient stops when
// Gradients says so for the state.
template <typename Change, typename WithGradients>
void RecolourSections(TvlSkinContent& Skin, Change&& Fn, WithGradients&& Gradients) {
  for (TsGeneralData& d : Skin.Sections)
    for (TsGenState& s : d.Props) {
      if (Gradients(s))
        for (GradientStop& g : s.Gradient) {
          g.StartColor = Fn(g.StartColor);
          g.EndColor = Fn(g.EndColor);
        }
      for (SkinColor* c : {&s.Color, &s.TextGlowColor, &s.FontColor, &s.ContourLeft, &s.ContourTop,
                           &s.ContourRight, &s.ContourBottom})
        if (*c != -1) *c = Fn(*c);
    }
}

template <typename Change>
void RecolourPaletteAndShadow(TvlSkinLoad& Load, Change&& Fn) {
  Load.Globals.Shadow1Color = Fn(Load.Globals.Shadow1Color);
  for (int i : RecolouredPaletteEntries)
    Load.Skin.SkinPalette[static_cast<size_t>(i)] =
        Fn(Load.Skin.SkinPalette[static_cast<size_t>(i)]);
}

}  // namespace

int SaturationAmount(int Saturation) {
  return std::clamp(Saturation * 255 / 100, -255, 255);
}

void ChangeHue(TvlSkinLoad& Load, int Offset) {
  if (Offset == 0) return;
  TvlSkinContent& skin = Load.Skin;
  const int keepHue = Load.Globals.BIKeepHue;
  std::vector<const TBitmap*> keep;
  SavedPixels kept;
  const PixelView master = ArgbView(skin.MasterBitmap);
  if (keepHue >= 1) {
    const int global = FindSectionIndex(skin, "GLOBALINFO");
    std::vector<const char*> names(std::begin(KeepHueAlways), std::end(KeepHueAlways));
    if (keepHue == 1) names.insert(names.end(), std::begin(KeepHueAtOne), std::end(KeepHueAtOne));
    for (const char* name : names) {
      const int i = FindMaskIndex(skin, global, name);
      if (i < 0) continue;
      const TsMaskData& m = skin.Masks[static_cast<size_t>(i)];
      if (m.Image)
        keep.push_back(m.Image);
      else
        kept.Save(master, m.SourceRect);
      const int glow = FindMaskIndex(skin, global, std::string(name) + "GLOW0");
      if (glow >= 0 && skin.Masks[static_cast<size_t>(glow)].Image)
        keep.push_back(skin.Masks[static_cast<size_t>(glow)].Image);
    }
  }
  ForEachPixelExceptKey(master, HuePixelProc, Offset, clFuchsia);
  kept.Restore();
  for (const TvlExtFileData& e : skin.ExternalImages)
    if (std::find(keep.begin(), keep.end(), e.Bitmap) == keep.end())
      Recolour(e.Bitmap, HuePixelProc, Offset);
  const auto hue = [&](int32_t c) {
    return static_cast<int32_t>(ChangeColorHue(Offset, static_cast<uint32_t>(c)));
  };
  RecolourSections(skin, hue, [](const TsGenState& s) { return s.GradientPercent > 0; });
  RecolourPaletteAndShadow(Load, hue);
}

void ChangeSaturation(TvlSkinLoad& Load, int Saturation) {
  if (Saturation == 0) return;
  const int amount = SaturationAmount(Saturation);
  TvlSkinContent& skin = Load.Skin;
  Recolour(skin.MasterBitmap, SaturationPixelProc, amount);
  for (const TvlExtFileData& e : skin.ExternalImages)
    Recolour(e.Bitmap, SaturationPixelProc, amount);
  const auto saturate = [&](int32_t c) {
    return static_cast<int32_t>(ChangeColorSaturation(static_cast<uint32_t>(c), amount));
  };
  RecolourSections(skin, saturate, [](const TsGenState&) { return true; });
  RecolourPaletteAndShadow(Load, saturate);
}

void ChangeBrightness(TvlSkinLoad& Load, int Brightness) {
  if (Brightness == 0) return;
  TvlSkinContent& skin = Load.Skin;
  // Mask halves stay as they are: they say where a picture shows, not what.
  const PixelView master = ArgbView(skin.MasterBitmap);
  SavedPixels masks;
  for (const TsMaskData& m : skin.Masks)
    if (!m.Image && m.MaskCount == 1) masks.Save(master, LowerHalf(m.SourceRect));
  ForEachPixelExceptKey(master, BrightnessPixelProc, Brightness, clFuchsia);
  masks.Restore();
  for (const TvlExtFileData& e : skin.ExternalImages) {
    const PixelView v = ArgbView(e.Bitmap);
    const RECT whole = MakeRECT(0, 0, v.Width, v.Height);
    if (e.HasMaskHalf) masks.Save(v, LowerHalf(whole));
    ForEachPixelExceptKey(v, BrightnessPixelProc, Brightness, clFuchsia);
    masks.Restore();
    if (e.HasMaskHalf || Brightness <= 0) continue;
    if (Load.Globals.Version < PremultipliedSkinVersion)
      ClearWhitePixels(v);
    else
      PremultiplyAlphaInRect(v, whole, DwmCompositionEnabled());
  }
  RecolourSections(
      skin,
      [&](int32_t c) {
        return static_cast<int32_t>(ChangeColorBrightness(static_cast<uint32_t>(c), Brightness));
      },
      [](const TsGenState&) { return true; });
}

void RecolourSkin(TvlSkinLoad& Load) {
  ChangeHue(Load, Load.Manager->HueOffset());
  ChangeSaturation(Load, Load.Manager->Saturation());
  ChangeBrightness(Load, Load.Manager->Brightness());
}
