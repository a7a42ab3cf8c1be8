// The hint tests start the layer's units, the skin core's and the hint
// unit, as a program would, and stop them in reverse after the tests.
#include <gtest/gtest.h>

#include "skin/controls/hint_templates.h"
#include "skin/engine/skin_units.h"
#include "widgets/rtl/units.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  AlphaHintsUnit.Initialization();
  int result = RUN_ALL_TESTS();
  AlphaHintsUnit.Finalization();
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return result;
}
