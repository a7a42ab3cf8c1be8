// The layer's units and Tobrin's form unit start before the tests and stop
// after them, as in the program (without its body).
#include <gtest/gtest.h>

#include "soundbank_test/tobrin_form.h"
#include "widgets/units.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  InitializeWidgetUnits();
  InitSoundBankUnit();
  int result = RUN_ALL_TESTS();
  FinalizeSoundBankUnit();
  FinalizeWidgetUnits();
  return result;
}
