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
};

struct TesseraLook {
  TrackBarLook Track{};
  ButtonLook Button{};
};

// A sound skin; large adds about a hundred sections on a 1024 x 1024 master.
void DesignTessera(SkinBuilder& b, bool large, const TesseraLook& look = {});

// Parts of the design (tessera_controls.cpp): the check-box images of
// GLOBALINFO, and the sections of push buttons, group boxes and check boxes.
void CheckBoxImages(SkinBuilder& b);
void ControlSections(SkinBuilder& b, const ButtonLook& look);

inline int MasterWidthFor(bool large) {
  return large ? 1024 : 256;
}
inline int MasterHeightFor(bool large) {
  return large ? 1024 : 256;
}

}  // namespace test_skin
