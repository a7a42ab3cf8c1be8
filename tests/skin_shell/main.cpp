// The entry of the shell tests: the layer's units, the skin core's and the
// alpha image list's start before the tests and stop after them. The
// start-up steps under test run inside the tests.
#include <gtest/gtest.h>

#include "skin/controls/alpha_image_list.h"
#include "skin/engine/skin_units.h"
#include "widgets/rtl/units.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  AlphaImageListUnit.Initialization();
  int result = RUN_ALL_TESTS();
  AlphaImageListUnit.Finalization();
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return result;
}
