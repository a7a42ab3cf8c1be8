// Delivery of the skin command message: directly into a registered control's
// window procedure, through the platform otherwise, and the two broadcasts
// down a tree of controls and to the direct child windows of a window.
#pragma once

#include <windows.h>

#include <cstdint>

#include "skin/foundation/skin_commands.h"
#include "widgets/controls/messages.h"

class TControl;
class TWinControl;

// The delivery every sender uses: a window whose "VLSDATA" skin state knows
// its control's window procedure is called directly; any other window gets
// SendMessageA.
LRESULT DeliverMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
// Perform for a graphic control; nothing (0) for a windowed control that is
// being destroyed or has no window yet (none is made for a message);
// DeliverMessage on its window otherwise.
LRESULT DeliverControlMessage(TControl* Control, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT SendSkinCommand(HWND Wnd, uint16_t Code, LPARAM LParam);
LRESULT PerformSkinCommand(TControl* Control, uint16_t Code, LPARAM LParam);
LRESULT PerformSkinQuery(TControl* Control, uint16_t Code);
bool SendSkinQuery(HWND Wnd, uint16_t Code);
LRESULT SetWindowRedraw(HWND Wnd, WPARAM Redraw);

// A window that has "VLSDATA", has "VLSBSC", or answers SkinCmdIsSkinned with
// exactly 1 (tested in that order).
bool IsSkinnedWindow(HWND Wnd);
// A windowed control with a handle is tested by its window; any other control
// by Perform.
bool IsSkinnedControl(TControl* Control);

// Delivers Message to every child of Control, recursively, except into the
// children of skinned windows (they pass messages on themselves) and of
// children vetoed by ChildBroadcastVeto. Stops at the first child that is
// being destroyed: later siblings get nothing. Message is left unchanged.
void BroadcastToChildControls(TWinControl* Control, const TMessage& Message);
// Delivers Message once to each direct child window of Wnd.
void BroadcastToChildWindows(HWND Wnd, const TMessage& Message);
using TChildBroadcastVeto = bool (*)(TControl* Child);
extern TChildBroadcastVeto ChildBroadcastVeto;

// Fills a message record with Result 0.
void MakeMessage(UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT Result, TMessage& Message);

// Installs the engine's delivery and the default manager's colours as the
// route of skin commands (the foundation's background queries use it).
void SkinMessageInitialization();
// Puts the platform's route back.
void SkinMessageFinalization();
