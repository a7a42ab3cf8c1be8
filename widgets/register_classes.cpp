// The creatable classes of the layer, registered by the controls unit's
// start-up so the form reader finds them by name.
#include <windows.h>
// <windows.h> maps RegisterClass to the window-class call.
#undef RegisterClass

#include "widgets/buttons.h"
#include "widgets/comctrls.h"
#include "widgets/extctrls.h"
#include "widgets/forms.h"
#include "widgets/menus.h"
#include "widgets/stdctrls.h"
#include "widgets/units.h"

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
  RegisterMenuClasses();
}
