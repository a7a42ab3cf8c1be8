// The Tobrin program body.
#include <windows.h>

#include "soundbank_test/program_body.h"
#include "soundbank_test/program_units.h"

namespace {

void ProgramBody() {
  RunTobrinBody(nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram(TobrinUnits(), ProgramBody);
}
