// Tobrin's units: the skin library's start-up steps run in their order
// before the form's unit.
#include <gtest/gtest.h>

#include "soundbank_test/program_units.h"
#include "tests/skin_shell/startup_order.h"

namespace {

TEST(TobrinUnits, TheStartUpStepsRunInOneRunBeforeTheForm) {
  ExpectStartupStepsInOrder(TobrinUnits(), "SoundBankForm");
}

}  // namespace
