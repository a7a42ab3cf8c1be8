// The handling every skinned control and adapter shares: the library's
// skin commands that all answer the same way, and the platform and widget
// messages that change a control's skin state. Each control handles its
// own codes first and then passes the message here.
#pragma once

#include <windows.h>

#include "widgets/controls/messages.h"

class TControl;
class TsCommonData;
struct BgSectionQuery;

// True: consumed, the caller must not pass the message on. Nil skin data or
// another message: True and nothing done.
bool HandleSkinCommand(TMessage& Message, TsCommonData* SkinData);
// False for nil skin data and for every message it does not consume.
bool HandleControlMessage(TMessage& Message, TsCommonData* SkinData);
// Whether the cursor is still over the control's window (its skinned
// scroll bars included) and not over a window covering it.
bool IsMouseOverControl(TsCommonData* SkinData);

// Which section lies under Query.Rect of a control or window (the answer
// to SkinCmdGetBgSection).
LRESULT QueryBackgroundSection(TControl* Control, BgSectionQuery& Query);
LRESULT QueryBackgroundSectionWnd(HWND Wnd, BgSectionQuery& Query);

// Hints are switched off while a control is dragged and the application's
// ShowHint is kept here to be given back.
extern bool HintsSuspended;
extern bool SavedShowHint;
