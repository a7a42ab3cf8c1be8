#include "skin/engine/control_helpers.h"

#include "skin/engine/skin_message.h"
#include "widgets/forms.h"

bool ControlIsReady(TControl* Control) {
  if (!Control || !Control->Parent()) return false;
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (win && !win->HandleAllocated()) return false;
  if (Control->HasState(csLoading | csDestroying)) return false;
  return (Control->ControlState() & (csReadingState | csCreating)) == 0;
}

void AddToParentFormAdapter(TControl* Control) {
  if (!Control || Control->HasState(csLoading | csDesigning)) return;
  TCustomForm* form = GetParentForm(Control);
  if (!form || !form->HandleAllocated()) return;
  DeliverMessage(form->Handle(), SkinCommandMessage, SkinCmdParam(SkinCmdControlAdded),
                 reinterpret_cast<LPARAM>(Control));
}
