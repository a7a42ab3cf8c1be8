// The docking subset: a control handed to a dock site, which parents it
// (a page control puts it on a new sheet of its own).
#include "widgets/controls/controls.h"
#include "widgets/controls/messages.h"

void TControl::Dock(TWinControl* NewDockSite, const TRect& ARect) {
  if (!NewDockSite) {
    SetParent(nullptr);
    return;
  }
  NewDockSite->DoAddDockClient(this, ARect);
}

bool TControl::ManualDock(TWinControl* Site, const TRect& DockRect) {
  if (!Site || !Site->DockSite()) return false;
  TDockClientInfo info;
  info.Control = this;
  info.DockRect = DockRect;
  POINT p{};
  GetCursorPos(&p);
  info.MousePos = TPoint(p.x, p.y);
  Site->Perform(CM_DOCKCLIENT, 0, reinterpret_cast<LPARAM>(&info));
  return true;
}

void TWinControl::DoAddDockClient(TControl* Client, const TRect& ARect) {
  Client->SetParent(this);
  Client->SetBoundsRect(ARect);
}
