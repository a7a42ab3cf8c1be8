// The Varnel program body.
#include <windows.h>

#include "panel/program_body.h"

namespace {

void ProgramBody() {
  RunVarnelBody(nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram(VarnelUnits(), ProgramBody);
}
