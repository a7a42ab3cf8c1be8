// The process-wide system-colour interception of the default skin manager:
// the entries of GetSysColor, GetSysColorBrush and CreatePen are overwritten
// with a jump to replacements that answer with the skin's colours, and the
// saved bytes are written back when skinning ends.
//
// Only what calls through the entries follows the interception. Code that
// reaches the colours another way (under Wine, drawing inside win32u) keeps
// the system's colours.
#pragma once

#include <windows.h>

#include <cstddef>

// The jump written over an entry: FF 25 00000000 and the absolute address on
// 64-bit, E9 and a 32-bit displacement on 32-bit.
constexpr size_t ApiPatchSize = sizeof(void*) == 8 ? 14 : 5;

// PUSH imm32 followed by JMP rel32 (the thunks of a platform without NT).
bool IsPushJmpThunk(const void* Address);
// The code to patch for Function: an import stub (JMP through a pointer) is
// followed to the entry it leads to. Nil for nil.
void* ResolveApiEntry(void* Function);

// Each pair patches once and restores once, however often it is called.
void HookGetSysColor();
void UnhookGetSysColor();
void HookGetSysColorBrush();
void UnhookGetSysColorBrush();
void HookCreatePen();
void UnhookCreatePen();

// All three, as the skin manager's seams call them. Removing also frees the
// interception's cached brushes.
void InstallSysColorInterception();
void RemoveSysColorInterception();

// The replacements. Without a default manager: 0, nil, and a pen of the
// colour as passed.
COLORREF WINAPI SkinGetSysColor(int Index);
HBRUSH WINAPI SkinGetSysColorBrush(int Index);
HPEN WINAPI SkinCreatePen(int Style, int Width, COLORREF Color);

// The skin manager unit plugs the interception into its seams at start-up
// and takes it out, restored, at shutdown.
void SysColorPatchesInitialization();
void SysColorPatchesFinalization();
