// Collections: an owned, ordered list of items of one item class, streamed
// in form descriptions as `< item ... end >`.
#pragma once

#include <string>
#include <vector>

#include "widgets/rtl/components.h"

class TCollection;
class TCollectionItem;

// The item class of a collection: its class info and a factory that creates
// an item inside a collection (through New<T>, so AfterConstruction runs).
struct TCollectionItemClass {
  const TClassInfo* Info = nullptr;
  TCollectionItem* (*Create)(TCollection* Collection) = nullptr;
};

template <typename T>
TCollectionItemClass CollectionItemClassOf() {
  return {&T::StaticClass(), [](TCollection* c) -> TCollectionItem* { return New<T>(c); }};
}

class TCollectionItem : public TPersistent {
  DECLARE_CLASS(TCollectionItem, TPersistent)
 public:
  // The item joins Collection in AfterConstruction, once it is whole, so
  // the collection's Update never sees a half-built item. Create items with
  // New<T>(Collection) or TCollection::Add.
  explicit TCollectionItem(TCollection* Collection) : pending_(Collection) {}
  ~TCollectionItem() override;
  void AfterConstruction() override;
  // Leaves the collection while the item is still whole.
  void BeforeDestruction() override;

  TCollection* Collection() const { return collection_; }
  // Moves the item to another collection (or out of any, with null).
  void SetCollection(TCollection* Value);
  int Index() const;
  virtual void SetIndex(int Value);
  int ID() const { return id_; }
  // The class name unless a descendant names its items.
  virtual std::string GetDisplayName() const;
  TPersistent* GetOwner() const override;

 protected:
  // Tells the collection: Update(this), or Update(nullptr) with AllItems.
  void Changed(bool AllItems);

 private:
  friend class TCollection;
  TCollection* pending_ = nullptr;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
  DECLARE_CLASS(TCollection, TPersistent)
 public:
  explicit TCollection(TCollectionItemClass ItemClass) : itemClass_(ItemClass) {}
  ~TCollection() override;

  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  TCollectionItem* Items(int Index) const;
  // Assigns Value to the item at Index.
  void SetItem(int Index, TCollectionItem* Value);
  TCollectionItem* FindItemID(int ID) const;
  const TCollectionItemClass& ItemClass() const { return itemClass_; }

  // Nested; the last EndUpdate reports one change of all items.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // Replaces the items with copies of another collection's items.
  void Assign(TPersistent* Source) override;

  // Raised on every change: an item's change passes that item, a change of
  // the list or of all items passes null.
  virtual void Update(TCollectionItem* Item);

 protected:
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TCollectionItemClass itemClass_;
  std::vector<TCollectionItem*> items_;
  int updateCount_ = 0;
  int nextId_ = 0;
};

// A collection that belongs to a persistent object (its GetOwner).
class TOwnedCollection : public TCollection {
  DECLARE_CLASS(TOwnedCollection, TCollection)
 public:
  TOwnedCollection(TPersistent* Owner, TCollectionItemClass ItemClass)
      : TCollection(ItemClass), owner_(Owner) {}
  TPersistent* GetOwner() const override { return owner_; }

 private:
  TPersistent* owner_;
};
