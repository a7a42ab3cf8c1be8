// The application hook's part in the main form's window state: the exit
// animation as the application ends, the minimize and restore animations
// toward the task bar, and the task bar's system menu and iconic pictures.
#pragma once

#include <windows.h>

#include "widgets/controls/messages.h"

class TsSkinManager;

// Each answers one message of the application window for Manager's skin;
// True: handled, the application window does not see it.
// WM_WINDOWPOSCHANGED: fades the main form out once the application ends.
bool HookExitAnimation(TsSkinManager* Manager, const TMessage& Message);
// WM_SYSCOMMAND SC_MINIMIZE and SC_RESTORE while a skin is loaded.
bool HookMinimize(TsSkinManager* Manager);
bool HookRestore(TsSkinManager* Manager);
// The task bar's request for the system menu (0x313).
bool HookTaskbarSysMenu();
// WM_DWMSENDICONICTHUMBNAIL and WM_DWMSENDICONICLIVEPREVIEWBITMAP.
bool HookIconicRequest(TMessage& Message);

// Asks the desktop window manager for Wnd's task-bar pictures from the
// program (Enable) or from the window itself, only with UseIconicPreviews.
void EnableIconicBitmaps(HWND Wnd, bool Enable);
