// Where a push button puts its caption and image, which image a state
// shows, and the window style that keeps every button type owner-drawn.
// Pure functions of a record of what the button reads, so that the button
// and its tests share one geometry.
#pragma once

#include <windows.h>

#include "widgets/rtl/sysutils.h"

enum TImageAlignment { iaLeft, iaRight, iaTop, iaBottom, iaCenter };

struct ButtonLayoutInput {
  int Width = 0, Height = 0;
  int Style = 0;  // TButtonStyle: 0 push, 1 command link, 2 split
  bool HasImage = false;
  int ImageWidth = 0, ImageHeight = 0;  // the list's image size
  TRect ImageMargins;                   // Left, Top, Right, Bottom
  int ContentMargin = 6;
  TImageAlignment ImageAlignment = iaLeft;
  int TextWidth = 0, TextHeight = 0;  // the caption measured; 0 x 0 when empty
  int SplitArrowWidth = 16;
  bool Shift = false;  // pressed, and the look moves its content
};

// 16 pixels at 100 %.
inline int ButtonSplitArrowWidth(int ScalePercent) {
  return 16 * ScalePercent / 100;
}
TRect ButtonContentRect(const ButtonLayoutInput& In);
TRect ButtonImageRect(const ButtonLayoutInput& In);

struct ButtonImageIndexes {
  int ImageIndex = -1, HotImageIndex = -1, PressedImageIndex = -1, SelectedImageIndex = -1,
      DisabledImageIndex = -1;
};
// ContentState: 0 normal, 1 hot, 2 pressed, 3 default. A chosen index the
// list does not hold falls back to ImageIndex.
int ButtonCurrentImageIndex(const ButtonImageIndexes& Indexes, int ImageCount, bool Enabled,
                            bool Focused, int ContentState);

// The button type is a four-bit number, not a set of flags: or-ing the
// owner-draw type into a split button or command link would make another
// type. The type is replaced instead.
inline DWORD OwnerDrawButtonStyle(DWORD Style) {
  return (Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}
