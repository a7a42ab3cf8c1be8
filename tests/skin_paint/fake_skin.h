// A synthetic skin for the painters: sections, images and a master bitmap
// held in memory. Images with a bitmap of their own point at a TestImage
// (the painters never look inside the pointer; the skin resolves it).
#pragma once

#include <deque>
#include <vector>

#include "skin/foundation/skin_source.h"
#include "test_images.h"

class FakeSkin : public SkinSource {
 public:
  explicit FakeSkin(int masterW = 1, int masterH = 1) : master_(masterW, masterH, 0) {}
  int SectionCount() const override { return static_cast<int>(sections.size()); }
  const TsGeneralData& Section(int i) const override { return sections[i]; }
  int ImageCount() const override { return static_cast<int>(images.size()); }
  const TsMaskData& ImageData(int i) const override { return images[i]; }
  PixelView MasterPixels() const override { return master_.View(); }
  PixelView OwnImagePixels(const TsMaskData& m) const override {
    return reinterpret_cast<TestImage*>(m.Image)->View();
  }
  TestImage& Master() { return master_; }

  // Adds an image cut from `own` (or the master bitmap when null).
  int AddImage(RECT sourceRect, int frames, int masks, TestImage* own = nullptr) {
    TsMaskData m;
    m.SourceRect = sourceRect;
    m.FrameCount = static_cast<int16_t>(frames);
    m.MaskCount = static_cast<int16_t>(masks);
    m.Image = reinterpret_cast<TBitmap*>(own);
    m.Owner = this;
    ComputeMaskFrameSize(m);
    images.push_back(m);
    return static_cast<int>(images.size()) - 1;
  }

  // A borders mask with a bitmap of its own: 90 x 40, three frames 30 wide.
  // Pixel (x, y) of frame f is 0xFF000000 | f << 16 | x << 8 | y, in frame
  // coordinates, except the key colour in every corner (the outer two pixels
  // of the outer row and the outer pixel of the next row) and at one pixel
  // of the top edge (15, 0) and one of the left edge (0, 20).
  int AddBorderMask(int paintMode, int left, int top, int right, int bottom) {
    TestImage& img = owned_.emplace_back(90, 40);
    for (int f = 0; f < 3; ++f) {
      for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 30; ++x) {
          img.at(f * 30 + x, y) = 0xFF000000u | uint32_t(f) << 16 | uint32_t(x) << 8 | uint32_t(y);
        }
      }
      const int keys[][2] = {{0, 0},  {1, 0},  {0, 1},   {29, 0},  {28, 0},  {29, 1}, {0, 39},
                             {1, 39}, {0, 38}, {29, 39}, {28, 39}, {29, 38}, {15, 0}, {0, 20}};
      for (const auto& k : keys) img.at(f * 30 + k[0], k[1]) = kKeyPixel;
    }
    const int index = AddImage(MakeRECT(0, 0, 90, 40), 3, 0, &img);
    TsMaskData& m = images[index];
    m.PaintMode = static_cast<int16_t>(paintMode);
    m.BorderLeft = static_cast<int16_t>(left);
    m.BorderTop = static_cast<int16_t>(top);
    m.BorderRight = static_cast<int16_t>(right);
    m.BorderBottom = static_cast<int16_t>(bottom);
    return index;
  }

  std::vector<TsGeneralData> sections;
  std::vector<TsMaskData> images;

 private:
  mutable TestImage master_;
  std::deque<TestImage> owned_;
};
