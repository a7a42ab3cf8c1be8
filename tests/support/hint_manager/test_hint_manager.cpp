#include "test_hint_manager.h"

#include <algorithm>

#include "png_writer.h"
#include "widgets/rtl/streams.h"

namespace test_hints {

namespace {

void PutSamples(PngDesc& d, int x, int y, uint32_t argb) {
  const size_t i = (size_t(y) * d.Width + size_t(x)) * 4;
  d.Samples[i] = uint16_t((argb >> 16) & 0xFF);
  d.Samples[i + 1] = uint16_t((argb >> 8) & 0xFF);
  d.Samples[i + 2] = uint16_t(argb & 0xFF);
  d.Samples[i + 3] = uint16_t(argb >> 24);
}

// The picture's bytes go where a stored form keeps them; the window
// decodes them when it first needs the picture.
void LoadPicture(TvlHintImage* image, uint32_t face) {
  const std::vector<uint8_t> png = HintPicturePng(face);
  image->ImgData()->Clear();
  image->ImgData()->Write(png.data(), int32_t(png.size()));
  image->BordersWidths().SetSizes(kBorder, kBorder, kBorder, kBorder);
  image->ShadowSizes().SetSizes(kShadow, kShadow, kShadow, kShadow);
  image->ClientMargins().SetSizes(kMargin, kMargin, kMargin, kMargin);
}

}  // namespace

std::vector<uint8_t> HintPicturePng(uint32_t Face) {
  PngDesc d;
  d.Width = d.Height = kPictureSize;
  d.ColorType = 6;
  d.BitDepth = 8;
  d.Samples.assign(size_t(kPictureSize) * kPictureSize * 4, 0);
  for (int y = 0; y < kPictureSize; ++y)
    for (int x = 0; x < kPictureSize; ++x) {
      const int edge =
          std::min(std::min(x, y), std::min(kPictureSize - 1 - x, kPictureSize - 1 - y));
      PutSamples(d, x, y, edge < kShadow ? kShadowColour : edge == kShadow ? kRim : Face);
    }
  return EncodePng(d);
}

TTestHintManager::TTestHintManager() : Items(std::make_unique<TvlHintTemplates>(this)) {
  LoadingFlag = true;
  TvlHintTemplate* plain = Items->Add();
  plain->Name = "plain";
  LoadPicture(plain->ImageDefault(), kPlainFace);
  TvlHintTemplate* corners = Items->Add();
  corners->Name = "corners";
  // Images 0..3 are ImageDefault, Img_LeftBottom, Img_RightBottom,
  // Img_RightTop: corners 0, 1, 3 and 2.
  const int cornerOfImage[4] = {0, 1, 3, 2};
  for (int i = 0; i < 4; ++i) LoadPicture(corners->Images(i), kCornerFaces[cornerOfImage[i]]);
  for (TvlHintTemplate* t : {plain, corners}) {
    TFont font;
    font.SetName("Arial");
    font.SetHeight(-12);
    font.SetColor(clBlack);
    t->SetFont(&font);
  }
  LoadingFlag = false;
}

TTestHintManager::~TTestHintManager() {
  if (ActiveHintManager == this) ActiveHintManager = nullptr;
  ReleaseHintState(this);
}

int TTestHintManager::TemplateCount() const {
  return Items->Count();
}

TvlHintTemplate* TTestHintManager::Templates(int Index) const {
  return Items->Items(Index);
}

bool TTestHintManager::ShowHintEvent(std::string& Text, bool& CanShow, TWinControl*& Custom,
                                     THintInfo& Info) {
  if (!OnShowHint) return false;
  return OnShowHint(Text, CanShow, Custom, Info);
}

}  // namespace test_hints
