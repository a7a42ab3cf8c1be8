// The design of the Tessera skin: slate, teal and amber plates with a diamond
// motif, laid out into a master picture and a few files of their own.
#pragma once

#include "skin_builder.h"

namespace test_skin {

// How the track bar section of a sound variant departs from the standard
// design; the defaults give the standard one.
struct TrackBarLook {
  bool Section = true;      // false: the skin has no TRACKBAR section at all
  bool Opaque = false;      // opaque states filled with a left-to-right gradient
  bool TickImages = true;   // TICKHORZ and TICKVERT
  bool ThumbImages = true;  // SLIDERMASK and SLIDERVMASK
  int Glow = 3;             // the section's GLOW value; its GLOW0 image stays
};

// How the push buttons' borders masks depart from the standard design.
struct ButtonLook {
  bool NormalFrame = true;  // false: PaintMode bit 2, nothing of the mask in the normal state
  bool Glyph = false;       // a GLYPHMASK of BUTTON's own, which its children inherit
};

// How the edit and combo-box sections depart from the standard design.
struct FieldLook {
  bool EditOuterMask = false;  // EDIT paints its own shadow: OUTERMODE 1 and an OUTERMASK
  bool ComboOwnFont = false;   // COMBOBOX has GIVEOWNFONT: a drawn arrow instead of its glyph
  int ComboGlow = 2;           // COMBOBOX's GLOW value; its GLOW0 image stays
  bool Selection = false;      // a three-state SELECTION section gives the selection colours
  bool ComboMargin = true;     // false: no COMBOMARGIN key, the reader's default applies
  int EditBorder = 1;          // EDIT's borders width; 2 adds a teal inner rim to both frames
};

// How the hint section departs from the standard design.
struct HintLook {
  int Transparency = -1;  // the normal state's TRANSPARENCY; negative: not written
};

// How the page control's and tabs' sections depart from the standard design.
struct PagesLook {
  bool TabTop = true;      // false: no TABTOP section, so no skinned tabs at all
  bool PlaceTabs = false;  // TABTOPFIRST, TABTOPLAST and TABTOPMIDDLE besides the plain ones
  int Covering = 0;        // TABTOP's TABSCOVERING; 0 writes no key
};

// How the scroll-bar sections depart from the standard design.
struct ScrollLook {
  bool Sections = true;           // false: no scroll-bar section and no GRIPIMAGE
  bool TransparentTrack = false;  // SCROLLBAR1H fully transparent, without an image
};

struct TesseraLook {
  TrackBarLook Track{};
  ButtonLook Button{};
  FieldLook Fields{};
  HintLook Hint{};
  PagesLook Pages{};
  ScrollLook Scrolls{};
};

// A sound skin; large adds about a hundred sections on a 1024 x 1024 master.
void DesignTessera(SkinBuilder& b, bool large, const TesseraLook& look = {});

// Parts of the design (tessera_controls.cpp): the check-box images of
// GLOBALINFO, the sections of push buttons, group boxes and check boxes, and
// those of edits, combo boxes and selections.
void CheckBoxImages(SkinBuilder& b);
void ControlSections(SkinBuilder& b, const ButtonLook& look);
// The sections of edits and combo boxes, and the selection section of lists.
void FieldSections(SkinBuilder& b, const FieldLook& look);
// The hint bubble's section (tessera_hints.cpp).
void HintSection(SkinBuilder& b, const HintLook& look);
// The page control's frames (top, bottom and left tabs), the sheet, the tabs
// by side, the small close image, and the button sections button and menu
// tabs and the tab scroller take.
void PageSections(SkinBuilder& b, const PagesLook& look);
// The replacement scroll bars' tracks, arrows, thumbs and the size-box grip
// (tessera_scrolls.cpp).
void ScrollSections(SkinBuilder& b, const ScrollLook& look);

inline int MasterWidthFor(bool large) {
  return large ? 1024 : 256;
}
inline int MasterHeightFor(bool large) {
  return large ? 1024 : 384;
}

}  // namespace test_skin
