#include "widgets/rtl/units.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "widgets/forms/forms.h"
#include "widgets/graphics/graphics.h"
#include "widgets/rtl/sysutils.h"
#include "widgets/controls/window_procs.h"

namespace {

void InitControlsUnit() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  ControlAtom();
  RegisterStandardControls();
}

void FinalizeControlsUnit() {
  UnregisterAllClasses();
  FinalizeWindowProcs();
}

const TUnitInfo kWidgetUnits[] = {
    {"SysUtils", &InitSysLocale, nullptr},
    {"Graphics", &InitGraphicsUnit, nullptr},
    {"Controls", &InitControlsUnit, &FinalizeControlsUnit},
    {"Forms", &InitFormsUnit, &FinalizeFormsUnit},
};

int& WidgetUnitsStarted() {
  static int started = 0;
  return started;
}

}  // namespace

void InitializeWidgetUnits() {
  int& started = WidgetUnitsStarted();
  for (; started < static_cast<int>(std::size(kWidgetUnits)); ++started)
    if (kWidgetUnits[started].Initialization) kWidgetUnits[started].Initialization();
}

void FinalizeWidgetUnits() {
  int& started = WidgetUnitsStarted();
  for (; started > 0; --started)
    if (auto fini = kWidgetUnits[started - 1].Finalization) Guarded(nullptr, [&] { fini(); });
}

int RunProgram(std::initializer_list<TUnitInfo> Units, void (*Body)()) {
  return RunProgram(std::vector<TUnitInfo>(Units), Body);
}

int RunProgram(const std::vector<TUnitInfo>& units, void (*Body)()) {
  int code = 0;
  size_t started = 0;
  try {
    InitializeWidgetUnits();
    for (; started < units.size(); ++started)
      if (units[started].Initialization) units[started].Initialization();
    if (Body) Body();
  } catch (...) {
    HandleException(nullptr);
    code = 1;
  }
  DestroyApplication();
  for (size_t i = started; i-- > 0;)
    if (auto fini = units[i].Finalization) Guarded(nullptr, [&] { fini(); });
  FinalizeWidgetUnits();
  return code;
}
