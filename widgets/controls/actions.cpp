// TCustomAction and the controls' side of the link (TControl::SetAction).
#include "widgets/controls/actions.h"

#include <algorithm>

const TClassInfo& TCustomAction::StaticClass() {
  static const TClassInfo info = [] {
    TClassBuilder<TCustomAction> b("TCustomAction", &TComponent::StaticClass());
    b.Bool(
        "Enabled", [](const TCustomAction& a) { return a.Enabled(); },
        [](TCustomAction& a, int v) { a.SetEnabled(v != 0); }, true);
    b.Event<&TCustomAction::OnExecute>("OnExecute");
    b.Event<&TCustomAction::OnUpdate>("OnUpdate");
    return b.Done();
  }();
  return info;
}

TCustomAction::TCustomAction(TComponent* AOwner) : TComponent(AOwner) {}

void TCustomAction::SetEnabled(bool v) {
  if (enabled_ == v) return;
  enabled_ = v;
  Change();
}

void TCustomAction::Change() {
  // A client may unlink itself while it follows the change.
  std::vector<TControl*> clients = clients_;
  for (TControl* c : clients)
    if (std::find(clients_.begin(), clients_.end(), c) != clients_.end())
      c->ActionChange(this, false);
}

bool TCustomAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TCustomAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TCustomAction::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove)
    if (auto* c = dynamic_cast<TControl*>(AComponent)) std::erase(clients_, c);
}

// ---- The controls' side ---------------------------------------------------------------------

void TControl::SetAction(TCustomAction* v) {
  if (action_ == v) return;
  if (action_) {
    std::erase(action_->clients_, this);
    action_->RemoveFreeNotification(this);
  }
  action_ = v;
  if (!v) return;
  v->clients_.push_back(this);
  v->FreeNotification(this);
  ActionChange(v, v->HasState(csLoading));
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  // While a description is read, a value the description gave wins.
  if (!CheckDefaults || Enabled()) SetEnabled(action->Enabled());
}
