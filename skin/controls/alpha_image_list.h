// An image list whose images keep their whole alpha channel and can be
// rebuilt at any size. Beside the platform's list it keeps the image files
// themselves (PNG, icon or 32-bit BMP bytes), streamed with the form as
// "ImgData"; the platform's list is never streamed but rebuilt from them
// when the list is loaded, resized or rescaled for another DPI level.
// Painters take 32-bit images of any size from the files (resampled with
// the Mitchell filter, cached per item) and blend them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "widgets/graphics/bitmap.h"
#include "widgets/graphics/img_list.h"
#include "widgets/rtl/collections.h"
#include "widgets/rtl/units.h"

class TMemoryStream;
class TStream;
class TsAlphaImageList;

enum TsImageFormat : uint8_t { ifPNG, ifICO, ifBMP32 };
const TEnumInfo& ImageFormatInfo();

// One stored image file.
class TsImgListItem : public TCollectionItem {
  DECLARE_CLASS(TsImgListItem, TCollectionItem)
 public:
  explicit TsImgListItem(TCollection* Collection);
  ~TsImgListItem() override;

  // From another item: format, name, pixel format, file size, text, bytes.
  void Assign(TPersistent* Source) override;
  // "ImgData", always written, even empty.
  void DefineProperties(TFiler& Filer) override;

  std::string Text;
  std::string ImageName;
  TsImageFormat ImageFormat = ifPNG;
  TPixelFormat PixelFormat = pf32bit;
  // Size of the decoded file, recorded when the platform list is built.
  int32_t OrigWidth = 0;
  int32_t OrigHeight = 0;

  TMemoryStream* ImgData() const { return imgData_.get(); }
  // The 32-bit copy at the list's current size; null when none is kept.
  TBitmap* CacheBitmap() const { return cacheBitmap_.get(); }
  void SetCacheBitmap(std::unique_ptr<TBitmap> Value) { cacheBitmap_ = std::move(Value); }
  void FreeCache() { cacheBitmap_.reset(); }

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  std::unique_ptr<TMemoryStream> imgData_;
  std::unique_ptr<TBitmap> cacheBitmap_;
};

class TsImgListItems : public TCollection {
  DECLARE_CLASS(TsImgListItems, TCollection)
 public:
  explicit TsImgListItems(TsAlphaImageList* Owner);
  ~TsImgListItems() override;
  TsImgListItem* Items(int Index) const;
  TsImgListItem* Add() { return static_cast<TsImgListItem*>(TCollection::Add()); }
  TPersistent* GetOwner() const override;

 private:
  TsAlphaImageList* owner_;
};

class TsAlphaImageList : public TImageList {
  DECLARE_CLASS(TsAlphaImageList, TImageList)
 public:
  explicit TsAlphaImageList(TComponent* AOwner);
  ~TsAlphaImageList() override;
  void AfterConstruction() override;
  void Loaded() override;
  // Nil: the platform list goes. Another alpha list: its settings, its
  // stored size and its images (files when this list keeps them).
  void Assign(TPersistent* Source) override;

  // The platform list's size, rescaled first when the DPI level moved.
  int Width();
  int Height();
  // Record the unscaled size (once Ready) and rebuild.
  void SetWidth(int Value);
  void SetHeight(int Value);
  TColor BkColor() const override;
  void SetBkColor(TColor Value) override;

  TsImgListItems* Items() const { return items_.get(); }
  void SetItems(TsImgListItems* Value);
  bool UseCache() const { return useCache_; }
  // Either way every item's cached copy goes.
  void SetUseCache(bool Value);
  bool AllowScale() const { return allowScale_; }
  void SetAllowScale(bool Value) { allowScale_ = Value; }
  bool KeepItems() const { return keepItems_; }
  void SetKeepItems(bool Value) { keepItems_ = Value; }
  bool OpaqueDraw() const { return opaqueDraw_; }
  void SetOpaqueDraw(bool Value) { opaqueDraw_ = Value; }

  bool Ready() const { return ready_; }
  bool Updating() const { return updating_; }
  bool ImagesGenerated() const { return imagesGenerated_; }
  int ScaleIndex() const { return scaleIndex_; }
  int StoredWidth() const { return storedWidth_; }
  int StoredHeight() const { return storedHeight_; }
  bool KeepsItems() const;
  // The list follows the default manager's DPI level: allowed, ready, a
  // default manager exists (with or without a skin), not designed, and
  // there are files to rebuild from.
  bool CanScale() const;

  void BeginUpdate() { updating_ = true; }
  void EndUpdate(bool Changed);
  // Every item's bytes, the items, then the platform list's images.
  void ClearAll();
  void ClearItems();
  // Rebuilds the platform list for DPI level 0..3 when it can scale and the
  // level differs.
  void SetScaleIndex(int Level);
  // Rebuilds the platform list from the items. A file that does not decode
  // raises the decoder's exception; the list is left usable.
  void GenerateImages();
  // A new 32-bit bitmap (the caller's) of image Index at Width x Height;
  // null for an index outside the list.
  TBitmap* MakeArgbImage(int Index, int Width, int Height);
  // Image Index's cached copy when one of exactly W x H is kept (still the
  // item's: valid until the next rebuild or size change), else null.
  TBitmap* CachedImage(int Index, int W, int H) const;
  // Rescales when the DPI level of the default manager moved.
  void UpdateScale();

 protected:
  void AssignTo(TPersistent* Dest) override;
  HIMAGELIST CreateListHandle() override;
  void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) override;
  void Change() override;

 private:
  friend bool AddImageFromStream(TsAlphaImageList* List, TStream& Stream);
  void ChangeInherited() { TImageList::Change(); }
  // A decoded file as the list's next image, at the list's size.
  void AddPicture(TBitmap* Bitmap);
  void FixPlatformImages();
  bool Loading() const { return HasState(csLoading); }

  bool ready_ = false;
  bool useCache_ = true;
  bool updating_ = false;
  bool allowScale_ = true;
  bool imagesGenerated_ = false;
  std::unique_ptr<TsImgListItems> items_;
  TColor storedBkColor_ = clNone;
  int scaleIndex_ = 0;
  int storedHeight_ = 0;
  int storedWidth_ = 0;
  bool keepItems_ = true;
  bool opaqueDraw_ = false;
};

// Every live alpha image list, in creation order: made by the first list,
// freed by the unit's shutdown step.
extern std::vector<TsAlphaImageList*>* AlphaImageLists;
using TAlphaImageListProc = void (*)(TsAlphaImageList* List, intptr_t Data);
void ForEachAlphaImageList(TAlphaImageListProc Proc, intptr_t Data);

// Copies of Source's images into Dest (files when Dest keeps them).
void CopyImages(TsAlphaImageList* Dest, TsAlphaImageList* Source);
// Appends the PNG file the memory stream holds. False without a handle or
// when the bytes do not decode; such bytes leave no item behind.
bool AddImageFromStream(TsAlphaImageList* List, TStream& Stream);
// A 32-bit bitmap with no alpha at all: every pixel that differs from the
// bottom-left one becomes opaque; nothing when any alpha byte is set.
void FixEmptyAlpha(TBitmap* Bitmap);
// Bits per pixel of the screen.
int ScreenBitsPerPixel();

// Frame min(State, NumGlyphs - 1) of image Index (the image cut into
// max(1, NumGlyphs) frames side by side) blended into the 32-bit Bitmap at
// (X, Y); answers the frame's size (0 x 0 when nothing was drawn).
TSize DrawImageToBitmap(TCustomImageList* List, TBitmap* Bitmap, int X, int Y, int Index,
                        int Transparency, TColor TintColor, int State, int NumGlyphs,
                        bool Reflected);
// The same onto a device context, through a work bitmap.
void DrawImageToDC(TCustomImageList* List, HDC DC, int X, int Y, int Index, int Transparency,
                   TColor TintColor, int State, int NumGlyphs, bool Reflected);

// Registers the class for the form reader, lends the skin engine the
// preview list and the rescale step, and frees AlphaImageLists at shutdown.
extern const TUnitInfo AlphaImageListUnit;
