// Tobrin with its skin manager switched on: the program body of Tobrin,
// with the skin folder and name from the command line
// ("TobrinSkinned.exe <skin directory> <skin name>"), and the test-only
// skin switch. For tests only.
#include <windows.h>

#include "soundbank_test/program_body.h"
#include "soundbank_test/program_units.h"
#include "soundbank_test/tobrin_form.h"
#include "tests/support/e2e/skin_switch_channel.h"

namespace {

void ActivateSkin() {
  ActivateSkinFromCommandLine(Form1->sSkinManager1);
}

void ProgramBody() {
  RunTobrinBody(ActivateSkin);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram(TobrinUnits(), ProgramBody);
}
