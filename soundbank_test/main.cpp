// The Tobrin program body.
#include <windows.h>

#include "soundbank_test/program_units.h"
#include "soundbank_test/tobrin_form.h"
#include "widgets/rtl/units.h"

namespace {

void ProgramBody() {
  Application->Initialize();
  // The panel's title: both programs show "Varnel" on the task bar.
  Application->SetTitle("Varnel");
  Application->CreateForm(Form1);
  Application->Run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram(TobrinUnits(), ProgramBody);
}
