#include "panel/program_body.h"

#include "panel/panel_form.h"
#include "skin/controls/controls_unit.h"
#include "skin/engine/skin_units.h"

std::vector<TUnitInfo> VarnelUnits() {
  return WithSkinCoreUnits({SkinControlsUnit, {"PanelForm", InitPanelUnit, FinalizePanelUnit}});
}

void RunVarnelBody(void (*AfterCreate)()) {
  Application->Initialize();
  Application->SetTitle("Varnel");
  Application->CreateForm(Form1);
  if (AfterCreate) AfterCreate();
  Application->Run();
}
