// The hint bubble's section: a warm face in an amber rim whose corners are
// keys, so a skinned hint's shape shows in its alpha, and a pattern of its
// own.
#include "tessera_design.h"
#include "tessera_parts.h"

namespace test_skin {

void HintSection(SkinBuilder& b, const HintLook& look) {
  const int32_t face = Tc(250, 236, 190);
  SectionDef hint{.Name = "HINT", .Glow = 300};
  hint.State[0] = {.Color = face, .FontColor = kSlate};
  if (look.Transparency >= 0) hint.State[0].Transparency = look.Transparency;
  b.AddSection(hint);
  Plate(b, "HINT", "BORDERSMASK", 24, 24, 1, 1, {4, 4, 4, 4}, 0, 4, face, kAmber, true);
  const MfRect pattern = b.Place(16, 16);
  DrawPlate(b, pattern, 1, 0, kMint, face, false);
  b.Texture("HINT", "PATTERN", pattern, 0, false);
}

}  // namespace test_skin
