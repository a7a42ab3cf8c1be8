#include "skin/adapters/adapter_unit.h"

#include "skin/adapters/adapter_base.h"
#include "skin/adapters/edit_stand_ins.h"
#include "skin/adapters/stand_in_adapters.h"
#include "skin/engine/services_forms.h"

bool AdapterDialogMode = false;
TGetScrollBarInfo GetScrollBarInfoProc = nullptr;
TInitializeFlatSB InitializeFlatSBProc = nullptr;
TUninitializeFlatSB UninitializeFlatSBProc = nullptr;
std::vector<TvlMainWnd*> PageAdapters;

namespace {

int startCount = 0;
HMODULE user32 = nullptr;
HMODULE comctl32 = nullptr;

template <typename F>
F Bound(HMODULE Module, const char* Name) {
  return Module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module, Name)))
                : nullptr;
}

}  // namespace

void SBUtilsInitialization() {
  if (startCount++ > 0) return;
  RegisterAdapterClass(TvlMainWnd::AdapterClass());
  RegisterAdapterClass(TvlSpinWnd::AdapterClass());
  RegisterAdapterClass(TvlCheckBoxWnd::AdapterClass());
  RegisterAdapterClass(TvlBaseWnd::AdapterClass());
  RegisterAdapterClass(TvlEditWnd::AdapterClass());
  RegisterAdapterClass(TvlComboListWnd::AdapterClass());
  RegisterAdapterClass(TvlListViewWnd::AdapterClass());
  user32 = LoadLibraryA("user32.dll");
  GetScrollBarInfoProc = Bound<TGetScrollBarInfo>(user32, "GetScrollBarInfo");
  comctl32 = LoadLibraryA("comctl32.dll");
  UninitializeFlatSBProc = Bound<TUninitializeFlatSB>(comctl32, "UninitializeFlatSB");
  InitializeFlatSBProc = Bound<TInitializeFlatSB>(comctl32, "InitializeFlatSB");
}

void SBUtilsFinalization() {
  if (startCount == 0 || --startCount > 0) return;
  ReleaseMenuWindows();
  GetScrollBarInfoProc = nullptr;
  InitializeFlatSBProc = nullptr;
  UninitializeFlatSBProc = nullptr;
  if (comctl32) FreeLibrary(comctl32);
  if (user32) FreeLibrary(user32);
  comctl32 = user32 = nullptr;
  std::vector<TvlMainWnd*> pages;
  pages.swap(PageAdapters);
  for (TvlMainWnd* a : pages) ReleaseWndAdapter(a ? a->WindowHandle : nullptr, true, false, a);
  DialogAdapterList.reset();
}

const TUnitInfo SBUtilsUnit = {"vlSBUtils", SBUtilsInitialization, SBUtilsFinalization};
