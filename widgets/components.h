// Persistent objects and components: assignment, ownership, names, loading
// state and notifications.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "widgets/object_model.h"

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

class TComponent : public TPersistent {
  DECLARE_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
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
  // The root being read (a form) is told when its reading starts and ends.
  virtual void BeginReadState() { SetState(csLoading | csReading); }
  virtual void EndReadState() { ClearState(csReading); }

 private:
  void Insert(TComponent* c);
  void Remove(TComponent* c);
  void NotifyAll(TComponent* c, TOperation op);

  TComponent* owner_ = nullptr;
  std::string name_;
  intptr_t tag_ = 0;
  TComponentState state_ = 0;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
};
