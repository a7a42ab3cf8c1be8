#include "skin/controls/controls_unit.h"

#include "skin/controls/track_bar.h"

namespace {

void InitSkinControls() {
  RegisterClass(TsTrackBar::StaticClass());
}

}  // namespace

const TUnitInfo SkinControlsUnit{"sControls", InitSkinControls, nullptr};
