// The creatable classes of the layer, registered by the controls unit's
// start-up so the form reader finds them by name.
#include <windows.h>
// <windows.h> maps RegisterClass to the window-class call.
#undef RegisterClass

#include "widgets/extctrls.h"
#include "widgets/forms.h"
#include "widgets/units.h"

void RegisterStandardControls() {
  RegisterClass(TForm::StaticClass());
  RegisterClass(TTimer::StaticClass());
}
