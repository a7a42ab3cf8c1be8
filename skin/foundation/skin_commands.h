// The skin library's private window message and its command codes.
//
// WParam: the command code in bits 16..31 and a small argument in bits 0..15.
// LParam: a manager, a plain value or the address of a record; always the
// full pointer width. Result: 0 means "not answered" for every query, so a
// window whose default procedure answers 0 reads as unskinned.
#pragma once

#include <windows.h>

#include <cstdint>

#include "widgets/graphics/colors.h"

class TControl;

constexpr UINT SkinCommandMessage = 0xA100;

enum TSkinCommand : uint16_t {
  SkinCmdNewSkin = 1,
  SkinCmdRemoveSkin = 2,
  SkinCmdRefresh = 3,
  SkinCmdGetProvider = 4,
  SkinCmdAboutToPaint = 5,
  SkinCmdResumePaint = 6,
  SkinCmdIsSkinned = 7,
  SkinCmdSetUpdating = 8,
  SkinCmdGetDefaultSection = 9,
  SkinCmdIsUpdating = 10,
  SkinCmdIsCacheIncomplete = 11,
  SkinCmdGetAdapter = 12,
  SkinCmdSectionUpdated = 13,
  SkinCmdPopupShown = 14,
  SkinCmdSetSection = 15,
  SkinCmdStopAnimation = 16,
  SkinCmdBgChanged = 17,
  SkinCmdInvalidate = 18,
  SkinCmdBackgroundVaries = 19,
  SkinCmdParentBgChanged = 20,
  SkinCmdGetBgColor = 21,
  SkinCmdSetCacheIncomplete = 22,
  SkinCmdPrepareCache = 23,
  SkinCmdRefreshFace = 24,
  SkinCmdControlAdded = 25,
  SkinCmdGetSkinIndex = 26,
  SkinCmdAdapterQuery = 27,
  SkinCmdAdaptChildren = 28,
  SkinCmdMouseEnter = 29,
  SkinCmdMouseLeave = 30,
  SkinCmdBeginUpdate = 31,
  SkinCmdEndUpdate = 32,
  SkinCmdReleaseCache = 33,
  SkinCmdGetBackground = 34,
  SkinCmdTransparency = 36,
  SkinCmdGetSkinData = 37,
  SkinCmdSetPrintDC = 38,
  SkinCmdPaintOuterEffect = 40,
  SkinCmdBeforeScroll = 51,
  SkinCmdAfterScroll = 52,
  SkinCmdFrameChanged = 53,
  SkinCmdGetApplication = 60,
  SkinCmdGetClientOffset = 61,
  SkinCmdTitleChanged = 62,
  SkinCmdGluedMove = 63,
  SkinCmdIsGluedMoving = 64,
  SkinCmdSetAlpha = 65,
  SkinCmdGetBgSection = 66,
  SkinCmdGetBorderWidth = 67,
  SkinCmdSetScale = 68,
  SkinCmdGetScale = 69,
  SkinCmdGetBounds = 70,
  SkinCmdApplyLivePreview = 71,
  SkinCmdCurrentSkinChanged = 74,
  SkinCmdSkinListRebuilt = 75,
};

// The first message parameter of a command: code in the high word of the
// low 32 bits (0x470000 for code 71), argument in the low word.
constexpr WPARAM SkinCmdParam(uint16_t Code, uint16_t Arg = 0) {
  return (static_cast<WPARAM>(Code) << 16) | Arg;
}
constexpr uint16_t SkinCmdCode(WPARAM WParam) {
  return static_cast<uint16_t>(WParam >> 16);
}
constexpr uint16_t SkinCmdArg(WPARAM WParam) {
  return static_cast<uint16_t>(WParam & 0xFFFF);
}

// The record of SkinCmdGetBgSection and SkinCmdGetSkinIndex. Sender and
// receiver share this one layout and use its members by name.
struct BgSectionQuery {
  int32_t State = 0;   // in: the state index 0..2 asked about
  int32_t Index = -1;  // out: the skin section index, -1 for none
  RECT Rect{};         // in: the asker's rectangle in the receiver's client coordinates
};
static_assert(sizeof(BgSectionQuery) == 24, "fixed layout on every target");

// How skin commands reach a control or a window, and what the default skin
// manager answers for colours. The engine installs its own route at
// start-up (a registered control's window procedure is then called
// directly, and the manager's colours are known); before that, and for
// programs without the engine, messages take the platform's way and no
// manager exists.
struct TSkinCommandRoute {
  LRESULT (*ToWindow)(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
  LRESULT (*ToControl)(TControl* Control, UINT Msg, WPARAM WParam, LPARAM LParam);
  // The default manager's main colour; false without a default manager, or,
  // with RequireActiveSkin, without one whose skin is active.
  bool (*DefaultManagerColor)(bool RequireActiveSkin, TColor& Color);
};
TSkinCommandRoute& SkinCommandRoute();
// The platform's way: SendMessageA, or Perform on a control (nothing for a
// windowed control that has no handle or is being destroyed).
LRESULT PlatformSendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT PlatformControlMessage(TControl* Control, UINT Msg, WPARAM WParam, LPARAM LParam);
