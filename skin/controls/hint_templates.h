// Hint templates: a bubble drawn from PNG pictures, one per corner the hint
// point may sit at, each cut into nine pieces by its border widths, with a
// transparent shadow around the visible bubble and margins around the text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "skin/foundation/png_graphic.h"
#include "widgets/graphics/graphics.h"
#include "widgets/rtl/collections.h"
#include "widgets/rtl/units.h"

class TMemoryStream;
class TvlHintImage;
class TvlHintManager;
class TvlHintTemplate;

// Four sides of an image: border widths, shadow strips or text margins. A
// negative side reads 0. With CheckSize a side is kept below the image's
// size in its direction and the opposite side shrinks to fit beside it.
class TvlBordersSizes : public TPersistent {
  DECLARE_CLASS(TvlBordersSizes, TPersistent)
 public:
  enum Side { sTop = 0, sLeft = 1, sBottom = 2, sRight = 3 };
  explicit TvlBordersSizes(TvlHintImage* Owner = nullptr) : owner_(Owner) {}

  int Get(int Side) const { return sides_[Side] < 0 ? 0 : sides_[Side]; }
  void Set(int Side, int Value);
  int Top() const { return Get(sTop); }
  int Left() const { return Get(sLeft); }
  int Bottom() const { return Get(sBottom); }
  int Right() const { return Get(sRight); }
  void SetSizes(int Left, int Top, int Right, int Bottom);
  bool CheckSize = false;

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  TvlHintImage* owner_;
  int32_t sides_[4] = {0, 0, 0, 0};
};

enum TvlBorderDrawMode : uint8_t { dmRepeat, dmStretch };
const TEnumInfo& BorderDrawModeInfo();

class TvlBorderDrawModes : public TPersistent {
  DECLARE_CLASS(TvlBorderDrawModes, TPersistent)
 public:
  enum Part { pTop = 0, pLeft = 1, pBottom = 2, pRight = 3, pCenter = 4 };
  explicit TvlBorderDrawModes(TvlHintImage* Owner = nullptr) : owner_(Owner) {}
  TvlBorderDrawMode Get(int Part) const { return modes_[Part]; }
  void Set(int Part, TvlBorderDrawMode Value);

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  TvlHintImage* owner_;
  TvlBorderDrawMode modes_[5] = {dmStretch, dmStretch, dmStretch, dmStretch, dmStretch};
};

// One corner picture of a template. The PNG file's bytes ("ImgData") are
// what a form stores; the picture is decoded from them when first needed.
class TvlHintImage : public TPersistent {
  DECLARE_CLASS(TvlHintImage, TPersistent)
 public:
  explicit TvlHintImage(TvlHintTemplate* Owner = nullptr);
  ~TvlHintImage() override;

  int OffsetHorz = 0;
  int OffsetVert = 0;
  TvlBordersSizes& ShadowSizes() { return shadow_; }
  TvlBordersSizes& ClientMargins() { return margins_; }
  TvlBordersSizes& BordersWidths() { return borders_; }
  TvlBorderDrawModes& BorderDrawModes() { return modes_; }
  const TvlBordersSizes& ShadowSizes() const { return shadow_; }
  const TvlBordersSizes& ClientMargins() const { return margins_; }
  const TvlBordersSizes& BordersWidths() const { return borders_; }

  TPNGGraphic* Image() const { return image_.get(); }
  // Assigns the picture, fits the borders and margins to it and notifies.
  void SetImage(TBitmap* Value);
  int ImageWidth() const { return image_->Empty() ? 0 : image_->Width(); }
  int ImageHeight() const { return image_->Empty() ? 0 : image_->Height(); }
  bool Empty() const { return image_->Empty(); }
  void ClearImage() { image_ = std::make_unique<TPNGGraphic>(); }

  TMemoryStream* ImgData() const { return imgData_.get(); }
  // Decodes ImgData into Image when Image is empty and there are bytes;
  // malformed bytes leave it empty.
  void LoadHintImageFromData();
  // Left/right border widths and client margins := (width - 1) div 2,
  // top/bottom := (height - 1) div 2.
  void FitHintImageBorders();
  // The owning template's change report.
  void Notify();

  void DefineProperties(TFiler& Filer) override;

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  TvlHintTemplate* owner_;
  TvlBordersSizes shadow_, margins_, borders_;
  TvlBorderDrawModes modes_;
  std::unique_ptr<TPNGGraphic> image_;
  std::unique_ptr<TMemoryStream> imgData_;
};

enum TvlHintAlign : uint8_t { haHorzCenter, haVertCenter };

class TvlHintTemplate : public TCollectionItem {
  DECLARE_CLASS(TvlHintTemplate, TCollectionItem)
 public:
  explicit TvlHintTemplate(TCollection* Collection);
  ~TvlHintTemplate() override;

  // 0 ImageDefault, 1 Img_LeftBottom, 2 Img_RightBottom, 3 Img_RightTop.
  TvlHintImage* Images(int Index) const { return images_[Index].get(); }
  void SetImages(int Index, TvlHintImage* Value);
  TvlHintImage* ImageDefault() const { return Images(0); }
  TvlHintImage* Img_LeftBottom() const { return Images(1); }
  TvlHintImage* Img_RightBottom() const { return Images(2); }
  TvlHintImage* Img_RightTop() const { return Images(3); }
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* Value);
  TvlHintAlign HintAlign = haHorzCenter;
  std::string Name;
  std::string GetDisplayName() const override {
    return Name.empty() ? TCollectionItem::GetDisplayName() : Name;
  }

  // Tells the manager of the collection the template belongs to, unless it
  // is loading; nested reports are dropped.
  void NotifyTemplateOwner();

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  std::unique_ptr<TvlHintImage> images_[4];
  std::unique_ptr<TFont> font_;
};

// The templates of one manager.
class TvlHintTemplates : public TCollection {
  DECLARE_CLASS(TvlHintTemplates, TCollection)
 public:
  explicit TvlHintTemplates(TvlHintManager* Manager);
  TvlHintTemplate* Items(int Index) const;
  TvlHintTemplate* Add() { return static_cast<TvlHintTemplate*>(TCollection::Add()); }
  TvlHintManager* Manager() const { return manager_; }

 private:
  TvlHintManager* manager_;
};

// The template used when the manager's index names none; built by the
// unit's start-up from the program's "VLHINT" picture, freed by its
// shutdown. Nil outside them.
extern TvlHintTemplate* DefaultHintTemplate;
// Builds DefaultHintTemplate with Png as its default picture (nil or
// undecodable bytes: no picture) and its fixed sizes. Sizes are set, not
// fitted to the picture.
void BuildDefaultHintTemplate(TStream* Png);

extern const TUnitInfo AlphaHintsUnit;
