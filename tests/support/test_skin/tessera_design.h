// The design of the Tessera skin: slate, teal and amber plates with a diamond
// motif, laid out into a master picture and a few files of their own.
#pragma once

#include "skin_builder.h"

namespace test_skin {

// The sound skin; large adds about a hundred sections on a 1024 x 1024 master.
void DesignTessera(SkinBuilder& b, bool large);

inline int MasterWidthFor(bool large) {
  return large ? 1024 : 256;
}
inline int MasterHeightFor(bool large) {
  return large ? 1024 : 256;
}

}  // namespace test_skin
