#include "skin/engine/skin_globals.h"

#include <algorithm>
#include <memory>

#include "skin/engine/manager_options.h"
#include "skin/engine/skin_content.h"
#include "skin/engine/skin_description.h"
#include "skin/engine/skin_image_values.h"
#include "skin/engine/skin_images.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "widgets/graphics/graphics.h"
#include "skin/engine/description_index.h"
#include "widgets/rtl/sysutils.h"

namespace {

const char* const GlobalSection = "GLOBALINFO";

void ReadValues(TvlSkinLoad& Load, const TvlSkinReader& r) {
  TsSkinGlobals& g = Load.Globals;
  const TvlSkinDescription& ini = r.Description();
  g.Version = ReadSkinVersion(&ini);
  g.Author = ini.ReadString(GlobalSection, "AUTHOR", "");
  g.Description = ini.ReadString(GlobalSection, "DESCRIPTION", "");
  g.BorderWidth = r.ReadGlobalInt("BORDERWIDTH", 4);
  g.TitleHeight = r.ReadGlobalDpiInt("TITLEHEIGHT", 30);
  if (g.TitleHeight <= 0) g.TitleHeight = 30;
  g.MaxTitleHeight = r.ReadGlobalDpiInt("MAXHEIGHT", g.TitleHeight);
  if (g.MaxTitleHeight <= 0) g.MaxTitleHeight = g.TitleHeight;
  // A missing key reads -1 at level 0, as it always has.
  g.CenterOffset = r.ReadGlobalDpiInt("CENTEROFFSET", 0);
  g.FormOffset = r.ReadGlobalInt("FORMOFFSET", GetSystemMetrics(SM_CXFRAME));
  g.BorderMode = r.ReadGlobalInt("BORDERMODE", 0);
  g.BrightMin = r.ReadGlobalInt("BRIGHTMIN", -50);
  g.BrightMax = r.ReadGlobalInt("BRIGHTMAX", 50);
  g.AlignOffset = r.ReadGlobalInt("ALIGNOFFSET", 0);
  g.AlignOffsetR = r.ReadGlobalInt("ALIGNOFFSETR", g.AlignOffset);
  g.AlignOffsetT = r.ReadGlobalInt("ALIGNOFFSETT", g.AlignOffset);
  g.AlignOffsetB = r.ReadGlobalInt("ALIGNOFFSETB", g.AlignOffset);
  g.BISpace = ScaleToDpiLevel(Load.Manager, r.ReadGlobalInt("BISPACE", 0), 0);
  g.BIVAlign = r.ReadGlobalInt("BIVALIGN", 0);
  g.BIRight = r.ReadGlobalInt("BIRIGHT", 0);
  g.BILeft = r.ReadGlobalInt("BILEFT", 0);
  g.BITop = r.ReadGlobalInt("BITOP", 0);
  g.BIKeepHue = r.ReadGlobalInt("BIKEEPHUE", 0);
  g.AeroBlur = r.ReadGlobalInt("AEROBLUR", 0) != 0;
  g.Shadow1Color = r.ReadGlobalInt("SHADOW1COLOR", 0);
  g.Shadow1Offset = r.ReadGlobalInt("SHADOW1OFFSET", 0);
  g.Shadow1Blur = r.ReadGlobalInt("SHADOW1BLUR", -1);
  g.Shadow1Transparency = r.ReadGlobalInt("SHADOW1TRANSPARENCY", 0);
  g.ComboMargin = r.ReadGlobalInt("COMBOMARGIN", 2);
  g.SliderMargin = r.ReadGlobalInt("SLIDERMARGIN", 1);
}

void ReadTitleGlows(TvlSkinLoad& Load, const TvlSkinReader& r) {
  TConstantSkinData& c = Load.Skin.ConstData;
  // The count comes from the skin: a huge one must not size five arrays.
  const int count = std::clamp(r.ReadGlobalInt("BICONCLOSEGLOW", 0), 0, MaxTitleGlowImages);
  for (size_t i = 0; i < 5; ++i) {
    c.TitleGlowMargins[i] = r.ReadGlobalDpiInt(std::string(TitleButtonNames[i]) + "GLOWMARGIN", 0);
    c.TitleGlows[i].assign(static_cast<size_t>(count), -1);
  }
}

// The mask of an outer effect cut from the master by a '^'-form value.
int MaskFromValue(TvlSkinLoad& Load, const std::string& Key) {
  std::string value = UpperCase(Load.Description->ReadString(GlobalSection, Key, ""));
  if (value.empty()) return -1;
  value[0] = '^';
  const TvlImageValue v = ParseImageValue(value);
  const int index =
      AddMask(Load, -1, Key, v.MaskCount, v.PaintMode, v.FrameCount, v.Rect, 0, GlobalSection);
  TsMaskData& m = Load.Skin.Masks.back();
  const TBitmap* master = Load.Skin.MasterBitmap;
  const RECT bounds = MakeRECT(0, 0, master ? master->Width() : 0, master ? master->Height() : 0);
  RECT clipped;
  if (!IntersectRect(&clipped, &m.SourceRect, &bounds)) {
    Load.Skin.Masks.pop_back();
    return -1;
  }
  m.SourceRect = clipped;
  m.BorderLeft = static_cast<int16_t>(v.BorderLeft);
  m.BorderTop = static_cast<int16_t>(v.BorderTop);
  m.BorderRight = static_cast<int16_t>(v.BorderRight);
  m.BorderBottom = static_cast<int16_t>(v.BorderBottom);
  m.UniformBorder = static_cast<int16_t>(v.UniformBorder);
  return index;
}

// The mask drawn from the built-in soft-edged square "BLUR5": the upper
// square holds the four side colours, the lower one the blurred mask.
int MaskFromBlur(TvlSkinLoad& Load, OuterEffect& e, const std::string& Key) {
  std::unique_ptr<TBitmap> blur(LoadPngResource("BLUR5"));
  if (!blur || blur->Width() < 3) return -1;
  const int w = blur->Width(), half = w / 2;
  for (int32_t& width : e.Widths)
    if (width == -1) width = half;
  std::unique_ptr<TBitmap> image(NewArgbBitmap(w, 2 * w));
  TCanvas* c = image->Canvas();
  const auto fill = [&](int32_t color) {
    c->Brush()->SetColor(static_cast<TColor>(color));
    c->Pen()->SetColor(static_cast<TColor>(color));
  };
  fill(e.Colors[1]);
  c->FillRect(TRect(0, 0, w, half));
  fill(e.Colors[3]);
  c->FillRect(TRect(0, half, w, w));
  fill(e.Colors[0]);
  c->Polygon({TPoint(0, 1), TPoint(half - 1, half), TPoint(0, w - 2)});
  fill(e.Colors[2]);
  c->Polygon({TPoint(w - 1, 1), TPoint(half + 1, half), TPoint(w - 1, w - 2)});
  BitBlt(c->Handle(), 0, w, w, w, blur->Canvas()->Handle(), 0, 0, SRCCOPY);
  const int index = AddMask(Load, -1, Key, 1, 1, 1, MakeRECT(0, 0, w, 2 * w), 0, GlobalSection);
  TsMaskData& m = Load.Skin.Masks.back();
  m.UniformBorder = m.BorderLeft = m.BorderTop = m.BorderRight = m.BorderBottom =
      static_cast<int16_t>(half);
  m.Image = image.release();
  return index;
}

void ReadOuterEffect(TvlSkinLoad& Load, const TvlSkinReader& r, OuterEffect& e,
                     const std::string& Prefix) {
  const char* const sides = "LTRB";
  for (size_t i = 0; i < 4; ++i) {
    const std::string side(1, sides[i]);
    e.Colors[i] = r.ReadGlobalInt(Prefix + "COLOR" + side, e.Colors[i]);
    e.Widths[i] = r.ReadGlobalInt(Prefix + "WIDTH" + side, e.Widths[i]);
    e.Offsets[i] = r.ReadGlobalInt(Prefix + "OFFSET" + side, e.Offsets[i]);
  }
  e.Source = r.ReadGlobalInt(Prefix + "SOURCE", e.Source);
  e.Opacity = r.ReadGlobalInt(Prefix + "OPACITY", e.Opacity);
  const std::string key = Prefix + "MASK";
  e.MaskIndex = e.Source == 0   ? -1
                : e.Source == 1 ? MaskFromValue(Load, key)
                                : MaskFromBlur(Load, e, key);
}

}  // namespace

void ReadSkinGlobals(TvlSkinLoad& Load, const TvlSkinReader& Reader) {
  ReadValues(Load, Reader);
  ReadTitleGlows(Load, Reader);
  TvlOutEffArray effects = DefaultOuterEffects();
  // The shadow first, then the outline: their masks take image indices in
  // that order.
  ReadOuterEffect(Load, Reader, effects[1], "SH_");
  ReadOuterEffect(Load, Reader, effects[0], "LO_");
  Load.Skin.FormOuterEffects = std::move(effects);
  const TvlSkinDescription& ini = Reader.Description();
  Load.Globals.TabsCovering = ini.ReadInteger("TABTOP", "TABSCOVERING", 0);
  Load.Globals.RibbonTabsCovering = ini.ReadInteger("RIBBONTAB", "TABSCOVERING", 0);
}
