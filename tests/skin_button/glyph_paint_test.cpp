// The painter of button pictures: for every kind of source and destination,
// which frame of a four-frame picture a state shows and in which look
// (as it is, half faded, grey), read back from the colour drawn; the key
// colours of plain lists; the empty-alpha check on the caller's glyph; and
// the classes the dialog hook leaves alone.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "skin/controls/alpha_image_list.h"
#include "skin/controls/button_glyphs.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "tests/support/png_writer.h"
#include "widgets/rtl/object_model.h"
#include "widgets/rtl/streams.h"

namespace {

// Four 16 x 16 frames side by side, one colour each (0xRRGGBB), with clearly
// different brightness so that a grey frame still tells which it was.
constexpr int kFrames = 4;
constexpr int kFW = 16;
constexpr uint32_t kFrameColour[kFrames] = {0xE02020, 0x20C020, 0x2020E0, 0xE0E020};
// Each frame's own key colour at its bottom-left pixel, for strips without alpha.
constexpr uint32_t kFrameKey[kFrames] = {0x008080, 0x808000, 0x000080, 0x800000};
constexpr uint32_t kBg = 0x406080;
const TRect kDst(4, 4, 4 + kFW, 4 + kFW);
constexpr int kProbeX = 12, kProbeY = 10;

uint32_t Rgb(uint32_t px) {
  return px & 0xFFFFFF;
}
int Ch(uint32_t c, int n) {
  return static_cast<int>((c >> (8 * n)) & 0xFF);
}
// Pixels are stored as 0xAARRGGBB, so a pixel word and an 0xRRGGBB value
// agree in their low three bytes.
uint32_t Pixel(uint32_t rgb, uint32_t alpha = 255) {
  return (alpha << 24) | rgb;
}
int Luma(uint32_t c) {
  return (Ch(c, 2) * 77 + Ch(c, 1) * 151 + Ch(c, 0) * 28) >> 8;
}
double Distance(uint32_t a, double r, double g, double b) {
  return std::sqrt(std::pow(Ch(a, 2) - r, 2) + std::pow(Ch(a, 1) - g, 2) +
                   std::pow(Ch(a, 0) - b, 2));
}

enum Look { kPlain, kFaded, kGrey };
const char* LookName(int look) {
  static const char* names[] = {"plain", "faded", "grey"};
  return names[look];
}

// The frame and look that explain a drawn pixel best: a frame's colour as
// it is, a mix of it with the background strictly between the two, or its
// grey.
struct Reading {
  int frame = -1;
  int look = kPlain;
  double error = 1e9;
};
Reading Read(uint32_t px) {
  Reading best;
  auto offer = [&](int f, int look, double e) {
    if (e < best.error) best = {f, look, e};
  };
  for (int f = 0; f < kFrames; ++f) {
    const uint32_t c = kFrameColour[f];
    offer(f, kPlain, Distance(px, Ch(c, 2), Ch(c, 1), Ch(c, 0)));
    const int l = Luma(c);
    offer(f, kGrey, Distance(px, l, l, l));
    double num = 0, den = 0;
    for (int n = 0; n < 3; ++n) {
      num += double(Ch(px, n) - Ch(kBg, n)) * (Ch(c, n) - Ch(kBg, n));
      den += double(Ch(c, n) - Ch(kBg, n)) * (Ch(c, n) - Ch(kBg, n));
    }
    const double t = std::clamp(num / den, 0.15, 0.85);
    offer(f, kFaded,
          Distance(px, Ch(kBg, 2) + t * (Ch(c, 2) - Ch(kBg, 2)),
                   Ch(kBg, 1) + t * (Ch(c, 1) - Ch(kBg, 1)),
                   Ch(kBg, 0) + t * (Ch(c, 0) - Ch(kBg, 0))));
  }
  return best;
}

// A 64 x 16 strip in the given pixel format; alpha 255, or each frame's
// key colour at its bottom-left pixel.
std::unique_ptr<TBitmap> Strip(TPixelFormat format) {
  auto strip = std::unique_ptr<TBitmap>(NewArgbBitmap(kFrames * kFW, kFW));
  const PixelView v = ArgbView(strip.get());
  for (int y = 0; y < kFW; ++y)
    for (int x = 0; x < kFrames * kFW; ++x) {
      const int f = x / kFW;
      const bool key = format != pf32bit && x % kFW == 0 && y == kFW - 1;
      v.At(x, y) = Pixel(key ? kFrameKey[f] : kFrameColour[f]);
    }
  strip->SetPixelFormat(format);
  return strip;
}

std::vector<uint8_t> StripPng() {
  PngDesc d;
  d.Width = kFrames * kFW;
  d.Height = kFW;
  for (int y = 0; y < kFW; ++y)
    for (int x = 0; x < kFrames * kFW; ++x) {
      const uint32_t c = kFrameColour[x / kFW];
      d.Samples.insert(d.Samples.end(),
                       {uint16_t(c >> 16), uint16_t((c >> 8) & 0xFF), uint16_t(c & 0xFF), 255});
    }
  return EncodePng(d);
}

struct ChangeCounter {
  int calls = 0;
  void Changed(TObject*) { ++calls; }
};

enum Kind { kAlphaList, kPlainList, kGlyph32, kGlyph24 };
const char* KindName(int kind) {
  static const char* names[] = {"alpha list", "plain list", "32-bit glyph", "24-bit glyph"};
  return names[kind];
}

class GlyphPaintTest : public testing::Test {
 protected:
  void SetUp() override {
    manager_ = New<TsSkinManager>(nullptr);
    alphaList_ = New<TsAlphaImageList>(nullptr);
    alphaList_->SetWidth(kFrames * kFW);
    alphaList_->SetHeight(kFW);
    const std::vector<uint8_t> png = StripPng();
    TsImgListItem* item = alphaList_->Items()->Add();
    item->ImgData()->WriteBuffer(png.data(), static_cast<int32_t>(png.size()));
    alphaList_->GenerateImages();
    plainList_ = New<TImageList>(nullptr);
    plainList_->SetSize(kFrames * kFW, kFW);
    auto image = Strip(pf24bit);
    plainList_->Add(image.get(), nullptr);
  }
  void TearDown() override {
    TObject::Free(plainList_);
    TObject::Free(alphaList_);
    TObject::Free(manager_);
  }
  static std::unique_ptr<TBitmap> Target() {
    auto t = std::unique_ptr<TBitmap>(NewArgbBitmap(40, 30));
    FillRectArgb(t.get(), TRect(0, 0, 40, 30), static_cast<TColor>(0x806040), 255);
    return t;
  }

  TsSkinManager* manager_ = nullptr;
  TsAlphaImageList* alphaList_ = nullptr;
  TImageList* plainList_ = nullptr;
};

TEST_F(GlyphPaintTest, EachSourceShowsTheFrameAndLookOfItsState) {
  constexpr TsDisabledKind kNone = 0;
  const struct Case {
    int kind;
    bool toBitmap;
    int state, down, numGlyphs;
    bool enabled;
    TsDisabledKind look;
    bool stdOrder;
    int frame;  // of the strip cut into numGlyphs frames
    int seen;   // Look
  } cases[] = {
      // Alpha list: frame State + Down, limited to the last one.
      {kAlphaList, true, 0, 0, 4, true, kNone, false, 0, kPlain},
      {kAlphaList, true, 1, 0, 4, true, kNone, false, 1, kPlain},
      {kAlphaList, true, 2, 1, 4, true, kNone, false, 3, kPlain},
      {kAlphaList, false, 2, 1, 4, true, kNone, false, 3, kPlain},
      {kAlphaList, true, 2, 1, 1, true, kNone, false, 0, kPlain},
      {kAlphaList, true, 0, 0, 4, false, dkBlended, false, 0, kFaded},
      {kAlphaList, false, 0, 0, 4, false, dkBlended, false, 0, kFaded},
      {kAlphaList, true, 0, 0, 4, false, dkGrayed, false, 0, kPlain},
      // The standard order: disabled normal in frame 1, hot in frame 0, a
      // two-frame strip pressed in frame 0 (plus Down).
      {kAlphaList, true, 0, 0, 4, false, kNone, true, 1, kPlain},
      {kAlphaList, true, 1, 0, 4, true, kNone, true, 0, kPlain},
      {kAlphaList, true, 2, 0, 2, true, kNone, true, 0, kPlain},
      {kAlphaList, true, 2, 0, 4, true, kNone, true, 2, kPlain},
      {kAlphaList, false, 3, 0, 4, true, kNone, true, 3, kPlain},
      // Plain list: the whole image whatever the state; only the bitmap
      // road fades a disabled one.
      {kPlainList, true, 2, 1, 4, true, kNone, false, 0, kPlain},
      {kPlainList, true, 0, 0, 4, false, dkBlended, false, 0, kFaded},
      {kPlainList, true, 0, 0, 4, false, kNone, false, 0, kPlain},
      {kPlainList, false, 0, 0, 4, false, dkBlended, false, 0, kPlain},
      {kPlainList, false, 1, 0, 4, true, kNone, true, 0, kPlain},
      // 32-bit glyph: frame State (Down takes no part), the frame as wide as
      // the target rectangle.
      {kGlyph32, true, 2, 1, 4, true, kNone, false, 2, kPlain},
      {kGlyph32, false, 3, 0, 4, true, kNone, false, 3, kPlain},
      {kGlyph32, true, 3, 0, 2, true, kNone, false, 1, kPlain},
      {kGlyph32, true, 0, 0, 4, false, dkBlended, false, 0, kPlain},
      {kGlyph32, false, 0, 0, 4, false, dkBlended, false, 0, kFaded},
      {kGlyph32, false, 0, 0, 4, false, dkGrayed, false, 0, kGrey},
      {kGlyph32, false, 0, 0, 4, false, dkBlended, true, 1, kPlain},
      {kGlyph32, false, 0, 0, 4, false, dkGrayed, true, 1, kGrey},
      {kGlyph32, true, 1, 0, 4, true, kNone, true, 0, kPlain},
      // Strip without alpha: the frame rule of the strip painter in the
      // order the manager asks for.
      {kGlyph24, true, 1, 0, 4, true, kNone, false, 1, kPlain},
      {kGlyph24, false, 1, 0, 4, true, kNone, false, 1, kPlain},
      {kGlyph24, true, 2, 1, 4, true, kNone, false, 3, kPlain},
      {kGlyph24, false, 2, 0, 2, true, kNone, false, 1, kPlain},
      {kGlyph24, true, 2, 0, 2, true, kNone, true, 0, kPlain},
      {kGlyph24, true, 1, 0, 4, false, dkBlended, false, 0, kPlain},
      {kGlyph24, true, 3, 0, 4, true, kNone, false, 2, kPlain},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << KindName(c.kind) << (c.toBitmap ? " to bitmap" : " to canvas") << " state "
                 << c.state << " down " << c.down << " frames " << c.numGlyphs
                 << (c.enabled ? "" : " disabled") << " look " << int(c.look)
                 << (c.stdOrder ? " std order" : ""));
    manager_->Options()->SetOption(TvlOptions::StdGlyphsOrderIndex, c.stdOrder);
    auto target = Target();
    auto glyph = Strip(c.kind == kGlyph32 ? pf32bit : pf24bit);
    GlyphPaintParams p;
    p.State = c.state;
    p.Down = c.down != 0;
    p.NumGlyphs = c.numGlyphs;
    p.Enabled = c.enabled;
    p.DisabledLook = c.look;
    p.DstRect = kDst;
    if (c.kind == kAlphaList || c.kind == kPlainList) {
      p.Images = c.kind == kAlphaList ? static_cast<TCustomImageList*>(alphaList_) : plainList_;
      p.ImageIndex = 0;
    } else {
      p.Glyph = glyph.get();
    }
    if (c.toBitmap)
      p.DstBitmap = target.get();
    else
      p.DstCanvas = target->Canvas();
    PaintButtonGlyph(p);

    // The strip column under the probe: frames of a list or a strip
    // without alpha are the picture cut into numGlyphs parts; a 32-bit
    // glyph's frame is as wide as the rectangle.
    const int frameWidth = c.kind == kGlyph32 ? kFW : kFrames * kFW / c.numGlyphs;
    const int column = c.frame * frameWidth + (kProbeX - kDst.Left);
    const Reading r = Read(GetArgbPixel(target.get(), kProbeX, kProbeY));
    EXPECT_EQ(r.frame, column / kFW);
    EXPECT_STREQ(LookName(r.look), LookName(c.seen));
    EXPECT_LT(r.error, 20.0);
    // Nothing outside the rectangle's frame.
    EXPECT_EQ(Rgb(GetArgbPixel(target.get(), 1, 1)), kBg);
  }
}

TEST_F(GlyphPaintTest, PlainListKeysOutItsBackgroundWhenCopiedAndMagentaWhenBlended) {
  // A list with a background colour fills an image's transparent pixels
  // with it; a plain copy leaves them out, while a blended copy keeps only
  // magenta out and so mixes the background in. Blend is the blend's keep
  // weight on the 0..255 scale: 50 keeps about a fifth of the target.
  constexpr uint32_t kListBg = 0x00C0C0;  // 0xRRGGBB
  auto list = OwnObject(New<TImageList>(nullptr));
  list->SetSize(kFW, kFW);
  list->SetBkColor(static_cast<TColor>(0xC0C000));  // TColor: blue in the high byte
  auto image = std::unique_ptr<TBitmap>(NewArgbBitmap(kFW, kFW));
  auto mask = std::make_unique<TBitmap>();
  mask->SetPixelFormat(pf1bit);
  mask->SetSize(kFW, kFW);
  mask->Canvas()->Brush()->SetColor(clBlack);
  mask->Canvas()->FillRect(TRect(0, 0, kFW, kFW));
  mask->Canvas()->Brush()->SetColor(clWhite);
  mask->Canvas()->FillRect(TRect(0, 0, kFW / 2, kFW));  // left half transparent
  FillRectArgb(image.get(), TRect(0, 0, kFW, kFW), static_cast<TColor>(0x2020E0), 255);
  image->SetPixelFormat(pf24bit);
  list->Add(image.get(), mask.get());

  for (int blend : {0, 50}) {
    SCOPED_TRACE(blend);
    auto target = Target();
    GlyphPaintParams p;
    p.Images = list.get();
    p.ImageIndex = 0;
    p.Blend = blend;
    p.DstBitmap = target.get();
    p.DstRect = kDst;
    PaintButtonGlyph(p);
    const uint32_t left = Rgb(GetArgbPixel(target.get(), kDst.Left + 2, kDst.Top + 8));
    const uint32_t right = Rgb(GetArgbPixel(target.get(), kDst.Left + 12, kDst.Top + 8));
    if (blend == 0) {
      EXPECT_EQ(left, kBg);
      EXPECT_EQ(right, 0xE02020u);
      continue;
    }
    for (int n = 0; n < 3; ++n) {
      EXPECT_EQ(Ch(left, n), (Ch(kListBg, n) * (255 - 50) + Ch(kBg, n) * 50) >> 8) << n;
      EXPECT_EQ(Ch(right, n), (Ch(0xE02020, n) * (255 - 50) + Ch(kBg, n) * 50) >> 8) << n;
    }
  }
}

TEST_F(GlyphPaintTest, EmptyAlphaGlyphIsReadWithoutAlphaWithItsHandlerKept) {
  // A 32-bit glyph saved without alpha is switched to 24 bits (so its key
  // colour works) when the manager asks for the check, when there is no
  // manager, or when the button is disabled; its change handler sees none
  // of it and is back afterwards.
  const struct {
    bool manager, checkOption, enabled;
    TPixelFormat after;
  } cases[] = {
      {true, true, true, pf24bit},
      {true, false, true, pf32bit},
      {true, false, false, pf24bit},
      {false, false, true, pf24bit},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.manager << c.checkOption << c.enabled);
    manager_->Options()->SetOption(TvlOptions::CheckEmptyAlphaIndex, c.checkOption);
    TsSkinManager* saved = DefaultManager;
    if (!c.manager) DefaultManager = nullptr;
    auto glyph = Strip(pf24bit);  // each frame's key at its bottom-left
    glyph->SetPixelFormat(pf32bit);
    const PixelView v = ArgbView(glyph.get());
    for (int y = 0; y < v.Height; ++y)
      for (int x = 0; x < v.Width; ++x) v.At(x, y) &= 0xFFFFFF;
    ChangeCounter counter;
    glyph->OnChange = TNotifyEvent::Of<&ChangeCounter::Changed>(&counter);
    auto target = Target();
    GlyphPaintParams p;
    p.Glyph = glyph.get();
    p.NumGlyphs = 4;
    p.Enabled = c.enabled;
    p.DstBitmap = target.get();
    p.DstRect = kDst;
    PaintButtonGlyph(p);
    DefaultManager = saved;
    EXPECT_EQ(glyph->PixelFormat(), c.after);
    EXPECT_EQ(counter.calls, 0);
    EXPECT_TRUE(glyph->OnChange == TNotifyEvent::Of<&ChangeCounter::Changed>(&counter));
    if (c.after == pf24bit) {
      // Read through its key, the frame shows its colour.
      EXPECT_EQ(Rgb(GetArgbPixel(target.get(), kProbeX, kProbeY)), kFrameColour[0]);
    }
  }
}

TEST(ExcludedPopupClassesTest, HoldsSevenSortedNamesComparedCaseByCase) {
  ASSERT_NE(ExcludedPopupClasses, nullptr);
  EXPECT_EQ(ExcludedPopupClasses->Count(), 7);
  EXPECT_TRUE(ExcludedPopupClasses->Sorted());
  for (int i = 1; i < ExcludedPopupClasses->Count(); ++i)
    EXPECT_LT(ExcludedPopupClasses->Strings(i - 1), ExcludedPopupClasses->Strings(i));
  for (const char* name :
       {"TApplication", "TfcPopup", "TcxComboBoxPopupWindow", "TcxCustomPopupWindow",
        "TdxPopupEditForm", "TcxDateEditPopupWindow", "TcxGridFilterPopup"})
    EXPECT_GE(ExcludedPopupClasses->IndexOf(name), 0) << name;
  for (const char* name : {"tcxgridfilterpopup", "TCXGRIDFILTERPOPUP", "TForm", "TcxGridFilter"})
    EXPECT_LT(ExcludedPopupClasses->IndexOf(name), 0) << name;
}

}  // namespace
