#include "widgets/rtl/collections.h"

#include <algorithm>

#include "widgets/rtl/exceptions.h"

// ---- TCollectionItem -------------------------------------------------------------

const TClassInfo& TCollectionItem::StaticClass() {
  static const TClassInfo info("TCollectionItem", &TPersistent::StaticClass());
  return info;
}

void TCollectionItem::AfterConstruction() {
  TPersistent::AfterConstruction();
  TCollection* c = pending_;
  pending_ = nullptr;
  SetCollection(c);
}

void TCollectionItem::BeforeDestruction() {
  if (collection_) collection_->RemoveItem(this);
  TPersistent::BeforeDestruction();
}

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (Value == collection_) return;
  if (collection_) collection_->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  auto& items = collection_->items_;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  int cur = Index();
  if (cur < 0 || Value < 0 || cur == Value) return;
  auto& items = collection_->items_;
  if (Value >= static_cast<int>(items.size())) Value = static_cast<int>(items.size()) - 1;
  items.erase(items.begin() + cur);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

std::string TCollectionItem::GetDisplayName() const {
  return ClassName();
}

TPersistent* TCollectionItem::GetOwner() const {
  return collection_;
}

void TCollectionItem::Changed(bool AllItems) {
  if (collection_ && collection_->updateCount_ == 0) collection_->Update(AllItems ? nullptr : this);
}

// ---- TCollection -------------------------------------------------------------------

const TClassInfo& TCollection::StaticClass() {
  static const TClassInfo info("TCollection", &TPersistent::StaticClass());
  return info;
}

const TClassInfo& TOwnedCollection::StaticClass() {
  static const TClassInfo info("TOwnedCollection", &TCollection::StaticClass());
  return info;
}

TCollection::~TCollection() {
  // No Update reaches a descendant that is already gone.
  updateCount_ = 1;
  while (!items_.empty()) TObject::Free(items_.back());
}

void TCollection::InsertItem(TCollectionItem* Item) {
  items_.push_back(Item);
  Item->collection_ = this;
  Item->id_ = nextId_++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  auto it = std::find(items_.begin(), items_.end(), Item);
  if (it != items_.end()) items_.erase(it);
  Item->collection_ = nullptr;
  Changed();
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* item = itemClass_.Create ? itemClass_.Create(this) : New<TCollectionItem>(this);
  return item;
}

TCollectionItem* TCollection::Insert(int Index) {
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(Exception::Fmt("List index out of bounds (%d)", Index));
  return items_[static_cast<size_t>(Index)];
}

void TCollection::SetItem(int Index, TCollectionItem* Value) {
  Items(Index)->Assign(Value);
}

void TCollection::Delete(int Index) {
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  TObject::Free(item);
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  try {
    while (!items_.empty()) TObject::Free(items_.back());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* i : items_)
    if (i->id_ == ID) return i;
  return nullptr;
}

void TCollection::BeginUpdate() {
  ++updateCount_;
}

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TCollection*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  if (src == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* item : src->items_) Add()->Assign(item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}
