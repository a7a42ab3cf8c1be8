// Varnel with its skin manager switched on: the program body of the panel,
// with the skin folder and name from the command line
// ("VarnelSkinned.exe <skin directory> <skin name>"). For tests only.
#include <windows.h>

#include "panel/panel_form.h"
#include "panel/program_body.h"

namespace {

void ActivateSkin() {
  TsSkinManager* m = Form1->sSkinManager1;
  m->SetSkinDirectory(ParamStr(1));
  m->SetSkinName(ParamStr(2));
  m->SetActive(true);
}

void ProgramBody() {
  RunVarnelBody(ActivateSkin);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram(VarnelUnits(), ProgramBody);
}
