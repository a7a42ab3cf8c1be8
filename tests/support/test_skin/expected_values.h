// The values a loader must produce from a test skin, worked out from what the
// generator wrote: inheritance, defaults, the appended sections, the palette
// and the cached image indices.
#pragma once

#include <vector>

#include "manifest.h"
#include "skin_builder.h"

namespace test_skin {

// Fills Sections, Palette, Globals, OuterEffects, Sliders and the computed
// image fields; Images must hold the description's images in order.
void ComputeExpectations(TestSkinManifest& m, const std::vector<SectionDef>& descs,
                         const std::vector<IniSection>& ini);

}  // namespace test_skin
