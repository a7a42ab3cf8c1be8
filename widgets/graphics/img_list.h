// A list of equally sized images over the common controls' image list:
// what menus (and later tool bars and buttons) draw their glyphs from.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "widgets/rtl/components.h"
#include "widgets/graphics/gdi_handles.h"

class TBitmap;
class TCanvas;

struct TImageListTraits {
  static void Free(HIMAGELIST h) { ImageList_Destroy(h); }
};

class TCustomImageList : public TComponent {
  DECLARE_CLASS(TCustomImageList, TComponent)
 public:
  explicit TCustomImageList(TComponent* AOwner);
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changing the size empties the list.
  void SetSize(int Width, int Height);
  int Count() const;
  // Appends the images the bitmap holds side by side; the mask (may be null)
  // marks the transparent pixels. Returns the first new index.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Transparent where the mask says; greyed when not Enabled.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  HIMAGELIST Handle();

 private:
  TOwnedHandle<HIMAGELIST, TImageListTraits> handle_;
  int width_ = 16, height_ = 16;
};

class TImageList : public TCustomImageList {
  DECLARE_CLASS(TImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
};
