#include "skin/controls/controls_unit.h"

#include "skin/controls/group_box.h"
#include "skin/controls/track_bar.h"

namespace {

void InitSkinControls() {
  RegisterClass(TsTrackBar::StaticClass());
  RegisterClass(TsGroupBox::StaticClass());
}

}  // namespace

const TUnitInfo SkinControlsUnit{"sControls", InitSkinControls, nullptr};
