// Persistent objects and components: assignment, ownership, names, loading
// state and notifications.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "widgets/rtl/object_model.h"

class TStream;

// Lets a class persist data that has no published property (binary blocks).
class TFiler {
 public:
  using TStreamProc = void (*)(TObject* instance, TStream& stream);
  virtual ~TFiler() = default;
  virtual void DefineBinaryProperty(const std::string& name, TObject* instance, TStreamProc read,
                                    TStreamProc write, bool hasData) = 0;
};

class TPersistent : public TObject {
  DECLARE_CLASS(TPersistent, TObject)
 public:
  // Copies Source into this object; falls back to Source->AssignTo(this).
  virtual void Assign(TPersistent* Source);
  virtual TPersistent* GetOwner() const { return nullptr; }
  virtual void DefineProperties(TFiler&) {}

 protected:
  // Raises EConvertError ("Cannot assign a X to a Y").
  virtual void AssignTo(TPersistent* Dest);
};

enum TComponentStateFlag : uint32_t {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csWriting = 1u << 2,
  csDestroying = 1u << 3,
  csDesigning = 1u << 4,
  csAncestor = 1u << 5,
  csUpdating = 1u << 6,
  csFixups = 1u << 7,
  csFreeNotification = 1u << 8,
  csInline = 1u << 9,
  csDesignInstance = 1u << 10,
};
using TComponentState = uint32_t;

enum TOperation { opInsert, opRemove };

// Lifecycle. A component is made with New<T> (or a class factory, or
// NewWith): it joins its owner in AfterConstruction, once it is whole, so the
// owner's Notification(opInsert) sees its real class; Owner() is already set
// while the constructors run. Freeing it (TObject::Free) tells its
// subscribers and its owner in BeforeDestruction, again while it is whole;
// what it owns goes after the derived destructors have run, so a destructor
// may still free an owned component itself. Windowed controls free their
// children, and forms their components, in BeforeDestruction: whatever
// those do to their owner reaches the whole owner.
class TComponent : public TPersistent {
  DECLARE_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  // Unique within the owner, compared case-insensitively; raises EComponentError.
  virtual void SetName(const std::string& NewName);
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t v) { tag_ = v; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int i) const { return components_[i]; }
  int ComponentIndex() const;
  // Moves this component to Index in its owner's list (clamped to the list).
  void SetComponentIndex(int Index);
  TComponent* FindComponent(const std::string& Name) const;
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);
  void DestroyComponents();

  TComponentState ComponentState() const { return state_; }
  bool HasState(TComponentState s) const { return (state_ & s) != 0; }
  void SetState(TComponentState s) { state_ |= s; }
  void ClearState(TComponentState s) { state_ &= ~s; }

  // The base clears csLoading: descendants call it first.
  virtual void Loaded();
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  void FreeNotification(TComponent* c);
  void RemoveFreeNotification(TComponent* c);

  TPersistent* GetOwner() const override { return owner_; }

  // Streaming: a control's parent differs from its owner. The form reader
  // calls SetParentComponent with the enclosing component of the description.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent*) {}
  // The components written inside this one when Root is written, in the
  // order they are written (and read back): by default Root's components
  // whose parent component is this one (for Root itself, also those
  // without a parent), in Root's component order.
  virtual void GetChildren(std::vector<TComponent*>& List, TComponent* Root);
  // Moves Child to position Order of the list GetChildren gives; the
  // containers that order their children override it.
  virtual void SetChildOrder(TComponent* Child, int Order) {
    (void)Child;
    (void)Order;
  }
  // The root being read (a form) is told when its reading starts and ends.
  virtual void BeginReadState() { SetState(csLoading | csReading); }
  virtual void EndReadState() { ClearState(csReading); }

 private:
  void Insert(TComponent* c);
  void Remove(TComponent* c);
  void NotifyAll(TComponent* c, TOperation op);
  void SendFreeNotifications();
  void LeaveOwner();

  // Plain `new` would skip AfterConstruction: components come from NewWith.
  static void* operator new(std::size_t Size) { return ::operator new(Size); }
  template <typename T, typename F, typename... A>
  friend T* NewWith(F&& Whole, A&&... args);

 public:
  static void operator delete(void* Ptr) { ::operator delete(Ptr); }

 private:
  TComponent* owner_ = nullptr;
  bool joinPending_ = false;  // constructed with an owner it has not joined yet
  std::string name_;
  intptr_t tag_ = 0;
  TComponentState state_ = 0;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
};
