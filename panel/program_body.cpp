#include "panel/program_body.h"

#include "panel/panel_form.h"
#include "skin/controls/alpha_image_list.h"
#include "skin/controls/controls_unit.h"
#include "skin/controls/startup_steps.h"
#include "skin/engine/skin_units.h"

std::vector<TUnitInfo> VarnelUnits() {
  std::vector<TUnitInfo> units = WithSkinCoreUnits({AlphaImageListUnit, SkinControlsUnit});
  units.insert(units.end(), StartupResourceUnits.begin(), StartupResourceUnits.end());
  units.push_back({"PanelForm", InitPanelUnit, FinalizePanelUnit});
  return units;
}

void RunVarnelBody(void (*AfterCreate)()) {
  Application->Initialize();
  Application->SetTitle("Varnel");
  Application->CreateForm(Form1);
  if (AfterCreate) AfterCreate();
  Application->Run();
}
