// The layer's units start before the tests and stop after them, as in a
// program (without a program body).
#include <gtest/gtest.h>

#include "widgets/rtl/units.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  InitializeWidgetUnits();
  int result = RUN_ALL_TESTS();
  FinalizeWidgetUnits();
  return result;
}
