// The adapters' unit: the state all adapters share and its start-up and
// shutdown step.
#pragma once

#include <windows.h>

#include <vector>

#include "widgets/rtl/units.h"

class TvlMainWnd;

// Set by the dialog hook while it adapts a standard dialog's children;
// adapters made meanwhile keep the platform's visual styles.
extern bool AdapterDialogMode;

// Functions bound by name at start-up; nil when missing. Tests replace them.
using TGetScrollBarInfo = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using TInitializeFlatSB = BOOL(WINAPI*)(HWND);
using TUninitializeFlatSB = HRESULT(WINAPI*)(HWND);
extern TGetScrollBarInfo GetScrollBarInfoProc;
extern TInitializeFlatSB InitializeFlatSBProc;
extern TUninitializeFlatSB UninitializeFlatSBProc;

// The adapters the page-control adapters make; freed at shutdown.
extern std::vector<TvlMainWnd*> PageAdapters;

// Runs once however often it is called (a counter guards it).
void SBUtilsInitialization();
void SBUtilsFinalization();

extern const TUnitInfo SBUtilsUnit;
