// The alpha image list's platform list built from its files, 32-bit images
// made from them at any size, images added from a stream, and what a change
// of the platform list sets right.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "skin/controls/alpha_image_list.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "skin/foundation/argb_bitmap.h"
#include "skin/foundation/argb_factories.h"
#include "skin/foundation/bitmap_painters.h"
#include "skin/foundation/draw_helpers.h"
#include "skin/foundation/skin_const.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/graphics/icon.h"
#include "widgets/rtl/exceptions.h"
#include "widgets/rtl/flag_scope.h"
#include "widgets/rtl/streams.h"

namespace {

// The image file of a PNG or 32-bit BMP item as a 32-bit bitmap. A BMP
// without any alpha (saved by a program that writes none) takes it from its
// colours, as a bitmap of fewer bits would.
TOwnedObject<TBitmap> DecodeItem(TsImgListItem* Item) {
  auto bitmap = OwnObject(New<TBitmap>());
  TMemoryStream& data = *Item->ImgData();
  data.SetPosition(0);
  if (Item->ImageFormat == ifPNG) {
    LoadPngStreamToBitmap(bitmap.get(), data);
  } else {
    bitmap->LoadFromStream(data);
    bitmap->SetPixelFormat(pf32bit);
    FixEmptyAlpha(bitmap.get());
  }
  return bitmap;
}

// An icon's colour bitmap as a new 32-bit work bitmap. The bitmap may be a
// device bitmap, which a pixel-format change would convert without its
// alpha bytes: the bits are read as 32-bit pixels instead.
TOwnedObject<TBitmap> IconColourBits(HBITMAP Colour) {
  BITMAP bm{};
  if (!GetObject(Colour, sizeof bm, &bm)) return OwnObject(NewArgbBitmap(0, 0));
  auto result = OwnObject(NewArgbBitmap(bm.bmWidth, bm.bmHeight));
  const PixelView v = ArgbView(result.get());
  if (!v.Valid()) return result;
  std::vector<uint32_t> bits(static_cast<size_t>(v.Width) * static_cast<size_t>(v.Height));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = v.Width;
  bi.bmiHeader.biHeight = -v.Height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  TWindowDC screen(nullptr);
  if (!GetDIBits(screen.Get(), Colour, 0, static_cast<UINT>(v.Height), bits.data(), &bi,
                 DIB_RGB_COLORS))
    return result;
  for (int y = 0; y < v.Height; ++y)
    std::copy_n(bits.data() + static_cast<size_t>(y) * static_cast<size_t>(v.Width), v.Width,
                v.Row(y));
  return result;
}

// 1 where a 32-bit picture is fully transparent: the mask an icon of the
// picture gets. Monochrome rows are padded to 16 bits.
TOwnedBitmap TransparencyMask(const PixelView& Picture) {
  const int stride = ((Picture.Width + 15) / 16) * 2;
  std::vector<uint8_t> bits(static_cast<size_t>(stride) * static_cast<size_t>(Picture.Height), 0);
  for (int y = 0; y < Picture.Height; ++y) {
    const uint32_t* row = Picture.Row(y);
    uint8_t* out = bits.data() + static_cast<size_t>(y) * static_cast<size_t>(stride);
    for (int x = 0; x < Picture.Width; ++x)
      if ((row[x] >> 24) == 0) out[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  }
  return TOwnedBitmap(CreateBitmap(Picture.Width, Picture.Height, 1, 1, bits.data()));
}

// Adds a 32-bit picture to the list as the icon road adds it, without the
// icons. That road makes an icon of the picture and its transparency mask,
// the list copies the icon at its own size (both bitmaps stretched in the
// default stretch mode) and takes the copy apart again: three icon objects
// per image, which cost the platform far more than the pixels do. Here the
// two bitmaps are stretched to the list's size as the copy would be and
// added as they are. False when the platform refuses a step.
bool AddArgbPicture(HIMAGELIST List, TBitmap* Picture) {
  const PixelView v = ArgbView(Picture);
  int cx = 0, cy = 0;
  if (!v.Valid() || !ImageList_GetIconSize(List, &cx, &cy) || cx <= 0 || cy <= 0) return false;
  TOwnedBitmap mask = TransparencyMask(v);
  auto colour = OwnObject(NewArgbBitmap(cx, cy));
  TOwnedBitmap fittedMask(CreateBitmap(cx, cy, 1, 1, nullptr));
  if (!mask || colour->Empty() || !fittedMask) return false;
  const HBITMAP fittedColour = colour->Handle();
  {
    TMemoryDC source(CreateCompatibleDC(nullptr)), target(CreateCompatibleDC(nullptr));
    if (!source || !target) return false;
    // Reading a handle takes the bitmap out of its canvas's DC: a bitmap
    // stands in one DC at a time.
    {
      TSelectedObject from(source.Get(), Picture->Handle()), to(target.Get(), fittedColour);
      if (!StretchBlt(target.Get(), 0, 0, cx, cy, source.Get(), 0, 0, v.Width, v.Height, SRCCOPY))
        return false;
    }
    TSelectedObject from(source.Get(), mask.Get()), to(target.Get(), fittedMask.Get());
    if (!StretchBlt(target.Get(), 0, 0, cx, cy, source.Get(), 0, 0, v.Width, v.Height, SRCCOPY))
      return false;
  }
  return ImageList_Add(List, fittedColour, fittedMask.Get()) >= 0;
}

TOwnedObject<TBitmap> CopyOf(TBitmap* Source) {
  auto copy = OwnObject(New<TBitmap>());
  CopyBitmapInto(copy.get(), Source);
  return copy;
}

}  // namespace

void TsAlphaImageList::AddPicture(TBitmap* Bitmap) {
  const HIMAGELIST list = Handle();
  // The platform's major version only: 5 stands for 2000 and XP alike.
  if (WindowsVersion >= 5 && Bitmap->PixelFormat() == pf32bit && AddArgbPicture(list, Bitmap))
    return;
  TOwnedIcon icon(
      WindowsVersion >= 5
          ? IconFromArgbBitmap(Bitmap, ColorToRGB(GetColorFromRGB(ImageList_GetBkColor(list))))
          : IconFromBitmapTopLeftKey(Bitmap));
  if (icon) ImageList_ReplaceIcon(list, -1, icon.Get());
}

void TsAlphaImageList::GenerateImages() {
  if (storedHeight_ == 0 && TImageList::Width() == 16 && TImageList::Height() == 16 && !updating_) {
    {
      TFlagScope<bool> updating(updating_);
      DestroyHandle();
      SetWidth(16);
      SetHeight(16);
    }
    if (storedHeight_ == 0) return;
  }
  if (!HandleAllocated()) {
    try {
      Handle();
    } catch (const EOutOfResources&) {
      return;
    }
  }
  // Lowered however the loop ends: a file that does not decode raises out
  // of here, and the list must still tell of its later changes.
  TFlagScope<bool> updating(updating_);
  const HIMAGELIST list = Handle();
  ImageList_Remove(list, -1);
  for (int i = 0; i < items_->Count(); ++i) {
    TsImgListItem* item = items_->Items(i);
    if (item->ImageFormat == ifICO) {
      auto icon = OwnObject(New<TIcon>());
      item->ImgData()->SetPosition(0);
      icon->LoadFromStream(*item->ImgData());
      item->OrigWidth = icon->Width();
      item->OrigHeight = icon->Height();
      ImageList_ReplaceIcon(list, -1, icon->Handle());
      continue;
    }
    auto bitmap = DecodeItem(item);
    item->OrigWidth = bitmap->Width();
    item->OrigHeight = bitmap->Height();
    AddPicture(bitmap.get());
  }
  if (items_->Count() > 0) {
    imagesGenerated_ = true;
    if (!KeepsItems()) ClearItems();
  }
}

TBitmap* TsAlphaImageList::MakeArgbImage(int Index, int W, int H) {
  if (!HandleAllocated() || Index < 0 || Index >= Count()) return nullptr;
  if (KeepsItems() && Index < items_->Count() && items_->Items(Index)->ImgData()->Size() > 0 &&
      items_->Items(Index)->ImageFormat != ifICO) {
    TsImgListItem* item = items_->Items(Index);
    if (TBitmap* cache = item->CacheBitmap()) {
      if (useCache_ && cache->Width() == W && cache->Height() == H) return CopyOf(cache).release();
      item->FreeCache();
    }
    TOwnedObject<TBitmap> result;
    if (item->OrigWidth == W && item->OrigHeight == H) {
      result = DecodeItem(item);
    } else {
      auto work = DecodeItem(item);
      result = OwnObject(NewArgbBitmap(W, H));
      ResampleArgb(work.get(), result.get(), W, H, rsMitchell);
    }
    if (useCache_) item->SetCacheBitmap(std::unique_ptr<TBitmap>(CopyOf(result.get()).release()));
    return result.release();
  }
  // Icons, and lists without files: the platform list's image.
  TOwnedIcon icon(ImageList_GetIcon(Handle(), Index, 0));
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon.Get(), &info)) return NewArgbBitmap(W, H);
  TOwnedBitmap mask(info.hbmMask);
  TOwnedBitmap colour(info.hbmColor);
  if (!colour) return NewArgbBitmap(W, H);
  auto result = IconColourBits(colour.Get());
  if (WindowsVersion < 6 && (ScreenBitsPerPixel() < 32 || !DefaultManager ||
                             DefaultManager->Options()->CheckEmptyAlpha()))
    FixEmptyAlpha(result.get());
  return result.release();
}

TBitmap* TsAlphaImageList::CachedImage(int Index, int W, int H) const {
  if (!useCache_ || !HandleAllocated() || Index < 0 || Index >= Count() || Index >= items_->Count())
    return nullptr;
  TBitmap* cache = items_->Items(Index)->CacheBitmap();
  return cache && cache->Width() == W && cache->Height() == H ? cache : nullptr;
}

bool AddImageFromStream(TsAlphaImageList* List, TStream& Stream) {
  if (!List || !List->HandleAllocated()) return false;
  bool added = false;
  TsImgListItem* item = nullptr;
  try {
    auto bitmap = OwnObject(New<TBitmap>());
    if (List->KeepsItems()) {
      item = List->Items()->Add();
      item->ImgData()->LoadFromStream(Stream);
      item->ImageFormat = ifPNG;
      item->PixelFormat = pf32bit;
      item->ImgData()->SetPosition(0);
      LoadPngStreamToBitmap(bitmap.get(), *item->ImgData());
      item->OrigWidth = bitmap->Width();
      item->OrigHeight = bitmap->Height();
    } else {
      LoadPngStreamToBitmap(bitmap.get(), Stream);
    }
    TOwnedIcon icon(IconFromBitmapTopLeftKey(bitmap.get()));
    added = icon && ImageList_ReplaceIcon(List->Handle(), -1, icon.Get()) >= 0;
  } catch (...) {
    added = false;
  }
  // An item without its image would shift every later image's index, and
  // bytes that do not decode would raise out of every later rebuild.
  if (!added && item) List->Items()->Delete(item->Index());
  try {
    List->Change();
  } catch (...) {
  }
  return added;
}

void TsAlphaImageList::Change() {
  if (updating_ || !HandleAllocated() || Loading() || !imagesGenerated_) return;
  const bool designing = HasState(csDesigning);
  const bool fromItems = KeepsItems() && Count() <= items_->Count();
  if (!fromItems || designing) ChangeInherited();
  if (designing) return;
  if (fromItems) {
    if (Count() < items_->Count()) GenerateImages();
    ChangeInherited();
    return;
  }
  FixPlatformImages();
}

void TsAlphaImageList::FixPlatformImages() {
  // Images added through the platform's own calls may carry no alpha at
  // all: they become opaque except for the magenta key.
  const HIMAGELIST list = Handle();
  for (int i = 0; i < ImageList_GetImageCount(list); ++i) {
    TOwnedIcon icon(ImageList_GetIcon(list, i, ILD_NORMAL));
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon.Get(), &info)) continue;
    TOwnedBitmap mask(info.hbmMask);
    TOwnedBitmap original(info.hbmColor);
    if (!original) continue;
    auto colour = IconColourBits(original.Get());
    const PixelView v = ArgbView(colour.get());
    bool anyAlpha = false;
    for (int y = 0; y < v.Height && !anyAlpha; ++y)
      for (int x = 0; x < v.Width; ++x)
        if (v.At(x, y) >> 24) {
          anyAlpha = true;
          break;
        }
    if (anyAlpha) continue;
    for (int y = 0; y < v.Height; ++y)
      for (int x = 0; x < v.Width; ++x)
        if (v.At(x, y) != kKeyPixel) v.At(x, y) |= 0xFF000000u;
    ICONINFO fixed{TRUE, 0, 0, mask.Get(), colour->Handle()};
    TOwnedIcon rebuilt(CreateIconIndirect(&fixed));
    if (rebuilt) ImageList_ReplaceIcon(list, i, rebuilt.Get());
  }
}
