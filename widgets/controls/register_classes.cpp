// The creatable classes of the layer, registered by the controls unit's
// start-up so the form reader finds them by name.
#include <windows.h>
// <windows.h> maps RegisterClass to the window-class call.
#undef RegisterClass

#include "widgets/controls/buttons.h"
#include "widgets/controls/comctrls.h"
#include "widgets/controls/extctrls.h"
#include "widgets/forms/forms.h"
#include "widgets/menus/menus.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/rtl/units.h"

void RegisterStandardControls() {
  RegisterClasses({&TForm::StaticClass(), &TTimer::StaticClass(), &TLabel::StaticClass(),
                   &TGroupBox::StaticClass(), &TButton::StaticClass(), &TBitBtn::StaticClass(),
                   &TEdit::StaticClass(), &TComboBox::StaticClass(), &TListBox::StaticClass(),
                   &TTrackBar::StaticClass(), &TPageControl::StaticClass(),
                   &TTabSheet::StaticClass(), &TToolBar::StaticClass(),
                   &TToolButton::StaticClass(), &TMemo::StaticClass()});
  RegisterMenuClasses();
}
