#include "skin/controls/controls_unit.h"

#include "skin/controls/button.h"
#include "skin/controls/button_glyphs.h"
#include "skin/controls/combo_box.h"
#include "skin/controls/edit.h"
#include "skin/controls/group_box.h"
#include "skin/controls/hint_templates.h"
#include "skin/controls/label.h"
#include "skin/controls/page_control.h"
#include "skin/controls/track_bar.h"

namespace {

void InitSkinControls() {
  RegisterClass(TsTrackBar::StaticClass());
  RegisterClass(TsGroupBox::StaticClass());
  RegisterClass(TsButton::StaticClass());
  RegisterClass(TsComboBox::StaticClass());
  RegisterClasses(
      {&TsLabel::StaticClass(), &TsHTMLLabel::StaticClass(), &TsEditLabel::StaticClass()});
  RegisterClass(TsPageControl::StaticClass());
  RegisterClass(TsTabSheet::StaticClass());
  RegisterClass(TsEdit::StaticClass());
  // The hint template is built before the button glyphs, as the units stand
  // in the library's start-up order.
  AlphaHintsUnit.Initialization();
  ButtonGlyphsUnit.Initialization();
}

void FinalizeSkinControls() {
  ButtonGlyphsUnit.Finalization();
  AlphaHintsUnit.Finalization();
}

}  // namespace

const TUnitInfo SkinControlsUnit{"sControls", InitSkinControls, FinalizeSkinControls};
