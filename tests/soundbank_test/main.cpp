// The layer's units, the skin core's and Tobrin's form unit start before the
// tests and stop after them, as in the program (without its body).
#include <gtest/gtest.h>

#include "soundbank_test/tobrin_form.h"
#include "skin/engine/skin_units.h"
#include "widgets/rtl/units.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  InitializeWidgetUnits();
  InitializeSkinCoreUnits();
  InitSoundBankUnit();
  int result = RUN_ALL_TESTS();
  FinalizeSoundBankUnit();
  FinalizeSkinCoreUnits();
  FinalizeWidgetUnits();
  return result;
}
