// Varnel with its skin manager switched on: the program body of the panel,
// with the skin folder and name from the command line
// ("VarnelSkinned.exe <skin directory> <skin name>"), and the test-only
// skin switch. For tests only.
#include <windows.h>

#include "panel/panel_form.h"
#include "panel/program_body.h"
#include "tests/support/e2e/skin_switch_channel.h"

namespace {

void ActivateSkin() {
  ActivateSkinFromCommandLine(Form1->sSkinManager1);
}

void ProgramBody() {
  RunVarnelBody(ActivateSkin);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram(VarnelUnits(), ProgramBody);
}
