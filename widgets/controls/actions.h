// TCustomAction: a command several controls share. The controls linked to
// an action follow its Enabled; CM_ACTIONUPDATE asks a control to bring its
// action up to date (OnUpdate) before it reads it again.
#pragma once

#include <vector>

#include "widgets/controls/controls.h"

class TCustomAction : public TComponent {
  DECLARE_CLASS(TCustomAction, TComponent)
 public:
  explicit TCustomAction(TComponent* AOwner);

  bool Enabled() const { return enabled_; }
  // A change reaches every linked control through its ActionChange.
  void SetEnabled(bool v);

  // Raises OnExecute; False when there is none.
  virtual bool Execute();
  // Raises OnUpdate; False when there is none.
  virtual bool Update();
  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

  // The controls whose Action this is, in the order they were linked.
  const std::vector<TControl*>& Clients() const { return clients_; }

  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TControl;
  void Change();

  std::vector<TControl*> clients_;
  bool enabled_ = true;
};
