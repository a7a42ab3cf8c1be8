// A synthetic skin for the painters: sections, images and a master bitmap
// held in memory. Images with a bitmap of their own point at a TestImage
// (the painters never look inside the pointer; the skin resolves it).
#pragma once

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

  std::vector<TsGeneralData> sections;
  std::vector<TsMaskData> images;

 private:
  mutable TestImage master_;
};
