// The alpha image list's items, lifecycle, sizes, scaling, assignment and
// unit. Building the platform list is in alpha_image_build.cpp, drawing in
// alpha_image_draw.cpp.
#include "skin/controls/alpha_image_list.h"

#include <algorithm>

#include "skin/engine/image_list_link.h"
#include "skin/engine/manager_options.h"
#include "skin/engine/skin_manager.h"
#include "widgets/rtl/flag_scope.h"
#include "widgets/rtl/streams.h"

std::vector<TsAlphaImageList*>* AlphaImageLists = nullptr;

const TEnumInfo& ImageFormatInfo() {
  static const TEnumInfo e{{"ifPNG", "ifICO", "ifBMP32"}};
  return e;
}

// ---- TsImgListItem ---------------------------------------------------------------

const TClassInfo& TsImgListItem::StaticClass() {
  static const TClassInfo info = [] {
    using I = TsImgListItem;
    TClassBuilder<I> b("TsImgListItem", &TCollectionItem::StaticClass());
    b.Str(
        "Text", [](const I& o) { return o.Text; }, [](I& o, const std::string& v) { o.Text = v; });
    b.Str(
        "ImageName", [](const I& o) { return o.ImageName; },
        [](I& o, const std::string& v) { o.ImageName = v; });
    b.Enum(
        "ImageFormat", ImageFormatInfo(),
        [](const I& o) { return static_cast<int>(o.ImageFormat); },
        [](I& o, int v) { o.ImageFormat = static_cast<TsImageFormat>(v); }, ifPNG);
    b.Enum(
        "PixelFormat", TBitmap::PixelFormatInfo(),
        [](const I& o) { return static_cast<int>(o.PixelFormat); },
        [](I& o, int v) { o.PixelFormat = static_cast<TPixelFormat>(v); }, pf32bit);
    return b.Done();
  }();
  return info;
}

TsImgListItem::TsImgListItem(TCollection* Collection)
    : TCollectionItem(Collection), imgData_(std::make_unique<TMemoryStream>()) {}

TsImgListItem::~TsImgListItem() = default;

namespace {

void CopyItem(TsImgListItem* Dst, const TsImgListItem* Src) {
  Dst->ImageFormat = Src->ImageFormat;
  Dst->ImageName = Src->ImageName;
  Dst->PixelFormat = Src->PixelFormat;
  Dst->OrigWidth = Src->OrigWidth;
  Dst->OrigHeight = Src->OrigHeight;
  Dst->Text = Src->Text;
  Dst->ImgData()->LoadFromStream(*Src->ImgData());
  // A cached copy belongs to the bytes it was made from.
  Dst->FreeCache();
}

}  // namespace

void TsImgListItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TsImgListItem*>(Source);
  if (!src) return TCollectionItem::Assign(Source);
  if (src != this) CopyItem(this, src);
}

void TsImgListItem::AssignTo(TPersistent* Dest) {
  auto* dst = dynamic_cast<TsImgListItem*>(Dest);
  if (!dst) return TCollectionItem::AssignTo(Dest);
  if (dst != this) CopyItem(dst, this);
}

void TsImgListItem::DefineProperties(TFiler& Filer) {
  Filer.DefineBinaryProperty(
      "ImgData", this,
      [](TObject* o, TStream& s) { static_cast<TsImgListItem*>(o)->imgData_->LoadFromStream(s); },
      [](TObject* o, TStream& s) { static_cast<TsImgListItem*>(o)->imgData_->SaveToStream(s); },
      true);
}

// ---- TsImgListItems --------------------------------------------------------------

const TClassInfo& TsImgListItems::StaticClass() {
  static const TClassInfo info("TsImgListItems", &TCollection::StaticClass());
  return info;
}

TsImgListItems::TsImgListItems(TsAlphaImageList* Owner)
    : TCollection(CollectionItemClassOf<TsImgListItem>()), owner_(Owner) {}

TsImgListItems::~TsImgListItems() {
  owner_ = nullptr;
}

TsImgListItem* TsImgListItems::Items(int Index) const {
  return static_cast<TsImgListItem*>(TCollection::Items(Index));
}

TPersistent* TsImgListItems::GetOwner() const {
  return owner_;
}

// ---- TsAlphaImageList: lifecycle -------------------------------------------------

const TClassInfo& TsAlphaImageList::StaticClass() {
  static const TClassInfo info = [] {
    using L = TsAlphaImageList;
    TClassBuilder<L> b("TsAlphaImageList", &TImageList::StaticClass());
    b.Creatable();
    // The unscaled size is what a form stores.
    b.Int(
        "Height",
        [](const L& l) { return l.storedHeight_ ? l.storedHeight_ : l.TImageList::Height(); },
        [](L& l, int v) { l.SetHeight(v); }, 16);
    b.Int(
        "Width", [](const L& l) { return l.storedWidth_ ? l.storedWidth_ : l.TImageList::Width(); },
        [](L& l, int v) { l.SetWidth(v); }, 16);
    b.Color(
        "BkColor", [](const L& l) { return l.BkColor(); }, [](L& l, int v) { l.SetBkColor(v); },
        clNone);
    b.Obj(
        "Items", TPropKind::Collection, TsImgListItems::StaticClass(),
        [](const L& l) -> TObject* { return l.Items(); },
        [](L& l, TObject* v) { l.SetItems(dynamic_cast<TsImgListItems*>(v)); });
    b.Bool(
        "UseCache", [](const L& l) { return l.UseCache(); }, [](L& l, bool v) { l.SetUseCache(v); },
        true);
    return b.Done();
  }();
  return info;
}

TsAlphaImageList::TsAlphaImageList(TComponent* AOwner)
    : TImageList(AOwner), items_(std::make_unique<TsImgListItems>(this)) {
  if (!AlphaImageLists) AlphaImageLists = new std::vector<TsAlphaImageList*>;
  AlphaImageLists->push_back(this);
}

TsAlphaImageList::~TsAlphaImageList() {
  if (AlphaImageLists)
    AlphaImageLists->erase(std::remove(AlphaImageLists->begin(), AlphaImageLists->end(), this),
                           AlphaImageLists->end());
  // The items go while the list is whole: none of them reaches it.
  items_.reset();
}

void TsAlphaImageList::AfterConstruction() {
  TImageList::AfterConstruction();
  if (!Loading()) ready_ = true;
}

void TsAlphaImageList::Loaded() {
  TImageList::Loaded();
  ready_ = true;
  if (storedWidth_ == 0 && TImageList::Width() == 16 && TImageList::Height() == 16) {
    TFlagScope<bool> updating(updating_);
    DestroyHandle();
    SetWidth(16);
    SetHeight(16);
  }
  if (storedWidth_ == 0) storedWidth_ = Width();
  if (storedHeight_ == 0) storedHeight_ = Height();
  if (!imagesGenerated_) {
    GenerateImages();
    imagesGenerated_ = true;
    Change();
  }
}

void TsAlphaImageList::EndUpdate(bool Changed) {
  updating_ = false;
  if (Changed) Change();
}

bool TsAlphaImageList::KeepsItems() const {
  return keepItems_ || HasState(csDesigning);
}

bool TsAlphaImageList::CanScale() const {
  return allowScale_ && ready_ && DefaultManager && !HasState(csDesigning) && items_->Count() > 0;
}

void TsAlphaImageList::SetItems(TsImgListItems* Value) {
  items_->Assign(Value);
}

void TsAlphaImageList::SetUseCache(bool Value) {
  useCache_ = Value;
  for (int i = 0; i < items_->Count(); ++i) items_->Items(i)->FreeCache();
}

TColor TsAlphaImageList::BkColor() const {
  return storedBkColor_ != clNone ? storedBkColor_ : TImageList::BkColor();
}

void TsAlphaImageList::SetBkColor(TColor Value) {
  storedBkColor_ = Value;
  TImageList::SetBkColor(Value);
}

void TsAlphaImageList::ClearItems() {
  for (int i = 0; i < items_->Count(); ++i) items_->Items(i)->ImgData()->Clear();
  items_->Clear();
}

void TsAlphaImageList::ClearAll() {
  ClearItems();
  Clear();
}

// ---- Sizes and scale ---------------------------------------------------------------

namespace {

int DefaultLevel() {
  return EffectiveDpiLevel(DefaultManager);
}

}  // namespace

int TsAlphaImageList::Width() {
  UpdateScale();
  return TImageList::Width();
}

int TsAlphaImageList::Height() {
  UpdateScale();
  return TImageList::Height();
}

void TsAlphaImageList::SetWidth(int Value) {
  if (ready_) {
    storedWidth_ = Value;
    SetScaleIndex(DefaultLevel());
  }
  TImageList::SetWidth(Value);
  if (!Loading() && ready_ && Count() <= items_->Count()) {
    GenerateImages();
    Change();
  }
}

void TsAlphaImageList::SetHeight(int Value) {
  if (ready_) {
    storedHeight_ = Value;
    SetScaleIndex(DefaultLevel());
  }
  TImageList::SetHeight(Value);
  // Unlike the width, the last rebuild does not wait for Ready.
  if (!Loading() && Count() <= items_->Count()) {
    GenerateImages();
    Change();
  }
}

void TsAlphaImageList::UpdateScale() {
  if (CanScale() && !Loading() && storedWidth_ != 0) SetScaleIndex(DefaultLevel());
}

HIMAGELIST TsAlphaImageList::CreateListHandle() {
  if (storedWidth_ == 0 && ready_ && !Loading()) {
    storedWidth_ = TImageList::Width();
    storedHeight_ = TImageList::Height();
  }
  int w = storedWidth_ ? storedWidth_ : TImageList::Width();
  int h = storedHeight_ ? storedHeight_ : TImageList::Height();
  if (CanScale()) {
    w = ScaleToDpiLevel(DefaultManager, w, 0);
    h = ScaleToDpiLevel(DefaultManager, h, 0);
  }
  const HIMAGELIST list =
      ImageList_Create(w, h, ILC_COLOR32 | (Masked() ? ILC_MASK : 0), 0, AllocBy());
  if (list) ImageList_SetBkColor(list, GetRGBColor(TImageList::BkColor()));
  return list;
}

void TsAlphaImageList::SetScaleIndex(int Level) {
  if (Level == scaleIndex_ || !CanScale()) return;
  const bool wasUpdating = updating_;
  {
    // The rebuild lowers the flag when it ends; it is put back as the
    // caller had it however the rebuild ends.
    struct TRestore {
      bool& Flag;
      bool Saved;
      ~TRestore() { Flag = Saved; }
    } restore{updating_, wasUpdating};
    updating_ = true;
    scaleIndex_ = Level;
    Clear();
    DestroyHandle();
    GenerateImages();
  }
  if (!wasUpdating) ChangeInherited();
}

void ForEachAlphaImageList(TAlphaImageListProc Proc, intptr_t Data) {
  if (!AlphaImageLists) return;
  // By index: a procedure may make or free lists.
  for (size_t i = 0; i < AlphaImageLists->size(); ++i) Proc((*AlphaImageLists)[i], Data);
}

// ---- Assignment ------------------------------------------------------------------

namespace {

// The settings an alpha list takes from another before its images. The
// stored (unscaled) size travels, not the platform list's: at a DPI level
// the platform list is already scaled, and scaling it again would grow the
// copy at every assignment.
void CopySettings(TsAlphaImageList* Dst, TsAlphaImageList* Src) {
  Dst->SetMasked(Src->Masked());
  Dst->SetImageType(Src->ImageType());
  Dst->SetDrawingStyle(Src->DrawingStyle());
  Dst->SetShareImages(Src->ShareImages());
  const int w = Src->StoredWidth() ? Src->StoredWidth() : Src->TImageList::Width();
  const int h = Src->StoredHeight() ? Src->StoredHeight() : Src->TImageList::Height();
  Dst->SetWidth(w);
  Dst->SetHeight(h);
  Dst->DestroyHandle();
  Dst->Handle();
  const COLORREF bk = Src->HandleAllocated() ? ImageList_GetBkColor(Src->Handle()) : CLR_NONE;
  Dst->SetBkColor(GetColorFromRGB(bk));
  Dst->SetBlendColor(Src->BlendColor());
}

}  // namespace

void TsAlphaImageList::Assign(TPersistent* Source) {
  if (!Source) {
    DestroyHandle();
    return;
  }
  auto* src = dynamic_cast<TsAlphaImageList*>(Source);
  if (!src) return TImageList::Assign(Source);
  if (src == this) return;
  BeginUpdate();
  // Files that are about to be replaced are not decoded again on the way.
  ClearAll();
  CopySettings(this, src);
  CopyImages(this, src);
  EndUpdate(false);
}

void TsAlphaImageList::AssignTo(TPersistent* Dest) {
  auto* dst = dynamic_cast<TsAlphaImageList*>(Dest);
  if (!dst) return TImageList::AssignTo(Dest);
  if (dst == this) return;
  dst->BeginUpdate();
  dst->ClearAll();
  CopySettings(dst, this);
  CopyImages(dst, this);
  dst->EndUpdate(false);
}

void CopyImages(TsAlphaImageList* Dest, TsAlphaImageList* Source) {
  if (!Dest->HandleAllocated()) return;
  if (Source->HandleAllocated()) ImageList_SetBkColor(Source->Handle(), CLR_NONE);
  if (Dest->KeepsItems()) {
    Dest->ClearItems();
    for (int i = 0; i < Source->Items()->Count(); ++i) {
      TsImgListItem* item = Dest->Items()->Add();
      item->Assign(Source->Items()->Items(i));
    }
    Dest->GenerateImages();
    // The handle was made before there were files to scale.
    Dest->UpdateScale();
    return;
  }
  const HIMAGELIST dst = Dest->Handle();
  ImageList_Remove(dst, -1);
  ImageList_SetBkColor(dst, CLR_NONE);
  if (!Source->HandleAllocated()) return;
  const HIMAGELIST src = Source->Handle();
  for (int i = 0; i < ImageList_GetImageCount(src); ++i) {
    TOwnedIcon icon(ImageList_GetIcon(src, i, ILD_TRANSPARENT));
    if (icon) ImageList_ReplaceIcon(dst, -1, icon.Get());
  }
}

// ---- The unit ----------------------------------------------------------------------

namespace {

TCustomImageList* NewPreviewList(TComponent* Owner) {
  auto* list = New<TsAlphaImageList>(Owner);
  list->SetKeepItems(true);
  list->SetAllowScale(false);
  list->SetHeight(100);
  list->SetWidth(140);
  return list;
}

void ClearPreviews(TCustomImageList* List) {
  auto* list = static_cast<TsAlphaImageList*>(List);
  list->ClearAll();
  list->Handle();
}

int AddPreview(TCustomImageList* List, TStream& Stream) {
  auto* list = static_cast<TsAlphaImageList*>(List);
  return AddImageFromStream(list, Stream) ? list->Items()->Count() - 1 : -1;
}

void RescaleImageListProc(TsAlphaImageList* List, intptr_t Level) {
  List->SetScaleIndex(static_cast<int>(Level));
}

void RescaleAllLists(int Level) {
  ForEachAlphaImageList(RescaleImageListProc, Level);
}

void AlphaImageListInitialization() {
  RegisterClass(TsAlphaImageList::StaticClass());
  ImageListLink.NewPreviewList = NewPreviewList;
  ImageListLink.ClearAll = ClearPreviews;
  ImageListLink.AddPng = AddPreview;
  ImageListLink.RescaleAll = RescaleAllLists;
}

void AlphaImageListFinalization() {
  ImageListLink = TvlImageListLink{};
  delete std::exchange(AlphaImageLists, nullptr);
}

}  // namespace

const TUnitInfo AlphaImageListUnit{"vlAlphaImageList", AlphaImageListInitialization,
                                   AlphaImageListFinalization};
