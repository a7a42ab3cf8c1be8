#include "skin/engine/stored_skins.h"

#include "skin/engine/skin_manager.h"
#include "widgets/graphics/bitmap.h"
#include "widgets/rtl/streams.h"

// ---- TsStoredSkin --------------------------------------------------------------

const TClassInfo& TsStoredSkin::StaticClass() {
  static const TClassInfo info = [] {
    using S = TsStoredSkin;
    TClassBuilder<S> b("TsStoredSkin", &TCollectionItem::StaticClass());
    b.Str(
        "Name", [](const S& o) { return o.Name; }, [](S& o, const std::string& v) { o.Name = v; });
    b.Obj(
        "MasterBitmap", TPropKind::Object, TBitmap::StaticClass(),
        [](const S& o) -> TObject* { return o.MasterBitmap(); },
        [](S& o, TObject* v) { o.SetMasterBitmap(dynamic_cast<TBitmap*>(v)); });
    b.Ord(
        "Shadow1Color", TPropKind::Color, [](const S& o) { return o.Shadow1Color; },
        [](S& o, int v) { o.Shadow1Color = v; });
    b.Int(
        "Shadow1Offset", [](const S& o) { return o.Shadow1Offset; },
        [](S& o, int v) { o.Shadow1Offset = v; });
    b.Int(
        "Shadow1Blur", [](const S& o) { return o.Shadow1Blur; },
        [](S& o, int v) { o.Shadow1Blur = v; }, -1);
    b.Int(
        "Shadow1Transparency", [](const S& o) { return o.Shadow1Transparency; },
        [](S& o, int v) { o.Shadow1Transparency = v; });
    b.Color(
        "BorderColor", [](const S& o) { return o.BorderColor; },
        [](S& o, int v) { o.BorderColor = v; }, clFuchsia);
    b.Float(
        "Version", [](const S& o) { return o.Version; }, [](S& o, double v) { o.Version = v; });
    b.Str(
        "Author", [](const S& o) { return o.Author; },
        [](S& o, const std::string& v) { o.Author = v; });
    b.Str(
        "Description", [](const S& o) { return o.Description; },
        [](S& o, const std::string& v) { o.Description = v; });
    return b.Done();
  }();
  return info;
}

TsStoredSkin::TsStoredSkin(TCollection* Collection)
    : TCollectionItem(Collection),
      masterBitmap_(std::make_unique<TBitmap>()),
      packedData_(std::make_unique<TMemoryStream>()) {}

TsStoredSkin::~TsStoredSkin() = default;

void TsStoredSkin::SetMasterBitmap(TBitmap* Value) {
  masterBitmap_->Assign(Value);
}

void TsStoredSkin::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TsStoredSkin*>(Source);
  if (!src) {
    TCollectionItem::Assign(Source);
    return;
  }
  if (src == this) return;
  packedData_->LoadFromStream(*src->packedData_);
  masterBitmap_->Assign(src->masterBitmap_.get());
  Name = src->Name;
  Author = src->Author;
  Version = src->Version;
  BorderColor = src->BorderColor;
  Description = src->Description;
  Shadow1Blur = src->Shadow1Blur;
  Shadow1Color = src->Shadow1Color;
  Shadow1Offset = src->Shadow1Offset;
  Shadow1Transparency = src->Shadow1Transparency;
}

void TsStoredSkin::DefineProperties(TFiler& Filer) {
  // Written even when empty, so a stored skin always carries its block.
  Filer.DefineBinaryProperty(
      "Data", this,
      [](TObject* o, TStream& s) { static_cast<TsStoredSkin*>(o)->packedData_->LoadFromStream(s); },
      [](TObject* o, TStream& s) { static_cast<TsStoredSkin*>(o)->packedData_->SaveToStream(s); },
      true);
}

// ---- TsStoredSkins -------------------------------------------------------------

const TClassInfo& TsStoredSkins::StaticClass() {
  static const TClassInfo info("TsStoredSkins", &TCollection::StaticClass());
  return info;
}

TsStoredSkins::TsStoredSkins(TsSkinManager* Manager)
    : TCollection(CollectionItemClassOf<TsStoredSkin>()), manager_(Manager) {}

TsStoredSkins::~TsStoredSkins() {
  // The items go after this; none of their removals reaches the manager.
  manager_ = nullptr;
}

TsStoredSkin* TsStoredSkins::Items(int Index) const {
  return static_cast<TsStoredSkin*>(TCollection::Items(Index));
}

int TsStoredSkins::IndexOfName(const std::string& Name) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Name == Name) return i;
  return -1;
}

void TsStoredSkins::Assign(TPersistent*) {}

void TsStoredSkins::Update(TCollectionItem* Item) {
  TCollection::Update(Item);
  if (manager_ && manager_->OnSkinListChanged) manager_->OnSkinListChanged(manager_);
}

TPersistent* TsStoredSkins::GetOwner() const {
  return manager_;
}
