// The engine's side of skinned text and drawing helpers: the same painters
// fed from a skin manager and a control's skin state, and the choice of the
// section whose colours show under a see-through control.
#pragma once

#include <windows.h>

#include "skin/foundation/skin_source.h"
#include "skin/foundation/text_paint.h"

class TCanvas;
class TControl;
class TWinControl;
class TsCommonData;
class TsSkinManager;

// The section whose background shows behind a control in a state: index,
// unless the control is in its normal state or the section is see-through
// (40 percent or more) there, when the control is asked which section lies
// under it. A control that gives no section keeps index.
int EffectiveSectionIndex(TControl* control, int index, TsSkinManager* manager, int state);

// Nil manager: the default manager.
void DrawSectionText(TCanvas* canvas, const char* text, bool enabled, RECT rect, UINT format,
                     int sectionIndex, int state, TsSkinManager* manager);
void DrawControlText(TCanvas* canvas, const char* text, bool enabled, RECT rect, UINT format,
                     TsCommonData* skinData, int state);

// Graphic children left out of the clip, unless the default manager paints
// standard images transparently (or there is no default manager).
void ExcludeGraphicChildren(HDC dc, TWinControl* parent, int x, int y);
