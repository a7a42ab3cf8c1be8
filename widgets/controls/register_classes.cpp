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
  RegisterClass(TForm::StaticClass());
  RegisterClass(TTimer::StaticClass());
  RegisterClass(TLabel::StaticClass());
  RegisterClass(TGroupBox::StaticClass());
  RegisterClass(TButton::StaticClass());
  RegisterClass(TBitBtn::StaticClass());
  RegisterClass(TEdit::StaticClass());
  RegisterClass(TComboBox::StaticClass());
  RegisterClass(TListBox::StaticClass());
  RegisterClass(TTrackBar::StaticClass());
  RegisterClass(TPageControl::StaticClass());
  RegisterClass(TTabSheet::StaticClass());
  RegisterClass(TToolBar::StaticClass());
  RegisterClass(TToolButton::StaticClass());
  RegisterMenuClasses();
}
