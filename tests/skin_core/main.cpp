// The layer's and the skin core's units start before the tests and stop
// after them, as in a program. The layer's units are started one by one
// without the registration of its standard controls, which these tests do
// not read from form descriptions.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "skin/engine/skin_units.h"
#include "widgets/forms.h"
#include "widgets/graphics.h"
#include "widgets/sysutils.h"
#include "widgets/window_procs.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  InitSysLocale();
  InitGraphicsUnit();
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  ControlAtom();
  InitFormsUnit();
  InitializeSkinCoreUnits();
  int result = RUN_ALL_TESTS();
  FinalizeSkinCoreUnits();
  FinalizeFormsUnit();
  FinalizeWindowProcs();
  return result;
}
