// The entry of the skinned-control test areas: the layer's units, the skin
// core's and the skinned controls' start before the tests and stop after
// them, as in a program (the controls' start-up registers their classes for
// the form reader).
#include <gtest/gtest.h>

#include "skin/controls/controls_unit.h"
#include "skin/engine/skin_units.h"
#include "widgets/rtl/units.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  SkinControlsUnit.Initialization();
  int result = RUN_ALL_TESTS();
  SkinControlsUnit.Finalization();
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return result;
}
