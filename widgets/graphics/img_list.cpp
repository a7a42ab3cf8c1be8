#include "widgets/graphics/img_list.h"

#include <algorithm>

#include "widgets/graphics/graphics.h"

const TClassInfo& TChangeLink::StaticClass() {
  static const TClassInfo info("TChangeLink", &TObject::StaticClass());
  return info;
}

TChangeLink::~TChangeLink() {
  if (sender_) sender_->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(sender_);
}

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

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : links_) link->sender_ = nullptr;
  // A shared list belongs to whoever lent it.
  if (shareImages_) (void)handle_.Detach();
}

int TCustomImageList::Width() const {
  int w = width_, h = height_;
  if (handle_) ImageList_GetIconSize(handle_.Get(), &w, &h);
  return w;
}

int TCustomImageList::Height() const {
  int w = width_, h = height_;
  if (handle_) ImageList_GetIconSize(handle_.Get(), &w, &h);
  return h;
}

void TCustomImageList::SetSize(int Width, int Height) {
  if (Width == width_ && Height == height_) return;
  width_ = Width;
  height_ = Height;
  if (handle_) DestroyHandle();
}

void TCustomImageList::SetMasked(bool Value) {
  if (Value == masked_) return;
  masked_ = Value;
  if (handle_) DestroyHandle();
}

HIMAGELIST TCustomImageList::CreateListHandle() {
  const HIMAGELIST h =
      ImageList_Create(width_, height_, ILC_COLOR32 | (masked_ ? ILC_MASK : 0), 0, allocBy_);
  if (h) ImageList_SetBkColor(h, GetRGBColor(bkColor_));
  return h;
}

HIMAGELIST TCustomImageList::Handle() {
  if (!handle_) handle_.Reset(CreateListHandle());
  if (!handle_) throw EOutOfResources("Cannot create the image list");
  return handle_.Get();
}

void TCustomImageList::DestroyHandle() {
  if (shareImages_)
    (void)handle_.Detach();
  else
    handle_.Reset();
  Change();
}

void TCustomImageList::SetHandle(HIMAGELIST Value) {
  if (handle_.Get() == Value) return;
  if (shareImages_)
    (void)handle_.Detach();
  else
    handle_.Reset();
  handle_.Reset(Value);
  Change();
}

int TCustomImageList::Count() const {
  return handle_ ? ImageList_GetImageCount(handle_.Get()) : 0;
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  int first = Count();
  if (ImageList_Add(Handle(), Image->Handle(), Mask ? Mask->Handle() : nullptr) < 0)
    throw EInvalidOperation("Cannot add the image");
  Change();
  return first;
}

void TCustomImageList::Clear() {
  if (handle_) ImageList_Remove(handle_.Get(), -1);
  Change();
}

TColor TCustomImageList::BkColor() const {
  return handle_ ? GetColorFromRGB(ImageList_GetBkColor(handle_.Get())) : bkColor_;
}

void TCustomImageList::SetBkColor(TColor Value) {
  bkColor_ = Value;
  if (handle_) ImageList_SetBkColor(handle_.Get(), GetRGBColor(Value));
  Change();
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (!Value || std::find(links_.begin(), links_.end(), Value) != links_.end()) return;
  if (Value->sender_) Value->sender_->UnRegisterChanges(Value);
  Value->sender_ = this;
  links_.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  auto it = std::find(links_.begin(), links_.end(), Value);
  if (it == links_.end()) return;
  (*it)->sender_ = nullptr;
  links_.erase(it);
}

void TCustomImageList::Change() {
  // A link may unregister itself while it is told.
  const std::vector<TChangeLink*> links = links_;
  for (TChangeLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Change();
  if (OnChange) OnChange(this);
}

void TCustomImageList::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCustomImageList*>(Source);
  if (!src) {
    TComponent::Assign(Source);
    return;
  }
  if (src == this) return;
  masked_ = src->masked_;
  imageType_ = src->imageType_;
  drawingStyle_ = src->drawingStyle_;
  shareImages_ = src->shareImages_;
  allocBy_ = src->allocBy_;
  blendColor_ = src->blendColor_;
  bkColor_ = src->BkColor();
  width_ = src->Width();
  height_ = src->Height();
  if (shareImages_)
    (void)handle_.Detach();
  else
    handle_.Reset();
  if (src->handle_) handle_.Reset(ImageList_Duplicate(src->handle_.Get()));
  Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (!handle_ || Index < 0 || Index >= Count()) return;
  DoDraw(Index, Canvas, X, Y, ILD_TRANSPARENT, Enabled);
}

void TCustomImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) {
  IMAGELISTDRAWPARAMS p{};
  p.cbSize = sizeof p;
  p.himl = handle_.Get();
  p.i = Index;
  p.hdcDst = Canvas->Handle();
  p.x = X;
  p.y = Y;
  p.rgbBk = CLR_NONE;
  p.rgbFg = CLR_DEFAULT;
  p.fStyle = Style;
  p.fState = Enabled ? ILS_NORMAL : ILS_SATURATE;
  ImageList_DrawIndirect(&p);
}
