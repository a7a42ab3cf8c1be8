#include "widgets/graphics/img_list.h"

#include "widgets/graphics/graphics.h"

const TClassInfo& TCustomImageList::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TCustomImageList> b("TCustomImageList", &TComponent::StaticClass());
    b.Int(
        "Width", [](const TCustomImageList& l) { return l.Width(); },
        [](TCustomImageList& l, int v) { l.SetSize(v, l.Height()); }, 16);
    b.Int(
        "Height", [](const TCustomImageList& l) { return l.Height(); },
        [](TCustomImageList& l, int v) { l.SetSize(l.Width(), v); }, 16);
    return b.Done();
  }();
  return info;
}

const TClassInfo& TImageList::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TImageList> b("TImageList", &TCustomImageList::StaticClass());
    b.Creatable();
    return b.Done();
  }();
  return info;
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

void TCustomImageList::SetSize(int Width, int Height) {
  if (Width == width_ && Height == height_) return;
  width_ = Width;
  height_ = Height;
  handle_.Reset();
}

HIMAGELIST TCustomImageList::Handle() {
  if (!handle_) handle_.Reset(ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4));
  if (!handle_) throw EOutOfResources("Cannot create the image list");
  return handle_.Get();
}

int TCustomImageList::Count() const {
  return handle_ ? ImageList_GetImageCount(handle_.Get()) : 0;
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  int first = Count();
  if (ImageList_Add(Handle(), Image->Handle(), Mask ? Mask->Handle() : nullptr) < 0)
    throw EInvalidOperation("Cannot add the image");
  return first;
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (!handle_ || Index < 0 || Index >= Count()) return;
  IMAGELISTDRAWPARAMS p{};
  p.cbSize = sizeof p;
  p.himl = handle_.Get();
  p.i = Index;
  p.hdcDst = Canvas->Handle();
  p.x = X;
  p.y = Y;
  p.rgbBk = CLR_NONE;
  p.rgbFg = CLR_DEFAULT;
  p.fStyle = ILD_TRANSPARENT;
  p.fState = Enabled ? ILS_NORMAL : ILS_SATURATE;
  ImageList_DrawIndirect(&p);
}
