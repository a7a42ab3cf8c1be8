// The free routines the window adapters share: system fonts, colour
// properties of foreign controls by name, a window's geometry, the frame
// refresh after a release, passing a command to children, and the cache of
// a bordered adapter.
#pragma once

#include <windows.h>

#include <string>

#include "widgets/controls/messages.h"
#include "widgets/graphics/colors.h"
#include "widgets/rtl/sysutils.h"

class TCanvas;
class TControl;
class TObject;
class TsCommonData;
class TvlMainWnd;

// A font made from the system's non-client metrics: 1 caption, 2 small
// caption, 3 menu, 4 status, any other the message font; 0 when the
// metrics cannot be read. The caller owns the font.
HFONT CreateSystemFont(int Kind);
// The canvas's font takes over CreateSystemFont(Kind) and is selected.
void SelectSystemFont(TCanvas* Canvas, int Kind);
// The font of the adapter's cache canvas: the control's, else the window's
// WM_GETFONT answer, else the message font.
void SelectWindowFont(TvlMainWnd* Adapter);

// Colour properties reached by their published names; absent ones are
// skipped (set) or read as 0.
void SetColorPropIfPresent(TObject* Control, const std::string& Name, int Value);
TColor GetColorPropRGB(TObject* Control, const std::string& Name);
int GetColorPropValue(TObject* Control, const std::string& Name);

// The window's screen rectangle, its parent and the parent's screen
// rectangle, its size, and its top-left in the parent's client area.
void GetWindowGeometry(HWND Wnd, HWND& ParentWnd, TRect& WindowRect, TRect& ParentRect, TSize& Size,
                       TPoint& Pos);

// With RecalcFrame the frame is measured again (SetWindowPos 0x727), else
// only repainted (WM_NCPAINT 1 through DeliverMessage).
void RefreshWindowFrame(HWND Wnd, bool RecalcFrame);
// The control's child controls, or without a control the window's direct
// child windows, receive the message.
void PassToChildren(TControl* Control, HWND Wnd, const TMessage& Message);
// The top-level window above Wnd is asked to look for new controls.
void NotifyTopLevelControlAdded(HWND Wnd);

// Whether a bordered adapter may show its hot state.
bool HotBorderAllowed(TsCommonData* SkinData, bool CheckKind);
// Repaints the cache of a bordered adapter while its background changed.
// A parent whose own cache is not ready leaves Updating set and the old
// cache as it was.
void PaintBorderCache(TsCommonData* SkinData, HWND Wnd, bool DialogMode);
// The parent's background put into the see-through pixels of the cache's
// four border corners.
void FillBorderCorners(TsCommonData* SkinData, int State, TvlMainWnd* Adapter);
