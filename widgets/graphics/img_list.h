// A list of equally sized images over the common controls' image list:
// what menus (and later tool bars and buttons) draw their glyphs from, and
// the base of the skin library's alpha image list.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "widgets/graphics/colors.h"
#include "widgets/graphics/gdi_handles.h"
#include "widgets/rtl/components.h"
#include "widgets/rtl/events.h"

class TBitmap;
class TCanvas;
class TCustomImageList;

struct TImageListTraits {
  static void Free(HIMAGELIST h) { ImageList_Destroy(h); }
};

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

// Lets an object hear of a list's changes: registered with RegisterChanges,
// it leaves the list by itself when freed first.
class TChangeLink : public TObject {
  DECLARE_CLASS(TChangeLink, TObject)
 public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TCustomImageList* Sender() const { return sender_; }
  TNotifyEvent OnChange;
  virtual void Change();

 private:
  friend class TCustomImageList;
  TCustomImageList* sender_ = nullptr;
};

class TCustomImageList : public TComponent {
  DECLARE_CLASS(TCustomImageList, TComponent)
 public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;

  // The size of the platform list once it exists (a descendant may make it
  // at another size than the one set), else the size set.
  int Width() const;
  int Height() const;
  // Changing the size empties the list.
  void SetSize(int Width, int Height);
  void SetWidth(int Value) { SetSize(Value, height_); }
  void SetHeight(int Value) { SetSize(width_, Value); }
  int Count() const;
  // Appends the images the bitmap holds side by side; the mask (may be null)
  // marks the transparent pixels. Returns the first new index.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Removes every image; the list keeps its handle.
  void Clear();
  // Transparent where the mask says; greyed when not Enabled. Goes through
  // DoDraw for a valid index.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  // Creates the platform list when missing; raises EOutOfResources when it
  // cannot be made.
  HIMAGELIST Handle();
  bool HandleAllocated() const { return static_cast<bool>(handle_); }
  // Takes Value as the platform list: the one held goes first (destroyed
  // unless ShareImages), then the listeners hear of the change.
  void SetHandle(HIMAGELIST Value);
  // Gives the platform list up (destroyed unless ShareImages) and tells the
  // listeners.
  void DestroyHandle();

  bool ShareImages() const { return shareImages_; }
  void SetShareImages(bool Value) { shareImages_ = Value; }
  bool Masked() const { return masked_; }
  void SetMasked(bool Value);
  int AllocBy() const { return allocBy_; }
  void SetAllocBy(int Value) { allocBy_ = Value; }
  TImageType ImageType() const { return imageType_; }
  void SetImageType(TImageType Value) { imageType_ = Value; }
  TDrawingStyle DrawingStyle() const { return drawingStyle_; }
  void SetDrawingStyle(TDrawingStyle Value) { drawingStyle_ = Value; }
  TColor BlendColor() const { return blendColor_; }
  void SetBlendColor(TColor Value) { blendColor_ = Value; }
  // The platform list's background (clNone = drawn transparent) when it
  // exists, else the colour set.
  virtual TColor BkColor() const;
  virtual void SetBkColor(TColor Value);

  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  TNotifyEvent OnChange;

  // Another list's settings and a copy of its images.
  void Assign(TPersistent* Source) override;

 protected:
  // Makes the platform list at the list's size; null when it cannot.
  virtual HIMAGELIST CreateListHandle();
  virtual void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled);
  // Tells the change links, then OnChange.
  virtual void Change();
  void SetBaseSize(int Width, int Height) {
    width_ = Width;
    height_ = Height;
  }

 private:
  TOwnedHandle<HIMAGELIST, TImageListTraits> handle_;
  std::vector<TChangeLink*> links_;
  int width_ = 16, height_ = 16;
  int allocBy_ = 4;
  bool masked_ = true;
  bool shareImages_ = false;
  TImageType imageType_ = itImage;
  TDrawingStyle drawingStyle_ = dsNormal;
  TColor bkColor_ = clNone;
  TColor blendColor_ = clNone;
};

class TImageList : public TCustomImageList {
  DECLARE_CLASS(TImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
};
