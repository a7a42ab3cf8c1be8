// The page control's arithmetic, apart from any window: which page a
// re-activation lands on, where the tab row and the display area lie, the
// skinned tab rectangles with enlarged and overlapping tabs, the layout of a
// tab's content, and the padding that narrows the platform's tabs. The
// control feeds them what its window reports.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "widgets/controls/comctrls.h"
#include "widgets/controls/stdctrls.h"
#include "widgets/rtl/sysutils.h"

enum TvlTabType : uint8_t { ttButton, ttMenu, ttTab };
enum TvlCloseAction : uint8_t { vlaHide, vlaFree };

// What a re-activation needs to know of one page.
struct TabPageInfo {
  bool TabVisible = true;
  TvlTabType Type = ttTab;
};

// The page at Index when its tab shows and it is an ordinary tab; else the
// first such page after it, else the nearest one before it, else Index
// itself. -1 for an Index outside the pages: callers then change nothing.
int NearestSelectableIndex(const std::vector<TabPageInfo>& Pages, int Index);

// The display area (the page frame) and the tab row, from the control's
// size and the page area the platform's adjustment gives; without tabs the
// display area is the whole control and the tab row is empty.
TRect DisplayRectFor(TTabPosition Position, bool HasTabs, int Width, int Height,
                     const TRect& PageArea);
TRect TabsRectFor(TTabPosition Position, bool HasTabs, int Width, int Height,
                  const TRect& PageArea);
// The tab row reaching into the page area: what a repainted tab takes as its
// background.
TRect TabsLineRectFor(TTabPosition Position, bool HasTabs, int Width, int Height,
                      const TRect& PageArea);

struct SkinTabRectInput {
  TRect PlatformRect;  // the platform's rectangle of the tab
  TTabPosition Position = tpTop;
  TTabStyle Style = tsTabs;
  bool Active = false;
  bool ActiveTabEnlarged = true;
  bool Skinned = true;  // a manager serves the control
  bool IsTabPage = true;
  int Covering = 0;       // this page's overlap
  int PrevCovering = -1;  // the neighbours' overlaps; -1: no neighbour there
  int NextCovering = -1;
};
TRect SkinTabRectFor(const SkinTabRectInput& In);

struct TabContentLayout {
  TRect ImageRect, TextRect, CloseRect, ArrowRect, FocusRect;
  int TextWidth = 0, TextHeight = 0;
  int RotatedTextX = 0, RotatedTextY = 0;
  uint8_t ArrowDirection = 0;  // 2 right, 3 down
};

struct TabContentInput {
  TRect R;  // the tab's rectangle
  TTabPosition Position = tpTop;
  TTabStyle Style = tsTabs;
  bool Vertical = false;  // the caption runs vertically
  bool IsButton = false;  // a button or menu tab
  bool IsMenu = false;
  int State = 0;
  bool ActiveTabEnlarged = true;
  bool Shift = true;         // content moves when pressed
  bool CloseButton = false;  // this tab shows a close button
  bool ShowCloseBtns = false;
  int CloseWidth = 15, CloseHeight = 15;
  bool HasImage = false;
  int ImageWidth = 0, ImageHeight = 0;
  int TextWidth = 0, TextHeight = 0;
  bool CaptionEmpty = false;
  int TabMargin = 3, TabPadding = 0, TabSpacing = 6;
  TAlignment Alignment = taCenter;
  bool FocusFrame = false;  // ShowFocus and the control has the focus
};
TabContentLayout LayoutTabContentFor(const TabContentInput& In);

// The horizontal padding handed to TCM_SETPADDING; Covering is the skin's
// overlap, already scaled, and 0 unskinned.
int TabPaddingWidth(bool ShowClose, bool HasImages, int TabPadding, int Covering,
                    int CloseBtnWidth);
