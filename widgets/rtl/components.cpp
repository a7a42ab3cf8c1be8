#include "widgets/rtl/components.h"

#include <algorithm>

#include "widgets/rtl/exceptions.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return (x >= 'a' && x <= 'z' ? x - 32 : x) == (y >= 'a' && y <= 'z' ? y - 32 : y);
         });
}

bool IsValidIdent(const std::string& s) {
  if (s.empty()) return false;
  auto alpha = [](unsigned char c) { return (c | 32) >= 'a' && (c | 32) <= 'z'; };
  if (!alpha(s[0]) && s[0] != '_') return false;
  return std::all_of(s.begin(), s.end(), [&](unsigned char c) {
    return alpha(c) || c == '_' || (c >= '0' && c <= '9');
  });
}

}  // namespace

const TClassInfo& TPersistent::StaticClass() {
  static const TClassInfo info("TPersistent", &TObject::StaticClass());
  return info;
}

void TPersistent::Assign(TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  AssignTo(this);  // reports "Cannot assign a nil to ..." through the same path
}

void TPersistent::AssignTo(TPersistent* Dest) {
  std::string src = this == Dest ? std::string("nil") : ClassName();
  throw EConvertError("Cannot assign a " + src + " to a " + Dest->ClassName());
}

const TClassInfo& TComponent::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TComponent> b("TComponent", &TPersistent::StaticClass());
    b.Str(
        "Name", [](const TComponent& c) { return c.Name(); },
        [](TComponent& c, const std::string& v) { c.SetName(v); });
    b.Int(
        "Tag", [](const TComponent& c) { return c.Tag(); },
        [](TComponent& c, int v) { c.SetTag(v); }, 0);
    return b.Done();
  }();
  return info;
}

TComponent::TComponent(TComponent* AOwner) : owner_(AOwner), joinPending_(AOwner != nullptr) {}

void TComponent::AfterConstruction() {
  TPersistent::AfterConstruction();
  if (joinPending_) owner_->InsertComponent(this);
}

void TComponent::BeforeDestruction() {
  state_ |= csDestroying;
  SendFreeNotifications();
  LeaveOwner();
}

TComponent::~TComponent() {
  state_ |= csDestroying;
  // What it owns goes after the derived destructors: one may still free an
  // owned component itself. The rest is for an object deleted without Free.
  SendFreeNotifications();
  DestroyComponents();
  LeaveOwner();
}

// Subscribers hear of it last to first.
void TComponent::SendFreeNotifications() {
  while (!freeNotifies_.empty()) {
    TComponent* c = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& back = c->freeNotifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    c->Notification(this, opRemove);
  }
}

void TComponent::LeaveOwner() {
  if (joinPending_) {
    // Never joined: the owner has nothing to hear.
    joinPending_ = false;
    owner_ = nullptr;
  }
  if (owner_) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  // Last to first; a component freed this way leaves the list itself.
  while (!components_.empty()) {
    TComponent* c = components_.back();
    Remove(c);
    TObject::Free(c);
  }
}

void TComponent::SetName(const std::string& NewName) {
  if (NewName == name_) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (owner_ && !NewName.empty()) {
    TComponent* other = owner_->FindComponent(NewName);
    if (other && other != this)
      throw EComponentError("A component named " + NewName + " already exists");
  }
  name_ = NewName;
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int Index) {
  if (!owner_) return;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  const int n = static_cast<int>(list.size());
  list.insert(list.begin() + std::clamp(Index, 0, n), this);
}

void TComponent::GetChildren(std::vector<TComponent*>& List, TComponent* Root) {
  if (!Root) return;
  for (TComponent* c : Root->components_) {
    TComponent* parent = c->HasParent() ? c->GetParentComponent() : nullptr;
    if (this == Root ? (!parent || parent == Root) : parent == this) List.push_back(c);
  }
}

TComponent* TComponent::FindComponent(const std::string& Name) const {
  if (Name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameName(c->name_, Name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* c) {
  c->LeaveOwner();
  Insert(c);
  NotifyAll(c, opInsert);
}

void TComponent::RemoveComponent(TComponent* c) {
  NotifyAll(c, opRemove);
  Remove(c);
}

void TComponent::Insert(TComponent* c) {
  components_.push_back(c);
  c->owner_ = this;
}

void TComponent::Remove(TComponent* c) {
  auto it = std::find(components_.begin(), components_.end(), c);
  if (it != components_.end()) components_.erase(it);
  c->owner_ = nullptr;
}

// The owner and every component it owns hear of the insertion or removal.
void TComponent::NotifyAll(TComponent* c, TOperation op) {
  Notification(c, op);
  for (size_t i = 0; i < components_.size(); ++i)
    if (components_[i] != c) components_[i]->Notification(c, op);
}

void TComponent::Loaded() {
  state_ &= ~csLoading;
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) {
    auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent);
    if (it != freeNotifies_.end()) freeNotifies_.erase(it);
  }
}

void TComponent::FreeNotification(TComponent* c) {
  if (!c || c == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), c) == freeNotifies_.end()) {
    freeNotifies_.push_back(c);
    c->FreeNotification(this);
  }
  state_ |= csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* c) {
  auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), c);
  if (it == freeNotifies_.end()) return;
  freeNotifies_.erase(it);
  c->RemoveFreeNotification(this);
}
