// The entry of the skin test areas: the layer's and the skin core's units
// start before the tests and stop after them, as in a program.
#include <gtest/gtest.h>

#include "skin/engine/skin_units.h"
#include "widgets/rtl/units.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  int result = RUN_ALL_TESTS();
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return result;
}
