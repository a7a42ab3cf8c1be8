#include "skin/controls/hint_hold.h"

#include "skin/engine/common_messages.h"
#include "widgets/forms/forms.h"

void THintHold::Suspend() {
  if (HintsSuspended || !Application) return;
  SavedShowHint = Application->ShowHint();
  Application->SetShowHint(false);
  HintsSuspended = true;
  held_ = true;
}

void THintHold::Restore() {
  if (!held_) return;
  held_ = false;
  if (!HintsSuspended) return;
  if (Application) Application->SetShowHint(SavedShowHint);
  HintsSuspended = false;
}
