// The Varnel program body.
#include <windows.h>

#include "panel/panel_form.h"
#include "skin/engine/skin_units.h"
#include "widgets/rtl/units.h"

namespace {

void ProgramBody() {
  Application->Initialize();
  Application->SetTitle("Varnel");
  Application->CreateForm(Form1);
  Application->Run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram(WithSkinCoreUnits({{"PanelForm", InitPanelUnit, FinalizePanelUnit}}),
                    ProgramBody);
}
